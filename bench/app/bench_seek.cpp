// The cost of one seek step: the program's own work per step (tuning,
// the display, the favorites lookup, the event loop between steps) with the
// card's waits taken out by a recording clock, beside the waits the card
// asks for per step on each family.

#include "app/window/main_window.h"
#include "bench_support.h"
#include "app/window/rig_host.h"
#include "radio/radio_card.h"
#include "rig/hardware_rig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace tunevox;

void Measure(const char* label, int hardware, const char* port) {
    QTemporaryDir dir;
    bench::WriteIni(dir.path(), QString("[Configuration]\nHardware=%1\nPort=%2\n[Frequency]\nFrequency=M 087.000\nTuneStep=1\n")
                      .arg(hardware)
                      .arg(port)
                      .toUtf8());
    platform::VirtualSleeper waits;
    rig::tRigOptions o;
    o.emulated = true;
    o.sleeper = &waits;
    o.clock = &waits;
    o.stations = emulator::StationList(); // nothing to find: the seek runs to the band's end
    rig::THardwareRig rig(std::move(o));
    app::TRigCardHost host(rig);
    bench::SilentInteraction ui;
    app::SystemClock clock;
    app::tMainOptions mo;
    mo.files.configDir = dir.path().toStdString();
    mo.useTray = false;
    app::tdMain w(host, ui, clock, mo);
    if (!w.ReadConfiguration()) return;
    w.show();
    int steps = 0;
    w.OnSeekStep = [&] { ++steps; };
    const uint64_t waitedBefore = waits.TotalMs();
    QElapsedTimer t;
    t.start();
    w.Actions_ScanNext();
    const double ns = static_cast<double>(t.nsecsElapsed());
    const double waited = static_cast<double>(waits.TotalMs() - waitedBefore);
    std::printf("  %-22s %5d steps  %8.1f us of program work per step  %7.1f ms of card waits per step\n", label,
                steps, ns / 1e3 / std::max(1, steps), waited / std::max(1, steps));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("seek across the whole FM band with no station, one card step at a time\n");
    Measure("AimsLab Radiotrack", 1, "1");
    Measure("Zoltrix Radio Plus 108", 7, "1");
    Measure("Aztech FM radio card", 8, "1");
    Measure("Gemtek Wizard (serial)", 3, "2");
    std::printf("  (a serial radio's status request waits on the line itself, 200 ms without a byte,\n"
                "   so its steps count that silence as program time and show no card waits)\n");
    return 0;
}
