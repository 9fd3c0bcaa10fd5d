#pragma once
// The window's hardware on the rig: the one card object, and the Qt side of
// the rig's notifications (mixer changes posted into the event loop, ALSA's
// descriptors watched by socket notifiers).

#include "app/window/services.h"
#include "platform/event_queue.h"

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

class TRigCardHost final : public QObject, public ICardHost {
    Q_OBJECT
public:
    // The rig must have been built with Poster() as its event poster when
    // its notifications are to reach the window; the host builds the card.
    explicit TRigCardHost(rig::THardwareRig& rig, QObject* parent = nullptr);
    ~TRigCardHost() override;

    radio::TRadioCard& Card() override { return *card_; }
    bool PortAccessAvailable(radio::tModel model, int port, std::string* reason) override;
    bool ComPortFree(int com) override;
    void Wait(unsigned ms) override;
    std::string ComDevicePath(int com) const override;
    void SetComDevicePath(int com, const std::string& path) override;
    bool Emulated() const override;
    platform::ISoundSystem* Sound() override;
    platform::IEventPoster& Events() override;

private:
    void WatchSound();

    rig::THardwareRig& rig_;
    std::unique_ptr<radio::TRadioCard> card_;
    std::vector<QSocketNotifier*> notifiers_;
};

} // namespace tunevox::app
