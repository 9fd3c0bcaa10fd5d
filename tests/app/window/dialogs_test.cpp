// The windows opened from the main window, as the window uses them: the
// settings applied to a running radio, the first run, the clock with the
// alarm, the sleep timer, the jump dialog, the scanner, the organizer and
// the tip of the day.

#include "app/window/window_fixture.h"

#include "app/dialogs/alarm_dialog.h"
#include "app/dialogs/jump_dialog.h"
#include "app/dialogs/snooze_dialog.h"
#include "app/window/tray_icon.h"
#include "archive/archive.h"
#include "favoritesgrid/favorites_grid.h"
#include "organizer/organizer_dialog.h"
#include "periphery/tip_of_the_day.h"
#include "presets/edit_favorites_dialog.h"
#include "radio/radio_card.h"
#include "scanner/scanner_dialog.h"
#include "setup/setup_dialog.h"
#include "widgets/glyph_button.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

namespace tunevox::app::test {
namespace {

using radio::bAM;
using radio::bFM;

// Answers the settings dialog: `edit` works on it like a user, then OK.
std::function<int(QDialog&)> Settings(std::function<void(setup::tdSetup&)> edit) {
    return [edit](QDialog& d) {
        auto& dialog = dynamic_cast<setup::tdSetup&>(d);
        edit(dialog);
        dialog.btOkClick();
        return dialog.result();
    };
}

void SelectModel(setup::tdSetup& d, radio::tModel model) {
    d.findChild<QListWidget*>("HwList")->setCurrentRow(model);
    d.HwListChange();
}

TEST(MainSettings, AppliedToTheRunningRadio) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n"
                "[Frequency]\nFrequency=M 098.700\nTuneStep=8\n"
                "[Presets]\nList=4,\nStation04=M 088.100 Classic\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    EXPECT_DOUBLE_EQ(r.Set().FMTuneStep(), 0.2);

    // A port change alone is not taken over; the step returns to one card step.
    r.ui.dialogAnswers.push_back(Settings([](setup::tdSetup& d) {
        d.findChild<QRadioButton*>("AlternateAddr")->setChecked(true);
        d.AlternateAddr();
    }));
    w.Options_Settings();
    EXPECT_EQ(r.Card().Port(), 1);
    EXPECT_DOUBLE_EQ(r.Set().FMTuneStep(), 0.025);
    EXPECT_EQ(qobject_cast<QLabel*>(w.Control("Step"))->text(), "25");

    // A new model on its alternate port: the card reopens there and plays
    // the same station.
    r.ui.dialogAnswers.push_back(Settings([](setup::tdSetup& d) {
        SelectModel(d, radio::mAztech);
        d.findChild<QRadioButton*>("AlternateAddr")->setChecked(true);
        d.AlternateAddr();
    }));
    w.Options_Settings();
    EXPECT_EQ(r.Card().Model(), radio::mAztech);
    EXPECT_EQ(r.Card().Port(), 2);
    EXPECT_TRUE(r.Card().Active());
    EXPECT_NEAR(r.rig->EmulatedReceiver()->frequencyMHz, 98.7, 1e-6);
    EXPECT_EQ(r.Set().Config().Hardware, 8);
    EXPECT_EQ(w.StatusText(), "Stereo");

    // A serial model with Japanese FM: the slider takes the Japanese band and
    // the radio its lower edge.
    r.ui.dialogAnswers.push_back(Settings([](setup::tdSetup& d) {
        SelectModel(d, radio::mRadioMan);
        auto* jap = d.findChild<QCheckBox*>("xJapFM");
        jap->setChecked(true);
        d.xJapFMClick();
    }));
    w.Options_Settings();
    EXPECT_EQ(r.Card().Model(), radio::mRadioMan);
    EXPECT_TRUE(r.Card().JapaneseFM());
    auto* slider = qobject_cast<QSlider*>(w.Control("sFrequency"));
    EXPECT_EQ(slider->minimum(), 76000);
    EXPECT_EQ(slider->maximum(), 91000);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 76.0);
    EXPECT_TRUE(w.Control("btAM")->isEnabled());
    EXPECT_FALSE(w.Action("m04")->isEnabled() && false); // 88.1 is inside 76..91: still enabled
    EXPECT_TRUE(w.Action("m04")->isEnabled());

