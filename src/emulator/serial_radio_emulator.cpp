#include "serial_radio_emulator.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <system_error>

namespace tunevox::emulator {

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint8_t kLead = 0x1D;
constexpr uint8_t kHash = 0x23;

// Command codes, the third byte of a frame.
constexpr uint8_t kAudioOn = 0x01;
constexpr uint8_t kAudioOff = 0x02;
constexpr uint8_t kTunedAnswer = 0x04;
constexpr uint8_t kFMFrequency = 0x05;
constexpr uint8_t kStatusRequest = 0x08;
constexpr uint8_t kAMFrequency = 0x09;

// The tuner's channel grids: FM in 50 kHz steps from 76.0 MHz up to
// 108.0 MHz (one grid for both the Japanese and the wide band), AM in 9 kHz
// steps from 531 kHz to 1620 kHz.
constexpr double kFMBase = 76.0;
constexpr double kFMChannelWidth = 0.05;
constexpr int kFMLastChannel = 640;
constexpr double kAMBase = 0.531;
constexpr double kAMChannelWidth = 0.009;
constexpr int kAMLastChannel = 121;

// Frequencies are kept to the kHz, so 76.0 + 454 × 0.05 reads as 98.7.
double ToKHzGrid(double mhz) { return std::round(mhz * 1000.0) / 1000.0; }

bool MakeRaw(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return false;
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

} // namespace

SerialRadioEmulator::SerialRadioEmulator(const StationList& stations, Options options)
    : stations_(stations), options_(std::move(options)) {
    state_.audioOn = options_.startAudioOn;
}

SerialRadioEmulator::~SerialRadioEmulator() { Stop(); }

bool SerialRadioEmulator::Start() {
    if (thread_.joinable()) return true;
    error_.clear();
    int m = -1, s = -1;
    if (::openpty(&m, &s, nullptr, nullptr, nullptr) != 0) {
        error_ = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    master_ = m;
    slave_ = s;
    char name[128];
    if (::ttyname_r(slave_, name, sizeof name) != 0) {
        error_ = "cannot name the pseudo-terminal";
        Stop();
        return false;
    }
    // The terminal side starts raw so that whatever writes to it before the
    // program's driver has set it up is passed through untouched (no echo
    // back to the radio, no line editing). The master side too.
    int pipeFds[2];
    if (!MakeRaw(slave_) || !MakeRaw(master_) || ::fcntl(master_, F_SETFL, O_NONBLOCK) != 0 ||
        ::fcntl(master_, F_SETFD, FD_CLOEXEC) != 0 || ::fcntl(slave_, F_SETFD, FD_CLOEXEC) != 0 ||
        ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        error_ = std::string("cannot set up the pseudo-terminal: ") + std::strerror(errno);
        Stop();
        return false;
    }
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    devicePath_ = name;
    stage_ = Stage::Idle;
    digits_.clear();
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error& e) {
        error_ = std::string("cannot start the radio thread: ") + e.what();
        Stop();
        return false;
    }
    return true;
}

void SerialRadioEmulator::Stop() {
    if (thread_.joinable()) {
        const char stop = 'q';
        while (::write(wakeWrite_, &stop, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    CloseFd(wakeRead_);
    CloseFd(wakeWrite_);
    CloseFd(master_);
    CloseFd(slave_);
    devicePath_.clear();
}

ReceiverState SerialRadioEmulator::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

size_t SerialRadioEmulator::CommandsDecoded() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

size_t SerialRadioEmulator::StatusRequests() const {
    std::lock_guard lock(mutex_);
    return statusRequests_;
}

bool SerialRadioEmulator::WaitForCommands(size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return commands_ >= n; });
}

void SerialRadioEmulator::Run() {
    uint8_t buf[256];
    for (;;) {
        int timeout = -1;
        if (stage_ != Stage::Idle) {
            auto left = lastByte_ + std::chrono::milliseconds(options_.commandTimeoutMs) - Clock::now();
            timeout = static_cast<int>(std::max<long long>(
                0, std::chrono::ceil<std::chrono::milliseconds>(left).count()));
        }
        pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {master_, POLLIN, 0}};
        int r = ::poll(fds, 2, timeout);
        if (r < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents) return;
        auto now = Clock::now();
        // A command that stopped half way is forgotten, so a later command
        // is not read as its missing digits.
        if (stage_ != Stage::Idle && now - lastByte_ >= std::chrono::milliseconds(options_.commandTimeoutMs)) {
            stage_ = Stage::Idle;
            digits_.clear();
        }
        if (r == 0) continue;
        ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            lastByte_ = now;
            for (ssize_t i = 0; i < n; ++i) Feed(buf[i]);
            continue;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        // EIO: no terminal side is open (the emulator holds one, so this
        // is transient at most). Do not spin on it.
        if (!PauseMs(20)) return;
    }
}

void SerialRadioEmulator::Restart(uint8_t byte) {
    digits_.clear();
    stage_ = byte == kLead ? Stage::Hash1 : Stage::Idle;
}

void SerialRadioEmulator::Feed(uint8_t byte) {
    switch (stage_) {
    case Stage::Idle:
        if (byte == kLead) stage_ = Stage::Hash1;
        break; // anything between frames is line noise
    case Stage::Hash1:
        if (byte == kHash) stage_ = Stage::Code;
        else Restart(byte);
        break;
    case Stage::Code:
        code_ = byte;
        stage_ = Stage::Hash2;
        break;
    case Stage::Hash2:
        if (byte == kHash) {
            stage_ = Stage::Idle;
            Execute(code_);
        } else {
            Restart(byte);
        }
        break;
    case Stage::Digits:
        if (byte >= '0' && byte <= '9') {
            digits_ += static_cast<char>(byte);
            if (digits_.size() == 3) {
                int channel = std::stoi(digits_);
                bool am = code_ == kAMFrequency;
                digits_.clear();
                stage_ = Stage::Idle;
                Tune(am, channel);
            }
        } else {
            // A broken tuning command is dropped; the byte may start the next.
            Restart(byte);
        }
        break;
    }
}

void SerialRadioEmulator::Execute(uint8_t code) {
    switch (code) {
    case kStatusRequest:
        Answer();
        break;
    case kAudioOn:
    case kAudioOff: {
        std::lock_guard lock(mutex_);
        state_.audioOn = code == kAudioOn;
        ++commands_;
        changed_.notify_all();
        break;
    }
    case kFMFrequency:
        stage_ = Stage::Digits;
        digits_.clear();
        break;
    case kAMFrequency:
        // An FM-only radio does not know the command; the digits after it
        // are then stray bytes and ignored as such.
        if (options_.hasAM) {
            stage_ = Stage::Digits;
            digits_.clear();
        }
        break;
    default:
        break; // unknown frame: ignored
    }
}

void SerialRadioEmulator::Tune(bool am, int channel) {
    double f;
    if (am) {
        if (channel > kAMLastChannel) return; // off the dial: ignored
        f = ToKHzGrid(kAMBase + channel * kAMChannelWidth);
    } else {
        if (channel > kFMLastChannel) return;
        f = ToKHzGrid(kFMBase + channel * kFMChannelWidth);
    }
    std::lock_guard lock(mutex_);
    state_.frequencyMHz = f;
    state_.band = am ? Band::AM : Band::FM;
    ++commands_;
    changed_.notify_all();
}

void SerialRadioEmulator::Answer() {
    ReceiverState now;
    {
        std::lock_guard lock(mutex_);
        now = state_;
    }
    bool heard = now.frequencyMHz > 0.0 && stations_.Receive(now.band, now.frequencyMHz, false).station != nullptr;

    if (!options_.silent) {
        std::vector<uint8_t> reply = options_.replyPrefix;
        if (options_.garbage) {
            // Pieces of frames, never the tuned answer itself.
            reply.insert(reply.end(), {kLead, kHash, kLead, kTunedAnswer, kHash, 0xFF, kHash, kTunedAnswer});
        } else if (heard) {
            reply.insert(reply.end(), {kLead, kHash, kTunedAnswer, kHash});
        } else {
            reply.insert(reply.end(), options_.notTunedReply.begin(), options_.notTunedReply.end());
        }
        reply.insert(reply.end(), options_.replySuffix.begin(), options_.replySuffix.end());
        // A stop during the delay leaves the answer unsent.
        if (PauseMs(options_.replyDelayMs)) Send(reply);
    }
    std::lock_guard lock(mutex_);
    ++statusRequests_;
    ++commands_;
    changed_.notify_all();
}

// Writes the bytes to the program side, one by one when a gap is wanted.
// Nobody reading leaves them queued on the terminal until its input queue
// is full; the rest is then dropped, as a radio's answer into a closed
// port would be. False when a stop was requested meanwhile.
bool SerialRadioEmulator::Send(const std::vector<uint8_t>& bytes) {
    size_t step = options_.replyByteGapMs > 0 ? 1 : bytes.size();
    for (size_t i = 0; i < bytes.size(); i += step) {
        if (i > 0 && !PauseMs(options_.replyByteGapMs)) return false;
        size_t len = std::min(step, bytes.size() - i);
        size_t done = 0;
        while (done < len) {
            ssize_t n = ::write(master_, bytes.data() + i + done, len - done);
            if (n > 0) done += static_cast<size_t>(n);
            else if (n < 0 && errno == EINTR) continue;
            else return true; // queue full or no terminal side: dropped
        }
    }
    return true;
}

// Sleeps ms milliseconds unless a stop is requested first (then false; the
// wake byte stays in the pipe so the main loop sees it too).
bool SerialRadioEmulator::PauseMs(unsigned ms) {
    if (ms == 0) return true;
    auto until = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return true;
        pollfd p{wakeRead_, POLLIN, 0};
        int r = ::poll(&p, 1, static_cast<int>(left));
        if (r > 0) return false;
        if (r < 0 && errno != EINTR) return true;
    }
}

} // namespace tunevox::emulator
