// The termios serial driver against pseudo-terminals: a bare one the test
// drives itself, or the emulated radio. The waits here are real but short
// and bounded; nothing depends on a fixed sleep.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "emulator/serial_radio_emulator.h"
#include "platform/com_port_map.h"
#include "platform/comm_port_driver.h"
#include "platform/serial_line_settings.h"
#include "platform/trace.h"
#include "support/test_devices.h"

namespace tunevox::platform {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

long MsSince(Clock::time_point t0) {
    return static_cast<long>(std::chrono::duration_cast<milliseconds>(Clock::now() - t0).count());
}

const std::string kStatusRequest = "\x1D\x23\x08\x23";
const std::string kTuned = "\x1D\x23\x04\x23";

size_t Write(TCommPortDriver& d, const std::string& bytes) {
    return d.WriteBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

using Pty = tunevox::test::TestPty;

// Captures what the driver traces.
struct Trace {
    Trace() : stream(open_memstream(&text, &size)), sink(std::make_unique<TraceSink>(stream)) {}
    ~Trace() {
        sink.reset();
        std::fclose(stream);
        std::free(text);
    }
    std::vector<std::string> Lines() {
        sink->Flush();
        std::vector<std::string> lines;
        std::istringstream in(std::string(text, size));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    char* text = nullptr;
    size_t size = 0;
    std::FILE* stream;
    std::unique_ptr<TraceSink> sink;
};

emulator::StationList OneStation() { return emulator::StationList({{emulator::Band::FM, 98.7, true, "One"}}); }

// --- line settings -------------------------------------------------------

TEST(CommPortSettings, DefaultsGiveARawLineAt9600EightNoneOne) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    TCommPortDriver d(map);
    ASSERT_TRUE(d.OpenPort());
    EXPECT_EQ(d.DevicePath(), pty.path);

    termios t = pty.Settings();
    EXPECT_EQ(cfgetospeed(&t), B9600);
    EXPECT_EQ(cfgetispeed(&t), B9600);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_cflag & CRTSCTS) << "no hardware flow control";
    EXPECT_TRUE(t.c_cflag & CLOCAL) << "the radios have no carrier detect";
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF)) << "no software flow control";
    EXPECT_FALSE(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
}

// Binary mode in practice: every byte value passes both ways unchanged
// (no CR/LF translation, no flow-control or signal characters eaten).
TEST(CommPortSettings, EveryByteValuePassesUnchanged) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    TCommPortDriver d(map);
    ASSERT_TRUE(d.OpenPort());
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);

    EXPECT_EQ(Write(d, all), all.size());
    EXPECT_EQ(pty.DeviceReceives(), all);

    pty.DeviceSends(all);
    EXPECT_EQ(d.ReadAll(), all);
}

