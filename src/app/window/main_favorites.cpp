// tdMain: the favorites bank on the ten buttons and in the two "Presets"
// menus; store, clear, rename, recall, and loading a presets file.

#include "app/window/main_window.h"

#include "radioset/number_text.h"
#include "radioset/presets_file.h"
#include "app/dialogs/name_dialog.h"
#include "widgets/glyph_button.h"
#include "widgets/group_frame.h"
#include "widgets/spin_button.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "radio/frequency.h"
#include "radio/radio_card.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QSlider>

namespace tunevox::app {

using radio::bAM;
using radio::bFM;

namespace {

bool SameStation(const tFavorite& f, double frequency, radio::tBand band) {
    // Stored and tuned frequencies meet to the kHz, by their texts.
    return f.Band == band && radio::FrequencyText(f.Frequency) == radio::FrequencyText(frequency);
}

} // namespace

TGlyphButton* tdMain::FavoriteButton(int n) const {
    if (n < 1 || n > kFavoriteCount || RowOf(n) != favoritesRow_) return nullptr;
    return btRadio[PositionInRow(n) - 1];
}

QString tdMain::FavoriteHint(int n) const {
    const tFavorite& f = favorites_[n];
    QString hint = FrequencyCaption(f.Frequency, f.Band);
    if (!f.Name.empty()) hint += " (" + QString::fromStdString(f.Name) + ")";
    return hint;
}

void tdMain::ShowFavoriteButton(int n, bool on) {
    TGlyphButton* b = FavoriteButton(n);
    if (!b) return;
    const tFavorite& f = favorites_[n];
    const int scheme = !f.Used ? config_.ColorFavNotAssButton
                       : f.Band == bFM ? config_.ColorFavAssButtonFM
                                       : config_.ColorFavAssButtonAM;
    b->SetGlyph(display::PictureTransparent("BT" + QString::number(scheme) + (on ? "ON" : "OFF")));
    b->setToolTip(f.Used ? FavoriteHint(n) : QString());
}

void tdMain::ShowFavoritesRow(int row) {
    favoritesRow_ = std::clamp(row, 1, kFavoriteRows);
    for (int k = 1; k <= 10; ++k) {
        const int n = FavoriteAt(favoritesRow_, k);
        btRadio[k - 1]->setText(QString::fromStdString(TwoDigit(n)));
        ShowFavoriteButton(n, false);
    }
    if (currentFavorite_ && RowOf(currentFavorite_) == favoritesRow_) ShowFavoriteButton(currentFavorite_, true);
    btNextPrev->SetUpEnabled(favoritesRow_ > 1);
    btNextPrev->SetDownEnabled(favoritesRow_ < kFavoriteRows);
}

void tdMain::btNextPrevTopClick() { ShowFavoritesRow(std::max(1, favoritesRow_ - 1)); }
void tdMain::btNextPrevBottomClick() { ShowFavoritesRow(std::min(kFavoriteRows, favoritesRow_ + 1)); }

void tdMain::SetClearItemsEnabled() {
    Action("msStations_Clear")->setEnabled(currentFavorite_ != 0);
    Action("tsmStations_Clear")->setEnabled(currentFavorite_ != 0);
}

void tdMain::SetMemoryItemsEnabled(bool on) {
    Action("msStations_Memory")->setEnabled(on);
    Action("tsmStations_Memory")->setEnabled(on);
    Action("pmMemory")->setEnabled(on);
}

bool tdMain::IsCurrentStored() const {
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const tFavorite& f = favorites_[n];
        if (f.Used && f.Frequency == card_.Frequency() && f.Band == card_.Band()) return true;
    }
    return false;
}

