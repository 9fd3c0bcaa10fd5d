#include "setup/setup_widgets.h"

#include "display/palette.h"
#include "display/pictures.h"

#include <QListWidget>
#include <QToolButton>

#include <algorithm>

namespace tunevox::setup {

void FitListToRows(QListWidget* list, int rows) {
    // The height of a row as the style draws it; an empty list measures a
    // sample entry.
    const bool empty = list->count() == 0;
    if (empty) list->addItem("Xg");
    const int row = std::max(list->sizeHintForRow(0), list->fontMetrics().height() + 2);
    if (empty) list->clear();
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setFixedHeight(rows * row + 2 * list->frameWidth() + 4);
}

QToolButton* MakeSchemeButton(const QString& objectName, int scheme, const QString& what, QWidget* parent) {
    const QString picture = QString("BT%1ON").arg(scheme);
    auto* b = new QToolButton(parent);
    b->setObjectName(objectName);
    b->setAccessibleName(what + ": " + display::SchemeColorName(scheme));
    b->setCheckable(true);
    b->setAutoRaise(false);
    const QImage glyph = display::PictureTransparent(picture);
    b->setIcon(QIcon(QPixmap::fromImage(glyph)));
    b->setIconSize(glyph.size());
    b->setFixedSize(glyph.width() + 12, glyph.height() + 12);
    b->setFocusPolicy(Qt::StrongFocus);
    // The chosen scheme must stand out from the seven others at a glance.
    b->setStyleSheet(
        "QToolButton { border: 1px solid palette(mid); border-radius: 3px; background: palette(button); }"
        "QToolButton:hover { border-color: palette(highlight); }"
        "QToolButton:checked { border: 2px solid palette(highlight); background: palette(midlight); }"
        "QToolButton:disabled { border: 1px dotted palette(mid); background: palette(window); }");
    return b;
}

} // namespace tunevox::setup
