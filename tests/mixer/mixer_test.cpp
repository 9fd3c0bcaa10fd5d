#include "mixer/mixer.h"

#include <gtest/gtest.h>

#include <vector>

#include "emulator/emulated_sound_card.h"
#include "platform/event_queue.h"

namespace tunevox::mixer {
namespace {

using emulator::EmulatedSoundCard;
using emulator::MixerCall;
using emulator::SoundCardLayout;
using platform::ManualEventQueue;
using K = platform::tMixerLineKind;
using C = platform::tMixerControlKind;

struct Rig {
    explicit Rig(SoundCardLayout layout = SoundCardLayout::Standard()) : card(std::move(layout)), mixer(card, events) {
        mixer.OnControlChange = [this](TMixer& sender, tMixerControlType c) {
            EXPECT_EQ(&sender, &mixer);
            changes.push_back(c);
        };
    }
    TMixer& Open() {
        mixer.SetMidiDeviceID(-2);
        mixer.SetActive(true);
        return mixer;
    }
    EmulatedSoundCard card;
    ManualEventQueue events;
    TMixer mixer;
    std::vector<tMixerControlType> changes;
};

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const eMMError& e) {
        return e.what();
    }
    return "(no error)";
}

// --- finding the controls ---

TEST(MixerLookup, StandardCardHasAllSixteenSlotsWithTheirRangesAndValues) {
    Rig r;
    r.card.ExternalChange(K::kLine, C::kVolume, {1000, 2000});
    r.card.ExternalChange(K::kMicrophone, C::kMute, {1});
    TMixer& m = r.Open();
    for (int i = 0; i < kMixerControlCount; ++i) {
        auto c = static_cast<tMixerControlType>(i);
        EXPECT_TRUE(m.Available(c)) << i;
        EXPECT_EQ(m.ControlMin(c), 0) << i;
        // Mute slots sit on odd indexes from 5 on, and at 1.
        bool mute = i == mcMasterMute || (i >= mcSynthVolume && i % 2 == 1);
        EXPECT_EQ(m.ControlMax(c), mute ? 1 : 65535) << i;
    }
    EXPECT_EQ(m.GetChannel(mcLineInVolume, 0), 1000);
    EXPECT_EQ(m.GetChannel(mcLineInVolume, 1), 2000);
    EXPECT_EQ(m.GetChannel(mcMicMute, 0), 1);
    EXPECT_EQ(m.GetChannel(mcMasterVolume, 0), 32767);
}

TEST(MixerLookup, CardWithoutMicrophoneLeavesOnlyItsSlotsUnavailable) {
    Rig r(SoundCardLayout::Standard().Without(K::kMicrophone));
    TMixer& m = r.Open();
    for (auto c : {mcMicVolume, mcMicMute}) {
        EXPECT_FALSE(m.Available(c));
        EXPECT_EQ(m.GetChannel(c, 0), 0);
        EXPECT_EQ(m.GetChannel(c, 1), 0);
        EXPECT_EQ(m.ControlMax(c), 0);
    }
    EXPECT_TRUE(m.Available(mcSpeakerVolume)); // the source after it is still found
    EXPECT_TRUE(m.Available(mcLineInMute));

    int writes = r.card.SetCalls();
    m.SetBoth(mcMicVolume, 100, 100);
    m.SetChannel(mcMicMute, 0, 1);
    EXPECT_EQ(r.card.SetCalls(), writes);
    EXPECT_EQ(m.GetChannel(mcMicVolume, 0), 0);
}

TEST(MixerLookup, MissingControlsAndMissingDestination) {
    {
        Rig r(SoundCardLayout::Standard().WithoutControl(K::kLine, C::kMute).WithoutControl(K::kSpeakers, C::kBass));
        TMixer& m = r.Open();
        EXPECT_TRUE(m.Available(mcLineInVolume));
        EXPECT_FALSE(m.Available(mcLineInMute));
        EXPECT_TRUE(m.Available(mcTreble));
        EXPECT_FALSE(m.Available(mcBass));
    }
    {
        // Sources belong to the speakers: without them nothing is found.
        Rig r(SoundCardLayout::Standard().Without(K::kSpeakers));
        TMixer& m = r.Open();
        EXPECT_TRUE(m.Active());
        for (int i = 0; i < kMixerControlCount; ++i) EXPECT_FALSE(m.Available(static_cast<tMixerControlType>(i)));
    }
}

