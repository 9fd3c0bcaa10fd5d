#pragma once
// The radio set's seams on Qt: its event loop (posted notices and the steps
// of long operations), its timers, the time of day, and the watching of
// ALSA's change descriptors by socket notifiers.

#include "platform/event_queue.h"
#include "radioset/seams.h"

#include <QObject>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace tunevox::rig {
class THardwareRig;
}

namespace tunevox::app {

// Posts work into the Qt event loop of the thread that owns `context`; a
// task posted while another runs waits for the loop, never runs inside it.
class QtEventPoster final : public platform::IEventPoster {
public:
    explicit QtEventPoster(QObject* context) : context_(context) {}
    void Post(std::function<void()> task) override;

private:
    QObject* context_;
};

// Timers of the Qt event loop, named after what they are for.
class TQtTimerFactory final : public radioset::ITimerFactory {
public:
    std::unique_ptr<radioset::ITimer> MakeTimer(const std::string& name, std::function<void()> onTimeout) override;
};

// The local time of day.
class TSystemClock final : public radioset::IClock {
public:
    radioset::tTimeOfDay Now() const override;
};

// Watches the rig's ALSA descriptors and lets the rig dispatch what they
// announce: changes other programs make to the sound card's mixer.
class TSoundWatcher final : public QObject {
    Q_OBJECT
public:
    explicit TSoundWatcher(rig::THardwareRig& rig, QObject* parent = nullptr);
    ~TSoundWatcher() override;

private:
    void Watch();

    rig::THardwareRig& rig_;
    std::vector<QSocketNotifier*> notifiers_;
};

} // namespace tunevox::app
