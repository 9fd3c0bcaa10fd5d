// What the user reads about the tuned frequency, the tuning step, the key
// string, and the number texts every stored file depends on.

#include <gtest/gtest.h>

#include "radioset/commands.h"
#include "radioset/configuration.h"
#include "radioset/favorites.h"
#include "radioset/number_text.h"
#include "radioset/tuning_rules.h"

#include <string>

namespace tunevox::radioset {
namespace {

std::string Cells(const tReadout& r) { return std::string(r.chars.begin(), r.chars.end()); }

TEST(TuningTexts, CaptionsAndReadoutsOfTheFrequency) {
    EXPECT_EQ(FrequencyCaption(87.5, radio::bFM, '.'), "87.5 MHz");
    EXPECT_EQ(FrequencyCaption(100.0, radio::bFM, '.'), "100. MHz") << "the separator stays";
    EXPECT_EQ(FrequencyCaption(98.725, radio::bFM, ','), "98,725 MHz");
    EXPECT_EQ(FrequencyCaption(1.62, radio::bAM, ','), "1620 kHz") << "trailing zeros of a whole number stay";
    EXPECT_EQ(FrequencyCaption(0.531, radio::bAM, '.'), "531 kHz");

    EXPECT_EQ(TrimZeros("000", '.'), "000") << "only zeros";
    EXPECT_EQ(TrimZeros("0108.000", '.'), "108.");
    EXPECT_EQ(TrimZeros("1000", ','), "1000");

    const tReadout fm = FrequencyReadout("087.500");
    EXPECT_EQ(Cells(fm), " 87500");
    EXPECT_TRUE(fm.point);
    const tReadout am = FrequencyReadout("000.531");
    EXPECT_EQ(Cells(am), "   531");
    EXPECT_FALSE(am.point);
    const tReadout khz1620 = FrequencyReadout("001.620");
    EXPECT_EQ(Cells(khz1620), "  1620");
    EXPECT_TRUE(khz1620.point);
    EXPECT_EQ(Cells(FrequencyReadout("100.000")), "100000");
    EXPECT_EQ(Cells(FrequencyReadout("1000.000")), "      ") << "never digits in the wrong cells";

    EXPECT_EQ(RowOf(30), 3);
    EXPECT_EQ(PositionInRow(30), 10);
    EXPECT_EQ(NormalizeFavoriteName("  a\tb\r\n  "), "a b");
}

TEST(TuningSteps, TheStepIsAWholeMultipleOfTheCardsGridUpToOneMegahertz) {
    EXPECT_EQ(MaxStepMultiple(0.025), 40);
    EXPECT_EQ(MaxStepMultiple(0.05), 20);
    EXPECT_EQ(MaxStepMultiple(0.005), 200);
    EXPECT_DOUBLE_EQ(TuneStepFor(50, 0.025), 0.025) << "wider than 1 MHz: one step";
    EXPECT_DOUBLE_EQ(TuneStepFor(4, 0.025), 0.1);
    EXPECT_EQ(StepKHz(TuneStepFor(4, 0.025)), 100);
    EXPECT_DOUBLE_EQ(TuneStepFor(40, 0.025), 1.0);
    EXPECT_DOUBLE_EQ(TuneStepFor(0, 0.025), 0.025);
    EXPECT_DOUBLE_EQ(TuneStepFor(-3, 0.05), 0.05);
    EXPECT_EQ(StepMultiple(0.1, 0.025), 4);
    EXPECT_EQ(StepMultiple(3 * 0.05, 0.05), 3) << "a sum of steps that lands a hair off";
    EXPECT_EQ(StepKHz(0.025), 25);
    // A model without FM has no grid: nothing divides by zero.
    EXPECT_EQ(MaxStepMultiple(0.0), 1);
    EXPECT_EQ(StepMultiple(0.1, 0.0), 1);
}

TEST(KeyString, OneKeyPerCommandAndOrdinal32RunsNothing) {
    const std::string keys = kDefaultKeyboardCommands;
    ASSERT_TRUE(IsValidKeyString(keys));
    EXPECT_EQ(CommandForKey(keys, 'u'), cmVolumeUp);
    EXPECT_EQ(CommandForKey(keys, 'U'), cmVolumeUp);
    EXPECT_EQ(CommandForKey(keys, ','), cmDecStep);
    EXPECT_EQ(CommandForKey(keys, '8'), cmLoadScript);
    EXPECT_EQ(CommandForKey(keys, 'f'), cmSignalStrenght);
    EXPECT_FALSE(CommandForKey(keys, '?').has_value());
    EXPECT_FALSE(CommandForKey(keys, '7').has_value()) << "the place of ordinal 32";
    EXPECT_FALSE(CommandForKey(keys, '\0').has_value());

    EXPECT_FALSE(IsValidKeyString(keys.substr(0, 38)));
    EXPECT_FALSE(IsValidKeyString(keys.substr(0, 38) + "A"));
    EXPECT_FALSE(IsValidKeyString(keys + "W"));

    EXPECT_EQ(CommandName(cmSignalStrenght), "cmSignalStrenght");
    EXPECT_EQ(CommandName(cmNoCommand), "");
    EXPECT_EQ(CommandByName("CMvolumeup"), cmVolumeUp);
    EXPECT_EQ(CommandByName("cmLoadScript"), cmLoadScript);
    EXPECT_FALSE(CommandByName("").has_value());
    EXPECT_FALSE(CommandByName("cmNothing").has_value());
    for (int i = 0; i < kCommandCount; ++i) {
        if (i == cmNoCommand) continue;
        EXPECT_EQ(CommandByName(CommandName(static_cast<tCommand>(i))), static_cast<tCommand>(i));
    }
}

} // namespace
} // namespace tunevox::radioset
