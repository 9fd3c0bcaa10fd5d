// The windows opened from the main window, as the window uses them: the
// settings applied to a running radio, the first run, the clock with the
// alarm, the sleep timer, the jump dialog and the tip of the day.

#include "app/window/window_fixture.h"

#include "app/dialogs/alarm_dialog.h"
#include "app/dialogs/jump_dialog.h"
#include "app/dialogs/snooze_dialog.h"
#include "periphery/tip_of_the_day.h"
#include "radio/radio_card.h"
#include "setup/setup_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
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
    EXPECT_DOUBLE_EQ(w.FMTuneStep(), 0.2);

    // A port change alone is not taken over; the step returns to one card step.
    r.ui.dialogAnswers.push_back(Settings([](setup::tdSetup& d) {
        d.findChild<QRadioButton*>("AlternateAddr")->setChecked(true);
        d.AlternateAddr();
    }));
    w.Options_Settings();
    EXPECT_EQ(r.Card().Port(), 1);
    EXPECT_DOUBLE_EQ(w.FMTuneStep(), 0.025);
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
    EXPECT_EQ(w.Config().Hardware, 8);
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
    EXPECT_EQ(w.Config().VolumeLine, radio::vlLineIn);
    EXPECT_FALSE(w.MuteState());
    r.DrainEvents();
    EXPECT_TRUE(w.Action("msVolume_Up")->isEnabled() || r.Card().Volume() == r.Card().MaxVolume());
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
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 87.0);
    r.W().Config().ShutDown = 1;
    r.W().close();
    EXPECT_NE(r.ReadIni().find("Hardware=7"), std::string::npos);
}

TEST(MainClock, TheAlarmComparesHourAndMinuteEachByItself) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=M 087.000\n"
                "[Presets]\nList=9,\nStation09=M 098.700 Radio One\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    auto setAlarm = [&](int hour, int minute, int setAtHour, int setAtMinute) {
        r.clock.now.setTime(QTime(setAtHour, setAtMinute));
        r.ui.dialogAnswers.push_back([hour, minute](QDialog& d) {
            auto& a = dynamic_cast<tdAlarm&>(d);
            a.HH->setValue(hour);
            a.MM->setValue(minute);
            return int(QDialog::Accepted);
        });
        w.Actions_Alarm();
        EXPECT_TRUE(w.AlarmOn());
    };
    auto tickAt = [&](int h, int m) {
        r.clock.now.setTime(QTime(h, m));
        w.ClockTimer();
    };
    // 23:59 set at 23:00: rings at 23:59 and is then off.
    setAlarm(23, 59, 23, 0);
    EXPECT_TRUE(w.Action("msActions_Alarm")->isChecked());
    tickAt(23, 58);
    EXPECT_TRUE(w.AlarmOn());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 87.0);
    tickAt(23, 59);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    EXPECT_EQ(w.CurrentFavorite(), 9);
    EXPECT_FALSE(w.AlarmOn());
    EXPECT_FALSE(w.Action("tsmActions_Alarm")->isChecked());

    // 00:15 set at 23:30: the next tick switches it off without ringing.
    w.GoToFrequency(bFM, false, 90.0);
    setAlarm(0, 15, 23, 30);
    tickAt(23, 30);
    EXPECT_FALSE(w.AlarmOn());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 90.0);

    // 07:30 set at 08:10 waits until 08:30 and ends there, silent.
    setAlarm(7, 30, 8, 10);
    tickAt(8, 10);
    EXPECT_TRUE(w.AlarmOn());
    tickAt(8, 30);
    EXPECT_FALSE(w.AlarmOn());
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 90.0);

    // 07:30 set at 06:45 rings at 07:30 and is off in that tick.
    setAlarm(7, 30, 6, 45);
    tickAt(7, 29);
    EXPECT_TRUE(w.AlarmOn());
    tickAt(7, 30);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 98.7);
    EXPECT_FALSE(w.AlarmOn());
    // The dialog opened with the stored time.
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        auto& a = dynamic_cast<tdAlarm&>(d);
        EXPECT_EQ(a.Hour(), 7);
        EXPECT_EQ(a.Minute(), 30);
        return int(QDialog::Rejected);
    });
    w.Actions_Alarm();
    EXPECT_FALSE(w.AlarmOn()) << "Cancel leaves the alarm off";

    // Without favorites the alarm cannot be set.
    WindowRig e("[Configuration]\nHardware=1\nPort=1\n");
    ASSERT_TRUE(e.Start());
    e.W().Actions_Alarm();
    ASSERT_EQ(e.ui.boxes.size(), 1u);
    EXPECT_EQ(e.ui.boxes[0].text, "Presets aren't defined");
    EXPECT_FALSE(e.W().AlarmOn());
}

