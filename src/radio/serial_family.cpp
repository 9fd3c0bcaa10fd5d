// The external serial radios (Gemtek Wizard Radio and RadioMan, Justy
// RadionMaru, Unit Rajikoma): four-byte commands, the tuning commands
// followed by a three-digit channel number. No volume, no stereo.

#include <algorithm>
#include <cmath>
#include <string>

#include "card_family.h"
#include "frequency.h"
#include "platform/comm_port_driver.h"

namespace tunevox::radio {

namespace {

const uint8_t kStatusRequest[] = {0x1D, 0x23, 0x08, 0x23};
const uint8_t kAudioOn[] = {0x1D, 0x23, 0x01, 0x23};
const uint8_t kAudioOff[] = {0x1D, 0x23, 0x02, 0x23};
const uint8_t kFMFrequency[] = {0x1D, 0x23, 0x05, 0x23};
const uint8_t kAMFrequency[] = {0x1D, 0x23, 0x09, 0x23};
const std::string kTunedReply = "\x1D\x23\x04\x23";

constexpr double kChannelBase = 76.0; // FM channels count 50 kHz steps from here
constexpr unsigned kOpenSettleMs = 200;

// The channel number of a snapped frequency. The product is meant to be
// whole; computed in double precision it can land a hair below (98.7 gives
// 453.99999999999994), and plain truncation would then send the channel
// below. A product within 1e-6 of a whole number is that number; anything
// else is truncated toward zero as the radio's channel grid demands.
int Channel(double product) {
    double whole = std::round(product);
    if (std::fabs(product - whole) < 1e-6) return static_cast<int>(whole);
    return static_cast<int>(std::trunc(product));
}

class SerialFamily final : public TCardFamily {
public:
    using TCardFamily::TCardFamily;

    void Open() override {
        if (NoPort()) {
            Muted() = StartMuted();
            return;
        }
        Serial().SetComPort(static_cast<platform::TComPortNumber>(Caps().PortValue - 1));
        if (!Serial().OpenPort()) throw ePortAlreayOpen();
        Wait(kOpenSettleMs);
        Serial().SetDtrLine(true);
        Serial().SetRtsLine(true);
        Muted() = StartMuted();
    }

    void Close() override { Serial().ClosePort(); }

    void Mute() override {
        if (NoPort()) return;
        Command(kAudioOff, sizeof kAudioOff);
        Muted() = true;
    }

    void Unmute() override {
        if (NoPort()) return;
        Command(kAudioOn, sizeof kAudioOn);
        Muted() = false;
        StartMuted() = false;
    }

    double Tune(bool, tBand band, double frequency) override {
        bool am = band == bAM && Caps().HasAM;
        double f;
        int n;
        if (am) {
            f = SnapFrequency(kAMUpper, kAMLower, kAMStep, frequency);
            n = Channel((f - kAMLower) / kAMStep);
        } else {
            f = SnapFrequency(FMMax(), FMMin(), Caps().FMStep, frequency);
            n = Channel((f - kChannelBase) * 20.0);
        }
        if (NoPort()) return f;
        // Three digits with leading zeros; n is 0..640 by the band limits.
        n = std::clamp(n, 0, 999);
        const char digits[3] = {static_cast<char>('0' + n / 100), static_cast<char>('0' + n / 10 % 10),
                                static_cast<char>('0' + n % 10)};
        // Both parts go out back to back, as one write.
        uint8_t bytes[7];
        const uint8_t* head = am ? kAMFrequency : kFMFrequency;
        for (int i = 0; i < 4; ++i) bytes[i] = head[i];
        for (int i = 0; i < 3; ++i) bytes[4 + i] = static_cast<uint8_t>(digits[i]);
        Command(bytes, sizeof bytes);
        return f;
    }

    // The serial radios have no volume of their own.
    void VolumeUp() override {}
    void VolumeDown() override {}
    void SetVolume(int32_t) override {}
    void VolumeReset() override {}

    uint8_t TunedStatus() override {
        if (NoPort()) return kNotTuned;
        Serial().WriteBytes(kStatusRequest, sizeof kStatusRequest);
        std::string reply = Serial().ReadAll();
        return reply.find(kTunedReply) != std::string::npos ? kTuned : kNotTuned;
    }

private:
    // Every command but the status request discards what came in, so a
    // stale answer is never taken for the reply to a later request.
    void Command(const uint8_t* bytes, size_t count) {
        Serial().WriteBytes(bytes, count);
        Serial().DiscardBuffers(true, false);
    }
};

} // namespace

std::unique_ptr<TCardFamily> MakeSerialFamily(TRadioCard& card) { return std::make_unique<SerialFamily>(card); }

} // namespace tunevox::radio
