// The serial radios end to end: the card's commands go through the real
// termios driver into the emulated radio on a pseudo-terminal.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "emulator/serial_radio_emulator.h"
#include "platform/com_port_map.h"
#include "platform/sleeper.h"
#include "platform/trace.h"
#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "support/test_devices.h"

namespace tunevox::radio {
namespace {

// The emulator runs on its own thread; give it a bounded time to catch up.
bool Eventually(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
}

// A card on COM1 wired to an emulated radio, with the trace captured.
struct SerialRig {
    explicit SerialRig(tModel model, emulator::StationList stations = emulator::StationList::BuiltIn(),
                       emulator::SerialRadioEmulator::Options options = {})
        : radio(std::move(stations), options) {
        traceStream = open_memstream(&traceText, &traceSize);
        trace = std::make_unique<platform::TraceSink>(traceStream);
        started = radio.Start();
        comPorts.SetDevicePath(1, radio.DevicePath());
        TRadioCardEnvironment env;
        env.sleeper = &sleeper;
        env.comPorts = &comPorts;
        env.trace = trace.get();
        card = std::make_unique<TRadioCard>(env);
        card->SetModel(model);
        card->SetPort(1);
    }
    ~SerialRig() {
        card.reset();
        trace.reset();
        std::fclose(traceStream);
        std::free(traceText);
    }
    // The TX lines written since the last call.
    std::vector<std::string> Sent() {
        trace->Flush();
        std::vector<std::string> lines;
        std::istringstream in(std::string(traceText, traceSize).substr(consumed));
        consumed = traceSize;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("TX ", 0) == 0) lines.push_back(line);
        return lines;
    }

