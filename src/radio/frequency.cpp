#include "frequency.h"

#include <cfenv>
#include <cmath>

#include "platform/number_text.h"

namespace tunevox::radio {

double RoundEven(double x) {
    // nearbyint honours the rounding mode; the program never changes it from
    // round-to-nearest, but a plugin or library might, so do it by hand.
    double r = std::round(x); // halves away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5) r = 2.0 * std::round(x / 2.0);
    return r;
}

long long RoundEvenToInt(double x) { return static_cast<long long>(RoundEven(x)); }

double SnapFrequency(double upper, double lower, double step, double x) {
    if (x < lower) x = lower;
    if (x > upper) x = upper;
    if (step <= 0.0) return x; // a model without that band has no grid
    return lower + step * RoundEven((x - lower) / step);
}

std::string FrequencyText(double x) {
    std::string text = platform::FormatFixed(std::isfinite(x) ? x : 0.0, 3);
    bool negative = text.front() == '-';
    if (negative) text.erase(0, 1);
    // A value that rounds to zero carries no sign.
    negative = negative && text.find_first_not_of("0.") != std::string::npos;
    // "%07.3f" without the locale: zeros fill to seven characters, the
    // sign included.
    const size_t width = negative ? 6 : 7;
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    if (negative) text.insert(0, 1, '-');
    return text;
}

std::string FrequencyText(double upper, double lower, double x) {
    if (!std::isfinite(x) || x < lower) x = lower;
    if (x > upper) x = upper;
    return FrequencyText(x);
}

std::optional<double> ParseFrequencyText(std::string_view text) {
    auto v = platform::ParseReal(text);
    if (!v || *v < 0.0) return std::nullopt;
    return *v == 0.0 ? 0.0 : *v; // no "-0"
}

} // namespace tunevox::radio
