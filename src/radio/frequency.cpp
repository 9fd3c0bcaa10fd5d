#include "frequency.h"

#include <cfenv>
#include <cmath>
#include <cstdio>

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
    if (x < lower) x = lower;
    if (x > upper) x = upper;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%07.3f", x);
    return buf;
}

} // namespace tunevox::radio
