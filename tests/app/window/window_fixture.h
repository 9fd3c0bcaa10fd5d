#pragma once
// A main window over its radio set on emulated hardware whose waits return
// at once, with its files in a temporary folder, every question answered by
// the test, and timers and a clock the test drives.

#include "app/window/main_window.h"
#include "support/scripted_interaction.h"
#include "radioset/radio_set.h"
#include "radioset/rig_card_host.h"
#include "rig/hardware_rig.h"
#include "support/manual_seams.h"

#include <QTemporaryDir>

#include <memory>
#include <string>

namespace tunevox::app::test {

using tunevox::test::ManualClock;
using tunevox::test::ManualTimers;
using tunevox::test::ScriptedInteraction;

class WindowRig {
public:
    // `ini` becomes Tunevox.ini before the radio set reads it; empty: no file.
    explicit WindowRig(const std::string& ini = {}, rig::tRigOptions options = Emulated());
    ~WindowRig();

    static rig::tRigOptions Emulated();
    // Builds the radio set and the window (the settings hook can be set
    // before Start then).
    void Build(bool configureSwitch = false);
    // Builds when not built yet, reads the configuration and runs the
    // window's start-up; false when it ended there.
    bool Start(bool configureSwitch = false);

    std::string IniPath() const;
    std::string ReadIni() const;
    // Runs what was posted for the event loop: mixer notices, reports, and
    // every step of a long operation.
    void DrainEvents();
    // Runs one posted task (one step of a seek).
    bool RunOne();
    // Writes a picture of the window to the screenshots folder.
    void Screenshot(const QString& name);

    QTemporaryDir dir;
    std::unique_ptr<rig::THardwareRig> rig;
    std::unique_ptr<radioset::TRigCardHost> host;
    ScriptedInteraction ui;
    ManualClock clock;
    ManualTimers timers;
    std::unique_ptr<radioset::TRadioSet> set;
    std::unique_ptr<tdMain> window;

    radio::TRadioCard& Card() { return host->Card(); }
    radioset::TRadioSet& Set() { return *set; }
    tdMain& W() { return *window; }
};

// The name dialog answered with `name` (OK), or cancelled.
std::function<int(QDialog&)> AnswerName(const QString& name);
std::function<int(QDialog&)> CancelDialog();

} // namespace tunevox::app::test
