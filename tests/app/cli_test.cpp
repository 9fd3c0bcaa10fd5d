// The command-line tool as a script would use it: exit codes, the printed
// status, the hardware trace, and the emulated receivers behind it.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/radio_device.h"
#include "radioset/card_setup.h"

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

// The trace's lines with its folding undone: "LINE xN" is the line N
// times, "REPEAT K xN" the K lines written just above it (as written, an
// "xN" line being one) N times in all.
std::vector<std::string> Unfold(const std::vector<std::string>& folded) {
    std::vector<std::vector<std::string>> parts; // what each written line stands for
    for (const std::string& l : folded) {
        unsigned k = 0, n = 0;
        if (std::sscanf(l.c_str(), "REPEAT %u x%u", &k, &n) == 2 && k <= parts.size()) {
            std::vector<std::string> block;
            for (size_t i = parts.size() - k; i < parts.size(); ++i)
                block.insert(block.end(), parts[i].begin(), parts[i].end());
            std::vector<std::string> more;
            for (unsigned r = 1; r < n; ++r) more.insert(more.end(), block.begin(), block.end());
            parts.push_back(std::move(more));
            continue;
        }
        size_t x = l.rfind(" x");
        if (x != std::string::npos && x + 2 < l.size() &&
            l.find_first_not_of("0123456789", x + 2) == std::string::npos) {
            parts.emplace_back(std::stoul(l.substr(x + 2)), l.substr(0, x));
            continue;
        }
        parts.push_back({l});
    }
    std::vector<std::string> lines;
    for (const auto& p : parts) lines.insert(lines.end(), p.begin(), p.end());
    return lines;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream f(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(f, l);) lines.push_back(l);
    return lines;
}

TEST(CliUsage, MistakesExitWithTwoBeforeAnyHardware) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"tune", "98.7"}, "--model is required"},
        {{"--model", "radiotrack"}, "no command given"},
        {{"--model", "nosuch", "status"}, "unknown model"},
        {{"--model", "10", "status"}, "unknown model"},
        {{"--model", "1", "tune"}, "tune needs a value"},
        {{"--model", "1", "tune", "abc"}, "bad FM frequency"},
        {{"--model", "1", "volume", "300"}, "volume must be 0..256"},
        {{"--model", "1", "--port", "x", "status"}, "bad port index"},
        {{"--model", "1", "--port", "0", "status"}, "port index 0 means no port"},
        {{"--virtual", "--model", "wizard", "--port", "0", "tune", "98.7"}, "port index 0 means no port"},
        {{"--model", "1", "jump"}, "unknown command"},
        {{"--model", "1", "--frobnicate", "status"}, "unknown option"},
        {{"--model", "radiotrack", "tune", "am", "531"}, "has no AM band"},
        {{"--model", "wizard", "volume", "100"}, "has no volume control"},
        {{"--model", "zoltrix", "--port", "3", "status"}, "out of range"},
        {{"--model", "radiotrack", "--com-device", "/dev/null", "status"}, "--com-device is for the serial radios"},
        {{"--model", "1", "--stations", "x", "status"}, "--stations needs --virtual"},
        {{"--model", "1", "seek", "left"}, "seek goes up or down"},
        {{"--model", "radiotrack", "--device", "/dev/radio0", "status"}, "--device is for the Linux radio device"},
        {{"--model", "wizard", "--device", "/dev/radio0", "status"}, "Wizard Radio is a serial radio"},
        {{"--model", "v4l2", "--device", "radio0", "status"}, "absolute path"},
        {{"--model", "9", "--device", "", "status"}, "absolute path"},
        {{"--model", "v4l2", "--port", "1", "status"}, "--port is for the ISA cards"},
        {{"--model", "v4l2", "--com-device", "/dev/ttyS0", "status"}, "is a radio device node"},
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
    EXPECT_NE(help.err.find("9 v4l2"), std::string::npos);
    EXPECT_NE(help.err.find("--device PATH"), std::string::npos);
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
    std::vector<std::string> lines = Unfold(ReadLines(path));
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

