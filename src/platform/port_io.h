#pragma once
// Byte-wide access to processor I/O ports, the only channel the ISA cards
// are reached through. Every protocol sequence goes through this seam so a
// test or an emulator can stand in for the hardware.

#include <cstdint>

namespace tunevox::platform {

class IPortIO {
public:
    virtual ~IPortIO() = default;
    virtual void PortWrite(uint16_t port, uint8_t value) = 0;
    virtual uint8_t PortRead(uint16_t port) = 0;
};

} // namespace tunevox::platform