TEST(CommPortSettings, EachSettingMapsToItsTermiosFlags) {
    struct Case {
        TComPortDataBits bits;
        TComPortParity parity;
        TComPortStopBits stop;
        tcflag_t size;
        tcflag_t parityFlags; // of PARENB | PARODD | CMSPAR
        bool twoStop;
    };
    const Case cases[] = {
        {db8BITS, ptNONE, sb1BITS, CS8, 0, false},
        {db7BITS, ptEVEN, sb2BITS, CS7, PARENB, true},
        {db5BITS, ptODD, sb1HALFBITS, CS5, PARENB | PARODD, true},
        {db6BITS, ptMARK, sb1BITS, CS6, PARENB | PARODD | CMSPAR, false},
        {db8BITS, ptSPACE, sb1BITS, CS8, PARENB | CMSPAR, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "data bits " << c.bits << ", parity " << c.parity << ", stop " << c.stop);
        ComPortMap map;
        TCommPortDriver d(map);
        d.ComPortDataBits = c.bits;
        d.ComPortParity = c.parity;
        d.ComPortStopBits = c.stop;
        // Start from a terminal with everything switched on, so that what
        // must be cleared is seen to be cleared.
        termios t{};
        t.c_iflag = ~tcflag_t{0};
        t.c_oflag = ~tcflag_t{0};
        t.c_lflag = ~tcflag_t{0};
        t.c_cflag = CS8 | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
        unsigned custom = 1;
        ASSERT_TRUE(detail::BuildLineSettings(d, t, custom));
        EXPECT_EQ(custom, 0u);
        EXPECT_EQ(t.c_cflag & CSIZE, c.size);
        EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.parityFlags);
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStop);
        EXPECT_FALSE(t.c_cflag & CRTSCTS);
        EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
        EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK | BRKINT | PARMRK));
        EXPECT_FALSE(t.c_oflag & OPOST);
        EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN));
        EXPECT_EQ(cfgetospeed(&t), B9600);
    }

    ComPortMap map;
    TCommPortDriver rates(map);
    const std::pair<TComPortBaudRate, speed_t> standard[] = {
        {br110, B110}, {br1200, B1200}, {br19200, B19200}, {br57600, B57600}, {br115200, B115200}};
    for (auto [rate, speed] : standard) {
        rates.ComPortSpeed = rate;
        termios t{};
        unsigned custom = 1;
        ASSERT_TRUE(detail::BuildLineSettings(rates, t, custom));
        EXPECT_EQ(cfgetospeed(&t), speed);
        EXPECT_EQ(custom, 0u);
    }
    for (auto [rate, value] : {std::pair{br14400, 14400u}, std::pair{br56000, 56000u}}) {
        rates.ComPortSpeed = rate;
        termios t{};
        unsigned custom = 0;
        ASSERT_TRUE(detail::BuildLineSettings(rates, t, custom));
        EXPECT_EQ(custom, value);
    }
    TCommPortDriver broken(map);
    termios t{};
    unsigned custom = 0;
    broken.ComPortParity = static_cast<TComPortParity>(7);
    EXPECT_FALSE(detail::BuildLineSettings(broken, t, custom));
}

// What a pseudo-terminal keeps of the settings does arrive there, the
// arbitrary rates included (a pseudo-terminal forces 8 bits, no parity).
TEST(CommPortSettings, OpenAppliesFlowControlStopBitsAndRate) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    TCommPortDriver flow(map);
    flow.ComPortHwHandshaking = hhRTSCTS;
    flow.ComPortSwHandshaking = shXONXOFF;
    flow.ComPortStopBits = sb2BITS;
    flow.ComPortParity = ptODD;
    flow.ComPortSpeed = br115200;
    ASSERT_TRUE(flow.OpenPort());
    termios t = pty.Settings();
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_cflag & PARODD);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
    EXPECT_EQ(cfgetospeed(&t), B115200);
    flow.ClosePort();

    constexpr speed_t kArbitraryRate = 0010000;
    TCommPortDriver odd(map);
    odd.ComPortSpeed = br14400;
    ASSERT_TRUE(odd.OpenPort());
    t = pty.Settings();
    EXPECT_EQ(cfgetospeed(&t), kArbitraryRate);
}

// A setting outside its range fails the open and leaves the device free,
// so a correct open right after it succeeds.
TEST(CommPortSettings, InvalidSettingFailsTheOpenAndReleasesTheDevice) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    TCommPortDriver bad(map);
    bad.ComPortSpeed = static_cast<TComPortBaudRate>(99);
    EXPECT_FALSE(bad.OpenPort());
    EXPECT_FALSE(bad.IsOpen());
    EXPECT_TRUE(ComPortFree(map, 1));
    TCommPortDriver good(map);
    EXPECT_TRUE(good.OpenPort());
}

// --- open, close, ownership ---------------------------------------------

TEST(CommPortOpen, ComPortChangeIsIgnoredWhileOpen) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(3, pty.path);
    TCommPortDriver d(map);
    d.SetComPort(pnCOM3);
    ASSERT_TRUE(d.OpenPort());
    d.SetComPort(pnCOM5);
    EXPECT_EQ(d.ComPort(), pnCOM3);
    EXPECT_TRUE(d.OpenPort()) << "opening an open port keeps it open";
    EXPECT_EQ(d.DevicePath(), pty.path);
    d.ClosePort();
    d.SetComPort(pnCOM5);
    EXPECT_EQ(d.ComPort(), pnCOM5);
    d.SetComPort(static_cast<TComPortNumber>(16));
    EXPECT_EQ(d.ComPort(), pnCOM5) << "no COM17";
}

