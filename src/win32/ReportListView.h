#pragma once
// The placement list control (1013): an owner-data (LVS_OWNERDATA) report list view. It holds
// no texts; it asks for the cells it paints (LVN_GETDISPINFOW) and knows only the row count.
// Rows inserted at the top are counted up and handed to the control in one step when the
// window next needs it, so a load of 200,000 rows costs the control one count change; the
// selection and the focus mark move down with the rows above them.

#include <functional>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

namespace morvi::win32 {

class ReportListView {
public:
    using RowCounter = std::function<int()>;
    using CellFormatter = std::function<void(int row, int column, std::string& out)>;

    // Takes over the control: columns, extended styles and the sources of the count and cells.
    void Attach(HWND list, RowCounter rowCount, CellFormatter cell);
    HWND Window() const { return m_list; }
    // The column headings again, in the language the texts speak now.
    void RefreshHeadings();

    void Reset();                       // rows replaced: no selection, new count
    void InsertedAtTop(int count);      // rows [0, count) are new
    void Changed(int row);              // that row's cells repaint
    void Removed(int row);              // selection of later rows moves up
    void RemovedRows(const std::vector<int>& rowsAscending);   // the same for many, in one step
    int NextSelected(int after);
    void Select(int row);               // adds to the selection and takes the focus mark
    void ScrollToTop(int row);          // fully left, the row as the top visible row
    void RepaintNow();
    // The rows were rearranged: the owner's count, exactly `selected` selected, `focused` with
    // the focus mark; the top row stays where the count allows.
    void Rearranged(const std::vector<int>& selected, int focused);
    int Focused();
    // Hands the rows inserted at the top to the control; called before every use and when the
    // loop is idle. The rows' owner has already changed: the control's count moves by the
    // inserted rows only, so a removal reported next still finds its row.
    void Flush();
    // Flush, then the control's count set to the owner's if they still differ.
    void SyncCount();

    // The parent receives this posted message when rows are pending; it calls OnFlushMessage.
    static constexpr UINT kFlushMessage = WM_APP + 1;
    void OnFlushMessage();

    // Answers LVN_GETDISPINFOW; true when the notification was for this list.
    bool OnGetDispInfo(NMLVDISPINFOW* info);

private:
    int KnownRows() const;
    HWND m_list = nullptr;
    RowCounter m_rowCount;
    CellFormatter m_cell;
    int m_pendingTop = 0;     // rows inserted at the top that the control does not know yet
    std::string m_cellText;   // reused for every cell
    bool m_flushPosted = false;
};

}  // namespace morvi::win32
