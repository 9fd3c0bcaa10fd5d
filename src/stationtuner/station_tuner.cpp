#include "stationtuner/station_tuner.h"

#include "display/palette.h"
#include "display/spoken_picture.h"
#include "display/tdisplay.h"
#include "radio/frequency.h"
#include "radioset/station_tuner_rules.h"
#include "widgets/glyph_button.h"
#include "widgets/spin_button.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>

namespace tunevox::stationtuner {

using radio::bAM;
using radio::bFM;
using widgets::TGlyphButton;

namespace {

// Rows, in pixels below the group's title. The heights do not scale: the
// tuner only ever grows wider.
constexpr int kSliderTop = 0;
constexpr int kSliderHeight = 18;
constexpr int kScaleTop = 16;
constexpr int kScaleHeight = 11;
constexpr int kDisplayTop = 29;
constexpr int kDisplayHeight = 33;
constexpr int kBottomTop = 65;
constexpr int kRowHeight = 22;

// The 5 x 7 cells: 3 px dots with one-pixel gaps and a one-pixel margin fill
// 21 x 29 exactly, so every dot is whole.
constexpr int kDot = 3;
constexpr int kCellW = 21;
constexpr int kCellH = 29;
constexpr int kCellGap = 2;
constexpr int kPointGap = 5; // room for the point between the third and fourth cell

// The design x of the slider's first and last position: both scales run
// between them.
constexpr int kScaleFirst = 3;
constexpr int kScaleLast = 267;
// Everything in the group sits this far right of its left edge, clear of
// the frame.
constexpr int kInset = 8;

const display::TColor kBlack = display::PaletteTColor(0);
const display::TColor kAqua = display::PaletteTColor(14);
const display::TColor kRed = display::PaletteTColor(9);
// Unlit dots: far dimmer than the palette's teal and maroon, which at this
// size blur into the lit ones and make the digits hard to read.
constexpr display::TColor kAquaUnlit = display::MakeColor(0, 52, 52);
constexpr display::TColor kRedUnlit = display::MakeColor(60, 0, 0);

QFont PixelFont(int px, bool bold = false) {
    QFont f = QApplication::font();
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int px, Qt::Alignment align,
                  bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(PixelFont(px, bold));
    l->setAlignment(align);
    return l;
}

void SetColor(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}

// The buttons' glyphs: one or two triangles pointing left or right, or the
// square of "stop", drawn at the size they are shown.
enum class tGlyph { Left, Right, DoubleLeft, DoubleRight, Stop };

QImage DrawGlyph(tGlyph kind, const QColor& ink) {
    const bool twice = kind == tGlyph::DoubleLeft || kind == tGlyph::DoubleRight;
    const bool left = kind == tGlyph::Left || kind == tGlyph::DoubleLeft;
    QImage img(kind == tGlyph::Stop ? 7 : twice ? 10 : 5, 9, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    if (kind == tGlyph::Stop) {
        QPainter(&img).fillRect(0, 1, 7, 7, ink);
        return img;
    }
    // Columns of 9, 7, 5, 3, 1 pixels: a crisp triangle without antialiasing.
    QPainter p(&img);
    for (int copy = 0; copy < (twice ? 2 : 1); ++copy) {
        for (int c = 0; c < 5; ++c) {
            const int height = 9 - 2 * c;
            const int x = copy * 5 + (left ? 4 - c : c);
            p.fillRect(x, c, 1, height, ink);
        }
    }
    return img;
}

TGlyphButton* GlyphButton(QWidget* parent, const char* name, const QString& caption, tGlyph glyph,
                          const QString& hint) {
    auto* b = new TGlyphButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setProperty("tunerGlyph", static_cast<int>(glyph));
    b->SetGlyph(DrawGlyph(glyph, b->palette().color(QPalette::ButtonText)));
    return b;
}

// A glyph button greys its glyph with its caption: the image is drawn
// again in the palette's colour for the state.
void SetGlyphButtonEnabled(TGlyphButton* b, bool on) {
    if (b->isEnabled() == on && !b->Glyph().isNull()) return;
    b->setEnabled(on);
    const QColor ink = on ? b->palette().color(QPalette::ButtonText)
                          : b->palette().color(QPalette::Disabled, QPalette::ButtonText);
    b->SetGlyph(DrawGlyph(static_cast<tGlyph>(b->property("tunerGlyph").toInt()), ink));
}

// The scale's font: 9 px, or smaller while the widest label would touch its
// neighbour (AM's four-digit labels stand only 24 px apart at design width).
QFont ScaleFont(const std::vector<radioset::tScaleLabel>& marks, int spacing) {
    QFont f = PixelFont(9);
    for (int px = 9; px >= 7; --px) {
        f.setPixelSize(px);
        const QFontMetrics fm(f);
        int widest = 0;
        for (const radioset::tScaleLabel& m : marks)
            widest = std::max(widest, fm.horizontalAdvance(QString::fromStdString(m.text)));
        if (widest + 3 <= spacing) break;
    }
    return f;
}

char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
}

} // namespace

TStationTuner::TStationTuner(tTunerParts parts, QWidget* parent) : QGroupBox("Tuner", parent), parts_(parts) {
    setObjectName("StationData");
    setFont(PixelFont(11));
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    setMinimumSize(kDesignWidth, kDesignHeight);
    BuildTopRow();
    BuildDisplay();
    BuildBottomRow();
    ShowBand(bFM);
    ShowFrequency(bFM, radio::kFMLower);
    ShowOutOfRange(false);
    if (Tuned) ShowTuned('?', false);
    resize(kDesignWidth, kDesignHeight);
    Place();
}

QSize TStationTuner::sizeHint() const { return {kDesignWidth, kDesignHeight}; }
QSize TStationTuner::minimumSizeHint() const { return {kDesignWidth, kDesignHeight}; }

void TStationTuner::BuildTopRow() {
    Frequency = new QSlider(Qt::Horizontal, this);
    Frequency->setObjectName("Frequency");
    Frequency->setFocusPolicy(Qt::NoFocus);
    Frequency->setAccessibleName("Frequency");
    connect(Frequency, &QSlider::valueChanged, this,
            [this](int v) { emit frequencyMoved(v / 1000.0, Frequency->isSliderDown()); });
    connect(Frequency, &QSlider::sliderReleased, this, &TStationTuner::slidingEnded);
    for (int i = 0; i < 12; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QString("Freq%1").arg(i + 1, 2, 10, QChar('0')));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        FreqLabels[i] = l;
    }
    btFM = new TGlyphButton("fm", this);
    btFM->setObjectName("btFM");
    btFM->setToolTip("FM band");
    btFM->setAccessibleName("FM band");
    connect(btFM, &QAbstractButton::clicked, this, [this] { emit bandClicked(bFM); });
    btAM = new TGlyphButton("am", this);
    btAM->setObjectName("btAM");
    btAM->setToolTip("AM band");
    btAM->setAccessibleName("AM band");
    connect(btAM, &QAbstractButton::clicked, this, [this] { emit bandClicked(bAM); });
}

