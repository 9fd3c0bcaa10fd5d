#pragma once
// The sixteen colours the user picks from, and the eight colour schemes that
// texts, indicators and button lamps are painted in. A scheme is a bright
// colour with a dim partner: the dim one shows the "nothing received" status
// and unlit lamps, so both always belong to the same hue.

#include "display/display_color.h"

#include <QColor>

#include <array>

namespace tunevox::display {

constexpr int kPaletteSize = 16;
constexpr int kSchemeCount = 8;

namespace palette_detail {
constexpr std::array<TColor, kPaletteSize> kPalette = {
    MakeColor(0, 0, 0),        // 0 black
    MakeColor(128, 0, 0),      // 1 maroon
    MakeColor(0, 128, 0),      // 2 green
    MakeColor(128, 128, 0),    // 3 olive
    MakeColor(0, 0, 128),      // 4 navy
    MakeColor(128, 0, 128),    // 5 purple
    MakeColor(0, 128, 128),    // 6 teal
    MakeColor(192, 192, 192),  // 7 silver
    MakeColor(128, 128, 128),  // 8 grey
    MakeColor(255, 0, 0),      // 9 red
    MakeColor(0, 255, 0),      // 10 lime
    MakeColor(255, 255, 0),    // 11 yellow
    MakeColor(0, 0, 255),      // 12 blue
    MakeColor(255, 0, 255),    // 13 fuchsia
    MakeColor(0, 255, 255),    // 14 aqua
    MakeColor(255, 255, 255),  // 15 white
};
// Scheme 0 white, 1 silver, 2 red, 3 yellow, 4 lime, 5 aqua, 6 blue, 7 fuchsia.
constexpr std::array<int, kSchemeCount> kTextIndex = {15, 7, 9, 11, 10, 14, 12, 13};
constexpr std::array<int, kSchemeCount> kDimIndex = {8, 8, 1, 3, 2, 6, 4, 5};
constexpr std::array<const char*, kPaletteSize> kNames = {
    "black", "maroon", "green", "olive",  "navy", "purple",  "teal", "silver",
    "grey",  "red",    "lime",  "yellow", "blue", "fuchsia", "aqua", "white"};
}  // namespace palette_detail

// An index outside 0..15 gives black, the colour a missing setting would
// have had; a scheme outside 0..7 is scheme 0, so a damaged configuration
// still shows readable white text.
constexpr TColor PaletteTColor(int index) {
    return index >= 0 && index < kPaletteSize ? palette_detail::kPalette[index]
                                              : palette_detail::kPalette[0];
}
inline QColor PaletteColor(int index) { return ToQColor(PaletteTColor(index)); }

constexpr int TextColorIndex(int scheme) {
    return palette_detail::kTextIndex[scheme >= 0 && scheme < kSchemeCount ? scheme : 0];
}
constexpr int DimColorIndex(int scheme) {
    return palette_detail::kDimIndex[scheme >= 0 && scheme < kSchemeCount ? scheme : 0];
}

// The colours in words, for whoever cannot see the swatches: "black" ..
// "white"; a scheme by its bright colour.
constexpr const char* PaletteColorName(int index) {
    return index >= 0 && index < kPaletteSize ? palette_detail::kNames[index] : palette_detail::kNames[0];
}
constexpr const char* SchemeColorName(int scheme) { return PaletteColorName(TextColorIndex(scheme)); }

inline QColor SchemeTextColor(int scheme) { return PaletteColor(TextColorIndex(scheme)); }
inline QColor SchemeDimColor(int scheme) { return PaletteColor(DimColorIndex(scheme)); }

}  // namespace tunevox::display
