// Scripts as the window carries them: loaded with their key, the mode
// shown on the button, the lamp and both menus, the sleep and alarm
// buttons giving way, a bad file changing nothing, and a script's Off
// ending the program along its shutdown path.

#include "app/window/window_fixture.h"

#include "radio/radio_card.h"
#include "widgets/glyph_button.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>

namespace tunevox::app::test {
namespace {

QString WriteFile(WindowRig& r, const QString& name, const QByteArray& text) {
    QFile f(r.dir.path() + "/" + name);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return f.fileName();
}

TEST(MainScripts, AScriptLoadedWithItsKeyRunsAndTheWindowShowsTheMode) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nShutDown=0\n[Audio]\nVolume=168\n"
                "[Presets]\nList=3,\nStation03=M 098.700 One\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    auto* btProg = w.findChild<widgets::TGlyphButton*>("btProg");
    auto* btSleep = w.findChild<widgets::TGlyphButton*>("btSleep");
    ASSERT_TRUE(btProg && btSleep);
    EXPECT_EQ(btProg->toolTip(), "Programming mode on/off (empty)");

    const QString morning = WriteFile(r, "morning.tvs", ";Morning\r\nPreset.0801.3.ST\r\nOff.0802\r\n");
    r.ui.fileAnswers = {morning};
    w.KeyPress('8');
    EXPECT_TRUE(r.ui.boxes.empty()) << "nothing to lose, nothing asked";
    EXPECT_EQ(r.ui.fileFilters, QStringList{"Tunevox scripts (*.tvs);;Plain text (*.txt);;All files (*)"});
    ASSERT_TRUE(r.Set().Programming());
    EXPECT_EQ(btProg->toolTip(), "Programming mode on/off (" + morning + ")");
    EXPECT_TRUE(w.Action("msActions_Prog")->isChecked());
    EXPECT_TRUE(w.Action("tsmActions_Prog")->isChecked());
    EXPECT_FALSE(btSleep->isEnabled()) << "the script owns the minutes";
    r.Screenshot("main_programming");

    // A corrupt file: asked first (a script would be lost), then told; the
    // script stays, the mode is off.
    const QString broken = WriteFile(r, "broken.tvs", ";Broken\r\nVolume.0700.21\r\n");
    r.ui.fileAnswers = {broken};
    w.File_LoadScript();
    ASSERT_EQ(r.ui.boxes.size(), 2u);
    EXPECT_EQ(r.ui.boxes[1].text, "The script files is corrupt");
    EXPECT_FALSE(r.Set().Programming());
    EXPECT_TRUE(btSleep->isEnabled());
    EXPECT_EQ(r.Set().Script().title, "Morning");

    // Loaded again (the question answered Yes), it runs at its minutes.
    r.ui.fileAnswers = {morning};
    r.ui.boxAnswers = {widgets::tMsgResult::Yes};
    w.File_LoadScript();
    ASSERT_TRUE(r.Set().Programming());
    r.clock.now = {8, 1, 0};
    r.timers["Clock"].Fire();
    EXPECT_EQ(r.Set().CurrentFavorite(), 3);
    r.clock.now = {8, 2, 0};
    r.timers["Clock"].Fire();
    EXPECT_FALSE(r.Card().Active()) << "Off ends the program: the card is closed";
    EXPECT_NE(r.ReadIni().find("[WinPos]"), std::string::npos) << "and the configuration saved";
}

} // namespace
} // namespace tunevox::app::test
