#pragma once
// TStationTuner: the small tuner ("Tuner") the organizer and the presets
// editor show for the station being edited: a frequency slider over its
// band's scale, "fm"/"am" buttons, six 5 x 7 dot digits with their point,
// the band and unit, the fine buttons and the fine step; in the organizer
// also the tuned-state letter, "OUT OF RANGE" and the seek buttons with
// their stop.
//
// It only shows and reports: the window decides (with the rules of
// radioset/station_tuner_rules.h) and calls the Show* methods, which never
// emit the signals; the user's actions arrive as the signals.
//
// A screen reader reads the black strip as one text ("98.7 MHz, stereo,
// out of range") and each button by what it does.

#include "radio/radio_types.h"

#include <QGroupBox>

#include <array>

class QString;
class QLabel;
class QSlider;

namespace tunevox::display {
class TDisplay;
class TSpokenPicture;
}
namespace tunevox::widgets {
class TGlyphButton;
class TSpinButton;
}

namespace tunevox::stationtuner {

struct tTunerParts {
    bool tunedState = true;  // the `Tuned` letter
    bool outOfRange = true;  // the `LOut` label
    bool seek = true;        // `LScan`, the seek buttons, `btStopScan`, `Scanning`
};

class TStationTuner : public QGroupBox {
    Q_OBJECT
public:
    // Design size of the whole group; the window may make it wider.
    static constexpr int kDesignWidth = 528;
    static constexpr int kDesignHeight = 110;

    explicit TStationTuner(tTunerParts parts = {}, QWidget* parent = nullptr);

    // --- what the window shows (no signals) ---
    // The band: "fm"/"am" pressed, scale labels, the slider's range, "FM"/
    // "MHz" or "AM"/"kHz"; on FM the seek and fine-step controls and the
    // tuned letter are shown, on AM hidden.
    void ShowBand(radio::tBand band);
    // The frequency on the slider, its hint, the digits and the point.
    void ShowFrequency(radio::tBand band, double mhz);
    // Red digits and point (and "OUT OF RANGE" where the tuner has it),
    // else aqua.
    void ShowOutOfRange(bool out);
    // The tuned letter: "T", "S", "M" white; "?" or "!" grey.
    void ShowTuned(char letter, bool lit);
    void ShowFineButtons(bool down, bool up);
    void ShowSeekButtons(bool down, bool up);
    // A seek running downwards (-1) or upwards (+1): its direction shown,
    // the seek buttons hidden, STOP in their place; 0: none.
    void ShowSeeking(int direction);
    // The fine step: its multiple of the card's step on the slider (range
    // 1..maxMultiple) and its kHz.
    void ShowStep(int multiple, int maxMultiple, int kHz);

    // Whether the user is dragging the slider's thumb.
    bool Sliding() const;
    // The strip in words, as a screen reader reads it.
    QString SpokenText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // --- the controls, under the names the windows' tests use ---
    QSlider* Frequency = nullptr;
    std::array<QLabel*, 12> FreqLabels{}; // Freq01..Freq12
    widgets::TGlyphButton* btFM = nullptr;
    widgets::TGlyphButton* btAM = nullptr;
    std::array<display::TDisplay*, 6> Dig{}; // Dig1..Dig6
    QLabel* Point = nullptr;
    QLabel* AM_FM = nullptr;
    QLabel* HZ = nullptr;
    QLabel* Tuned = nullptr;    // null without tunedState
    QLabel* Scanning = nullptr; // null without seek
    QLabel* LOut = nullptr;     // null without outOfRange
    QLabel* LScan = nullptr;
    widgets::TGlyphButton* btScanPrev = nullptr;
    widgets::TGlyphButton* btScanNext = nullptr;
    widgets::TGlyphButton* btStopScan = nullptr;
    widgets::TGlyphButton* btTunePrev = nullptr;
    widgets::TGlyphButton* btTuneNext = nullptr;
    QLabel* Step = nullptr;
    QLabel* LStep = nullptr;
    widgets::TSpinButton* btSpinStep = nullptr;
    QSlider* StepSlider = nullptr;

signals:
    // The user moved the slider (by dragging, clicking or keys): the
    // frequency it shows now; `sliding` while the thumb is held.
    void frequencyMoved(double mhz, bool sliding);
    void slidingEnded();
    void bandClicked(radio::tBand band);
    void fineClicked(int direction); // -1 down, +1 up
    void seekClicked(int direction);
    void stopClicked();
    void stepMultipleChosen(int multiple); // the step slider
    void stepSpinClicked(int direction);   // -1 bottom, +1 top

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void BuildTopRow();
    void BuildDisplay();
    void BuildBottomRow();
    // Places every control for the current width: design x scaled by
    // width / kDesignWidth, fixed heights.
    void Place();
    // Which controls the band and a running seek leave visible.
    void UpdateVisibility();
    void PaintDigits();
    void UpdateSpokenText();

    tTunerParts parts_;
    radio::tBand band_ = radio::bFM;
    int seeking_ = 0;
    bool outOfRange_ = false;
    double mhz_ = 0.0;
    display::TSpokenPicture* display_ = nullptr; // the black strip
    QLabel* LFine = nullptr;
};

} // namespace tunevox::stationtuner
