#include "port_bus.h"

#include <algorithm>

namespace tunevox::emulator {

bool PortBus::Attach(uint16_t base, uint16_t count, platform::IPortIO& device) {
    const uint32_t begin = base;
    const uint32_t end = begin + count;
    if (count == 0 || end > 0x10000u) return false;
    for (const Range& r : ranges_)
        if (begin < r.end && r.base < end) return false;
    ranges_.push_back({begin, end, &device});
    return true;
}

void PortBus::Detach(const platform::IPortIO& device) {
    std::erase_if(ranges_, [&](const Range& r) { return r.device == &device; });
}

platform::IPortIO* PortBus::DeviceAt(uint16_t port) const {
    for (const Range& r : ranges_)
        if (port >= r.base && port < r.end) return r.device;
    return nullptr;
}

void PortBus::PortWrite(uint16_t port, uint8_t value) {
    if (platform::IPortIO* d = DeviceAt(port)) d->PortWrite(port, value);
}

uint8_t PortBus::PortRead(uint16_t port) {
    if (platform::IPortIO* d = DeviceAt(port)) return d->PortRead(port);
    return 0xFF;
}

} // namespace tunevox::emulator
