// AimsLab/Reveal sequences as the port sees them, and round trips through
// the emulated card.

#include <gtest/gtest.h>

#include "card_fixture.h"
#include "emulator/aimslab_emulator.h"
#include "radio/frequency.h"

namespace tunevox::radio {
namespace {

using test::CardRig;
using test::Op;

// A 0 bit is 1,1,3,3 and a 1 bit 5,5,7,7.
std::vector<int> WordBits(const std::vector<uint8_t>& w) {
    return test::BitsOf(w, 0, 24, 4, [](const uint8_t* q) {
        if (q[0] == 1 && q[1] == 1 && q[2] == 3 && q[3] == 3) return 0;
        if (q[0] == 5 && q[1] == 5 && q[2] == 7 && q[3] == 7) return 1;
        return -1;
    });
}

uint32_t WordValue(const std::vector<int>& bits) {
    uint32_t w = 0;
    for (size_t i = 0; i < bits.size(); ++i) w |= static_cast<uint32_t>(bits[i]) << i;
    return w;
}

TEST(AimsLabTune, SendsTheTuningWordLowBitFirst) {
    CardRig rig;
    TRadioCard& c = rig.Open(mRadioTrack, 1);
    c.TuneTo(false, bFM, 87.5);
    auto w = rig.ports.Writes();
    ASSERT_EQ(w.size(), 98u);
    EXPECT_EQ(WordBits(w), (std::vector<int>{0, 0, 0, 1, 1, 0, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}));
    EXPECT_EQ(w[96], 0);
    EXPECT_EQ(w[97], 0xD8) << "audio byte of an unmuted card";
    EXPECT_EQ(rig.ports.WaitedMs(), 0u);
    for (const Op& op : rig.ports.log) EXPECT_EQ(op.port, 0x30C);

    rig.ports.Clear();
    c.TuneTo(false, bFM, 120.0);
    EXPECT_EQ(WordValue(WordBits(rig.ports.Writes())), 0xA0128Cu);
    EXPECT_DOUBLE_EQ(c.Frequency(), 108.0);

    rig.ports.Clear();
    c.MuteOn();
    rig.ports.Clear();
    c.TuneTo(false, bFM, 100.0);
    EXPECT_EQ(rig.ports.Writes().back(), 0xD0) << "a muted card stays silent after tuning";
}

TEST(AimsLabVolume, HoldsTheKeysForTheSteps) {
    CardRig rig;
    TRadioCard& c = rig.Open(mRadioTrack, 2);
    c.ApplyVolume(256);
    EXPECT_EQ(rig.ports.log, (std::vector<Op>{{'W', 0x20C, 0x88}, {'S', 0, 2000}, {'W', 0x20C, 0xC8}}));
    EXPECT_EQ(c.Volume(), 256);
    EXPECT_FALSE(c.Muted());

    rig.ports.Clear();
    c.VolumeUp();
    EXPECT_TRUE(rig.ports.log.empty()) << "nothing above the top";
    EXPECT_FALSE(c.Muted());

    rig.ports.Clear();
    c.VolumeToZero();
    EXPECT_EQ(rig.ports.log, (std::vector<Op>{{'W', 0x20C, 0x48}, {'S', 0, 2000}, {'W', 0x20C, 0xC8}}));
    EXPECT_EQ(c.Volume(), 0);
    EXPECT_TRUE(c.Muted());

    rig.ports.Clear();
    c.ApplyVolume(100);
    EXPECT_EQ(c.Volume(), 96);
    EXPECT_EQ(rig.ports.WaitedMs(), 750u);

    rig.ports.Clear();
    c.ApplyVolume(96);
    EXPECT_TRUE(rig.ports.log.empty()) << "no change, no key";

    rig.ports.Clear();
    c.ApplyVolume(1000);
    EXPECT_EQ(c.Volume(), 256) << "clamped to the maximum";
    EXPECT_EQ(rig.ports.WaitedMs(), 1250u);

    rig.ports.Clear();
    c.VolumeDown();
    EXPECT_EQ(rig.ports.log, (std::vector<Op>{{'W', 0x20C, 0x48}, {'S', 0, 125}, {'W', 0x20C, 0xC8}}));
    EXPECT_EQ(c.Volume(), 240);
    EXPECT_FALSE(c.Muted());
}

TEST(AimsLabVolume, VolumeUpClearsMuteEvenAtTheTop) {
    CardRig rig;
    TRadioCard& c = rig.Open(mRadioTrack, 1);
    c.ApplyVolume(256);
    c.MuteOn();
    ASSERT_TRUE(c.Muted());
    rig.ports.Clear();
    c.VolumeUp();
    EXPECT_TRUE(rig.ports.log.empty());
    EXPECT_FALSE(c.Muted());
}

TEST(AimsLabStatus, ReadsTheStatusByteBetweenItsWaits) {
    CardRig rig;
    TRadioCard& c = rig.Open(mRadioTrack, 1);
    rig.ports.readValue = [](uint16_t) -> uint8_t { return 0xFD; };
    EXPECT_EQ(c.TunedStatus(3), 2);
    EXPECT_EQ(rig.ports.log, (std::vector<Op>{{'W', 0x30C, 0xF8},
                                              {'W', 0x30C, 0},
                                              {'W', 0x30C, 0xD8},
                                              {'S', 0, 150},
                                              {'R', 0x30C, 0xFD},
                                              {'S', 0, 10},
                                              {'W', 0x30C, 0xE8},
                                              {'W', 0x30C, 0},
                                              {'W', 0x30C, 0xD8}}));
    rig.ports.readValue = [](uint16_t) -> uint8_t { return 0xFF; };
    EXPECT_EQ(c.TunedStatus(0), 0);
    rig.ports.readValue = [](uint16_t) -> uint8_t { return 0xFE; };
    EXPECT_EQ(c.TunedStatus(0), 3);
    rig.ports.readValue = [](uint16_t) -> uint8_t { return 0x00; };
    EXPECT_EQ(c.TunedStatus(0), 3);
}

TEST(AimsLabAudio, OpenMuteUnmuteClose) {
    CardRig rig;
    TRadioCard& c = *rig.card;
    c.SetModel(mRA300);
    c.SetPort(1);
    c.SetMutedStartup(true);
    c.Open();
    EXPECT_EQ(rig.ports.Writes(), (std::vector<uint8_t>{0, 0xD0}));
    EXPECT_TRUE(c.Muted());
    rig.ports.Clear();
    c.ApplyVolume(32);
    rig.ports.Clear();
    c.MuteOff();
    EXPECT_EQ(rig.ports.Writes(), (std::vector<uint8_t>{0, 0xD8}));
    EXPECT_FALSE(c.Muted());
    EXPECT_FALSE(c.StartMuted());
    rig.ports.Clear();
    c.MuteOn();
    EXPECT_EQ(rig.ports.Writes(), (std::vector<uint8_t>{0, 0xD0}));
    rig.ports.Clear();
    c.Close();
    EXPECT_EQ(rig.ports.Writes(), (std::vector<uint8_t>{0, 0xD0}));
    EXPECT_TRUE(c.Muted());
}

TEST(AimsLabEmulated, EveryChannelOfTheBandRoundTrips) {
    for (tModel m : {mRadioTrack, mRA300}) {
        CardRig rig;
        emulator::AimsLabEmulator card(0x30C, rig.ports.clock, emulator::StationList::BuiltIn());
        rig.ports.device = &card;
        TRadioCard& c = rig.Open(m, 1);
        for (int k = 0; k <= 840; ++k) {
            double f = 87.0 + k * 0.025;
            c.TuneTo(false, bFM, f);
            ASSERT_EQ(FrequencyText(108, 87, card.State().frequencyMHz), FrequencyText(108, 87, c.Frequency()))
                << "channel " << k;
        }
        EXPECT_TRUE(card.State().audioOn);
    }
}

TEST(AimsLabEmulated, AudioVolumeAndStatusAsTheCardHearsThem) {
    CardRig rig;
    emulator::StationList stations({{emulator::Band::FM, 98.7, true, "Stereo One"},
                                    {emulator::Band::FM, 101.1, false, "Mono Two"}});
    emulator::AimsLabEmulator card(0x20C, rig.ports.clock, stations);
    rig.ports.device = &card;
    TRadioCard& c = rig.Open(mRadioTrack, 2);
    c.TuneTo(false, bFM, 98.7);
    EXPECT_EQ(c.TunedStatus(0), 2);
    c.TuneTo(false, bFM, 101.1);
    EXPECT_EQ(c.TunedStatus(0), 3);
    c.TuneTo(false, bFM, 94.0);
    EXPECT_EQ(c.TunedStatus(0), 0);

    c.ApplyVolume(100);
    EXPECT_EQ(card.State().volumeLevel, 6);
    c.VolumeUp();
    EXPECT_EQ(card.State().volumeLevel, 7);
    c.VolumeToZero();
    EXPECT_EQ(card.State().volumeLevel, 0);
    c.ApplyVolume(256);
    EXPECT_EQ(card.State().volumeLevel, 16);
    c.MuteOn();
    EXPECT_FALSE(card.State().audioOn);
    c.MuteOff();
    EXPECT_TRUE(card.State().audioOn);
}

} // namespace
} // namespace tunevox::radio