    // The volume moves to the sound card's line in: volume and mute follow.
    r.ui.dialogAnswers.push_back(Settings([](setup::tdSetup& d) {
        auto* list = d.findChild<QListWidget*>("ScList");
        const auto items = list->findItems("Line In", Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        list->setCurrentItem(items[0]);
        d.ScListClick();
    }));
    w.Options_Settings();
    EXPECT_EQ(r.Card().VolumeLine(), radio::vlLineIn);
    EXPECT_EQ(r.Set().Config().VolumeLine, radio::vlLineIn);
    EXPECT_FALSE(r.Set().MuteState());
    r.DrainEvents();
    EXPECT_TRUE(w.Action("msVolume_Up")->isEnabled() || r.Card().Volume() == r.Card().MaxVolume());
}

TEST(MainSettings, TheRadioDeviceIsChosenAmongTheRigsNodes) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Frequency]\nFrequency=M 098.700\n");
    ASSERT_TRUE(r.Start());
    r.ui.dialogAnswers.push_back(Settings([](setup::tdSetup& d) {
        SelectModel(d, radio::mV4L2);
        auto* list = d.findChild<QComboBox*>("RadioDeviceList");
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->itemText(0), "/dev/radio0 \u2014 Tunevox virtual radio");
    }));
    r.W().Options_Settings();
    EXPECT_EQ(r.Card().Model(), radio::mV4L2);
    EXPECT_EQ(r.Card().DevicePath(), rig::THardwareRig::kEmulatedRadioDevice);
    EXPECT_TRUE(r.Card().Active());
}

TEST(MainSettings, FirstRunLeadsToAPlayingRadioAndCancelWritesNothing) {
    {
        WindowRig r;
        r.ui.dialogAnswers.push_back(CancelDialog());
        EXPECT_FALSE(r.Start());
        EXPECT_EQ(r.ui.dialogsShown, QStringList{"tdSetup"});
        r.W().close();
        EXPECT_EQ(r.ReadIni(), "") << "Cancel at the first run writes nothing";
    }
    WindowRig r;
    r.ui.dialogAnswers.push_back(Settings([](setup::tdSetup& d) { SelectModel(d, radio::mZoltrix); }));
    ASSERT_TRUE(r.Start());
    EXPECT_EQ(r.Card().Model(), radio::mZoltrix);
    EXPECT_TRUE(r.Card().Active());
    EXPECT_TRUE(r.rig->EmulatedReceiver()->audioOn) << "the newcomer hears the radio";
    // A new set looks for a station by itself, up from the band's start.
    EXPECT_FALSE(r.Set().Busy());
    EXPECT_GT(r.Card().Frequency(), 87.0);
    EXPECT_NE(r.W().StatusText(), "?????");
    r.Set().WindowConfig().ShutDown = 1;
    r.W().close();
    EXPECT_NE(r.ReadIni().find("Hardware=7"), std::string::npos);
}

