// Tuning from the window: band edges and their controls, the seek driven by
// the event loop with nothing opening during it, the slider and the band
// buttons.

#include "app/window/window_fixture.h"

#include "radio/radio_card.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QSlider>

namespace tunevox::app::test {
namespace {

using radio::bAM;
using radio::bFM;

TEST(MainTuning, BandEdgesStopTuningAndDisableTheirControls) {
    WindowRig r("[Configuration]\nHardware=1\nPort=2\n[Frequency]\nFrequency=M 087.000\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 87.0);
    EXPECT_EQ(r.Card().Caps().PortValue, 0x20C) << "the alternate port of the file";
    w.Actions_TunePrev();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 87.0);
    EXPECT_FALSE(w.Control("btTunePrev")->isEnabled());
    EXPECT_FALSE(w.MenuItem(iActions_TunePrev)->isEnabled());
    EXPECT_FALSE(w.MenuItem(iActions_ScanPrev, true)->isEnabled());
    EXPECT_TRUE(w.Control("btTuneNext")->isEnabled());
    // Far outside the band: clamped to the edge, never an error.
    EXPECT_EQ(r.Set().GoToFrequency(bFM, false, 250.0), 0);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 108.0);
    EXPECT_FALSE(w.Control("btTuneNext")->isEnabled());
    EXPECT_EQ(w.windowTitle(), "Tunevox - 108. MHz");
    // Off the card's grid: snapped (25 kHz).
    r.Set().GoToFrequency(bFM, false, 98.71);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    EXPECT_EQ(w.StatusText(), "Stereo");
    EXPECT_EQ(w.ReadoutText(), " 98.700");
    // A band the card cannot receive changes nothing.
    EXPECT_EQ(r.Set().GoToFrequency(bAM, false, -1), 0);
    EXPECT_EQ(r.Card().Band(), bFM);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
}

TEST(MainTuning, TheSeekStepsOnTheEventLoopAndNothingOpensDuringIt) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Frequency]\nFrequency=M 098.000\n"
                "TuneStep=4\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    w.KeyPress('>');
    EXPECT_TRUE(r.Set().Busy());
    EXPECT_TRUE(w.Control("btStopScan")->isVisibleTo(&w));
    EXPECT_FALSE(w.Control("btScanNext")->isVisibleTo(&w));
    EXPECT_TRUE(w.MenuItem(iActions_StopScan, true)->isEnabled());
    EXPECT_FALSE(w.MenuItem(iActions_ScanNext)->isEnabled());
    ASSERT_TRUE(r.RunOne());
    EXPECT_NEAR(r.Card().Frequency(), 98.1, 1e-9);

    // Between two steps: tuning, favorites and every window wait for
    // nothing, the mixer window included; volume and mute go on.
    const int volume = r.Card().Volume();
    for (QChar key : {'+', 'x', 'j', 'i', 'a', 's', 'y', '6'}) w.KeyPress(key);
    w.btRadioClick(1);
    qobject_cast<QAbstractButton*>(w.Control("btMixer"))->click();
    w.MenuItem(iHelp_About, true)->trigger();
    EXPECT_TRUE(r.ui.dialogsShown.isEmpty());
    EXPECT_TRUE(r.ui.boxes.empty());
    w.KeyPress('u');
    EXPECT_GT(r.Card().Volume(), volume);
    EXPECT_NEAR(r.Card().Frequency(), 98.1, 1e-9);

    // The stop key ends it before the next card operation.
    w.KeyPress('!');
    r.DrainEvents();
    EXPECT_FALSE(r.Set().Busy());
    EXPECT_NEAR(r.Card().Frequency(), 98.1, 1e-9);
    EXPECT_FALSE(w.Control("btStopScan")->isVisibleTo(&w));
    EXPECT_TRUE(w.Control("btScanNext")->isEnabled());
    EXPECT_EQ(w.StatusText(), "?????");
    EXPECT_EQ(w.StatusColor(), QColor(128, 0, 128).name()) << "dim colour of the default text scheme";

    // Run to the end: the next station is 98.7, shown in stereo.
    w.Actions_ScanNext();
    r.DrainEvents();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    EXPECT_EQ(w.StatusText(), "Stereo");
    EXPECT_FALSE(w.MenuItem(iActions_StopScan)->isEnabled());
}

TEST(MainTuning, ExitDuringASeekWaitsForItsStopAndThenCloses) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nShutDown=1\n[Frequency]\nFrequency=M 087.000\n");
    ASSERT_TRUE(r.Start());
    r.W().Actions_ScanNext();
    r.RunOne();
    r.W().File_Exit();
    EXPECT_EQ(r.ReadIni().find("[WinPos]"), std::string::npos) << "nothing saved while the seek has the card";
    r.DrainEvents();
    EXPECT_FALSE(r.Set().Busy());
    EXPECT_NE(r.ReadIni().find("[WinPos]"), std::string::npos) << "closed and saved once the seek stopped";
}

TEST(MainTuning, TheFrequencySliderTunesQuietlyWhileDraggedAndTheBandButtonsSwitch) {
    WindowRig r("[Configuration]\nHardware=6\nPort=2\n[Frequency]\nFrequency=M 098.700\n"
                "[Presets]\nList=5,\nStation05=M 100.300 News\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    auto* slider = qobject_cast<QSlider*>(w.Control("sFrequency"));
    slider->setSliderDown(true); // the user holds the thumb
    slider->setValue(100300);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 100.3);
    EXPECT_EQ(r.Set().CurrentFavorite(), 5) << "the favorite is found by MatchCurrentFavorite even while dragging";
    slider->setSliderDown(false);

    w.btAMClick();
    EXPECT_EQ(r.Card().Band(), bAM);
    EXPECT_FALSE(w.Control("btScanNext")->isVisible());
    EXPECT_EQ(slider->minimum(), 531);
    EXPECT_EQ(slider->maximum(), 1620);
    r.Set().GoToFrequency(bAM, false, 1.62);
    EXPECT_EQ(w.ReadoutText(), "  1.620");
    EXPECT_EQ(w.windowTitle(), "Tunevox - 1620 kHz");
    // The step items keep following the step on AM.
    EXPECT_TRUE(w.MenuItem(iActions_StepDec)->isEnabled());
    w.btFMClick();
    EXPECT_EQ(r.Card().Band(), bFM);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 100.3) << "FM comes back where it was";
}

TEST(MainScreens, TheCompleteWindowShowsTheStationItPlays) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=180\n"
                "[Frequency]\nFrequency=M 098.700\n"
                "[Presets]\nList=1,2,5,\nStation01=M 088.100 Classic 88\nStation02=M 098.700 Radio One\n"
                "Station05=M 107.200 Night Owl\n");
    ASSERT_TRUE(r.Start());
    r.W().show();
    EXPECT_EQ(r.W().centralWidget()->size(), QSize(615, 121));
    EXPECT_EQ(r.W().StationText(), "Radio One");
    EXPECT_EQ(r.W().StationNumText(), "2");
    r.Screenshot("main_complete");
}

} // namespace
} // namespace tunevox::app::test
