#include "app/PlacementListControl.h"

#include <climits>

#include <QItemSelectionModel>
#include <QScrollBar>

namespace morvi {

PlacementListControl::PlacementListControl(PlacementListModel& model, PlacementTableView& view)
    : m_model(model), m_view(view) {}

int PlacementListControl::RowCount() const { return m_model.HostRowCount(); }

void PlacementListControl::InsertTopRow(RowTexts row) { m_model.InsertTopRow(row); }

void PlacementListControl::InsertTopRowViews(const RowViews& row) { m_model.InsertTopRow(row); }

std::string PlacementListControl::CellText(int row, int column) const {
    // A list view answers an invalid item or column with an empty text.
    if (!ValidRow(row) || !ValidColumn(column))
        return {};
    return m_model.CellText(row, column);
}

void PlacementListControl::SetCellText(int row, int column, const std::string& text) {
    if (ValidRow(row) && ValidColumn(column))
        m_model.SetCellText(row, column, text);
}

void PlacementListControl::DeleteRow(int row) {
    if (ValidRow(row))
        m_model.DeleteRow(row);
}

void PlacementListControl::DeleteAllRows() { m_model.DeleteAllRows(); }

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
