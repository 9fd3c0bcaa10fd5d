#pragma once
// Direct port I/O on Linux x86. Access is asked for the card's own port
// range only, with ioperm (never iopl, which would open every port and the
// interrupt flag to the process). Where ioperm is not available (not x86,
// or a kernel that refuses it) the ports are reached through /dev/port.
// Both need root or CAP_SYS_RAWIO.

#include <cstdint>
#include <string>

#include "port_io.h"

namespace tunevox::platform {

class LinuxPortIO final : public IPortIO {
public:
    LinuxPortIO() = default;
    ~LinuxPortIO() override;
    LinuxPortIO(const LinuxPortIO&) = delete;
    LinuxPortIO& operator=(const LinuxPortIO&) = delete;

    // Obtains access to ports [base, base + count). Releases a range held
    // before. Returns false, with a reason in Error(), when neither ioperm
    // nor /dev/port gives access.
    bool Acquire(uint16_t base, unsigned count);
    void Release();
    bool HasAccess() const { return mode_ != Mode::None; }
    const std::string& Error() const { return error_; }

    // Writes and reads outside the acquired range are dropped (a read gives
    // 0xFF, as an empty bus would): a card must never reach another device.
    void PortWrite(uint16_t port, uint8_t value) override;
    uint8_t PortRead(uint16_t port) override;

private:
    enum class Mode { None, IoPerm, DevPort };
    bool InRange(uint16_t port) const { return port >= base_ && port < base_ + count_; }
    Mode mode_ = Mode::None;
    uint16_t base_ = 0;
    unsigned count_ = 0;
    int devPortFd_ = -1;
    std::string error_;
};

// Whether the process may reach I/O ports at all: the start-up check that
// stands for "the port-access driver is loaded". Tries the given range and
// releases it again.
bool OpenPortDriver(uint16_t base = 0x30C, unsigned count = 1, std::string* reason = nullptr);

} // namespace tunevox::platform
