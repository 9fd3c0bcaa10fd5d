// Volume and mute routed to a line of the sound card's mixer, and the
// mixer's change events coming back to the card, over the emulated sound
// card.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "mixer/mixer.h"
#include "mixer_rig_fixture.h"

namespace tunevox::radio {
namespace {

using emulator::MixerCall;
using emulator::SoundCardLayout;
using test::ControlKind;
using test::LineKind;
using test::MixerCardRig;
using test::MixerChange;
using test::MixerLineOf;
using test::Op;

constexpr tVolumeLine kMixerLines[] = {vlLineIn, vlMicIn, vlCd};

// --- creation ---

TEST(MixerRoutingCreation, AMixerExistsOnlyWithASoundCard) {
    MixerCardRig none{MixerCardRig::NoSoundSystem{}};
    EXPECT_FALSE(none.card->HasSoundCard());
    EXPECT_EQ(none.card->Mixer(), nullptr);

    SoundCardLayout silent = SoundCardLayout::Standard();
    silent.hasPlaybackDevice = false;
    MixerCardRig noWaveOut(silent);
    EXPECT_FALSE(noWaveOut.card->HasSoundCard());
    EXPECT_EQ(noWaveOut.card->Mixer(), nullptr);
    EXPECT_EQ(noWaveOut.sound->OpenHandles(), 0);

    for (MixerCardRig* r : {&none, &noWaveOut}) {
        for (tVolumeLine l : kMixerLines) {
            EXPECT_FALSE(r->card->MixerLineUsable(l));
            EXPECT_EQ(r->card->MixerLineMax(l), 0);
        }
    }

    MixerCardRig with;
    ASSERT_NE(with.card->Mixer(), nullptr);
    EXPECT_TRUE(with.card->HasSoundCard());
    EXPECT_TRUE(with.card->Mixer()->Active());
    EXPECT_EQ(with.card->Mixer()->MidiDeviceID(), -2);
    for (tVolumeLine l : kMixerLines) {
        EXPECT_TRUE(with.card->MixerLineUsable(l));
        EXPECT_EQ(with.card->MixerLineMax(l), 65535);
    }
    EXPECT_TRUE(with.ports.log.empty()) << "creating a card touches no port and writes no control";
}

TEST(MixerRoutingCreation, LinesAreUsableOnlyWithBothControls) {
    MixerCardRig r(SoundCardLayout::Standard()
                       .Without(LineKind::kMicrophone)
                       .WithoutControl(LineKind::kCompactDisc, ControlKind::kMute)
                       .WithRange(LineKind::kCompactDisc, ControlKind::kVolume, 0, 200)
                       .WithRange(LineKind::kLine, ControlKind::kVolume, 0, 1000));
    EXPECT_FALSE(r.card->MixerLineUsable(vlMicIn));
    EXPECT_EQ(r.card->MixerLineMax(vlMicIn), 0);
    EXPECT_FALSE(r.card->MixerLineUsable(vlCd));
    EXPECT_EQ(r.card->MixerLineMax(vlCd), 200); // the maximum is kept all the same
    EXPECT_TRUE(r.card->MixerLineUsable(vlLineIn));
    EXPECT_EQ(r.card->MixerLineMax(vlLineIn), 1000);
    EXPECT_FALSE(r.card->MixerLineUsable(vlNative));
}

TEST(MixerRoutingCreation, AMixerThatCannotBeOpenedLeavesTheCardWorking) {
    MixerCardRig r(SoundCardLayout::Standard(),
                   [](emulator::EmulatedSoundCard& s) { s.FailNext(MixerCall::kOpen, 4); });
    EXPECT_TRUE(r.card->HasSoundCard());
    EXPECT_FALSE(r.card->MixerLineUsable(vlLineIn));

    TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
    c.ApplyVolume(100);
    c.MuteOn();
    c.MuteOff();
    EXPECT_TRUE(r.MixerWrites().empty());
}

// --- the volume line ---

TEST(MixerRoutingLine, SerialRadiosCanUseALine) {
    MixerCardRig r;
    TRadioCard& c = *r.card;
    c.SetModel(mWizard);
    c.StoreVolume(100);
    c.SetVolumeLine(vlCd);
    EXPECT_EQ(c.MaxVolume(), 256);
    EXPECT_EQ(c.VolumeStep(), 1);
    EXPECT_EQ(c.Volume(), 100);
    EXPECT_TRUE(r.ports.log.empty()) << "assigning a line writes no control";
}

TEST(MixerRoutingLine, MixerLineWithoutASoundCardDoesNothingHarmful) {
    MixerCardRig r{MixerCardRig::NoSoundSystem{}};
    TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
    EXPECT_EQ(c.VolumeLine(), vlLineIn); // the card itself can still mute
    c.ApplyVolume(50);
    c.VolumeUp();
    c.MuteOn();
    EXPECT_TRUE(c.Muted());
    c.MuteOff();
    EXPECT_FALSE(c.Muted());
    c.Close();
}

// --- operations on a mixer line ---

TEST(MixerRoutingAudio, VolumeGoesToBothChannelsOfTheLinesOwnControl) {
    for (tVolumeLine l : kMixerLines) {
        MixerCardRig r;
        TRadioCard& c = r.Open(mRadioTrack, l);
        LineKind k = MixerLineOf(l);
        c.ApplyVolume(100);
        EXPECT_EQ(r.Values(k, ControlKind::kVolume), (std::vector<int32_t>{25500, 25500})) << l;
        EXPECT_EQ(c.Volume(), 100);
        EXPECT_FALSE(c.Muted());
        EXPECT_EQ(r.ports.Writes().size(), 0u) << "the card's own volume is not touched";
        // The other lines stay as they were.
        for (tVolumeLine other : kMixerLines) {
            if (other != l) {
                EXPECT_EQ(r.Values(MixerLineOf(other), ControlKind::kVolume)[0], 32767);
            }
        }
        c.ApplyVolume(1000);
        EXPECT_EQ(c.Volume(), 256);
        EXPECT_EQ(r.Values(k, ControlKind::kVolume)[1], 65280);
        c.ApplyVolume(-3);
        EXPECT_EQ(c.Volume(), 0);
        EXPECT_EQ(r.Values(k, ControlKind::kVolume)[0], 0);
    }
}

TEST(MixerRoutingAudio, UpAndDownMoveOneStepAndStopAtTheEnds) {
    MixerCardRig r;
    TRadioCard& c = r.Open(mAztech, vlLineIn);
    c.ApplyVolume(255);
    c.VolumeUp();
    EXPECT_EQ(c.Volume(), 256);
    EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kVolume)[0], 65280);
    r.Forget();
    c.VolumeUp();
    EXPECT_EQ(c.Volume(), 256);
    EXPECT_TRUE(r.MixerWrites().empty());

