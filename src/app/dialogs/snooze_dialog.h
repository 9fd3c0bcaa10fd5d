#pragma once
// "Sleep": how many minutes the radio plays before it is muted. The main
// window runs the timer; the dialog only asks for the minutes.

#include "widgets/dialog_buttons.h"
#include "widgets/spin_field.h"

#include <QDialog>

class QPushButton;

namespace tunevox::app {

class tdSnooze : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinMinutes = 1;
    static constexpr int kMaxMinutes = 120;

    // Opens on the minutes confirmed last time; 0 (none yet) opens on 1.
    explicit tdSnooze(int minutes, widgets::tHelpFn help = {}, QWidget* parent = nullptr);

    int Minutes() const;

    widgets::TSpinField* sMinutes = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btHelp = nullptr;
};

} // namespace tunevox::app
