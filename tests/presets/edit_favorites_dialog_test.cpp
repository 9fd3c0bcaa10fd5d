// The presets editor's window over a radio set on an emulated card, used
// as a user uses it: typing, the tuner's slider, the buttons and the
// questions and messages the user reads (answered by a script), the list's
// dot, the preview's button, and how the window closes.

#include "presets/edit_favorites_dialog.h"

#include "presets/file_size_limit.h"
#include "presets/presets_list.h"
#include "radio/frequency.h"
#include "radioset/radio_set_fixture.h"
#include "stationtuner/station_tuner.h"
#include "widgets/glyph_button.h"
#include "support/qt_test_support.h"
#include "support/scripted_interaction.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <cerrno>
#include <cstring>

namespace tunevox::presets {
namespace {

using radioset::FormatPresets;
using radioset::test::RadioSetRig;
using tunevox::test::ScriptedInteraction;
using widgets::tMsgResult;

constexpr char kIni[] = "[Configuration]\nHardware=8\nPort=1\nVolumeLine=1\n[Audio]\nVolume=168\n"
                        "[Presets]\nCurrent=2\nList=1,2,5,\n"
                        "Station01=M 088.100 Classic\nStation02=M 098.700 Radio One\nStation05=M 101.900 Dance\n";

struct WindowRig {
    WindowRig() : r(kIni) { r.Start(); }
    tdEditFavorites& Open() {
        dialog = std::make_unique<tdEditFavorites>(r.Set(), ui);
        return *dialog;
    }
    void Type(const QString& text) {
        for (const QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(dialog->StationName, &key);
        }
    }
    void Key(QWidget* to, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &press);
    }
    QString Cell(int n, int column) const { return dialog->Model().index(n - 1, column).data().toString(); }
    int Dot() const {
        for (int n = 1; n <= radioset::kFavoriteCount; ++n)
            if (dialog->Model().index(n - 1, 0).data(TPresetsModel::kCurrentRole).toBool()) return n;
        return 0;
    }
    QString LastBox() const { return ui.boxes.empty() ? QString() : ui.boxes.back().text; }
    double Heard() const { return r.rig->EmulatedReceiver()->frequencyMHz; }

