#include "scripteditor/action_icons.h"

#include "display/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace tunevox::scripteditor {

namespace {

// Every drawing is made on a 16-unit square and scaled to the size asked.
constexpr double kDesign = 16.0;

void DrawBell(QPainter& p) {
    QPainterPath bell;
    bell.moveTo(3, 12);
    bell.cubicTo(4.5, 10.5, 4, 3, 8, 3);
    bell.cubicTo(12, 3, 11.5, 10.5, 13, 12);
    bell.closeSubpath();
    p.setPen(QPen(QColor(120, 84, 0), 0.9));
    p.setBrush(QColor(242, 190, 40));
    p.drawPath(bell);
    p.drawRect(QRectF(7.2, 1.5, 1.6, 1.5));
    p.setBrush(QColor(120, 84, 0));
    p.drawEllipse(QPointF(8, 13.4), 1.4, 1.4);
}

void DrawVolume(QPainter& p) {
    // Five bars rising left to right, the loud ones lit.
    for (int i = 0; i < 5; ++i) {
        const double h = 3.0 + 2.5 * i;
        const QRectF bar(1.5 + 2.8 * i, 14.5 - h, 2.0, h);
        p.setPen(Qt::NoPen);
        p.setBrush(i < 4 ? QColor(40, 160, 60) : QColor(170, 190, 170));
        p.drawRect(bar);
    }
}

void DrawJump(QPainter& p) {
    // A tuning scale with its red needle and an arrow moving it.
    p.setPen(QPen(QColor(40, 40, 40), 0.9));
    p.setBrush(QColor(250, 246, 220));
    p.drawRect(QRectF(1.5, 6.5, 13, 8));
    for (int i = 0; i < 6; ++i) {
        const double x = 3 + 2 * i;
        p.drawLine(QPointF(x, 6.5), QPointF(x, i % 2 ? 8.5 : 9.5));
    }
    p.setPen(QPen(QColor(210, 30, 30), 1.4));
    p.drawLine(QPointF(10, 7), QPointF(10, 14));
    p.setPen(QPen(QColor(30, 80, 200), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(3, 3), QPointF(12, 3));
    p.drawLine(QPointF(9.5, 1), QPointF(12, 3));
    p.drawLine(QPointF(9.5, 5), QPointF(12, 3));
}

void DrawPreset(QPainter& p) {
    // A favorite's button with its lamp lit.
    p.setPen(QPen(QColor(60, 60, 90), 0.9));
    p.setBrush(QColor(205, 210, 230));
    p.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 70, 40));
    p.drawRect(QRectF(4, 6, 8, 3.5));
}

void DrawOff(QPainter& p) {
    // The power sign.
    p.setPen(QPen(QColor(200, 30, 30), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 3, 11, 11), 120 * 16, 300 * 16);
    p.drawLine(QPointF(8, 1.5), QPointF(8, 8));
}

} // namespace

QImage ActionImage(script::tActionKind kind, int size) {
    if (size < 8) return {};
    switch (kind) {
    case script::akMuteOn: return display::AppIconImage(true, size);
    case script::akMuteOff: return display::AppIconImage(false, size);
    case script::akBeep:
    case script::akVolume:
    case script::akJumpTo:
    case script::akPreset:
    case script::akOff: break;
    default: return {};
    }
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kDesign, size / kDesign);
    switch (kind) {
    case script::akBeep: DrawBell(p); break;
    case script::akVolume: DrawVolume(p); break;
    case script::akJumpTo: DrawJump(p); break;
    case script::akPreset: DrawPreset(p); break;
    default: DrawOff(p); break;
    }
    return img;
}

QIcon ActionIcon(script::tActionKind kind) {
    QIcon icon;
    for (int size : {16, 24, 32}) icon.addPixmap(QPixmap::fromImage(ActionImage(kind, size)));
    return icon;
}

} // namespace tunevox::scripteditor
