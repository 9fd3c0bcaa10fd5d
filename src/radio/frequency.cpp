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

std::string FrequencyText(double upper, double lower, double x) {
    if (!std::isfinite(x) || x < lower) x = lower;
    if (x > upper) x = upper;
    // "%07.3f" without the locale: zeros fill to seven characters after
    // the sign.
    std::string text = platform::FormatFixed(x, 3);
    bool negative = !text.empty() && text.front() == '-';
    if (text.size() < 7) text.insert(negative ? 1 : 0, 7 - text.size(), '0');
    return text;
}

std::optional<double> ParseFrequencyText(std::string_view text) {
    auto v = platform::ParseReal(text);
    if (!v || *v < 0.0) return std::nullopt;
    return *v == 0.0 ? 0.0 : *v; // no "-0"
}

} // namespace tunevox::radio
