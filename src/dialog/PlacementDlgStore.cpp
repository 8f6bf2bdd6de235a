// Saving and deleting: the edit area becomes a draft for the document, and the document's
// results and error codes become the window's texts.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/text/GbkCodec.h"
#include "data/text/IntegerText.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/DocumentTexts.h"
#include "document/NameTables.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

// The current text of a drop-down list: empty when nothing is selected.
std::string ComboText(const DialogHost& host, int id) {
    const int selected = host.ComboSelection(id);
    return selected < 0 ? std::string() : host.ComboItemText(id, selected);
}

SaveOutcome NothingWritten(SaveOutcome::Why why, std::optional<DocumentError> error = std::nullopt) {
    SaveOutcome outcome;
    outcome.kind = SaveOutcome::Kind::NothingWritten;
    outcome.why = why;
    if (error) {
        outcome.reason = error->file;
        if (!error->system.empty()) outcome.reason += (outcome.reason.empty() ? "" : ": ") + error->system;
    }
    outcome.error = std::move(error);
    return outcome;
}

// The hint of a write that did not happen: the history's own when it could not record the
// change, else the window's save failure.
std::string WriteFailureHint(const DocumentError& error) {
    if (error.code == DocumentErrorCode::HistoryFailed) return Format(TextId::HistoryFailed, {error.system});
    return std::string(Text(TextId::SaveFailed));
}

// The hint that names a row whose record stayed in its file.
std::string DeleteFailureHint(const DeleteReport::Row& row) {
    const std::string name = Format(TextId::DeleteRowFailed, {GbkToUtf8(row.record.block.Name())});
    switch (row.status) {
        case DeleteReport::RowStatus::FileUnreadable: return name + Format(TextId::DeleteFileUnreadable, {row.file});
        case DeleteReport::RowStatus::NoMatchingRecord:
            return name + Format(TextId::DeleteNoMatchingRecord, {row.file});
        case DeleteReport::RowStatus::WriteFailed:
            return row.historyHint.empty() ? std::string(Text(TextId::DeleteWriteFailed)) : row.historyHint;
        case DeleteReport::RowStatus::Removed: break;
    }
    return name;
}

// Up to this many rows a delete sets every hint and recount text row by row; beyond it only
// those that can be seen (and progress while the files are rewritten).
constexpr size_t kEveryDeleteText = 1000;

// The hint a row's removal leaves in the hint line.
void ShowDeleteHintOn(DialogHost& host, const DeleteReport::Row& entry) {
    if (entry.status == DeleteReport::RowStatus::Removed) {
        if (!entry.record.block.HasScript()) host.SetItemText(IDC_HINT, std::string(Text(TextId::DeleteDoneNoScript)));
        host.SetItemText(IDC_HINT, Format(TextId::DeleteRowDone, {GbkToUtf8(entry.record.block.Name())}));
    } else if (entry.status == DeleteReport::RowStatus::WriteFailed) {
        host.SetItemText(IDC_HINT, DeleteFailureHint(entry));
    }
}

// The progress caption of a long delete: the load's, with the share done in hundredths.
std::string ProgressCaption(size_t percent) {
    return percent == 0 ? std::string(Text(TextId::LoadProgressEmpty))
                        : Format(TextId::LoadProgress, {std::to_string(percent)});
}

}  // namespace

PlacementDraft CPlacementDlg::DraftFromEditArea(bool modifying) const {
    PlacementDraft draft;
    draft.templateIndex = m_session.templateIndex;
    draft.name = m_host.ItemText(IDC_NAME);
    draft.posX = CoordinateTextToInt(m_host.ItemText(IDC_POS_X));
    draft.posY = CoordinateTextToInt(m_host.ItemText(IDC_POS_Y));
    // An empty offset is drawn at random.
    auto offset = [](const std::string& text) {
        return text.empty() ? OffsetChoice::Drawn() : OffsetChoice::Of(LeadingNumberToInt(text));
    };
    draft.offsetX = offset(m_host.ItemText(IDC_OFFSET_X));
    draft.offsetY = offset(m_host.ItemText(IDC_OFFSET_Y));

    // A field the user left as BeginEdit filled it is not set, so the record keeps its own
    // stored value: the combos cannot show codes without a name, and the field shows a script
    // path converted. A clone keeps them the same way, from the record it copies.
    const EditBaseline& base = m_session.baseline;
    const bool fromRow = (modifying || m_session.clone) && base.valid;
    // A modify stores the codes the row holds (named or not), even where the file's copy was
    // damaged since the load; a clone starts from the row's record, which holds them.
    auto code = [&](int id, int baseSelection, int rowCode,
                    std::span<const std::string_view> names) -> std::optional<int> {
        if (fromRow && m_host.ComboSelection(id) == baseSelection)
            return modifying ? std::optional<int>(rowCode) : std::nullopt;
        return CodeOfName(names, ComboText(m_host, id));
    };
    draft.type = code(IDC_TYPE, base.typeSelection, base.type, NpcTypeNames());
    draft.group = code(IDC_GROUP, base.groupSelection, base.group, NpcGroupNames());
    draft.series = code(IDC_SERIES, base.seriesSelection, base.series, NpcSeriesNames());

    // An empty drop count: 0 for a new placement; a changed one gets its type's default.
    const std::string drop = m_host.ItemText(IDC_DROP);
    draft.drop = drop.empty() ? (modifying ? DropChoice::ForType() : DropChoice::Of(0))
                              : DropChoice::Of(LeadingNumberToInt(drop));
    const std::string script = m_host.ItemText(IDC_SCRIPT);
    if (!(fromRow && script == base.script))
        draft.script = script;
    else if (modifying)
        // A script path left as it was is stored as the row holds it, byte for byte, even where
        // the file's copy was damaged since the load.
        draft.storedScript = base.storedScript;
    return draft;
}

