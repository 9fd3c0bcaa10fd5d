#include "scripteditor/script_editor.h"

#include "platform/tone.h"
#include "radio/frequency.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "script/blank_text.h"

#include <algorithm>
#include <utility>

namespace tunevox::scripteditor {

using radio::bAM;
using radio::bFM;
using script::tActionKind;
using script::tMinute;

namespace {

// Jump-to frequencies are kept on every FM band a card may have, the
// Japanese one included, whatever this card receives.
constexpr double kFieldFMLower = radio::kJapaneseFMLower;
constexpr double kFieldFMUpper = radio::kFMUpper;

std::string HourMinute(tMinute m) {
    const std::string key = script::TimeKey(m);
    return key.substr(0, 2) + ":" + key.substr(2, 2);
}

bool Within(int value, int low, int high) { return value >= low && value <= high; }

} // namespace

TScriptEditor::TScriptEditor(radioset::TRadioSet& set) : set_(set) {
    title_ = set.Script().title;
    actions_ = script::CopyActions(set.Script().actions);

    const std::string& file = set.ScriptFile();
    if (!file.empty()) {
        fileName_ = file;
        askOnSave_ = true;
        fileKnown_ = true;
    } else if (!set.Files().configDir.empty()) {
        fileName_ = set.Files().configDir + "/" + kNoName;
    } else {
        // Nowhere of our own to put it: the user chooses.
        fileName_ = kNoName;
        askOnSave_ = true;
    }

    const radioset::tFavorites& bank = set.Favorites();
    for (int n = 1; n <= radioset::kFavoriteCount; ++n) {
        if (!bank[n].Used) continue;
        favorites_.push_back({n, radioset::TwoDigit(n) + " - " + bank[n].Name, bank[n].Band == bAM});
        if (!defaultFavorite_) defaultFavorite_ = n;
    }
    if (defaultFavorite_) palette_.push_back(script::akPreset);
    for (tActionKind kind : {script::akMuteOn, script::akMuteOff, script::akBeep, script::akVolume,
                             script::akJumpTo, script::akOff})
        palette_.push_back(kind);

    const radio::TRadioCard& card = set.Card();
    openFrequency_ = card.Frequency();
    openBand_ = card.Band();
    openStereo_ = card.Stereo();
    fieldBand_ = openBand_ == bAM ? bAM : bFM;

    previewTimer_ = set.TimerFactory().MakeTimer("Preview", [this] { PreviewTick(); });
    Select(0);
}

TScriptEditor::~TScriptEditor() { EndPreview(); }

std::string TScriptEditor::Caption() const {
    return fileKnown_ ? "Script - (" + fileName_ + ")" : "Programming -";
}

bool TScriptEditor::FavoriteIsAM(int n) const {
    const radioset::tFavorites& bank = set_.Favorites();
    return n >= 1 && n <= radioset::kFavoriteCount && bank[n].Used && bank[n].Band == bAM;
}

// --- the selection ---

const script::zAction* TScriptEditor::SelectedAction() const {
    return selected_ >= 0 && static_cast<size_t>(selected_) < actions_.size() ? actions_[selected_].get() : nullptr;
}

void TScriptEditor::Select(int i) {
    EndPreview();
    selected_ = actions_.empty() ? -1 : std::clamp(i, 0, static_cast<int>(actions_.size()) - 1);
    if (const auto* jump = dynamic_cast<const script::zJumpTo*>(SelectedAction()))
        fieldBand_ = jump->band == bAM ? bAM : bFM;
}

script::tTimeRange TScriptEditor::Range() const {
    if (selected_ < 0) return {};
    return script::RangeOf(actions_, static_cast<size_t>(selected_));
}

script::tMinuteLimits TScriptEditor::MinuteLimits(int hour) const { return script::MinuteLimits(Range(), hour); }

std::string TScriptEditor::RangeText() const {
    const script::tTimeRange r = Range();
    return "The range is from " + HourMinute(r.begin) + " to " + HourMinute(r.end);
}

tPanelValues TScriptEditor::PanelValues() const {
    tPanelValues v;
    const script::zAction* action = SelectedAction();
    if (!action) return v;
    v.hour = script::HourOf(action->time);
    v.minute = script::MinuteOf(action->time);
    v.band = fieldBand_;
    v.jumpFrequency = fieldBand_ == bAM ? radio::kAMLower : kFieldFMLower;
    switch (action->kind) {
    case script::akBeep: {
        const auto& beep = static_cast<const script::zBeep&>(*action);
        v.count = beep.count;
        v.frequency = beep.frequency;
        v.duration = beep.duration;
        break;
    }
    case script::akVolume: v.level = static_cast<const script::zVolume&>(*action).level; break;
    case script::akJumpTo: {
        const auto& jump = static_cast<const script::zJumpTo&>(*action);
        v.band = jump.band == bAM ? bAM : bFM;
        v.jumpFrequency = jump.frequency;
        v.stereo = v.band == bFM && jump.stereo;
        break;
    }
    case script::akPreset: {
        const auto& preset = static_cast<const script::zPreset&>(*action);
        v.favorite = preset.number;
        v.stereo = !FavoriteIsAM(preset.number) && preset.stereo;
        break;
    }
    default: break;
    }
    return v;
}

tPanelValues TScriptEditor::Reload() {
    if (const auto* jump = dynamic_cast<const script::zJumpTo*>(SelectedAction()))
        fieldBand_ = jump->band == bAM ? bAM : bFM;
    return PanelValues();
}

// --- edits ---

script::tActionDefaults TScriptEditor::Defaults() const {
    const radio::TRadioCard& card = set_.Card();
    return {card.Band() == bAM ? bAM : bFM, card.Stereo(), defaultFavorite_};
}

bool TScriptEditor::Insert(tActionKind kind, size_t line, tMinute time) {
    if (!script::StorableTime(time)) return false;
    // The palette offers Preset only while there is a favorite to recall.
    if (kind == script::akPreset && !defaultFavorite_) return false;
    auto action = script::CreateAction(kind, time, Defaults());
    if (!action) return false;
    line = std::min(line, actions_.size());
    actions_.insert(actions_.begin() + static_cast<std::ptrdiff_t>(line), std::move(action));
    Select(static_cast<int>(line));
    return true;
}

bool TScriptEditor::Add(tActionKind kind) {
    const radioset::tTimeOfDay now = set_.Now();
    std::optional<tMinute> time = script::AppendTime(actions_, script::MakeMinute(now.hour, now.minute));
    // At midnight an empty script starts a minute later: no file holds 00:00.
    if (time && actions_.empty()) time = std::max(*time, 1);
    return time && Insert(kind, actions_.size(), *time);
}

bool TScriptEditor::InsertAt(tActionKind kind, size_t line) {
    if (line >= actions_.size()) return Add(kind);
    const std::optional<tMinute> time = script::InsertTime(actions_, line);
    return time && Insert(kind, line, *time);
}

bool TScriptEditor::Move(size_t from, size_t to) {
    if (actions_.size() < 2 || from >= actions_.size()) return false;
    to = std::min(to, actions_.size());
    if (to == from) {
        Select(static_cast<int>(from));
        return true;
    }
    // The free minute at the drop place, in the list without the moved one.
    script::tActions rest = script::CopyActions(actions_);
    rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(from));
    const size_t place = to > from ? to - 1 : to;
    const std::optional<tMinute> time = script::InsertTime(rest, place);
    if (!time || !script::StorableTime(*time)) return false;

