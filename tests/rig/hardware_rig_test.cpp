// The hardware rig as both front ends use it: one card object on emulated
// hardware that follows model and port changes, and on real hardware the
// card obtaining port access itself.

#include <gtest/gtest.h>

#include "support/test_devices.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "emulator/port_bus.h"
#include "emulator/serial_radio_emulator.h"
#include "platform/com_port_map.h"
#include "platform/event_queue.h"
#include "platform/trace.h"
#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "rig/hardware_rig.h"

namespace tunevox::rig {
namespace {

using radio::TRadioCard;

tRigOptions Emulated(tWaits waits = tWaits::kVirtual) {
    tRigOptions o;
    o.emulated = true;
    o.waits = waits;
    return o;
}

std::string Text(double mhz) { return radio::FrequencyText(108.0, 0.0, mhz); }

// A settings dialog switching models on emulated hardware: close, change
// Model and Port, reopen. Every model on every port it has is heard.
TEST(HardwareRig, EmulatedHardwareFollowsEveryModelAndPort) {
    THardwareRig rig(Emulated());
    TRadioCard card(rig.Environment());
    const struct {
        radio::tModel model;
        int port;
        uint8_t status;
    } cases[] = {
        {radio::mRadioTrack, 1, radio::kTunedStereo}, {radio::mRadioTrack, 2, radio::kTunedStereo},
        {radio::mRA300, 1, radio::kTunedStereo},      {radio::mZoltrix, 1, radio::kTuned},
        {radio::mZoltrix, 2, radio::kTuned},          {radio::mAztech, 1, radio::kTunedStereo},
        {radio::mAztech, 2, radio::kTunedStereo},     {radio::mWizard, 1, radio::kTuned},
        {radio::mRadioMan, 3, radio::kTuned},         {radio::mRadionMaru, 3, radio::kTuned},
        {radio::mRajikoma, 8, radio::kTuned},         {radio::mRadioTrack, 1, radio::kTunedStereo},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::to_string(k.model) + " port " + std::to_string(k.port));
        card.Close();
        card.SetModel(k.model);
        card.SetPort(k.port);
        card.SetVolumeLine(radio::vlNative);
        ASSERT_NO_THROW(card.Open());
        card.TuneTo(card.Stereo(), radio::bFM, 98.7);
        EXPECT_EQ(card.TunedStatus(0), k.status);
        auto heard = rig.EmulatedReceiver();
        ASSERT_TRUE(heard.has_value());
        EXPECT_EQ(Text(heard->frequencyMHz), "098.700");
        card.TuneTo(card.Stereo(), radio::bFM, 99.4);
        EXPECT_EQ(card.TunedStatus(0), radio::kNotTuned);
        if (card.Caps().PortKind == radio::kIOPort) {
            auto* device = rig.EmulatedBus()->DeviceAt(card.Caps().PortValue);
            EXPECT_NE(device, nullptr);
            EXPECT_EQ(rig.EmulatedBus()->DeviceAt(card.Caps().PortValue + card.Caps().PortSpan - 1), device);
            EXPECT_EQ(rig.EmulatedBus()->DeviceAt(card.Caps().PortValue + card.Caps().PortSpan), nullptr);
        } else {
            auto served = rig.EmulatedComPorts();
            ASSERT_EQ(served.count(k.port), 1u);
            EXPECT_EQ(rig.ComPorts().DevicePath(k.port), served[k.port]);
            EXPECT_EQ(card.SerialDevicePath(), served[k.port]);
        }
    }
    EXPECT_EQ(rig.EmulatedComPorts().size(), 3u) << "COM1, COM3 and COM8 were served";
}

TEST(HardwareRig, AReceiverStaysTunedWhileTheSameModelIsReopened) {
    THardwareRig rig(Emulated());
    TRadioCard card(rig.Environment());
    card.SetModel(radio::mAztech);
    card.SetPort(1);
    card.Open();
    card.TuneTo(true, radio::bFM, 101.9);
    card.Close();
    card.Open(); // the card sends no frequency when it opens
    EXPECT_EQ(Text(rig.EmulatedReceiver()->frequencyMHz), "101.900");
    EXPECT_EQ(card.TunedStatus(0), radio::kTunedStereo);

    // A serial radio too, and commands sent just before Close arrive.
    card.Close();
    card.SetModel(radio::mWizard);
    card.SetPort(2);
    card.Open();
    card.TuneTo(false, radio::bFM, 93.2);
    card.MuteOff();
    card.Close();
    auto* radio = rig.EmulatedSerialRadio(2);
    ASSERT_NE(radio, nullptr);
    ASSERT_TRUE(radio->WaitForCommands(2, std::chrono::seconds(2)));
    card.Open();
    EXPECT_EQ(Text(radio->State().frequencyMHz), "093.200");
    EXPECT_TRUE(radio->State().audioOn);
    EXPECT_EQ(card.TunedStatus(0), radio::kTuned);
}

TEST(HardwareRig, TheStationListCanBeReplaced) {
    tRigOptions o = Emulated();
    o.stations = emulator::StationList({{emulator::Band::FM, 90.0, true, "Ninety"}});
    THardwareRig rig(std::move(o));
    EXPECT_EQ(rig.Stations().Stations().size(), 1u);
    TRadioCard card(rig.Environment());
    card.SetModel(radio::mRadioTrack);
    card.SetPort(1);
    card.Open();
    card.TuneTo(false, radio::bFM, 90.0);
    EXPECT_EQ(card.TunedStatus(0), radio::kTunedStereo);
    card.TuneTo(false, radio::bFM, 98.7);
    EXPECT_EQ(card.TunedStatus(0), radio::kNotTuned);

    rig.SetStations(emulator::StationList::BuiltIn());
    card.Close();
    card.Open();
    card.TuneTo(false, radio::bFM, 98.7);
    EXPECT_EQ(card.TunedStatus(0), radio::kTunedStereo) << "the receiver was placed again with the new list";
}

// The caller chooses the waits on emulated hardware.
TEST(HardwareRig, WaitsAreTheCallersChoice) {
    using Clock = std::chrono::steady_clock;
    {
        THardwareRig rig(Emulated(tWaits::kVirtual));
        ASSERT_NE(rig.VirtualWaits(), nullptr);
        TRadioCard card(rig.Environment());
        card.SetModel(radio::mRadioTrack);
        card.SetPort(1);
        card.SetVolumeLine(radio::vlNative);
        card.Open();
        auto t0 = Clock::now();
        card.StoreVolume(256);
        card.VolumeToZero();
        EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(500));
        EXPECT_EQ(rig.VirtualWaits()->TotalMs(), 2000u);
        EXPECT_EQ(rig.EmulatedReceiver()->volumeLevel, 0);
    }
    {
        THardwareRig rig(Emulated(tWaits::kReal));
        EXPECT_EQ(rig.VirtualWaits(), nullptr);
        auto t0 = Clock::now();
        rig.Sleeper().Sleep(30);
        EXPECT_GE(Clock::now() - t0, std::chrono::milliseconds(30)) << "the receivers' real waits";
        TRadioCard card(rig.Environment());
        card.SetModel(radio::mRadioTrack);
        card.SetPort(1);
        card.Open();
        card.MuteOff();
        card.VolumeUp(); // the key is held 125 ms for real, measured on the real clock
        EXPECT_EQ(rig.EmulatedReceiver()->volumeLevel, 1);
    }
    {
        platform::VirtualSleeper mine;
        tRigOptions o = Emulated();
        o.sleeper = &mine;
        o.clock = &mine;
        THardwareRig rig(std::move(o));
        EXPECT_EQ(&rig.Sleeper(), &mine);
        EXPECT_EQ(rig.VirtualWaits(), nullptr);
        TRadioCard card(rig.Environment());
        card.SetModel(radio::mWizard);
        card.SetPort(1);
        card.Open();
        EXPECT_EQ(mine.TotalMs(), 200u) << "the serial radio's settling wait";
        tRigOptions half = Emulated();
        half.sleeper = &mine;
        EXPECT_THROW(THardwareRig{std::move(half)}, eRigError);
    }
}

