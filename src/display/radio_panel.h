#pragma once
// TRadioPanel: the radio's display panel, the same in the main window and
// in the settings dialog's preview: six segment cells with the decimal
// point, the band and unit, the favorite number and name, the clock, the
// reception status, the four indicator lamps and the seek arrows. It knows
// how the colour settings paint it; what it shows is up to its owner.
//
// A screen reader reads it as text: the readout as one frequency with its
// unit ("98.7 MHz"), the band, the favorite, the station, the status, the
// clock and each lamp with its state ("Muted", "Alarm on"), and the panel
// as a whole by a description of all that matters. The setters that change
// the picture change these texts with it.

#include "display/tdisplay.h"

#include <QFrame>
#include <QSize>
#include <QString>

#include <array>

class QLabel;

namespace tunevox::display {

class TSpokenPicture;

// The colour settings of the panel: palette indexes (background and
// foreground of the cells, the panel) and schemes (texts, lamps), and the
// cells' look 0..3.
struct tPanelColors {
    int background = 2;
    int foreground = 10;
    int style = 2;
    int panel = 0;
    int text = 7;
    int flag = 5;
    friend bool operator==(const tPanelColors&, const tPanelColors&) = default;
};

class TRadioPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr QSize kSize{301, 74};
    // The four lamps: audio on, alarm, sleep, programming mode.
    enum tIndicator { kMusic, kAlarm, kSleep, kProgramming };

    explicit TRadioPanel(QWidget* parent = nullptr);

    // Cells, point, panel and texts in the given colours; the cells take the
    // look of `style` (16 segments, 5 x 7 bulbs, 5 x 7 dots, 7 segments).
    void ApplyColors(const tPanelColors& colors);
    const tPanelColors& Colors() const { return colors_; }
    // The status label: a text in the text colour, or dim (as "?????" is).
    void ShowStatus(const QString& text, bool dim);
    // The status is hidden while the seek arrows stand in its place.
    void SetStatusShown(bool shown);
    // An indicator lamp: its word + flag scheme + "ON"/"OFF", on the panel
    // colour.
    void SetIndicator(tIndicator indicator, bool on);
    // The seek arrows ("SCAN" in the text scheme, L or R), or none.
    void ShowScan(int direction);
    // Six characters for the cells, and whether the point after the third
    // is lit.
    void ShowReadout(const std::array<char, 6>& chars, bool point);
    // "FM" and "MHz", or "AM" and "kHz".
    void ShowBand(bool fm);
    // The favorite's number ("??" for none) and the station's name.
    void ShowStation(const QString& number, const QString& name);
    void ShowTime(const QString& text);

    // What the panel shows, as a reader sees it.
    QString ReadoutText() const; // the six cells, "." where the point is lit
    QString StatusText() const;
    QColor StatusColor() const;
    QString StationNumberText() const;
    QString StationText() const;
    // The frequency of the readout with its unit ("98.7 MHz", "1620 kHz");
    // empty while the cells show no number.
    QString SpokenFrequency() const;
    // What the panel shows, in one sentence for a screen reader: the band
    // and frequency, the favorite and station, the status, and the lamps
    // that are not as usual ("FM 98.7 MHz, Favorite 3: Radio One, Stereo,
    // Muted").
    QString SpokenSummary() const;

private:
    void UpdateSpokenText();

    // The controls, named as the window names them.
    // The six cells and the point, read as one frequency.
    TSpokenPicture* Readout = nullptr;
    std::array<TDisplay*, 6> Dig{};
    QFrame* Point = nullptr;
    QLabel* AM_FM = nullptr;
    QLabel* HZ = nullptr;
    QLabel* StationNum = nullptr;
    QLabel* Station = nullptr;
    QLabel* HHMMSS = nullptr;
    QLabel* Tuned = nullptr;
    QLabel* icMusicOnOff = nullptr;
    QLabel* icAlarmOnOff = nullptr;
    QLabel* icSleepOnOff = nullptr;
    QLabel* icProgOnOff = nullptr;
    QLabel* icScan = nullptr;
    tPanelColors colors_;
    std::array<bool, 4> lamps_{}; // by tIndicator
    int scan_ = 0;
};

} // namespace tunevox::display