    std::unique_ptr<script::zAction> moved = std::move(actions_[from]);
    actions_.erase(actions_.begin() + static_cast<std::ptrdiff_t>(from));
    moved->time = *time;
    actions_.insert(actions_.begin() + static_cast<std::ptrdiff_t>(place), std::move(moved));
    Select(static_cast<int>(place));
    return true;
}

bool TScriptEditor::Delete(int i) {
    if (i < 0) i = selected_;
    if (i < 0 || static_cast<size_t>(i) >= actions_.size()) return false;
    EndPreview();
    actions_.erase(actions_.begin() + i);
    Select(i);
    return true;
}

bool TScriptEditor::Apply(const tPanelValues& v) {
    script::zAction* action = selected_ >= 0 ? actions_[selected_].get() : nullptr;
    if (!action) return false;
    const script::tTimeRange range = Range();
    if (!Within(v.hour, 0, 23) || !Within(v.minute, 0, 59)) return false;
    const tMinute time = script::MakeMinute(v.hour, v.minute);
    if (time < range.begin || time > range.end || !script::StorableTime(time)) return false;

    switch (action->kind) {
    case script::akBeep: {
        if (!Within(v.count, 1, 50) || !Within(v.frequency, 1, 20000) || !Within(v.duration, 1, 1000)) return false;
        auto& beep = static_cast<script::zBeep&>(*action);
        beep.count = v.count;
        beep.frequency = v.frequency;
        beep.duration = v.duration;
        break;
    }
    case script::akVolume:
        if (!Within(v.level, 0, 20)) return false;
        static_cast<script::zVolume&>(*action).level = v.level;
        break;
    case script::akJumpTo: {
        if (v.band != bAM && v.band != bFM) return false;
        auto& jump = static_cast<script::zJumpTo&>(*action);
        jump.band = v.band;
        jump.frequency = SnapToBand(v.band, v.jumpFrequency);
        jump.stereo = v.band == bFM && v.stereo;
        fieldBand_ = v.band;
        break;
    }
    case script::akPreset: {
        auto& preset = static_cast<script::zPreset&>(*action);
        if (v.favorite != 0) {
            if (!Within(v.favorite, 1, radioset::kFavoriteCount)) return false;
            preset.number = v.favorite;
        }
        preset.stereo = !FavoriteIsAM(preset.number) && v.stereo;
        break;
    }
    default: break;
    }
    action->time = time;
    return true;
}

void TScriptEditor::New() {
    EndPreview();
    actions_.clear();
    selected_ = -1;
}

// --- the frequency field ---

