#include "periphery/tip_of_the_day.h"
#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <set>
#include <vector>

namespace tunevox::periphery {
namespace {

class TipFile {
public:
    explicit TipFile(const QByteArray& content) {
        QFile f(Path());
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }
    QString Path() const { return dir_.path() + "/Tunevox.txt"; }

private:
    QTemporaryDir dir_;
};

QByteArray Lines(int n) {
    QByteArray text;
    for (int i = 1; i <= n; ++i) text += "Tip " + QByteArray::number(i) + "\n";
    return text;
}

// Walks 0, 1, 2, ... and past the bound, as a broken source might, so every
// line the dialog can reach is reached; records the bounds asked for.
struct CountingRandom {
    std::vector<int>* bounds;
    int* next;
    int operator()(int bound) {
        bounds->push_back(bound);
        return (*next)++ % (bound + 2);
    }
};

TEST(TipOfTheDay, TheLastLineIsNeverShownAndNextNeverRepeats) {
    TipFile file(Lines(10));
    std::vector<int> bounds;
    int next = 0;
    std::set<int> seen;
    for (int opening = 0; opening < 12; ++opening) {
        tTipOfTheDayForm form(file.Path(), CountingRandom{&bounds, &next});
        form.FormShow();
        seen.insert(form.ShownLine());
        EXPECT_TRUE(form.NextBtn->isEnabled());
        for (int click = 0; click < 25; ++click) {
            const int before = form.ShownLine();
            form.NextBtnClick();
            EXPECT_NE(form.ShownLine(), before);
            EXPECT_EQ(form.Tip->text(), "Tip " + QString::number(form.ShownLine() + 1));
            seen.insert(form.ShownLine());
        }
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(bounds.front(), 9);  // the first draw: lines 1 to 9

    // A source stuck on one number cannot keep "Next Tip" going round.
    tTipOfTheDayForm stuck(file.Path(), [](int) { return 0; });
    stuck.FormShow();
    EXPECT_EQ(stuck.ShownLine(), 0);
    stuck.NextBtnClick();
    EXPECT_EQ(stuck.ShownLine(), 1);
    stuck.NextBtnClick();
    EXPECT_EQ(stuck.ShownLine(), 0);
}

TEST(TipOfTheDay, ShortFilesAndLineEndingsDoNotHang) {
    auto stuck = [](int) { return 0; };
    {
        TipFile two("First tip\nSecond\n");
        tTipOfTheDayForm form(two.Path(), stuck);
        form.FormShow();
        EXPECT_EQ(form.Tip->text(), "First tip");
        EXPECT_FALSE(form.NextBtn->isEnabled());
        form.NextBtnClick();  // returns, and leaves the tip
        EXPECT_EQ(form.ShownLine(), 0);
    }
    {
        TipFile one("The only tip");  // no final line ending
        tTipOfTheDayForm form(one.Path(), stuck);
        form.FormShow();
        EXPECT_EQ(form.Tip->text(), "The only tip");
        EXPECT_FALSE(form.NextBtn->isEnabled());
    }
    {
        // A byte order mark, all three line endings, a blank line (never
        // drawn) and UTF-8 text.
        TipFile mixed("\xEF\xBB\xBFTip A\r\n\r\nTip B\rTip \xC3\xA9\nLast\r\n");
        std::set<QString> shown;
        int next = 0;
        tTipOfTheDayForm form(mixed.Path(), [&](int bound) { return (next++ / 2) % bound; });
        form.FormShow();
        EXPECT_EQ(form.Lines(), (QStringList{"Tip A", "", "Tip B", QString::fromUtf8("Tip \xC3\xA9"), "Last"}));
        for (int i = 0; i < 12; ++i, form.NextBtnClick()) shown.insert(form.Tip->text());
        EXPECT_EQ(shown, (std::set<QString>{"Tip A", "Tip B", QString::fromUtf8("Tip \xC3\xA9")}));
    }
}

TEST(TipOfTheDay, AMissingOrEmptyFileNamesItsFullPath) {
    QTemporaryDir dir;
    const QString missing = dir.path() + "/nowhere/Tunevox.txt";
    TipFile empty("");
    TipFile blank("\n  \n\n");
    for (const QString& path : {missing, empty.Path(), blank.Path(), dir.path()}) {
        tTipOfTheDayForm form(path, [](int) { return 0; });
        form.FormShow();
        EXPECT_EQ(form.DiduKnow->text(), "Sorry, no tips avalaible.");
        EXPECT_EQ(form.Tip->text(), "The file where the tips are stored (" + QDir::toNativeSeparators(path) +
                                        ") is unreadable or missing");
        EXPECT_FALSE(form.NextBtn->isEnabled());
        EXPECT_EQ(form.ShownLine(), -1);
    }
}

TEST(TipOfTheDay, TheCheckBoxIsReadBackAfterShowing) {
    TipFile file(Lines(5));
    TTipOfTheDayDlg tod([](int) { return 2; });
    tod.SetTipFile(file.Path());
    tod.SetShowOnStart(true);
    bool wasTicked = false;
    QString tipShown;
    tod.Execute(nullptr, [&](QDialog& d) {
        auto& form = dynamic_cast<tTipOfTheDayForm&>(d);
        wasTicked = form.ShowTips->isChecked();
        tipShown = form.Tip->text();
        form.ShowTips->setChecked(false);
        form.OKBtn->click();
        return d.result();
    });
    EXPECT_TRUE(wasTicked);
    EXPECT_EQ(tipShown, "Tip 3");
    EXPECT_FALSE(tod.ShowOnStart());

    tod.Execute(nullptr, [](QDialog& d) {
        d.findChild<QCheckBox*>("ShowTips")->setChecked(true);
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(tod.ShowOnStart());

    // The desktop ending its session closes the window through the
    // shutdown function.
    int shutdowns = 0;
    tod.SetOnShutdown([&] { ++shutdowns; });
    tod.Execute(nullptr, [](QDialog& d) {
        dynamic_cast<tTipOfTheDayForm&>(d).SessionEnding();
        return d.result();
    });
    EXPECT_EQ(shutdowns, 1);
}

TEST(TipOfTheDay, Screenshots) {
    TipFile file(
        "The alarm recalls a favorite at its minute: press the ALM button, choose the hour, the minutes and "
        "the station, and the radio wakes you on it.\nSecond tip\nLast\n");
    tTipOfTheDayForm form(file.Path(), [](int) { return 0; });
    form.ShowTips->setChecked(true);
    form.FormShow();
    test::Screenshot(form, "tip_of_the_day");
    // A tip longer than the room kept for it is not cut off.
    QByteArray longTip;
    for (int i = 0; i < 14; ++i) longTip += "Scripts run actions at times of day, one after another. ";
    TipFile longFile(longTip + "\nLast\n");
    tTipOfTheDayForm tall(longFile.Path(), [](int) { return 0; });
    tall.show();
    tall.FormShow();
    test::Screenshot(tall, "tip_of_the_day_long");
    EXPECT_GE(tall.Tip->height(), tall.Tip->heightForWidth(tall.Tip->width()));

    tTipOfTheDayForm missing("/usr/share/tunevox/Tunevox.txt", [](int) { return 0; });
    missing.FormShow();
    test::Screenshot(missing, "tip_of_the_day_missing");
}

} // namespace
} // namespace tunevox::periphery