    RadioSetRig r;
    ScriptedInteraction ui;
    std::unique_ptr<tdEditFavorites> dialog;
};

TEST(EditPresetsWindow, BadFilesChangeNothingASavedFileOpensAsSavedAndAFailedSaveKeepsIt) {
    WindowRig w;
    tdEditFavorites& d = w.Open();
    EXPECT_EQ(d.windowTitle(), "Edit presets - Internal");
    EXPECT_EQ(d.StoredEntries->text(), "Stored entries: 3");
    const std::string bank = FormatPresets(d.Bank());

    tunevox::test::WriteTextFile(w.r.dir.File("bad.tvp"), "001.098.700.FM.One\r\nrubbish\r\n");
    w.ui.fileAnswers = {QString::fromStdString(w.r.dir.File("bad.tvp")),
                        QString::fromStdString(w.r.dir.File("gone.tvp"))};
    d.btLoad->click();
    ASSERT_EQ(w.ui.boxes.size(), 2u);
    EXPECT_EQ(w.ui.boxes[0].text, "If you load a new presets set, the\ncurrent presets will be erased.\nAre you sure ?");
    EXPECT_EQ(w.ui.boxes[1].caption, "Warning");
    EXPECT_EQ(w.ui.boxes[1].text, "The presets files is corrupt");
    d.iLoad->trigger();
    EXPECT_EQ(w.LastBox(), "Read error or disk not ready");
    EXPECT_EQ(FormatPresets(d.Bank()), bank);
    EXPECT_EQ(d.windowTitle(), "Edit presets - Internal");
    EXPECT_EQ(w.ui.fileFilters.first(), "Tunevox presets (*.tvp);;Plain text (*.txt);;All files (*)");
    EXPECT_EQ(w.ui.fileSuffixes.first(), "tvp");

    // Save asks for a file while the favorites are internal, then not again.
    const QString path = QString::fromStdString(w.r.dir.File("mine.tvp"));
    w.ui.fileAnswers = {path};
    d.btSave->click();
    EXPECT_EQ(d.windowTitle(), "Edit presets - " + path);
    EXPECT_EQ(tunevox::test::ReadTextFile(path.toStdString()), bank);
    d.btSave->click();
    EXPECT_EQ(w.ui.fileFilters.size(), 3);

    // Cleared (after a question), then opened again without one.
    d.btNew->click();
    EXPECT_EQ(w.ui.boxes.back().caption, "Warning!");
    EXPECT_EQ(w.LastBox(), "Do you wish clear all presets?");
    EXPECT_EQ(d.StoredEntries->text(), "Stored entries: 0");
    const size_t boxes = w.ui.boxes.size();
    w.ui.fileAnswers = {path};
    d.SelectSlot(30);
    d.btLoad->click();
    EXPECT_EQ(w.ui.boxes.size(), boxes) << "nothing to lose, nothing asked";
    EXPECT_EQ(FormatPresets(d.Bank()), bank);
    EXPECT_EQ(d.Presets->currentIndex().row(), 0);
    EXPECT_EQ(w.Dot(), 0);

    // A write that fails keeps the file there and says which and why.
    d.SelectSlot(3);
    w.Type("Jazz");
    {
        const test::FileSizeLimit full(64);
        d.btSave->click();
    }
    EXPECT_TRUE(w.LastBox().startsWith("Presets write error")) << w.LastBox().toStdString();
    EXPECT_TRUE(w.LastBox().contains(path));
    EXPECT_TRUE(w.LastBox().contains(QString::fromLocal8Bit(std::strerror(EFBIG))));
    EXPECT_EQ(tunevox::test::ReadTextFile(path.toStdString()), bank);
    EXPECT_EQ(d.windowTitle(), "Edit presets - " + path);
}

TEST(EditPresetsWindow, DuplicatesAreShownAndBlockOkAndSaveTheDotFollowsDeletes) {
    WindowRig w;
    tdEditFavorites& d = w.Open();
    EXPECT_FALSE(d.ErrMsg->isVisibleTo(&d));
    EXPECT_EQ(w.Dot(), 2);

    // A name typed into an empty slot, then two slots on 101.3 MHz.
    d.SelectSlot(3);
    w.Type("Jazz");
    EXPECT_EQ(w.Cell(3, TPresetsModel::cFrequency), QString("087.000").replace('.', QLocale().decimalPoint()));
    EXPECT_EQ(d.StoredEntries->text(), "Stored entries: 4");
    d.StationData->Frequency->setValue(101300);
    d.SelectSlot(4);
    d.StationData->Frequency->setValue(101300);
    EXPECT_TRUE(d.ErrMsg->isVisibleTo(&d));
    EXPECT_FALSE(d.btOk->isEnabled() || d.btSave->isEnabled() || d.iSave->isEnabled());
    tunevox::test::Screenshot(d, "presets_duplicate");
    tunevox::test::ExpectNothingClipped(d, "presets, duplicate");
    d.btOkClick();
    EXPECT_FALSE(d.OkPressed());
    d.btClear->click();
    EXPECT_FALSE(d.ErrMsg->isVisibleTo(&d));
    EXPECT_TRUE(d.btOk->isEnabled() && d.btSave->isEnabled());

    // Deleting above the current favorite takes its dot up with it;
    // deleting the current favorite takes the dot away.
    d.SelectSlot(1);
    d.btDelete->click();
    EXPECT_EQ(w.Dot(), 1);
    EXPECT_EQ(w.Cell(1, TPresetsModel::cName), "Radio One");
    d.btDelete->click();
    EXPECT_EQ(w.Dot(), 0);

    d.SelectSlot(20);
    w.Key(d.Presets, Qt::Key_Up);
    EXPECT_EQ(d.Editor().Selected(), 19) << "the keys walk the list";
}

TEST(EditPresetsWindow, CancelAfterAChangeAsksAndNoStaysWhileOkNeverAsks) {
    WindowRig w;
    {
        tdEditFavorites& d = w.Open();
        d.show();
        d.btCancel->click();
        EXPECT_FALSE(d.isVisible()) << "nothing changed, nothing asked";
        EXPECT_TRUE(w.ui.boxes.empty());
    }
    tdEditFavorites& d = w.Open();
    d.show();
    d.SelectSlot(2);
    w.Type(" FM");
    w.ui.boxAnswers = {tMsgResult::No, tMsgResult::Yes};
    d.btCancel->click();
    ASSERT_EQ(w.ui.boxes.size(), 1u);
    EXPECT_EQ(w.ui.boxes[0].caption, "Warning");
    EXPECT_EQ(w.LastBox(), "Presets are changed!\nAre you sure that you want\nexit without save?");
    EXPECT_TRUE(d.isVisible());
    w.Key(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_FALSE(d.OkPressed());
    EXPECT_EQ(w.r.Set().Favorites()[2].Name, "Radio One");

    tdEditFavorites& again = w.Open();
    again.show();
    again.SelectSlot(2);
    w.Type(" FM");
    again.btOk->click();
    EXPECT_EQ(w.ui.boxes.size(), 2u) << "Ok asks nothing";
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_TRUE(again.OkPressed());
    EXPECT_EQ(again.Bank()[2].Name, "Radio One FM");
    EXPECT_EQ(again.Current(), 2);
}

TEST(EditPresetsWindow, ListenPlaysTheSlotUntilTheTimerAndTheCardGoesBack) {
    WindowRig w;
    w.r.Card().TuneTo(true, radio::bFM, 90.5);
    tdEditFavorites& d = w.Open();
    d.show();
    d.SelectSlot(5);
    d.btListen->click();
    EXPECT_TRUE(d.btListen->isChecked());
    EXPECT_EQ(d.btListen->text(), "Listen T");
    EXPECT_EQ(radio::FrequencyText(w.Heard()), "101.900");
    w.r.timers["Preview"].Fire();
    EXPECT_FALSE(d.btListen->isChecked());
    EXPECT_EQ(d.btListen->text(), "Listen");
    EXPECT_EQ(radio::FrequencyText(w.Heard()), "090.500");

    // Closing the window ends it too.
    d.btListen->click();
    EXPECT_EQ(radio::FrequencyText(w.Heard()), "101.900");
    d.btCancel->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(radio::FrequencyText(w.Heard()), "090.500");
}

TEST(EditPresetsWindow, AFullBankScrollsThroughAllHundredRows) {
    WindowRig w;
    std::string file;
    for (int n = 1; n <= radioset::kFavoriteCount; ++n) {
        char line[64];
        const std::string name = n == 1 ? std::string(40, 'W') : n % 7 == 0 ? "Radio " + std::to_string(n) + " Classics"
                                                                            : "Station " + std::to_string(n);
        std::snprintf(line, sizeof line, "%03d.%s.FM.%-40s\r\n", n, radio::FrequencyText(87.0 + 0.2 * n).c_str(),
                      name.c_str());
        file += line;
    }
    tunevox::test::WriteTextFile(w.r.dir.File("full.tvp"), file);
    ASSERT_EQ(w.r.Set().LoadPresets(w.r.dir.File("full.tvp")), radioset::prOk);
    w.r.Set().SetBankFromWindow(w.r.Set().Favorites(), 3);
    tdEditFavorites& d = w.Open();
    EXPECT_EQ(d.StoredEntries->text(), "Stored entries: 100");
    EXPECT_FALSE(d.btInsert->isEnabled());
    EXPECT_EQ(d.Presets->viewport()->height() / d.Presets->RowHeight(), TPresetsList::kVisibleRows);
    d.SelectSlot(2);
    tunevox::test::Screenshot(d, "presets_full");
    tunevox::test::ExpectNothingClipped(d, "presets, full bank");
    d.SelectSlot(100);
    EXPECT_TRUE(d.Presets->viewport()->rect().contains(d.Presets->visualRect(d.Model().index(99, 0))));
    EXPECT_EQ(w.Cell(100, TPresetsModel::cNumber), "00");
}

} // namespace
} // namespace tunevox::presets
