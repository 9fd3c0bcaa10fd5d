#include "display/radio_panel.h"

#include "display/palette.h"
#include "display/pictures.h"
#include "display/spoken_picture.h"

#include <QApplication>
#include <QLabel>

#include <algorithm>

namespace tunevox::display {

namespace {

// The cells' size lets every style's arithmetic draw whole segments and
// dots: with a 1 px margin, 5 x 7 dots of 6 px and one-pixel gaps fill
// 34 x 48 exactly, leaving the frame pixel free.
constexpr int kCellW = 36;
constexpr int kCellH = 50;
constexpr int kCellMargin = 1;
constexpr int kCellTop = 3;
int CellLeft(int i) { return 4 + i * (kCellW + 1) + (i >= 3 ? 5 : 0); }

constexpr TDigitStyle kStyles[] = {ds16Seg, ds5x7Bulb, ds5x7Dot, ds7Seg};
constexpr int kSegWidths[] = {3, 6, 6, 4};

QLabel* Label(QWidget* parent, const char* name, const QString& text, const QRect& at, int px, Qt::Alignment align,
              bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(at);
    QFont f = QApplication::font();
    f.setPixelSize(px);
    f.setBold(bold);
    l->setFont(f);
    l->setAlignment(align);
    return l;
}

void SetColor(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}

} // namespace

TRadioPanel::TRadioPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Panel");
    setFixedSize(kSize);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setAccessibleName("Radio display");
    // The cells and the point lie on a transparent strip that is read as
    // the frequency; their places on the panel stay as designed.
    Readout = new TSpokenPicture(this);
    Readout->setObjectName("Readout");
    const QPoint origin(CellLeft(0), kCellTop);
    Readout->setGeometry(QRect(origin, QPoint(CellLeft(5) + kCellW - 1, kCellTop + kCellH - 1)));
    Readout->setAccessibleDescription("Frequency");
    for (int i = 0; i < 6; ++i) {
        auto* d = new TDisplay(Readout);
        d->setObjectName(QString("Dig%1").arg(i + 1));
        d->setGeometry(QRect(QPoint(CellLeft(i), kCellTop) - origin, QSize(kCellW, kCellH)));
        d->SetMargin(kCellMargin);
        d->SetDigit(' ');
        Dig[i] = d;
    }
    Point = new QFrame(Readout);
    Point->setObjectName("Point");
    Point->setGeometry(QRect(QPoint(CellLeft(3) - 5, kCellTop + kCellH - 7) - origin, QSize(4, 4)));
    Point->setAutoFillBackground(true);

    const int right = CellLeft(5) + kCellW + 4;
    AM_FM = Label(this, "AM_FM", "FM", {right, 3, 30, 14}, 13, Qt::AlignLeft | Qt::AlignVCenter, true);
    HZ = Label(this, "HZ", "MHz", {right, 17, 30, 12}, 10, Qt::AlignLeft | Qt::AlignVCenter);
    StationNum = Label(this, "StationNum", "??", {right + 26, 3, 36, 22}, 20, Qt::AlignRight | Qt::AlignVCenter, true);
    StationNum->setToolTip("Station number");
    Tuned = Label(this, "Tuned", "?????", {right, 29, 62, 13}, 11, Qt::AlignLeft | Qt::AlignVCenter, true);
    auto indicator = [&](const char* name, int x, const QString& hint) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setGeometry(x, 43, kIndicatorSize, kIndicatorSize);
        l->setToolTip(hint);
        return l;
    };
    icMusicOnOff = indicator("icMusicOnOff", right, "Audio on/off");
    icAlarmOnOff = indicator("icAlarmOnOff", right + 14, "Alarm");
    icSleepOnOff = indicator("icSleepOnOff", right + 28, "Sleep");
    icProgOnOff = indicator("icProgOnOff", right + 42, "Programming mode");
    icScan = new QLabel(this);
    icScan->setObjectName("icScan");
    icScan->setGeometry(right + 45, 29, kScanWidth, kPictureHeight);
    icScan->hide();
    Station = Label(this, "Station", "", {5, 55, 190, 15}, 11, Qt::AlignLeft | Qt::AlignVCenter, true);
    HHMMSS = Label(this, "HHMMSS", "", {196, 55, 100, 15}, 11, Qt::AlignRight | Qt::AlignVCenter);
    HHMMSS->setToolTip("Current time");
    ApplyColors(colors_);
    SetSpokenName(AM_FM, "FM band");
    SetSpokenName(StationNum, "No favorite");
    SetSpokenName(Tuned, "Nothing received");
    for (tIndicator i : {kMusic, kAlarm, kSleep, kProgramming}) SetIndicator(i, false);
}

void TRadioPanel::ApplyColors(const tPanelColors& colors) {
    colors_ = colors;
    const int style = std::clamp(colors.style, 0, 3);
    const TColor panel = PaletteTColor(colors.panel);
    for (TDisplay* d : Dig) {
        d->SetOffColor(PaletteTColor(colors.background));
        d->SetOnColor(PaletteTColor(colors.foreground));
        d->SetBackColor(panel);
        d->SetPenOffColor(panel);
        d->SetPenOnColor(panel);
        d->SetDigitStyle(kStyles[style]);
        d->SetSegWidth(kSegWidths[style]);
    }
    SetColor(Point, QPalette::Window, PaletteColor(colors.foreground));
    SetColor(this, QPalette::Window, PaletteColor(colors.panel));
    for (QLabel* l : {StationNum, Station, HHMMSS, AM_FM, HZ})
        SetColor(l, QPalette::WindowText, SchemeTextColor(colors.text));
}

