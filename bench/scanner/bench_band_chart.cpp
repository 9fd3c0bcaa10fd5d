// How long the scanner's spectrum takes to paint: a full repaint holding a
// whole sweep (841 points, every 25 kHz of 87..108 MHz, every one received
// so every column has a bar) at the design size, at the design size on a
// 2x screen (into an image), and at four times the design size; and what
// one measured point costs while a sweep runs: the point added and its
// strip repainted by the event loop, with and without the cursor stepping
// along.

#include "scanner/band_chart.h"

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using tunevox::scanner::TSpectrum;
using Clock = std::chrono::steady_clock;

constexpr int kPoints = 841;
double Mhz(int i) { return 87.0 + i * 0.025; }

template <typename Work>
double MicrosecondsPer(int rounds, Work&& work) {
    work(0); // warm up: fonts, layout and buffers of this size
    const auto start = Clock::now();
    for (int i = 1; i <= rounds; ++i) work(i);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / rounds;
}

void FillSweep(TSpectrum& s) {
    for (int i = 0; i < kPoints; ++i) s.AddPoint(Mhz(i), true, i % 3 == 0);
}

double RepaintWindow(int size, int rounds) {
    TSpectrum s;
    s.resize(TSpectrum::kDesignWidth * size, TSpectrum::kDesignHeight * size);
    FillSweep(s);
    s.ShowSweep(99.0, 0.5);
    s.show();
    QApplication::processEvents();
    return MicrosecondsPer(rounds, [&](int) { s.repaint(); });
}

double RenderImage(double dpr, int rounds) {
    TSpectrum s;
    FillSweep(s);
    s.ShowSweep(99.0, 0.5);
    QImage image(s.size() * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    return MicrosecondsPer(rounds, [&](int) { s.render(&image); });
}

// Each point changes its column (the colour alternates from one pass to
// the next), so every one is painted.
double AddPoints(bool withCursor, int passes) {
    TSpectrum s;
    s.show();
    QApplication::processEvents();
    int pass = 0;
    const double total = MicrosecondsPer(passes, [&](int) {
        for (int i = 0; i < kPoints; ++i) {
            s.AddPoint(Mhz(i), true, (i + pass) % 2 == 0);
            if (withCursor) s.ShowSweep(Mhz(i + 1), (i + 1) / double(kPoints));
            QApplication::processEvents();
        }
        ++pass;
    });
    return total / kPoints;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;

    std::printf("Spectrum with %d points (every 25 kHz, all received), %d rounds each.\n", kPoints, rounds);
    std::printf("%-44s %10.1f us\n", "full repaint, design size 515x90", RepaintWindow(1, rounds));
    std::printf("%-44s %10.1f us\n", "full render into image, design size at 2x", RenderImage(2.0, rounds));
    std::printf("%-44s %10.1f us\n", "full repaint, 4x design size 2060x360", RepaintWindow(4, rounds));
    const int passes = std::max(1, rounds / 50);
    std::printf("%-44s %10.1f us\n", "one point added and painted", AddPoints(false, passes));
    std::printf("%-44s %10.1f us\n", "one point added, cursor stepped, painted", AddPoints(true, passes));
    return 0;
}
