#pragma once
// The three glyph tables shared by all cells, as pure look-ups.
//
// Each table covers codes 0 to 127. A code from 128 up is shown as code 127,
// which has no glyph of its own in the segment styles (a middle bar in seven
// segments, a dash in sixteen) and is the checkerboard in the matrix, so an
// out-of-range code is never mistaken for a real character.

#include "display/display_style.h"

#include <array>
#include <cstdint>

namespace tunevox::display {

using tMatrixGlyph = std::array<std::uint8_t, 7>;  // rows top to bottom, bit 4 = left column

constexpr int kGlyphCount = 128;

// Bits 0 to 6, one a segment, in the order the layout draws them.
std::uint16_t Glyph7Seg(std::uint8_t code);
// Bits 0 to 15.
std::uint16_t Glyph16Seg(std::uint8_t code);
// Seven rows of five dots.
const tMatrixGlyph& Glyph5x7(std::uint8_t code);

// Lit state of every shape of the style for a code: bit i belongs to shape i
// of the layout (for the matrices shape r * 5 + c, row r, column c).
std::uint64_t LitMask(TDigitStyle style, std::uint8_t code);

}  // namespace tunevox::display
