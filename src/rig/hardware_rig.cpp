#include "hardware_rig.h"

#include "emulator/aimslab_emulator.h"
#include "emulator/aztech_emulator.h"
#include "emulator/port_bus.h"
#include "emulator/serial_radio_emulator.h"
#include "emulator/v4l2_radio_emulator.h"
#include "emulator/zoltrix_emulator.h"
#include "platform/com_port_map.h"
#include "platform/event_queue.h"
#include "platform/radio_device.h"
#include "platform/usb_radio_sound.h"
#include "platform/sleeper.h"
#include "platform/trace.h"

namespace tunevox::rig {

struct THardwareRig::SerialSlot {
    std::unique_ptr<emulator::SerialRadioEmulator> radio;
    bool hasAM = false;
    uint64_t generation = 0;
};

THardwareRig::THardwareRig(tRigOptions options) : options_(std::move(options)), stations_(options_.stations) {
    // Waits.
    if ((options_.sleeper == nullptr) != (options_.clock == nullptr)) {
        throw eRigError("a sleeper of one's own needs its clock, and a clock its sleeper");
    }
    if (options_.sleeper != nullptr) {
        baseSleeper_ = options_.sleeper;
        clock_ = options_.clock;
    } else if (options_.emulated && options_.waits == tWaits::kVirtual) {
        virtualSleeper_ = std::make_unique<platform::VirtualSleeper>();
        baseSleeper_ = virtualSleeper_.get();
        clock_ = virtualSleeper_.get();
    } else {
        systemSleeper_ = std::make_unique<platform::SystemSleeper>();
        baseSleeper_ = systemSleeper_.get();
        clock_ = systemSleeper_.get();
    }
    sleeper_ = baseSleeper_;
    if (options_.trace) {
        tracedSleeper_ = std::make_unique<platform::TracingSleeper>(*baseSleeper_, *options_.trace);
        sleeper_ = tracedSleeper_.get();
    }

    // Events.
    if (options_.events) {
        events_ = options_.events;
    } else {
        ownEvents_ = std::make_unique<platform::ManualEventQueue>();
        events_ = ownEvents_.get();
    }

    comPorts_ = std::make_unique<platform::ComPortMap>();

    // Ports.
    platform::IPortIO* ports = nullptr;
    if (options_.emulated) {
        bus_ = std::make_unique<emulator::PortBus>();
        ports = bus_.get();
    } else {
        linuxPorts_ = std::make_unique<platform::LinuxPortIO>(options_.realPorts);
        ports = linuxPorts_.get();
    }
    ports_ = ports;
    if (options_.trace) {
        tracedPorts_ = std::make_unique<platform::TracingPortIO>(*ports, *options_.trace);
        ports_ = tracedPorts_.get();
    }

    // Radio devices: the emulated one is there from the start, so a
    // settings dialog lists it before any card opened.
    if (options_.emulated) {
        radioDevices_ = std::make_unique<emulator::V4L2RadioEmulatorOpener>();
        PlaceRadioDevice();
    } else {
        radioDevices_ = std::make_unique<platform::LinuxRadioDeviceOpener>();
    }

    // Sound.
    if (options_.withSound) {
        if (options_.emulated) emulatedSound_ = std::make_unique<emulator::EmulatedSoundCard>(options_.soundLayout);
        else alsa_ = std::make_unique<platform::AlsaSoundSystem>();
    }
}

THardwareRig::~THardwareRig() {
    // Receivers go before the bus they are attached to and the clock they read.
    if (bus_ && isa_) bus_->Detach(*isa_);
    isa_.reset();
    serial_.clear();
    radioDevices_.reset();
    radioDevice_.reset();
}

radio::TRadioCardEnvironment THardwareRig::Environment() {
    radio::TRadioCardEnvironment env;
    env.portIO = ports_;
    env.sleeper = sleeper_;
    env.comPorts = comPorts_.get();
    env.portAccess = linuxPorts_.get(); // null on emulated hardware: the bus needs no access
    env.sound = Sound();
    env.events = events_;
    env.trace = options_.trace;
    env.radioDevices = radioDevices_.get();
    // A USB radio's own sound card is played where its failures can reach
    // the owner's thread: the bridge reports from a thread of its own, so
    // only a poster of the caller's (the window's event loop) will do.
    if (!options_.emulated && options_.events) {
        env.radioSound = [](const std::string& radioPath, std::function<void(const std::string&)> onError)
            -> std::pair<std::unique_ptr<platform::TRadioSoundBridge>, std::string> {
            const std::optional<std::string> capture = platform::FindRadioSoundCard(radioPath);
            if (!capture) return {nullptr, std::string()};
            return {std::make_unique<platform::TRadioSoundBridge>(std::move(onError)), *capture};
        };
    }
    if (options_.emulated) {
        env.beforeOpen = [this](radio::tModel model, uint16_t portValue) { PrepareFor(model, portValue); };
    }
    return env;
}

void THardwareRig::SetComDevice(int comNumber, const std::string& path) { comPorts_->SetDevicePath(comNumber, path); }

std::map<int, std::string> THardwareRig::EmulatedComPorts() const {
    std::map<int, std::string> paths;
    for (const auto& [com, slot] : serial_) paths[com] = slot->radio->DevicePath();
    return paths;
}

std::string THardwareRig::ServeComPort(int comNumber, radio::tModel model) {
    if (!options_.emulated) return {};
    if (comNumber < 1 || comNumber > 16) throw eRigError("COM" + std::to_string(comNumber) + " does not exist");
    const radio::tDevCap caps = radio::DefaultModelTable()[model];
    auto& slot = serial_[comNumber];
    if (slot && slot->hasAM == caps.HasAM && slot->generation == stationsGeneration_) {
        comPorts_->SetDevicePath(comNumber, slot->radio->DevicePath());
        return slot->radio->DevicePath();
    }
    auto fresh = std::make_unique<SerialSlot>();
    emulator::SerialRadioOptions so;
    so.hasAM = caps.HasAM;
    fresh->radio = std::make_unique<emulator::SerialRadioEmulator>(stations_, so);
    fresh->hasAM = caps.HasAM;
    fresh->generation = stationsGeneration_;
    if (!fresh->radio->Start()) {
        std::string why = fresh->radio->Error();
        if (!slot) serial_.erase(comNumber);
        throw eRigError("cannot start the emulated serial radio on COM" + std::to_string(comNumber) + ": " + why);
    }
    slot = std::move(fresh);
    comPorts_->SetDevicePath(comNumber, slot->radio->DevicePath());
    return slot->radio->DevicePath();
}

void THardwareRig::PrepareFor(radio::tModel model, uint16_t portValue) {
    if (!options_.emulated) return;
    if (model < 0 || model >= radio::kModelCount) return;
    const radio::tDevCap caps = radio::DefaultModelTable()[model];
    if (caps.PortKind == radio::kDeviceNode) {
        // The emulated radio device hears the stations of now.
        if (radioDeviceGeneration_ != stationsGeneration_) PlaceRadioDevice();
        placedModel_ = model;
        placedPort_ = portValue;
        return;
    }
    if (caps.PortKind == radio::kSerialPort) {
        if (portValue != 0) ServeComPort(portValue, model);
        placedModel_ = model;
        placedPort_ = portValue;
        return;
    }

    IsaKind kind = model == radio::mZoltrix  ? IsaKind::kZoltrix
                   : model == radio::mAztech ? IsaKind::kAztech
                                             : IsaKind::kAimsLab;
    placedModel_ = model;
    placedPort_ = portValue;
    if (isa_ && isaKind_ == kind && isaBase_ == portValue && isaGeneration_ == stationsGeneration_) return;
    if (isa_) {
        bus_->Detach(*isa_);
        isa_.reset();
        isaState_ = nullptr;
    }
    if (portValue == 0) return;
    switch (kind) {
    case IsaKind::kZoltrix: {
        auto e = std::make_unique<emulator::ZoltrixEmulator>(portValue, stations_);
        auto* p = e.get();
        isaState_ = [p] { return p->State(); };
        isa_ = std::move(e);
        break;
    }
    case IsaKind::kAztech: {
        auto e = std::make_unique<emulator::AztechEmulator>(portValue, stations_);
        auto* p = e.get();
        isaState_ = [p] { return p->State(); };
        isa_ = std::move(e);
        break;
    }
    case IsaKind::kAimsLab: {
        auto e = std::make_unique<emulator::AimsLabEmulator>(portValue, *clock_, stations_);
        auto* p = e.get();
        isaState_ = [p] { return p->State(); };
        isa_ = std::move(e);
        break;
    }
    }
    isaKind_ = kind;
    isaBase_ = portValue;
    isaGeneration_ = stationsGeneration_;
    if (!bus_->Attach(portValue, caps.PortSpan, *isa_)) {
        isa_.reset();
        isaState_ = nullptr;
        throw eRigError("the emulated bus cannot place a card at port " + std::to_string(portValue));
    }
}

void THardwareRig::PlaceRadioDevice() {
    emulator::V4L2RadioOptions o;
    o.bands = emulator::FmAmBandPlan();
    o.cardName = "Tunevox virtual radio";
    radioDevice_ = std::make_unique<emulator::V4L2RadioEmulator>(*clock_, stations_, o);
    radioDeviceGeneration_ = stationsGeneration_;
    auto* opener = static_cast<emulator::V4L2RadioEmulatorOpener*>(radioDevices_.get());
    opener->Serve(kEmulatedRadioDevice, *radioDevice_);
}

void THardwareRig::SetStations(emulator::StationList stations) {
    stations_ = std::move(stations);
    ++stationsGeneration_;
}

std::optional<emulator::ReceiverState> THardwareRig::EmulatedReceiver() const {
    if (!options_.emulated || !placedModel_) return std::nullopt;
    if (radio::DefaultModelTable()[*placedModel_].PortKind == radio::kDeviceNode) return radioDevice_->State();
    if (radio::DefaultModelTable()[*placedModel_].PortKind == radio::kSerialPort) {
        auto it = serial_.find(placedPort_);
        if (it == serial_.end()) return std::nullopt;
        return it->second->radio->State();
    }
    if (!isaState_) return std::nullopt;
    return isaState_();
}

emulator::SerialRadioEmulator* THardwareRig::EmulatedSerialRadio(int comNumber) {
    auto it = serial_.find(comNumber);
    return it == serial_.end() ? nullptr : it->second->radio.get();
}

platform::ISoundSystem* THardwareRig::Sound() {
    if (emulatedSound_) return emulatedSound_.get();
    return alsa_.get();
}

std::vector<platform::AlsaPollDescriptor> THardwareRig::SoundPollDescriptors() const {
    if (!alsa_) return {};
    return alsa_->PollDescriptors();
}

void THardwareRig::DispatchSound() {
    if (alsa_) alsa_->Dispatch();
}

void THardwareRig::SetOnSoundDescriptorsChanged(std::function<void()> handler) {
    if (alsa_) alsa_->OnDescriptorsChanged = std::move(handler);
}

} // namespace tunevox::rig
