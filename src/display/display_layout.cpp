#include "display/display_layout.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace tunevox::display {
namespace {

// The arithmetic runs in 64 bits so that any 32-bit margin or segment width
// is safe; a coordinate is then kept within twice the largest widget size,
// so only points far outside any cell are moved, and those are clipped anyway.
using i64 = long long;
constexpr i64 kCoordLimit = i64{1} << 25;

int Coord(i64 v) { return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit)); }

struct tBuilder {
    tLayout& out;
    i64 S;  // segment width
    i64 h;  // bevel

    void Polygon(std::initializer_list<std::pair<i64, i64>> pts) {
        tShape& s = out.shapes[out.count++];
        s.kind = tShapeKind::Polygon;
        s.count = 0;
        for (auto [x, y] : pts) s.corners[s.count++] = {Coord(x), Coord(y)};
    }

    void Bar(i64 x, i64 y, i64 w, i64 b) {
        if (b > w)
            Polygon({{x, y + h}, {x + h, y}, {x + w, y + h}, {x + w, y + b - h}, {x + h, y + b},
                     {x, y + b - h}});
        else
            Polygon({{x, y + h}, {x + h, y}, {x + w - h, y}, {x + w, y + h}, {x + w - h, y + b},
                     {x + h, y + b}});
    }
    void TopTrapezoid(i64 x, i64 y, i64 w, i64 b) {
        Polygon({{x, y}, {x + S, y + b}, {x + w - S, y + b}, {x + w, y}});
    }
    void BottomTrapezoid(i64 x, i64 y, i64 w, i64 b) {
        Polygon({{x, y + b}, {x + S, y}, {x + w - S, y}, {x + w, y + b}});
    }
    void LeftTrapezoid(i64 x, i64 y, i64 w, i64 b) {
        Polygon({{x, y}, {x + w, y + S}, {x + w, y + b - S}, {x, y + b}});
    }
    void RightTrapezoid(i64 x, i64 y, i64 w, i64 b) {
        Polygon({{x + w, y}, {x, y + S}, {x, y + b - S}, {x + w, y + b}});
    }
    void FallingDiagonal(i64 x1, i64 y1, i64 x2, i64 y2) {
        Polygon({{x1, y1}, {x1 + h, y1}, {x2, y2 - S}, {x2, y2}, {x2 - h, y2}, {x1, y1 + S}});
    }
    void RisingDiagonal(i64 x1, i64 y1, i64 x2, i64 y2) {
        Polygon({{x1, y1}, {x1, y1 - S}, {x2 - h, y2}, {x2, y2}, {x2, y2 + S}, {x1 + h, y1}});
    }
};

void Layout7(tLayout& out, i64 W, i64 H, i64 M, i64 S, i64 h) {
    const i64 L = W - 2 * M - S;
    const i64 V = H / 2 - S - h - M;
    out.barLength = Coord(L);
    out.barHeight = Coord(V);
    tBuilder b{out, S, h};
    b.Bar(M + h, M, L, S);                // 0 top
    b.Bar(M + h, H / 2 - h, L, S);        // 1 middle
    b.Bar(M + h, H - M - S, L, S);        // 2 bottom
    b.Bar(M, M + S, S, V);                // 3 upper left
    b.Bar(W - M - S, M + S, S, V);        // 4 upper right
    b.Bar(M, H / 2 + h, S, V);            // 5 lower left
    b.Bar(W - M - S, H / 2 + h, S, V);    // 6 lower right
}

void Layout16(tLayout& out, i64 W, i64 H, i64 M, i64 S, i64 h) {
    const i64 L = W / 2 - M - S;
    const i64 V = H / 2 - S - M;
    out.barLength = Coord(L);
    out.barHeight = Coord(V);
    const i64 cx = W / 2;
    const i64 cy = H / 2;
    tBuilder b{out, S, h};
    b.TopTrapezoid(M + h, M, L, S);                                  // 0
    b.TopTrapezoid(cx + h, M, L, S);                                 // 1
    b.LeftTrapezoid(M, M + h, S, V);                                 // 2
    b.FallingDiagonal(M + S + h, M + S + h, cx - S, cy - S);         // 3
    b.Bar(cx - h, M + h, S, V);                                      // 4
    b.RisingDiagonal(cx + S, cy - S, W - M - S - h, M + S + h);      // 5
    b.RightTrapezoid(W - M - S, M + h, S, V);                        // 6
    b.Bar(M + h, cy - h, L, S);                                      // 7
    b.Bar(cx + h, cy - h, L, S);                                     // 8
    b.LeftTrapezoid(M, cy + h, S, V);                                // 9
    b.RisingDiagonal(M + S + h, H - M - S - h, cx - S, cy + S);      // 10
    b.Bar(cx - h, cy + h, S, V);                                     // 11
    b.FallingDiagonal(cx + S, cy + S, W - M - S - h, H - M - S - h); // 12
    b.RightTrapezoid(W - M - S, cy + h, S, V);                       // 13
    b.BottomTrapezoid(M + h, H - M - S, L, S);                       // 14
    b.BottomTrapezoid(cx + h, H - M - S, L, S);                      // 15
}

void LayoutMatrix(tLayout& out, i64 W, i64 H, i64 M, i64 S, tShapeKind kind) {
    const i64 G = (W - 2 * M - 5 * S) / 4;
    const i64 R = (H - 2 * M - 7 * S) / 6;
    out.columnGap = Coord(G);
    out.rowGap = Coord(R);
    for (i64 r = 0; r < 7; ++r) {
        for (i64 c = 0; c < 5; ++c) {
            tShape& s = out.shapes[out.count++];
            s.kind = kind;
            s.count = 1;
            s.side = Coord(S);
            s.corners[0] = {Coord(M + c * (S + G)), Coord(M + r * (S + R))};
        }
    }
}

}  // namespace

tLayout ComputeLayout(TDigitStyle style, int width, int height, int margin, int segWidth) {
    tLayout out;
    out.style = style;
    out.width = width;
    out.height = height;
    out.margin = margin;
    out.segWidth = segWidth;
    const i64 S = segWidth;
    const i64 h = S / 2;
    out.bevel = Coord(h);
    switch (style) {
    case ds7Seg: Layout7(out, width, height, margin, S, h); break;
    case ds16Seg: Layout16(out, width, height, margin, S, h); break;
    case ds5x7Dot: LayoutMatrix(out, width, height, margin, S, tShapeKind::Square); break;
    case ds5x7Bulb: LayoutMatrix(out, width, height, margin, S, tShapeKind::Ellipse); break;
    }
    return out;
}

}  // namespace tunevox::display
