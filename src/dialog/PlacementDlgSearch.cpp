// Search in the loaded placement list: one row at a time, from the search position downwards,
// by name (contained in column 0), X (column 1) and Y (column 3). Rows found are added to the
// selection, so after several searches every hit is selected, and editing starts at the last.

#include <string>

#include "dialog/CPlacementDlg.h"

namespace morvi {
namespace {

struct SearchCriteria {
    std::string name;
    std::string posX;
    std::string posY;

    bool Empty() const { return name.empty() && posX.empty() && posY.empty(); }

    // Texts are compared as shown: "7" and "07" differ. UTF-8 is self-synchronising, so a
    // substring match can only start on a character boundary.
    bool Matches(const PlacementListHost& list, int row) const {
        if (!posX.empty() && list.CellText(row, COL_POS_X) != posX) return false;
        if (!posY.empty() && list.CellText(row, COL_POS_Y) != posY) return false;
        if (!name.empty() && list.CellText(row, COL_NAME).find(name) == std::string::npos) return false;
        return true;
    }
};

}  // namespace

void CPlacementDlg::OnFindFirst() {
    m_searchPos = 0;
    FindFrom();
}

void CPlacementDlg::OnFindNext() {
    // Go on after the last hit; start over at the top after the last row or after a miss.
    const int rows = m_host.Placements().RowCount();
    if (m_searchPos < rows - 1) ++m_searchPos;
    else m_searchPos = 0;
    FindFrom();
}

void CPlacementDlg::FindFrom() {
    const SearchCriteria criteria{m_host.ItemText(IDC_FIND_NAME), m_host.ItemText(IDC_FIND_X),
                                  m_host.ItemText(IDC_FIND_Y)};
    if (!criteria.Empty()) {
        const PlacementListHost& list = m_host.Placements();
        for (int row = m_searchPos < 0 ? 0 : m_searchPos; row < list.RowCount(); ++row) {
            if (criteria.Matches(list, row)) {
                ShowFoundRow(row);
                return;
            }
        }
    }
    // A miss is silent: selection, scroll position and focus stay as they were.
    m_searchPos = -1;
}

void CPlacementDlg::ShowFoundRow(int row) {
    PlacementListHost& list = m_host.Placements();
    list.ScrollRowToTop(row);
    list.SelectRow(row);
    // The list's focus notification writes its hint when the focus actually moves.
    m_host.FocusItem(IDC_PLACEMENT_LIST);
    m_searchPos = row;
}

}  // namespace morvi
