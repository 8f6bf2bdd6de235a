#include "app/PlacementListControl.h"

#include <algorithm>
#include <climits>

#include <QItemSelectionModel>
#include <QScrollBar>

namespace morvi {

PlacementListControl::PlacementListControl(PlacementListModel& model, PlacementTableView& view)
    : m_model(model), m_view(view) {}

void PlacementListControl::RowsReset() { m_model.RowsReset(); }

void PlacementListControl::RowsInsertedAtTop(int count) { m_model.RowsInsertedAtTop(count); }

void PlacementListControl::RowChanged(int row) {
    if (ValidRow(row))
        m_model.RowChanged(row);
}

void PlacementListControl::RowRemoved(int row) {
    // The store is one row shorter already; `row` was valid before.
    if (row >= 0 && row <= m_model.Rows().Count())
        m_model.RowRemoved(row);
}

void PlacementListControl::RowsRemoved(const std::vector<int>& rowsAscending) {
    // The selected rows that stay, as numbered after the removal. The views still know the
    // rows as they were: a view row is a store row less the rows pending then.
    std::vector<int> kept;
    const int countBefore = m_model.Rows().Count() + static_cast<int>(rowsAscending.size());
    const int pendingBefore = countBefore - m_model.rowCount();
    if (const QItemSelectionModel* selection = m_view.selectionModel()) {
        for (const QItemSelectionRange& range : selection->selection()) {
            for (int viewRow = range.top(); viewRow <= range.bottom(); ++viewRow) {
                const int row = viewRow + pendingBefore;
                const auto below = std::lower_bound(rowsAscending.begin(), rowsAscending.end(), row);
                if (below != rowsAscending.end() && *below == row)
                    continue;
                kept.push_back(row - static_cast<int>(below - rowsAscending.begin()));
            }
        }
        std::sort(kept.begin(), kept.end());
        kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    }
    if (!m_model.RowsRemoved(rowsAscending))
        return;
    // A reset forgot the selection: the rows whose record stayed in its file are selected again.
    QItemSelectionModel* selection = m_view.selectionModel();
    if (!selection || kept.empty())
        return;
    const int pending = m_model.PendingRows();
    QItemSelection reselect;
    size_t i = 0;
    while (i < kept.size()) {
        size_t j = i;
        while (j + 1 < kept.size() && kept[j + 1] == kept[j] + 1)
            ++j;
        if (kept[i] - pending >= 0)
            reselect.select(m_model.index(kept[i] - pending, 0),
                            m_model.index(kept[j] - pending, kPlacementColumnCount - 1));
        i = j + 1;
    }
    selection->select(reselect, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

int PlacementListControl::NextSelectedRow(int after) const {
    const QItemSelectionModel* selection = m_view.selectionModel();
    if (!selection)
        return -1;
    // Pending rows sit above the rows the view knows and are never selected.
    const int pending = m_model.PendingRows();
    int best = INT_MAX;
    for (const QItemSelectionRange& range : selection->selection()) {
        const int top = range.top() + pending;
        const int bottom = range.bottom() + pending;
        if (bottom <= after)
            continue;
        best = std::min(best, std::max(top, after + 1));
    }
    return best == INT_MAX ? -1 : best;
}

void PlacementListControl::SelectRow(int row) {
    if (!ValidRow(row))
        return;
    m_model.FlushPendingRows();
    m_view.selectionModel()->setCurrentIndex(
        m_model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void PlacementListControl::ScrollRowToTop(int row) {
    if (!ValidRow(row))
        return;
    m_model.FlushPendingRows();
    // Lay the rows out now: the scroll range must know every row before scrolling.
    m_view.doItemsLayout();
    m_view.scrollTo(m_model.index(row, 0), QAbstractItemView::PositionAtTop);
    m_view.horizontalScrollBar()->setValue(0);
}

void PlacementListControl::RowsRearranged(const std::vector<int>& selected, int focused) {
    // The view keeps its place: a sort or a filter keystroke does not jump to the top.
    const int top = m_view.verticalScrollBar()->value();
    const int left = m_view.horizontalScrollBar()->value();
    m_model.RowsRearranged();
    QItemSelection selection;
    const int last = m_model.columnCount() - 1;
    for (size_t i = 0; i < selected.size();) {
        // Runs of consecutive rows are one range: selecting 200,000 rows stays one range.
        size_t j = i + 1;
        while (j < selected.size() && selected[j] == selected[j - 1] + 1) ++j;
        if (ValidRow(selected[i]) && ValidRow(selected[j - 1]))
            selection.select(m_model.index(selected[i], 0), m_model.index(selected[j - 1], last));
        i = j;
    }
    QItemSelectionModel* model = m_view.selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (ValidRow(focused))
        model->setCurrentIndex(m_model.index(focused, 0), QItemSelectionModel::NoUpdate);
    m_view.doItemsLayout();
    m_view.verticalScrollBar()->setValue(top);
    m_view.horizontalScrollBar()->setValue(left);
}

int PlacementListControl::FocusedRow() const {
    const QModelIndex current = m_view.selectionModel() ? m_view.selectionModel()->currentIndex() : QModelIndex();
    return current.isValid() ? current.row() + m_model.PendingRows() : -1;
}

void PlacementListControl::RepaintNow() {
    m_model.FlushPendingRows();
    m_view.viewport()->repaint();
}

}  // namespace morvi
