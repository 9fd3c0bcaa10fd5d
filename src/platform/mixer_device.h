#pragma once
// The sound card's mixer as the program sees it: one destination line (the
// speakers) with the source lines mixed into it, each line carrying controls
// found by kind (volume, mute, treble, bass). Every control holds one value
// per channel, or a single value when it is uniform. Calls answer a result
// code instead of throwing, so that the mixer component can turn each
// failure into its own error text: 0 is success, 1..20 are the system codes
// and 1024..1026 the mixer codes (invalid line, control, value).
//
// Change notifications: whenever a control's value changes - through any
// handle, this one included, or from another program - every open handle's
// change handler is called with the control's identifier. The call is always
// posted through the IEventPoster given at opening, never made from inside a
// device call, so a handler may read and write the mixer freely. Nothing is
// delivered to a handle after it has been destroyed.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "event_queue.h"

namespace tunevox::platform {

namespace mmcode {
constexpr int kNoError = 0;
constexpr int kError = 1;         // a failure of no particular kind
constexpr int kBadDeviceId = 2;
constexpr int kAllocated = 4;
constexpr int kInvalidHandle = 5;
constexpr int kNoDriver = 6;
constexpr int kNoMemory = 7;
constexpr int kNotSupported = 8;
constexpr int kInvalidParam = 11;
constexpr int kInvalidLine = 1024;
constexpr int kInvalidControl = 1025;
constexpr int kInvalidValue = 1026;
} // namespace mmcode

// Line kinds: the destination the program plays through and the sources it
// mixes. kOther stands for every line the program never looks for (a
// recording destination, an auxiliary input).
enum class tMixerLineKind {
    kSpeakers,
    kSynthesizer,
    kWaveOut,
    kCompactDisc,
    kLine,
    kMicrophone,
    kPcSpeaker,
    kOther,
};

enum class tMixerControlKind {
    kVolume,
    kMute, // 0 = sounding, 1 = muted, whatever the hardware's own sense
    kTreble,
    kBass,
};

struct tMixerLineInfo {
    uint32_t lineId = 0;
    tMixerLineKind kind = tMixerLineKind::kOther;
    int channels = 0;    // 1 mono, 2 stereo, possibly more
    int connections = 0; // number of source lines (destinations only)
};

struct tMixerControlInfo {
    uint32_t controlId = 0;
    tMixerControlKind kind = tMixerControlKind::kVolume;
    bool uniform = false; // one value acts on every channel
    int32_t minimum = 0;
    int32_t maximum = 0;
};

// One open mixer device.
class IMixerDevice {
public:
    virtual ~IMixerDevice() = default;
    virtual int DestinationCount() const = 0;
    virtual int GetDestination(int index, tMixerLineInfo& line) = 0;
    virtual int GetSource(int destination, int index, tMixerLineInfo& line) = 0;
    // kInvalidLine for an unknown line, kInvalidControl when the line has no
    // control of that kind.
    virtual int FindControl(uint32_t lineId, tMixerControlKind kind, tMixerControlInfo& control) = 0;
    // channels is 1 (every channel alike, or a uniform control) or the
    // line's channel count; values receives that many values.
    virtual int GetValues(uint32_t controlId, int channels, std::vector<int32_t>& values) = 0;
    virtual int SetValues(uint32_t controlId, const std::vector<int32_t>& values) = 0;
};

using tMixerChangeHandler = std::function<void(uint32_t controlId)>;

class ISoundSystem {
public:
    virtual ~ISoundSystem() = default;
    // At least one playback device exists.
    virtual bool HasSoundCard() const = 0;
    // Opens a mixer: -2 means mixer device 0, any other value the mixer of
    // MIDI output device `midiDeviceId` (-1 being the MIDI mapper). On
    // success `device` holds the handle; otherwise a result code.
    virtual int OpenMixer(int32_t midiDeviceId, IEventPoster& events, tMixerChangeHandler onChange,
                          std::unique_ptr<IMixerDevice>& device) = 0;
};

// Posts change notifications for one handle and guarantees that none runs
// once the handle is gone: the posted task holds only a weak reference to
// the handler, which Detach (or destruction) drops.
class MixerChangeRelay {
public:
    MixerChangeRelay(IEventPoster& events, tMixerChangeHandler handler)
        : events_(events), handler_(std::make_shared<tMixerChangeHandler>(std::move(handler))) {}
    ~MixerChangeRelay() { Detach(); }
    MixerChangeRelay(const MixerChangeRelay&) = delete;
    MixerChangeRelay& operator=(const MixerChangeRelay&) = delete;

    void Notify(uint32_t controlId) {
        if (!handler_) return;
        std::weak_ptr<tMixerChangeHandler> weak = handler_;
        events_.Post([weak, controlId] {
            if (auto h = weak.lock(); h && *h) (*h)(controlId);
        });
    }
    void Detach() { handler_.reset(); }

private:
    IEventPoster& events_;
    std::shared_ptr<tMixerChangeHandler> handler_;
};

} // namespace tunevox::platform
