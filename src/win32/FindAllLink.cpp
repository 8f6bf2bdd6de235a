// The main window's side of "在所有地图中查找": it opens the find window, which searches the
// server this window has configured with this window's template count (so rows are the rows
// its list shows), and shows a double-clicked result here; and of "与其他服务器比较…", which
// compares the selected map with another server's.
#include "dialog/ControlIds.h"
#include "texts/ProgramTexts.h"
#include "win32/PlacementWindow.h"

namespace morvi::win32 {

void PlacementWindow::ShowFindAll() {
    if (!m_findAll) {
        m_findAll = std::make_unique<FindAllWindow>(
            [this] { return FindAllWindow::StartArgs{m_dlg.ServerPath(), ListBoxCount(IDC_TEMPLATE_LIST)}; },
            [this](FindAllView& view, int row) { OpenFoundRow(view, row); });
    }
    m_findAll->Show(m_hwnd);
}

void PlacementWindow::OpenFoundRow(FindAllView& view, int row) {
    OpenFoundOutcome outcome = view.Open(row, m_dlg, *this);
    if (outcome == OpenFoundOutcome::HiddenByListFilter) {
        // The list's filter hides the row: the filter is cleared, the list shows every row.
        if (m_listFilter) SetWindowTextW(m_listFilter, L"");
        m_dlg.OnListFilterChanged("");
        outcome = view.Open(row, m_dlg, *this);
    }
    if (outcome == OpenFoundOutcome::Selected) SetForegroundWindow(m_hwnd);
}

void PlacementWindow::ShowCompare() {
    if (!m_compare) {
        m_compare = std::make_unique<CompareWindow>(
            [this] {
                CompareView::Request request;
                request.server = m_dlg.ServerPath();
                request.templateCount = ListBoxCount(IDC_TEMPLATE_LIST);
                const int map = ListBoxSelection(IDC_MAP_LIST);
                if (map >= 0 && static_cast<size_t>(map) < m_dlg.MapPaths().size()) {
                    request.mapEntry = m_dlg.MapPaths()[static_cast<size_t>(map)];
                    request.mapName = ListBoxText(IDC_MAP_LIST, map);
                }
                return request;
            },
            [this] { return BrowseForFolder(std::string(Text(TextId::CompareOtherLabel))); });
    }
    m_compare->Show(m_hwnd);
}

}  // namespace morvi::win32
