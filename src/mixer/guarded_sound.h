#pragma once
// TGuardedSound: a sound system that is another one, except that the
// change handler of every mixer opened on it is wrapped in a catch. TMixer
// re-reads a control in the queued task that tells of its change; when that
// re-read fails, its eMMError would leave the queued task and reach the
// event loop, which ends the program. Through this sound system it goes to
// `onError` instead, and the owner of the mixer reports it like every other
// failure. Whoever opens a TMixer from an event loop (the card, the mixer
// window) hands it one of these.

#include <functional>
#include <memory>

#include "platform/mixer_device.h"

namespace tunevox::mixer {

class eMMError;

class TGuardedSound final : public platform::ISoundSystem {
public:
    // Runs on the thread of the queued task, and must not throw. Without
    // one the error is dropped: nobody is left to be told.
    using tErrorFn = std::function<void(const eMMError& error)>;

    // `inner` must outlive this object and every mixer opened on it.
    TGuardedSound(platform::ISoundSystem& inner, tErrorFn onError);

    bool HasSoundCard() const override;
    int OpenMixer(int32_t midiDeviceId, platform::IEventPoster& events, platform::tMixerChangeHandler onChange,
                  std::unique_ptr<platform::IMixerDevice>& device) override;

private:
    platform::ISoundSystem& inner_;
    tErrorFn onError_;
};

} // namespace tunevox::mixer
