#include "widgets/group_frame.h"

#include <QPainter>

namespace tunevox::widgets {

TGroupFrame::TGroupFrame(const QString& title, QWidget* parent) : QFrame(parent), title_(title) {
    setAccessibleName(title);
}

void TGroupFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, kTitleHeight / 2, -1, -1);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(r);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(r.adjusted(1, 1, 1, 1));
    QFont f = font();
    f.setPixelSize(10);
    p.setFont(f);
    const QFontMetrics fm(f);
    const QRect tr(6, 0, fm.horizontalAdvance(title_) + 4, kTitleHeight);
    p.fillRect(tr, palette().color(QPalette::Window));
    p.setPen(isEnabled() ? palette().color(QPalette::WindowText)
                         : palette().color(QPalette::Disabled, QPalette::WindowText));
    p.drawText(tr, Qt::AlignCenter, title_);
}

} // namespace tunevox::widgets
