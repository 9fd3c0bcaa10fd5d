// The hardware trace is read by people diagnosing a card and by scripts
// comparing runs, so its line format is exact.

#include <gtest/gtest.h>

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
        std::fflush(stream);
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

// Without acquired access no port is touched: writes vanish and reads see
// an empty bus. This is what keeps a wrong port index from reaching another
// device.
TEST(LinuxPorts, NothingReachesPortsOutsideTheAcquiredRange) {
    LinuxPortIO ports;
    EXPECT_FALSE(ports.HasAccess());
    ports.PortWrite(0x30C, 0xD8);
    EXPECT_EQ(ports.PortRead(0x30C), 0xFF);
}

} // namespace
} // namespace tunevox::platform
