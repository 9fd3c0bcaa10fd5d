// tdMain: the command table's dispatch behind keys, menus, buttons and the
// tray icon; the commands' states on items and buttons; the dialog
// protocol; showing, hiding and minimizing; layouts, colours and glyphs.

#include "app/window/main_window.h"

#include "app/window/help_window.h"
#include "app/window/layouts.h"
#include "app/window/tray_icon.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "widgets/glyph_button.h"
#include "widgets/group_frame.h"
#include "widgets/spin_button.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>

namespace tunevox::app {

using namespace radioset;
using widgets::TGlyphButton;

namespace {

constexpr tItem kModeItems[kDisplayModeCount] = {iDisplay_Complete,  iDisplay_Minimal,   iDisplay_MinTuner,
                                                 iDisplay_MinPresets, iDisplay_MinVolBtn, iDisplay_MinVolBtnPre};

// The character a key press gives a command key, if any: a printable
// character typed alone, with Shift, or on the numeric keypad.
QChar CommandCharacter(const QKeyEvent& key) {
    const QString text = key.text();
    if (text.isEmpty() || !text.at(0).isPrint()) return {};
    if ((key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != 0) return {};
    return text.at(0);
}

} // namespace

// --- commands ---

void tdMain::KeyPress(QChar key) {
    if (key.isNull()) return;
    const QChar upper = key.toUpper();
    if (upper.unicode() > 0x7F) return;
    if (auto command = CommandForKey(set_.Config().KeyboardCommands, static_cast<char>(upper.unicode())))
        RunCommand(*command);
}

void tdMain::RunCommand(tCommand command) {
    if (auto item = ItemOfCommand(command)) RunItem(*item);
}

void tdMain::RunItem(tItem item) {
    const tCommandItem& row = CommandItems()[item];
    // While a long operation runs, what would tune, edit the favorites or
    // open a window returns at once, without a word.
    if (!row.handler || (row.refusedWhileBusy && set_.Busy())) return;
    (this->*row.handler)();
}

void tdMain::ShowCommands(const tCommandStates& states) {
    commands_ = states;
    // What the window owns itself: the display mode and always on top.
    tCommandStates shown = states;
    const tConfiguration& c = set_.Config();
    shown.checked[cmOnTop] = c.AlwaysOnTop;
    for (int mode = 0; mode < kDisplayModeCount; ++mode)
        shown.checked[*CommandItems()[kModeItems[mode]].command] = mode == c.DisplayType;
    for (const tCommandItem& row : CommandItems()) {
        if (!row.command) continue;
        for (QAction* a : {mainItems_[row.item], trayItems_[row.item]}) {
            if (!a) continue;
            a->setEnabled(row.handler && shown.Enabled(*row.command));
            if (row.checkable) a->setChecked(shown.Checked(*row.command));
        }
    }
    const bool fm = set_.Card().Band() == radio::bFM;
    btTunePrev->setEnabled(states.Enabled(cmDecFreq));
    btTuneNext->setEnabled(states.Enabled(cmIncFreq));
    btScanPrev->setEnabled(fm && states.Enabled(cmScanLeft));
    btScanNext->setEnabled(fm && states.Enabled(cmScanRight));
    btStopScan->setEnabled(states.Enabled(cmStopScan));
    btSpinStep->SetUpEnabled(states.Enabled(cmDecStep));
    btSpinStep->SetDownEnabled(states.Enabled(cmIncStep));
    btMute->setEnabled(states.Enabled(cmMuteOnOff));
    // A script owns the minutes: its buttons give way (their menu items
    // and keys still reach the commands).
    btSleep->setEnabled(!set_.Programming());
    btAlarm->setEnabled(!set_.Programming());
    btStr->setEnabled(states.Enabled(cmStereo));
    pmMemory->setEnabled(states.Enabled(cmMemory));
    ShowVolumeGroup();
}

void tdMain::ShowWindowItems() {
    if (QAction* show = trayItems_[iDo_Show]) show->setEnabled(minimized_);
    if (QAction* hide = trayItems_[iDo_Hide]) hide->setEnabled(!minimized_);
}

// --- the dialog protocol ---

int tdMain::RunDialog(const std::function<int()>& show) {
    set_.BeginDialog();
    tray_->SetMenu(TrayMenuAlt);
    const bool hide = set_.Config().HideMainForm && !minimized_;
    if (hide) Do_Hide();
    const int result = show();
    if (hide) Do_Show();
    tray_->SetMenu(TrayMenu);
    set_.EndDialog();
    return result;
}

// --- tray, show and hide ---

void tdMain::TrayIconClick() { set_.ToggleMuteFromTray(); }

void tdMain::TrayIconDblClick() {
    if (set_.ModalOpen()) return;
    if (minimized_) Do_Show();
    else Do_Hide();
}

void tdMain::Do_Show() {
    minimized_ = false;
    if (tray_->Visible()) show();
    showNormal();
    raise();
    activateWindow();
    ShowWindowItems();
}

void tdMain::Do_Hide() {
    minimized_ = true;
    // With a tray icon the window leaves the task bar; without one it is
    // only minimized, so the user can always get it back.
    if (tray_->Visible()) hide();
    else showMinimized();
    ShowWindowItems();
}

void tdMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized() && !minimized_) {
            Do_Hide(); // minimized from the title bar
        } else if (!isMinimized() && minimized_ && isVisible()) {
            // Restored from the task bar (no tray icon to do it).
            minimized_ = false;
            ShowWindowItems();
        }
    }
    QMainWindow::changeEvent(event);
}

