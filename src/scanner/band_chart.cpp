#include "scanner/band_chart.h"

#include "display/spoken_picture.h"
#include "radio/frequency.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tunevox::scanner {

namespace {

// About 7 pt at the design height on a 96 dpi desktop. Given in pixels, as
// everything else here, so a desktop's larger text setting cannot push the
// labels out of a picture laid out to the unit.
constexpr double kFontPixels = 9.0;

// The design rows the picture is built on.
constexpr int kTextTop = 3, kSampleRow = 9, kTopLine = 18, kBaseLine = 70, kTickEnd = 75, kLabelTop = 76;
constexpr int kActiveTop = 20, kActiveBottom = TSpectrum::kDesignHeight - 20;
constexpr int kPlotRight = TSpectrum::kPlotLeft + TSpectrum::kPlotWidth;

const QString kBandName = QStringLiteral("FM");
const QString kLongestProgress = QStringLiteral("Scanning 100%");

// Below the design size a unit is thinner than a pixel; a line that
// vanished would take a found station with it.
QRectF AtLeastOneDevicePixel(QRectF r, double dpr) {
    const double px = 1.0 / dpr;
    if (r.width() < px) r.setWidth(px);
    if (r.height() < px) r.setHeight(px);
    return r;
}

// The ratio of the surface actually painted: the window's backing store,
// or the image the widget is rendered into. The painter's own device() is
// the widget itself, which knows only its screen's.
double DevicePixelRatio(QPainter& p) {
    const QPaintEngine* engine = p.paintEngine();
    const QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    return device ? std::max(1.0, device->devicePixelRatioF()) : 1.0;
}

QAccessibleInterface* SpectrumFactory(const QString& key, QObject* object) {
    if (key == QLatin1String(TSpectrum::staticMetaObject.className()) && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
    return nullptr;
}

} // namespace

TSpectrum::TSpectrum(QWidget* parent) : QWidget(parent), columns_(kDesignWidth + 1, eBar::None) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(SpectrumFactory);
        return true;
    }();
    (void)factoryInstalled;
    setObjectName("Spectrum");
    setAccessibleName("Spectrum");
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted black first
    setMouseTracking(true);

    LFreq = new QLabel(this);
    LFreq->setObjectName("LFreq");
    LFreq->setAlignment(Qt::AlignRight | Qt::AlignTop);
    LFreq->setAutoFillBackground(false);
    LFreq->setAttribute(Qt::WA_TransparentForMouseEvents); // the spectrum keeps tracking the mouse
    QPalette pal = LFreq->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    LFreq->setPalette(pal);
    LFreq->hide();
    resize(sizeHint());
    PlaceLabel();
    UpdateSpokenSummary();
}

void TSpectrum::SetBand(const tSpectrumBand& band) {
    if (!(band.high > band.low) || !std::isfinite(band.low) || !std::isfinite(band.high)) return;
    band_ = band;
    layout_.valid = false;
    RebuildColumns();
    update();
    UpdateSpokenSummary();
}

void TSpectrum::Clear() {
    points_.clear();
    std::fill(columns_.begin(), columns_.end(), eBar::None);
    cursorMhz_.reset();
    percent_ = 0;
    update();
    UpdateSpokenSummary();
}

void TSpectrum::AddPoint(double mhz, bool received, bool stereo) {
    if (!received || !std::isfinite(mhz)) return;
    points_.push_back({mhz, stereo});
    SetColumn(BarX(mhz), stereo ? eBar::Stereo : eBar::Mono);
    UpdateSpokenSummary();
}

void TSpectrum::ShowSweep(double mhz, double doneFraction) {
    if (!std::isfinite(mhz)) return;
    // Floored, so 100% is only shown once the last point is in; the small
    // addition keeps 0.29 (28.999...) from showing 28%.
    const double percent = std::isfinite(doneFraction) ? std::floor(doneFraction * 100.0 + 1e-9) : 0.0;
    const int pct = static_cast<int>(std::clamp(percent, 0.0, 100.0));
    const std::optional<int> old = CursorColumn();
    cursorMhz_ = mhz;
    const int column = *CursorColumn();
    if (old != column) {
        if (old) update(UpdateRect(BarRect(*old, 1.0)));
        update(UpdateRect(BarRect(column, 1.0)));
    }
    const bool wasShown = old.has_value();
    if (!wasShown || pct != percent_) {
        percent_ = pct;
        update(Layout().progress);
    }
    UpdateSpokenSummary();
}

void TSpectrum::EndSweep() {
    const std::optional<int> column = CursorColumn();
    if (!column) return;
    update(UpdateRect(BarRect(*column, 1.0)));
    update(Layout().progress);
    cursorMhz_.reset();
    UpdateSpokenSummary();
}

