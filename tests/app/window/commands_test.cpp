// Commands from keys and the tray icon, the dialog protocol, the display
// modes with their sizes, and the colour rules, with pictures of every mode.

#include "app/window/window_fixture.h"

#include "app/window/help_window.h"
#include "app/dialogs/name_dialog.h"
#include "app/window/tray_icon.h"
#include "display/palette.h"
#include "radio/radio_card.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QAction>
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
    EXPECT_EQ(w.Config().DisplayType, 1);
    w.KeyPress('c');
    EXPECT_EQ(w.Config().DisplayType, 0);

    // A custom string: volume up on 'V', and 'U' then runs nothing.
    std::string keys = kDefaultKeyboardCommands;
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
    auto* clock = w.findChild<QTimer*>("Clock");
    auto* test = w.findChild<QTimer*>("Test");
    ASSERT_TRUE(clock->isActive());
    ASSERT_TRUE(test->isActive());
    TTrayIcon* tray = w.Tray();
    bool timersStopped = false, menuReduced = false, hidden = false;
    int mutedDuring = -1;
    r.ui.duringDialog = [&] {
        timersStopped = !clock->isActive() && !test->isActive();
        menuReduced = tray->Menu() && tray->Menu()->objectName() == "TrayMenuAlt" &&
                      tray->Menu()->actions().size() == 1 && tray->Menu()->actions()[0]->text() == "Exit";
        hidden = !w.isVisible() || w.isMinimized();
        // A click on the tray icon while a dialog is up changes nothing.
        const bool muted = w.MuteState();
        tray->Activated(QSystemTrayIcon::Trigger);
        tray->ClickTimeout();
        mutedDuring = w.MuteState() != muted;
    };
    r.ui.dialogAnswers.push_back(CancelDialog());
    w.GoToFrequency(radio::bFM, false, 98.7);
    w.StoreFavorite(1); // opens the name dialog through the protocol
    EXPECT_TRUE(timersStopped);
    EXPECT_TRUE(menuReduced);
    EXPECT_TRUE(hidden);
    EXPECT_EQ(mutedDuring, 0);
    EXPECT_TRUE(clock->isActive());
    EXPECT_TRUE(test->isActive());
    EXPECT_EQ(tray->Menu()->objectName(), "TrayMenu");
    EXPECT_FALSE(w.ModalOpen());

    // Outside a dialog a single click toggles mute; a double click does not.
    const bool muted = w.MuteState();
    tray->Activated(QSystemTrayIcon::Trigger);
    tray->ClickTimeout();
    EXPECT_NE(w.MuteState(), muted);
    EXPECT_EQ(r.Card().Muted(), w.MuteState());
    tray->Activated(QSystemTrayIcon::Trigger);
    tray->Activated(QSystemTrayIcon::Trigger);
    EXPECT_NE(w.MuteState(), muted) << "a double click only shows or hides";
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
    // Windows of later work are present and disabled.
    for (const char* name : {"msStations_Organize", "tsmStations_Scanner", "msFile_LoadScript"})
        EXPECT_FALSE(w.Action(name)->isEnabled()) << name;
    EXPECT_EQ(w.findChild<QMenu*>("TrayMenuAlt")->actions().size(), 1);

    r.Card().ApplyVolume(r.Card().MaxVolume());
    w.UpdateTuneLimits();
    EXPECT_FALSE(w.Action("msVolume_Up")->isEnabled());
    EXPECT_TRUE(w.Action("tsmVolume_Down")->isEnabled());

    // Aztech has a stereo switch: STR toggles the wish and the card.
    WindowRig a("[Configuration]\nHardware=8\nPort=1\n[Frequency]\nFrequency=M 098.700\n");
    ASSERT_TRUE(a.Start());
    EXPECT_TRUE(a.W().Action("msActions_Stereo")->isEnabled());
    EXPECT_TRUE(a.W().Action("tsmActions_Stereo")->isChecked());
    a.W().Actions_Stereo();
    EXPECT_FALSE(a.W().StereoWanted());
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
            w.Config().DisplayType = m;
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
            w.GoToFrequency(radio::bFM, false, 99.5);
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
