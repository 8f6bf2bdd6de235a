// The window's document: its history follows the server directory the window names, and its
// row changes reach the host's list and the edit session (PlacementDlgView.cpp).

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

}  // namespace morvi
