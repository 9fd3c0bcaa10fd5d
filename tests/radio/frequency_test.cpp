#include <gtest/gtest.h>

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
}

} // namespace
} // namespace tunevox::radio
