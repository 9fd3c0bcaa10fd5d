#pragma once
// TRadioCard: the one component through which the program reaches the tuner
// hardware. It validates every request against the selected model's
// capabilities, enforces the common rules (clamp and snap, store only what
// was applied, mute on close) and dispatches to the model family's protocol.
// Volume and mute go to the card itself or to one line of the sound card's
// mixer. Plain C++ over the platform seams; no Qt, no windows.
//
// One thread. A card object lives on one thread: the thread that creates
// it makes every call, receives its mixer notifications (through the event
// poster) and its callbacks. Port access on Linux (ioperm) is granted per
// thread, and the card obtains it when it opens, so a card opened on one
// thread cannot reach its ports from another.
//
// Port access. Open obtains access to exactly the selected model's range
// (PortValue .. PortValue + PortSpan - 1) through the environment's
// IPortAccess, before anything is sent; Close gives it up. When access
// cannot be had, Open raises eNoPortAccess and the card stays closed.
//
// Mixer failures. No eMMError leaves the card: ApplyVolume, VolumeUp,
// VolumeDown, MuteOn, MuteOff, Open, Close and the queued mixer change
// notifications catch it, call OnMixerError (when assigned) and keep the
// card's state true to the device: Volume changes only after the mixer
// accepted the write, Muted follows what the line's mute control holds, and
// a Close still closes. OnMixerError runs on the card's thread, inside the
// operation (or the queued notification) that failed; it must not throw.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "radio_types.h"

namespace tunevox::platform {
class IPortIO;
class IPortAccess;
class ISleeper;
class ComPortMap;
class TraceSink;
class ISoundSystem;
class IEventPoster;
class TCommPortDriver;
class IRadioDeviceOpener;
class TRadioSoundBridge;
} // namespace tunevox::platform

namespace tunevox::mixer {
class TMixer;
class eMMError;
} // namespace tunevox::mixer

namespace tunevox::radio {

class TCardFamily;

// The seams a card object works through. The referenced objects must outlive
// the card. rig::THardwareRig assembles them for real or emulated hardware.
struct TRadioCardEnvironment {
    platform::IPortIO* portIO = nullptr;          // required
    platform::ISleeper* sleeper = nullptr;        // required
    const platform::ComPortMap* comPorts = nullptr; // required
    platform::IPortAccess* portAccess = nullptr;  // null: the ports need no access (emulated bus, tests)
    platform::ISoundSystem* sound = nullptr;      // null: no sound card
    platform::IEventPoster* events = nullptr;     // required with sound
    platform::TraceSink* trace = nullptr;         // optional serial trace
    platform::IRadioDeviceOpener* radioDevices = nullptr; // null: no radio device can open
    // A radio device with a sound card of its own (a USB radio): the bridge
    // that plays that card's capture, and the capture device, or a null
    // bridge when the radio has none. `onError` is called on the bridge's
    // thread. Null function: radios are heard by cable only.
    std::function<std::pair<std::unique_ptr<platform::TRadioSoundBridge>, std::string>(
        const std::string& radioPath, std::function<void(const std::string&)> onError)>
        radioSound;
    // Called by Open first of all with the model and its PortValue (an I/O
    // address or a COM number; 0 = no port). The hardware rig places the
    // emulated receiver there. It may throw; the card then stays closed.
    std::function<void(tModel model, uint16_t portValue)> beforeOpen;
};

// (Sender, Volume 0..256, Mute)
class TRadioCard;
using tMixerChange = std::function<void(TRadioCard& sender, int volume, bool mute)>;
// (Sender, the failure: Code(), Call() and what(), the "Multimedia ...
// Error" text). See "Mixer failures" above.
using tMixerError = std::function<void(TRadioCard& sender, const mixer::eMMError& error)>;
// (Sender, the message naming the device and the system's cause.) A radio
// device that fails a request (unplugged, taken by another program) keeps
// the card's state as it was; the failure is told once, not on every
// request that meets it, until a request succeeds again.
using tDeviceError = std::function<void(TRadioCard& sender, const std::string& message)>;

// The top of the card's volume scale.
constexpr int32_t kMaxVolume = 256;

class TRadioCard {
public:
    explicit TRadioCard(const TRadioCardEnvironment& env);
    ~TRadioCard();
    TRadioCard(const TRadioCard&) = delete;
    TRadioCard& operator=(const TRadioCard&) = delete;

