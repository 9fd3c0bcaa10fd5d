// The scanner window over a radio set on an emulated card: how it is set up
// from the radio set, a sweep as the user sees it (buttons, progress,
// closing refused), the list and the spectrum working together, and the
// favorites buttons taking dropped stations and clearing.

#include "scanner/scanner_dialog.h"

#include "favoritesgrid/favorites_grid.h"
#include "radio/frequency.h"
#include "radioset/radio_set_fixture.h"
#include "scanner/band_chart.h"
#include "support/qt_test_support.h"
#include "support/scripted_interaction.h"
#include "widgets/glyph_button.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>

namespace tunevox::scanner {
namespace {

using radioset::test::RadioSetRig;
using tunevox::test::ScriptedInteraction;
using widgets::tMsgResult;

// An Aztech card (25 kHz steps, stereo detection), a step of 100 kHz, and
// two favorites, the second current.
constexpr char kIni[] = "[Configuration]\nHardware=8\nPort=1\nCheckIfTunedST=1\n"
                        "[Frequency]\nTuneStep=4\n"
                        "[Presets]\nCurrent=5\nList=2,5,\nStation02=M 098.700 One\nStation05=M 094.600 Rock\n";

// "098.700" as the list shows it, with the user's decimal separator.
QString Shown(double mhz) {
    return QString::fromStdString(radio::FrequencyText(mhz)).replace('.', QLocale().decimalPoint());
}

struct ScannerRig {
    ScannerRig() : r(kIni) {
        r.Start();
        dialog = std::make_unique<tdScanner>(r.Set(), ui, [this](const QString& t) { helpAsked << t; });
    }
    void Sweep() {
        dialog->btScanClick();
        r.Drain();
    }
    int Rows() const { return dialog->Found->topLevelItemCount(); }
    QString RowText(int row) const { return dialog->Found->topLevelItem(row)->text(0); }
    int RowReading(const QString& text) const {
        for (int i = 0; i < Rows(); ++i)
            if (RowText(i) == text) return i;
        return -1;
    }
    void Select(int row) { dialog->Found->setCurrentItem(dialog->Found->topLevelItem(row)); }
    // The station a drag of `row` carries, as the buttons receive it.
    favoritesgrid::tDraggedStation Dragged(int row) {
        Select(row);
        std::unique_ptr<QMimeData> mime(dialog->Found->makeDragData());
        return *favoritesgrid::ReadStationMime(*mime);
    }
    double Tuned() const { return r.rig->EmulatedReceiver()->frequencyMHz; }

