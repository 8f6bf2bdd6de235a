#include <map>
#include <tuple>

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/ImportPlan.h"
#include "cli/RecordBuilder.h"
#include "cli/RegionScan.h"
#include "cli/RowOutput.h"
#include "data/AtomicFile.h"
#include "data/ServerPath.h"
#include "dialog/CPlacementDlg.h"

namespace morvi::cli {
namespace {

struct InputRow {
    int line = 0;                      // line of the CSV file, or position in the JSON array
    std::vector<std::string> fields;   // as written (escaped), in ExportColumns order
};

struct WantedRow {
    int line = 0;
    RowTexts cells;      // window texts; column 10 is the region file's full path
    size_t file = 0;     // index among the map's region files
};

struct CurrentRow {
    size_t file = 0;
    size_t record = 0;   // index among the file's counted records
    RowTexts cells;
};

// Everything the import does to one region file.
struct FileWork {
    std::map<size_t, std::optional<PlacementRecord>> edits;   // record index -> new record, or deletion
    std::vector<PlacementRecord> appends;                     // in the order they are appended
    std::vector<std::pair<size_t, std::string>> plan;         // (record index or past-the-end, line)
    int additions = 0, changes = 0, deletions = 0;
};

using RowKey = std::tuple<size_t, int, int, int, int, int>;

RowKey KeyOf(size_t file, const RowTexts& c) {
    return {file, TextToInt(c[COL_TEMPLATE]), TextToInt(c[COL_POS_X]), TextToInt(c[COL_POS_Y]),
            TextToInt(c[COL_OFFSET_X]), TextToInt(c[COL_OFFSET_Y])};
}

bool ReadCsvRows(const std::string& text, std::vector<InputRow>& rows, std::string* error) {
    const std::optional<std::vector<CsvRecord>> records = ParseCsv(text, error);
    if (!records) return false;
    if (records->empty() || (*records)[0].fields != ExportColumns()) {
        std::string header;
        for (const std::string& c : ExportColumns()) header += (header.empty() ? "" : ",") + c;
        *error = "the first line must be the export's header: " + header;
        return false;
    }
    for (size_t i = 1; i < records->size(); ++i) {
        const CsvRecord& r = (*records)[i];
        if (r.fields.size() != ExportColumns().size()) {
            *error = "line " + std::to_string(r.line) + ": " + std::to_string(r.fields.size()) + " fields, " +
                     std::to_string(ExportColumns().size()) + " expected";
            return false;
        }
        rows.push_back({r.line, r.fields});
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

std::string RecordBytes(const PlacementRecord& r) {
    std::string bytes;
    AppendPlacementBytes(bytes, r.block, r.script);
    return bytes;
}

// The new image of a region file: the bytes before the first record (the count adjusted), the
// counted records kept, replaced or left out, whatever followed them, then the additions.
// Exactly what the window's modify, delete and add would leave, applied one after another.
std::optional<std::string> NewImage(const RegionScan& scan, const FileWork& work, std::string* error) {
    for (const ScannedRecord& r : scan.counted)
        if (!r.complete) {
            *error = "the record at offset " + std::to_string(r.offset) +
                     " is cut off by the end of the file; the file is left alone (see `morvinpc check`)";
            return std::nullopt;
        }
    long count = scan.count;
    for (const auto& [index, record] : work.edits)
        if (!record) --count;
    count += static_cast<long>(work.appends.size());
    if (count > 0xFFFF) {
        *error = "more than 65535 placements would not fit the count of the file";
        return std::nullopt;
    }
    std::string image = scan.image.substr(0, static_cast<size_t>(kFirstRecordOffset));
    image.resize(static_cast<size_t>(kFirstRecordOffset), '\0');
    SectionHeader header = HeaderFromImage(scan.image);
    SetHeaderPlacementCount(header, static_cast<uint16_t>(count));
    std::copy(header.begin(), header.end(), image.begin() + kNpcSectionOffset);

    size_t end = static_cast<size_t>(kFirstRecordOffset);
    for (size_t i = 0; i < scan.counted.size(); ++i) {
        const ScannedRecord& r = scan.counted[i];
        const auto edit = work.edits.find(i);
        if (edit == work.edits.end()) image.append(scan.image, r.offset, r.length);
        else if (edit->second) AppendPlacementBytes(image, edit->second->block, edit->second->script);
        end = r.offset + r.length;
    }
    if (end < scan.image.size()) image.append(scan.image, end, std::string::npos);
    for (const PlacementRecord& r : work.appends) AppendPlacementBytes(image, r.block, r.script);
    return image;
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

    std::string text, error;
    if (!ReadWholeFile(inputFile, text)) {
        err << "morvinpc: cannot read " << inputFile << "\n";
        return kExitUsage;
    }
    std::vector<InputRow> input;
    if (!ReadInput(text, input, &error)) {
        err << "morvinpc: " << inputFile << ": " << error << "\n";
        return kExitUsage;
    }

    // The map as it is now, read once; these images are what the new files are built from.
    const std::vector<std::string> files = session->MapRegionFiles(mapIndex);
    std::vector<RegionScan> scans(files.size());
    for (size_t f = 0; f < files.size(); ++f)
        if (!ScanRegionFile(files[f], scans[f])) {
            err << "morvinpc: cannot read " << session->RelativeFile(files[f]) << "; nothing written\n";
            return kExitUsage;
        }
    std::vector<CurrentRow> current;
    for (size_t f = 0; f < files.size(); ++f)
        for (size_t r = 0; r < scans[f].counted.size(); ++r) {
            const PlacementRecord& record = scans[f].counted[r].record;
            if (HiddenReasons(record.block, session->TemplateCount()).empty())
                current.push_back({f, r, WindowRow(record, files[f])});
        }

    // The wanted rows, each tied to a region file of this map.
    std::vector<WantedRow> wanted;
    std::vector<std::string> problems;
    std::map<std::string, size_t> fileOfPath, fileOfText;
    for (size_t f = 0; f < files.size(); ++f) fileOfPath.emplace(CollapseSeparators(files[f]), f);
    for (const InputRow& in : input) {
        WantedRow row;
        row.line = in.line;
        for (size_t c = 0; c < row.cells.size(); ++c) row.cells[c] = UnescapeUndecodable(in.fields[c]);
        const std::string where = inputFile + ":" + std::to_string(in.line) + ": ";
        long long number = 0;
        if (!ParseInt(row.cells[COL_TEMPLATE], &number)) {
            problems.push_back(where + "template \"" + in.fields[COL_TEMPLATE] + "\" is not a number");
            continue;
        }
        // Rows name few distinct files: resolve each text once.
        auto known = fileOfText.find(row.cells[COL_FILE]);
        if (known == fileOfText.end()) {
            const std::string full = row.cells[COL_FILE].empty() ? std::string() : session->FullFile(row.cells[COL_FILE]);
            const auto byPath = fileOfPath.find(CollapseSeparators(full));
            known = fileOfText.emplace(row.cells[COL_FILE], byPath == fileOfPath.end() ? files.size() : byPath->second).first;
        }
        const size_t f = known->second;
        if (f == files.size()) {
            problems.push_back(where + "\"" + in.fields[COL_FILE] + "\" is not a region file of map " + map);
            continue;
        }
        row.file = f;
        row.cells[COL_FILE] = files[f];
        wanted.push_back(std::move(row));
    }
    if (!problems.empty()) {
        for (const std::string& p : problems) err << p << "\n";
        err << "morvinpc: nothing written\n";
        return kExitUsage;
    }

    // Pair rows with records of the same key and file, both in file order (an export lists
    // the rows in the window's order, the reverse of file order).
    struct Candidates {
        std::vector<size_t> rows;   // current rows of one key and file, in file order
        size_t next = 0;            // the first one not yet paired
    };
    std::map<RowKey, Candidates> unmatched;
    for (size_t i = 0; i < current.size(); ++i) unmatched[KeyOf(current[i].file, current[i].cells)].rows.push_back(i);
    std::vector<bool> currentMatched(current.size(), false);

    RecordBuilder builder(*session, mapIndex);
    if (!builder.Ready(&error)) {
        err << "morvinpc: " << error << "\n";
        return kExitUsage;
    }
    std::vector<FileWork> work(files.size());
    constexpr size_t kAppended = static_cast<size_t>(-1);
    for (auto w = wanted.rbegin(); w != wanted.rend(); ++w) {
        const std::string where = inputFile + ":" + std::to_string(w->line) + ": ";
        FileWork& fw = work[w->file];
        auto group = unmatched.find(KeyOf(w->file, w->cells));
        if (group != unmatched.end() && group->second.next < group->second.rows.size()) {
            const size_t paired = group->second.rows[group->second.next++];
            const CurrentRow& cur = current[paired];
            currentMatched[paired] = true;
            const PlacementRecord& old = scans[cur.file].counted[cur.record].record;
            bool same = true;
            for (int c : {COL_NAME, COL_TYPE, COL_GROUP, COL_SERIES, COL_DROP, COL_SCRIPT})
                same = same && w->cells[static_cast<size_t>(c)] == cur.cells[static_cast<size_t>(c)];
            if (same) continue;
            const std::optional<PlacementRecord> built = builder.Change(old, w->cells, &error);
            if (!built) {
                problems.push_back(where + error);
                continue;
            }
            if (RecordBytes(*built) == RecordBytes(old)) continue;
            fw.edits[cur.record] = *built;
            ++fw.changes;
            const RowTexts after = WindowRow(*built, session->RelativeFile(files[cur.file]));
            RowTexts before = cur.cells;
            before[COL_FILE] = after[COL_FILE];
            fw.plan.push_back({cur.record, "change " + KeyText(before) + ": " + Describe(before, after)});
            continue;
        }
        long long templateIndex = 0;
        ParseInt(w->cells[COL_TEMPLATE], &templateIndex);
        const std::optional<PlacementRecord> built =
            builder.Add(static_cast<int>(std::clamp<long long>(templateIndex, INT32_MIN, INT32_MAX)), w->cells, &error);
        if (!built) {
            problems.push_back(where + error);
            continue;
        }
        fw.appends.push_back(*built);
        ++fw.additions;
        const RowTexts row = WindowRow(*built, session->RelativeFile(files[w->file]));
        fw.plan.push_back({kAppended, "add    " + KeyText(row) + ": \"" + EscapeUndecodable(row[COL_NAME]) + "\""});
    }
    for (size_t i = 0; i < current.size(); ++i) {
        if (currentMatched[i]) continue;
        FileWork& fw = work[current[i].file];
        fw.edits[current[i].record] = std::nullopt;
        ++fw.deletions;
        RowTexts row = current[i].cells;
        row[COL_FILE] = session->RelativeFile(files[current[i].file]);
        fw.plan.push_back({current[i].record, "delete " + KeyText(row) + ": \"" + EscapeUndecodable(row[COL_NAME]) + "\""});
    }
    if (!problems.empty()) {
        for (const std::string& p : problems) err << p << "\n";
        err << "morvinpc: nothing written\n";
        return kExitFailed;
    }

    // New images of the files that change.
    std::vector<std::pair<size_t, std::string>> writes;
    int additions = 0, changes = 0, deletions = 0;
    for (size_t f = 0; f < files.size(); ++f) {
        FileWork& fw = work[f];
        if (fw.plan.empty()) continue;
        const std::optional<std::string> image = NewImage(scans[f], fw, &error);
        if (!image) {
            err << "morvinpc: " << session->RelativeFile(files[f]) << ": " << error << "; nothing written\n";
            return kExitFailed;
        }
        if (*image == scans[f].image) continue;
        std::stable_sort(fw.plan.begin(), fw.plan.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& line : fw.plan) out << line.second << "\n";
        additions += fw.additions;
        changes += fw.changes;
        deletions += fw.deletions;
        writes.emplace_back(f, *image);
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

    // One crash-safe replacement per file. When one fails, the files already replaced get
    // their old contents back, so the map is left as it was.
    for (size_t i = 0; i < writes.size(); ++i) {
        const auto& [f, image] = writes[i];
        if (hooks.beforeWrite) hooks.beforeWrite(i, files[f]);
        std::string now;
        std::string failure;
        if (!ReadWholeFile(files[f], now) || now != scans[f].image)
            failure = session->RelativeFile(files[f]) + " changed since it was read";
        else if (!ReplaceFileContents(files[f], image, &failure))
            failure = session->RelativeFile(files[f]) + ": " + failure;
        if (failure.empty()) continue;

        err << "morvinpc: import stopped: " << failure << "\n";
        bool restored = true;
        for (size_t k = i; k-- > 0;) {
            const size_t written = writes[k].first;
            std::string restoreError;
            if (!ReplaceFileContents(files[written], scans[written].image, &restoreError)) {
                err << "morvinpc: could not restore " << session->RelativeFile(files[written])
                    << ", it holds the imported content: " << restoreError << "\n";
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
