// The configuration file outlives program versions and moves between
// machines: every key must come back as written, and what a hand or another
// locale put there must read sensibly.

#include <gtest/gtest.h>

#include "radio/frequency.h"

#include "radioset/configuration.h"
#include "platform/profile.h"

#include <locale>
#include <string>

namespace tunevox::radioset {
namespace {

tConfiguration Read(const std::string& text) {
    platform::TProfile p;
    p.LoadText(text);
    return ReadConfiguration(p);
}

// A configuration where every key differs from its default.
tConfiguration Unusual() {
    tConfiguration c;
    c.Hardware = 5;
    c.Port = 2;
    c.VolumeLine = radio::vlMicIn;
    c.CheckIfTuned = true;
    c.CheckIfTunedSec = 7;
    c.CheckIfTunedST = 1;
    c.JapaneseFM = true;
    c.KeyboardCommands = "DU0XM-+,.SA<>!EIOPQJT123ZCRLYKH678945BF";
    c.LastStation = false;
    c.StartMinimized = true;
    c.TipOfTheDay = true;
    c.ShutDown = 1;
    c.Background = 3;
    c.Foreground = 12;
    c.Style = 3;
    c.ColorGenericButton = 1;
    c.ColorFavAssButtonFM = 6;
    c.ColorFavAssButtonAM = 5;
    c.ColorFavNotAssButton = 7;
    c.ColorPanel = 9;
    c.ColorText = 2;
    c.ColorFlag = 0;
    c.LaunchAlarm = true;
    c.StartMuted = true;
    c.ForceStereoOff = true;
    c.HideMainForm = false;
    c.DoubleClick = 250;
    c.Volume = 200;
    c.Current = 100;
    c.DisplayType = 4;
    c.AlwaysOnTop = true;
    c.AlarmStation = 42;
    c.AlarmHour = 23;
    c.AlarmMinute = 5;
    c.X = -20;
    c.Y = 640;
    c.Band = radio::bAM;
    c.Frequency = 0.999;
    c.TuneStep = 4;
    c.ComPorts[0] = "/dev/ttyUSB0";
    c.ComPorts[4] = "/dev/pts/7";
    c.HadComPorts = true;
    return c;
}

void ExpectSame(const tConfiguration& a, const tConfiguration& b) {
#define SAME(field) EXPECT_EQ(a.field, b.field) << #field
    SAME(Hardware); SAME(Port); SAME(VolumeLine); SAME(CheckIfTuned); SAME(CheckIfTunedSec);
    SAME(CheckIfTunedST); SAME(JapaneseFM); SAME(KeyboardCommands); SAME(LastStation);
    SAME(StartMinimized); SAME(TipOfTheDay); SAME(ShutDown); SAME(Background); SAME(Foreground);
    SAME(Style); SAME(ColorGenericButton); SAME(ColorFavAssButtonFM); SAME(ColorFavAssButtonAM);
    SAME(ColorFavNotAssButton); SAME(ColorPanel); SAME(ColorText); SAME(ColorFlag);
    SAME(LaunchAlarm); SAME(StartMuted); SAME(ForceStereoOff); SAME(HideMainForm);
    SAME(DoubleClick); SAME(Volume); SAME(Current); SAME(DisplayType); SAME(AlwaysOnTop);
    SAME(AlarmStation); SAME(AlarmHour); SAME(AlarmMinute); SAME(X); SAME(Y); SAME(Band);
    SAME(Frequency); SAME(TuneStep); SAME(HadComPorts);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(a.ComPorts[i].value_or("/dev/ttyS" + std::to_string(i)),
                  b.ComPorts[i].value_or("/dev/ttyS" + std::to_string(i)))
            << "Com" << i + 1;
    }
#undef SAME
}

// Some desktops' number formatting uses a decimal comma; a stored number
// must not follow it.
struct CommaDecimals : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(Configuration, EveryKeyComesBackAsWrittenInTheOrderOfSaving) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));

    tFavorites bank{};
    bank[3] = {"Radio Drei", 98.7, radio::bFM, true, true};
    bank[10] = {"Mittelwelle", 1.026, radio::bAM, false, true};
    bank[100] = {"", 107.9, radio::bFM, false, true}; // stored without a name
    platform::TProfile p;
    p.LoadText("[Archive]\nRoot=kept\n[Presets]\nStale=1\n");
    WriteConfiguration(p, Unusual(), bank);
    const std::string text = p.ToText();
    std::locale::global(previous);

    platform::TProfile back;
    back.LoadText(text);
    ExpectSame(ReadConfiguration(back), Unusual());
    tFavorites read{};
    ReadFavorites(back, read);
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const auto& w = bank[static_cast<size_t>(n)];
        const auto& r = read[static_cast<size_t>(n)];
        EXPECT_EQ(r.Used, w.Used) << n;
        EXPECT_EQ(r.Name, w.Name) << n;
        EXPECT_EQ(r.Band, w.Band) << n;
        EXPECT_DOUBLE_EQ(r.Frequency, w.Frequency) << n;
    }

    EXPECT_NE(text.find("Frequency=K 000.999\n"), std::string::npos) << text;
    EXPECT_NE(text.find("List=3,10,100,\n"), std::string::npos);
    EXPECT_NE(text.find("Station03=M 098.700 Radio Drei\n"), std::string::npos);
    EXPECT_NE(text.find("Station00=M 107.900"), std::string::npos) << "favorite 100 is Station00";
    EXPECT_NE(text.find("Time=23:05\n"), std::string::npos);
    EXPECT_NE(text.find("Root=kept"), std::string::npos) << "sections of others are kept";
    EXPECT_EQ(text.find("Stale"), std::string::npos) << "[Presets] is erased before writing";

    auto at = [&](const std::string& s) { return text.find(s); };
    const char* sections[] = {"[Archive]", "[WinPos]", "[Audio]", "[Alarm]", "[Frequency]",
                              "[Configuration]", "[DisplayMode]", "[Presets]", "[ComPorts]"};
    for (size_t i = 1; i < std::size(sections); ++i) {
        EXPECT_LT(at(sections[i - 1]), at(sections[i])) << sections[i];
    }
    const char* keys[] = {"Hardware=", "Port=", "VolumeLine=", "CheckIfTuned=", "CheckIfTunedSec=",
                          "CheckIfTunedST=", "JapaneseFM=", "KeyboardCommands=", "LastStation=",
                          "StartMinimized=", "TipOfTheDay=", "ShutDown=", "Background=",
                          "Foreground=", "Style=", "ColorGenericButton=", "ColorFavAssButtonFM=",
                          "ColorFavAssButtonAM=", "ColorFavNotAssButton=", "ColorPanel=",
                          "ColorText=", "ColorFlag=", "LaunchAlarm=", "StartMuted=",
                          "ForceStereoOff=", "HideMainForm=", "DoubleClick="};
    for (size_t i = 1; i < std::size(keys); ++i) {
        EXPECT_LT(at(std::string("\n") + keys[i - 1]), at(std::string("\n") + keys[i])) << keys[i];
    }
}

