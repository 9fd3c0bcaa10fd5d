#include "app/window/rig_host.h"

#include "platform/com_port_map.h"
#include "platform/comm_port_driver.h"
#include "platform/linux_port_io.h"
#include "radio/radio_card.h"
#include "rig/hardware_rig.h"

#include <QMetaObject>
#include <QSocketNotifier>

namespace tunevox::app {

void QtEventPoster::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(context_, std::move(task), Qt::QueuedConnection);
}

TRigCardHost::TRigCardHost(rig::THardwareRig& rig, QObject* parent)
    : QObject(parent), rig_(rig), card_(std::make_unique<radio::TRadioCard>(rig.Environment())) {
    rig_.SetOnSoundDescriptorsChanged([this] { WatchSound(); });
    WatchSound();
}

TRigCardHost::~TRigCardHost() {
    rig_.SetOnSoundDescriptorsChanged(nullptr);
    qDeleteAll(notifiers_);
    notifiers_.clear();
    card_.reset();
}

void TRigCardHost::WatchSound() {
    qDeleteAll(notifiers_);
    notifiers_.clear();
    for (const auto& d : rig_.SoundPollDescriptors()) {
        auto* n = new QSocketNotifier(d.fd, QSocketNotifier::Read, this);
        connect(n, &QSocketNotifier::activated, this, [this] { rig_.DispatchSound(); });
        notifiers_.push_back(n);
    }
}

bool TRigCardHost::PortAccessAvailable(radio::tModel model, int port, std::string* reason) {
    if (rig_.Emulated()) return true;
    const radio::tDevCap caps = card_->GetCaps(model);
    if (caps.PortKind != radio::kIOPort) return true;
    if (port < 1 || port > caps.PortCount) port = caps.DefaultPort;
    // The card holds its range while open; ask only when it is closed.
    if (card_->Active() && card_->Model() == model && card_->Port() == port) return true;
    platform::tPortAccessError why;
    if (platform::OpenPortDriver(caps.Ports[port], caps.PortSpan, &why)) return true;
    if (reason) *reason = why.Text();
    return false;
}

bool TRigCardHost::ComPortFree(int com) {
    // The emulated radios' pseudo-terminals are always there to be opened.
    if (rig_.Emulated()) return true;
    return platform::ComPortFree(rig_.ComPorts(), com);
}

void TRigCardHost::Wait(unsigned ms) { rig_.Sleeper().Sleep(ms); }

std::string TRigCardHost::ComDevicePath(int com) const {
    if (rig_.Emulated()) {
        // An emulated radio is served on a pseudo-terminal when it opens.
        const auto served = rig_.EmulatedComPorts();
        const auto it = served.find(com);
        return it != served.end() ? it->second : "an emulated radio";
    }
    return rig_.ComPorts().DevicePath(com);
}

void TRigCardHost::SetComDevicePath(int com, const std::string& path) { rig_.SetComDevice(com, path); }

bool TRigCardHost::Emulated() const { return rig_.Emulated(); }

platform::ISoundSystem* TRigCardHost::Sound() { return rig_.Sound(); }

platform::IEventPoster& TRigCardHost::Events() { return rig_.Events(); }

} // namespace tunevox::app
