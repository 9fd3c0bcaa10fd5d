#pragma once
// A protocol family: the small set of sequences one kind of receiver needs.
// TRadioCard enforces the common rules (card open, band available, volume
// path) before it calls a family; a family only speaks its protocol and
// keeps the card's audio bookkeeping as the receiver behaves.

#include <cstdint>
#include <memory>
#include <string>

#include "radio_card.h"

namespace tunevox::platform {
class TCommPortDriver;
}

namespace tunevox::radio {

class TCardFamily {
public:
    explicit TCardFamily(TRadioCard& card) : card_(card) {}
    virtual ~TCardFamily() = default;

    // The I/O-port cards' open rule: Muted follows StartMuted, the card is
    // sent its mute or unmute, and a card on a mixer line ends unmuted.
    // The serial radios replace it with their own.
    virtual void Open() {
        Muted() = StartMuted();
        if (!NoPort()) SendOpen();
        if (OnMixerLine()) CardMuteOff();
    }
    // The family's own part of Close; the common rule follows in the card.
    virtual void Close() = 0;
    // The card goes without closing: what it holds is let go as it is.
    virtual void Release() {}
    virtual void Mute() = 0;
    virtual void Unmute() = 0;
    // frequency is the request; the family snaps it and returns what it sent.
    virtual double Tune(bool stereo, tBand band, double frequency) = 0;
    virtual void VolumeUp() = 0;
    virtual void VolumeDown() = 0;
    virtual void SetVolume(int32_t volume) = 0;
    virtual void VolumeReset() = 0;
    virtual uint8_t TunedStatus() = 0;
    // Receivers that measure the signal decide with the threshold, on AM too.
    virtual bool StatusOnAM() const { return false; }
    virtual uint8_t TunedStatus(int /*threshold*/) { return TunedStatus(); }
    virtual int SignalLevel() { return -1; }
    virtual bool HardwareSeek(bool /*up*/, double* /*found*/) { return false; }
    virtual bool PollRds() { return false; }
    virtual std::string RdsStationName() const { return {}; }
    virtual int RdsPollFd() const { return -1; }

    // Round(Round(v / step) * step): v snapped to a multiple of the step.
    static int32_t SnapVolume(int32_t v, int32_t step);

protected:
    // The card's own part of opening: mute or unmute as StartMuted says.
    virtual void SendOpen() {}

    // No port selected: every sequence does nothing.
    bool NoPort() const { return card_.caps_.PortValue == 0; }
    uint16_t Base() const { return card_.caps_.PortValue; }
    void Out(unsigned offset, uint8_t value);
    uint8_t In(unsigned offset);
    void Wait(unsigned ms);
    platform::TCommPortDriver& Serial() { return *card_.serial_; }

    // Card state the protocols keep.
    bool& Muted() { return card_.muted_; }
    bool& StartMuted() { return card_.startMuted_; }
    int32_t& Volume() { return card_.volume_; }
    int32_t MaxVolume() const { return card_.maxVolume_; }
    bool Stereo() const { return card_.stereo_; }
    bool OnMixerLine() const { return card_.OnMixerLine(); }
    void CardMuteOff() { card_.MuteOff(); }
    double FMMin() const { return card_.FMMin(); }
    double FMMax() const { return card_.FMMax(); }
    const tDevCap& Caps() const { return card_.caps_; }
    const TRadioCardEnvironment& Env() const { return card_.env_; }
    const std::string& DevicePath() const { return card_.devicePath_; }
    tBand Band() const { return card_.band_; }
    double Frequency() const { return card_.frequency_; }
    void TakeDeviceCaps(const tDevCap& caps) { card_.TakeDeviceCaps(caps); }
    void ReportDeviceError(const std::string& message) { card_.ReportDeviceError(message); }

    TRadioCard& card_;
};

std::unique_ptr<TCardFamily> MakeAimsLabFamily(TRadioCard& card);
std::unique_ptr<TCardFamily> MakeAztechFamily(TRadioCard& card);
std::unique_ptr<TCardFamily> MakeZoltrixFamily(TRadioCard& card);
std::unique_ptr<TCardFamily> MakeSerialFamily(TRadioCard& card);
std::unique_ptr<TCardFamily> MakeV4L2Family(TRadioCard& card);

} // namespace tunevox::radio
