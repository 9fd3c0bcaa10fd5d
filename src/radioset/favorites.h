#pragma once
// The bank of 100 favorite stations and the texts and arithmetic around it.
// Plain data shared by the main window, the presets editor, the organizer,
// the scanner and the tests.

#include "radio/radio_types.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace tunevox::radioset {

struct tFavorite {
    std::string Name;          // at most kMaxFavoriteName characters, may be empty
    double Frequency = 0.0;    // MHz on both bands
    radio::tBand Band = radio::bFM;
    bool Active = false;       // the current favorite: its button shows "ON"
    bool Used = false;         // the slot holds a station
};

constexpr int kFavoriteCount = 100;
constexpr int kMaxFavoriteName = 40;
constexpr int kFavoriteRows = 10;

// Index 0 is never used; favorites are numbered 1..100.
using tFavorites = std::array<tFavorite, kFavoriteCount + 1>;

// Restores slot n to the empty state (Used false, Frequency 0, FM, no name).
void ClearSlot(tFavorite& slot);
void ClearBank(tFavorites& bank);

// "01".."99", and "00" for 100.
std::string TwoDigit(int n);
// Row 1..10 of favorite n (n / 10 rounded up) and its position 1..10 in it.
int RowOf(int n);
int PositionInRow(int n);
// Favorite shown by button k (1..10) of row r.
inline int FavoriteAt(int row, int k) { return (row - 1) * 10 + k; }

// Whether a card can receive a favorite: an AM one when it has AM, an FM
// one when it has FM and the frequency lies in [fmMin, fmMax], compared to
// the kHz as every frequency is matched (Japanese FM narrows the band). The
// alarm offers only such favorites, and their menu items are enabled.
bool CanReceive(const tFavorite& f, bool hasAM, bool hasFM, double fmMin, double fmMax);

// Names are trimmed of blanks and cut to kMaxFavoriteName characters
// (characters, not bytes: names are UTF-8).
std::string NormalizeFavoriteName(std::string_view name);

// --- what the windows that edit a bank do to it (scanner, organizer) ---

// The favorite that already holds a station: the first used one whose
// frequency is the same to the kHz ("000.000") on the same band; 0 for none.
// A station held once is not dropped onto another button.
int HeldByFavorite(const tFavorites& bank, double frequency, radio::tBand band);
// Favorite n becomes the station and the current one: the previous current
// favorite `current` loses its mark. Returns the new current favorite (n),
// or `current` when n is out of range.
int StoreAsFavorite(tFavorites& bank, int current, int n, double frequency, radio::tBand band,
                    std::string_view name);
// Every slot emptied and set to the model's first band and its lower edge:
// FM 87.0 MHz, FM 76.0 MHz on a radio with Japanese FM only, else AM.
void ClearAllFavorites(tFavorites& bank, bool hasFM, bool hasJapaneseFM);
// The used favorite after (direction +1) or before (-1) `current` in
// number order, wrapping at the ends; from the start (or the end) when
// `current` is 0; only those `usable` accepts (the card can receive them),
// when given. 0 when there is none. With 3 and 7 used:
//   next of 3 -> 7, next of 7 -> 3, previous of 0 -> 7.
int NextUsedFavorite(const tFavorites& bank, int current, int direction,
                     const std::function<bool(int n)>& usable = {});

} // namespace tunevox::radioset
