#pragma once
// The sound of a USB radio. Many USB FM radios have no audio cable: the
// same USB device carries a small sound card of its own that records what
// the radio receives. To be heard, that card's capture is copied to ALSA's
// default playback device (the sound server, else the computer's card).
//
// FindRadioSoundCard tells whether a radio device node has such a card.
// TRadioSoundBridge does the copying on a thread of its own, so nothing it
// does can hold up the caller's (the window's) thread, with the delay
// between the radio and the speakers bounded to about a tenth of a second.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace tunevox::platform {

// The ALSA capture device of the sound card on the same USB device as the
// radio device node `radioDevicePath` ("/dev/radio0", or a link to it such
// as /dev/v4l/by-id/...-radio): "plughw:K,D", card K and its first capture
// device D, through ALSA's plug layer so the card's own sample format and
// channels are converted to what is asked. Nothing when the node is not
// a Video4Linux device, its device is not on USB, or that USB device has no
// sound card that records. `sysfsRoot` is for tests.
//
// Found in sysfs: class/video4linux/radioN/device leads to the USB
// interface (or device) the radio belongs to, its ancestor holding
// idVendor is the USB device, and the device's interfaces list their sound
// cards as <interface>/sound/cardK, each with a pcmC<K>D<D>c entry per
// capture device. Where there are several, the lowest card and device
// number wins.
std::optional<std::string> FindRadioSoundCard(const std::string& radioDevicePath,
                                              const std::string& sysfsRoot = "/sys");

// --- the copying's arithmetic, kept apart from ALSA for testing ---

// The gain on the samples for a volume of 0..1 (outside it clamped, NaN as
// 0). Cubic, as the sound servers' own volume sliders: half way is about
// -18 dB, so each part of the slider changes the loudness alike instead of
// the upper half barely changing it.
double RadioSoundGain(double volume);

// Scales the samples by `gain`, rounded to the nearest, held within the
// 16-bit range. A gain of 1 leaves them exactly as they are.
void ApplyGain(std::span<int16_t> samples, double gain);

// How much sound, in frames, may wait in the playback device's buffer.
struct RadioSoundLatency {
    long target = 0; // playback starts once this much waits; a cut goes back to it
    long limit = 0;  // never more than this waits
};

// 50 ms and 90 ms at `rate`: with the 10 ms the capture side holds at most,
// the radio is heard within 100 ms. Less than 50 ms runs dry on a busy
// desktop.
RadioSoundLatency RadioSoundLatencyAt(int rate);

// Keeps the delay within the budget: the two cards' clocks drift apart, and
// a stalled thread returns to a backlog; either would add to the delay for
// good. Once the queue would pass the limit, what is recorded is dropped
// until the queue has played down to the target: one splice now, rather
// than a little every period while the clocks keep drifting.
class TLatencyGuard {
public:
    explicit TLatencyGuard(RadioSoundLatency budget) : budget_(budget) {}
    // How many frames to drop from the front (the oldest) of `incoming`
    // frames just recorded, with `queued` frames still waiting to be played.
    std::size_t FramesToDrop(long queued, std::size_t incoming);

private:
    RadioSoundLatency budget_;
    bool cutting_ = false;
};

// --- the bridge ---

// Copies a capture device to the playback device, S16 stereo (mono where a
// hw: device only records mono), at the rate nearest 48000 Hz that the card
// records at (USB radios often record at 96000 Hz); the playback device
// takes that rate as it is ("default" converts).
//
// Threads. Every method is called on the owner's thread. Start returns at
// once: the devices are opened, and the sound copied, on the bridge's own
// thread. SetMuted and SetVolume apply to the sound recorded from the next
// period (10 ms) on, heard after what already waits to be played, and last
// across Stop and Start.
//
// Errors. A device that cannot be opened or set up, or that fails while
// playing (the radio unplugged, the sound server gone), ends the copying
// and is reported once through `onError`, in words naming the device and
// ALSA's cause:
//   cannot record the radio's sound from plughw:2,0 (No such file or directory)
//   cannot play the radio's sound on default (No such file or directory)
//   the radio's sound stopped: default failed (Input/output error)
// Overruns and underruns are not errors: the late sound is dropped and the
// copying goes on. Nothing is thrown out of the bridge's thread; the radio
// itself plays on.
//
// `onError` runs on the bridge's thread. It must only hand the message to
// the owner's thread (QtEventPoster::Post is safe from any thread;
// ManualEventQueue is not), must not throw, and must not call the bridge:
// Stop waits for a running call to return. It is never called once Stop has returned. A
// message posted just before may still arrive after Stop; the owner tells
// it apart if it must.
class TRadioSoundBridge {
public:
    using tErrorHandler = std::function<void(const std::string& message)>;

    explicit TRadioSoundBridge(tErrorHandler onError, std::string playbackDevice = "default");
    ~TRadioSoundBridge(); // stops
    TRadioSoundBridge(const TRadioSoundBridge&) = delete;
    TRadioSoundBridge& operator=(const TRadioSoundBridge&) = delete;

    // Starts copying from `captureDevice` (as FindRadioSoundCard names it);
    // copying already running is stopped first.
    void Start(const std::string& captureDevice);
    // Ends the copying and closes both devices. Returns within a few tens of
    // milliseconds; where the sound server has stopped answering, after a
    // second at most, leaving the thread to end on its own once the server
    // lets go. Nothing to do when not started.
    void Stop();

    // Muted, silence is played while both devices stay open, so unmuting is
    // heard at once. Stopping instead frees the radio's card for other
    // programs, at the cost of opening it again.
    void SetMuted(bool muted);
    // 0..1, see RadioSoundGain.
    void SetVolume(double volume);

    struct Controls; // what the owner changes and every run reads
    struct Session;  // one Start's thread and what it shares with the owner

private:
    tErrorHandler onError_;
    std::string playbackDevice_;
    std::shared_ptr<Controls> controls_;
    std::shared_ptr<Session> session_;
};

} // namespace tunevox::platform
