#include "widgets/spin_button.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/bevel.h"

namespace tunevox::widgets {

namespace {

// A half as accessibility sees it: a real button, so that a screen reader
// gets Qt's push button with its name, state and press action. The spin
// button paints both halves and takes the mouse itself; the half only
// stands in its place.
class THalf final : public QAbstractButton {
public:
    explicit THalf(QWidget* parent) : QAbstractButton(parent) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {}
};

} // namespace

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    top_ = new THalf(this);
    top_->setObjectName("TopHalf");
    bottom_ = new THalf(this);
    bottom_->setObjectName("BottomHalf");
    connect(top_, &QAbstractButton::clicked, this, [this] {
        if (upEnabled_) emit topClicked();
    });
    connect(bottom_, &QAbstractButton::clicked, this, [this] {
        if (downEnabled_) emit bottomClicked();
    });
    SetHalfNames("Up", "Down");
}

void TSpinButton::SetUpEnabled(bool on) {
    upEnabled_ = on;
    top_->setEnabled(on);
    update();
}

void TSpinButton::SetDownEnabled(bool on) {
    downEnabled_ = on;
    bottom_->setEnabled(on);
    update();
}

void TSpinButton::SetHalfNames(const QString& top, const QString& bottom) {
    top_->setAccessibleName(top);
    bottom_->setAccessibleName(bottom);
}

void TSpinButton::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    top_->setGeometry(0, 0, width(), half);
    bottom_->setGeometry(0, half, width(), height() - half);
}

void TSpinButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int half = height() / 2;
    const QRect top(0, 0, width() - 1, half - 1);
    const QRect bottom(0, half, width() - 1, height() - half - 1);
    DrawBevel(p, top, palette(), pressed_ == 1);
    DrawBevel(p, bottom, palette(), pressed_ == 2);
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

} // namespace tunevox::widgets
