#include "app/window/widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace tunevox::app {
namespace {

// A raised or sunken bevel in the window's palette, as classic radio
// software drew its buttons.
void Bevel(QPainter& p, const QRect& r, const QPalette& pal, bool sunken) {
    p.fillRect(r, pal.color(QPalette::Button));
    const QColor light = pal.color(QPalette::Light);
    const QColor dark = pal.color(QPalette::Dark);
    const QColor shadow = pal.color(QPalette::Shadow);
    p.setPen(sunken ? shadow : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(sunken ? light : shadow);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (!sunken) {
        p.setPen(dark);
        p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
        p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
    }
}

} // namespace

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
    Bevel(p, rect().adjusted(0, 0, -1, -1), palette(), sunken);
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

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void TSpinButton::SetUpEnabled(bool on) {
    upEnabled_ = on;
    update();
}

void TSpinButton::SetDownEnabled(bool on) {
    downEnabled_ = on;
    update();
}

void TSpinButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int half = height() / 2;
    const QRect top(0, 0, width() - 1, half - 1);
    const QRect bottom(0, half, width() - 1, height() - half - 1);
    Bevel(p, top, palette(), pressed_ == 1);
    Bevel(p, bottom, palette(), pressed_ == 2);
    p.setRenderHint(QPainter::Antialiasing, false);
    auto arrow = [&](const QRect& r, bool up, bool enabled) {
        const QColor c = enabled && isEnabled() ? palette().color(QPalette::ButtonText)
                                                : palette().color(QPalette::Disabled, QPalette::ButtonText);
        const int cx = r.center().x() + 1;
        const int cy = r.center().y() + 1;
        for (int i = 0; i < 3; ++i) {
            const int y = up ? cy - 1 + i : cy + 1 - i;
            p.fillRect(cx - i, y, 2 * i + 1, 1, c);
        }
    };
    arrow(top, true, upEnabled_);
    arrow(bottom, false, downEnabled_);
}

void TSpinButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    pressed_ = e->position().y() < height() / 2 ? 1 : 2;
    update();
}

void TSpinButton::mouseReleaseEvent(QMouseEvent* e) {
    const int was = pressed_;
    pressed_ = 0;
    update();
    if (!rect().contains(e->position().toPoint())) return;
    if (was == 1 && upEnabled_) emit topClicked();
    if (was == 2 && downEnabled_) emit bottomClicked();
}

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

} // namespace tunevox::app
