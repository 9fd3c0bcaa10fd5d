#pragma once
// An emulated AimsLab/Reveal radio card on one I/O port.
//
// What the card understands, byte by byte:
//   0x01..0x07 with bit 0 set  shift mode: bit 1 is the clock, bit 2 the
//                              data; each rising clock edge shifts one bit,
//                              least significant first. Any other byte ends
//                              shift mode; exactly 24 bits whose top byte is
//                              0xA0 tune the receiver to
//                              ((word & 0xFFFF) - 428) / 40 MHz.
//   0xD8 / 0xD0                audio on / off
//   0x88 / 0x48                volume up / down held; the key stays held
//                              until the next different byte (normally 0xC8)
//                              and the volume moves one level per 125 ms of
//                              held time, measured on the given clock
//   0xC8                       volume keys released
//   0xF8, 0xE8, 0x00           no effect of their own
// Reading the port gives the reception status: 0xFD tuned in stereo, 0xFE
// tuned in mono, 0xFF nothing received (also before the first tuning).
//
// A shift sequence of the wrong length, or a 24-bit word without the 0xA0
// marker or below the 10.7 MHz offset, does not tune: the receiver keeps
// its previous frequency and MalformedSequences() counts it.

#include <cstdint>
#include <optional>

#include "emulator/station_list.h"
#include "platform/port_io.h"
#include "platform/sleeper.h"

namespace tunevox::emulator {

class AimsLabEmulator final : public platform::IPortIO {
public:
    static constexpr uint16_t kPortSpan = 1;
    static constexpr int kMaxVolumeLevel = 16;
    static constexpr unsigned kMsPerVolumeLevel = 125;
    static constexpr uint8_t kStatusStereo = 0xFD;
    static constexpr uint8_t kStatusMono = 0xFE;
    static constexpr uint8_t kStatusNothing = 0xFF;

    // The card starts silent, at volume level 0, not tuned. The clock must
    // outlive the emulator; the station list is copied.
    AimsLabEmulator(uint16_t port, const platform::ITimeSource& clock, const StationList& stations);

    void PortWrite(uint16_t port, uint8_t value) override;
    uint8_t PortRead(uint16_t port) override;

    // volumeLevel is 0..16 and includes a key that is still held, as far as
    // the clock has run. The card has no mono switch and always decodes
    // stereo, so stereoRequested is always true.
    ReceiverState State() const;

    int TuningsDecoded() const { return tunings_; }
    int MalformedSequences() const { return malformed_; }
    // The last shifted word that had exactly 24 bits, accepted or not.
    std::optional<uint32_t> LastWord() const { return lastWord_; }
    bool VolumeKeyHeld() const { return held_ != 0; }

private:
    void ReleaseVolumeKey();
    void EndShift();
    int LevelAt(uint64_t now) const;

    uint16_t port_;
    const platform::ITimeSource& clock_;
    StationList stations_;

    double frequencyMHz_ = 0.0;
    uint8_t status_ = kStatusNothing;
    bool audioOn_ = false;

    // Volume as held time on the 0..16 × 125 ms scale, so short presses add
    // up the way the card's analogue ramp would.
    int64_t volumeMs_ = 0;
    int held_ = 0; // +1 up, -1 down, 0 none
    uint64_t heldSince_ = 0;

    bool shifting_ = false;
    bool clockHigh_ = false;
    int bitCount_ = 0;
    uint32_t bits_ = 0;

    int tunings_ = 0;
    int malformed_ = 0;
    std::optional<uint32_t> lastWord_;
};

} // namespace tunevox::emulator
