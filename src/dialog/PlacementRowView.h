#pragma once
// The rows the placement list shows, as a permutation of the row store: the store's own order
// (the order the map was read in, row 0 on top) unless a heading was clicked, narrowed by the
// list's filter. A list row ("view row") leads to its placement through StoreRow; everything
// that acts on rows acts on the placements behind the view rows, never on positions.
//
// Sorting compares the numbers of the number columns as numbers and every other cell as text
// (ASCII letters without regard to case); rows that compare equal keep the store's order, in
// both directions. An empty cell (the drop count of a script record, say) comes first.
//
// With no sort and no filter the view is the store itself and costs nothing: a view row is
// its store row, and the list follows the store's changes one by one. Otherwise the view is
// rebuilt after a change (a sort of 200,000 rows takes some tens of milliseconds).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/PlacementFilter.h"
#include "document/PlacementRows.h"

namespace morvi {

enum class SortDirection { None, Ascending, Descending };

class PlacementRowView {
public:
    explicit PlacementRowView(const PlacementRowStore& store) : m_store(store) {}

    const PlacementRowStore& Store() const { return m_store; }
    // Rows shown, and rows in the store.
    int Count() const { return Identity() ? m_store.Count() : static_cast<int>(m_rows.size()); }
    int Total() const { return m_store.Count(); }
    // The store row of a view row; -1 outside the view.
    int StoreRow(int viewRow) const;
    // The view row that shows a store row; -1 when it is not shown.
    int ViewRow(int storeRow) const;
    // No sort and no filter: view rows are store rows.
    bool Identity() const { return m_direction == SortDirection::None && m_filter.Empty(); }

    int SortColumn() const { return m_direction == SortDirection::None ? -1 : m_column; }
    SortDirection Direction() const { return m_direction; }
    const PlacementFilter& Filter() const { return m_filter; }

    // What a click on a heading does: the first sorts ascending by that column, the second
    // reverses, the third returns to the store's order. A click on another column starts over
    // with it. Rebuilds the view.
    void ClickHeading(int column);
    void SetSort(int column, SortDirection direction);
    void SetFilter(PlacementFilter filter);
    // Recomputes the rows shown from the store as it is now.
    void Rebuild();

    // Cells of view rows, as the list shows them.
    void AppendCellText(int viewRow, int column, std::string& out) const;
    std::string CellText(int viewRow, int column) const;
    RowTexts Texts(int viewRow) const;

    // View rows to store rows, in the order given (rows outside the view are left out), and
    // store rows to the view rows that show them, ascending (rows not shown are left out).
    std::vector<int> StoreRows(std::span<const int> viewRows) const;
    std::vector<int> ViewRows(std::span<const int> storeRows) const;

private:
    const PlacementRowStore& m_store;
    int m_column = -1;
    SortDirection m_direction = SortDirection::None;
    PlacementFilter m_filter;
    std::vector<int> m_rows;     // view row -> store row (when not the identity)
    std::vector<int> m_viewOf;   // store row -> view row, -1 when not shown
};

// Whether a column sorts by number (positions, offsets, drop count, template).
bool IsNumberColumn(int column);

}  // namespace morvi
