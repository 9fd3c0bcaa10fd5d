#include "presets/presets_list.h"

#include "display/spoken_picture.h"
#include "presets/presets_editor.h"
#include "radio/frequency.h"

#include <QHeaderView>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace tunevox::presets {

namespace {

// Design x of what a row shows, in a 400-unit wide row.
constexpr double kNumberX = 15;
constexpr double kFirstLineX = 33;
constexpr double kFrequencyX = 40;
constexpr double kBandX = 85;
constexpr double kSecondLineX = 108;
constexpr double kNameX = 115;
// The current favorite's dot: 7 units across, 4 units from the left.
constexpr double kDotX = 4;
constexpr double kDotSize = 7;
const QColor kDotColor(255, 0, 0);

QString Text(const std::string& s) { return QString::fromStdString(s); }

// "098.700" with the user's decimal separator, as the list shows it.
QString FrequencyShown(double mhz) {
    QString t = Text(radio::FrequencyText(mhz));
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? t.replace('.', point.at(0)) : t;
}

class TPresetsDelegate : public QStyledItemDelegate {
public:
    explicit TPresetsDelegate(TPresetsList* list) : QStyledItemDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {list_->X(TPresetsList::kDesignWidth), list_->RowHeight()};
    }

    // Each cell draws its part of the whole row, clipped to itself: the
    // row's design places do not depend on where the columns begin.
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect cell = option.rect;
        const QRect row(0, cell.top(), list_->viewport()->width(), cell.height());
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                                   : QPalette::Inactive;
        const QPalette& pal = option.palette;
        p->save();
        p->setClipRect(cell);
        p->fillRect(cell, pal.brush(group, selected ? QPalette::Highlight : QPalette::Base));

        const QModelIndex number = index.siblingAtColumn(TPresetsModel::cNumber);
        const QModelIndex frequency = index.siblingAtColumn(TPresetsModel::cFrequency);
        const QModelIndex name = index.siblingAtColumn(TPresetsModel::cName);
        if (number.data(TPresetsModel::kCurrentRole).toBool()) {
            const double size = kDotSize * list_->Scale();
            p->setRenderHint(QPainter::Antialiasing, true);
            p->setPen(Qt::NoPen);
            p->setBrush(kDotColor);
            p->drawEllipse(QRectF(kDotX * list_->Scale(), row.top() + (row.height() - size) / 2.0, size, size));
            p->setRenderHint(QPainter::Antialiasing, false);
        }

        const QColor rule = pal.color(group, QPalette::Mid);
        p->setPen(rule);
        for (double x : {kFirstLineX, kSecondLineX})
            p->drawLine(list_->X(x), row.top(), list_->X(x), row.bottom());
        if (index.row() > 0) {
            p->setPen(QPen(rule, 1, Qt::DotLine));
            p->drawLine(row.left(), row.top(), row.right(), row.top());
        }

        p->setPen(pal.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        p->setFont(option.font);
        auto put = [&](double fromX, double toX, const QString& text) {
            const int left = list_->X(fromX);
            const int right = toX > 0 ? list_->X(toX) - 2 : row.right() - 2;
            const QRect box(left, row.top(), std::max(0, right - left), row.height());
            const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, box.width());
            p->drawText(box, Qt::AlignLeft | Qt::AlignVCenter, shown);
        };
        put(kNumberX, kFirstLineX, number.data().toString());
        put(kFrequencyX, kBandX, frequency.data().toString());
        put(kBandX, kSecondLineX, frequency.data(TPresetsModel::kBandRole).toString());
        put(kNameX, 0, name.data().toString());
        p->restore();
    }

private:
    TPresetsList* list_;
};

} // namespace

// --- the model ---

TPresetsModel::TPresetsModel(const TPresetsEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), editor_(editor) {}

int TPresetsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : radioset::kFavoriteCount;
}

int TPresetsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant TPresetsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int n = index.row() + 1;
    const radioset::tFavorite& slot = editor_.Slot(n);
    if (role == kCurrentRole) return n == editor_.Current();
    if (role == kBandRole) {
        if (index.column() != cFrequency || !slot.Used) return QString();
        return QString(slot.Band == radio::bAM ? "AM" : "FM");
    }
    if (role == Qt::AccessibleTextRole) {
        // Read as words: the red dot of the current favorite, the band with
        // the frequency, and an empty slot said to be empty.
        switch (index.column()) {
        case cNumber: return QString("Favorite %1").arg(n) + (n == editor_.Current() ? ", current" : "");
        case cFrequency:
            return slot.Used ? display::SpokenFrequency(slot.Frequency, slot.Band == radio::bFM) : QString();
        case cName: return !slot.Used ? QString("empty") : slot.Name.empty() ? QString("no name") : Text(slot.Name);
        default: return {};
        }
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
    case cNumber: return Text(radioset::TwoDigit(n));
    case cFrequency: return slot.Used ? FrequencyShown(slot.Frequency) : QString();
    case cName: return slot.Used ? Text(slot.Name) : QString();
    default: return {};
    }
}

QVariant TPresetsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case cNumber: return QString("CH");
    case cFrequency: return QString("Frequency");
    case cName: return QString("Name");
    default: return {};
    }
}

Qt::ItemFlags TPresetsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void TPresetsModel::Refresh() {
    emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

// --- the view ---

TPresetsList::TPresetsList(QWidget* parent) : QTreeView(parent) {
    setObjectName("Presets");
    setAccessibleName("Favorites");
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setItemDelegate(new TPresetsDelegate(this));

    // The design leaves 45 units for "000.000" and 17 for a row: a larger
    // font widens every column alike rather than crowding one.
    const QFontMetrics fm(font());
    scale_ = std::max({1.0, (fm.height() + 4) / double(kDesignRowHeight),
                       (fm.horizontalAdvance("000.000") + 6) / (kBandX - kFrequencyX),
                       (fm.horizontalAdvance("00") + 4) / (kFirstLineX - kNumberX),
                       (fm.horizontalAdvance("FM") + 4) / (kSecondLineX - kBandX)});
    rowHeight_ = static_cast<int>(std::lround(kDesignRowHeight * scale_));

    QHeaderView* h = header();
    h->setSectionsMovable(false);
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setStretchLastSection(true);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int TPresetsList::X(double units) const { return static_cast<int>(std::lround(units * scale_)); }

void TPresetsList::setModel(QAbstractItemModel* model) {
    QTreeView::setModel(model);
    if (model) Fit();
}

void TPresetsList::Fit() {
    QHeaderView* h = header();
    h->setSectionResizeMode(QHeaderView::Fixed);
    h->resizeSection(TPresetsModel::cNumber, X(kFirstLineX));
    h->resizeSection(TPresetsModel::cFrequency, X(kSecondLineX) - X(kFirstLineX));
    const int frame = 2 * frameWidth();
    setFixedSize(X(kDesignWidth) + verticalScrollBar()->sizeHint().width() + frame,
                 h->sizeHint().height() + kVisibleRows * rowHeight_ + frame);
}

} // namespace tunevox::presets