    // --- published properties ---
    tModel Model() const { return model_; }
    void SetModel(tModel model); // eCantSetup while open
    bool MuteOnExit() const { return muteOnExit_; }
    void SetMuteOnExit(bool on);
    int32_t Port() const { return port_; }
    void SetPort(int32_t index); // eCantSetup while open, ePortNotFound
    double Frequency() const { return frequency_; }
    void SetFrequency(double mhz);
    tBand Band() const { return band_; }
    void SetBand(tBand band);
    int32_t Volume() const { return volume_; }
    void SetVolume(int32_t volume) { ApplyVolume(volume); }
    tVolumeLine VolumeLine() const { return volumeLine_; }
    void SetVolumeLine(tVolumeLine line);
    bool JapaneseFM() const { return japaneseFM_; }
    void SetJapaneseFM(bool on);
    bool Stereo() const { return stereo_; }
    void SetStereo(bool on);
    bool MutedStartup() const { return mutedStartup_; }
    void SetMutedStartup(bool on);
    tMixerChange OnMixerChange;
    // Told of every mixer failure the card caught (see the top of this file).
    tMixerError OnMixerError;
    tDeviceError OnDeviceError;
    // The radio device's node (mV4L2), "/dev/radio0" by default.
    const std::string& DevicePath() const { return devicePath_; }
    void SetDevicePath(std::string path); // eCantSetup while open

    // --- further state ---
    bool Active() const { return active_; }
    bool Muted() const { return muted_; }
    bool StartMuted() const { return startMuted_; }
    bool HasSoundCard() const { return hasSoundCard_; }
    bool CanControlAudio() const { return canControlAudio_; }
    int32_t MaxVolume() const { return maxVolume_; }
    int32_t VolumeStep() const { return volumeStep_; }
    double LastFMFrequency() const { return lastFM_; }
    double LastAMFrequency() const { return lastAM_; }
    // The selected model's table entry (names, flags, steps, port data).
    const tDevCap& Caps() const { return caps_; }
    // Per mixer line: usable (has a volume and a mute control) and maximum.
    bool MixerLineUsable(tVolumeLine line) const;
    int32_t MixerLineMax(tVolumeLine line) const;
    mixer::TMixer* Mixer() { return mixer_.get(); }

