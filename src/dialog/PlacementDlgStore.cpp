#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "data/region/MapRegionFiles.h"
#include "data/text/GbkCodec.h"
#include "data/region/RegionFile.h"
#include "data/region/RegionImageEdit.h"
#include "data/server/ServerPath.h"
#include "dialog/CPlacementDlg.h"

namespace morvi {
namespace {

constexpr char kSaveFailedHint[] = "打开地图文件发生错误,保存失败!";
constexpr char kDeleteWriteFailedHint[] = "删除地图NPC时建立临时文件失败!NPC未删除!";

// The current text of a drop-down list: empty when nothing is selected.
std::string ComboText(const DialogHost& host, int id) {
    const int selected = host.ComboSelection(id);
    return selected < 0 ? std::string() : host.ComboItemText(id, selected);
}

SaveOutcome NothingWritten(std::string reason) {
    SaveOutcome outcome;
    outcome.kind = SaveOutcome::Kind::NothingWritten;
    outcome.reason = std::move(reason);
    return outcome;
}

std::string WithError(const char* what, const std::string& error) {
    return error.empty() ? std::string(what) : std::string(what) + ": " + error;
}

// The hint that names a row whose record stayed in its file.
std::string DeleteFailureHint(const DeleteReport::Row& row) {
    const std::string name = "删除NPC[" + GbkToUtf8(row.record.block.Name()) + "]失败!";
    switch (row.status) {
        case DeleteReport::RowStatus::FileUnreadable: return name + "无法读取地图文件" + row.file;
        case DeleteReport::RowStatus::NoMatchingRecord: return name + "地图文件里找不到该NPC" + row.file;
        case DeleteReport::RowStatus::WriteFailed:
            return row.historyHint.empty() ? std::string(kDeleteWriteFailedHint) : row.historyHint;
        case DeleteReport::RowStatus::Removed: break;
    }
    return name;
}

PlacementKey KeyOf(const NpcPlacement& p) {
    return PlacementKey{p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
}

std::string RecordBytes(const PlacementRecord& record) {
    std::string bytes;
    AppendPlacementBytes(bytes, record.block, record.script);
    return bytes;
}

// A file the step could not write, as the outcome the window reports.
RegionResult NotWrittenOutcome(const FileWriteResult& file) {
    return {RegionOutcome::WriteFailed, file.reason};
}

bool WrittenOrSame(const FileWriteResult& file) {
    return file.status == FileWriteStatus::Written || file.status == FileWriteStatus::Unchanged;
}

}  // namespace

RegionResult CPlacementDlg::WriteRegionEdit(const std::string& operation, const std::string& path,
                                            const RecordEdit& edit, std::string* historyHint) {
    std::optional<RegionImageEdit> image = RegionImageEdit::Load(path);
    if (!image) return {RegionOutcome::OpenFailed, "cannot open " + path};
    FileChange change;
    change.path = path;
    change.before = image->Image();
    RecordChange record;
    const RegionEditResult done = edit(*image, record);
    if (!done.ok()) return RegionEditOutcome(path, done);
    change.after = image->Image();
    change.records.push_back(std::move(record));
    const StepResult step = WriteStep(operation, {change});
    const FileWriteResult& file = step.files.front();
    if (WrittenOrSame(file)) return {RegionOutcome::Done, {}};
    if (historyHint) *historyHint = HistoryFailureHint(file);
    return NotWrittenOutcome(file);
}

EditFields CPlacementDlg::ReadEditFields() const {
    EditFields fields;
    fields.name = m_host.ItemText(IDC_NAME);
    fields.posX = m_host.ItemText(IDC_POS_X);
    fields.posY = m_host.ItemText(IDC_POS_Y);
    fields.offsetX = m_host.ItemText(IDC_OFFSET_X);
    fields.offsetY = m_host.ItemText(IDC_OFFSET_Y);
    fields.drop = m_host.ItemText(IDC_DROP);
    fields.script = m_host.ItemText(IDC_SCRIPT);
    fields.type = ComboText(m_host, IDC_TYPE);
    fields.group = ComboText(m_host, IDC_GROUP);
    fields.series = ComboText(m_host, IDC_SERIES);
    // A field the user left as BeginEdit filled it keeps the record's own stored value: the
    // combos cannot show codes without a name, and the field shows a script path converted.
    // A clone keeps them the same way, from the record it copies.
    if ((m_editMode == EDIT_MODIFY || (m_editMode == EDIT_ADD && m_clone)) && m_baseline.valid) {
        fields.keepType = m_host.ComboSelection(IDC_TYPE) == m_baseline.typeSelection;
        fields.keepGroup = m_host.ComboSelection(IDC_GROUP) == m_baseline.groupSelection;
        fields.keepSeries = m_host.ComboSelection(IDC_SERIES) == m_baseline.seriesSelection;
        fields.keepScript = fields.script == m_baseline.script;
    }
    return fields;
}

SaveOutcome CPlacementDlg::Refused(const EditRefusal& refusal) {
    m_host.SetItemText(IDC_HINT, refusal.hint);
    m_host.FocusItem(refusal.focusId);
    SaveOutcome outcome;
    outcome.kind = SaveOutcome::Kind::Refused;
    outcome.hint = refusal.hint;
    return outcome;
}

SaveOutcome CPlacementDlg::AddPlacement() {
    SeedRandom();
    std::variant<EditValues, EditRefusal> checked =
        CheckEditFields(ReadEditFields(), [this] { return NextRandom(); });
    if (const EditRefusal* refusal = std::get_if<EditRefusal>(&checked)) return Refused(*refusal);
    const EditValues& in = std::get<EditValues>(checked);

    const std::optional<std::string> directory = SelectedMapDirectory();
    if (!directory) return NothingWritten("no map selected");
    // A clone goes next to its source; the command line may name the file; else the random choice.
    std::string path = m_clone ? m_clone->file : m_addTargetFile;
    if (path.empty()) {
        const std::vector<std::string> files = ListMapRegionFiles(*directory);
        if (files.empty()) return NothingWritten("no region file");

        // The file-choice rule: r - 1 for a random r below n, and 0 for r = 0, so with two or
        // more files the last one is never chosen.
        const int n = static_cast<int>(files.size());
        const int r = NextRandom() % n;
        const int index = r - 1 < 0 ? 0 : r - 1;
        path = files[static_cast<size_t>(index)];
    }

    // A clone starts from its source's bytes: kept codes and a kept script come from there, and
    // so do the bytes no field shows. A plain new record starts from zeros.
    PlacementRecord record = m_clone ? m_clone->record : PlacementRecord{};
    ApplyEditValues(record, in, m_curTemplate, EditPurpose::Add);

    if (m_debugMode) m_host.SetItemText(IDC_FRAME, "[调试模式]" + path);
    m_changedSinceLoad.clear();
    CheckChangedSinceLoad(path);
    std::string historyHint;
    const RegionResult result = WriteRegionEdit(
        "add", path,
        [&](RegionImageEdit& image, RecordChange& change) {
            const RegionEditResult done = image.Append(record);
            change = {KeyOf(done.record.block), {}, RecordBytes(done.record)};
            return done;
        },
        &historyHint);
    if (!result.ok()) {
        m_host.SetItemText(IDC_HINT, historyHint.empty() ? kSaveFailedHint : historyHint);
        return NothingWritten(WithError(result.outcome == RegionOutcome::OpenFailed ? "open failed" : "write failed",
                                        result.error));
    }

    ShowPlacementRow(-1, record.block, record.script, path);
    m_host.Placements().RepaintNow();
    if (!m_host.IsItemChecked(IDC_CONTINUE)) ResetEditArea();
    ShowChangedSinceLoadHint();

    SaveOutcome outcome;
    outcome.kind = SaveOutcome::Kind::Written;
    outcome.file = path;
    outcome.record = std::move(record);
    outcome.row = 0;
    return outcome;
}

SaveOutcome CPlacementDlg::ModifyPlacement() {
    SeedRandom();
    std::variant<EditValues, EditRefusal> checked =
        CheckEditFields(ReadEditFields(), [this] { return NextRandom(); });
    if (const EditRefusal* refusal = std::get_if<EditRefusal>(&checked)) return Refused(*refusal);
    EditValues in = std::get<EditValues>(checked);
    // A script path left as it was is stored as the row holds it, byte for byte, even where
    // the file's copy was damaged since the load.
    if (in.keepScript) {
        in.keepScript = false;
        in.script = m_baseline.storedScript;
    }
    // Likewise the codes of combos left as they were, names or not.
    if (in.keepType) in.keepType = false, in.type = m_baseline.type;
    if (in.keepGroup) in.keepGroup = false, in.group = m_baseline.group;
    if (in.keepSeries) in.keepSeries = false, in.series = m_baseline.series;

    PlacementRecord written;
    m_changedSinceLoad.clear();
    CheckChangedSinceLoad(m_editFile);
    std::string historyHint;
    const RegionResult result = WriteRegionEdit(
        "modify", m_editFile,
        [&](RegionImageEdit& image, RecordChange& change) {
            std::string oldBytes;
            const RegionEditResult done = image.Modify(EditKey(), [&](const PlacementRecord& old) {
                oldBytes = RecordBytes(old);
                written = old;
                ApplyEditValues(written, in, m_curTemplate, EditPurpose::Modify);
                return written;
            });
            change = {EditKey(), oldBytes, RecordBytes(done.record)};
            return done;
        },
        &historyHint);

    switch (result.outcome) {
        case RegionOutcome::Done: break;
        case RegionOutcome::WriteFailed:
        case RegionOutcome::NotTiled:
            m_host.SetItemText(IDC_HINT, historyHint.empty() ? kSaveFailedHint : historyHint);
            return NothingWritten(WithError("write failed", result.error));
        // A file that cannot be opened, or no record with the key: nothing written, still editing.
        case RegionOutcome::OpenFailed: return NothingWritten(WithError("open failed", result.error));
        case RegionOutcome::NotFound: return NothingWritten("key not found");
    }

    const int row = m_editRow;
    if (row >= 0) ShowPlacementRow(row, written.block, written.script);
    m_host.Placements().RepaintNow();
    ResetEditArea();
    ShowChangedSinceLoadHint();

    SaveOutcome outcome;
    outcome.kind = SaveOutcome::Kind::Written;
    outcome.file = m_editFile;
    outcome.record = std::move(written);
    outcome.row = row;
    return outcome;
}

std::optional<DeleteReport> CPlacementDlg::OnDelete() {
    const MessageAnswer answer = m_host.ShowMessage(
        "删除操作将直接操作文件,不可恢复.确定要从地图里删除选定的NPC么?", "从地图里移出NPC",
        MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageAnswer::Yes) return std::nullopt;

    DeleteReport report = RemoveSelectedFromFiles();
    ShowDeleteOutcome(report);
    return report;
}

void CPlacementDlg::ShowDeleteOutcome(const DeleteReport& report) {
    PlacementListHost& list = m_host.Placements();
    // Only rows whose record left its file leave the list; the others stay, still selected,
    // so the list never hides a placement the server still spawns. From the bottom up, so the
    // indices still to delete stay valid.
    for (auto it = report.rows.rbegin(); it != report.rows.rend(); ++it) {
        if (it->status != DeleteReport::RowStatus::Removed) continue;
        m_rows.Erase(it->row);
        list.RowRemoved(it->row);
        if (it->row == m_editRow)
            m_editRow = -1;
        else if (it->row < m_editRow)
            --m_editRow;
        m_host.SetItemText(IDC_FRAME, "NPC删除完成!正在重新计算NPC信息,现有NPC信息[" +
                                          std::to_string(m_rows.Count()) + "]条!");
    }
    if (!report.AllRemoved()) {
        // The count of what was done stays in view, and the hint names the first failure.
        m_host.SetItemText(IDC_FRAME, "选择删除[" + std::to_string(report.selected) + "]条,实际完成[" +
                                          std::to_string(report.removed) + "]条!");
        for (const DeleteReport::Row& row : report.rows) {
            if (row.status == DeleteReport::RowStatus::Removed) continue;
            m_host.SetItemText(IDC_HINT, DeleteFailureHint(row));
            break;
        }
        // The failure stays in view rather than the note about outside changes.
        return;
    }
    m_host.SetItemText(IDC_FRAME, "现有NPC配置信息[" + std::to_string(m_rows.Count()) + "]条!");
    ShowChangedSinceLoadHint();
}

DeleteReport CPlacementDlg::RemoveSelectedFromFiles() {
    PlacementListHost& list = m_host.Placements();
    DeleteReport report;
    m_changedSinceLoad.clear();

    // The rows are cut out of in-memory images of their files, which are then written through
    // the history as one step: a delete of many rows is taken back by one undo.
    struct FileWork {
        std::optional<RegionImageEdit> image;   // nullopt: the file could not be read
        std::string before;
        std::vector<RecordChange> records;
        std::vector<size_t> rows;               // indices into report.rows removed from it
    };
    std::map<std::string, FileWork> work;
    std::vector<std::string> order;   // files in the order rows first named them
    for (int row = list.NextSelectedRow(-1); row >= 0; row = list.NextSelectedRow(row)) {
        if (row >= m_rows.Count()) break;
        ++report.selected;
        DeleteReport::Row entry;
        entry.row = row;
        entry.file = m_rows.File(row);
        entry.key = KeyOf(m_rows.Block(row));
        entry.record = m_rows.Record(row);

        auto [at, first] = work.try_emplace(entry.file);
        FileWork& file = at->second;
        if (first) {
            order.push_back(entry.file);
            CheckChangedSinceLoad(entry.file);
            file.image = RegionImageEdit::Load(entry.file);
            if (file.image) file.before = file.image->Image();
        }
        if (!file.image) {
            entry.status = DeleteReport::RowStatus::FileUnreadable;
            entry.reason = WithError("cannot read the region file", "cannot open " + entry.file);
        } else {
            RegionEditResult done = file.image->Remove(entry.key);
            if (done.ok()) {
                entry.status = DeleteReport::RowStatus::Removed;
                file.records.push_back({entry.key, RecordBytes(done.record), {}});
                file.rows.push_back(report.rows.size());
                entry.record = std::move(done.record);
            } else {
                entry.status = DeleteReport::RowStatus::NoMatchingRecord;
                entry.reason = "no record in the file matches the row";
            }
        }
        report.rows.push_back(std::move(entry));
    }

    std::vector<FileChange> changes;
    for (const std::string& path : order) {
        FileWork& file = work[path];
        if (file.rows.empty()) continue;
        changes.push_back({path, {}, file.before, file.image->Image(), file.records});
    }
    // Rows of a file the step could not write stay in it.
    if (!changes.empty()) {
        const StepResult step = WriteStep("delete", changes);
        for (const FileWriteResult& written : step.files) {
            if (WrittenOrSame(written)) continue;
            for (size_t index : work[written.path].rows) {
                DeleteReport::Row& entry = report.rows[index];
                entry.status = DeleteReport::RowStatus::WriteFailed;
                entry.reason = WithError("write failed", written.reason);
                entry.record = m_rows.Record(entry.row);
                entry.historyHint = HistoryFailureHint(written);
            }
        }
    }

    // The hint line as each row's removal left it.
    for (size_t i = 0; i < report.rows.size(); ++i) {
        const DeleteReport::Row& entry = report.rows[i];
        if (entry.status == DeleteReport::RowStatus::Removed) {
            if (!entry.record.block.HasScript()) m_host.SetItemText(IDC_HINT, "删除NPC完成!");
            m_host.SetItemText(IDC_HINT, "删除NPC[" + GbkToUtf8(entry.record.block.Name()) + "]成功!");
            ++report.removed;
        } else if (entry.status == DeleteReport::RowStatus::WriteFailed) {
            m_host.SetItemText(IDC_HINT, DeleteFailureHint(entry));
        }
    }
    m_host.SetItemText(IDC_FRAME, "选择删除[" + std::to_string(report.selected) + "]条,实际完成[" +
                                      std::to_string(report.removed) + "]条!");
    return report;
}

}  // namespace morvi
