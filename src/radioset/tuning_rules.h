#pragma once
// The arithmetic and texts of tuning that need no window: the tuning step,
// the frequency captions and the six characters of the frequency readout.
// Texts for the user take the locale's decimal separator as a parameter;
// stored texts always use ".".

#include "radio/radio_types.h"

#include <array>
#include <string>

namespace tunevox::radioset {

// The largest multiple of the FM step a tuning step may be: Round(1 / step).
int MaxStepMultiple(double fmStep);
// FMTuneStep for a stored multiple k: k * step when k fits, else one step.
double TuneStepFor(int k, double fmStep);
// The stored multiple for a tuning step: Round(tuneStep / fmStep).
int StepMultiple(double tuneStep, double fmStep);
// The step caption in kHz: Round(step * 1000).
int StepKHz(double step);

// Removes leading '0's (a text of only zeros keeps them) and, when the text
// holds the separator, trailing '0's of the fraction; the separator stays.
std::string TrimZeros(const std::string& text, char separator);
// "87.5 MHz", "100. MHz", "1620 kHz".
std::string FrequencyCaption(double mhz, radio::tBand band, char separator);

// The six characters of Dig1..Dig6 for a "000.000" text: up to three
// leading '0's become blanks, the separator is dropped. point: whether the
// decimal point after the third character is lit.
struct tReadout {
    std::array<char, 6> chars{};
    bool point = false;
};
tReadout FrequencyReadout(const std::string& frequencyText);

} // namespace tunevox::radioset
