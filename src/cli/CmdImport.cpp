#include <algorithm>
#include <chrono>
#include <random>
#include <set>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/EditFields.h"
#include "cli/ImportPlan.h"
#include "cli/RowOutput.h"
#include "data/AtomicFile.h"
#include "data/ChangeHistorySteps.h"
#include "data/FileReadAhead.h"
#include "data/IntegerText.h"
#include "data/ListingRule.h"
#include "data/RegionImageEdit.h"
#include "data/RegionRecordReader.h"
#include "data/ServerPath.h"
#include "dialog/EditRules.h"
#include "dialog/PlacementRowFormatter.h"

namespace morvi::cli {
namespace {

struct InputRow {
    int line = 0;                      // line of the CSV file, or position in the JSON array
    std::vector<std::string> fields;   // as written (escaped), in ExportColumns order
};

bool ReadCsvRows(std::string_view text, std::vector<InputRow>& rows, std::string* error) {
    const std::optional<std::vector<CsvRecord>> records = ParseCsv(text, error);
    if (!records) return false;
    // The header of `export`, or that of `list --all` with its column of broken listing
    // rules, which is read past.
    std::vector<std::string> withHidden = ExportColumns();
    withHidden.push_back(kHiddenColumn);
    if (records->empty() || ((*records)[0].fields != ExportColumns() && (*records)[0].fields != withHidden)) {
        std::string header;
        for (const std::string& c : ExportColumns()) header += (header.empty() ? "" : ",") + c;
        *error = "the first line must be the export's header: " + header;
        return false;
    }
    for (size_t i = 1; i < records->size(); ++i) {
        const CsvRecord& r = (*records)[i];
        const size_t expected = (*records)[0].fields.size();
        if (r.fields.size() != expected) {
            *error = "line " + std::to_string(r.line) + ": " + std::to_string(r.fields.size()) + " fields, " +
                     std::to_string(expected) + " expected";
            return false;
        }
        InputRow row{r.line, r.fields};
        row.fields.resize(ExportColumns().size());
        rows.push_back(std::move(row));
    }
    return true;
}

bool ReadJsonRows(const std::string& text, std::vector<InputRow>& rows, std::string* error) {
    const nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
    if (doc.is_discarded() || !doc.is_array()) {
        *error = "not a JSON array of placements";
        return false;
    }
    for (size_t i = 0; i < doc.size(); ++i) {
        const std::string where = "element " + std::to_string(i + 1);
        if (!doc[i].is_object()) {
            *error = where + ": not an object";
            return false;
        }
        InputRow row{static_cast<int>(i + 1), {}};
        for (const std::string& column : ExportColumns()) {
            const auto it = doc[i].find(column);
            if (it == doc[i].end()) {
                *error = where + ": no \"" + column + "\"";
                return false;
            }
            if (it->is_null()) row.fields.push_back("");
            else if (it->is_number_integer()) row.fields.push_back(std::to_string(it->get<long long>()));
            else if (it->is_string()) row.fields.push_back(it->get<std::string>());
            else {
                *error = where + ": \"" + column + "\" must be a text or a whole number";
                return false;
            }
        }
        rows.push_back(std::move(row));
    }
    return true;
}

bool ReadInput(const std::string& text, std::vector<InputRow>& rows, std::string* error) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && text[first] == '[') return ReadJsonRows(text, rows, error);
    return ReadCsvRows(text, rows, error);
}

std::string Describe(const RowTexts& before, const RowTexts& after) {
    static const char* const names[] = {"name", "x", "offset_x", "y", "offset_y", "type", "group",
                                        "series", "drop", "script", "file", "template"};
    std::string text;
    for (int c = 0; c < kPlacementColumnCount; ++c) {
        if (c == COL_FILE || before[static_cast<size_t>(c)] == after[static_cast<size_t>(c)]) continue;
        text += (text.empty() ? "" : "; ") + std::string(names[c]) + " \"" +
                EscapeUndecodable(before[static_cast<size_t>(c)]) + "\" -> \"" +
                EscapeUndecodable(after[static_cast<size_t>(c)]) + "\"";
    }
    return text;
}

