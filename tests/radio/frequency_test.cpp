#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/number_text.h"
#include "radio/frequency.h"
#include "radio/radio_types.h"

namespace tunevox::radio {
namespace {

struct SnapCase {
    double upper, lower, step, x;
    const char* expected;
};

TEST(SnapFrequency, ClampsAndSnapsToTheGrid) {
    const SnapCase cases[] = {
        {108.0, 87.0, 0.025, 87.51, "087.500"},
        {108.0, 87.0, 0.025, 87.52, "087.525"},
        {108.0, 87.0, 0.005, 87.512, "087.510"},
        {108.0, 87.0, 0.025, 120.0, "108.000"},
        {108.0, 87.0, 0.025, 10.0, "087.000"},
        {91.0, 76.0, 0.05, 120.0, "091.000"},
        {91.0, 76.0, 0.05, 70.0, "076.000"},
        {1.62, 0.531, 0.009, 0.5365, "000.540"},
        {1.62, 0.531, 0.009, 2.0, "001.620"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrequencyText(c.upper, c.lower, SnapFrequency(c.upper, c.lower, c.step, c.x)), c.expected)
            << "x = " << c.x << " step " << c.step;
    }
}

TEST(SnapFrequency, TiesGoToTheEvenStep) {
    // Halfway cases, on grids where the halves are exact in binary.
    EXPECT_DOUBLE_EQ(SnapFrequency(100.0, 0.0, 1.0, 2.5), 2.0);
    EXPECT_DOUBLE_EQ(SnapFrequency(100.0, 0.0, 1.0, 3.5), 4.0);
    EXPECT_DOUBLE_EQ(SnapFrequency(100.0, 0.0, 0.5, 0.25), 0.0);
    EXPECT_DOUBLE_EQ(SnapFrequency(100.0, 0.0, 0.5, 0.75), 1.0);
}

TEST(SnapFrequency, AZeroStepDoesNotProduceGarbage) {
    EXPECT_DOUBLE_EQ(SnapFrequency(1.62, 0.531, 0.0, 1.0), 1.0);
}

TEST(RoundEven, MatchesBankersRounding) {
    EXPECT_EQ(RoundEvenToInt(0.5), 0);
    EXPECT_EQ(RoundEvenToInt(1.5), 2);
    EXPECT_EQ(RoundEvenToInt(2.5), 2);
    EXPECT_EQ(RoundEvenToInt(-2.5), -2);
    EXPECT_EQ(RoundEvenToInt(-3.5), -4);
    EXPECT_EQ(RoundEvenToInt(6.25), 6);
    EXPECT_EQ(RoundEvenToInt(2.51), 3);
}

TEST(FrequencyText, FormatsWithLeadingZerosAndClamps) {
    EXPECT_EQ(FrequencyText(108.0, 87.0, 98.7), "098.700");
    EXPECT_EQ(FrequencyText(108.0, 87.0, 107.9999), "108.000");
    EXPECT_EQ(FrequencyText(1.62, 0.531, 0.531), "000.531");
    EXPECT_EQ(FrequencyText(108.0, 87.0, 200.0), "108.000");
    EXPECT_EQ(FrequencyText(108.0, 87.0, -5.0), "087.000");
    EXPECT_EQ(FrequencyText(2000.0, 0.0, 1000.0), "1000.000");
    EXPECT_EQ(FrequencyText(10.0, -10.0, -1.5), "-01.500") << "as %07.3f wrote it";
    // Unclamped, for stored values of any band.
    EXPECT_EQ(FrequencyText(0.531), "000.531");
    EXPECT_EQ(FrequencyText(87.0125), "087.013") << "rounded, not cut";
    EXPECT_EQ(FrequencyText(-0.0001), "000.000") << "no minus zero";
    EXPECT_EQ(FrequencyText(1e300 * 1e300), "000.000") << "infinity is no frequency";
}

TEST(FrequencyText, ReadsBackWithAPointOrAComma) {
    for (double f : {87.0, 98.7, 107.975, 0.531, 1.62, 76.05}) {
        auto back = ParseFrequencyText(FrequencyText(108.0, 0.0, f));
        ASSERT_TRUE(back.has_value()) << f;
        EXPECT_EQ(FrequencyText(108.0, 0.0, *back), FrequencyText(108.0, 0.0, f));
    }
    EXPECT_EQ(ParseFrequencyText("98,7"), 98.7);
    EXPECT_EQ(ParseFrequencyText(" 0,531 "), 0.531);
    EXPECT_EQ(ParseFrequencyText("-0"), 0.0);
    EXPECT_FALSE(ParseFrequencyText("-98.7").has_value());
    EXPECT_FALSE(ParseFrequencyText("98.7.1").has_value());
    EXPECT_FALSE(ParseFrequencyText("").has_value());
}

// A locale whose decimal separator is the comma, as Qt's application
// object installs on a German desktop. When the system has none built, one
// is compiled from the system's locale sources into the test's directory.
bool UseCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) return true;
    }
    std::string dir = testing::TempDir() + "tunevox-locales";
    std::string command = "mkdir -p '" + dir + "' && localedef -i de_DE -f UTF-8 '" + dir +
                          "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

TEST(FrequencyText, DoesNotFollowTheLocale) {
    if (!UseCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma on this system";
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.1f", 98.7);
    ASSERT_STREQ(shown, "98,7") << "the locale is in force for what is shown";

    std::string text = FrequencyText(108.0, 87.0, 98.7);
    auto back = ParseFrequencyText("098.700");
    auto comma = ParseFrequencyText("98,7");
    std::string fixed = platform::FormatFixed(0.531, 3);
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");

    EXPECT_EQ(text, "098.700");
    EXPECT_EQ(back, 98.7);
    EXPECT_EQ(comma, 98.7);
    EXPECT_EQ(fixed, "0.531");
}

} // namespace
} // namespace tunevox::radio
