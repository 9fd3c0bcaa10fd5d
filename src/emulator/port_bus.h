#pragma once
// The emulated ISA bus: a set of devices, each answering a range of I/O
// ports. The card component writes to the bus exactly as it would to the
// real ports, so whatever reaches an emulated card went through the same
// IPortIO seam as on real hardware.

#include <cstdint>
#include <vector>

#include "platform/port_io.h"

namespace tunevox::emulator {

class PortBus final : public platform::IPortIO {
public:
    // Routes the ports [base, base + count) to device, which is handed the
    // absolute port number. Returns false and attaches nothing when count
    // is 0, the range runs past port 0xFFFF, or it overlaps a range that is
    // already attached (two cards on one address would be a conflict, not
    // something to resolve silently). The device must outlive the bus or
    // be detached first.
    bool Attach(uint16_t base, uint16_t count, platform::IPortIO& device);

    // Removes every range routed to device.
    void Detach(const platform::IPortIO& device);

    // The device answering port, or null.
    platform::IPortIO* DeviceAt(uint16_t port) const;

    // Writes to unattached ports are dropped; reads from them give 0xFF,
    // which is what an empty ISA bus floats to.
    void PortWrite(uint16_t port, uint8_t value) override;
    uint8_t PortRead(uint16_t port) override;

private:
    struct Range {
        uint32_t base;
        uint32_t end; // one past the last port
        platform::IPortIO* device;
    };
    std::vector<Range> ranges_;
};

} // namespace tunevox::emulator
