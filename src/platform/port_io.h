#pragma once
// Byte-wide access to processor I/O ports, the only channel the ISA cards
// are reached through. Every protocol sequence goes through this seam so a
// test or an emulator can stand in for the hardware.
//
// Access to the ports is a separate seam: the card asks for exactly its own
// range when it opens (IPortAccess::Acquire) and gives it up when it
// closes. On Linux that access (ioperm) is granted to the calling thread
// only, so the card object and whatever opens it live on one thread.

#include <cstdint>
#include <string>

namespace tunevox::platform {

class IPortIO {
public:
    virtual ~IPortIO() = default;
    virtual void PortWrite(uint16_t port, uint8_t value) = 0;
    virtual uint8_t PortRead(uint16_t port) = 0;
};

// Why access to a port range could not be had. Each field is the errno of
// one way of reaching the ports, 0 when that way was not tried.
struct tPortAccessError {
    int ioperm = 0;  // ioperm(2); ENOSYS when the processor or kernel has none
    int devPort = 0; // opening /dev/port; ENOENT when the kernel has none
    bool invalidRange = false;

    // Some way exists but the process may not use it (EPERM, EACCES): root
    // or CAP_SYS_RAWIO would help.
    bool PermissionDenied() const;
    // Neither way exists on this system (no ioperm, no /dev/port): no
    // permission would help.
    bool Unsupported() const;
    // The system's own texts: "ioperm: Operation not permitted; /dev/port:
    // No such file or directory".
    std::string Text() const;
};

class IPortAccess {
public:
    virtual ~IPortAccess() = default;
    // Obtains access to ports [base, base + count) for the calling thread,
    // giving up any range held before. False when it cannot; `why` (if
    // given) then tells the cause.
    virtual bool Acquire(uint16_t base, unsigned count, tPortAccessError* why) = 0;
    virtual void Release() = 0;
};

} // namespace tunevox::platform
