// Undo and redo of the steps made from this window: each takes a step back through the
// change history, which refuses when a file no longer holds what the step wrote.

#include "dialog/CPlacementDlg.h"

namespace morvi {
namespace {

// The texts of one direction through the history.
struct Direction {
    const char* nothing;   // no step to take
    const char* refused;   // followed by the reason
    const char* done;
};
constexpr Direction kUndo{"没有可撤销的修改!", "撤销被拒绝,文件未改动! ", "已撤销上一次修改!"};
constexpr Direction kRedo{"没有可重做的修改!", "重做被拒绝,文件未改动! ", "已重做上一次撤销的修改!"};

}  // namespace

bool CPlacementDlg::OnUndo() { return ShowStepBack(Document().Undo(), kUndo.nothing, kUndo.refused, kUndo.done); }

bool CPlacementDlg::OnRedo() { return ShowStepBack(Document().Redo(), kRedo.nothing, kRedo.refused, kRedo.done); }

bool CPlacementDlg::ShowStepBack(const Expected<RevertReport, DocumentError>& result, const char* nothing,
                                 const char* refused, const char* done) {
    if (!result) {
        const DocumentError& error = result.error();
        const bool none =
            error.code == DocumentErrorCode::NothingToUndo || error.code == DocumentErrorCode::NothingToRedo;
        // Refused: nothing was written, and the step stays the one to take back.
        m_host.SetItemText(IDC_HINT, none ? std::string(nothing) : refused + error.system);
        return false;
    }
    // The rows show the files as they are now.
    LoadMapPlacements();
    m_host.SetItemText(IDC_HINT, done);
    return true;
}

}  // namespace morvi
