#include "radio_card.h"

#include <algorithm>
#include <cmath>

#include "card_family.h"
#include "frequency.h"
#include "mixer/mixer.h"
#include "platform/comm_port_driver.h"
#include "platform/mixer_device.h"
#include "platform/port_io.h"
#include "platform/sleeper.h"

namespace tunevox::radio {

namespace {

enum FamilyIndex { kAimsLab, kAztech, kZoltrix, kSerial };

FamilyIndex FamilyOf(tModel m) {
    switch (m) {
    case mRadioTrack:
    case mRA300:
        return kAimsLab;
    case mAztech:
        return kAztech;
    case mZoltrix:
        return kZoltrix;
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

    hasSoundCard_ = env_.sound != nullptr && env_.sound->HasSoundCard();
    if (hasSoundCard_) {
        mixer_ = std::make_unique<mixer::TMixer>(*env_.sound, *env_.events);
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
    if (active_ && caps_.PortKind == kSerialPort) Close();
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
            maxVolume_ = 256;
            volume_ = TCardFamily::SnapVolume(volume_, volumeStep_);
        }
        break;
    case vlLineIn:
    case vlMicIn:
    case vlCd:
        volumeStep_ = 1;
        maxVolume_ = 256;
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

// --- lifecycle ---

void TRadioCard::Open() {
    if (active_) return;
    active_ = true;
    Family().Open();
}

void TRadioCard::Close() {
    if (!active_) return;
    Family().Close();
    CommonCloseRule();
    active_ = false;
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

uint8_t TRadioCard::TunedStatus(int /*threshold: accepted, not used*/) {
    if (!active_ || band_ == bAM) return kNotTuned;
    return Family().TunedStatus();
}

std::string TRadioCard::ReadReply() { return serial_->ReadAll(); }

// --- audio ---

const TRadioCard::tMixerLine* TRadioCard::CurrentMixerLine() const {
    if (!OnMixerLine() || !mixer_ || !mixer_->Active()) return nullptr;
    const tMixerLine& line = lines_[volumeLine_];
    // Callers never write a control the sound card lacks.
    return line.usable ? &line : nullptr;
}

void TRadioCard::MixerWriteVolume(int32_t v) {
    const tMixerLine* line = CurrentMixerLine();
    if (!line) return;
    // M div 256 per volume unit. A control with fewer than 256 steps would
    // make that 0 and silence the line for good, so scale it instead.
    int32_t value = line->max >= 256 ? (line->max / 256) * v
                                     : static_cast<int32_t>(RoundEven(static_cast<double>(line->max) * v / 256.0));
    auto vol = static_cast<mixer::tMixerControlType>(line->volumeSlot);
    auto mute = static_cast<mixer::tMixerControlType>(line->muteSlot);
    mixer_->SetBoth(vol, value, value);
    muted_ = mixer_->GetChannel(mute, 0) != mixer_->ControlMin(mute);
}

void TRadioCard::MixerMuteOn() {
    const tMixerLine* line = CurrentMixerLine();
    if (line) {
        auto mute = static_cast<mixer::tMixerControlType>(line->muteSlot);
        int32_t m = mixer_->ControlMax(mute);
        mixer_->SetBoth(mute, m, m);
    }
    muted_ = true;
}

void TRadioCard::MixerMuteOff() {
    const tMixerLine* line = CurrentMixerLine();
    if (line) {
        auto mute = static_cast<mixer::tMixerControlType>(line->muteSlot);
        int32_t m = mixer_->ControlMin(mute);
        mixer_->SetBoth(mute, m, m);
    }
    muted_ = false;
}

void TRadioCard::MuteOn() {
    if (!active_) return;
    if (volumeLine_ == vlNative) Family().Mute();
    else if (OnMixerLine()) MixerMuteOn();
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
        MixerMuteOff();
    }
}

void TRadioCard::VolumeUp() {
    if (!active_) return;
    if (volumeLine_ == vlNative) {
        Family().VolumeUp();
    } else if (OnMixerLine()) {
        if (volume_ >= maxVolume_) return;
        ++volume_;
        MixerWriteVolume(volume_);
    }
}

void TRadioCard::VolumeDown() {
    if (!active_) return;
    if (volumeLine_ == vlNative) {
        Family().VolumeDown();
    } else if (OnMixerLine()) {
        if (volume_ <= 0) return;
        --volume_;
        MixerWriteVolume(volume_);
    }
}

void TRadioCard::ApplyVolume(int32_t volume) {
    if (!active_ || maxVolume_ == 0) return;
    volume = std::clamp(volume, 0, maxVolume_);
    if (volumeLine_ == vlNative) {
        Family().SetVolume(volume);
    } else if (OnMixerLine()) {
        MixerWriteVolume(volume);
        volume_ = volume;
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
