// tdMain: the command table behind keys, menus and tray icon; the dialog
// protocol; showing, hiding and minimizing; layouts, colours and glyphs.

#include "app/window/main_window.h"

#include "radioset/commands.h"
#include "app/window/help_window.h"
#include "app/window/layouts.h"
#include "app/window/tray_icon.h"
#include "widgets/glyph_button.h"
#include "widgets/group_frame.h"
#include "display/palette.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "display/tdisplay.h"
#include "radio/radio_card.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

namespace tunevox::app {

namespace {

using Handler = void (tdMain::*)();

// Ordinal -> handler; null where the command's window is not part of the
// program yet (its key then does nothing, like its disabled menu item).
Handler CommandHandler(tCommand command) {
    switch (command) {
    case cmVolumeUp: return &tdMain::Volume_Up;
    case cmVolumeDown: return &tdMain::Volume_Down;
    case cmVolumeTo0: return &tdMain::Volume_0;
    case cmMuteOnOff: return &tdMain::Volume_Mute;
    case cmDecFreq: return &tdMain::Actions_TunePrev;
    case cmIncFreq: return &tdMain::Actions_TuneNext;
    case cmDecStep: return &tdMain::Actions_StepDec;
    case cmIncStep: return &tdMain::Actions_StepInc;
    case cmScanLeft: return &tdMain::Actions_ScanPrev;
    case cmScanRight: return &tdMain::Actions_ScanNext;
    case cmStopScan: return &tdMain::Actions_StopScan;
    case cmExit: return &tdMain::File_Exit;
    case cmOnTop: return &tdMain::Display_AlwaysOnTop;
    case cmStereo: return &tdMain::Actions_Stereo;
    case cmClear: return &tdMain::Stations_Clear;
    case cmClearAll: return &tdMain::Stations_ClearAll;
    case cmMemory: return &tdMain::Stations_Memory;
    case cmRename: return &tdMain::Stations_Rename;
    case cmLoadPresets: return &tdMain::File_LoadPresets;
    case cmHelp: return &tdMain::Help_Topics;
    case cmAbout: return &tdMain::Help_About;
    case cmSetup: return &tdMain::Options_Settings;
    case cmJump: return &tdMain::Actions_Jump;
    case cmAlarmOnOff: return &tdMain::Actions_Alarm;
    case cmSleepOnOff: return &tdMain::Actions_Sleep;
    case cmMixer: return &tdMain::Volume_Mixer;
    case cmSignalStrenght: return &tdMain::Options_SetSignalStrenght;
    default: return nullptr;
    }
}

int ModeOfCommand(tCommand command) {
    switch (command) {
    case cmComplete: return dmComplete;
    case cmMinimal: return dmMinimal;
    case cmMinimalTuner: return dmMinTuner;
    case cmMinimalFavs: return dmMinPresets;
    case cmMinimalVolBtn: return dmMinVolBtn;
    case cmMinimalVolBtnPre: return dmMinVolBtnPre;
    default: return -1;
    }
}

} // namespace

void tdMain::KeyPress(QChar key) {
    if (key.isNull()) return;
    const QChar upper = key.toUpper();
    if (upper.unicode() > 0x7F) return;
    if (auto command = CommandForKey(config_.KeyboardCommands, static_cast<char>(upper.unicode())))
        RunCommand(*command);
}

void tdMain::RunCommand(tCommand command) {
    if (const int mode = ModeOfCommand(command); mode >= 0) {
        config_.DisplayType = mode;
        ApplyLayout();
        return;
    }
    if (Handler h = CommandHandler(command)) (this->*h)();
}

int tdMain::RunDialog(const std::function<int()>& show) {
    std::array<QTimer*, 4> timers{Clock, Test, Beeper, TSleep};
    std::array<bool, 4> running{};
    for (size_t i = 0; i < timers.size(); ++i) {
        running[i] = timers[i]->isActive();
        timers[i]->stop();
    }
    modalOpen_ = true;
    tray_->SetMenu(TrayMenuAlt);
    const bool hide = config_.HideMainForm && !minimized_;
    if (hide) Do_Hide();
    const int result = show();
    if (hide) Do_Show();
    tray_->SetMenu(TrayMenu);
    modalOpen_ = false;
    for (size_t i = 0; i < timers.size(); ++i)
        if (running[i]) timers[i]->start();
    return result;
}

void tdMain::File_Exit() {
    stopRequested_ = true;
    // Closing from inside a seek waits until the loop has let go.
    if (scanning_) {
        QTimer::singleShot(0, this, &tdMain::File_Exit);
        return;
    }
    close();
}

void tdMain::TrayIconClick() {
    if (modalOpen_ || !card_.Caps().HasMute) return;
    muteState_ = !muteState_;
    GuardAudio([&] {
        if (muteState_) card_.MuteOn();
        else card_.MuteOff();
    });
    ShowMuteState();
}

void tdMain::TrayIconDblClick() {
    if (modalOpen_) return;
    if (minimized_) Do_Show();
    else Do_Hide();
}

void tdMain::Do_Show() {
    minimized_ = false;
    if (tray_->Visible()) show();
    showNormal();
    raise();
    activateWindow();
    if (QAction* a = Action("tsmDo_Show")) a->setEnabled(false);
    if (QAction* a = Action("tsmDo_Hide")) a->setEnabled(true);
}

void tdMain::Do_Hide() {
    minimized_ = true;
    // With a tray icon the window leaves the task bar; without one it is
    // only minimized, so the user can always get it back.
    if (tray_->Visible()) hide();
    else showMinimized();
    if (QAction* a = Action("tsmDo_Show")) a->setEnabled(true);
    if (QAction* a = Action("tsmDo_Hide")) a->setEnabled(false);
}

void tdMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized() && !minimized_) Do_Hide();
    }
    QMainWindow::changeEvent(event);
}

