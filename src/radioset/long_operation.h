#pragma once
// A long operation of the radio set (a seek, a sweep of the band): a run of
// steps, each one card operation, the next posted on the owner's event
// loop. Between two steps the loop paints, answers keys and menus and runs
// timers; nothing runs nested inside the operation, so a window opened
// meanwhile is never stacked on a half-done step. A stop request is read
// before every step, and the operation ends there.
//
//   TLongOperation op(events);
//   op.Start([&] { return TuneOneStepAndGoOn(); }, [&](bool stopped) { ShowEnd(stopped); });
//   ... the event loop runs the steps ...
//   op.RequestStop();   // the next step does not run; finish(true) runs instead
//
// A step posted for an operation object that no longer exists does nothing.

#include <functional>
#include <memory>

namespace tunevox::platform {
class IEventPoster;
}

namespace tunevox::radioset {

class TLongOperation {
public:
    // One step; returns true to go on, false when the operation is complete.
    // A step must not throw; if one does, the operation ends as stopped and
    // the exception goes on to whoever runs the event loop.
    using tStep = std::function<bool()>;
    // Runs once at the end; stopped: ended by RequestStop, not by a step.
    using tFinish = std::function<void(bool stopped)>;

    explicit TLongOperation(platform::IEventPoster& events);
    ~TLongOperation();
    TLongOperation(const TLongOperation&) = delete;
    TLongOperation& operator=(const TLongOperation&) = delete;

    // Starts: the first step is posted too, so Start returns at once.
    // Refused (false, nothing posted) while an operation runs.
    bool Start(tStep step, tFinish finish);
    // The operation ends before its next step. Nothing when none runs.
    void RequestStop();
    bool Running() const;

private:
    struct tState;
    static void Post(const std::shared_ptr<tState>& state);
    static void RunStep(const std::shared_ptr<tState>& state);
    static void Finish(const std::shared_ptr<tState>& state, bool stopped);

    platform::IEventPoster& events_;
    std::shared_ptr<tState> state_;
};

} // namespace tunevox::radioset
