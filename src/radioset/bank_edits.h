#pragma once
// What the presets editor does to a whole bank: tidy it, move its slots
// about with the current favorite following its station, find two slots
// on one frequency, and tell whether an edited bank differs from the one
// it was copied from. Each operation returns the current favorite after
// it (0: none).

#include "radioset/favorites.h"

namespace tunevox::radioset {

// Used slots lose the blanks around their names; an empty slot is wholly
// empty (no name, FM, 0 MHz), whatever it held before.
void TidyBank(tFavorites& bank);
int UsedCount(const tFavorites& bank);

// Slots s..99 move one down (slot 100's station is lost) and s is empty.
// The current favorite follows: c + 1 when c >= s, none when it was 100.
int InsertSlot(tFavorites& bank, int s, int current);
// Slots s+1..100 move one up and 100 is empty. The current favorite: none
// when it was s, c - 1 when above.
int DeleteSlot(tFavorites& bank, int s, int current);
// Slots a and b change places; the current favorite stays with its station.
int SwapSlots(tFavorites& bank, int a, int b, int current);
// Slot s is emptied; it is no longer the current favorite.
int EmptySlot(tFavorites& bank, int s, int current);

// Whether two used slots share a frequency (their "000.000" texts, on any
// band): the bank cannot be stored so, one button would hide the other.
bool HasDuplicateFrequency(const tFavorites& bank);

// Whether `edited` differs from `original` for the user: a slot used in one
// and not the other; for used slots the name (trimmed, without regard to
// case), the band or the "000.000" frequency.
bool BankDiffers(const tFavorites& edited, const tFavorites& original);

} // namespace tunevox::radioset