TEST(MixerLookup, TakesTheSpeakersDestinationAndTheFirstSourceOfEachKind) {
    SoundCardLayout layout = SoundCardLayout::Standard().WithRecordingDestinationFirst();
    // A second line source after the first one, with a value of its own.
    emulator::EmulatedLine second = *layout.Line(K::kLine);
    second.controls[0].initial = 111;
    layout.destinations[1].sources.push_back(second);
    layout.WithInitial(K::kLine, C::kVolume, 222);
    layout.destinations[0].sources[0].controls[0].initial = 333; // recording line in

    Rig r(std::move(layout));
    TMixer& m = r.Open();
    EXPECT_EQ(m.GetChannel(mcLineInVolume, 0), 222);

    // Writing goes to that same control, not to the recording line or the
    // second line source.
    m.SetBoth(mcLineInVolume, 5000, 6000);
    EXPECT_EQ(r.card.Values(K::kLine, C::kVolume), (std::vector<int32_t>{5000, 6000}));
    EXPECT_EQ(r.card.Values(r.card.ControlIdIn(0, K::kLine, C::kVolume)), (std::vector<int32_t>{333, 333}));
}

TEST(MixerLookup, ControlLookupFailuresOtherThanMissingLineOrControlAreErrors) {
    {
        Rig r;
        r.card.FailNext(MixerCall::kGetLineControls, 1025, 1, r.card.ControlId(K::kCompactDisc, C::kMute));
        TMixer& m = r.Open();
        EXPECT_FALSE(m.Available(mcCdMute));
        EXPECT_TRUE(m.Available(mcCdVolume));
    }
    {
        Rig r;
        r.card.FailNext(MixerCall::kGetLineControls, 7, 1, r.card.ControlId(K::kCompactDisc, C::kMute));
        EXPECT_EQ(MessageOf([&] { r.Open(); }),
                  "Multimedia System Error 7 - Memory allocation error in mixerGetLineControls");
        EXPECT_FALSE(r.mixer.Active());
        EXPECT_FALSE(r.mixer.Available(mcMasterVolume));
        EXPECT_EQ(r.card.OpenHandles(), 0);
    }
}

// --- channel values ---

TEST(MixerChannels, UniformAndMonoControlsReadOneValueOnBothChannels) {
    Rig r(SoundCardLayout::Standard().WithUniform(K::kSpeakers, C::kVolume).WithChannels(K::kCompactDisc, 1));
    TMixer& m = r.Open();
    r.card.ExternalChange(K::kSpeakers, C::kVolume, {4321});
    r.card.ExternalChange(K::kCompactDisc, C::kVolume, {1234});
    r.events.Drain();
    for (auto [c, v] : {std::pair{mcMasterVolume, 4321}, std::pair{mcCdVolume, 1234}}) {
        EXPECT_EQ(m.GetChannel(c, 0), v);
        EXPECT_EQ(m.GetChannel(c, 1), v);
    }

    // Setting either channel of a one-value control sets that value.
    m.SetChannel(mcMasterVolume, 1, 100);
    EXPECT_EQ(r.card.Values(K::kSpeakers, C::kVolume), (std::vector<int32_t>{100}));
    EXPECT_EQ(m.GetChannel(mcMasterVolume, 0), 100);
    m.SetBoth(mcCdVolume, 7, 9);
    EXPECT_EQ(m.GetChannel(mcCdVolume, 1), 7);
    EXPECT_EQ(r.card.Values(K::kCompactDisc, C::kVolume), (std::vector<int32_t>{7}));
}

