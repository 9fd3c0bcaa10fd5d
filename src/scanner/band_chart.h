#pragma once
// TSpectrum: what the band scanner found, drawn as a spectrum. One bar per
// point of a sweep where something was received (magenta in stereo, yellow
// otherwise) over a scale of whole MHz; while a sweep runs, a grey cursor
// at the frequency being measured and how much of the band is done, so a
// slow card that finds nothing for minutes still shows it is working.
//
// Everything is laid out on a 515 x 90 grid of design units and scaled to
// the widget's size: a design coordinate c becomes Round(c * width / 515)
// (horizontal) or Round(c * height / 90) (vertical) device-independent
// pixels, ties to even. Lines are one design unit wide, but never thinner
// than one device pixel, so the picture stays crisp at any scale and on
// high-density screens.
//
// A screen reader finds it as a chart named "Spectrum", described in words
// as the picture changes: the band, how far a sweep is, and how many
// frequencies were received, how many of them in stereo.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;

namespace tunevox::scanner {

struct tSpectrumBand {
    double low = 87.0, high = 108.0, step = 0.05;
    bool stereoDetect = true;
};

class TSpectrum : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 515, kDesignHeight = 90;
    // The plot runs from design x 10 to 10 + kPlotWidth.
    static constexpr int kPlotLeft = 10, kPlotWidth = kDesignWidth - 2 * kPlotLeft;

    static inline const QColor kStereoColor{0xFF, 0x00, 0xFF};
    static inline const QColor kMonoColor{0xFF, 0xFF, 0x00};
    static inline const QColor kCursorColor{0x80, 0x80, 0x80};

    explicit TSpectrum(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {kDesignWidth, kDesignHeight}; }

    // A band whose high edge is not above its low edge is refused.
    void SetBand(const tSpectrumBand& band);
    const tSpectrumBand& Band() const { return band_; }
    void Clear();                                          // no points, no sweep shown
    void AddPoint(double mhz, bool received, bool stereo); // a measured point
    void ShowSweep(double mhz, double doneFraction);       // the cursor and the progress
    void EndSweep();

    // The design-unit arithmetic, public so tests and the window use the
    // same numbers.
    int BarX(double mhz) const; // in design units
    struct tTick {
        int x; // design units
        QString label;
    };
    std::vector<tTick> ScaleTicks() const;
    // "000.000" inside the active area, nullopt outside.
    std::optional<QString> FrequencyAt(QPointF widgetPos) const;
    // "Scanning 50%" while a sweep is shown, empty otherwise.
    QString ProgressText() const;
    // What the picture shows, in words ("FM 87.5 to 108 MHz, scanning 40%,
    // received at 12 frequencies, 9 in stereo").
    QString SpokenSummary() const;

signals:
    void frequencyPressed(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class eBar : unsigned char { None, Mono, Stereo };
    struct tPoint {
        double mhz;
        bool stereo;
    };
    struct tText {
        QRect rect;
        QString text;
    };
    // Where everything goes at the current size, made again after a resize
    // or a band change rather than on every paint.
    struct tLayout {
        bool valid = false;
        QSize size;
        QFont bold, regular;
        tText name;
        std::vector<tText> legend;
        std::vector<std::pair<QRectF, QColor>> samples;
        std::vector<tText> labels;
        std::vector<QRectF> ticks;
        QRect progress; // room for the longest progress text
    };

    double X(double c) const;
    double Y(double c) const;
    // Design column or row c as a strip one unit (at least one device pixel) wide.
    QRectF Column(int c, double top, double bottom, double dpr) const;
    QRectF Row(int r, double left, double right, double dpr) const;
    QRectF BarRect(int column, double dpr) const;
    QRect UpdateRect(const QRectF& r) const { return r.toAlignedRect().adjusted(-1, -1, 1, 1); }
    std::optional<int> CursorColumn() const;
    void SetColumn(int column, eBar bar);
    void RebuildColumns();
    const tLayout& Layout() const;
    void PlaceLabel();
    void ShowFrequencyAt(QPointF pos);
    void UpdateSpokenSummary();

    tSpectrumBand band_;
    std::vector<tPoint> points_;       // every received point, in the order measured
    std::vector<eBar> columns_;        // design column -> what its bar shows (the last point there)
    std::optional<double> cursorMhz_;  // while a sweep is shown
    int percent_ = 0;
    QLabel* LFreq = nullptr;
    QSize labelPlacedFor_; // the widget size LFreq was placed for
    mutable tLayout layout_;
};

} // namespace tunevox::scanner
