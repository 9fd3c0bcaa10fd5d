#pragma once
// The radio set's time, as a test drives it: timers that fire when the test
// says so, and a clock that shows the time the test set. Plain C++.

#include "radioset/seams.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace tunevox::test {

using radioset::ITimer;
using radioset::ITimerFactory;
using radioset::IClock;
using radioset::tTimeOfDay;

class ManualTimer final : public ITimer {
public:
    explicit ManualTimer(std::function<void()> onTimeout) : onTimeout_(std::move(onTimeout)) {}
    void Start(int intervalMs) override {
        interval_ = intervalMs;
        active_ = true;
        ++starts;
    }
    void Stop() override { active_ = false; }
    bool Active() const override { return active_; }
    int Interval() const override { return interval_; }
    // The interval has passed: what the event loop would run.
    void Fire() {
        if (active_) onTimeout_();
    }
    int starts = 0; // every (re)start begins a full interval

private:
    std::function<void()> onTimeout_;
    bool active_ = false;
    int interval_ = 0;
};

class ManualTimers final : public ITimerFactory {
public:
    std::unique_ptr<ITimer> MakeTimer(const std::string& name, std::function<void()> onTimeout) override {
        auto timer = std::make_unique<ManualTimer>(std::move(onTimeout));
        made[name] = timer.get();
        return timer;
    }
    ManualTimer& operator[](const std::string& name) { return *made.at(name); }
    std::map<std::string, ManualTimer*> made;
};

class ManualClock final : public IClock {
public:
    tTimeOfDay now{8, 0, 0};
    tTimeOfDay Now() const override { return now; }
};

} // namespace tunevox::test
