// `add`, `set`, `clone` and `rm`: the map document's add, modify and delete. Every option given
// is a field the user set; a field not given keeps what the record holds (for `add`, what an
// empty edit area gives a new placement in the window).

#include <chrono>
#include <random>
#include <thread>
#include <tuple>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/FieldArguments.h"
#include "cli/RowOutput.h"
#include "data/region/ListingRule.h"
#include "data/region/RegionRecordReader.h"
#include "data/text/GbkCodec.h"
#include "texts/ProgramTexts.h"

namespace morvi::cli {
namespace {

// Prints a written record as its row: the document's row when it shows one, else the record
// on its own (a map not loaded, or a row no longer there).
void PrintWritten(const Session& session, int row, const std::string& file, const PlacementRecord& record,
                  std::ostream& out) {
    RowPrintOptions print;
    print.fileText = [&session](const std::string& path) { return session.RelativeFile(path); };
    if (row >= 0 && row < session.Rows().Count()) {
        print.first = row;
        print.count = 1;
        PrintRows(session.Rows(), print, out);
        return;
    }
    PlacementRowStore single;
    single.InsertTop(single.InternFile(file), record.block, record.script);
    PrintRows(single, print, out);
}

// The window writes what it is given but leaves these placements out the next time the map
// loads; say so rather than let the placement seem to vanish.
void WarnIfHidden(const NpcPlacement& written, int templateCount, std::ostream& err) {
    const std::vector<std::string> reasons = BrokenListingRules(written, templateCount);
    if (reasons.empty()) return;
    err << kMessagePrefix << Format(TextId::CliWarnHidden, {Joined(reasons, TextId::CliListSeparator)}) << "\n";
}

// Counted records of the file with the key; 0 when it cannot be read.
int RecordsWithKey(const std::string& path, const PlacementKey& key) {
    RegionRecordReader reader;
    if (!reader.Open(path)) return 0;
    int count = 0;
    for (RegionRecord r; reader.Next(r);)
        if (key.Matches(r.block)) ++count;
    return count;
}

// A copy left on its source's spot shares the source's key: `set` and `rm` would only ever
// reach the first of the records, so the operator is told.
void WarnIfKeyShared(const Session& session, const std::string& file, const NpcPlacement& p, std::ostream& err) {
    const PlacementKey key{p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
    const int count = RecordsWithKey(file, key);
    if (count < 2) return;
    err << kMessagePrefix
        << Format(TextId::CliWarnKeyShared, {session.RelativeFile(file), std::to_string(count), KeyNumbers(key)})
        << "\n";
}

// The command read the files when it loaded the map; another program changed them before the write.
void WarnIfChangedSinceRead(const Session& session, std::ostream& err) {
    for (const std::string& path : session.document.ChangedSinceLoad())
        err << kMessagePrefix << Format(TextId::CliWarnChangedSinceRead, {session.RelativeFile(path)}) << "\n";
}

// The options as a draft; nullopt after the message (and `status` set) when they cannot be one.
std::optional<PlacementDraft> DraftOrMessage(const FieldOptions& fields, EmptyDrop emptyDrop, std::ostream& err,
                                             int& status) {
    Expected<PlacementDraft, FieldSyntaxError> draft = DraftFromOptions(fields, emptyDrop);
    if (draft) return std::move(*draft);
    err << kMessagePrefix << DescribeSyntaxError(draft.error(), FieldNaming::Option) << "\n";
    // A number beyond what a record can hold is refused like any value out of range; text that
    // is no value at all is a usage error.
    status = draft.error().kind == FieldSyntaxError::Kind::OutOfRange ? kExitFailed : kExitUsage;
    return std::nullopt;
}

// A refused or failed edit: what went wrong and that nothing was written.
int Failed(const Session& session, const DocumentError& error, const std::string& nothing, std::ostream& err) {
    err << kMessagePrefix << DescribeDocumentError(session, error, FieldNaming::Option);
    if (error.code != DocumentErrorCode::WriteFailed) err << Text(TextId::CliListSeparator) << nothing;
    err << "\n";
    return kExitFailed;
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
        err << kMessagePrefix << error << "\n";
        return kExitUsage;
    }
    session->LoadMap(index);
    row = FindRow(*session, *key);
    if (row < 0) {
        err << kMessagePrefix << Format(TextId::CliNoMatch, {map, keyText}) << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

// What an empty edit area gives a new placement in the window, for each field not given: the
// template's name, coordinates 0, offsets drawn at random, no type, group or series chosen, no
// drop count and no script.
void FillNewPlacementDefaults(PlacementDraft& draft, const std::string& templateName) {
    if (!draft.name) draft.name = templateName;
    if (!draft.posX) draft.posX = 0;
    if (!draft.posY) draft.posY = 0;
    if (!draft.offsetX.IsSet()) draft.offsetX = OffsetChoice::Drawn();
    if (!draft.offsetY.IsSet()) draft.offsetY = OffsetChoice::Drawn();
    if (!draft.type) draft.type = CodeForName(PlacementField::Type, "");
    if (!draft.group) draft.group = CodeForName(PlacementField::Group, "");
    if (!draft.series) draft.series = CodeForName(PlacementField::Series, "");
    if (!draft.drop.IsSet()) draft.drop = DropChoice::Of(0);
    if (!draft.script) draft.script = std::string();
}

}  // namespace

int RunAdd(const CommonOptions& common, const std::string& map, std::optional<int> templateIndex,
           const std::optional<std::string>& file, const FieldOptions& fields, std::ostream& out,
           std::ostream& err) {
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;

    AddOptions options;
    if (file) {
        // Only a region file of this map: the window never writes anywhere else.
        const std::string wanted = session->FullFile(UnescapeUndecodable(*file));
        // A directory listing taken while other writers replace files of that directory can
        // miss one of them (seen under Wine); the map is listed again before the name is refused.
        for (int attempt = 0; attempt < 3 && options.targetFile.empty(); ++attempt) {
            if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
            for (const std::string& path : session->MapRegionFiles(index))
                if (SameFile(path, wanted)) options.targetFile = path;
        }
        if (options.targetFile.empty()) {
            err << kMessagePrefix << Format(TextId::CliNotRegionFileOfMap, {*file, map}) << "\n";
            return kExitUsage;
        }
    }
    if (!templateIndex) {
        err << kMessagePrefix << Format(TextId::CliAddNeedsTemplate, {std::to_string(session->TemplateCount())})
            << "\n";
        return kExitFailed;
    }
    // The stored index N is entry N - 1 of the template table.
    if (*templateIndex < 1 || *templateIndex > session->TemplateCount()) {
        err << kMessagePrefix << Format(TextId::CliTemplateBetween, {std::to_string(session->TemplateCount())})
            << "\n";
        return kExitUsage;
    }
    int status = kExitOk;
    std::optional<PlacementDraft> draft = DraftOrMessage(fields, EmptyDrop::Zero, err, status);
    if (!draft) return status;
    draft->templateIndex = *templateIndex;
    FillNewPlacementDefaults(*draft, session->TemplateNames()[static_cast<size_t>(*templateIndex - 1)]);

    // The random choice of a file is among the map's files.
    session->LoadMap(index);
    const Expected<AddResult, DocumentError> added = session->document.Add(*draft, options);
    if (!added) return Failed(*session, added.error(), Format(TextId::CliNothingAddedToMap, {map}), err);
    PrintWritten(*session, added->row, added->file, added->record, out);
    WarnIfHidden(added->record.block, session->TemplateCount(), err);
    WarnIfChangedSinceRead(*session, err);
    return kExitOk;
}

namespace {

// KEY or --where, exactly one of them: kExitOk, else the usage status after the message.
int OneSelection(bool key, bool where, std::ostream& err) {
    if (key == where) {
        err << kMessagePrefix << Text(key ? TextId::CliWhereAndKey : TextId::CliKeyOrWhere) << "\n";
        return kExitUsage;
    }
    return kExitOk;
}

// The record's cells as the plan and the refusals name it: its key and its name.
RowTexts CellsOf(const Session& session, int row) {
    return RecordTexts(session.Rows().Record(row), session.RelativeFile(session.Rows().File(row)));
}

// One line of a dry run's plan: a row's shown fields before -> after.
std::string PlanLine(const RowTexts& before, const RowTexts& after) {
    std::string cells = DescribeCellChanges(before, after);
    if (cells.empty()) cells = std::string(Text(TextId::CliPlanNoFieldChanges));
    return Format(TextId::CliPlanChange, {KeyText(before), cells});
}

void TellNotChanged(const Session& session, const RowTexts& cells, const DocumentError& why, std::ostream& err) {
    err << kMessagePrefix
        << Format(TextId::CliNotChanged, {KeyText(cells), EscapeUndecodable(cells[COL_NAME]),
                                          DescribeDocumentError(session, why, FieldNaming::Option)})
        << "\n";
}

// "DX,DY": two whole numbers.
std::optional<std::pair<int, int>> ParseMove(const std::string& text) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    long long dx = 0, dy = 0;
    if (!ParseInt(text.substr(0, comma), &dx) || !ParseInt(text.substr(comma + 1), &dy)) return std::nullopt;
    // No move beyond the coordinates' own range means anything but "outside".
    constexpr long long kFar = 1 << 20;
    if (dx < -kFar || dx > kFar || dy < -kFar || dy > kFar) return std::nullopt;
    return std::pair<int, int>(static_cast<int>(dx), static_cast<int>(dy));
}

// The draft as a change of many placements, or the option it cannot carry (a name, an absolute
// position: every placement would get the same one).
Expected<BulkEdit, std::string> BulkEditOfDraft(const PlacementDraft& draft) {
    if (draft.name) return MakeUnexpected(std::string("--name"));
    if (draft.posX) return MakeUnexpected(std::string("--x"));
    if (draft.posY) return MakeUnexpected(std::string("--y"));
    BulkEdit edit;
    edit.offsetX = draft.offsetX;
    edit.offsetY = draft.offsetY;
    edit.type = draft.type;
    edit.group = draft.group;
    edit.series = draft.series;
    edit.drop = draft.drop;
    edit.script = draft.script;
    return edit;
}

bool ChangesAnything(const BulkEdit& edit) {
    return edit.type || edit.group || edit.series || edit.script || edit.drop.IsSet() || edit.offsetX.IsSet() ||
           edit.offsetY.IsSet() || edit.moveX != 0 || edit.moveY != 0;
}

// Opens the server and loads the map of a --where command: kExitOk with the session, else the
// exit status after the message.
int OpenMap(const CommonOptions& common, const std::string& map, std::ostream& err,
            std::unique_ptr<Session>& session) {
    session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;
    session->LoadMap(index);
    return kExitOk;
}

// `set MAP --where FILTER`: one change of every matching placement, one history step.
int SetWhere(const CommonOptions& common, const std::string& map, const std::string& where,
             const PlacementDraft& draft, const std::optional<std::string>& move, bool dryRun, std::ostream& out,
             std::ostream& err) {
    Expected<BulkEdit, std::string> edit = BulkEditOfDraft(draft);
    if (!edit) {
        err << kMessagePrefix << Format(TextId::CliWhereCannotSet, {edit.error()}) << "\n";
        return kExitUsage;
    }
    if (move) {
        const std::optional<std::pair<int, int>> by = ParseMove(*move);
        if (!by) {
            err << kMessagePrefix << Format(TextId::CliBadMove, {EscapeUndecodable(*move)}) << "\n";
            return kExitUsage;
        }
        std::tie(edit->moveX, edit->moveY) = *by;
    }
    if (!ChangesAnything(*edit)) {
        err << kMessagePrefix << Text(TextId::CliWhereNothingToSet) << "\n";
        return kExitUsage;
    }
    const std::optional<PlacementFilter> filter = ParseFilter(where, err);
    if (!filter) return kExitUsage;
    std::unique_ptr<Session> session;
    if (const int opened = OpenMap(common, map, err, session); opened != kExitOk) return opened;
    const std::string nothing(Text(TextId::CliNothingWritten));
    // A value no placement can take is refused before anything is matched or written.
    const Expected<CheckedDraft, DocumentError> checked = CheckBulkEdit(*edit);
    if (!checked) return Failed(*session, checked.error(), nothing, err);
    const std::vector<int> rows = MatchingRows(session->Rows(), *filter);
    if (rows.empty()) {
        err << kMessagePrefix << Format(TextId::CliNoMatch, {map, where}) << Text(TextId::CliListSeparator) << nothing
            << "\n";
        return kExitFailed;
    }

    if (dryRun) {
        // Offsets drawn at random here are drawn again when the change is made.
        std::minstd_rand random(1);
        const RandomSource draw = [&random] { return static_cast<int>(random()); };
        int refused = 0;
        for (int row : rows) {
            const RowTexts before = CellsOf(*session, row);
            PlacementRecord record = session->Rows().Record(row);
            if (const std::optional<DocumentError> why = ApplyBulkEdit(*edit, *checked, record, draw)) {
                TellNotChanged(*session, before, *why, err);
                ++refused;
                continue;
            }
            out << PlanLine(before, RecordTexts(record, before[COL_FILE])) << "\n";
        }
        out << Text(TextId::CliDryRun) << "\n";
        return refused > 0 ? kExitFailed : kExitOk;
    }

    const Expected<BulkEditReport, DocumentError> report = session->document.EditMany(rows, *edit);
    WarnIfChangedSinceRead(*session, err);
    if (!report) return Failed(*session, report.error(), nothing, err);
    // The changed rows, top down, as `list` shows them; then the ones left as they were.
    PlacementRowStore changed;
    for (auto it = report->rows.rbegin(); it != report->rows.rend(); ++it)
        if (it->Changed()) changed.InsertTop(session->Rows().File(it->row), session->Rows().Record(it->row));
    RowPrintOptions print;
    print.fileText = [&session](const std::string& path) { return session->RelativeFile(path); };
    if (changed.Count() > 0) PrintRows(changed, print, out);
    for (const EditedRow& row : report->rows)
        if (!row.Changed()) TellNotChanged(*session, CellsOf(*session, row.row), *row.error, err);
    if (report->changed != report->selected) {
        err << kMessagePrefix
            << Format(TextId::CliChangedOf, {std::to_string(report->changed), std::to_string(report->selected)})
            << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

int RunSet(const CommonOptions& common, const std::string& map, const std::optional<std::string>& keyText,
           const std::optional<std::string>& where, const FieldOptions& fields,
           const std::optional<std::string>& move, bool dryRun, std::ostream& out, std::ostream& err) {
    if (const int one = OneSelection(keyText.has_value(), where.has_value(), err); one != kExitOk) return one;
    if (move && !where) {
        err << kMessagePrefix << Text(TextId::CliMoveWithoutWhere) << "\n";
        return kExitUsage;
    }
    int status = kExitOk;
    std::optional<PlacementDraft> draft = DraftOrMessage(fields, EmptyDrop::TypeDefault, err, status);
    if (!draft) return status;
    if (where) return SetWhere(common, map, *where, *draft, move, dryRun, out, err);
    std::unique_ptr<Session> session;
    std::optional<KeyArgument> key;
    int row = -1;
    if (const int opened = OpenKeyedRow(common, map, *keyText, err, session, key, row); opened != kExitOk)
        return opened;

    const std::string file = session->Rows().File(row);
    if (dryRun) {
        // What the write would store, checked as the document checks it.
        std::minstd_rand random(1);
        const Expected<CheckedDraft, DocumentError> checked =
            CheckDraft(*draft, [&random] { return static_cast<int>(random()); });
        if (!checked) return Failed(*session, checked.error(), std::string(Text(TextId::CliNothingWritten)), err);
        const RowTexts before = CellsOf(*session, row);
        PlacementRecord record = session->Rows().Record(row);
        ApplyDraft(record, *checked);
        out << PlanLine(before, RecordTexts(record, before[COL_FILE])) << "\n" << Text(TextId::CliDryRun) << "\n";
        return kExitOk;
    }
    const Expected<ModifyResult, DocumentError> changed = session->document.Modify(key->key, file, *draft, row);
    WarnIfChangedSinceRead(*session, err);
    if (!changed) return Failed(*session, changed.error(), std::string(Text(TextId::CliNothingWritten)), err);
    PrintWritten(*session, changed->row, changed->file, changed->record, out);
    WarnIfHidden(changed->record.block, session->TemplateCount(), err);
    return kExitOk;
}

int RunClone(const CommonOptions& common, const std::string& map, const std::string& keyText,
             const FieldOptions& fields, std::ostream& out, std::ostream& err) {
    int status = kExitOk;
    std::optional<PlacementDraft> draft = DraftOrMessage(fields, EmptyDrop::Zero, err, status);
    if (!draft) return status;
    std::unique_ptr<Session> session;
    std::optional<KeyArgument> key;
    int row = -1;
    if (const int opened = OpenKeyedRow(common, map, keyText, err, session, key, row); opened != kExitOk)
        return opened;

    // The copy starts from the record's bytes and goes to its own file.
    AddOptions options;
    options.targetFile = session->Rows().File(row);
    options.base = session->Rows().Record(row);
    const Expected<AddResult, DocumentError> added = session->document.Add(*draft, options);
    WarnIfChangedSinceRead(*session, err);
    if (!added)
        return Failed(*session, added.error(),
                      Format(TextId::CliNothingAddedTo, {session->RelativeFile(options.targetFile)}), err);
    PrintWritten(*session, added->row, added->file, added->record, out);
    WarnIfHidden(added->record.block, session->TemplateCount(), err);
    WarnIfKeyShared(*session, added->file, added->record.block, err);
    return kExitOk;
}

int RunRemove(const CommonOptions& common, const std::string& map, const std::vector<std::string>& keyTexts,
              const std::optional<std::string>& where, bool dryRun, std::ostream& out, std::ostream& err) {
    if (const int one = OneSelection(!keyTexts.empty(), where.has_value(), err); one != kExitOk) return one;
    std::optional<PlacementFilter> filter;
    if (where) {
        filter = ParseFilter(*where, err);
        if (!filter) return kExitUsage;
    }
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;
    std::vector<KeyArgument> keys;
    for (const std::string& text : keyTexts) {
        std::string error;
        const std::optional<KeyArgument> key = ParseKeyArgument(*session, text, &error);
        if (!key) {
            err << kMessagePrefix << error << "\n";
            return kExitUsage;
        }
        keys.push_back(*key);
    }
    session->LoadMap(index);

    // Each KEY names one row, from the bottom (file order); a KEY given twice names the next
    // row with that key, as selecting two such rows in the window does.
    const PlacementRowStore& rows = session->Rows();
    std::vector<int> selected;   // from the top down, as the window goes through a selection
    if (filter) {
        selected = MatchingRows(rows, *filter);
        if (selected.empty()) {
            err << kMessagePrefix << Format(TextId::CliNoMatch, {map, *where}) << Text(TextId::CliListSeparator)
                << Text(TextId::CliNothingRemoved) << "\n";
            return kExitFailed;
        }
    } else {
        std::vector<bool> chosen(static_cast<size_t>(rows.Count()), false);
        for (size_t k = 0; k < keys.size(); ++k) {
            int found = -1;
            for (int row = rows.Count() - 1; row >= 0 && found < 0; --row)
                if (!chosen[static_cast<size_t>(row)] && RowHasKey(rows, row, keys[k])) found = row;
            if (found < 0) {
                err << kMessagePrefix << Format(TextId::CliNoMatch, {map, keyTexts[k]})
                    << Text(TextId::CliListSeparator) << Text(TextId::CliNothingRemoved) << "\n";
                return kExitFailed;
            }
            chosen[static_cast<size_t>(found)] = true;
        }
        for (size_t row = 0; row < chosen.size(); ++row)
            if (chosen[row]) selected.push_back(static_cast<int>(row));
    }

    if (dryRun) {
        for (int row : selected) {
            const RowTexts cells = CellsOf(*session, row);
            out << Format(TextId::CliPlanDelete, {KeyText(cells), EscapeUndecodable(cells[COL_NAME])}) << "\n";
        }
        out << Text(TextId::CliDryRun) << "\n";
        return kExitOk;
    }
    const Expected<RemoveReport, DocumentError> report = session->document.Delete(selected);
    WarnIfChangedSinceRead(*session, err);
    if (!report) return Failed(*session, report.error(), std::string(Text(TextId::CliNothingRemoved)), err);
    for (const RemovedRow& row : report->rows) {
        if (row.Removed()) {
            out << Format(TextId::DeleteRowDone, {GbkToUtf8(row.record.block.Name())}) << "\n";
            continue;
        }
        const RowTexts cells = RecordTexts(row.record, session->RelativeFile(row.ref.file));
        err << kMessagePrefix
            << Format(TextId::CliNotRemoved, {KeyText(cells), EscapeUndecodable(cells[COL_NAME]),
                                              DescribeDocumentError(*session, *row.error, FieldNaming::Option)})
            << "\n";
    }
    if (report->removed == 0 || !report->AllRemoved()) {
        err << kMessagePrefix
            << Format(TextId::CliRemovedOf, {std::to_string(report->removed), std::to_string(report->selected)})
            << "\n";
        return kExitFailed;
    }
    // The window's own report of a delete, which scripts read.
    out << Format(TextId::DeleteCounts, {std::to_string(report->selected), std::to_string(report->removed)}) << "\n";
    return kExitOk;
}

}  // namespace morvi::cli
