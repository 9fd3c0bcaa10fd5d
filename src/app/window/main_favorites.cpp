// tdMain: the favorites on the ten buttons and in both "Presets" menus,
// MEM and CLR, the buttons' context menu, and loading a presets file.

#include "app/window/main_window.h"

#include "app/dialogs/name_dialog.h"
#include "app/window/favorites_menus.h"
#include "app/window/tray_icon.h"
#include "display/pictures.h"
#include "display/radio_panel.h"
#include "favoritesgrid/favorites_grid.h"
#include "radio/radio_card.h"
#include "radioset/radio_set.h"
#include "widgets/glyph_button.h"
#include "widgets/group_frame.h"
#include "widgets/spin_button.h"

#include <QAction>
#include <QSlider>

namespace tunevox::app {

using namespace radioset;
using radio::bFM;
using widgets::TGlyphButton;

TGlyphButton* tdMain::FavoriteButton(int n) const {
    if (n < 1 || n > kFavoriteCount || RowOf(n) != favoritesRow_) return nullptr;
    return btRadio[PositionInRow(n) - 1];
}

void tdMain::ShowFavoriteButton(int n, bool on) {
    TGlyphButton* b = FavoriteButton(n);
    if (!b) return;
    const tFavorite& f = set_.Favorites()[n];
    const tConfiguration& c = set_.Config();
    const int scheme = !f.Used ? c.ColorFavNotAssButton : f.Band == bFM ? c.ColorFavAssButtonFM : c.ColorFavAssButtonAM;
    b->SetGlyph(display::PictureTransparent("BT" + QString::number(scheme) + (on ? "ON" : "OFF")));
    b->setToolTip(f.Used ? QString::fromStdString(set_.FavoriteCaption(n)) : QString());
    favoritesgrid::NameFavoriteButton(*b, n, f);
    b->SetSwitchOn(on);
}

void tdMain::ShowFavoritesRow(int row) {
    favoritesRow_ = std::clamp(row, 1, kFavoriteRows);
    for (int k = 1; k <= 10; ++k) {
        const int n = FavoriteAt(favoritesRow_, k);
        btRadio[k - 1]->setText(QString::fromStdString(TwoDigit(n)));
        ShowFavoriteButton(n, n == shownFavorite_);
    }
    btNextPrev->SetUpEnabled(favoritesRow_ > 1);
    btNextPrev->SetDownEnabled(favoritesRow_ < kFavoriteRows);
}

void tdMain::ShowFavorites() {
    favoritesMenus_->Rebuild(set_.Favorites(), [this](int n) { return set_.FavoriteReceivable(n); });
    favoritesMenus_->Check(shownFavorite_);
    ShowFavoritesRow(favoritesRow_);
}

void tdMain::ShowStation(const tStationShown& station) {
    const int n = station.favorite;
    if (shownFavorite_ != n) ShowFavoriteButton(shownFavorite_, false);
    shownFavorite_ = n;
    favoritesMenus_->Check(n);
    if (n) {
        // The current favorite's row is the one on the buttons.
        if (RowOf(n) != favoritesRow_) ShowFavoritesRow(RowOf(n));
        ShowFavoriteButton(n, true);
        panel_->ShowStation(QString::number(n), QString::fromStdString(station.name));
    } else {
        // No favorite: the name the station sends, where it sends one.
        panel_->ShowStation("??", QString::fromStdString(station.name));
    }
    const QString caption = QString::fromStdString(station.caption);
    setWindowTitle("Tunevox - " + caption);
    tray_->SetHint(caption);
}

void tdMain::btNextPrevTopClick() { ShowFavoritesRow(favoritesRow_ - 1); }
void tdMain::btNextPrevBottomClick() { ShowFavoritesRow(favoritesRow_ + 1); }

void tdMain::btRadioClick(int k) {
    Temp->setFocus();
    if (set_.Busy()) return;
    const int n = FavoriteAt(favoritesRow_, k);
    // A button of a band the radio lacks does nothing, not even what MEM
    // or CLR armed.
    if (!set_.CanReceiveBand(n)) return;
    if (clrArmed_) {
        clrArmed_ = false;
        UpdateButtonGlyphs();
        set_.ClearFavorite(n);
    } else if (memArmed_) {
        memArmed_ = false;
        UpdateButtonGlyphs();
        StoreFavorite(n);
    } else {
        set_.RecallFavorite(n);
    }
}

bool tdMain::AskName(int n, QString& name, const std::string& offered) {
    TNameDialog dialog(QString::fromStdString(offered.empty() ? set_.Favorites()[n].Name : offered), this);
    if (RunDialog([&] { return ui_.RunModal(dialog); }) != QDialog::Accepted) return false;
    name = dialog.Name();
    return true;
}

void tdMain::StoreFavorite(int n) {
    if (set_.Busy() || n < 1 || n > kFavoriteCount) return;
    QString name;
    // The name the station sends, where it sends one, is offered.
    if (AskName(n, name, set_.Card().RdsStationName())) set_.StoreFavorite(n, name.toStdString());
}

void tdMain::RenameFavorite(int n) {
    if (set_.Busy() || set_.CurrentFavorite() == 0 || n < 1 || n > kFavoriteCount || !set_.Favorites()[n].Used)
        return;
    QString name;
    if (AskName(n, name)) set_.RenameFavorite(n, name.toStdString());
}

void tdMain::Stations_Memory() {
    if (set_.Busy() || clrArmed_ || set_.IsCurrentStored()) return;
    memArmed_ = !memArmed_;
    UpdateButtonGlyphs();
}

void tdMain::btClrClick() {
    if (set_.Busy() || memArmed_) return;
    clrArmed_ = !clrArmed_;
    UpdateButtonGlyphs();
}

void tdMain::Stations_Clear() { set_.ClearCurrentFavorite(); }

void tdMain::Stations_ClearAll() {
    if (set_.Busy()) return;
    if (ui_.MessageBox(this, "Clear all presets", "Are you sure ?", widgets::tMsgIcon::Stop, widgets::tMsgButtons::YesNo) ==
        widgets::tMsgResult::Yes)
        set_.ClearAllFavorites();
}

void tdMain::Stations_Rename() { RenameFavorite(set_.CurrentFavorite()); }

void tdMain::btMenuPopup(int k) {
    popupSlot_ = FavoriteAt(favoritesRow_, k);
    const bool used = set_.Favorites()[popupSlot_].Used;
    pmClear->setEnabled(used);
    pmRename->setEnabled(used);
    pmMemory->setEnabled(!set_.IsCurrentStored());
}

void tdMain::Popup_Memory() { StoreFavorite(popupSlot_); }
void tdMain::Popup_Clear() { set_.ClearFavorite(popupSlot_); }
void tdMain::Popup_Rename() { RenameFavorite(popupSlot_); }

void tdMain::FavMenu(int n) { set_.RecallFavorite(n); }

void tdMain::File_LoadPresets() {
    if (set_.Busy()) return;
    if (set_.AnyFavorite() &&
        ui_.MessageBox(this, "Warning",
                       "If you load a new presets set, the\ncurrent presets will be erased.\nAre you sure ?",
                       widgets::tMsgIcon::Information, widgets::tMsgButtons::YesNo) != widgets::tMsgResult::Yes)
        return;
    const QString file = ui_.OpenFileName(this, "Load presets",
                                          "Tunevox presets (*.tvp);;Plain text (*.txt);;All files (*)", "tvp");
    if (file.isEmpty()) return;
    switch (set_.LoadPresets(file.toStdString())) {
    case prCorrupt:
        ui_.MessageBox(this, "Warning", "The presets files is corrupt", widgets::tMsgIcon::Error, widgets::tMsgButtons::Ok);
        break;
    case prReadError:
        ui_.MessageBox(this, "Warning", "Read error or disk not ready", widgets::tMsgIcon::Error, widgets::tMsgButtons::Ok);
        break;
    case prOk: UpdateButtonGlyphs(); break;
    }
    ShowPresetsFile();
}

void tdMain::ShowPresetsFile() {
    const QString file = QString::fromStdString(set_.PresetsFile());
    gpPresets->setToolTip(file.isEmpty() ? QString("Internal") : "Presets loaded from " + file);
}

} // namespace tunevox::app