    // --- operations ---
    // Open: beforeOpen, then port access (eNoPortAccess, the card stays
    // closed), then the family's open sequence (a serial radio's port that
    // cannot be opened raises ePortAlreayOpen with the card already Active;
    // a radio device that cannot be opened raises eRadioDeviceError with
    // the card closed, and one that opens replaces the model's capabilities
    // by what it reports).
    void Open();
    // Close always ends closed (Active false, port access given up), even
    // when a step of it throws; that exception is passed on afterwards.
    void Close();
    void TuneTo(bool stereo, tBand band, double frequency);
    // 0 nothing, 1 tuned, 2 tuned stereo, 3 tuned mono. The threshold
    // (0 weak .. 3 strong) counts where the receiver measures a signal.
    uint8_t TunedStatus(int threshold);
    // The receiver's signal, 0..65535; -1 where it has no measure.
    int SignalLevel();
    // Caps().HardwareSeek: the receiver searches from the frequency tuned
    // towards `up` and stops on the next station, without wrapping at the
    // band's edge. true: found, and Frequency() is there; false: none, the
    // card stays where it was.
    bool HardwareSeek(bool up);
    // Caps().Rds: reads what RDS data arrived, without waiting. true when
    // the station's name changed.
    bool PollRds();
    // The name the tuned station sends (UTF-8), "" until it was received
    // whole twice; forgotten on every tuning.
    std::string RdsStationName() const;
    // A descriptor that becomes readable when RDS data arrives, -1 when
    // PollRds must be called on a timer instead.
    int RdsPollFd() const;
    void MuteOn();
    void MuteOff();
    // The model's own unmute sequence and nothing else: another program has
    // unmuted the mixer line, and the card must follow without writing to
    // the mixer. On a mixer line Volume stays the line's.
    void NativeUnmute();
    // Reads the mixer line's volume and mute again, as when another program
    // changed them, and tells OnMixerChange (after the line was switched).
    void ReadMixerLine();
    void VolumeUp();
    void VolumeDown();
    void ApplyVolume(int32_t volume);
    void VolumeToZero();
    // Sets Volume only, clamped to 0..256 (a configuration may hold anything).
    void StoreVolume(int32_t volume);
    void SetLastFM(double mhz) { lastFM_ = mhz; }
    void SetLastAM(double mhz) { lastAM_ = mhz; }
    tDevCap GetCaps(tModel model) const;
    static constexpr int ModelCount() { return kModelCount; }
    double MinFrequency() const;
    double MaxFrequency() const;
    double FrequencyStep() const;
    // The FM band, within the edges the receiver reports where it does.
    double FMMin() const;
    double FMMax() const;
    double FMMaxOfBand() const { return japaneseFM_ ? kJapaneseFMUpper : kFMUpper; }
    static constexpr double AMMin() { return kAMLower; }
    static constexpr double AMMax() { return kAMUpper; }
    // All bytes waiting on the serial link, in arrival order.
    std::string ReadReply();
    // Why the serial port last failed to open (an errno, see
    // TCommPortDriver::LastOpenError) and the device path it tried.
    int SerialOpenError() const;
    std::string SerialDevicePath() const;

private:
    friend class TCardFamily;

    struct tMixerLine {
        bool usable = false;
        int32_t max = 0;
        int volumeSlot = 0;
        int muteSlot = 0;
    };

    bool OnMixerLine() const { return volumeLine_ >= vlLineIn; }
    const tMixerLine* CurrentMixerLine() const;
    // Each returns false after a failure it reported through OnMixerError.
    bool MixerWriteVolume(int32_t v);
    bool MixerSetMute(bool on);
    bool LineMuted(const tMixerLine& line) const;
    void ReportMixerError(const mixer::eMMError& error);
    void HandleMixerChange(int control);
    void CommonCloseRule();
    // A radio device opened: its capabilities replace the model's, and
    // what depends on them follows (volume scale, stereo, Japanese FM).
    void TakeDeviceCaps(const tDevCap& caps);
    void ReportDeviceError(const std::string& message);
    void AcquirePortAccess();
    void ReleasePortAccess();

    TRadioCardEnvironment env_;
    tDevCaps table_;
    tDevCap caps_;
    std::unique_ptr<platform::TCommPortDriver> serial_;
    std::unique_ptr<platform::ISoundSystem> guardedSound_;
    std::unique_ptr<mixer::TMixer> mixer_;
    std::array<tMixerLine, 5> lines_{}; // indexed by tVolumeLine
    std::array<std::unique_ptr<TCardFamily>, 5> families_;

    tModel model_ = mRA300;
    std::string devicePath_ = "/dev/radio0";
    bool muteOnExit_ = false;
    int32_t port_ = 2;
    double frequency_ = 0.0;
    tBand band_ = bFM;
    int32_t volume_ = 0;
    tVolumeLine volumeLine_ = vlNative;
    bool japaneseFM_ = false;
    bool stereo_ = false;
    bool mutedStartup_ = false;

    bool active_ = false;
    bool muted_ = true;
    bool startMuted_ = false;
    bool hasSoundCard_ = false;
    bool canControlAudio_ = false;
    int32_t maxVolume_ = 0;
    int32_t volumeStep_ = 0;
    double lastFM_ = kFMLower;
    double lastAM_ = kAMLower;
    bool destroying_ = false;
    bool portAccessHeld_ = false;

    TCardFamily& Family() const;
};

} // namespace tunevox::radio