tBandField TScriptEditor::BandField(radio::tBand band) const {
    const radio::tDevCap& caps = set_.Card().Caps();
    if (band == bAM) return {radio::kAMLower, radio::kAMUpper, false, caps.HasAM};
    return {kFieldFMLower, kFieldFMUpper, true, caps.HasFM};
}

tBandField TScriptEditor::ChooseBand(radio::tBand band) {
    EndPreview();
    fieldBand_ = band == bAM ? bAM : bFM;
    return BandField(fieldBand_);
}

double TScriptEditor::SnapToBand(radio::tBand band, double mhz) const {
    if (band == bAM) return radio::SnapFrequency(radio::kAMUpper, radio::kAMLower, radio::kAMStep, mhz);
    const double step = set_.Card().Caps().FMStep > 0 ? set_.Card().Caps().FMStep : 0.05;
    return radio::SnapFrequency(kFieldFMUpper, kFieldFMLower, step, mhz);
}

// --- files ---

script::tScriptResult TScriptEditor::Load(const std::string& path) {
    EndPreview();
    script::tScript loaded;
    const script::tScriptResult result = script::ReadScriptFile(path, loaded);
    if (result != script::srOk) return result;
    title_ = std::move(loaded.title);
    actions_ = std::move(loaded.actions);
    fileName_ = path;
    fileKnown_ = true;
    Select(0);
    return result;
}

bool TScriptEditor::Save(const std::string& path, std::string* error) {
    const std::string target = path.empty() ? fileName_ : path;
    const std::string title(script::detail::TrimBlanks(title_));
    if (!script::WriteScriptFile(target, title, actions_, [this](int n) { return FavoriteIsAM(n); }, error))
        return false;
    fileName_ = target;
    fileKnown_ = true;
    askOnSave_ = false;
    return true;
}

// --- closing ---

bool TScriptEditor::Changed() const {
    const script::tScript& internal = set_.Script();
    return !script::SameScript(title_, actions_, internal.title, internal.actions);
}

script::tScript TScriptEditor::Result() const {
    return {std::string(script::detail::TrimBlanks(title_)), script::CopyActions(actions_)};
}

void TScriptEditor::Close() {
    EndPreview();
    RestoreCard();
    radio::TRadioCard& card = set_.CardForWindows();
    if (set_.MuteState()) card.MuteOn();
    else card.MuteOff();
}

void TScriptEditor::RestoreCard() {
    radio::TRadioCard& card = set_.CardForWindows();
    // A tuning costs a serial radio seconds: only when the card moved.
    if (card.Band() == openBand_ && card.Stereo() == openStereo_ &&
        radio::FrequencyText(card.Frequency()) == radio::FrequencyText(openFrequency_))
        return;
    card.TuneTo(openStereo_, openBand_, openFrequency_);
}

// --- previews ---

tFrequencyPreview TScriptEditor::StartFrequencyPreview(double mhz, bool stereo) {
    EndPreview();
    const radio::TRadioCard& card = set_.Card();
    const std::string f = radio::FrequencyText(mhz);
    // The card goes back to its band afterwards, so only that band is heard.
    if (fieldBand_ != card.Band() || !BandField(fieldBand_).testEnabled ||
        f < radio::FrequencyText(card.MinFrequency()) || f > radio::FrequencyText(card.MaxFrequency()))
        return tFrequencyPreview::Refused;
    radio::TRadioCard& tuner = set_.CardForWindows();
    tuner.TuneTo(fieldBand_ == bFM && stereo, fieldBand_, mhz);
    preview_ = tPreview::Frequency;
    previewTimer_->Start(kFrequencyPreviewMs);
    return tuner.TunedStatus(set_.Config().CheckIfTunedST) != 0 ? tFrequencyPreview::Tuned
                                                                 : tFrequencyPreview::NotTuned;
}

bool TScriptEditor::StartBeepPreview(int count, int frequency, int duration) {
    EndPreview();
    if (!Within(count, 1, 50) || !Within(frequency, 1, 20000) || !Within(duration, 1, 1000)) return false;
    beepCount_ = count;
    beepFrequency_ = frequency;
    beepDuration_ = duration;
    beepCounter_ = 1;
    preview_ = tPreview::Beep;
    previewTimer_->Start(kBeepPreviewMs);
    return true;
}

void TScriptEditor::EndPreview() {
    if (preview_ == tPreview::None) return;
    const tPreview was = std::exchange(preview_, tPreview::None);
    previewTimer_->Stop();
    if (was == tPreview::Frequency) RestoreCard();
}

void TScriptEditor::PreviewTick() {
    if (preview_ == tPreview::Beep && beepCounter_ <= beepCount_) {
        if (platform::ITone* tone = set_.Tone()) tone->Beep(beepFrequency_, beepDuration_);
        ++beepCounter_;
        // The last beep ends the preview at once: its button pops up as
        // the tone sounds, not a second later.
        if (beepCounter_ <= beepCount_) return;
    }
    EndPreview();
    if (onPreviewEnded) onPreviewEnded();
}

} // namespace tunevox::scripteditor
