#pragma once
// Every fixed wait of the protocols goes through ISleeper. The program uses
// SystemSleeper; tests and the emulated hardware use VirtualSleeper, which
// returns at once and keeps the virtual time so an emulator can measure how
// long a volume key was "held".

#include <cstdint>
#include <vector>

namespace tunevox::platform {

class ISleeper {
public:
    virtual ~ISleeper() = default;
    virtual void Sleep(unsigned ms) = 0;
};

// A source of elapsed milliseconds, read by the emulators.
class ITimeSource {
public:
    virtual ~ITimeSource() = default;
    virtual uint64_t NowMs() const = 0;
};

// Blocks the calling thread; its clock is the monotonic system clock.
class SystemSleeper final : public ISleeper, public ITimeSource {
public:
    void Sleep(unsigned ms) override;
    uint64_t NowMs() const override;
};

// Returns at once, advancing a virtual clock and recording each wait.
class VirtualSleeper final : public ISleeper, public ITimeSource {
public:
    void Sleep(unsigned ms) override {
        now_ += ms;
        waits_.push_back(ms);
    }
    uint64_t NowMs() const override { return now_; }
    const std::vector<unsigned>& Waits() const { return waits_; }
    uint64_t TotalMs() const {
        uint64_t t = 0;
        for (unsigned w : waits_) t += w;
        return t;
    }
    void Clear() { waits_.clear(); }
    // Lets time pass outside any protocol wait (a test's "later").
    void Advance(uint64_t ms) { now_ += ms; }

private:
    uint64_t now_ = 0;
    std::vector<unsigned> waits_;
};

} // namespace tunevox::platform
