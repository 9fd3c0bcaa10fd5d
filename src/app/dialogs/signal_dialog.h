#pragma once
// tdSigStr ("Signal strenght"): how strong a station must come in before a
// card that reports its signal strength counts it as received, from 0
// (weak) to 3 (strong). The dialog only asks; the main window keeps the
// value and applies it on OK.

#include "widgets/dialog_buttons.h"

#include <QDialog>

class QPushButton;
class QSlider;

namespace tunevox::app {

class tdSigStr : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinThreshold = 0;
    static constexpr int kMaxThreshold = 3;

    // Opens on `threshold`, clamped to 0..3 (a configuration file may hold
    // anything).
    explicit tdSigStr(int threshold, widgets::tHelpFn help = {}, QWidget* parent = nullptr);

    // The slider's value: what the main window takes on OK.
    int Threshold() const;

    QSlider* SStrenght = nullptr;
    QPushButton* btHelp = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btOk = nullptr;
};

} // namespace tunevox::app
