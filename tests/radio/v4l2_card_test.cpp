// A Linux radio device through the card, against the emulated device: what
// the card learns of the device when it opens, tuning in the device's
// units, the tuned status from the measured signal, the controls it has or
// lacks, the hardware seek, the station's name, and failures that keep the
// card's state and are told once.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "card_fixture.h"
#include "emulator/v4l2_radio_emulator.h"
#include "radio/radio_card.h"

namespace tunevox::radio {
namespace {

using emulator::V4L2RadioEmulator;
using emulator::V4L2RadioOptions;

struct V4L2Rig {
    explicit V4L2Rig(V4L2RadioOptions options = {})
        : device(ports.clock, emulator::StationList::BuiltIn(), std::move(options)) {
        opener.Serve("/dev/radio0", device);
        TRadioCardEnvironment env;
        env.portIO = &ports;
        env.sleeper = &ports;
        env.comPorts = &comPorts;
        env.radioDevices = &opener;
        card = std::make_unique<TRadioCard>(env);
        card->OnDeviceError = [this](TRadioCard&, const std::string& m) { errors.push_back(m); };
        card->SetModel(mV4L2);
    }
    TRadioCard& Open() {
        card->Open();
        return *card;
    }
    // Lets RDS come for a while, reading it as the radio set's timer does.
    void ListenFor(unsigned ms) {
        for (unsigned t = 0; t < ms; t += 250) {
            ports.clock.Sleep(250);
            card->PollRds();
        }
    }