SaveOutcome CPlacementDlg::Refused(const DocumentError& error) {
    const std::optional<DraftRefusal> refusal = DraftRefusalOf(error);
    SaveOutcome outcome;
    outcome.kind = SaveOutcome::Kind::Refused;
    outcome.error = error;
    outcome.hint = Text(refusal ? refusal->hint : TextId::SaveFailed);
    m_host.SetItemText(IDC_HINT, outcome.hint);
    if (refusal) m_host.FocusItem(refusal->focus);
    return outcome;
}

SaveOutcome CPlacementDlg::AddPlacement() {
    const PlacementDraft draft = DraftFromEditArea(false);
    const std::optional<std::string> directory = SelectedMapDirectory();
    AddOptions options;
    // A clone goes next to its source; the command line may name the file; else the random
    // choice among the selected map's files.
    options.targetFile = m_session.clone ? m_session.clone->file : m_addTargetFile;
    options.mapDirectory = directory.value_or(std::string());
    // A clone starts from its source's bytes: codes and a script left as they were come from
    // there, and so do the bytes no field shows. A plain new record starts from zeros.
    if (m_session.clone) options.base = m_session.clone->record;

    const Expected<AddResult, DocumentError> added = Document().Add(draft, options);
    if (!added) {
        const DocumentError& error = added.error();
        if (DraftRefusalOf(error) || error.code == DocumentErrorCode::CodeOutOfRange) return Refused(error);
        if (error.code == DocumentErrorCode::NoRegionFile || error.code == DocumentErrorCode::NoMap)
            return NothingWritten(directory ? SaveOutcome::Why::Document : SaveOutcome::Why::NoMapSelected, error);
        if (m_debugMode) m_host.SetItemText(IDC_FRAME, Format(TextId::DebugModeCaption, {error.file}));
        m_host.SetItemText(IDC_HINT, WriteFailureHint(error));
        return NothingWritten(SaveOutcome::Why::Document, error);
    }

    if (m_debugMode) m_host.SetItemText(IDC_FRAME, Format(TextId::DebugModeCaption, {added->file}));
    m_host.Placements().RepaintNow();
    if (!m_host.IsItemChecked(IDC_CONTINUE)) ResetEditArea();
    ShowChangedSinceLoadHint();

    SaveOutcome outcome;
    outcome.kind = SaveOutcome::Kind::Written;
    outcome.file = added->file;
    outcome.record = added->record;
    outcome.row = added->row;
    return outcome;
}

SaveOutcome CPlacementDlg::ModifyPlacement() {
    const PlacementDraft draft = DraftFromEditArea(true);
    const std::optional<int> row = m_session.row >= 0 ? std::optional<int>(m_session.row) : std::nullopt;
    const Expected<ModifyResult, DocumentError> modified =
        Document().Modify(m_session.key, m_session.file, draft, row);
    if (!modified) {
        const DocumentError& error = modified.error();
        if (DraftRefusalOf(error) || error.code == DocumentErrorCode::CodeOutOfRange) return Refused(error);
        switch (error.code) {
            // A file that cannot be read, or no record with the key: nothing written, still editing.
            case DocumentErrorCode::FileUnreadable:
            case DocumentErrorCode::KeyNotFound: break;
            default: m_host.SetItemText(IDC_HINT, WriteFailureHint(error)); break;
        }
        return NothingWritten(SaveOutcome::Why::Document, error);
    }

    m_host.Placements().RepaintNow();
    const std::string file = m_session.file;
    ResetEditArea();
    ShowChangedSinceLoadHint();

    SaveOutcome outcome;
    outcome.kind = SaveOutcome::Kind::Written;
    outcome.file = file;
    outcome.record = modified->record;
    outcome.row = modified->row;
    return outcome;
}

std::optional<DeleteReport> CPlacementDlg::OnDelete() {
    const MessageAnswer answer =
        m_host.ShowMessage(std::string(Text(TextId::DeleteQuestion)), std::string(Text(TextId::DeleteCaption)),
                           MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageAnswer::Yes) return std::nullopt;

    DeleteReport report = RemoveSelectedFromFiles();
    ShowDeleteOutcome(report);
    return report;
}