void TStationTuner::BuildDisplay() {
    display_ = new display::TSpokenPicture(this);
    display_->setObjectName("Display");
    display_->setFrameShape(QFrame::Panel);
    display_->setFrameShadow(QFrame::Sunken);
    display_->setAutoFillBackground(true);
    SetColor(display_, QPalette::Window, Qt::black);
    for (int i = 0; i < 6; ++i) {
        auto* d = new display::TDisplay(display_);
        d->setObjectName(QString("Dig%1").arg(i + 1));
        d->SetDigitStyle(display::ds5x7Dot);
        d->SetSegWidth(kDot);
        d->SetMargin(1);
        d->SetBackColor(kBlack);
        d->SetDigit(' ');
        Dig[i] = d;
    }
    Point = new QLabel(display_);
    Point->setObjectName("Point");
    Point->setAutoFillBackground(true);

    AM_FM = MakeLabel(display_, "AM_FM", "FM", 13, Qt::AlignLeft | Qt::AlignVCenter, true);
    HZ = MakeLabel(display_, "HZ", "MHz", 11, Qt::AlignLeft | Qt::AlignVCenter);
    for (QLabel* l : {AM_FM, HZ}) SetColor(l, QPalette::WindowText, display::SchemeTextColor(1));
    if (parts_.tunedState) {
        Tuned = MakeLabel(display_, "Tuned", "?", 13, Qt::AlignCenter, true);
        Tuned->setToolTip("Tuned (T), stereo (S), mono (M)");
    }
    if (parts_.seek) {
        Scanning = MakeLabel(display_, "Scanning", "", 13, Qt::AlignCenter, true);
        SetColor(Scanning, QPalette::WindowText, display::ToQColor(kAqua));
    }
    if (parts_.outOfRange) {
        LOut = MakeLabel(display_, "LOut", "OUT OF RANGE", 11, Qt::AlignCenter, true);
        LOut->setAutoFillBackground(true);
        LOut->setMargin(2);
        SetColor(LOut, QPalette::Window, display::ToQColor(kRed));
        SetColor(LOut, QPalette::WindowText, Qt::white);
        LOut->setToolTip("This card cannot receive the station");
    }
}

