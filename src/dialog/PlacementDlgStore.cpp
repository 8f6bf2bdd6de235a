#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "data/MapRegionFiles.h"
#include "data/GbkCodec.h"
#include "data/RegionFile.h"
#include "data/ServerPath.h"
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
        case DeleteReport::RowStatus::WriteFailed: return kDeleteWriteFailedHint;
        case DeleteReport::RowStatus::Removed: break;
    }
    return name;
}

}  // namespace

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
    const RegionResult result = AppendPlacementToFile(path, record);
    if (!result.ok()) {
        m_host.SetItemText(IDC_HINT, kSaveFailedHint);
        return NothingWritten(WithError(result.outcome == RegionOutcome::OpenFailed ? "open failed" : "write failed",
                                        result.error));
    }

    ShowPlacementRow(-1, record.block, record.script, path);
    m_host.Placements().RepaintNow();
    if (!m_host.IsItemChecked(IDC_CONTINUE)) ResetEditArea();

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
    const RegionResult result =
        ModifyPlacementInFile(m_editFile, EditKey(), [&](const PlacementRecord& old) {
            written = old;
            ApplyEditValues(written, in, m_curTemplate, EditPurpose::Modify);
            return written;
        });

    switch (result.outcome) {
        case RegionOutcome::Done: break;
        case RegionOutcome::WriteFailed:
            m_host.SetItemText(IDC_HINT, kSaveFailedHint);
            return NothingWritten(WithError("write failed", result.error));
        // A file that cannot be opened, or no record with the key: nothing written, still editing.
        case RegionOutcome::OpenFailed: return NothingWritten(WithError("open failed", result.error));
        case RegionOutcome::NotFound: return NothingWritten("key not found");
    }

    const int row = m_editRow;
    if (row >= 0) ShowPlacementRow(row, written.block, written.script);
    m_host.Placements().RepaintNow();
    ResetEditArea();

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
        return;
    }
    m_host.SetItemText(IDC_FRAME, "现有NPC配置信息[" + std::to_string(m_rows.Count()) + "]条!");
}

DeleteReport CPlacementDlg::RemoveSelectedFromFiles() {
    PlacementListHost& list = m_host.Placements();
    DeleteReport report;
    for (int row = list.NextSelectedRow(-1); row >= 0; row = list.NextSelectedRow(row)) {
        if (row >= m_rows.Count()) break;
        ++report.selected;
        const NpcPlacement& p = m_rows.Block(row);
        DeleteReport::Row entry;
        entry.row = row;
        entry.file = m_rows.File(row);
        entry.key = PlacementKey{p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
        entry.record = m_rows.Record(row);

        PlacementRecord removed;
        const RegionResult result = RemovePlacementFromFile(entry.file, entry.key, &removed);
        switch (result.outcome) {
            case RegionOutcome::Done:
                entry.status = DeleteReport::RowStatus::Removed;
                entry.record = std::move(removed);
                if (!entry.record.block.HasScript()) m_host.SetItemText(IDC_HINT, "删除NPC完成!");
                m_host.SetItemText(IDC_HINT, "删除NPC[" + GbkToUtf8(entry.record.block.Name()) + "]成功!");
                ++report.removed;
                break;
            case RegionOutcome::WriteFailed:
                entry.status = DeleteReport::RowStatus::WriteFailed;
                entry.reason = WithError("write failed", result.error);
                m_host.SetItemText(IDC_HINT, kDeleteWriteFailedHint);
                break;
            // Nothing to show for the row here; the delete names the first failure at its end.
            case RegionOutcome::OpenFailed:
                entry.status = DeleteReport::RowStatus::FileUnreadable;
                entry.reason = WithError("cannot read the region file", result.error);
                break;
            case RegionOutcome::NotFound:
                entry.status = DeleteReport::RowStatus::NoMatchingRecord;
                entry.reason = "no record in the file matches the row";
                break;
        }
        report.rows.push_back(std::move(entry));
    }
    m_host.SetItemText(IDC_FRAME, "选择删除[" + std::to_string(report.selected) + "]条,实际完成[" +
                                      std::to_string(report.removed) + "]条!");
    return report;
}

}  // namespace morvi