// What a window needs: the sound card, its own event poster, the trace.
TEST(HardwareRig, SoundEventsAndTraceAreWired) {
    struct CountingPoster final : platform::IEventPoster {
        void Post(std::function<void()> task) override { queue.Post(std::move(task)); ++posted; }
        platform::ManualEventQueue queue;
        int posted = 0;
    } window;
    char* text = nullptr;
    size_t size = 0;
    std::FILE* stream = open_memstream(&text, &size);
    auto sink = std::make_unique<platform::TraceSink>(stream);
    {
        tRigOptions o = Emulated();
        o.events = &window;
        o.trace = sink.get();
        THardwareRig rig(std::move(o));
        EXPECT_EQ(&rig.Events(), &window);
        EXPECT_EQ(rig.OwnEvents(), nullptr);
        ASSERT_NE(rig.EmulatedSound(), nullptr);
        EXPECT_EQ(rig.Sound(), rig.EmulatedSound());
        EXPECT_TRUE(rig.SoundPollDescriptors().empty()) << "the emulated card posts directly";
        rig.DispatchSound();

        TRadioCard card(rig.Environment());
        ASSERT_TRUE(card.HasSoundCard());
        card.SetModel(radio::mRadioTrack);
        card.SetPort(1);
        card.SetVolumeLine(radio::vlLineIn);
        card.Open();
        window.queue.Drain();
        window.posted = 0;
        card.ApplyVolume(128);
        EXPECT_GT(window.posted, 0) << "mixer notifications go to the window's poster";
        window.queue.Drain();
        EXPECT_EQ(card.Volume(), 128);
        card.TuneTo(false, radio::bFM, 98.7);
    }
    sink->Flush();
    std::string trace(text, size);
    EXPECT_NE(trace.find("W 030C "), std::string::npos) << trace.substr(0, 200);
    sink.reset();
    std::fclose(stream);
    std::free(text);

    tRigOptions quiet = Emulated();
    quiet.withSound = false;
    THardwareRig rig(std::move(quiet));
    EXPECT_EQ(rig.Sound(), nullptr);
    ASSERT_NE(rig.OwnEvents(), nullptr);
    EXPECT_EQ(&rig.Events(), rig.OwnEvents());
    TRadioCard card(rig.Environment());
    EXPECT_FALSE(card.HasSoundCard());
}

