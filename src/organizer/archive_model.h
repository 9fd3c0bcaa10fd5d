#pragma once
// TArchiveModel: the station archive as Qt's item model, one column, for
// the organizer's tree view. It adapts the archive, it does not own or
// copy it: every change goes through the model so the view hears of it.
// A node's index carries the node's address, which the archive keeps
// stable for the node's whole life.
//
// Renaming goes through setData, which asks `renameRefused` first: the
// window shows the refusal and the old name stays. Drag and drop between
// the tree's own nodes is the window's (its rules speak to the user);
// the model only says what a node carries when dragged: a station travels
// as a station to the favorites buttons.

#include "archive/archive.h"

#include <QAbstractItemModel>

#include <functional>
#include <optional>
#include <set>
#include <string>

namespace tunevox::organizer {

class TArchiveModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TArchiveModel(archive::TArchive& archive, QObject* parent = nullptr);

    archive::tArchiveNode* Node(const QModelIndex& index) const;
    QModelIndex IndexOf(const archive::tArchiveNode* node) const;
    QModelIndex RootIndex() const { return IndexOf(&archive_.Root()); }

    // The whole tree changed (loaded again).
    void Reset();
    // Edits, told to the view.
    archive::tArchiveNode* AddFolder(archive::tArchiveNode& parent);
    archive::tArchiveNode* AddStation(archive::tArchiveNode& parent, double mhz, radio::tBand band);
    bool Move(archive::tArchiveNode& node, archive::tArchiveNode& newParent);
    void Delete(archive::tArchiveNode& node);
    // A station's frequency or band changed (its hint).
    void Changed(const archive::tArchiveNode& node);
    // Folders show their open picture while expanded.
    void SetExpanded(const QModelIndex& index, bool expanded);

    // Asked before a rename: the refusal's text, or nullopt.
    std::function<std::optional<std::string>(const archive::tArchiveNode&, const QString& newName)> renameRefused;
    // Told after a refused rename.
    std::function<void(const std::string& message)> onRenameRefused;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

private:
    archive::TArchive& archive_;
    std::set<const archive::tArchiveNode*> expanded_;
};

} // namespace tunevox::organizer
