#pragma once
// The radio set's hardware on the rig: the one card object, built from the
// rig's environment, and the questions the settings ask of the machine
// (port access, free COM ports, device paths). Real or emulated alike; the
// window adds only the watching of ALSA's descriptors by its event loop.

#include "radioset/seams.h"

#include <memory>

namespace tunevox::rig {
class THardwareRig;
}

namespace tunevox::radioset {

class TRigCardHost final : public ICardHost {
public:
    // The rig must outlive the host. Mixer notifications and the steps of
    // long operations go to the rig's event poster.
    explicit TRigCardHost(rig::THardwareRig& rig);
    ~TRigCardHost() override;

    radio::TRadioCard& Card() override { return *card_; }
    bool PortAccessAvailable(radio::tModel model, int port, platform::tPortAccessError* why) override;
    bool ComPortFree(int com) override;
    void Wait(unsigned ms) override;
    std::string ComDevicePath(int com) const override;
    void SetComDevicePath(int com, const std::string& path) override;
    bool Emulated() const override;
    platform::IRadioDeviceOpener* RadioDevices() override;
    platform::ISoundSystem* Sound() override;
    platform::IEventPoster& Events() override;
    rig::THardwareRig& Rig() { return rig_; }

private:
    rig::THardwareRig& rig_;
    std::unique_ptr<radio::TRadioCard> card_;
};

} // namespace tunevox::radioset
