// The favorites bank as the user works it from the window: store, clear,
// clear all, rename, rows, both menus, and loading presets files.

#include "app/window/window_fixture.h"

#include "widgets/glyph_button.h"
#include "radio/radio_card.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>

namespace tunevox::app::test {
namespace {

using radio::bFM;

QStringList MenuNames(tdMain& w, const char* menu) {
    QStringList names;
    for (QAction* a : w.findChild<QMenu*>(menu)->actions()) names << a->objectName();
    return names;
}

TEST(MainFavorites, StoreClearAndRenameKeepButtonsAndBothMenusInStep) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=M 090.500\n"
                "[Presets]\nList=2,9,\nStation02=M 088.100 Classic\nStation09=M 101.900 Dance\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    EXPECT_EQ(r.Set().CurrentFavorite(), 0);
    EXPECT_TRUE(w.Action("msStations_Memory")->isEnabled());

    // MEM, then button 7: the name dialog; the menus are rebuilt in order.
    w.Stations_Memory();
    EXPECT_TRUE(w.MemArmed());
    r.ui.dialogAnswers.push_back(AnswerName("  Jazz FM  "));
    w.btRadioClick(7);
    EXPECT_FALSE(w.MemArmed());
    EXPECT_EQ(r.Set().Favorites()[7].Name, "Jazz FM");
    EXPECT_EQ(r.Set().CurrentFavorite(), 7);
    EXPECT_EQ(MenuNames(w, "mPresets"), (QStringList{"m02", "m07", "m09"}));
    EXPECT_EQ(MenuNames(w, "tsmPresets"), (QStringList{"f02", "f07", "f09"}));
    EXPECT_FALSE(w.Action("msStations_Memory")->isEnabled()) << "the station is stored now";
    EXPECT_EQ(w.windowTitle(), "Tunevox - 90.5 MHz (Jazz FM)");

    // A higher slot is appended; a used slot is replaced in place.
    r.Set().GoToFrequency(bFM, false, 93.2);
    r.ui.dialogAnswers.push_back(AnswerName("Talk"));
    w.StoreFavorite(12);
    EXPECT_EQ(MenuNames(w, "mPresets"), (QStringList{"m02", "m07", "m09", "m12"}));
    EXPECT_EQ(w.FavoritesRow(), 2);
    r.Set().GoToFrequency(bFM, false, 96.1);
    r.ui.dialogAnswers.push_back(AnswerName("Public"));
    w.StoreFavorite(2);
    EXPECT_EQ(MenuNames(w, "mPresets"), (QStringList{"m02", "m07", "m09", "m12"}));
    EXPECT_EQ(w.Action("f02")->text(), "Public");
    EXPECT_DOUBLE_EQ(r.Set().Favorites()[2].Frequency, 96.1);

    // Cancel in the name dialog changes nothing.
    r.Set().GoToFrequency(bFM, false, 94.6);
    r.ui.dialogAnswers.push_back(CancelDialog());
    w.StoreFavorite(3);
    EXPECT_FALSE(r.Set().Favorites()[3].Used);

    // Rename the current favorite.
    w.FavMenu(9);
    EXPECT_EQ(r.Set().CurrentFavorite(), 9);
    EXPECT_TRUE(w.Action("m09")->isChecked());
    r.ui.dialogAnswers.push_back(AnswerName("Dance 102"));
    w.Stations_Rename();
    EXPECT_EQ(w.StationText(), "Dance 102");
    EXPECT_EQ(w.Action("m09")->text(), "Dance 102");

    // CLR then a button of another row: that slot empties, its menu items go.
    w.btNextPrevBottomClick(); // row 2
    w.btClrClick();
    EXPECT_TRUE(w.ClrArmed());
    w.btRadioClick(2); // favorite 12
    EXPECT_FALSE(w.ClrArmed());
    EXPECT_FALSE(r.Set().Favorites()[12].Used);
    EXPECT_EQ(w.Action("m12"), nullptr);
    EXPECT_EQ(r.Set().CurrentFavorite(), 9) << "clearing another slot leaves the current one";

    // Clear the current one: the radio stays, nothing is current.
    w.Stations_Clear();
    EXPECT_EQ(r.Set().CurrentFavorite(), 0);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 101.9);
    EXPECT_EQ(w.StationNumText(), "??");
    EXPECT_FALSE(w.Action("tsmStations_Clear")->isEnabled());

