#include "setup/color_grid.h"

#include "display/palette.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tunevox::setup {

namespace {
constexpr int kColumns = 4;
// The swatches sit inside a one-pixel sunken frame with a one-pixel gap.
constexpr int kFrame = 2;

QAccessibleInterface* ColorGridFactory(const QString& key, QObject* object) {
    if (key == QLatin1String(TColorGrid::staticMetaObject.className()) && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::ColorChooser);
    return nullptr;
}

} // namespace

TColorGrid::TColorGrid(bool withBackground, QWidget* parent)
    : QWidget(parent), withBackground_(withBackground) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(ColorGridFactory);
        return true;
    }();
    (void)factoryInstalled;
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(withBackground ? "Left click: lit segments (FG)\nRight click: unlit segments (BG)"
                              : "Click a colour");
    UpdateSpokenName();
}

void TColorGrid::SetForegroundIndex(int index) {
    if (index < 0 || index >= display::kPaletteSize || index == foreground_) return;
    foreground_ = index;
    update();
    UpdateSpokenName();
    emit Changed();
}

void TColorGrid::SetBackgroundIndex(int index) {
    if (!withBackground_) return;
    if (index < 0 || index >= display::kPaletteSize || index == background_) return;
    background_ = index;
    update();
    UpdateSpokenName();
    emit Changed();
}

void TColorGrid::SetSpokenLabel(const QString& label) {
    spokenLabel_ = label;
    UpdateSpokenName();
}

void TColorGrid::UpdateSpokenName() {
    QString colors = display::PaletteColorName(foreground_);
    if (withBackground_) colors += QString(" on ") + display::PaletteColorName(background_);
    setAccessibleName(spokenLabel_.isEmpty() ? colors : spokenLabel_ + ": " + colors);
}

QRect TColorGrid::CellRect(int index) const {
    const int col = index % kColumns;
    const int row = index / kColumns;
    return QRect(kFrame + col * kCell, kFrame + row * kCell, kCell, kCell);
}

int TColorGrid::IndexAt(QPoint at) const {
    for (int i = 0; i < display::kPaletteSize; ++i) {
        if (CellRect(i).contains(at)) return i;
    }
    return -1;
}

QSize TColorGrid::sizeHint() const {
    return QSize(2 * kFrame + kColumns * kCell, 2 * kFrame + (display::kPaletteSize / kColumns) * kCell);
}

void TColorGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window).darker(130));
    QFont f = font();
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    for (int i = 0; i < display::kPaletteSize; ++i) {
        const QRect r = CellRect(i).adjusted(1, 1, -1, -1);
        const QColor c = display::PaletteColor(i);
        p.fillRect(r, c);
        QString mark;
        if (i == foreground_) mark = "FG";
        if (withBackground_ && i == background_) mark = mark.isEmpty() ? "BG" : "FB";
        if (mark.isEmpty()) continue;
        // The mark must read on any swatch: white on dark colours, black on light.
        const bool light = c.lightness() > 110;
        p.setPen(QPen(light ? Qt::black : Qt::white, 1));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.drawText(r, Qt::AlignCenter, mark);
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TColorGrid::mousePressEvent(QMouseEvent* e) {
    const int i = IndexAt(e->position().toPoint());
    if (i < 0) return;
    if (e->button() == Qt::LeftButton) SetForegroundIndex(i);
    else if (e->button() == Qt::RightButton) SetBackgroundIndex(i);
}

void TColorGrid::keyPressEvent(QKeyEvent* e) {
    int delta = 0;
    switch (e->key()) {
    case Qt::Key_Left: delta = -1; break;
    case Qt::Key_Right: delta = 1; break;
    case Qt::Key_Up: delta = -kColumns; break;
    case Qt::Key_Down: delta = kColumns; break;
    default: QWidget::keyPressEvent(e); return;
    }
    if (withBackground_ && (e->modifiers() & Qt::ShiftModifier)) SetBackgroundIndex(background_ + delta);
    else SetForegroundIndex(foreground_ + delta);
}

} // namespace tunevox::setup
