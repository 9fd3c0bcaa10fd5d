// The scanner's work without its window, on emulated cards whose waits
// return at once: the sweep as steps of the event loop over the whole band
// and what it lists, a sweep stopped or met by a card that went away, fine
// tuning between the neighbours and the band's edges, and the drops onto
// the working bank.

#include "radioset/radio_set_fixture.h"
#include "scanner/scan_session.h"

#include "emulator/serial_radio_emulator.h"
#include "emulator/station_list.h"
#include "radio/frequency.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tunevox::scanner {
namespace {

using radioset::test::RadioSetRig;

// An AimsLab card (25 kHz steps): 841 steps from 87.0 to 108.0; the
// emulated receiver hears a station within 75 kHz, its stereo within 30.
constexpr char kAimsLab[] = "[Configuration]\nHardware=1\nPort=1\n"
                            "[Presets]\nCurrent=2\nList=2,\nStation02=M 098.700 One\n";

int RowOf(const TScanSession& s, const std::string& text) { return s.RowWithText(text); }

TEST(ScanSession, SweepsTheBandOneStepPerEventAndListsEveryStationItHears) {
    RadioSetRig r(kAimsLab);
    r.Start();
    TScanSession s(r.Set());
    std::vector<int> rowsTold;
    std::vector<bool> ends;
    s.onPoint = [&](const tScanPoint&, int row) { rowsTold.push_back(row); };
    s.onEnd = [&](bool stopped) { ends.push_back(stopped); };

    ASSERT_TRUE(s.StartScan());
    EXPECT_TRUE(s.Points().empty()) << "nothing is measured inside the click";
    EXPECT_TRUE(r.Set().Busy()) << "the radio set's own tuning is refused meanwhile";
    EXPECT_FALSE(s.StartScan());
    ASSERT_TRUE(r.RunOne());
    ASSERT_EQ(s.Points().size(), 1u);
    EXPECT_DOUBLE_EQ(s.Points()[0].frequency, 87.0);
    EXPECT_DOUBLE_EQ(s.NextFrequency(), 87.025);

    r.Drain();
    ASSERT_EQ(s.Points().size(), 841u);
    EXPECT_EQ(rowsTold.size(), 841u) << "every point is told as soon as it is measured";
    EXPECT_EQ(ends, std::vector<bool>{false});
    EXPECT_FALSE(s.Scanning());
    EXPECT_FALSE(r.Set().Busy());
    EXPECT_DOUBLE_EQ(s.Done(), 1.0);
    // The frequencies are the card's grid from the low edge, up to the
    // high edge itself: a sweep of 841 additions would drift off it.
    for (size_t k = 0; k < s.Points().size(); ++k)
        ASSERT_EQ(radio::FrequencyText(s.Points()[k].frequency), radio::FrequencyText(87.0 + 0.025 * k)) << k;
    EXPECT_DOUBLE_EQ(s.Points().back().frequency, 108.0);

    // Every FM station of the emulated receivers is in the list at its own
    // frequency, "S" where it sends stereo, "M" where not; the favorite's
    // name describes the station it holds.
    for (const emulator::Station& st : r.rig->Stations().Stations()) {
        if (st.band != emulator::Band::FM) continue;
        const int row = RowOf(s, radio::FrequencyText(st.frequencyMHz));
        ASSERT_GE(row, 0) << st.name;
        EXPECT_EQ(s.Rows()[row].status, st.stereo ? "S" : "M") << st.name;
        EXPECT_EQ(s.Rows()[row].description, st.frequencyMHz == 98.7 ? "One" : "") << st.name;
    }
    // A row for each received step (a station is heard on its neighbours
    // too), in rising order, and only those.
    const auto received = std::count_if(s.Points().begin(), s.Points().end(), [](auto& p) { return p.Received(); });
    EXPECT_EQ(static_cast<size_t>(received), s.Rows().size());
    EXPECT_TRUE(std::is_sorted(s.Rows().begin(), s.Rows().end(),
                               [](auto& a, auto& b) { return a.freqText < b.freqText; }));
    EXPECT_EQ(s.Rows()[RowOf(s, "098.650")].status, "M") << "stereo only close to the station";
}

TEST(ScanSession, AStoppedSweepKeepsWhatItFoundAndACardThatWentAwayReadsNothing) {
    RadioSetRig r(kAimsLab);
    r.Start();
    TScanSession s(r.Set());
    std::vector<bool> ends;
    s.onEnd = [&](bool stopped) { ends.push_back(stopped); };

    // Stopped at 93.5 MHz: the five stations below are kept, bars and rows.
    ASSERT_TRUE(s.StartScan());
    while (s.NextFrequency() <= 93.5 && r.RunOne()) {}
    s.StopScan();
    r.Drain();
    EXPECT_EQ(ends, std::vector<bool>{true});
    EXPECT_EQ(s.Points().size(), 261u);
    EXPECT_EQ(s.Rows().size(), 35u);
    EXPECT_EQ(s.Rows().back().freqText, "093.275");
    EXPECT_FALSE(r.Set().Busy());

    // The next sweep starts afresh; halfway the card leaves the bus and
    // answers nothing from then on: the sweep goes on to the high edge,
    // finds nothing more and ends as usual.
    ASSERT_TRUE(s.StartScan());
    EXPECT_TRUE(s.Rows().empty());
    while (s.NextFrequency() < 98.0 && r.RunOne()) {}
    r.rig->PrepareFor(radio::mRadioTrack, 0);
    r.Drain();
    EXPECT_EQ(ends.back(), false);
    EXPECT_EQ(s.Points().size(), 841u);
    EXPECT_EQ(s.Rows().back().freqText, "096.175") << "nothing after the card went";
}

TEST(ScanSession, ASerialRadioUnpluggedMidSweepEndsItWithoutHanging) {
    RadioSetRig r("[Configuration]\nHardware=3\nPort=1\n");
    r.Start();
    TScanSession s(r.Set());
    bool ended = false;
    s.onEnd = [&](bool stopped) { ended = !stopped; };
    ASSERT_TRUE(s.StartScan());
    ASSERT_TRUE(r.RunOne());
    ASSERT_NE(r.rig->EmulatedSerialRadio(1), nullptr);
    r.rig->EmulatedSerialRadio(1)->Stop();
    // Each of the 420 steps left meets the hung-up line at once rather
    // than waiting out the reply timeout, and reads "no station".
    r.Drain();
    EXPECT_TRUE(ended);
    EXPECT_EQ(s.Points().size(), 421u);
    EXPECT_TRUE(s.Rows().empty());
}

TEST(ScanSession, FineTuningStaysBetweenTheNeighboursAndInsideTheBand) {
    rig::tRigOptions o = RadioSetRig::Emulated();
    o.stations = emulator::StationList({{emulator::Band::FM, 87.0, true, "Low"},
                                        {emulator::Band::FM, 98.7, false, "Mid"},
                                        {emulator::Band::FM, 108.0, true, "High"}});
    // An Aztech card: the same step, and a stereo switch.
    RadioSetRig r("[Configuration]\nHardware=8\nPort=1\n", o);
    r.Start();
    TScanSession s(r.Set());
    ASSERT_TRUE(s.StartScan());
    EXPECT_FALSE(s.TuneUp(0)) << "not while sweeping";
    r.Drain();
    // 087.000..087.075, 098.625..098.775, 107.925..108.000
    ASSERT_EQ(s.Rows().size(), 15u);
    const int last = 14;

    EXPECT_FALSE(s.CanTuneDown(0)) << "the first row is on the low edge";
    EXPECT_FALSE(s.TuneDown(0));
    EXPECT_FALSE(s.CanTuneUp(last)) << "the last row is on the high edge";
    EXPECT_FALSE(s.TuneUp(last - 1)) << "onto its neighbour";
    EXPECT_EQ(s.Rows()[last - 1].freqText, "107.975");

    // The first row of the middle group walks down in 100 kHz steps until
    // one more would come within a step of the row below it.
    s.SetStepMultiple(4);
    EXPECT_DOUBLE_EQ(s.FineStep(), 0.1);
    EXPECT_FALSE(s.CanTuneUp(0)) << "one fine step from its neighbour";
    int presses = 0;
    while (s.CanTuneDown(4)) {
        ASSERT_TRUE(s.TuneDown(4));
        ++presses;
    }
    EXPECT_EQ(presses, 115);
    EXPECT_EQ(s.Rows()[4].freqText, "087.125");
    EXPECT_FALSE(s.TuneDown(4));
    EXPECT_NEAR(r.rig->EmulatedReceiver()->frequencyMHz, 87.125, 1e-6) << "the card follows the row";
    EXPECT_FALSE(r.rig->EmulatedReceiver()->stereoRequested) << "fine tuning listens in mono";
    EXPECT_DOUBLE_EQ(s.Points()[4].frequency, 87.1) << "the spectrum keeps what was measured";

    s.Listen(7);
    EXPECT_NEAR(r.rig->EmulatedReceiver()->frequencyMHz, 98.7, 1e-6);
    EXPECT_TRUE(r.rig->EmulatedReceiver()->stereoRequested);

    // The step stays a whole multiple of the card's, within the slider.
    s.SetStepMultiple(1000);
    EXPECT_EQ(s.StepMultiple(), s.MaxStepMultiple());
    s.StepLarger();
    EXPECT_EQ(s.StepMultiple(), s.MaxStepMultiple());
    s.SetStepMultiple(1);
    s.StepSmaller();
    EXPECT_DOUBLE_EQ(s.FineStep(), 0.025);
}

TEST(ScanSession, AStationNoFavoriteHoldsIsStoredOnAnyButtonAndNamedWhenItHasNoName) {
    RadioSetRig r(kAimsLab);
    r.Start();
    TScanSession s(r.Set());
    ASSERT_TRUE(s.StartScan());
    r.Drain();
    const int one = RowOf(s, "098.700"), dance = RowOf(s, "101.900");
    ASSERT_GE(one, 0);
    ASSERT_GE(dance, 0);

    // Held by favorite 2: refused everywhere, its own button too.
    EXPECT_FALSE(s.CanDrop(one));
    EXPECT_FALSE(s.Drop(one, 2));
    EXPECT_FALSE(s.Drop(one, 50));

    ASSERT_TRUE(s.Drop(dance, 100));
    const radioset::tFavorite& f = s.Bank()[100];
    EXPECT_TRUE(f.Used && f.Active);
    EXPECT_EQ(f.Name, "????");
    EXPECT_DOUBLE_EQ(f.Frequency, 101.9);
    EXPECT_EQ(f.Band, radio::bFM);
    EXPECT_EQ(s.Current(), 100);
    EXPECT_FALSE(s.Bank()[2].Active) << "the former current favorite loses its mark";
    EXPECT_FALSE(s.CanDrop(dance)) << "now held by 100";
    EXPECT_FALSE(r.Set().Favorites()[100].Used) << "the radio set's bank waits for OK";

    s.Clear(100);
    EXPECT_FALSE(s.Bank()[100].Used);
    EXPECT_EQ(s.Current(), 0);
    EXPECT_TRUE(s.CanDrop(dance));
    EXPECT_FALSE(s.Drop(dance, 0));
    EXPECT_FALSE(s.Drop(dance, 101));
}

} // namespace
} // namespace tunevox::scanner

namespace tunevox::scanner {
namespace {

// A Linux radio device measures its signal: the sweep lists a station once
// the signal passes the threshold, and tells stereo from mono.
TEST(ScanSession, ARadioDeviceIsSweptByItsSignalFromItsOwnBandEdge) {
    radioset::test::RadioSetRig r("[Configuration]\nHardware=9\nVolumeLine=1\nCheckIfTunedST=1\n");
    r.Start();
    ASSERT_TRUE(r.Card().Active());
    TScanSession s(r.Set());
    ASSERT_TRUE(s.StartScan());
    r.Drain();
    ASSERT_FALSE(s.Points().empty());
    EXPECT_DOUBLE_EQ(s.Points().front().frequency, 87.5) << "the device's band starts there";
    EXPECT_NE(RowOf(s, "098.700"), -1);
    EXPECT_NE(RowOf(s, "107.200"), -1);
    const int talk = RowOf(s, "093.200");
    ASSERT_NE(talk, -1);
    EXPECT_EQ(s.Rows()[talk].status, "M") << "a mono station";
    EXPECT_EQ(s.Rows()[RowOf(s, "098.700")].status, "S");
}

} // namespace
} // namespace tunevox::scanner
