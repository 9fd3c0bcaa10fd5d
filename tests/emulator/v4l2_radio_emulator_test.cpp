// The emulated radio node driven through the device seam with the kernel's
// own structures, as a card would drive a real one.

#include "emulator/v4l2_radio_emulator.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace tunevox::emulator {
namespace {

using platform::IRadioDevice;

const StationList kStations({
    {Band::FM, 90.5, true, "Jazz FM"},
    {Band::FM, 98.5, false, "News Now"},
    {Band::FM, 101.0, true, ""},                // heard, but sends no name
    {Band::FM, 103.5, true, "Faint Station"},   // below the seek threshold
    {Band::FM, 106.0, true, "Radio One Extra"},
    {Band::AM, 0.531, false, "Talk AM"},
});

struct Rig {
    explicit Rig(V4L2RadioOptions options = {}) : radio(clock, kStations, Tweak(std::move(options))) {}
    static V4L2RadioOptions Tweak(V4L2RadioOptions o) {
        o.strengths["Faint Station"] = 0x1000;
        return o;
    }
    platform::VirtualSleeper clock;
    V4L2RadioEmulator radio;
};

v4l2_tuner Tuner(IRadioDevice& d) {
    v4l2_tuner t{};
    EXPECT_EQ(d.Ioctl(VIDIOC_G_TUNER, &t), 0);
    return t;
}
int Tune(IRadioDevice& d, uint32_t units, uint32_t tuner = 0, uint32_t type = V4L2_TUNER_RADIO) {
    v4l2_frequency f{tuner, type, units, {}};
    return d.Ioctl(VIDIOC_S_FREQUENCY, &f);
}
uint32_t Frequency(IRadioDevice& d) {
    v4l2_frequency f{};
    EXPECT_EQ(d.Ioctl(VIDIOC_G_FREQUENCY, &f), 0);
    EXPECT_EQ(f.type, V4L2_TUNER_RADIO);
    return f.frequency;
}
int Seek(IRadioDevice& d, bool up, bool wrap, uint32_t low = 0, uint32_t high = 0) {
    v4l2_hw_freq_seek s{0, V4L2_TUNER_RADIO, up, wrap, 0, low, high, {}};
    return d.Ioctl(VIDIOC_S_HW_FREQ_SEEK, &s);
}
std::vector<v4l2_rds_data> ReadAll(IRadioDevice& d) {
    std::vector<v4l2_rds_data> blocks(500);
    long n = d.Read(blocks.data(), blocks.size() * sizeof(v4l2_rds_data));
    blocks.resize(n > 0 ? static_cast<size_t>(n) / 3 : 0);
    return blocks;
}

// Programme service name, PI and PTY from groups 0A, decoded from the RDS
// description: a group is blocks A B C D in order, and the name needs A, B
// and D intact (C carries alternative frequencies); with `trustErrors`
// blocks flagged uncorrectable are used like good ones.
struct Decoded {
    std::string ps = "????????";
    int pi = -1, pty = -1;
};
Decoded Decode(const std::vector<v4l2_rds_data>& blocks, bool trustErrors = false) {
    Decoded out;
    for (size_t i = 0; i + 3 < blocks.size(); ++i) {
        bool group = true;
        for (unsigned k = 0; k < 4; ++k)
            group = group && (blocks[i + k].block & V4L2_RDS_BLOCK_MSK) == k &&
                    (trustErrors || k == 2 || !(blocks[i + k].block & V4L2_RDS_BLOCK_ERROR));
        if (!group) continue;
        const unsigned b = blocks[i + 1].msb << 8 | blocks[i + 1].lsb;
        if (b >> 11 != 0) continue; // not type 0 version A
        out.pi = blocks[i].msb << 8 | blocks[i].lsb;
        out.pty = (b >> 5) & 0x1F;
        out.ps[2 * (b & 3)] = static_cast<char>(blocks[i + 3].msb);
        out.ps[2 * (b & 3) + 1] = static_cast<char>(blocks[i + 3].lsb);
    }
    return out;
}

TEST(V4L2RadioEmulator, CapabilitiesAndBandsFollowTheConfiguration) {
    Rig fm;
    V4L2RadioEmulatorOpener opener;
    Rig other;
    opener.Serve("/dev/radio10", other.radio);
    opener.Serve("/dev/radio0", fm.radio);
    EXPECT_EQ(opener.List(), (std::vector<std::string>{"/dev/radio0", "/dev/radio10"}));
    EXPECT_EQ(platform::RadioDeviceLabel(opener, "/dev/radio0"), "/dev/radio0 \u2014 Tunevox Virtual Radio");
    auto device = opener.Open("/dev/radio0", nullptr);
    EXPECT_EQ(fm.radio.OpenHandles(), 1);
    platform::tRadioDeviceInfo info;
    ASSERT_EQ(platform::QueryRadioDevice(*device, &info), 0);
    EXPECT_TRUE(info.IsRadioReceiver());
    EXPECT_EQ(info.caps, V4L2_CAP_TUNER | V4L2_CAP_RADIO | V4L2_CAP_HW_FREQ_SEEK | V4L2_CAP_RDS_CAPTURE | V4L2_CAP_READWRITE);
    v4l2_tuner t = Tuner(*device);
    EXPECT_EQ(t.capability & (V4L2_TUNER_CAP_LOW | V4L2_TUNER_CAP_STEREO | V4L2_TUNER_CAP_RDS | V4L2_TUNER_CAP_FREQ_BANDS),
              V4L2_TUNER_CAP_STEREO | V4L2_TUNER_CAP_RDS | V4L2_TUNER_CAP_FREQ_BANDS);
    EXPECT_EQ(t.rangelow, 1400u);
    EXPECT_EQ(t.rangehigh, 1728u);
    v4l2_frequency_band band{};
    band.type = V4L2_TUNER_RADIO;
    band.index = 1;
    EXPECT_EQ(device->Ioctl(VIDIOC_ENUM_FREQ_BANDS, &band), -EINVAL) << "one band only";
    EXPECT_EQ(device->Ioctl(VIDIOC_G_AUDIO, &band), -ENOTTY);
    device.reset();
    EXPECT_EQ(fm.radio.OpenHandles(), 0);
    int error = 0;
    opener.SetOpenError(EBUSY);
    EXPECT_EQ(opener.Open("/dev/radio0", &error), nullptr);
    EXPECT_EQ(error, EBUSY);

    // AM brings the 62.5 Hz unit along and a second band.
    Rig fmam({.bands = FmAmBandPlan()});
    t = Tuner(fmam.radio);
    EXPECT_TRUE(t.capability & V4L2_TUNER_CAP_LOW);
    EXPECT_EQ(t.rangelow, 8352u);
    EXPECT_EQ(t.rangehigh, 1728000u);
    band.index = 1;
    ASSERT_EQ(fmam.radio.Ioctl(VIDIOC_ENUM_FREQ_BANDS, &band), 0);
    EXPECT_EQ(band.modulation, V4L2_BAND_MODULATION_AM);
    EXPECT_EQ(band.capability & (V4L2_TUNER_CAP_STEREO | V4L2_TUNER_CAP_RDS), 0u);

    Rig plain({.hwSeek = false, .rds = false});
    ASSERT_EQ(platform::QueryRadioDevice(plain.radio, &info), 0);
    EXPECT_EQ(info.caps, V4L2_CAP_TUNER | V4L2_CAP_RADIO);
    EXPECT_EQ(Tuner(plain.radio).capability & (V4L2_TUNER_CAP_RDS | V4L2_TUNER_CAP_HWSEEK_WRAP), 0u);
    EXPECT_EQ(Seek(plain.radio, true, false), -ENOTTY);
    char buffer[30];
    EXPECT_EQ(plain.radio.Read(buffer, sizeof buffer), -EINVAL);
}

TEST(V4L2RadioEmulator, TunesInTheTunersUnitsAndClampsToTheBands) {
    Rig fm;
    EXPECT_EQ(Tune(fm.radio, platform::MHzToV4L2Frequency(98.7, Tuner(fm.radio).capability)), 0);
    EXPECT_EQ(Frequency(fm.radio), 1579u);
    EXPECT_DOUBLE_EQ(fm.radio.State().frequencyMHz, 98.6875);
    EXPECT_EQ(Tune(fm.radio, 2000), 0);
    EXPECT_EQ(Frequency(fm.radio), 1728u) << "clamped to 108 MHz";
    EXPECT_EQ(Tune(fm.radio, 1500, 1), -EINVAL) << "no second tuner";
    EXPECT_EQ(Tune(fm.radio, 1500, 0, V4L2_TUNER_ANALOG_TV), -EINVAL);

    Rig fmam({.bands = FmAmBandPlan()});
    EXPECT_EQ(Tune(fmam.radio, platform::MHzToV4L2Frequency(98.7, Tuner(fmam.radio).capability)), 0);
    EXPECT_EQ(Frequency(fmam.radio), 1579200u);
    EXPECT_EQ(Tune(fmam.radio, 8496), 0);
    EXPECT_DOUBLE_EQ(fmam.radio.State().frequencyMHz, 0.531);
    EXPECT_EQ(fmam.radio.State().band, Band::AM);
    Tune(fmam.radio, 50 * 16000); // between the bands, nearer FM
    EXPECT_EQ(Frequency(fmam.radio), 1400000u);
    Tune(fmam.radio, 20 * 16000);
    EXPECT_EQ(Frequency(fmam.radio), 27360u);
}

TEST(V4L2RadioEmulator, TunerReportsWhatTheStationSends) {
    Rig r;
    const uint32_t kMono = V4L2_TUNER_SUB_MONO, kStereo = V4L2_TUNER_SUB_STEREO, kRds = V4L2_TUNER_SUB_RDS;
    struct {
        uint32_t units, rxsubchans;
        int signal;
    } cases[] = {
        {1448, kMono | kStereo | kRds, 65535}, // 90.5
        {1449, kMono | kRds, 24576},           // 62.5 kHz off: too far for stereo, weaker
        {1576, kMono | kRds, 65535},           // 98.5, a mono station
        {1616, kMono | kStereo, 65535},        // 101.0 sends no name
        {1600, kMono, 0},                      // nothing
        {1656, kMono | kStereo | kRds, 0x1000}, // 103.5 is faint
    };
    for (const auto& c : cases) {
        Tune(r.radio, c.units);
        v4l2_tuner t = Tuner(r.radio);
        EXPECT_EQ(t.rxsubchans, c.rxsubchans) << c.units;
        EXPECT_EQ(t.signal, c.signal) << c.units;
    }

    // Forced mono clears stereo; a language mode means stereo on a radio.
    Tune(r.radio, 1448);
    v4l2_tuner t = Tuner(r.radio);
    t.audmode = V4L2_TUNER_MODE_MONO;
    ASSERT_EQ(r.radio.Ioctl(VIDIOC_S_TUNER, &t), 0);
    t = Tuner(r.radio);
    EXPECT_EQ(t.audmode, V4L2_TUNER_MODE_MONO);
    EXPECT_EQ(t.rxsubchans, kMono | kRds);
    t.audmode = V4L2_TUNER_MODE_LANG1;
    ASSERT_EQ(r.radio.Ioctl(VIDIOC_S_TUNER, &t), 0);
    EXPECT_EQ(Tuner(r.radio).audmode, V4L2_TUNER_MODE_STEREO);
    t.index = 1;
    EXPECT_EQ(r.radio.Ioctl(VIDIOC_G_TUNER, &t), -EINVAL);
}

TEST(V4L2RadioEmulator, MuteAndVolumeArePresentOrAbsent) {
    Rig r;
    std::vector<uint32_t> ids;
    v4l2_queryctrl q{};
    q.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    while (r.radio.Ioctl(VIDIOC_QUERYCTRL, &q) == 0) {
        ids.push_back(q.id);
        q.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
    }
    EXPECT_EQ(ids, (std::vector<uint32_t>{V4L2_CID_USER_CLASS, V4L2_CID_AUDIO_VOLUME, V4L2_CID_AUDIO_MUTE}));
    v4l2_query_ext_ctrl x{};
    x.id = V4L2_CID_AUDIO_VOLUME;
    ASSERT_EQ(r.radio.Ioctl(VIDIOC_QUERY_EXT_CTRL, &x), 0);
    EXPECT_EQ(x.maximum, 15);

    v4l2_control c{V4L2_CID_AUDIO_MUTE, 0};
    ASSERT_EQ(r.radio.Ioctl(VIDIOC_G_CTRL, &c), 0);
    EXPECT_EQ(c.value, 1) << "starts silent";
    c.value = 0;
    ASSERT_EQ(r.radio.Ioctl(VIDIOC_S_CTRL, &c), 0);
    EXPECT_TRUE(r.radio.State().audioOn);
    c = {V4L2_CID_AUDIO_VOLUME, 99};
    ASSERT_EQ(r.radio.Ioctl(VIDIOC_S_CTRL, &c), 0);
    EXPECT_EQ(c.value, 15) << "clamped and written back";
    EXPECT_EQ(r.radio.State().volumeLevel, 15);

    Rig bare({.hasMute = false, .hasVolume = false});
    q.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    EXPECT_EQ(bare.radio.Ioctl(VIDIOC_QUERYCTRL, &q), -EINVAL);
    for (uint32_t id : {V4L2_CID_AUDIO_MUTE, V4L2_CID_AUDIO_VOLUME}) {
        c = {id, 1};
        EXPECT_EQ(bare.radio.Ioctl(VIDIOC_G_CTRL, &c), -EINVAL);
        EXPECT_EQ(bare.radio.Ioctl(VIDIOC_S_CTRL, &c), -EINVAL);
    }
    EXPECT_TRUE(bare.radio.State().audioOn) << "nothing can silence it";
}

TEST(V4L2RadioEmulator, HardwareSeekFindsTheNextStrongStation) {
    Rig r;
    Tune(r.radio, 1575); // just below 98.5, which is heard already
    ASSERT_EQ(Seek(r.radio, true, false), 0);
    EXPECT_EQ(Frequency(r.radio), 1616u) << "101.0";
    ASSERT_EQ(Seek(r.radio, true, false), 0);
    EXPECT_EQ(Frequency(r.radio), 1696u) << "106.0: the faint 103.5 is passed by";
    EXPECT_EQ(Seek(r.radio, true, false), -ENODATA);
    EXPECT_EQ(Frequency(r.radio), 1696u) << "stays where it was";
    ASSERT_EQ(Seek(r.radio, true, true), 0);
    EXPECT_EQ(Frequency(r.radio), 1448u) << "wrapped to 90.5";
    EXPECT_EQ(Seek(r.radio, false, false), -ENODATA);
    ASSERT_EQ(Seek(r.radio, false, true), 0);
    EXPECT_EQ(Frequency(r.radio), 1696u);
    ASSERT_EQ(Seek(r.radio, false, false), 0);
    EXPECT_EQ(Frequency(r.radio), 1616u);

    // Bounded by the caller's limits; limits outside the band are refused.
    Tune(r.radio, 1400);
    ASSERT_EQ(Seek(r.radio, true, false, 1500, 1600), 0);
    EXPECT_EQ(Frequency(r.radio), 1576u);
    EXPECT_EQ(Seek(r.radio, true, false, 1500, 1590), -ENODATA);
    EXPECT_EQ(Seek(r.radio, true, false, 1300, 1600), -EINVAL);
    EXPECT_EQ(Seek(r.radio, true, false, 1600, 1500), -EINVAL);

    Rig am({.bands = FmAmBandPlan()});
    Tune(am.radio, 8352);
    ASSERT_EQ(Seek(am.radio, true, false), 0);
    EXPECT_EQ(Frequency(am.radio), 8496u) << "searches the band it is tuned in";
}

TEST(V4L2RadioEmulator, InjectedFaultsFailTheChosenCalls) {
    Rig r;
    r.radio.InjectFault(EIO);
    EXPECT_EQ(Tune(r.radio, 1448), -EIO);
    EXPECT_EQ(Frequency(r.radio), 1400u) << "the failed call did nothing";
    r.radio.InjectFault(-ENODEV, V4L2RadioEmulator::kAlways, VIDIOC_S_FREQUENCY);
    EXPECT_EQ(Tune(r.radio, 1448), -ENODEV);
    EXPECT_EQ(Tune(r.radio, 1448), -ENODEV);
    EXPECT_EQ(Frequency(r.radio), 1400u) << "other requests still answer";
    r.radio.InjectFault(EIO, 2, V4L2RadioEmulator::kReadCall);
    char buffer[3];
    EXPECT_EQ(r.radio.Read(buffer, 3), -EIO);
    r.radio.ClearFaults();
    EXPECT_EQ(Tune(r.radio, 1448), 0);
    EXPECT_EQ(r.radio.Read(buffer, 3), -EAGAIN);
}

TEST(V4L2RadioEmulator, RdsFlowsOnItsClockFromNamedStationsOnly) {
    Rig r({.rdsIdentities = {{"Radio One Extra", {0xD3C2, 10, true}}}});
    Tune(r.radio, 1696); // 106.0
    EXPECT_TRUE(ReadAll(r.radio).empty()) << "nothing before time passes";
    r.clock.Advance(1000);
    auto blocks = ReadAll(r.radio);
    ASSERT_EQ(blocks.size(), 45u) << "1187.5 bit/s in 26-bit blocks";
    for (size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(blocks[i].block, (i % 4) * 9) << i;
    Decoded d = Decode(blocks);
    EXPECT_EQ(d.ps, "Radio On");
    EXPECT_EQ(d.pi, 0xD3C2);
    EXPECT_EQ(d.pty, 10);
    EXPECT_TRUE(blocks[1].msb & 0x04) << "TP";
    EXPECT_EQ(r.radio.Read(blocks.data(), 3), -EAGAIN) << "all read";

    r.clock.Advance(10000);
    EXPECT_EQ(ReadAll(r.radio).size(), V4L2RadioEmulator::kRdsBufferBlocks) << "older blocks were lost";
    r.clock.Advance(200);
    Tune(r.radio, 1448); // a new station starts a new stream
    EXPECT_TRUE(ReadAll(r.radio).empty());
    r.clock.Advance(400);
    EXPECT_EQ(ReadAll(r.radio).front().block, V4L2_RDS_BLOCK_A | V4L2_RDS_BLOCK_A << 3);

    for (uint32_t silent : {1616u, 1600u}) { // no name; nothing heard
        Tune(r.radio, silent);
        r.clock.Advance(1000);
        EXPECT_TRUE(ReadAll(r.radio).empty()) << silent;
    }
}

TEST(V4L2RadioEmulator, GarbageBlocksCarryErrorFlagsThatADecoderMustHonour) {
    Rig r({.rdsGarbage = true});
    Tune(r.radio, 1448);
    r.clock.Advance(1990); // 90 blocks, all in the buffer
    auto blocks = ReadAll(r.radio);
    size_t errors = 0, corrected = 0;
    for (const auto& b : blocks) {
        errors += (b.block & V4L2_RDS_BLOCK_ERROR) != 0;
        corrected += (b.block & V4L2_RDS_BLOCK_CORRECTED) != 0;
    }
    EXPECT_EQ(errors, blocks.size() / 3);
    EXPECT_EQ(corrected, blocks.size() / 3);
    EXPECT_EQ(Decode(blocks).ps, "Jazz FM ");
    EXPECT_NE(Decode(blocks, true).ps, "Jazz FM ");
}

} // namespace
} // namespace tunevox::emulator