    c.ApplyVolume(1);
    c.VolumeDown();
    EXPECT_EQ(c.Volume(), 0);
    EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kVolume)[0], 0);
    r.Forget();
    c.VolumeDown();
    c.VolumeToZero(); // means nothing on a mixer line
    EXPECT_EQ(c.Volume(), 0);
    EXPECT_TRUE(r.ports.log.empty());
}

TEST(MixerRoutingAudio, WritingTheVolumeTakesMutedFromTheLine) {
    // Muted natively, then moved to a line that is sounding.
    MixerCardRig r;
    TRadioCard& c = r.Open(mRadioTrack, vlNative);
    c.MuteOn();
    c.SetVolumeLine(vlCd);
    c.ApplyVolume(40);
    EXPECT_FALSE(c.Muted());

    // Sounding, then moved to a line another program has muted.
    c.SetVolumeLine(vlNative);
    c.MuteOff();
    ASSERT_FALSE(c.Muted());
    r.sound->ExternalChange(LineKind::kMicrophone, ControlKind::kMute, {1});
    r.events.Drain();
    c.SetVolumeLine(vlMicIn);
    c.ApplyVolume(40);
    EXPECT_TRUE(c.Muted());
}

TEST(MixerRoutingAudio, MuteSetsTheMuteControlAndUnmuteRunsTheCardsUnmuteFirst) {
    MixerCardRig r;
    TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
    const uint16_t mute = static_cast<uint16_t>(r.Id(LineKind::kLine, ControlKind::kMute));
    c.MuteOn();
    EXPECT_TRUE(c.Muted());
    EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kMute), (std::vector<int32_t>{1, 1}));
    EXPECT_TRUE(r.ports.Writes().empty()) << "muting a line leaves the card alone";

    r.Forget();
    c.MuteOff();
    EXPECT_FALSE(c.Muted());
    EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kMute), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(r.ports.log, (std::vector<Op>{{'W', 0x30C, 0x00}, {'W', 0x30C, 0xD8}, {'M', mute, 0}}));
}

