// The scanner's spectrum: its design-unit arithmetic, the picture at 1x and
// 2x device pixels and at four times the design size, the legend, the
// sweep's cursor and progress, and the mouse.

#include "scanner/band_chart.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>

#include <cmath>
#include <utility>

namespace tunevox::scanner {
namespace {

const QColor kBlack(Qt::black), kWhite(Qt::white);

// Measures every 25 kHz from 87.0 up to `upTo` as the scanner does; a
// station is heard within 75 kHz, in stereo within 30 kHz if it sends it.
void Sweep(TSpectrum& s, double upTo) {
    constexpr std::pair<double, bool> kStations[] = {{88.3, true},  {91.2, false},  {95.6, true},
                                                     {98.7, true}, {101.1, false}, {104.5, true}};
    for (int i = 0; 87.0 + i * 0.025 <= upTo + 1e-9; ++i) {
        const double f = 87.0 + i * 0.025;
        bool received = false, stereo = false;
        for (const auto& [mhz, sends] : kStations) {
            received |= std::fabs(f - mhz) <= 0.075 + 1e-9;
            stereo |= sends && std::fabs(f - mhz) <= 0.03 + 1e-9;
        }
        s.AddPoint(f, received, stereo);
        s.ShowSweep(f, (f - 87.0) / 21.0);
    }
}

// Blue shows any pixel the widget failed to paint.
QImage Render(TSpectrum& s, double dpr = 1.0) {
    QImage image(s.size() * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::blue);
    s.render(&image);
    return image;
}

QColor At(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

TEST(SpectrumArithmetic, ScaleBarsAndTheFrequencyUnderTheMouse) {
    TSpectrum s;
    const auto ticks = s.ScaleTicks();
    ASSERT_EQ(ticks.size(), 22u);
    EXPECT_EQ(std::pair(ticks[0].x, ticks[0].label), std::pair(10, QString("87")));
    EXPECT_EQ(std::pair(ticks[12].x, ticks[12].label), std::pair(10 + 283, QString("99"))); // 282.86
    EXPECT_EQ(std::pair(ticks[21].x, ticks[21].label), std::pair(505, QString("108")));
    EXPECT_EQ(s.BarX(98.7), 10 + 276); // 11.7 * 495 / 21 = 275.79
    EXPECT_EQ(s.BarX(108.0), 505);

    // The active area, edges included; the card's step decides the snapping.
    EXPECT_EQ(s.FrequencyAt({286, 45}), "098.700");
    EXPECT_EQ(s.FrequencyAt({287, 45}), "098.750"); // 98.7515
    EXPECT_EQ(s.FrequencyAt({10, 20}), "087.000");
    EXPECT_EQ(s.FrequencyAt({505, 70}), "108.000");
    for (QPointF outside : {QPointF(9.9, 45), QPointF(505.1, 45), QPointF(200, 19.9), QPointF(200, 70.1)})
        EXPECT_FALSE(s.FrequencyAt(outside)) << outside.x() << "," << outside.y();
    s.SetBand({87.0, 108.0, 0.1, true});
    EXPECT_EQ(s.FrequencyAt({287, 45}), "098.800");
    s.resize(4 * 515, 4 * 90);
    EXPECT_EQ(s.FrequencyAt({4 * 286, 180}), "098.700");
    EXPECT_FALSE(s.FrequencyAt({39, 180}));
    EXPECT_FALSE(s.FrequencyAt({200, 79}));

    s.SetBand({76.0, 91.0, 0.1, true});
    const auto japan = s.ScaleTicks();
    ASSERT_EQ(japan.size(), 16u);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(std::pair(japan[k].x, japan[k].label), std::pair(10 + 33 * k, QString::number(76 + k)));
    s.SetBand({100.0, 100.0, 0.05, true}); // no width: refused
    EXPECT_EQ(s.BarX(90.0), 10 + 14 * 33);
}

// The design size at 1x and 2x device pixels, and four times the design size.
class SpectrumPicture : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(SpectrumPicture, BarsAreCrispInTheirColourAtTheirColumn) {
    const auto [size, dpr] = GetParam();
    const int u = size * dpr; // device pixels per design unit
    TSpectrum s;
    s.resize(515 * size, 90 * size);
    s.AddPoint(98.7, true, true);
    s.AddPoint(90.0, true, false);
    s.AddPoint(95.0, false, true); // nothing received: no bar
    const QImage image = Render(s, dpr);
    ASSERT_EQ(image.size(), QSize(515, 90) * u);
    const std::pair<double, QColor> bars[] = {
        {98.7, TSpectrum::kStereoColor}, {90.0, TSpectrum::kMonoColor}, {95.0, kBlack}};
    for (const auto& [mhz, colour] : bars) {
        const int left = s.BarX(mhz) * u, right = left + u - 1;
        for (int x = left; x <= right; ++x) {
            for (int y = 19 * u; y < 70 * u; ++y) ASSERT_EQ(At(image, x, y), colour) << mhz << ": " << x << "," << y;
            EXPECT_EQ(At(image, x, 19 * u - 1), kWhite) << x; // it reaches the lines, not over them
            EXPECT_EQ(At(image, x, 70 * u), kWhite) << x;
        }
        EXPECT_EQ(At(image, left - 1, 40 * u), kBlack) << mhz;
        EXPECT_EQ(At(image, right + 1, 40 * u), kBlack) << mhz;
    }
    // The last tick: three units wide below the base line.
    EXPECT_EQ(At(image, 504 * u, 72 * u), kWhite);
    EXPECT_EQ(At(image, 507 * u - 1, 72 * u), kWhite);
    EXPECT_EQ(At(image, 504 * u - 1, 72 * u), kBlack);
    EXPECT_EQ(At(image, 507 * u, 72 * u), kBlack);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_NE(At(image, x, y), QColor(Qt::blue)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Scales, SpectrumPicture, ::testing::Values(std::pair(1, 1), std::pair(1, 2), std::pair(4, 1)));

TEST(SpectrumLegend, StereoAndMonoWhenTheCardTellsThemApartElseTuned) {
    auto samples = [](TSpectrum& s) { // the sample lines on their row: (first x, colour)
        const QImage image = Render(s);
        std::vector<std::pair<int, QColor>> runs;
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = At(image, x, 9);
            const bool sample = c == TSpectrum::kStereoColor || c == TSpectrum::kMonoColor;
            if (sample && (runs.empty() || runs.back().second != c)) runs.push_back({x, c});
        }
        return runs;
    };
    TSpectrum s;
    const auto stereo = samples(s);
    ASSERT_EQ(stereo.size(), 2u);
    EXPECT_GT(stereo[0].first, 10 + 30);
    EXPECT_EQ(stereo[0].second, TSpectrum::kStereoColor);
    EXPECT_EQ(stereo[1].second, TSpectrum::kMonoColor);
    EXPECT_GT(stereo[1].first - stereo[0].first, 20 + 20 + 2 + 15); // a line, a gap, "Mono", a space
    s.SetBand({87.0, 108.0, 0.05, false});
    const auto tuned = samples(s);
    ASSERT_EQ(tuned.size(), 1u);
    EXPECT_EQ(tuned[0].second, TSpectrum::kStereoColor);
}

// Grey pixels (the progress text) right of the legend, above the top line.
int ProgressPixels(const QImage& image) {
    int legendEnd = 0, n = 0;
    for (int x = 0; x < image.width(); ++x)
        if (At(image, x, 9) == TSpectrum::kMonoColor) legendEnd = x;
    for (int y = 0; y < 18; ++y)
        for (int x = legendEnd + 1; x < 400; ++x) n += At(image, x, y) != kBlack && At(image, x, y).saturation() == 0;
    return n;
}

TEST(SpectrumSweep, CursorAndProgressShowWhileASweepRunsAndGoAfter) {
    TSpectrum s;
    test::Screenshot(s, "spectrum_before_sweep");
    EXPECT_EQ(ProgressPixels(Render(s)), 0);
    Sweep(s, 98.975);
    s.ShowSweep(99.0, 0.5);
    EXPECT_EQ(s.ProgressText(), "Scanning 50%");
    QImage image = Render(s);
    for (int y = 19; y < 70; ++y) ASSERT_EQ(At(image, s.BarX(99.0), y), TSpectrum::kCursorColor) << y;
    EXPECT_EQ(At(image, s.BarX(98.7), 40), TSpectrum::kStereoColor);
    EXPECT_EQ(At(image, s.BarX(91.2), 40), TSpectrum::kMonoColor);
    EXPECT_GT(ProgressPixels(image), 20);
    test::Screenshot(s, "spectrum_during_sweep");

    Sweep(s, 108.0);
    s.EndSweep();
    EXPECT_EQ(s.ProgressText(), "");
    image = Render(s);
    EXPECT_EQ(At(image, s.BarX(108.0), 40), kBlack); // where the cursor was last
    EXPECT_EQ(ProgressPixels(image), 0);
    EXPECT_EQ(At(image, s.BarX(104.5), 40), TSpectrum::kStereoColor);
    test::Screenshot(s, "spectrum_after_sweep");
    s.Clear();
    EXPECT_EQ(At(Render(s), s.BarX(104.5), 40), kBlack);

    // Floored: 100% only once the last point is in.
    for (auto [done, text] : {std::pair{0.29, "Scanning 29%"}, {0.999, "Scanning 99%"}, {1.5, "Scanning 100%"}}) {
        s.ShowSweep(90.0, done);
        EXPECT_EQ(s.ProgressText(), text) << done;
    }
}

TEST(SpectrumMouse, LabelFollowsTheMouseAndAPressInsideNamesTheFrequency) {
    TSpectrum s;
    auto* label = s.findChild<QLabel*>("LFreq");
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->isVisibleTo(&s));
    QStringList pressed;
    QObject::connect(&s, &TSpectrum::frequencyPressed, [&](const QString& text) { pressed << text; });
    auto mouse = [&](QEvent::Type type, QPointF at) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, s.mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(&s, &event);
    };
    mouse(QEvent::MouseMove, {286, 45});
    EXPECT_TRUE(label->isVisibleTo(&s));
    EXPECT_EQ(label->text(), "098.700");
    EXPECT_GE(label->geometry().right(), 480); // top right
    EXPECT_LT(label->geometry().bottom(), 18);
    mouse(QEvent::MouseMove, {286, 19});
    EXPECT_FALSE(label->isVisibleTo(&s));

    mouse(QEvent::MouseButtonPress, {286, 19});
    mouse(QEvent::MouseButtonPress, {506, 45});
    EXPECT_TRUE(pressed.isEmpty());
    mouse(QEvent::MouseButtonPress, {505, 70});
    EXPECT_EQ(pressed, QStringList{"108.000"});
}

} // namespace
} // namespace tunevox::scanner
