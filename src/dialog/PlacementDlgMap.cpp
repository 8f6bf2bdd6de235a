// What the map view asks of the window: moving the selected placements and starting a new
// placement on a spot. The delete of the selection is the list's own (OnDelete).

#include <string>

#include "dialog/CPlacementDlg.h"

namespace morvi {

CPlacementDlg::BulkEditOutcome CPlacementDlg::OnMapMove(int dx, int dy) {
    // A move is the bulk edit's move: one step of the history, each file rewritten once, rows
    // that cannot take it named in the hint.
    BulkEditForm form;
    form.moveX = std::to_string(dx);
    form.moveY = std::to_string(dy);
    return OnBulkEdit(form);
}

void CPlacementDlg::OnMapAddAt(int x, int y) {
    // As "Them": refused while a placement is modified or without a template. A new placement
    // already being composed keeps its template and fields and only takes the spot.
    if (m_session.mode != EDIT_ADD) {
        OnAdd();
        if (m_session.mode != EDIT_ADD) return;
    }
    m_host.SetItemText(IDC_POS_X, std::to_string(x));
    m_host.SetItemText(IDC_POS_Y, std::to_string(y));
}

}  // namespace morvi
