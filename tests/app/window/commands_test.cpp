// Commands from keys and the tray icon, the dialog protocol, the display
// modes with their sizes, and the colour rules, with pictures of every mode.

#include "app/window/window_fixture.h"

#include "app/window/clock_format.h"
#include "app/window/help_window.h"
#include "app/dialogs/name_dialog.h"
#include "app/window/tray_icon.h"
#include "display/palette.h"
#include "radio/radio_card.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QFile>
#include <QTextBrowser>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace tunevox::app::test {
namespace {

const char* kRadioTrack = "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n"
                          "[Frequency]\nFrequency=M 098.700\n";

TEST(MainCommands, KeysRunTheirCommandsByTheDefaultAndACustomKeyString) {
    WindowRig r(kRadioTrack);
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    const int volume = r.Card().Volume();
    w.KeyPress('u');
    EXPECT_GT(r.Card().Volume(), volume);
    w.KeyPress('D');
    EXPECT_EQ(r.Card().Volume(), volume);
    w.KeyPress('+');
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.725);
    w.KeyPress('?'); // no command
    w.KeyPress('7'); // the position without a command
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.725);
    w.KeyPress('1');
    EXPECT_EQ(r.Set().Config().DisplayType, 1);
    w.KeyPress('c');
    EXPECT_EQ(r.Set().Config().DisplayType, 0);

    // The numeric keypad's keys are the same keys.
    auto type = [&](QObject* target, int key, const char* text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeypadModifier, text);
        QCoreApplication::sendEvent(target, &press);
    };
    type(&w, Qt::Key_Plus, "+");
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.75);
    type(w.Control("sVolume"), Qt::Key_Minus, "-");
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.725) << "a slider hands the key on";
    type(&w, Qt::Key_3, "3");
    EXPECT_EQ(r.Set().Config().DisplayType, 3);

    // A custom string: volume up on 'V', and 'U' then runs nothing.
    std::string keys = radioset::kDefaultKeyboardCommands;
    keys[0] = 'V';
    WindowRig c(std::string(kRadioTrack) + "[Configuration]\nKeyboardCommands=" + keys + "\n");
    ASSERT_TRUE(c.Start());
    const int before = c.Card().Volume();
    c.W().KeyPress('u');
    EXPECT_EQ(c.Card().Volume(), before);
    c.W().KeyPress('v');
    EXPECT_GT(c.Card().Volume(), before);
}

