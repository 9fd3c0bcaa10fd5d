#include "periphery/light_bulb.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace tunevox::periphery {

QImage LightBulbImage(int width, int height) {
    if (width < 1 || height < 1) return {};
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Drawn on a 48 x 64 grid, scaled to fit and centred.
    const double scale = std::min(width / 48.0, height / 64.0);
    p.translate((width - 48.0 * scale) / 2.0, (height - 64.0 * scale) / 2.0);
    p.scale(scale, scale);

    // The glow around the glass.
    QRadialGradient glow(QPointF(24, 22), 24);
    glow.setColorAt(0.0, QColor(255, 236, 120, 150));
    glow.setColorAt(0.6, QColor(255, 236, 120, 60));
    glow.setColorAt(1.0, QColor(255, 236, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(24, 22), 24, 24);

    // The glass: a sphere narrowing into the neck.
    QPainterPath glass;
    glass.addEllipse(QPointF(24, 21), 15, 15);
    QPainterPath neck;
    neck.moveTo(10.5, 27);
    neck.lineTo(37.5, 27);
    neck.cubicTo(33, 33, 31, 37, 31, 42);
    neck.lineTo(17, 42);
    neck.cubicTo(17, 37, 15, 33, 10.5, 27);
    neck.closeSubpath();
    glass = glass.united(neck);
    QRadialGradient fill(QPointF(24, 20), 18, QPointF(19, 14));
    fill.setColorAt(0.0, QColor(255, 255, 240));
    fill.setColorAt(0.45, QColor(255, 240, 120));
    fill.setColorAt(1.0, QColor(245, 190, 30));
    p.setBrush(fill);
    p.setPen(QPen(QColor(160, 110, 0), 1.2));
    p.drawPath(glass);

    // The filament on its two wires.
    QPainterPath filament;
    filament.moveTo(20, 41);
    filament.lineTo(20.5, 27);
    filament.lineTo(22, 23);
    filament.lineTo(23.5, 27);
    filament.lineTo(25, 23);
    filament.lineTo(26.5, 27);
    filament.lineTo(27.5, 23.5);
    filament.lineTo(28, 41);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 80, 0), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(filament);

    // A reflection on the glass.
    p.setPen(QPen(QColor(255, 255, 255, 200), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(13, 10, 16, 18), 100 * 16, 70 * 16);

    // The threaded base and its contact.
    QLinearGradient metal(QPointF(16, 0), QPointF(32, 0));
    metal.setColorAt(0.0, QColor(105, 105, 110));
    metal.setColorAt(0.45, QColor(235, 235, 240));
    metal.setColorAt(1.0, QColor(95, 95, 100));
    p.setPen(QPen(QColor(70, 70, 75), 0.8));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(16.5, 42, 15, 12), 2, 2);
    p.setPen(QPen(QColor(80, 80, 85), 1.0));
    for (double y : {45.5, 48.5, 51.5}) p.drawLine(QPointF(16.8, y + 1), QPointF(31.2, y - 1));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 65));
    p.drawRoundedRect(QRectF(20.5, 54, 7, 4), 1.5, 1.5);
    return image;
}

} // namespace tunevox::periphery
