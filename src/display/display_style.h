#pragma once
// The four looks of a display cell. Kept in its own header so the glyph
// tables and the layout can name a style without pulling in the widget.

#include <QObject>

namespace tunevox::display {
Q_NAMESPACE

enum TDigitStyle : int {
    ds7Seg = 0,     // seven bevelled bars
    ds16Seg = 1,    // split bars, centre bar and four diagonals
    ds5x7Dot = 2,   // 5 x 7 square dots
    ds5x7Bulb = 3,  // 5 x 7 round bulbs
};
Q_ENUM_NS(TDigitStyle)

// Number of segments or dots a style draws, one per glyph bit.
constexpr int ShapeCount(TDigitStyle style) {
    switch (style) {
    case ds7Seg: return 7;
    case ds16Seg: return 16;
    case ds5x7Dot:
    case ds5x7Bulb: return 35;
    }
    return 0;
}

}  // namespace tunevox::display
