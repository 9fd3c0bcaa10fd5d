// The organizer with a large archive: 10,000 nodes in five levels of
// folders. The time from opening the window (reading the file, putting it
// in the archive's order, building the tree's model) to its first paint,
// the tree opened wholly and painted again, and OK writing the file.

#include "bench_support.h"

#include "archive/archive.h"
#include "organizer/organizer_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <string>

namespace {

using namespace tunevox;

// Folders five levels deep, five to a folder, six stations in each, until
// there are 10,000 nodes; names in no order, so loading has to sort.
void Build(archive::TArchive& a) {
    int made = 0;
    unsigned seed = 12345;
    auto name = [&](const char* kind) {
        seed = seed * 1103515245u + 12345u;
        return std::string(kind) + " " + std::to_string(seed % 100000);
    };
    std::function<void(archive::tArchiveNode&, int)> fill = [&](archive::tArchiveNode& parent, int level) {
        for (int i = 0; i < 6 && made < 10000; ++i) {
            archive::tArchiveNode* s = a.NewStation(parent, 87.0 + (made % 400) * 0.05, radio::bFM);
            a.SetName(*s, name("Station"));
            ++made;
        }
        if (level == 5) return;
        for (int i = 0; i < 5 && made < 10000; ++i) {
            archive::tArchiveNode* f = a.NewFolder(parent);
            a.SetName(*f, name("Folder"));
            ++made;
            fill(*f, level + 1);
        }
    };
    while (made < 10000) fill(a.Root(), 1);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    bench::WriteIni(dir.path(), "[Configuration]\nHardware=8\nPort=1\n");
    {
        archive::TArchive a;
        Build(a);
        std::string error;
        if (!a.Save(dir.path().toStdString() + "/Tunevox.db", &error)) {
            std::fprintf(stderr, "cannot write the archive: %s\n", error.c_str());
            return 1;
        }
        std::printf("archive of %zu nodes, %lld bytes\n", a.NodeCount() - 1,
                    static_cast<long long>(QFileInfo(dir.path() + "/Tunevox.db").size()));
    }
    platform::VirtualSleeper waits;
    app::QtEventPoster poster(qApp);
    bench::RadioWindow radio(dir.path(), bench::RecordedWaits(waits, poster));
    if (!radio.Start()) return 1;

    QElapsedTimer t;
    t.start();
    organizer::tdOrganizer dialog(radio.set, radio.ui, {}, &radio.window);
    const double built = t.nsecsElapsed() / 1e6;
    dialog.show();
    QApplication::processEvents();
    const double shown = t.nsecsElapsed() / 1e6;
    t.restart();
    dialog.RadioTree->expandAll();
    QApplication::processEvents();
    const double expanded = t.nsecsElapsed() / 1e6;
    t.restart();
    dialog.btOk->click();
    const double saved = t.nsecsElapsed() / 1e6;
    std::printf("  open (read, order, model)   %8.1f ms\n", built);
    std::printf("  first paint                 %8.1f ms after opening\n", shown);
    std::printf("  whole tree opened, painted  %8.1f ms\n", expanded);
    std::printf("  OK (the file written)       %8.1f ms\n", saved);
    return 0;
}