// One Aztech status read makes 81,920 port reads; folded, a traced scan
// of the whole band stays small, and the folding loses nothing.
TEST(CliTrace, RepetitionIsFoldedSoATracedScanStaysSmall) {
    std::string path = TempPath("scan_trace.txt");
    {
        TraceTo trace(path);
        Result r = RunCli({"--virtual", "--model", "aztech", "tune", "98.7", "status"});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, "Stereo\n");
    }
    std::vector<std::string> folded = ReadLines(path);
    EXPECT_LT(folded.size(), 200u);
    std::vector<std::string> lines = Unfold(folded);
    size_t reads = 0;
    for (const auto& l : lines) reads += l.rfind("R 035", 0) == 0 && l.size() == 9 && l.substr(7) == "FC";
    EXPECT_EQ(reads, 81920u) << "all eight ports, 10240 rounds, read stereo";
    EXPECT_EQ(lines[lines.size() - 81920], "R 0350 FC");
    EXPECT_EQ(lines.back(), "R 0357 FC");

    {
        TraceTo trace(path);
        Result r = RunCli({"--virtual", "--model", "aztech", "scan"});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out.size(), 13u * 10u) << r.out;
    }
    auto size = std::filesystem::file_size(path);
    EXPECT_LT(size, 2u * 1024 * 1024) << "the unfolded trace would be some 700 MB";
    std::remove(path.c_str());
}

// The run command and the scan on every model of emulated hardware.
TEST(CliVirtual, EveryModelTunesAndScans) {
    const char* models[] = {"radiotrack", "ra300",   "wizard", "radioman", "radionmaru",
                            "rajikoma",   "zoltrix", "aztech", "v4l2"};
    // RDS names have eight characters: "Radio One" arrives cut short.
    const char* status[] = {"Stereo", "Stereo", "Tuned", "Tuned", "Tuned",
                            "Tuned",  "Tuned",  "Stereo", "Stereo signal 100% (65535) \"Radio On\""};
    std::string path = TempPath("two.txt");
    {
        std::ofstream f(path);
        f << "M 090.000 S Ninety\nM 104.250 M Odd One\n";
    }
    for (int m = 0; m < 9; ++m) {
        SCOPED_TRACE(models[m]);
        Result r = RunCli({"--virtual", "--model", models[m], "tune", "98.7", "status"});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, std::string(status[m]) + "\n");
        if (m >= 2 && m <= 5) continue; // a serial scan takes 200 ms a step; one is enough (below)
        r = RunCli({"--virtual", "--stations", path, "--model", models[m], "scan"});
        EXPECT_EQ(r.code, 0) << r.err;
        std::string mono = m == 6 ? "T" : "M", stereo = m == 6 ? "T" : "S";
        // The Zoltrix card steps 5 kHz and its emulator hears 104.250 from 104.180 up.
        EXPECT_EQ(r.out, "090.000 " + stereo + "\n104.250 " + mono + "\n");
    }
    std::remove(path.c_str());
}

