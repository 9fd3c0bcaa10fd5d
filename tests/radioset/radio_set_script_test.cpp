// Programming mode over virtual minutes: each action once at its minute,
// what each kind does to the radio, the beeps one second apart, the end
// of the mode after the last action, and loading script files.

#include "radio_set_fixture.h"

#include "radio/radio_card.h"

#include <gtest/gtest.h>

namespace tunevox::radioset::test {
namespace {

using radio::bFM;

// Aztech, heard, with favorite 3 on 98.7 and favorite 5 empty.
constexpr char kIni[] = "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n[Audio]\nVolume=168\n"
                        "[Frequency]\nFrequency=M 090.500\n[Presets]\nList=3,\nStation03=M 098.700 One\n";

script::tScript Parse(const std::string& lines) {
    script::tScript s;
    EXPECT_EQ(script::ParseScript(";Test\r\n" + lines, s), script::srOk) << lines;
    return s;
}

struct ScriptRig {
    ScriptRig() : r(kIni) { r.Start(); }
    void At(int hour, int minute, int ticks = 1) {
        r.clock.now = {hour, minute, 0};
        for (int i = 0; i < ticks; ++i) r.timers["Clock"].Fire();
    }
    double Heard() const { return r.rig->EmulatedReceiver()->frequencyMHz; }
    bool Silent() const { return !r.rig->EmulatedReceiver()->audioOn; }
    RadioSetRig r;
};

TEST(RadioSetScript, EachActionRunsOnceAtItsMinuteAndTheModeEndsAfterTheLast) {
    ScriptRig t;
    TRadioSet& s = t.r.Set();
    EXPECT_EQ(s.ScriptHint(), "Programming mode on/off (empty)");
    s.TakeScript(Parse("Mute on.0700\r\nJump to.0730.101,900.FM.MN\r\nPreset.0735.5.ST\r\n"
                       "Preset.0740.3.ST\r\nMute off.0745\r\nMute on.0745\r\n"));
    EXPECT_TRUE(s.Programming());
    EXPECT_TRUE(t.r.view.programming);
    EXPECT_EQ(s.ScriptHint(), "Programming mode on/off (internal)");

    // Started at 07:10: the 07:00 action has passed and never runs.
    t.At(7, 10);
    EXPECT_FALSE(t.Silent());
    t.At(7, 30, 60);
    EXPECT_NEAR(t.Heard(), 101.9, 1e-6);
    EXPECT_FALSE(t.r.Card().Stereo()) << "MN: mono";
    t.r.Set().GoToFrequency(bFM, false, 90.0); // the user tunes away within the minute
    t.At(7, 30);
    EXPECT_NEAR(t.Heard(), 90.0, 1e-6) << "once a minute, not once a tick";
    t.At(7, 35);
    EXPECT_NEAR(t.Heard(), 90.0, 1e-6) << "favorite 5 is empty: nothing happens";
    t.At(7, 40);
    EXPECT_EQ(s.CurrentFavorite(), 3);
    EXPECT_TRUE(t.r.Card().Stereo());
    // Two actions in one minute: one of them runs, once.
    t.At(7, 45, 3);
    const bool silentAt0745 = t.Silent();
    t.At(7, 45);
    EXPECT_EQ(t.Silent(), silentAt0745);
    EXPECT_EQ(s.LastRunKey(), "0745");
    t.At(7, 46);
    EXPECT_FALSE(s.Programming()) << "the script is over";
    EXPECT_FALSE(t.r.view.programming);

    // Run again on a later day: the minute last run is passed over.
    s.TakeScript(Parse("Mute on.0745\r\nMute off.0750\r\n"));
    t.r.Set().ToggleMute(); // make sure a run would show
    const bool before = t.Silent();
    t.At(7, 45);
    EXPECT_EQ(t.Silent(), before);
    EXPECT_TRUE(s.Programming());
}

TEST(RadioSetScript, BeepsVolumeAndOff) {
    ScriptRig t;
    TRadioSet& s = t.r.Set();
    s.TakeScript(Parse("Beep.0700.3.880.200\r\nVolume.0701.10\r\nVolume.0702.20\r\nOff.0703\r\n"));
    t.At(7, 0);
    EXPECT_TRUE(t.r.tone.Requests().empty()) << "the first beep comes a second later";
    ManualTimer& beeper = t.r.timers["Beeper"];
    for (int i = 0; i < 4; ++i) beeper.Fire();
    EXPECT_EQ(t.r.tone.Requests(), (std::vector<platform::ToneRequest>(3, {880, 200})));
    EXPECT_FALSE(beeper.Active()) << "the fourth tick ends the run";

    // Levels are twentieths of the card's full volume, on its steps (84 of
    // 256 on this card).
    t.At(7, 1);
    EXPECT_EQ(t.r.Card().Volume(), 168);
    t.At(7, 2);
    EXPECT_EQ(t.r.Card().Volume(), 252) << "its top step, not 20 of 256";
    EXPECT_FALSE(t.Silent());

    t.At(7, 3);
    EXPECT_TRUE(t.Silent()) << "Off mutes before the program ends";
    EXPECT_EQ(t.r.view.closeRequests, 1);
}

TEST(RadioSetScript, ALoadedFileRunsAndABadOneChangesNothing) {
    ScriptRig t;
    TRadioSet& s = t.r.Set();
    const std::string good = t.r.dir.File("morning.tvs");
    const std::string bad = t.r.dir.File("bad.tvs");
    tunevox::test::WriteTextFile(good, ";Morning\r\nPreset.0700.3.ST\r\n");
    tunevox::test::WriteTextFile(bad, ";Broken\r\nVolume.0700.21\r\n");

    ASSERT_EQ(s.LoadScript(good), script::srOk);
    EXPECT_TRUE(s.Programming());
    EXPECT_EQ(s.Script().title, "Morning");
    EXPECT_EQ(s.ScriptHint(), "Programming mode on/off (" + good + ")");

    EXPECT_EQ(s.LoadScript(bad), script::srCorrupt);
    EXPECT_FALSE(s.Programming()) << "a load always starts by ending the mode";
    EXPECT_EQ(s.Script().title, "Morning");
    EXPECT_EQ(s.Script().actions.size(), 1u);
    EXPECT_EQ(s.LoadScript(t.r.dir.File("missing.tvs")), script::srReadError);
}

} // namespace
} // namespace tunevox::radioset::test