// A counted record of a region file as it is now.
struct CurrentRecord {
    NpcPlacement block{};
    std::string script;
    size_t index = 0;        // among the file's counted records
    size_t nextSame = SIZE_MAX;   // the next record of the same key in file order
    bool listed = false;     // the window lists it
    bool paired = false;
};

// Placement keys packed into one number: template, x, y as shown, x offset, y offset.
uint64_t PackKey(uint32_t t, uint32_t x, uint32_t y, uint32_t ox, uint32_t oy) {
    return (uint64_t{t} << 48) | (uint64_t{x} << 32) | (uint64_t{y} << 16) | (uint64_t{ox} << 8) | oy;
}
uint64_t KeyOf(const NpcPlacement& p) {
    return PackKey(p.TemplateIndex(), p.PosX(), static_cast<uint32_t>(p.PosY()), p.offsetX, p.offsetY);
}
// The key a row's texts name; nullopt when no record can have it.
std::optional<uint64_t> KeyOfTexts(long long t, const RowTexts& c) {
    const int x = LeadingNumberToInt(c[COL_POS_X]), y = LeadingNumberToInt(c[COL_POS_Y]);
    const int ox = LeadingNumberToInt(c[COL_OFFSET_X]), oy = LeadingNumberToInt(c[COL_OFFSET_Y]);
    if (t < 0 || t > 0xFFFF || x < 0 || x > 0xFFFF || y < 0 || y > 0x7FFF || ox < 0 || ox > 0xFF || oy < 0 || oy > 0xFF)
        return std::nullopt;
    return PackKey(static_cast<uint32_t>(t), static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                   static_cast<uint32_t>(ox), static_cast<uint32_t>(oy));
}
PlacementKey KeyWithTemplate(const NpcPlacement& p, int templateIndex) {
    return {templateIndex, p.PosX(), p.PosY(), p.offsetX, p.offsetY};
}

// A region file of the map: its image as read and its counted records.
struct MapFile {
    std::string path;
    std::string image;
    std::vector<CurrentRecord> records;
    std::unordered_map<uint64_t, size_t> firstOfKey;   // key -> first record of it
    std::string defect;                                // why the file must not be changed
};

struct WantedRow {
    int line = 0;
    RowTexts cells;      // window texts (file column unused)
    long long templateIndex = 0;
    size_t file = 0;     // index among the map's region files
};

// What the import does to one record: keep, rewrite or cut out.
enum class RecordFate { Keep, Change, Remove };

// Everything the import does to one region file.
struct FileWork {
    std::vector<std::pair<size_t, PlacementRecord>> changes;   // record index -> new record
    std::vector<size_t> removals;                              // record indices
    std::vector<PlacementRecord> appends;                      // in the order they are appended
    std::vector<std::pair<size_t, std::string>> plan;          // (record index or past-the-end, line)
    int additions = 0;
};

bool ReadMapFile(const std::string& path, MapFile& file, int templateCount) {
    file.path = path;
    if (!ReadRegularFile(path, file.image)) return false;
    RegionDefectList defects;
    RegionRecordReader reader(&defects);
    reader.Reset(file.image);
    for (RegionRecord r; reader.Next(r);) {
        CurrentRecord current;
        current.block = r.block;
        current.script.assign(r.script);
        current.index = file.records.size();
        current.listed = PassesListingRules(r.block, templateCount);
        if (!r.complete && file.defect.empty())
            file.defect = "the record at offset " + std::to_string(r.offset) +
                          " is cut off by the end of the file; the file is left alone (see `morvinpc check`)";
        file.records.push_back(std::move(current));
    }
    // Chains of the records of one key, in file order.
    for (size_t i = file.records.size(); i-- > 0;) {
        auto [at, added] = file.firstOfKey.try_emplace(KeyOf(file.records[i].block), i);
        if (!added) {
            file.records[i].nextSame = at->second;
            at->second = i;
        }
    }
    return true;
}