void TStationTuner::BuildBottomRow() {
    if (parts_.seek) {
        LScan = MakeLabel(this, "LScan", "Scan", 11, Qt::AlignRight | Qt::AlignVCenter);
        btScanPrev = GlyphButton(this, "btScanPrev", "", tGlyph::DoubleLeft, "Scan previous");
        btScanNext = GlyphButton(this, "btScanNext", "", tGlyph::DoubleRight, "Scan next");
        btStopScan = GlyphButton(this, "btStopScan", "Stop", tGlyph::Stop, "Halt scanning");
        btScanPrev->setAccessibleName("Seek down");
        btScanNext->setAccessibleName("Seek up");
        btStopScan->setAccessibleName("Stop seeking");
        connect(btScanPrev, &QAbstractButton::clicked, this, [this] { emit seekClicked(-1); });
        connect(btScanNext, &QAbstractButton::clicked, this, [this] { emit seekClicked(+1); });
        connect(btStopScan, &QAbstractButton::clicked, this, &TStationTuner::stopClicked);
    }

    LFine = MakeLabel(this, "LFine", "Fine", 11, Qt::AlignRight | Qt::AlignVCenter);
    btTunePrev = GlyphButton(this, "btTunePrev", "", tGlyph::Left, "Tune previous");
    btTuneNext = GlyphButton(this, "btTuneNext", "", tGlyph::Right, "Tune next");
    btTunePrev->setAccessibleName("Fine tune down");
    btTuneNext->setAccessibleName("Fine tune up");
    connect(btTunePrev, &QAbstractButton::clicked, this, [this] { emit fineClicked(-1); });
    connect(btTuneNext, &QAbstractButton::clicked, this, [this] { emit fineClicked(+1); });

    Step = MakeLabel(this, "Step", "100", 11, Qt::AlignRight | Qt::AlignVCenter, true);
    Step->setToolTip("Fine step");
    LStep = MakeLabel(this, "LStep", "kHz", 11, Qt::AlignLeft | Qt::AlignVCenter);
    StepSlider = new QSlider(Qt::Horizontal, this);
    StepSlider->setObjectName("StepSlider");
    StepSlider->setToolTip("Adjust step");
    StepSlider->setFocusPolicy(Qt::NoFocus);
    StepSlider->setAccessibleName("Fine step");
    StepSlider->setRange(1, 1);
    connect(StepSlider, &QSlider::valueChanged, this, &TStationTuner::stepMultipleChosen);
    btSpinStep = new widgets::TSpinButton(this);
    btSpinStep->setObjectName("btSpinStep");
    btSpinStep->setToolTip("Adjust step");
    btSpinStep->SetHalfNames("Larger step", "Smaller step");
    connect(btSpinStep, &widgets::TSpinButton::topClicked, this, [this] { emit stepSpinClicked(+1); });
    connect(btSpinStep, &widgets::TSpinButton::bottomClicked, this, [this] { emit stepSpinClicked(-1); });
}