void tdMain::btRadioClick(int k) {
    Temp->setFocus();
    if (scanning_) return;
    const int n = FavoriteAt(favoritesRow_, k);
    const tFavorite& f = favorites_[n];
    if ((f.Band == bAM && !card_.Caps().HasAM) || (f.Band == bFM && !card_.Caps().HasFM)) return;
    if (clrArmed_) {
        ClearFavorite(n);
        clrArmed_ = false;
        UpdateButtonGlyphs(false);
    } else if (memArmed_) {
        memArmed_ = false;
        UpdateButtonGlyphs(false);
        StoreFavorite(n);
    } else if (f.Used) {
        favorites_[n].Active = true;
        SelectFavorite(n, true);
    }
}

void tdMain::SelectFavorite(int n, bool tune) {
    if (n < 1 || n > kFavoriteCount) return;
    const tFavorite f = favorites_[n];
    const radio::tDevCap& caps = card_.Caps();
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
    if (currentFavorite_ && currentFavorite_ != n) {
        favorites_[currentFavorite_].Active = false;
        ShowFavoriteButton(currentFavorite_, false);
    }
    if (RowOf(n) != favoritesRow_) ShowFavoritesRow(RowOf(n));
    currentFavorite_ = n;
    favorites_[n].Active = true;
    SetClearItemsEnabled();

    if (f.Band != card_.Band()) SetBandScale(f.Band);
    const double lower = f.Band == bFM ? card_.FMMin() : card_.AMMin();
    const double upper = f.Band == bFM ? card_.FMMax() : card_.AMMax();
    const double snapped =
        radio::SnapFrequency(upper, lower, f.Band == bFM ? caps.FMStep : caps.AMStep, f.Frequency);
    if (tune) GuardAudio([&] { card_.TuneTo(stereoWanted_, f.Band, snapped); });

    btFM->SetDown(card_.Band() == bFM);
    btAM->SetDown(card_.Band() == bAM);
    SetFrequencySlider(card_.Frequency());
    if (tune) {
        int status = 0;
        GuardAudio([&] { status = card_.TunedStatus(config_.CheckIfTunedST); });
        ShowTunedStatus(status);
    }
    UpdateTuneLimits();
    ShowFrequencyDigits();
    SetMemoryItemsEnabled(!IsCurrentStored());

    panel_->Station->setText(QString::fromStdString(f.Name));
    panel_->StationNum->setText(QString::number(n));
    QString caption = FrequencyCaption(card_.Frequency(), card_.Band());
    if (!f.Name.empty()) caption += " (" + QString::fromStdString(f.Name) + ")";
    for (QMenu* m : {mPresets, tsmPresets})
        for (QAction* a : m->actions()) a->setChecked(false);
    for (const char* p : {"f", "m"})
        if (QAction* a = Action(p + QString::fromStdString(TwoDigit(n)))) a->setChecked(true);
    ShowFavoriteButton(n, true);
    if (TGlyphButton* b = FavoriteButton(n)) b->setToolTip(caption);
    SetCaption(caption);
}

void tdMain::MatchCurrentFavorite() {
    for (QMenu* m : {mPresets, tsmPresets})
        for (QAction* a : m->actions()) a->setChecked(false);
    if (currentFavorite_) {
        favorites_[currentFavorite_].Active = false;
        ShowFavoriteButton(currentFavorite_, false);
    }
    QString caption = FrequencyCaption(card_.Frequency(), card_.Band());
    currentFavorite_ = 0;
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const tFavorite& f = favorites_[n];
        if (!f.Used || !SameStation(f, card_.Frequency(), card_.Band())) continue;
        favorites_[n].Active = true;
        currentFavorite_ = n;
        panel_->Station->setText(QString::fromStdString(f.Name));
        panel_->StationNum->setText(QString::number(n));
        ShowFavoritesRow(RowOf(n));
        if (!f.Name.empty()) caption += " (" + QString::fromStdString(f.Name) + ")";
        ShowFavoriteButton(n, true);
        if (TGlyphButton* b = FavoriteButton(n)) b->setToolTip(caption);
        SetCaption(caption);
        for (const char* p : {"f", "m"})
            if (QAction* a = Action(p + QString::fromStdString(TwoDigit(n)))) a->setChecked(true);
        SetClearItemsEnabled();
        return;
    }
    SetCaption(caption);
    panel_->Station->clear();
    panel_->StationNum->setText("??");
    SetClearItemsEnabled();
}

