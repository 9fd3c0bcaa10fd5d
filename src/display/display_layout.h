#pragma once
// Geometry of a cell: where every segment or dot of a style lies for a given
// size, margin and segment width. Pure data computed by a pure function, so
// the widget only has to walk the shapes when it paints.

#include "display/display_style.h"

#include <array>
#include <cstdint>

namespace tunevox::display {

struct tPoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(tPoint, tPoint) = default;
};

enum class tShapeKind : std::uint8_t {
    Polygon,  // filled polygon with a one-pixel outline through its corners
    Square,   // box of side `side` at corners[0], outline inside the box
    Ellipse,  // ellipse inscribed in that box
};

struct tShape {
    tShapeKind kind = tShapeKind::Polygon;
    int count = 0;  // corners used by a polygon (4 or 6)
    int side = 0;   // square and ellipse only
    std::array<tPoint, 6> corners{};
};

constexpr int kMaxShapes = 35;

struct tLayout {
    TDigitStyle style = ds7Seg;
    int width = 0;   // the size the layout was made for
    int height = 0;
    int margin = 0;
    int segWidth = 0;
    int bevel = 0;       // segWidth div 2
    int barLength = 0;   // horizontal bar (segment styles)
    int barHeight = 0;   // vertical bar (segment styles)
    int columnGap = 0;   // matrix styles
    int rowGap = 0;
    int count = 0;       // shapes used, one per glyph bit
    std::array<tShape, kMaxShapes> shapes{};
};

// The shapes of `style` in a cell of width x height (the cell's own
// coordinates, frame included). Every division truncates toward zero, also
// for the negative values a too small cell gives.
tLayout ComputeLayout(TDigitStyle style, int width, int height, int margin, int segWidth);

}  // namespace tunevox::display
