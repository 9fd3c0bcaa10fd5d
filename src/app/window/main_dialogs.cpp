// tdMain: the windows opened from the main window (settings, jump, alarm,
// sleep, the scanner, the organizer, the presets editor, tip of the day,
// about) and the clock shown on the panel.

#include "app/window/main_window.h"

#include "app/dialogs/alarm_dialog.h"
#include "app/dialogs/jump_dialog.h"
#include "app/dialogs/snooze_dialog.h"
#include "app/window/clock_format.h"
#include "app/window/tray_icon.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "periphery/about_box.h"
#include "periphery/tip_of_the_day.h"
#include "platform/port_io.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "organizer/organizer_dialog.h"
#include "presets/edit_favorites_dialog.h"
#include "scanner/scanner_dialog.h"
#include "setup/setup_dialog.h"

#include <QLocale>
#include <QTime>

#ifndef TUNEVOX_VERSION
#define TUNEVOX_VERSION "0"
#endif

namespace tunevox::app {

using namespace radioset;

// --- settings ---

bool tdMain::RunSettingsDialog(tConfiguration& config, bool firstRun) {
    setup::tSetupEnvironment env;
    setup::TakeCardCapabilities(env, set_.Card());
    ICardHost& host = set_.Host();
    env.portAccess = [&host](radio::tModel model, int port, platform::tPortAccessError* why) {
        return host.PortAccessAvailable(model, port, why);
    };
    env.comPortFree = [&host](int com) { return host.ComPortFree(com); };
    env.comDevicePath = [&host](int com) { return host.ComDevicePath(com); };
    env.radioDevices = host.RadioDevices();
    env.showHelp = [this](const QString& topic) { ShowHelp(topic); };
    env.emulated = host.Emulated();
    env.firstRun = firstRun;
    setup::tdSetup dialog(config, std::move(env), this);
    const int result = ui_.RunModal(dialog);
    if (result != QDialog::Accepted || !dialog.OkPressed()) return false;
    config = dialog.Result();
    return true;
}

void tdMain::Options_Settings() {
    tConfiguration edited = set_.Config();
    bool ok = false;
    RunDialog([&] {
        ok = RunSetupDialog ? RunSetupDialog(edited) : RunSettingsDialog(edited, false);
        return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    if (!ok) return;
    set_.ApplySettings(edited);
    ApplyLayout();
    tray_->SetDoubleClickTime(set_.Config().DoubleClick);
    ApplyColors();
}

// --- the scanner ---

void tdMain::Stations_Scanner() {
    // The card tells whether a station is there on FM only.
    if (set_.Card().Band() != radio::bFM) return;
    RunDialog([&] {
        set_.BeginBankWindow();
        scanner::tdScanner dialog(set_, ui_, [this](const QString& topic) { ShowHelp(topic); }, this);
        const int result = ui_.RunModal(dialog);
        const scanner::TScanSession& kept = dialog.Session();
        set_.EndBankWindow(result == QDialog::Accepted ? &kept.Bank() : nullptr, kept.Current());
        return result;
    });
}

// --- the organizer ---

void tdMain::Stations_Organize() {
    RunDialog([&] {
        set_.BeginBankWindow();
        organizer::tdOrganizer dialog(set_, ui_, [this](const QString& topic) { ShowHelp(topic); }, this);
        const int result = ui_.RunModal(dialog);
        // Its favorites are the radio set's already, whichever way it closed.
        set_.EndBankWindow(nullptr, 0);
        return result;
    });
}

// --- the presets editor ---

void tdMain::Stations_EditPresets() {
    if (!set_.AnyFavorite()) return;
    bool ok = false;
    RunDialog([&] {
        set_.BeginBankWindow();
        presets::tdEditFavorites dialog(set_, ui_, [this](const QString& topic) { ShowHelp(topic); }, this);
        const int result = ui_.RunModal(dialog);
        ok = dialog.OkPressed();
        if (ok) set_.SetPresetsFile(dialog.FileName());
        set_.EndBankWindow(ok ? &dialog.Bank() : nullptr, dialog.Current());
        return result;
    });
    if (ok) ShowPresetsFile();
}

// --- jump ---

void tdMain::Actions_Jump() {
    const radio::TRadioCard& card = set_.Card();
    tJumpInput in;
    in.hasFM = card.Caps().HasFM;
    in.hasAM = card.Caps().HasAM;
    in.fmMin = card.FMMin();
    in.fmMax = card.FMMax();
    in.fmStep = card.Caps().FMStep;
    in.amStep = card.Caps().AMStep;
    in.band = card.Band();
    in.frequency = card.Frequency();
    tdJumpTo dialog(in, [this](const QString& topic) { ShowHelp(topic); }, this);
    RunDialog([&] {
        const int result = ui_.RunModal(dialog);
        // Tuned before the window, the tray menu and the timers come back.
        if (result == QDialog::Accepted) set_.GoToFrequency(dialog.Band(), false, dialog.Frequency());
        return result;
    });
}

// --- alarm, sleep ---

void tdMain::Actions_Alarm() {
    if (!set_.AnyFavorite()) {
        // Only the timers stand still for this box; the window stays.
        set_.PauseTimers();
        ui_.MessageBox(this, "Warning", "Presets aren't defined", widgets::tMsgIcon::Error, widgets::tMsgButtons::Ok);
        set_.ResumeTimers();
        return;
    }
    if (set_.AlarmOn()) {
        set_.SwitchAlarmOff();
        return;
    }
    const radio::TRadioCard& card = set_.Card();
    const tConfiguration& c = set_.Config();
    tdAlarm dialog(c.AlarmHour, c.AlarmMinute, c.AlarmStation, set_.Favorites(), card.Caps().HasAM,
                   card.Caps().HasFM, card.FMMin(), card.FMMax(), set_.CurrentFavorite(),
                   [this](const QString& topic) { ShowHelp(topic); }, this);
    RunDialog([&] {
        const int result = ui_.RunModal(dialog);
        if (result == QDialog::Accepted) set_.SetAlarm(dialog.Hour(), dialog.Minute(), dialog.Favorite());
        return result;
    });
}

void tdMain::Actions_Sleep() {
    if (set_.SleepOn()) {
        set_.SwitchSleepOff();
        return;
    }
    tdSnooze dialog(set_.SleepMinutes(), [this](const QString& topic) { ShowHelp(topic); }, this);
    // Started once the dialog protocol has given the timers back: a sleep
    // just set runs from its full interval.
    if (RunDialog([&] { return ui_.RunModal(dialog); }) == QDialog::Accepted) set_.StartSleep(dialog.Minutes());
}

void tdMain::ShowTime(const tTimeOfDay& now) {
    panel_->ShowTime(QLocale().toString(QTime(now.hour, now.minute, now.second), ClockFormat(QLocale())));
}

// --- tip of the day, about ---

void tdMain::ShowTipOfTheDay() {
    periphery::TTipOfTheDayDlg tips(TipRandom);
    tips.SetTipFile(QString::fromStdString(set_.Files().TipsPath()));
    tips.SetShowOnStart(true);
    tips.SetOnShutdown([this] {
        // The session ends while the tip is up: close the card, save nothing.
        set_.CloseCard();
        started_ = false;
    });
    tips.Execute(this, [this](QDialog& d) { return ui_.RunModal(d); });
    set_.WindowConfig().TipOfTheDay = tips.ShowOnStart();
}

void tdMain::Help_About() {
    periphery::TAboutBox about(TUNEVOX_VERSION, display::AppIcon(false), this);
    RunDialog([&] { return ui_.RunModal(about); });
}

// --- problems ---

void tdMain::ReportProblem(const std::string& text) {
    ui_.MessageBox(this, "Warning", QString::fromStdString(text), widgets::tMsgIcon::Error, widgets::tMsgButtons::Ok);
}

} // namespace tunevox::app
