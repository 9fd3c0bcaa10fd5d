// How long a row of six display cells takes to paint in each style, and how
// many heap blocks a paint takes. The cells have the main window's readout
// size (33 x 47, margin 2, the segment width each style gets there) and,
// for comparison, the size a new cell has (120 x 200, margin 10, width 15).
//
// Two paths are timed: the cells drawn straight into one row image, and a
// real repaint of a shown window holding the six cells, which adds Qt's own
// work (backing store, clipping, paint events).

#include "display/tdisplay.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

// Every heap block of the process is counted, Qt's included.
namespace {
std::atomic<long long> g_allocations{0};
}

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace tunevox::display;
using Clock = std::chrono::steady_clock;

struct tLook {
    const char* name;
    TDigitStyle style;
    int mainWindowSegWidth;
};
constexpr tLook kLooks[] = {
    {"7-segment", ds7Seg, 4},
    {"16-segment", ds16Seg, 3},
    {"5x7 dots", ds5x7Dot, 6},
    {"5x7 bulbs", ds5x7Bulb, 6},
};

struct tSize {
    const char* name;
    int width, height, margin;
    bool mainWindow;
};
constexpr tSize kSizes[] = {
    {"main window 33x47", 33, 47, 2, true},
    {"new cell 120x200", 120, 200, 10, false},
};

constexpr char kText[] = " 87500101300 53116200";  // frequencies as the readout shows them

struct tRow {
    QWidget window;
    std::vector<TDisplay*> cells;

    tRow(const tLook& look, const tSize& size) {
        for (int i = 0; i < 6; ++i) {
            auto* cell = new TDisplay(&window);
            cell->setGeometry(i * size.width, 0, size.width, size.height);
            cell->SetMargin(size.margin);
            cell->SetSegWidth(size.mainWindow ? look.mainWindowSegWidth : 15);
            cell->SetDigitStyle(look.style);
            cell->SetOnColor(MakeColor(0, 0xFF, 0xFF));
            cell->SetOffColor(MakeColor(0, 0x40, 0x40));
            cells.push_back(cell);
        }
        window.resize(6 * size.width, size.height);
    }

    void ShowText(int step) {
        for (int i = 0; i < 6; ++i)
            cells[i]->SetDigit(static_cast<std::uint8_t>(kText[(step + i) % (sizeof kText - 1)]));
    }
};

struct tFigures {
    double microseconds;
    double allocations;
};

template <typename Paint>
tFigures Measure(int rounds, Paint&& paint) {
    paint(0);  // warm up: buffers and layouts of the current size are made here
    const long long before = g_allocations.load();
    const auto start = Clock::now();
    for (int i = 1; i <= rounds; ++i) paint(i);
    const auto elapsed = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    return {elapsed / rounds, double(g_allocations.load() - before) / rounds};
}

tFigures PaintIntoImage(const tLook& look, const tSize& size, int rounds) {
    tRow row(look, size);
    QImage surface(6 * size.width, size.height, QImage::Format_RGB32);
    surface.fill(Qt::black);
    return Measure(rounds, [&](int step) {
        row.ShowText(step);
        QPainter painter(&surface);
        for (TDisplay* cell : row.cells) {
            painter.resetTransform();
            painter.translate(cell->x(), 0);
            cell->RenderTo(painter);
        }
    });
}

tFigures RepaintWindow(const tLook& look, const tSize& size, int rounds) {
    tRow row(look, size);
    row.window.show();
    QApplication::processEvents();
    return Measure(rounds, [&](int step) {
        row.ShowText(step);
        row.window.repaint();
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;

    std::printf("Six display cells painted %d times each; time and heap blocks per row.\n", rounds);
    std::printf("%-18s %-11s %14s %12s %14s %12s\n", "size", "style", "image us/row", "blocks/row",
                "window us/row", "blocks/row");
    for (const tSize& size : kSizes) {
        for (const tLook& look : kLooks) {
            const tFigures direct = PaintIntoImage(look, size, rounds);
            const tFigures window = RepaintWindow(look, size, rounds);
            std::printf("%-18s %-11s %14.1f %12.1f %14.1f %12.1f\n", size.name, look.name,
                        direct.microseconds, direct.allocations, window.microseconds,
                        window.allocations);
        }
    }
    return 0;
}
