#pragma once
// THardwareRig: everything a TRadioCard needs around it, on real hardware
// or on emulated hardware, assembled in one place so that tunevox-cli and
// the windowed program build the same thing. Plain C++, no Qt.
//
// Real hardware: LinuxPortIO for the I/O ports (the card obtains access to
// its own range when it opens; the rig only hands the port seam over), the
// system's waits, ALSA for the sound card, and the COM port map (COM n is
// /dev/ttyS<n-1> unless SetComDevice maps it elsewhere).
//
// Emulated hardware: a port bus, the emulated sound card, and the emulated
// receivers. The card's environment carries a beforeOpen hook, so every
// Open places the emulated receiver of the model being opened at that
// model's port: an ISA card's emulator on the bus at its address, or a
// serial radio's emulator served on a pseudo-terminal that COM n maps to.
// A model or port change (the settings dialog closes the card, changes
// Model or Port and reopens it) is followed without the caller doing
// anything; PrepareFor can also be called directly. A receiver stays in
// place, tuned as it was, while the same model and port are reopened.
//
// Waits: real hardware always waits for real. On emulated hardware the
// caller chooses: real waits (the windowed program, so the emulated
// receivers feel like real ones) or a virtual clock that returns at once
// (tests, tunevox-cli --virtual), or brings its own sleeper and clock.
//
// The rig and every card built on it live on one thread (see radio_card.h);
// the rig must outlive those cards.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "emulator/emulated_sound_card.h"
#include "emulator/station_list.h"
#include "platform/alsa_mixer.h"
#include "platform/linux_port_io.h"
#include "platform/sleeper.h"
#include "radio/radio_card.h"

namespace tunevox::platform {
class ComPortMap;
class ManualEventQueue;
class TracingPortIO;
class TracingSleeper;
} // namespace tunevox::platform

namespace tunevox::emulator {
class PortBus;
class SerialRadioEmulator;
class V4L2RadioEmulator;
class V4L2RadioEmulatorOpener;
} // namespace tunevox::emulator
namespace tunevox::platform {
class IRadioDeviceOpener;
} // namespace tunevox::platform

namespace tunevox::rig {

// An emulated receiver could not be set up (no pseudo-terminal, a port
// range the bus refuses). Carries the reason as its text.
class eRigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class tWaits {
    kReal,    // SystemSleeper: the protocols' waits block the calling thread
    kVirtual, // VirtualSleeper: every wait returns at once on a virtual clock
};

struct tRigOptions {
    bool emulated = false;
    // Emulated hardware only; real hardware always waits for real.
    tWaits waits = tWaits::kReal;
    // The caller's own waits (a recording sleeper in a test) instead of
    // `waits`; both must be given, and outlive the rig. The clock is what
    // the emulated AimsLab card measures a held volume key on.
    platform::ISleeper* sleeper = nullptr;
    const platform::ITimeSource* clock = nullptr;

    // Emulated hardware: what the receivers hear (tunevox-cli --stations).
    emulator::StationList stations = emulator::StationList::BuiltIn();

    // Offer a sound card: ALSA on real hardware, the emulated sound card
    // (with this layout) on emulated hardware. Without, the card has no
    // mixer and VolumeLine can only be native or none.
    bool withSound = true;
    emulator::SoundCardLayout soundLayout = emulator::SoundCardLayout::Standard();
    // Where mixer notifications are posted: the window's event loop (a
    // poster that posts through Qt). Null: the rig's own ManualEventQueue,
    // which the owner drains (OwnEvents()).
    platform::IEventPoster* events = nullptr;

    // Hardware trace (TUNEVOX_TRACE); not owned. Null: no trace.
    platform::TraceSink* trace = nullptr;

    // Real hardware: how LinuxPortIO reaches the ports (tests point it at a
    // plain file standing in for /dev/port).
    platform::LinuxPortIO::Options realPorts;
};

class THardwareRig {
public:
    // Throws eRigError only for options that cannot work together.
    explicit THardwareRig(tRigOptions options = {});
    ~THardwareRig();
    THardwareRig(const THardwareRig&) = delete;
    THardwareRig& operator=(const THardwareRig&) = delete;

    bool Emulated() const { return options_.emulated; }

    // The environment to construct a TRadioCard with. On emulated hardware
    // its beforeOpen calls PrepareFor.
    radio::TRadioCardEnvironment Environment();

    // What the card waits through (traced when tracing): for the owner's own
    // waits, such as the 600 ms after opening a model with OpenDelay.
    platform::ISleeper& Sleeper() { return *sleeper_; }
    // The rig's virtual clock when waits are virtual, else null.
    platform::VirtualSleeper* VirtualWaits() { return virtualSleeper_.get(); }
    // The poster mixer notifications go to, and the rig's own queue when
    // the options named none (else null).
    platform::IEventPoster& Events() { return *events_; }
    platform::ManualEventQueue* OwnEvents() { return ownEvents_.get(); }

