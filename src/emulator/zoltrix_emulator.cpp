#include "zoltrix_emulator.h"

namespace tunevox::emulator {

namespace {

// The frame's fixed bits: the first 45 bits of C480402C10080000.
constexpr uint64_t kTemplate = 0xC480402C10080000ull >> (64 - ZoltrixEmulator::kFrameBits);
// Where W and the stereo flag sit, counted from the last bit sent (bit 0).
constexpr int kLowByteShift = 28;  // frame bits 10..17
constexpr int kHighByteShift = 19; // frame bits 19..26
constexpr int kStereoShift = 12;   // frame bit 33
constexpr uint64_t kVariableBits =
    (0xFFull << kLowByteShift) | (0xFFull << kHighByteShift) | (1ull << kStereoShift);
constexpr uint32_t kWOffset = 2130; // W at 0 MHz, in 5 kHz units

} // namespace

ZoltrixEmulator::ZoltrixEmulator(uint16_t port, const StationList& stations) : port_(port), stations_(stations) {}

void ZoltrixEmulator::PortWrite(uint16_t port, uint8_t value) {
    if (port != port_) return;
    switch (phase_) {
    case Phase::Idle:
        WriteIdle(value);
        return;
    case Phase::StartSeen:
        if (value == 0xC0) {
            phase_ = Phase::InFrame;
            tripleLen_ = 0;
            bitCount_ = 0;
            bits_ = 0;
        } else {
            phase_ = Phase::Idle;
            WriteIdle(value);
        }
        return;
    case Phase::InFrame:
        break;
    }

    triple_[tripleLen_++] = value;
    const uint8_t first = triple_[0];
    const uint8_t second = triple_[1];
    switch (tripleLen_) {
    case 1:
        if (first != 0x80 && first != 0xC0) Abandon(value);
        return;
    case 2:
        if (!(first == 0x80 && (second == 0x00 || second == 0xC0)) && !(first == 0xC0 && second == 0x40))
            Abandon(value);
        return;
    default:
        tripleLen_ = 0;
        if (first == 0x80 && second == 0x00 && value == 0x80) {
            if (bitCount_ < 64) bits_ = (bits_ << 1) | 1;
            ++bitCount_;
        } else if (first == 0xC0 && second == 0x40 && value == 0xC0) {
            if (bitCount_ < 64) bits_ <<= 1;
            ++bitCount_;
        } else if (first == 0x80 && second == 0xC0 && value == 0x40) {
            EndFrame();
        } else {
            Abandon(value);
        }
        return;
    }
}

void ZoltrixEmulator::WriteIdle(uint8_t value) {
    if (value < 16) latch_ = value;
    else if (value == 0x40) phase_ = Phase::StartSeen;
    // Anything else outside a frame means nothing to the card.
}

void ZoltrixEmulator::Abandon(uint8_t value) {
    ++malformed_;
    phase_ = Phase::Idle;
    tripleLen_ = 0;
    WriteIdle(value);
}

void ZoltrixEmulator::EndFrame() {
    phase_ = Phase::Idle;
    if (bitCount_ != kFrameBits) {
        ++malformed_;
        return;
    }
    lastFrame_ = bits_;
    uint32_t w = static_cast<uint32_t>(((bits_ >> kLowByteShift) & 0xFF) | (((bits_ >> kHighByteShift) & 0xFF) << 8));
    if ((bits_ & ~kVariableBits) != kTemplate || w <= kWOffset) {
        ++malformed_;
        return;
    }
    frequencyMHz_ = (w - kWOffset) * 5 / 1000.0;
    stereoRequested_ = ((bits_ >> kStereoShift) & 1) != 0;
    ++frames_;
    Reception r = stations_.Receive(Band::FM, frequencyMHz_, stereoRequested_);
    status_ = !r.station ? kStatusNothing : stereoRequested_ ? kStatusStereoMode : kStatusMonoMode;
}

uint8_t ZoltrixEmulator::PortRead(uint16_t port) {
    if (port == port_) return status_;
    if (port == port_ + 2) audioOn_ = true;
    else if (port == port_ + 3) audioOn_ = false;
    return 0xFF;
}

ReceiverState ZoltrixEmulator::State() const {
    ReceiverState s;
    s.frequencyMHz = frequencyMHz_;
    s.band = Band::FM;
    s.audioOn = audioOn_;
    s.volumeLevel = latch_;
    s.stereoRequested = stereoRequested_;
    return s;
}

} // namespace tunevox::emulator
