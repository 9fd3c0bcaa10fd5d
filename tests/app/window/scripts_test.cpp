// Scripts as the window carries them: loaded with their key, the mode
// shown on the button, the lamp and both menus, the sleep and alarm
// buttons giving way, a bad file changing nothing, and a script's Off
// ending the program along its shutdown path.

#include "app/window/window_fixture.h"

#include "radio/radio_card.h"
#include "scripteditor/script_editor_dialog.h"
#include "widgets/glyph_button.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QPushButton>

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

TEST(MainScripts, PBuildsAScriptInTheEditorWhoseOkStartsItAndPStopsIt) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nShutDown=0\n[Audio]\nVolume=168\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    r.clock.now = {7, 0, 0};
    // Cancelled: nothing runs, but the file the editor used is remembered.
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        d.reject();
        return d.result();
    });
    w.KeyPress('P');
    EXPECT_EQ(r.ui.dialogsShown, QStringList{"tdProgr"});
    EXPECT_FALSE(r.Set().Programming());
    EXPECT_EQ(r.Set().ScriptFile(), r.dir.path().toStdString() + "/NoName.Tvs");

    r.ui.dialogAnswers.push_back([](QDialog& d) {
        auto& editor = static_cast<scripteditor::tdProgr&>(d);
        editor.Actions->setCurrentRow(0); // Mute on
        editor.btAdd->click();
        editor.Actions->setCurrentRow(1); // Mute off
        editor.btAdd->click();
        editor.btOk->click();
        return d.result();
    });
    w.KeyPress('P');
    ASSERT_TRUE(r.Set().Programming());
    EXPECT_EQ(w.findChild<widgets::TGlyphButton*>("btProg")->toolTip(), "Programming mode on/off (internal)");
    r.timers["Clock"].Fire();
    EXPECT_TRUE(r.Set().MuteState()) << "07:00: Mute on";
    r.clock.now = {7, 1, 0};
    r.timers["Clock"].Fire();
    EXPECT_FALSE(r.Set().MuteState()) << "07:01: Mute off";

    w.KeyPress('P');
    EXPECT_FALSE(r.Set().Programming()) << "the same key switches it off";
    EXPECT_EQ(r.ui.dialogsShown.size(), 2) << "without the editor";
}

} // namespace
} // namespace tunevox::app::test
