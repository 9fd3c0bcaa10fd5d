// The presets editor's rules without its window, on a radio set over an
// emulated Aztech card (FM 87.0..108.0 in 25 kHz steps, no AM): editing a
// slot with the tuner's rules, the slot operations and the current
// favorite, the preview and the question on closing.

#include "presets/presets_editor.h"

#include "radio/frequency.h"
#include "radioset/bank_edits.h"
#include "radioset/radio_set_fixture.h"

#include <gtest/gtest.h>

namespace tunevox::presets {
namespace {

using radio::bAM;
using radio::bFM;
using radio::FrequencyText;
using radioset::FormatPresets;
using radioset::test::RadioSetRig;

// Favorites 1, 2 (current) and 5; a fine step of 4 x 25 kHz; stereo off.
constexpr char kIni[] = "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\nForceStereoOff=1\n"
                        "[Audio]\nVolume=168\n[Frequency]\nTuneStep=4\n"
                        "[Presets]\nCurrent=2\nList=1,2,5,\n"
                        "Station01=M 088.100 Classic\nStation02=M 098.700 Radio One\nStation05=M 101.900 Dance\n";

struct EditorRig {
    EditorRig() : r(kIni) {
        r.Start();
        editor = std::make_unique<TPresetsEditor>(r.Set());
    }
    double Heard() const { return r.rig->EmulatedReceiver()->frequencyMHz; }

