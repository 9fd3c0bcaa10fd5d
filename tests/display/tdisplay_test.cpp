// The cell as a widget: its values at creation, what a change of each
// property causes, the cached layout, and the painted pixels of every style.

#include "display/display_glyphs.h"
#include "display/tdisplay.h"
#include "display_test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QPalette>

#include <climits>
#include <functional>
#include <map>

namespace tunevox::display {
namespace {

using namespace test;

class TDisplayTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureApp(); }
};

TEST_F(TDisplayTest, NewCellStartsRedOnGreyOnBlack) {
    TDisplay cell;
    EXPECT_EQ(cell.width(), 120);
    EXPECT_EQ(cell.height(), 200);
    EXPECT_EQ(cell.Digit(), 0);
    EXPECT_EQ(cell.OnColor(), 0x0000FFu);  // 0x00BBGGRR: red
    EXPECT_EQ(cell.OffColor(), 0x808080u);
    EXPECT_EQ(cell.BackColor(), 0u);
    EXPECT_EQ(cell.SegWidth(), 15);
    EXPECT_EQ(cell.Margin(), 10);
    EXPECT_EQ(cell.DigitStyle(), ds7Seg);
    EXPECT_EQ(cell.PenOnColor(), 0u);
    EXPECT_EQ(cell.PenOffColor(), 0u);
    EXPECT_EQ(cell.LayoutCount(), 1);
    EXPECT_EQ(cell.Layout().width, 120);
    EXPECT_EQ(cell.Layout().height, 200);
    EXPECT_EQ(cell.RepaintRequests(), 0);
    EXPECT_TRUE(cell.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST_F(TDisplayTest, ColourConversionKeepsRedInTheLowByte) {
    EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(ToQColor(0x12345678), QColor(0x78, 0x56, 0x34));  // top byte ignored
    EXPECT_EQ(FromQColor(QColor(0x11, 0x22, 0x33)), 0x332211u);
    EXPECT_EQ(ToArgb32(0x332211), 0xFF112233u);
}

// Each setter: the same value changes nothing, a new value asks for exactly
// one repaint, and only the three shaping properties make a new layout.
TEST_F(TDisplayTest, SettersRepaintOnlyOnChangeAndRelayoutOnlyForShape) {
    struct Case {
        const char* name;
        std::function<void(TDisplay&, bool changed)> set;
        bool shapes;
    };
    const Case cases[] = {
        {"Digit", [](TDisplay& d, bool ch) { d.SetDigit(ch ? '5' : d.Digit()); }, false},
        {"OnColor", [](TDisplay& d, bool ch) { d.SetOnColor(ch ? 0x00FF00 : d.OnColor()); }, false},
        {"OffColor", [](TDisplay& d, bool ch) { d.SetOffColor(ch ? 0x101010 : d.OffColor()); }, false},
        {"BackColor", [](TDisplay& d, bool ch) { d.SetBackColor(ch ? 0x404040 : d.BackColor()); }, false},
        {"PenOnColor", [](TDisplay& d, bool ch) { d.SetPenOnColor(ch ? 0x1 : d.PenOnColor()); }, false},
        {"PenOffColor", [](TDisplay& d, bool ch) { d.SetPenOffColor(ch ? 0x2 : d.PenOffColor()); }, false},
        {"SegWidth", [](TDisplay& d, bool ch) { d.SetSegWidth(ch ? 4 : d.SegWidth()); }, true},
        {"Margin", [](TDisplay& d, bool ch) { d.SetMargin(ch ? 3 : d.Margin()); }, true},
        {"DigitStyle", [](TDisplay& d, bool ch) { d.SetDigitStyle(ch ? ds16Seg : d.DigitStyle()); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDisplay cell;
        c.set(cell, false);
        EXPECT_EQ(cell.RepaintRequests(), 0);
        EXPECT_EQ(cell.LayoutCount(), 1);
        c.set(cell, true);
        EXPECT_EQ(cell.RepaintRequests(), 1);
        EXPECT_EQ(cell.LayoutCount(), c.shapes ? 2 : 1);
        c.set(cell, false);  // now the value it holds
        EXPECT_EQ(cell.RepaintRequests(), 1);
        EXPECT_EQ(cell.LayoutCount(), c.shapes ? 2 : 1);
    }
}

TEST_F(TDisplayTest, UnknownStyleValueIsRefused) {
    TDisplay cell;
    cell.SetDigitStyle(ds16Seg);
    const int layouts = cell.LayoutCount();
    const int repaints = cell.RepaintRequests();
    cell.SetDigitStyle(static_cast<TDigitStyle>(4));
    cell.SetDigitStyle(static_cast<TDigitStyle>(-1));
    EXPECT_EQ(cell.DigitStyle(), ds16Seg);
    EXPECT_EQ(cell.LayoutCount(), layouts);
    EXPECT_EQ(cell.RepaintRequests(), repaints);
    // Through the property system as a window definition would set it.
    cell.setProperty("DigitStyle", 2);
    EXPECT_EQ(cell.DigitStyle(), ds5x7Dot);
}

TEST_F(TDisplayTest, ResizeRecomputesTheLayoutAtTheNextPaintOnly) {
    TDisplay cell;
    Render(cell);
    EXPECT_EQ(cell.LayoutCount(), 1);  // the size of creation is still current
    cell.resize(60, 100);
    EXPECT_EQ(cell.LayoutCount(), 1);
    EXPECT_EQ(cell.Layout().width, 120);
    const QImage image = Render(cell);
    EXPECT_EQ(cell.LayoutCount(), 2);
    EXPECT_EQ(cell.Layout().width, 60);
    EXPECT_EQ(cell.Layout().height, 100);
    // The new layout was drawn: the top bar lies at the smaller cell's margin
    // (bar box (17, 10), 25 wide after the resize).
    EXPECT_EQ(LayoutPixel(image, 30, 17), cell.OffColor());
    Render(cell);
    EXPECT_EQ(cell.LayoutCount(), 2);
}

// The interior of a shape: the mean of a polygon's corners (all shapes are
// convex or nearly so) or the centre of a dot.
QPoint Interior(const tShape& s) {
    if (s.kind != tShapeKind::Polygon) return {s.corners[0].x + s.side / 2, s.corners[0].y + s.side / 2};
    int x = 0, y = 0;
    for (int k = 0; k < s.count; ++k) {
        x += s.corners[k].x;
        y += s.corners[k].y;
    }
    return {x / s.count, y / s.count};
}

void ExpectFrameUntouched(const QImage& image) {
    const int w = image.width(), h = image.height();
    int touched = 0;
    for (int x = 0; x < w; ++x) {
        touched += CellPixel(image, x, 0) != kFrame;
        touched += CellPixel(image, x, h - 1) != kFrame;
    }
    for (int y = 0; y < h; ++y) {
        touched += CellPixel(image, 0, y) != kFrame;
        touched += CellPixel(image, w - 1, y) != kFrame;
    }
    EXPECT_EQ(touched, 0) << "pixels of the outer frame were painted";
}

struct StyleCase {
    TDigitStyle style;
    std::uint8_t code;
    std::vector<QPoint> background;  // layout points covered by no shape
};

TEST_F(TDisplayTest, EveryShapeIsFilledByItsBitAndTheRestIsBackground) {
    const StyleCase cases[] = {
        {ds7Seg, '2', {{5, 5}, {60, 59}, {60, 140}, {115, 195}}},
        {ds16Seg, 'K', {{5, 5}, {28, 60}, {90, 140}, {60, 195}}},
        {ds5x7Dot, 'g', {{5, 5}, {28, 17}, {17, 30}, {115, 195}}},
        {ds5x7Bulb, 'A', {{5, 5}, {28, 17}, {17, 30}, {115, 195}}},
    };
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " code " << c.code);
        TDisplay cell;
        UseTestColors(cell);
        cell.SetDigitStyle(c.style);
        cell.SetDigit(c.code);
        const QImage image = Render(cell);
        ExpectFrameUntouched(image);

        const std::uint64_t lit = LitMask(c.style, c.code);
        int litCount = 0;
        for (int i = 0; i < cell.Layout().count; ++i) {
            const bool on = (lit >> i) & 1u;
            litCount += on;
            const QPoint p = Interior(cell.Layout().shapes[i]);
            EXPECT_EQ(LayoutPixel(image, p.x(), p.y()), on ? kOn : kOff) << "shape " << i;
        }
        EXPECT_GT(litCount, 0);
        EXPECT_LT(litCount, cell.Layout().count);
        for (const QPoint& p : c.background)
            EXPECT_EQ(LayoutPixel(image, p.x(), p.y()), kBack) << p.x() << "," << p.y();

        // Outlines: both pens show, and no pixel has a colour of its own.
        std::map<TColor, int> histogram;
        for (int y = 1; y < image.height() - 1; ++y)
            for (int x = 1; x < image.width() - 1; ++x) ++histogram[CellPixel(image, x, y)];
        EXPECT_GT(histogram[kPenOn], 0);
        EXPECT_GT(histogram[kPenOff], 0);
        EXPECT_EQ(histogram.size(), 5u);
    }
}

TEST_F(TDisplayTest, OutlinesSitOnTheShapeEdges) {
    TDisplay cell;
    UseTestColors(cell);
    cell.SetDigit('7');  // top and right bars lit, the rest not
    QImage image = Render(cell);
    EXPECT_EQ(LayoutPixel(image, 60, 10), kPenOn);   // upper edge of the top bar
    EXPECT_EQ(LayoutPixel(image, 60, 11), kOn);
    EXPECT_EQ(LayoutPixel(image, 60, 93), kPenOff);  // upper edge of the middle bar
    EXPECT_EQ(LayoutPixel(image, 60, 94), kOff);

    // A square dot has its outline on the border of its box; a bulb leaves
    // the corners of its box to the background.
    cell.SetDigitStyle(ds5x7Dot);
    cell.SetDigit('.');  // rows 4 and 5, columns 1 and 2
    image = Render(cell);
    const tPoint lit = cell.Layout().shapes[4 * 5 + 1].corners[0];
    EXPECT_EQ(LayoutPixel(image, lit.x, lit.y), kPenOn);
    EXPECT_EQ(LayoutPixel(image, lit.x + 14, lit.y + 14), kPenOn);
    EXPECT_EQ(LayoutPixel(image, lit.x + 1, lit.y + 1), kOn);
    EXPECT_EQ(LayoutPixel(image, lit.x + 15, lit.y + 7), kBack);  // the gap after it
    cell.SetDigitStyle(ds5x7Bulb);
    image = Render(cell);
    EXPECT_EQ(LayoutPixel(image, lit.x, lit.y), kBack);
    EXPECT_EQ(LayoutPixel(image, lit.x + 7, lit.y), kPenOn);
    EXPECT_EQ(LayoutPixel(image, lit.x + 7, lit.y + 7), kOn);
}

TEST_F(TDisplayTest, TouchingDotsLeaveNoBackgroundBetweenThemAndAreClippedAtTheFrame) {
    TDisplay cell;
    UseTestColors(cell);
    cell.resize(33, 47);
    cell.SetMargin(2);
    cell.SetSegWidth(6);
    cell.SetDigitStyle(ds5x7Dot);
    cell.SetDigit(127);
    const QImage image = Render(cell);
    EXPECT_EQ(cell.Layout().columnGap, 0);
    EXPECT_EQ(cell.Layout().rowGap, 0);
    ExpectFrameUntouched(image);
    // The dots cover layout x 2..31 and y 2..43; the bitmap ends at layout
    // x 30, so the last column loses its right edge to clipping.
    int background = 0;
    for (int y = 2; y < 44; ++y)
        for (int x = 2; x <= 30; ++x) background += LayoutPixel(image, x, y) == kBack;
    EXPECT_EQ(background, 0);
    // Checkerboard: row 0 lights columns 1 and 3, so column 0 is dark.
    EXPECT_EQ(LayoutPixel(image, 4, 4), kOff);
    EXPECT_EQ(LayoutPixel(image, 10, 4), kOn);
    EXPECT_EQ(LayoutPixel(image, 1, 4), kBack);  // inside the margin
}

TEST_F(TDisplayTest, AwkwardSizesAndValuesPaintWithoutHarm) {
    const QSize sizes[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 200}, {200, 4}, {33, 47}};
    const int values[] = {INT_MIN, -20, -1, 0, 1, 2, 100000, INT_MAX};
    for (TDigitStyle style : {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb}) {
        TDisplay cell;
        UseTestColors(cell);
        cell.SetDigitStyle(style);
        cell.SetDigit('8');
        for (QSize size : sizes) {
            cell.resize(size);
            for (int v : values) {
                cell.SetMargin(v);
                cell.SetSegWidth(v / 3);
                if (size.isEmpty()) {
                    QImage nothing;
                    cell.RenderTo(nothing);  // no surface: nothing to do
                    continue;
                }
                const QImage image = Render(cell);
                ExpectFrameUntouched(image);
            }
        }
    }
}

TEST_F(TDisplayTest, RowOfCellsPaintsIntoOneSurfaceAtThePainterOrigin) {
    TDisplay a, b;
    UseTestColors(a);
    UseTestColors(b);
    a.SetDigit('1');
    b.SetDigit('8');
    QImage row(240, 200, QImage::Format_RGB32);
    row.fill(ToArgb32(kFrame));
    QPainter painter(&row);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    a.RenderTo(painter);
    painter.translate(120, 0);
    b.RenderTo(painter);
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_Multiply);
    painter.end();
    EXPECT_EQ(CellPixel(row, 0, 0), kFrame);
    EXPECT_EQ(CellPixel(row, 119, 100), kFrame);
    EXPECT_EQ(CellPixel(row, 120, 100), kFrame);
    EXPECT_EQ(CellPixel(row, 1 + 60, 1 + 17), kOff);        // cell a: top bar dark
    EXPECT_EQ(CellPixel(row, 120 + 1 + 60, 1 + 17), kOn);   // cell b: top bar lit
}

