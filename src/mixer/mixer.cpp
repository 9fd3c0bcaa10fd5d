#include "mixer.h"

namespace tunevox::mixer {

using platform::tMixerControlKind;
using platform::tMixerLineKind;
namespace mmcode = platform::mmcode;

// --- eMMError ---

eMMError::eMMError(int code, const std::string& call) : std::runtime_error(Compose(code, call)), code_(code), call_(call) {}

const char* eMMError::Category(int code) {
    if (code >= 1 && code <= 20) return "System";
    if (code >= 1024 && code <= 1026) return "Mixer";
    return "Unknown";
}

const char* eMMError::CodeText(int code) {
    switch (code) {
    case 1: return "Unspecified error";
    case 2: return "Device ID out of range";
    case 3: return "Driver failed enable";
    case 4: return "Device already allocated";
    case 5: return "Device handle is invalid";
    case 6: return "No device driver present";
    case 7: return "Memory allocation error";
    case 8: return "Function isn't supported";
    case 9: return "Error value out of range";
    case 10: return "Invalid flag passed";
    case 11: return "Invalid parameter passed";
    case 12: return "Handle being used simultaneously on another thread (eg callback)";
    case 13: return "Specified alias not found";
    case 14: return "Bad registry database";
    case 15: return "Registry key not found";
    case 16: return "Registry read error";
    case 17: return "Registry write error";
    case 18: return "Registry delete error";
    case 19: return "Registry value not found";
    case 20: return "Driver does not call DriverCallback";
    case 1024: return "Invalid Mixer Line";
    case 1025: return "Invalid Mixer Control";
    case 1026: return "Invalid Mixer Value";
    default: return "Unknown error";
    }
}

std::string eMMError::Compose(int code, const std::string& call) {
    std::string s = "Multimedia ";
    s += Category(code);
    s += " Error ";
    s += std::to_string(code);
    s += " - ";
    s += CodeText(code);
    s += " in ";
    s += call;
    return s;
}

// --- slots ---

int32_t TMixer::tSlot::Channel(int i) const {
    if (!available || values.empty()) return 0;
    if (i == 1 && values.size() >= 2) return values[1];
    return values[0];
}

TMixer::TMixer(platform::ISoundSystem& sound, platform::IEventPoster& events) : sound_(sound), events_(events) {}

TMixer::~TMixer() {
    destroying_ = true;
    Close();
}

bool TMixer::Available(tMixerControlType c) const { return Valid(c) && slots_[c].available; }

int32_t TMixer::ControlMin(tMixerControlType c) const { return Available(c) ? slots_[c].control.minimum : 0; }

int32_t TMixer::ControlMax(tMixerControlType c) const { return Available(c) ? slots_[c].control.maximum : 0; }

int32_t TMixer::GetChannel(tMixerControlType c, int channel) const {
    if (!Valid(c) || (channel != 0 && channel != 1)) return 0;
    return slots_[c].Channel(channel);
}

void TMixer::SetChannel(tMixerControlType c, int channel, int32_t value) {
    if (!Available(c) || (channel != 0 && channel != 1)) return;
    tSlot& slot = slots_[c];
    if (slot.Channel(channel) == value) return;
    // A slot holding one value (a uniform or mono control) has one value
    // for both channels: setting either sets it.
    if (slot.values.size() < 2) {
        WriteSlot(slot, value, value);
    } else {
        WriteSlot(slot, channel == 0 ? value : slot.values[0], channel == 1 ? value : slot.values[1]);
    }
}

void TMixer::SetBoth(tMixerControlType c, int32_t left, int32_t right) {
    if (!Available(c)) return;
    WriteSlot(slots_[c], left, right);
}

int TMixer::ChannelsToAsk(const tSlot& slot) const {
    if (slot.control.uniform || slot.lineChannels < 1) return 1;
    return slot.lineChannels;
}

void TMixer::ReadSlot(tSlot& slot) {
    if (!slot.available || !device_) return;
    const int n = ChannelsToAsk(slot);
    std::vector<int32_t> values;
    int rc = device_->GetValues(slot.control.controlId, n, values);
    if (rc != mmcode::kNoError) throw eMMError(rc, "mixerGetControlDetails");
    // A device answering fewer values than asked must not leave us reading
    // past what it gave.
    values.resize(static_cast<size_t>(n), values.empty() ? 0 : values.back());
    slot.values = std::move(values);
}

void TMixer::WriteSlot(tSlot& slot, int32_t left, int32_t right) {
    if (!device_) return;
    std::vector<int32_t> before = slot.values;
    const size_t n = static_cast<size_t>(ChannelsToAsk(slot));
    if (slot.values.size() != n) slot.values.resize(n, 0);
    slot.values[0] = left;
    if (n >= 2) slot.values[1] = right;
    int rc = device_->SetValues(slot.control.controlId, slot.values);
    if (rc != mmcode::kNoError) {
        // The stored pair stays what the device still holds.
        slot.values = std::move(before);
        throw eMMError(rc, "mixerSetControlDetails");
    }
}

// --- opening and closing ---

void TMixer::SetActive(bool on) {
    if (loading_) {
        active_ = on;
        return;
    }
    if (on == active_) return;
    if (on) Open();
    else Close();
}

void TMixer::SetMidiDeviceID(int32_t id) {
    if (loading_) {
        midiDeviceId_ = id;
        return;
    }
    const bool wasActive = active_;
    Close();
    midiDeviceId_ = id;
    if (wasActive) Open();
}

void TMixer::BeginLoading() {
    if (loading_) return;
    Close();
    loading_ = true;
    active_ = true;
}

void TMixer::EndLoading() {
    if (!loading_) return;
    loading_ = false;
    const bool wanted = active_;
    active_ = false;
    if (wanted) Open();
}

void TMixer::FindControls(const platform::tMixerLineInfo& line, tMixerControlType first,
                          std::initializer_list<tMixerControlKind> kinds) {
    int index = first;
    for (tMixerControlKind kind : kinds) {
        tSlot& slot = slots_[index++];
        platform::tMixerControlInfo info;
        int rc = device_->FindControl(line.lineId, kind, info);
        if (rc == mmcode::kInvalidLine || rc == mmcode::kInvalidControl) continue;
        if (rc != mmcode::kNoError) throw eMMError(rc, "mixerGetLineControls");
        slot.available = true;
        slot.control = info;
        slot.lineChannels = line.channels;
    }
}

void TMixer::Open() {
    if (active_) return;
    std::unique_ptr<platform::IMixerDevice> device;
    int rc = sound_.OpenMixer(midiDeviceId_, events_, [this](uint32_t id) { HandleChange(id); }, device);
    if (rc != mmcode::kNoError || !device) throw eMMError(rc != mmcode::kNoError ? rc : mmcode::kError, "mixerOpen");
    device_ = std::move(device);
    slots_ = {};
    destination_ = -1;
    try {
        destinationCount_ = device_->DestinationCount();
        platform::tMixerLineInfo destination;
        for (int d = 0; d < destinationCount_; ++d) {
            platform::tMixerLineInfo line;
            if (device_->GetDestination(d, line) != mmcode::kNoError) continue;
            if (line.kind == tMixerLineKind::kSpeakers) {
                destination_ = d;
                destination = line;
                break;
            }
        }
        if (destination_ >= 0) {
            FindControls(destination, mcMasterVolume,
                         {tMixerControlKind::kVolume, tMixerControlKind::kMute, tMixerControlKind::kTreble,
                          tMixerControlKind::kBass});
            const std::pair<tMixerLineKind, tMixerControlType> sources[] = {
                {tMixerLineKind::kSynthesizer, mcSynthVolume}, {tMixerLineKind::kWaveOut, mcWaveVolume},
                {tMixerLineKind::kCompactDisc, mcCdVolume},    {tMixerLineKind::kLine, mcLineInVolume},
                {tMixerLineKind::kMicrophone, mcMicVolume},    {tMixerLineKind::kPcSpeaker, mcSpeakerVolume},
            };
            for (const auto& [kind, first] : sources) {
                for (int s = 0; s < destination.connections; ++s) {
                    platform::tMixerLineInfo line;
                    if (device_->GetSource(destination_, s, line) != mmcode::kNoError) continue;
                    if (line.kind != kind) continue;
                    FindControls(line, first, {tMixerControlKind::kVolume, tMixerControlKind::kMute});
                    break;
                }
            }
        }
        for (tSlot& slot : slots_) ReadSlot(slot);
    } catch (...) {
        Close();
        throw;
    }
    active_ = true;
}

void TMixer::Close() {
    device_.reset(); // no notification reaches us past this point
    slots_ = {};
    destination_ = -1;
    destinationCount_ = 0;
    active_ = false;
}

// --- change notification ---

void TMixer::HandleChange(uint32_t controlId) {
    if (!device_) return;
    for (int i = 0; i < kMixerControlCount; ++i) {
        tSlot& slot = slots_[i];
        if (!slot.available || slot.control.controlId != controlId) continue;
        ReadSlot(slot);
        if (!destroying_ && OnControlChange) OnControlChange(*this, static_cast<tMixerControlType>(i));
        return;
    }
}

} // namespace tunevox::mixer
