#pragma once
// Clamping and snapping frequencies to a band's grid, and the "000.000"
// text by which the program compares and stores them.

#include <string>

namespace tunevox::radio {

// Clamps x to [lower, upper] and snaps it to lower + step * k, k rounded to
// the nearest integer with ties to even.
double SnapFrequency(double upper, double lower, double step, double x);

// x clamped to [lower, upper] as "000.000" (three integer digits with
// leading zeros, three decimals). Two frequencies are the same station when
// their texts are equal.
std::string FrequencyText(double upper, double lower, double x);

// Round to nearest, ties to even, as every rounding of the card does.
double RoundEven(double x);
long long RoundEvenToInt(double x);

} // namespace tunevox::radio
