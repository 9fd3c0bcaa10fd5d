#pragma once
// Presets files (".tvp"): one line per used favorite, ascending, CR LF.
//   cols 1-3   favorite number "001".."100"
//   col  4     "."
//   cols 5-11  frequency in MHz "000.000"
//   col  12    "."
//   cols 13-14 "FM" or "AM"
//   col  15    "."
//   cols 16-55 name padded with blanks to 40 characters
// The frequency is written with "." whatever the locale and read back with
// "." or ",", so a file moves between machines. Names are UTF-8; widths
// count characters. A name that is not valid UTF-8 comes from a file of the
// Windows era and is read as Windows-1252.

#include "radioset/favorites.h"

#include <string>
#include <string_view>

namespace tunevox::radioset {

enum tPresetsResult : int { prOk = 0, prCorrupt = 1, prReadError = 2 };

// Parses a whole file's text into bank (replaced only when every checked
// line is good; lines after the hundredth are not looked at). Any line
// ending, an optional UTF-8 byte-order mark.
tPresetsResult ParsePresets(std::string_view text, tFavorites& bank);
// Reads the file and parses it; prReadError when it cannot be read. Reading
// stops once the hundredth line has ended; a file that has not ended its
// hundredth line within 4 MiB is prCorrupt rather than read into memory.
tPresetsResult ReadPresetsFile(const std::string& path, tFavorites& bank);

// The file's text for the bank (empty for an empty bank). A frequency
// outside 0..999.999 is written at the nearer end, so that the columns
// after it stay where every reader looks for them.
std::string FormatPresets(const tFavorites& bank);
// Writes atomically; on failure returns false and sets error to a readable
// reason, and any previous file is left whole.
bool WritePresetsFile(const std::string& path, const tFavorites& bank, std::string* error);

} // namespace tunevox::radioset
