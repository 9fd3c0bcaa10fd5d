#include "favoritesgrid/favorites_grid.h"

#include "display/pictures.h"
#include "radio/frequency.h"
#include "support/qt_test_support.h"
#include "widgets/glyph_button.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include <memory>
#include <vector>

namespace tunevox::favoritesgrid {
namespace {

using radio::bAM;
using radio::bFM;

radioset::tFavorites SampleBank() {
    radioset::tFavorites bank{};
    auto put = [&](int n, double f, radio::tBand band, const char* name) { bank[n] = {name, f, band, false, true}; };
    put(1, 98.7, bFM, "Radio One");
    put(2, 0.999, bAM, "   ");
    put(3, 101.1, bFM, "");
    put(12, 1.008, bAM, "Mittelwelle");
    put(100, 104.4, bFM, "  Jazz ");
    return bank;
}

// Distinct schemes, so that a band or state mixed up shows as a wrong picture.
const tButtonColors kColors{.fm = 2, .am = 6, .empty = 4};

QImage Bt(int scheme, bool on) {
    return display::PictureTransparent(QString("BT%1%2").arg(scheme).arg(on ? "ON" : "OFF"));
}

TEST(FavoritesGrid, ShowsTheBankTenToARow) {
    TFavoritesGrid grid;
    grid.ShowBank(SampleBank(), 12, kColors);
    EXPECT_EQ(grid.sizeHint(), QSize(280, 320));
    EXPECT_EQ(grid.Button(100)->objectName() + grid.Button(100)->text(), "btRadio0000");
    EXPECT_EQ(grid.Button(11)->geometry(), QRect(0, 32, 28, 32));
    EXPECT_EQ(grid.Button(100)->geometry(), QRect(252, 288, 28, 32));

    EXPECT_EQ(grid.Button(1)->toolTip(), "098.700 - Radio One");
    EXPECT_EQ(grid.Button(2)->toolTip(), "000.999");
    EXPECT_EQ(grid.Button(100)->toolTip(), "104.400 - Jazz");
    EXPECT_EQ(grid.Button(4)->toolTip(), "");
    EXPECT_EQ(grid.Button(1)->Glyph(), Bt(2, false));
    EXPECT_EQ(grid.Button(2)->Glyph(), Bt(6, false));
    EXPECT_EQ(grid.Button(4)->Glyph(), Bt(4, false));
    EXPECT_EQ(grid.Button(12)->Glyph(), Bt(6, true));
    test::ExpectNothingClipped(grid, "favorites grid");
    test::Screenshot(grid, "favorites_grid");

    // Another current favorite: the old one goes off, an empty current one
    // lights in the empty scheme.
    grid.ShowBank(SampleBank(), 50, kColors);
    EXPECT_EQ(grid.Button(12)->Glyph(), Bt(6, false));
    EXPECT_EQ(grid.Button(50)->Glyph(), Bt(4, true));
}

void Press(QWidget* w, Qt::MouseButton button) {
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

TEST(FavoritesGrid, PopupMenuAndClicksNameTheirButton) {
    TFavoritesGrid grid;
    grid.ShowBank(SampleBank(), 0, kColors);
    std::vector<int> cleared, clicked;
    int clearedAll = 0;
    grid.onClear = [&](int n) { cleared.push_back(n); };
    grid.onClearAll = [&] { ++clearedAll; };
    QObject::connect(&grid, &TFavoritesGrid::clicked, [&](int n) { clicked.push_back(n); });
    QMenu* menu = grid.Menu();
    auto* iClear = menu->findChild<QAction*>("iClear");
    auto* iClearAll = menu->findChild<QAction*>("iClearAll");
    ASSERT_TRUE(iClear && iClearAll);

    Press(grid.Button(12), Qt::RightButton);
    EXPECT_TRUE(menu->isVisible() && iClear->isEnabled());
    iClear->trigger();
    menu->hide();
    Press(grid.Button(7), Qt::RightButton);
    EXPECT_FALSE(iClear->isEnabled());
    iClearAll->trigger();
    menu->hide();
    Press(grid.Button(100), Qt::LeftButton);
    EXPECT_EQ(cleared, std::vector<int>{12});
    EXPECT_EQ(clearedAll, 1);
    EXPECT_EQ(clicked, std::vector<int>{100});  // a right click is no click
}

// Drags `mime` into, over and onto `button`: how many of the three events
// it accepted.
int DragOnto(QWidget* button, const QMimeData& mime) {
    const QPoint at(10, 10);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    int accepted = 0;
    for (QDropEvent* e : {static_cast<QDropEvent*>(&enter), static_cast<QDropEvent*>(&move), &drop}) {
        QCoreApplication::sendEvent(button, e);
        if (!e->isAccepted()) continue;
        ++accepted;
        EXPECT_EQ(e->dropAction(), Qt::CopyAction);  // the station stays where it came from
    }
    return accepted;
}

TEST(FavoritesGrid, DropsFollowTheWindowsRule) {
    TFavoritesGrid grid;
    std::unique_ptr<QMimeData> fm(MakeStationMime({98.7, bFM, "Radio One"}));
    std::unique_ptr<QMimeData> am(MakeStationMime({0.999, bAM, "Mittelwelle"}));
    EXPECT_EQ(DragOnto(grid.Button(3), *fm), 0);  // no rule: no drop

    std::vector<std::pair<int, std::string>> dropped;
    grid.acceptsDrop = [](const tDraggedStation& s, int n) { return s.band == bFM && n != 5; };
    grid.onDrop = [&](const tDraggedStation& s, int n) { dropped.emplace_back(n, s.name); };

    EXPECT_EQ(DragOnto(grid.Button(3), *fm), 3);
    EXPECT_FALSE(grid.Button(3)->IsDown());
    EXPECT_EQ(DragOnto(grid.Button(5), *fm), 0);
    EXPECT_EQ(DragOnto(grid.Button(3), *am), 0);
    // Other data is never a station, even in a form that reads like one.
    QMimeData text;
    text.setText("F 098.700 Radio One");
    EXPECT_EQ(DragOnto(grid.Button(3), text), 0);

    // The pressed look shows only while an accepted drag hovers.
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, fm.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.Button(8), &enter);
    EXPECT_TRUE(grid.Button(8)->IsDown());
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(grid.Button(8), &leave);
    EXPECT_FALSE(grid.Button(8)->IsDown());

    // The same rule without a drag.
    EXPECT_TRUE(grid.Drop({87.5, bFM, "Direct"}, 9));
    EXPECT_FALSE(grid.Drop({87.5, bFM, "Direct"}, 5));
    EXPECT_EQ(dropped, (std::vector<std::pair<int, std::string>>{{3, "Radio One"}, {9, "Direct"}}));
}

TEST(StationMime, RoundTripsAndRefusesWhatIsNoStation) {
    std::unique_ptr<QMimeData> mime(MakeStationMime({98.7, bFM, "Radio One"}));
    EXPECT_EQ(mime->formats(), QStringList{kStationMimeType});
    EXPECT_EQ(mime->data(kStationMimeType), "F 098.700 Radio One");

    for (const tDraggedStation& s :
         {tDraggedStation{0.531, bAM, " Rádio  Ñandú 東京 "}, tDraggedStation{107.95, bFM, ""}}) {
        mime.reset(MakeStationMime(s));
        const auto back = ReadStationMime(*mime);
        ASSERT_TRUE(back) << s.name;
        EXPECT_EQ(radio::FrequencyText(back->frequency), radio::FrequencyText(s.frequency));
        EXPECT_EQ(back->band, s.band);
        EXPECT_EQ(back->name, s.name);
    }

    QMimeData bad;
    for (const char* data : {"", "X 098.700 Name", "F098.700 Name", "F  Name", "A abc Name"}) {
        bad.setData(kStationMimeType, data);
        EXPECT_FALSE(ReadStationMime(bad)) << data;
    }
    bad.setData(kStationMimeType, "A 000.531");  // a nameless station may lose its last blank
    EXPECT_TRUE(ReadStationMime(bad));
}

} // namespace
} // namespace tunevox::favoritesgrid
