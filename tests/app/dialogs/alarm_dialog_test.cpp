#include "app/dialogs/alarm_dialog.h"
#include "app/dialogs/snooze_dialog.h"
#include "support/qt_test_support.h"

#include "display/tdisplay.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tunevox::app {
namespace {

using radio::bAM;
using radio::bFM;
using radioset::tFavorites;

void Put(tFavorites& bank, int n, radio::tBand band, double mhz, const char* name) {
    bank[n].Used = true;
    bank[n].Band = band;
    bank[n].Frequency = mhz;
    bank[n].Name = name;
}

tFavorites SampleBank() {
    tFavorites bank;
    Put(bank, 1, bFM, 98.7, "Classic");
    Put(bank, 5, bAM, 0.999, "Talk");
    Put(bank, 7, bFM, 108.0004, "Edge");   // "108.000": inside, to the kHz
    Put(bank, 8, bFM, 108.001, "Beyond");  // outside every FM range
    Put(bank, 100, bFM, 90.0, "Hundred");
    bank[3].Frequency = 95.0;              // not used: never listed
    return bank;
}

QStringList Entries(const tdAlarm& d) {
    QStringList list;
    for (int i = 0; i < d.Favorites->count(); ++i) list << d.Favorites->itemText(i);
    return list;
}

QString Cells(const tdAlarm& d) {
    QString s;
    for (auto* cell : {d.H1, d.H2, d.M1, d.M2}) s += QChar(cell->Digit());
    return s;
}

TEST(AlarmDialog, ListsOnlyReceivableFavoritesAndOpensOnTheHandedValues) {
    const tFavorites bank = SampleBank();
    {
        // FM 87..108 without AM: the AM favorite and the one above 108.000
        // are left out; favorite 100 reads "00".
        tdAlarm d(7, 45, 7, bank, false, true, 87.0, 108.0, 1);
        EXPECT_EQ(Entries(d), (QStringList{"01 - Classic", "07 - Edge", "00 - Hundred"}));
        EXPECT_EQ(d.Favorite(), 7);
        EXPECT_EQ(d.HH->text(), "07");
        EXPECT_EQ(Cells(d), "0745");
        EXPECT_TRUE(d.btOk->isEnabled());
    }
    {
        // Japanese FM with AM; the handed favorite is not receivable, so
        // the current favorite's entry is selected.
        tdAlarm d(6, 30, 1, bank, true, true, 76.0, 91.0, 100);
        EXPECT_EQ(Entries(d), (QStringList{"05 - Talk", "00 - Hundred"}));
        EXPECT_EQ(d.Favorite(), 100);
    }
    {
        // Neither is listed: nothing is chosen, and OK waits for the
        // user's choice. A stored time out of its range opens clamped.
        tdAlarm d(30, 75, 8, bank, true, true, 87.0, 108.0, 8);
        EXPECT_EQ(d.Favorite(), 0);
        EXPECT_EQ(d.Favorites->currentIndex(), -1);
        EXPECT_FALSE(d.btOk->isEnabled());
        EXPECT_EQ(Cells(d), "2359");
        d.Favorites->setCurrentIndex(1);
        EXPECT_TRUE(d.btOk->isEnabled());
        EXPECT_EQ(d.Favorite(), 5);
    }
    EXPECT_FALSE(radioset::CanReceive(bank[100], true, false, 87.0, 108.0)); // a card without FM
}

TEST(AlarmDialog, MinutesSpinningPast59CarryIntoTheHour) {
    const tFavorites bank = SampleBank();
    tdAlarm d(6, 59, 1, bank, false, true, 87.0, 108.0, 0);
    d.MM->stepBy(1);
    EXPECT_EQ(d.Hour(), 7);
    EXPECT_EQ(d.Minute(), 0);
    EXPECT_EQ(d.MM->text(), "00");
    EXPECT_EQ(Cells(d), "0700");

    d.HH->setValue(23);
    d.MM->setValue(59);
    EXPECT_EQ(Cells(d), "2359");
    d.MM->stepBy(1);
    EXPECT_EQ(Cells(d), "0000");
    EXPECT_EQ(d.Hour(), 0);
    EXPECT_TRUE(d.btOk->isEnabled());

    // An emptied minute field leaves the cells alone and holds OK back
    // until it is a number again.
    d.MM->setValue(15);
    auto* edit = d.MM->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText("");
    EXPECT_EQ(Cells(d), "0015");
    EXPECT_FALSE(d.btOk->isEnabled());
    edit->setText("20");
    EXPECT_EQ(Cells(d), "0020");
    EXPECT_TRUE(d.btOk->isEnabled());
}

TEST(AlarmDialog, OkNeedsAFavoriteTheCardCanReceive) {
    tFavorites bank;
    Put(bank, 4, bAM, 0.999, "Talk");
    tdAlarm d(6, 30, 4, bank, false, true, 87.0, 108.0, 4);
    EXPECT_EQ(d.Favorites->count(), 0);
    EXPECT_EQ(d.Favorite(), 0);
    EXPECT_FALSE(d.btOk->isEnabled());
    EXPECT_NE(d.findChild<QLabel*>("NoFavorites"), nullptr);

    // Choosing an entry enables OK once the selection is valid.
    Put(bank, 9, bFM, 100.0, "Rock");
    tdAlarm withOne(6, 30, 0, bank, false, true, 87.0, 108.0, 0);
    withOne.Favorites->setCurrentIndex(-1);
    EXPECT_FALSE(withOne.btOk->isEnabled());
    withOne.Favorites->setCurrentIndex(0);
    EXPECT_TRUE(withOne.btOk->isEnabled());
    EXPECT_EQ(withOne.Favorite(), 9);

    QString asked;
    tdAlarm helped(6, 30, 0, bank, false, true, 87.0, 108.0, 0, [&](const QString& t) { asked = t; });
    helped.btHelp->click();
    EXPECT_EQ(asked, "The_Alarm_function");
    EXPECT_FALSE(withOne.btHelp->isEnabled());  // no help function handed in
}

TEST(SnoozeDialog, OpensOnTheRememberedMinutesWithinItsRange) {
    EXPECT_EQ(tdSnooze(0).Minutes(), 1);
    EXPECT_EQ(tdSnooze(45).Minutes(), 45);
    EXPECT_EQ(tdSnooze(500).Minutes(), 120);

    tdSnooze d(30);
    auto* edit = d.sMinutes->findChild<QLineEdit*>();
    edit->setText("");
    EXPECT_FALSE(d.btOk->isEnabled());
    edit->setText("90");
    EXPECT_TRUE(d.btOk->isEnabled());
    EXPECT_EQ(d.Minutes(), 90);
}

TEST(AlarmDialog, ALongNameAndAnEmptyListAreShownWhole) {
    tFavorites bank = SampleBank();
    Put(bank, 12, bFM, 101.3, "Radio Nova Jazz and Soul");
    tdAlarm alarm(7, 30, 12, bank, true, true, 87.0, 108.0, 1, [](const QString&) {});
    test::Screenshot(alarm, "alarm_dialog");
    test::ExpectNothingClipped(alarm, "alarm dialog");
    EXPECT_EQ(alarm.Favorites->currentText(), "12 - Radio Nova Jazz and Soul");
    tdAlarm empty(6, 30, 0, tFavorites{}, true, true, 87.0, 108.0, 0, [](const QString&) {});
    test::Screenshot(empty, "alarm_dialog_no_favorites");
    test::ExpectNothingClipped(empty, "alarm dialog without favorites");
    EXPECT_FALSE(empty.btOk->isEnabled());
    EXPECT_NE(empty.findChild<QLabel*>("NoFavorites"), nullptr);
    tdSnooze snooze(45, [](const QString&) {});
    test::Screenshot(snooze, "sleep_dialog");
    test::ExpectNothingClipped(snooze, "sleep dialog");
}

} // namespace
} // namespace tunevox::app
