#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <set>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/EditFields.h"
#include "dialog/DocumentTexts.h"
#include "document/NameTables.h"
#include "document/PlacementDraft.h"
#include "cli/ImportInput.h"
#include "cli/ImportPlan.h"
#include "cli/InputText.h"
#include "cli/RowOutput.h"
#include "data/platform/AtomicFile.h"
#include "data/history/ChangeHistorySteps.h"
#include "data/platform/FileReadAhead.h"
#include "data/text/IntegerText.h"
#include "data/region/ListingRule.h"
#include "data/region/RegionImageEdit.h"
#include "data/region/RegionRecordReader.h"
#include "data/server/ServerPath.h"
#include "document/PlacementRowFormatter.h"

namespace morvi::cli {
namespace {

// The texts of one row as the window's edit area would hold them; a kept field is one the row
// leaves as the record shows it, which keeps the record's own stored value.
struct EditFields {
    std::string name, posX, posY, offsetX, offsetY, drop, script, type, group, series;
    bool keepType = false, keepGroup = false, keepSeries = false, keepScript = false;
};

// Builds `record` from the texts as the window's save does; the window's hint when refused.
std::optional<std::string> BuildRecordFromFields(PlacementRecord& record, const EditFields& f, int templateIndex,
                                                 bool modify, const RandomSource& nextRandom) {
    PlacementDraft draft;
    draft.templateIndex = templateIndex;
    draft.name = f.name;
    draft.posX = CoordinateTextToInt(f.posX);
    draft.posY = CoordinateTextToInt(f.posY);
    auto offset = [](const std::string& text) {
        return text.empty() ? OffsetChoice::Drawn() : OffsetChoice::Of(LeadingNumberToInt(text));
    };
    draft.offsetX = offset(f.offsetX);
    draft.offsetY = offset(f.offsetY);
    if (!f.keepType) draft.type = CodeOfName(NpcTypeNames(), f.type);
    if (!f.keepGroup) draft.group = CodeOfName(NpcGroupNames(), f.group);
    if (!f.keepSeries) draft.series = CodeOfName(NpcSeriesNames(), f.series);
    draft.drop = f.drop.empty() ? (modify ? DropChoice::ForType() : DropChoice::Of(0))
                                : DropChoice::Of(LeadingNumberToInt(f.drop));
    if (!f.keepScript) draft.script = f.script;
    const Expected<CheckedDraft, DocumentError> checked = CheckDraft(draft, nextRandom);
    if (!checked) {
        const std::optional<DraftRefusal> refusal = DraftRefusalOf(checked.error());
        return refusal ? std::string(Text(refusal->hint)) : std::string("the placement cannot be stored");
    }
    ApplyDraft(record, *checked);
    return std::nullopt;
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

constexpr uint32_t kNoRecord = UINT32_MAX;

// A counted record of a region file as it is now; its bytes are read from the file's image
// when wanted.
struct CurrentRecord {
    size_t offset = 0;                // where it starts in the image
    uint32_t nextSame = kNoRecord;    // the next record of the same key in file order
    bool listed = false;              // the window lists it
    bool paired = false;
    bool cut = false;                 // cut off by the end of the file: held in MapFile::cutRecords
};

// Placement keys packed into one number: template, x, y as shown, x offset, y offset.
uint64_t PackKey(uint32_t t, uint32_t x, uint32_t y, uint32_t ox, uint32_t oy) {
    return (uint64_t{t} << 48) | (uint64_t{x} << 32) | (uint64_t{y} << 16) | (uint64_t{ox} << 8) | oy;
}
uint64_t KeyOf(const NpcPlacement& p) {
    return PackKey(p.TemplateIndex(), p.PosX(), static_cast<uint32_t>(p.PosY()), p.offsetX, p.offsetY);
}
// The key a row's texts name; nullopt when no record can have it.
std::optional<uint64_t> KeyOfTexts(long long t, const RowCellViews& c) {
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

// The records of one key in a region file: the first in file order, and the first one no row
// has been paired with yet.
struct KeyChain {
    uint64_t key = 0;
    uint32_t first = kNoRecord;
    uint32_t unpaired = kNoRecord;
};

// A region file of the map: its image as read and its counted records. It is not moved once
// read, since the records' scripts are views into the image.
struct MapFile {
    std::string path;
    std::string image;
    std::vector<CurrentRecord> records;
    std::vector<KeyChain> chains;         // ordered by key
    std::vector<std::pair<size_t, PlacementRecord>> cutRecords;   // by record index, filled with zeros
    std::string defect;                   // why the file must not be changed

    KeyChain* Chain(uint64_t key) {
        const auto at = std::lower_bound(chains.begin(), chains.end(), key,
                                         [](const KeyChain& c, uint64_t k) { return c.key < k; });
        return at != chains.end() && at->key == key ? &*at : nullptr;
    }
    const KeyChain& ChainOf(uint64_t key) const { return *const_cast<MapFile*>(this)->Chain(key); }
    size_t IndexOf(const CurrentRecord& r) const { return static_cast<size_t>(&r - records.data()); }
    const PlacementRecord& Cut(const CurrentRecord& r) const {
        const size_t index = IndexOf(r);
        return std::find_if(cutRecords.begin(), cutRecords.end(), [&](const auto& c) { return c.first == index; })->second;
    }
    NpcPlacement Block(const CurrentRecord& r) const {
        if (r.cut) return Cut(r).block;
        NpcPlacement block;
        std::memcpy(block.Bytes(), image.data() + r.offset, kPlacementBlockSize);
        return block;
    }
    // The stored path of a script record (the block's last byte is its first), else empty.
    std::string_view Script(const CurrentRecord& r, const NpcPlacement& block) const {
        if (r.cut) return Cut(r).script;
        if (!block.HasScript()) return {};
        return std::string_view(image).substr(r.offset + kPlacementBlockSize - 1, block.dropCountOrScriptLength);
    }
    PlacementRecord Record(const CurrentRecord& r) const {
        const NpcPlacement block = Block(r);
        return {block, std::string(Script(r, block))};
    }
};

// A row of the input, resolved: the template index it names and its region file.
struct WantedRow {
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

// Reads a region file into `file`, which may hold another file read before: its buffers are
// reused (a fresh allocation for every file would have the heap trimmed and faulted in again
// file after file). `keys` is scratch room kept from file to file likewise.
bool ReadMapFile(const std::string& path, MapFile& file, int templateCount,
                 std::vector<std::pair<uint64_t, uint32_t>>& keys) {
    file.path = path;
    file.records.clear();
    file.chains.clear();
    file.cutRecords.clear();
    file.defect.clear();
    if (!ReadRegularFile(path, file.image)) return false;
    RegionDefectList defects;
    RegionRecordReader reader(&defects);
    reader.Reset(file.image);
    file.records.reserve(file.image.size() / kPlacementBlockSize);   // most records are a block long
    keys.clear();   // key, record
    keys.reserve(file.records.capacity());
    for (RegionRecord r; reader.Next(r);) {
        CurrentRecord current;
        current.offset = r.offset;
        current.cut = !r.complete;
        if (current.cut) file.cutRecords.push_back({file.records.size(), {r.block, std::string(r.script)}});
        keys.emplace_back(KeyOf(r.block), static_cast<uint32_t>(file.records.size()));
        current.listed = PassesListingRules(r.block, templateCount);
        if (!r.complete && file.defect.empty())
            file.defect = "the record at offset " + std::to_string(r.offset) +
                          " is cut off by the end of the file; the file is left alone (see `morvinpc check`)";
        file.records.push_back(std::move(current));
    }
    // Chains of the records of one key, in file order.
    std::sort(keys.begin(), keys.end());
    for (size_t i = 0; i < keys.size(); ++i) {
        if (i == 0 || keys[i].first != keys[i - 1].first)
            file.chains.push_back({keys[i].first, keys[i].second, keys[i].second});
        else
            file.records[keys[i - 1].second].nextSame = keys[i].second;
    }
    return true;
}

// The path a relative file text names below the server directory as the session resolves it,
// when that path exists as it is spelt (then resolving its case changes nothing): the region
// files of the map do, so a row naming one of them is tied to it without asking the disk.
// Empty for an absolute text, which is left to the session.
std::string RegionFileBelowServer(const std::string& server, const std::string& text) {
    const bool absolute = (!text.empty() && (text[0] == '/' || text[0] == '\\')) || (text.size() > 1 && text[1] == ':');
    if (text.empty() || absolute) return {};
    return CollapseSeparators(server + "/" + text);
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
        if (fate[i] != RecordFate::Keep) groups.insert(KeyOf(file.Block(file.records[i])));
    std::vector<bool> usedTemplate(0x10000, false);
    for (const CurrentRecord& r : file.records) usedTemplate[file.Block(r).TemplateIndex()] = true;
    int nextFree = 0xFFFF;
    std::vector<std::pair<size_t, int>> tagged;   // record, passing template
    for (uint64_t key : groups) {
        for (size_t i = file.ChainOf(key).first; i != kNoRecord; i = file.records[i].nextSame) {
            while (nextFree >= 0 && usedTemplate[static_cast<size_t>(nextFree)]) --nextFree;
            if (nextFree < 0) {
                *error = "too many template indices in use to rewrite the file";
                return std::nullopt;
            }
            const int passing = nextFree--;
            const NpcPlacement block = file.Block(file.records[i]);
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
        const PlacementKey key = KeyWithTemplate(file.Block(current), passing);
        RegionEditResult r;
        if (fate[i] == RecordFate::Remove) {
            r = edit.Remove(key);
        } else {
            const PlacementRecord original = file.Record(current);
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
    InputText inputText;
    if (!inputText.Read(inputFile)) {
        err << "morvinpc: cannot read " << inputFile << "\n";
        return kExitUsage;
    }
    const std::string_view text = inputText.View();
    const auto where = [&inputFile](int line) { return inputFile + ":" + std::to_string(line) + ": "; };
    const std::vector<std::string> paths = session->MapRegionFiles(mapIndex);

    // The rows, each tied to a region file of this map as it is read. What is wrong with a
    // row is told only when the file as a whole has the export's shape.
    ImportInput input;
    std::vector<WantedRow> wanted;   // by row
    wanted.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::vector<std::string> problems;
    std::unordered_map<std::string, size_t> fileOfPath, fileOfText;
    for (size_t f = 0; f < paths.size(); ++f) fileOfPath.emplace(CollapseSeparators(paths[f]), f);
    UnescapedCells cells;
    // Rows name few distinct files, one after the other: resolve each text once.
    std::string lastFileText;
    size_t lastFile = SIZE_MAX;
    const auto resolve = [&](size_t, int line, const RowCellViews& written) {
        const RowCellViews& c = cells.From(written);
        WantedRow& row = wanted.emplace_back();
        if (!ParseInt(c[COL_TEMPLATE], &row.templateIndex)) {
            problems.push_back(where(line) + "template \"" + EscapeUndecodable(c[COL_TEMPLATE]) + "\" is not a number");
            return;
        }
        if (lastFile == SIZE_MAX || c[COL_FILE] != lastFileText) {
            lastFileText.assign(c[COL_FILE]);
            auto known = fileOfText.find(lastFileText);
            if (known == fileOfText.end()) {
                auto byPath = fileOfPath.find(RegionFileBelowServer(session->ServerDirectory(), lastFileText));
                if (byPath == fileOfPath.end()) {
                    const std::string full = lastFileText.empty() ? std::string() : session->FullFile(lastFileText);
                    byPath = fileOfPath.find(CollapseSeparators(full));
                }
                known = fileOfText.emplace(lastFileText, byPath == fileOfPath.end() ? paths.size() : byPath->second).first;
            }
            lastFile = known->second;
        }
        if (lastFile == paths.size()) {
            problems.push_back(where(line) + "\"" + EscapeUndecodable(c[COL_FILE]) + "\" is not a region file of map " + map);
            return;
        }
        row.file = lastFile;
    };
    if (!input.Read(text, &error, resolve)) {
        err << "morvinpc: " << inputFile << ": " << error << "\n";
        return kExitUsage;
    }

    const int templateCount = session->TemplateCount();
    std::vector<MapFile> files(paths.size());
    std::vector<std::vector<uint32_t>> rowsOfFile(paths.size());
    if (problems.empty())
        for (size_t i = 0; i < wanted.size(); ++i) rowsOfFile[wanted[i].file].push_back(static_cast<uint32_t>(i));
    // A region file as the plan names it, made once per file.
    std::vector<std::string> shownFiles(files.size());
    const auto shownFile = [&](size_t f) -> const std::string& {
        if (shownFiles[f].empty()) shownFiles[f] = session->RelativeFile(paths[f]);
        return shownFiles[f];
    };

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
    // The map as it is now is read file by file, once; a file the rows leave as it is is let
    // go at once, so only the images the new files are built from stay.
    std::vector<FileWork> work(files.size());
    std::vector<std::pair<size_t, std::string>> rowProblems;   // (row, why)
    constexpr size_t kAppended = SIZE_MAX;
    std::string cell;
    MapFile spare;   // a file let go, whose buffers the next file is read into
    std::vector<std::pair<uint64_t, uint32_t>> keys;
    for (size_t f = 0; f < files.size(); ++f) {
        files[f] = std::move(spare);
        spare = MapFile{};
        if (!ReadMapFile(paths[f], files[f], templateCount, keys)) {
            err << "morvinpc: cannot read " << session->RelativeFile(paths[f]) << "; nothing written\n";
            return kExitUsage;
        }
        for (size_t k = rowsOfFile[f].size(); k-- > 0;) {
            const size_t i = rowsOfFile[f][k];
            const WantedRow& w = wanted[i];
            const RowCellViews& c = cells.From(input.Cells(i));
            MapFile& file = files[w.file];
            FileWork& fw = work[w.file];
            CurrentRecord* paired = nullptr;
            if (const std::optional<uint64_t> key = KeyOfTexts(w.templateIndex, c)) {
                KeyChain* chain = file.Chain(*key);
                if (chain && chain->unpaired != kNoRecord) {
                    paired = &file.records[chain->unpaired];
                    chain->unpaired = paired->nextSame;
                    paired->paired = true;
                }
            }
            if (paired) {
                // Compared as the window shows them: the cells it would show for the record.
                const NpcPlacement block = file.Block(*paired);
                const std::string_view script = file.Script(*paired, block);
                bool same = true;
                for (int col : kValueColumns) {
                    cell.clear();
                    PlacementRowFormatter::AppendCell(block, script, {}, col, cell);
                    if (cell != c[static_cast<size_t>(col)]) {
                        same = false;
                        break;
                    }
                }
                if (same) continue;
                const RowTexts texts = cells.Texts();
                EditFields fields;
                if (!fieldsOf(texts, fields, &error)) {
                    rowProblems.emplace_back(i, where(input.Line(i)) + error);
                    continue;
                }
                const PlacementRecord current{block, std::string(script)};
                const RowTexts before = RecordTexts(current, shownFile(w.file));
                // A combo or script the row leaves as it shows it keeps the record's own value.
                fields.keepType = fields.type == before[COL_TYPE];
                fields.keepGroup = fields.group == before[COL_GROUP];
                fields.keepSeries = fields.series == before[COL_SERIES];
                fields.keepScript = fields.script == before[COL_SCRIPT];
                PlacementRecord built = current;
                if (const std::optional<std::string> refusal = BuildRecordFromFields(
                        built, fields, block.TemplateIndex(), true, nextRandom)) {
                    rowProblems.emplace_back(i, where(input.Line(i)) + *refusal);
                    continue;
                }
                std::string oldBytes, newBytes;
                AppendPlacementBytes(oldBytes, block, script);
                AppendPlacementBytes(newBytes, built.block, built.script);
                if (oldBytes == newBytes) continue;
                const RowTexts after = RecordTexts(built, shownFile(w.file));
                fw.plan.push_back({file.IndexOf(*paired), "change " + KeyText(before) + ": " + Describe(before, after)});
                fw.changes.emplace_back(file.IndexOf(*paired), std::move(built));
                continue;
            }
            if (w.templateIndex < 1 || w.templateIndex > templateCount) {
                rowProblems.emplace_back(i, where(input.Line(i)) + "template " + std::to_string(w.templateIndex) +
                                   " is not in the template table (1.." + std::to_string(templateCount) + ")");
                continue;
            }
            const RowTexts texts = cells.Texts();
            EditFields fields;
            if (!fieldsOf(texts, fields, &error)) {
                rowProblems.emplace_back(i, where(input.Line(i)) + error);
                continue;
            }
            PlacementRecord built;
            if (const std::optional<std::string> refusal = BuildRecordFromFields(
                    built, fields, static_cast<int>(w.templateIndex), false, nextRandom)) {
                rowProblems.emplace_back(i, where(input.Line(i)) + *refusal);
                continue;
            }
            const RowTexts row = RecordTexts(built, shownFile(w.file));
            fw.plan.push_back({kAppended, "add    " + KeyText(row) + ": \"" + EscapeUndecodable(row[COL_NAME]) + "\""});
            fw.appends.push_back(std::move(built));
            ++fw.additions;
        }
        if (problems.empty())
            for (const CurrentRecord& r : files[f].records) {
                if (r.paired || !r.listed) continue;
                const size_t index = files[f].IndexOf(r);
                const RowTexts row = RecordTexts(files[f].Record(r), shownFile(f));
                work[f].plan.push_back({index, "delete " + KeyText(row) + ": \"" + EscapeUndecodable(row[COL_NAME]) + "\""});
                work[f].removals.push_back(index);
            }
        if (work[f].plan.empty()) {
            spare = std::move(files[f]);
            files[f] = MapFile{};
        }
        std::vector<uint32_t>().swap(rowsOfFile[f]);
    }
    if (!problems.empty()) {
        for (const std::string& p : problems) err << p << "\n";
        err << "morvinpc: nothing written\n";
        return kExitUsage;
    }
    if (!rowProblems.empty()) {
        // Told as the rows are paired: from the last row up.
        std::stable_sort(rowProblems.begin(), rowProblems.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& p : rowProblems) err << p.second << "\n";
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
