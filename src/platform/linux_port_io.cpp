#include "linux_port_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define TUNEVOX_HAVE_IOPERM 1
#endif

namespace tunevox::platform {

LinuxPortIO::~LinuxPortIO() { Release(); }

bool LinuxPortIO::Acquire(uint16_t base, unsigned count) {
    Release();
    error_.clear();
    if (count == 0 || base + count > 0x10000) {
        error_ = "invalid port range";
        return false;
    }
#ifdef TUNEVOX_HAVE_IOPERM
    if (ioperm(base, count, 1) == 0) {
        mode_ = Mode::IoPerm;
        base_ = base;
        count_ = count;
        return true;
    }
    std::string iopermError = std::strerror(errno);
#else
    std::string iopermError = "ioperm is not available on this processor";
#endif
    int fd = ::open("/dev/port", O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        devPortFd_ = fd;
        mode_ = Mode::DevPort;
        base_ = base;
        count_ = count;
        return true;
    }
    error_ = "ioperm: " + iopermError + "; /dev/port: " + std::strerror(errno);
    return false;
}

void LinuxPortIO::Release() {
#ifdef TUNEVOX_HAVE_IOPERM
    if (mode_ == Mode::IoPerm) ioperm(base_, count_, 0);
#endif
    if (devPortFd_ >= 0) {
        ::close(devPortFd_);
        devPortFd_ = -1;
    }
    mode_ = Mode::None;
    count_ = 0;
}

void LinuxPortIO::PortWrite(uint16_t port, uint8_t value) {
    if (!InRange(port)) return;
    switch (mode_) {
    case Mode::IoPerm:
#ifdef TUNEVOX_HAVE_IOPERM
        outb(value, port);
#endif
        break;
    case Mode::DevPort:
        while (::pwrite(devPortFd_, &value, 1, port) < 0 && errno == EINTR) {
        }
        break;
    case Mode::None:
        break;
    }
}

uint8_t LinuxPortIO::PortRead(uint16_t port) {
    if (!InRange(port)) return 0xFF;
    uint8_t value = 0xFF;
    switch (mode_) {
    case Mode::IoPerm:
#ifdef TUNEVOX_HAVE_IOPERM
        value = inb(port);
#endif
        break;
    case Mode::DevPort:
        while (::pread(devPortFd_, &value, 1, port) < 0 && errno == EINTR) {
        }
        break;
    case Mode::None:
        break;
    }
    return value;
}

bool OpenPortDriver(uint16_t base, unsigned count, std::string* reason) {
    LinuxPortIO io;
    bool ok = io.Acquire(base, count);
    if (!ok && reason) *reason = io.Error();
    return ok;
}

} // namespace tunevox::platform
