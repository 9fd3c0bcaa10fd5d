#include "radioset/station_tuner_rules.h"

#include "radio/frequency.h"
#include "radioset/number_text.h"
#include "radioset/tuning_rules.h"

namespace tunevox::radioset {

namespace {

using radio::FrequencyText;

// The tuner's FM band starts at Japanese FM's lower edge whatever the card,
// so a station stored for another card still has a place on the slider.
constexpr double kTunerFMLower = radio::kJapaneseFMLower;

// Where the card is sent for an FM station it cannot play: the lower edge of
// the band the user listens to.
double FallbackFM(const tTunerCard& card) { return card.japaneseFM ? radio::kJapaneseFMLower : radio::kFMLower; }

double BandLower(radio::tBand band) { return band == radio::bAM ? radio::kAMLower : kTunerFMLower; }
double BandUpper(radio::tBand band) { return band == radio::bAM ? radio::kAMUpper : radio::kFMUpper; }

} // namespace

double SnapToTunerBand(const tTunerCard& card, radio::tBand band, double mhz) {
    if (band == radio::bAM) return radio::SnapFrequency(radio::kAMUpper, radio::kAMLower, radio::kAMStep, mhz);
    return radio::SnapFrequency(card.fmMax, kTunerFMLower, card.fmStep, mhz);
}

bool CardHasBand(const tTunerCard& card, radio::tBand band) { return band == radio::bAM ? card.hasAM : card.hasFM; }

tTunerTarget TunerTarget(const tTunerCard& card, radio::tBand band, double mhz) {
    tTunerTarget t;
    t.frequency = SnapToTunerBand(card, band, mhz);
    t.tuneTo = t.frequency;
    t.tune = CardHasBand(card, band);
    if (!t.tune) {
        t.outOfRange = true;
        return t;
    }
    if (band == radio::bFM) {
        // Compared as stored texts: a sum of grid steps lands a hair beside
        // the card's edge and must still count as on it.
        const std::string text = FrequencyText(t.frequency);
        t.outOfRange = text < FrequencyText(card.fmMin) || text > FrequencyText(card.fmMax);
        if (t.outOfRange) t.tuneTo = FallbackFM(card);
    }
    return t;
}

tSliderRange TunerSliderRange(radio::tBand band) {
    if (band == radio::bAM) return {531, 1620, 9};
    return {76000, 108000, 1000};
}

std::vector<tScaleLabel> TunerScale(radio::tBand band) {
    std::vector<tScaleLabel> labels;
    if (band == radio::bAM) {
        for (int k = 0; k < 12; ++k) labels.push_back({3 + 24 * k, std::to_string(531 + 99 * k)});
    } else {
        for (int k = 0; k < 9; ++k) labels.push_back({3 + 33 * k, std::to_string(76 + 4 * k)});
    }
    return labels;
}

std::string TunerHint(radio::tBand band, double mhz, char separator) {
    if (band == radio::bAM) return std::to_string(radio::RoundEvenToInt(mhz * 1000.0)) + " kHz";
    return FormatFixed(mhz, 3, 1, separator) + " MHz";
}

tTunerButtons TunerButtons(radio::tBand band, double mhz) {
    const std::string text = FrequencyText(mhz);
    return {text > FrequencyText(BandLower(band)), text < FrequencyText(BandUpper(band))};
}

tTunerDigits TunerDigits(radio::tBand band, double mhz) {
    const tReadout r = FrequencyReadout(FrequencyText(BandUpper(band), BandLower(band), mhz));
    return {std::string(r.chars.begin(), r.chars.end()), r.point};
}

tTunedLetter TunedLetter(int tunedStatus) {
    switch (tunedStatus) {
    case radio::kTuned: return {'T', true};
    case radio::kTunedStereo: return {'S', true};
    case radio::kTunedMono: return {'M', true};
    default: return {'?', false};
    }
}

} // namespace tunevox::radioset
