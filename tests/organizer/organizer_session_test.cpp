// The organizer's work without its window, on an emulated Aztech card
// whose waits return at once: what selecting a station or a folder does to
// the radio, tuning a station in and out of the card's range, the seek, and
// favorites stored from the archive straight into the radio set's bank.

#include "organizer/organizer_session.h"

#include "radio/frequency.h"
#include "radioset/radio_set_fixture.h"

#include <gtest/gtest.h>

namespace tunevox::organizer {
namespace {

using archive::tArchiveNode;
using radio::bAM;
using radio::bFM;
using radioset::test::RadioSetRig;

// Aztech: FM 87.0..108.0 in 25 kHz steps, stereo detection, no AM.
constexpr char kIni[] = "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n[Audio]\nVolume=168\n"
                        "[Presets]\nCurrent=2\nList=2,\nStation02=M 098.700 One\n";
constexpr char kDb[] = "[Archive]\nRows=4\n"
                       "Row1=1 1 0 X 000.000 Jazz\n"
                       "Row2=2 2 1 M 090.500 Jazz FM\n"
                       "Row3=2 3 0 M 080.000 Far away\n"
                       "Row4=2 4 0 M 087.000 Bottom\n";

struct OrganizerRig {
    explicit OrganizerRig(const char* ini = kIni) : r(ini) {
        tunevox::test::WriteTextFile(r.dir.File("Tunevox.db"), kDb);
        r.Start();
        session = std::make_unique<TOrganizerSession>(r.Set());
        EXPECT_EQ(session->Load().status, archive::TArchive::eLoad::Loaded);
    }
    // The root's child named `name` (stations come first after loading).
    tArchiveNode* Top(const std::string& name) {
        tArchiveNode& root = session->Archive().Root();
        for (size_t i = 0; i < root.ChildCount(); ++i)
            if (root.Child(i)->Name() == name) return root.Child(i);
        return nullptr;
    }
    double Heard() const { return r.rig->EmulatedReceiver()->frequencyMHz; }
    bool Silent() const { return !r.rig->EmulatedReceiver()->audioOn; }

