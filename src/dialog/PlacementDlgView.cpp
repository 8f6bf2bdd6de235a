// The placement list as the user arranged it: sorted by a heading, narrowed by the filter
// field, and what the status strip says about it. Rows the host names are list rows; the
// document's rows are store rows; the view between them is rebuilt when the store changes
// while the list is sorted or narrowed, and the selection follows its placements.

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "dialog/CPlacementDlg.h"
#include "dialog/DocumentTexts.h"
#include "document/NameTables.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

// Applies removals of store rows (as they were before any of them) to ascending store rows:
// removed rows leave, later rows move up.
void ApplyRemovals(std::vector<int>& rows, int& focus, std::vector<int> removed) {
    std::sort(removed.begin(), removed.end());
    const auto moved = [&](int row) -> int {
        const auto at = std::lower_bound(removed.begin(), removed.end(), row);
        if (at != removed.end() && *at == row) return -1;
        return row - static_cast<int>(at - removed.begin());
    };
    std::vector<int> kept;
    kept.reserve(rows.size());
    size_t gone = 0;   // removed rows below the current one (rows ascend)
    for (int row : rows) {
        while (gone < removed.size() && removed[gone] < row) ++gone;
        if (gone < removed.size() && removed[gone] == row) continue;
        kept.push_back(row - static_cast<int>(gone));
    }
    rows = std::move(kept);
    if (focus >= 0) focus = moved(focus);
}

}  // namespace

// --- rows ------------------------------------------------------------------------------------

std::vector<int> CPlacementDlg::SelectedStoreRows() const {
    const PlacementListHost& list = m_host.Placements();
    std::vector<int> rows;
    for (int row = list.NextSelectedRow(-1); row >= 0; row = list.NextSelectedRow(row)) {
        const int storeRow = m_view.StoreRow(row);
        if (storeRow < 0) break;
        rows.push_back(storeRow);
    }
    return rows;
}

void CPlacementDlg::RowForwarder::Rearrange(const std::function<int(int)>& shift) {
    PlacementListHost& list = m_dlg.m_host.Placements();
    // The selection as placements, taken through the view as the host still shows it.
    std::vector<int> selected = m_dlg.SelectedStoreRows();
    int focus = m_dlg.m_view.StoreRow(list.FocusedRow());
    if (shift) {
        for (int& row : selected) row = shift(row);
        selected.erase(std::remove(selected.begin(), selected.end(), -1), selected.end());
        if (focus >= 0) focus = shift(focus);
    }
    m_dlg.m_view.Rebuild();
    list.RowsRearranged(m_dlg.m_view.ViewRows(selected), m_dlg.m_view.ViewRow(focus));
}

void CPlacementDlg::RowForwarder::BeginBatch() {
    if (m_batch++ > 0) return;
    m_tracked = m_dlg.SelectedStoreRows();
    std::sort(m_tracked.begin(), m_tracked.end());
    m_trackedFocus = m_dlg.m_view.StoreRow(m_dlg.m_host.Placements().FocusedRow());
    m_removals.clear();
}

void CPlacementDlg::RowForwarder::EndBatch() {
    if (--m_batch > 0) return;
    FlushRemovals();
    m_dlg.m_view.Rebuild();
    m_dlg.m_host.Placements().RowsRearranged(m_dlg.m_view.ViewRows(m_tracked), m_dlg.m_view.ViewRow(m_trackedFocus));
    m_tracked.clear();
    m_trackedFocus = -1;
}

void CPlacementDlg::RowForwarder::FlushRemovals() {
    if (m_removals.empty()) return;
    ApplyRemovals(m_tracked, m_trackedFocus, std::move(m_removals));
    m_removals.clear();
}

void CPlacementDlg::RowForwarder::RowsReset() {
    m_dlg.m_session.row = -1;
    if (m_batch > 0) {
        m_tracked.clear();
        m_trackedFocus = -1;
        m_removals.clear();
        return;
    }
    m_dlg.m_view.Rebuild();
    m_dlg.m_host.Placements().RowsReset();
}

void CPlacementDlg::RowForwarder::RowsInsertedAtTop(int count) {
    if (m_dlg.m_session.row >= 0) m_dlg.m_session.row += count;
    if (m_batch > 0) {
        FlushRemovals();
        for (int& row : m_tracked) row += count;
        if (m_trackedFocus >= 0) m_trackedFocus += count;
        return;
    }
    if (m_dlg.m_view.Identity()) {
        m_dlg.m_host.Placements().RowsInsertedAtTop(count);
        return;
    }
    Rearrange([count](int row) { return row + count; });
}

