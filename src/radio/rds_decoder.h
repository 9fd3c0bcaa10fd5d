#pragma once
// TRdsDecoder: the station's name, programme type and PI code from the RDS
// blocks a Linux radio device hands out through read(). Each record there
// is three bytes: the block's 16 information bits (low byte first, then the
// high byte) and a status byte whose bits 0-2 tell which block the receiver
// took it for (A, B, C, D or C'), 0x40 that its errors were corrected and
// 0x80 that they could not be. Plain C++, no Qt, no device access: the
// owner reads the device and feeds the bytes.
//
// Noise must never reach the window, so nothing is shown before it was
// received twice:
// - Blocks are put together into groups A, B, C (or C'), D in that order.
//   A block flagged as uncorrectable or arriving out of order drops the
//   group being assembled; a block A always starts a new one. Nothing is
//   taken from a group that did not arrive whole.
// - A corrected block counts like a clean one. A wrong correction is what
//   the confirmations below catch: a wrongly corrected character arrives
//   once, not twice in a row, so it is never shown.
// - PI: confirmed when two groups in a row carry the same code. Only
//   groups carrying the confirmed code are decoded (the two that confirm it
//   included), so a corrupt block A, or blocks of the previous station
//   still queued in the device, contribute nothing. When a different code
//   is confirmed the radio was retuned without Reset: name and programme
//   type are forgotten and collected anew.
// - Programme type: confirmed when two decoded groups in a row carry it.
// - Name: eight characters sent two at a time (groups 0A and 0B, segment
//   address in block B, characters in block D), in any order. It is shown
//   once it was assembled twice in a row: every segment received, then
//   every segment received again with the same characters. A segment that
//   arrives with other characters means the text changed: the assembly
//   starts again from it, and the segments held from before count as
//   received once at most, so each must come again unchanged before
//   anything is shown. A station that scrolls text through its name, or a
//   segment lost while the name changes, thus never shows half of one text
//   and half of the next. The count runs per segment, not per round of
//   four, so a text that starts in the middle of a round is shown after
//   its second round all the same. The name shown stays until another is
//   confirmed: a station that changes its text faster than that shows
//   nothing new, which beats showing fragments.
//
// One thread: the owner feeds and reads on the same one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tunevox::radio {

// The size of one record of the device's RDS stream.
constexpr size_t kRdsRecordSize = 3;

// The name of programme type `pty` (0..31) as the European RDS lists it
// ("Pop music" for 10), or as North American RBDS lists it when `rbds`
// ("Top 40" for 9). "" for 0 (no programme type), for codes without a name
// and for values out of range (-1, "not known yet", included).
std::string_view PtyName(int pty, bool rbds = false);

class TRdsDecoder {
public:
    // One record: `lsb` and `msb` the block's information bits, `status`
    // the device's status byte. true when StationName, ProgramType or
    // ProgramIdentification changed.
    bool Feed(uint8_t lsb, uint8_t msb, uint8_t status);

    // The bytes of one read() of the device, or of several, or any piece of
    // them: a record cut at the end is kept and completed by the next call.
    // true when anything Feed reports changed.
    bool FeedBytes(const uint8_t* bytes, size_t count);

    // Forgets the station: call on every tuning. A record cut by the last
    // FeedBytes is kept, since the device's stream goes on across tunings;
    // a new device (or reopened one) wants a new decoder.
    void Reset();

    // The confirmed name as UTF-8, trailing blanks removed; "" until one is
    // confirmed (and for a name of blanks only).
    const std::string& StationName() const { return name_; }
    // The confirmed programme type 0..31, -1 until one is confirmed.
    int ProgramType() const { return pty_; }
    // The confirmed PI code 0..0xFFFF, -1 until one is confirmed.
    int ProgramIdentification() const { return pi_; }

private:
    bool DecodeGroup();
    bool DecodeContent(const std::array<uint16_t, 4>& group);
    bool TakeNameSegment(unsigned address, uint8_t first, uint8_t second);
    void ForgetStation();

    // The group being assembled: blocks A, B, C/C', D; next_ the position
    // awaited, 0 while waiting for a block A.
    std::array<uint16_t, 4> group_{};
    int next_ = 0;

    int pi_ = -1;
    int lastPi_ = -1;
    std::array<uint16_t, 4> held_{}; // the last group, while its PI awaits confirmation
    int pty_ = -1;
    int lastPty_ = -1;

    // The name as last received, in the station's codes (two codes shown
    // alike are still different), and for each segment how often in a row
    // it came unchanged: 0, 1 or 2 (enough).
    std::array<uint8_t, 8> codes_{};
    std::array<uint8_t, 4> received_{};
    std::string name_;

    std::array<uint8_t, kRdsRecordSize> partial_{};
    size_t partialCount_ = 0;
};

} // namespace tunevox::radio