TEST(CommPortOpen, PortIsExclusiveUntilClosed) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    map.SetDevicePath(2, pty.path); // the same device under another number
    EXPECT_TRUE(ComPortFree(map, 1));

    TCommPortDriver first(map);
    ASSERT_TRUE(first.OpenPort());
    TCommPortDriver second(map);
    EXPECT_FALSE(second.OpenPort());
    EXPECT_EQ(second.LastOpenError(), EBUSY) << "held by another: busy, not a permission problem";
    second.SetComPort(pnCOM2);
    EXPECT_FALSE(second.OpenPort());
    EXPECT_EQ(second.LastOpenError(), EBUSY);
    EXPECT_FALSE(ComPortFree(map, 1));
    EXPECT_FALSE(ComPortFree(map, 2));

    first.ClosePort();
    EXPECT_TRUE(ComPortFree(map, 1));
    EXPECT_TRUE(second.OpenPort());
    EXPECT_EQ(second.LastOpenError(), 0);
}

// The kernel's exclusive flag belongs to the terminal, not to the open
// file: left set, it would lock out every later non-root open of a
// pseudo-terminal whose other side stays open.
TEST(CommPortOpen, CloseReleasesTheTerminalsExclusiveFlag) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    TCommPortDriver d(map);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(d.OpenPort()) << "round " << round;
        int exclusive = 0;
        ASSERT_EQ(ioctl(pty.slave, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 1);
        d.ClosePort();
        ASSERT_EQ(ioctl(pty.slave, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 0);
    }
}

TEST(CommPortOpen, UnusableDevicesFailCleanly) {
    char file[] = "/tmp/tunevox-not-a-tty-XXXXXX";
    int fd = mkstemp(file);
    ASSERT_GE(fd, 0);
    close(fd);
    const std::pair<std::string, int> cases[] = {
        {"/nonexistent/tunevox-tty", ENOENT}, {file, ENOTTY}, {"/tmp", EISDIR}};
    for (const auto& [path, cause] : cases) {
        SCOPED_TRACE(path);
        ComPortMap map;
        map.SetDevicePath(4, path);
        Trace trace;
        TCommPortDriver d(map, trace.sink.get());
        d.SetComPort(pnCOM4);
        EXPECT_FALSE(d.OpenPort());
        EXPECT_FALSE(d.IsOpen());
        EXPECT_EQ(d.LastOpenError(), cause) << "the system's reason is kept for the message";
        EXPECT_FALSE(ComPortFree(map, 4));
        // Everything on a closed port is a quiet no-op.
        EXPECT_EQ(Write(d, kStatusRequest), 0u);
        uint8_t b = 0;
        auto t0 = Clock::now();
        EXPECT_FALSE(d.ReadByte(b));
        EXPECT_EQ(d.ReadAll(), "");
        EXPECT_LT(MsSince(t0), 100) << "a closed port does not wait";
        d.DiscardBuffers(true, true);
        d.SetDtrLine(true);
        d.SetRtsLine(false);
        d.ClosePort();
        EXPECT_TRUE(trace.Lines().empty());
    }
    unlink(file);
    ComPortMap map;
    EXPECT_FALSE(ComPortFree(map, 0));
    EXPECT_FALSE(ComPortFree(map, 17));
}

// --- replies ---------------------------------------------------------------

TEST(CommPortReply, SilentDeviceGivesAnEmptyReplyAfterTheInputTimeout) {
    emulator::SerialRadioEmulator::Options silent;
    silent.silent = true;
    emulator::SerialRadioEmulator radio(OneStation(), silent);
    ASSERT_TRUE(radio.Start()) << radio.Error();
    ComPortMap map;
    map.SetDevicePath(1, radio.DevicePath());
    TCommPortDriver d(map);
    ASSERT_TRUE(d.OpenPort());
    ASSERT_EQ(Write(d, kStatusRequest), 4u);
    auto t0 = Clock::now();
    EXPECT_EQ(d.ReadAll(), "");
    long ms = MsSince(t0);
    EXPECT_GE(ms, 195);
    EXPECT_LT(ms, 1500);
    EXPECT_TRUE(radio.WaitForCommands(1, milliseconds(3000))) << "the request did reach the radio";

    uint8_t b = 0;
    d.InputTimeout = 80;
    t0 = Clock::now();
    EXPECT_FALSE(d.ReadByte(b));
    EXPECT_GE(MsSince(t0), 75);
}