TEST(MainCommands, TheDialogProtocolPausesTimersAndReducesTheTrayMenu) {
    WindowRig r(std::string(kRadioTrack) + "[Configuration]\nCheckIfTuned=1\nHideMainForm=1\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    w.show();
    auto* clock = &r.timers["Clock"];
    auto* test = &r.timers["Test"];
    ASSERT_TRUE(clock->Active());
    ASSERT_TRUE(test->Active());
    TTrayIcon* tray = w.Tray();
    bool timersStopped = false, menuReduced = false, hidden = false;
    int mutedDuring = -1;
    r.ui.duringDialog = [&] {
        timersStopped = !clock->Active() && !test->Active();
        menuReduced = tray->Menu() && tray->Menu()->objectName() == "TrayMenuAlt" &&
                      tray->Menu()->actions().size() == 1 && tray->Menu()->actions()[0]->text() == "Exit";
        hidden = !w.isVisible() || w.isMinimized();
        // A click on the tray icon while a dialog is up changes nothing.
        const bool muted = r.Set().MuteState();
        tray->Activated(QSystemTrayIcon::Trigger);
        tray->ClickTimeout();
        mutedDuring = r.Set().MuteState() != muted;
    };
    r.ui.dialogAnswers.push_back(CancelDialog());
    r.Set().GoToFrequency(radio::bFM, false, 98.7);
    w.StoreFavorite(1); // opens the name dialog through the protocol
    EXPECT_TRUE(timersStopped);
    EXPECT_TRUE(menuReduced);
    EXPECT_TRUE(hidden);
    EXPECT_EQ(mutedDuring, 0);
    EXPECT_TRUE(clock->Active());
    EXPECT_TRUE(test->Active());
    EXPECT_EQ(tray->Menu()->objectName(), "TrayMenu");
    EXPECT_FALSE(r.Set().ModalOpen());

    // Outside a dialog a single click toggles mute; a double click does not.
    const bool muted = r.Set().MuteState();
    tray->Activated(QSystemTrayIcon::Trigger);
    tray->ClickTimeout();
    EXPECT_NE(r.Set().MuteState(), muted);
    EXPECT_EQ(r.Card().Muted(), r.Set().MuteState());
    tray->Activated(QSystemTrayIcon::Trigger);
    tray->Activated(QSystemTrayIcon::Trigger);
    EXPECT_NE(r.Set().MuteState(), muted) << "a double click only shows or hides";

    // A message box of its own stops only the timers: the window stays,
    // and the tray keeps its whole menu.
    w.Do_Show(); // the double click had hidden it
    bool shownDuringBox = false, fullMenu = false, stoppedDuringBox = false;
    r.ui.duringBox = [&] {
        shownDuringBox = w.isVisible() && !w.isMinimized();
        fullMenu = tray->Menu() && tray->Menu()->objectName() == "TrayMenu";
        stoppedDuringBox = !clock->Active();
    };
    w.Actions_Alarm(); // no favorite is stored
    EXPECT_EQ(r.ui.boxes.back().text, "Presets aren't defined");
    EXPECT_TRUE(shownDuringBox);
    EXPECT_TRUE(fullMenu);
    EXPECT_TRUE(stoppedDuringBox);
    EXPECT_TRUE(clock->Active());
}

TEST(MainCommands, WithoutATrayTheTaskBarRestoresTheWindowForTheNextDialog) {
    WindowRig r(std::string(kRadioTrack) + "[Configuration]\nHideMainForm=1\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    w.show();
    w.Do_Hide(); // no tray icon: minimized to the task bar
    EXPECT_TRUE(w.Minimized());
    w.showNormal(); // the user restores it from the task bar
    EXPECT_FALSE(w.Minimized());
    EXPECT_FALSE(w.MenuItem(iDo_Show, true)->isEnabled());
    bool hidden = false;
    r.ui.duringDialog = [&] { hidden = w.isMinimized() || !w.isVisible(); };
    r.ui.dialogAnswers.push_back(CancelDialog());
    w.Actions_Jump();
    EXPECT_TRUE(hidden) << "HideMainForm works again for the next dialog";
    EXPECT_FALSE(w.isMinimized());
}

TEST(MainCommands, MenusFollowTheCardAndTheTunerState) {
    WindowRig r(kRadioTrack);
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    // RadioTrack: no stereo switch, a native volume.
    EXPECT_FALSE(w.Action("msActions_Stereo")->isEnabled());
    EXPECT_TRUE(w.Action("tsmVolume_Mute")->isEnabled());
    EXPECT_FALSE(w.Action("msActions_StopScan")->isEnabled());
    EXPECT_FALSE(w.Action("msStations_Clear")->isEnabled()) << "no current favorite";
    // Every window of the radio is there.
    for (const char* name : {"msStations_EditPresets", "tsmStations_Organize", "msFile_LoadScript"})
        EXPECT_TRUE(w.Action(name)->isEnabled()) << name;
    EXPECT_EQ(w.findChild<QMenu*>("TrayMenuAlt")->actions().size(), 1);
    // Every item of the table stands in its menus under the name of its
    // handler, and both places of an item stay alike.
    for (const tCommandItem& row : CommandItems()) {
        if (QAction* main = w.MenuItem(row.item)) {
            EXPECT_EQ(main->objectName(), QString("ms") + row.name);
            EXPECT_EQ(main, w.Action(main->objectName()));
        }
        if (QAction* tray = w.MenuItem(row.item, true)) {
            EXPECT_EQ(tray->objectName(), QString("tsm") + row.name);
            if (QAction* main = w.MenuItem(row.item)) {
                EXPECT_EQ(tray->isEnabled(), main->isEnabled()) << row.name;
            }
        }
    }

    w.sVolumeChange(r.Card().MaxVolume());
    EXPECT_FALSE(w.Action("msVolume_Up")->isEnabled());
    EXPECT_TRUE(w.Action("tsmVolume_Down")->isEnabled());

    // Aztech has a stereo switch: STR toggles the wish and the card.
    WindowRig a("[Configuration]\nHardware=8\nPort=1\n[Frequency]\nFrequency=M 098.700\n");
    ASSERT_TRUE(a.Start());
    EXPECT_TRUE(a.W().Action("msActions_Stereo")->isEnabled());
    EXPECT_TRUE(a.W().Action("tsmActions_Stereo")->isChecked());
    a.W().Actions_Stereo();
    EXPECT_FALSE(a.Set().StereoWanted());
    EXPECT_FALSE(a.Card().Stereo());
    EXPECT_FALSE(a.W().Action("msActions_Stereo")->isChecked());
    EXPECT_EQ(a.W().StatusText(), "Mono");
}

TEST(MainDisplay, EveryModeHasItsSizeAndGroupsAndTheColoursFollowTheSettings) {
    struct Mode {
        QSize client;
        bool volume, presets, tuner, buttons;
    };
    const Mode modes[] = {{{615, 121}, true, true, true, true},   {{301, 74}, false, false, false, false},
                          {{615, 73}, false, false, true, false}, {{300, 121}, false, true, false, false},
                          {{301, 121}, true, false, false, true}, {{301, 169}, true, true, false, true}};
    for (const char* colours : {"", "ColorText=2\nColorPanel=4\nStyle=3\nForeground=11\nBackground=1\n"}) {
        WindowRig r(std::string(kRadioTrack) + "[Configuration]\n" + colours +
                    "[Presets]\nList=1,3,\nStation01=M 098.700 Radio One\nStation03=M 101.900 Dance 102\n");
        ASSERT_TRUE(r.Start());
        tdMain& w = r.W();
        w.show();
        for (int m = 0; m < 6; ++m) {
            r.Set().WindowConfig().DisplayType = m;
            w.ApplyLayout();
            EXPECT_EQ(w.centralWidget()->size(), modes[m].client) << "mode " << m;
            EXPECT_EQ(w.Control("gpVolume")->isVisible(), modes[m].volume) << m;
            EXPECT_EQ(w.Control("gpPresets")->isVisible(), modes[m].presets) << m;
            EXPECT_EQ(w.Control("gpTuner")->isVisible(), modes[m].tuner) << m;
            EXPECT_EQ(w.Control("btMute")->isVisible(), modes[m].buttons) << m;
            EXPECT_TRUE(w.Control("Panel")->isVisible());
            const char* names[] = {"Display_Complete",  "Display_Minimal",   "Display_MinTuner",
                                   "Display_MinPresets", "Display_MinVolBtn", "Display_MinVolBtnPre"};
            for (int k = 0; k < 6; ++k) {
                EXPECT_EQ(w.Action(QString("ms") + names[k])->isChecked(), k == m);
                EXPECT_EQ(w.Action(QString("tsm") + names[k])->isChecked(), k == m);
            }
            // The window keeps its mode's size whatever is asked of it.
            w.resize(900, 500);
            EXPECT_EQ(w.centralWidget()->size(), modes[m].client);
            r.Screenshot(QString("main_mode%1%2").arg(m).arg(*colours ? "_red_navy" : ""));
            tunevox::test::ExpectNothingClipped(*w.centralWidget(), QString("mode %1").arg(m));
        }
        if (*colours) {
            // Text scheme 2: red texts, maroon "?????"; navy panel behind the indicators.
            EXPECT_EQ(w.findChild<QLabel*>("Station")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
            r.Set().GoToFrequency(radio::bFM, false, 99.5);
            EXPECT_EQ(w.StatusText(), "?????");
            EXPECT_EQ(w.StatusColor(), QColor(128, 0, 0).name());
            const QImage music = w.findChild<QLabel*>("icMusicOnOff")->pixmap().toImage();
            EXPECT_EQ(music.size(), QSize(11, 11));
            bool navy = false;
            for (int y = 0; y < 11; ++y)
                for (int x = 0; x < 11; ++x) {
                    EXPECT_NE(music.pixelColor(x, y), QColor(0, 0, 0));
                    navy = navy || music.pixelColor(x, y) == QColor(0, 0, 128);
                }
            EXPECT_TRUE(navy);
        } else {
            EXPECT_EQ(w.findChild<QLabel*>("Station")->palette().color(QPalette::WindowText),
                      QColor(255, 0, 255));
        }
    }
}

} // namespace
} // namespace tunevox::app::test

namespace tunevox::app::test {
namespace {

TEST(MainHelp, OpensTheGuideAtTheTopicAskedForAndSaysWhenItIsMissing) {
    WindowRig r(kRadioTrack);
    ASSERT_TRUE(r.Start());
    r.W().KeyPress('h');
    auto* help = r.W().findChild<THelpWindow*>("HelpWindow");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->Browser()->toPlainText().contains("Help not found"));
    EXPECT_TRUE(help->Browser()->toPlainText().contains(QString::fromStdString(r.dir.path().toStdString())));

    QFile guide(r.dir.path() + "/Tunevox.html");
    ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
    guide.write("<html><body><a name=\"Welcome\"></a><h1>Welcome</h1><p>Hello.</p>"
                "<a name=\"Sleep_function\"></a><h1>Sleep</h1></body></html>");
    guide.close();
    r.W().ShowHelp("Sleep_function");
    EXPECT_EQ(help->CurrentTopic(), "Sleep_function");
    EXPECT_TRUE(help->Browser()->toPlainText().contains("Hello."));
    EXPECT_EQ(r.W().findChildren<THelpWindow*>().size(), 1) << "one help window serves every request";
}

} // namespace
} // namespace tunevox::app::test