bool tdMain::AskName(int n, QString& name) {
    TNameDialog dialog(QString::fromStdString(favorites_[n].Name), this);
    if (RunDialog([&] { return ui_.RunModal(dialog); }) != QDialog::Accepted) return false;
    name = dialog.Name();
    return true;
}

void tdMain::StoreFavorite(int n) {
    if (n < 1 || n > kFavoriteCount) return;
    QString name;
    if (!AskName(n, name)) return;
    const bool was = favorites_[n].Used;
    tFavorite& f = favorites_[n];
    f.Name = NormalizeFavoriteName(name.toStdString());
    f.Frequency = card_.Frequency();
    f.Band = card_.Band();
    f.Active = true;
    f.Used = true;
    if (was) {
        for (const char* p : {"f", "m"})
            if (QAction* a = Action(p + QString::fromStdString(TwoDigit(n))))
                a->setText(QString::fromStdString(f.Name));
    } else {
        bool higher = false;
        for (int m = n + 1; m <= kFavoriteCount; ++m) higher = higher || favorites_[m].Used;
        if (higher) RebuildFavoritesMenus();
        else {
            AddFavoriteMenuItems(n);
            EnableFavoriteMenuItems();
        }
    }
    SelectFavorite(n, true);
}

void tdMain::ClearFavorite(int n) {
    if (n < 1 || n > kFavoriteCount) return;
    ClearSlot(favorites_[n]);
    ShowFavoriteButton(n, false);
    if (n == currentFavorite_) {
        GoToFrequency(card_.Band(), false, 0);
        currentFavorite_ = 0;
        SetClearItemsEnabled();
    }
    for (const char* p : {"f", "m"})
        delete Action(p + QString::fromStdString(TwoDigit(n)));
    SetMemoryItemsEnabled(!IsCurrentStored());
}

void tdMain::RenameFavorite(int n) {
    if (currentFavorite_ == 0 || n < 1 || n > kFavoriteCount || !favorites_[n].Used) return;
    QString name;
    if (!AskName(n, name)) return;
    tFavorite& f = favorites_[n];
    f.Name = NormalizeFavoriteName(name.toStdString());
    if (TGlyphButton* b = FavoriteButton(n)) b->setToolTip(FavoriteHint(n));
    if (n == currentFavorite_) {
        panel_->Station->setText(QString::fromStdString(f.Name));
        SetCaption(FavoriteHint(n));
    }
    for (const char* p : {"f", "m"})
        if (QAction* a = Action(p + QString::fromStdString(TwoDigit(n)))) a->setText(QString::fromStdString(f.Name));
}

void tdMain::Stations_Memory() {
    if (scanning_ || clrArmed_ || IsCurrentStored()) return;
    memArmed_ = !memArmed_;
    UpdateButtonGlyphs(false);
}

void tdMain::btClrClick() {
    if (scanning_ || memArmed_) return;
    clrArmed_ = !clrArmed_;
    UpdateButtonGlyphs(false);
}

void tdMain::Stations_Clear() {
    if (scanning_ || currentFavorite_ == 0) return;
    ClearFavorite(currentFavorite_);
}

void tdMain::Stations_ClearAll() {
    if (scanning_) return;
    if (ui_.MessageBox(this, "Clear all presets", "Are you sure ?", tMsgIcon::Stop, tMsgButtons::YesNo) !=
        tMsgResult::Yes)
        return;
    ClearBank(favorites_);
    RebuildFavoritesMenus();
    currentFavorite_ = 0;
    ShowFavoritesRow(favoritesRow_);
    GoToFrequency(card_.Band(), false, 0);
    currentFavorite_ = 0;
    SetClearItemsEnabled();
}

void tdMain::Stations_Rename() {
    if (scanning_) return;
    RenameFavorite(currentFavorite_);
}

