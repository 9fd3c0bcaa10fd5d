#include "emulator/port_bus.h"

#include <gtest/gtest.h>

#include <vector>

#include "emulator/aimslab_emulator.h"
#include "emulator/aztech_emulator.h"

namespace tunevox::emulator {
namespace {

struct Recorder final : platform::IPortIO {
    std::vector<std::pair<uint16_t, uint8_t>> writes;
    std::vector<uint16_t> reads;
    void PortWrite(uint16_t port, uint8_t value) override { writes.push_back({port, value}); }
    uint8_t PortRead(uint16_t port) override {
        reads.push_back(port);
        return static_cast<uint8_t>(port & 0xFF);
    }
};

TEST(PortBus, RoutesAbsolutePortsWithinEachRange) {
    PortBus bus;
    Recorder a, b;
    ASSERT_TRUE(bus.Attach(0x350, 8, a));
    ASSERT_TRUE(bus.Attach(0x30C, 1, b));
    bus.PortWrite(0x350, 1);
    bus.PortWrite(0x357, 2);
    bus.PortWrite(0x358, 3); // just past the range
    bus.PortWrite(0x30C, 4);
    bus.PortWrite(0x30D, 5);
    EXPECT_EQ(a.writes, (std::vector<std::pair<uint16_t, uint8_t>>{{0x350, 1}, {0x357, 2}}));
    EXPECT_EQ(b.writes, (std::vector<std::pair<uint16_t, uint8_t>>{{0x30C, 4}}));
    EXPECT_EQ(bus.PortRead(0x353), 0x53);
    EXPECT_EQ(bus.PortRead(0x34F), 0xFF);
    EXPECT_EQ(a.reads, (std::vector<uint16_t>{0x353}));

    bus.Detach(a);
    EXPECT_EQ(bus.PortRead(0x353), 0xFF);
    EXPECT_EQ(bus.DeviceAt(0x30C), &b);
}

TEST(PortBus, RefusesConflictingOrImpossibleRanges) {
    PortBus bus;
    Recorder a, b;
    ASSERT_TRUE(bus.Attach(0x30C, 4, a));
    EXPECT_FALSE(bus.Attach(0x30F, 1, b)) << "overlaps the last port";
    EXPECT_FALSE(bus.Attach(0x300, 0x10, b)) << "covers the whole range";
    EXPECT_FALSE(bus.Attach(0x308, 5, b)) << "overlaps the first port";
    EXPECT_FALSE(bus.Attach(0x400, 0, b));
    EXPECT_FALSE(bus.Attach(0xFFFF, 2, b)) << "would wrap past the top port";
    EXPECT_TRUE(bus.Attach(0xFFFF, 1, b));
    EXPECT_TRUE(bus.Attach(0x310, 1, b)) << "adjacent is fine";
    EXPECT_EQ(bus.DeviceAt(0x30F), &a);
}

TEST(PortBus, TwoEmulatedCardsDoNotHearEachOther) {
    platform::VirtualSleeper clock;
    StationList stations{{{Band::FM, 98.7, true, "Stereo"}}};
    AimsLabEmulator aims(0x30C, clock, stations);
    AztechEmulator aztech(0x358, stations);
    PortBus bus;
    ASSERT_TRUE(bus.Attach(0x30C, AimsLabEmulator::kPortSpan, aims));
    ASSERT_TRUE(bus.Attach(0x358, AztechEmulator::kPortSpan, aztech));
    bus.PortWrite(0x30C, 0xD8);
    bus.PortWrite(0x358, 0x05);
    EXPECT_TRUE(aims.State().audioOn);
    EXPECT_EQ(aztech.State().volumeLevel, 3);
    EXPECT_EQ(bus.PortRead(0x35F), 0xFF);
    EXPECT_EQ(bus.PortRead(0x30C), 0xFF);
}

} // namespace
} // namespace tunevox::emulator