void tdMain::Display_AlwaysOnTop() {
    tConfiguration& c = set_.WindowConfig();
    c.AlwaysOnTop = !c.AlwaysOnTop;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, c.AlwaysOnTop);
    if (visible) show();
    ShowCommands(commands_);
}

// --- layouts, colours, glyphs ---

void tdMain::SetDisplayMode(int mode) {
    set_.WindowConfig().DisplayType = mode;
    ApplyLayout();
}

void tdMain::Display_Complete() { SetDisplayMode(dmComplete); }
void tdMain::Display_Minimal() { SetDisplayMode(dmMinimal); }
void tdMain::Display_MinTuner() { SetDisplayMode(dmMinTuner); }
void tdMain::Display_MinPresets() { SetDisplayMode(dmMinPresets); }
void tdMain::Display_MinVolBtn() { SetDisplayMode(dmMinVolBtn); }
void tdMain::Display_MinVolBtnPre() { SetDisplayMode(dmMinVolBtnPre); }

void tdMain::ApplyLayout() {
    int& mode = set_.WindowConfig().DisplayType;
    if (mode < 0 || mode >= kDisplayModeCount) mode = dmComplete;
    const tLayoutTemplate t = LayoutTemplate(mode);
    auto place = [](QWidget* w, const std::optional<QRect>& at) {
        w->setVisible(at.has_value());
        w->setEnabled(at.has_value());
        if (at) w->setGeometry(*at);
    };
    place(gpVolume, t.volume);
    place(gpPresets, t.presets);
    place(gpTuner, t.tuner);
    for (TGlyphButton* b : {btMute, btAlarm, btSleep, btProg, OnOff, btClr, btMem, btStr}) b->setVisible(t.buttons);

    centralWidget()->setFixedSize(t.client);
    const int menuHeight = menuBar()->isVisible() || !isVisible() ? menuBar()->sizeHint().height() : 0;
    setFixedSize(t.client.width(), t.client.height() + menuHeight);
    ShowCommands(commands_);
}

void tdMain::SetGlyph(TGlyphButton* button, bool on) {
    const int scheme = set_.Config().ColorGenericButton;
    button->SetGlyph(display::PictureTransparent("BT" + QString::number(scheme) + (on ? "ON" : "OFF")));
    button->SetSwitchOn(on);
}

void tdMain::UpdateButtonGlyphs() {
    SetGlyph(OnOff, false);
    SetGlyph(btClr, clrArmed_);
    SetGlyph(btMem, memArmed_);
    SetGlyph(btStr, set_.StereoWanted());
    SetGlyph(btMute, set_.ShownMuted());
    SetGlyph(btSleep, set_.SleepOn());
    SetGlyph(btProg, set_.Programming());
    SetGlyph(btAlarm, set_.AlarmOn());
}

void tdMain::ApplyColors() {
    const tConfiguration& c = set_.Config();
    panel_->ApplyColors({c.Background, c.Foreground, c.Style, c.ColorPanel, c.ColorText, c.ColorFlag});
    ShowTunedStatus(set_.LastStatus());
    ShowMute(set_.ShownMuted());
    ShowAlarm(set_.AlarmOn());
    ShowSleep(set_.SleepOn());
    ShowProgramming(set_.Programming());
    UpdateButtonGlyphs();
    ShowFavoritesRow(favoritesRow_);
}

void tdMain::ShowAlarm(bool on) {
    panel_->SetIndicator(display::TRadioPanel::kAlarm, on);
    SetGlyph(btAlarm, on);
}

void tdMain::ShowSleep(bool on) {
    panel_->SetIndicator(display::TRadioPanel::kSleep, on);
    SetGlyph(btSleep, on);
}

void tdMain::ShowProgramming(bool on) {
    panel_->SetIndicator(display::TRadioPanel::kProgramming, on);
    SetGlyph(btProg, on);
    btProg->setToolTip(QString::fromStdString(set_.ScriptHint()));
}

void tdMain::ShowStereoWanted(bool on) { SetGlyph(btStr, on); }

// --- keys ---

void tdMain::keyPressEvent(QKeyEvent* event) {
    const QChar c = CommandCharacter(*event);
    if (!c.isNull()) {
        KeyPress(c);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool tdMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LScan && event->type() == QEvent::MouseButtonDblClick) {
        RunCommand(cmSignalStrenght);
        return true;
    }
    // The sliders and favorite buttons hand typed characters to the command
    // keys instead of moving by them; arrows and page keys still move them.
    if (event->type() == QEvent::KeyPress) {
        const QChar c = CommandCharacter(*static_cast<QKeyEvent*>(event));
        if (!c.isNull()) {
            KeyPress(c);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- help ---

void tdMain::Help_Topics() { ShowHelp("Welcome"); }

void tdMain::ShowHelp(const QString& topic) {
    if (!help_) help_ = new THelpWindow(this);
    help_->ShowTopic(QString::fromStdString(set_.Files().HelpPath()), topic);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

} // namespace tunevox::app
