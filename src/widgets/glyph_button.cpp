#include "widgets/glyph_button.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "widgets/bevel.h"

namespace tunevox::widgets {

namespace {

// Qt's own button interface knows the checked state of a checkable button
// only; ours shows its state by a lamp and is never checkable, since a
// click must not change what only the radio decides. This interface
// reports the lamp as the pressed state of a switch.
class TAccessibleGlyphButton final : public QAccessibleWidget {
public:
    explicit TAccessibleGlyphButton(TGlyphButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const auto* b = Button();
        if (b->isDown() || b->IsDown()) s.pressed = true;
        if (b->IsSwitch()) {
            s.checkable = true;
            s.checked = b->SwitchOn();
        }
        return s;
    }

    // The caption before the enclosing group's title, which Qt would
    // otherwise offer for a button without a name of its own.
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty() && !Button()->text().isEmpty())
            return Button()->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        QStringList names;
        if (Button()->isEnabled()) names << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            if (Button()->isEnabled()) Button()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    TGlyphButton* Button() const { return static_cast<TGlyphButton*>(widget()); }
};

QAccessibleInterface* GlyphButtonFactory(const QString& key, QObject* object) {
    if (key == QLatin1String(TGlyphButton::staticMetaObject.className()) && object && object->isWidgetType())
        return new TAccessibleGlyphButton(static_cast<TGlyphButton*>(object));
    return nullptr;
}

} // namespace

TGlyphButton::TGlyphButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(GlyphButtonFactory);
        return true;
    }();
    (void)factoryInstalled;
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
}

void TGlyphButton::SetSwitchOn(bool on) {
    const bool changed = !isSwitch_ || switchOn_ != on;
    isSwitch_ = true;
    switchOn_ = on;
    if (!changed) return;
    QAccessible::State what;
    what.checked = true;
    QAccessibleStateChangeEvent event(this, what);
    QAccessible::updateAccessibility(&event);
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
