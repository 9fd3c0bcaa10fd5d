#pragma once
// TDisplay: one character cell of a segmented readout. The readouts of the
// program are rows of these cells; each shows one code in seven segments,
// sixteen segments or a 5 x 7 matrix of dots or bulbs. Unlit segments are
// drawn too, in the "off" colours, as on a real display.

#include "display/display_color.h"
#include "display/display_layout.h"
#include "display/display_style.h"

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include <cstdint>

namespace tunevox::display {

class TDisplay : public QWidget {
    Q_OBJECT
    Q_PROPERTY(quint8 Digit READ Digit WRITE SetDigit)
    Q_PROPERTY(quint32 OnColor READ OnColor WRITE SetOnColor)
    Q_PROPERTY(quint32 OffColor READ OffColor WRITE SetOffColor)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(int SegWidth READ SegWidth WRITE SetSegWidth)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(tunevox::display::TDigitStyle DigitStyle READ DigitStyle WRITE SetDigitStyle)
    Q_PROPERTY(quint32 PenOnColor READ PenOnColor WRITE SetPenOnColor)
    Q_PROPERTY(quint32 PenOffColor READ PenOffColor WRITE SetPenOffColor)

public:
    static constexpr int kDefaultWidth = 120;
    static constexpr int kDefaultHeight = 200;
    static constexpr TColor kDefaultOnColor = MakeColor(0xFF, 0, 0);        // red
    static constexpr TColor kDefaultOffColor = MakeColor(0x80, 0x80, 0x80); // grey
    static constexpr TColor kDefaultBackColor = 0;                          // black
    static constexpr int kDefaultSegWidth = 15;
    static constexpr int kDefaultMargin = 10;

    explicit TDisplay(QWidget* owner = nullptr);

    std::uint8_t Digit() const { return digit_; }
    TColor OnColor() const { return onColor_; }
    TColor OffColor() const { return offColor_; }
    TColor BackColor() const { return backColor_; }
    int SegWidth() const { return segWidth_; }
    int Margin() const { return margin_; }
    TDigitStyle DigitStyle() const { return style_; }
    TColor PenOnColor() const { return penOnColor_; }
    TColor PenOffColor() const { return penOffColor_; }

    void SetDigit(std::uint8_t code);
    void SetOnColor(TColor c);
    void SetOffColor(TColor c);
    void SetBackColor(TColor c);
    void SetSegWidth(int pixels);
    void SetMargin(int pixels);
    void SetDigitStyle(TDigitStyle style);
    void SetPenOnColor(TColor c);
    void SetPenOffColor(TColor c);

    // The current geometry. The layout is cached; the three counters tell a
    // caller how often it was computed, how often the cell asked Qt for a
    // repaint and how often it really painted, so that reuse can be seen.
    const tLayout& Layout() const { return layout_; }
    int LayoutCount() const { return layoutCount_; }
    int RepaintRequests() const { return repaintRequests_; }
    int PaintCount() const { return paintCount_; }

    // Runs the paint of the cell into `target`, which stands for the cell's
    // rectangle on the parent: everything but the outer one-pixel frame is
    // overwritten, exactly as a paint event does on screen.
    void RenderTo(QImage& target);
    // The same onto any painter, whose origin is taken as the cell's top
    // left corner; a row of cells can so be drawn into one surface.
    void RenderTo(QPainter& onto);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintCell(QPainter& onto);
    void DrawShapes();
    void RequestRepaint();
    void Relayout();
    void UpdateOpaqueArea();
    void RefreshPaintTools();

    std::uint8_t digit_ = 0;
    TColor onColor_ = kDefaultOnColor;
    TColor offColor_ = kDefaultOffColor;
    TColor backColor_ = kDefaultBackColor;
    int segWidth_ = kDefaultSegWidth;
    int margin_ = kDefaultMargin;
    TDigitStyle style_ = ds7Seg;
    TColor penOnColor_ = 0;
    TColor penOffColor_ = 0;

    tLayout layout_;
    int layoutCount_ = 0;
    int repaintRequests_ = 0;
    int paintCount_ = 0;

    // Kept from paint to paint so that a repaint allocates nothing; it is
    // made anew only when the size changes. Its painter stays open with it:
    // opening a painter takes heap blocks for its state every time.
    QImage bitmap_;
    QPainter bitmapPainter_;  // after bitmap_, so it is closed first
    // Pens and brushes are built when a colour changes, not per shape.
    QPen penOn_, penOff_;
    QBrush brushOn_, brushOff_;
};

}  // namespace tunevox::display
