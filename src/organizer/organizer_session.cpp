#include "organizer/organizer_session.h"

#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "radioset/tuning_rules.h"

#include <algorithm>

namespace tunevox::organizer {

using archive::tArchiveNode;
using radio::bAM;
using radio::bFM;
using radio::FrequencyText;

TOrganizerSession::TOrganizerSession(radioset::TRadioSet& set) : set_(set) {
    const radio::TRadioCard& card = set.Card();
    tunerCard_.hasAM = card.Caps().HasAM;
    tunerCard_.hasFM = card.Caps().HasFM;
    tunerCard_.fmMin = card.FMMin();
    tunerCard_.fmMax = card.FMMax();
    tunerCard_.fmStep = card.Caps().FMStep > 0 ? card.Caps().FMStep : 0.05;
    tunerCard_.japaneseFM = set.Config().JapaneseFM;
    fineStep_ = set.FMTuneStep();
    path_ = set.Files().ArchivePath();
}

TOrganizerSession::~TOrganizerSession() {
    if (seeking_) set_.RequestStop();
}

radio::TRadioCard& TOrganizerSession::Card() const { return set_.CardForWindows(); }

// --- the archive ---

archive::TArchive::tLoadResult TOrganizerSession::Load() {
    selected_ = nullptr;
    const auto result = archive_.Load(path_);
    fileUnreadable_ = result.status == archive::TArchive::eLoad::Unreadable;
    return result;
}

bool TOrganizerSession::Save(std::string* error) {
    if (fileUnreadable_) {
        // What could not be read must not be replaced by what was shown
        // instead of it.
        if (error) *error = "it could not be read when the organizer opened, so it is left as it is";
        return false;
    }
    return archive_.Save(path_, error);
}

// --- the selection ---

bool TOrganizerSession::CardHasBand(radio::tBand band) const { return radioset::CardHasBand(tunerCard_, band); }

std::optional<tTuning> TOrganizerSession::Select(tArchiveNode* node, bool editingName) {
    if (seeking_) return std::nullopt;
    selected_ = node;
    const archive::tStation* station = node ? node->Station() : nullptr;
    if (!station) {
        // A folder is no station to hear: the radio is silent until one is
        // selected.
        if (CardHasBand(band_)) Card().MuteOn();
        return std::nullopt;
    }
    if (editingName) return std::nullopt;
    if (CardHasBand(band_)) Card().MuteOff();
    return Tune(station->band, station->frequency, true);
}

archive::tArchiveNode* TOrganizerSession::AddTarget() {
    if (seeking_) return nullptr;
    tArchiveNode& parent = selected_ ? *selected_ : archive_.Root();
    return parent.IsStation() ? nullptr : &parent;
}

double TOrganizerSession::NewStationFrequency() const {
    if (band_ == bAM) return radio::kAMLower;
    return tunerCard_.japaneseFM ? radio::kJapaneseFMLower : radio::kFMLower;
}

// --- the tuner ---

tTuning TOrganizerSession::Shown(double mhz, bool outOfRange, int status) const {
    tTuning t;
    t.band = band_;
    t.frequency = mhz;
    t.outOfRange = outOfRange;
    t.buttons = radioset::TunerButtons(band_, mhz);
    t.tunedStatus = status;
    return t;
}

int TOrganizerSession::TunedStatus() const {
    const int status = Card().TunedStatus(set_.Config().CheckIfTunedST);
    return status >= 1 && status <= 3 ? status : 0;
}

tTuning TOrganizerSession::Tune(radio::tBand band, double mhz, bool check) {
    band_ = band;
    radio::TRadioCard& card = Card();
    if (!(mhz > 0)) {
        // The band buttons: the card changes band and the station starts
        // where the card is on it.
        if (CardHasBand(band) && card.Band() != band) card.SetBand(band);
        mhz = card.Band() == band ? card.Frequency() : band == bAM ? radio::kAMLower : tunerCard_.fmMin;
    }
    const radioset::tTunerTarget target = radioset::TunerTarget(tunerCard_, band, mhz);
    if (target.tune) {
        if (card.Muted()) card.MuteOff();
        card.TuneTo(true, band, target.tuneTo);
    }
    // The station is what the tuner shows: tuning edits it.
    if (selected_) {
        if (archive::tStation* station = selected_->Station()) {
            station->frequency = target.frequency;
            station->band = band;
        }
    }
    // A station the card cannot play has no tuned state of its own.
    const int status = !check ? -1 : band == bFM && !target.outOfRange ? TunedStatus() : 0;
    return Shown(target.frequency, target.outOfRange, status);
}

std::optional<tTuning> TOrganizerSession::Fine(int direction) {
    const archive::tStation* station = selected_ ? selected_->Station() : nullptr;
    if (seeking_ || !station || direction == 0) return std::nullopt;
    const double step = band_ == bAM ? radio::kAMStep : fineStep_;
    const double now = station->frequency + (direction < 0 ? -step : step);
    // Where the radio is decides, as the user hears it.
    const double reference = CardHasBand(band_) ? Card().Frequency() : now;
    const radioset::tSliderRange range = radioset::TunerSliderRange(band_);
    const std::string ref = FrequencyText(reference);
    if (direction < 0 && !(ref > FrequencyText(range.minimum / 1000.0))) return std::nullopt;
    if (direction > 0 && !(ref < FrequencyText(range.maximum / 1000.0))) return std::nullopt;
    return Tune(band_, now, true);
}

// --- the fine step ---

int TOrganizerSession::StepMultiple() const { return radioset::StepMultiple(fineStep_, tunerCard_.fmStep); }
int TOrganizerSession::MaxStepMultiple() const { return radioset::MaxStepMultiple(tunerCard_.fmStep); }

void TOrganizerSession::SetStepMultiple(int k) {
    if (!seeking_) fineStep_ = std::clamp(k, 1, MaxStepMultiple()) * tunerCard_.fmStep;
}

void TOrganizerSession::StepBy(int direction) {
    if (seeking_) return;
    const int k = StepMultiple() + (direction < 0 ? -1 : 1);
    if (k >= 1 && k <= MaxStepMultiple()) fineStep_ = k * tunerCard_.fmStep;
}

// --- the seek ---

bool TOrganizerSession::StartSeek(int direction) {
    const radio::TRadioCard& card = set_.Card();
    if (seeking_ || direction == 0 || !tunerCard_.hasFM || band_ != bFM || !selected_ || !selected_->Station())
        return false;
    const std::string at = FrequencyText(card.Frequency());
    if (at == FrequencyText(direction < 0 ? card.MinFrequency() : card.MaxFrequency())) return false;
    std::weak_ptr<int> alive = alive_;
    seekDirection_ = direction < 0 ? -1 : 1;
    seeking_ = set_.StartLongOperation([this, alive] { return !alive.expired() && SeekStep(); },
                                       [this, alive](bool) {
                                           if (!alive.expired()) SeekEnded();
                                       });
    if (!seeking_) seekDirection_ = 0;
    return seeking_;
}

void TOrganizerSession::StopSeek() {
    if (seeking_) set_.RequestStop();
}

// One step: the next frequency on the card's grid, tuned and asked; the
// seek ends on a station or at the band's edge.
bool TOrganizerSession::SeekStep() {
    const radio::TRadioCard& card = set_.Card();
    const double f = card.Frequency() + seekDirection_ * tunerCard_.fmStep;
    const tTuning t = Tune(bFM, f, true);
    lastSeek_ = t;
    if (onSeekStep) onSeekStep(t);
    if (t.tunedStatus > 0) return false;
    const std::string at = FrequencyText(set_.Card().Frequency());
    return seekDirection_ < 0 ? at > FrequencyText(card.MinFrequency()) : at < FrequencyText(card.MaxFrequency());
}

void TOrganizerSession::SeekEnded() {
    seeking_ = false;
    seekDirection_ = 0;
    // Stopped before its first step, the station is where it was.
    const archive::tStation* station = selected_ ? selected_->Station() : nullptr;
    const tTuning t = lastSeek_ ? *lastSeek_
                                : Shown(station ? station->frequency : set_.Card().Frequency(), false, 0);
    lastSeek_.reset();
    if (onSeekEnd) onSeekEnd(t);
}

// --- favorites ---

const radioset::tFavorites& TOrganizerSession::Bank() const { return set_.Favorites(); }
int TOrganizerSession::Current() const { return set_.CurrentFavorite(); }

bool TOrganizerSession::CanStoreSelected() const {
    const archive::tStation* station = selected_ ? selected_->Station() : nullptr;
    return !seeking_ && station && radioset::HeldByFavorite(Bank(), station->frequency, station->band) == 0;
}

bool TOrganizerSession::StoreSelected(int n) {
    if (!CanStoreSelected() || n < 1 || n > radioset::kFavoriteCount) return false;
    const archive::tStation& station = *selected_->Station();
    radioset::tFavorites bank = Bank();
    const int current = radioset::StoreAsFavorite(bank, Current(), n, station.frequency, station.band, selected_->Name());
    set_.SetBankFromWindow(bank, current);
    return true;
}

void TOrganizerSession::ClearFavorite(int n) {
    if (seeking_ || n < 1 || n > radioset::kFavoriteCount) return;
    radioset::tFavorites bank = Bank();
    radioset::ClearSlot(bank[n]);
    set_.SetBankFromWindow(bank, Current() == n ? 0 : Current());
}

void TOrganizerSession::ClearAllFavorites() {
    if (seeking_) return;
    radioset::tFavorites bank = Bank();
    radioset::ClearAllFavorites(bank, tunerCard_.hasFM, set_.Card().Caps().HasJapaneseFM);
    set_.SetBankFromWindow(bank, Current());
}

} // namespace tunevox::organizer
