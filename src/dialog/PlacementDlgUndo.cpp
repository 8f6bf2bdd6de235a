// Undo and redo of the steps made from this window: each takes a step back through the
// change history, which refuses when a file no longer holds what the step wrote.

#include "dialog/CPlacementDlg.h"

namespace morvi {
namespace {

constexpr char kNothingToUndo[] = "没有可撤销的修改!";
constexpr char kNothingToRedo[] = "没有可重做的修改!";

}  // namespace

bool CPlacementDlg::OnUndo() {
    if (m_undoSteps.empty()) {
        m_host.SetItemText(IDC_HINT, kNothingToUndo);
        return false;
    }
    const RevertResult undone = RevertStep(History(), m_undoSteps.back(), m_historyProgram);
    m_lastStep = undone.written;
    if (!undone.ok) {
        // Nothing was written: the step stays the one to undo once the cause is gone.
        m_host.SetItemText(IDC_HINT, "撤销被拒绝,文件未改动! " + undone.reason);
        return false;
    }
    m_undoSteps.pop_back();
    m_redoSteps.push_back(undone.written.step);
    LoadMapPlacements();
    m_host.SetItemText(IDC_HINT, "已撤销上一次修改!");
    return true;
}

bool CPlacementDlg::OnRedo() {
    if (m_redoSteps.empty()) {
        m_host.SetItemText(IDC_HINT, kNothingToRedo);
        return false;
    }
    const RevertResult redone = RevertStep(History(), m_redoSteps.back(), m_historyProgram);
    m_lastStep = redone.written;
    if (!redone.ok) {
        m_host.SetItemText(IDC_HINT, "重做被拒绝,文件未改动! " + redone.reason);
        return false;
    }
    m_redoSteps.pop_back();
    m_undoSteps.push_back(redone.written.step);
    LoadMapPlacements();
    m_host.SetItemText(IDC_HINT, "已重做上一次撤销的修改!");
    return true;
}

}  // namespace morvi
