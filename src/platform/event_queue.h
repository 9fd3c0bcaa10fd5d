#pragma once
// Asynchronous notifications (a mixer control changed elsewhere) must reach
// the components on the user-interface thread, and never from inside the
// call that caused them. Components post work here; the application drains
// it from its event loop, a test drains it by hand.

#include <deque>
#include <functional>

namespace tunevox::platform {

class IEventPoster {
public:
    virtual ~IEventPoster() = default;
    virtual void Post(std::function<void()> task) = 0;
};

// A queue drained explicitly; used by tests and by the command-line tool.
class ManualEventQueue final : public IEventPoster {
public:
    void Post(std::function<void()> task) override { tasks_.push_back(std::move(task)); }
    // Runs everything posted so far, including work posted while draining.
    // Returns the number of tasks run.
    int Drain() {
        int n = 0;
        while (!tasks_.empty()) {
            auto t = std::move(tasks_.front());
            tasks_.pop_front();
            t();
            ++n;
        }
        return n;
    }
    // Runs the oldest task posted; false when there was none.
    bool RunOne() {
        if (tasks_.empty()) return false;
        auto t = std::move(tasks_.front());
        tasks_.pop_front();
        t();
        return true;
    }
    bool Empty() const { return tasks_.empty(); }

private:
    std::deque<std::function<void()>> tasks_;
};

} // namespace tunevox::platform
