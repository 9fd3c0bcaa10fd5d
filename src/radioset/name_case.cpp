// Names without regard to case, as the organizer and the presets editor
// compare and order them.
//
// No locale and no Qt: the rules live below the windows, and two names
// must be the same, or in the same order, on every desktop whatever its
// language. The folding is Unicode's simple case folding (one character to
// one character) of the letters station names are written in:
//   ASCII                  A-Z
//   Latin-1 Supplement     À-Þ (not ×), and µ as Greek μ
//   Latin Extended-A       the upper/lower pairs, Ÿ as ÿ, ſ as s; İ, ı, ĸ
//                          and ŉ have no simple folding and stay
//   Greek                  the capitals with and without tonos, final ς as
//                          σ, and the symbol forms ϐ ϑ ϕ ϖ ϰ ϱ ϴ ϵ
//   Cyrillic               Ѐ-Я, and the pairs of the rest of the block and
//                          of its supplement (Ѡ-ԯ)
// Everything else compares as it is. Names are ordered by their folded
// characters' code points, which for UTF-8 is also the order of its bytes.

#include "radioset/name_case.h"

namespace tunevox::radioset {

namespace {

// A byte that starts no well-formed UTF-8 sequence stands for itself: above
// every character, so it equals only the same byte and never a letter it
// might be in some code page.
constexpr char32_t kStrayByte = 0x110000;

char32_t NextCharacter(std::string_view text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    const size_t left = text.size() - i;
    const auto continues = [&](size_t k) { return k < left && (byte(k) & 0xC0) == 0x80; };
    size_t length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF && continues(1)) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF && continues(1) && continues(2)) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4 && continues(1) && continues(2) && continues(3)) {
        length = 4;
        c = lead & 0x07;
    }
    if (length != 0) {
        for (size_t k = 1; k < length; ++k) c = (c << 6) | (byte(k) & 0x3F);
        const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        if (!overlong && !surrogate && c <= 0x10FFFF) {
            i += length;
            return c;
        }
    }
    ++i;
    return kStrayByte + lead;
}

// In a run of upper/lower pairs, the capital is the even (or the odd) one.
constexpr char32_t PairWithEvenCapital(char32_t c) { return (c & 1) ? c : c + 1; }
constexpr char32_t PairWithOddCapital(char32_t c) { return (c & 1) ? c + 1 : c; }

char32_t Fold(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    if (c < 0x100) {
        if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
        return c == 0xB5 ? 0x3BC : c;
    }
    if (c < 0x180) {
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149) return c;
        if (c == 0x178) return 0xFF;
        if (c == 0x17F) return 's';
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return PairWithOddCapital(c);
        return PairWithEvenCapital(c); // 0100-012F, 0132-0137, 014A-0177
    }
    if (c >= 0x386 && c <= 0x3F5) {
        if (c == 0x386) return 0x3AC;
        if (c >= 0x388 && c <= 0x38A) return c + 0x25;
        if (c == 0x38C) return 0x3CC;
        if (c == 0x38E || c == 0x38F) return c + 0x3F;
        if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB)) return c + 0x20;
        switch (c) {
        case 0x3C2: return 0x3C3;
        case 0x3D0: return 0x3B2;
        case 0x3D1: return 0x3B8;
        case 0x3D5: return 0x3C6;
        case 0x3D6: return 0x3C0;
        case 0x3F0: return 0x3BA;
        case 0x3F1: return 0x3C1;
        case 0x3F4: return 0x3B8;
        case 0x3F5: return 0x3B5;
        default: return c;
        }
    }
    if (c >= 0x400 && c <= 0x52F) {
        if (c <= 0x40F) return c + 0x50;
        if (c <= 0x42F) return c + 0x20;
        if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || c >= 0x4D0) return PairWithEvenCapital(c);
        if (c == 0x4C0) return 0x4CF;
        if (c >= 0x4C1 && c <= 0x4CE) return PairWithOddCapital(c);
    }
    return c;
}

} // namespace

int CompareNamesIgnoringCase(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = Fold(NextCharacter(a, i));
        const char32_t y = Fold(NextCharacter(b, j));
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) { return CompareNamesIgnoringCase(a, b) == 0; }

} // namespace tunevox::radioset