QString TSpectrum::SpokenSummary() const {
    // The unit said once: "87.5 to 108 MHz".
    QString text = kBandName + " " + display::SpokenFrequency(band_.low, true).chopped(4) + " to " +
                   display::SpokenFrequency(band_.high, true);
    if (cursorMhz_) text += QString(", scanning %1%").arg(percent_);
    if (points_.empty()) return text + (cursorMhz_ ? QString() : QString(", nothing received"));
    const auto stereo = std::count_if(points_.begin(), points_.end(), [](const tPoint& p) { return p.stereo; });
    text += QString(", received at %1 frequenc%2").arg(points_.size()).arg(points_.size() == 1 ? "y" : "ies");
    if (band_.stereoDetect) text += QString(", %1 in stereo").arg(stereo);
    return text;
}

void TSpectrum::UpdateSpokenSummary() { display::SetSpokenDescription(this, SpokenSummary()); }

std::optional<int> TSpectrum::CursorColumn() const {
    if (!cursorMhz_) return std::nullopt;
    return std::clamp(BarX(*cursorMhz_), kPlotLeft, kPlotRight);
}

int TSpectrum::BarX(double mhz) const {
    const double x = (mhz - band_.low) * kPlotWidth / (band_.high - band_.low);
    if (!std::isfinite(x)) return kPlotLeft;
    // Far outside the band is still far outside, without overflowing an int.
    return kPlotLeft + static_cast<int>(radio::RoundEven(std::clamp(x, -1e6, 1e6)));
}

std::vector<TSpectrum::tTick> TSpectrum::ScaleTicks() const {
    std::vector<tTick> ticks;
    const long long first = radio::RoundEvenToInt(band_.low);
    const long long n = radio::RoundEvenToInt(band_.high) - first + 1;
    for (long long k = 0; k < n; ++k) {
        const int x = kPlotLeft + static_cast<int>(radio::RoundEven(k * double(kPlotWidth) / (band_.high - band_.low)));
        ticks.push_back({x, QString::number(first + k)});
    }
    return ticks;
}

std::optional<QString> TSpectrum::FrequencyAt(QPointF widgetPos) const {
    if (width() <= 0 || height() <= 0) return std::nullopt;
    const double x = widgetPos.x() * kDesignWidth / width();
    const double y = widgetPos.y() * kDesignHeight / height();
    if (!(x >= kPlotLeft && x <= kPlotRight && y >= kActiveTop && y <= kActiveBottom)) return std::nullopt;
    const double f = band_.low + (x - kPlotLeft) * (band_.high - band_.low) / kPlotWidth;
    const double snapped = radio::SnapFrequency(band_.high, band_.low, band_.step, f);
    return QString::fromStdString(radio::FrequencyText(snapped));
}

QString TSpectrum::ProgressText() const {
    return cursorMhz_ ? QStringLiteral("Scanning %1%").arg(percent_) : QString();
}

double TSpectrum::X(double c) const { return radio::RoundEven(c * width() / kDesignWidth); }
double TSpectrum::Y(double c) const { return radio::RoundEven(c * height() / kDesignHeight); }

QRectF TSpectrum::Column(int c, double top, double bottom, double dpr) const {
    return AtLeastOneDevicePixel(QRectF(X(c), top, X(c + 1) - X(c), bottom - top), dpr);
}

QRectF TSpectrum::Row(int r, double left, double right, double dpr) const {
    return AtLeastOneDevicePixel(QRectF(left, Y(r), right - left, Y(r + 1) - Y(r)), dpr);
}

// A bar fills the space between the two white lines: it reaches the line a
// station's bar is measured against without painting over it.
QRectF TSpectrum::BarRect(int column, double dpr) const {
    return Column(column, Y(kTopLine + 1), Y(kBaseLine), dpr);
}

void TSpectrum::SetColumn(int column, eBar bar) {
    if (column < kPlotLeft || column > kPlotRight || columns_[column] == bar) return;
    columns_[column] = bar;
    // Only the bar's own strip: a sweep adds hundreds of points, and the
    // scale's text need not be drawn again for each.
    update(UpdateRect(BarRect(column, 1.0)));
}

void TSpectrum::RebuildColumns() {
    std::fill(columns_.begin(), columns_.end(), eBar::None);
    for (const tPoint& p : points_) {
        const int c = BarX(p.mhz);
        if (c >= kPlotLeft && c <= kPlotRight) columns_[c] = p.stereo ? eBar::Stereo : eBar::Mono;
    }
}

