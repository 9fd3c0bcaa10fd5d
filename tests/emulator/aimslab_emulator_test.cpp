#include "emulator/aimslab_emulator.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tunevox::emulator {
namespace {

constexpr uint16_t P = 0x30C;

// The card's serial form written out by hand: "0" is 1,1,3,3 and "1" is
// 5,5,7,7, first character first; then 0 and the audio-on byte.
void ShiftIn(AimsLabEmulator& card, const std::string& bits) {
    static constexpr std::array<uint8_t, 4> kZero{1, 1, 3, 3}, kOne{5, 5, 7, 7};
    for (char b : bits)
        for (uint8_t v : b == '1' ? kOne : kZero) card.PortWrite(P, v);
    card.PortWrite(P, 0);
    card.PortWrite(P, 0xD8);
}

std::string LsbFirst(uint32_t word) {
    std::string s;
    for (int i = 0; i < 24; ++i) s += (word >> i) & 1 ? '1' : '0';
    return s;
}

struct Rig {
    platform::VirtualSleeper clock;
    StationList stations{{{Band::FM, 98.7, true, "Stereo"}, {Band::FM, 101.1, false, "Mono"}}};
    AimsLabEmulator card{P, clock, stations};
};

TEST(AimsLabEmulator, DecodesTheTuningWordAndSwitchesAudio) {
    Rig r;
    EXPECT_EQ(r.card.PortRead(P), 0xFF) << "not tuned yet";
    ShiftIn(r.card, "000110101111000000000101"); // 87.5 MHz, 0xA00F58
    EXPECT_EQ(r.card.LastWord(), 0xA00F58u);
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 87.5);
    EXPECT_TRUE(r.card.State().audioOn);
    ShiftIn(r.card, LsbFirst(0xA0128C));
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 108.0);
    EXPECT_EQ(r.card.TuningsDecoded(), 2);
    r.card.PortWrite(P, 0);
    r.card.PortWrite(P, 0xD0);
    EXPECT_FALSE(r.card.State().audioOn);
    r.card.PortWrite(P + 1, 0xD8);
    EXPECT_FALSE(r.card.State().audioOn) << "only the card's own port counts";
}

TEST(AimsLabEmulator, MalformedWordsKeepThePreviousTuning) {
    Rig r;
    ShiftIn(r.card, LsbFirst(0xA00F58));
    const std::string good = LsbFirst(0xA0128C);
    ShiftIn(r.card, good.substr(0, 23));          // too short
    ShiftIn(r.card, good + "0");                  // too long
    ShiftIn(r.card, LsbFirst(0xB0128C));          // no 0xA0 marker
    ShiftIn(r.card, LsbFirst(0xA00001));          // below the 10.7 MHz offset
    for (char b : good.substr(0, 10)) {           // cut short by a volume key
        r.card.PortWrite(P, b == '1' ? 5 : 1);
        r.card.PortWrite(P, b == '1' ? 7 : 3);
    }
    r.card.PortWrite(P, 0xC8);
    EXPECT_EQ(r.card.MalformedSequences(), 5);
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 87.5);
    ShiftIn(r.card, good);
    EXPECT_DOUBLE_EQ(r.card.State().frequencyMHz, 108.0) << "a good word after garbage still tunes";
}

TEST(AimsLabEmulator, VolumeFollowsHowLongTheKeyIsHeld) {
    Rig r;
    auto hold = [&](uint8_t key, uint64_t ms) {
        r.card.PortWrite(P, key);
        r.clock.Advance(ms);
        r.card.PortWrite(P, 0xC8);
    };
    hold(0x88, 750);
    EXPECT_EQ(r.card.State().volumeLevel, 6);
    hold(0x88, 120); // a clock a little short still makes one step
    EXPECT_EQ(r.card.State().volumeLevel, 7);
    hold(0x88, 5000);
    EXPECT_EQ(r.card.State().volumeLevel, 16) << "stops at the top";
    hold(0x48, 125);
    EXPECT_EQ(r.card.State().volumeLevel, 15) << "counts down from the top, not from the overshoot";

    r.card.PortWrite(P, 0x48);
    r.clock.Advance(500);
    EXPECT_TRUE(r.card.VolumeKeyHeld());
    EXPECT_EQ(r.card.State().volumeLevel, 11) << "a held key shows its progress";
    r.card.PortWrite(P, 0x48); // repeating the key does not restart it
    r.clock.Advance(500);
    r.card.PortWrite(P, 0); // any other byte releases it
    r.clock.Advance(1000);
    EXPECT_FALSE(r.card.VolumeKeyHeld());
    EXPECT_EQ(r.card.State().volumeLevel, 7);
    hold(0x48, 2000);
    EXPECT_EQ(r.card.State().volumeLevel, 0);
}

TEST(AimsLabEmulator, StatusByteTellsStereoMonoAndNothing) {
    Rig r;
    struct Case { uint32_t word; uint8_t status; } cases[] = {
        {0xA00000 + 428 + 3948, 0xFD}, // 98.7, stereo station
        {0xA00000 + 428 + 3951, 0xFE}, // 98.775: heard, too far off for stereo
        {0xA00000 + 428 + 4044, 0xFE}, // 101.1, mono station
        {0xA00000 + 428 + 3760, 0xFF}, // 94.0, nothing
    };
    for (const Case& c : cases) {
        ShiftIn(r.card, LsbFirst(c.word));
        // The status request around the read changes nothing else.
        for (uint8_t v : {0xF8, 0x00, 0xD8}) r.card.PortWrite(P, v);
        EXPECT_EQ(r.card.PortRead(P), c.status) << std::hex << c.word;
        for (uint8_t v : {0xE8, 0x00, 0xD8}) r.card.PortWrite(P, v);
        EXPECT_EQ(r.card.MalformedSequences(), 0);
    }
    EXPECT_EQ(r.card.PortRead(P + 1), 0xFF);
}

} // namespace
} // namespace tunevox::emulator
