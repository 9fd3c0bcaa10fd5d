#pragma once
// "Alarm setting": the time of the alarm on two spin fields and four
// segment cells, and the favorite it recalls. The dialog only edits; the
// main window keeps the alarm, switches it and reads the answer on OK.

#include "radioset/favorites.h"
#include "widgets/dialog_buttons.h"
#include "widgets/spin_field.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace tunevox::display {
class TDisplay;
class TSpokenPicture;
}

namespace tunevox::app {

class tdAlarm : public QDialog {
    Q_OBJECT
public:
    // Opens on hour:minute (each clamped to its field) and on `favorite`
    // when the list holds it, else on `currentFavorite`; else nothing is
    // chosen, and OK waits until the user picks one (Enter must not arm an
    // alarm on a station the user never chose). The list holds the used
    // favorites of `bank` the card can receive (radioset::CanReceive).
    tdAlarm(int hour, int minute, int favorite, const radioset::tFavorites& bank, bool hasAM, bool hasFM, double fmMin,
            double fmMax, int currentFavorite, widgets::tHelpFn help = {}, QWidget* parent = nullptr);

    int Hour() const;
    int Minute() const;
    // The favorite of the selected entry (1..100), 0 when none is selected.
    int Favorite() const;

    widgets::TSpinField* HH = nullptr;
    widgets::TSpinField* MM = nullptr;
    QComboBox* Favorites = nullptr;
    display::TDisplay* H1 = nullptr;
    display::TDisplay* H2 = nullptr;
    display::TDisplay* M1 = nullptr;
    display::TDisplay* M2 = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btHelp = nullptr;

private:
    void HHChange();
    void MMChange(int value);
    void ShowCells();
    void UpdateOk();

    display::TSpokenPicture* timeShown_ = nullptr; // the strip of the four cells
};

} // namespace tunevox::app
