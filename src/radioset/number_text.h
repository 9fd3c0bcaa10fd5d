#pragma once
// Number texts of the radio set's captions and stored values ("06:30"):
// stored texts always use "." (they go through platform::FormatFixed,
// which never consults the locale); captions take the locale's separator
// as a parameter. The frequency text "000.000" is radio::FrequencyText.
// Reading stored numbers is platform::ParseReal / ParseInteger ("." or
// ",").

#include <string>
#include <string_view>

namespace tunevox::radioset {

// x with the given number of decimals (correctly rounded), at least
// minIntegerDigits integer digits padded with '0', and separator between
// the integer and the fraction. A value that is not finite is written as 0;
// a zero never carries a minus sign.
std::string FormatFixed(double x, int decimals, int minIntegerDigits = 1, char separator = '.');

// text without leading and trailing blanks (spaces and tabs).
std::string_view TrimBlanks(std::string_view text);

} // namespace tunevox::radioset
