#include "radioset/favorites.h"

#include "radioset/utf8_text.h"
#include "radio/frequency.h"

namespace tunevox::radioset {

void ClearSlot(tFavorite& slot) { slot = tFavorite{}; }

void ClearBank(tFavorites& bank) {
    for (auto& slot : bank) ClearSlot(slot);
}

std::string TwoDigit(int n) {
    int v = n % 100;
    if (v < 0) v = -v;
    return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

int RowOf(int n) { return (n + 9) / 10; }

int PositionInRow(int n) {
    int p = n % 10;
    return p == 0 ? 10 : p;
}

bool CanReceive(const tFavorite& f, bool hasAM, bool hasFM, double fmMin, double fmMax) {
    if (f.Band == radio::bAM) return hasAM;
    if (!hasFM) return false;
    // Texts of the same "000.000" pattern order as their values do.
    const std::string text = radio::FrequencyText(f.Frequency);
    return radio::FrequencyText(fmMin) <= text && text <= radio::FrequencyText(fmMax);
}

int HeldByFavorite(const tFavorites& bank, double frequency, radio::tBand band) {
    const std::string text = radio::FrequencyText(frequency);
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const tFavorite& f = bank[n];
        if (f.Used && f.Band == band && radio::FrequencyText(f.Frequency) == text) return n;
    }
    return 0;
}

int StoreAsFavorite(tFavorites& bank, int current, int n, double frequency, radio::tBand band,
                    std::string_view name) {
    if (n < 1 || n > kFavoriteCount) return current;
    if (current >= 1 && current <= kFavoriteCount) bank[current].Active = false;
    tFavorite& f = bank[n];
    f.Name = NormalizeFavoriteName(name);
    f.Frequency = frequency;
    f.Band = band;
    f.Active = true;
    f.Used = true;
    return n;
}

void ClearAllFavorites(tFavorites& bank, bool hasFM, bool hasJapaneseFM) {
    for (int n = 1; n <= kFavoriteCount; ++n) {
        ClearSlot(bank[n]);
        bank[n].Band = hasFM || hasJapaneseFM ? radio::bFM : radio::bAM;
        bank[n].Frequency = hasFM ? radio::kFMLower : hasJapaneseFM ? radio::kJapaneseFMLower : radio::kAMLower;
    }
}

std::string NormalizeFavoriteName(std::string_view name) {
    std::string text = AsUtf8(name);
    // A name is one line of a file and one line of a label: control
    // characters (a pasted line break, a tab) become blanks.
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    auto trim = [](std::string_view s) {
        while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
        while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        return s;
    };
    std::string_view cut = Utf8Left(trim(text), kMaxFavoriteName);
    return std::string(trim(cut));
}

int NextUsedFavorite(const tFavorites& bank, int current, int direction, const std::function<bool(int n)>& usable) {
    const int step = direction < 0 ? -1 : 1;
    int n = current >= 1 && current <= kFavoriteCount ? current : (step > 0 ? 0 : kFavoriteCount + 1);
    for (int i = 0; i < kFavoriteCount; ++i) {
        n += step;
        if (n > kFavoriteCount) n = 1;
        if (n < 1) n = kFavoriteCount;
        if (bank[n].Used && (!usable || usable(n))) return n;
    }
    return 0;
}

} // namespace tunevox::radioset
