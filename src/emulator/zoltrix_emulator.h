#pragma once
// An emulated Zoltrix radio card at base port P (ports P..P+3).
//
// Writes go to P. Outside a frame a byte 0..15 is the volume latch (the
// card's levels 0..15, 0 the quietest audible one). Reading P+2 switches
// the audio on at the latched level, reading P+3 switches it off; reading P
// gives the reception status.
//
// A tuning frame starts with 0x40, 0xC0 and is sent in triples:
//   0x80 0x00 0x80   a 1 bit
//   0xC0 0x40 0xC0   a 0 bit
//   0x80 0xC0 0x40   end of frame
// A complete frame has 45 bits:
//   1,1,0,0,0,1,0,0,1; W low byte; 1; W high byte; 1,0,1,1,0,0; stereo;
//   0,0,1; eight 0s; 1
// (bytes most significant bit first) and tunes (W - 2130) / 200 MHz. Any
// other byte inside a frame abandons it (and is then taken as if no frame
// had been open, so it can start a new one or set the volume); a frame of
// the wrong length, with a wrong fixed bit or W below 2130 does not tune.
// MalformedFrames() counts all of these.
//
// Status: tuned to a station, the card answers 0xEF in stereo mode and 0xDF
// in mono mode (the mode the last frame asked for); 0xFF when nothing is
// received or before the first tuning.

#include <cstdint>
#include <optional>

#include "emulator/station_list.h"
#include "platform/port_io.h"

namespace tunevox::emulator {

class ZoltrixEmulator final : public platform::IPortIO {
public:
    static constexpr uint16_t kPortSpan = 4;
    static constexpr int kFrameBits = 45;
    static constexpr int kMaxVolumeLevel = 15;
    static constexpr uint8_t kStatusStereoMode = 0xEF;
    static constexpr uint8_t kStatusMonoMode = 0xDF;
    static constexpr uint8_t kStatusNothing = 0xFF;

    // The card starts silent, latch 0, not tuned. The station list is copied.
    ZoltrixEmulator(uint16_t port, const StationList& stations);

    void PortWrite(uint16_t port, uint8_t value) override;
    uint8_t PortRead(uint16_t port) override;

    // volumeLevel is the volume latch 0..15.
    ReceiverState State() const;

    int FramesDecoded() const { return frames_; }
    int MalformedFrames() const { return malformed_; }
    // The last frame that ended properly with exactly 45 bits, the first
    // bit sent as bit 44.
    std::optional<uint64_t> LastFrame() const { return lastFrame_; }

private:
    enum class Phase { Idle, StartSeen, InFrame };

    void WriteIdle(uint8_t value);
    void Abandon(uint8_t value);
    void EndFrame();

    uint16_t port_;
    StationList stations_;

    double frequencyMHz_ = 0.0;
    bool stereoRequested_ = false;
    uint8_t status_ = kStatusNothing;
    bool audioOn_ = false;
    int latch_ = 0;

    Phase phase_ = Phase::Idle;
    uint8_t triple_[3] = {};
    int tripleLen_ = 0;
    int bitCount_ = 0;
    uint64_t bits_ = 0;

    int frames_ = 0;
    int malformed_ = 0;
    std::optional<uint64_t> lastFrame_;
};

} // namespace tunevox::emulator