void TStationTuner::resizeEvent(QResizeEvent* e) {
    QGroupBox::resizeEvent(e);
    Place();
}

void TStationTuner::Place() {
    const double scale = static_cast<double>(width()) / kDesignWidth;
    auto X = [scale](int design) { return kInset + static_cast<int>(std::lround(design * scale)); };
    const int top = contentsRect().top();

    // The slider's thumb centre runs from the scale's first label to its
    // last, so each label stands under the position of its value.
    QStyleOptionSlider opt;
    opt.initFrom(Frequency);
    opt.orientation = Qt::Horizontal;
    const int thumb = Frequency->style()->pixelMetric(QStyle::PM_SliderLength, &opt, Frequency);
    const int first = X(kScaleFirst);
    const int last = X(kScaleLast);
    Frequency->setGeometry(first - thumb / 2, top + kSliderTop, last - first + thumb, kSliderHeight);
    const std::vector<radioset::tScaleLabel> marks = radioset::TunerScale(band_);
    const QFont scaleFont = ScaleFont(marks, X(marks[1].x) - X(marks[0].x));
    for (size_t i = 0; i < marks.size() && i < FreqLabels.size(); ++i) {
        QLabel* l = FreqLabels[i];
        l->setFont(scaleFont);
        const int w = l->sizeHint().width();
        l->setGeometry(X(marks[i].x) - w / 2, top + kScaleTop, w, kScaleHeight);
    }

    // The strip: the digits at its left, band and unit beside them, the
    // tuned letter and the seek direction, "OUT OF RANGE" at its right end.
    const int stripLeft = X(0) - 2;
    const int stripRight = width() - kInset + 1;

    // The band buttons at the right end, over the fine step's controls.
    btAM->setGeometry(stripRight - 30, top + kSliderTop, 30, kRowHeight);
    btFM->setGeometry(stripRight - 61, top + kSliderTop, 30, kRowHeight);

    display_->setGeometry(stripLeft, top + kDisplayTop, stripRight - stripLeft, kDisplayHeight);
    const int cellTop = (kDisplayHeight - kCellH) / 2;
    auto cellLeft = [](int i) { return 6 + i * (kCellW + kCellGap) + (i >= 3 ? kPointGap : 0); };
    for (int i = 0; i < 6; ++i) Dig[i]->setGeometry(cellLeft(i), cellTop, kCellW, kCellH);
    Point->setGeometry(cellLeft(3) - kCellGap / 2 - kPointGap / 2 - 1, cellTop + kCellH - 1 - kDot, kDot + 1,
                       kDot + 1);
    const int afterDigits = cellLeft(5) + kCellW + 8;
    // As wide as the widest of their texts, so nothing moves with the band.
    const int unitWidth = std::max({QFontMetrics(AM_FM->font()).horizontalAdvance("AM"),
                                    QFontMetrics(AM_FM->font()).horizontalAdvance("FM"),
                                    QFontMetrics(HZ->font()).horizontalAdvance("MHz"),
                                    QFontMetrics(HZ->font()).horizontalAdvance("kHz")}) +
                          2;
    AM_FM->setGeometry(afterDigits, cellTop - 1, unitWidth, AM_FM->sizeHint().height());
    HZ->setGeometry(afterDigits, cellTop + kCellH - HZ->sizeHint().height() + 1, unitWidth, HZ->sizeHint().height());
    int x = afterDigits + unitWidth + 10;
    if (Tuned) {
        Tuned->setGeometry(x, cellTop, 14, kCellH);
        x += 16;
    }
    if (Scanning) Scanning->setGeometry(x, cellTop, 14, kCellH);
    if (LOut) {
        const QSize hint = LOut->sizeHint();
        LOut->setGeometry(display_->width() - 6 - hint.width(), (kDisplayHeight - hint.height()) / 2, hint.width(),
                          hint.height());
    }

    // The bottom row: seek, fine, and at the right end the fine step.
    const int row = top + kBottomTop;
    if (LScan) {
        LScan->setGeometry(X(0), row, 28, kRowHeight);
        btScanPrev->setGeometry(X(0) + 31, row, 28, kRowHeight);
        btScanNext->setGeometry(X(0) + 60, row, 28, kRowHeight);
        btStopScan->setGeometry(X(0) + 31, row, 57, kRowHeight);
    }
    LFine->setGeometry(X(110), row, 28, kRowHeight);
    btTunePrev->setGeometry(X(110) + 31, row, 22, kRowHeight);
    btTuneNext->setGeometry(X(110) + 54, row, 22, kRowHeight);
    const int spinLeft = stripRight - 16;
    btSpinStep->setGeometry(spinLeft, row, 16, kRowHeight);
    StepSlider->setGeometry(spinLeft - 4 - 90, row + 2, 90, kRowHeight - 4);
    const int stepRight = StepSlider->x() - 6;
    LStep->setGeometry(stepRight - 24, row, 24, kRowHeight);
    Step->setGeometry(stepRight - 24 - 2 - 34, row, 34, kRowHeight); // up to "1000"
}

