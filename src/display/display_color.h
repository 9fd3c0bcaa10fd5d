#pragma once
// Colours of the cells are stored as 0x00BBGGRR, the form the window
// definitions and the configuration carry; the one conversion to and from
// QColor lives here so no caller swaps red and blue by hand.

#include <QColor>
#include <cstdint>

namespace tunevox::display {

using TColor = std::uint32_t;

constexpr TColor MakeColor(int red, int green, int blue) {
    return (static_cast<TColor>(blue & 0xFF) << 16) | (static_cast<TColor>(green & 0xFF) << 8) |
           static_cast<TColor>(red & 0xFF);
}
constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// The top byte carries no colour and is ignored.
inline QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
// Alpha is dropped: a cell is opaque.
inline TColor FromQColor(const QColor& c) {
    const QColor rgb = c.toRgb();
    return MakeColor(rgb.red(), rgb.green(), rgb.blue());
}
// The 0xAARRGGBB word of a QImage pixel, opaque.
constexpr std::uint32_t ToArgb32(TColor c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(RedOf(c)) << 16) |
           (static_cast<std::uint32_t>(GreenOf(c)) << 8) | static_cast<std::uint32_t>(BlueOf(c));
}

}  // namespace tunevox::display
