#include "mixer/guarded_sound.h"

#include <utility>

#include "mixer/mixer.h"

namespace tunevox::mixer {

TGuardedSound::TGuardedSound(platform::ISoundSystem& inner, tErrorFn onError)
    : inner_(inner), onError_(std::move(onError)) {}

bool TGuardedSound::HasSoundCard() const { return inner_.HasSoundCard(); }

int TGuardedSound::OpenMixer(int32_t midiDeviceId, platform::IEventPoster& events,
                             platform::tMixerChangeHandler onChange, std::unique_ptr<platform::IMixerDevice>& device) {
    // The handler keeps its own copy of the error function: a notification
    // still queued owes nothing to this object's lifetime.
    auto guarded = [onError = onError_, handler = std::move(onChange)](uint32_t controlId) {
        try {
            if (handler) handler(controlId);
        } catch (const eMMError& e) {
            if (onError) onError(e);
        }
    };
    return inner_.OpenMixer(midiDeviceId, events, std::move(guarded), device);
}

} // namespace tunevox::mixer
