// The hardware trace is read by people diagnosing a card and by scripts
// comparing runs, so its line format is exact.

#include <gtest/gtest.h>

#include "support/test_devices.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/linux_port_io.h"
#include "platform/sleeper.h"
#include "platform/trace.h"

namespace tunevox::platform {
namespace {

struct MemoryTrace {
    MemoryTrace() : stream(open_memstream(&text, &size)), sink(std::make_unique<TraceSink>(stream)) {}
    ~MemoryTrace() {
        sink.reset();
        std::fclose(stream);
        std::free(text);
    }
    std::string Text() {
        sink->Flush();
        return std::string(text, size);
    }
    char* text = nullptr;
    size_t size = 0;
    std::FILE* stream;
    std::unique_ptr<TraceSink> sink;
};

class FixedPorts final : public IPortIO {
public:
    void PortWrite(uint16_t, uint8_t v) override { last = v; }
    uint8_t PortRead(uint16_t) override { return 0xFD; }
    uint8_t last = 0;
};

TEST(Trace, EveryOperationHasItsOneLineForm) {
    MemoryTrace t;
    FixedPorts ports;
    VirtualSleeper sleeper;
    TracingPortIO tracedPorts(ports, *t.sink);
    TracingSleeper tracedSleeper(sleeper, *t.sink);

    tracedPorts.PortWrite(0x30C, 0xD8);
    EXPECT_EQ(tracedPorts.PortRead(0x30C), 0xFD) << "the decorator passes the value through";
    tracedSleeper.Sleep(125);
    const uint8_t tx[] = {0x1D, 0x23, 0x05, 0x23, 0x34, 0x35, 0x34};
    t.sink->SerialTx(tx, sizeof tx);
    const uint8_t rx[] = {0x06, 0x1D, 0x23, 0x04, 0x23, 0x0A};
    t.sink->SerialRx(rx, sizeof rx);
    t.sink->SerialRx(rx, 0);
    t.sink->Open(1, "/dev/ttyS0");
    t.sink->Close(1);
    tracedPorts.PortWrite(0x20, 0x0A);

    EXPECT_EQ(t.Text(), "W 030C D8\n"
                        "R 030C FD\n"
                        "S 125\n"
                        "TX 1D 23 05 23 34 35 34\n"
                        "RX 06 1D 23 04 23 0A\n"
                        "RX\n"
                        "OPEN COM1 /dev/ttyS0\n"
                        "CLOSE COM1\n"
                        "W 0020 0A\n");
    EXPECT_EQ(ports.last, 0x0A);
    EXPECT_EQ(sleeper.TotalMs(), 125u);
}

TEST(Trace, EnvironmentSwitchesItOn) {
    unsetenv("TUNEVOX_TRACE");
    EXPECT_EQ(TraceSink::FromEnvironment(), nullptr);
    setenv("TUNEVOX_TRACE", "", 1);
    EXPECT_EQ(TraceSink::FromEnvironment(), nullptr);
    setenv("TUNEVOX_TRACE", "/nonexistent-dir/trace.txt", 1);
    EXPECT_EQ(TraceSink::FromEnvironment(), nullptr) << "an unwritable trace file must not stop the program";

    std::string path = testing::TempDir() + "tunevox_trace_env.txt";
    setenv("TUNEVOX_TRACE", path.c_str(), 1);
    {
        auto sink = TraceSink::FromEnvironment();
        ASSERT_NE(sink, nullptr);
        sink->Wait(2000);
    }
    unsetenv("TUNEVOX_TRACE");
    std::FILE* f = std::fopen(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char line[32] = {};
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    std::fclose(f);
    std::remove(path.c_str());
    EXPECT_STREQ(line, "S 2000\n");
}

// One Aztech status read is 81,920 port reads: repetition folds, and
// nothing is lost.
TEST(Trace, RunsOfIdenticalLinesAndRepeatedBlocksFold) {
    MemoryTrace t;
    FixedPorts ports;
    TracingPortIO traced(ports, *t.sink);
    for (int i = 0; i < 5; ++i) traced.PortRead(0x351);
    traced.PortWrite(0x30C, 0x00);
    for (int round = 0; round < 3; ++round)
        for (uint16_t p = 0x350; p < 0x358; ++p) traced.PortRead(p);
    traced.PortRead(0x350); // a repetition that does not complete
    traced.PortRead(0x351);
    t.sink->Wait(10);
    t.sink->Wait(20); // looks like the start of a block, is none
    t.sink->Wait(10);
    t.sink->Wait(30);
    EXPECT_EQ(t.Text(), "R 0351 FD x5\n"
                        "W 030C 00\n"
                        "R 0350 FD\nR 0351 FD\nR 0352 FD\nR 0353 FD\n"
                        "R 0354 FD\nR 0355 FD\nR 0356 FD\nR 0357 FD\n"
                        "REPEAT 8 x3\n"
                        "R 0350 FD\nR 0351 FD\n"
                        "S 10\nS 20\nS 10\nS 30\n");

    // A folded line is written when its run ends, or at Flush.
    MemoryTrace u;
    u.sink->Wait(1);
    u.sink->Wait(1);
    EXPECT_EQ(u.Text(), "S 1 x2\n");
    u.sink->Wait(1);
    EXPECT_EQ(u.Text(), "S 1 x2\nS 1\n") << "Flush cuts a run";
}

using tunevox::test::FakeDevPort;

// Only the acquired range is reached: writes elsewhere vanish and reads
// there see an empty bus. This is what keeps a card from reaching another
// device.
TEST(LinuxPorts, NothingReachesPortsOutsideTheAcquiredRange) {
    FakeDevPort dev('\x5A');
    LinuxPortIO ports(LinuxPortIO::Options{false, dev.path});
    EXPECT_FALSE(ports.HasAccess());
    ports.PortWrite(0x30C, 0xD8);
    EXPECT_EQ(ports.PortRead(0x30C), 0xFF);
    EXPECT_EQ(dev.At(0x30C), 0x5A) << "nothing is reached without access";

    ASSERT_TRUE(ports.Acquire(0x30C, 1)) << ports.Error();
    EXPECT_TRUE(ports.HasAccess());
    ports.PortWrite(0x30C, 0xD8);
    ports.PortWrite(0x30D, 0x11);
    ports.PortWrite(0x30B, 0x22);
    EXPECT_EQ(dev.At(0x30C), 0xD8);
    EXPECT_EQ(dev.At(0x30D), 0x5A);
    EXPECT_EQ(dev.At(0x30B), 0x5A);
    EXPECT_EQ(ports.PortRead(0x30C), 0xD8);
    EXPECT_EQ(ports.PortRead(0x30D), 0xFF) << "the file holds 5A there";

    ASSERT_TRUE(ports.Acquire(0x350, 8)) << "a new range replaces the old";
    ports.PortWrite(0x357, 0x33);
    ports.PortWrite(0x30C, 0x44);
    EXPECT_EQ(dev.At(0x357), 0x33);
    EXPECT_EQ(dev.At(0x30C), 0xD8);
    ports.Release();
    EXPECT_FALSE(ports.HasAccess());
    ports.PortWrite(0x350, 0x55);
    EXPECT_EQ(dev.At(0x350), 0x5A);
}

TEST(LinuxPorts, FailuresTellAMissingFacilityFromAMissingPermission) {
    LinuxPortIO none(LinuxPortIO::Options{false, "/nonexistent/tunevox-port"});
    tPortAccessError why;
    EXPECT_FALSE(none.Acquire(0x30C, 1, &why));
    EXPECT_FALSE(none.HasAccess());
    EXPECT_EQ(why.devPort, ENOENT);
    EXPECT_TRUE(why.Unsupported());
    EXPECT_FALSE(why.PermissionDenied());
    EXPECT_NE(why.Text().find("No such file or directory"), std::string::npos) << why.Text();
    EXPECT_EQ(none.Error(), why.Text());

    tPortAccessError denied{EPERM, ENOENT, false};
    EXPECT_TRUE(denied.PermissionDenied());
    EXPECT_FALSE(denied.Unsupported());
    EXPECT_EQ(denied.Text(), "ioperm: Operation not permitted; /dev/port: No such file or directory");
    tPortAccessError noIoperm{ENOSYS, EACCES, false};
    EXPECT_TRUE(noIoperm.PermissionDenied()) << "/dev/port exists; permission would help";

    EXPECT_FALSE(none.Acquire(0xFFFF, 2, &why));
    EXPECT_TRUE(why.invalidRange);
    EXPECT_FALSE(none.Acquire(0x30C, 0, &why));
    EXPECT_TRUE(why.invalidRange);
}

} // namespace
} // namespace tunevox::platform
