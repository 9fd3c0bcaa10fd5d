#include "emulator/emulated_sound_card.h"

#include <gtest/gtest.h>

#include "platform/event_queue.h"

namespace tunevox::emulator {
namespace {

namespace mm = platform::mmcode;
using K = platform::tMixerLineKind;
using C = platform::tMixerControlKind;

struct Handle {
    explicit Handle(EmulatedSoundCard& card, int32_t id = -2) {
        code = card.OpenMixer(id, events, [this](uint32_t c) { seen.push_back(c); }, device);
    }
    platform::ManualEventQueue events;
    std::unique_ptr<platform::IMixerDevice> device;
    std::vector<uint32_t> seen;
    int code = -1;
};

TEST(EmulatedSoundCard, WritesAreCheckedLikeARealMixer) {
    EmulatedSoundCard card(SoundCardLayout::Standard().WithRange(K::kLine, C::kVolume, 0, 200));
    Handle h(card);
    ASSERT_EQ(h.code, mm::kNoError);
    const uint32_t line = card.ControlId(K::kLine, C::kVolume);
    EXPECT_EQ(h.device->SetValues(line, {201}), mm::kInvalidValue);
    EXPECT_EQ(h.device->SetValues(line, {-1, 5}), mm::kInvalidValue);
    EXPECT_EQ(h.device->SetValues(line, {1, 2, 3}), mm::kInvalidParam);
    EXPECT_EQ(h.device->SetValues(0x7777, {1}), mm::kInvalidControl);
    EXPECT_EQ(card.Values(line), (std::vector<int32_t>{100, 100}));
    EXPECT_EQ(h.device->SetValues(line, {150}), mm::kNoError); // one value for every channel
    EXPECT_EQ(card.Values(line), (std::vector<int32_t>{150, 150}));

    std::vector<int32_t> v;
    EXPECT_EQ(h.device->GetValues(line, 3, v), mm::kInvalidParam);
    EXPECT_EQ(h.device->GetValues(line, 1, v), mm::kNoError);
    EXPECT_EQ(v, (std::vector<int32_t>{150}));
    platform::tMixerLineInfo info;
    EXPECT_EQ(h.device->GetSource(0, 6, info), mm::kInvalidLine);
    EXPECT_EQ(h.device->GetDestination(1, info), mm::kInvalidLine);
}

TEST(EmulatedSoundCard, ChangesReachEveryOpenHandleLaterAndOnlyWhenAValueChanged) {
    EmulatedSoundCard card;
    Handle a(card), b(card);
    const uint32_t cd = card.ControlId(K::kCompactDisc, C::kMute);
    ASSERT_EQ(a.device->SetValues(cd, {1}), mm::kNoError);
    EXPECT_TRUE(a.seen.empty());
    a.events.Drain();
    b.events.Drain();
    EXPECT_EQ(a.seen, std::vector<uint32_t>{cd});
    EXPECT_EQ(b.seen, std::vector<uint32_t>{cd});

    a.device->SetValues(cd, {1});               // no change
    card.ExternalChange(K::kCompactDisc, C::kMute, {1});
    EXPECT_EQ(a.events.Drain(), 0);

    b.device.reset();
    EXPECT_EQ(card.OpenHandles(), 1);
    card.ExternalChange(K::kCompactDisc, C::kMute, {0});
    EXPECT_EQ(b.events.Drain(), 0);
    EXPECT_EQ(a.events.Drain(), 1);
}

TEST(EmulatedSoundCard, InjectedFailuresCountDownAndFilterByControl) {
    EmulatedSoundCard card;
    Handle h(card);
    const uint32_t wave = card.ControlId(K::kWaveOut, C::kVolume);
    const uint32_t synth = card.ControlId(K::kSynthesizer, C::kVolume);
    card.FailNext(MixerCall::kSetControlDetails, 1026, 2, wave);
    EXPECT_EQ(h.device->SetValues(synth, {1}), mm::kNoError);
    EXPECT_EQ(h.device->SetValues(wave, {1}), 1026);
    EXPECT_EQ(h.device->SetValues(wave, {1}), 1026);
    EXPECT_EQ(h.device->SetValues(wave, {1}), mm::kNoError);
    EXPECT_EQ(card.SetCalls(), 4);

    card.FailNext(MixerCall::kOpen, 4, -1);
    EXPECT_EQ(Handle(card).code, 4);
    EXPECT_EQ(Handle(card).code, 4);
    card.ClearFailures();
    EXPECT_EQ(Handle(card).code, mm::kNoError);
    EXPECT_EQ(Handle(card, 1).code, mm::kBadDeviceId); // one MIDI output only
}

} // namespace
} // namespace tunevox::emulator