    // Clear all asks first; No keeps everything.
    r.ui.boxAnswers.push_back(widgets::tMsgResult::No);
    w.Stations_ClearAll();
    EXPECT_TRUE(r.Set().Favorites()[2].Used);
    w.Stations_ClearAll();
    EXPECT_EQ(r.ui.boxes.back().caption, "Clear all presets");
    EXPECT_EQ(r.ui.boxes.back().text, "Are you sure ?");
    for (int n = 1; n <= radioset::kFavoriteCount; ++n) EXPECT_FALSE(r.Set().Favorites()[n].Used);
    EXPECT_TRUE(MenuNames(w, "mPresets").isEmpty());
}

TEST(MainFavorites, RowsFollowTheSelectedFavoriteAndJapaneseFMRefusesOutOfBandOnes) {
    WindowRig r("[Configuration]\nHardware=3\nPort=2\nJapaneseFM=1\n[Frequency]\nFrequency=M 080.000\n"
                "[Presets]\nList=25,31,\nStation25=M 100.000 Out of band\nStation31=M 085.000 Tokyo\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    EXPECT_EQ(w.FavoritesRow(), 1);
    EXPECT_FALSE(w.Action("m25")->isEnabled());
    EXPECT_TRUE(w.Action("f31")->isEnabled());
    // Recalling the out-of-band favorite tunes the band's lower edge and
    // does not make it current.
    r.Set().SelectFavorite(25, true);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 76.0);
    EXPECT_EQ(r.Set().CurrentFavorite(), 0);
    // Selecting 31 from the menu shows its row; its button then recalls it.
    w.FavMenu(31);
    EXPECT_EQ(w.FavoritesRow(), 4);
    EXPECT_EQ(r.Set().CurrentFavorite(), 31);
    EXPECT_EQ(w.findChild<widgets::TGlyphButton*>("btRadio01")->text(), "31");
    r.Set().GoToFrequency(radio::bFM, false, 80.0);
    w.btRadioClick(1);
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 85.0);
    // Row browsing stops at 1 and 10.
    for (int i = 0; i < 12; ++i) w.btNextPrevBottomClick();
    EXPECT_EQ(w.FavoritesRow(), 10);
    EXPECT_EQ(w.findChild<widgets::TGlyphButton*>("btRadio10")->text(), "00");
}

TEST(MainFavorites, LoadingPresetsReplacesTheBankOnlyWhenTheWholeFileIsGood) {
    WindowRig r("[Configuration]\nHardware=1\nPort=1\n[Frequency]\nFrequency=M 098.700\n"
                "[Presets]\nList=1,\nStation01=M 098.700 Old\n");
    ASSERT_TRUE(r.Start());
    tdMain& w = r.W();
    auto write = [&](const QString& name, const QByteArray& text) {
        QFile f(r.dir.path() + "/" + name);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return f.fileName();
    };
    const QString corrupt = write("bad.tvp", "001.087.500.FM.A\r\n001.088.100.FM.B\r\n");
    r.ui.fileAnswers.push_back(corrupt);
    w.File_LoadPresets();
    EXPECT_EQ(r.ui.fileSuffixes.back(), "tvp") << "a name typed without extension finds the .tvp file";
    EXPECT_TRUE(r.ui.fileFilters.back().startsWith("Tunevox presets (*.tvp)"));
    ASSERT_EQ(r.ui.boxes.size(), 2u);
    EXPECT_TRUE(r.ui.boxes[0].text.contains("current presets will be erased"));
    EXPECT_EQ(r.ui.boxes[1].text, "The presets files is corrupt");
    EXPECT_EQ(r.Set().Favorites()[1].Name, "Old");

    r.ui.fileAnswers.push_back(r.dir.path() + "/missing.tvp");
    w.File_LoadPresets();
    EXPECT_EQ(r.ui.boxes.back().text, "Read error or disk not ready");

    // "No" to the question ends it before the file dialog.
    r.ui.boxAnswers.push_back(widgets::tMsgResult::No);
    w.File_LoadPresets();
    EXPECT_TRUE(r.ui.fileAnswers.empty());

    const QString good = write("good.tvp", "003.087.500.FM.Test" + QByteArray(36, ' ') + "\r\n"
                                           "010.105.700.FM.Sports" + QByteArray(34, ' ') + "\r\n");
    r.ui.fileAnswers.push_back(good);
    w.File_LoadPresets();
    EXPECT_FALSE(r.Set().Favorites()[1].Used);
    EXPECT_EQ(r.Set().Favorites()[3].Name, "Test");
    EXPECT_EQ(MenuNames(w, "mPresets"), (QStringList{"m03", "m10"}));
    EXPECT_DOUBLE_EQ(r.Card().Frequency(), 87.0) << "the radio goes to the band's start";
    EXPECT_EQ(w.PresetsHint(), "Presets loaded from " + good);
}

} // namespace
} // namespace tunevox::app::test
