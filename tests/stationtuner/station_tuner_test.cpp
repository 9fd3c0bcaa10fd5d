// The small tuner as its user sees it: what each band shows, red digits for
// a station the card cannot play, the parts the presets editor leaves out,
// and the user's actions arriving as the tuner's signals (and only those).

#include "stationtuner/station_tuner.h"

#include "display/palette.h"
#include "display/tdisplay.h"
#include "support/qt_test_support.h"
#include "widgets/glyph_button.h"
#include "widgets/spin_button.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <vector>

namespace tunevox::stationtuner {
namespace {

using radio::bAM;
using radio::bFM;

// Every signal of the tuner, in the order it came.
struct SignalLog {
    explicit SignalLog(TStationTuner& t) {
        auto note = [this](const QString& s) { entries << s; };
        QObject::connect(&t, &TStationTuner::frequencyMoved, [=, this](double mhz, bool held) {
            lastMHz = mhz;
            note(held ? "moved(held)" : "moved");
        });
        QObject::connect(&t, &TStationTuner::slidingEnded, [=] { note("ended"); });
        QObject::connect(&t, &TStationTuner::bandClicked, [=](radio::tBand b) { note(b == bAM ? "am" : "fm"); });
        QObject::connect(&t, &TStationTuner::fineClicked, [=](int d) { note(QString("fine%1").arg(d)); });
        QObject::connect(&t, &TStationTuner::seekClicked, [=](int d) { note(QString("seek%1").arg(d)); });
        QObject::connect(&t, &TStationTuner::stopClicked, [=] { note("stop"); });
        QObject::connect(&t, &TStationTuner::stepMultipleChosen, [=](int k) { note(QString("step%1").arg(k)); });
        QObject::connect(&t, &TStationTuner::stepSpinClicked, [=](int d) { note(QString("spin%1").arg(d)); });
    }
    QStringList entries;
    double lastMHz = 0.0;
};

// What the user reads: the visible scale, the six cells with "." for the
// point, and which of `controls` are visible ("+") or hidden ("-").
QString Scale(const TStationTuner& t) {
    QStringList s;
    for (const QLabel* l : t.FreqLabels)
        if (l->isVisibleTo(&t)) s << l->text();
    return s.join(' ');
}
QString Readout(const TStationTuner& t) {
    QString s;
    for (int i = 0; i < 6; ++i)
        s += QString(QChar(t.Dig[i]->Digit())) + (i == 2 && t.Point->isVisibleTo(&t) ? "." : "");
    return s;
}
QString Visible(const TStationTuner& t, const std::vector<const QWidget*>& controls) {
    QString s;
    for (const QWidget* w : controls) s += w->isVisibleTo(&t) ? '+' : '-';
    return s;
}

void Mouse(QWidget* w, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST(StationTuner, ShowsEachBandAsTheWindowSaysWithoutReportingIt) {
    TStationTuner t;
    SignalLog log(t);
    // Seek and step controls, the tuned letter, then STOP, the seek direction and "OUT OF RANGE".
    const std::vector<const QWidget*> controls = {t.LScan, t.btScanPrev, t.btScanNext, t.Step, t.LStep,
                           t.StepSlider, t.btSpinStep, t.Tuned, t.btStopScan, t.Scanning, t.LOut};
    t.ShowBand(bFM);
    t.ShowFrequency(bFM, 101.3);
    t.ShowTuned('S', true);
    t.ShowSeekButtons(true, false);
    t.ShowStep(40, 40, 1000);
    EXPECT_EQ(Scale(t), "76 80 84 88 92 96 100 104 108");
    EXPECT_EQ(Readout(t), "101.300");
    EXPECT_EQ(t.Dig[0]->OnColor(), display::PaletteTColor(14)) << "aqua";
    EXPECT_EQ(t.Frequency->value(), 101300);
    EXPECT_EQ(t.Frequency->toolTip(), "101" + QLocale().decimalPoint() + "300 MHz");
    EXPECT_TRUE(t.btFM->IsDown() && !t.btAM->IsDown());
    EXPECT_EQ(t.AM_FM->text() + t.HZ->text() + t.Tuned->text() + t.Step->text(), "FMMHzS1000");
    EXPECT_FALSE(t.btScanNext->isEnabled());
    EXPECT_EQ(Visible(t, controls), "++++++++---");
    test::ExpectNothingClipped(t, "FM");
    test::Screenshot(t, "station_tuner_fm");

    t.ShowFrequency(bFM, 80.0);
    t.ShowOutOfRange(true);
    EXPECT_EQ(Readout(t), " 80.000");
    EXPECT_EQ(t.Dig[5]->OnColor(), display::PaletteTColor(9)) << "red";
    EXPECT_EQ(t.Point->palette().color(QPalette::Window), display::PaletteColor(9));
    t.ShowSeeking(+1);
    EXPECT_EQ(Visible(t, controls), "+--++++++++");
    EXPECT_EQ(t.Scanning->text(), ">");
    test::ExpectNothingClipped(t, "FM out of range");
    test::Screenshot(t, "station_tuner_fm_out_of_range");

    t.ShowSeeking(0);
    t.ShowOutOfRange(false);
    t.ShowBand(bAM);
    t.ShowFrequency(bAM, 0.531);
    EXPECT_EQ(Scale(t), "531 630 729 828 927 1026 1125 1224 1323 1422 1521 1620");
    for (int i = 1; i < 12; ++i) EXPECT_LT(t.FreqLabels[i - 1]->geometry().right() + 1, t.FreqLabels[i]->x()) << i;
    EXPECT_EQ(Readout(t), "   531");
    EXPECT_EQ(t.Frequency->toolTip(), "531 kHz");
    EXPECT_EQ(t.AM_FM->text() + t.HZ->text(), "AMkHz");
    EXPECT_EQ(Visible(t, controls), "-----------");
    test::ExpectNothingClipped(t, "AM");
    test::Screenshot(t, "station_tuner_am");
    EXPECT_TRUE(log.entries.isEmpty()) << log.entries.join(' ').toStdString();

    TStationTuner presets({.tunedState = false, .outOfRange = false, .seek = false});
    EXPECT_TRUE(!presets.Tuned && !presets.LOut && !presets.Scanning && !presets.LScan && !presets.btStopScan);
    presets.ShowOutOfRange(true);
    presets.ShowSeeking(-1);
    test::ExpectNothingClipped(presets, "presets editor");
    test::Screenshot(presets, "station_tuner_presets_editor");
}

TEST(StationTuner, ReportsTheUsersActions) {
    TStationTuner t;
    t.resize(700, t.height()); // a window that widens the tuner keeps the scale under the thumb
    t.ShowFrequency(bFM, 76.0);
    t.ShowStep(1, 20, 50);
    t.show();
    SignalLog log(t);

    // Drag the thumb from "76" onto "100".
    QStyleOptionSlider opt;
    opt.initFrom(t.Frequency);
    const QPoint grip(t.Frequency->style()->pixelMetric(QStyle::PM_SliderLength, &opt, t.Frequency) / 2,
                      t.Frequency->height() / 2);
    ASSERT_EQ(t.FreqLabels[6]->text(), "100");
    const QPoint onto(t.Frequency->mapFrom(&t, t.FreqLabels[6]->geometry().center()).x(), grip.y());
    Mouse(t.Frequency, QEvent::MouseButtonPress, grip);
    Mouse(t.Frequency, QEvent::MouseMove, onto);
    EXPECT_TRUE(t.Sliding());
    EXPECT_NEAR(log.lastMHz, 100.0, 0.15);
    Mouse(t.Frequency, QEvent::MouseButtonRelease, onto);
    EXPECT_FALSE(t.Sliding());

    t.ShowFrequency(bFM, 76.0);
    t.Frequency->triggerAction(QAbstractSlider::SliderSingleStepAdd); // a key or a click beside the thumb
    EXPECT_DOUBLE_EQ(log.lastMHz, 77.0);
    t.btTuneNext->click();
    t.btScanPrev->click();
    t.btAM->click();
    t.StepSlider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    for (const QPoint at : {QPoint(5, 2), QPoint(5, t.btSpinStep->height() - 3)}) {
        Mouse(t.btSpinStep, QEvent::MouseButtonPress, at);
        Mouse(t.btSpinStep, QEvent::MouseButtonRelease, at);
    }
    t.ShowSeeking(-1);
    t.btStopScan->click();
    t.ShowFineButtons(false, true);
    t.btTunePrev->click(); // greyed: nothing
    EXPECT_EQ(log.entries.join(' ').toStdString(), "moved(held) ended moved fine1 seek-1 am step2 spin1 spin-1 stop");
}

} // namespace
} // namespace tunevox::stationtuner
