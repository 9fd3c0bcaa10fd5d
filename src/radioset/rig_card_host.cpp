#include "radioset/rig_card_host.h"

#include "platform/comm_port_driver.h"
#include "platform/linux_port_io.h"
#include "radio/radio_card.h"
#include "radioset/card_setup.h"
#include "rig/hardware_rig.h"

namespace tunevox::radioset {

TRigCardHost::TRigCardHost(rig::THardwareRig& rig)
    : rig_(rig), card_(std::make_unique<radio::TRadioCard>(rig.Environment())) {}

TRigCardHost::~TRigCardHost() = default;

bool TRigCardHost::PortAccessAvailable(radio::tModel model, int port, platform::tPortAccessError* why) {
    if (rig_.Emulated()) return true;
    const radio::tDevCap caps = card_->GetCaps(model);
    if (!NeedsPortAccess(caps)) return true;
    port = EffectivePort(caps, port);
    // The card holds its range while open; ask only when it is closed.
    if (card_->Active() && card_->Model() == model && card_->Port() == port) return true;
    platform::tPortAccessError reason;
    if (platform::OpenPortDriver(caps.Ports[port], caps.PortSpan, &reason)) return true;
    if (why) *why = reason;
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

platform::IRadioDeviceOpener* TRigCardHost::RadioDevices() { return &rig_.RadioDevices(); }

platform::ISoundSystem* TRigCardHost::Sound() { return rig_.Sound(); }

platform::IEventPoster& TRigCardHost::Events() { return rig_.Events(); }

} // namespace tunevox::radioset
