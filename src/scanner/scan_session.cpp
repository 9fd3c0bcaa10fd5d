#include "scanner/scan_session.h"

#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "radioset/tuning_rules.h"

#include <algorithm>
#include <cmath>

namespace tunevox::scanner {

using radio::FrequencyText;
using radioset::kFavoriteCount;

TScanSession::TScanSession(radioset::TRadioSet& set) : set_(set) {
    const radio::TRadioCard& card = set.Card();
    bank_ = set.Favorites();
    current_ = set.CurrentFavorite();
    band_ = card.Band();
    low_ = card.MinFrequency();
    high_ = card.MaxFrequency();
    cardStep_ = card.FrequencyStep() > 0 ? card.FrequencyStep() : 0.05;
    fineStep_ = set.FMTuneStep();
    threshold_ = set.Config().CheckIfTunedST;
    hasFM_ = card.Caps().HasFM;
    hasJapaneseFM_ = card.Caps().HasJapaneseFM;
    steps_ = static_cast<int>(radio::RoundEvenToInt((high_ - low_) / cardStep_)) + 1;
}

TScanSession::~TScanSession() {
    if (scanning_) set_.RequestStop();
}

// --- the sweep ---

bool TScanSession::StartScan() {
    if (scanning_ || set_.Busy()) return false;
    points_.clear();
    rows_.clear();
    nextStep_ = 0;
    std::weak_ptr<int> alive = alive_;
    const bool started = set_.StartLongOperation(
        [this, alive] { return !alive.expired() && Step(); },
        [this, alive](bool stopped) {
            if (!alive.expired()) End(stopped);
        });
    scanning_ = started;
    return started;
}

void TScanSession::StopScan() {
    if (scanning_) set_.RequestStop();
}

double TScanSession::NextFrequency() const { return std::min(high_, low_ + nextStep_ * cardStep_); }

double TScanSession::Done() const { return steps_ > 0 ? static_cast<double>(nextStep_) / steps_ : 1.0; }

// One step: tune, ask, keep the point (and the row), go on to the edge. The
// frequency is the low edge plus whole steps, so a long sweep does not
// drift off the card's grid.
bool TScanSession::Step() {
    radio::TRadioCard& card = set_.CardForWindows();
    const double f = low_ + nextStep_ * cardStep_;
    card.TuneTo(true, band_, f);
    const int status = card.TunedStatus(threshold_);
    tScanPoint point{f, status == radio::kTunedStereo, status != radio::kNotTuned ? 3 : 255};
    points_.push_back(point);
    int row = -1;
    if (point.Received()) {
        static const char* const letters[] = {"", "T", "S", "M"};
        const std::string text = FrequencyText(f);
        rows_.push_back({text, status >= 1 && status <= 3 ? letters[status] : "T", DescriptionOf(text)});
        row = static_cast<int>(rows_.size()) - 1;
    }
    ++nextStep_;
    if (onPoint) onPoint(point, row);
    return nextStep_ < steps_;
}

void TScanSession::End(bool stopped) {
    scanning_ = false;
    if (onEnd) onEnd(stopped);
}

std::string TScanSession::DescriptionOf(const std::string& freqText) const {
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const radioset::tFavorite& f = bank_[n];
        if (f.Used && f.Band == band_ && FrequencyText(f.Frequency) == freqText) return f.Name;
    }
    return {};
}

// --- listening and fine tuning ---

double TScanSession::RowFrequency(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return 0.0;
    return radio::ParseFrequencyText(rows_[row].freqText).value_or(0.0);
}

int TScanSession::RowWithText(const std::string& text) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].freqText == text) return static_cast<int>(i);
    return -1;
}

void TScanSession::Listen(int row) {
    if (scanning_ || row < 0 || row >= static_cast<int>(rows_.size())) return;
    set_.CardForWindows().TuneTo(true, band_, RowFrequency(row));
}

bool TScanSession::CanTuneDown(int row) const {
    if (scanning_ || row < 0 || row >= static_cast<int>(rows_.size())) return false;
    const std::string bound = row == 0 ? FrequencyText(low_) : FrequencyText(RowFrequency(row - 1) + fineStep_);
    return rows_[row].freqText > bound;
}

bool TScanSession::CanTuneUp(int row) const {
    if (scanning_ || row < 0 || row >= static_cast<int>(rows_.size())) return false;
    const int last = static_cast<int>(rows_.size()) - 1;
    const std::string bound = row == last ? FrequencyText(high_) : FrequencyText(RowFrequency(row + 1) - fineStep_);
    return rows_[row].freqText < bound;
}

bool TScanSession::Retune(int row, double mhz) {
    // Fine tuning listens in mono: a weak station is judged best so.
    set_.CardForWindows().TuneTo(false, band_, mhz);
    rows_[row].freqText = FrequencyText(mhz);
    return true;
}

bool TScanSession::TuneDown(int row) {
    if (scanning_ || row < 0 || row >= static_cast<int>(rows_.size())) return false;
    const double now = RowFrequency(row) - fineStep_;
    const double bound = row == 0 ? low_ - fineStep_ : RowFrequency(row - 1);
    if (!(FrequencyText(now) > FrequencyText(bound))) return false;
    return Retune(row, now);
}

bool TScanSession::TuneUp(int row) {
    if (scanning_ || row < 0 || row >= static_cast<int>(rows_.size())) return false;
    const double now = RowFrequency(row) + fineStep_;
    const int last = static_cast<int>(rows_.size()) - 1;
    const double bound = row == last ? high_ + fineStep_ : RowFrequency(row + 1);
    if (!(FrequencyText(now) < FrequencyText(bound))) return false;
    return Retune(row, now);
}

// --- the fine step ---

int TScanSession::StepMultiple() const { return radioset::StepMultiple(fineStep_, cardStep_); }
int TScanSession::MaxStepMultiple() const { return radioset::MaxStepMultiple(cardStep_); }

void TScanSession::SetStepMultiple(int k) {
    if (!scanning_) fineStep_ = std::clamp(k, 1, MaxStepMultiple()) * cardStep_;
}

void TScanSession::StepLarger() {
    if (!scanning_ && StepMultiple() < MaxStepMultiple()) fineStep_ += cardStep_;
}

void TScanSession::StepSmaller() {
    if (!scanning_ && StepMultiple() > 1) fineStep_ -= cardStep_;
}

// --- the working bank ---

bool TScanSession::CanDrop(int row) const {
    if (scanning_ || row < 0 || row >= static_cast<int>(rows_.size())) return false;
    return radioset::HeldByFavorite(bank_, RowFrequency(row), band_) == 0;
}

bool TScanSession::Drop(int row, int n) {
    if (!CanDrop(row) || n < 1 || n > kFavoriteCount) return false;
    std::string name = radioset::NormalizeFavoriteName(rows_[row].description);
    if (name.empty()) name = "????";
    current_ = radioset::StoreAsFavorite(bank_, current_, n, RowFrequency(row), band_, name);
    return true;
}

void TScanSession::Clear(int n) {
    if (scanning_ || n < 1 || n > kFavoriteCount) return;
    radioset::ClearSlot(bank_[n]);
    if (n == current_) current_ = 0;
}

void TScanSession::ClearAll() {
    if (scanning_) return;
    radioset::ClearAllFavorites(bank_, hasFM_, hasJapaneseFM_);
}

} // namespace tunevox::scanner