    emulator::SerialRadioEmulator radio;
    bool started = false;
    platform::VirtualSleeper sleeper;
    platform::ComPortMap comPorts;
    char* traceText = nullptr;
    size_t traceSize = 0;
    size_t consumed = 0;
    std::FILE* traceStream = nullptr;
    std::unique_ptr<platform::TraceSink> trace;
    std::unique_ptr<TRadioCard> card;
};

TEST(SerialTune, SendsTheChannelDigits) {
    SerialRig rig(mWizard);
    ASSERT_TRUE(rig.started) << rig.radio.Error();
    TRadioCard& c = *rig.card;
    c.Open();
    EXPECT_EQ(rig.sleeper.TotalMs(), 200u) << "the open settles before the lines are raised";
    EXPECT_TRUE(rig.Sent().empty()) << "opening sends no command";

    c.TuneTo(false, bFM, 98.7);
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 05 23 34 35 34"}));
    c.TuneTo(false, bFM, 100.0);
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 05 23 34 38 30"}));
    c.TuneTo(false, bFM, 87.0);
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 05 23 32 32 30"}));
    c.TuneTo(false, bFM, 108.0);
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 05 23 36 34 30"}));
    c.Close();
}

TEST(SerialTune, JapaneseBandAndAM) {
    SerialRig rig(mRadioMan);
    ASSERT_TRUE(rig.started) << rig.radio.Error();
    TRadioCard& c = *rig.card;
    c.SetJapaneseFM(true);
    c.Open();
    c.TuneTo(false, bFM, 76.0);
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 05 23 30 30 30"}));
    c.TuneTo(false, bFM, 91.0);
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 05 23 33 30 30"}));
    c.TuneTo(false, bAM, 0.531);
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 09 23 30 30 30"}));
    c.TuneTo(false, bAM, 1.62);
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 09 23 31 32 31"}));
    c.Close();
}

// Every channel of both FM bands and of AM must reach the radio as the
// frequency the card reports; a channel truncated one below would not.
TEST(SerialEmulated, EveryChannelRoundTrips) {
    SerialRig rig(mRajikoma);
    ASSERT_TRUE(rig.started) << rig.radio.Error();
    TRadioCard& c = *rig.card;
    c.Open();
    // The first channel that does not arrive ends the test: an ASSERT inside
    // a lambda would only leave the lambda, and 800 channels would each wait
    // the full three seconds.
    auto check = [&](tBand band, double f, double max, double min) -> testing::AssertionResult {
        c.TuneTo(false, band, f);
        std::string want = FrequencyText(max, min, c.Frequency());
        if (Eventually([&] { return FrequencyText(max, min, rig.radio.State().frequencyMHz) == want; }))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "requested " << f << ", card " << want << ", radio "
                                           << FrequencyText(max, min, rig.radio.State().frequencyMHz);
    };
    for (int k = 0; k <= 420; ++k) ASSERT_TRUE(check(bFM, 87.0 + k * 0.05, 108.0, 87.0));
    c.SetJapaneseFM(true);
    for (int k = 0; k <= 300; ++k) ASSERT_TRUE(check(bFM, 76.0 + k * 0.05, 91.0, 76.0));
    for (int k = 0; k <= 121; ++k) ASSERT_TRUE(check(bAM, 0.531 + k * 0.009, 1.62, 0.531));
    EXPECT_EQ(rig.radio.State().band, emulator::Band::AM);
    c.Close();
}

TEST(SerialEmulated, AudioFollowsMuteAndUnmuteOnly) {
    SerialRig rig(mRadionMaru);
    ASSERT_TRUE(rig.started) << rig.radio.Error();
    TRadioCard& c = *rig.card;
    c.SetMutedStartup(true);
    c.Open();
    EXPECT_TRUE(c.Muted());
    EXPECT_TRUE(c.StartMuted());
    EXPECT_TRUE(rig.Sent().empty()) << "opening muted sends nothing either";
    c.MuteOff();
    EXPECT_FALSE(c.StartMuted()) << "unmuting ends the muted start";
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 01 23"}));
    EXPECT_FALSE(c.Muted());
    c.MuteOn();
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 02 23"}));
    EXPECT_TRUE(Eventually([&] { return !rig.radio.State().audioOn; }));
    c.ApplyVolume(200);
    c.VolumeUp();
    c.VolumeToZero();
    EXPECT_TRUE(rig.Sent().empty()) << "no volume on these radios";
    c.MuteOff();
    EXPECT_EQ(rig.Sent(), (std::vector<std::string>{"TX 1D 23 01 23"}));
    EXPECT_TRUE(Eventually([&] { return rig.radio.State().audioOn; }));
    EXPECT_FALSE(c.Muted());
    c.Close();
}

// What the radio received, not what the driver wrote: the last commands
// before Close must arrive (on a pseudo-terminal they used to be lost).
TEST(SerialEmulated, CommandsSentJustBeforeCloseReachTheRadio) {
    SerialRig rig(mWizard);
    ASSERT_TRUE(rig.started) << rig.radio.Error();
    TRadioCard& c = *rig.card;
    const double frequencies[] = {98.7, 100.0, 87.5, 104.3, 91.8, 107.2, 88.1, 95.0};
    size_t expected = 0;
    for (double f : frequencies) {
        SCOPED_TRACE(f);
        c.Open();
        c.TuneTo(false, bFM, f);
        c.MuteOn();
        c.MuteOff();
        c.Close();
        expected += 3;
        ASSERT_TRUE(rig.radio.WaitForCommands(expected, std::chrono::seconds(2)))
            << "the radio decoded " << rig.radio.CommandsDecoded() << " of " << expected << " commands";
        EXPECT_EQ(FrequencyText(108, 87, rig.radio.State().frequencyMHz), FrequencyText(108, 87, f));
        EXPECT_TRUE(rig.radio.State().audioOn);
    }
}

// A pseudo-terminal the test plays the radio on, byte by byte.
struct RawRadio : tunevox::test::TestPty {
    void Sends(const std::string& bytes) const {
        DeviceSends(bytes);
        // Until the bytes wait on the program's side of the line.
        ASSERT_TRUE(Pending(static_cast<int>(bytes.size())));
    }
    std::string Receives() const { return DeviceReceives(50); }
};

// Every command but the status request discards what came in before it
// ended, so a stale answer is never taken for a later reply; the status
// request discards nothing first, so an answer already on its way counts.
TEST(SerialStatus, CommandsDropEarlierInputTheStatusRequestDoesNot) {
    const std::string tuned = "\x1D\x23\x04\x23";
    RawRadio radio;
    ASSERT_FALSE(radio.path.empty());
    platform::VirtualSleeper sleeper;
    platform::ComPortMap comPorts;
    comPorts.SetDevicePath(1, radio.path);
    TRadioCardEnvironment env;
    env.sleeper = &sleeper;
    env.comPorts = &comPorts;
    TRadioCard c(env);
    c.SetModel(mWizard);
    c.SetPort(1);
    c.Open();

    const std::function<void()> commands[] = {
        [&] { c.TuneTo(false, bFM, 98.7); },
        [&] { c.TuneTo(false, bFM, 100.0); },
        [&] { c.MuteOn(); },
        [&] { c.MuteOff(); },
    };
    for (const auto& command : commands) {
        radio.Sends(tuned); // noise that looks like an answer
        command();
        EXPECT_EQ(c.TunedStatus(0), 0) << "the radio did not answer; the stale bytes were dropped";
        std::string got = radio.Receives();
        EXPECT_EQ(got.substr(got.size() - 4), "\x1D\x23\x08\x23") << "the command, then the status request";
    }

    radio.Sends(tuned); // the answer arrives before the request is out
    EXPECT_EQ(c.TunedStatus(0), 1);
    EXPECT_EQ(radio.Receives(), "\x1D\x23\x08\x23");
    c.Close();
}

TEST(SerialStatus, TunedOnlyNearAStation) {
    SerialRig rig(mWizard, emulator::StationList({{emulator::Band::FM, 98.7, true, "One"}}));
    ASSERT_TRUE(rig.started) << rig.radio.Error();
    TRadioCard& c = *rig.card;
    c.Open();
    c.TuneTo(false, bFM, 98.7);
    EXPECT_EQ(c.TunedStatus(0), 1);
    c.TuneTo(false, bFM, 104.0);
    EXPECT_EQ(c.TunedStatus(0), 0);
    c.Close();
}

TEST(SerialStatus, NoiseAroundTheAnswerStillCountsAsTuned) {
    emulator::SerialRadioEmulator::Options noisy;
    noisy.replyPrefix = {0x06};
    noisy.replySuffix = {0x0A};
    SerialRig rig(mWizard, emulator::StationList({{emulator::Band::FM, 98.7, false, "One"}}), noisy);
    ASSERT_TRUE(rig.started) << rig.radio.Error();
    rig.card->Open();
    rig.card->TuneTo(false, bFM, 98.7);
    rig.Sent();
    EXPECT_EQ(rig.card->TunedStatus(0), 1);
    rig.trace->Flush();
    EXPECT_NE(std::string(rig.traceText, rig.traceSize).find("RX 06 1D 23 04 23 0A"), std::string::npos);
    rig.card->Close();
}

TEST(SerialStatus, SilentRadioReportsNotTuned) {
    emulator::SerialRadioEmulator::Options silent;
    silent.silent = true;
    SerialRig rig(mWizard, emulator::StationList::BuiltIn(), silent);
    ASSERT_TRUE(rig.started) << rig.radio.Error();
    rig.card->Open();
    rig.card->TuneTo(false, bFM, 98.7);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(rig.card->TunedStatus(0), 0);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GE(ms, 190);
    EXPECT_LT(ms, 2000) << "the wait for an answer is bounded";
    rig.card->Close();
}

TEST(SerialOpen, UnopenablePortRaisesWithTheCardActive) {
    platform::VirtualSleeper sleeper;
    platform::ComPortMap comPorts;
    comPorts.SetDevicePath(3, "/nonexistent/tty-for-tunevox-tests");
    TRadioCardEnvironment env;
    env.sleeper = &sleeper;
    env.comPorts = &comPorts;
    TRadioCard c(env);
    c.SetModel(mRadioMan);
    c.SetPort(3);
    EXPECT_THROW(c.Open(), ePortAlreayOpen);
    EXPECT_TRUE(c.Active());
    c.TuneTo(false, bFM, 98.7); // writes to a closed port are dropped, not fatal
    EXPECT_EQ(c.TunedStatus(0), 0);
    c.Close();
    EXPECT_FALSE(c.Active());
}

TEST(SerialOpen, SecondCardOnTheSamePortIsRefused) {
    SerialRig rig(mWizard);
    ASSERT_TRUE(rig.started) << rig.radio.Error();
    rig.card->Open();
    TRadioCardEnvironment env;
    env.sleeper = &rig.sleeper;
    env.comPorts = &rig.comPorts;
    TRadioCard other(env);
    other.SetModel(mWizard);
    other.SetPort(1);
    EXPECT_THROW(other.Open(), ePortAlreayOpen);
    rig.card->Close();
}

} // namespace
} // namespace tunevox::radio
