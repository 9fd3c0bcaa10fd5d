#include "radioset/long_operation.h"

#include "platform/event_queue.h"

namespace tunevox::radioset {

struct TLongOperation::tState {
    platform::IEventPoster* events = nullptr;
    tStep step;
    tFinish finish;
    bool running = false;
    bool stopRequested = false;
};

TLongOperation::TLongOperation(platform::IEventPoster& events) : events_(events), state_(std::make_shared<tState>()) {
    state_->events = &events_;
}

// Steps still queued hold only a weak reference: once the object is gone
// they find nothing and return.
TLongOperation::~TLongOperation() = default;

bool TLongOperation::Start(tStep step, tFinish finish) {
    if (state_->running) return false;
    state_->step = std::move(step);
    state_->finish = std::move(finish);
    state_->running = true;
    state_->stopRequested = false;
    Post(state_);
    return true;
}

void TLongOperation::RequestStop() {
    if (state_->running) state_->stopRequested = true;
}

bool TLongOperation::Running() const { return state_->running; }

void TLongOperation::Post(const std::shared_ptr<tState>& state) {
    std::weak_ptr<tState> weak = state;
    state->events->Post([weak] {
        if (auto s = weak.lock()) RunStep(s);
    });
}

void TLongOperation::RunStep(const std::shared_ptr<tState>& state) {
    if (!state->running) return;
    if (state->stopRequested) {
        Finish(state, true);
        return;
    }
    bool more = false;
    try {
        more = state->step();
    } catch (...) {
        Finish(state, true);
        throw;
    }
    // A stop asked for during the step ends the operation before the next.
    if (!more) Finish(state, false);
    else Post(state);
}

void TLongOperation::Finish(const std::shared_ptr<tState>& state, bool stopped) {
    state->running = false;
    state->stopRequested = false;
    // Moved out first: the finish handler may start the next operation.
    tFinish finish = std::move(state->finish);
    state->step = nullptr;
    if (finish) finish(stopped);
}

} // namespace tunevox::radioset
