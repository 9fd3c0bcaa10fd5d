#include "radioset/presets_file.h"

#include "platform/atomic_file.h"
#include "radioset/number_text.h"
#include "radioset/utf8_text.h"
#include "platform/number_text.h"
#include "radio/frequency.h"
#include "platform/text_lines.h"

#include <algorithm>
#include <set>

namespace tunevox::radioset {

namespace {

constexpr size_t kMaxLines = kFavoriteCount;
// A file of 100 full lines is under 6 kB. Lines may carry trailing blanks,
// but a file that has not finished its hundredth line within this many
// bytes is no presets file, and is not read into memory to find out.
constexpr size_t kMaxBytesRead = 4 * 1024 * 1024;

// Checks one line; fills slot with its station. The frequency text of the
// line is returned in freqText for the duplicate check.
bool ParseLine(std::string_view line, int& n, tFavorite& slot, std::string& freqText) {
    if (line.size() < 15) return false;
    const std::string_view number = line.substr(0, 3);
    if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    n = (number[0] - '0') * 100 + (number[1] - '0') * 10 + (number[2] - '0');
    if (n < 1 || n > kFavoriteCount || line[3] != '.') return false;

    // Only what the writer can write back in its seven characters: a
    // negative frequency, or one of seven digits without a point, would come
    // back as another station (and then as a duplicate).
    const auto mhz = platform::ParseReal(line.substr(4, 7));
    if (!mhz || *mhz < 0.0 || radio::FrequencyText(*mhz).size() != 7 || line[11] != '.') return false;

    const std::string_view band = line.substr(12, 2);
    if (band == "FM") slot.Band = radio::bFM;
    else if (band == "AM") slot.Band = radio::bAM;
    else return false;
    if (line[14] != '.') return false;

    const std::string name = AsUtf8(line.substr(15));
    const std::string_view trimmed = TrimBlanks(name);
    if (Utf8Length(trimmed) > static_cast<size_t>(kMaxFavoriteName)) return false;

    slot.Name = NormalizeFavoriteName(trimmed);
    slot.Frequency = *mhz;
    slot.Active = false;
    slot.Used = true;
    freqText = radio::FrequencyText(*mhz);
    return true;
}

// The stored frequency field: always seven characters, so that the columns
// after it stay where a reader looks for them.
std::string FrequencyField(double mhz) {
    if (!(mhz >= 0.0)) mhz = 0.0;
    if (mhz > 999.999) mhz = 999.999;
    return radio::FrequencyText(mhz);
}

} // namespace

tPresetsResult ParsePresets(std::string_view text, tFavorites& bank) {
    auto lines = platform::SplitTextLines(text);
    if (lines.empty()) return prCorrupt;
    if (lines.size() > kMaxLines) lines.resize(kMaxLines); // the rest is not read

    tFavorites scratch{};
    std::set<std::string> frequencies; // to the kHz, whatever the band
    for (std::string_view line : lines) {
        int n = 0;
        tFavorite slot;
        std::string freqText;
        if (!ParseLine(line, n, slot, freqText)) return prCorrupt;
        if (scratch[static_cast<size_t>(n)].Used) return prCorrupt;
        if (!frequencies.insert(freqText).second) return prCorrupt;
        scratch[static_cast<size_t>(n)] = std::move(slot);
    }
    bank = std::move(scratch);
    return prOk;
}

tPresetsResult ReadPresetsFile(const std::string& path, tFavorites& bank) {
    // Only the first hundred lines count: read until they are complete.
    std::string bytes;
    size_t lineEnds = 0;
    bool afterCR = false;
    bool tooLong = false;
    const bool read = platform::ReadFileChunks(path, [&](std::string_view chunk) {
        bytes.append(chunk);
        for (const char c : chunk) {
            if ((c == '\r') || (c == '\n' && !afterCR)) ++lineEnds; // CR LF ends one line
            afterCR = c == '\r';
        }
        if (lineEnds >= kMaxLines) return false;
        tooLong = bytes.size() > kMaxBytesRead;
        return !tooLong;
    });
    if (!read) return prReadError;
    if (tooLong) return prCorrupt;
    return ParsePresets(bytes, bank);
}

std::string FormatPresets(const tFavorites& bank) {
    std::string out;
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const tFavorite& f = bank[static_cast<size_t>(n)];
        if (!f.Used) continue;
        out += static_cast<char>('0' + n / 100);
        out += static_cast<char>('0' + n / 10 % 10);
        out += static_cast<char>('0' + n % 10);
        out += '.';
        out += FrequencyField(f.Frequency);
        out += '.';
        out += f.Band == radio::bAM ? "AM" : "FM";
        out += '.';
        const std::string name = NormalizeFavoriteName(f.Name);
        out += name;
        out.append(static_cast<size_t>(kMaxFavoriteName) - Utf8Length(name), ' ');
        out += "\r\n";
    }
    return out;
}

bool WritePresetsFile(const std::string& path, const tFavorites& bank, std::string* error) {
    return platform::WriteFileAtomically(path, FormatPresets(bank), error);
}

} // namespace tunevox::radioset
