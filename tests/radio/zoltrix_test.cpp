// Zoltrix sequences: the 45-bit frame, the audio switch reads, the volume
// byte and the doubled status read.

#include <gtest/gtest.h>

#include "card_fixture.h"
#include "emulator/zoltrix_emulator.h"
#include "radio/frequency.h"

namespace tunevox::radio {
namespace {

using test::CardRig;
using test::Op;

// The frame as text of 0 and 1: each bit is three writes to the base port.
std::string FrameText(const std::vector<uint8_t>& w) {
    // audio off (0, 0), frame start 0x40 0xC0, then the bits.
    std::string s;
    for (size_t i = 4; i + 3 <= w.size(); i += 3) {
        if (w[i] == 0x80 && w[i + 1] == 0x00 && w[i + 2] == 0x80) s += '1';
        else if (w[i] == 0xC0 && w[i + 1] == 0x40 && w[i + 2] == 0xC0) s += '0';
        else break;
    }
    return s;
}

TEST(ZoltrixTune, SendsTheFrameOfTheWorkedExample) {
    CardRig rig;
    TRadioCard& c = rig.Open(mZoltrix, 1);
    c.ApplyVolume(256);
    rig.ports.Clear();
    c.TuneTo(true, bFM, 88.05);
    auto w = rig.ports.Writes();
    ASSERT_GE(w.size(), 4u);
    EXPECT_EQ((std::vector<uint8_t>(w.begin(), w.begin() + 4)), (std::vector<uint8_t>{0, 0, 0x40, 0xC0}));
    EXPECT_EQ(FrameText(w), "110001001"
                            "00011100"
                            "1"
                            "01001101"
                            "101100"
                            "1"
                            "001"
                            "00000000"
                            "1");
    ASSERT_EQ(w.size(), 4u + 45 * 3 + 3 + 1);
    EXPECT_EQ((std::vector<uint8_t>(w.end() - 4, w.end())), (std::vector<uint8_t>{0x80, 0xC0, 0x40, 15}));
    // The reads: audio off before the frame, audio on after it.
    std::vector<Op> reads;
    for (const Op& op : rig.ports.log)
        if (op.kind == 'R') reads.push_back(op);
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].port, 0x30F);
    EXPECT_EQ(reads[1].port, 0x30E);
}

TEST(ZoltrixTune, WordAtTheBandEdgesAndSnapping) {
    auto word = [](const std::string& f) {
        // bits 10..17 low byte, 19..26 high byte, both most significant first
        return std::stoi(f.substr(18, 8), nullptr, 2) << 8 | std::stoi(f.substr(9, 8), nullptr, 2);
    };
    CardRig rig;
    TRadioCard& c = rig.Open(mZoltrix, 2);
    c.TuneTo(false, bFM, 87.0);
    std::string f = FrameText(rig.ports.Writes());
    EXPECT_EQ(word(f), 0x4C4A);
    EXPECT_EQ(f[32], '0') << "mono requested";
    rig.ports.Clear();
    c.TuneTo(false, bFM, 108.0);
    EXPECT_EQ(word(FrameText(rig.ports.Writes())), 0x5CB2);
    c.TuneTo(false, bFM, 87.512);
    EXPECT_DOUBLE_EQ(c.Frequency(), 87.51);
    rig.ports.Clear();
    c.TuneTo(false, bFM, 100.0);
    EXPECT_EQ(word(FrameText(rig.ports.Writes())), 22130);
}

TEST(ZoltrixTune, MutedCardStaysSilentAfterTheFrame) {
    CardRig rig;
    TRadioCard& c = rig.Open(mZoltrix, 1);
    c.MuteOn();
    rig.ports.Clear();
    c.TuneTo(false, bFM, 95.0);
    auto w = rig.ports.Writes();
    EXPECT_EQ((std::vector<uint8_t>(w.end() - 3, w.end())), (std::vector<uint8_t>{0x80, 0xC0, 0x40}));
    EXPECT_EQ(rig.ports.log.back(), (Op{'W', 0x30C, 0x40}));
}

TEST(ZoltrixVolume, ByteScaleAndPaths) {
    CardRig rig;
    TRadioCard& c = rig.Open(mZoltrix, 1);
    c.ApplyVolume(16);
    EXPECT_EQ(rig.ports.Writes().back(), 0) << "16 is the lowest level";
    rig.ports.Clear();
    c.ApplyVolume(256);
    EXPECT_EQ(rig.ports.log, (std::vector<Op>{{'W', 0x30C, 15}, {'R', 0x30C, 0xFF}}));
    rig.ports.Clear();
    c.VolumeUp();
    EXPECT_TRUE(rig.ports.log.empty());

    rig.ports.Clear();
    c.ApplyVolume(0);
    EXPECT_EQ(rig.ports.log, (std::vector<Op>{{'W', 0x30C, 0}, {'W', 0x30C, 0}, {'R', 0x30F, 0xFF}}));
    EXPECT_TRUE(c.Muted());

    rig.ports.Clear();
    // 40 / 16 = 2.5 rounds to even: 32, level 1; the muted card is woken first.
    c.ApplyVolume(40);
    EXPECT_EQ(rig.ports.log, (std::vector<Op>{{'W', 0x30C, 0}, {'S', 0, 10}, {'R', 0x30E, 0xFF},
                                              {'W', 0x30C, 1}, {'R', 0x30C, 0xFF}}));
    EXPECT_EQ(c.Volume(), 32);
    EXPECT_FALSE(c.Muted());

    rig.ports.Clear();
    c.VolumeDown();
    EXPECT_EQ(c.Volume(), 16);
    EXPECT_FALSE(c.Muted());
    c.VolumeDown();
    EXPECT_EQ(c.Volume(), 0);
    EXPECT_TRUE(c.Muted());
    for (const Op& op : rig.ports.log) {
        if (op.kind == 'W') {
            EXPECT_LE(op.value, 15u) << "no volume byte outside 0..15";
        }
    }
}