namespace tunevox::app::test {
namespace {

TEST(MainClock, TheClockShowsTheLocalesTimeWithSecondsAndNoZone) {
    EXPECT_EQ(TimeFormatWithoutZone("HH:mm:ss t"), "HH:mm:ss");
    EXPECT_EQ(TimeFormatWithoutZone("h:mm:ss AP t"), "h:mm:ss AP");
    EXPECT_EQ(TimeFormatWithoutZone("t HH:mm:ss"), "HH:mm:ss");
    EXPECT_EQ(TimeFormatWithoutZone("HH:mm:ss tttt"), "HH:mm:ss");
    EXPECT_EQ(TimeFormatWithoutZone("HH 'ti' mm:ss"), "HH 'ti' mm:ss") << "quoted text stays";
    for (const char* name : {"C", "en_US", "de_DE", "ja_JP", "fr_CA"}) {
        const QString format = ClockFormat(QLocale(name));
        EXPECT_TRUE(format.contains("ss")) << name << ": " << format.toStdString();
        EXPECT_FALSE(QLocale(name).toString(QTime(8, 14, 26), format).contains("UTC")) << name;
    }

    WindowRig r(kRadioTrack);
    ASSERT_TRUE(r.Start());
    r.clock.now = {8, 14, 26};
    r.timers["Clock"].Fire();
    const QString shown = r.W().findChild<QLabel*>("HHMMSS")->text();
    EXPECT_EQ(shown, QLocale().toString(QTime(8, 14, 26), ClockFormat(QLocale())));
    EXPECT_TRUE(shown.contains("26")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("UTC")) << shown.toStdString();
}

} // namespace
} // namespace tunevox::app::test