TEST(MixerChannels, SetChannelWritesOnlyAChangeAndKeepsTheOtherChannel) {
    Rig r;
    TMixer& m = r.Open();
    m.SetBoth(mcWaveVolume, 1000, 2000);
    int writes = r.card.SetCalls();

    m.SetChannel(mcWaveVolume, 0, 1000);
    m.SetChannel(mcWaveVolume, 1, 2000);
    EXPECT_EQ(r.card.SetCalls(), writes);

    m.SetChannel(mcWaveVolume, 1, 3000);
    EXPECT_EQ(r.card.SetCalls(), writes + 1);
    EXPECT_EQ(r.card.Values(K::kWaveOut, C::kVolume), (std::vector<int32_t>{1000, 3000}));

    // Channel numbers other than 0 and 1 are ignored.
    m.SetChannel(mcWaveVolume, 2, 5);
    EXPECT_EQ(m.GetChannel(mcWaveVolume, 2), 0);
    EXPECT_EQ(r.card.SetCalls(), writes + 1);
}

TEST(MixerChannels, ALineWithMoreThanTwoChannelsKeepsTheOthersAsTheDeviceHasThem) {
    Rig r(SoundCardLayout::Standard().WithChannels(K::kSpeakers, 6));
    r.card.ExternalChange(K::kSpeakers, C::kVolume, {1, 2, 3, 4, 5, 6});
    TMixer& m = r.Open();
    EXPECT_EQ(m.GetChannel(mcMasterVolume, 0), 1);
    EXPECT_EQ(m.GetChannel(mcMasterVolume, 1), 2);
    m.SetBoth(mcMasterVolume, 10, 20);
    EXPECT_EQ(r.card.Values(K::kSpeakers, C::kVolume), (std::vector<int32_t>{10, 20, 3, 4, 5, 6}));
}

TEST(MixerChannels, FailedWriteRaisesTheComposedMessageAndKeepsTheLastKnownValue) {
    Rig r;
    TMixer& m = r.Open();
    m.SetBoth(mcLineInVolume, 10, 20);
    r.card.FailNext(MixerCall::kSetControlDetails, 1026);
    EXPECT_EQ(MessageOf([&] { m.SetChannel(mcLineInVolume, 0, 30); }),
              "Multimedia Mixer Error 1026 - Invalid Mixer Value in mixerSetControlDetails");
    EXPECT_EQ(m.GetChannel(mcLineInVolume, 0), 10);
    EXPECT_TRUE(m.Active());

    // A value outside the control's range is refused by the device itself.
    EXPECT_EQ(MessageOf([&] { m.SetBoth(mcLineInMute, 2, 2); }),
              "Multimedia Mixer Error 1026 - Invalid Mixer Value in mixerSetControlDetails");
    EXPECT_EQ(m.GetChannel(mcLineInMute, 0), 0);
}

TEST(MixerChannels, FailedReadWhileOpeningLeavesTheMixerClosed) {
    Rig r;
    r.card.FailNext(MixerCall::kGetControlDetails, 5);
    EXPECT_EQ(MessageOf([&] { r.Open(); }),
              "Multimedia System Error 5 - Device handle is invalid in mixerGetControlDetails");
    EXPECT_FALSE(r.mixer.Active());
    EXPECT_EQ(r.card.OpenHandles(), 0);
    r.mixer.SetActive(true); // the fault has passed
    EXPECT_TRUE(r.mixer.Active());
}

// --- change notifications ---

TEST(MixerNotification, ExternalChangeIsReadAgainAndReportedFromTheEventLoop) {
    Rig r;
    TMixer& m = r.Open();
    r.card.ExternalChange(K::kLine, C::kVolume, {9000, 8000});
    EXPECT_TRUE(r.changes.empty()); // nothing until the loop runs
    EXPECT_NE(m.GetChannel(mcLineInVolume, 0), 9000);
    r.events.Drain();
    EXPECT_EQ(r.changes, (std::vector<tMixerControlType>{mcLineInVolume}));
    EXPECT_EQ(m.GetChannel(mcLineInVolume, 0), 9000);
    EXPECT_EQ(m.GetChannel(mcLineInVolume, 1), 8000);
}

