#include "presets/presets_editor.h"

#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "radioset/bank_edits.h"
#include "radioset/radio_set.h"
#include "radioset/tuning_rules.h"
#include "radioset/utf8_text.h"

#include <algorithm>

namespace tunevox::presets {

using radio::bAM;
using radio::bFM;
using radio::FrequencyText;
using radioset::kFavoriteCount;
using radioset::tFavorite;
using radioset::tFavorites;

namespace {

// Where a name typed into an empty slot puts it: the lower edge of the
// band every FM card but the Japanese ones receives.
constexpr double kNewStationMHz = radio::kFMLower;

double LowerEnd(radio::tBand band) { return band == bAM ? radio::kAMLower : radio::kJapaneseFMLower; }

bool InRange(int n) { return n >= 1 && n <= kFavoriteCount; }

} // namespace

TPresetsEditor::TPresetsEditor(radioset::TRadioSet& set) : set_(set) {
    const radio::TRadioCard& card = set.Card();
    tunerCard_.hasAM = card.Caps().HasAM;
    tunerCard_.hasFM = card.Caps().HasFM;
    tunerCard_.fmMin = card.FMMin();
    tunerCard_.fmMax = card.FMMax();
    tunerCard_.fmStep = card.Caps().FMStep > 0 ? card.Caps().FMStep : 0.05;
    tunerCard_.japaneseFM = set.Config().JapaneseFM;

    // The radio set's bank is tidied for good: Undo, Reload and the
    // question on closing compare with it, and a name's stray blanks or an
    // empty slot's leftovers are no change the user made here.
    tFavorites tidy = set.Favorites();
    radioset::TidyBank(tidy);
    set.SetBankFromWindow(tidy, set.CurrentFavorite());

    bank_ = set.Favorites();
    current_ = startingCurrent_ = set.CurrentFavorite();
    fileName_ = set.PresetsFile();
    fineStep_ = set.FMTuneStep();
    openFrequency_ = card.Frequency();
    openBand_ = card.Band();
    openStereo_ = card.Stereo();

    previewTimer_ = set.TimerFactory().MakeTimer("Preview", [this] {
        EndPreview();
        if (onPreviewEnded) onPreviewEnded();
    });
    Select(1);
}

TPresetsEditor::~TPresetsEditor() { EndPreview(); }

const tFavorites& TPresetsEditor::Original() const { return set_.Favorites(); }

const tFavorite& TPresetsEditor::Slot(int n) const {
    static const tFavorite kEmpty;
    return InRange(n) ? bank_[n] : kEmpty;
}

int TPresetsEditor::UsedCount() const { return radioset::UsedCount(bank_); }

std::string TPresetsEditor::Caption() const {
    return "Edit presets - " + (fileName_.empty() ? std::string("Internal") : fileName_);
}

// --- the selection ---

void TPresetsEditor::Select(int n) {
    EndPreview();
    SelectQuietly(n);
}

void TPresetsEditor::SelectQuietly(int n) {
    selected_ = std::clamp(n, 1, kFavoriteCount);
    ShowSelected();
}

void TPresetsEditor::ShowSelected() {
    const tFavorite& slot = bank_[selected_];
    // An empty slot shows the tuner's lower end without becoming a station.
    if (slot.Used) ShowTuner(slot.Band, slot.Frequency);
    else ShowTuner(bFM, radio::kJapaneseFMLower);
}

void TPresetsEditor::ShowTuner(radio::tBand band, double mhz) {
    tuner_.band = band;
    tuner_.frequency = mhz;
    tuner_.outOfRange = radioset::TunerTarget(tunerCard_, band, mhz).outOfRange;
    tuner_.buttons = radioset::TunerButtons(band, mhz);
}

// --- edits ---

void TPresetsEditor::SetName(std::string_view typed) {
    const std::string text = radioset::AsUtf8(typed);
    std::string name(radioset::Utf8Left(text, radioset::kMaxFavoriteName));
    tFavorite& slot = SelectedSlot();
    if (!slot.Used && !name.empty()) {
        slot.Used = true;
        slot.Band = bFM;
        slot.Frequency = kNewStationMHz;
    }
    slot.Name = std::move(name);
    ShowSelected();
}

void TPresetsEditor::SetFrequency(radio::tBand band, double mhz) {
    const bool given = mhz > 0;
    const double f = radioset::SnapToTunerBand(tunerCard_, band, given ? mhz : LowerEnd(band));
    tFavorite& slot = SelectedSlot();
    if (given && !slot.Used) {
        slot.Used = true;
        slot.Name.clear();
    }
    slot.Frequency = f;
    slot.Band = band;
    ShowTuner(band, f);
}

void TPresetsEditor::Fine(int direction) {
    if (direction == 0) return;
    if (direction < 0 ? !tuner_.buttons.down : !tuner_.buttons.up) return;
    // From the slider's position, which is the frequency to the kHz.
    const radioset::tSliderRange range = radioset::TunerSliderRange(tuner_.band);
    const long long at = std::clamp<long long>(radio::RoundEvenToInt(tuner_.frequency * 1000.0), range.minimum,
                                               range.maximum);
    const double step = tuner_.band == bAM ? radio::kAMStep : fineStep_;
    SetFrequency(tuner_.band, at / 1000.0 + (direction < 0 ? -step : step));
}

// --- the fine step ---

int TPresetsEditor::StepMultiple() const { return radioset::StepMultiple(fineStep_, tunerCard_.fmStep); }
int TPresetsEditor::MaxStepMultiple() const { return std::max(1, set_.MaxStepMultiple()); }
int TPresetsEditor::StepKHz() const { return radioset::StepKHz(fineStep_); }

void TPresetsEditor::SetStepMultiple(int k) { fineStep_ = std::clamp(k, 1, MaxStepMultiple()) * tunerCard_.fmStep; }

void TPresetsEditor::StepBy(int direction) {
    const int k = StepMultiple() + (direction < 0 ? -1 : 1);
    if (direction != 0 && k >= 1 && k <= MaxStepMultiple()) fineStep_ = k * tunerCard_.fmStep;
}

// --- slot operations ---

void TPresetsEditor::Undo() {
    EndPreview();
    bank_[selected_] = Original()[selected_];
    MarkCurrent();
    ShowSelected();
}

void TPresetsEditor::Insert() {
    if (!Enabling().insert) return;
    EndPreview();
    current_ = radioset::InsertSlot(bank_, selected_, current_);
    MarkCurrent();
    SelectQuietly(selected_ + 1);
}

void TPresetsEditor::Delete() {
    if (!Enabling().remove) return;
    EndPreview();
    current_ = radioset::DeleteSlot(bank_, selected_, current_);
    MarkCurrent();
    ShowSelected();
}

void TPresetsEditor::MoveUp() {
    if (selected_ <= 1) return;
    EndPreview();
    current_ = radioset::SwapSlots(bank_, selected_, selected_ - 1, current_);
    SelectQuietly(selected_ - 1);
}

void TPresetsEditor::MoveDown() {
    if (selected_ >= kFavoriteCount) return;
    EndPreview();
    current_ = radioset::SwapSlots(bank_, selected_, selected_ + 1, current_);
    SelectQuietly(selected_ + 1);
}

void TPresetsEditor::Clear() {
    EndPreview();
    current_ = radioset::EmptySlot(bank_, selected_, current_);
    ShowSelected();
}

void TPresetsEditor::ClearAll() {
    EndPreview();
    radioset::ClearBank(bank_);
    current_ = 0;
    ShowSelected();
}

void TPresetsEditor::Reload() {
    EndPreview();
    bank_ = Original();
    current_ = startingCurrent_;
    MarkCurrent();
    ShowSelected();
}

// Only the current favorite carries the mark, whatever was moved, undone
// or cleared, so the bank handed back shows one station as the current one.
void TPresetsEditor::MarkCurrent() {
    for (int n = 1; n <= kFavoriteCount; ++n) bank_[n].Active = bank_[n].Used && n == current_;
}

bool TPresetsEditor::HasDuplicates() const { return radioset::HasDuplicateFrequency(bank_); }

tEnabling TPresetsEditor::Enabling() const {
    const tFavorite& slot = bank_[selected_];
    const int used = UsedCount();
    tEnabling e;
    e.insert = !bank_[kFavoriteCount].Used && selected_ < kFavoriteCount && used > 0;
    e.remove = used > 0;
    e.clear = slot.Used;
    e.moveUp = selected_ > 1;
    e.moveDown = selected_ < kFavoriteCount;
    e.listen = slot.Used && radioset::CardHasBand(tunerCard_, slot.Band);
    e.store = !HasDuplicates();
    return e;
}

// --- files ---

radioset::tPresetsResult TPresetsEditor::Load(const std::string& path) {
    EndPreview();
    const radioset::tPresetsResult result = radioset::ReadPresetsFile(path, bank_);
    if (result != radioset::prOk) return result;
    current_ = 0;
    MarkCurrent();
    fileName_ = path;
    SelectQuietly(1);
    return result;
}

bool TPresetsEditor::Save(const std::string& path, std::string* error) {
    if (HasDuplicates()) {
        // Such a file would be refused by every reader, this one included.
        if (error) *error = "two presets share a frequency";
        return false;
    }
    if (!radioset::WritePresetsFile(path, bank_, error)) return false;
    fileName_ = path;
    return true;
}

// --- the preview ---

tPreviewStart TPresetsEditor::StartPreview() {
    EndPreview();
    const tFavorite& slot = bank_[selected_];
    const radio::TRadioCard& card = set_.Card();
    if (!Enabling().listen) return tPreviewStart::Refused;
    // The card returns to its band afterwards, so only that band is heard.
    const std::string f = FrequencyText(slot.Frequency);
    if (slot.Band != card.Band() || f < FrequencyText(card.MinFrequency()) || f > FrequencyText(card.MaxFrequency()))
        return tPreviewStart::Refused;
    radio::TRadioCard& tuner = set_.CardForWindows();
    tuner.TuneTo(openStereo_, slot.Band, slot.Frequency);
    previewing_ = true;
    previewTimer_->Start(kPreviewMs);
    const int status = tuner.TunedStatus(set_.Config().CheckIfTunedST);
    return status >= 1 && status <= 3 ? tPreviewStart::Station : tPreviewStart::NoStation;
}

void TPresetsEditor::EndPreview() {
    if (!previewing_) return;
    previewing_ = false;
    previewTimer_->Stop();
    set_.CardForWindows().TuneTo(openStereo_, openBand_, openFrequency_);
}

// --- closing ---

bool TPresetsEditor::ChangedOnClose() {
    radioset::TidyBank(bank_);
    return radioset::BankDiffers(bank_, Original());
}

void TPresetsEditor::PrepareResult() {
    EndPreview();
    radioset::TidyBank(bank_);
    MarkCurrent();
}

} // namespace tunevox::presets
