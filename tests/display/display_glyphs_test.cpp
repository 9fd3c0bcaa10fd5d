// Rules of the three glyph tables: which codes have their own glyph, how
// case is handled per style, and the shape rules of the 5 x 7 font.

#include "display/display_glyphs.h"

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <set>
#include <string>

namespace tunevox::display {
namespace {

constexpr std::uint16_t kMiddleBar = 1u << 1;
constexpr std::uint16_t kDash = (1u << 7) | (1u << 8);

bool IsHexDigit(int code) { return code < 128 && std::isxdigit(code); }

TEST(SevenSegmentGlyphs, OnlyHexDigitsHaveGlyphsEverythingElseShowsTheMiddleBar) {
    for (int code = 0; code < 256; ++code) {
        const std::uint16_t g = Glyph7Seg(static_cast<std::uint8_t>(code));
        EXPECT_EQ(g & ~0x7Fu, 0u) << "code " << code << " uses a bit beyond the seven segments";
        if (IsHexDigit(code)) {
            EXPECT_NE(g, kMiddleBar) << "code " << code;
        } else {
            EXPECT_EQ(g, kMiddleBar) << "code " << code;
        }
    }
    EXPECT_EQ(Glyph7Seg(' '), kMiddleBar);
}

TEST(SevenSegmentGlyphs, LowerCaseHexLettersMatchUpperCaseAndAllSixteenDiffer) {
    for (char c = 'a'; c <= 'f'; ++c)
        EXPECT_EQ(Glyph7Seg(c), Glyph7Seg(c - 'a' + 'A')) << c;
    std::set<std::uint16_t> distinct;
    for (char c : std::string("0123456789ABCDEF")) distinct.insert(Glyph7Seg(c));
    EXPECT_EQ(distinct.size(), 16u);
    EXPECT_EQ(Glyph7Seg('8'), 0x7F);
    EXPECT_EQ(Glyph7Seg('1'), (1u << 4) | (1u << 6));  // the right-hand bars
}

TEST(SixteenSegmentGlyphs, BlankIsDarkAndCodesWithoutGlyphShowADash) {
    EXPECT_EQ(Glyph16Seg(' '), 0);
    const std::string dashed = "!-.`{|}~";
    for (char c : dashed) EXPECT_EQ(Glyph16Seg(c), kDash) << c;
    for (int code = 0; code < 32; ++code) EXPECT_EQ(Glyph16Seg(code), kDash) << code;
    EXPECT_EQ(Glyph16Seg(127), kDash);
    // Every other printable character has a glyph of its own.
    for (int code = 33; code < 127; ++code) {
        if (dashed.find(static_cast<char>(code)) != std::string::npos) continue;
        EXPECT_NE(Glyph16Seg(code), kDash) << "code " << code;
        EXPECT_NE(Glyph16Seg(code), 0) << "code " << code;
    }
}

TEST(SixteenSegmentGlyphs, LowerCaseShowsUpperCaseAndDigitsAreNarrow) {
    for (char c = 'a'; c <= 'z'; ++c) EXPECT_EQ(Glyph16Seg(c), Glyph16Seg(c - 'a' + 'A')) << c;
    std::set<std::uint16_t> letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters.insert(Glyph16Seg(c));
    EXPECT_EQ(letters.size(), 26u);
    // Left half bars, left verticals and the centre bar only.
    constexpr std::uint16_t kNarrow = (1u << 0) | (1u << 2) | (1u << 4) | (1u << 7) | (1u << 9) |
                                      (1u << 11) | (1u << 14);
    std::set<std::uint16_t> digits;
    for (char c = '0'; c <= '9'; ++c) {
        EXPECT_EQ(Glyph16Seg(c) & ~kNarrow, 0) << c;
        digits.insert(Glyph16Seg(c));
    }
    EXPECT_EQ(digits.size(), 10u);
}

TEST(MatrixGlyphs, SampleRowsAreExact) {
    const struct {
        int code;
        tMatrixGlyph rows;
    } samples[] = {
        {0, {0x02, 0x06, 0x0E, 0x1E, 0x0E, 0x06, 0x02}},
        {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
        {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
        {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
        {'g', {0x00, 0x00, 0x0F, 0x11, 0x0F, 0x01, 0x06}},
        {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
        {'.', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C, 0x00}},
        {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
        {127, {0x0A, 0x15, 0x0A, 0x15, 0x0A, 0x15, 0x0A}},
    };
    for (const auto& s : samples) EXPECT_EQ(Glyph5x7(s.code), s.rows) << "code " << s.code;
}

int RowsLit(const tMatrixGlyph& g, int first, int last) {
    int lit = 0;
    for (int r = first; r <= last; ++r) lit |= g[r];
    return lit;
}

TEST(MatrixGlyphs, FontIsCompleteFiveColumnsWideAndWithoutDuplicates) {
    std::set<tMatrixGlyph> seen;
    for (int code = 0; code < 128; ++code) {
        const tMatrixGlyph& g = Glyph5x7(code);
        for (std::uint8_t row : g) EXPECT_LT(row, 0x20) << "code " << code << " is wider than five";
        if (code != ' ') {
            EXPECT_NE(RowsLit(g, 0, 6), 0) << "code " << code << " is dark";
        }
        EXPECT_TRUE(seen.insert(g).second) << "code " << code << " repeats an earlier glyph";
    }
    EXPECT_EQ(RowsLit(Glyph5x7(' '), 0, 6), 0);
}

TEST(MatrixGlyphs, LowerCaseIsRealLowerCaseWithDescenders) {
    const std::string xHeight = "acemnorsuvwxz";  // no ascender, no descender
    const std::string descending = "gpqy";
    for (char c = 'a'; c <= 'z'; ++c) {
        const tMatrixGlyph& lower = Glyph5x7(c);
        EXPECT_NE(lower, Glyph5x7(c - 'a' + 'A')) << c;
        if (xHeight.find(c) != std::string::npos) {
            EXPECT_EQ(RowsLit(lower, 0, 1), 0) << c << " reaches above the body";
            EXPECT_NE(lower[6], 0) << c << " does not stand on the base line";
        }
        if (descending.find(c) != std::string::npos) {
            EXPECT_EQ(RowsLit(lower, 0, 1), 0) << c;
            EXPECT_NE(lower[6], 0) << c << " has no tail";
            EXPECT_NE(lower[2], 0) << c << " body does not start under the x height";
        }
    }
    // Capitals fill the full height.
    for (char c = 'A'; c <= 'Z'; ++c) {
        EXPECT_NE(Glyph5x7(c)[0], 0) << c;
        EXPECT_NE(Glyph5x7(c)[6], 0) << c;
    }
}

TEST(Glyphs, CodesAboveTheTablesShowTheNoGlyphCode) {
    for (int code = 128; code < 256; ++code) {
        const auto c = static_cast<std::uint8_t>(code);
        EXPECT_EQ(Glyph7Seg(c), kMiddleBar);
        EXPECT_EQ(Glyph16Seg(c), kDash);
        EXPECT_EQ(Glyph5x7(c), Glyph5x7(127));
    }
}

TEST(Glyphs, LitMaskMapsRowsAndColumnsToDotOrder) {
    // 'L': the left column all the way down and the full bottom row.
    const std::uint64_t mask = LitMask(ds5x7Dot, 'L');
    EXPECT_EQ(LitMask(ds5x7Bulb, 'L'), mask);
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 5; ++c) {
            const bool expected = c == 0 || r == 6;
            EXPECT_EQ(((mask >> (r * 5 + c)) & 1u) != 0, expected) << "row " << r << " col " << c;
        }
    }
    EXPECT_EQ(mask >> 35, 0u);
    EXPECT_EQ(LitMask(ds7Seg, '7'), Glyph7Seg('7'));
    EXPECT_EQ(LitMask(ds16Seg, 'X'), Glyph16Seg('X'));
    EXPECT_EQ(std::popcount(LitMask(ds5x7Dot, 127)), 17);
}

}  // namespace
}  // namespace tunevox::display
