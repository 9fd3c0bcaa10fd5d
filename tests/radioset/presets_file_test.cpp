// Presets files are written by the presets editor and by hand, and come
// from other machines and the program's Windows past. A file either loads
// whole or leaves the bank as it was.

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "radioset/presets_file.h"

#include "radio/frequency.h"
#include "support/temp_dir.h"

#include <filesystem>

#include <string>

namespace tunevox::radioset {
namespace {

std::string Line(const std::string& number, const std::string& freq, const std::string& band,
                 const std::string& name) {
    return number + "." + freq + "." + band + "." + name + std::string(name.size() < 40 ? 40 - name.size() : 0, ' ');
}

// A bank with one marker, to see that a failed load leaves it alone.
tFavorites Marked() {
    tFavorites bank{};
    bank[42] = {"Marker", 88.8, radio::bFM, false, true};
    return bank;
}

std::string HundredGoodLines() {
    std::string text;
    for (int n = 1; n <= 100; ++n) {
        char number[4] = {char('0' + n / 100), char('0' + n / 10 % 10), char('0' + n % 10), 0};
        const int khz = 87100 + n * 100; // 87.2 .. 97.1 MHz, all different
        char freq[8] = {char('0' + khz / 100000), char('0' + khz / 10000 % 10), char('0' + khz / 1000 % 10),
                        '.', char('0' + khz / 100 % 10), char('0' + khz / 10 % 10), char('0' + khz % 10), 0};
        text += Line(number, freq, "FM", "Station " + std::to_string(n)) + "\r\n";
    }
    return text;
}

TEST(PresetsFile, GoodFilesLoadWhateverTheirLineEndsAndSeparator) {
    const std::string one = Line("001", "087.500", "FM", "Test");
    for (const std::string& text : {one + "\r\n", one, one + "\n", "\xEF\xBB\xBF" + one + "\r\n"}) {
        tFavorites bank = Marked();
        ASSERT_EQ(ParsePresets(text, bank), prOk) << text;
        EXPECT_TRUE(bank[1].Used);
        EXPECT_EQ(bank[1].Band, radio::bFM);
        EXPECT_DOUBLE_EQ(bank[1].Frequency, 87.5);
        EXPECT_EQ(bank[1].Name, "Test");
        EXPECT_FALSE(bank[1].Active);
        EXPECT_FALSE(bank[42].Used) << "the whole bank is replaced";
    }

    tFavorites bank{};
    const std::string mixed = Line("003", "098,700", "FM", "Komma") + "\n" +
                              Line("100", "001.026", "AM", "") + "\r" +
                              Line("050", "107.900", "FM", "  Blanks around  ");
    ASSERT_EQ(ParsePresets(mixed, bank), prOk);
    EXPECT_DOUBLE_EQ(bank[3].Frequency, 98.7);
    EXPECT_EQ(bank[100].Band, radio::bAM);
    EXPECT_EQ(bank[100].Name, "");
    EXPECT_EQ(bank[50].Name, "Blanks around");

    tFavorites full{};
    ASSERT_EQ(ParsePresets(HundredGoodLines() + "this is no presets line at all\r\n101.garbage", full), prOk)
        << "lines after the hundredth are not read";
    EXPECT_TRUE(full[100].Used);
    EXPECT_EQ(full[100].Name, "Station 100");
}

TEST(PresetsFile, AnyBadLineLeavesTheBankAsItWas) {
    const std::string good = Line("001", "087.500", "FM", "Good") + "\r\n";
    const std::string bad[] = {
        "",                                                            // empty file
        "\r\n",                                                        // one empty line
        good + Line("002", "087.500", "AM", "Same kHz other band"),    // duplicate frequency
        good + Line("001", "099.000", "FM", "Same number"),            // duplicate number
        Line("101", "087.500", "FM", "Too high"),
        Line("000", "087.500", "FM", "Zero"),
        Line("001", "87.5 MH", "FM", "Frequency with its unit"),
        Line("001", "0a7.500", "FM", "Bad digits"),
        Line("001", "087.500", "fm", "Lower-case band"),
        Line("001", "087.500", "FM", "x").replace(3, 1, ":"),         // bad separators
        Line("001", "087.500", "FM", "x").replace(14, 1, " "),
        "001.087.500.FM",                                              // too short
        Line("001", "087.500", "FM", std::string(41, 'n')),            // name of 41 characters
        good + "\r\n" + Line("003", "090.000", "FM", "After an empty line"),
        // What the writer could not write back: it would come back as
        // another station, and two of them as duplicates.
        Line("001", "-01.000", "FM", "Negative"),
        Line("001", "1234567", "FM", "Seven digits, no point"),
    };
    for (const std::string& text : bad) {
        tFavorites bank = Marked();
        EXPECT_EQ(ParsePresets(text, bank), prCorrupt) << '"' << text << '"';
        EXPECT_TRUE(bank[42].Used);
        EXPECT_FALSE(bank[1].Used);
    }
}

TEST(PresetsFile, NamesCountCharactersNotBytes) {
    // 40 characters of which many take two or three bytes in UTF-8.
    const std::string forty = "Ö1 Klassik – Späte Stunde ÄÖÜäöüß€ 12345";
    tFavorites bank{};
    bank[7] = {forty, 99.9, radio::bFM, false, true};
    const std::string text = FormatPresets(bank);
    EXPECT_EQ(text, "007.099.900.FM." + forty + "\r\n") << "no padding needed at 40 characters";

    tFavorites back{};
    ASSERT_EQ(ParsePresets(text, back), prOk);
    EXPECT_EQ(back[7].Name, forty);

    // Files of the program's Windows past hold names in Windows-1252.
    tFavorites legacy{};
    ASSERT_EQ(ParsePresets(Line("002", "091.300", "FM", "Radio \xC4rger \x80"), legacy), prOk);
    EXPECT_EQ(legacy[2].Name, "Radio Ärger €");
}

TEST(PresetsFile, WrittenFilesReadBackAndFailedWritesKeepTheOldFile) {
    test::TempDir dir;
    ASSERT_TRUE(dir.Valid());
    const std::string path = dir.File("set.tvp");

    tFavorites bank{};
    bank[1] = {"Eins", 87.5, radio::bFM, true, true};
    bank[10] = {"Ten", 0.531, radio::bAM, false, true};
    bank[100] = {std::string(55, 'L'), 108.0, radio::bFM, false, true}; // cut at 40
    std::string error;
    ASSERT_TRUE(WritePresetsFile(path, bank, &error)) << error;

    tFavorites back = Marked();
    ASSERT_EQ(ReadPresetsFile(path, back), prOk);
    EXPECT_EQ(back[1].Name, "Eins");
    EXPECT_FALSE(back[1].Active);
    EXPECT_EQ(back[10].Band, radio::bAM);
    EXPECT_DOUBLE_EQ(back[10].Frequency, 0.531);
    EXPECT_EQ(back[100].Name, std::string(40, 'L'));
    EXPECT_FALSE(back[42].Used);

    const std::string bytes = test::ReadTextFile(path);
    EXPECT_EQ(bytes.substr(0, 57), Line("001", "087.500", "FM", "Eins") + "\r\n");
    EXPECT_EQ(bytes.size(), 3u * 57);

    EXPECT_EQ(FormatPresets(tFavorites{}), "") << "an empty bank is an empty file";

    // Whatever loads saves and loads again unchanged, odd forms included.
    const std::string odd = Line("002", "  87.5 ", "FM", "Blanks") + "\r\n" + Line("003", "+98,70 ", "FM", "Sign") +
                            "\r\n" + Line("004", "000.000", "AM", "Nothing") + "\r\n";
    tFavorites once{};
    ASSERT_EQ(ParsePresets(odd, once), prOk);
    tFavorites twice{};
    ASSERT_EQ(ParsePresets(FormatPresets(once), twice), prOk);
    for (int n = 1; n <= kFavoriteCount; ++n) {
        EXPECT_EQ(twice[n].Used, once[n].Used) << n;
        EXPECT_EQ(radio::FrequencyText(twice[n].Frequency), radio::FrequencyText(once[n].Frequency)) << n;
        EXPECT_EQ(twice[n].Name, once[n].Name) << n;
        EXPECT_EQ(twice[n].Band, once[n].Band) << n;
    }

    // A directory where the new file should be, and a folder that is not there.
    ASSERT_TRUE(std::filesystem::create_directory(dir.File("taken.tvp")));
    for (const std::string& target : {dir.File("taken.tvp"), dir.File("missing/set.tvp")}) {
        std::string why;
        EXPECT_FALSE(WritePresetsFile(target, bank, &why)) << target;
        EXPECT_FALSE(why.empty()) << "the reason is told";
    }
    tFavorites again{};
    ASSERT_EQ(ReadPresetsFile(path, again), prOk) << "the earlier file is whole";

    tFavorites untouched = Marked();
    EXPECT_EQ(ReadPresetsFile(dir.File("none.tvp"), untouched), prReadError);
    EXPECT_EQ(ReadPresetsFile(dir.Path(), untouched), prReadError) << "a folder";
    EXPECT_TRUE(untouched[42].Used);

    // A long file: only the first hundred lines are read from disk.
    const std::string bigPath = dir.File("big.tvp");
    std::string big = HundredGoodLines();
    big += std::string(8 * 1024 * 1024, 'x');
    ASSERT_TRUE(platform::WriteFileAtomically(bigPath, big, &error)) << error;
    tFavorites fromBig{};
    EXPECT_EQ(ReadPresetsFile(bigPath, fromBig), prOk);
    const std::string endless(8 * 1024 * 1024, ' ');
    ASSERT_TRUE(platform::WriteFileAtomically(bigPath, Line("001", "087.500", "FM", "x") + endless, &error));
    EXPECT_EQ(ReadPresetsFile(bigPath, fromBig), prCorrupt) << "a line that never ends";
}

} // namespace
} // namespace tunevox::radioset
