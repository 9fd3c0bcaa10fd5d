// tdMain: the windows opened from the main window (settings, jump, alarm,
// sleep, tip of the day, about) and what happens when they close; the clock
// tick, the alarm and the sleep timer.

#include "app/window/main_window.h"

#include "app/dialogs/alarm_dialog.h"
#include "app/dialogs/jump_dialog.h"
#include "app/dialogs/snooze_dialog.h"
#include "app/window/tray_icon.h"
#include "widgets/glyph_button.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "periphery/about_box.h"
#include "periphery/tip_of_the_day.h"
#include "radio/radio_card.h"
#include "setup/setup_dialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTimer>

#ifndef TUNEVOX_VERSION
#define TUNEVOX_VERSION "0"
#endif

namespace tunevox::app {

using radio::bAM;
using radio::bFM;

namespace {

bool AnyFavorite(const tFavorites& bank) {
    for (int n = 1; n <= kFavoriteCount; ++n)
        if (bank[n].Used) return true;
    return false;
}

} // namespace

// --- settings ---

setup::tSetupEnvironment tdMain::SetupEnvironment(bool firstRun) {
    setup::tSetupEnvironment env;
    setup::TakeCardCapabilities(env, card_);
    env.portAccess = [this](radio::tModel model, int port, std::string* reason) {
        return host_.PortAccessAvailable(model, port, reason);
    };
    env.comPortFree = [this](int com) { return host_.ComPortFree(com); };
    env.comDevicePath = [this](int com) { return host_.ComDevicePath(com); };
    env.showHelp = [this](const QString& topic) { ShowHelp(topic); };
    env.emulated = host_.Emulated();
    env.firstRun = firstRun;
    return env;
}

bool tdMain::RunSettingsDialog(tConfiguration& config, bool firstRun) {
    setup::tdSetup dialog(config, SetupEnvironment(firstRun), this);
    const int result = ui_.RunModal(dialog);
    if (result != QDialog::Accepted || !dialog.OkPressed()) return false;
    config = dialog.Result();
    return true;
}

void tdMain::Options_Settings() {
    if (scanning_) return;
    tConfiguration edited = config_;
    bool ok = false;
    RunDialog([&] {
        ok = RunSetupDialog ? RunSetupDialog(edited) : RunSettingsDialog(edited, false);
        return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    if (ok) ApplySettings(edited);
}

void tdMain::ApplySettings(const tConfiguration& next) {
    const int volumeBefore = card_.Volume();
    card_.SetMutedStartup(false);

    // A new model or port: the card is closed and opened again there.
    const radio::tModel model = next.Model();
    const radio::tDevCap caps = card_.GetCaps(model);
    const int port = next.Port >= 1 && next.Port <= caps.PortCount ? next.Port : caps.DefaultPort;
    if (model != card_.Model() || port != card_.Port()) {
        GuardAudio([&] { card_.Close(); });
        card_.SetModel(model);
        card_.SetPort(port);
        // Another model starts as at start-up: in stereo unless forced off
        // (a card without a stereo switch had answered "no stereo").
        card_.SetStereo(!next.ForceStereoOff);
        stereoWanted_ = card_.Stereo();
        OpenCard();
        if (caps.OpenDelay) host_.Wait(600);
    }

    if (next.JapaneseFM != card_.JapaneseFM()) {
        card_.SetJapaneseFM(next.JapaneseFM);
        config_.JapaneseFM = next.JapaneseFM;
        SetSliderRanges();
        SetBandScale(card_.Band());
        if (card_.Band() == bFM) GoToFrequency(bFM, false, card_.FMMin());
    }

    if (next.VolumeLine != card_.VolumeLine()) {
        try {
            card_.SetVolumeLine(next.VolumeLine);
        } catch (const std::exception&) {
            card_.SetVolumeLine(radio::vlNative);
        }
        GuardAudio([&] {
            if (card_.VolumeLine() >= radio::vlLineIn) card_.MuteOff();
            else if (card_.VolumeLine() == radio::vlNative) card_.NativeUnmute();
            card_.ApplyVolume(volumeBefore);
            // The slider and the mute indicator follow the line as it is.
            card_.ReadMixerLine();
        });
        muteState_ = card_.Muted();
    }

    fmTuneStep_ = card_.Caps().FMStep;
    const int current = currentFavorite_;
    config_ = next;
    config_.Port = port;
    config_.VolumeLine = card_.VolumeLine();
    SetBandScale(card_.Band());
    SetSliderRanges();
    if (current) SelectFavorite(current, true);
    else GoToFrequency(card_.Band(), false, card_.Frequency());
    RefreshAfterCardChange();
    ApplyLayout();

    tray_->SetDoubleClickTime(config_.DoubleClick);
    Test->stop();
    if (config_.CheckIfTuned) Test->start(std::max(1, config_.CheckIfTunedSec) * 1000);
    ApplyColors();
    UpdateButtonGlyphs(true);
    EnableFavoriteMenuItems();
}

// --- jump ---

void tdMain::Actions_Jump() {
    if (scanning_) return;
    tJumpInput in;
    const radio::tDevCap& caps = card_.Caps();
    in.hasFM = caps.HasFM;
    in.hasAM = caps.HasAM;
    in.fmMin = card_.FMMin();
    in.fmMax = card_.FMMax();
    in.fmStep = caps.FMStep;
    in.amStep = caps.AMStep;
    in.band = card_.Band();
    in.frequency = card_.Frequency();
    in.lastFM = card_.LastFMFrequency();
    in.lastAM = card_.LastAMFrequency();
    tdJumpTo dialog(in, [this](const QString& topic) { ShowHelp(topic); }, this);
    if (RunDialog([&] { return ui_.RunModal(dialog); }) != QDialog::Accepted) return;
    GoToFrequency(dialog.Band(), false, dialog.Frequency());
}

// --- clock, alarm, sleep ---

void tdMain::ClockTimer() {
    const QDateTime now = clock_.Now();
    panel_->HHMMSS->setText(QLocale().toString(now.time(), QLocale::LongFormat));
    if (programming_) return; // the script runner owns the minute then
    const int h = now.time().hour();
    const int m = now.time().minute();
    if (alarmOn_ && config_.AlarmStation != 0 && h == config_.AlarmHour && m == config_.AlarmMinute)
        SelectFavorite(config_.AlarmStation, true);
    // Hour and minute are compared each by itself: an alarm whose hour and
    // minute have both been reached is over, whether it rang or not.
    if (alarmOn_ && h >= config_.AlarmHour && m >= config_.AlarmMinute) {
        alarmOn_ = false;
        ShowAlarmState();
    }
}

void tdMain::Actions_Alarm() {
    if (scanning_) return;
    if (!AnyFavorite(favorites_)) {
        RunDialog([&] {
            ui_.MessageBox(this, "Warning", "Presets aren't defined", tMsgIcon::Error, tMsgButtons::Ok);
            return 0;
        });
        return;
    }
    if (alarmOn_) {
        alarmOn_ = false;
    } else {
        tdAlarm dialog(config_.AlarmHour, config_.AlarmMinute, config_.AlarmStation, favorites_, card_.Caps().HasAM,
                       card_.Caps().HasFM, card_.FMMin(), card_.FMMax(), currentFavorite_,
                       [this](const QString& topic) { ShowHelp(topic); }, this);
        if (RunDialog([&] { return ui_.RunModal(dialog); }) == QDialog::Accepted) {
            config_.AlarmHour = dialog.Hour();
            config_.AlarmMinute = dialog.Minute();
            config_.AlarmStation = dialog.Favorite();
            alarmOn_ = true;
        }
    }
    ShowAlarmState();
}

void tdMain::Actions_Sleep() {
    if (scanning_) return;
    if (sleepOn_) {
        sleepOn_ = false;
        TSleep->stop();
    } else {
        tdSnooze dialog(sleepMinutes_, [this](const QString& topic) { ShowHelp(topic); }, this);
        bool ok = false;
        RunDialog([&] {
            ok = ui_.RunModal(dialog) == QDialog::Accepted;
            if (ok) {
                sleepMinutes_ = dialog.Minutes();
                TSleep->setInterval(sleepMinutes_ * 60000);
                TSleep->start();
                sleepOn_ = true;
            }
            return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        // The protocol gave the timer back the state it had before the
        // dialog; a sleep just set must run.
        if (ok) TSleep->start();
    }
    ShowSleepState();
}

void tdMain::TSleepTimer() {
    if (programming_) return; // fires again after another full interval
    muteState_ = true;
    GuardAudio([&] { card_.MuteOn(); });
    ShowMuteState();
    sleepOn_ = false;
    TSleep->stop();
    ShowSleepState();
}

void tdMain::ShowAlarmState() {
    SetIndicator(panel_->icAlarmOnOff, "ALARM", alarmOn_);
    UpdateButtonGlyphs(false);
    for (const char* name : {"msActions_Alarm", "tsmActions_Alarm"}) Action(name)->setChecked(alarmOn_);
}

void tdMain::ShowSleepState() {
    SetIndicator(panel_->icSleepOnOff, "SLEEP", sleepOn_);
    UpdateButtonGlyphs(false);
    for (const char* name : {"msActions_Sleep", "tsmActions_Sleep"}) Action(name)->setChecked(sleepOn_);
}

void tdMain::ArmAlarmAtStart() {
    alarmOn_ = false;
    const int n = config_.AlarmStation;
    if (config_.LaunchAlarm && n >= 1 && n <= kFavoriteCount && favorites_[n].Used)
        alarmOn_ = AlarmCanReceive(favorites_[n], card_.Caps().HasAM, card_.Caps().HasFM, card_.FMMin(),
                                   card_.FMMax());
    ShowAlarmState();
}

// --- tip of the day, about ---

void tdMain::ShowTipOfTheDay() {
    periphery::TTipOfTheDayDlg tips(TipRandom);
    tips.SetTipFile(QString::fromStdString(options_.files.TipsPath()));
    tips.SetShowOnStart(true);
    tips.SetOnShutdown([this] {
        // The session ends while the tip is up: close the card, save nothing.
        GuardAudio([&] { card_.Close(); });
        configRead_ = false;
    });
    tips.Execute(this, [this](QDialog& d) { return ui_.RunModal(d); });
    config_.TipOfTheDay = tips.ShowOnStart();
}

void tdMain::Help_About() {
    if (scanning_) return;
    periphery::TAboutBox about(TUNEVOX_VERSION, display::AppIcon(false), this);
    RunDialog([&] { return ui_.RunModal(about); });
}

} // namespace tunevox::app
