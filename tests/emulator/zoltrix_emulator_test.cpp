#include "emulator/zoltrix_emulator.h"

#include <gtest/gtest.h>

#include <bitset>
#include <string>

namespace tunevox::emulator {
namespace {

constexpr uint16_t P = 0x20C;

void Write(ZoltrixEmulator& card, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) card.PortWrite(P, b);
}

// A frame by hand: audio off, start, one triple a bit, end; then, unless
// muted, the volume byte and the audio-on read.
void Send(ZoltrixEmulator& card, const std::string& bits, int volume = -1) {
    Write(card, {0, 0});
    card.PortRead(P + 3);
    Write(card, {0x40, 0xC0});
    for (char b : bits) b == '1' ? Write(card, {0x80, 0x00, 0x80}) : Write(card, {0xC0, 0x40, 0xC0});
    Write(card, {0x80, 0xC0, 0x40});
    if (volume >= 0) {
        card.PortWrite(P, static_cast<uint8_t>(volume));
        card.PortRead(P + 2);
    }
}

std::string Frame(unsigned w, bool stereo) {
    return "110001001" + std::bitset<8>(w & 0xFF).to_string() + "1" + std::bitset<8>(w >> 8).to_string() + "101100" +
           (stereo ? "1" : "0") + "001" + "00000000" + "1";
}

struct Rig {
    StationList stations{{{Band::FM, 98.7, true, "Stereo"}, {Band::FM, 101.1, false, "Mono"}}};
    ZoltrixEmulator card{P, stations};
};

TEST(ZoltrixEmulator, DecodesTheFrameAndSwitchesAudioByReads) {
    Rig r;
    const std::string f8805 = "110001001" "00011100" "1" "01001101" "101100" "1" "001" "00000000" "1";
    Send(r.card, f8805, 15);
    ReceiverState s = r.card.State();
    EXPECT_DOUBLE_EQ(s.frequencyMHz, 88.05);
    EXPECT_TRUE(s.stereoRequested);
    EXPECT_TRUE(s.audioOn);
    EXPECT_EQ(s.volumeLevel, 15);
    EXPECT_EQ(r.card.LastFrame(), std::bitset<45>(f8805).to_ullong());

    Send(r.card, Frame(0x4C4A, false), 0);
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 87.0);
    EXPECT_FALSE(r.card.State().stereoRequested);
    EXPECT_EQ(r.card.State().volumeLevel, 0);
    EXPECT_TRUE(r.card.State().audioOn) << "level 0 is the quietest audible one";

    Send(r.card, Frame(0x5CB2, true)); // tuned while muted: no volume write follows
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 108.0);
    EXPECT_FALSE(r.card.State().audioOn);
    r.card.PortWrite(P, 9);
    r.card.PortRead(P);
    EXPECT_EQ(r.card.State().volumeLevel, 9);
    EXPECT_FALSE(r.card.State().audioOn) << "a volume change does not unmute";
    r.card.PortRead(P + 2);
    EXPECT_TRUE(r.card.State().audioOn);
    EXPECT_EQ(r.card.FramesDecoded(), 3);
    EXPECT_EQ(r.card.MalformedFrames(), 0);
}

TEST(ZoltrixEmulator, StatusDependsOnTheModeAskedFor) {
    Rig r;
    EXPECT_EQ(r.card.PortRead(P), 0xFF) << "not tuned yet";
    struct Case { unsigned w; bool stereo; uint8_t status; } cases[] = {
        {21870, true, 0xEF},  // 98.7
        {21870, false, 0xDF},
        {22350, true, 0xEF},  // 101.1, a mono station
        {20930, true, 0xFF},  // 94.0, nothing
        {20930, false, 0xFF},
    };
    for (const Case& c : cases) {
        Send(r.card, Frame(c.w, c.stereo), 4);
        EXPECT_EQ(r.card.PortRead(P), c.status) << c.w << (c.stereo ? " stereo" : " mono");
        EXPECT_EQ(r.card.PortRead(P), c.status) << "a second read answers the same";
    }
}

TEST(ZoltrixEmulator, MalformedFramesDoNotTune) {
    Rig r;
    Send(r.card, Frame(0x4D1C, true), 3);
    const std::string good = Frame(22130, true); // 100.0
    Send(r.card, good.substr(0, 44));
    Send(r.card, good + "0");
    std::string wrongFixed = good;
    wrongFixed[40] = '1';
    Send(r.card, wrongFixed);
    Send(r.card, Frame(2000, true)); // W below 0 MHz
    Write(r.card, {0, 0, 0x40, 0xC0, 0x80, 0x00, 0x80, 0x80, 0x00, 0x00}); // broken triple
    Write(r.card, {0x80, 0xC0, 0x13, 0x40}); // stray bytes outside a frame
    EXPECT_EQ(r.card.MalformedFrames(), 5);
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 88.05);
    Send(r.card, good, 3);
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 100.0);
}

} // namespace
} // namespace tunevox::emulator