namespace tunevox::app::test {
namespace {

TEST(MainRemoteCommands, ActAsTheirKeysAndWaitForNothingWhileBusy) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=M 090.500\n"
                "[Presets]\nList=3,40,97,\nStation03=M 098.700 One\nStation40=M 101.900 Dance\n"
                "Station97=K 0909 Gold\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    using C = tRemoteCommand;
    w.RunRemoteCommand({C::Next});
    EXPECT_EQ(r.Set().CurrentFavorite(), 3) << "from none, the first used";
    w.RunRemoteCommand({C::Previous});
    EXPECT_EQ(r.Set().CurrentFavorite(), 40) << "wrapping past the start; 97 is AM, which this card lacks";
    w.RunRemoteCommand({C::Next});
    EXPECT_EQ(r.Set().CurrentFavorite(), 3) << "past 97, which cannot be received, round to 3";

    w.RunRemoteCommand({C::Mute});
    w.RunRemoteCommand({C::Mute});
    EXPECT_TRUE(r.Set().MuteState()) << "mute twice is still muted";
    w.RunRemoteCommand({C::Unmute});
    EXPECT_FALSE(r.Set().MuteState());

    r.Set().Seek(+1); // its steps wait on the event loop: busy
    w.RunRemoteCommand(*ParseTuneValue("88.1", nullptr));
    w.RunRemoteCommand({C::Mute});
    EXPECT_FALSE(r.Set().MuteState()) << "refused while the seek runs";
    r.DrainEvents();
    w.RunRemoteCommand(*ParseTuneValue("88,1", nullptr));
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 88.1);
}

} // namespace
} // namespace tunevox::app::test
