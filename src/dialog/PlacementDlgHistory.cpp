// The window's document: its history follows the server directory the window names, and its
// row changes reach the host's list and the edit session.

#include <algorithm>

#include "dialog/CPlacementDlg.h"
#include "texts/ProgramTexts.h"

namespace morvi {

MapDocument& CPlacementDlg::Document() {
    // The directory may have been chosen again since the last write.
    m_doc.SetServerPath(m_serverPath);
    return m_doc;
}

ChangeHistory& CPlacementDlg::History() { return Document().History(); }

void CPlacementDlg::SetHistoryDirectory(std::string directory) { m_doc.SetHistoryDirectory(std::move(directory)); }

std::string CPlacementDlg::SelectedMapName() const {
    const int selected = m_host.ListBoxSelection(IDC_MAP_LIST);
    return selected < 0 ? std::string() : m_host.ListBoxText(IDC_MAP_LIST, selected);
}

void CPlacementDlg::ShowChangedSinceLoadHint() {
    const std::vector<std::string>& changed = m_doc.ChangedSinceLoad();
    if (changed.empty()) return;
    std::string files;
    for (const std::string& path : changed) files += (files.empty() ? "" : ", ") + path;
    m_host.SetItemText(IDC_HINT, Format(TextId::ChangedSinceLoad, {files}));
}

void CPlacementDlg::RowForwarder::RowsReset() {
    m_dlg.m_session.row = -1;
    m_dlg.m_host.Placements().RowsReset();
}

void CPlacementDlg::RowForwarder::RowsInsertedAtTop(int count) {
    if (m_dlg.m_session.row >= 0) m_dlg.m_session.row += count;
    m_dlg.m_host.Placements().RowsInsertedAtTop(count);
}

void CPlacementDlg::RowForwarder::RowChanged(int row) { m_dlg.m_host.Placements().RowChanged(row); }

void CPlacementDlg::RowForwarder::RowRemoved(int row) {
    int& edited = m_dlg.m_session.row;
    if (row == edited)
        edited = -1;
    else if (row < edited)
        --edited;
    m_dlg.m_host.Placements().RowRemoved(row);
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
    m_dlg.m_host.Placements().RowsRemoved(rowsAscending);
}

}  // namespace morvi
