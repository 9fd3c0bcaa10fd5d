#include "organizer/archive_model.h"

#include "favoritesgrid/favorites_grid.h"
#include "organizer/tree_pictures.h"
#include "radioset/station_tuner_rules.h"

#include <QLocale>
#include <QMimeData>

namespace tunevox::organizer {

using archive::tArchiveNode;

namespace {

// A drag that starts in the tree carries this as well, so the tree knows
// one of its own nodes is coming; which one is the tree's selection.
constexpr char kNodeMimeType[] = "application/x-tunevox-archive-node";

// Forgets `node` and everything under it.
void ForgetSubtree(std::set<const tArchiveNode*>& nodes, const tArchiveNode& node) {
    nodes.erase(&node);
    for (size_t i = 0; i < node.ChildCount(); ++i) ForgetSubtree(nodes, *node.Child(i));
}

} // namespace

TArchiveModel::TArchiveModel(archive::TArchive& archive, QObject* parent)
    : QAbstractItemModel(parent), archive_(archive) {}

tArchiveNode* TArchiveModel::Node(const QModelIndex& index) const {
    return index.isValid() ? static_cast<tArchiveNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TArchiveModel::IndexOf(const tArchiveNode* node) const {
    if (!node) return {};
    return createIndex(static_cast<int>(node->Row()), 0, const_cast<tArchiveNode*>(node));
}

void TArchiveModel::Reset() {
    beginResetModel();
    expanded_.clear();
    endResetModel();
}

tArchiveNode* TArchiveModel::AddFolder(tArchiveNode& parent) {
    if (parent.IsStation()) return nullptr;
    const int row = static_cast<int>(parent.ChildCount());
    beginInsertRows(IndexOf(&parent), row, row);
    tArchiveNode* node = archive_.NewFolder(parent);
    endInsertRows();
    return node;
}

tArchiveNode* TArchiveModel::AddStation(tArchiveNode& parent, double mhz, radio::tBand band) {
    if (parent.IsStation()) return nullptr;
    const int row = static_cast<int>(parent.ChildCount());
    beginInsertRows(IndexOf(&parent), row, row);
    tArchiveNode* node = archive_.NewStation(parent, mhz, band);
    endInsertRows();
    return node;
}

bool TArchiveModel::Move(tArchiveNode& node, tArchiveNode& newParent) {
    if (node.IsRoot() || newParent.IsStation() || archive::TArchive::IsAncestor(&node, &newParent)) return false;
    const QModelIndex from = IndexOf(node.Parent());
    const int row = static_cast<int>(node.Row());
    const QModelIndex to = IndexOf(&newParent);
    const int at = static_cast<int>(newParent.ChildCount());
    if (!beginMoveRows(from, row, row, to, at)) return false;
    const bool moved = archive_.MoveSubtree(node, newParent);
    endMoveRows();
    return moved;
}

void TArchiveModel::Delete(tArchiveNode& node) {
    if (node.IsRoot()) return;
    const int row = static_cast<int>(node.Row());
    beginRemoveRows(IndexOf(node.Parent()), row, row);
    ForgetSubtree(expanded_, node);
    tArchiveNode* parent = node.Parent();
    archive_.Delete(node);
    endRemoveRows();
    // A folder left empty cannot stay open.
    if (parent && parent->ChildCount() == 0) SetExpanded(IndexOf(parent), false);
}

void TArchiveModel::Changed(const tArchiveNode& node) {
    const QModelIndex i = IndexOf(&node);
    emit dataChanged(i, i, {Qt::ToolTipRole});
}

void TArchiveModel::SetExpanded(const QModelIndex& index, bool expanded) {
    const tArchiveNode* node = Node(index);
    if (!node) return;
    const bool was = expanded_.count(node) != 0;
    if (expanded) expanded_.insert(node);
    else expanded_.erase(node);
    if (was != expanded) emit dataChanged(index, index, {Qt::DecorationRole});
}

QModelIndex TArchiveModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid()) return row == 0 ? IndexOf(&archive_.Root()) : QModelIndex();
    const tArchiveNode* node = Node(parent);
    const tArchiveNode* child = node ? node->Child(static_cast<size_t>(row)) : nullptr;
    return child ? createIndex(row, 0, const_cast<tArchiveNode*>(child)) : QModelIndex();
}

QModelIndex TArchiveModel::parent(const QModelIndex& child) const {
    const tArchiveNode* node = Node(child);
    return node ? IndexOf(node->Parent()) : QModelIndex();
}

int TArchiveModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return 1; // the root
    const tArchiveNode* node = Node(parent);
    return node ? static_cast<int>(node->ChildCount()) : 0;
}

int TArchiveModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TArchiveModel::data(const QModelIndex& index, int role) const {
    const tArchiveNode* node = Node(index);
    if (!node) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(node->Name());
    case Qt::DecorationRole: {
        static const QIcon closed = TreePicture(eTreePicture::ClosedFolder);
        static const QIcon open = TreePicture(eTreePicture::OpenFolder);
        static const QIcon station = TreePicture(eTreePicture::Station);
        if (node->IsStation()) return station;
        return expanded_.count(node) && node->ChildCount() ? open : closed;
    }
    case Qt::ToolTipRole:
        if (const archive::tStation* s = node->Station()) {
            const QString point = QLocale().decimalPoint();
            return QString::fromStdString(
                radioset::TunerHint(s->band, s->frequency, point.size() == 1 ? point.at(0).toLatin1() : '.'));
        }
        return {};
    default:
        return {};
    }
}

bool TArchiveModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    tArchiveNode* node = Node(index);
    if (!node || role != Qt::EditRole) return false;
    const QString name = value.toString();
    if (renameRefused) {
        if (const auto refusal = renameRefused(*node, name)) {
            if (onRenameRefused) onRenameRefused(*refusal);
            return false;
        }
    }
    archive_.SetName(*node, name.toStdString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags TArchiveModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

QStringList TArchiveModel::mimeTypes() const { return {kNodeMimeType, favoritesgrid::kStationMimeType}; }

QMimeData* TArchiveModel::mimeData(const QModelIndexList& indexes) const {
    const tArchiveNode* node = indexes.isEmpty() ? nullptr : Node(indexes.first());
    if (!node) return nullptr;
    const archive::tStation* s = node->Station();
    QMimeData* mime = s ? favoritesgrid::MakeStationMime({s->frequency, s->band, node->Name()}) : new QMimeData;
    mime->setData(kNodeMimeType, QByteArray());
    return mime;
}

Qt::DropActions TArchiveModel::supportedDragActions() const { return Qt::CopyAction | Qt::MoveAction; }
Qt::DropActions TArchiveModel::supportedDropActions() const { return Qt::MoveAction; }

} // namespace tunevox::organizer
