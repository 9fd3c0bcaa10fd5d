#pragma once
// What the window benchmarks share: a configuration file in a folder of
// their own, an interaction that answers nothing (no dialog ever opens
// during a measurement), and the radio set with its main window on a rig,
// assembled as the program assembles them.

#include "app/window/main_window.h"
#include "app/window/qt_seams.h"
#include "widgets/interaction.h"
#include "radioset/radio_set.h"
#include "radioset/rig_card_host.h"
#include "platform/sleeper.h"
#include "rig/hardware_rig.h"

#include <QFile>
#include <QString>

#include <memory>

namespace tunevox::bench {

inline void WriteIni(const QString& folder, const QByteArray& text) {
    QFile ini(folder + "/Tunevox.ini");
    if (ini.open(QIODevice::WriteOnly)) ini.write(text);
}

class SilentInteraction final : public widgets::IInteraction {
public:
    void Beep() override {}
    widgets::tMsgResult MessageBox(QWidget*, const QString&, const QString&, widgets::tMsgIcon, widgets::tMsgButtons) override {
        return widgets::tMsgResult::Ok;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    int RunModal(QDialog&) override { return 0; }
};

// Emulated hardware whose waits are recorded on `waits` and skipped, so a
// benchmark times the program's own work; events go to the Qt event loop.
inline rig::tRigOptions RecordedWaits(platform::VirtualSleeper& waits, platform::IEventPoster& poster) {
    rig::tRigOptions o;
    o.emulated = true;
    o.sleeper = &waits;
    o.clock = &waits;
    o.events = &poster;
    return o;
}

// The radio set and its window on a rig of the given options, with the
// configuration in `folder`; Start() runs the window's start-up.
struct RadioWindow {
    RadioWindow(const QString& folder, rig::tRigOptions options)
        : rig(std::move(options)), host(rig), set(host, clock, timers, Options(folder)),
          window(set, ui, app::tMainOptions{false, false}) {}
    static radioset::tRadioSetOptions Options(const QString& folder) {
        radioset::tRadioSetOptions o;
        o.files.configDir = folder.toStdString();
        o.files.dataDir = folder.toStdString();
        return o;
    }
    bool Start() {
        set.LoadConfiguration();
        return window.Start();
    }

    rig::THardwareRig rig;
    radioset::TRigCardHost host;
    app::TQtTimerFactory timers;
    app::TSystemClock clock;
    SilentInteraction ui;
    radioset::TRadioSet set;
    app::tdMain window;
};

} // namespace tunevox::bench
