// The cost of one step of the scanner's sweep: the program's own work per
// step (tuning, the status read, the list row, the bar and the cursor drawn
// on a shown window, the event loop's turn) with the card's waits taken out
// by a recording clock, beside the waits the card asks for per step, and
// the program's share of the sweep's time. The sweep runs as the program
// runs it: the scanner's window over the main window, its steps taken one
// by one by the Qt event loop. The list's repaints are paced by the
// recording clock, so they come as often as at the card's own pace.

#include "bench_support.h"

#include "scanner/scan_session.h"
#include "scanner/scanner_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace tunevox;

void Measure(const char* label, int hardware) {
    QTemporaryDir dir;
    bench::WriteIni(dir.path(), QString("[Configuration]\nHardware=%1\nPort=1\n").arg(hardware).toUtf8());
    platform::VirtualSleeper waits;
    app::QtEventPoster poster(qApp);
    rig::tRigOptions o = bench::RecordedWaits(waits, poster);
    bench::RadioWindow radio(dir.path(), std::move(o));
    if (!radio.Start()) return;
    scanner::tdScanner dialog(radio.set, radio.ui, {}, &radio.window);
    dialog.UseClock(waits);
    dialog.show();
    QApplication::processEvents();
    const uint64_t waitedBefore = waits.TotalMs();
    QElapsedTimer t;
    t.start();
    dialog.btScanClick();
    while (dialog.Session().Scanning()) QApplication::processEvents(QEventLoop::AllEvents);
    const double workMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
    const double waitedMs = static_cast<double>(waits.TotalMs() - waitedBefore);
    const double steps = static_cast<double>(dialog.Session().Points().size());
    std::printf("  %-22s %5.0f steps %4zu rows  %6.1f us of program work per step  %6.1f ms of card waits "
                "per step  program share %.3f %%\n",
                label, steps, dialog.Session().Rows().size(), workMs * 1e3 / steps, waitedMs / steps,
                100.0 * workMs / (workMs + waitedMs));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("the scanner's sweep of the whole FM band, built-in emulated stations\n");
    Measure("AimsLab Radiotrack", 1);
    Measure("Zoltrix Radio Plus 108", 7);
    Measure("Aztech FM radio card", 8);
    std::printf("  (a serial radio's status request waits on the line itself, 200 ms without a byte;\n"
                "   its sweep takes 421 x 200 ms and the program's part is as small as above)\n");
    return 0;
}
