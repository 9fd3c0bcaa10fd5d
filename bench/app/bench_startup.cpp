// Start-up cost of the radio set: the time from process start to the first
// paint of the main window on emulated hardware, and the resident memory
// then, beside the same figures for a program showing a bare QMainWindow.
// The emulated card waits as a real one does (an AimsLab status read alone
// is 160 ms); those waits are recorded and reported apart, so that the
// program's own start-up work shows. Each figure comes from a fresh child
// process (the parent notes the time just before starting it; the child
// reports the monotonic time of its first paint), so libraries are loaded
// and resolved as in a real start.
//
//   bench_startup [runs]      (QT_QPA_PLATFORM=offscreen works; so does X)

#include "app/window/main_window.h"
#include "app/window/program.h"
#include "bench_support.h"
#include "platform/sleeper.h"
#include "rig/hardware_rig.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QPaintEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

double NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

long RssKb() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// The card's waits, for real, with their sum kept.
class RecordingSleeper final : public tunevox::platform::ISleeper {
public:
    void Sleep(unsigned ms) override {
        waited += ms;
        real.Sleep(ms);
    }
    tunevox::platform::SystemSleeper real;
    double waited = 0;
};
RecordingSleeper cardWaits;

// Prints the figures at the first paint of `w` and ends the program.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !done_) {
            done_ = true;
            std::printf("%.3f %ld %.0f\n", NowMs(), RssKb(), cardWaits.waited);
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, [] { std::_Exit(0); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool done_ = false;
};

int Child(const std::string& kind, int argc, char** argv) {
    static FirstPaint watcher;
    if (kind == "bare") {
        QApplication app(argc, argv);
        QMainWindow w;
        w.resize(615, 150);
        w.installEventFilter(&watcher);
        w.show();
        return app.exec();
    }
    // The real program, on emulated hardware with a configured card.
    std::vector<std::string> args = {argv[0], "--virtual", "--dir", argv[3]};
    std::vector<char*> cargv;
    for (auto& a : args) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    tunevox::app::tRunHooks hooks;
    hooks.prepareRig = [](tunevox::rig::tRigOptions& o) {
        o.sleeper = &cardWaits;
        o.clock = &cardWaits.real;
    };
    hooks.onShown = [](tunevox::app::tdMain& w) { w.installEventFilter(&watcher); };
    return tunevox::app::RunTunevox(static_cast<int>(args.size()), cargv.data(), hooks);
}

struct Figures {
    double ms;
    long rssKb;
    double waitedMs = 0; // the card's waits within ms
};

Figures RunChild(const char* self, const char* kind, const std::string& dir) {
    std::vector<std::string> args = {self, "--child", kind, dir};
    std::vector<char*> cargv;
    for (auto& a : args) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const double start = NowMs();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, self, &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    if (rc != 0) return {-1, -1};
    waitpid(pid, nullptr, 0);
    double paintedAt = 0;
    long rss = -1;
    double waited = 0;
    if (std::sscanf(out.c_str(), "%lf %ld %lf", &paintedAt, &rss, &waited) < 2) return {-1, -1};
    return {paintedAt - start, rss, waited};
}

} // namespace

int main(int argc, char** argv) {
    // Without a display the children draw offscreen (the figures then leave
    // out the window system, which a desktop would add).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3 && std::string(argv[1]) == "--child") return Child(argv[2], argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;
    tunevox::bench::WriteIni(dir.path(), "[Configuration]\nHardware=1\nPort=1\nVolumeLine=1\n[Audio]\nVolume=128\n"
                  "[Frequency]\nFrequency=M 098.700\n");
    std::printf("start-up to first paint, %d runs each (median; resident memory at that paint)\n", runs);
    for (const char* kind : {"bare", "tunevox"}) {
        std::vector<double> ms, own;
        long rss = 0;
        double waited = 0;
        for (int i = 0; i < runs; ++i) {
            const Figures f = RunChild(argv[0], kind, dir.path().toStdString());
            if (f.ms < 0) {
                std::printf("  %-8s failed to run\n", kind);
                break;
            }
            ms.push_back(f.ms);
            own.push_back(f.ms - f.waitedMs);
            rss = f.rssKb;
            waited = f.waitedMs;
        }
        if (ms.empty()) continue;
        std::sort(ms.begin(), ms.end());
        std::sort(own.begin(), own.end());
        std::printf("  %-8s %8.1f ms  %7ld kB  (fastest %.1f ms, slowest %.1f ms)\n",
                    kind == std::string("bare") ? "bare" : "tunevox", ms[ms.size() / 2], rss, ms.front(),
                    ms.back());
        if (waited > 0) {
            std::printf("           of which the emulated card's own waits %.0f ms, the program's work %.1f ms\n",
                        waited, own[own.size() / 2]);
        }
    }
    return 0;
}