void tdMain::Display_AlwaysOnTop() {
    config_.AlwaysOnTop = !config_.AlwaysOnTop;
    for (const char* name : {"msDisplay_AlwaysOnTop", "tsmDisplay_AlwaysOnTop"})
        Action(name)->setChecked(config_.AlwaysOnTop);
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, config_.AlwaysOnTop);
    if (visible) show();
}

void tdMain::ApplyLayout() {
    if (config_.DisplayType < 0 || config_.DisplayType >= kDisplayModeCount) config_.DisplayType = 0;
    const tLayoutTemplate t = LayoutTemplate(config_.DisplayType);
    auto place = [](QWidget* w, const std::optional<QRect>& at) {
        w->setVisible(at.has_value());
        w->setEnabled(at.has_value());
        if (at) w->setGeometry(*at);
    };
    place(gpVolume, t.volume);
    place(gpPresets, t.presets);
    place(gpTuner, t.tuner);
    for (TGlyphButton* b : {btMute, btAlarm, btSleep, btProg, OnOff, btClr, btMem, btStr}) {
        b->setVisible(t.buttons);
    }
    for (TGlyphButton* b : {btMute, OnOff, btClr, btMem, btStr}) b->setEnabled(t.buttons);
    if (t.buttons) {
        btStr->setEnabled(card_.Caps().HasStereo);
        btMute->setEnabled(card_.Caps().HasMute);
    }
    if (t.volume) EnableVolumeGroup();

    centralWidget()->setFixedSize(t.client);
    const int menuHeight = menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
    setFixedSize(t.client.width(), t.client.height() + menuHeight);

    const char* names[] = {"Display_Complete",  "Display_Minimal",   "Display_MinTuner",
                           "Display_MinPresets", "Display_MinVolBtn", "Display_MinVolBtnPre"};
    for (int mode = 0; mode < kDisplayModeCount; ++mode)
        for (const char* p : {"ms", "tsm"})
            Action(p + QString(names[mode]))->setChecked(mode == config_.DisplayType);
}

void tdMain::ApplyColors() {
    panel_->ApplyColors({config_.Background, config_.Foreground, config_.Style, config_.ColorPanel, config_.ColorText,
                         config_.ColorFlag});
    ShowTunedStatus(lastStatus_);
    muteState_ = card_.Muted();
    ShowMuteState();
    SetIndicator(panel_->icAlarmOnOff, "ALARM", alarmOn_);
    SetIndicator(panel_->icSleepOnOff, "SLEEP", sleepOn_);
    SetIndicator(panel_->icProgOnOff, "PROG", programming_);
    UpdateButtonGlyphs(false);
}

void tdMain::UpdateButtonGlyphs(bool withFavorites) {
    const QString g = QString::number(config_.ColorGenericButton);
    auto glyph = [&](TGlyphButton* b, bool on) { b->SetGlyph(display::PictureTransparent("BT" + g + (on ? "ON" : "OFF"))); };
    glyph(OnOff, false);
    glyph(btClr, clrArmed_);
    glyph(btMem, memArmed_);
    glyph(btStr, stereoWanted_);
    glyph(btMute, muteState_ || SilentByVolume());
    glyph(btSleep, sleepOn_);
    glyph(btProg, programming_);
    glyph(btAlarm, alarmOn_);
    for (const char* name : {"msActions_Stereo", "tsmActions_Stereo"}) Action(name)->setChecked(stereoWanted_);
    if (withFavorites) ShowFavoritesRow(favoritesRow_);
}

void tdMain::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty() && event->modifiers() == Qt::NoModifier) {
        KeyPress(event->text().at(0));
        return;
    }
    if (!event->text().isEmpty() && event->modifiers() == Qt::ShiftModifier) {
        KeyPress(event->text().at(0));
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool tdMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LScan && event->type() == QEvent::MouseButtonDblClick) {
        Options_SetSignalStrenght();
        return true;
    }
    // The sliders and favorite buttons hand typed characters to the command
    // keys instead of moving by them; arrows and page keys still move them.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() &&
            (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0) {
            KeyPress(text.at(0));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tunevox::app

namespace tunevox::app {

void tdMain::Help_Topics() { ShowHelp("Welcome"); }

void tdMain::ShowHelp(const QString& topic) {
    if (!help_) help_ = new THelpWindow(this);
    help_->ShowTopic(QString::fromStdString(options_.files.HelpPath()), topic);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

} // namespace tunevox::app