TEST(Configuration, AMissingFileGivesEveryDefaultAndNoComPortsAreWritten) {
    const tConfiguration c = Read("");
    ExpectSame(c, tConfiguration{});
    EXPECT_EQ(c.KeyboardCommands, "UD0XM-+,.SA<>!EIOPQJT123ZCRLYKH678945BF");
    EXPECT_EQ(c.Band, radio::bFM);
    EXPECT_DOUBLE_EQ(c.Frequency, 87.0);
    EXPECT_EQ(c.Model(), radio::mRadioTrack);

    platform::TProfile p;
    WriteConfiguration(p, c, tFavorites{});
    EXPECT_FALSE(p.SectionExists("ComPorts"));
    EXPECT_EQ(p.ReadString("Presets", "List", "?"), "");
    EXPECT_EQ(p.ReadString("Frequency", "Frequency", ""), "M 087.000");
}

TEST(Configuration, ReadingCorrectsWhatWouldMisleadTheProgram) {
    const tConfiguration c = Read("[DisplayMode]\nDisplayType=9\n"
                                  "[Configuration]\nHardware=12\nVolumeLine=9\n"
                                  "KeyboardCommands=UD0XM-+,.SA<>!EIOPQJT123ZCRLYKH678945B\n"
                                  "Style=17\nColorText=-1\nShutDown=5\n"
                                  "[Alarm]\nTime=25:61\nStation=101\n"
                                  "[Audio]\nVolume=100000\n[Presets]\nCurrent=250\n");
    EXPECT_EQ(c.DisplayType, 0);
    EXPECT_EQ(c.Hardware, 0);
    EXPECT_EQ(c.VolumeLine, radio::vlNone);
    EXPECT_EQ(c.KeyboardCommands, kDefaultKeyboardCommands) << "38 characters";
    EXPECT_EQ(c.Style, 2);
    EXPECT_EQ(c.ColorText, 7);
    EXPECT_EQ(c.ShutDown, 2);
    EXPECT_EQ(c.AlarmHour, 6);
    EXPECT_EQ(c.AlarmMinute, 30);
    EXPECT_EQ(c.AlarmStation, 0);
    EXPECT_EQ(c.Volume, 256) << "a volume beyond the card's range";
    EXPECT_EQ(c.Current, 0) << "no favorite 250";

    EXPECT_EQ(Read("[Configuration]\nKeyboardCommands=UD0XM-+,.SA<>!EIOPQJT123ZCRLYKH678945BA\n")
                  .KeyboardCommands,
              kDefaultKeyboardCommands)
        << "two A";
    EXPECT_EQ(Read("[Alarm]\nTime=7.15\n").AlarmHour, 6);
    EXPECT_EQ(Read("[Alarm]\nTime=7:5\n").AlarmMinute, 5);
    EXPECT_EQ(Read("[Configuration]\nHardware=1\n").Model(), radio::mRadioTrack);
    EXPECT_EQ(Read("[Configuration]\nHardware=8\n").Model(), radio::mAztech);
}

