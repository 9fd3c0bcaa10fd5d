#include "aztech_emulator.h"

namespace tunevox::emulator {

namespace {

constexpr uint8_t kShiftBit = 0x02;
constexpr uint8_t kClockBit = 0x40;
constexpr uint8_t kDataBit = 0x80;
constexpr uint8_t kLatch = kClockBit | kDataBit;

constexpr int kWordBits = 24;
constexpr int kDividerBits = 14;
constexpr uint32_t kStereoControlBit = 1u << 3;
// The fixed control bits 0,0,0,-,1,0,0,1,0,1, first bit lowest.
constexpr uint32_t kControlPattern = (1u << 4) | (1u << 7) | (1u << 9);
constexpr uint32_t kIfOffsetKHz = 10700;

int LevelOf(uint8_t v) { return (v & 0x01) | ((v & 0x04) >> 1); }

} // namespace

AztechEmulator::AztechEmulator(uint16_t port, const StationList& stations) : port_(port), stations_(stations) {}

void AztechEmulator::PortWrite(uint16_t port, uint8_t value) {
    if (port != port_) return;
    level_ = LevelOf(value);

    if (value & kShiftBit) {
        if (!shifting_) {
            shifting_ = true;
            clockHigh_ = false;
            bitCount_ = 0;
            bits_ = 0;
        }
        bool clock = (value & kClockBit) != 0;
        if (clock && !clockHigh_) {
            if (bitCount_ < 32 && (value & kDataBit)) bits_ |= uint32_t{1} << bitCount_;
            ++bitCount_;
        }
        clockHigh_ = clock;
        return;
    }
    if (shifting_) EndShift(value);
}

uint8_t AztechEmulator::PortRead(uint16_t port) {
    if (port < port_ || port - port_ >= kPortSpan) return 0xFF;
    return status_;
}

void AztechEmulator::EndShift(uint8_t endByte) {
    shifting_ = false;
    if (bitCount_ != kWordBits) {
        ++malformed_;
        return;
    }
    lastWord_ = bits_;
    uint32_t divider = bits_ & ((1u << kDividerBits) - 1);
    uint32_t control = bits_ >> kDividerBits;
    uint32_t kHz = divider * 25;
    if ((endByte & kLatch) != kLatch || (control & ~kStereoControlBit) != kControlPattern || kHz <= kIfOffsetKHz) {
        ++malformed_;
        return;
    }
    frequencyMHz_ = (kHz - kIfOffsetKHz) / 1000.0;
    stereoRequested_ = (control & kStereoControlBit) != 0;
    ++tunings_;
    Reception r = stations_.Receive(Band::FM, frequencyMHz_, stereoRequested_);
    status_ = !r.station ? kStatusNothing : r.stereo ? kStatusStereo : kStatusMono;
}

ReceiverState AztechEmulator::State() const {
    ReceiverState s;
    s.frequencyMHz = frequencyMHz_;
    s.band = Band::FM;
    s.audioOn = level_ != 0;
    s.volumeLevel = level_;
    s.stereoRequested = stereoRequested_;
    return s;
}

} // namespace tunevox::emulator