TEST(MixerRoutingAudio, UnmutingKeepsTheLineVolume) {
    // The Zoltrix unmute snaps the card's volume to its own step; on a
    // mixer line that value belongs to the line and stays.
    MixerCardRig r;
    TRadioCard& c = r.Open(mZoltrix, vlLineIn);
    c.ApplyVolume(100);
    c.MuteOn();
    c.MuteOff();
    EXPECT_EQ(c.Volume(), 100);
    EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kVolume)[0], 25500);
}

TEST(MixerRoutingAudio, ALineWithFewerThan256StepsIsScaled) {
    MixerCardRig r(SoundCardLayout::Standard().WithRange(LineKind::kLine, ControlKind::kVolume, 0, 200));
    TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
    c.ApplyVolume(256);
    EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kVolume)[0], 200);
    c.ApplyVolume(128);
    EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kVolume)[0], 100);
    c.ApplyVolume(1);
    EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kVolume)[0], 1);
}

TEST(MixerRoutingAudio, NothingHappensWhileTheCardIsClosed) {
    MixerCardRig r;
    TRadioCard& c = *r.card;
    c.SetModel(mRadioTrack);
    c.SetVolumeLine(vlLineIn);
    c.ApplyVolume(100);
    c.VolumeUp();
    c.MuteOn();
    c.MuteOff();
    EXPECT_TRUE(r.ports.log.empty());
    EXPECT_EQ(c.Volume(), 0);
}

// Aztech's native volume reaches 336; on a mixer line the volume is never
// above the line's 256.
TEST(MixerRoutingAudio, ANativeVolumeAboveTheScaleIsClampedOnTheSwitch) {
    MixerCardRig r;
    std::vector<int> errors;
    r.card->OnMixerError = [&](TRadioCard&, const mixer::eMMError& e) { errors.push_back(e.Code()); };
    TRadioCard& c = r.Open(mAztech, vlNative);
    for (int i = 0; i < 4; ++i) c.VolumeUp();
    ASSERT_EQ(c.Volume(), 336);
    c.SetVolumeLine(vlLineIn);
    EXPECT_EQ(c.Volume(), 256);
    c.VolumeUp();
    EXPECT_EQ(c.Volume(), 256);
    c.VolumeDown();
    EXPECT_EQ(c.Volume(), 255);
    EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kVolume)[0], 255 * 255);
    EXPECT_TRUE(errors.empty()) << "no write above the control's maximum";
}

// The policy for mixer failures: no eMMError leaves the card; it is
// reported through OnMixerError and the card's state stays what the device
// holds.
TEST(MixerRoutingFailures, EveryOperationReportsAndKeepsTheStateTrue) {
    struct Failure {
        int code;
        std::string call;
        std::string text;
    };
    struct Case {
        const char* name;
        std::function<void(TRadioCard&)> op;
    } cases[] = {
        {"ApplyVolume", [](TRadioCard& c) { c.ApplyVolume(200); }},
        {"VolumeUp", [](TRadioCard& c) { c.VolumeUp(); }},
        {"VolumeDown", [](TRadioCard& c) { c.VolumeDown(); }},
        {"MuteOn", [](TRadioCard& c) { c.MuteOn(); }},
        {"MuteOff", [](TRadioCard& c) { c.MuteOff(); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        MixerCardRig r;
        std::vector<Failure> failures;
        r.card->OnMixerError = [&](TRadioCard& sender, const mixer::eMMError& e) {
            EXPECT_EQ(&sender, r.card.get());
            failures.push_back({e.Code(), e.Call(), e.what()});
        };
        TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
        c.ApplyVolume(100);
        if (std::string(k.name) == "MuteOff") c.MuteOn();
        r.events.Drain();
        const int32_t volume = c.Volume();
        const bool muted = c.Muted();
        const auto lineVolume = r.Values(LineKind::kLine, ControlKind::kVolume);
        const auto lineMute = r.Values(LineKind::kLine, ControlKind::kMute);

        r.sound->FailNext(MixerCall::kSetControlDetails, 1026);
        EXPECT_NO_THROW(k.op(c));
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_EQ(failures[0].code, 1026);
        EXPECT_EQ(failures[0].call, "mixerSetControlDetails");
        EXPECT_NE(failures[0].text.find("Multimedia Mixer Error 1026"), std::string::npos) << failures[0].text;
        EXPECT_EQ(c.Volume(), volume) << "Volume changes only after a write that succeeded";
        EXPECT_EQ(c.Muted(), muted);
        EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kVolume), lineVolume);
        EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kMute), lineMute);
        EXPECT_TRUE(c.Active());

        // The next attempt works as usual.
        k.op(c);
        EXPECT_EQ(failures.size(), 1u);
    }

    // Without a handler the failure is still caught.
    MixerCardRig quiet;
    TRadioCard& c = quiet.Open(mRadioTrack, vlCd);
    quiet.sound->FailNext(MixerCall::kSetControlDetails, 1);
    EXPECT_NO_THROW(c.ApplyVolume(10));
    EXPECT_EQ(c.Volume(), 0);
}

