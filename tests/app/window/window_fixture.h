#pragma once
// A main window on emulated hardware whose waits return at once, with its
// files in a temporary folder and every question answered by the test.

#include "app/window/main_window.h"
#include "app/window/rig_host.h"
#include "rig/hardware_rig.h"
#include "app/window/scripted_interaction.h"

#include <QTemporaryDir>

#include <memory>
#include <string>

namespace tunevox::app::test {

class WindowRig {
public:
    // `ini` becomes Tunevox.ini before the window reads it; empty: no file.
    explicit WindowRig(const std::string& ini = {}, rig::tRigOptions options = Emulated());
    ~WindowRig();

    static rig::tRigOptions Emulated();
    // Builds the window and runs its start-up; false when it ended there.
    bool Start(bool configureSwitch = false);

    std::string IniPath() const;
    std::string ReadIni() const;
    // Runs what the mixer posted for the event loop.
    void DrainEvents();
    // Writes a picture of the window to the screenshots folder.
    void Screenshot(const QString& name);

    QTemporaryDir dir;
    std::unique_ptr<rig::THardwareRig> rig;
    std::unique_ptr<TRigCardHost> host;
    ScriptedInteraction ui;
    ManualClock clock;
    std::unique_ptr<tdMain> window;

    radio::TRadioCard& Card() { return host->Card(); }
    tdMain& W() { return *window; }
};

// The name dialog answered with `name` (OK), or cancelled.
std::function<int(QDialog&)> AnswerName(const QString& name);
std::function<int(QDialog&)> CancelDialog();

} // namespace tunevox::app::test
