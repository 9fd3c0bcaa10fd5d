#include "scripteditor/script_lists.h"

#include "scripteditor/action_icons.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

namespace tunevox::scripteditor {

namespace {

constexpr int kIconSize = 16;

} // namespace

QMimeData* MakeActionMime(const tDraggedAction& action) {
    auto* mime = new QMimeData;
    mime->setData(kActionMimeType,
                  QString("%1 %2").arg(action.fromPalette ? "kind" : "line").arg(action.value).toLatin1());
    return mime;
}

std::optional<tDraggedAction> ReadActionMime(const QMimeData& mime) {
    if (!mime.hasFormat(kActionMimeType)) return std::nullopt;
    const QList<QByteArray> parts = mime.data(kActionMimeType).split(' ');
    if (parts.size() != 2 || (parts[0] != "kind" && parts[0] != "line")) return std::nullopt;
    bool ok = false;
    const int value = parts[1].toInt(&ok);
    if (!ok || value < 0) return std::nullopt;
    return tDraggedAction{parts[0] == "kind", value};
}

// --- both lists ---

TActionList::TActionList(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(kIconSize, kIconSize));
}

int TActionList::LineAt(const QPoint& pos) const {
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : count();
}

void TActionList::startDrag(Qt::DropActions) {
    const std::optional<tDraggedAction> what = dragged ? dragged() : std::nullopt;
    if (!what) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(MakeActionMime(*what));
    if (QListWidgetItem* item = currentItem()) drag->setPixmap(item->icon().pixmap(kIconSize));
    // The drop site does the work; the list is rebuilt from the editor, so
    // nothing is removed here whatever the drop answers.
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

bool TActionList::Accepts(const QMimeData* mime, const QPoint& pos, int* line) const {
    const std::optional<tDraggedAction> what = mime ? ReadActionMime(*mime) : std::nullopt;
    *line = LineAt(pos);
    return what && acceptsDrop && acceptsDrop(*what, *line);
}

void TActionList::dragEnterEvent(QDragEnterEvent* event) {
    int line = 0;
    if (Accepts(event->mimeData(), event->position().toPoint(), &line)) event->acceptProposedAction();
    else event->ignore();
}

void TActionList::dragMoveEvent(QDragMoveEvent* event) {
    int line = 0;
    const bool ok = Accepts(event->mimeData(), event->position().toPoint(), &line);
    if (ok) event->acceptProposedAction();
    else event->ignore();
    const int shown = ok && showInsertLine_ ? line : -1;
    if (shown != dropLine_) {
        dropLine_ = shown;
        viewport()->update();
    }
}

void TActionList::dragLeaveEvent(QDragLeaveEvent* event) {
    dropLine_ = -1;
    viewport()->update();
    QListWidget::dragLeaveEvent(event);
}

void TActionList::dropEvent(QDropEvent* event) {
    dropLine_ = -1;
    viewport()->update();
    const std::optional<tDraggedAction> what = ReadActionMime(*event->mimeData());
    if (!what) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // A refused drop is the window's to answer (with a beep): it is told
    // of every drop that reaches a list.
    if (onDrop) onDrop(*what, LineAt(event->position().toPoint()));
}

void TActionList::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    if (dropLine_ < 0) return;
    // The line the new or moved action would go before.
    int y = 0;
    if (dropLine_ < count()) y = visualItemRect(item(dropLine_)).top();
    else if (count() > 0) y = visualItemRect(item(count() - 1)).bottom() + 1;
    QPainter p(viewport());
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawLine(2, y, viewport()->width() - 3, y);
}

// --- the palette ---

TActionPalette::TActionPalette(QWidget* parent) : TActionList(parent) {
    dragged = [this]() -> std::optional<tDraggedAction> {
        if (!currentItem()) return std::nullopt;
        return tDraggedAction{true, CurrentKind()};
    };
}

void TActionPalette::SetKinds(const std::vector<script::tActionKind>& kinds) {
    clear();
    for (script::tActionKind kind : kinds) {
        auto* item = new QListWidgetItem(ActionIcon(kind), script::ActionName(kind), this);
        item->setData(Qt::UserRole, static_cast<int>(kind));
    }
    // As high as its rows, so every kind is in sight.
    const int rows = static_cast<int>(kinds.size());
    const int rowHeight = rows ? sizeHintForRow(0) : fontMetrics().height();
    setFixedHeight(rows * rowHeight + 2 * frameWidth() + 4);
}

script::tActionKind TActionPalette::CurrentKind() const {
    const QListWidgetItem* chosen = currentItem() ? currentItem() : item(0);
    return chosen ? static_cast<script::tActionKind>(chosen->data(Qt::UserRole).toInt()) : script::akNone;
}

// --- the script ---

TScriptList::TScriptList(QWidget* parent) : TActionList(parent) {
    showInsertLine_ = true;
    setItemDelegate(new TScriptLineDelegate(this));
    dragged = [this]() -> std::optional<tDraggedAction> {
        if (currentRow() < 0) return std::nullopt;
        return tDraggedAction{false, currentRow()};
    };
}

int TScriptLineDelegate::TimeColumn(const QFontMetrics& metrics) {
    return metrics.horizontalAdvance("Mute off") + 7;
}

void TScriptLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString name = opt.text;
    opt.text.clear();
    opt.icon = QIcon();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect r = opt.rect.adjusted(3, 0, -3, 0);
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    const QRect iconRect(r.left(), r.top() + (r.height() - kIconSize) / 2, kIconSize, kIconSize);
    icon.paint(painter, iconRect);

    const bool selected = opt.state & QStyle::State_Selected;
    painter->save();
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Active : QPalette::Disabled,
                                      selected ? QPalette::HighlightedText : QPalette::Text));
    const int nameX = iconRect.right() + 6;
    const int timeX = nameX + TimeColumn(opt.fontMetrics);
    painter->drawText(QRect(nameX, r.top(), timeX - nameX, r.height()), Qt::AlignVCenter | Qt::AlignLeft, name);
    painter->drawText(QRect(timeX, r.top(), r.right() - timeX, r.height()), Qt::AlignVCenter | Qt::AlignLeft,
                      index.data(TScriptList::kTimeRole).toString());
    painter->restore();
}

QSize TScriptLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QFontMetrics& m = option.fontMetrics;
    const int width = 3 + kIconSize + 6 + TimeColumn(m) + m.horizontalAdvance(index.data(TScriptList::kTimeRole).toString()) + 6;
    return {width, std::max(kIconSize + 4, m.height() + 4)};
}

} // namespace tunevox::scripteditor
