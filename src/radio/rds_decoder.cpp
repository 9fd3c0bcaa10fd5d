#include "rds_decoder.h"

#include <algorithm>
#include <utility>

// The status byte's layout is the kernel's ABI; the values are repeated here
// so that this file builds without the kernel headers, and checked against
// them where they exist.
#if __has_include(<linux/videodev2.h>)
#include <linux/videodev2.h>
#endif

namespace tunevox::radio {
namespace {

constexpr uint8_t kBlockMask = 0x07; // the block as received
constexpr uint8_t kBlockA = 0;
constexpr uint8_t kBlockB = 1;
constexpr uint8_t kBlockC = 2;
constexpr uint8_t kBlockD = 3;
constexpr uint8_t kBlockCAlt = 4;
constexpr uint8_t kBlockError = 0x80;

#ifdef V4L2_RDS_BLOCK_MSK
static_assert(kBlockMask == V4L2_RDS_BLOCK_MSK && kBlockA == V4L2_RDS_BLOCK_A && kBlockB == V4L2_RDS_BLOCK_B &&
              kBlockC == V4L2_RDS_BLOCK_C && kBlockD == V4L2_RDS_BLOCK_D && kBlockCAlt == V4L2_RDS_BLOCK_C_ALT &&
              kBlockError == V4L2_RDS_BLOCK_ERROR);
#endif

// The position of a block in its group, -1 for anything else (the
// receiver's "invalid" code 7 and the unused 5 and 6). C and C' share the
// third place whatever the group's version: some receivers report every
// third block as C, and C' tells nothing the version bit does not.
int BlockPosition(uint8_t block) {
    switch (block) {
    case kBlockA: return 0;
    case kBlockB: return 1;
    case kBlockC:
    case kBlockCAlt: return 2;
    case kBlockD: return 3;
    default: return -1;
    }
}

// The upper half of the RDS character set, 0x80..0xFF, in UTF-8: the
// letters of the European languages (Welsh ŷ and ŵ included) and a few
// signs. 0xFF has no character.
constexpr const char* kUpperCharacters[128] = {
    "á", "à", "é", "è", "í", "ì", "ó", "ò", "ú", "ù", "Ñ", "Ç", "Ş", "ß", "¡", "Ĳ", // 0x80
    "â", "ä", "ê", "ë", "î", "ï", "ô", "ö", "û", "ü", "ñ", "ç", "ş", "ğ", "ı", "ĳ", // 0x90
    "ª", "α", "©", "‰", "Ğ", "ě", "ň", "ő", "π", "€", "£", "$", "←", "↑", "→", "↓", // 0xA0
    "º", "¹", "²", "³", "±", "İ", "ń", "ű", "µ", "¿", "÷", "°", "¼", "½", "¾", "§", // 0xB0
    "Á", "À", "É", "È", "Í", "Ì", "Ó", "Ò", "Ú", "Ù", "Ř", "Č", "Š", "Ž", "Đ", "Ŀ", // 0xC0
    "Â", "Ä", "Ê", "Ë", "Î", "Ï", "Ô", "Ö", "Û", "Ü", "ř", "č", "š", "ž", "đ", "ŀ", // 0xD0
    "Ã", "Å", "Æ", "Œ", "ŷ", "Ý", "Õ", "Ø", "Þ", "Ŋ", "Ŕ", "Ć", "Ś", "Ź", "Ŧ", "ð", // 0xE0
    "ã", "å", "æ", "œ", "ŵ", "ý", "õ", "ø", "þ", "ŋ", "ŕ", "ć", "ś", "ź", "ŧ", " ", // 0xF0
};

// One character of the RDS set as UTF-8. The lower half is ASCII but for
// four signs: the currency sign where ASCII has "$" (which moved to 0xAB),
// a horizontal bar for "^", a double bar for "`" and an overline for "~".
// Control codes become a blank, so that a line break sent in a name keeps
// the other characters in place.
void AppendCharacter(std::string& out, uint8_t code) {
    if (code >= 0x80) {
        out += kUpperCharacters[code - 0x80];
        return;
    }
    switch (code) {
    case 0x24: out += "¤"; return;
    case 0x5E: out += "―"; return;
    case 0x60: out += "‖"; return;
    case 0x7E: out += "¯"; return;
    default: break;
    }
    out += (code >= 0x20 && code < 0x7F) ? static_cast<char>(code) : ' ';
}

std::string NameText(const std::array<uint8_t, 8>& codes) {
    std::string text;
    for (uint8_t code : codes) AppendCharacter(text, code);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

constexpr std::string_view kRdsNames[32] = {
    "",
    "News",
    "Current affairs",
    "Information",
    "Sport",
    "Education",
    "Drama",
    "Culture",
    "Science",
    "Varied",
    "Pop music",
    "Rock music",
    "Easy listening",
    "Light classical",
    "Serious classical",
    "Other music",
    "Weather",
    "Finance",
    "Children's programmes",
    "Social affairs",
    "Religion",
    "Phone-in",
    "Travel",
    "Leisure",
    "Jazz music",
    "Country music",
    "National music",
    "Oldies music",
    "Folk music",
    "Documentary",
    "Alarm test",
    "Alarm",
};

constexpr std::string_view kRbdsNames[32] = {
    "",
    "News",
    "Information",
    "Sports",
    "Talk",
    "Rock",
    "Classic rock",
    "Adult hits",
    "Soft rock",
    "Top 40",
    "Country",
    "Oldies",
    "Soft",
    "Nostalgia",
    "Jazz",
    "Classical",
    "Rhythm and blues",
    "Soft rhythm and blues",
    "Language",
    "Religious music",
    "Religious talk",
    "Personality",
    "Public",
    "College",
    "",
    "",
    "",
    "",
    "",
    "Weather",
    "Emergency test",
    "Emergency",
};

} // namespace

std::string_view PtyName(int pty, bool rbds) {
    if (pty < 0 || pty > 31) return {};
    return rbds ? kRbdsNames[pty] : kRdsNames[pty];
}

bool TRdsDecoder::Feed(uint8_t lsb, uint8_t msb, uint8_t status) {
    const int position = BlockPosition(status & kBlockMask);
    if ((status & kBlockError) != 0 || position < 0) {
        next_ = 0;
        return false;
    }
    if (position != 0 && position != next_) {
        next_ = 0; // out of order: whatever was assembled lacks a block
        return false;
    }
    group_[position] = static_cast<uint16_t>(msb << 8 | lsb);
    if (position < 3) {
        next_ = position + 1;
        return false;
    }
    next_ = 0;
    return DecodeGroup();
}

bool TRdsDecoder::FeedBytes(const uint8_t* bytes, size_t count) {
    bool changed = false;
    if (partialCount_ > 0) {
        const size_t take = std::min(count, kRdsRecordSize - partialCount_);
        std::copy(bytes, bytes + take, partial_.begin() + partialCount_);
        partialCount_ += take;
        bytes += take;
        count -= take;
        if (partialCount_ < kRdsRecordSize) return false;
        partialCount_ = 0;
        changed = Feed(partial_[0], partial_[1], partial_[2]);
    }
    for (; count >= kRdsRecordSize; bytes += kRdsRecordSize, count -= kRdsRecordSize) {
        changed = Feed(bytes[0], bytes[1], bytes[2]) || changed;
    }
    std::copy(bytes, bytes + count, partial_.begin());
    partialCount_ = count;
    return changed;
}

void TRdsDecoder::Reset() {
    next_ = 0;
    pi_ = -1;
    lastPi_ = -1;
    ForgetStation();
}

void TRdsDecoder::ForgetStation() {
    pty_ = -1;
    lastPty_ = -1;
    received_ = {};
    name_.clear();
}

bool TRdsDecoder::DecodeGroup() {
    const int pi = group_[0];
    bool changed = false;
    if (pi != pi_) {
        if (pi != lastPi_) {
            lastPi_ = pi;
            held_ = group_; // decoded if the next group confirms its PI
            return false;
        }
        if (pi_ >= 0) ForgetStation();
        pi_ = pi;
        changed = true;
        DecodeContent(held_);
    }
    lastPi_ = pi;
    return DecodeContent(group_) || changed;
}

bool TRdsDecoder::DecodeContent(const std::array<uint16_t, 4>& group) {
    bool changed = false;
    const uint16_t b = group[1];
    const int pty = b >> 5 & 0x1F;
    if (pty == lastPty_ && pty != pty_) {
        pty_ = pty;
        changed = true;
    }
    lastPty_ = pty;

    const unsigned groupType = b >> 12; // 0A and 0B alike carry the name
    if (groupType == 0) {
        const uint16_t d = group[3];
        changed = TakeNameSegment(b & 0x3, static_cast<uint8_t>(d >> 8), static_cast<uint8_t>(d & 0xFF)) || changed;
    }
    return changed;
}

bool TRdsDecoder::TakeNameSegment(unsigned address, uint8_t first, uint8_t second) {
    uint8_t* slot = &codes_[address * 2];
    if (received_[address] > 0 && slot[0] == first && slot[1] == second) {
        received_[address] = 2;
    } else {
        // The text changed: what the other segments hold may be the old
        // one's, so each must arrive once more before it counts.
        for (uint8_t& count : received_) count = std::min<uint8_t>(count, 1);
        slot[0] = first;
        slot[1] = second;
        received_[address] = 1;
    }
    if (std::any_of(received_.begin(), received_.end(), [](uint8_t count) { return count < 2; })) return false;
    std::string text = NameText(codes_);
    if (text == name_) return false;
    name_ = std::move(text);
    return true;
}

} // namespace tunevox::radio
