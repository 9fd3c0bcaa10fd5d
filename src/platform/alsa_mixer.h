#pragma once
// The mixer seam over ALSA's simple mixer interface.
//
// Lines and controls. A card's simple elements are presented as one
// destination, the speakers, with the sources mixed into it:
//
//   speakers     "Master" (else "Front", else "Speaker"): playback volume
//                and playback switch; treble from "Tone Control - Treble"
//                or "Treble", bass from "Tone Control - Bass" or "Bass"
//                (their playback volume)
//   synthesizer  "Synth", "FM" or "MIDI"
//   wave output  "PCM" or "Wave"
//   compact disc "CD"
//   line         "Line"
//   microphone   "Mic", "Front Mic" or "Rear Mic"
//   PC speaker   "PC Speaker", "Beep" or "PC Beep"
//
// each source taken from the first of its names the card has, with its
// playback volume as the volume control and its playback switch as the mute
// control. Without a speakers element the card shows no destination and so
// no sources. A line is mono when its element is, else stereo (front left,
// front right); a control whose channels the element joins is uniform.
//
// Values. Every volume control is presented on 0..65535 and every mute
// control on 0..1 (1 = muted, although ALSA's switch is 1 = sounding); the
// device's own raw range is converted linearly both ways. A value read back
// that the device still holds as last written reads as written, so a coarse
// device range does not make the value drift.
//
// Devices. Mixer device 0 is the hardware card that carries the line input:
// the first card "hw:N" with a "Line" element, else the first with a
// "Capture" element, else the first card. Not the sound server's "default"
// mixer, which often holds only a master volume. MIDI device -1 (the
// mapper) opens device 0 too; MIDI output device n >= 0 is the n-th raw MIDI
// output port counted over the cards in card order, and opens the mixer of
// the card it belongs to. A sound card exists when some card has a playback
// PCM device.
//
// Change notifications. ALSA reports changes on poll descriptors. The event
// loop watches PollDescriptors() (readable) and calls Dispatch() when one
// fires; Dispatch reads the pending events and posts one notification per
// control whose value actually changed to every handle's IEventPoster.
// OnDescriptorsChanged tells the loop when a handle was opened or closed.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "mixer_device.h"

namespace tunevox::platform {

// --- conversions and device order, kept apart from ALSA for testing ---

constexpr int32_t kAlsaUserMax = 65535;

// Raw device value in [minimum, maximum] to 0..65535, rounded; a range of
// one value gives 0.
int32_t AlsaRawToUser(long raw, long minimum, long maximum);
// 0..65535 to the device's range, rounded to the nearest raw step.
long AlsaUserToRaw(int32_t user, long minimum, long maximum);

struct AlsaCardSummary {
    int card = 0;            // the N of "hw:N"
    bool hasLine = false;    // a "Line" element
    bool hasCapture = false; // a "Capture" element
    int midiOutputs = 0;     // raw MIDI output ports
};

// Card numbers in mixer device order: device 0 first (see above), then the
// remaining cards in card order.
std::vector<int> AlsaMixerDeviceOrder(const std::vector<AlsaCardSummary>& cards);
// The card whose mixer a MIDI device identifier opens, or -1 when there is
// no such device.
int AlsaCardForMidiDevice(const std::vector<AlsaCardSummary>& cards, int32_t midiDeviceId);
// The result code for a negative ALSA error number.
int AlsaErrorToCode(int alsaError);

// --- the sound system ---

struct AlsaPollDescriptor {
    int fd = -1;
    short events = 0;
};

class AlsaSoundSystem final : public ISoundSystem {
public:
    AlsaSoundSystem();
    ~AlsaSoundSystem() override;
    AlsaSoundSystem(const AlsaSoundSystem&) = delete;
    AlsaSoundSystem& operator=(const AlsaSoundSystem&) = delete;

    bool HasSoundCard() const override;
    int OpenMixer(int32_t midiDeviceId, IEventPoster& events, tMixerChangeHandler onChange,
                  std::unique_ptr<IMixerDevice>& device) override;

    // The cards present now, as the device order uses them.
    static std::vector<AlsaCardSummary> Cards();

    std::vector<AlsaPollDescriptor> PollDescriptors() const;
    void Dispatch();
    std::function<void()> OnDescriptorsChanged;

    struct Registry; // the open handles, shared with them

private:
    std::shared_ptr<Registry> registry_;
};

} // namespace tunevox::platform