TEST(MainClock, TheAlarmIsSetThroughItsDialogAndRingsAtItsMinute) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=M 087.000\n"
                "[Alarm]\nTime=07:30\n[Presets]\nList=9,\nStation09=M 098.700 Radio One\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    // The dialog opens on the stored time; OK arms the alarm on the chosen
    // favorite, and the menus and the lamp show it.
    r.clock.now = {6, 45, 0};
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        auto& a = dynamic_cast<tdAlarm&>(d);
        EXPECT_EQ(a.Hour(), 7);
        EXPECT_EQ(a.Minute(), 30);
        EXPECT_EQ(a.Favorite(), 0) << "nothing chosen for the user";
        a.Favorites->setCurrentIndex(0);
        a.MM->setValue(31);
        return int(QDialog::Accepted);
    });
    w.KeyPress('a');
    EXPECT_TRUE(r.Set().AlarmOn());
    EXPECT_TRUE(w.MenuItem(iActions_Alarm)->isChecked());
    EXPECT_TRUE(w.MenuItem(iActions_Alarm, true)->isChecked());
    r.clock.now = {7, 31, 0};
    r.timers["Clock"].Fire();
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    EXPECT_EQ(w.StationText(), "Radio One");
    EXPECT_FALSE(r.Set().AlarmOn());
    EXPECT_FALSE(w.MenuItem(iActions_Alarm)->isChecked());

    // Cancel leaves it off.
    r.ui.dialogAnswers.push_back(CancelDialog());
    w.Actions_Alarm();
    EXPECT_FALSE(r.Set().AlarmOn());
}

TEST(MainClock, SleepStartsFromItsDialogAndRestartsAfterAnotherDialog) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\nHideMainForm=0\n[Audio]\nVolume=128\n"
                "[Frequency]\nFrequency=M 098.700\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    auto& sleep = r.timers["TSleep"];
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        dynamic_cast<tdSnooze&>(d).sMinutes->setValue(15);
        return int(QDialog::Accepted);
    });
    w.Actions_Sleep();
    EXPECT_TRUE(r.Set().SleepOn());
    EXPECT_TRUE(sleep.Active());
    EXPECT_EQ(sleep.Interval(), 15 * 60000);
    EXPECT_TRUE(w.MenuItem(iActions_Sleep)->isChecked());

    // Another dialog stops the timer; afterwards it runs from its full length.
    const int starts = sleep.starts;
    bool stoppedDuring = false;
    r.ui.duringDialog = [&] { stoppedDuring = !sleep.Active(); };
    r.ui.dialogAnswers.push_back(CancelDialog());
    w.Actions_Jump();
    r.ui.duringDialog = nullptr;
    EXPECT_TRUE(stoppedDuring);
    EXPECT_TRUE(sleep.Active());
    EXPECT_EQ(sleep.starts, starts + 1);

    sleep.Fire();
    EXPECT_FALSE(r.Set().SleepOn());
    EXPECT_FALSE(w.MenuItem(iActions_Sleep, true)->isChecked());
    EXPECT_TRUE(w.MenuItem(iVolume_Mute)->isChecked()) << "sleep mutes, the program goes on";
    EXPECT_FALSE(r.rig->EmulatedReceiver()->audioOn);

    // The next sleep dialog opens with the minutes chosen before.
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        EXPECT_EQ(dynamic_cast<tdSnooze&>(d).Minutes(), 15);
        return int(QDialog::Rejected);
    });
    w.Actions_Sleep();
    EXPECT_FALSE(r.Set().SleepOn());
}

