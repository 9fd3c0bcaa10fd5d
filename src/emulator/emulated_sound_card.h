#pragma once
// An emulated sound card: a playback device and a mixer with destination
// and source lines, as configurable as the tests need (a card without a
// microphone, mono or uniform controls, odd value ranges, a recording
// destination ahead of the speakers). Its mixer behaves like a real one:
// it checks channel counts and value ranges, answers result codes, reports
// every value change to every open handle through the handle's event
// poster, and can be told to fail a given call. Tests play "another
// program" by changing values from outside.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/mixer_device.h"

namespace tunevox::emulator {

using platform::tMixerControlKind;
using platform::tMixerLineKind;

struct EmulatedControl {
    tMixerControlKind kind = tMixerControlKind::kVolume;
    int32_t minimum = 0;
    int32_t maximum = 65535;
    bool uniform = false;
    // Starting value of every channel; by default the middle of the range
    // for volume and tone controls and "sounding" (the minimum) for mutes.
    std::optional<int32_t> initial;
};

struct EmulatedLine {
    tMixerLineKind kind = tMixerLineKind::kOther;
    int channels = 2;
    std::vector<EmulatedControl> controls;
};

struct EmulatedDestination {
    EmulatedLine line;
    std::vector<EmulatedLine> sources;
};

struct SoundCardLayout {
    bool hasPlaybackDevice = true; // a wave-out device exists
    bool hasMixer = true;          // mixer device 0 exists
    int midiOutputs = 1;           // MIDI devices 0..n-1 (and the mapper) use this mixer
    std::vector<EmulatedDestination> destinations;

    // Speakers with volume, mute, treble and bass; synthesizer, wave output,
    // compact disc, line, microphone and PC speaker with volume and mute.
    // All stereo, 0..65535.
    static SoundCardLayout Standard();

    // Editing helpers. They act on the first speakers destination: kSpeakers
    // names that destination's own line, any other kind its first source of
    // that kind. They return null / do nothing when there is no such line.
    EmulatedLine* Line(tMixerLineKind kind);
    EmulatedControl* Control(tMixerLineKind line, tMixerControlKind control);
    SoundCardLayout& Without(tMixerLineKind line);
    SoundCardLayout& WithoutControl(tMixerLineKind line, tMixerControlKind control);
    SoundCardLayout& WithRange(tMixerLineKind line, tMixerControlKind control, int32_t minimum, int32_t maximum);
    SoundCardLayout& WithUniform(tMixerLineKind line, tMixerControlKind control);
    SoundCardLayout& WithChannels(tMixerLineKind line, int channels);
    SoundCardLayout& WithInitial(tMixerLineKind line, tMixerControlKind control, int32_t value);
    // A recording destination (line and microphone sources, each with a
    // volume) placed before the speakers, as many cards list it.
    SoundCardLayout& WithRecordingDestinationFirst();
};

// The device calls that can be made to fail.
enum class MixerCall { kOpen, kGetLineInfo, kGetLineControls, kGetControlDetails, kSetControlDetails };

class EmulatedSoundCard final : public platform::ISoundSystem {
public:
    explicit EmulatedSoundCard(SoundCardLayout layout = SoundCardLayout::Standard());
    ~EmulatedSoundCard() override;

    bool HasSoundCard() const override;
    int OpenMixer(int32_t midiDeviceId, platform::IEventPoster& events, platform::tMixerChangeHandler onChange,
                  std::unique_ptr<platform::IMixerDevice>& device) override;

    // Controls of the first speakers destination (see SoundCardLayout);
    // ControlId is 0 when there is no such control.
    uint32_t ControlId(tMixerLineKind line, tMixerControlKind control) const;
    // Any destination, by index.
    uint32_t ControlIdIn(int destination, tMixerLineKind line, tMixerControlKind control) const;
    std::vector<int32_t> Values(uint32_t controlId) const;
    std::vector<int32_t> Values(tMixerLineKind line, tMixerControlKind control) const;
    int32_t Value(tMixerLineKind line, tMixerControlKind control, int channel = 0) const;

    // Another program moves a control: one value for every channel or one
    // per channel, stored as given (clamped to the range). Every open handle
    // is told when the value changed.
    void ExternalChange(uint32_t controlId, const std::vector<int32_t>& values);
    void ExternalChange(tMixerLineKind line, tMixerControlKind control, const std::vector<int32_t>& values);
    // A bare change message for any identifier, known or not.
    void NotifyAll(uint32_t controlId);

    // The next `times` calls of that kind (every call when times < 0) answer
    // `code`. With a filter only calls about that control identifier count
    // (for kGetLineInfo: that line identifier).
    void FailNext(MixerCall call, int code, int times = 1, uint32_t onlyId = 0);
    void ClearFailures();

    // Write calls that reached the card, failed ones included.
    int SetCalls() const;
    // Told of every accepted write (changed or not), at the time of the call,
    // so a test can put mixer writes and port writes in one sequence.
    using WriteObserver = std::function<void(uint32_t controlId, const std::vector<int32_t>& values)>;
    void ObserveWrites(WriteObserver observer);
    int OpenHandles() const;

    struct State; // shared with the open handles

private:
    std::shared_ptr<State> state_;
};

} // namespace tunevox::emulator
