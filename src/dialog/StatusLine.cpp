#include "dialog/StatusLine.h"

#include <algorithm>

#include "dialog/CPlacementDlg.h"
#include "dialog/WriteStatus.h"
#include "texts/ProgramTexts.h"

namespace morvi {

SaveKind KindOfNextSave(const CPlacementDlg& dlg) {
    const int mode = dlg.EditMode();
    return {mode, mode == EDIT_ADD && !dlg.CloneTargetFile().empty()};
}

StatusLine StatusAfterSave(const CPlacementDlg& dlg, const SaveOutcome& outcome, SaveKind kind, std::time_t now) {
    if (!outcome.Written()) return {};
    WriteStatus status;
    status.when = now;
    status.operation = kind.mode == EDIT_MODIFY ? WriteOperation::Modify
                       : kind.clone             ? WriteOperation::Clone
                                                : WriteOperation::Add;
    status.files = {outcome.file};
    status.rows = 1;
    status.listRows = dlg.Rows().Count();
    StatusLine line{FormatWriteStatus(status, dlg.ServerPath()), false};
    const std::string warning = FormatDuplicateWarning(FindDuplicateKeysInFile(outcome.file),
                                                       ServerRelativePath(dlg.ServerPath(), outcome.file));
    if (!warning.empty()) line = {warning + "  |  " + line.text, true};
    return line;
}

StatusLine StatusAfterDelete(const CPlacementDlg& dlg, const std::optional<DeleteReport>& report, std::time_t now) {
    if (!report || report->removed == 0) return {};
    WriteStatus status;
    status.when = now;
    status.operation = WriteOperation::Delete;
    for (const DeleteReport::Row& row : report->rows)
        if (row.status == DeleteReport::RowStatus::Removed &&
            std::find(status.files.begin(), status.files.end(), row.file) == status.files.end())
            status.files.push_back(row.file);
    status.rows = report->removed;
    status.listRows = dlg.Rows().Count();
    StatusLine line{FormatWriteStatus(status, dlg.ServerPath()), !report->AllRemoved()};
    if (line.warning)
        line.text += "  " + Format(TextId::StatusRowsNotDeleted, {std::to_string(report->selected - report->removed)});
    return line;
}

StatusLine StatusAfterStepBack(const CPlacementDlg& dlg, bool undo, std::time_t now) {
    const std::optional<RevertReport>& done = dlg.LastStepBack();
    if (!done) return {};
    return {Format(TextId::StatusStepBack, {ClockText(now), Text(undo ? TextId::OperationUndo : TextId::OperationRedo),
                                            std::to_string(done->step),
                                            Format(TextId::StatusFiles, {std::to_string(done->files)})}),
            false};
}

StatusLine StatusAfterBulkEdit(const CPlacementDlg& dlg, const CPlacementDlg::BulkEditOutcome& done,
                               TextId operation, std::time_t now) {
    if (!done.written) return {};
    WriteStatus status;
    status.when = now;
    status.operation = WriteOperation::Modify;
    status.files = done.files;
    status.rows = done.changed;
    status.listRows = dlg.Rows().Count();
    return {std::string(Text(operation)) + "  " + FormatWriteStatus(status, dlg.ServerPath()), !done.refused.empty()};
}

}  // namespace morvi
