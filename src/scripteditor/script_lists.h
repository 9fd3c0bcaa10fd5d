#pragma once
// The script editor's two lists and what travels between them. The palette
// of action kinds and the script's lines are both drag sources and drop
// targets: a kind dragged onto the script becomes an action there, a line
// dragged within the script moves, and a line dragged back onto the
// palette is deleted. Whether a drop may happen, and what it does, is the
// window's rule, handed in as functions; the lists only carry the drag and
// say where it would land.

#include "script/script.h"

#include <QListWidget>
#include <QStyledItemDelegate>

#include <functional>
#include <optional>

class QMimeData;

namespace tunevox::scripteditor {

// A dragged kind from the palette, or a dragged line of the script.
struct tDraggedAction {
    bool fromPalette = false;
    int value = 0; // the kind, or the line
    bool operator==(const tDraggedAction&) const = default;
};
inline constexpr char kActionMimeType[] = "application/x-tunevox-script-action";
// A new QMimeData (the drag takes ownership) holding only kActionMimeType.
QMimeData* MakeActionMime(const tDraggedAction& action);
std::optional<tDraggedAction> ReadActionMime(const QMimeData& mime);

// What both lists share: the drag and the drop rules.
class TActionList : public QListWidget {
    Q_OBJECT
public:
    explicit TActionList(QWidget* parent = nullptr);

    // (what, line): line is the row under the pointer, or count() below
    // the last row. The palette ignores the line.
    std::function<bool(const tDraggedAction&, int line)> acceptsDrop;
    std::function<void(const tDraggedAction&, int line)> onDrop;
    // What a drag of the current row carries.
    std::function<std::optional<tDraggedAction>()> dragged;

    // Where a drop at `pos` (viewport coordinates) lands.
    int LineAt(const QPoint& pos) const;

protected:
    void startDrag(Qt::DropActions supported) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // Draw a line where a drop would insert (the script), or not (the palette).
    bool showInsertLine_ = false;

private:
    bool Accepts(const QMimeData* mime, const QPoint& pos, int* line) const;

    int dropLine_ = -1;
};

// The palette: one row per kind the script may take, with its picture.
class TActionPalette : public TActionList {
    Q_OBJECT
public:
    explicit TActionPalette(QWidget* parent = nullptr);
    void SetKinds(const std::vector<script::tActionKind>& kinds);
    // The kind of the selected row, else the first row's.
    script::tActionKind CurrentKind() const;
};

// The script: one row per action, its picture, name and time, the times
// in a column of their own.
class TScriptList : public TActionList {
    Q_OBJECT
public:
    enum tRole { kTimeRole = Qt::UserRole + 1 };
    explicit TScriptList(QWidget* parent = nullptr);
};

// Draws a script line: picture, name, and the time where the column starts
// (the width of "Mute off" and 7 pixels after the name's start).
class TScriptLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Where the time column starts, from the name's start.
    static int TimeColumn(const QFontMetrics& metrics);
};

} // namespace tunevox::scripteditor
