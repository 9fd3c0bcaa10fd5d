// The small tuner of the organizer and the presets editor: where a station
// lands on its band, whether the card can play it and where the card goes,
// and what the scale, hint, digits and buttons show.

#include <gtest/gtest.h>

#include "radio/frequency.h"
#include "radioset/station_tuner_rules.h"

namespace tunevox::radioset {
namespace {

using radio::bAM;
using radio::bFM;

// Shown frequency, range and destination: "080.000 out 087.000" or
// "098.700 in 098.700"; "-" for a card that is not tuned at all.
std::string Where(const tTunerCard& card, radio::tBand band, double mhz) {
    const tTunerTarget t = TunerTarget(card, band, mhz);
    return radio::FrequencyText(t.frequency) + (t.outOfRange ? " out " : " in ") +
           (t.tune ? radio::FrequencyText(t.tuneTo) : "-");
}

TEST(StationTunerRules, WhereAStationLandsAndWhereTheCardGoes) {
    const tTunerCard standard{.fmMin = 87.0, .fmMax = 108.0, .fmStep = 0.05};
    EXPECT_EQ(Where(standard, bFM, 80.0), "080.000 out 087.000") << "kept below the card's band";
    EXPECT_EQ(Where(standard, bFM, 60.0), "076.000 out 087.000") << "the tuner's band starts at 76";
    EXPECT_EQ(Where(standard, bFM, 98.72), "098.700 in 098.700");
    EXPECT_EQ(Where(standard, bAM, 0.999), "000.999 out -") << "a card without AM";
    tTunerCard japaneseSetting = standard;
    japaneseSetting.japaneseFM = true;
    EXPECT_EQ(Where(japaneseSetting, bFM, 80.0), "080.000 out 076.000");
    // A card edge that arithmetic left a hair above 87.1 still takes 87.1.
    tTunerCard noisyEdge = standard;
    noisyEdge.fmMin = 86.9 + 0.2;
    EXPECT_EQ(Where(noisyEdge, bFM, 87.1), "087.100 in 087.100");
    EXPECT_EQ(Where(noisyEdge, bFM, 87.05), "087.050 out 087.000");

    const tTunerCard japaneseCard{.hasAM = true, .fmMin = 76.0, .fmMax = 91.0, .japaneseFM = true};
    EXPECT_EQ(Where(japaneseCard, bFM, 95.0), "091.000 in 091.000");
    EXPECT_EQ(Where(japaneseCard, bAM, 1.0), "000.999 in 000.999") << "9 kHz grid from 531";
    EXPECT_EQ(Where({.hasAM = true, .hasFM = false}, bFM, 98.7), "098.700 out -");

    // A 25 kHz card: the grid is counted from 76.0, not from its own edge.
    const tTunerCard aimslab{.fmMin = 88.0, .fmMax = 108.0, .fmStep = 0.025};
    EXPECT_EQ(Where(aimslab, bFM, 98.712), "098.700 in 098.700");
    EXPECT_EQ(Where(aimslab, bFM, 98.713), "098.725 in 098.725");
    EXPECT_EQ(Where(aimslab, bFM, 87.98), "087.975 out 087.000");
}

TEST(StationTunerRules, WhatTheTunerShows) {
    const std::vector<tScaleLabel> am = TunerScale(bAM), fm = TunerScale(bFM);
    ASSERT_EQ(am.size(), 12u);
    ASSERT_EQ(fm.size(), 9u);
    EXPECT_EQ(am[1].text + " " + am[11].text + " " + fm[1].text + " " + fm[8].text, "630 1620 80 108");
    EXPECT_EQ(am[11].x, 267);
    EXPECT_EQ(fm[8].x, am[11].x) << "both scales span the same slider";

    EXPECT_EQ(TunerHint(bFM, 98.7, '.'), "98.700 MHz");
    EXPECT_EQ(TunerHint(bFM, 101.3, ','), "101,300 MHz");
    EXPECT_EQ(TunerHint(bAM, 0.999, ','), "999 kHz");

    auto digits = [](radio::tBand band, double mhz) {
        const tTunerDigits d = TunerDigits(band, mhz);
        return d.chars + (d.point ? " with point" : "");
    };
    EXPECT_EQ(digits(bFM, 101.3), "101300 with point");
    EXPECT_EQ(digits(bFM, 87.5), " 87500 with point");
    EXPECT_EQ(digits(bAM, 0.531), "   531");
    EXPECT_EQ(digits(bFM, 60.0), " 76000 with point") << "clamped to the band";

    auto buttons = [](radio::tBand band, double mhz) {
        const tTunerButtons b = TunerButtons(band, mhz);
        return std::string(b.down ? "v" : "-") + (b.up ? "^" : "-");
    };
    EXPECT_EQ(buttons(bFM, 76.0) + buttons(bFM, 98.7) + buttons(bFM, 108.0), "-^v^v-");
    EXPECT_EQ(buttons(bAM, 0.531) + buttons(bAM, 1.611 + 0.009), "-^v-") << "1620 kHz as a sum of steps";

    std::string letters;
    for (int status : {0, 1, 2, 3, 4})
        letters += std::string(1, TunedLetter(status).letter) + (TunedLetter(status).lit ? "*" : "");
    EXPECT_EQ(letters, "?T*S*M*?") << "* lit";
}

} // namespace
} // namespace tunevox::radioset
