#include "aimslab_emulator.h"

#include <algorithm>

namespace tunevox::emulator {

namespace {

constexpr uint8_t kAudioOn = 0xD8;
constexpr uint8_t kAudioOff = 0xD0;
constexpr uint8_t kVolumeUp = 0x88;
constexpr uint8_t kVolumeDown = 0x48;

constexpr int kWordBits = 24;
constexpr uint32_t kWordMarker = 0xA0;
constexpr uint32_t kIfOffset = 428; // 10.7 MHz in 25 kHz units

constexpr int64_t kFullScaleMs = int64_t{AimsLabEmulator::kMaxVolumeLevel} * AimsLabEmulator::kMsPerVolumeLevel;

bool IsShiftWrite(uint8_t v) { return (v & ~0x07) == 0 && (v & 0x01) != 0; }

} // namespace

AimsLabEmulator::AimsLabEmulator(uint16_t port, const platform::ITimeSource& clock, const StationList& stations)
    : port_(port), clock_(clock), stations_(stations) {}

void AimsLabEmulator::PortWrite(uint16_t port, uint8_t value) {
    if (port != port_) return;

    if (held_ != 0 && value != (held_ > 0 ? kVolumeUp : kVolumeDown)) ReleaseVolumeKey();

    if (IsShiftWrite(value)) {
        if (!shifting_) {
            shifting_ = true;
            clockHigh_ = false;
            bitCount_ = 0;
            bits_ = 0;
        }
        bool clock = (value & 0x02) != 0;
        if (clock && !clockHigh_) {
            if (bitCount_ < 32 && (value & 0x04)) bits_ |= uint32_t{1} << bitCount_;
            ++bitCount_;
        }
        clockHigh_ = clock;
        return;
    }
    if (shifting_) EndShift();

    switch (value) {
    case kAudioOn:
        audioOn_ = true;
        break;
    case kAudioOff:
        audioOn_ = false;
        break;
    case kVolumeUp:
    case kVolumeDown:
        if (held_ == 0) {
            held_ = value == kVolumeUp ? 1 : -1;
            heldSince_ = clock_.NowMs();
        }
        break;
    default:
        break; // release, status request, the idle 0 and unknown bytes
    }
}

uint8_t AimsLabEmulator::PortRead(uint16_t port) {
    if (port != port_) return 0xFF;
    return status_;
}

void AimsLabEmulator::ReleaseVolumeKey() {
    uint64_t now = clock_.NowMs();
    int64_t elapsed = now > heldSince_ ? static_cast<int64_t>(now - heldSince_) : 0;
    volumeMs_ = std::clamp<int64_t>(volumeMs_ + held_ * elapsed, 0, kFullScaleMs);
    held_ = 0;
}

void AimsLabEmulator::EndShift() {
    shifting_ = false;
    if (bitCount_ != kWordBits) {
        ++malformed_;
        return;
    }
    lastWord_ = bits_;
    uint32_t divider = bits_ & 0xFFFF;
    if ((bits_ >> 16) != kWordMarker || divider < kIfOffset) {
        ++malformed_;
        return;
    }
    frequencyMHz_ = (divider - kIfOffset) / 40.0;
    ++tunings_;
    Reception r = stations_.Receive(Band::FM, frequencyMHz_, true);
    status_ = !r.station ? kStatusNothing : r.stereo ? kStatusStereo : kStatusMono;
}

int AimsLabEmulator::LevelAt(uint64_t now) const {
    int64_t ms = volumeMs_;
    if (held_ != 0) {
        int64_t elapsed = now > heldSince_ ? static_cast<int64_t>(now - heldSince_) : 0;
        ms = std::clamp<int64_t>(ms + held_ * elapsed, 0, kFullScaleMs);
    }
    // Nearest level, so a clock that runs a little long or short still
    // lands on the intended step.
    return static_cast<int>((ms * 2 + kMsPerVolumeLevel) / (2 * kMsPerVolumeLevel));
}

ReceiverState AimsLabEmulator::State() const {
    ReceiverState s;
    s.frequencyMHz = frequencyMHz_;
    s.band = Band::FM;
    s.audioOn = audioOn_;
    s.volumeLevel = LevelAt(clock_.NowMs());
    s.stereoRequested = true;
    return s;
}

} // namespace tunevox::emulator
