// tdMain: the window's start-up (the first-run settings, the layout, its
// place on the screen, the tip of the day), the close question and saving.

#include "app/window/main_window.h"

#include "app/dialogs/exit_dialog.h"
#include "app/window/tray_icon.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include <cstdio>

namespace tunevox::app {

using namespace radioset;

bool tdMain::Start() {
    if (set_.NeedsSettings(options_.configureSwitch) && !AskFirstSettings())
        return false; // the program ends without writing anything
    set_.Start();
    ApplyLayout();
    PlaceWindow();
    ApplyColors();
    setWindowFlag(Qt::WindowStaysOnTopHint, set_.Config().AlwaysOnTop);
    tray_->SetDoubleClickTime(set_.Config().DoubleClick);
    started_ = true;
    if (set_.Config().TipOfTheDay) ShowTipOfTheDay();
    // On its first run the radio looks for a station by itself, as a new
    // set does when first switched on; the user sees it seek.
    if (started_) set_.SeekFirstStation();
    return started_;
}

bool tdMain::AskFirstSettings() {
    // The first-run dialog comes before the window: no tray menu yet.
    QMenu* menu = tray_->Menu();
    tray_->SetMenu(nullptr);
    tConfiguration edited = set_.SettingsProposal();
    const bool ok = RunSetupDialog ? RunSetupDialog(edited) : RunSettingsDialog(edited, true);
    tray_->SetMenu(menu);
    if (ok) set_.TakeFirstSettings(edited);
    return ok;
}

// The stored place is the client area's top left, the one thing that means
// the same before the window is shown (when the frame is not known yet) and
// after: storing the frame's corner instead would move the window up by its
// title bar at every start.
void tdMain::PlaceWindow() {
    const tConfiguration& c = set_.Config();
    // Never placed before (a first run): the desktop chooses, title bar
    // included; the place it chose is stored at exit.
    if (!c.HasPosition) return;
    QPoint at(c.X, c.Y);
    bool visible = false;
    for (const QScreen* screen : QGuiApplication::screens())
        visible = visible || screen->availableGeometry().contains(at + QPoint(20, 20));
    if (!visible && QGuiApplication::primaryScreen())
        at = QGuiApplication::primaryScreen()->availableGeometry().topLeft() + QPoint(40, 40);
    // The client area's geometry, on every platform; move() would place the
    // frame on some and the client on others.
    setGeometry(QRect(at, size()));
}

void tdMain::RememberPlace() {
    set_.WindowConfig().X = geometry().x();
    set_.WindowConfig().Y = geometry().y();
}

bool tdMain::SaveConfiguration() {
    RememberPlace();
    std::string error;
    if (set_.SaveConfiguration(&error)) return true;
    const QString path = QString::fromStdString(set_.Files().IniPath());
    const QString reason = QString::fromStdString(error);
    if (sessionEnding_) {
        // A logout, a shutdown or a signal: nobody is there to press OK, and
        // a box would hold the session up. The journal keeps standard error,
        // and the exit code says it failed.
        std::fprintf(stderr, "tunevox: the configuration could not be saved to %s: %s\n", qPrintable(path),
                     qPrintable(reason));
        exitCode_ = 1;
        return false;
    }
    ui_.MessageBox(this, "Warning", QString("The configuration could not be saved to %1:\n%2").arg(path, reason),
                   widgets::tMsgIcon::Error, widgets::tMsgButtons::Ok);
    return false;
}

bool tdMain::AskExitQuestion() {
    tdExit dialog(!set_.Card().Caps().AlwaysMuteOnExit, this);
    // The tray icon has no menu at all while the question is up.
    QMenu* menu = tray_->Menu();
    int answer = 0;
    RunDialog([&] {
        tray_->SetMenu(nullptr);
        return answer = ui_.RunModal(dialog);
    });
    tray_->SetMenu(menu);
    if (answer == tdExit::NotExit) return false;
    if (answer == tdExit::No) set_.CloseCard();
    // "&Yes", or the title-bar close: the music plays on.
    return true;
}

void tdMain::closeEvent(QCloseEvent* event) {
    if (!started_) {
        event->accept();
        return;
    }
    if (set_.Busy()) {
        // The close comes again once the long operation has stopped.
        exitPending_ = true;
        set_.RequestStop();
        event->ignore();
        return;
    }
    RememberPlace();
    if (sessionEnding_) {
        set_.CloseCard();
    } else {
        switch (set_.Config().ShutDown) {
        case 0: set_.CloseCard(); break;
        case 1: break;
        default:
            if (!AskExitQuestion()) {
                event->ignore();
                return;
            }
        }
    }
    SaveConfiguration();
    started_ = false; // written once
    event->accept();
    tray_->Hide();
    QApplication::exit(exitCode_);
}

void tdMain::File_Exit() { close(); }

void tdMain::EndSession() {
    sessionEnding_ = true;
    close();
}

void tdMain::LongOperationEnded() {
    if (!exitPending_) return;
    exitPending_ = false;
    close();
}

} // namespace tunevox::app