TEST(CommPortReply, NoisyTricklingReplyIsCollectedWhole) {
    emulator::SerialRadioEmulator::Options noisy;
    noisy.replyPrefix = {0x06};
    noisy.replySuffix = {0x0A};
    noisy.replyByteGapMs = 40; // well inside the 200 ms of silence
    emulator::SerialRadioEmulator radio(OneStation(), noisy);
    ASSERT_TRUE(radio.Start()) << radio.Error();
    ComPortMap map;
    map.SetDevicePath(2, radio.DevicePath());
    TCommPortDriver d(map);
    d.SetComPort(pnCOM2);
    ASSERT_TRUE(d.OpenPort());
    ASSERT_EQ(Write(d, std::string("\x1D\x23\x05\x23") + "454"), 7u);
    d.DiscardBuffers(true, false);
    ASSERT_TRUE(radio.WaitForCommands(1, milliseconds(3000)));

    ASSERT_EQ(Write(d, kStatusRequest), 4u);
    EXPECT_EQ(d.ReadAll(), "\x06" + kTuned + "\x0A");
}

// A reply ends at the first silence of InputTimeout; what comes later is
// the start of the next read, not lost.
TEST(CommPortReply, ReplyEndsAtTheFirstSilence) {
    emulator::SerialRadioEmulator::Options slow;
    slow.replyByteGapMs = 250;
    emulator::SerialRadioEmulator radio(OneStation(), slow);
    ASSERT_TRUE(radio.Start()) << radio.Error();
    ComPortMap map;
    map.SetDevicePath(1, radio.DevicePath());
    TCommPortDriver d(map);
    ASSERT_TRUE(d.OpenPort());
    ASSERT_EQ(Write(d, kStatusRequest), 4u);

    d.InputTimeout = 3000;
    uint8_t first = 0;
    ASSERT_TRUE(d.ReadByte(first));
    EXPECT_EQ(first, 0x1D);
    d.InputTimeout = 30;
    EXPECT_EQ(d.ReadAll(), "") << "the next byte is 250 ms away";
    d.InputTimeout = 600;
    EXPECT_EQ(d.ReadAll(), "\x23\x03\x23") << "the rest of the not-tuned answer";
}

TEST(CommPortReply, EndlessInputIsCutOffAndNothingIsLost) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    TCommPortDriver d(map);
    ASSERT_TRUE(d.OpenPort());

    // The input buffer size bounds one reply; the rest stays queued.
    d.ComPortInBufSize = 100;
    pty.DeviceSends(std::string(300, 'x'));
    ASSERT_TRUE(pty.Pending(300));
    EXPECT_EQ(d.ReadAll().size(), 100u);
    EXPECT_EQ(d.ReadAll().size(), 100u);
    EXPECT_EQ(d.ReadAll().size(), 100u);

    // A device that never falls silent does not hold the caller forever.
    d.ComPortInBufSize = 2048;
    d.InputTimeout = 50;
    std::atomic<bool> stop{false};
    std::thread babbler([&] {
        auto end = Clock::now() + std::chrono::seconds(5);
        while (!stop && Clock::now() < end) {
            (void)!write(pty.master, "b", 1);
            std::this_thread::sleep_for(milliseconds(10));
        }
    });
    auto t0 = Clock::now();
    std::string reply = d.ReadAll();
    long ms = MsSince(t0);
    stop = true;
    babbler.join();
    EXPECT_FALSE(reply.empty());
    EXPECT_LT(ms, 2000);
}

TEST(CommPortReply, DiscardDropsOnlyTheChosenDirection) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    TCommPortDriver d(map);
    d.InputTimeout = 50;
    ASSERT_TRUE(d.OpenPort());

    pty.DeviceSends("old");
    ASSERT_TRUE(pty.Pending(3));
    d.DiscardBuffers(false, true);
    EXPECT_EQ(d.ReadAll(), "old") << "discarding output keeps the input";

    pty.DeviceSends("stale");
    ASSERT_TRUE(pty.Pending(5));
    d.DiscardBuffers(true, false);
    EXPECT_EQ(d.ReadAll(), "");
}

