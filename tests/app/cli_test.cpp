// The command-line tool as a script would use it: exit codes, the printed
// status, the hardware trace, and the emulated receivers behind it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace tunevox::cli {
namespace {

struct Result {
    int code;
    std::string out, err;
};

Result RunCli(std::vector<std::string> args) {
    std::ostringstream out, err;
    int code = Run(args, out, err);
    return {code, out.str(), err.str()};
}

std::string TempPath(const std::string& name) {
    return testing::TempDir() + "tunevox_cli_" + name;
}

// Sets TUNEVOX_TRACE for one scope.
struct TraceTo {
    explicit TraceTo(const std::string& path) { setenv("TUNEVOX_TRACE", path.c_str(), 1); }
    ~TraceTo() { unsetenv("TUNEVOX_TRACE"); }
};

TEST(CliUsage, MistakesExitWithTwoBeforeAnyHardware) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"tune", "98.7"}, "--model is required"},
        {{"--model", "radiotrack"}, "no command given"},
        {{"--model", "nosuch", "status"}, "unknown model"},
        {{"--model", "9", "status"}, "unknown model"},
        {{"--model", "1", "tune"}, "tune needs a value"},
        {{"--model", "1", "tune", "abc"}, "bad FM frequency"},
        {{"--model", "1", "volume", "300"}, "volume must be 0..256"},
        {{"--model", "1", "--port", "x", "status"}, "bad port index"},
        {{"--model", "1", "jump"}, "unknown command"},
        {{"--model", "1", "--frobnicate", "status"}, "unknown option"},
        {{"--model", "radiotrack", "tune", "am", "531"}, "has no AM band"},
        {{"--model", "wizard", "volume", "100"}, "has no volume control"},
        {{"--model", "zoltrix", "--port", "3", "status"}, "out of range"},
        {{"--model", "radiotrack", "--com-device", "/dev/null", "status"}, "--com-device is for the serial radios"},
        {{"--model", "1", "--stations", "x", "status"}, "--stations needs --virtual"},
    };
    for (const auto& c : cases) {
        Result r = RunCli(c.args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    Result help = RunCli({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.err.find("usage: tunevox-cli"), std::string::npos);
}

TEST(CliVirtual, StatusNearAndFarFromAStation) {
    // 98.7 is a stereo station of the built-in list, 100.3 a mono one; 99.4
    // lies between stations.
    EXPECT_EQ(RunCli({"--virtual", "--model", "radiotrack", "tune", "98.7", "status"}).out, "Stereo\n");
    EXPECT_EQ(RunCli({"--virtual", "--model", "radiotrack", "tune", "99.4", "status"}).out, "?????\n");
    EXPECT_EQ(RunCli({"--virtual", "--model", "ra300", "tune", "100.3", "status"}).out, "Mono\n");
    EXPECT_EQ(RunCli({"--virtual", "--model", "zoltrix", "tune", "98.7", "status"}).out, "Tuned\n");
    EXPECT_EQ(RunCli({"--virtual", "--model", "8", "tune", "99.4", "status", "tune", "98.7", "status"}).out,
              "?????\nStereo\n");
    // Asking the Zoltrix card for mono makes it report a stereo station as tuned only in mono mode.
    EXPECT_EQ(RunCli({"--virtual", "--model", "zoltrix", "--mono", "tune", "98.7", "status"}).out, "Tuned\n");
}

TEST(CliVirtual, SerialRadioThroughItsPseudoTerminal) {
    // Status on AM is never measurable.
    Result r = RunCli({"--virtual", "--model", "radioman", "tune", "98.7", "status", "tune", "99.4", "status", "tune",
                       "am", "693", "status"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Tuned\n?????\n?????\n");
}

TEST(CliVirtual, StationFileReplacesTheBuiltInList) {
    std::string path = TempPath("stations.txt");
    {
        std::ofstream f(path);
        f << "# two stations\nM 090.000 S Ninety\nM 104.250 M Odd One\n";
    }
    Result r = RunCli({"--virtual", "--stations", path, "--model", "aztech", "scan"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "090.000 S\n104.250 M\n");

    {
        std::ofstream f(path);
        f << "M 090.000 S Ninety\nX 1 S Bad\n";
    }
    r = RunCli({"--virtual", "--stations", path, "--model", "aztech", "scan"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
    std::remove(path.c_str());
}

TEST(CliVirtual, ScanReportsEachStationOnce) {
    std::string path = TempPath("scan.txt");
    {
        std::ofstream f(path);
        f << "M 088.100 S A\nM 100.300 M B\n";
    }
    Result r = RunCli({"--virtual", "--stations", path, "--model", "radiotrack", "scan"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "088.100 S\n100.300 M\n");
    std::remove(path.c_str());
}

// The trace of a tune shows the card's tuning word: 24 bits, low bit
// first, each a run of four writes (1,1,3,3 for 0 and 5,5,7,7 for 1).
TEST(CliTrace, ShowsTheTuningWordOnThePort) {
    std::string path = TempPath("trace.txt");
    {
        TraceTo trace(path);
        Result r = RunCli({"--virtual", "--model", "radiotrack", "tune", "87.5", "status"});
        ASSERT_EQ(r.code, 0) << r.err;
    }
    std::ifstream f(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(f, l);) lines.push_back(l);
    std::remove(path.c_str());
    ASSERT_FALSE(lines.empty());

    std::string bits;
    for (size_t i = 0; i + 4 <= lines.size() && bits.size() < 24; ++i) {
        if (lines[i] == "W 030C 01" && lines[i + 1] == "W 030C 01" && lines[i + 2] == "W 030C 03" &&
            lines[i + 3] == "W 030C 03") {
            bits += '0';
            i += 3;
        } else if (lines[i] == "W 030C 05" && lines[i + 1] == "W 030C 05" && lines[i + 2] == "W 030C 07" &&
                   lines[i + 3] == "W 030C 07") {
            bits += '1';
            i += 3;
        } else if (!bits.empty()) {
            break;
        }
    }
    EXPECT_EQ(bits, "000110101111000000000101");
    bool sawStatusRead = false;
    for (const auto& l : lines) sawStatusRead |= l.rfind("R 030C ", 0) == 0;
    EXPECT_TRUE(sawStatusRead);
}

TEST(CliHardware, UnopenableComPortIsAHardwareError) {
    Result r = RunCli({"--model", "wizard", "--com-device", "/nonexistent/tunevox-tty", "tune", "98.7"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot open COM2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("/nonexistent/tunevox-tty"), std::string::npos);
}

} // namespace
} // namespace tunevox::cli