// A change notification runs from the event loop's queue; when the changed
// control cannot be read again the failure is reported, never thrown into
// the loop.
TEST(MixerRoutingFailures, AQueuedNotificationNeverThrows) {
    MixerCardRig r;
    std::vector<int> errors;
    r.card->OnMixerError = [&](TRadioCard&, const mixer::eMMError& e) { errors.push_back(e.Code()); };
    TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
    c.ApplyVolume(10);
    r.events.Drain();
    r.Forget();
    r.sound->ExternalChange(LineKind::kLine, ControlKind::kVolume, {25500});
    r.sound->FailNext(MixerCall::kGetControlDetails, 5);
    EXPECT_NO_THROW(r.events.Drain());
    EXPECT_EQ(errors, (std::vector<int>{5}));
    EXPECT_EQ(c.Volume(), 10);
    EXPECT_TRUE(r.changes.empty());

    r.sound->ExternalChange(LineKind::kLine, ControlKind::kVolume, {12750});
    r.events.Drain();
    EXPECT_EQ(c.Volume(), 50) << "later notifications arrive as usual";
}

// A card whose closing mute failed is closed all the same: it can be set
// up again at once.
TEST(MixerRoutingFailures, ACloseWhoseMuteFailsStillCloses) {
    MixerCardRig r;
    std::vector<int> errors;
    r.card->OnMixerError = [&](TRadioCard&, const mixer::eMMError& e) { errors.push_back(e.Code()); };
    TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
    c.SetMuteOnExit(true);
    r.Forget();
    r.sound->FailNext(MixerCall::kSetControlDetails, 1);
    EXPECT_NO_THROW(c.Close());
    EXPECT_FALSE(c.Active());
    EXPECT_EQ(errors, (std::vector<int>{1}));
    EXPECT_FALSE(c.Muted()) << "the line still sounds, and the card says so";
    EXPECT_EQ(r.ports.Writes(), (std::vector<uint8_t>{0x00, 0xD0})) << "the card's own close ran";
    EXPECT_NO_THROW(c.SetModel(mAztech));
    EXPECT_NO_THROW(c.SetPort(1));
    c.Open();
    EXPECT_TRUE(c.Active());
}

// --- opening and closing on a mixer line ---

TEST(MixerRoutingLifecycle, AnIsaCardOpenedOnAMixerLineEndsUnmuted) {
    for (tModel m : {mRadioTrack, mRA300, mZoltrix, mAztech}) {
        MixerCardRig r(SoundCardLayout::Standard().WithInitial(LineKind::kLine, ControlKind::kMute, 1));
        TRadioCard& c = *r.card;
        c.SetModel(m);
        c.SetPort(1);
        c.SetVolumeLine(vlLineIn);
        c.SetMutedStartup(true);
        c.Open();
        EXPECT_FALSE(c.Muted()) << m;
        EXPECT_EQ(r.Values(LineKind::kLine, ControlKind::kMute), (std::vector<int32_t>{0, 0})) << m;
        c.Close();
    }
}

TEST(MixerRoutingLifecycle, CloseMutesTheLineOnlyWithMuteOnExit) {
    {
        MixerCardRig r;
        TRadioCard& c = r.Open(mRadioTrack, vlMicIn);
        const uint16_t mute = static_cast<uint16_t>(r.Id(LineKind::kMicrophone, ControlKind::kMute));
        c.SetMuteOnExit(true);
        c.Close();
        EXPECT_TRUE(c.Muted());
        EXPECT_EQ(r.Values(LineKind::kMicrophone, ControlKind::kMute)[0], 1);
        // The card's own close first, then the line's mute.
        EXPECT_EQ(r.ports.log, (std::vector<Op>{{'W', 0x30C, 0x00}, {'W', 0x30C, 0xD0}, {'M', mute, 1}}));
    }
    {
        MixerCardRig r;
        TRadioCard& c = r.Open(mRadioTrack, vlMicIn);
        c.SetMuteOnExit(false);
        c.Close();
        EXPECT_FALSE(c.Muted()) << "the line is left as it is";
        EXPECT_TRUE(r.MixerWrites().empty());
        EXPECT_FALSE(c.Active());
    }
    {
        MixerCardRig r;
        TRadioCard& c = r.Open(mRadioTrack, vlNative);
        c.Close();
        EXPECT_TRUE(c.Muted());
        EXPECT_TRUE(r.MixerWrites().empty());
    }
}

