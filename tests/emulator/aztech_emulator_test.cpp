#include "emulator/aztech_emulator.h"

#include <gtest/gtest.h>

#include <string>

namespace tunevox::emulator {
namespace {

constexpr uint16_t P = 0x350;

// Bits by hand, first character first: "0" writes L+0x02, L+0x42 and "1"
// writes L+0x82, L+0xC2; then the closing byte.
void ShiftIn(AztechEmulator& card, uint8_t level, const std::string& bits, uint8_t closing) {
    for (char b : bits) {
        card.PortWrite(P, static_cast<uint8_t>(level + (b == '1' ? 0x82 : 0x02)));
        card.PortWrite(P, static_cast<uint8_t>(level + (b == '1' ? 0xC2 : 0x42)));
    }
    card.PortWrite(P, closing);
}

std::string Divider(unsigned g) {
    std::string s;
    for (int i = 0; i < 14; ++i) s += (g >> i) & 1 ? '1' : '0';
    return s;
}

const std::string k875 = "00011010111100"; // 87.5 MHz: g = 3928
const std::string kStereo = "0001100101", kMono = "0000100101";

struct Rig {
    StationList stations{{{Band::FM, 98.7, true, "Stereo"}, {Band::FM, 101.1, false, "Mono"}}};
    AztechEmulator card{P, stations};
};

TEST(AztechEmulator, DecodesTheWordAndTheLevelInEveryByte) {
    Rig r;
    ShiftIn(r.card, 4, k875 + kStereo, 0xC4);
    ReceiverState s = r.card.State();
    EXPECT_DOUBLE_EQ(s.frequencyMHz, 87.5);
    EXPECT_TRUE(s.stereoRequested);
    EXPECT_EQ(s.volumeLevel, 2);
    EXPECT_TRUE(s.audioOn);
    EXPECT_EQ(r.card.LastWord(), 3928u | (0b1010011000u << 14));

    ShiftIn(r.card, 5, Divider(4748) + kMono, 0xC0); // 108.0, tuned while muted
    s = r.card.State();
    EXPECT_DOUBLE_EQ(s.frequencyMHz, 108.0);
    EXPECT_FALSE(s.stereoRequested);
    EXPECT_FALSE(s.audioOn) << "the muted closing byte carries level 0";

    const std::pair<uint8_t, int> levels[] = {{0x01, 1}, {0x04, 2}, {0x05, 3}, {0x00, 0}};
    for (auto [byte, level] : levels) {
        r.card.PortWrite(P, byte);
        r.card.PortWrite(P, byte);
        EXPECT_EQ(r.card.State().volumeLevel, level) << int(byte);
    }
    EXPECT_EQ(r.card.TuningsDecoded(), 2);
    EXPECT_EQ(r.card.MalformedSequences(), 0);
}

TEST(AztechEmulator, MalformedWordsDoNotTune) {
    Rig r;
    ShiftIn(r.card, 1, k875 + kStereo, 0xC1);
    ShiftIn(r.card, 1, Divider(4296) + "0001000101", 0xC1); // a fixed control bit wrong
    ShiftIn(r.card, 1, Divider(4296) + kStereo.substr(1), 0xC1); // 23 bits
    ShiftIn(r.card, 1, Divider(4296) + kStereo, 0x01);           // complete, but not latched
    ShiftIn(r.card, 1, Divider(400) + kStereo, 0xC1);            // below 10.7 MHz
    EXPECT_EQ(r.card.MalformedSequences(), 4);
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 87.5);
    ShiftIn(r.card, 1, Divider(4296) + kStereo, 0xC1);
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 96.7);
}

TEST(AztechEmulator, AllEightPortsAnswerTheSameStatus) {
    Rig r;
    for (uint16_t p = P; p < P + 8; ++p) EXPECT_EQ(r.card.PortRead(p), 0xFF) << "not tuned yet";
    struct Case { unsigned g; const std::string& control; uint8_t status; } cases[] = {
        {4376, kStereo, 0xFC}, // 98.7, stereo station, stereo asked for
        {4376, kMono, 0xFD},   // same station, mono asked for
        {4379, kStereo, 0xFD}, // 98.775: heard, too far off for stereo
        {4472, kStereo, 0xFD}, // 101.1, mono station
        {4188, kStereo, 0xFF}, // 94.0, nothing
    };
    for (const Case& c : cases) {
        ShiftIn(r.card, 0, Divider(c.g) + c.control, 0xC0);
        for (uint16_t p = P; p < P + 8; ++p) ASSERT_EQ(r.card.PortRead(p), c.status) << c.g << " port " << p;
        EXPECT_EQ(r.card.PortRead(P + 8), 0xFF);
        EXPECT_EQ(r.card.PortRead(P - 1), 0xFF);
    }
}

} // namespace
} // namespace tunevox::emulator
