// The helpers every reader and writer of the program's files uses: lines
// whatever their endings, and numbers whatever the locale.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/number_text.h"
#include "platform/text_lines.h"

namespace tunevox::platform {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLines, AnyLineEndingAndAByteOrderMark) {
    EXPECT_EQ(SplitTextLines("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\nb"), (Lines{"a", "b"})) << "the last terminator is optional";
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb\n\rc"), (Lines{"a", "", "b", "", "c"})) << "mixed; LF CR is two ends";
    EXPECT_EQ(SplitTextLines("\xEF\xBB\xBFM 98.7\r\n"), (Lines{"M 98.7"}));
    EXPECT_EQ(SplitTextLines("x\xEF\xBB\xBF"), (Lines{"x\xEF\xBB\xBF"})) << "a mark only counts at the start";
    EXPECT_EQ(SplitTextLines(""), Lines{});
    EXPECT_EQ(SplitTextLines("\xEF\xBB\xBF"), Lines{});
    EXPECT_EQ(SplitTextLines("\n"), (Lines{""}));
    EXPECT_EQ(SplitTextLines(std::string("a\0b\n", 4)), (Lines{std::string("a\0b", 3)}));

    std::string path = testing::TempDir() + "tunevox_lines.txt";
    {
        std::ofstream f(path, std::ios::binary);
        f << "\xEF\xBB\xBFone\rtwo\r\nthree";
    }
    auto lines = ReadTextLines(path);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (Lines{"one", "two", "three"}));
    std::remove(path.c_str());
    int error = 0;
    EXPECT_FALSE(ReadTextLines(path, &error).has_value());
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(ReadWholeFile(testing::TempDir(), &error).has_value());
    EXPECT_EQ(error, EISDIR);
}

TEST(NumberText, WritesAPointAndReadsAPointOrAComma) {
    EXPECT_EQ(FormatFixed(98.7, 3), "98.700");
    EXPECT_EQ(FormatFixed(0.531, 3), "0.531");
    EXPECT_EQ(FormatFixed(-1.25, 1), "-1.2") << "exact decimal rounding, ties to even";
    EXPECT_EQ(FormatFixed(1234567.5, 0), "1234568") << "no grouping";
    EXPECT_EQ(FormatFixed(2.0, 0), "2");

    EXPECT_EQ(ParseReal("98.7"), 98.7);
    EXPECT_EQ(ParseReal("98,7"), 98.7);
    EXPECT_EQ(ParseReal(" \t-0,5 "), -0.5);
    EXPECT_EQ(ParseReal("+3"), 3.0);
    EXPECT_EQ(ParseReal("7."), 7.0);
    EXPECT_EQ(ParseReal(".5"), 0.5);
    EXPECT_EQ(ParseReal("098.700"), 98.7);
    for (const char* bad : {"", " ", ".", ",", "-", "1.000,5", "1e3", "inf", "nan", "0x10", "9 8", "98.7MHz", "--1"})
        EXPECT_FALSE(ParseReal(bad).has_value()) << '"' << bad << '"';

    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger(" -7 "), -7);
    EXPECT_EQ(ParseInteger("+7"), 7);
    for (const char* bad : {"", "4.0", "4,", "+-4", "x", "99999999999999999999"})
        EXPECT_FALSE(ParseInteger(bad).has_value()) << '"' << bad << '"';
}

} // namespace
} // namespace tunevox::platform