    test::RecordingPorts ports;
    platform::ComPortMap comPorts;
    V4L2RadioEmulator device;
    emulator::V4L2RadioEmulatorOpener opener;
    std::unique_ptr<TRadioCard> card;
    std::vector<std::string> errors;
};

TEST(V4L2Card, WhatTheCardCanDoComesFromTheDevice) {
    {
        V4L2Rig fm; // 87.5 - 108, mute and volume, seek, RDS
        TRadioCard& c = fm.Open();
        EXPECT_TRUE(c.Active());
        EXPECT_TRUE(c.Caps().HasFM);
        EXPECT_FALSE(c.Caps().HasAM);
        EXPECT_FALSE(c.Caps().HasJapaneseFM);
        EXPECT_DOUBLE_EQ(c.FMMin(), 87.5) << "the device's edge narrows the band";
        EXPECT_DOUBLE_EQ(c.FMMax(), 108.0);
        EXPECT_TRUE(c.Caps().HardwareSeek);
        EXPECT_TRUE(c.Caps().Rds);
        EXPECT_EQ(c.MaxVolume(), kMaxVolume);
        EXPECT_EQ(c.Caps().VolumeStep, 18) << "256 in the control's 15 steps";
    }
    {
        V4L2RadioOptions o;
        o.bands = emulator::FmAmBandPlan(); // needs 62.5 Hz units
        o.hasVolume = false;
        o.hwSeek = false;
        o.rds = false;
        V4L2Rig fmAm(o);
        TRadioCard& c = fmAm.Open();
        EXPECT_TRUE(c.Caps().HasAM);
        EXPECT_FALSE(c.Caps().HasVolume);
        EXPECT_TRUE(c.Caps().HasMute);
        EXPECT_EQ(c.MaxVolume(), 0) << "no volume of its own";
        EXPECT_FALSE(c.Caps().HardwareSeek);
        c.TuneTo(false, bAM, 0.909);
        EXPECT_NEAR(fmAm.device.State().frequencyMHz, 0.909, 1e-9) << "kHz exact in the low unit";
        EXPECT_EQ(c.TunedStatus(0), kTuned) << "AM: tuned, no stereo";
        c.TuneTo(true, bFM, 98.7);
        EXPECT_NEAR(fmAm.device.State().frequencyMHz, 98.7, 1e-9);
    }
    {
        V4L2RadioOptions o;
        o.bands = emulator::JapaneseFmBandPlan();
        V4L2Rig japan(o);
        TRadioCard& c = japan.Open();
        EXPECT_TRUE(c.Caps().HasJapaneseFM);
        c.SetJapaneseFM(true);
        EXPECT_DOUBLE_EQ(c.FMMin(), 76.0);
    }
}

TEST(V4L2Card, TheMeasuredSignalDecidesTunedAgainstTheThreshold) {
    V4L2RadioOptions o;
    o.strengths = {{"Radio One", 0x3000}}; // between "weak" and "strong"
    V4L2Rig r(o);
    TRadioCard& c = r.Open();
    c.TuneTo(true, bFM, 98.7);
    EXPECT_GT(c.SignalLevel(), 0x2000);
    EXPECT_LE(c.SignalLevel(), 0x3000);
    EXPECT_EQ(c.TunedStatus(0), kTunedStereo);
    EXPECT_EQ(c.TunedStatus(3), kNotTuned) << "too weak for the strong threshold";
    c.TuneTo(false, bFM, 101.9);
    EXPECT_EQ(c.TunedStatus(3), kTunedMono) << "mono forced through the audio mode";
    c.TuneTo(true, bFM, 99.5);
    EXPECT_EQ(c.TunedStatus(0), kNotTuned);

    // The volume and mute reach the device's controls.
    c.MuteOff();
    c.ApplyVolume(256);
    EXPECT_TRUE(r.device.State().audioOn);
    EXPECT_EQ(r.device.State().volumeLevel, 15);
    c.ApplyVolume(128);
    EXPECT_EQ(c.Volume(), 126) << "on the card's step";
    EXPECT_EQ(r.device.State().volumeLevel, 7);
    c.MuteOn();
    EXPECT_FALSE(r.device.State().audioOn);
    c.Close();
    EXPECT_EQ(r.device.OpenHandles(), 0) << "the node is closed with the card";
}

TEST(V4L2Card, TheHardwareSeekStopsOnTheNextStationOrStaysAtTheEdge) {
    V4L2Rig r;
    TRadioCard& c = r.Open();
    c.TuneTo(true, bFM, 98.0);
    ASSERT_TRUE(c.HardwareSeek(true));
    EXPECT_DOUBLE_EQ(c.Frequency(), 98.7);
    ASSERT_TRUE(c.HardwareSeek(false));
    EXPECT_DOUBLE_EQ(c.Frequency(), 96.1);
    c.TuneTo(true, bFM, 107.9);
    EXPECT_FALSE(c.HardwareSeek(true)) << "nothing above, and no wrapping";
    EXPECT_DOUBLE_EQ(c.Frequency(), 107.9);
    r.device.InjectFault(EIO, 1, VIDIOC_S_HW_FREQ_SEEK);
    EXPECT_FALSE(c.HardwareSeek(false));
    EXPECT_DOUBLE_EQ(c.Frequency(), 107.9);
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_NE(r.errors[0].find("/dev/radio0"), std::string::npos);
}

TEST(V4L2Card, TheStationsNameArrivesByRdsAndIsForgottenOnTuning) {
    V4L2Rig r;
    TRadioCard& c = r.Open();
    c.TuneTo(true, bFM, 90.5);
    EXPECT_EQ(c.RdsStationName(), "");
    r.ListenFor(2000);
    EXPECT_EQ(c.RdsStationName(), "Jazz FM");
    c.TuneTo(true, bFM, 99.5);
    EXPECT_EQ(c.RdsStationName(), "") << "a new station, nothing known yet";
    r.ListenFor(2000);
    EXPECT_EQ(c.RdsStationName(), "") << "nothing there";

    // Noise on the air never shows a wrong name.
    r.device.SetRdsGarbage(true);
    c.TuneTo(true, bFM, 101.9);
    r.ListenFor(6000);
    EXPECT_TRUE(c.RdsStationName().empty() || c.RdsStationName() == "Dance 10");
}

TEST(V4L2Card, ADeviceThatCannotBeUsedLeavesTheCardClosedAndSaysWhy) {
    V4L2Rig r;
    r.opener.SetOpenError(EACCES);
    try {
        r.card->Open();
        FAIL() << "opened";
    } catch (const eRadioDeviceError& e) {
        EXPECT_EQ(e.Path(), "/dev/radio0");
        EXPECT_EQ(e.Error(), EACCES);
    }
    EXPECT_FALSE(r.card->Active());

    r.opener.SetOpenError(0);
    TRadioCard& c = r.Open();
    c.TuneTo(true, bFM, 98.7);
    // Unplugged: every request fails; the card keeps its state, and the
    // user is told once.
    r.device.InjectFault(ENODEV, V4L2RadioEmulator::kAlways);
    c.TuneTo(true, bFM, 100.3);
    c.TunedStatus(0);
    c.TunedStatus(0);
    EXPECT_DOUBLE_EQ(c.Frequency(), 98.7);
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_NE(r.errors[0].find("no such device"), std::string::npos);
}

} // namespace
} // namespace tunevox::radio
