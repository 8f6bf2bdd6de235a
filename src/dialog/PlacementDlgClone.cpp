// Cloning a placement: "another NPC like this one, a few steps away". The edit area is filled
// from a row as for a modify, but the save appends a new record to the row's own region file.

#include "dialog/CPlacementDlg.h"

namespace morvi {

void CPlacementDlg::OnClone() {
    const int row = m_view.StoreRow(m_host.Placements().NextSelectedRow(-1));
    if (row < 0) return;
    if (!MayDiscardNewPlacement()) return;

    LoadRowIntoEditArea(row);
    m_session.mode = EDIT_ADD;
    m_session.row = -1;   // no row is being modified
    m_session.clone = CloneSource{Rows().File(row), Rows().Record(row)};

    // The template list shows the row's template as "Them" would have taken it: the stored
    // index N is entry N - 1. An index without an entry selects none.
    const int entry = m_session.templateIndex - 1;
    m_host.ListBoxSetSelection(IDC_TEMPLATE_LIST,
                               entry >= 0 && entry < m_host.ListBoxCount(IDC_TEMPLATE_LIST) ? entry : -1);
    ShowNewPlacementHint();
}

}  // namespace morvi