void TRadioPanel::ShowStatus(const QString& text, bool dim) {
    SetColor(Tuned, QPalette::WindowText, dim ? SchemeDimColor(colors_.text) : SchemeTextColor(colors_.text));
    Tuned->setText(text);
    // "?????" says nothing received in a picture; in words it says so.
    SetSpokenName(Tuned, dim ? QString("Nothing received") : QString());
    UpdateSpokenText();
}

void TRadioPanel::SetStatusShown(bool shown) {
    Tuned->setVisible(shown);
    UpdateSpokenText();
}

void TRadioPanel::SetIndicator(tIndicator which, bool on) {
    static const char* const words[] = {"RADIO", "ALARM", "SLEEP", "PROG"};
    QLabel* const labels[] = {icMusicOnOff, icAlarmOnOff, icSleepOnOff, icProgOnOff};
    const QString name = words[which] + QString::number(std::clamp(colors_.flag, 0, 7)) + (on ? "ON" : "OFF");
    labels[which]->setPixmap(QPixmap::fromImage(PictureOnPanel(name, PaletteColor(colors_.panel))));
    // The music lamp is lit while the radio is heard.
    static const char* const spoken[][2] = {{"Muted", "Not muted"},
                                            {"Alarm off", "Alarm on"},
                                            {"Sleep off", "Sleep on"},
                                            {"Programming mode off", "Programming mode on"}};
    SetSpokenName(labels[which], spoken[which][on ? 1 : 0]);
    lamps_[which] = on;
    UpdateSpokenText();
}

void TRadioPanel::ShowScan(int direction) {
    scan_ = direction;
    if (direction == 0) {
        icScan->hide();
        UpdateSpokenText();
        return;
    }
    const QString name = "SCAN" + QString::number(std::clamp(colors_.text, 0, 7)) + (direction < 0 ? "L" : "R");
    icScan->setPixmap(QPixmap::fromImage(PictureOnPanel(name, PaletteColor(colors_.panel))));
    SetSpokenName(icScan, direction < 0 ? "Seeking down" : "Seeking up");
    icScan->show();
    UpdateSpokenText();
}

void TRadioPanel::ShowReadout(const std::array<char, 6>& chars, bool point) {
    for (int i = 0; i < 6; ++i) Dig[i]->SetDigit(static_cast<std::uint8_t>(chars[i]));
    Point->setVisible(point);
    UpdateSpokenText();
}

void TRadioPanel::ShowBand(bool fm) {
    AM_FM->setText(fm ? "FM" : "AM");
    HZ->setText(fm ? "MHz" : "kHz");
    SetSpokenName(AM_FM, fm ? "FM band" : "AM band");
    UpdateSpokenText();
}

void TRadioPanel::ShowStation(const QString& number, const QString& name) {
    StationNum->setText(number);
    Station->setText(name);
    bool isNumber = false;
    const int n = number.toInt(&isNumber);
    SetSpokenName(StationNum, isNumber ? QString("Favorite %1").arg(n) : QString("No favorite"));
    UpdateSpokenText();
}

void TRadioPanel::ShowTime(const QString& text) { HHMMSS->setText(text); }

QString TRadioPanel::ReadoutText() const {
    QString s;
    for (int i = 0; i < 6; ++i) {
        s += QChar(Dig[i]->Digit());
        if (i == 2 && Point->isVisibleTo(this)) s += '.';
    }
    return s;
}

QString TRadioPanel::StatusText() const { return Tuned->text(); }
QColor TRadioPanel::StatusColor() const { return Tuned->palette().color(QPalette::WindowText); }
QString TRadioPanel::StationNumberText() const { return StationNum->text(); }
QString TRadioPanel::StationText() const { return Station->text(); }

QString TRadioPanel::SpokenFrequency() const {
    bool isNumber = false;
    const double value = ReadoutText().trimmed().toDouble(&isNumber);
    if (!isNumber) return {};
    // The cells show MHz on FM and kHz on AM, as the unit beside them says.
    const bool fm = HZ->text() == "MHz";
    return display::SpokenFrequency(fm ? value : value / 1000.0, fm);
}

QString TRadioPanel::SpokenSummary() const {
    QStringList parts;
    const QString frequency = SpokenFrequency();
    parts << (frequency.isEmpty() ? AM_FM->text() : AM_FM->text() + " " + frequency);
    const QString station = Station->text().trimmed();
    const QString favorite = StationNum->accessibleName();
    if (favorite.startsWith("Favorite")) parts << (station.isEmpty() ? favorite : favorite + ": " + station);
    else if (!station.isEmpty()) parts << station;
    if (scan_ != 0) parts << icScan->accessibleName();
    else if (Tuned->isVisibleTo(this))
        parts << (Tuned->accessibleName().isEmpty() ? Tuned->text() : Tuned->accessibleName());
    if (!lamps_[kMusic]) parts << "Muted";
    if (lamps_[kAlarm]) parts << "Alarm on";
    if (lamps_[kSleep]) parts << "Sleep on";
    if (lamps_[kProgramming]) parts << "Programming mode on";
    return parts.join(", ");
}

void TRadioPanel::UpdateSpokenText() {
    Readout->SetSpokenText(SpokenFrequency());
    SetSpokenDescription(this, SpokenSummary());
}

} // namespace tunevox::display
