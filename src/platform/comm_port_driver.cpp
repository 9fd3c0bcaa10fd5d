#include "comm_port_driver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "serial_line_settings.h"
#include "trace.h"

namespace tunevox::platform {

namespace {

using Clock = std::chrono::steady_clock;

// A reply that never falls silent (a babbling or broken device) must not
// hold the caller forever: collecting stops after this many input timeouts
// in total, or when the input buffer size is reached.
constexpr unsigned kReplyTimeoutsAtMost = 10;

// Milliseconds left until the deadline, rounded up so a wait never ends
// before the deadline; 0 once it has passed.
int MsLeft(Clock::time_point deadline) {
    auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<decltype(ms)>(ms, 1 << 30));
}

// Waits until fd reports one of the events or the deadline passes; EINTR
// does not restart the clock. Returns the reported events, 0 on timeout.
short WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        int r = ::poll(&p, 1, MsLeft(deadline));
        if (r > 0) return p.revents;
        if (r == 0) return 0;
        if (errno != EINTR) return POLLERR;
    }
}

// A plain pause that still honours the deadline.
void PauseUntil(Clock::time_point until) {
    while (int ms = MsLeft(until)) ::poll(nullptr, 0, ms);
}

int OpenDevice(const std::string& path) {
    int fd;
    do {
        // Non-blocking: a real port without carrier would otherwise hang the
        // open; no controlling terminal is taken.
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Takes the device for this open file alone. flock keeps out every other
// open (root included, within this process too); TIOCEXCL additionally
// makes the kernel refuse opens by other programs that do not lock.
// A device already held exclusively by someone else counts as taken.
bool TakeExclusive(int fd) {
    int already = 0;
    if (::ioctl(fd, TIOCGEXCL, &already) == 0 && already != 0) return false;
    int r;
    do r = ::flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    if (r != 0) return false;
    ::ioctl(fd, TIOCEXCL);
    return true;
}

void CloseDevice(int fd, bool releaseExclusive) {
    // The exclusive flag lives on the terminal, not on this open file; a
    // pseudo-terminal kept open by its other side would stay locked for
    // the next open otherwise.
    if (releaseExclusive) ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

bool StandardSpeed(TComPortBaudRate rate, speed_t& speed, unsigned& custom) {
    custom = 0;
    switch (rate) {
    case br110: speed = B110; return true;
    case br300: speed = B300; return true;
    case br600: speed = B600; return true;
    case br1200: speed = B1200; return true;
    case br2400: speed = B2400; return true;
    case br4800: speed = B4800; return true;
    case br9600: speed = B9600; return true;
    case br14400: speed = B9600; custom = 14400; return true;
    case br19200: speed = B19200; return true;
    case br38400: speed = B38400; return true;
    case br56000: speed = B57600; custom = 56000; return true;
    case br57600: speed = B57600; return true;
    case br115200: speed = B115200; return true;
    }
    return false;
}

void SetModemLine(int fd, int line, bool on) {
    // A pseudo-terminal has no modem lines (ENOTTY/EINVAL); that is fine.
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

} // namespace

bool detail::BuildLineSettings(const TCommPortDriver& d, termios& t, unsigned& customRate) {
    speed_t speed = B9600;
    if (!StandardSpeed(d.ComPortSpeed, speed, customRate)) return false;
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0) return false;

    // Binary mode: no input or output translation, no echo, no signals.
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    // Modem status lines are ignored; the radios have no carrier detect.
    // The lines drop when the port is closed, as they do on other systems.
    t.c_cflag |= CREAD | CLOCAL | HUPCL;

    switch (d.ComPortDataBits) {
    case db5BITS: t.c_cflag |= CS5; break;
    case db6BITS: t.c_cflag |= CS6; break;
    case db7BITS: t.c_cflag |= CS7; break;
    case db8BITS: t.c_cflag |= CS8; break;
    default: return false;
    }
    switch (d.ComPortParity) {
    case ptNONE: break;
    case ptODD: t.c_cflag |= PARENB | PARODD; break;
    case ptEVEN: t.c_cflag |= PARENB; break;
    case ptMARK: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case ptSPACE: t.c_cflag |= PARENB | CMSPAR; break;
    default: return false;
    }
    switch (d.ComPortStopBits) {
    case sb1BITS: break;
    // The UART sends one and a half stop bits for the two-stop-bit setting
    // when words are five bits long; termios has no separate value.
    case sb1HALFBITS:
    case sb2BITS: t.c_cflag |= CSTOPB; break;
    default: return false;
    }
    switch (d.ComPortHwHandshaking) {
    case hhNONE:
    case hhNONERTSON: break;
    case hhRTSCTS: t.c_cflag |= CRTSCTS; break;
    default: return false;
    }
    switch (d.ComPortSwHandshaking) {
    case shNONE: break;
    case shXONXOFF:
        t.c_iflag |= IXON | IXOFF;
        t.c_cc[VSTART] = 0x11;
        t.c_cc[VSTOP] = 0x13;
        break;
    default: return false;
    }
    // The descriptor is non-blocking, so reads return at once; VMIN 1 makes
    // "nothing yet" EAGAIN rather than 0. The driver's own loops wait.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return true;
}

TCommPortDriver::TCommPortDriver(const ComPortMap& map, TraceSink* trace) : map_(map), trace_(trace) {}

TCommPortDriver::~TCommPortDriver() { ClosePort(); }

void TCommPortDriver::SetComPort(TComPortNumber port) {
    if (IsOpen()) return;
    if (port < pnCOM1 || port > pnCOM16) return;
    comPort_ = port;
}

bool TCommPortDriver::OpenPort() {
    if (IsOpen()) return true;
    const int comNumber = static_cast<int>(comPort_) + 1;
    devicePath_ = map_.DevicePath(comNumber);

    lastOpenError_ = 0;
    int fd = OpenDevice(devicePath_);
    if (fd < 0) {
        lastOpenError_ = errno;
        return false;
    }
    termios t{};
    // Not a terminal (a plain file, a directory's device node): no port.
    if (::tcgetattr(fd, &t) != 0) {
        lastOpenError_ = errno != 0 ? errno : ENOTTY;
        CloseDevice(fd, false);
        return false;
    }
    if (!TakeExclusive(fd)) {
        lastOpenError_ = EBUSY;
        CloseDevice(fd, false);
        return false;
    }
    // A pseudo-terminal accepts the settings but forces eight data bits and
    // no parity; that is no reason to refuse it.
    unsigned customRate = 0;
    errno = 0;
    bool ok = detail::BuildLineSettings(*this, t, customRate);
    if (!ok) errno = EINVAL;
    if (ok) {
        int r;
        do r = ::tcsetattr(fd, TCSANOW, &t);
        while (r != 0 && errno == EINTR);
        ok = r == 0;
    }
    if (ok && customRate != 0) ok = detail::SetArbitraryLineSpeed(fd, customRate);
    if (!ok) {
        lastOpenError_ = errno != 0 ? errno : EINVAL;
        CloseDevice(fd, true);
        return false;
    }
    // Linux keeps its own fixed-size tty queues; ComPortInBufSize and
    // ComPortOutBufSize bound what the driver reads and queues instead.
    ::tcflush(fd, TCIOFLUSH);
    SetModemLine(fd, TIOCM_DTR, EnableDTROnOpen);
    SetModemLine(fd, TIOCM_RTS, ComPortHwHandshaking != hhNONE);

    fd_ = fd;
    if (trace_) trace_->Open(comNumber, devicePath_);
    return true;
}

void TCommPortDriver::ClosePort() {
    if (!IsOpen()) return;
    // close() of a real port waits for pending output to drain, for up to
    // half a minute when flow control holds it back. Give it OutputTimeout,
    // then drop the rest so closing is bounded.
    // Only output still pending when that time has run out is dropped: a
    // pseudo-terminal has no output queue of its own (TIOCOUTQ is 0), and
    // flushing its output would empty the other side's unread input, so
    // the last commands would never reach the radio.
    auto deadline = Clock::now() + std::chrono::milliseconds(OutputTimeout);
    for (;;) {
        int pending = 0;
        if (::ioctl(fd_, TIOCOUTQ, &pending) != 0 || pending <= 0) break;
        if (MsLeft(deadline) == 0) {
            ::tcflush(fd_, TCOFLUSH);
            break;
        }
        PauseUntil(std::min(deadline, Clock::now() + std::chrono::milliseconds(5)));
    }
    CloseDevice(fd_, true);
    fd_ = -1;
    if (trace_) trace_->Close(static_cast<int>(comPort_) + 1);
}

size_t TCommPortDriver::WriteBytes(const uint8_t* bytes, size_t count) {
    if (!IsOpen() || bytes == nullptr || count == 0) return 0;
    const auto timeout = std::chrono::milliseconds(OutputTimeout);
    const auto pollStep = std::chrono::milliseconds(std::max(1u, ComPortPollingDelay));
    auto deadline = Clock::now() + timeout;
    size_t sent = 0;
    while (sent < count) {
        // Chunks no larger than the free part of the output queue.
        size_t room = count - sent;
        if (ComPortOutBufSize != 0) {
            int queued = 0;
            if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued < 0) queued = 0;
            size_t free = queued >= ComPortOutBufSize ? 0 : ComPortOutBufSize - static_cast<size_t>(queued);
            room = std::min(room, free);
        }
        if (room == 0) {
            if (MsLeft(deadline) == 0) break;
            PauseUntil(std::min(deadline, Clock::now() + pollStep));
            continue;
        }
        ssize_t n = ::write(fd_, bytes + sent, room);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            deadline = Clock::now() + timeout; // progress: the timeout starts again
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break; // line gone
        short ev = WaitFor(fd_, POLLOUT, deadline);
        if (ev == 0 || (ev & (POLLERR | POLLHUP | POLLNVAL))) break;
    }
    if (trace_ && sent > 0) trace_->SerialTx(bytes, sent);
    return sent;
}

bool TCommPortDriver::ReadByte(uint8_t& out) {
    if (!IsOpen()) return false;
    auto deadline = Clock::now() + std::chrono::milliseconds(InputTimeout);
    bool readable = false;
    for (;;) {
        ssize_t n = ::read(fd_, &out, 1);
        if (n == 1) return true;
        if (n < 0 && errno == EINTR) continue;
        // Nothing yet: wait. Any other error, or end of file on a line that
        // poll called readable (a hangup), means no byte will come.
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (n == 0 && readable) return false;
        short ev = WaitFor(fd_, POLLIN, deadline);
        if (!(ev & POLLIN)) return false;
        readable = true;
    }
}

std::string TCommPortDriver::ReadAll() {
    if (!IsOpen()) return {};
    const size_t cap = ComPortInBufSize != 0 ? ComPortInBufSize : 2048;
    const auto silence = std::chrono::milliseconds(InputTimeout);
    const auto hardStop = Clock::now() + silence * kReplyTimeoutsAtMost;
    std::string reply;
    std::vector<uint8_t> chunk(256);
    auto quietUntil = Clock::now() + silence;
    bool readable = false;
    while (reply.size() < cap) {
        size_t want = std::min(chunk.size(), cap - reply.size());
        ssize_t n = ::read(fd_, chunk.data(), want);
        if (n > 0) {
            reply.append(reinterpret_cast<const char*>(chunk.data()), static_cast<size_t>(n));
            quietUntil = Clock::now() + silence;
            readable = false;
            if (Clock::now() >= hardStop) break;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;
        if (n == 0 && readable) break; // hangup
        short ev = WaitFor(fd_, POLLIN, std::min(quietUntil, hardStop));
        if (!(ev & POLLIN)) break;
        readable = true;
    }
    if (trace_) trace_->SerialRx(reinterpret_cast<const uint8_t*>(reply.data()), reply.size());
    return reply;
}

void TCommPortDriver::DiscardBuffers(bool input, bool output) {
    if (!IsOpen() || (!input && !output)) return;
    ::tcflush(fd_, input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH);
}

void TCommPortDriver::SetDtrLine(bool on) {
    if (IsOpen()) SetModemLine(fd_, TIOCM_DTR, on);
}

void TCommPortDriver::SetRtsLine(bool on) {
    if (IsOpen()) SetModemLine(fd_, TIOCM_RTS, on);
}

bool ComPortFree(const ComPortMap& map, int comNumber) {
    if (comNumber < 1 || comNumber > 16) return false;
    int fd = OpenDevice(map.DevicePath(comNumber));
    if (fd < 0) return false;
    termios t{};
    bool free = ::tcgetattr(fd, &t) == 0;
    if (free) {
        int already = 0;
        if (::ioctl(fd, TIOCGEXCL, &already) == 0 && already != 0) free = false;
    }
    if (free) {
        int r;
        do r = ::flock(fd, LOCK_EX | LOCK_NB);
        while (r != 0 && errno == EINTR);
        free = r == 0;
    }
    ::close(fd); // releases the lock too
    return free;
}

} // namespace tunevox::platform
