#include "mixerwindow/mixer_window.h"
#include "mixerwindow/volume_pan.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <memory>
#include <optional>
#include <vector>

#include "emulator/emulated_sound_card.h"
#include "platform/event_queue.h"

namespace tunevox::mixerwindow {
namespace {

using emulator::EmulatedSoundCard;
using emulator::MixerCall;
using emulator::SoundCardLayout;
using mixer::mcCdVolume;
using mixer::mcLineInVolume;
using mixer::mcMicVolume;
using platform::ManualEventQueue;
using K = platform::tMixerLineKind;
using C = platform::tMixerControlKind;

// --- the arithmetic behind the strips ---

TEST(MixerWindowArithmetic, VolumeIsTheLouderChannelAndPanTheTruncatedBalance) {
    EXPECT_EQ(VolumePanOf(200, 100).volume, 200);
    EXPECT_EQ(VolumePanOf(200, 100).pan, -50);
    EXPECT_EQ(VolumePanOf(0, 0).pan, 0); // a silent control has no balance
    EXPECT_EQ(VolumePanOf(3, 2).pan, -33);  // -33.3 towards zero
    // A full 32-bit range must not overflow on the way.
    EXPECT_EQ(VolumePanOf(2147483647, 0).pan, -100);
    EXPECT_EQ(VolumePanOf(2147483647, 1073741823).pan, -50);

    EXPECT_EQ(ChannelsOf(200, 0).left, 200);
    EXPECT_EQ(ChannelsOf(200, 0).right, 200);
    EXPECT_EQ(ChannelsOf(100, 33).left, 67);
    EXPECT_EQ(ChannelsOf(100, 33).right, 100);
    EXPECT_EQ(ChannelsOf(2147483647, -1).right, 2126008810);
    EXPECT_EQ(ChannelsOf(50, 250).left, 0); // past the end counts as the end
    EXPECT_EQ(ChannelsOf(50, -250).right, 0);

    // From a volume of 100 on, writing a balance and reading it back gives
    // the same balance: the slider does not creep when its change comes back.
    for (int32_t volume : {100, 137, 1000, 65535}) {
        for (int pan = -100; pan <= 100; ++pan) {
            const tChannelPair ch = ChannelsOf(volume, pan);
            const tVolumePan back = VolumePanOf(ch.left, ch.right);
            ASSERT_EQ(back.volume, volume) << pan;
            ASSERT_EQ(back.pan, pan) << volume;
        }
    }
}

// --- the window on the emulated sound card ---

struct Rig {
    explicit Rig(SoundCardLayout layout = SoundCardLayout::Standard()) : card(std::move(layout)) {}
    std::unique_ptr<tdMixer> Open(std::optional<mixer::tMixerControlType> radioVolume = mcLineInVolume) {
        auto w = std::make_unique<tdMixer>(
            card, events, radioVolume, [this](const QString& text) { errors.push_back(text); },
            [this](const QString& topic) { help.push_back(topic); });
        events.Drain();
        return w;
    }
    std::vector<int32_t> Master() const { return card.Values(K::kSpeakers, C::kVolume); }

