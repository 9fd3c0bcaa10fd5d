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
// Devices. When some hardware card "hw:N" has a playback PCM device, that
// is the sound card, and mixer device 0 is the card that carries the line
// input: the first card with a "Line" element, else the first with a
// "Capture" element, else the first card. Not the sound server's "default"
// mixer, which often holds only a master volume. When no hardware card
// plays (sound only through PipeWire or PulseAudio: a virtual machine,
// Bluetooth output) ALSA's "default" device counts as the sound card as
// long as it works - a playback PCM opens on it, or its simple mixer
// attaches and has a speakers element - and mixer device 0 is then the
// "default" mixer: its master volume and mute, with no line input, so a
// radio card keeps its own volume. MIDI device -1 (the mapper) opens device
// 0 too; MIDI output device n >= 0 is the n-th raw MIDI output port
// counted over the cards in card order, and opens the mixer of the card it
// belongs to.
//
// Change notifications. ALSA reports changes on poll descriptors. The event
// loop watches PollDescriptors() (readable) and calls Dispatch() when one
// fires; Dispatch reads the pending events and posts one notification per
// control whose value actually changed to every handle's IEventPoster.
// OnDescriptorsChanged tells the loop when a handle was opened or closed.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
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
    int card = 0;              // the N of "hw:N"
    bool hasLine = false;      // a "Line" element
    bool hasCapture = false;   // a "Capture" element
    int midiOutputs = 0;       // raw MIDI output ports
    bool hasPlayback = false;  // a playback PCM device
};

// ALSA's "default" device, looked at only when no hardware card plays.
struct AlsaDefaultSummary {
    bool hasPlayback = false;          // a playback PCM opens on it
    bool hasMixer = false;             // a simple mixer attaches to it
    std::vector<std::string> elements; // the names of that mixer's elements
};

// The hardware cards' names for a card: "hw:N".
std::string AlsaCardName(int card);
constexpr const char* kAlsaDefaultDevice = "default";

// Card numbers in mixer device order: device 0 first (see above), then the
// remaining cards in card order.
std::vector<int> AlsaMixerDeviceOrder(const std::vector<AlsaCardSummary>& cards);
// The card whose mixer a MIDI device identifier opens, or -1 when there is
// no such device; hardware cards only.
int AlsaCardForMidiDevice(const std::vector<AlsaCardSummary>& cards, int32_t midiDeviceId);

// Whether a hardware card plays; only when none does is "default" looked at.
bool AlsaAnyCardPlays(const std::vector<AlsaCardSummary>& cards);

struct AlsaDeviceChoice {
    bool hasSoundCard = false;
    // The ALSA name whose simple mixer is mixer device 0 ("hw:N" or
    // "default"); empty when there is none.
    std::string mixerZero;
};
// What counts as the sound card and which mixer is device 0, from what
// ALSA reports (see Devices above).
AlsaDeviceChoice AlsaChooseDevices(const std::vector<AlsaCardSummary>& cards, const AlsaDefaultSummary& defaultDevice);
// The ALSA name of the mixer a MIDI device identifier opens; empty when
// there is no such device.
std::string AlsaMixerForMidiDevice(const std::vector<AlsaCardSummary>& cards,
                                   const AlsaDefaultSummary& defaultDevice, int32_t midiDeviceId);
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

    // The hardware cards present now, as the device order uses them.
    static std::vector<AlsaCardSummary> Cards();
    // What the "default" device offers now. ALSA's own complaints while
    // looking (no card "0", no server) are kept off standard error.
    static AlsaDefaultSummary DefaultDevice();

    std::vector<AlsaPollDescriptor> PollDescriptors() const;
    void Dispatch();
    std::function<void()> OnDescriptorsChanged;

    struct Registry; // the open handles, shared with them

private:
    std::shared_ptr<Registry> registry_;
};

} // namespace tunevox::platform