// --- writing ---------------------------------------------------------------

TEST(CommPortWrite, LineThatNeverDrainsGivesUpAndCountsTruly) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    TCommPortDriver d(map);
    d.OutputTimeout = 100;
    ASSERT_TRUE(d.OpenPort());
    std::string lots(1 << 20, 'z'); // far more than the terminal queues hold
    auto t0 = Clock::now();
    size_t sent = Write(d, lots);
    EXPECT_LT(MsSince(t0), 3000);
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, lots.size());
    EXPECT_EQ(pty.DeviceReceives().size(), sent);
}

// Commands written just before the port is closed must still reach the
// device. A pseudo-terminal has no output queue: flushing "what is left"
// at close would empty the other side's unread input.
TEST(CommPortWrite, CommandsWrittenJustBeforeCloseReachTheDevice) {
    Pty pty;
    ASSERT_TRUE(pty.Ok());
    ComPortMap map;
    map.SetDevicePath(1, pty.path);
    TCommPortDriver d(map);
    const std::string burst = std::string("\x1D\x23\x05\x23") + "454" + "\x1D\x23\x02\x23" + "\x1D\x23\x01\x23";
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(d.OpenPort());
        ASSERT_EQ(Write(d, burst), burst.size());
        auto t0 = Clock::now();
        d.ClosePort();
        EXPECT_LT(MsSince(t0), 400) << "nothing is pending on a pseudo-terminal; closing does not wait";
        ASSERT_EQ(pty.DeviceReceives(50), burst) << "what the device received";
    }
}

TEST(CommPortWrite, RadioThatGoesAwayDoesNotHang) {
    auto radio = std::make_unique<emulator::SerialRadioEmulator>(OneStation());
    ASSERT_TRUE(radio->Start()) << radio->Error();
    ComPortMap map;
    map.SetDevicePath(1, radio->DevicePath());
    TCommPortDriver d(map);
    ASSERT_TRUE(d.OpenPort());
    radio.reset(); // the other end of the line is gone

    auto t0 = Clock::now();
    EXPECT_EQ(Write(d, kStatusRequest), 0u);
    EXPECT_EQ(d.ReadAll(), "");
    uint8_t b = 0;
    EXPECT_FALSE(d.ReadByte(b));
    d.ClosePort();
    EXPECT_LT(MsSince(t0), 1500);
}

TEST(CommPortWrite, ReopenedPortStillTalksToTheRadio) {
    emulator::SerialRadioEmulator radio(OneStation());
    ASSERT_TRUE(radio.Start()) << radio.Error();
    ComPortMap map;
    map.SetDevicePath(1, radio.DevicePath());
    TCommPortDriver d(map);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(d.OpenPort());
        ASSERT_EQ(Write(d, kStatusRequest), 4u);
        EXPECT_EQ(d.ReadAll(), "\x1D\x23\x03\x23");
        d.ClosePort();
    }
}

// --- trace -----------------------------------------------------------------

TEST(CommPortTrace, OneLinePerOperation) {
    emulator::SerialRadioEmulator radio(OneStation());
    ASSERT_TRUE(radio.Start()) << radio.Error();
    ComPortMap map;
    map.SetDevicePath(2, radio.DevicePath());
    Trace trace;
    TCommPortDriver d(map, trace.sink.get());
    d.SetComPort(pnCOM2);
    ASSERT_TRUE(d.OpenPort());
    ASSERT_EQ(Write(d, std::string("\x1D\x23\x05\x23") + "454"), 7u);
    ASSERT_TRUE(radio.WaitForCommands(1, milliseconds(3000)));
    ASSERT_EQ(Write(d, kStatusRequest), 4u);
    d.ReadAll();
    d.InputTimeout = 20;
    d.ReadAll(); // nothing more: an empty reply is traced too
    d.ClosePort();
    d.ClosePort(); // closing twice traces once
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{
                                 "OPEN COM2 " + radio.DevicePath(),
                                 "TX 1D 23 05 23 34 35 34",
                                 "TX 1D 23 08 23",
                                 "RX 1D 23 04 23",
                                 "RX",
                                 "CLOSE COM2",
                             }));
}

} // namespace
} // namespace tunevox::platform