// --- change events ---

TEST(MixerRoutingEvents, AnotherProgramMovingTheLineUpdatesVolumeAndMute) {
    MixerCardRig r;
    TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
    c.ApplyVolume(10);
    r.events.Drain();
    r.Forget();

    r.sound->ExternalChange(LineKind::kLine, ControlKind::kVolume, {12750, 25500});
    EXPECT_EQ(c.Volume(), 10);
    r.events.Drain();
    EXPECT_EQ(c.Volume(), 100); // the louder channel, 25500 / (65535 div 257)
    EXPECT_EQ(r.changes, (std::vector<MixerChange>{{100, false}}));

    r.sound->ExternalChange(LineKind::kLine, ControlKind::kMute, {1});
    r.events.Drain();
    EXPECT_TRUE(c.Muted());
    EXPECT_EQ(c.Volume(), 100);
    EXPECT_EQ(r.changes.back(), (MixerChange{100, true}));
}

TEST(MixerRoutingEvents, TheCardsOwnWritesComeBackUnchanged) {
    MixerCardRig r;
    TRadioCard& c = r.Open(mRadioTrack, vlCd);
    for (int v = 1; v <= 256; ++v) {
        c.ApplyVolume(v);
        r.events.Drain();
        ASSERT_EQ(c.Volume(), v);
    }
    EXPECT_EQ(r.changes.size(), 256u);
}

TEST(MixerRoutingEvents, OtherControlsAndOtherVolumeLinesAreIgnored) {
    MixerCardRig r;
    TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
    c.ApplyVolume(10);
    r.events.Drain();
    r.Forget();
    r.sound->ExternalChange(LineKind::kCompactDisc, ControlKind::kVolume, {60000});
    r.sound->ExternalChange(LineKind::kMicrophone, ControlKind::kMute, {1});
    r.sound->ExternalChange(LineKind::kSpeakers, ControlKind::kMute, {1});
    r.events.Drain();
    EXPECT_EQ(c.Volume(), 10);
    EXPECT_FALSE(c.Muted());
    EXPECT_TRUE(r.changes.empty());

    c.Close();
    c.SetVolumeLine(vlNative);
    c.Open();
    r.Forget();
    int32_t before = c.Volume();
    bool muted = c.Muted();
    r.sound->ExternalChange(LineKind::kLine, ControlKind::kVolume, {60000});
    r.sound->ExternalChange(LineKind::kLine, ControlKind::kMute, {1});
    r.events.Drain();
    EXPECT_EQ(c.Volume(), before);
    EXPECT_EQ(c.Muted(), muted);
    EXPECT_TRUE(r.changes.empty());
}

TEST(MixerRoutingEvents, ALineMaximumBelow257DoesNotFail) {
    for (int32_t max : {200, 1, 0}) {
        MixerCardRig r(SoundCardLayout::Standard().WithRange(LineKind::kLine, ControlKind::kVolume, 0, max));
        TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
        if (max > 0) r.sound->ExternalChange(LineKind::kLine, ControlKind::kVolume, {max});
        else r.sound->NotifyAll(r.Id(LineKind::kLine, ControlKind::kVolume));
        r.events.Drain();
        EXPECT_GE(c.Volume(), 0) << max;
        EXPECT_LE(c.Volume(), 256) << max;
        if (max > 0) {
            EXPECT_EQ(c.Volume(), 256) << max;
        }
        ASSERT_EQ(r.changes.size(), 1u) << max;
    }
}

TEST(MixerRoutingEvents, NoEventReachesADestroyedCardOrAnUnsetHandler) {
    MixerCardRig r;
    TRadioCard& c = r.Open(mRadioTrack, vlLineIn);
    c.OnMixerChange = nullptr;
    r.sound->ExternalChange(LineKind::kLine, ControlKind::kVolume, {2550});
    r.events.Drain();
    EXPECT_EQ(c.Volume(), 10);

    r.sound->ExternalChange(LineKind::kLine, ControlKind::kVolume, {5100});
    r.card.reset();
    EXPECT_EQ(r.events.Drain(), 1);
    EXPECT_EQ(r.sound->OpenHandles(), 0);
}

} // namespace
} // namespace tunevox::radio