TEST(MixerNotification, AWriteIsReportedToEveryOpenMixerOnTheCardItsOwnIncluded) {
    Rig r;
    TMixer& first = r.Open();
    TMixer second(r.card, r.events);
    std::vector<tMixerControlType> seen;
    second.OnControlChange = [&](TMixer&, tMixerControlType c) { seen.push_back(c); };
    second.SetMidiDeviceID(-2);
    second.SetActive(true);

    first.SetBoth(mcMasterMute, 1, 1);
    EXPECT_TRUE(r.changes.empty());
    r.events.Drain();
    EXPECT_EQ(r.changes, (std::vector<tMixerControlType>{mcMasterMute}));
    EXPECT_EQ(seen, (std::vector<tMixerControlType>{mcMasterMute}));
    EXPECT_EQ(second.GetChannel(mcMasterMute, 0), 1);
}

TEST(MixerNotification, IdentifiersOfNoSlotChangeNothing) {
    SoundCardLayout layout = SoundCardLayout::Standard().WithRecordingDestinationFirst().Without(K::kMicrophone);
    Rig r(std::move(layout));
    TMixer& m = r.Open();
    int32_t before = m.GetChannel(mcLineInVolume, 0);
    r.card.ExternalChange(r.card.ControlIdIn(0, K::kLine, C::kVolume), {1}); // recording line in
    r.card.NotifyAll(0);      // the identifier an unavailable slot would carry
    r.card.NotifyAll(0xBEEF); // nobody's
    r.card.NotifyAll(mcLineInVolume); // a slot index is no identifier
    r.events.Drain();
    EXPECT_TRUE(r.changes.empty());
    EXPECT_EQ(m.GetChannel(mcLineInVolume, 0), before);
}

TEST(MixerNotification, NothingArrivesAfterClosingOrDestruction) {
    EmulatedSoundCard card;
    ManualEventQueue events;
    int calls = 0;
    {
        TMixer m(card, events);
        m.OnControlChange = [&](TMixer&, tMixerControlType) { ++calls; };
        m.SetActive(true);
        card.ExternalChange(K::kLine, C::kVolume, {1});
        m.SetActive(false);
        card.ExternalChange(K::kLine, C::kVolume, {2});
        m.SetActive(true);
        card.ExternalChange(K::kLine, C::kVolume, {3});
    } // destroyed with a notification still queued
    EXPECT_EQ(events.Drain(), 2);
    EXPECT_EQ(calls, 0);
}

TEST(MixerNotification, AFailedReadBackReachesTheEventLoop) {
    Rig r;
    r.Open();
    r.card.FailNext(MixerCall::kGetControlDetails, 1);
    r.card.ExternalChange(K::kSynthesizer, C::kMute, {1});
    EXPECT_THROW(r.events.Drain(), eMMError);
    EXPECT_TRUE(r.changes.empty());
}

// --- opening and closing ---

TEST(MixerLifecycle, OpensAndClosesOnActive) {
    Rig r;
    EXPECT_FALSE(r.mixer.Active());
    EXPECT_EQ(r.mixer.MidiDeviceID(), -1);
    r.mixer.SetActive(true); // the MIDI mapper has a mixer too
    EXPECT_TRUE(r.mixer.Active());
    EXPECT_EQ(r.card.OpenHandles(), 1);
    r.mixer.SetActive(true);
    EXPECT_EQ(r.card.OpenHandles(), 1);
    r.mixer.SetActive(false);
    EXPECT_FALSE(r.mixer.Active());
    EXPECT_EQ(r.card.OpenHandles(), 0);
    EXPECT_FALSE(r.mixer.Available(mcMasterVolume));
    int writes = r.card.SetCalls();
    r.mixer.SetBoth(mcMasterVolume, 1, 1);
    EXPECT_EQ(r.card.SetCalls(), writes);
}

