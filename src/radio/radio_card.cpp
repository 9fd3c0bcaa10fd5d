#include "radio_card.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "card_family.h"
#include "frequency.h"
#include "mixer/guarded_sound.h"
#include "mixer/mixer.h"
#include "platform/comm_port_driver.h"
#include "platform/mixer_device.h"
#include "platform/port_io.h"
#include "platform/sleeper.h"

namespace tunevox::radio {

namespace {

enum FamilyIndex { kAimsLab, kAztech, kZoltrix, kSerial, kV4L2 };

FamilyIndex FamilyOf(tModel m) {
    switch (m) {
    case mRadioTrack:
    case mRA300:
        return kAimsLab;
    case mAztech:
        return kAztech;
    case mZoltrix:
        return kZoltrix;
    case mV4L2:
        return kV4L2;
    default:
        return kSerial;
    }
}

} // namespace

// --- family helpers ---

void TCardFamily::Out(unsigned offset, uint8_t value) {
    card_.env_.portIO->PortWrite(static_cast<uint16_t>(Base() + offset), value);
}

uint8_t TCardFamily::In(unsigned offset) {
    return card_.env_.portIO->PortRead(static_cast<uint16_t>(Base() + offset));
}

void TCardFamily::Wait(unsigned ms) { card_.env_.sleeper->Sleep(ms); }

int32_t TCardFamily::SnapVolume(int32_t v, int32_t step) {
    if (step <= 0) return v;
    return static_cast<int32_t>(RoundEven(RoundEven(static_cast<double>(v) / step) * step));
}

// --- creation and destruction ---

TRadioCard::TRadioCard(const TRadioCardEnvironment& env) : env_(env), table_(DefaultModelTable()) {
    serial_ = std::make_unique<platform::TCommPortDriver>(*env_.comPorts, env_.trace);
    families_[kAimsLab] = MakeAimsLabFamily(*this);
    families_[kAztech] = MakeAztechFamily(*this);
    families_[kZoltrix] = MakeZoltrixFamily(*this);
    families_[kSerial] = MakeSerialFamily(*this);
    families_[kV4L2] = MakeV4L2Family(*this);

    hasSoundCard_ = env_.sound != nullptr && env_.sound->HasSoundCard();
    if (hasSoundCard_) {
        // A change notification whose re-read fails is reported to the
        // card's handler instead of being thrown into the event loop that
        // runs the queued task.
        guardedSound_ = std::make_unique<mixer::TGuardedSound>(
            *env_.sound, [this](const mixer::eMMError& e) { ReportMixerError(e); });
        mixer_ = std::make_unique<mixer::TMixer>(*guardedSound_, *env_.events);
        mixer_->SetMidiDeviceID(-2);
        lines_[vlLineIn].volumeSlot = mixer::mcLineInVolume;
        lines_[vlLineIn].muteSlot = mixer::mcLineInMute;
        lines_[vlMicIn].volumeSlot = mixer::mcMicVolume;
        lines_[vlMicIn].muteSlot = mixer::mcMicMute;
        lines_[vlCd].volumeSlot = mixer::mcCdVolume;
        lines_[vlCd].muteSlot = mixer::mcCdMute;
        // The availability and ranges are known only once the device is open.
        try {
            mixer_->SetActive(true);
        } catch (const mixer::eMMError&) {
            // A sound card whose mixer cannot be opened: the lines stay unusable.
        }
        if (mixer_->Active()) {
            for (tVolumeLine l : {vlLineIn, vlMicIn, vlCd}) {
                auto& line = lines_[l];
                auto vol = static_cast<mixer::tMixerControlType>(line.volumeSlot);
                auto mute = static_cast<mixer::tMixerControlType>(line.muteSlot);
                line.usable = mixer_->Available(vol) && mixer_->Available(mute);
                line.max = mixer_->Available(vol) ? mixer_->ControlMax(vol) : 0;
            }
        }
        mixer_->OnControlChange = [this](mixer::TMixer&, mixer::tMixerControlType c) { HandleMixerChange(c); };
    }

    // The values a fresh card gets before the configuration is applied.
    SetModel(mRA300);
    SetMuteOnExit(false);
    SetPort(2);
    SetBand(bFM);
    SetVolume(0);
    SetVolumeLine(vlNative);
    SetJapaneseFM(false);
    SetStereo(false);
    SetMutedStartup(false);
}

TRadioCard::~TRadioCard() {
    destroying_ = true;
    // The mixer goes first; a serial radio still open is closed without
    // touching a mixer line. An open I/O-port card is left playing: muting
    // it at exit is the owner's decision.
    mixer_.reset();
    // A radio device's node is let go without a word to it: like an I/O-port
    // card it goes on playing, and muting it at exit is the owner's call.
    if (active_ && caps_.PortKind == kDeviceNode) Family().Release();
    if (active_ && caps_.PortKind == kSerialPort) {
        try {
            Close();
        } catch (...) {
            // Nothing may leave a destructor; the port is closed regardless.
        }
    }
    ReleasePortAccess();
    serial_.reset();
}

TCardFamily& TRadioCard::Family() const { return *families_[FamilyOf(model_)]; }

// --- properties ---

void TRadioCard::SetModel(tModel model) {
    if (active_) throw eCantSetup();
    if (model < 0 || model >= kModelCount) return;
    model_ = model;
    caps_ = table_[model];
    canControlAudio_ = caps_.HasMute || caps_.HasVolume;
    volumeStep_ = caps_.VolumeStep;
    stereo_ = caps_.HasStereo;
    japaneseFM_ = japaneseFM_ && caps_.HasJapaneseFM;
    for (int32_t i = 1; i <= caps_.PortCount; ++i) {
        if (caps_.Ports[i] == caps_.PortValue) {
            port_ = i;
            break;
        }
    }
}

void TRadioCard::SetDevicePath(std::string path) {
    if (active_) throw eCantSetup();
    devicePath_ = std::move(path);
}

void TRadioCard::TakeDeviceCaps(const tDevCap& caps) {
    caps_ = caps;
    canControlAudio_ = caps_.HasMute || caps_.HasVolume;
    stereo_ = stereo_ && caps_.HasStereo;
    japaneseFM_ = japaneseFM_ && caps_.HasJapaneseFM;
    // The volume scale follows the device's controls; a device without any
    // is heard through the sound card's line where there is one.
    tVolumeLine line = volumeLine_;
    if (line == vlNone && canControlAudio_) line = vlNative;
    if (line == vlNative && !canControlAudio_) line = MixerLineUsable(vlLineIn) ? vlLineIn : vlNone;
    SetVolumeLine(line);
}

void TRadioCard::ReportDeviceError(const std::string& message) {
    if (!destroying_ && OnDeviceError) OnDeviceError(*this, message);
}

// A device's edges narrow the band, never widen it: every window's scale
// and the favorites keep to the band's.
double TRadioCard::FMMin() const {
    const double low = japaneseFM_ ? kJapaneseFMLower : kFMLower;
    const double high = FMMaxOfBand();
    return caps_.FMLowest > low && caps_.FMLowest < high ? caps_.FMLowest : low;
}

double TRadioCard::FMMax() const {
    const double high = FMMaxOfBand();
    return caps_.FMHighest > FMMin() && caps_.FMHighest < high ? caps_.FMHighest : high;
}

void TRadioCard::SetMuteOnExit(bool on) { muteOnExit_ = caps_.AlwaysMuteOnExit ? true : on; }

void TRadioCard::SetPort(int32_t index) {
    if (active_) throw eCantSetup();
    if (index < 0 || index > caps_.PortCount) throw ePortNotFound();
    port_ = index;
    table_[model_].PortValue = caps_.Ports[index];
    caps_.PortValue = caps_.Ports[index];
}

void TRadioCard::SetFrequency(double mhz) { TuneTo(stereo_, band_, mhz); }

void TRadioCard::SetBand(tBand band) {
    if (band == bFM && caps_.HasFM) {
        band_ = bFM;
        TuneTo(stereo_, bFM, lastFM_);
    } else if (band == bAM && caps_.HasAM) {
        band_ = bAM;
        TuneTo(stereo_, bAM, lastAM_);
    }
}

void TRadioCard::SetVolumeLine(tVolumeLine line) {
    if (!hasSoundCard_ && !canControlAudio_) line = vlNone;
    switch (line) {
    case vlNone:
        volumeStep_ = 0;
        maxVolume_ = 0;
        break;
    case vlNative:
        volumeStep_ = caps_.VolumeStep;
        if (volumeStep_ == 0) {
            maxVolume_ = 0;
        } else {
            maxVolume_ = kMaxVolume;
            volume_ = TCardFamily::SnapVolume(std::clamp(volume_, 0, kMaxVolume), volumeStep_);
        }
        break;
    case vlLineIn:
    case vlMicIn:
    case vlCd:
        volumeStep_ = 1;
        maxVolume_ = kMaxVolume;
        // A native volume may stand above the scale (Aztech's 336); a mixer
        // line's control must never be written past its maximum.
        volume_ = std::clamp(volume_, 0, maxVolume_);
        break;
    default:
        return;
    }
    volumeLine_ = line;
}

void TRadioCard::SetJapaneseFM(bool on) { japaneseFM_ = on && caps_.HasJapaneseFM; }

void TRadioCard::SetStereo(bool on) { stereo_ = caps_.HasStereo ? on : false; }

void TRadioCard::SetMutedStartup(bool on) {
    mutedStartup_ = caps_.HasMute ? on : false;
    muted_ = mutedStartup_;
    startMuted_ = mutedStartup_;
}

bool TRadioCard::MixerLineUsable(tVolumeLine line) const {
    return line >= vlLineIn && line <= vlCd && lines_[line].usable;
}

int32_t TRadioCard::MixerLineMax(tVolumeLine line) const {
    return line >= vlLineIn && line <= vlCd ? lines_[line].max : 0;
}

tDevCap TRadioCard::GetCaps(tModel model) const {
    if (model < 0 || model >= kModelCount) return {};
    return table_[model];
}

double TRadioCard::MinFrequency() const {
    if (band_ == bAM) return AMMin();
    if (band_ == bFM) return FMMin();
    return 0.0;
}

double TRadioCard::MaxFrequency() const {
    if (band_ == bAM) return AMMax();
    if (band_ == bFM) return FMMax();
    return 0.0;
}

double TRadioCard::FrequencyStep() const {
    if (band_ == bAM) return caps_.AMStep;
    if (band_ == bFM) return caps_.FMStep;
    return 0.0;
}

void TRadioCard::StoreVolume(int32_t volume) { volume_ = std::clamp(volume, 0, kMaxVolume); }

// --- lifecycle ---

void TRadioCard::Open() {
    if (active_) return;
    if (env_.beforeOpen) env_.beforeOpen(model_, caps_.PortValue);
    AcquirePortAccess();
    active_ = true;
    try {
        Family().Open();
    } catch (const eRadioDeviceError&) {
        // Nothing was opened: the card is closed, as before.
        active_ = false;
        throw;
    }
}

void TRadioCard::Close() {
    if (!active_) return;
    // Every step runs and the card ends closed whatever fails; the first
    // failure is passed on afterwards. Mixer failures are reported, not
    // thrown (see the header).
    std::exception_ptr failure;
    try {
        Family().Close();
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        CommonCloseRule();
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    active_ = false;
    ReleasePortAccess();
    if (failure) std::rethrow_exception(failure);
}

void TRadioCard::AcquirePortAccess() {
    if (caps_.PortKind != kIOPort || caps_.PortValue == 0 || env_.portAccess == nullptr) return;
    const uint16_t base = caps_.PortValue;
    const uint16_t span = caps_.PortSpan;
    // PortValue is one of the model's addresses once a port was chosen; the
    // placeholder a model has before that (1) must never be opened up.
    bool known = false;
    for (int32_t i = 1; i <= caps_.PortCount; ++i) known = known || caps_.Ports[i] == base;
    platform::tPortAccessError why;
    if (!known || span == 0) {
        why.invalidRange = true;
        throw eNoPortAccess(base, span, why);
    }
    if (!env_.portAccess->Acquire(base, span, &why)) throw eNoPortAccess(base, span, why);
    portAccessHeld_ = true;
}

void TRadioCard::ReleasePortAccess() {
    if (!portAccessHeld_) return;
    portAccessHeld_ = false;
    env_.portAccess->Release();
}

void TRadioCard::CommonCloseRule() {
    if (OnMixerLine()) {
        if (muteOnExit_) MuteOn();
    } else {
        muted_ = true;
    }
}

// --- tuning ---

void TRadioCard::TuneTo(bool stereo, tBand band, double frequency) {
    if (!active_) return;
    if (band == bAM && !caps_.HasAM) return;
    if (band == bFM && !caps_.HasFM) return;
    if (band != bAM && band != bFM) return;
    if (!std::isfinite(frequency)) return;
    double sent = Family().Tune(stereo, band, frequency);
    frequency_ = sent;
    band_ = band;
    if (band == bFM) lastFM_ = sent;
    else lastAM_ = sent;
}

uint8_t TRadioCard::TunedStatus(int threshold) {
    if (!active_ || (band_ == bAM && !Family().StatusOnAM())) return kNotTuned;
    // The models of old ignore the threshold; a receiver that measures its
    // signal decides with it.
    return Family().TunedStatus(threshold);
}

int TRadioCard::SignalLevel() { return active_ ? Family().SignalLevel() : -1; }

bool TRadioCard::HardwareSeek(bool up) {
    if (!active_ || !caps_.HardwareSeek) return false;
    double found = 0.0;
    if (!Family().HardwareSeek(up, &found)) return false;
    frequency_ = found;
    if (band_ == bFM) lastFM_ = found;
    else lastAM_ = found;
    return true;
}

bool TRadioCard::PollRds() { return active_ && caps_.Rds && Family().PollRds(); }

std::string TRadioCard::RdsStationName() const { return active_ ? Family().RdsStationName() : std::string(); }

int TRadioCard::RdsPollFd() const { return active_ ? Family().RdsPollFd() : -1; }

std::string TRadioCard::ReadReply() { return serial_->ReadAll(); }

int TRadioCard::SerialOpenError() const { return serial_->LastOpenError(); }

std::string TRadioCard::SerialDevicePath() const { return serial_->DevicePath(); }

// --- audio ---

const TRadioCard::tMixerLine* TRadioCard::CurrentMixerLine() const {
    if (!OnMixerLine() || !mixer_ || !mixer_->Active()) return nullptr;
    const tMixerLine& line = lines_[volumeLine_];
    // Callers never write a control the sound card lacks.
    return line.usable ? &line : nullptr;
}

void TRadioCard::ReportMixerError(const mixer::eMMError& error) {
    if (!destroying_ && OnMixerError) OnMixerError(*this, error);
}

bool TRadioCard::LineMuted(const tMixerLine& line) const {
    auto mute = static_cast<mixer::tMixerControlType>(line.muteSlot);
    return mixer_->GetChannel(mute, 0) != mixer_->ControlMin(mute);
}

bool TRadioCard::MixerWriteVolume(int32_t v) {
    const tMixerLine* line = CurrentMixerLine();
    if (!line) return true;
    // M div 256 per volume unit. A control with fewer than 256 steps would
    // make that 0 and silence the line for good, so scale it instead.
    int32_t value = line->max >= 256 ? (line->max / 256) * v
                                     : static_cast<int32_t>(RoundEven(static_cast<double>(line->max) * v / 256.0));
    auto vol = static_cast<mixer::tMixerControlType>(line->volumeSlot);
    try {
        mixer_->SetBoth(vol, value, value);
    } catch (const mixer::eMMError& e) {
        ReportMixerError(e); // the control keeps its value, and Volume too
        return false;
    }
    muted_ = LineMuted(*line);
    return true;
}

bool TRadioCard::MixerSetMute(bool on) {
    const tMixerLine* line = CurrentMixerLine();
    if (line) {
        auto mute = static_cast<mixer::tMixerControlType>(line->muteSlot);
        const int32_t m = on ? mixer_->ControlMax(mute) : mixer_->ControlMin(mute);
        try {
            mixer_->SetBoth(mute, m, m);
        } catch (const mixer::eMMError& e) {
            ReportMixerError(e);
            muted_ = LineMuted(*line);
            return false;
        }
    }
    muted_ = on;
    return true;
}

void TRadioCard::MuteOn() {
    if (!active_) return;
    if (volumeLine_ == vlNative) Family().Mute();
    else if (OnMixerLine()) MixerSetMute(true);
}

void TRadioCard::MuteOff() {
    if (!active_) return;
    if (volumeLine_ == vlNative) {
        Family().Unmute();
    } else if (OnMixerLine()) {
        // The card itself may be silenced (opened muted): unmute it first.
        // Volume is the line's here; a native unmute that snaps it to the
        // card's own step must not change it.
        int32_t lineVolume = volume_;
        Family().Unmute();
        volume_ = lineVolume;
        MixerSetMute(false);
    }
}

void TRadioCard::NativeUnmute() {
    if (!active_) return;
    const int32_t lineVolume = volume_;
    Family().Unmute();
    if (OnMixerLine()) volume_ = lineVolume;
}

void TRadioCard::ReadMixerLine() {
    if (!OnMixerLine() || !mixer_) return;
    try {
        HandleMixerChange(lines_[volumeLine_].volumeSlot);
    } catch (const mixer::eMMError& e) {
        ReportMixerError(e);
    }
}

void TRadioCard::VolumeUp() {
    if (!active_) return;
    if (volumeLine_ == vlNative) {
        Family().VolumeUp();
    } else if (OnMixerLine()) {
        if (volume_ >= maxVolume_) return;
        if (MixerWriteVolume(volume_ + 1)) ++volume_;
    }
}

void TRadioCard::VolumeDown() {
    if (!active_) return;
    if (volumeLine_ == vlNative) {
        Family().VolumeDown();
    } else if (OnMixerLine()) {
        if (volume_ <= 0) return;
        if (MixerWriteVolume(volume_ - 1)) --volume_;
    }
}

void TRadioCard::ApplyVolume(int32_t volume) {
    if (!active_ || maxVolume_ == 0) return;
    volume = std::clamp(volume, 0, std::min(maxVolume_, kMaxVolume));
    if (volumeLine_ == vlNative) {
        Family().SetVolume(volume);
    } else if (OnMixerLine()) {
        if (MixerWriteVolume(volume)) volume_ = volume;
    }
}

void TRadioCard::VolumeToZero() {
    if (!active_) return;
    if (volumeLine_ == vlNative) Family().VolumeReset();
}

void TRadioCard::HandleMixerChange(int control) {
    if (!OnMixerLine() || !mixer_) return;
    const tMixerLine& line = lines_[volumeLine_];
    if (control != line.volumeSlot && control != line.muteSlot) return;
    auto c = static_cast<mixer::tMixerControlType>(control);
    auto mute = static_cast<mixer::tMixerControlType>(line.muteSlot);
    if (control == line.volumeSlot) {
        int32_t peak = std::max(mixer_->GetChannel(c, 0), mixer_->GetChannel(c, 1));
        int32_t divisor = line.max / 257;
        double v = divisor > 0 ? static_cast<double>(peak) / divisor
                               : (line.max > 0 ? static_cast<double>(peak) * 256.0 / line.max : 0.0);
        volume_ = std::clamp(static_cast<int32_t>(RoundEven(v)), 0, 256);
    }
    if (mixer_->Available(mute)) muted_ = mixer_->GetChannel(mute, 0) != mixer_->ControlMin(mute);
    if (!destroying_ && OnMixerChange) OnMixerChange(*this, volume_, muted_);
}

} // namespace tunevox::radio
