// Tuning from the window: the one tuning entry, band edges, the band
// switch and the seek loop with its stop.

#include "app/window/window_fixture.h"

#include "radio/radio_card.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QSlider>

namespace tunevox::app::test {
namespace {

using radio::bAM;
using radio::bFM;

const char* kRadioTrack = "[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=M 087.000\n";

TEST(MainTuning, BandEdgesStopTuningAndDisableTheirControls) {
    WindowRig r(kRadioTrack);
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 87.0);
    w.Actions_TunePrev();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 87.0);
    EXPECT_FALSE(w.Control("btTunePrev")->isEnabled());
    EXPECT_FALSE(w.Action("msActions_TunePrev")->isEnabled());
    EXPECT_FALSE(w.Action("tsmActions_ScanPrev")->isEnabled());
    EXPECT_TRUE(w.Control("btTuneNext")->isEnabled());
    // Far outside the band: clamped to the edge, never an error.
    EXPECT_EQ(w.GoToFrequency(bFM, false, 250.0), 0);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 108.0);
    EXPECT_FALSE(w.Control("btTuneNext")->isEnabled());
    EXPECT_EQ(w.windowTitle(), "Tunevox - 108. MHz");
    // Off the card's grid: snapped (25 kHz).
    w.GoToFrequency(bFM, false, 98.71);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    EXPECT_EQ(w.StatusText(), "Stereo");
    // A band the card cannot receive changes nothing.
    EXPECT_EQ(w.GoToFrequency(bAM, false, -1), 0);
    EXPECT_EQ(r.Card().Band(), bFM);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
}

TEST(MainTuning, SeekStopsOnAStationAtTheEdgeOrWhenStopped) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=M 098.000\nTuneStep=4\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    // Up from 98.0 in 100 kHz steps: the next station is 98.7 (stereo).
    bool stopShown = false;
    w.OnSeekStep = [&] { stopShown = w.Control("btStopScan")->isVisible() || w.Scanning(); };
    w.Actions_ScanNext();
    EXPECT_TRUE(stopShown);
    EXPECT_FALSE(w.Scanning());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    EXPECT_EQ(w.StatusText(), "Stereo");
    EXPECT_FALSE(w.Action("msActions_StopScan")->isEnabled());
    EXPECT_TRUE(w.Action("msActions_ScanNext")->isEnabled());

    // Stopped after three steps: the seek ends there, showing the last status.
    int steps = 0;
    w.OnSeekStep = [&] {
        // Commands that would tune are refused while the seek runs.
        w.Actions_TuneNext();
        w.btRadioClick(1);
        if (++steps == 3) w.Actions_StopScan();
    };
    w.Actions_ScanNext();
    EXPECT_NEAR(r.Card().Frequency(), 98.9, 1e-9);
    EXPECT_EQ(w.StatusText(), "?????");
    EXPECT_EQ(w.StatusColor(), QColor(128, 0, 128).name()) << "dim colour of the default text scheme";

    // From 107.9 up with no station left: stops at the edge, whatever the status.
    w.OnSeekStep = nullptr;
    w.GoToFrequency(bFM, false, 107.9);
    w.Actions_ScanNext();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 108.0);
    EXPECT_FALSE(w.Control("btScanNext")->isEnabled());
    EXPECT_FALSE(w.Action("tsmActions_ScanNext")->isEnabled());
    EXPECT_TRUE(w.Control("btScanPrev")->isEnabled());
    // At the edge a seek towards it only refreshes the limits.
    w.Actions_ScanNext();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 108.0);
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
    EXPECT_EQ(w.CurrentFavorite(), 5) << "the favorite is found by MatchCurrentFavorite even while dragging";
    slider->setSliderDown(false);

    w.btAMClick();
    EXPECT_EQ(r.Card().Band(), bAM);
    EXPECT_FALSE(w.Control("btScanNext")->isVisible());
    EXPECT_EQ(slider->minimum(), 531);
    EXPECT_EQ(slider->maximum(), 1620);
    w.GoToFrequency(bAM, false, 1.62);
    EXPECT_EQ(w.ReadoutText(), "  1.620");
    EXPECT_EQ(w.windowTitle(), "Tunevox - 1620 kHz");
    w.btFMClick();
    EXPECT_EQ(r.Card().Band(), bFM);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 100.3) << "FM comes back where it was";
}

} // namespace
} // namespace tunevox::app::test

namespace tunevox::app::test {
namespace {

TEST(MainScreens, CompleteWindowScreenshot) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=180\n"
                "[Frequency]\nFrequency=M 098.700\n"
                "[Presets]\nList=1,2,5,\nStation01=M 088.100 Classic 88\nStation02=M 098.700 Radio One\n"
                "Station05=M 107.200 Night Owl\n");
    ASSERT_TRUE(r.Start());
    r.W().show();
    r.Screenshot("main_complete");
    EXPECT_EQ(r.W().centralWidget()->size(), QSize(615, 121));
}

} // namespace
} // namespace tunevox::app::test
