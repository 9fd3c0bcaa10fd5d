#pragma once
// Numbers as the program stores and compares them: the configuration, the
// presets and archive files, scripts and the frequency text that is the
// program's equality key. These texts never depend on the locale: the
// decimal separator written is always ".", nothing is grouped, and the
// user's locale (which Qt's application object installs) is kept for what
// is only shown. Reading accepts "." or "," as the separator, so a file
// written by hand on a desktop that uses the comma still reads.

#include <optional>
#include <string>
#include <string_view>

namespace tunevox::platform {

// x with exactly `decimals` digits after a "." (0..17), rounded to nearest
// (ties as the binary value lies; it is exact decimal rounding), a leading
// "-" for negative values, no grouping: FormatFixed(98.7, 3) is "98.700".
// Infinite or NaN x gives "0" with the decimals.
std::string FormatFixed(double x, int decimals);

// A decimal number: optional blanks (spaces, tabs) around it, an optional
// sign, digits with at most one separator, "." or ",". At least one digit;
// no exponent, no grouping, no "inf" or "nan". "98.7", "98,7", " -0,5",
// "7." and ".5" read; "1.000,5", "1e3", "", "." do not.
std::optional<double> ParseReal(std::string_view text);

// An integer in decimal: optional blanks around it and an optional sign.
std::optional<long long> ParseInteger(std::string_view text);

} // namespace tunevox::platform
