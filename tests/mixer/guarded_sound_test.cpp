#include "mixer/guarded_sound.h"

#include <gtest/gtest.h>

#include <vector>

#include "emulator/emulated_sound_card.h"
#include "mixer/mixer.h"
#include "platform/event_queue.h"

namespace tunevox::mixer {
namespace {

using emulator::EmulatedSoundCard;
using emulator::MixerCall;
using emulator::SoundCardLayout;
using platform::ManualEventQueue;
using K = platform::tMixerLineKind;
using C = platform::tMixerControlKind;

TEST(GuardedSound, AFailedReadBackGoesToTheErrorFunctionAndLaterChangesStillArrive) {
    EmulatedSoundCard card(SoundCardLayout::Standard());
    ManualEventQueue events;
    std::vector<int> errors;
    TGuardedSound guarded(card, [&](const eMMError& e) { errors.push_back(e.Code()); });
    EXPECT_TRUE(guarded.HasSoundCard());
    TMixer mixer(guarded, events);
    std::vector<tMixerControlType> changes;
    mixer.OnControlChange = [&](TMixer&, tMixerControlType c) { changes.push_back(c); };
    mixer.SetMidiDeviceID(-2);
    mixer.SetActive(true);

    card.FailNext(MixerCall::kGetControlDetails, 5);
    card.ExternalChange(K::kLine, C::kVolume, {100, 100});
    EXPECT_NO_THROW(events.Drain());
    EXPECT_EQ(errors, (std::vector<int>{5}));
    EXPECT_TRUE(changes.empty());

    card.ExternalChange(K::kLine, C::kVolume, {200, 200});
    events.Drain();
    EXPECT_EQ(changes, (std::vector<tMixerControlType>{mcLineInVolume}));
    EXPECT_EQ(mixer.GetChannel(mcLineInVolume, 0), 200);
    EXPECT_EQ(errors.size(), 1u);
}

TEST(GuardedSound, WithoutAnErrorFunctionTheErrorStillStaysOutOfTheEventLoop) {
    EmulatedSoundCard card(SoundCardLayout::Standard());
    ManualEventQueue events;
    TGuardedSound guarded(card, {});
    TMixer mixer(guarded, events);
    mixer.SetMidiDeviceID(-2);
    mixer.SetActive(true);
    card.FailNext(MixerCall::kGetControlDetails, 1);
    card.ExternalChange(K::kSynthesizer, C::kMute, {1});
    EXPECT_NO_THROW(events.Drain());
}

} // namespace
} // namespace tunevox::mixer
