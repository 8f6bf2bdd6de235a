#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/FieldArguments.h"
#include "cli/ImportInput.h"
#include "cli/ImportPlan.h"
#include "cli/InputText.h"
#include "cli/RowOutput.h"
#include "data/platform/AtomicFile.h"
#include "data/platform/FileReadAhead.h"
#include "data/text/IntegerText.h"
#include "data/region/ListingRule.h"
#include "data/region/RegionRecordReader.h"
#include "data/server/ServerPath.h"
#include "document/PlacementRowFormatter.h"
#include "texts/ProgramTexts.h"

namespace morvi::cli {
namespace {

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
PlacementKey KeyOfBlock(const NpcPlacement& p) { return {p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY}; }

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
    // How many records of the same key come before it in the file.
    int Occurrence(const CurrentRecord& r) const {
        const size_t index = IndexOf(r);
        int before = 0;
        for (uint32_t i = ChainOf(KeyOf(Block(r))).first; i != kNoRecord && i != index; i = records[i].nextSame)
            ++before;
        return before;
    }
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

// Everything the import does to one region file: the document's plan for it, and the lines
// that tell the operator.
struct FileWork {
    ImportFilePlan plan;
    std::vector<std::pair<size_t, std::string>> lines;         // (record index or past-the-end, line)
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
            file.defect = Format(TextId::CliRecordCutOff, {std::to_string(r.offset)});
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

// The draft's field of a column.
PlacementField FieldOfColumn(int column) {
    switch (column) {
        case COL_NAME: return PlacementField::Name;
        case COL_TYPE: return PlacementField::Type;
        case COL_GROUP: return PlacementField::Group;
        case COL_SERIES: return PlacementField::Series;
        case COL_DROP: return PlacementField::Drop;
        case COL_SCRIPT: return PlacementField::Script;
        case COL_POS_X: return PlacementField::PosX;
        case COL_POS_Y: return PlacementField::PosY;
        case COL_OFFSET_X: return PlacementField::OffsetX;
        case COL_OFFSET_Y: return PlacementField::OffsetY;
        default: return PlacementField::None;
    }
}

std::string RecordBytes(const PlacementRecord& record) {
    std::string bytes;
    AppendPlacementBytes(bytes, record.block, record.script);
    return bytes;
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
        err << kMessagePrefix << Format(TextId::CliCannotRead, {inputFile}) << "\n";
        return kExitUsage;
    }
    const std::string_view text = inputText.View();
    // A problem of a line of the input.
    const auto where = [&inputFile](int line, const std::string& why) {
        return Format(TextId::CliAtPlace, {inputFile, std::to_string(line), why});
    };
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
            problems.push_back(where(line, Format(TextId::CliTemplateNotNumber, {EscapeUndecodable(c[COL_TEMPLATE])})));
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
            problems.push_back(where(line, Format(TextId::CliRowFileNotOfMap, {EscapeUndecodable(c[COL_FILE]), map})));
            return;
        }
        row.file = lastFile;
    };
    if (!input.Read(text, &error, resolve)) {
        err << kMessagePrefix << Format(TextId::CliInFile, {inputFile, error}) << "\n";
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

    // Offsets left empty are drawn by the document's check, from this source: once, while the
    // plan is made, so the plan shows the offsets that are written.
    std::minstd_rand random(static_cast<unsigned>(
        std::chrono::steady_clock::now().time_since_epoch().count() % 10000 + 1));
    const RandomSource nextRandom = [&random] { return static_cast<int>(random() & 0x7FFF); };
    const auto rowProblem = [&](size_t row, const std::string& why) {
        return std::make_pair(row, where(input.Line(row), why));
    };

    // Pair rows with records of the same key and file, both in file order (an export lists
    // the rows in the window's order, the reverse of file order). Records the window hides
    // pair like any other (a `list --all` export holds them); only listed records are deleted
    // for want of a row, since an export without --all never shows the others.
    // The map as it is now is read file by file, once, into the buffers of the file before.
    std::vector<FileWork> work(files.size());
    std::vector<std::pair<size_t, std::string>> rowProblems;   // (row, why)
    constexpr size_t kAppended = SIZE_MAX;
    std::string cell;
    MapFile spare;   // a file let go, whose buffers the next file is read into
    std::vector<std::pair<uint64_t, uint32_t>> keys;
    std::vector<std::string> defects(files.size());   // why a file must not be changed
    for (size_t f = 0; f < files.size(); ++f) {
        files[f] = std::move(spare);
        spare = MapFile{};
        if (!ReadMapFile(paths[f], files[f], templateCount, keys)) {
            err << kMessagePrefix << Format(TextId::CliCannotRead, {session->RelativeFile(paths[f])})
                << Text(TextId::CliListSeparator) << Text(TextId::CliNothingWritten) << "\n";
            return kExitUsage;
        }
        work[f].plan.file = paths[f];
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
                // Compared as the window shows them: the cells it would show for the record. A
                // cell the row shows as the record does is a field left as it is.
                const NpcPlacement block = file.Block(*paired);
                const std::string_view script = file.Script(*paired, block);
                PlacementDraft draft;
                std::optional<FieldSyntaxError> syntax;
                int differing = 0;
                bool scriptKept = true;
                for (int col : kValueColumns) {
                    cell.clear();
                    PlacementRowFormatter::AppendCell(block, script, {}, col, cell);
                    if (cell == c[static_cast<size_t>(col)]) continue;
                    if (col == COL_SCRIPT) scriptKept = false;
                    // A drop count beside a script path the row keeps cannot be stored: the
                    // script stays, as in the window.
                    if (col == COL_DROP && block.HasScript()) continue;
                    ++differing;
                    if ((syntax = SetDraftField(draft, FieldOfColumn(col), c[static_cast<size_t>(col)],
                                                EmptyDrop::TypeDefault)))
                        break;
                }
                // The drop count of a script record whose script the row takes away.
                if (!syntax && !scriptKept && block.HasScript() && c[COL_DROP] != "") {
                    ++differing;
                    syntax = SetDraftField(draft, PlacementField::Drop, c[COL_DROP], EmptyDrop::TypeDefault);
                }
                if (syntax) {
                    rowProblems.push_back(rowProblem(i, DescribeSyntaxError(*syntax, FieldNaming::Column)));
                    continue;
                }
                if (differing == 0) continue;
                Expected<CheckedDraft, DocumentError> checked = CheckDraft(draft, nextRandom);
                if (!checked) {
                    rowProblems.push_back(rowProblem(i, DescribeDocumentError(*session, checked.error(), FieldNaming::Column)));
                    continue;
                }
                const PlacementRecord current{block, std::string(script)};
                PlacementRecord built = current;
                ApplyDraft(built, *checked);
                if (RecordBytes(built) == RecordBytes(current)) continue;
                const RowTexts before = RecordTexts(current, shownFile(w.file));
                const RowTexts after = RecordTexts(built, shownFile(w.file));
                fw.lines.push_back(
                    {file.IndexOf(*paired), Format(TextId::CliPlanChange, {KeyText(before), DescribeCellChanges(before, after)})});
                fw.plan.changes.push_back({ImportTarget{KeyOfBlock(block), file.Occurrence(*paired)}, std::move(draft)});
                continue;
            }
            if (w.templateIndex < 1 || w.templateIndex > templateCount) {
                const std::string given = std::to_string(w.templateIndex), most = std::to_string(templateCount);
                rowProblems.push_back(rowProblem(i, Format(TextId::CliTemplateNotInTable, {given, most})));
                continue;
            }
            // A new placement: every column is a field set, an empty one as an empty field of
            // the window's edit area.
            PlacementDraft draft;
            draft.templateIndex = static_cast<int>(w.templateIndex);
            std::optional<FieldSyntaxError> syntax;
            for (int col : {COL_NAME, COL_POS_X, COL_OFFSET_X, COL_POS_Y, COL_OFFSET_Y, COL_TYPE, COL_GROUP, COL_SERIES,
                            COL_DROP, COL_SCRIPT})
                if ((syntax = SetDraftField(draft, FieldOfColumn(col), c[static_cast<size_t>(col)], EmptyDrop::Zero)))
                    break;
            if (syntax) {
                rowProblems.push_back(rowProblem(i, DescribeSyntaxError(*syntax, FieldNaming::Column)));
                continue;
            }
            Expected<CheckedDraft, DocumentError> checked = CheckDraft(draft, nextRandom);
            if (!checked) {
                rowProblems.push_back(rowProblem(i, DescribeDocumentError(*session, checked.error(), FieldNaming::Column)));
                continue;
            }
            // The offsets drawn for the plan are the ones written.
            draft.offsetX = OffsetChoice::Of(*checked->offsetX);
            draft.offsetY = OffsetChoice::Of(*checked->offsetY);
            PlacementRecord built;
            ApplyDraft(built, *checked);
            const RowTexts row = RecordTexts(built, shownFile(w.file));
            fw.lines.push_back(
                {kAppended, Format(TextId::CliPlanAdd, {KeyText(row), EscapeUndecodable(row[COL_NAME])})});
            fw.plan.additions.push_back(std::move(draft));
        }
        if (problems.empty())
            for (const CurrentRecord& r : files[f].records) {
                if (r.paired || !r.listed) continue;
                const size_t index = files[f].IndexOf(r);
                const PlacementRecord record = files[f].Record(r);
                const RowTexts row = RecordTexts(record, shownFile(f));
                work[f].lines.push_back(
                    {index, Format(TextId::CliPlanDelete, {KeyText(row), EscapeUndecodable(row[COL_NAME])})});
                work[f].plan.deletions.push_back(ImportTarget{KeyOfBlock(record.block), files[f].Occurrence(r)});
            }
        defects[f] = files[f].defect;
        spare = std::move(files[f]);
        files[f] = MapFile{};
        std::vector<uint32_t>().swap(rowsOfFile[f]);
    }
    if (!problems.empty()) {
        for (const std::string& p : problems) err << p << "\n";
        err << kMessagePrefix << Text(TextId::CliNothingWritten) << "\n";
        return kExitUsage;
    }
    if (!rowProblems.empty()) {
        // Told as the rows are paired: from the last row up.
        std::stable_sort(rowProblems.begin(), rowProblems.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& p : rowProblems) err << p.second << "\n";
        err << kMessagePrefix << Text(TextId::CliNothingWritten) << "\n";
        return kExitFailed;
    }

    // The files that change, in the map's order, each told record by record in file order.
    ImportPlan plan;
    int additions = 0, changes = 0, deletions = 0;
    for (size_t f = 0; f < work.size(); ++f) {
        FileWork& fw = work[f];
        if (fw.lines.empty()) continue;
        if (!defects[f].empty()) {
            err << kMessagePrefix << Format(TextId::CliInFile, {session->RelativeFile(paths[f]), defects[f]})
                << Text(TextId::CliListSeparator) << Text(TextId::CliNothingWritten) << "\n";
            return kExitFailed;
        }
        std::stable_sort(fw.lines.begin(), fw.lines.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& line : fw.lines) out << line.second << "\n";
        additions += static_cast<int>(fw.plan.additions.size());
        changes += static_cast<int>(fw.plan.changes.size());
        deletions += static_cast<int>(fw.plan.deletions.size());
        plan.files.push_back(std::move(fw.plan));
    }
    if (plan.files.empty()) {
        out << Format(TextId::CliNothingToImport, {map, inputFile}) << "\n";
        return kExitOk;
    }
    out << Format(TextId::CliImportCounts, {std::to_string(additions), std::to_string(changes),
                                            std::to_string(deletions), std::to_string(plan.files.size())})
        << "\n";
    if (dryRun) {
        out << Text(TextId::CliDryRun) << "\n";
        return kExitOk;
    }

    // One step of the change history, all or nothing: when a file cannot be written, the
    // document takes back the files already written.
    // The document names the map in the history by the map it has loaded.
    session->LoadMap(mapIndex);
    MapDocument& document = session->document;
    StepOptions options;
    options.beforeFile = hooks.beforeWrite;
    document.SetStepOptions(options);
    const Expected<ImportReport, ImportFailure> imported = document.Import(plan);
    if (!imported) {
        const ImportFailure& failure = imported.error();
        err << kMessagePrefix
            << Format(TextId::CliImportStopped, {DescribeDocumentError(*session, failure.error, FieldNaming::Column)})
            << "\n";
        if (failure.restored)
            err << kMessagePrefix << Text(TextId::CliNoRegionFileChanged) << "\n";
        else
            err << kMessagePrefix << Format(TextId::CliRestoreFailed, {failure.restoreFailure}) << "\n";
        return kExitFailed;
    }
    out << Format(TextId::CliWrote, {std::to_string(imported->filesWritten)}) << "\n";
    return kExitOk;
}

}  // namespace morvi::cli