    RadioSetRig r;
    std::unique_ptr<TPresetsEditor> editor;
};

TEST(PresetsEditor, NamesAndFrequenciesFollowTheTunersRules) {
    EditorRig e;
    TPresetsEditor& ed = *e.editor;
    EXPECT_EQ(ed.UsedCount(), 3);
    EXPECT_EQ(ed.StepKHz(), 100);

    // An empty slot shows 76.0 MHz, which this card cannot play, and stays
    // empty; a band button does not make it a station either.
    ed.Select(3);
    EXPECT_EQ(FrequencyText(ed.Tuner().frequency), "076.000");
    EXPECT_TRUE(ed.Tuner().outOfRange);
    EXPECT_FALSE(ed.Enabling().clear);
    ed.SetFrequency(bAM, -1);
    EXPECT_FALSE(ed.Slot(3).Used);
    EXPECT_EQ(ed.Tuner().band, bAM);
    EXPECT_EQ(FrequencyText(ed.Tuner().frequency), "000.531");

    // A name typed into it makes it FM 87.0 MHz.
    ed.SetName("Late Night");
    EXPECT_TRUE(ed.Slot(3).Used);
    EXPECT_EQ(ed.Slot(3).Band, bFM);
    EXPECT_EQ(FrequencyText(ed.Slot(3).Frequency), "087.000");
    EXPECT_EQ(ed.UsedCount(), 4);
    EXPECT_FALSE(ed.Tuner().outOfRange);
    // Names are kept as typed, cut at 40 characters (not bytes).
    std::string accents;
    for (int i = 0; i < 45; ++i) accents += "\xC3\xA9";
    ed.SetName(accents);
    EXPECT_EQ(ed.Slot(3).Name, accents.substr(0, 80));

    // FM lands on the card's grid counted from 76.0;
    // outside the card's 87..108 it is kept but out of range.
    ed.SetFrequency(bFM, 101.93);
    EXPECT_EQ(FrequencyText(ed.Slot(3).Frequency), "101.925");
    ed.SetFrequency(bFM, 80.0);
    EXPECT_EQ(FrequencyText(ed.Slot(3).Frequency), "080.000");
    EXPECT_TRUE(ed.Tuner().outOfRange);
    // The fine buttons step from the slider by the fine step.
    ed.SetFrequency(bFM, 100.0);
    ed.Fine(+1);
    EXPECT_EQ(FrequencyText(ed.Slot(3).Frequency), "100.100");
    ed.SetStepMultiple(2);
    ed.Fine(-1);
    EXPECT_EQ(FrequencyText(ed.Slot(3).Frequency), "100.050");
    EXPECT_EQ(ed.StepKHz(), 50);
    // AM in 9 kHz steps, out of range on a card without it, not playable.
    ed.SetFrequency(bAM, 1.0);
    EXPECT_EQ(FrequencyText(ed.Slot(3).Frequency), "000.999");
    EXPECT_TRUE(ed.Tuner().outOfRange);
    EXPECT_FALSE(ed.Enabling().listen);

    EXPECT_FALSE(e.r.Set().Favorites()[3].Used) << "the radio set's bank is not the one edited";
}

TEST(PresetsEditor, SlotOperationsCarryTheCurrentFavoriteAndStopAtTheEnds) {
    RadioSetRig r(kIni);
    r.Start();
    // A bank with stray blanks and an empty slot's leftovers: tidied for
    // good at the start.
    radioset::tFavorites bank = r.Set().Favorites();
    bank[2].Name = "  Radio One ";
    bank[7].Frequency = 91.0;
    bank[7].Name = "gone";
    r.Set().SetBankFromWindow(bank, 2);
    TPresetsEditor ed(r.Set());
    EXPECT_EQ(r.Set().Favorites()[2].Name, "Radio One");
    EXPECT_EQ(r.Set().Favorites()[7].Name, "");
    const std::string main = FormatPresets(r.Set().Favorites());

    // Undo gives back the radio set's slot, Reload the whole bank and mark.
    ed.Select(1);
    ed.Clear();
    ed.Select(2);
    ed.Delete();
    EXPECT_EQ(ed.Current(), 0);
    ed.Select(1);
    ed.Undo();
    EXPECT_EQ(ed.Slot(1).Name, "Classic");
    ed.Reload();
    EXPECT_EQ(FormatPresets(ed.Bank()), main);
    EXPECT_EQ(ed.Current(), 2);

    // Insert pushes the selected slot down with the selection.
    ed.Select(2);
    ed.Insert();
    EXPECT_EQ(ed.Selected(), 3);
    EXPECT_EQ(ed.Current(), 3);
    ed.MoveUp();
    EXPECT_EQ(ed.Selected(), 2);
    EXPECT_EQ(ed.Current(), 2);
    EXPECT_EQ(ed.Slot(2).Name, "Radio One");
    ed.Select(1);
    ed.MoveDown();
    EXPECT_EQ(ed.Current(), 1);
    for (int n = 1; n <= radioset::kFavoriteCount; ++n)
        EXPECT_EQ(ed.Slot(n).Active, n == 1) << "only the current favorite carries the mark";
    ed.Select(1);
    EXPECT_FALSE(ed.Enabling().moveUp);
    ed.Select(100);
    EXPECT_FALSE(ed.Enabling().moveDown);
    EXPECT_FALSE(ed.Enabling().insert) << "nothing goes below the last row";
    ed.ClearAll();
    EXPECT_EQ(ed.UsedCount(), 0);
    EXPECT_EQ(ed.Current(), 0);
    EXPECT_FALSE(ed.Enabling().remove);
    EXPECT_EQ(FormatPresets(r.Set().Favorites()), main) << "the radio set's bank is untouched";
    EXPECT_EQ(r.Set().CurrentFavorite(), 2);
}

TEST(PresetsEditor, APreviewPlaysTheSlotAndTheCardGoesBackAsItWas) {
    EditorRig e;
    // The card elsewhere than any favorite, stereo off by the settings.
    e.r.Card().TuneTo(false, bFM, 90.5);
    e.editor = std::make_unique<TPresetsEditor>(e.r.Set());
    TPresetsEditor& ed = *e.editor;
    int endedByTimer = 0;
    ed.onPreviewEnded = [&] { ++endedByTimer; };
    auto cardIsBack = [&] {
        EXPECT_EQ(FrequencyText(e.Heard()), "090.500");
        EXPECT_EQ(e.r.Card().Band(), bFM);
        EXPECT_FALSE(e.r.rig->EmulatedReceiver()->stereoRequested);
        EXPECT_FALSE(ed.Previewing());
    };

    ed.Select(5);
    EXPECT_EQ(ed.StartPreview(), tPreviewStart::Station) << "Dance 102 is on the air";
    EXPECT_EQ(FrequencyText(e.Heard()), "101.900");
    EXPECT_FALSE(e.r.rig->EmulatedReceiver()->stereoRequested) << "with the stereo setting of the radio";
    radioset::test::ManualTimer& timer = e.r.timers["Preview"];
    EXPECT_TRUE(timer.Active());
    EXPECT_EQ(timer.Interval(), 5000);
    timer.Fire();
    EXPECT_EQ(endedByTimer, 1);
    cardIsBack();

    // Another row ends it too, and so does the editor going away.
    EXPECT_EQ(ed.StartPreview(), tPreviewStart::Station);
    ed.Select(1);
    EXPECT_FALSE(timer.Active());
    cardIsBack();
    ed.Select(4);
    ed.SetFrequency(bFM, 104.0);
    EXPECT_EQ(ed.StartPreview(), tPreviewStart::NoStation);
    EXPECT_EQ(FrequencyText(e.Heard()), "104.000");

    // A station this card cannot tune is refused and nothing is tuned.
    ed.Select(6);
    ed.SetFrequency(bFM, 80.0);
    EXPECT_EQ(ed.StartPreview(), tPreviewStart::Refused);
    EXPECT_FALSE(timer.Active());
    cardIsBack();

    ed.Select(2);
    ASSERT_EQ(ed.StartPreview(), tPreviewStart::Station);
    e.editor.reset();
    EXPECT_EQ(FrequencyText(e.Heard()), "090.500");
    EXPECT_EQ(endedByTimer, 1);
}

TEST(PresetsEditor, OnlyWhatTheUserSeesCountsAsAChange) {
    EditorRig e;
    TPresetsEditor& ed = *e.editor;
    EXPECT_FALSE(ed.ChangedOnClose());
    ed.Select(2);
    ed.SetName("  RADIO one ");
    EXPECT_FALSE(ed.ChangedOnClose()) << "case and blanks around a name";
    ed.Select(3);
    ed.SetFrequency(bAM, -1);
    EXPECT_FALSE(ed.ChangedOnClose()) << "an empty slot stays empty";
    EXPECT_EQ(ed.Slot(2).Name, "RADIO one") << "tidied as it was compared";

    ed.Select(2);
    ed.SetName("Radio Two");
    EXPECT_TRUE(ed.ChangedOnClose());
    ed.Undo();
    EXPECT_FALSE(ed.ChangedOnClose());
    ed.SetFrequency(bFM, 98.725);
    EXPECT_TRUE(ed.ChangedOnClose());
    ed.Reload();
    ed.MoveDown();
    EXPECT_TRUE(ed.ChangedOnClose());
}

} // namespace
} // namespace tunevox::presets