// The radio device: the signal it measures, the name its station sends
// (which takes some tenths of a second of the emulator's clock to arrive
// twice), and its own seek beside the step seek of the models of old.
TEST(CliRadioDevice, StatusShowsSignalAndStationName) {
    Result r = RunCli({"--virtual", "--model", "v4l2", "tune", "90.5", "status", "tune", "100.3", "status", "tune",
                       "99.4", "status"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Stereo signal 100% (65535) \"Jazz FM\"\nMono signal 100% (65535) \"News Now\"\n"
                     "????? signal 0% (0)\n");

    // Off the station's centre the signal is weaker, too weak for stereo,
    // and its percentage follows the raw value.
    r = RunCli({"--virtual", "--model", "9", "tune", "90.55", "status"});
    int percent = -1, raw = -1;
    ASSERT_EQ(std::sscanf(r.out.c_str(), "Mono signal %d%% (%d)", &percent, &raw), 2) << r.out;
    EXPECT_GT(raw, 0);
    EXPECT_LT(raw, 65535);
    EXPECT_EQ(percent, static_cast<int>(std::lround(raw * 100.0 / 65535.0)));
    EXPECT_NE(r.out.find("\"Jazz FM\""), std::string::npos) << r.out;

    // The device has no Japanese band, which only its answers tell.
    r = RunCli({"--virtual", "--model", "v4l2", "--japanese-fm", "status"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("has no Japanese FM band"), std::string::npos) << r.err;
}

TEST(CliRadioDevice, SeekLandsOnTheNextStation) {
    struct {
        const char* model;
        const char* status; // at 88.0, between the band's edge and the first station
    } cases[] = {{"v4l2", "????? signal 0% (0)"}, {"radiotrack", "?????"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        Result r = RunCli({"--virtual", "--model", c.model, "seek", "up", "seek", "up", "tune", "93.2", "seek",
                           "down", "tune", "88.0", "seek", "down", "status"});
        EXPECT_EQ(r.code, 0) << r.err;
        // From the band's edge when nothing was tuned; past the station
        // tuned; "none" below the first, and the receiver stays put.
        EXPECT_EQ(r.out, "088.100 S\n089.300 M\n091.800 S\nnone\n" + std::string(c.status) + "\n");
    }
}

TEST(CliHardware, UnopenableRadioDeviceIsAHardwareError) {
    Result r = RunCli({"--virtual", "--model", "v4l2", "--device", "/dev/radio7", "tune", "98.7", "status"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "tunevox-cli: " + platform::RadioDeviceMessage("/dev/radio7", ENOENT) + "\n");
    EXPECT_NE(r.err.find("/dev/radio7: no such device"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST(CliHardware, UnopenableComPortIsAHardwareError) {
    Result r = RunCli({"--model", "wizard", "--com-device", "/nonexistent/tunevox-tty", "tune", "98.7"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot open COM2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("/nonexistent/tunevox-tty"), std::string::npos);
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("dialout"), std::string::npos) << "a missing device is no permission problem: " << r.err;

    r = RunCli({"--model", "radioman", "--com-device", "/dev/null", "tune", "98.7"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("not a serial port"), std::string::npos) << r.err;
}

TEST(CliHardware, MessagesNameTheSystemsCause) {
    EXPECT_EQ(radioset::PortRangeText(0x30C, 1), "0x30C");
    EXPECT_EQ(radioset::PortRangeText(0x350, 8), "0x350-0x357");

    platform::tPortAccessError none;
    none.ioperm = ENOSYS;
    none.devPort = ENOENT;
    std::string m = PortAccessMessage(0x30C, 1, none);
    EXPECT_NE(m.find("I/O port 0x30C:"), std::string::npos) << m;
    EXPECT_NE(m.find("no I/O port access"), std::string::npos) << m;
    EXPECT_NE(m.find("Function not implemented"), std::string::npos) << m;
    EXPECT_EQ(m.find("root"), std::string::npos) << "no permission would help: " << m;
    EXPECT_EQ(m.find("CAP_SYS_RAWIO"), std::string::npos) << m;

    platform::tPortAccessError denied;
    denied.ioperm = EPERM;
    denied.devPort = ENOENT;
    m = PortAccessMessage(0x350, 8, denied);
    EXPECT_NE(m.find("I/O ports 0x350-0x357"), std::string::npos) << m;
    EXPECT_NE(m.find("Operation not permitted"), std::string::npos) << m;
    EXPECT_NE(m.find("CAP_SYS_RAWIO"), std::string::npos) << m;

    EXPECT_NE(ComPortMessage(3, "/dev/ttyS2", EACCES).find("dialout"), std::string::npos);
    EXPECT_NE(ComPortMessage(3, "/dev/ttyS2", EBUSY).find("in use"), std::string::npos);
    EXPECT_EQ(ComPortMessage(3, "/dev/ttyS2", EBUSY).find("dialout"), std::string::npos);
    EXPECT_EQ(ComPortMessage(3, "/dev/ttyS2", ENOENT).find("dialout"), std::string::npos);
    EXPECT_NE(ComPortMessage(3, "/dev/ttyS2", ENOENT).find("cannot open COM3 (/dev/ttyS2)"), std::string::npos);
}

} // namespace
} // namespace tunevox::cli
