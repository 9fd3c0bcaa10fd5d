#include "widgets/glyph_button.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "widgets/bevel.h"

namespace tunevox::widgets {

TGlyphButton::TGlyphButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
}

void TGlyphButton::SetGlyph(const QImage& glyph) {
    glyph_ = glyph;
    update();
}

void TGlyphButton::SetGlyphOnTop(bool onTop) {
    glyphOnTop_ = onTop;
    update();
}

void TGlyphButton::SetDown(bool down) {
    down_ = down;
    update();
}

QSize TGlyphButton::sizeHint() const {
    const QFontMetrics fm(font());
    const int tw = fm.horizontalAdvance(text());
    // What the paint needs: the bevel (2 px a side; a glyph may touch its
    // inner line), the glyph, a 2 px gap and the caption.
    const int gap = glyph_.isNull() || text().isEmpty() ? 0 : 2;
    if (glyphOnTop_) return {std::max(tw + 4, glyph_.width() + 2), fm.height() + glyph_.height() + 4};
    return {tw + glyph_.width() + gap + 4, std::max(fm.height(), glyph_.height()) + 4};
}

void TGlyphButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        emit rightClicked(e->globalPosition().toPoint());
        return;
    }
    QAbstractButton::mousePressEvent(e);
}

void TGlyphButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool sunken = isDown() || down_;
    DrawBevel(p, rect().adjusted(0, 0, -1, -1), palette(), sunken);
    const int shift = sunken ? 1 : 0;
    p.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                         : palette().color(QPalette::Disabled, QPalette::ButtonText));
    const QFontMetrics fm(font());
    const int tw = fm.horizontalAdvance(text());
    if (glyphOnTop_) {
        const int gh = glyph_.isNull() ? 0 : glyph_.height();
        const int total = gh + fm.height();
        const int top = (height() - total) / 2 + shift;
        if (!glyph_.isNull())
            p.drawImage((width() - glyph_.width()) / 2 + shift, top, glyph_);
        p.drawText(QRect(shift, top + gh, width(), fm.height()), Qt::AlignHCenter | Qt::AlignVCenter,
                   text());
        return;
    }
    const int gw = glyph_.isNull() ? 0 : glyph_.width() + (text().isEmpty() ? 0 : 2);
    const int left = (width() - gw - tw) / 2 + shift;
    if (!glyph_.isNull())
        p.drawImage(left, (height() - glyph_.height()) / 2 + shift, glyph_);
    p.drawText(QRect(left + gw, shift, tw + 2, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace tunevox::widgets
