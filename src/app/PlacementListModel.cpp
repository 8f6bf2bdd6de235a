#include "app/PlacementListModel.h"

#include <QMetaObject>

namespace morvi {

PlacementListModel::PlacementListModel(QObject* parent) : QAbstractTableModel(parent) {}

const std::array<const char*, kPlacementColumnCount>& PlacementListModel::Headings() {
    static const std::array<const char*, kPlacementColumnCount> headings{
        "Name", "Pos   x", "x Move", "Pos   y", "y Move", "Type",
        "Group", "Serie", "Money", "Script", "", ""};
    return headings;
}

const std::array<int, kPlacementColumnCount>& PlacementListModel::ColumnWidths() {
    static const std::array<int, kPlacementColumnCount> widths{100, 60, 60, 60, 60, 60,
                                                               60, 60, 60, 280, 0, 0};
    return widths;
}

int PlacementListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_visibleRows;
}

int PlacementListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kPlacementColumnCount;
}

QVariant PlacementListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_visibleRows)
        return {};
    // View rows sit below the pending ones.
    const std::string_view text = m_store.Text(index.row() + PendingRows(), index.column());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant PlacementListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kPlacementColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(Headings()[static_cast<size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

void PlacementListModel::InsertTopRow(const RowTexts& row) {
    m_store.InsertTop(row);
    QueueFlush();
}

void PlacementListModel::InsertTopRow(const RowViews& row) {
    m_store.InsertTop(row);
    QueueFlush();
}

void PlacementListModel::QueueFlush() {
    if (!m_flushQueued) {
        m_flushQueued = true;
        QMetaObject::invokeMethod(this, &PlacementListModel::FlushPendingRows, Qt::QueuedConnection);
    }
}

void PlacementListModel::FlushPendingRows() {
    m_flushQueued = false;
    const int pending = PendingRows();
    if (pending <= 0)
        return;
    beginInsertRows(QModelIndex(), 0, pending - 1);
    m_visibleRows = m_store.Count();
    endInsertRows();
}

std::string PlacementListModel::CellText(int row, int column) const {
    return std::string(m_store.Text(row, column));
}

void PlacementListModel::SetCellText(int row, int column, std::string_view text) {
    m_store.SetText(row, column, text);
    const int viewRow = row - PendingRows();
    if (viewRow >= 0)
        emit dataChanged(index(viewRow, column), index(viewRow, column), {Qt::DisplayRole});
}

void PlacementListModel::DeleteRow(int row) {
    FlushPendingRows();
    beginRemoveRows(QModelIndex(), row, row);
    m_store.Erase(row);
    m_visibleRows = m_store.Count();
    endRemoveRows();
}

void PlacementListModel::DeleteAllRows() {
    beginResetModel();
    m_store.Clear();
    m_visibleRows = 0;
    endResetModel();
}

}  // namespace morvi