void TStationTuner::ShowBand(radio::tBand band) {
    band_ = band;
    const bool fm = band == bFM;
    btFM->SetDown(fm);
    btAM->SetDown(!fm);
    btFM->SetSwitchOn(fm);
    btAM->SetSwitchOn(!fm);
    AM_FM->setText(fm ? "FM" : "AM");
    HZ->setText(fm ? "MHz" : "kHz");

    const std::vector<radioset::tScaleLabel> scale = radioset::TunerScale(band);
    for (size_t i = 0; i < FreqLabels.size(); ++i) {
        const bool used = i < scale.size();
        FreqLabels[i]->setText(used ? QString::fromStdString(scale[i].text) : QString());
        FreqLabels[i]->setVisible(used);
    }
    const radioset::tSliderRange r = radioset::TunerSliderRange(band);
    const QSignalBlocker quiet(Frequency);
    Frequency->setRange(r.minimum, r.maximum);
    Frequency->setSingleStep(r.step);
    Frequency->setPageStep(fm ? r.step : r.step * 10);
    UpdateVisibility();
    Place();
    UpdateSpokenText();
}

void TStationTuner::ShowFrequency(radio::tBand band, double mhz) {
    const radioset::tSliderRange r = radioset::TunerSliderRange(band);
    const double milli = std::isfinite(mhz) ? std::clamp(mhz * 1000.0, 1.0 * r.minimum, 1.0 * r.maximum) : r.minimum;
    {
        const QSignalBlocker quiet(Frequency);
        Frequency->setValue(static_cast<int>(radio::RoundEvenToInt(milli)));
    }
    Frequency->setToolTip(QString::fromStdString(radioset::TunerHint(band, mhz, DecimalSeparator())));
    const radioset::tTunerDigits digits = radioset::TunerDigits(band, mhz);
    for (int i = 0; i < 6; ++i) Dig[i]->SetDigit(static_cast<std::uint8_t>(digits.chars[i]));
    Point->setVisible(digits.point);
    mhz_ = mhz;
    UpdateSpokenText();
}

