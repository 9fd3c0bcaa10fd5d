// TRadioSet: the favorites bank, the current favorite, store, clear,
// rename, and loading a presets file.

#include "radioset/radio_set.h"

#include "radio/frequency.h"
#include "radio/radio_card.h"

namespace tunevox::radioset {

using radio::bAM;
using radio::bFM;

void TRadioSet::SelectFavorite(int n, bool tune) {
    if (n < 1 || n > kFavoriteCount) return;
    const tFavorite f = favorites_[n];
    const radio::tDevCap& caps = card_.Caps();
    // A favorite the card cannot receive takes the radio to the lower edge
    // of that band, or of the other band when the card lacks it.
    if (f.Band == bFM) {
        if (!caps.HasFM) {
            GoToFrequency(bAM, false, card_.AMMin());
            return;
        }
        if (f.Frequency < card_.FMMin() || f.Frequency > card_.FMMax()) {
            GoToFrequency(bFM, false, card_.FMMin());
            return;
        }
    } else {
        if (!caps.HasAM) {
            GoToFrequency(bFM, false, card_.FMMin());
            return;
        }
        if (f.Frequency < card_.AMMin() || f.Frequency > card_.AMMax()) {
            GoToFrequency(bAM, false, card_.AMMin());
            return;
        }
    }
    if (currentFavorite_ && currentFavorite_ != n) favorites_[currentFavorite_].Active = false;
    currentFavorite_ = n;
    favorites_[n].Active = true;

    if (f.Band != card_.Band()) SetBandScale(f.Band);
    const double lower = f.Band == bFM ? card_.FMMin() : card_.AMMin();
    const double upper = f.Band == bFM ? card_.FMMax() : card_.AMMax();
    if (tune) {
        card_.TuneTo(stereoWanted_, f.Band,
                     radio::SnapFrequency(upper, lower, f.Band == bFM ? caps.FMStep : caps.AMStep, f.Frequency));
    }
    ShowFrequency();
    if (tune) ShowTunedStatus(card_.TunedStatus(config_.CheckIfTunedST));
    ShowStation();
    PublishCommands();
}

void TRadioSet::ShowStation() {
    if (!view_) return;
    tStationShown station;
    station.favorite = currentFavorite_;
    station.caption = FrequencyCaption(card_.Frequency(), card_.Band());
    if (currentFavorite_) station.name = favorites_[currentFavorite_].Name;
    // Without a name of the user's, the one the station sends.
    if (station.name.empty()) station.name = card_.RdsStationName();
    if (!station.name.empty()) station.caption += " (" + station.name + ")";
    view_->ShowStation(station);
}

void TRadioSet::MatchCurrentFavorite() {
    if (currentFavorite_) favorites_[currentFavorite_].Active = false;
    currentFavorite_ = 0;
    // Stored and tuned frequencies meet to the kHz, by their texts.
    const std::string tuned = radio::FrequencyText(card_.Frequency());
    for (int n = 1; n <= kFavoriteCount; ++n) {
        tFavorite& f = favorites_[n];
        if (f.Used && f.Band == card_.Band() && radio::FrequencyText(f.Frequency) == tuned) {
            f.Active = true;
            currentFavorite_ = n;
            break;
        }
    }
    ShowStation();
}

bool TRadioSet::IsCurrentStored() const {
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const tFavorite& f = favorites_[n];
        if (f.Used && f.Frequency == card_.Frequency() && f.Band == card_.Band()) return true;
    }
    return false;
}

bool TRadioSet::CanReceiveBand(int n) const {
    if (n < 1 || n > kFavoriteCount) return false;
    return favorites_[n].Band == bAM ? card_.Caps().HasAM : card_.Caps().HasFM;
}

void TRadioSet::RecallFavorite(int n) {
    if (Busy() || !CanReceiveBand(n) || !favorites_[n].Used) return;
    favorites_[n].Active = true;
    SelectFavorite(n, true);
}

bool TRadioSet::AnyFavorite() const {
    for (int n = 1; n <= kFavoriteCount; ++n)
        if (favorites_[n].Used) return true;
    return false;
}

bool TRadioSet::FavoriteReceivable(int n) const {
    if (n < 1 || n > kFavoriteCount || !favorites_[n].Used) return false;
    return CanReceive(favorites_[n], card_.Caps().HasAM, card_.Caps().HasFM, card_.FMMin(), card_.FMMax());
}

std::string TRadioSet::FavoriteCaption(int n) const {
    if (n < 1 || n > kFavoriteCount) return {};
    const tFavorite& f = favorites_[n];
    std::string caption = FrequencyCaption(f.Frequency, f.Band);
    if (!f.Name.empty()) caption += " (" + f.Name + ")";
    return caption;
}

void TRadioSet::StoreFavorite(int n, const std::string& name) {
    if (Busy() || n < 1 || n > kFavoriteCount) return;
    tFavorite& f = favorites_[n];
    f.Name = NormalizeFavoriteName(name);
    f.Frequency = card_.Frequency();
    f.Band = card_.Band();
    f.Active = true;
    f.Used = true;
    if (view_) view_->ShowFavorites();
    SelectFavorite(n, true);
}

void TRadioSet::ClearFavorite(int n) {
    if (Busy() || n < 1 || n > kFavoriteCount) return;
    ClearSlot(favorites_[n]);
    if (view_) view_->ShowFavorites();
    // The radio stays where it is; it is just no favorite any more.
    if (n == currentFavorite_) GoToFrequency(card_.Band(), false, 0);
    else PublishCommands();
}

void TRadioSet::ClearCurrentFavorite() {
    if (currentFavorite_) ClearFavorite(currentFavorite_);
}

void TRadioSet::RenameFavorite(int n, const std::string& name) {
    if (Busy() || currentFavorite_ == 0 || n < 1 || n > kFavoriteCount || !favorites_[n].Used) return;
    favorites_[n].Name = NormalizeFavoriteName(name);
    if (view_) view_->ShowFavorites();
    if (n == currentFavorite_) ShowStation();
}

void TRadioSet::ClearAllFavorites() {
    if (Busy()) return;
    ClearBank(favorites_);
    currentFavorite_ = 0;
    if (view_) view_->ShowFavorites();
    GoToFrequency(card_.Band(), false, 0);
}

tPresetsResult TRadioSet::LoadPresets(const std::string& path) {
    if (Busy()) return prReadError;
    tFavorites loaded = favorites_;
    const tPresetsResult result = ReadPresetsFile(path, loaded);
    if (result != prOk) return result;
    favorites_ = loaded;
    currentFavorite_ = 0;
    presetsFile_ = path;
    if (view_) view_->ShowFavorites();
    if (card_.Caps().HasFM) GoToFrequency(bFM, false, radio::kFMLower);
    else GoToFrequency(bAM, false, radio::kAMLower);
    if (!muteState_) card_.MuteOff();
    return prOk;
}

} // namespace tunevox::radioset
