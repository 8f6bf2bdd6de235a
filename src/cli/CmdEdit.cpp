// `add`, `set`, `clone` and `rm`: the window's save and delete, driven through its own handlers so the
// checks, the texts and the bytes written are the window's.

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/EditFields.h"
#include "cli/RowOutput.h"
#include "data/text/GbkCodec.h"
#include "data/region/ListingRule.h"
#include "dialog/WriteStatus.h"

namespace morvi::cli {
namespace {

void PrintRow(const Session& session, int row, std::ostream& out) {
    RowPrintOptions print;
    print.fileText = [&session](const std::string& path) { return session.RelativeFile(path); };
    print.first = row;
    print.count = 1;
    PrintRows(session.dlg.Rows(), print, out);
}

// The window writes what it is given but leaves these placements out the next time the map
// loads; say so rather than let the placement seem to vanish.
void WarnIfHidden(const NpcPlacement& written, int templateCount, std::ostream& err) {
    const std::vector<std::string> reasons = BrokenListingRules(written, templateCount);
    if (reasons.empty()) return;
    std::string text;
    for (const std::string& r : reasons) text += (text.empty() ? "" : "; ") + r;
    err << "morvinpc: warning: written, but the window will not list this placement (" << text << ")\n";
}

// A copy left on its source's spot shares the source's key: `set` and `rm` would only ever
// reach the first of the records, so the operator is told.
void WarnIfKeyShared(const Session& session, const SaveOutcome& saved, std::ostream& err) {
    const NpcPlacement& p = saved.record.block;
    const PlacementKey key{p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
    for (const DuplicateKey& d : FindDuplicateKeysInFile(saved.file)) {
        if (!(d.key == key)) continue;
        err << "morvinpc: warning: " << session.RelativeFile(saved.file) << " now holds " << d.count
            << " records with the key " << key.templateIndex << "," << key.posX << "," << key.posY << ","
            << key.offsetX << "," << key.offsetY << "; set and rm reach only the first of them\n";
    }
}

// Why a save wrote nothing, for the operator.
std::string NotWritten(const SaveOutcome& outcome, const std::string& fallback) {
    if (outcome.kind == SaveOutcome::Kind::Refused) return outcome.hint;
    return outcome.reason.empty() ? fallback : "morvinpc: " + outcome.reason + "; " + fallback;
}

std::string DeleteFailure(const Session& session, const DeleteReport::Row& row) {
    std::string what;
    switch (row.status) {
    case DeleteReport::RowStatus::FileUnreadable: what = "cannot read the file"; break;
    case DeleteReport::RowStatus::NoMatchingRecord: what = "no such record in the file (changed since it was read?)"; break;
    case DeleteReport::RowStatus::WriteFailed: what = "the file could not be written"; break;
    case DeleteReport::RowStatus::Removed: break;
    }
    if (!row.reason.empty()) what += ": " + row.reason;
    RowTexts cells = RecordTexts(row.record, session.RelativeFile(row.file));
    return "morvinpc: not removed " + KeyText(cells) + " \"" + EscapeUndecodable(cells[COL_NAME]) + "\": " + what;
}

// Opens the server, loads the map and finds the row of the keyed record (the one `set` would
// change): kExitOk with `row` set, else the exit status after a message on `err`.
int OpenKeyedRow(const CommonOptions& common, const std::string& map, const std::string& keyText,
                 std::ostream& err, std::unique_ptr<Session>& session, std::optional<KeyArgument>& key,
                 int& row) {
    session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;
    std::string error;
    key = ParseKeyArgument(*session, keyText, &error);
    if (!key) {
        err << "morvinpc: " << error << "\n";
        return kExitUsage;
    }
    session->LoadMap(index);
    row = FindRow(*session, *key);
    if (row < 0) {
        err << "morvinpc: no placement of map " << map << " matches " << keyText << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

// The command read the file when it loaded the map; another program changed it before the write.
void WarnIfChangedSinceRead(const Session& session, std::ostream& err) {
    for (const std::string& path : session.dlg.ChangedSinceLoad())
        err << "morvinpc: warning: " << session.RelativeFile(path)
            << " was changed by another program since it was read; list the map again to see it as it is\n";
}

// The end every edit command shares: the edit area takes the options, the window saves, and
// the saved row is printed. `nothingWritten` says what a save that wrote nothing means here.
int FillSaveAndPrint(Session& session, const FieldOptions& fields, int shownRow, const std::string& nothingWritten,
                     bool warnIfChangedSinceRead, std::ostream& out, std::ostream& err, SaveOutcome& saved) {
    std::string error;
    if (!FillEditArea(session.host, fields, &error)) {
        err << "morvinpc: " << error << "\n";
        return kExitUsage;
    }
    saved = session.dlg.OnSave();
    if (warnIfChangedSinceRead) WarnIfChangedSinceRead(session, err);
    if (!saved.Written()) {
        err << NotWritten(saved, nothingWritten) << "\n";
        return kExitFailed;
    }
    PrintRow(session, saved.row < 0 ? shownRow : saved.row, out);
    WarnIfHidden(saved.record.block, session.TemplateCount(), err);
    return kExitOk;
}

}  // namespace

int RunAdd(const CommonOptions& common, const std::string& map, std::optional<int> templateIndex,
           const std::optional<std::string>& file, const FieldOptions& fields, std::ostream& out,
           std::ostream& err) {
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;
    MemoryHost& host = session->host;
    CPlacementDlg& dlg = session->dlg;

    if (file) {
        // Only a region file of this map: the window never writes anywhere else.
        const std::string wanted = session->FullFile(UnescapeUndecodable(*file));
        std::string match;
        for (const std::string& path : session->MapRegionFiles(index))
            if (SameFile(path, wanted)) match = path;
        if (match.empty()) {
            err << "morvinpc: " << *file << " is not a region file of map " << map << "\n";
            return kExitUsage;
        }
        dlg.SetAddTargetFile(match);
    }
    host.SelectListBox(IDC_MAP_LIST, index);
    if (templateIndex) {
        // The stored index N is template N - 1 of the list: "Them" stores the position plus one.
        if (*templateIndex < 1 || *templateIndex > session->TemplateCount()) {
            err << "morvinpc: --template must lie between 1 and " << session->TemplateCount() << "\n";
            return kExitUsage;
        }
        host.SelectListBox(IDC_TEMPLATE_LIST, *templateIndex - 1);
    }

    dlg.OnAdd();
    if (dlg.EditMode() != EDIT_ADD) {
        err << host.Hint() << "\n";
        return kExitFailed;
    }
    SaveOutcome saved;
    return FillSaveAndPrint(*session, fields, 0, "nothing added to map " + map, false, out, err, saved);
}

int RunSet(const CommonOptions& common, const std::string& map, const std::string& keyText,
           const FieldOptions& fields, std::ostream& out, std::ostream& err) {
    std::unique_ptr<Session> session;
    std::optional<KeyArgument> key;
    int row = -1;
    if (const int status = OpenKeyedRow(common, map, keyText, err, session, key, row); status != kExitOk)
        return status;
    MemoryHost& host = session->host;
    CPlacementDlg& dlg = session->dlg;

    host.list.SelectOnly(row);
    dlg.BeginEdit();
    if (dlg.EditMode() != EDIT_MODIFY) {
        err << host.Hint() << "\n";
        return kExitFailed;
    }
    SaveOutcome saved;
    return FillSaveAndPrint(*session, fields, row,
                            "the placement is no longer in " + session->RelativeFile(key->file) +
                                " (changed since it was read?); nothing written",
                            true, out, err, saved);
}

int RunClone(const CommonOptions& common, const std::string& map, const std::string& keyText,
             const FieldOptions& fields, std::ostream& out, std::ostream& err) {
    std::unique_ptr<Session> session;
    std::optional<KeyArgument> key;
    int row = -1;
    if (const int status = OpenKeyedRow(common, map, keyText, err, session, key, row); status != kExitOk)
        return status;
    MemoryHost& host = session->host;
    CPlacementDlg& dlg = session->dlg;

    host.list.SelectOnly(row);
    dlg.OnClone();
    if (dlg.EditMode() != EDIT_ADD) {
        err << "morvinpc: the placement " << keyText << " could not be cloned\n";
        return kExitFailed;
    }
    SaveOutcome saved;
    const int status = FillSaveAndPrint(*session, fields, 0, "nothing added to " + session->RelativeFile(key->file),
                                        false, out, err, saved);
    if (status == kExitOk) WarnIfKeyShared(*session, saved, err);
    return status;
}

int RunRemove(const CommonOptions& common, const std::string& map, const std::vector<std::string>& keyTexts,
              std::ostream& out, std::ostream& err) {
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;
    std::vector<KeyArgument> keys;
    for (const std::string& text : keyTexts) {
        std::string error;
        const std::optional<KeyArgument> key = ParseKeyArgument(*session, text, &error);
        if (!key) {
            err << "morvinpc: " << error << "\n";
            return kExitUsage;
        }
        keys.push_back(*key);
    }
    MemoryHost& host = session->host;
    session->LoadMap(index);

    // Each KEY selects one row, from the bottom (file order); a KEY given twice selects the next
    // row with that key, as selecting two such rows in the window does.
    const PlacementRowStore& rows = session->dlg.Rows();
    std::vector<bool> selected(static_cast<size_t>(rows.Count()), false);
    for (size_t k = 0; k < keys.size(); ++k) {
        int found = -1;
        for (int row = rows.Count() - 1; row >= 0 && found < 0; --row)
            if (!selected[static_cast<size_t>(row)] && RowHasKey(rows, row, keys[k])) found = row;
        if (found < 0) {
            err << "morvinpc: no placement of map " << map << " matches " << keyTexts[k] << "; nothing removed\n";
            return kExitFailed;
        }
        selected[static_cast<size_t>(found)] = true;
    }
    host.list.ClearSelection();
    for (size_t row = 0; row < selected.size(); ++row)
        if (selected[row]) host.list.SelectRow(static_cast<int>(row));

    host.answers.push_back(MessageAnswer::Yes);   // the user asked for the deletion
    const std::optional<DeleteReport> report = session->dlg.OnDelete();
    WarnIfChangedSinceRead(*session, err);
    if (!report) {
        err << "morvinpc: the deletion was not confirmed; nothing removed\n";
        return kExitFailed;
    }
    for (const DeleteReport::Row& row : report->rows) {
        if (row.status == DeleteReport::RowStatus::Removed)
            out << "删除NPC[" << GbkToUtf8(row.record.block.Name()) << "]成功!\n";
        else
            err << DeleteFailure(*session, row) << "\n";
    }
    const std::string counts = "选择删除[" + std::to_string(report->selected) + "]条,实际完成[" +
                               std::to_string(report->removed) + "]条!";
    if (report->removed == 0 || !report->AllRemoved()) {
        err << counts << "\n";
        return kExitFailed;
    }
    out << counts << "\n";
    return kExitOk;
}

}  // namespace morvi::cli
