// Undo and redo of the steps made from this window: each takes a step back through the
// change history, which refuses when a file no longer holds what the step wrote.

#include "dialog/CPlacementDlg.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

// The texts of one direction through the history.
struct Direction {
    TextId nothing;   // no step to take
    TextId refused;   // with the reason
    TextId done;
};
constexpr Direction kUndo{TextId::NothingToUndo, TextId::UndoRefused, TextId::Undone};
constexpr Direction kRedo{TextId::NothingToRedo, TextId::RedoRefused, TextId::Redone};

}  // namespace

bool CPlacementDlg::OnUndo() { return ShowStepBack(Document().Undo(), kUndo.nothing, kUndo.refused, kUndo.done); }

bool CPlacementDlg::OnRedo() { return ShowStepBack(Document().Redo(), kRedo.nothing, kRedo.refused, kRedo.done); }

bool CPlacementDlg::ShowStepBack(const Expected<RevertReport, DocumentError>& result, TextId nothing, TextId refused,
                                 TextId done) {
    if (!result) {
        const DocumentError& error = result.error();
        const bool none =
            error.code == DocumentErrorCode::NothingToUndo || error.code == DocumentErrorCode::NothingToRedo;
        // Refused: nothing was written, and the step stays the one to take back.
        m_host.SetItemText(IDC_HINT, none ? std::string(Text(nothing)) : FormatChosen(refused, {error.system}));
        return false;
    }
    // The rows show the files as they are now.
    LoadMapPlacements();
    m_host.SetItemText(IDC_HINT, std::string(Text(done)));
    return true;
}

}  // namespace morvi
