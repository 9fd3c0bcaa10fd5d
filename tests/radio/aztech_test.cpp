// Aztech sequences: the volume level in every byte, the data/clock tuning
// word, and the eight-port status pattern.

#include <gtest/gtest.h>

#include "card_fixture.h"
#include "emulator/aztech_emulator.h"
#include "radio/frequency.h"

namespace tunevox::radio {
namespace {

using test::CardRig;

// Pairs L+0x02,L+0x42 (0) and L+0x82,L+0xC2 (1) for a given level.
std::vector<int> PairBits(const std::vector<uint8_t>& w, size_t count, uint8_t level) {
    return test::BitsOf(w, 0, count, 2, [level](const uint8_t* q) {
        if (q[0] == level + 0x02 && q[1] == level + 0x42) return 0;
        if (q[0] == level + 0x82 && q[1] == level + 0xC2) return 1;
        return -1;
    });
}

TEST(AztechTune, SendsDividerAndControlBits) {
    CardRig rig;
    TRadioCard& c = rig.Open(mAztech, 1);
    c.TuneTo(true, bFM, 87.5);
    auto w = rig.ports.Writes();
    ASSERT_EQ(w.size(), 49u);
    EXPECT_EQ(PairBits(w, 24, 0), (std::vector<int>{0, 0, 0, 1, 1, 0, 1, 0, 1, 1, 1, 1, 0, 0, // g = 3928
                                                    0, 0, 0, 1, 1, 0, 0, 1, 0, 1}));
    EXPECT_EQ(rig.ports.log[48], (test::Op{'S', 0, 10})) << "the wait comes before the final write";
    EXPECT_EQ(w.back(), 0xC0);

    rig.ports.Clear();
    c.TuneTo(false, bFM, 87.5);
    EXPECT_EQ(PairBits(rig.ports.Writes(), 24, 0)[17], 0) << "stereo bit follows the request";
}

TEST(AztechTune, CarriesTheVolumeLevelInEveryByte) {
    CardRig rig;
    TRadioCard& c = rig.Open(mAztech, 2);
    c.ApplyVolume(168); // level 4
    rig.ports.Clear();
    c.TuneTo(true, bFM, 87.5);
    auto w = rig.ports.Writes();
    EXPECT_EQ(w[0], 0x06);
    EXPECT_EQ(w[1], 0x46);
    EXPECT_EQ(w[6], 0x86);
    EXPECT_EQ(w[7], 0xC6);
    EXPECT_EQ(w.back(), 0xC4);
    for (const auto& op : rig.ports.log) {
        if (op.kind == 'W') {
            EXPECT_EQ(op.port, 0x358);
        }
    }
    c.MuteOn();
    rig.ports.Clear();
    c.TuneTo(true, bFM, 87.5);
    EXPECT_EQ(rig.ports.Writes().back(), 0xC0) << "muted: the final byte has no level";
}

TEST(AztechVolume, StepsOf84WithTheirLevels) {
    CardRig rig;
    TRadioCard& c = rig.Open(mAztech, 1);
    const std::pair<int, uint8_t> ladder[] = {{84, 1}, {168, 4}, {252, 5}, {336, 5}};
    for (auto [volume, level] : ladder) {
        rig.ports.Clear();
        c.VolumeUp();
        EXPECT_EQ(c.Volume(), volume);
        EXPECT_EQ(rig.ports.Writes(), (std::vector<uint8_t>{level, level}));
    }
    rig.ports.Clear();
    c.VolumeUp();
    EXPECT_EQ(c.Volume(), 336) << "no step beyond the top";
    EXPECT_TRUE(rig.ports.log.empty());

    c.ApplyVolume(84);
    rig.ports.Clear();
    c.VolumeDown();
    EXPECT_EQ(rig.ports.Writes(), (std::vector<uint8_t>{0, 0}));
    EXPECT_TRUE(c.Muted());
    EXPECT_EQ(c.Volume(), 0);

    rig.ports.Clear();
    c.ApplyVolume(100); // snapped to 84
    EXPECT_EQ(c.Volume(), 84);
    EXPECT_EQ(rig.ports.Writes(), (std::vector<uint8_t>{1, 1}));
    rig.ports.Clear();
    c.ApplyVolume(90);
    EXPECT_TRUE(rig.ports.log.empty()) << "same level, nothing written";
    c.VolumeToZero();
    EXPECT_EQ(c.Volume(), 0);
    EXPECT_TRUE(c.Muted());
}

TEST(AztechStatus, NeedsASteadyPatternOnAllEightPorts) {
    CardRig rig;
    TRadioCard& c = rig.Open(mAztech, 1);
    rig.ports.readValue = [](uint16_t) -> uint8_t { return 0xFC; };
    EXPECT_EQ(c.TunedStatus(0), 2);
    size_t reads = 0;
    for (const auto& op : rig.ports.log) reads += op.kind == 'R';
    EXPECT_EQ(reads, 81920u);
    EXPECT_EQ(rig.ports.log.front(), (test::Op{'S', 0, 1}));

    rig.ports.readValue = [](uint16_t) -> uint8_t { return 0xFD; };
    EXPECT_EQ(c.TunedStatus(0), 3);

    // Steady 0xFD except one round in which P+3 reads 0xFC.
    int count = 0;
    rig.ports.readValue = [&count](uint16_t port) -> uint8_t {
        ++count;
        return (port == 0x353 && count > 4000 && count < 4010) ? 0xFC : 0xFD;
    };
    EXPECT_EQ(c.TunedStatus(0), 0);

    rig.ports.readValue = [](uint16_t) -> uint8_t { return 0xFF; };
    rig.ports.Clear();
    EXPECT_EQ(c.TunedStatus(0), 0);
    size_t stopped = 0;
    for (const auto& op : rig.ports.log) stopped += op.kind == 'R';
    EXPECT_EQ(stopped, 1u) << "a foreign byte stops the read at once";
}

TEST(AztechEmulated, EveryChannelRoundTripsAndStatusFollowsStereo) {
    CardRig rig;
    emulator::StationList stations({{emulator::Band::FM, 98.7, true, "Stereo One"},
                                    {emulator::Band::FM, 101.1, false, "Mono Two"}});
    emulator::AztechEmulator card(0x350, stations);
    rig.ports.device = &card;
    TRadioCard& c = rig.Open(mAztech, 1);
    for (int k = 0; k <= 840; ++k) {
        c.TuneTo(true, bFM, 87.0 + k * 0.025);
        ASSERT_EQ(FrequencyText(108, 87, card.State().frequencyMHz), FrequencyText(108, 87, c.Frequency()))
            << "channel " << k;
    }
    c.TuneTo(true, bFM, 98.7);
    EXPECT_TRUE(card.State().stereoRequested);
    EXPECT_EQ(c.TunedStatus(0), 2);
    c.SetStereo(false);
    c.SetFrequency(98.7);
    EXPECT_FALSE(card.State().stereoRequested);
    EXPECT_EQ(c.TunedStatus(0), 3);
    c.TuneTo(true, bFM, 101.1);
    EXPECT_EQ(c.TunedStatus(0), 3);
    c.TuneTo(true, bFM, 94.0);
    EXPECT_EQ(c.TunedStatus(0), 0);

    c.ApplyVolume(168);
    EXPECT_EQ(card.State().volumeLevel, 2);
    EXPECT_TRUE(card.State().audioOn);
    c.MuteOn();
    EXPECT_FALSE(card.State().audioOn);
}

} // namespace
} // namespace tunevox::radio
