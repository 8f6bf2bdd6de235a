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

bool CPlacementDlg::OnUndo() { return TakeStepBack(m_undoSteps, m_redoSteps, kUndo.nothing, kUndo.refused, kUndo.done); }

bool CPlacementDlg::OnRedo() { return TakeStepBack(m_redoSteps, m_undoSteps, kRedo.nothing, kRedo.refused, kRedo.done); }

// Takes back the newest step of `from`; the step that did so becomes the newest of `to`.
bool CPlacementDlg::TakeStepBack(std::vector<int64_t>& from, std::vector<int64_t>& to, const char* nothing,
                                 const char* refused, const char* done) {
    if (from.empty()) {
        m_host.SetItemText(IDC_HINT, nothing);
        return false;
    }
    const RevertResult reverted = RevertStep(History(), from.back(), m_historyProgram);
    m_lastStep = reverted.written;
    if (!reverted.ok) {
        // Nothing was written: the step stays the one to take back once the cause is gone.
        m_host.SetItemText(IDC_HINT, refused + reverted.reason);
        return false;
    }
    from.pop_back();
    to.push_back(reverted.written.step);
    LoadMapPlacements();
    m_host.SetItemText(IDC_HINT, done);
    return true;
}

}  // namespace morvi
