#include "app/PlacementTableView.h"

#include <QHeaderView>
#include <QMouseEvent>

#include "app/PlacementListModel.h"

namespace morvi {

PlacementTableView::PlacementTableView(QWidget* parent) : QTableView(parent) {
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Every row has the font's height: the view never measures rows, whatever their number.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(0);
}

void PlacementTableView::AttachModel(PlacementListModel* model) {
    setModel(model);
    const auto& widths = PlacementListModel::ColumnWidths();
    for (int column = 0; column < kPlacementColumnCount; ++column) {
        const int width = widths[static_cast<size_t>(column)];
        // Zero-width columns carry the record's file and template; nobody needs to see them.
        if (width == 0)
            setColumnHidden(column, true);
        else
            setColumnWidth(column, width);
    }
}

void PlacementTableView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // The second release of a double click is part of the double click, not a new click.
    if (m_releaseEndsDoubleClick) {
        m_releaseEndsDoubleClick = false;
        return;
    }
    emit listClicked();
}

void PlacementTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_releaseEndsDoubleClick = true;
    emit listDoubleClicked();
}

}  // namespace morvi
