// The emulated serial radio, spoken to with plain POSIX writes of bytes
// written out here by hand, never through the card's protocol code.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "emulator/serial_radio_emulator.h"

namespace tunevox::emulator {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const std::string kStatus = "\x1D\x23\x08\x23";
const std::string kAudioOn = "\x1D\x23\x01\x23";
const std::string kAudioOff = "\x1D\x23\x02\x23";
const std::string kFM = "\x1D\x23\x05\x23";
const std::string kAM = "\x1D\x23\x09\x23";
const std::string kTuned = "\x1D\x23\x04\x23";
const std::string kNotTuned = "\x1D\x23\x03\x23";

StationList TestStations() {
    return StationList({
        {Band::FM, 98.7, true, "Radio One"},
        {Band::FM, 80.0, false, "Tokyo Eighty"},
        {Band::AM, 0.531, false, "Longwave Talk"},
    });
}

// The program's end of the line: the terminal the emulator serves.
class Line {
public:
    explicit Line(const std::string& path) { fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK); }
    ~Line() { Close(); }
    bool Ok() const { return fd_ >= 0; }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    void Send(const std::string& bytes) {
        ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Collects until `expected` bytes are in (then a short look for extra
    // ones) or the bounded wait runs out.
    std::string Receive(size_t expected, int quietMs = 50) {
        std::string got;
        auto deadline = Clock::now() + std::chrono::seconds(3);
        char buf[256];
        while (Clock::now() < deadline) {
            int wait = got.size() >= expected ? quietMs : 20;
            pollfd p{fd_, POLLIN, 0};
            int r = poll(&p, 1, wait);
            if (r > 0) {
                ssize_t n = read(fd_, buf, sizeof buf);
                if (n > 0) got.append(buf, static_cast<size_t>(n));
                continue;
            }
            if (got.size() >= expected) break;
        }
        return got;
    }

private:
    int fd_ = -1;
};

// A started radio and a line to it; Do() sends bytes and waits until the
// radio has decoded the expected number of commands in all.
struct Rig {
    explicit Rig(SerialRadioEmulator::Options options = {}) : radio(TestStations(), std::move(options)) {
        started = radio.Start();
        if (started) line = std::make_unique<Line>(radio.DevicePath());
    }
    bool Ready() const { return started && line && line->Ok(); }
    bool Do(const std::string& bytes) {
        size_t before = radio.CommandsDecoded();
        line->Send(bytes);
        return radio.WaitForCommands(before + 1, milliseconds(3000));
    }
    std::string Status(size_t expected = 4) {
        line->Send(kStatus);
        return line->Receive(expected);
    }

    SerialRadioEmulator radio;
    bool started = false;
    std::unique_ptr<Line> line;
};

// --- tuning ----------------------------------------------------------------

TEST(SerialRadioTune, ChannelDigitsGiveTheFrequency) {
    Rig rig;
    ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
    EXPECT_EQ(rig.radio.State().frequencyMHz, 0.0) << "untuned until the first command";

    const struct {
        std::string command;
        Band band;
        double mhz;
    } cases[] = {
        {kFM + "454", Band::FM, 98.7},  {kFM + "480", Band::FM, 100.0}, {kFM + "220", Band::FM, 87.0},
        {kFM + "640", Band::FM, 108.0}, {kFM + "000", Band::FM, 76.0},  {kFM + "300", Band::FM, 91.0},
        {kAM + "000", Band::AM, 0.531}, {kAM + "121", Band::AM, 1.62},  {kAM + "042", Band::AM, 0.909},
        {kFM + "005", Band::FM, 76.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.substr(4));
        ASSERT_TRUE(rig.Do(c.command));
        ReceiverState s = rig.radio.State();
        EXPECT_EQ(s.band, c.band);
        EXPECT_NEAR(s.frequencyMHz, c.mhz, 1e-9);
    }
}

TEST(SerialRadioTune, ChannelsOffTheDialAreIgnored) {
    Rig rig;
    ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
    ASSERT_TRUE(rig.Do(kFM + "454"));
    // Each rejected command is followed by one the radio does take.
    for (const std::string& bad : {kFM + "641", kFM + "999", kAM + "122"}) {
        rig.line->Send(bad);
        ASSERT_TRUE(rig.Do(kAudioOn));
        EXPECT_NEAR(rig.radio.State().frequencyMHz, 98.7, 1e-9) << bad.substr(4);
        EXPECT_EQ(rig.radio.State().band, Band::FM);
    }
}

TEST(SerialRadioTune, FMOnlyRadioIgnoresTheAMCommand) {
    SerialRadioEmulator::Options fmOnly;
    fmOnly.hasAM = false;
    Rig rig(fmOnly);
    ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
    ASSERT_TRUE(rig.Do(kFM + "454"));
    rig.line->Send(kAM + "000");
    ASSERT_TRUE(rig.Do(kAudioOn));
    ReceiverState s = rig.radio.State();
    EXPECT_EQ(s.band, Band::FM);
    EXPECT_NEAR(s.frequencyMHz, 98.7, 1e-9);
    EXPECT_EQ(rig.Status(), kTuned) << "still on the FM station";
}

// --- framing -----------------------------------------------------------------

TEST(SerialRadioFraming, SplitNoisyAndBrokenInput) {
    Rig rig;
    ASSERT_TRUE(rig.Ready()) << rig.radio.Error();

    // One byte at a time, with pauses shorter than the command timeout.
    size_t before = rig.radio.CommandsDecoded();
    for (char b : kFM + "480") {
        rig.line->Send(std::string(1, b));
        std::this_thread::sleep_for(milliseconds(5));
    }
    ASSERT_TRUE(rig.radio.WaitForCommands(before + 1, milliseconds(3000)));
    EXPECT_NEAR(rig.radio.State().frequencyMHz, 100.0, 1e-9);

    // Noise between frames, and a lead byte that starts no frame.
    ASSERT_TRUE(rig.Do(std::string("\x00\xFF\x0A\x1D\x1D", 5) + "\x23\x01\x23"));
    EXPECT_TRUE(rig.radio.State().audioOn);

    // A tuning command broken off by a new frame is dropped; the new frame
    // counts.
    ASSERT_TRUE(rig.Do(kFM + "45" + kAudioOff));
    EXPECT_FALSE(rig.radio.State().audioOn);
    EXPECT_NEAR(rig.radio.State().frequencyMHz, 100.0, 1e-9);

    // An unknown code is ignored.
    rig.line->Send("\x1D\x23\x07\x23");
    ASSERT_TRUE(rig.Do(kAudioOn));
    EXPECT_EQ(rig.radio.CommandsDecoded(), before + 4);
}

// Digits that arrive long after their command belong to nothing: a radio
// that waited forever would take the first digits of anything later.
TEST(SerialRadioFraming, StalledCommandIsAbandoned) {
    SerialRadioEmulator::Options quick;
    quick.commandTimeoutMs = 40;
    Rig rig(quick);
    ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
    rig.line->Send(kFM + "45");
    std::this_thread::sleep_for(milliseconds(150));
    ASSERT_TRUE(rig.Do("4" + kAudioOn));
    EXPECT_EQ(rig.radio.State().frequencyMHz, 0.0);
    EXPECT_TRUE(rig.radio.State().audioOn);
}

// --- status and audio ----------------------------------------------------------

TEST(SerialRadioStatus, AnswersTunedOnlyOnAStation) {
    Rig rig;
    ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
    EXPECT_EQ(rig.Status(), kNotTuned) << "before any tuning";
    ASSERT_TRUE(rig.Do(kFM + "454"));
    EXPECT_EQ(rig.Status(), kTuned);
    ASSERT_TRUE(rig.Do(kFM + "470")); // 99.5: nothing there
    EXPECT_EQ(rig.Status(), kNotTuned);
    ASSERT_TRUE(rig.Do(kFM + "080")); // 80.0, in the Japanese band
    EXPECT_EQ(rig.Status(), kTuned);
    ASSERT_TRUE(rig.Do(kAM + "000")); // 531 kHz
    EXPECT_EQ(rig.Status(), kTuned);
    ASSERT_TRUE(rig.Do(kAM + "001")); // 540 kHz
    EXPECT_EQ(rig.Status(), kNotTuned);
    EXPECT_EQ(rig.radio.StatusRequests(), 6u);
}

TEST(SerialRadioStatus, AudioOnAndOff) {
    Rig rig;
    ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
    EXPECT_FALSE(rig.radio.State().audioOn);
    ASSERT_TRUE(rig.Do(kAudioOn));
    EXPECT_TRUE(rig.radio.State().audioOn);
    ASSERT_TRUE(rig.Do(kFM + "454"));
    EXPECT_TRUE(rig.radio.State().audioOn) << "tuning keeps the audio state";
    ASSERT_TRUE(rig.Do(kAudioOff));
    EXPECT_FALSE(rig.radio.State().audioOn);

    SerialRadioEmulator::Options playing;
    playing.startAudioOn = true;
    SerialRadioEmulator on(TestStations(), playing);
    EXPECT_TRUE(on.State().audioOn);
}

TEST(SerialRadioStatus, ReplyVariants) {
    {
        SerialRadioEmulator::Options noisy;
        noisy.replyPrefix = {0x06};
        noisy.replySuffix = {0x0A};
        Rig rig(noisy);
        ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
        ASSERT_TRUE(rig.Do(kFM + "454"));
        EXPECT_EQ(rig.Status(6), "\x06" + kTuned + "\x0A");
    }
    {
        SerialRadioEmulator::Options garbage;
        garbage.garbage = true;
        Rig rig(garbage);
        ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
        ASSERT_TRUE(rig.Do(kFM + "454"));
        std::string reply = rig.Status(1);
        EXPECT_FALSE(reply.empty());
        EXPECT_EQ(reply.find(kTuned), std::string::npos);
    }
    {
        SerialRadioEmulator::Options silent;
        silent.silent = true;
        Rig rig(silent);
        ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
        ASSERT_TRUE(rig.Do(kFM + "454"));
        ASSERT_TRUE(rig.Do(kStatus));
        EXPECT_EQ(rig.line->Receive(0, 150), "");
        EXPECT_EQ(rig.radio.StatusRequests(), 1u) << "heard, not answered";
    }
}

// --- lifecycle -------------------------------------------------------------------

TEST(SerialRadioLifecycle, ProgramSideMayCloseAndReopen) {
    Rig rig;
    ASSERT_TRUE(rig.Ready()) << rig.radio.Error();
    ASSERT_TRUE(rig.Do(kFM + "454"));
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        rig.line->Close();
        rig.radio.State(); // the radio keeps going with nobody on the line
        rig.line = std::make_unique<Line>(rig.radio.DevicePath());
        ASSERT_TRUE(rig.line->Ok());
        EXPECT_EQ(rig.Status(), kTuned);
    }
    // An answer nobody reads is still queued for the next reader.
    rig.line->Send(kStatus);
    rig.line->Close();
    rig.line = std::make_unique<Line>(rig.radio.DevicePath());
    EXPECT_EQ(rig.line->Receive(4), kTuned);
}

TEST(SerialRadioLifecycle, StartAndStop) {
    SerialRadioEmulator idle(TestStations());
    EXPECT_TRUE(idle.DevicePath().empty());
    idle.Stop(); // never started: nothing to do

    // Built from a temporary list: the radio keeps its own copy.
    SerialRadioEmulator::Options slow;
    slow.replyDelayMs = 10000;
    SerialRadioEmulator radio(StationList({{Band::FM, 98.7, false, "One"}}), slow);
    ASSERT_TRUE(radio.Start()) << radio.Error();
    std::string path = radio.DevicePath();
    EXPECT_EQ(path.rfind("/dev/", 0), 0u);
    EXPECT_TRUE(radio.Start());
    EXPECT_EQ(radio.DevicePath(), path) << "a second Start keeps the running terminal";

    // Stopping in the middle of a slow answer is prompt.
    Line line(path);
    ASSERT_TRUE(line.Ok());
    line.Send(kFM + "454" + kStatus);
    std::this_thread::sleep_for(milliseconds(50));
    auto t0 = Clock::now();
    radio.Stop();
    EXPECT_LT(std::chrono::duration_cast<milliseconds>(Clock::now() - t0).count(), 2000);
    EXPECT_TRUE(radio.DevicePath().empty());
    radio.Stop();

    // A stopped radio can be started again on a new terminal.
    ASSERT_TRUE(radio.Start()) << radio.Error();
    EXPECT_FALSE(radio.DevicePath().empty());
}

} // namespace
} // namespace tunevox::emulator
