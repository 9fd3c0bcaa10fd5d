#pragma once
// The presets editor's list of the 100 slots: a model over the editor's
// working bank and a view whose rows we draw ourselves, the way the radio
// shows its presets: the two-digit slot number with a red dot beside the
// current favorite, the frequency "000.000" and its band, the name, column
// lines and a dotted line between rows. Everything is laid out in design
// units of a 400-unit wide row, scaled to the list's width, so the columns
// keep their proportions at any font size.

#include <QAbstractTableModel>
#include <QTreeView>

namespace tunevox::presets {

class TPresetsEditor;

class TPresetsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum tColumn { cNumber = 0, cFrequency = 1, cName = 2, kColumnCount = 3 };
    enum tRole {
        kCurrentRole = Qt::UserRole + 1, // bool, on every column: the row is the current favorite
        kBandRole,                       // "AM", "FM", or empty for an empty slot (frequency column)
    };

    explicit TPresetsModel(const TPresetsEditor& editor, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The editor changed the bank: every row is drawn again.
    void Refresh();

private:
    const TPresetsEditor& editor_;
};

class TPresetsList : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 400;
    static constexpr int kDesignRowHeight = 17;
    static constexpr int kVisibleRows = 16;

    explicit TPresetsList(QWidget* parent = nullptr);

    // Pixels per design unit: as large as the font needs, never below one.
    double Scale() const { return scale_; }
    int RowHeight() const { return rowHeight_; }
    // Pixels of a design x.
    int X(double units) const;

    void setModel(QAbstractItemModel* model) override;

private:
    // The columns at their design places and the list kVisibleRows high.
    void Fit();

    double scale_ = 1.0;
    int rowHeight_ = kDesignRowHeight;
};

} // namespace tunevox::presets
