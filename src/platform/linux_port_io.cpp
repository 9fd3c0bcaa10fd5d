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

bool tPortAccessError::PermissionDenied() const {
    auto denied = [](int e) { return e == EPERM || e == EACCES; };
    return denied(ioperm) || denied(devPort);
}

bool tPortAccessError::Unsupported() const {
    if (invalidRange || PermissionDenied()) return false;
    auto missing = [](int e) { return e == 0 || e == ENOSYS || e == ENOENT || e == ENODEV || e == ENXIO; };
    return missing(ioperm) && missing(devPort) && (ioperm != 0 || devPort != 0);
}

std::string tPortAccessError::Text() const {
    if (invalidRange) return "invalid port range";
    std::string s;
    if (ioperm != 0) s = std::string("ioperm: ") + std::strerror(ioperm);
    if (devPort != 0) {
        if (!s.empty()) s += "; ";
        s += std::string("/dev/port: ") + std::strerror(devPort);
    }
    return s;
}

LinuxPortIO::~LinuxPortIO() { Release(); }

bool LinuxPortIO::Acquire(uint16_t base, unsigned count, tPortAccessError* why) {
    Release();
    lastError_ = {};
    if (count == 0 || base + count > 0x10000) {
        lastError_.invalidRange = true;
        if (why) *why = lastError_;
        return false;
    }
    lastError_.ioperm = ENOSYS;
#ifdef TUNEVOX_HAVE_IOPERM
    if (options_.useIoperm) {
        if (ioperm(base, count, 1) == 0) {
            mode_ = Mode::IoPerm;
            base_ = base;
            count_ = count;
            lastError_ = {};
            return true;
        }
        lastError_.ioperm = errno;
    }
#endif
    int fd;
    do fd = ::open(options_.devPortPath.c_str(), O_RDWR | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
        devPortFd_ = fd;
        mode_ = Mode::DevPort;
        base_ = base;
        count_ = count;
        lastError_ = {};
        return true;
    }
    lastError_.devPort = errno;
    if (why) *why = lastError_;
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
    base_ = 0;
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

bool OpenPortDriver(uint16_t base, unsigned count, tPortAccessError* why) {
    LinuxPortIO io;
    return io.Acquire(base, count, why);
}

} // namespace tunevox::platform