TEST(ZoltrixAudio, UnmuteAtZeroLeavesTheCardSilent) {
    CardRig rig;
    TRadioCard& c = rig.Open(mZoltrix, 1);
    c.MuteOn();
    rig.ports.Clear();
    c.MuteOff();
    EXPECT_TRUE(rig.ports.log.empty());
    EXPECT_TRUE(c.Muted());
    EXPECT_FALSE(c.StartMuted());

    c.ApplyVolume(128);
    c.MuteOn();
    rig.ports.Clear();
    c.MuteOff();
    EXPECT_EQ(rig.ports.log, (std::vector<Op>{{'W', 0x30C, 0}, {'W', 0x30C, 7}, {'R', 0x30E, 0xFF}}));
    EXPECT_FALSE(c.Muted());
}

TEST(ZoltrixStatus, ReadsTwiceAndComparesWithTheStereoSetting) {
    CardRig rig;
    TRadioCard& c = rig.Open(mZoltrix, 1);
    c.SetStereo(false);
    c.ApplyVolume(256);
    rig.ports.readValue = [](uint16_t) -> uint8_t { return 0xEF; };
    rig.ports.Clear();
    EXPECT_EQ(c.TunedStatus(0), 0) << "0xEF means tuned only when stereo is wanted";
    EXPECT_EQ(rig.ports.log, (std::vector<Op>{{'W', 0x30C, 0}, {'W', 0x30C, 15}, {'S', 0, 10}, {'R', 0x30C, 0xEF},
                                              {'S', 0, 1}, {'R', 0x30C, 0xEF}, {'W', 0x30C, 15}, {'R', 0x30E, 0xEF}}));
    c.SetStereo(true);
    EXPECT_EQ(c.TunedStatus(0), 1);

    int n = 0;
    rig.ports.readValue = [&n](uint16_t p) -> uint8_t { return p == 0x30C && n++ == 0 ? 0xEF : 0xFF; };
    EXPECT_EQ(c.TunedStatus(0), 0) << "both reads must agree";

    c.SetStereo(false);
    rig.ports.readValue = [](uint16_t) -> uint8_t { return 0xDF; };
    EXPECT_EQ(c.TunedStatus(0), 1);
}

TEST(ZoltrixEmulated, RoundTripsAndHearsStations) {
    emulator::StationList stations({{emulator::Band::FM, 98.7, true, "Stereo One"},
                                    {emulator::Band::FM, 101.1, false, "Mono Two"}});
    for (int port : {1, 2}) {
        CardRig rig;
        const uint16_t base = port == 1 ? 0x30C : 0x20C;
        emulator::ZoltrixEmulator card(base, stations);
        rig.ports.device = &card;
        TRadioCard& c = rig.Open(mZoltrix, port);
        c.ApplyVolume(128);
        for (int k = 0; k <= 4200; k += 7) {
            double f = 87.0 + k * 0.005;
            c.TuneTo(c.Stereo(), bFM, f);
            ASSERT_EQ(FrequencyText(108, 87, card.State().frequencyMHz), FrequencyText(108, 87, c.Frequency()))
                << "channel " << k;
        }
        c.TuneTo(false, bFM, 108.0);
        EXPECT_EQ(FrequencyText(108, 87, card.State().frequencyMHz), "108.000");
        EXPECT_TRUE(card.State().audioOn);
        EXPECT_EQ(card.State().volumeLevel, 7);

        c.SetStereo(true);
        c.TuneTo(true, bFM, 98.7);
        EXPECT_TRUE(card.State().stereoRequested);
        EXPECT_EQ(c.TunedStatus(0), 1);
        c.TuneTo(true, bFM, 94.0);
        EXPECT_EQ(c.TunedStatus(0), 0);
        c.SetStereo(false);
        c.TuneTo(false, bFM, 101.1);
        EXPECT_EQ(c.TunedStatus(0), 1);

        c.MuteOn();
        EXPECT_FALSE(card.State().audioOn);
        c.MuteOff();
        EXPECT_TRUE(card.State().audioOn);
    }
}

TEST(ZoltrixPortZero, SendsNothing) {
    CardRig rig;
    rig.card->SetModel(mZoltrix);
    rig.card->SetPort(0);
    rig.card->Open();
    rig.card->TuneTo(false, bFM, 99.0);
    rig.card->ApplyVolume(128);
    rig.card->MuteOn();
    EXPECT_EQ(rig.card->TunedStatus(0), 0);
    EXPECT_TRUE(rig.ports.log.empty());
}

} // namespace
} // namespace tunevox::radio
