#include "app/PlacementListModel.h"

#include <QMetaObject>

#include "dialog/WindowTemplateTables.h"

namespace morvi {

PlacementListModel::PlacementListModel(const PlacementRowView& rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows), m_visibleRows(rows.Count()) {}

std::array<const char*, kPlacementColumnCount> PlacementListModel::Headings() {
    // The headings of the window template's columns, from the program's text table, in the
    // language chosen now.
    std::array<const char*, kPlacementColumnCount> texts{};
    const std::span<const ListColumn> columns = PlacementListColumns();
    for (size_t c = 0; c < texts.size(); ++c) texts[c] = Text(columns[c].heading).data();
    return texts;
}

void PlacementListModel::HeadingsChanged() { emit headerDataChanged(Qt::Horizontal, 0, kPlacementColumnCount - 1); }

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
    const int row = index.row() + PendingRows();
    if (row < 0 || row >= m_rows.Count())
        return {};
    m_cell.clear();
    m_rows.AppendCellText(row, index.column(), m_cell);
    return QString::fromUtf8(m_cell.data(), static_cast<qsizetype>(m_cell.size()));
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

void PlacementListModel::RowsReset() {
    beginResetModel();
    m_visibleRows = 0;
    endResetModel();
    if (m_rows.Count() > 0)
        QueueFlush();
}

void PlacementListModel::RowsRearranged() {
    beginResetModel();
    m_visibleRows = m_rows.Count();
    endResetModel();
}

void PlacementListModel::RowsInsertedAtTop(int count) {
    if (count > 0)
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
    m_visibleRows = m_rows.Count();
    endInsertRows();
}

void PlacementListModel::RowChanged(int row) {
    const int viewRow = row - PendingRows();
    if (viewRow >= 0 && viewRow < m_visibleRows)
        emit dataChanged(index(viewRow, 0), index(viewRow, kPlacementColumnCount - 1), {Qt::DisplayRole});
}

void PlacementListModel::RowRemoved(int row) {
    // The store has already lost the row: before, it held one more.
    const int pendingBefore = m_rows.Count() + 1 - m_visibleRows;
    const int viewRow = row - pendingBefore;
    if (row < 0 || viewRow >= m_visibleRows)
        return;
    if (viewRow < 0)
        return;   // a row the views never saw
    beginRemoveRows(QModelIndex(), viewRow, viewRow);
    --m_visibleRows;
    endRemoveRows();
}

bool PlacementListModel::RowsRemoved(const std::vector<int>& rowsAscending) {
    // The store has already lost the rows: before, it held that many more.
    const int pendingBefore = m_rows.Count() + static_cast<int>(rowsAscending.size()) - m_visibleRows;
    // Runs of adjacent rows the views know, as [first, last] view rows.
    std::vector<std::pair<int, int>> runs;
    for (int row : rowsAscending) {
        const int viewRow = row - pendingBefore;
        if (viewRow < 0 || viewRow >= m_visibleRows)
            continue;   // a row the views never saw
        if (!runs.empty() && runs.back().second + 1 == viewRow)
            runs.back().second = viewRow;
        else
            runs.emplace_back(viewRow, viewRow);
    }
    // Each removal costs a view work in proportion to its rows; beyond a few dozen runs one
    // reset costs less.
    constexpr size_t kMostRuns = 64;
    if (runs.size() > kMostRuns) {
        beginResetModel();
        for (const auto& [first, last] : runs)
            m_visibleRows -= last - first + 1;
        endResetModel();
        return true;
    }
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        beginRemoveRows(QModelIndex(), it->first, it->second);
        m_visibleRows -= it->second - it->first + 1;
        endRemoveRows();
    }
    return false;
}

}  // namespace morvi