// The cells a record shows that a row may change without changing its key.
constexpr int kValueColumns[] = {COL_NAME, COL_TYPE, COL_GROUP, COL_SERIES, COL_DROP, COL_SCRIPT};

// Applies the work to the file's image as one batch. A record is found again by its key, and
// the batch changes the first record of a key; so every record of a key that has work is
// first given a key of its own (a template index no record of the file uses), in file order,
// and then changed, cut out or put back under that key. The image is written only at the end,
// so these passing keys never reach the disk.
std::optional<RegionImageEdit> ApplyWork(const MapFile& file, const FileWork& work, std::string* error) {
    RegionImageEdit edit(file.image);
    std::vector<RecordFate> fate(file.records.size(), RecordFate::Keep);
    std::vector<const PlacementRecord*> replacement(file.records.size(), nullptr);
    for (const auto& [index, record] : work.changes) {
        fate[index] = RecordFate::Change;
        replacement[index] = &record;
    }
    for (size_t index : work.removals) fate[index] = RecordFate::Remove;

    std::set<uint64_t> groups;
    for (size_t i = 0; i < file.records.size(); ++i)
        if (fate[i] != RecordFate::Keep) groups.insert(KeyOf(file.records[i].block));
    std::vector<bool> usedTemplate(0x10000, false);
    for (const CurrentRecord& r : file.records) usedTemplate[r.block.TemplateIndex()] = true;
    int nextFree = 0xFFFF;
    std::vector<std::pair<size_t, int>> tagged;   // record, passing template
    for (uint64_t key : groups) {
        for (size_t i = file.firstOfKey.at(key); i != SIZE_MAX; i = file.records[i].nextSame) {
            while (nextFree >= 0 && usedTemplate[static_cast<size_t>(nextFree)]) --nextFree;
            if (nextFree < 0) {
                *error = "too many template indices in use to rewrite the file";
                return std::nullopt;
            }
            const int passing = nextFree--;
            const NpcPlacement& block = file.records[i].block;
            const RegionEditResult r = edit.Modify(KeyWithTemplate(block, block.TemplateIndex()), [&](const PlacementRecord& old) {
                PlacementRecord tagged = old;
                tagged.block.SetTemplateIndex(static_cast<uint16_t>(passing));
                return tagged;
            });
            if (!r.ok()) {
                *error = "a record to change is no longer where it was read";
                return std::nullopt;
            }
            tagged.emplace_back(i, passing);
        }
    }
    for (const auto& [i, passing] : tagged) {
        const CurrentRecord& current = file.records[i];
        const PlacementKey key = KeyWithTemplate(current.block, passing);
        RegionEditResult r;
        if (fate[i] == RecordFate::Remove) {
            r = edit.Remove(key);
        } else {
            const PlacementRecord original{current.block, current.script};
            const PlacementRecord& wanted = fate[i] == RecordFate::Change ? *replacement[i] : original;
            r = edit.Modify(key, [&](const PlacementRecord&) { return wanted; });
        }
        if (!r.ok()) {
            *error = "a record to change is no longer where it was read";
            return std::nullopt;
        }
    }
    for (const PlacementRecord& record : work.appends) {
        const RegionEditResult r = edit.Append(record);
        if (r.status == RegionEditStatus::CountFull) {
            *error = "more than 65535 placements would not fit the count of the file";
            return std::nullopt;
        }
        if (!r.ok()) {
            *error = "its records do not fill the file exactly; the file is left alone (see `morvinpc check`)";
            return std::nullopt;
        }
    }
    return edit;
}

}  // namespace

int RunImport(const CommonOptions& common, const std::string& map, const std::string& inputFile, bool dryRun,
              std::ostream& out, std::ostream& err) {
    return RunImport(common, map, inputFile, dryRun, out, err, ImportHooks{});
}