    RadioSetRig r;
    ScriptedInteraction ui;
    QStringList helpAsked;
    std::unique_ptr<tdScanner> dialog;
};

TEST(ScannerWindow, IsSetUpFromTheRadioSetAndSweepsWithVisibleProgress) {
    ScannerRig s;
    tdScanner& d = *s.dialog;
    EXPECT_EQ(d.windowTitle(), "Scanner");
    // No emulated card measures the signal's strength: the threshold shows
    // the strongest, greyed.
    EXPECT_FALSE(d.SStrenght->isEnabled());
    EXPECT_FALSE(d.All->isEnabled());
    EXPECT_EQ(d.SStrenght->value(), 3);
    EXPECT_EQ(d.LWeak->palette().color(QPalette::WindowText), QColor(128, 128, 128));
    EXPECT_EQ(d.StepSlider->value(), 4);
    EXPECT_EQ(d.Step->text(), "100");
    EXPECT_FALSE(d.btStop->isEnabled());
    EXPECT_FALSE(d.btTunePrev->isEnabled() || d.btTuneNext->isEnabled());
    EXPECT_EQ(d.Presets->Button(5)->toolTip(), "094.600 - Rock");
    d.btHelp->click();
    EXPECT_EQ(s.helpAsked, QStringList{"The_scanner"});
    tunevox::test::ExpectNothingClipped(d, "scanner");
    tunevox::test::Screenshot(d, "scanner_before_sweep");

    d.show();
    platform::VirtualSleeper clock; // the card's time, which the list's pace follows
    d.UseClock(clock);
    d.btScanClick();
    for (QPushButton* b : {d.btScan, d.btHelp, d.btCancel, d.btOk}) EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(d.btStop->isEnabled());
    while (d.Session().NextFrequency() < 99.0) ASSERT_TRUE(s.r.RunOne());
    EXPECT_EQ(d.Spectrum->ProgressText(), "Scanning 57%");
    EXPECT_EQ(s.Rows(), 1) << "on a fast card the rows after the first wait their turn";
    clock.Advance(100);
    ASSERT_TRUE(s.r.RunOne());
    EXPECT_FALSE(d.close()) << "the window stays while it sweeps";
    d.reject();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(s.Rows(), 56) << "the rows of the eight stations below 99 MHz arrive with the sweep";
    tunevox::test::Screenshot(d, "scanner_during_sweep");

    s.r.Drain();
    EXPECT_EQ(s.Rows(), 91) << "the last rows come with the sweep's end";
    EXPECT_TRUE(d.Spectrum->ProgressText().isEmpty());
    EXPECT_TRUE(d.btOk->isEnabled() && d.btHelp->isEnabled() && !d.btStop->isEnabled());
    const int one = s.RowReading(Shown(98.7));
    ASSERT_GE(one, 0);
    EXPECT_EQ(d.Found->topLevelItem(one)->text(1), "S");
    EXPECT_EQ(d.Found->topLevelItem(one)->text(2), "One");
    tunevox::test::Screenshot(d, "scanner_after_sweep");
    EXPECT_TRUE(d.close());
}

// A mouse press on the spectrum at design x `x`, y 40 (its active middle).
void PressSpectrum(TSpectrum* spectrum, int x) {
    const QPointF at(x * spectrum->width() / double(TSpectrum::kDesignWidth), spectrum->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, spectrum->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(spectrum, &press);
}

TEST(ScannerWindow, TheListAndTheSpectrumTuneAndFineTuneTheSelectedStation) {
    ScannerRig s;
    tdScanner& d = *s.dialog;
    s.Sweep();
    // A press on a station's bar selects its row without tuning; one
    // between stations selects nothing new.
    const double before = s.Tuned();
    PressSpectrum(d.Spectrum, d.Spectrum->BarX(101.9));
    ASSERT_EQ(d.SelectedRow(), s.RowReading(Shown(101.9)));
    EXPECT_DOUBLE_EQ(s.Tuned(), before);
    const int selected = d.SelectedRow();
    PressSpectrum(d.Spectrum, d.Spectrum->BarX(100.0));
    EXPECT_EQ(d.SelectedRow(), selected);

    // Every key press and release on the list tunes to the row selected:
    // down to the station's last row, 101.975.
    d.Found->setFocus();
    for (int i = 0; i < 3; ++i) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(d.Found, &down);
    }
    const int last = selected + 3;
    EXPECT_EQ(d.SelectedRow(), last);
    EXPECT_NEAR(s.Tuned(), 101.975, 1e-6);
    s.r.Card().TuneTo(true, radio::bFM, 90.0);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(d.Found, &release);
    EXPECT_NEAR(s.Tuned(), 101.975, 1e-6) << "the release tunes too";

    // Fine tuning by 100 kHz: the row goes up (the next station is far),
    // not down onto its neighbour; the list shows the new frequency.
    EXPECT_FALSE(d.btTunePrev->isEnabled());
    d.btTuneNext->click();
    EXPECT_EQ(s.RowText(last), Shown(102.075));
    EXPECT_NEAR(s.Tuned(), 102.075, 1e-6);
    d.btSpinStepBottomClick();
    EXPECT_EQ(d.Step->text(), "75");
    EXPECT_EQ(d.StepSlider->value(), 3);
}

TEST(ScannerWindow, StationsAreDroppedOntoButtonsAndButtonsCleared) {
    ScannerRig s;
    tdScanner& d = *s.dialog;
    favoritesgrid::TFavoritesGrid& grid = *d.Presets;
    EXPECT_EQ(d.Found->makeDragData(), nullptr) << "nothing to drag before a sweep";
    EXPECT_FALSE(grid.AcceptsDrop({103.5, radio::bFM, ""}, 9));
    s.Sweep();

    // The session's rules decide (held stations are refused everywhere).
    EXPECT_FALSE(grid.AcceptsDrop(s.Dragged(s.RowReading(Shown(98.7))), 2));
    // A new one lands as "????", becomes current and lights its button.
    const int row = s.RowReading(Shown(103.5));
    const favoritesgrid::tDraggedStation dance = s.Dragged(row);
    ASSERT_TRUE(grid.Drop(dance, 9));
    EXPECT_EQ(grid.Button(9)->toolTip(), "103.500 - ????");
    EXPECT_EQ(d.Session().Current(), 9);
    EXPECT_FALSE(grid.AcceptsDrop(dance, 10)) << "held now";
    // A station that is not the list's selected row is not the scanner's.
    s.Select(0);
    EXPECT_FALSE(grid.AcceptsDrop({104.4, radio::bFM, "Elsewhere"}, 10));

    grid.onClear(9);
    EXPECT_EQ(grid.Button(9)->toolTip(), "");
    EXPECT_EQ(d.Session().Current(), 0);

    s.ui.boxAnswers = {tMsgResult::No, tMsgResult::Yes};
    d.iClearAllClick();
    EXPECT_EQ(grid.Button(2)->toolTip(), "098.700 - One") << "answered No";
    ASSERT_EQ(s.ui.boxes.size(), 1u);
    EXPECT_EQ(s.ui.boxes[0].caption + "|" + s.ui.boxes[0].text, "Clear all favorites|Are you sure ?");
    s.Dragged(row);
    ASSERT_TRUE(grid.Drop(dance, 9));
    d.iClearAllClick();
    const QImage emptyOff = grid.Button(1)->Glyph();
    for (int n = 1; n <= radioset::kFavoriteCount; ++n) {
        ASSERT_EQ(grid.Button(n)->toolTip(), "") << n;
        ASSERT_EQ(grid.Button(n)->Glyph(), emptyOff) << n << ": the former current one is off too";
    }
    EXPECT_EQ(d.Session().Current(), 9) << "its number stays until OK settles it";
    EXPECT_TRUE(s.r.Set().Favorites()[2].Used) << "the radio set's bank waits for OK";
}

} // namespace
} // namespace tunevox::scanner
