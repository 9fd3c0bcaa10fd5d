#pragma once
// "Jump to": the user types or slides to a frequency on either band. The
// dialog never touches the card; the main window tunes to Band() and
// Frequency() after it closed with "Ok".
//
// FM is shown and typed in MHz, AM in kHz (a listener types 531, not
// 0.531). Text that is not a number of the band's range is refused: the
// edit turns red, a line under it states the range and "Ok" stays disabled
// until the text is good again. The text itself is never rewritten.

#include "widgets/dialog_buttons.h"
#include "radio/radio_types.h"

#include <QDialog>
#include <QString>

#include <array>
#include <optional>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace tunevox::app {

// What the dialog needs of the card. Frequencies in MHz on both bands.
struct tJumpInput {
    bool hasFM = true;
    bool hasAM = false;
    double fmMin = radio::kFMLower;
    double fmMax = radio::kFMUpper;
    double fmStep = 0.05;
    double amStep = radio::kAMStep;  // a step of 0 falls back to kAMStep
    radio::tBand band = radio::bFM;  // the card's band
    double frequency = radio::kFMLower;  // the card's frequency on that band
    // The other band opens at its lower edge.
};

class tdJumpTo : public QDialog {
    Q_OBJECT
public:
    explicit tdJumpTo(const tJumpInput& input, widgets::tHelpFn help = {}, QWidget* parent = nullptr);

    // The band and the frequency (MHz, clamped and on the band's grid) to
    // hand to GoToFrequency. Meaningful after "Ok"; before it they are the
    // values the dialog holds for its current band.
    radio::tBand Band() const { return band_; }
    double Frequency() const { return bands_[band_].value; }
    // The value kept for a band while the dialog is open (MHz).
    double BandValue(radio::tBand band) const { return bands_[band].value; }
    // Whether the edit's text is refused (not a number of the band's range).
    bool Refused() const { return refused_; }

    QLineEdit* Freq = nullptr;
    QLabel* LFreq = nullptr;
    QLabel* LRange = nullptr;
    QSlider* sFreq = nullptr;
    QPushButton* btFM = nullptr;
    QPushButton* btAM = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btHelp = nullptr;

private:
    struct tBandState {
        double min = 0.0;
        double max = 0.0;
        double step = 0.0;
        double value = 0.0;     // MHz, snapped
        QString refusedText;    // a refused text left behind on a band switch
    };

    void FreqChange();
    void sFreqChange(int position);
    void SwitchBand(radio::tBand band);
    void ShowBand();

    double Snap(radio::tBand band, double mhz) const;
    // The text the user typed, read on the current band's unit, as MHz;
    // nullopt when it is no number of the band's range.
    std::optional<double> TypedValue() const;
    QString ValueText(radio::tBand band, double mhz) const;
    QString RangeText(radio::tBand band) const;
    void SetRefused(bool refused);

    std::array<tBandState, 2> bands_{};
    radio::tBand band_ = radio::bFM;
    bool refused_ = false;
    QString separator_ = ".";
    QButtonGroup* bandButtons_ = nullptr;
};

} // namespace tunevox::app