    EmulatedSoundCard card;
    ManualEventQueue events;
    std::vector<QString> errors;
    std::vector<QString> help;
};

TEST(MixerWindow, SetUpShowsVolumeAndBalanceAndMovingEitherSliderWritesBothChannels) {
    Rig r(SoundCardLayout::Standard().WithRange(K::kCompactDisc, C::kVolume, 0, 31));
    r.card.ExternalChange(K::kSpeakers, C::kVolume, {200, 100});
    r.card.ExternalChange(K::kMicrophone, C::kMute, {1});
    r.card.ExternalChange(K::kSpeakers, C::kBass, {1234});
    auto w = r.Open();
    EXPECT_EQ(r.card.SetCalls(), 0) << "showing the card's state wrote to it";
    EXPECT_EQ(w->windowTitle(), "Mixer control");
    EXPECT_EQ(w->mVolume->maximum(), 65535);
    EXPECT_EQ(w->CdVolume->maximum(), 31);
    EXPECT_EQ(w->mPanning->minimum(), -100);
    EXPECT_EQ(w->mPanning->maximum(), 100);
    EXPECT_EQ(w->mVolume->value(), 200);
    EXPECT_EQ(w->mPanning->value(), -50);
    EXPECT_TRUE(w->MicMute->isChecked());
    EXPECT_EQ(w->aBass->value(), 1234);
    EXPECT_FALSE(w->MicPanning->isEnabled());
    EXPECT_TRUE(w->LiPanning->isEnabled());

    w->mPanning->setValue(0);
    EXPECT_EQ(r.Master(), (std::vector<int32_t>{200, 200}));
    w->mPanning->setValue(50);
    EXPECT_EQ(r.Master(), (std::vector<int32_t>{100, 200}));
    w->mVolume->setValue(1000);
    EXPECT_EQ(r.Master(), (std::vector<int32_t>{500, 1000}));
    w->aTreble->setValue(4000);
    EXPECT_EQ(r.card.Values(K::kSpeakers, C::kTreble), (std::vector<int32_t>{4000, 4000}));
    // The writes come back as changes; showing them writes nothing more.
    const int writes = r.card.SetCalls();
    r.events.Drain();
    EXPECT_EQ(r.card.SetCalls(), writes);
    EXPECT_EQ(w->mVolume->value(), 1000);
    EXPECT_EQ(w->mPanning->value(), 50);

    w->btHelp->click();
    EXPECT_EQ(r.help, (std::vector<QString>{"Volume_controls"}));
    EXPECT_TRUE(r.errors.empty());
}

TEST(MixerWindow, MuteButtonsToggleBetweenTheControlsEnds) {
    Rig r(SoundCardLayout::Standard().WithRange(K::kLine, C::kMute, 0, 5));
    auto w = r.Open();
    w->mMute->click();
    EXPECT_TRUE(w->mMute->isChecked());
    EXPECT_EQ(r.card.Value(K::kSpeakers, C::kMute), 1);
    w->mMute->click();
    EXPECT_EQ(r.card.Value(K::kSpeakers, C::kMute), 0);
    // The control's own maximum, not a fixed 1.
    w->LiMute->click();
    EXPECT_EQ(r.card.Value(K::kLine, C::kMute), 5);
    r.events.Drain();
    EXPECT_TRUE(w->LiMute->isChecked());
    w->LiMute->click();
    EXPECT_EQ(r.card.Value(K::kLine, C::kMute), 0);
}

TEST(MixerWindow, FollowsChangesMadeElsewhereAndASilentLineKeepsItsBalance) {
    Rig r;
    auto w = r.Open();
    r.card.ExternalChange(K::kSpeakers, C::kVolume, {300, 600});
    r.card.ExternalChange(K::kCompactDisc, C::kMute, {1});
    r.card.ExternalChange(K::kSpeakers, C::kTreble, {777});
    const int writes = r.card.SetCalls();
    r.events.Drain();
    EXPECT_EQ(w->mVolume->value(), 600);
    EXPECT_EQ(w->mPanning->value(), 50);
    EXPECT_TRUE(w->CdMute->isChecked());
    EXPECT_EQ(w->aTreble->value(), 777);
    EXPECT_EQ(r.card.SetCalls(), writes) << "following a change wrote it back";

    // Both channels at 0: the volume follows, the balance stays put, and
    // turning the volume up again restores the balance the user had.
    r.card.ExternalChange(K::kSpeakers, C::kVolume, {0, 0});
    r.events.Drain();
    EXPECT_EQ(w->mVolume->value(), 0);
    EXPECT_EQ(w->mPanning->value(), 50);
    w->mVolume->setValue(400);
    EXPECT_EQ(r.Master(), (std::vector<int32_t>{200, 400}));

    // A message about a control the window does not show changes nothing.
    r.card.NotifyAll(0xDEAD);
    r.card.ExternalChange(K::kWaveOut, C::kVolume, {1, 1});
    r.events.Drain();
    EXPECT_EQ(w->mVolume->value(), 400);
    EXPECT_TRUE(r.errors.empty());

    // Notifications still queued when the window closes reach nobody.
    r.card.ExternalChange(K::kSpeakers, C::kVolume, {5, 5});
    w.reset();
    EXPECT_EQ(r.card.OpenHandles(), 0);
    r.events.Drain();
}

TEST(MixerWindow, LinesTheCardLacksAreDisabledAndTheRadiosStripIsBold) {
    {
        Rig r(SoundCardLayout::Standard().Without(K::kLine));
        auto w = r.Open(mcCdVolume);
        EXPECT_FALSE(w->gLineIn->isEnabled());
        EXPECT_FALSE(w->LiVolume->isEnabled());
        EXPECT_FALSE(w->LiPanning->isEnabled());
        EXPECT_FALSE(w->LiMute->isEnabled());
        for (QGroupBox* g : {w->gMaster, w->gMic, w->gCD, w->gAdvanced}) EXPECT_TRUE(g->isEnabled());
        EXPECT_TRUE(w->LCD->font().bold());
        for (QLabel* l : {w->LMaster, w->LLineIn, w->LMic}) EXPECT_FALSE(l->font().bold());
    }
    {
        // Mixer device 0 of a sound server: a master volume and mute only.
        SoundCardLayout layout = SoundCardLayout::Standard()
                                     .Without(K::kLine)
                                     .Without(K::kCompactDisc)
                                     .Without(K::kMicrophone)
                                     .WithoutControl(K::kSpeakers, C::kBass)
                                     .WithoutControl(K::kSpeakers, C::kTreble);
        Rig r(layout);
        auto w = r.Open(std::nullopt);
        for (QGroupBox* g : {w->gLineIn, w->gMic, w->gCD, w->gAdvanced}) EXPECT_FALSE(g->isEnabled());
        EXPECT_TRUE(w->mVolume->isEnabled());
        EXPECT_TRUE(w->mMute->isEnabled());
        for (QLabel* l : {w->LMaster, w->LLineIn, w->LMic, w->LCD}) EXPECT_FALSE(l->font().bold());
        w->mVolume->setValue(30000);
        EXPECT_EQ(r.Master(), (std::vector<int32_t>{30000, 30000}));
    }
    {
        // A master without a mute: only the button goes grey.
        Rig r(SoundCardLayout::Standard().WithoutControl(K::kSpeakers, C::kMute));
        auto w = r.Open(mcMicVolume);
        EXPECT_TRUE(w->gMaster->isEnabled());
        EXPECT_FALSE(w->mMute->isEnabled());
        EXPECT_TRUE(w->LMic->font().bold());
    }
}

TEST(MixerWindow, MixerFailuresReachTheErrorFunctionAndTheWindowLivesOn) {
    Rig r;
    r.card.ExternalChange(K::kSpeakers, C::kVolume, {200, 100});
    auto w = r.Open();
    const QString invalidValue = "Multimedia Mixer Error 1026 - Invalid Mixer Value in mixerSetControlDetails";

    // A refused write: reported, and the sliders go back to what the card has.
    r.card.FailNext(MixerCall::kSetControlDetails, 1026);
    w->mVolume->setValue(5000);
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0], invalidValue);
    EXPECT_EQ(w->mVolume->value(), 200);
    EXPECT_EQ(w->mPanning->value(), -50);
    EXPECT_EQ(r.Master(), (std::vector<int32_t>{200, 100}));

