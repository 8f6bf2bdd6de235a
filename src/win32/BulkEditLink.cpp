// The main window's side of "批量修改…": the dialog over the window, then the window logic's
// bulk edit of the selected rows, and the status strip.
#include <ctime>

#include "dialog/MapViewSource.h"
#include "dialog/StatusLine.h"
#include "win32/BulkEditDialog.h"
#include "win32/PlacementWindow.h"

namespace morvi::win32 {

void PlacementWindow::BulkEditSelectedRows() {
    const size_t selected = SelectedRowsOf(m_rows).size();
    if (selected == 0) {
        // The hint says a row must be chosen first.
        m_dlg.OnBulkEdit(BulkEditForm{});
        return;
    }
    const std::optional<BulkEditForm> form = BulkEditDialog::Run(m_hwnd, static_cast<int>(selected));
    if (!form) return;
    ShowStatusLine(StatusAfterBulkEdit(m_dlg, m_dlg.OnBulkEdit(*form), TextId::OperationBulkEdit, std::time(nullptr)));
}

}  // namespace morvi::win32
