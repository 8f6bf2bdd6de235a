#pragma once
// What the main window's status strip says after a save or a delete: the last write (time,
// operation, file, rows) and, when something is wrong, a warning the strip shows in red. Both
// desktop windows show these lines as they are; the hint line keeps its own texts.

#include <ctime>
#include <optional>
#include <string>

#include "dialog/CPlacementDlg.h"
#include "dialog/Outcomes.h"
#include "texts/ProgramTexts.h"

namespace morvi {

class CPlacementDlg;

struct StatusLine {
    std::string text;       // empty: the strip keeps what it shows
    bool warning = false;   // shown in red
};

// What the next save will be, taken just before it: the save ends the editing state.
struct SaveKind {
    int mode = 0;           // EDIT_ADD or EDIT_MODIFY
    bool clone = false;     // an add that copies the selected placement
};
SaveKind KindOfNextSave(const CPlacementDlg& dlg);

// After a save: the write, and before it a warning when the file now holds two records with
// one key. Nothing when the save wrote nothing (the hint line says why).
StatusLine StatusAfterSave(const CPlacementDlg& dlg, const SaveOutcome& outcome, SaveKind kind, std::time_t now);
// After a delete that removed at least one record; red when not every selected one was removed.
StatusLine StatusAfterDelete(const CPlacementDlg& dlg, const std::optional<DeleteReport>& report, std::time_t now);
// After an undo (`undo`) or a redo that was done: the step it wrote and its files. Nothing when
// none was done (the hint line says why).
StatusLine StatusAfterStepBack(const CPlacementDlg& dlg, bool undo, std::time_t now);
// After a bulk edit or a move on the map (`operation` names it) that changed a placement; red
// when some rows could not take the change. Nothing when none changed (the hint line says why).
StatusLine StatusAfterBulkEdit(const CPlacementDlg& dlg, const CPlacementDlg::BulkEditOutcome& done,
                               TextId operation, std::time_t now);

}  // namespace morvi
