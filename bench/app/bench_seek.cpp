// The cost of one seek step: the program's own work per step (tuning, the
// display, the favorites lookup, the event loop's turn between two steps)
// with the card's waits taken out by a recording clock, beside the waits
// the card asks for per step on each family. The seek runs as the program
// runs it: a step machine whose steps the Qt event loop takes one by one.

#include "bench_support.h"

#include "radio/radio_card.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

using namespace tunevox;

void Measure(const char* label, int hardware, const char* port) {
    QTemporaryDir dir;
    bench::WriteIni(dir.path(), QString("[Configuration]\nHardware=%1\nPort=%2\n[Frequency]\nFrequency=M 087.000\n"
                                        "TuneStep=1\n")
                                    .arg(hardware)
                                    .arg(port)
                                    .toUtf8());
    platform::VirtualSleeper waits;
    app::QtEventPoster poster(qApp);
    rig::tRigOptions o = bench::RecordedWaits(waits, poster);
    o.stations = emulator::StationList(); // nothing to find: the seek runs to the band's end
    bench::RadioWindow radio(dir.path(), std::move(o));
    if (!radio.Start()) return;
    radio.window.show();
    QApplication::processEvents();
    const double start = radio.set.Card().Frequency();
    const uint64_t waitedBefore = waits.TotalMs();
    QElapsedTimer t;
    t.start();
    radio.window.Actions_ScanNext();
    while (radio.set.Busy()) QApplication::processEvents(QEventLoop::AllEvents);
    const double ns = static_cast<double>(t.nsecsElapsed());
    const double waited = static_cast<double>(waits.TotalMs() - waitedBefore);
    const int steps =
        std::max(1, static_cast<int>(std::lround((radio.set.Card().Frequency() - start) / radio.set.FMTuneStep())));
    std::printf("  %-22s %5d steps  %8.1f us of program work per step  %7.1f ms of card waits per step\n", label,
                steps, ns / 1e3 / steps, waited / steps);
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
