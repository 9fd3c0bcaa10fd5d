// The script editor's rules without its window: where a new or moved
// action may go, the range a selected action keeps to, the previews and
// how the card comes back, and the file and change rules.

#include "scripteditor/script_editor.h"

#include "radio/radio_card.h"
#include "radioset/radio_set_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tunevox::scripteditor {
namespace {

using radioset::test::RadioSetRig;
using script::MakeMinute;

// Aztech on FM 90.5, favorite 3 on 98.7.
constexpr char kIni[] = "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n[Audio]\nVolume=168\n"
                        "[Frequency]\nFrequency=M 090.500\n[Presets]\nList=3,\nStation03=M 098.700 One\n";

// A radio set whose internal script holds `lines`, programming mode off.
struct EditorRig {
    explicit EditorRig(const std::string& lines = "") : r(kIni) {
        r.Start();
        if (!lines.empty()) {
            script::tScript s;
            EXPECT_EQ(script::ParseScript(";Morning\r\n" + lines, s), script::srOk);
            r.Set().TakeScript(std::move(s));
            r.Set().SetProgramming(false);
        }
    }
    std::vector<std::string> Keys(const TScriptEditor& e) const {
        std::vector<std::string> keys;
        for (const auto& a : e.Actions()) keys.push_back(std::string(script::ActionName(a->kind)) + " " + a->Key());
        return keys;
    }
    double Heard() const { return r.rig->EmulatedReceiver()->frequencyMHz; }
    RadioSetRig r;
};

TEST(ScriptEditor, NewAndMovedActionsTakeTheFreeMinuteAndRefuseWhereThereIsNone) {
    EditorRig t("Beep.0700.1.5000.300\r\nVolume.0702.10\r\n");
    TScriptEditor e(t.r.Set());
    EXPECT_EQ(e.PaletteKinds().front(), script::akPreset) << "a favorite is used";

    EXPECT_TRUE(e.InsertAt(script::akBeep, 1));
    EXPECT_EQ(e.Selected(), 1);
    EXPECT_FALSE(e.InsertAt(script::akBeep, 2)) << "07:01 and 07:02: no minute between";
    EXPECT_TRUE(e.InsertAt(script::akMuteOn, 0));
    EXPECT_EQ(t.Keys(e), (std::vector<std::string>{"Mute on 0659", "Beep 0700", "Beep 0701", "Volume 0702"}));

    // The first line moved below the last takes a minute after it.
    EXPECT_TRUE(e.Move(0, e.Count()));
    EXPECT_EQ(t.Keys(e), (std::vector<std::string>{"Beep 0700", "Beep 0701", "Volume 0702", "Mute on 0703"}));
    EXPECT_EQ(e.Selected(), 3);
    // Moved between two lines a minute apart: refused, nothing changes.
    EXPECT_FALSE(e.Move(3, 1));
    EXPECT_EQ(t.Keys(e).back(), "Mute on 0703");

    // A Preset recalls the lowest used favorite.
    ASSERT_TRUE(e.Add(script::akPreset));
    EXPECT_EQ(static_cast<const script::zPreset&>(*e.Actions().back()).number, 3);

    // Nothing after 23:59, and nothing at midnight.
    script::zAction& last = *const_cast<script::zAction*>(e.Actions().back().get());
    last.time = script::kLastMinute;
    EXPECT_FALSE(e.Add(script::akBeep));
    e.New();
    t.r.clock.now = {0, 0, 0};
    ASSERT_TRUE(e.Add(script::akOff));
    EXPECT_EQ(t.Keys(e), (std::vector<std::string>{"Off 0001"}));
    EXPECT_FALSE(e.InsertAt(script::akOff, 0)) << "before 00:01 only midnight is left";
}

TEST(ScriptEditor, ASelectedActionKeepsWithinItsNeighboursAndSaveAppliesTheFieldsOfItsKind) {
    EditorRig t("Jump to.0610.98,700.FM.ST\r\nBeep.0800.3.5000.300\r\n");
    TScriptEditor e(t.r.Set());
    e.Select(1);
    EXPECT_EQ(e.RangeText(), "The range is from 06:11 to 23:59");
    e.Select(0);
    EXPECT_EQ(e.RangeText(), "The range is from 00:00 to 07:59");
    EXPECT_EQ(e.MinuteLimits(7).high, 59);
    EXPECT_EQ(e.MinuteLimits(0).low, 0);

    tPanelValues v = e.PanelValues();
    EXPECT_EQ(v.band, radio::bFM);
    EXPECT_TRUE(v.stereo);
    v.minute = 0;
    v.hour = 0;
    EXPECT_FALSE(e.Apply(v)) << "a file cannot hold midnight";
    v.hour = 8;
    EXPECT_FALSE(e.Apply(v)) << "08:00 is the next action's";
    v.hour = 7;
    v.minute = 15;
    v.band = radio::bAM;
    v.jumpFrequency = 1.0;
    v.stereo = true;
    ASSERT_TRUE(e.Apply(v));
    const auto& jump = static_cast<const script::zJumpTo&>(*e.Actions()[0]);
    EXPECT_EQ(jump.Key(), "0715");
    EXPECT_NEAR(jump.frequency, 0.999, 1e-9) << "on the 9 kHz grid from 531 kHz";
    EXPECT_FALSE(jump.stereo) << "AM is mono";

    e.Select(1);
    v = e.PanelValues();
    v.count = 51;
    EXPECT_FALSE(e.Apply(v));
    v.count = 2;
    EXPECT_TRUE(e.Apply(v));
    EXPECT_EQ(static_cast<const script::zBeep&>(*e.Actions()[1]).count, 2);
}

TEST(ScriptEditor, PreviewsPlayForAMomentAndTheCardAlwaysComesBack) {
    EditorRig t("Jump to.0700.101,900.FM.ST\r\n");
    TScriptEditor e(t.r.Set());
    int ended = 0;
    e.onPreviewEnded = [&] { ++ended; };

    EXPECT_EQ(e.StartFrequencyPreview(98.7, true), tFrequencyPreview::Tuned);
    EXPECT_NEAR(t.Heard(), 98.7, 1e-6);
    t.r.timers["Preview"].Fire();
    EXPECT_NEAR(t.Heard(), 90.5, 1e-6) << "five seconds later the card is back";
    EXPECT_EQ(ended, 1);

    e.ChooseBand(radio::bAM);
    EXPECT_EQ(e.StartFrequencyPreview(1.0, false), tFrequencyPreview::Refused) << "the card is on FM";
    EXPECT_NEAR(t.Heard(), 90.5, 1e-6);

    ASSERT_TRUE(e.StartBeepPreview(3, 880, 200));
    EXPECT_TRUE(t.r.tone.Requests().empty()) << "the first beep a second after the press";
    for (int i = 0; i < 3; ++i) t.r.timers["Preview"].Fire();
    EXPECT_EQ(t.r.tone.Requests(), (std::vector<platform::ToneRequest>(3, {880, 200})));
    EXPECT_EQ(e.Previewing(), tPreview::None);
    EXPECT_FALSE(e.StartBeepPreview(0, 880, 200));

    // Closing in the middle of a preview: the card goes back, muted as the
    // radio set has it.
    e.ChooseBand(radio::bFM);
    e.StartFrequencyPreview(101.9, false);
    t.r.Set().ToggleMute();
    e.Close();
    EXPECT_NEAR(t.Heard(), 90.5, 1e-6);
    EXPECT_TRUE(t.r.Card().Stereo());
    EXPECT_EQ(t.r.Card().Muted(), t.r.Set().MuteState());
}

TEST(ScriptEditor, ANewScriptIsWrittenToTheConfigFolderAndChangesAreToldApart) {
    EditorRig t;
    TScriptEditor e(t.r.Set());
    EXPECT_EQ(e.Caption(), "Programming -");
    EXPECT_FALSE(e.AskOnSave());
    EXPECT_EQ(e.FileName(), t.r.dir.File("NoName.Tvs")) << "never the working folder";
    EXPECT_FALSE(e.Changed());

    t.r.clock.now = {6, 30, 0};
    ASSERT_TRUE(e.Add(script::akBeep));
    e.SetTitle("  Wake  ");
    EXPECT_TRUE(e.Changed());
    std::string error;
    ASSERT_TRUE(e.Save("", &error)) << error;
    EXPECT_EQ(e.Caption(), "Script - (" + t.r.dir.File("NoName.Tvs") + ")");

    // The internal script equals the work once it is handed over; a field
    // changed and applied differs again.
    t.r.Set().TakeScript(e.Result());
    EXPECT_EQ(t.r.Set().Script().title, "Wake");
    EXPECT_FALSE(e.Changed());
    tPanelValues v = e.PanelValues();
    v.count = 4;
    ASSERT_TRUE(e.Apply(v));
    EXPECT_TRUE(e.Changed());

    // A file that cannot be read changes nothing; a good one replaces all.
    tunevox::test::WriteTextFile(t.r.dir.File("bad.tvs"), ";Bad\r\nBeep.0700.0.5000.300\r\n");
    EXPECT_EQ(e.Load(t.r.dir.File("bad.tvs")), script::srCorrupt);
    EXPECT_EQ(e.Count(), 1u);
    EXPECT_EQ(e.Load(t.r.dir.File("NoName.Tvs")), script::srOk);
    EXPECT_EQ(e.Title(), "Wake");
    EXPECT_EQ(static_cast<const script::zBeep&>(*e.Actions()[0]).count, 1);
}

} // namespace
} // namespace tunevox::scripteditor