TEST(MainDialogs, JumpTunesOnOkAndTheTipOfTheDayGreetsAtStart) {
    WindowRig r("[Configuration]\nHardware=4\nPort=2\n[Frequency]\nFrequency=M 098.700\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    // The dialog is still up when the radio tunes: the window, the tray
    // menu and the timers come back after.
    r.ui.dialogAnswers.push_back([&](QDialog& d) {
        auto& j = dynamic_cast<tdJumpTo&>(d);
        j.btAM->click();
        EXPECT_EQ(j.Freq->text(), "531") << "the other band opens at its lower edge";
        j.Freq->setText("693");
        return int(QDialog::Accepted);
    });
    bool modalWhileTuned = false;
    QObject::connect(&w, &QWidget::windowTitleChanged, &w, [&] {
        modalWhileTuned = r.Set().ModalOpen() && !r.timers["Clock"].Active() &&
                          w.Tray()->Menu() == w.findChild<QMenu*>("TrayMenuAlt");
    });
    w.Actions_Jump();
    EXPECT_EQ(r.Card().Band(), bAM);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 0.693);
    EXPECT_TRUE(modalWhileTuned);
    EXPECT_FALSE(r.Set().ModalOpen());
    // Cancel changes nothing.
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        dynamic_cast<tdJumpTo&>(d).Freq->setText("1215");
        return int(QDialog::Rejected);
    });
    w.KeyPress('j');
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 0.693);

    // The tip of the day at start, and its box read back into the setting.
    QFile tips(r.dir.path() + "/Tunevox.txt");
    ASSERT_TRUE(tips.open(QIODevice::WriteOnly));
    tips.write("First tip\nSecond tip\nThird tip\nlast line\n");
    tips.close();
    WindowRig t(std::string("[Configuration]\nHardware=1\nPort=1\nTipOfTheDay=1\n"));
    QFile::copy(tips.fileName(), t.dir.path() + "/Tunevox.txt");
    QString shown;
    t.ui.dialogAnswers.push_back([&](QDialog& d) {
        auto& tip = dynamic_cast<periphery::tTipOfTheDayForm&>(d);
        shown = tip.Tip->text();
        tip.ShowTips->setChecked(false);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(t.Start());
    EXPECT_TRUE(shown.endsWith("tip")) << shown.toStdString();
    EXPECT_FALSE(t.Set().Config().TipOfTheDay);
}

// In the scanner: a sweep, then `row` (its "Freq" text) dragged onto
// favorite n; `result` ends the dialog.
std::function<int(QDialog&)> ScanAndDrop(WindowRig& r, const QString& row, int n, int result) {
    return [&r, row, n, result](QDialog& d) {
        auto& scanner = dynamic_cast<scanner::tdScanner&>(d);
        scanner.btScanClick();
        r.DrainEvents();
        const auto found = scanner.Found->findItems(row, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1);
        if (found.size() != 1) return int(QDialog::Rejected);
        scanner.Found->setCurrentItem(found[0]);
        std::unique_ptr<QMimeData> mime(scanner.Found->makeDragData());
        EXPECT_TRUE(scanner.Presets->Drop(*favoritesgrid::ReadStationMime(*mime), n));
        return result;
    };
}

TEST(MainDialogs, TheScannerHandsItsBankBackOnOkOnlyAndTheRadioReturnsToTheCurrentFavorite) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nLaunchAlarm=1\n[Alarm]\nStation=2\nTime=07:00\n"
                "[Presets]\nCurrent=2\nList=2,\nStation02=M 088.100 Classic\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    ASSERT_TRUE(r.Set().AlarmOn());
    bool alarmHeld = false;
    r.ui.duringDialog = [&] { alarmHeld = !r.Set().AlarmOn() && !r.timers["Clock"].Active(); };

    // Cancel: nothing of the sweep or the drop reaches the radio set.
    r.ui.dialogAnswers.push_back(ScanAndDrop(r, "096.100", 7, QDialog::Rejected));
    w.KeyPress('b');
    ASSERT_EQ(r.ui.dialogsShown, QStringList{"tdScanner"});
    EXPECT_TRUE(alarmHeld) << "no timed action touches the card while the scanner has it";
    EXPECT_TRUE(r.Set().AlarmOn());
    EXPECT_FALSE(r.Set().Favorites()[7].Used);
    EXPECT_EQ(r.Set().CurrentFavorite(), 2);
    EXPECT_NEAR(r.rig->EmulatedReceiver()->frequencyMHz, 88.1, 1e-6) << "back from where the sweep left it";

    // OK: the station dropped is favorite 7 and the current one; the menus,
    // the buttons and the title show it.
    r.ui.dialogAnswers.push_back(ScanAndDrop(r, "096.100", 7, QDialog::Accepted));
    w.Stations_Scanner();
    EXPECT_EQ(r.Set().CurrentFavorite(), 7);
    EXPECT_EQ(r.Set().Favorites()[7].Name, "????");
    EXPECT_FALSE(r.Set().Favorites()[2].Active);
    EXPECT_NE(w.Action("m07"), nullptr);
    EXPECT_TRUE(w.Action("m07")->isChecked());
    EXPECT_TRUE(w.findChild<widgets::TGlyphButton*>("btRadio07")->toolTip().startsWith("96.1 MHz"));
    EXPECT_EQ(w.windowTitle(), "Tunevox - 96.1 MHz (?\?\?\?)");
    EXPECT_NEAR(r.rig->EmulatedReceiver()->frequencyMHz, 96.1, 1e-6);
    EXPECT_TRUE(r.timers["Clock"].Active());

    // On AM the scanner does not open.
    WindowRig am("[Configuration]\nHardware=4\nPort=2\n[Frequency]\nFrequency=K 000.693\n");
    ASSERT_TRUE(am.Start());
    am.W().Stations_Scanner();
    EXPECT_TRUE(am.ui.dialogsShown.isEmpty());
}

