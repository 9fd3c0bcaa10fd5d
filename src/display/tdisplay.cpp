#include "display/tdisplay.h"

#include "display/display_glyphs.h"

#include <QPainter>
#include <QPoint>
#include <QRegion>

namespace tunevox::display {

TDisplay::TDisplay(QWidget* owner) : QWidget(owner) {
    resize(kDefaultWidth, kDefaultHeight);
    UpdateOpaqueArea();
    RefreshPaintTools();
    Relayout();
}

void TDisplay::SetDigit(std::uint8_t code) {
    if (code == digit_) return;
    digit_ = code;
    RequestRepaint();
}

void TDisplay::SetOnColor(TColor c) {
    if (c == onColor_) return;
    onColor_ = c;
    RefreshPaintTools();
    RequestRepaint();
}

void TDisplay::SetOffColor(TColor c) {
    if (c == offColor_) return;
    offColor_ = c;
    RefreshPaintTools();
    RequestRepaint();
}

void TDisplay::SetBackColor(TColor c) {
    if (c == backColor_) return;
    backColor_ = c;
    RequestRepaint();
}

void TDisplay::SetPenOnColor(TColor c) {
    if (c == penOnColor_) return;
    penOnColor_ = c;
    RefreshPaintTools();
    RequestRepaint();
}

void TDisplay::SetPenOffColor(TColor c) {
    if (c == penOffColor_) return;
    penOffColor_ = c;
    RefreshPaintTools();
    RequestRepaint();
}

void TDisplay::SetSegWidth(int pixels) {
    if (pixels == segWidth_) return;
    segWidth_ = pixels;
    Relayout();
    RequestRepaint();
}

void TDisplay::SetMargin(int pixels) {
    if (pixels == margin_) return;
    margin_ = pixels;
    Relayout();
    RequestRepaint();
}

void TDisplay::SetDigitStyle(TDigitStyle style) {
    // A value outside the four looks (a stray integer from a window
    // definition or the configuration) is refused; the cell keeps its look
    // rather than drawing nothing.
    if (style == style_ || ShapeCount(style) == 0) return;
    style_ = style;
    Relayout();
    RequestRepaint();
}

void TDisplay::RequestRepaint() {
    ++repaintRequests_;
    update();
}

void TDisplay::Relayout() {
    layout_ = ComputeLayout(style_, width(), height(), margin_, segWidth_);
    ++layoutCount_;
}

void TDisplay::RefreshPaintTools() {
    // A one-pixel pen; with no transform the raster engine draws it on the
    // outline's own pixels, as a plain polygon outline should look.
    penOn_ = QPen(ToQColor(penOnColor_), 1);
    penOff_ = QPen(ToQColor(penOffColor_), 1);
    brushOn_ = QBrush(ToQColor(onColor_));
    brushOff_ = QBrush(ToQColor(offColor_));
}

void TDisplay::UpdateOpaqueArea() {
    // The cell covers everything but its outer frame, which is left to the
    // parent. Opaque alone would make Qt skip the parent's painting under
    // the frame as well and leave it undefined; the mask narrows the opaque
    // part to the interior the cell really paints.
    const int w = width();
    const int h = height();
    if (w > 2 && h > 2) {
        setAttribute(Qt::WA_OpaquePaintEvent, true);
        setMask(QRegion(1, 1, w - 2, h - 2));
    } else {
        clearMask();
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
}

void TDisplay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateOpaqueArea();
}

void TDisplay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintCell(painter);
}

void TDisplay::RenderTo(QImage& target) {
    if (target.isNull()) return;
    QPainter painter(&target);
    PaintCell(painter);
}

void TDisplay::RenderTo(QPainter& onto) {
    if (!onto.isActive()) return;
    const QPainter::CompositionMode mode = onto.compositionMode();
    PaintCell(onto);
    onto.setCompositionMode(mode);
}

void TDisplay::PaintCell(QPainter& onto) {
    const int w = width();
    const int h = height();
    if (w != layout_.width || h != layout_.height) Relayout();
    if (w <= 2 || h <= 2) return;  // nothing inside the frame

    const QSize inner(w - 2, h - 2);
    if (bitmap_.size() != inner) {
        if (bitmapPainter_.isActive()) bitmapPainter_.end();
        bitmap_ = QImage(inner, QImage::Format_RGB32);
        // A cell too large for memory gets no bitmap; it is then left
        // unpainted instead of drawing through a null image.
        if (bitmap_.isNull()) return;
        bitmapPainter_.begin(&bitmap_);
    }
    if (!bitmapPainter_.isActive()) return;
    ++paintCount_;
    bitmap_.fill(ToArgb32(backColor_));
    DrawShapes();

    // One plain copy of the finished cell, so a changing digit never shows
    // half drawn.
    onto.setCompositionMode(QPainter::CompositionMode_Source);
    onto.drawImage(1, 1, bitmap_);
}

void TDisplay::DrawShapes() {
    // The layout is in the cell's coordinates while the bitmap starts one
    // pixel in; shapes are drawn at their layout coordinates and what lies
    // beyond the bitmap is clipped.
    QPainter& p = bitmapPainter_;
    const std::uint64_t lit = LitMask(style_, digit_);

    for (int i = 0; i < layout_.count; ++i) {
        const tShape& s = layout_.shapes[i];
        const bool on = (lit >> i) & 1u;
        switch (s.kind) {
        case tShapeKind::Polygon: {
            QPoint pts[6];
            for (int k = 0; k < s.count; ++k) pts[k] = QPoint(s.corners[k].x, s.corners[k].y);
            p.setPen(on ? penOn_ : penOff_);
            p.setBrush(on ? brushOn_ : brushOff_);
            p.drawPolygon(pts, s.count);
            break;
        }
        case tShapeKind::Square:
        case tShapeKind::Ellipse: {
            if (s.side <= 0) break;
            const QRect box(s.corners[0].x, s.corners[0].y, s.side, s.side);
            if (s.kind == tShapeKind::Square || s.side <= 2) {
                // Outline on the box's own border pixels, fill inside it.
                p.fillRect(box, (on ? penOn_ : penOff_).color());
                if (s.side > 2) p.fillRect(box.adjusted(1, 1, -1, -1), (on ? brushOn_ : brushOff_).color());
            } else {
                // A stroked ellipse covers its rectangle plus one pixel, so
                // the rectangle is one less to stay inside the box.
                p.setPen(on ? penOn_ : penOff_);
                p.setBrush(on ? brushOn_ : brushOff_);
                p.drawEllipse(QRect(box.x(), box.y(), s.side - 1, s.side - 1));
            }
            break;
        }
        }
    }
}

}  // namespace tunevox::display