void tdMain::btMenuPopup(int k) {
    popupSlot_ = FavoriteAt(favoritesRow_, k);
    const bool used = favorites_[popupSlot_].Used;
    Action("pmClear")->setEnabled(used);
    Action("pmRename")->setEnabled(used);
    Action("pmMemory")->setEnabled(!IsCurrentStored());
}

void tdMain::Popup_Memory() {
    if (scanning_) return;
    StoreFavorite(popupSlot_);
}

void tdMain::Popup_Clear() {
    if (scanning_) return;
    ClearFavorite(popupSlot_);
}

void tdMain::Popup_Rename() {
    if (scanning_) return;
    RenameFavorite(popupSlot_);
}

void tdMain::FavMenu(int n) {
    if (scanning_) return;
    for (QMenu* m : {mPresets, tsmPresets})
        for (QAction* a : m->actions()) a->setChecked(false);
    favorites_[n].Active = true;
    SelectFavorite(n, true);
}

void tdMain::AddFavoriteMenuItems(int n) {
    const QString digits = QString::fromStdString(TwoDigit(n));
    const QString name = QString::fromStdString(favorites_[n].Name);
    for (auto [menu, prefix] : {std::pair{tsmPresets, QString("f")}, std::pair{mPresets, QString("m")}}) {
        auto* a = menu->addAction(name);
        a->setObjectName(prefix + digits);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, n] { FavMenu(n); });
    }
}

void tdMain::RebuildFavoritesMenus() {
    for (QMenu* m : {mPresets, tsmPresets}) {
        for (QAction* a : m->actions()) delete a;
    }
    for (int n = 1; n <= kFavoriteCount; ++n)
        if (favorites_[n].Used) AddFavoriteMenuItems(n);
    EnableFavoriteMenuItems();
}

void tdMain::EnableFavoriteMenuItems() {
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const tFavorite& f = favorites_[n];
        if (!f.Used) continue;
        const bool on = f.Band == bAM ? card_.Caps().HasAM
                                      : f.Frequency >= card_.FMMin() && f.Frequency <= card_.FMMax();
        for (const char* p : {"f", "m"})
            if (QAction* a = Action(p + QString::fromStdString(TwoDigit(n)))) a->setEnabled(on);
    }
}

void tdMain::File_LoadPresets() {
    if (scanning_) return;
    bool any = false;
    for (int n = 1; n <= kFavoriteCount; ++n) any = any || favorites_[n].Used;
    if (any &&
        ui_.MessageBox(this, "Warning",
                       "If you load a new presets set, the\ncurrent presets will be erased.\nAre you sure ?",
                       tMsgIcon::Information, tMsgButtons::YesNo) != tMsgResult::Yes)
        return;
    const QString file = ui_.OpenFileName(
        this, "Load presets", "Tunevox presets (*.tvp);;Plain text (*.txt);;All files (*)");
    if (file.isEmpty()) return;

    tFavorites loaded = favorites_;
    const tPresetsResult result = ReadPresetsFile(file.toStdString(), loaded);
    if (result == prCorrupt) {
        ui_.MessageBox(this, "Warning", "The presets files is corrupt", tMsgIcon::Error, tMsgButtons::Ok);
    } else if (result == prReadError) {
        ui_.MessageBox(this, "Warning", "Read error or disk not ready", tMsgIcon::Error, tMsgButtons::Ok);
    } else {
        favorites_ = loaded;
        currentFavorite_ = 0;
        presetsFile_ = file;
        RebuildFavoritesMenus();
        UpdateButtonGlyphs(true);
        if (card_.Caps().HasFM) GoToFrequency(bFM, false, radio::kFMLower);
        else GoToFrequency(bAM, false, radio::kAMLower);
        if (!muteState_) GuardAudio([&] { card_.MuteOff(); });
    }
    gpPresets->setToolTip("Presets loaded from " + presetsFile_);
}

} // namespace tunevox::app