TEST(MainClock, SleepMutesTheRadioAndRestartsAfterADialog) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\nHideMainForm=0\n[Audio]\nVolume=128\n[Frequency]\nFrequency=M 098.700\n"
                "[Alarm]\nStation=1\nTime=07:15\n[Configuration]\nLaunchAlarm=1\n"
                "[Presets]\nList=1,\nStation01=M 098.700 Radio One\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    EXPECT_TRUE(w.AlarmOn()) << "armed at start: the favorite is receivable";
    auto* sleep = w.findChild<QTimer*>("TSleep");
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        auto& s = dynamic_cast<tdSnooze&>(d);
        s.sMinutes->setValue(15);
        return int(QDialog::Accepted);
    });
    w.Actions_Sleep();
    EXPECT_TRUE(w.SleepOn());
    EXPECT_TRUE(sleep->isActive());
    EXPECT_EQ(sleep->interval(), 15 * 60000);
    EXPECT_TRUE(w.Action("msActions_Sleep")->isChecked());
    const int remainingBefore = sleep->remainingTime();

    // Another dialog stops the timer; afterwards it runs from its full length.
    bool stoppedDuring = false;
    r.ui.duringDialog = [&] { stoppedDuring = !sleep->isActive(); };
    r.ui.dialogAnswers.push_back(CancelDialog());
    w.Actions_Jump();
    r.ui.duringDialog = nullptr;
    EXPECT_TRUE(stoppedDuring);
    EXPECT_TRUE(sleep->isActive());
    EXPECT_GE(sleep->remainingTime(), remainingBefore - 50);

    // In programming mode the expiry waits for another interval.
    w.SetProgramming(true);
    w.TSleepTimer();
    EXPECT_TRUE(w.SleepOn());
    EXPECT_FALSE(r.Card().Muted());
    w.SetProgramming(false);
    w.TSleepTimer();
    EXPECT_FALSE(w.SleepOn());
    EXPECT_TRUE(w.MuteState());
    EXPECT_TRUE(r.Card().Muted());
    EXPECT_FALSE(r.rig->EmulatedReceiver()->audioOn);
    EXPECT_FALSE(sleep->isActive());
    EXPECT_TRUE(w.isEnabled()) << "sleep mutes, the program goes on";

    // The next sleep dialog opens with the minutes chosen before.
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        EXPECT_EQ(dynamic_cast<tdSnooze&>(d).Minutes(), 15);
        return int(QDialog::Rejected);
    });
    w.Actions_Sleep();
    EXPECT_FALSE(w.SleepOn());
}

TEST(MainDialogs, JumpTunesOnOkAndTheTipOfTheDayGreetsAtStart) {
    WindowRig r("[Configuration]\nHardware=4\nPort=2\n[Frequency]\nFrequency=M 098.700\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    r.ui.dialogAnswers.push_back([](QDialog& d) {
        auto& j = dynamic_cast<tdJumpTo&>(d);
        j.btAM->click();
        j.Freq->setText("693");
        return int(QDialog::Accepted);
    });
    w.Actions_Jump();
    EXPECT_EQ(r.Card().Band(), bAM);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 0.693);
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
    EXPECT_FALSE(t.W().Config().TipOfTheDay);
}

} // namespace
} // namespace tunevox::app::test
