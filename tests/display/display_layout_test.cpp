// Geometry of the three layouts, checked against corner points worked out
// by hand for a 120 x 200 cell with margin 10 and segment width 15 (bevel 7).

#include "display/display_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace tunevox::display {
namespace {

std::vector<tPoint> Corners(const tShape& s) {
    return std::vector<tPoint>(s.corners.begin(), s.corners.begin() + s.count);
}

TEST(DisplayLayout, SevenSegmentBarsAndBevels) {
    const tLayout l = ComputeLayout(ds7Seg, 120, 200, 10, 15);
    EXPECT_EQ(l.count, 7);
    EXPECT_EQ(l.bevel, 7);
    EXPECT_EQ(l.barLength, 85);  // 120 - 20 - 15
    EXPECT_EQ(l.barHeight, 68);  // 100 - 15 - 7 - 10
    // Horizontal bars: the hexagon is pointed at the left and right ends.
    EXPECT_EQ(Corners(l.shapes[0]),
              (std::vector<tPoint>{{17, 17}, {24, 10}, {95, 10}, {102, 17}, {95, 25}, {24, 25}}));
    EXPECT_EQ(Corners(l.shapes[1]),
              (std::vector<tPoint>{{17, 100}, {24, 93}, {95, 93}, {102, 100}, {95, 108}, {24, 108}}));
    EXPECT_EQ(Corners(l.shapes[2]),
              (std::vector<tPoint>{{17, 182}, {24, 175}, {95, 175}, {102, 182}, {95, 190}, {24, 190}}));
    // Vertical bars: pointed at the top and bottom ends.
    EXPECT_EQ(Corners(l.shapes[4]),
              (std::vector<tPoint>{{95, 32}, {102, 25}, {110, 32}, {110, 86}, {102, 93}, {95, 86}}));
    EXPECT_EQ(Corners(l.shapes[5]),
              (std::vector<tPoint>{{10, 114}, {17, 107}, {25, 114}, {25, 168}, {17, 175}, {10, 168}}));
}

TEST(DisplayLayout, SixteenSegmentTrapezoidsDiagonalsAndCentreBars) {
    const tLayout l = ComputeLayout(ds16Seg, 120, 200, 10, 15);
    EXPECT_EQ(l.count, 16);
    EXPECT_EQ(l.barLength, 35);  // 60 - 10 - 15
    EXPECT_EQ(l.barHeight, 75);  // 100 - 15 - 10
    EXPECT_EQ(Corners(l.shapes[1]), (std::vector<tPoint>{{67, 10}, {82, 25}, {87, 25}, {102, 10}}));
    EXPECT_EQ(Corners(l.shapes[3]),
              (std::vector<tPoint>{{32, 32}, {39, 32}, {45, 70}, {45, 85}, {38, 85}, {32, 47}}));
    EXPECT_EQ(Corners(l.shapes[5]),
              (std::vector<tPoint>{{75, 85}, {75, 70}, {81, 32}, {88, 32}, {88, 47}, {82, 85}}));
    EXPECT_EQ(Corners(l.shapes[6]), (std::vector<tPoint>{{110, 17}, {95, 32}, {95, 77}, {110, 92}}));
    EXPECT_EQ(Corners(l.shapes[9]), (std::vector<tPoint>{{10, 107}, {25, 122}, {25, 167}, {10, 182}}));
    EXPECT_EQ(Corners(l.shapes[10]),
              (std::vector<tPoint>{{32, 168}, {32, 153}, {38, 115}, {45, 115}, {45, 130}, {39, 168}}));
    EXPECT_EQ(Corners(l.shapes[11]),
              (std::vector<tPoint>{{53, 114}, {60, 107}, {68, 114}, {68, 175}, {60, 182}, {53, 175}}));
    EXPECT_EQ(Corners(l.shapes[12]),
              (std::vector<tPoint>{{75, 115}, {82, 115}, {88, 153}, {88, 168}, {81, 168}, {75, 130}}));
    EXPECT_EQ(Corners(l.shapes[14]), (std::vector<tPoint>{{17, 190}, {32, 175}, {37, 175}, {52, 190}}));
}

TEST(DisplayLayout, MatrixDotsRowByRowWithGaps) {
    for (TDigitStyle style : {ds5x7Dot, ds5x7Bulb}) {
        const tLayout l = ComputeLayout(style, 120, 200, 10, 15);
        ASSERT_EQ(l.count, 35);
        EXPECT_EQ(l.columnGap, 6);  // (120 - 20 - 75) div 4
        EXPECT_EQ(l.rowGap, 12);    // (200 - 20 - 105) div 6
        EXPECT_EQ(l.shapes[0].corners[0], (tPoint{10, 10}));
        EXPECT_EQ(l.shapes[1].corners[0], (tPoint{31, 10}));   // next column
        EXPECT_EQ(l.shapes[5].corners[0], (tPoint{10, 37}));   // next row
        EXPECT_EQ(l.shapes[34].corners[0], (tPoint{94, 172}));
        EXPECT_EQ(l.shapes[34].side, 15);
    }
    EXPECT_EQ(ComputeLayout(ds5x7Dot, 120, 200, 10, 15).shapes[7].kind, tShapeKind::Square);
    EXPECT_EQ(ComputeLayout(ds5x7Bulb, 120, 200, 10, 15).shapes[7].kind, tShapeKind::Ellipse);
}

// Division truncates toward zero: a floor division would give gaps of -1 in
// the touching case and pull every dot one pixel further per column.
TEST(DisplayLayout, NegativeQuotientsTruncateTowardZero) {
    const tLayout touching = ComputeLayout(ds5x7Dot, 33, 47, 2, 6);
    EXPECT_EQ(touching.columnGap, 0);  // (33 - 4 - 30) div 4 = -1 div 4
    EXPECT_EQ(touching.rowGap, 0);     // (47 - 4 - 42) div 6 = 1 div 6
    EXPECT_EQ(touching.shapes[1].corners[0], (tPoint{8, 2}));
    EXPECT_EQ(touching.shapes[5].corners[0], (tPoint{2, 8}));

    const tLayout overlapping = ComputeLayout(ds5x7Dot, 29, 47, 2, 6);
    EXPECT_EQ(overlapping.columnGap, -1);  // -5 div 4

    const tLayout negativeWidth = ComputeLayout(ds7Seg, 120, 200, 10, -5);
    EXPECT_EQ(negativeWidth.bevel, -2);  // -5 div 2
    const tLayout tiny = ComputeLayout(ds7Seg, 40, 41, 10, 15);
    EXPECT_EQ(tiny.barHeight, 20 - 15 - 7 - 10);  // 41 div 2 = 20
}

TEST(DisplayLayout, ExtremeArgumentsStayWithinDrawableCoordinates) {
    const int extremes[] = {INT_MIN, -1000000, -1, 0, 1, 1000000, INT_MAX};
    for (TDigitStyle style : {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb}) {
        for (int margin : extremes) {
            for (int seg : extremes) {
                const tLayout l = ComputeLayout(style, 120, 200, margin, seg);
                ASSERT_EQ(l.count, ShapeCount(style));
                for (int i = 0; i < l.count; ++i) {
                    for (const tPoint& p : l.shapes[i].corners) {
                        ASSERT_LE(std::abs(p.x), 1 << 25);
                        ASSERT_LE(std::abs(p.y), 1 << 25);
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace tunevox::display