const TSpectrum::tLayout& TSpectrum::Layout() const {
    // A hidden widget hears of its resize only when shown; the size is checked here.
    if (layout_.valid && layout_.size == size()) return layout_;
    tLayout l;
    l.valid = true;
    l.size = size();
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(radio::RoundEven(kFontPixels * height() / kDesignHeight))));
    l.regular = font;
    font.setBold(true);
    l.bold = font;
    const QFontMetrics bold(l.bold), regular(l.regular);
    const double unit = double(width()) / kDesignWidth;
    const int textTop = static_cast<int>(Y(kTextTop));

    l.name = {QRect(static_cast<int>(X(kPlotLeft)), textTop, bold.horizontalAdvance(kBandName), bold.height()),
              kBandName};

    // The legend is laid out left to right from the band name's width; its
    // gaps are design units, its texts as wide as the font makes them.
    double at = bold.horizontalAdvance(kBandName) + 30 * unit;
    auto entry = [&](const QString& text, const QColor& colour) {
        const int left = static_cast<int>(radio::RoundEven(at));
        l.legend.push_back({QRect(left, textTop, bold.horizontalAdvance(text), bold.height()), text});
        at += bold.horizontalAdvance(text) + 2 * unit;
        const double sampleLeft = radio::RoundEven(at), sampleRight = radio::RoundEven(at + 20 * unit);
        const double rowHeight = Y(kSampleRow + 1) - Y(kSampleRow);
        l.samples.push_back({QRectF(sampleLeft, Y(kSampleRow), sampleRight - sampleLeft, rowHeight), colour});
        at += 20 * unit;
    };
    if (band_.stereoDetect) {
        entry(QStringLiteral("Stereo"), kStereoColor);
        at += 20 * unit;
        entry(QStringLiteral("Mono"), kMonoColor);
    } else {
        entry(QStringLiteral("Tuned"), kStereoColor);
    }
    l.progress = QRect(static_cast<int>(radio::RoundEven(at + 20 * unit)), textTop,
                       regular.horizontalAdvance(kLongestProgress) + 2, regular.height());

    for (const tTick& tick : ScaleTicks()) {
        const double left = X(tick.x - 1), right = X(tick.x + 2);
        l.ticks.push_back(QRectF(left, Y(kBaseLine), right - left, Y(kTickEnd) - Y(kBaseLine)));
        const int w = regular.horizontalAdvance(tick.label);
        const int centre = static_cast<int>(std::floor((left + right) / 2));
        l.labels.push_back({QRect(centre - w / 2, static_cast<int>(Y(kLabelTop)), w, regular.height()), tick.label});
    }
    layout_ = std::move(l);
    return layout_;
}

void TSpectrum::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const double dpr = DevicePixelRatio(p);
    const QRect clip = event->rect();
    const tLayout& l = Layout();
    p.fillRect(clip, Qt::black);
    auto fill = [&](const QRectF& r, const QColor& colour) {
        const QRectF crisp = AtLeastOneDevicePixel(r, dpr);
        if (crisp.intersects(clip)) p.fillRect(crisp, colour);
    };
    // A glyph may reach a little beyond its advance.
    auto text = [&](const tText& t, const QColor& colour) {
        if (!t.rect.adjusted(-2, -2, 2, 2).intersects(clip)) return;
        p.setPen(colour);
        p.drawText(t.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, t.text);
    };

    fill(Row(kTopLine, X(kPlotLeft), X(kPlotRight + 1), dpr), Qt::white);
    fill(Row(kBaseLine, X(kPlotLeft), X(kPlotRight + 1), dpr), Qt::white);
    for (const QRectF& tick : l.ticks) fill(tick, Qt::white);

    for (int c = kPlotLeft; c <= kPlotRight; ++c) {
        if (columns_[c] == eBar::None) continue;
        fill(BarRect(c, dpr), columns_[c] == eBar::Stereo ? kStereoColor : kMonoColor);
    }
    // Over the bars: the point under the cursor is being measured again.
    if (const auto cursor = CursorColumn()) fill(BarRect(*cursor, dpr), kCursorColor);

    for (const auto& [rect, colour] : l.samples) fill(rect, colour);
    p.setFont(l.bold);
    text(l.name, Qt::white);
    for (const tText& t : l.legend) text(t, Qt::white);
    p.setFont(l.regular);
    for (const tText& t : l.labels) text(t, Qt::white);
    if (cursorMhz_) text({l.progress, ProgressText()}, kCursorColor);
}

void TSpectrum::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceLabel();
}

void TSpectrum::PlaceLabel() {
    labelPlacedFor_ = size();
    const QFont& font = Layout().regular;
    LFreq->setFont(font);
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(QStringLiteral("000.000")) + 2;
    LFreq->setGeometry(static_cast<int>(X(kPlotRight + 1)) - w, static_cast<int>(Y(kTextTop)), w, fm.height());
}

void TSpectrum::ShowFrequencyAt(QPointF pos) {
    if (const auto text = FrequencyAt(pos)) {
        if (labelPlacedFor_ != size()) PlaceLabel(); // resized while hidden
        LFreq->setText(*text);
        LFreq->show();
    } else {
        LFreq->hide();
    }
}

void TSpectrum::mouseMoveEvent(QMouseEvent* event) { ShowFrequencyAt(event->position()); }

void TSpectrum::mousePressEvent(QMouseEvent* event) {
    ShowFrequencyAt(event->position());
    if (const auto text = FrequencyAt(event->position())) emit frequencyPressed(*text);
}

void TSpectrum::leaveEvent(QEvent*) { LFreq->hide(); }

} // namespace tunevox::scanner