    // --- COM ports ---
    const platform::ComPortMap& ComPorts() const { return *comPorts_; }
    // COM n (1..16) opens `path` (the configuration's [ComPorts] section,
    // --com-device); an empty path restores /dev/ttyS<n-1>. On emulated
    // hardware PrepareFor maps the COM port it serves over this.
    void SetComDevice(int comNumber, const std::string& path);
    // Emulated hardware: COM number -> pseudo-terminal of the radio served
    // there, for every COM port served so far.
    std::map<int, std::string> EmulatedComPorts() const;
    // Emulated hardware: serves `model`'s emulated radio on COM n now (a
    // settings dialog may list the served ports before any card opens) and
    // maps COM n to it. Returns the pseudo-terminal path. eRigError when the
    // radio cannot be started; nothing on real hardware ("" then).
    std::string ServeComPort(int comNumber, radio::tModel model);

    // --- following the card ---
    // Emulated hardware: places the emulated receiver of `model` at
    // `portValue` (its I/O address, or its COM number) unless it is there
    // already; removes the ISA receiver for port value 0. Nothing on real
    // hardware. eRigError when it cannot.
    void PrepareFor(radio::tModel model, uint16_t portValue);

    // --- emulated receivers ---
    const emulator::StationList& Stations() const { return stations_; }
    // Receivers placed from now on hear these; the ones in place are
    // replaced at their next PrepareFor (a serial radio's pseudo-terminal
    // path changes then).
    void SetStations(emulator::StationList stations);
    // The state of the receiver the last PrepareFor placed (for status
    // views and tests); nullopt on real hardware or before any placement.
    std::optional<emulator::ReceiverState> EmulatedReceiver() const;
    emulator::PortBus* EmulatedBus() { return bus_.get(); }
    emulator::SerialRadioEmulator* EmulatedSerialRadio(int comNumber);

    // --- radio devices (/dev/radioN) ---
    // The kernel's nodes on real hardware; on emulated hardware one
    // emulated FM/AM radio with RDS and a hardware seek at kEmulatedRadioDevice,
    // hearing the station list.
    static constexpr const char* kEmulatedRadioDevice = "/dev/radio0";
    platform::IRadioDeviceOpener& RadioDevices() { return *radioDevices_; }
    emulator::V4L2RadioEmulator* EmulatedRadioDevice() { return radioDevice_.get(); }

    // --- sound ---
    // The sound system in the environment; null without one.
    platform::ISoundSystem* Sound();
    emulator::EmulatedSoundCard* EmulatedSound() { return emulatedSound_.get(); }
    // ALSA's change notifications: the event loop watches these descriptors
    // (readable) and calls DispatchSound() when one fires. Empty, and
    // DispatchSound does nothing, on emulated hardware (its notifications
    // are posted directly) or without sound.
    std::vector<platform::AlsaPollDescriptor> SoundPollDescriptors() const;
    void DispatchSound();
    // Called when the set of descriptors changed (a mixer was opened or
    // closed); real hardware with sound only.
    void SetOnSoundDescriptorsChanged(std::function<void()> handler);

    // --- real hardware ---
    platform::LinuxPortIO* RealPorts() { return linuxPorts_.get(); }

private:
    struct SerialSlot;
    void PlaceRadioDevice();
    enum class IsaKind { kAimsLab, kZoltrix, kAztech };

    tRigOptions options_;
    emulator::StationList stations_;
    uint64_t stationsGeneration_ = 0;

    std::unique_ptr<platform::SystemSleeper> systemSleeper_;
    std::unique_ptr<platform::VirtualSleeper> virtualSleeper_;
    platform::ISleeper* baseSleeper_ = nullptr;
    const platform::ITimeSource* clock_ = nullptr;
    std::unique_ptr<platform::TracingSleeper> tracedSleeper_;
    platform::ISleeper* sleeper_ = nullptr;

    std::unique_ptr<platform::ManualEventQueue> ownEvents_;
    platform::IEventPoster* events_ = nullptr;
    std::unique_ptr<platform::ComPortMap> comPorts_;

    std::unique_ptr<platform::LinuxPortIO> linuxPorts_;
    std::unique_ptr<emulator::PortBus> bus_;
    std::unique_ptr<platform::TracingPortIO> tracedPorts_;
    platform::IPortIO* ports_ = nullptr;

    std::unique_ptr<platform::AlsaSoundSystem> alsa_;
    std::unique_ptr<emulator::EmulatedSoundCard> emulatedSound_;

    // The emulated ISA receiver on the bus.
    std::unique_ptr<platform::IPortIO> isa_;
    std::function<emulator::ReceiverState()> isaState_;
    IsaKind isaKind_ = IsaKind::kAimsLab;
    uint16_t isaBase_ = 0;
    uint64_t isaGeneration_ = 0;
    // The emulated serial radios by COM number.
    std::map<int, std::unique_ptr<SerialSlot>> serial_;
    // Radio device nodes: the kernel's, or the emulated one.
    std::unique_ptr<platform::IRadioDeviceOpener> radioDevices_;
    std::unique_ptr<emulator::V4L2RadioEmulator> radioDevice_;
    uint64_t radioDeviceGeneration_ = 0;
    // What the last PrepareFor placed.
    std::optional<radio::tModel> placedModel_;
    uint16_t placedPort_ = 0;
};

} // namespace tunevox::rig
