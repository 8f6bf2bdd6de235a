#include "win32/ReportListView.h"

#include <algorithm>
#include <vector>

#include <commctrl.h>

#include "dialog/WindowTemplateTables.h"
#include "win32/WideText.h"

namespace morvi::win32 {
namespace {

void SetState(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void ReportListView::Attach(HWND list, RowCounter rowCount, CellFormatter cell) {
    m_list = list;
    m_rowCount = std::move(rowCount);
    m_cell = std::move(cell);
    int index = 0;
    for (const ListColumn& column : PlacementListColumns()) {
        std::wstring heading = Widen(Text(column.heading));
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        lvc.fmt = LVCFMT_LEFT;
        lvc.cx = column.width;
        lvc.pszText = heading.data();
        lvc.iSubItem = index;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lvc));
        ++index;
    }
    // Mask 0 sets all the bits given.
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kPlacementListExStyles);
}

void ReportListView::RefreshHeadings() {
    int index = 0;
    for (const ListColumn& column : PlacementListColumns()) {
        std::wstring heading = Widen(Text(column.heading));
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT;
        lvc.pszText = heading.data();
        SendMessageW(m_list, LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lvc));
        ++index;
    }
}

int ReportListView::KnownRows() const {
    return static_cast<int>(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0));
}

void ReportListView::Flush() {
    if (!m_list || m_pendingTop == 0) return;
    // The control learns the rows inserted at the top since it last counted; the rows it knew
    // moved down by that many, and so do their selection and focus marks.
    const int shift = m_pendingTop;
    m_pendingTop = 0;
    const int known = KnownRows();
    std::vector<int> selected;
    int focused = -1;
    if (known > 0) {
        for (int row = static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
             row >= 0; row = static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED)))
            selected.push_back(row);
        focused = static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        if (!selected.empty() || focused >= 0) SetState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(known + shift), LVSICF_NOSCROLL);
    for (int row : selected) SetState(m_list, row + shift, LVIS_SELECTED, LVIS_SELECTED);
    if (focused >= 0) SetState(m_list, focused + shift, LVIS_FOCUSED, LVIS_FOCUSED);
    InvalidateRect(m_list, nullptr, FALSE);
}

void ReportListView::SyncCount() {
    Flush();
    const int total = m_rowCount();
    if (KnownRows() != total) SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(total), LVSICF_NOSCROLL);
}

void ReportListView::OnFlushMessage() {
    m_flushPosted = false;
    Flush();
}

void ReportListView::Reset() {
    m_pendingTop = 0;
    SetState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_rowCount()), 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

void ReportListView::InsertedAtTop(int count) {
    if (count <= 0) return;
    m_pendingTop += count;
    // The count and the repaint wait for the next use or the idle loop: a window-system call
    // per row would cost more than the whole load.
    if (!m_flushPosted && PostMessageW(GetParent(m_list), kFlushMessage, 0, 0)) m_flushPosted = true;
}

void ReportListView::Changed(int row) {
    Flush();
    SendMessageW(m_list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

void ReportListView::Removed(int row) {
    Flush();
    // An owner-data list deletes by index and moves the selection of the rows below up.
    SendMessageW(m_list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    // The control's count must follow the rows whatever it did.
    SyncCount();
}

void ReportListView::RemovedRows(const std::vector<int>& rowsAscending) {
    Flush();
    if (rowsAscending.size() <= 64) {
        for (auto it = rowsAscending.rbegin(); it != rowsAscending.rend(); ++it)
            SendMessageW(m_list, LVM_DELETEITEM, static_cast<WPARAM>(*it), 0);
        SyncCount();
        return;
    }
    // One deletion per row moves the selection of every later row each time: the rows that stay
    // are renumbered here once, the count set once, and their selection and focus put back.
    auto after = [&](int row) {   // -1 for a removed row
        const auto below = std::lower_bound(rowsAscending.begin(), rowsAscending.end(), row);
        if (below != rowsAscending.end() && *below == row) return -1;
        return row - static_cast<int>(below - rowsAscending.begin());
    };
    std::vector<int> kept;
    for (int row = static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
         row >= 0; row = static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED)))
        if (const int now = after(row); now >= 0) kept.push_back(now);
    const int focused = static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    SetState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_rowCount()), LVSICF_NOSCROLL);
    for (int row : kept) SetState(m_list, row, LVIS_SELECTED, LVIS_SELECTED);
    if (focused >= 0 && after(focused) >= 0) SetState(m_list, after(focused), LVIS_FOCUSED, LVIS_FOCUSED);
    InvalidateRect(m_list, nullptr, TRUE);
}

int ReportListView::NextSelected(int after) {
    Flush();
    return static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
}

void ReportListView::Select(int row) {
    Flush();
    SetState(m_list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ReportListView::ScrollToTop(int row) {
    Flush();
    SendMessageW(m_list, LVM_SCROLL, static_cast<WPARAM>(-0x7FFF), 0);
    SendMessageW(m_list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    const int top = static_cast<int>(SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0));
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    if (SendMessageW(m_list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds))) {
        const int rowHeight = bounds.bottom - bounds.top;
        if (rowHeight > 0 && row > top)
            SendMessageW(m_list, LVM_SCROLL, 0, static_cast<LPARAM>((row - top) * rowHeight));
    }
}

void ReportListView::Rearranged(const std::vector<int>& selected, int focused) {
    m_pendingTop = 0;
    const int top = static_cast<int>(SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0));
    SetState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    const int total = m_rowCount();
    SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(total), LVSICF_NOSCROLL);
    if (total > 0 && static_cast<int>(selected.size()) == total) {
        SetState(m_list, -1, LVIS_SELECTED, LVIS_SELECTED);   // all of them in one message
    } else {
        for (int row : selected)
            if (row >= 0 && row < total) SetState(m_list, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focused >= 0 && focused < total) SetState(m_list, focused, LVIS_FOCUSED, LVIS_FOCUSED);
    if (total > 0) SendMessageW(m_list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::min(top, total - 1)), FALSE);
    InvalidateRect(m_list, nullptr, TRUE);
}

int ReportListView::Focused() {
    Flush();
    return static_cast<int>(SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void ReportListView::RepaintNow() {
    SyncCount();
    RedrawWindow(m_list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool ReportListView::OnGetDispInfo(NMLVDISPINFOW* info) {
    if (!m_list || info->hdr.hwndFrom != m_list) return false;
    LVITEMW& item = info->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        m_cellText.clear();
        if (item.iItem >= 0 && item.iItem < m_rowCount()) m_cell(item.iItem, item.iSubItem, m_cellText);
        WidenInto(m_cellText, item.pszText, item.cchTextMax);
    }
    return true;
}

}  // namespace morvi::win32