// On screen: the parent's paint shows in the one-pixel frame, the cell's
// in the rest, and a value set to what it holds brings no paint event.
TEST_F(TDisplayTest, OnScreenTheFrameBelongsToTheParentAndSameValuesDoNotRepaint) {
    QWidget parent;
    parent.resize(200, 260);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, ToQColor(kFrame));
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    auto* cell = new TDisplay(&parent);
    UseTestColors(*cell);
    cell->move(20, 30);
    parent.show();
    for (int i = 0; i < 5 && cell->PaintCount() == 0; ++i) QCoreApplication::processEvents();
    ASSERT_GT(cell->PaintCount(), 0);

    const QImage shot = parent.grab().toImage();
    EXPECT_EQ(CellPixel(shot, 20, 30), kFrame);
    EXPECT_EQ(CellPixel(shot, 20 + 119, 30 + 199), kFrame);
    EXPECT_EQ(CellPixel(shot, 21, 31), kBack);
    EXPECT_EQ(CellPixel(shot, 20 + 1 + 60, 30 + 1 + 100), kOn);  // code 0: middle bar lit

    QCoreApplication::processEvents();
    const int paints = cell->PaintCount();
    cell->SetDigit(0);
    cell->SetOnColor(kOn);
    cell->SetMargin(10);
    QCoreApplication::processEvents();
    EXPECT_EQ(cell->PaintCount(), paints);
    cell->SetDigit('3');
    for (int i = 0; i < 5 && cell->PaintCount() == paints; ++i) QCoreApplication::processEvents();
    EXPECT_GT(cell->PaintCount(), paints);
}

}  // namespace
}  // namespace tunevox::display
