#include "app/dialogs/jump_dialog.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace tunevox::app {
namespace {

using radio::bAM;
using radio::bFM;

// A serial radio with both bands: FM 87..108 on a 0.05 MHz grid, AM on 9 kHz.
tJumpInput BothBands() {
    tJumpInput in;
    in.hasFM = true;
    in.hasAM = true;
    in.fmStep = 0.05;
    in.amStep = 0.009;
    in.band = bFM;
    in.frequency = 98.7;
    return in;
}

// What the user does: every keystroke ends up as the edit's text.
void Type(tdJumpTo& d, const QString& text) { d.Freq->setText(text); }

TEST(JumpDialog, TypedAndSlidValuesAreSnappedAndEachBandKeepsItsOwn) {
    tdJumpTo d(BothBands());
    EXPECT_EQ(d.Freq->text(), "98.700");
    EXPECT_EQ(d.LFreq->text(), "MHz");
    EXPECT_TRUE(d.btFM->isChecked());
    EXPECT_EQ(d.sFreq->minimum(), 87000);
    EXPECT_EQ(d.sFreq->maximum(), 108000);
    EXPECT_EQ(d.sFreq->singleStep(), 50);
    EXPECT_EQ(d.sFreq->value(), 98700);

    // 101.27 goes to the grid; the text stays as typed.
    Type(d, "101.27");
    EXPECT_DOUBLE_EQ(d.Frequency(), 101.25);
    EXPECT_EQ(d.Freq->text(), "101.27");
    EXPECT_EQ(d.sFreq->value(), 101250);
    EXPECT_TRUE(d.btOk->isEnabled());

    // AM shows and takes kHz and opens at its lower edge.
    d.btAM->click();
    EXPECT_EQ(d.Band(), bAM);
    EXPECT_EQ(d.LFreq->text(), "kHz");
    EXPECT_EQ(d.Freq->text(), "531");
    EXPECT_EQ(d.sFreq->minimum(), 531);
    EXPECT_EQ(d.sFreq->maximum(), 1620);
    EXPECT_EQ(d.sFreq->singleStep(), 9);
    Type(d, "1000");
    EXPECT_NEAR(d.Frequency(), 0.999, 1e-9);  // the 9 kHz grid from 531
    Type(d, "1620");
    EXPECT_NEAR(d.Frequency(), 1.62, 1e-9);

    // Back on FM the FM value last entered is shown again, and the AM one
    // waits for its band.
    d.btFM->click();
    EXPECT_EQ(d.Band(), bFM);
    EXPECT_EQ(d.Freq->text(), "101.250");
    EXPECT_DOUBLE_EQ(d.Frequency(), 101.25);
    EXPECT_NEAR(d.BandValue(bAM), 1.62, 1e-9);

    // The slider writes its snapped value into the edit.
    d.sFreq->setValue(95010);
    EXPECT_EQ(d.Freq->text(), "95.000");
    EXPECT_DOUBLE_EQ(d.Frequency(), 95.0);
    d.sFreq->setValue(d.sFreq->maximum());
    EXPECT_DOUBLE_EQ(d.Frequency(), 108.0);

    d.btOk->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.Band(), bFM);
    EXPECT_DOUBLE_EQ(d.Frequency(), 108.0);
}

