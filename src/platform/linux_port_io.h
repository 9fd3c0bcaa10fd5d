#pragma once
// Direct port I/O on Linux x86. Access is asked for the card's own port
// range only, with ioperm (never iopl, which would open every port and the
// interrupt flag to the process). Where ioperm is not available (not x86,
// or a kernel built without it) or refused, the ports are reached through
// /dev/port. Both need root or CAP_SYS_RAWIO.
//
// ioperm grants access to the calling thread only: Acquire, every port
// operation and Release must run on one thread (the card's).

#include <cstdint>
#include <string>

#include "port_io.h"

namespace tunevox::platform {

class LinuxPortIO final : public IPortIO, public IPortAccess {
public:
    struct Options {
        bool useIoperm = true;              // false: go straight to the device file
        std::string devPortPath = "/dev/port"; // tests use a plain file here
    };
    LinuxPortIO() : LinuxPortIO(Options{}) {}
    explicit LinuxPortIO(Options options) : options_(std::move(options)) {}
    ~LinuxPortIO() override;
    LinuxPortIO(const LinuxPortIO&) = delete;
    LinuxPortIO& operator=(const LinuxPortIO&) = delete;

    // Obtains access to ports [base, base + count). Releases a range held
    // before. Returns false, with the cause in LastError() (and `why`), when
    // neither ioperm nor /dev/port gives access.
    bool Acquire(uint16_t base, unsigned count, tPortAccessError* why = nullptr) override;
    void Release() override;
    bool HasAccess() const { return mode_ != Mode::None; }
    uint16_t Base() const { return base_; }
    unsigned Count() const { return count_; }
    const tPortAccessError& LastError() const { return lastError_; }
    // LastError().Text(), kept for messages.
    std::string Error() const { return lastError_.Text(); }

    // Writes and reads outside the acquired range are dropped (a read gives
    // 0xFF, as an empty bus would): a card must never reach another device.
    void PortWrite(uint16_t port, uint8_t value) override;
    uint8_t PortRead(uint16_t port) override;

private:
    enum class Mode { None, IoPerm, DevPort };
    bool InRange(uint16_t port) const { return port >= base_ && port < base_ + count_; }
    Options options_;
    Mode mode_ = Mode::None;
    uint16_t base_ = 0;
    unsigned count_ = 0;
    int devPortFd_ = -1;
    tPortAccessError lastError_;
};

// Whether the process may reach I/O ports at all: the start-up check that
// stands for "the port-access driver is loaded". Tries the given range and
// releases it again.
bool OpenPortDriver(uint16_t base = 0x30C, unsigned count = 1, tPortAccessError* why = nullptr);

} // namespace tunevox::platform
