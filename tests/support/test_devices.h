#pragma once
// Stand-ins for devices the hardware tests talk to: a pseudo-terminal the
// test holds both ends of (the code under test opens the terminal side by
// name, the test plays the device on the master side), and a plain file
// standing in for /dev/port (byte p is port p). Plain C++, no Qt.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

namespace tunevox::test {

struct TestPty {
    TestPty() {
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return;
        char name[128];
        if (ttyname_r(slave, name, sizeof name) == 0) path = name;
        fcntl(master, F_SETFL, O_NONBLOCK);
        termios t{};
        tcgetattr(master, &t);
        cfmakeraw(&t);
        tcsetattr(master, TCSANOW, &t);
    }
    ~TestPty() {
        if (master >= 0) close(master);
        if (slave >= 0) close(slave);
    }
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    bool Ok() const { return !path.empty(); }
    // The line settings as the terminal side has them.
    termios Settings() const {
        termios t{};
        tcgetattr(slave, &t);
        return t;
    }
    void DeviceSends(const std::string& bytes) const {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // What the device received, until the line is quiet for quietMs.
    std::string DeviceReceives(int quietMs = 100) const {
        std::string got;
        char buf[4096];
        for (;;) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, quietMs) <= 0) return got;
            ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0) return got;
            got.append(buf, static_cast<size_t>(n));
        }
    }
    // Waits (bounded) until n bytes are queued for the terminal side.
    bool Pending(int n) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        int queued = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            if (ioctl(slave, FIONREAD, &queued) == 0 && queued >= n) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    int master = -1;
    int slave = -1;
    std::string path;
};

struct FakeDevPort {
    // Every port starts out holding `fill`.
    explicit FakeDevPort(char fill) {
        char name[] = "/tmp/tunevox-devport-XXXXXX";
        int fd = mkstemp(name);
        path = name;
        std::string bytes(0x400, fill);
        if (fd >= 0) {
            EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
            close(fd);
        }
    }
    ~FakeDevPort() { std::remove(path.c_str()); }
    FakeDevPort(const FakeDevPort&) = delete;
    FakeDevPort& operator=(const FakeDevPort&) = delete;

    int At(uint16_t port) const {
        int fd = open(path.c_str(), O_RDONLY);
        uint8_t v = 0;
        EXPECT_EQ(pread(fd, &v, 1, port), 1);
        close(fd);
        return v;
    }
    std::string path;
};

} // namespace tunevox::test
