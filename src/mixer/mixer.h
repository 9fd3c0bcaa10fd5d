#pragma once
// TMixer: sixteen fixed controls of the sound card's mixer (master volume,
// mute and tone, and volume and mute of six source lines), found once when
// the device is opened. Each control is read and written as a pair of
// channel values; changes made by any program, this one included, are
// re-read and reported through OnControlChange.
//
// Lookup: the first destination line of the speakers kind; on it volume,
// mute, treble and bass. Then, in the order synthesizer, wave output,
// compact disc, line, microphone, PC speaker, the first source line of that
// kind connected to the destination, and on it volume and mute. A control
// the device lacks leaves its slot unavailable: it reads 0 and is never
// written.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/mixer_device.h"

namespace tunevox::mixer {

enum tMixerControlType : int {
    mcMasterVolume = 0,
    mcMasterMute,
    mcTreble,
    mcBass,
    mcSynthVolume,
    mcSynthMute,
    mcWaveVolume,
    mcWaveMute,
    mcCdVolume,
    mcCdMute,
    mcLineInVolume,
    mcLineInMute,
    mcMicVolume,
    mcMicMute,
    mcSpeakerVolume,
    mcSpeakerMute,
};
constexpr int kMixerControlCount = 16;

// Every failure of the mixer device, with the text
// "Multimedia <category> Error <code> - <code text> in <call>".
class eMMError : public std::runtime_error {
public:
    eMMError(int code, const std::string& call);
    int Code() const { return code_; }
    const std::string& Call() const { return call_; }

    // "System" for 1..20, "Mixer" for 1024..1026, else "Unknown".
    static const char* Category(int code);
    static const char* CodeText(int code);
    static std::string Compose(int code, const std::string& call);

private:
    int code_;
    std::string call_;
};

class TMixer;
using tMixerNotifyEvent = std::function<void(TMixer& sender, tMixerControlType control)>;

class TMixer {
public:
    // Created closed, with MidiDeviceID -1; SetActive(true) opens it.
    TMixer(platform::ISoundSystem& sound, platform::IEventPoster& events);
    ~TMixer();
    TMixer(const TMixer&) = delete;
    TMixer& operator=(const TMixer&) = delete;

    // Open or close the device. Opening may throw eMMError; Active then
    // stays false.
    bool Active() const { return active_; }
    void SetActive(bool on);
    // -2: mixer device 0; otherwise the mixer of that MIDI output device
    // (-1 the MIDI mapper). A change reopens the device if it was open.
    int32_t MidiDeviceID() const { return midiDeviceId_; }
    void SetMidiDeviceID(int32_t id);

    // Property loading, as a window restoring its saved state does it: while
    // loading, SetActive and SetMidiDeviceID only store; EndLoading opens
    // the mixer when Active was left true. Loading starts from the published
    // default Active = true.
    void BeginLoading();
    void EndLoading();
    bool Loading() const { return loading_; }

    // Called after a control changed, by any program, this one included
    // (not while the object is destroyed). It runs from the event poster's
    // queue; when the changed control cannot be read again, the eMMError
    // leaves that queued task for the event loop to handle.
    tMixerNotifyEvent OnControlChange;

    bool Available(tMixerControlType c) const;
    int32_t ControlMin(tMixerControlType c) const;
    int32_t ControlMax(tMixerControlType c) const;
    // The last known value; channel 0 left, 1 right. 0 when unavailable.
    int32_t GetChannel(tMixerControlType c, int channel) const;
    // Writes the control only when the value differs from the stored one.
    void SetChannel(tMixerControlType c, int channel, int32_t value);
    void SetBoth(tMixerControlType c, int32_t left, int32_t right);

private:
    struct tSlot {
        bool available = false;
        platform::tMixerControlInfo control;
        int lineChannels = 0;
        // Every channel's value as last read or written; channels 0 and 1
        // are the published pair, the others are kept as the device had them.
        std::vector<int32_t> values;
        int32_t Channel(int i) const;
    };

    void Open();
    void Close();
    void FindControls(const platform::tMixerLineInfo& line, tMixerControlType first,
                      std::initializer_list<platform::tMixerControlKind> kinds);
    int ChannelsToAsk(const tSlot& slot) const;
    void ReadSlot(tSlot& slot);
    void WriteSlot(tSlot& slot, int32_t left, int32_t right);
    void HandleChange(uint32_t controlId);
    static bool Valid(tMixerControlType c) { return c >= 0 && c < kMixerControlCount; }

    platform::ISoundSystem& sound_;
    platform::IEventPoster& events_;
    std::unique_ptr<platform::IMixerDevice> device_;
    std::array<tSlot, kMixerControlCount> slots_{};
    int destinationCount_ = 0;
    int destination_ = -1;
    int32_t midiDeviceId_ = -1;
    bool active_ = false;
    bool loading_ = false;
    bool destroying_ = false;
};

} // namespace tunevox::mixer
