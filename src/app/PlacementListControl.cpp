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
    if (row >= 0 && row <= m_model.Store().Count())
        m_model.RowRemoved(row);
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

void PlacementListControl::RepaintNow() {
    m_model.FlushPendingRows();
    m_view.viewport()->repaint();
}

}  // namespace morvi