int RunImport(const CommonOptions& common, const std::string& map, const std::string& inputFile, bool dryRun,
              std::ostream& out, std::ostream& err, const ImportHooks& hooks) {
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int mapIndex = ResolveMap(*session, map, err);
    if (mapIndex < 0) return kExitUsage;

    std::string error;
    std::vector<InputRow> input;
    {
        std::string text;
        if (!ReadWholeFile(inputFile, text)) {
            err << "morvinpc: cannot read " << inputFile << "\n";
            return kExitUsage;
        }
        if (!ReadInput(text, input, &error)) {
            err << "morvinpc: " << inputFile << ": " << error << "\n";
            return kExitUsage;
        }
    }

    // The map as it is now, read once; these images are what the new files are built from.
    const int templateCount = session->TemplateCount();
    const std::vector<std::string> paths = session->MapRegionFiles(mapIndex);
    std::vector<MapFile> files(paths.size());
    for (size_t f = 0; f < paths.size(); ++f)
        if (!ReadMapFile(paths[f], files[f], templateCount)) {
            err << "morvinpc: cannot read " << session->RelativeFile(paths[f]) << "; nothing written\n";
            return kExitUsage;
        }

    // The wanted rows, each tied to a region file of this map.
    std::vector<WantedRow> wanted;
    wanted.reserve(input.size());
    std::vector<std::string> problems;
    std::unordered_map<std::string, size_t> fileOfPath, fileOfText;
    for (size_t f = 0; f < paths.size(); ++f) fileOfPath.emplace(CollapseSeparators(paths[f]), f);
    for (InputRow& in : input) {
        WantedRow row;
        row.line = in.line;
        for (size_t c = 0; c < row.cells.size(); ++c) {
            std::string& field = in.fields[c];
            row.cells[c] = field.find('\\') == std::string::npos ? std::move(field) : UnescapeUndecodable(field);
        }
        const std::string where = inputFile + ":" + std::to_string(in.line) + ": ";
        if (!ParseInt(row.cells[COL_TEMPLATE], &row.templateIndex)) {
            problems.push_back(where + "template \"" + EscapeUndecodable(row.cells[COL_TEMPLATE]) + "\" is not a number");
            continue;
        }
        // Rows name few distinct files: resolve each text once.
        auto known = fileOfText.find(row.cells[COL_FILE]);
        if (known == fileOfText.end()) {
            const std::string full = row.cells[COL_FILE].empty() ? std::string() : session->FullFile(row.cells[COL_FILE]);
            const auto byPath = fileOfPath.find(CollapseSeparators(full));
            known = fileOfText.emplace(row.cells[COL_FILE], byPath == fileOfPath.end() ? paths.size() : byPath->second).first;
        }
        if (known->second == paths.size()) {
            problems.push_back(where + "\"" + EscapeUndecodable(row.cells[COL_FILE]) + "\" is not a region file of map " + map);
            continue;
        }
        row.file = known->second;
        wanted.push_back(std::move(row));
    }
    input.clear();
    if (!problems.empty()) {
        for (const std::string& p : problems) err << p << "\n";
        err << "morvinpc: nothing written\n";
        return kExitUsage;
    }

    // Offsets left empty are drawn at random, as the window draws them.
    std::minstd_rand random(static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count() % 10000 + 1));
    const RandomSource nextRandom = [&random] { return static_cast<int>(random() & 0x7FFF); };
    const MemoryHost& host = session->host;
    // The edit area's texts of a row; false (with the reason) when a combo text names no item.
    auto fieldsOf = [&](const RowTexts& c, EditFields& f, std::string* why) {
        f.name = c[COL_NAME];
        f.posX = c[COL_POS_X];
        f.posY = c[COL_POS_Y];
        f.offsetX = c[COL_OFFSET_X];
        f.offsetY = c[COL_OFFSET_Y];
        f.drop = c[COL_DROP];
        f.script = c[COL_SCRIPT];
        const std::optional<std::string> type = ComboItemFor(host, IDC_TYPE, "type", c[COL_TYPE], why);
        if (!type) return false;
        const std::optional<std::string> group = ComboItemFor(host, IDC_GROUP, "group", c[COL_GROUP], why);
        if (!group) return false;
        const std::optional<std::string> series = ComboItemFor(host, IDC_SERIES, "series", c[COL_SERIES], why);
        if (!series) return false;
        f.type = *type;
        f.group = *group;
        f.series = *series;
        return true;
    };

    // Pair rows with records of the same key and file, both in file order (an export lists
    // the rows in the window's order, the reverse of file order). Records the window hides
    // pair like any other (a `list --all` export holds them); only listed records are deleted
    // for want of a row, since an export without --all never shows the others.
    std::vector<FileWork> work(files.size());
    std::vector<std::unordered_map<uint64_t, size_t>> cursor(files.size());   // key -> next unpaired record
    constexpr size_t kAppended = SIZE_MAX;
    std::string cell;
    for (auto w = wanted.rbegin(); w != wanted.rend(); ++w) {
        const std::string where = inputFile + ":" + std::to_string(w->line) + ": ";
        MapFile& file = files[w->file];
        FileWork& fw = work[w->file];
        const std::string shownFile = session->RelativeFile(file.path);
        CurrentRecord* paired = nullptr;
        if (const std::optional<uint64_t> key = KeyOfTexts(w->templateIndex, w->cells)) {
            auto next = cursor[w->file].find(*key);
            if (next == cursor[w->file].end()) {
                const auto first = file.firstOfKey.find(*key);
                if (first != file.firstOfKey.end()) next = cursor[w->file].emplace(*key, first->second).first;
            }
            if (next != cursor[w->file].end() && next->second != SIZE_MAX) {
                paired = &file.records[next->second];
                next->second = paired->nextSame;
                paired->paired = true;
            }
        }
        if (paired) {
            bool same = true;
            for (int c : kValueColumns) {
                cell.clear();
                PlacementRowFormatter::AppendCell(paired->block, paired->script, {}, c, cell);
                same = same && cell == w->cells[static_cast<size_t>(c)];
            }
            if (same) continue;
            EditFields fields;
            if (!fieldsOf(w->cells, fields, &error)) {
                problems.push_back(where + error);
                continue;
            }
            const RowTexts before = RecordTexts({paired->block, paired->script}, shownFile);
            // A combo or script the row leaves as it shows it keeps the record's own value.
            fields.keepType = fields.type == before[COL_TYPE];
            fields.keepGroup = fields.group == before[COL_GROUP];
            fields.keepSeries = fields.series == before[COL_SERIES];
            fields.keepScript = fields.script == before[COL_SCRIPT];
            PlacementRecord built{paired->block, paired->script};
            if (const std::optional<EditRefusal> refusal = BuildRecordFromFields(
                    built, fields, paired->block.TemplateIndex(), EditPurpose::Modify, nextRandom)) {
                problems.push_back(where + refusal->hint);
                continue;
            }
            std::string oldBytes, newBytes;
            AppendPlacementBytes(oldBytes, paired->block, paired->script);
            AppendPlacementBytes(newBytes, built.block, built.script);
            if (oldBytes == newBytes) continue;
            const RowTexts after = RecordTexts(built, shownFile);
            fw.plan.push_back({paired->index, "change " + KeyText(before) + ": " + Describe(before, after)});
            fw.changes.emplace_back(paired->index, std::move(built));
            continue;
        }
        if (w->templateIndex < 1 || w->templateIndex > templateCount) {
            problems.push_back(where + "template " + std::to_string(w->templateIndex) +
                               " is not in the template table (1.." + std::to_string(templateCount) + ")");
            continue;
        }
        EditFields fields;
        if (!fieldsOf(w->cells, fields, &error)) {
            problems.push_back(where + error);
            continue;
        }
        PlacementRecord built;
        if (const std::optional<EditRefusal> refusal = BuildRecordFromFields(
                built, fields, static_cast<int>(w->templateIndex), EditPurpose::Add, nextRandom)) {
            problems.push_back(where + refusal->hint);
            continue;
        }
        const RowTexts row = RecordTexts(built, shownFile);
        fw.plan.push_back({kAppended, "add    " + KeyText(row) + ": \"" + EscapeUndecodable(row[COL_NAME]) + "\""});
        fw.appends.push_back(std::move(built));
        ++fw.additions;
    }
    for (size_t f = 0; f < files.size(); ++f)
        for (const CurrentRecord& r : files[f].records) {
            if (r.paired || !r.listed) continue;
            const RowTexts row = RecordTexts({r.block, r.script}, session->RelativeFile(files[f].path));
            work[f].plan.push_back({r.index, "delete " + KeyText(row) + ": \"" + EscapeUndecodable(row[COL_NAME]) + "\""});
            work[f].removals.push_back(r.index);
        }
    if (!problems.empty()) {
        for (const std::string& p : problems) err << p << "\n";
        err << "morvinpc: nothing written\n";
        return kExitFailed;
    }

    // The new images of the files that change, each built as one batch of edits.
    std::vector<std::pair<size_t, RegionImageEdit>> writes;
    int additions = 0, changes = 0, deletions = 0;
    for (size_t f = 0; f < files.size(); ++f) {
        FileWork& fw = work[f];
        if (fw.plan.empty()) continue;
        std::optional<RegionImageEdit> edit;
        if (!files[f].defect.empty()) error = files[f].defect;
        else edit = ApplyWork(files[f], fw, &error);
        if (!edit) {
            err << "morvinpc: " << session->RelativeFile(files[f].path) << ": " << error << "; nothing written\n";
            return kExitFailed;
        }
        if (edit->Image() == files[f].image) continue;
        std::stable_sort(fw.plan.begin(), fw.plan.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& line : fw.plan) out << line.second << "\n";
        additions += fw.additions;
        changes += static_cast<int>(fw.changes.size());
        deletions += static_cast<int>(fw.removals.size());
        writes.emplace_back(f, std::move(*edit));
    }
    if (writes.empty()) {
        out << "nothing to import: map " << map << " already matches " << inputFile << "\n";
        return kExitOk;
    }
    out << additions << " additions, " << changes << " changes, " << deletions << " deletions in "
        << writes.size() << " region files\n";
    if (dryRun) {
        out << "dry run: no file written\n";
        return kExitOk;
    }

    // One step of the change history, each file replaced crash-safely after its entry is
    // durable. When one fails, the files already written are taken back through the history,
    // so the map is left as it was.
    std::vector<FileChange> fileChanges;
    for (const auto& [f, edit] : writes) {
        FileChange change;
        change.path = files[f].path;
        change.before = files[f].image;
        change.after = edit.Image();
        fileChanges.push_back(std::move(change));
    }
    StepOptions options;
    options.stopAtFailure = true;
    options.beforeFile = hooks.beforeWrite;
    ChangeHistory& history = session->dlg.History();
    const StepResult step =
        WriteJournaledStep(history, {"command line", "import", session->MapName(mapIndex), 0}, fileChanges, options);
    if (!step.AllWritten()) {
        std::string failure;
        for (const FileWriteResult& file : step.files) {
            if (file.status == FileWriteStatus::Written || file.status == FileWriteStatus::Unchanged) continue;
            failure = file.status == FileWriteStatus::ChangedMeanwhile
                          ? session->RelativeFile(file.path) + " changed since it was read"
                          : session->RelativeFile(file.path) + ": " + file.reason;
            break;
        }
        err << "morvinpc: import stopped: " << failure << "\n";
        bool restored = true;
        if (step.WrittenCount() > 0) {
            const RevertResult undone = RevertStep(history, step.step, "command line");
            if (!undone.ok) {
                err << "morvinpc: could not restore the files already written, they hold the imported content: "
                    << undone.reason << "\n";
                restored = false;
            }
        }
        if (restored) err << "morvinpc: no region file changed\n";
        return kExitFailed;
    }
    out << "wrote " << writes.size() << " region files\n";
    return kExitOk;
}

}  // namespace morvi::cli
