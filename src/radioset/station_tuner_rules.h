#pragma once
// The rules of the small tuner the organizer and the presets editor show
// for one station: where a frequency lands on its band, whether the card
// can play it, what the tuner's scale, slider, hint, digits and buttons
// show. Plain functions, so both windows and the tests share them.
//
// The tuner's FM band always runs from 76.0 MHz (Japanese FM's lower edge)
// to the card's upper FM edge, on the card's FM grid counted from 76.0, so
// a station stored for another card or country can be shown and edited;
// whether this card can play it is "out of range". AM runs from 0.531 to
// 1.62 MHz in 9 kHz steps.

#include "radio/radio_types.h"

#include <string>
#include <vector>

namespace tunevox::radioset {

// What the tuner needs of the card and the configuration.
struct tTunerCard {
    bool hasAM = false;
    bool hasFM = true;
    double fmMin = radio::kFMLower; // the card's FM range (76.0 with Japanese FM)
    double fmMax = radio::kFMUpper;
    double fmStep = 0.05;
    bool japaneseFM = false;        // the setting: where an FM station out of range is played instead
};

// A frequency put on its band: AM snapped to 0.531..1.62 in 9 kHz steps;
// FM snapped to 76.0..fmMax on the FM grid counted from 76.0.
double SnapToTunerBand(const tTunerCard& card, radio::tBand band, double mhz);

struct tTunerTarget {
    double frequency = 0.0; // snapped: what the station holds and the tuner shows
    bool outOfRange = false;// the card cannot play it (no such band, or outside fmMin..fmMax)
    bool tune = false;      // whether to tune the card at all (the band exists)
    double tuneTo = 0.0;    // where the card goes: the frequency, or 76.0 / 87.0 MHz
                            // (Japanese FM setting on / off) for an FM station out of range
};
// Where a station of `band` at `mhz` (> 0) goes, e.g. on a standard card
// FM 80.0 -> shows 80.0, out of range, tunes 87.0; FM 98.72 -> 98.70
// (0.05 grid from 76.0), in range, tunes 98.70; AM 1.0 -> 0.999.
tTunerTarget TunerTarget(const tTunerCard& card, radio::tBand band, double mhz);
// Whether the card has `band` at all.
bool CardHasBand(const tTunerCard& card, radio::tBand band);

// The frequency slider: value = Round(MHz * 1000). AM 531..1620 by 9, FM
// 76000..108000 by 1000.
struct tSliderRange {
    int minimum = 0, maximum = 0, step = 0;
};
tSliderRange TunerSliderRange(radio::tBand band);

// The scale under the slider: AM "531", "630", ... "1620" (twelve, 24
// design units apart from x 3); FM "76", "80", ... "108" (nine, 33 units
// apart from x 3). x in design units of a 528-unit wide tuner.
struct tScaleLabel {
    int x = 0;
    std::string text;
};
std::vector<tScaleLabel> TunerScale(radio::tBand band);

// The slider's hint: AM "999 kHz" (kHz as a whole number), FM "98.700 MHz"
// with the user's decimal separator.
std::string TunerHint(radio::tBand band, double mhz, char separator);

// The fine buttons (and, on FM, the seek buttons) for a frequency: down
// while above the band's lower end (76.0 / 0.531), up while below its upper
// end (108.0 / 1.62).
struct tTunerButtons {
    bool down = false, up = false;
};
tTunerButtons TunerButtons(radio::tBand band, double mhz);

// The six digit characters and the point: the "000.000" text of the
// frequency clamped to the band (AM 0.531..1.62, FM 76.0..108.0), leading
// zeros blanked as on the main readout. 101.3 -> "101300" with the point;
// 87.5 -> " 87500" with the point; 0.531 -> "   531" without.
struct tTunerDigits {
    std::string chars; // six characters
    bool point = false;
};
tTunerDigits TunerDigits(radio::tBand band, double mhz);

// The tuned-state letter: "T", "S", "M" for tuned, stereo, mono (lit), "?"
// for none (grey).
struct tTunedLetter {
    char letter = '?';
    bool lit = false;
};
tTunedLetter TunedLetter(int tunedStatus);

} // namespace tunevox::radioset