void CPlacementDlg::ShowDeleteOutcome(const DeleteReport& report) {
    // The rows whose record left its file have left the list, bottom row first; the others
    // stay, still selected, so the list never hides a placement the server still spawns.
    std::vector<int> rows;
    for (const DeleteReport::Row& row : report.rows)
        if (row.status == DeleteReport::RowStatus::Removed) rows.push_back(row.row);
    std::sort(rows.begin(), rows.end());
    const size_t gone = static_cast<size_t>(std::unique(rows.begin(), rows.end()) - rows.begin());
    const int after = Rows().Count();
    // The recount after each row, as the list shrinks; beyond kEveryDeleteText rows nobody can
    // read them all (nothing is painted in between), so one in each hundredth is shown.
    const size_t stride = gone <= kEveryDeleteText ? 1 : gone / 100;
    for (size_t i = 0; i < gone; ++i) {
        if (stride > 1 && i % stride != 0 && i + 1 != gone) continue;
        const int left = after + static_cast<int>(gone - 1 - i);
        m_host.SetItemText(IDC_FRAME, Format(TextId::DeleteRecounting, {std::to_string(left)}));
    }
    if (!report.AllRemoved()) {
        // The count of what was done stays in view, and the hint names the first failure.
        m_host.SetItemText(IDC_FRAME, Format(TextId::DeleteCounts, {std::to_string(report.selected),
                                                                    std::to_string(report.removed)}));
        for (const DeleteReport::Row& row : report.rows) {
            if (row.status == DeleteReport::RowStatus::Removed) continue;
            m_host.SetItemText(IDC_HINT, DeleteFailureHint(row));
            break;
        }
        // The failure stays in view rather than the note about outside changes.
        return;
    }
    m_host.SetItemText(IDC_FRAME, Format(TextId::RowsNow, {std::to_string(after)}));
    ShowChangedSinceLoadHint();
}

DeleteReport CPlacementDlg::RemoveSelectedFromFiles() {
    // The placements of the rows shown selected, in the list's order (the list may be sorted or
    // narrowed).
    const std::vector<int> selected = SelectedStoreRows();
    // One step of the history however many rows and files: one undo takes it back. The
    // frame shows how far it got (as a load does) while the files are rewritten.
    size_t shown = SIZE_MAX;
    const WorkProgress progress = [&](size_t done, size_t total) {
        const size_t percent = total == 0 ? 100 : done * 100 / total;
        if (percent == shown) return;
        shown = percent;
        m_host.SetItemText(IDC_FRAME, ProgressCaption(percent));
        m_host.UpdateItemNow(IDC_FRAME);
    };
    Expected<RemoveReport, DocumentError> removed =
        Document().Delete(selected, selected.size() > kEveryDeleteText ? progress : WorkProgress());

    DeleteReport report;
    report.selected = static_cast<int>(selected.size());
    if (removed) {
        report.rows.reserve(removed->rows.size());
        for (RemovedRow& done : removed->rows) {
            DeleteReport::Row row;
            row.row = done.row;
            row.file = std::move(done.ref.file);
            row.key = done.ref.key;
            row.record = std::move(done.record);
            row.error = done.error;
            if (!done.error) {
                row.status = DeleteReport::RowStatus::Removed;
            } else if (done.error->code == DocumentErrorCode::FileUnreadable) {
                row.status = DeleteReport::RowStatus::FileUnreadable;
                row.reason = Format(TextId::DeleteReasonUnreadable, {row.file});
            } else if (done.error->code == DocumentErrorCode::KeyNotFound) {
                row.status = DeleteReport::RowStatus::NoMatchingRecord;
                row.reason = Text(TextId::DeleteReasonNoRecord);
            } else {
                row.status = DeleteReport::RowStatus::WriteFailed;
                row.reason = done.error->system.empty()
                                 ? std::string(Text(TextId::DeleteReasonWriteFailed))
                                 : Format(TextId::DeleteReasonWriteFailedBecause, {done.error->system});
                if (done.error->code == DocumentErrorCode::HistoryFailed) row.historyHint = WriteFailureHint(*done.error);
                // No temporary file was involved when no writer lock could be had: say what was.
                if (done.error->code == DocumentErrorCode::LockFailed)
                    row.historyHint =
                        Format(TextId::DeleteRowFailed, {GbkToUtf8(row.record.block.Name())}) + " " + done.error->system;
            }
            report.rows.push_back(std::move(row));
        }
    }

    // The hint line as each row's removal left it. Beyond kEveryDeleteText rows only the texts
    // that stay in view are set: nothing is painted between them.
    const bool everyText = report.rows.size() <= kEveryDeleteText;
    const DeleteReport::Row* last = nullptr;
    for (const DeleteReport::Row& entry : report.rows) {
        if (entry.status == DeleteReport::RowStatus::Removed) {
            ++report.removed;
            last = &entry;
        } else if (entry.status == DeleteReport::RowStatus::WriteFailed) {
            last = &entry;
        } else {
            continue;
        }
        if (everyText) ShowDeleteHintOn(m_host, *last);
    }
    if (!everyText && last) ShowDeleteHintOn(m_host, *last);
    m_host.SetItemText(IDC_FRAME, Format(TextId::DeleteCounts, {std::to_string(report.selected),
                                                                std::to_string(report.removed)}));
    return report;
}

}  // namespace morvi