void TStationTuner::ShowOutOfRange(bool out) {
    outOfRange_ = out;
    PaintDigits();
    if (LOut) LOut->setVisible(out);
    UpdateSpokenText();
}

void TStationTuner::PaintDigits() {
    const display::TColor on = outOfRange_ ? kRed : kAqua;
    const display::TColor off = outOfRange_ ? kRedUnlit : kAquaUnlit;
    for (display::TDisplay* d : Dig) {
        d->SetOnColor(on);
        d->SetPenOnColor(on); // a dot's outline belongs to the dot here, it is no frame around it
        d->SetOffColor(off);
        d->SetPenOffColor(off);
    }
    SetColor(Point, QPalette::Window, display::ToQColor(on));
}

void TStationTuner::ShowTuned(char letter, bool lit) {
    if (!Tuned) return;
    Tuned->setText(QString(QChar(letter)));
    SetColor(Tuned, QPalette::WindowText, lit ? Qt::white : display::PaletteColor(8));
    UpdateSpokenText();
}

void TStationTuner::ShowFineButtons(bool down, bool up) {
    SetGlyphButtonEnabled(btTunePrev, down);
    SetGlyphButtonEnabled(btTuneNext, up);
}

void TStationTuner::ShowSeekButtons(bool down, bool up) {
    if (!btScanPrev) return;
    SetGlyphButtonEnabled(btScanPrev, down);
    SetGlyphButtonEnabled(btScanNext, up);
}

void TStationTuner::ShowSeeking(int direction) {
    seeking_ = direction < 0 ? -1 : direction > 0 ? 1 : 0;
    if (Scanning) Scanning->setText(seeking_ < 0 ? "<" : seeking_ > 0 ? ">" : "");
    UpdateVisibility();
    UpdateSpokenText();
}

void TStationTuner::UpdateVisibility() {
    const bool fm = band_ == bFM;
    if (LScan) {
        LScan->setVisible(fm);
        btScanPrev->setVisible(fm && seeking_ == 0);
        btScanNext->setVisible(fm && seeking_ == 0);
        btStopScan->setVisible(fm && seeking_ != 0);
    }
    if (Scanning) Scanning->setVisible(fm && seeking_ != 0);
    if (Tuned) Tuned->setVisible(fm);
    for (QWidget* w : std::initializer_list<QWidget*>{LStep, Step, btSpinStep, StepSlider}) w->setVisible(fm);
}

void TStationTuner::ShowStep(int multiple, int maxMultiple, int kHz) {
    {
        const QSignalBlocker quiet(StepSlider);
        StepSlider->setRange(1, std::max(1, maxMultiple));
        StepSlider->setValue(multiple);
    }
    Step->setText(QString::number(kHz));
    // The slider's value is a multiple of the card's step; the label says
    // what it means.
    display::SetSpokenDescription(StepSlider, QString::number(kHz) + " kHz");
}

QString TStationTuner::SpokenText() const {
    QStringList parts{display::SpokenFrequency(mhz_, band_ == bFM)};
    if (Tuned && band_ == bFM) {
        switch (Tuned->text().isEmpty() ? '?' : Tuned->text().at(0).toLatin1()) {
        case 'T': parts << "tuned"; break;
        case 'S': parts << "stereo"; break;
        case 'M': parts << "mono"; break;
        case '!': parts << "band not on this card"; break;
        default: parts << "not received"; break;
        }
    }
    if (Scanning && band_ == bFM && seeking_ != 0) parts << (seeking_ < 0 ? "seeking down" : "seeking up");
    if (LOut && outOfRange_) parts << "out of range";
    return parts.join(", ");
}

void TStationTuner::UpdateSpokenText() {
    display_->SetSpokenText(SpokenText());
}

bool TStationTuner::Sliding() const { return Frequency->isSliderDown(); }

} // namespace tunevox::stationtuner
