// What the radio costs while nothing happens: the CPU time the running main
// window takes on emulated hardware over a stretch of idle time (the clock
// ticks once a second, nothing else), and the time to repaint the whole
// display panel.
//
//   bench_idle [seconds=60]

#include "bench_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

using namespace tunevox;

double CpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    QTemporaryDir dir;
    bench::WriteIni(dir.path(), "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n"
                  "[Frequency]\nFrequency=M 098.700\n");
    app::QtEventPoster poster(&app);
    rig::tRigOptions o;
    o.emulated = true;
    o.waits = rig::tWaits::kReal;
    o.events = &poster;
    bench::RadioWindow radio(dir.path(), std::move(o));
    if (!radio.Start()) return 1;
    app::tdMain& w = radio.window;
    w.show();
    QApplication::processEvents();

    const double cpuBefore = CpuMs();
    QElapsedTimer wall;
    wall.start();
    QEventLoop idle;
    QTimer::singleShot(seconds * 1000, &idle, &QEventLoop::quit);
    idle.exec();
    const double cpu = CpuMs() - cpuBefore;
    std::printf("idle for %.1f s: %.1f ms of CPU (%.2f ms per minute, %.4f %% of one core)\n", wall.elapsed() / 1e3,
                cpu, cpu * 60000.0 / wall.elapsed(), cpu * 100.0 / wall.elapsed());

    QWidget* panel = w.Control("Panel");
    const int repaints = 2000;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < repaints; ++i) panel->repaint();
    std::printf("display panel repaint: %.1f us each (%d repaints, %dx%d)\n", t.nsecsElapsed() / 1e3 / repaints,
                repaints, panel->width(), panel->height());
    return 0;
}