using tunevox::test::FakeDevPort;

// On real hardware the card obtains access to exactly its own range when
// it opens, and again after a model or port change.
TEST(HardwareRig, RealHardwareCardsObtainTheirOwnPortRange) {
    FakeDevPort dev('\0');
    tRigOptions o;
    o.withSound = false;
    o.realPorts = {false, dev.path};
    THardwareRig rig(std::move(o));
    EXPECT_FALSE(rig.Emulated());
    ASSERT_NE(rig.RealPorts(), nullptr);
    EXPECT_TRUE(rig.EmulatedComPorts().empty());
    EXPECT_FALSE(rig.EmulatedReceiver().has_value());
    radio::TRadioCardEnvironment env = rig.Environment();
    EXPECT_FALSE(static_cast<bool>(env.beforeOpen));
    EXPECT_EQ(env.portAccess, rig.RealPorts());

    TRadioCard card(env);
    card.SetModel(radio::mAztech);
    card.SetPort(2);
    EXPECT_FALSE(rig.RealPorts()->HasAccess());
    card.Open();
    EXPECT_TRUE(rig.RealPorts()->HasAccess());
    EXPECT_EQ(rig.RealPorts()->Base(), 0x358);
    EXPECT_EQ(rig.RealPorts()->Count(), 8u);
    card.StoreVolume(256);
    card.MuteOff(); // the card's unmute writes its volume level
    EXPECT_EQ(dev.At(0x358), 5) << "the card's volume level reached its port";
    card.Close();
    EXPECT_FALSE(rig.RealPorts()->HasAccess());

    card.SetModel(radio::mRadioTrack);
    card.SetPort(1);
    card.Open();
    EXPECT_EQ(rig.RealPorts()->Base(), 0x30C);
    EXPECT_EQ(rig.RealPorts()->Count(), 1u);
    card.MuteOff();
    EXPECT_EQ(dev.At(0x30C), 0xD8);
    card.Close();

    // COM ports map to device paths.
    EXPECT_EQ(rig.ComPorts().DevicePath(2), "/dev/ttyS1");
    rig.SetComDevice(2, "/dev/ttyUSB0");
    EXPECT_EQ(rig.ComPorts().DevicePath(2), "/dev/ttyUSB0");
    EXPECT_EQ(rig.ServeComPort(2, radio::mWizard), "") << "nothing is served on real hardware";
}

TEST(HardwareRig, RealHardwareWithoutPortAccessFailsLoudly) {
    tRigOptions o;
    o.withSound = false;
    o.realPorts = {false, "/nonexistent/tunevox-port"};
    THardwareRig rig(std::move(o));
    TRadioCard card(rig.Environment());
    card.SetModel(radio::mZoltrix);
    card.SetPort(1);
    try {
        card.Open();
        FAIL() << "no access must not pass silently";
    } catch (const radio::eNoPortAccess& e) {
        EXPECT_EQ(e.Base(), 0x30C);
        EXPECT_EQ(e.Count(), 4);
        EXPECT_TRUE(e.Error().Unsupported());
    }
    EXPECT_FALSE(card.Active());
}

} // namespace
} // namespace tunevox::rig