TEST(MainDialogs, TheOrganizerOpensOnItsKeyAndAFavoriteItSetStaysWhicheverWayItCloses) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Audio]\nVolume=168\n"
                "[Presets]\nCurrent=2\nList=2,\nStation02=M 088.100 Classic\n");
    {
        QFile db(r.dir.path() + "/Tunevox.db");
        ASSERT_TRUE(db.open(QIODevice::WriteOnly));
        db.write("[Archive]\nRows=1\nRow1=2 1 0 M 096.100 Public Radio\n");
    }
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        auto& organizer = dynamic_cast<organizer::tdOrganizer&>(d);
        const archive::tArchiveNode* station = organizer.Session().Archive().Root().Child(0);
        organizer.Select(station);
        EXPECT_TRUE(organizer.Presets->Drop({96.1, bFM, "Public Radio"}, 9));
        return int(QDialog::Rejected);
    });
    w.KeyPress('o');
    ASSERT_EQ(r.ui.dialogsShown, QStringList{"tdOrganizer"});
    EXPECT_EQ(r.Set().CurrentFavorite(), 9);
    EXPECT_NE(w.Action("m09"), nullptr);
    EXPECT_EQ(w.windowTitle(), "Tunevox - 96.1 MHz (Public Radio)");
    EXPECT_TRUE(r.rig->EmulatedReceiver()->audioOn) << "heard again after the organizer";
}

TEST(MainDialogs, ThePresetsEditorOpensOnlyWithFavoritesAndOkHandsItsBankBack) {
    WindowRig empty("[Configuration]\nHardware=1\nPort=1\n");
    ASSERT_TRUE(empty.Start());
    empty.W().KeyPress('e');
    EXPECT_TRUE(empty.ui.dialogsShown.isEmpty()) << "nothing to edit";

    WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Presets]\nCurrent=2\nList=2,\nStation02=M 088.100 Classic\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        auto& editor = dynamic_cast<presets::tdEditFavorites&>(d);
        EXPECT_EQ(editor.windowTitle(), "Edit presets - Internal");
        editor.SelectSlot(2);
        editor.StationNameChange("Classic FM");
        editor.SelectSlot(5);
        editor.StationNameChange("New one"); // an empty slot becomes FM 87.0
        editor.btOk->click();
        return editor.result();
    });
    w.KeyPress('e');
    ASSERT_EQ(r.ui.dialogsShown, QStringList{"tdEditFavorites"});
    EXPECT_EQ(r.Set().Favorites()[2].Name, "Classic FM");
    EXPECT_TRUE(r.Set().Favorites()[5].Used);
    EXPECT_EQ(r.Set().CurrentFavorite(), 2);
    EXPECT_EQ(w.Action("m02")->text(), "Classic FM");
    EXPECT_EQ(w.windowTitle(), "Tunevox - 88.1 MHz (Classic FM)");
}

} // namespace
} // namespace tunevox::app::test