TEST(MixerLifecycle, OpenFailuresLeaveItClosed) {
    Rig r;
    r.card.FailNext(MixerCall::kOpen, 4);
    EXPECT_EQ(MessageOf([&] { r.mixer.SetActive(true); }),
              "Multimedia System Error 4 - Device already allocated in mixerOpen");
    EXPECT_FALSE(r.mixer.Active());

    Rig none([] {
        SoundCardLayout l;
        l.hasMixer = false;
        return l;
    }());
    EXPECT_EQ(MessageOf([&] { none.Open(); }), "Multimedia System Error 2 - Device ID out of range in mixerOpen");
}

TEST(MixerLifecycle, ChangingTheDeviceReopensAnOpenMixerOnly) {
    Rig r;
    r.mixer.SetMidiDeviceID(5); // closed: only stored
    EXPECT_EQ(r.mixer.MidiDeviceID(), 5);
    EXPECT_EQ(r.card.OpenHandles(), 0);

    r.mixer.SetMidiDeviceID(-2);
    r.mixer.SetActive(true);
    r.mixer.SetMidiDeviceID(0);
    EXPECT_TRUE(r.mixer.Active());
    EXPECT_EQ(r.card.OpenHandles(), 1);

    // No such MIDI device: closed, the identifier kept.
    EXPECT_EQ(MessageOf([&] { r.mixer.SetMidiDeviceID(3); }),
              "Multimedia System Error 2 - Device ID out of range in mixerOpen");
    EXPECT_FALSE(r.mixer.Active());
    EXPECT_EQ(r.mixer.MidiDeviceID(), 3);
    EXPECT_EQ(r.card.OpenHandles(), 0);
}

TEST(MixerLifecycle, LoadingStoresAndOpensAtTheEnd) {
    Rig r;
    r.mixer.BeginLoading();
    EXPECT_TRUE(r.mixer.Active()); // the published default
    r.mixer.SetMidiDeviceID(-2);
    r.mixer.SetActive(true);
    EXPECT_EQ(r.card.OpenHandles(), 0);
    r.mixer.EndLoading();
    EXPECT_TRUE(r.mixer.Active());
    EXPECT_EQ(r.card.OpenHandles(), 1);

    r.mixer.BeginLoading();
    r.mixer.SetActive(false);
    r.mixer.EndLoading();
    EXPECT_FALSE(r.mixer.Active());
    EXPECT_EQ(r.card.OpenHandles(), 0);
}

// --- error texts ---

TEST(MixerErrorText, CategoriesAndCodeTexts) {
    struct Case {
        int code;
        const char* call;
        const char* text;
    };
    const Case cases[] = {
        {1, "mixerOpen", "Multimedia System Error 1 - Unspecified error in mixerOpen"},
        {12, "mixerGetControlDetails",
         "Multimedia System Error 12 - Handle being used simultaneously on another thread (eg callback) in "
         "mixerGetControlDetails"},
        {20, "mixerOpen", "Multimedia System Error 20 - Driver does not call DriverCallback in mixerOpen"},
        {1024, "mixerGetLineControls", "Multimedia Mixer Error 1024 - Invalid Mixer Line in mixerGetLineControls"},
        {1025, "mixerGetLineControls", "Multimedia Mixer Error 1025 - Invalid Mixer Control in mixerGetLineControls"},
        {0, "mixerOpen", "Multimedia Unknown Error 0 - Unknown error in mixerOpen"},
        {21, "mixerOpen", "Multimedia Unknown Error 21 - Unknown error in mixerOpen"},
        {1023, "mixerOpen", "Multimedia Unknown Error 1023 - Unknown error in mixerOpen"},
        {1027, "mixerSetControlDetails", "Multimedia Unknown Error 1027 - Unknown error in mixerSetControlDetails"},
        {-5, "mixerOpen", "Multimedia Unknown Error -5 - Unknown error in mixerOpen"},
    };
    for (const Case& c : cases) {
        eMMError e(c.code, c.call);
        EXPECT_STREQ(e.what(), c.text);
        EXPECT_EQ(e.Code(), c.code);
        EXPECT_EQ(e.Call(), c.call);
    }
}

} // namespace
} // namespace tunevox::mixer