TEST(JumpDialog, TextOutsideTheBandIsRefusedAndNeverRewritten) {
    tdJumpTo d(BothBands());
    for (const char* bad : {"108.5", "abc", "", "86.99", "1e2", "98.7.1"}) {
        Type(d, bad);
        EXPECT_TRUE(d.Refused()) << bad;
        EXPECT_FALSE(d.btOk->isEnabled()) << bad;
        EXPECT_EQ(d.Freq->text(), QString(bad));
        EXPECT_DOUBLE_EQ(d.Frequency(), 98.7) << bad;  // the last good value stays
        EXPECT_TRUE(d.LRange->text().contains("87 to 108 MHz")) << d.LRange->text().toStdString();
    }
    d.btOk->click();
    EXPECT_NE(d.result(), QDialog::Accepted);

    // The upper edge itself is a frequency of the band.
    Type(d, "108");
    EXPECT_FALSE(d.Refused());
    EXPECT_DOUBLE_EQ(d.Frequency(), 108.0);

    // A refused text survives a trip to the other band.
    Type(d, "10x");
    d.btAM->click();
    EXPECT_FALSE(d.Refused());
    d.btFM->click();
    EXPECT_EQ(d.Freq->text(), "10x");
    EXPECT_TRUE(d.Refused());

    // AM takes kHz only: MHz values and a thousands comma are refused.
    d.btAM->click();
    for (const char* bad : {"0.999", "1,620", "530", "1621"}) {
        Type(d, bad);
        EXPECT_TRUE(d.Refused()) << bad;
    }
    EXPECT_TRUE(d.LRange->text().contains("531 to 1620 kHz"));
    Type(d, "531");
    EXPECT_FALSE(d.Refused());
    EXPECT_NEAR(d.Frequency(), 0.531, 1e-9);

    // A frequency handed in above the band opens on the upper edge.
    tJumpInput high = BothBands();
    high.frequency = 110.0;
    tdJumpTo clamped(high);
    EXPECT_EQ(clamped.Freq->text(), "108.000");
    EXPECT_DOUBLE_EQ(clamped.Frequency(), 108.0);
}

TEST(JumpDialog, MissingBandsFinerGridsAndCancel) {
    // An ISA card: FM only, 25 kHz grid.
    tJumpInput isa;
    isa.fmStep = 0.025;
    isa.frequency = 101.27;
    QString asked;
    tdJumpTo d(isa, [&](const QString& t) { asked = t; });
    EXPECT_FALSE(d.btAM->isEnabled());
    EXPECT_TRUE(d.btFM->isEnabled());
    EXPECT_DOUBLE_EQ(d.Frequency(), 101.275);
    d.btHelp->click();
    EXPECT_EQ(asked, "Tuning_radio_frequency");

    // Cancel hands nothing on, whatever was typed.
    Type(d, "90");
    d.btCancel->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);

    // A card asked to open on a band it lacks opens on the one it has.
    tJumpInput wrong = isa;
    wrong.band = bAM;
    wrong.frequency = 0.999;
    tdJumpTo onFM(wrong);
    EXPECT_EQ(onFM.Band(), bFM);
    EXPECT_EQ(onFM.LFreq->text(), "MHz");

    // Japanese FM on a 5 kHz grid.
    tJumpInput jp;
    jp.fmMin = 76.0;
    jp.fmMax = 91.0;
    jp.fmStep = 0.005;
    jp.frequency = 80.0;
    tdJumpTo japan(jp);
    Type(japan, "95");
    EXPECT_TRUE(japan.Refused());
    Type(japan, "90.013");
    EXPECT_NEAR(japan.Frequency(), 90.015, 1e-9);
}

TEST(JumpDialog, EachStateIsShownWholeAndKeepsItsSize) {
    tdJumpTo fm(BothBands(), [](const QString&) {});
    test::Screenshot(fm, "jump_dialog_fm");
    const QSize size = fm.sizeHint();
    tJumpInput am = BothBands();
    am.band = bAM;
    am.frequency = 1.026;
    tdJumpTo onAM(am, [](const QString&) {});
    test::Screenshot(onAM, "jump_dialog_am");
    EXPECT_EQ(onAM.Freq->text(), "1026");
    Type(fm, "120");
    test::Screenshot(fm, "jump_dialog_refused");
    EXPECT_GE(fm.LRange->width(), fm.LRange->fontMetrics().horizontalAdvance(fm.LRange->text()))
        << "the range is read whole";
    EXPECT_EQ(fm.sizeHint(), size) << "the range hint does not make the dialog jump";
}

} // namespace
} // namespace tunevox::app