    RadioSetRig r;
    std::unique_ptr<TOrganizerSession> session;
};

TEST(OrganizerSession, AStationPlaysAFolderSilencesAndTuningEditsTheStation) {
    OrganizerRig o;
    TOrganizerSession& s = *o.session;
    EXPECT_FALSE(s.Select(&s.Archive().Root()));
    EXPECT_TRUE(o.Silent()) << "nothing to hear on a folder";

    tArchiveNode* jazz = o.Top("Jazz")->Child(0);
    const auto t = s.Select(jazz);
    ASSERT_TRUE(t);
    EXPECT_FALSE(o.Silent());
    EXPECT_NEAR(o.Heard(), 90.5, 1e-6);
    EXPECT_EQ(t->tunedStatus, 2) << "a stereo station";
    EXPECT_FALSE(t->outOfRange);

    // 80 MHz is not on this card: shown as it is, the card plays 87.0.
    const auto far = s.Select(o.Top("Far away"));
    ASSERT_TRUE(far);
    EXPECT_TRUE(far->outOfRange);
    EXPECT_DOUBLE_EQ(far->frequency, 80.0);
    EXPECT_EQ(far->tunedStatus, 0);
    EXPECT_NEAR(o.Heard(), 87.0, 1e-6);

    // The slider puts the station on the grid counted from 76 MHz; held,
    // nothing is asked of the card's status.
    const tTuning moved = s.Tune(bFM, 101.93, false);
    EXPECT_EQ(radio::FrequencyText(moved.frequency), "101.925");
    EXPECT_EQ(moved.tunedStatus, -1);
    EXPECT_EQ(radio::FrequencyText(o.Top("Far away")->Station()->frequency), "101.925");
    EXPECT_NEAR(o.Heard(), 101.925, 1e-6);
    // The fine buttons step from where it is.
    s.SetStepMultiple(4);
    ASSERT_TRUE(s.Fine(-1));
    EXPECT_EQ(radio::FrequencyText(o.Top("Far away")->Station()->frequency), "101.825");

    // A card without AM: an AM station is out of range and the card is
    // left where it is.
    const tTuning am = s.Tune(bAM, 0.999, true);
    EXPECT_TRUE(am.outOfRange);
    EXPECT_EQ(radio::FrequencyText(am.frequency), "000.999");
    EXPECT_NEAR(o.Heard(), 101.825, 1e-6);
    EXPECT_DOUBLE_EQ(s.NewStationFrequency(), 0.531) << "a new station starts on the tuner's band";
    s.Tune(bFM, -1, true); // the "fm" button: where the card is
    EXPECT_EQ(radio::FrequencyText(o.Top("Far away")->Station()->frequency), "101.825");

    EXPECT_FALSE(s.Select(o.Top("Jazz")));
    EXPECT_TRUE(o.Silent());
    EXPECT_EQ(s.AddTarget(), o.Top("Jazz")) << "new nodes go under the selected folder";
    EXPECT_DOUBLE_EQ(s.NewStationFrequency(), 87.0);
    s.Select(jazz);
    EXPECT_EQ(s.AddTarget(), nullptr) << "a station holds no nodes";
}

TEST(OrganizerSession, TheSeekStopsOnAStationAndNeverLeavesTheBand) {
    OrganizerRig o;
    TOrganizerSession& s = *o.session;
    ASSERT_TRUE(s.Select(o.Top("Bottom")));
    EXPECT_FALSE(s.StartSeek(-1)) << "already at the low edge";

    std::vector<double> steps;
    std::optional<tTuning> end;
    s.onSeekStep = [&](const tTuning& t) { steps.push_back(t.frequency); };
    s.onSeekEnd = [&](const tTuning& t) { end = t; };
    ASSERT_TRUE(s.StartSeek(+1));
    EXPECT_TRUE(o.r.Set().Busy());
    EXPECT_FALSE(s.Select(o.Top("Jazz"))) << "the selection waits for the seek";
    o.r.Drain();
    ASSERT_TRUE(end);
    EXPECT_FALSE(s.Seeking());
    // Classic 88 is heard from 88.025 on.
    EXPECT_EQ(radio::FrequencyText(end->frequency), "088.025");
    EXPECT_EQ(steps.size(), 41u);
    EXPECT_GT(end->tunedStatus, 0);
    EXPECT_EQ(radio::FrequencyText(o.Top("Bottom")->Station()->frequency), "088.025") << "the seek retunes it";

    // Stopped before its first step, nothing moves.
    ASSERT_TRUE(s.StartSeek(+1));
    s.StopSeek();
    o.r.Drain();
    EXPECT_EQ(radio::FrequencyText(o.Top("Bottom")->Station()->frequency), "088.025");
}

TEST(OrganizerSession, FavoritesAreTheRadioSetsAtOnce) {
    OrganizerRig o;
    TOrganizerSession& s = *o.session;
    s.Select(o.Top("Jazz")->Child(0));
    ASSERT_TRUE(s.StoreSelected(7));
    const radioset::tFavorite& f = o.r.Set().Favorites()[7];
    EXPECT_TRUE(f.Used && f.Active);
    EXPECT_EQ(f.Name, "Jazz FM");
    EXPECT_EQ(o.r.Set().CurrentFavorite(), 7);
    EXPECT_FALSE(o.r.Set().Favorites()[2].Active);
    EXPECT_FALSE(s.CanStoreSelected()) << "held by 7 now";
    EXPECT_FALSE(s.StoreSelected(8));

    s.Select(o.Top("Jazz"));
    EXPECT_FALSE(s.StoreSelected(8)) << "a folder is no station";

    s.ClearFavorite(7);
    EXPECT_FALSE(o.r.Set().Favorites()[7].Used);
    EXPECT_EQ(o.r.Set().CurrentFavorite(), 0);
    s.ClearAllFavorites();
    EXPECT_FALSE(o.r.Set().Favorites()[2].Used);
}

} // namespace
} // namespace tunevox::organizer
