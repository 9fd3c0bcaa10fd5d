#pragma once
// TFavoritesGrid: the whole bank of 100 favorites as picture buttons, ten
// to a row, for the windows that work on every favorite at once (the
// scanner, the organizer). The user drops a station onto a button, clears
// one or all from the popup menu, and clicks a button; what each of these
// does, and which drops are allowed, is the window's rule, handed in as
// functions. The grid itself only shows the bank and reports.

#include "radio/radio_types.h"
#include "radioset/favorites.h"

#include <QPoint>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QMimeData;

namespace tunevox::radioset {
struct tConfiguration;
}
namespace tunevox::widgets {
class TGlyphButton;
class IInteraction;
}

namespace tunevox::favoritesgrid {

// A station dragged onto a favorites button carries this MIME type. Its
// data is one UTF-8 line: the band letter ("F" for FM, "A" for AM), a
// blank, the "000.000" frequency text, a blank and the name, which may be
// empty and may hold blanks of its own, e.g. "F 098.700 Radio One" or
// "A 000.999 ". The scanner and the organizer both fill it with
// MakeStationMime, so a drop means the same from either window.
inline constexpr char kStationMimeType[] = "application/x-tunevox-station";

struct tDraggedStation {
    double frequency = 0.0;  // MHz on both bands
    radio::tBand band = radio::bFM;
    std::string name;        // UTF-8, as the dragging window has it
};

// A new QMimeData (the drag takes ownership) holding only kStationMimeType.
// The frequency travels as its "000.000" text, so it arrives to the kHz.
QMimeData* MakeStationMime(const tDraggedStation& station);
// The station in `mime`; nullopt when it has no kStationMimeType data or
// that data is not of the form above.
std::optional<tDraggedStation> ReadStationMime(const QMimeData& mime);

// The colour schemes (0..7) of the button pictures: a used FM favorite, a
// used AM favorite, an empty slot (the configuration's ColorFavAssButtonFM,
// ColorFavAssButtonAM and ColorFavNotAssButton).
struct tButtonColors {
    int fm = 2;
    int am = 0;
    int empty = 4;
};

// Draws no frame or title of its own: the window places it in its group
// frame, and its size is exactly the ten rows of buttons.
class TFavoritesGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 28;   // as the main window's favorite buttons
    static constexpr int kButtonHeight = 32;
    static constexpr int kColumns = 10;

    explicit TFavoritesGrid(QWidget* parent = nullptr);

    // Shows the bank: a used favorite's button has the hint "000.000 - Name"
    // (only the frequency when the trimmed name is blank) and the off
    // picture of its band's scheme; an empty one the off picture of the
    // empty scheme and no hint. `current` (0: none) shows its on picture.
    void ShowBank(const radioset::tFavorites& bank, int current, const tButtonColors& colors);

    // The window's rules. An empty acceptsDrop accepts no drop at all.
    std::function<bool(const tDraggedStation&, int n)> acceptsDrop;
    std::function<void(const tDraggedStation&, int n)> onDrop;
    std::function<void(int n)> onClear;  // "Clear" of the popup menu on button n
    std::function<void()> onClearAll;    // "Clear all" of the popup menu

    // The same rules without a drag, as a drag applies them: whether
    // `station` may be dropped on favorite n (1..100), and the drop itself,
    // which calls onDrop only when the drop is accepted and says whether.
    bool AcceptsDrop(const tDraggedStation& station, int n) const;
    bool Drop(const tDraggedStation& station, int n);

    widgets::TGlyphButton* Button(int n) const;  // 1..100, else null
    QMenu* Menu() const { return menu_; }         // "BtMenu": "iClear", "iClearAll"
    // The button the popup menu was last opened on (0: never).
    int MenuButton() const { return menuButton_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void clicked(int n);

protected:
    // The buttons' drag and drop, so that they stay plain TGlyphButtons.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenMenu(int n, QPoint globalPos);
    int NumberOf(const QObject* button) const;

    std::array<widgets::TGlyphButton*, radioset::kFavoriteCount> buttons_{};
    std::array<bool, radioset::kFavoriteCount + 1> used_{};
    QMenu* menu_ = nullptr;
    QAction* iClear_ = nullptr;
    QAction* iClearAll_ = nullptr;
    int menuButton_ = 0;
};

// The bank as the windows that edit it show it: the configuration's
// colours, and the current favorite lit only while it is used (after
// "Clear all" its number stays until the window closes, but its button is
// as empty as the others).
void ShowBankOf(TFavoritesGrid& grid, const radioset::tFavorites& bank, int current,
                const radioset::tConfiguration& config);
// What a screen reader calls favorite n's button, whichever window shows
// it: "Favorite 3: Radio One", "Favorite 3: 98.7 MHz" for a station
// without a name, "Favorite 12 (empty)"; the frequency as its description.
void NameFavoriteButton(widgets::TGlyphButton& button, int n, const radioset::tFavorite& favorite);

// "Clear all" asks first: true when the user answers Yes.
bool AskClearAll(widgets::IInteraction& ui, QWidget* parent);

} // namespace tunevox::favoritesgrid
