#include "organizer/tree_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace tunevox::organizer {

namespace {

// Drawn on a 16-unit grid and scaled.
const QColor kFolderBack(0xC8, 0x96, 0x28), kFolderFront(0xF0, 0xC4, 0x4C), kFolderEdge(0x80, 0x5A, 0x10);
const QColor kRadioBody(0x3A, 0x5F, 0x9E), kRadioEdge(0x1E, 0x32, 0x58), kDial(0xE8, 0xF0, 0xFF);

void ClosedFolder(QPainter& p, double pen) {
    p.setPen(QPen(kFolderEdge, pen));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setBrush(kFolderBack);
    p.drawPath(back);
    p.setBrush(kFolderFront);
    p.drawRect(QRectF(1.5, 6.5, 13, 7));
}

void OpenFolder(QPainter& p, double pen) {
    p.setPen(QPen(kFolderEdge, pen));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(13.5, 5);
    back.lineTo(13.5, 7);
    back.lineTo(1.5, 7);
    back.closeSubpath();
    p.setBrush(kFolderBack);
    p.drawPath(back);
    // The front leans back: the folder lies open.
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(3.5, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(13.5, 13.5);
    front.closeSubpath();
    p.setBrush(kFolderFront);
    p.drawPath(front);
}

void Station(QPainter& p, double pen) {
    p.setPen(QPen(kRadioEdge, pen));
    p.drawLine(QPointF(4, 6.5), QPointF(12, 1.5)); // the aerial
    p.setBrush(kRadioBody);
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 8), 1.5, 1.5);
    p.setBrush(kDial);
    p.drawRect(QRectF(3.5, 8.5, 5, 2.5)); // the dial
    p.setBrush(kDial);
    p.drawEllipse(QPointF(11.5, 10.5), 1.6, 1.6); // the knob
}

} // namespace

QImage TreePictureImage(eTreePicture picture, int size) {
    if (size < 1) return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = size / 16.0;
    p.scale(scale, scale);
    // Outlines about one device pixel wide at every size.
    const double pen = std::max(0.6, 1.0 / scale);
    switch (picture) {
    case eTreePicture::ClosedFolder: ClosedFolder(p, pen); break;
    case eTreePicture::OpenFolder: OpenFolder(p, pen); break;
    case eTreePicture::Station: Station(p, pen); break;
    }
    return image;
}

QIcon TreePicture(eTreePicture picture) {
    QIcon icon;
    for (int size : {16, 20, 24, 32, 48}) icon.addPixmap(QPixmap::fromImage(TreePictureImage(picture, size)));
    return icon;
}

} // namespace tunevox::organizer
