#pragma once
// Clamping and snapping frequencies to a band's grid, and the "000.000"
// text by which the program compares and stores them.
//
// The frequency text is the program's equality key and its storage format
// (configuration, presets, archive, scripts), so it never depends on the
// locale: the separator is always ".". Show the user's own separator only
// in what is displayed. Reading accepts "." or ",".

#include <optional>
#include <string>
#include <string_view>

namespace tunevox::radio {

// Clamps x to [lower, upper] and snaps it to lower + step * k, k rounded to
// the nearest integer with ties to even.
double SnapFrequency(double upper, double lower, double step, double x);

// x as "000.000": zeros fill to seven characters (as "%07.3f" would, but
// "." whatever the locale), three decimals correctly rounded (87.0125 gives
// "087.013"), a "-" only for a value still negative once rounded (no
// "-00.000"), and "000.000" for a value that is not finite. This is the
// one formatter of the text by which every window compares, stores and
// matches frequencies: two frequencies are the same station when their
// texts are equal, that is to the kHz.
std::string FrequencyText(double x);
// The same for x clamped to [lower, upper] first.
std::string FrequencyText(double upper, double lower, double x);

// Reads a frequency in MHz as FrequencyText writes it ("098.700") or as a
// person types it ("98.7", "98,7", " 0,531 "): platform::ParseReal
// restricted to values >= 0. Neither clamps nor snaps; nullopt when the
// text is no such number.
std::optional<double> ParseFrequencyText(std::string_view text);

// Round to nearest, ties to even, as every rounding of the card does.
double RoundEven(double x);
long long RoundEvenToInt(double x);

} // namespace tunevox::radio