void CPlacementDlg::RowForwarder::RowChanged(int row) {
    if (m_batch > 0) return;
    PlacementRowView& view = m_dlg.m_view;
    if (view.Identity()) {
        m_dlg.m_host.Placements().RowChanged(row);
        return;
    }
    // Only this row can have moved, left the view or joined it; when it did none of these,
    // every other row stays where it was.
    const int before = view.ViewRow(row);
    const int count = view.Count();
    std::vector<int> selected = m_dlg.SelectedStoreRows();
    const int focus = view.StoreRow(m_dlg.m_host.Placements().FocusedRow());
    view.Rebuild();
    if (before >= 0 && view.ViewRow(row) == before && view.Count() == count) {
        m_dlg.m_host.Placements().RowChanged(before);
        return;
    }
    m_dlg.m_host.Placements().RowsRearranged(view.ViewRows(selected), view.ViewRow(focus));
}

void CPlacementDlg::RowForwarder::RowRemoved(int row) {
    int& edited = m_dlg.m_session.row;
    if (row == edited)
        edited = -1;
    else if (row < edited)
        --edited;
    if (m_batch > 0) {
        // Removals from the bottom up name rows as they were before the first of them.
        if (!m_removals.empty() && row >= m_removals.back()) FlushRemovals();
        m_removals.push_back(row);
        return;
    }
    if (m_dlg.m_view.Identity()) {
        m_dlg.m_host.Placements().RowRemoved(row);
        return;
    }
    Rearrange([row](int r) { return r == row ? -1 : (r > row ? r - 1 : r); });
}

void CPlacementDlg::RowForwarder::RowsRemoved(const std::vector<int>& rowsAscending) {
    int& edited = m_dlg.m_session.row;
    if (edited >= 0) {
        const auto below = std::lower_bound(rowsAscending.begin(), rowsAscending.end(), edited);
        if (below != rowsAscending.end() && *below == edited)
            edited = -1;
        else
            edited -= static_cast<int>(below - rowsAscending.begin());
    }
    if (m_batch > 0) {
        // All named as they were before any of them left.
        FlushRemovals();
        m_removals = rowsAscending;
        FlushRemovals();
        return;
    }
    if (m_dlg.m_view.Identity()) {
        m_dlg.m_host.Placements().RowsRemoved(rowsAscending);
        return;
    }
    Rearrange([&rowsAscending](int r) {
        const auto at = std::lower_bound(rowsAscending.begin(), rowsAscending.end(), r);
        if (at != rowsAscending.end() && *at == r) return -1;
        return r - static_cast<int>(at - rowsAscending.begin());
    });
}

// --- sorting and narrowing -------------------------------------------------------------------

void CPlacementDlg::OnHeadingClick(int column) {
    if (column < 0 || column >= kPlacementColumnCount) return;
    PlacementListHost& list = m_host.Placements();
    const std::vector<int> selected = SelectedStoreRows();
    const int focus = m_view.StoreRow(list.FocusedRow());
    m_view.ClickHeading(column);
    list.RowsRearranged(m_view.ViewRows(selected), m_view.ViewRow(focus));
    // The search goes on from the top of the list as it is now arranged.
    m_searchPos = -1;
}

void CPlacementDlg::OnListFilterChanged(const std::string& text) {
    Expected<PlacementFilter, FilterError> parsed = PlacementFilter::Parse(text);
    if (!parsed) {
        // The list keeps what it shows; the status strip names the term.
        m_filterError = parsed.error();
        return;
    }
    m_filterError.reset();
    if (m_view.Identity() && parsed->Empty()) return;
    PlacementListHost& list = m_host.Placements();
    const std::vector<int> selected = SelectedStoreRows();
    const int focus = m_view.StoreRow(list.FocusedRow());
    m_view.SetFilter(std::move(*parsed));
    list.RowsRearranged(m_view.ViewRows(selected), m_view.ViewRow(focus));
    m_searchPos = -1;
}

CPlacementDlg::ListStatusLine CPlacementDlg::ListStatus() const {
    ListStatusLine line;
    line.text = Format(TextId::ListShown, {std::to_string(m_view.Count()), std::to_string(m_view.Total())});
    const std::vector<int> selected = SelectedStoreRows();
    if (!selected.empty()) {
        std::map<int, int> byType;   // type code as shown (codes without a name show entry 0)
        const auto names = NpcTypeNames();
        for (int row : selected) {
            const int code = Rows().Block(row).npcType;
            ++byType[code < static_cast<int>(names.size()) ? code : 0];
        }
        std::string counts;
        for (const auto& [code, count] : byType) {
            // Codes 1 and 2 have no name: the code stands for it.
            const std::string_view name = NameOfCode(names, code);
            counts += (counts.empty() ? "" : ", ") +
                      Format(TextId::ListTypeCount, {name.empty() ? std::to_string(code) : std::string(name),
                                                     std::to_string(count)});
        }
        line.text += "  ·  " + Format(TextId::ListSelected, {std::to_string(selected.size())}) + ": " + counts;
    }
    if (m_filterError) {
        line.text = FormatChosen(FilterErrorText(m_filterError->code), {m_filterError->term}) + "  ·  " + line.text;
        line.warning = true;
    }
    return line;
}

}  // namespace morvi
