#include "radioset/tuning_rules.h"

#include "radioset/number_text.h"
#include "radio/frequency.h"

#include <cmath>

namespace tunevox::radioset {

namespace {

// Quotients fed to the rounding; a missing grid (a model without FM) or a
// value that is not finite must not turn into an undefined conversion.
long long RoundedRatio(double numerator, double denominator, long long fallback) {
    if (!(denominator > 0.0)) return fallback;
    const double q = numerator / denominator;
    if (!std::isfinite(q) || std::fabs(q) > 1e9) return fallback;
    return radio::RoundEvenToInt(q);
}

} // namespace

int MaxStepMultiple(double fmStep) {
    const long long k = RoundedRatio(1.0, fmStep, 1);
    return k < 1 ? 1 : static_cast<int>(k);
}

double TuneStepFor(int k, double fmStep) {
    // A multiple below one, or a step wider than 1 MHz, falls back to one
    // step of the card's grid.
    if (k < 1 || k > MaxStepMultiple(fmStep)) return fmStep;
    return k * fmStep;
}

int StepMultiple(double tuneStep, double fmStep) {
    return static_cast<int>(RoundedRatio(tuneStep, fmStep, 1));
}

int StepKHz(double step) { return static_cast<int>(RoundedRatio(step * 1000.0, 1.0, 0)); }

std::string TrimZeros(const std::string& text, char separator) {
    if (text.find_first_not_of('0') == std::string::npos) return text; // only zeros
    std::string out = text.substr(text.find_first_not_of('0'));
    if (out.find(separator) != std::string::npos) {
        while (!out.empty() && out.back() == '0') out.pop_back();
    }
    return out;
}

std::string FrequencyCaption(double mhz, radio::tBand band, char separator) {
    if (band == radio::bAM) return TrimZeros(FormatFixed(mhz * 1000.0, 0, 1, separator), separator) + " kHz";
    return TrimZeros(FormatFixed(mhz, 3, 1, separator), separator) + " MHz";
}

tReadout FrequencyReadout(const std::string& frequencyText) {
    tReadout r;
    r.chars.fill(' ');
    // The text is always seven characters, "000.000"; anything else shows
    // blanks rather than digits in the wrong cells.
    if (frequencyText.size() != 7) return r;
    std::string s = frequencyText;
    for (size_t i = 0; i < 3 && s[i] == '0'; ++i) s[i] = ' ';
    s.erase(3, 1);
    for (size_t i = 0; i < 6; ++i) r.chars[i] = s[i];
    r.point = r.chars[2] != ' ';
    return r;
}

} // namespace tunevox::radioset
