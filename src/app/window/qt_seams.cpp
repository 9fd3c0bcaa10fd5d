#include "app/window/qt_seams.h"

#include "rig/hardware_rig.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <QTime>
#include <QTimer>

namespace tunevox::app {

void QtEventPoster::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(context_, std::move(task), Qt::QueuedConnection);
}

namespace {

class TQtTimer final : public radioset::ITimer {
public:
    TQtTimer(const std::string& name, std::function<void()> onTimeout) {
        timer_.setObjectName(QString::fromStdString(name));
        QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(onTimeout));
    }
    void Start(int intervalMs) override { timer_.start(intervalMs); }
    void Stop() override { timer_.stop(); }
    bool Active() const override { return timer_.isActive(); }
    int Interval() const override { return timer_.interval(); }

private:
    QTimer timer_;
};

} // namespace

std::unique_ptr<radioset::ITimer> TQtTimerFactory::MakeTimer(const std::string& name,
                                                             std::function<void()> onTimeout) {
    return std::make_unique<TQtTimer>(name, std::move(onTimeout));
}

radioset::tTimeOfDay TSystemClock::Now() const {
    const QTime t = QTime::currentTime();
    return {t.hour(), t.minute(), t.second()};
}

TSoundWatcher::TSoundWatcher(rig::THardwareRig& rig, QObject* parent) : QObject(parent), rig_(rig) {
    rig_.SetOnSoundDescriptorsChanged([this] { Watch(); });
    Watch();
}

TSoundWatcher::~TSoundWatcher() {
    rig_.SetOnSoundDescriptorsChanged(nullptr);
    qDeleteAll(notifiers_);
}

void TSoundWatcher::Watch() {
    qDeleteAll(notifiers_);
    notifiers_.clear();
    for (const auto& d : rig_.SoundPollDescriptors()) {
        auto* n = new QSocketNotifier(d.fd, QSocketNotifier::Read, this);
        connect(n, &QSocketNotifier::activated, this, [this] { rig_.DispatchSound(); });
        notifiers_.push_back(n);
    }
}

} // namespace tunevox::app
