#pragma once
// An emulated Aztech radio card at base port P (eight ports P..P+7).
//
// Every byte written to P carries the volume level in bits 0 and 2
// (0, 1, 4, 5 are the card's levels 0..3; 0 is silence, which is how the
// card mutes). Bit 1 selects shift mode, in which bit 6 is the clock and
// bit 7 the data: each rising clock edge shifts one bit, least significant
// first. Shift mode ends with the first byte that has bit 1 clear; when
// that byte has bits 6 and 7 set and exactly 24 bits came in, the word is
// latched:
//   bits 0..13   divider: the frequency plus 10.7 MHz in 25 kHz units
//   bits 14..23  control: 0,0,0,S,1,0,0,1,0,1 with S the stereo request
// A word of another length, with different control bits, or a divider
// below 10.7 MHz, does not tune (MalformedSequences() counts it); nor does
// a complete word ended by a byte other than the latch byte.
//
// Reading any of P..P+7 gives the same status byte, so a steady reader
// sees the same value on all eight: 0xFC tuned in stereo, 0xFD tuned in
// mono, 0xFF nothing received (also before the first tuning).

#include <cstdint>
#include <optional>

#include "emulator/station_list.h"
#include "platform/port_io.h"

namespace tunevox::emulator {

class AztechEmulator final : public platform::IPortIO {
public:
    static constexpr uint16_t kPortSpan = 8;
    static constexpr int kMaxVolumeLevel = 3;
    static constexpr uint8_t kStatusStereo = 0xFC;
    static constexpr uint8_t kStatusMono = 0xFD;
    static constexpr uint8_t kStatusNothing = 0xFF;

    // The card starts silent and not tuned. The station list is copied.
    AztechEmulator(uint16_t port, const StationList& stations);

    void PortWrite(uint16_t port, uint8_t value) override;
    uint8_t PortRead(uint16_t port) override;

    // volumeLevel 0..3 from the last byte written; audioOn while it is not 0.
    ReceiverState State() const;

    int TuningsDecoded() const { return tunings_; }
    int MalformedSequences() const { return malformed_; }
    // The last shifted word that had exactly 24 bits, bit 0 sent first.
    std::optional<uint32_t> LastWord() const { return lastWord_; }

private:
    void EndShift(uint8_t endByte);

    uint16_t port_;
    StationList stations_;

    double frequencyMHz_ = 0.0;
    bool stereoRequested_ = false;
    uint8_t status_ = kStatusNothing;
    int level_ = 0;

    bool shifting_ = false;
    bool clockHigh_ = false;
    int bitCount_ = 0;
    uint32_t bits_ = 0;

    int tunings_ = 0;
    int malformed_ = 0;
    std::optional<uint32_t> lastWord_;
};

} // namespace tunevox::emulator