    r.card.FailNext(MixerCall::kSetControlDetails, 1026);
    w->CdMute->click();
    EXPECT_EQ(r.errors.size(), 2u);
    EXPECT_FALSE(w->CdMute->isChecked());
    r.card.FailNext(MixerCall::kSetControlDetails, 1026);
    w->aBass->setValue(10);
    EXPECT_EQ(r.errors.size(), 3u);
    EXPECT_EQ(w->aBass->value(), r.card.Value(K::kSpeakers, C::kBass));

    // A change made elsewhere that cannot be read back: reported from the
    // queued notification, not thrown out of it.
    r.card.FailNext(MixerCall::kGetControlDetails, 5);
    r.card.ExternalChange(K::kSpeakers, C::kVolume, {9, 9});
    EXPECT_NO_THROW(r.events.Drain());
    ASSERT_EQ(r.errors.size(), 4u);
    EXPECT_EQ(r.errors[3], "Multimedia System Error 5 - Device handle is invalid in mixerGetControlDetails");

    // And the window still works.
    w->mPanning->setValue(0);
    EXPECT_EQ(r.Master(), (std::vector<int32_t>{200, 200}));
    r.card.ExternalChange(K::kSpeakers, C::kVolume, {70, 70});
    r.events.Drain();
    EXPECT_EQ(w->mVolume->value(), 70);
    EXPECT_EQ(r.errors.size(), 4u);
}

TEST(MixerWindow, AMixerThatCannotBeOpenedIsReportedAndLeavesEverythingDisabled) {
    Rig r;
    r.card.FailNext(MixerCall::kOpen, 6);
    auto w = r.Open();
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0], "Multimedia System Error 6 - No device driver present in mixerOpen");
    EXPECT_FALSE(w->Mixer().Active());
    for (QGroupBox* g : {w->gMaster, w->gLineIn, w->gMic, w->gCD, w->gAdvanced}) EXPECT_FALSE(g->isEnabled());
    w->btOk->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
}

TEST(MixerWindow, Screenshots) {
    {
        Rig r;
        r.card.ExternalChange(K::kSpeakers, C::kVolume, {48000, 36000});
        r.card.ExternalChange(K::kLine, C::kVolume, {40000, 40000});
        r.card.ExternalChange(K::kMicrophone, C::kVolume, {8000, 8000});
        r.card.ExternalChange(K::kMicrophone, C::kMute, {1});
        auto w = r.Open(mcLineInVolume);
        test::Screenshot(*w, "mixer_window");
        test::ExpectNothingClipped(*w, "mixer window");
        // The four strips are one width and side by side.
        for (QGroupBox* g : {w->gLineIn, w->gMic, w->gCD}) {
            EXPECT_EQ(g->width(), w->gMaster->width());
            EXPECT_EQ(g->y(), w->gMaster->y());
        }
    }
    {
        Rig r(SoundCardLayout::Standard().Without(K::kLine).Without(K::kCompactDisc));
        auto w = r.Open(mcMicVolume);
        test::Screenshot(*w, "mixer_window_no_line_in_no_cd");
        test::ExpectNothingClipped(*w, "mixer window without line in and CD");
    }
}

} // namespace
} // namespace tunevox::mixerwindow