TEST(Configuration, FrequencyTextsReadWithEitherSeparatorAndWithoutBandLetter) {
    struct Case {
        const char* value;
        radio::tBand band;
        double mhz;
    } cases[] = {
        {"M 098,700", radio::bFM, 98.7},   // written where "," is the separator
        {"K 0.999", radio::bAM, 0.999},
        {"k 001,620", radio::bAM, 1.62},
        {"98.7", radio::bFM, 98.7},        // no letter: FM
        {"X 100.0", radio::bFM, 100.0},    // any letter but K is FM
        {"M abc", radio::bFM, 0.0},        // unreadable: 0, band as parsed
        {"K ", radio::bAM, 0.0},
        {"M 1e2", radio::bFM, 0.0},
        {"M inf", radio::bFM, 0.0},
        {"M 98.7.1", radio::bFM, 0.0},
    };
    for (const auto& k : cases) {
        const tConfiguration c = Read(std::string("[Frequency]\nFrequency=") + k.value + "\n");
        EXPECT_EQ(c.Band, k.band) << k.value;
        EXPECT_DOUBLE_EQ(c.Frequency, k.mhz) << k.value;
    }
}

TEST(Configuration, FavoritesListSkipsWhatCannotBeAFavorite) {
    platform::TProfile p;
    p.LoadText("[Presets]\n"
               "List= 0,101,5,abc,-3,7,9,12,100\n"
               "Station05=M 098,700 Five\n"
               "Station07=K 001.026   Seven  padded  \n"
               "Station09=M 000.000 Zero frequency\n"
               "Station12=M\n"
               "Station00=M 107.900 Hundred, last entry without a comma\n");
    tFavorites bank{};
    bank[50] = {"stale", 90.0, radio::bFM, true, true};
    ReadFavorites(p, bank);

    EXPECT_FALSE(bank[50].Used) << "the bank is cleared first";
    EXPECT_TRUE(bank[5].Used);
    EXPECT_DOUBLE_EQ(bank[5].Frequency, 98.7);
    EXPECT_EQ(bank[5].Name, "Five");
    EXPECT_EQ(bank[7].Band, radio::bAM);
    EXPECT_DOUBLE_EQ(bank[7].Frequency, 1.026);
    EXPECT_EQ(bank[7].Name, "Seven  padded");
    EXPECT_FALSE(bank[9].Used) << "frequency 0";
    EXPECT_FALSE(bank[12].Used) << "no frequency";
    EXPECT_TRUE(bank[100].Used);
    int used = 0;
    for (const auto& f : bank) used += f.Used ? 1 : 0;
    EXPECT_EQ(used, 3);
    EXPECT_FALSE(bank[0].Used) << "0 and 101 never reach the table";
}

TEST(Configuration, FavoritesReadBackAsTheyAreWrittenToTheKilohertz) {
    platform::TProfile p;
    p.LoadText("[Presets]\nList=1,2,3,\nStation01=M 0.0004 Tiny\nStation02=M 098.7004 Precise\n"
               "Station03=K 0.5306 Low\n");
    tFavorites bank{};
    ReadFavorites(p, bank);
    EXPECT_FALSE(bank[1].Used) << "written back it would be 000.000, no frequency";
    ASSERT_TRUE(bank[2].Used);
    EXPECT_EQ(radio::FrequencyText(bank[2].Frequency), "098.700");
    ASSERT_TRUE(bank[3].Used);

    // What was read is written and read again unchanged, to the kHz.
    platform::TProfile out;
    WriteConfiguration(out, tConfiguration{}, bank);
    EXPECT_EQ(out.ReadString("Presets", "Station02", ""), "M 098.700 Precise");
    EXPECT_EQ(out.ReadString("Presets", "Station03", ""), "K 000.531 Low");
    tFavorites again{};
    ReadFavorites(out, again);
    for (int n = 1; n <= kFavoriteCount; ++n) {
        EXPECT_EQ(again[n].Used, bank[n].Used) << n;
        EXPECT_EQ(radio::FrequencyText(again[n].Frequency), radio::FrequencyText(bank[n].Frequency)) << n;
        EXPECT_EQ(again[n].Name, bank[n].Name) << n;
    }
}

} // namespace
} // namespace tunevox::radioset
