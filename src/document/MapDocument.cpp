#include "document/MapDocument.h"

#include <algorithm>
#include <chrono>
#include <unordered_map>

#include "data/platform/FileReadAhead.h"
#include "data/region/ListingRule.h"
#include "data/region/MapRegionFiles.h"
#include "data/region/RegionImageEdit.h"
#include "data/region/RegionRecordReader.h"
#include "data/server/ServerPath.h"

namespace morvi {
namespace {

std::string WithForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// `path` relative to the server directory as the caller spells both, '/' between names; empty
// when it does not begin with it (the history then works it out from the resolved paths).
std::string RelativeToServer(const std::string& serverPath, const std::string& path) {
    std::string root = WithForwardSlashes(CollapseSeparators(serverPath));
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    root += '/';
    const std::string full = WithForwardSlashes(CollapseSeparators(path));
    if (full.size() <= root.size() || full.compare(0, root.size(), root) != 0) return {};
    return full.substr(root.size());
}

PlacementKey KeyOf(const NpcPlacement& p) {
    return PlacementKey{p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
}

PlacementKey KeyOfRecord(const PlacementRecord& r) { return KeyOf(r.block); }

std::string RecordBytes(const PlacementRecord& record) {
    std::string bytes;
    AppendPlacementBytes(bytes, record.block, record.script);
    return bytes;
}

DocumentError ErrorOf(DocumentErrorCode code, std::string file = {}, std::string system = {}) {
    DocumentError error;
    error.code = code;
    error.file = std::move(file);
    error.system = std::move(system);
    return error;
}

DocumentErrorCode CodeOfEdit(RegionEditStatus status) {
    switch (status) {
        case RegionEditStatus::NotFound: return DocumentErrorCode::KeyNotFound;
        case RegionEditStatus::NotTiled: return DocumentErrorCode::NotTiled;
        case RegionEditStatus::CountFull: return DocumentErrorCode::CountFull;
        case RegionEditStatus::Declined:
        case RegionEditStatus::Done: break;
    }
    return DocumentErrorCode::WriteFailed;
}

// What became of one file's edit: nullopt when it is on disk (or needed no change).
// `refusal` is what the edit itself said when it did not fit the file.
std::optional<DocumentError> FileError(const FileWriteResult& file, std::optional<DocumentErrorCode> refusal) {
    switch (file.status) {
        case FileWriteStatus::Written:
        case FileWriteStatus::Unchanged:
            if (refusal) return ErrorOf(*refusal, file.path);
            return std::nullopt;
        case FileWriteStatus::Refused:
            return ErrorOf(refusal.value_or(DocumentErrorCode::KeyNotFound), file.path, file.reason);
        case FileWriteStatus::ChangedMeanwhile: return ErrorOf(DocumentErrorCode::ChangedMeanwhile, file.path, file.reason);
        case FileWriteStatus::HistoryFailed: return ErrorOf(DocumentErrorCode::HistoryFailed, file.path, file.reason);
        case FileWriteStatus::WriteFailed: return ErrorOf(DocumentErrorCode::WriteFailed, file.path, file.reason);
        case FileWriteStatus::Unreadable: return ErrorOf(DocumentErrorCode::FileUnreadable, file.path, file.reason);
        case FileWriteStatus::LockFailed: return ErrorOf(DocumentErrorCode::LockFailed, file.path, file.reason);
    }
    return ErrorOf(DocumentErrorCode::WriteFailed, file.path, file.reason);
}

// One file's change whose edit runs over the file's bytes as they are when its turn comes,
// under the file's writer lock.
FileChange EditedFile(const std::string& path, FileEdit edit) {
    FileChange change;
    change.path = path;
    change.edit = std::move(edit);
    return change;
}

uint32_t SteadyMilliseconds() {
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

}  // namespace

MapDocument::MapDocument() : m_seed(SteadyMilliseconds) {}
MapDocument::~MapDocument() = default;

// --- the server tree and its history ---------------------------------------------------------

void MapDocument::SetServerPath(std::string serverPath) { m_serverPath = std::move(serverPath); }

void MapDocument::SetHistoryDirectory(std::string directory) {
    m_historyDirectory = std::move(directory);
    m_history.reset();
}

ChangeHistory& MapDocument::History() {
    if (!m_history || m_historyFor != m_serverPath) {
        m_history = m_historyDirectory.empty() ? std::make_unique<ChangeHistory>(m_serverPath)
                                               : std::make_unique<ChangeHistory>(m_serverPath, m_historyDirectory);
        m_historyFor = m_serverPath;
        // Steps of another tree's history mean nothing in this one.
        m_undoSteps.clear();
        m_redoSteps.clear();
    }
    return *m_history;
}

StepResult MapDocument::WriteStep(const std::string& operation, std::vector<FileChange> changes,
                                  const StepOptions& options) {
    for (FileChange& change : changes)
        if (change.relativePath.empty()) change.relativePath = RelativeToServer(m_serverPath, change.path);
    const StepInfo info{m_program, operation, m_mapName, 0};
    m_lastStep = WriteJournaledStep(History(), info, changes, options);
    KeepStampsOfWritten(m_lastStep);
    if (m_lastStep.step != 0 && m_lastStep.WrittenCount() > 0) {
        m_undoSteps.push_back(m_lastStep.step);
        m_redoSteps.clear();
    }
    return m_lastStep;
}

void MapDocument::KeepStampsOfWritten(const StepResult& step) {
    ++m_generation;
    for (const FileWriteResult& file : step.files) {
        if (file.status != FileWriteStatus::Written) continue;
        // The file as we left it is the file as loaded.
        const auto it = m_loadStamps.find(file.path);
        if (it != m_loadStamps.end()) it->second = StampOfFile(file.path);
    }
}

void MapDocument::NoteChangedSinceLoad(const std::string& path) {
    const auto it = m_loadStamps.find(path);
    if (it == m_loadStamps.end()) return;   // not read by the load: nothing to compare with
    if (StampOfFile(path) == it->second) return;
    if (std::find(m_changedSinceLoad.begin(), m_changedSinceLoad.end(), path) == m_changedSinceLoad.end())
        m_changedSinceLoad.push_back(path);
    // The write about to be made takes the new stamp; the rows still show the old content.
    NoteOutsideChange(path);
}

void MapDocument::NoteOutsideChange(const std::string& path) {
    if (std::find(m_outsideChanges.begin(), m_outsideChanges.end(), path) == m_outsideChanges.end())
        m_outsideChanges.push_back(path);
}

std::vector<std::string> MapDocument::FilesChangedOnDisk() {
    for (const std::string& path : m_loadedFiles) {
        const auto it = m_loadStamps.find(path);
        if (it != m_loadStamps.end() && StampOfFile(path) != it->second) NoteOutsideChange(path);
    }
    // In the map's order, whatever order they were found in.
    std::vector<std::string> changed;
    for (const std::string& path : m_loadedFiles)
        if (std::find(m_outsideChanges.begin(), m_outsideChanges.end(), path) != m_outsideChanges.end())
            changed.push_back(path);
    return changed;
}

void MapDocument::SeedRandom() { m_random.seed(static_cast<std::minstd_rand::result_type>(m_seed() % 10000u)); }

int MapDocument::NextRandom() {
    // minstd_rand yields 1 .. 2^31 - 2, which always fits a non-negative int.
    return static_cast<int>(m_random());
}

// --- the map -----------------------------------------------------------------------------------

Expected<LoadSummary, DocumentError> MapDocument::Load(const std::string& mapDirectory, int templateCount,
                                                       const LoadProgress& progress, std::string mapName) {
    m_mapDirectory = mapDirectory;
    m_mapName = std::move(mapName);
    m_templateCount = templateCount;
    m_loaded = true;
    return Reload(progress);
}

Expected<LoadSummary, DocumentError> MapDocument::Reload(const LoadProgress& progress) {
    const std::vector<std::string> paths = ListMapRegionFiles(m_mapDirectory);
    m_rows.Clear();
    m_loadStamps.clear();
    m_loadedFiles = paths;
    m_outsideChanges.clear();
    ++m_generation;
    if (m_observer) m_observer->RowsReset();

    LoadSummary summary;
    const size_t files = paths.size();
    summary.files = files;
    const size_t step = files / 100 == 0 ? 1 : files / 100;
    // Files are read in the list's order; the read-ahead only lets the disk work ahead.
    FileReadAhead readAhead(paths);
    RegionRecordReader reader;
    RegionRecord record;
    for (size_t i = 0; i < files; ++i) {
        // Taken as the file is read, so a change made after it was read shows at the next write.
        FileStamp stamp;
        const bool read = reader.Open(readAhead, i, RegionRecordReader::Walk::ByCount, &stamp);
        m_loadStamps[paths[i]] = stamp;
        if (!read || reader.Count() == 0) continue;
        const size_t number = i / step;
        const uint32_t file = m_rows.InternFile(paths[i]);
        int listed = 0;
        while (reader.Next(record)) {
            if (PassesListingRules(record.block, m_templateCount)) {
                m_rows.InsertTop(file, record.block, record.script);
                ++listed;
            }
            summary.anyRecord = true;
            if (progress) progress(number);
        }
        if (listed > 0 && m_observer) m_observer->RowsInsertedAtTop(listed);
    }
    summary.rows = m_rows.Count();
    return summary;
}

void MapDocument::InsertRow(const std::string& file, const PlacementRecord& record) {
    m_rows.InsertTop(file, record);
    if (m_observer) m_observer->RowsInsertedAtTop(1);
}

void MapDocument::SetRowOverride(int row, int column, std::string text) {
    if (row < 0 || row >= m_rows.Count()) return;
    m_rows.SetOverride(row, column, std::move(text));
    if (m_observer) m_observer->RowChanged(row);
}

void MapDocument::ReplaceRow(int row, const PlacementRecord& record) {
    if (row < 0 || row >= m_rows.Count()) return;
    // Every column the record decides shows the new record, the unused one of drop count and
    // script included, so the row never shows a value the record no longer has.
    m_rows.Replace(row, record.block, record.script);
    m_rows.ClearOverrides(row);
    if (m_observer) m_observer->RowChanged(row);
}

void MapDocument::Close() {
    m_loaded = false;
    m_mapDirectory.clear();
    m_mapName.clear();
    m_loadStamps.clear();
    m_loadedFiles.clear();
    m_outsideChanges.clear();
    ++m_generation;
    m_rows.Clear();
    if (m_observer) m_observer->RowsReset();
}

// --- edits -------------------------------------------------------------------------------------

Expected<AddResult, DocumentError> MapDocument::Add(const PlacementDraft& draft, const AddOptions& options) {
    SeedRandom();
    const Expected<CheckedDraft, DocumentError> checked = CheckDraft(draft, [this] { return NextRandom(); });
    if (!checked) return MakeUnexpected(checked.error());

    std::string path = options.targetFile;
    if (path.empty()) {
        if (!options.mapDirectory && !m_loaded) return MakeUnexpected(ErrorOf(DocumentErrorCode::NoMap));
        const std::string& directory = options.mapDirectory ? *options.mapDirectory : m_mapDirectory;
        const std::vector<std::string> files = ListMapRegionFiles(directory);
        if (files.empty()) return MakeUnexpected(ErrorOf(DocumentErrorCode::NoRegionFile, directory));
        // The file-choice rule: r - 1 for a random r below n, and 0 for r = 0, so with two or
        // more files the last one is never chosen.
        const int n = static_cast<int>(files.size());
        const int r = NextRandom() % n;
        path = files[static_cast<size_t>(r - 1 < 0 ? 0 : r - 1)];
    }

    PlacementRecord record = options.base.value_or(PlacementRecord{});
    ApplyDraft(record, *checked);

    m_changedSinceLoad.clear();
    NoteChangedSinceLoad(path);
    std::optional<DocumentErrorCode> refusal;
    FileEdit edit = [&](const std::string& current, std::string& after, std::vector<RecordChange>& records) {
        RegionImageEdit image(current);
        const RegionEditResult done = image.Append(record);
        refusal.reset();
        if (!done.ok()) {
            refusal = CodeOfEdit(done.status);
            return FileEditOutcome{false, {}};
        }
        after = image.Image();
        records = {{KeyOf(record.block), {}, RecordBytes(record)}};
        return FileEditOutcome{};
    };
    std::vector<FileChange> changes{EditedFile(path, std::move(edit))};
    const StepResult step = WriteStep("add", std::move(changes), m_stepOptions);
    if (std::optional<DocumentError> error = FileError(step.files.front(), refusal)) return MakeUnexpected(*error);

    m_rows.InsertTop(path, record);
    if (m_observer) m_observer->RowsInsertedAtTop(1);
    AddResult result;
    result.file = path;
    result.record = std::move(record);
    result.row = 0;
    result.note = {step.step, m_changedSinceLoad};
    return result;
}

Expected<ModifyResult, DocumentError> MapDocument::Modify(const PlacementKey& key, const std::string& file,
                                                          const PlacementDraft& draft, std::optional<int> row) {
    SeedRandom();
    const Expected<CheckedDraft, DocumentError> checked = CheckDraft(draft, [this] { return NextRandom(); });
    if (!checked) return MakeUnexpected(checked.error());

    m_changedSinceLoad.clear();
    NoteChangedSinceLoad(file);
    std::optional<DocumentErrorCode> refusal;
    PlacementRecord before, written;
    FileEdit edit = [&](const std::string& current, std::string& after, std::vector<RecordChange>& records) {
        RegionImageEdit image(current);
        const RegionEditResult done = image.Modify(key, [&](const PlacementRecord& old) {
            before = old;
            written = old;
            ApplyDraft(written, *checked);
            return written;
        });
        refusal.reset();
        if (!done.ok()) {
            refusal = CodeOfEdit(done.status);
            return FileEditOutcome{false, {}};
        }
        after = image.Image();
        records = {{key, RecordBytes(before), RecordBytes(written)}};
        return FileEditOutcome{};
    };
    std::vector<FileChange> changes{EditedFile(file, std::move(edit))};
    const StepResult step = WriteStep("modify", std::move(changes), m_stepOptions);
    if (std::optional<DocumentError> error = FileError(step.files.front(), refusal)) return MakeUnexpected(*error);

    ModifyResult result;
    if (row && *row >= 0 && *row < m_rows.Count()) {
        ReplaceRow(*row, written);
        result.row = *row;
    }
    result.file = file;
    result.before = std::move(before);
    result.record = std::move(written);
    result.note = {step.step, m_changedSinceLoad};
    return result;
}

Expected<RemoveReport, DocumentError> MapDocument::Delete(const std::vector<int>& rows, const WorkProgress& progress) {
    std::vector<RemovedRow> entries;
    entries.reserve(rows.size());
    for (int row : rows) {
        if (row < 0 || row >= m_rows.Count()) return MakeUnexpected(ErrorOf(DocumentErrorCode::NoSuchRow));
        RemovedRow entry;
        entry.row = row;
        entry.record = m_rows.Record(row);
        entry.ref = {m_rows.File(row), KeyOf(entry.record.block)};
        entries.push_back(std::move(entry));
    }
    RemoveReport report = DeleteRefs(std::move(entries), progress);
    // Only rows whose record left its file leave the store, so it never hides a placement the
    // server still spawns. All in one pass, however many.
    std::vector<int> gone;
    gone.reserve(static_cast<size_t>(report.removed));
    for (const RemovedRow& entry : report.rows)
        if (entry.Removed()) gone.push_back(entry.row);
    std::sort(gone.begin(), gone.end());
    gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
    m_rows.EraseRows(gone);
    if (m_observer && !gone.empty()) m_observer->RowsRemoved(gone);
    return report;
}

Expected<RemoveReport, DocumentError> MapDocument::Delete(const std::vector<PlacementRef>& refs) {
    std::vector<RemovedRow> entries;
    for (const PlacementRef& ref : refs) {
        RemovedRow entry;
        entry.ref = ref;
        entries.push_back(std::move(entry));
    }
    return DeleteRefs(std::move(entries));
}

StepOptions MapDocument::WithProgress(const WorkProgress& progress, std::vector<size_t> rowsBefore,
                                      size_t total) const {
    StepOptions options = m_stepOptions;
    if (!progress) return options;
    options.beforeFile = [progress, rowsBefore = std::move(rowsBefore), total,
                          inner = m_stepOptions.beforeFile](size_t index, const std::string& path) {
        progress(index < rowsBefore.size() ? rowsBefore[index] : total, total);
        if (inner) inner(index, path);
    };
    return options;
}

RemoveReport MapDocument::DeleteRefs(std::vector<RemovedRow> rows, const WorkProgress& progress) {
    RemoveReport report;
    report.selected = static_cast<int>(rows.size());
    m_changedSinceLoad.clear();

    // Per file, the rows it holds in the order asked; each file is read, edited in one walk and
    // written once, under its lock, and all files are written as one step of the history.
    struct FileWork {
        std::string path;
        std::vector<size_t> rows;                          // indices into `rows`
        std::vector<std::optional<PlacementRecord>> cut;   // per row: the record cut out
    };
    std::vector<FileWork> work;
    std::unordered_map<std::string, size_t> fileIndex;
    for (size_t i = 0; i < rows.size(); ++i) {
        auto [at, first] = fileIndex.try_emplace(rows[i].ref.file, work.size());
        if (first) {
            work.push_back(FileWork{rows[i].ref.file, {}, {}});
            NoteChangedSinceLoad(rows[i].ref.file);
        }
        work[at->second].rows.push_back(i);
    }
    std::vector<FileChange> changes;
    std::vector<size_t> rowsBefore;
    size_t done = 0;
    for (FileWork& file : work) {
        rowsBefore.push_back(done);
        done += file.rows.size();
        FileEdit edit = [&rows, &file](const std::string& current, std::string& after,
                                       std::vector<RecordChange>& records) {
            RegionImageEdit image(current);
            std::vector<PlacementKey> keys;
            keys.reserve(file.rows.size());
            for (size_t row : file.rows) keys.push_back(rows[row].ref.key);
            std::vector<RegionEditResult> results = image.RemoveMany(keys);
            file.cut.assign(file.rows.size(), std::nullopt);
            records.clear();
            // The journal lists the records in the order they were asked for.
            for (size_t k = 0; k < results.size(); ++k) {
                if (!results[k].ok()) continue;
                records.push_back({keys[k], RecordBytes(results[k].record), {}});
                file.cut[k] = std::move(results[k].record);
            }
            if (records.empty()) return FileEditOutcome{false, {}};
            after = image.Image();
            return FileEditOutcome{};
        };
        changes.push_back(EditedFile(file.path, std::move(edit)));
    }
    std::unordered_map<std::string, const FileWriteResult*> written;
    StepResult step;
    if (!changes.empty()) {
        step = WriteStep("delete", std::move(changes), WithProgress(progress, std::move(rowsBefore), rows.size()));
        for (const FileWriteResult& file : step.files) written[file.path] = &file;
    }
    if (progress) progress(rows.size(), rows.size());

    for (FileWork& file : work) {
        const auto at = written.find(file.path);
        std::optional<DocumentError> fileError;
        if (at != written.end()) fileError = FileError(*at->second, std::nullopt);
        for (size_t k = 0; k < file.rows.size(); ++k) {
            RemovedRow& entry = rows[file.rows[k]];
            if (fileError) {
                entry.error = fileError;
            } else if (at == written.end() || k >= file.cut.size() || !file.cut[k]) {
                entry.error = ErrorOf(DocumentErrorCode::KeyNotFound, file.path);
            } else {
                entry.record = std::move(*file.cut[k]);
                ++report.removed;
            }
        }
    }
    report.rows = std::move(rows);
    report.note = {step.step, m_changedSinceLoad};
    return report;
}

Expected<CheckedDraft, DocumentError> CheckBulkEdit(const BulkEdit& bulk) {
    PlacementDraft draft;
    // A random offset is drawn per placement: here only its kind is known.
    auto fixed = [](const OffsetChoice& choice) {
        return choice.kind == OffsetChoice::Kind::Random ? OffsetChoice{} : choice;
    };
    draft.offsetX = fixed(bulk.offsetX);
    draft.offsetY = fixed(bulk.offsetY);
    draft.type = bulk.type;
    draft.group = bulk.group;
    draft.series = bulk.series;
    draft.drop = bulk.drop;
    draft.script = bulk.script;
    return CheckDraft(draft, [] { return 0; });
}

std::optional<DocumentError> ApplyBulkEdit(const BulkEdit& bulk, const CheckedDraft& fields, PlacementRecord& record,
                                           const RandomSource& random) {
    CheckedDraft mine = fields;
    // A random offset runs from 0 to 254, as for a single placement.
    if (bulk.offsetX.kind == OffsetChoice::Kind::Random) mine.offsetX = static_cast<uint8_t>(random() % 255);
    if (bulk.offsetY.kind == OffsetChoice::Kind::Random) mine.offsetY = static_cast<uint8_t>(random() % 255);
    auto outside = [](PlacementField field) {
        DocumentError error = ErrorOf(DocumentErrorCode::OutOfListedRange);
        error.field = field;
        return error;
    };
    // A move keeps the placement listed: x 0..999, y 0..499 (stored doubled, below 1000).
    if (bulk.moveX != 0) {
        const long x = static_cast<long>(record.block.PosX()) + bulk.moveX;
        if (x < 0 || x >= kListedCoordinateLimit) return outside(PlacementField::PosX);
        mine.posX = static_cast<uint16_t>(x);
    }
    if (bulk.moveY != 0) {
        const long y = static_cast<long>(record.block.PosY()) + bulk.moveY;
        if (y < 0 || y * 2 >= kListedCoordinateLimit) return outside(PlacementField::PosY);
        mine.posYDoubled = static_cast<uint16_t>(y * 2);
    }
    ApplyDraft(record, mine);
    return std::nullopt;
}

Expected<BulkEditReport, DocumentError> MapDocument::EditMany(const std::vector<int>& rows, const BulkEdit& bulk,
                                                            const WorkProgress& progress) {
    // The fields are checked once, before any file is read; random offsets are drawn per
    // placement, as the files are edited.
    SeedRandom();
    const Expected<CheckedDraft, DocumentError> checked = CheckBulkEdit(bulk);
    if (!checked) return MakeUnexpected(checked.error());

    BulkEditReport report;
    report.selected = static_cast<int>(rows.size());
    report.rows.reserve(rows.size());
    for (int row : rows) {
        if (row < 0 || row >= m_rows.Count()) return MakeUnexpected(ErrorOf(DocumentErrorCode::NoSuchRow));
        EditedRow entry;
        entry.row = row;
        entry.ref = {m_rows.File(row), KeyOf(m_rows.Block(row))};
        report.rows.push_back(std::move(entry));
    }
    m_changedSinceLoad.clear();

    struct FileWork {
        std::string path;
        std::vector<size_t> rows;                        // indices into report.rows
        std::vector<std::optional<PlacementRecord>> written;   // per row: the record as stored
        std::vector<std::string> before;                       // per row: its bytes before
        std::vector<std::optional<DocumentError>> refused;     // per row: why it was left
    };
    std::vector<FileWork> work;
    std::unordered_map<std::string, size_t> fileIndex;
    for (size_t i = 0; i < report.rows.size(); ++i) {
        auto [at, first] = fileIndex.try_emplace(report.rows[i].ref.file, work.size());
        if (first) {
            work.push_back(FileWork{report.rows[i].ref.file, {}, {}, {}, {}});
            NoteChangedSinceLoad(report.rows[i].ref.file);
        }
        work[at->second].rows.push_back(i);
    }

    const CheckedDraft& fields = *checked;
    const RandomSource random = [this] { return NextRandom(); };
    // The record `old` becomes, or why it cannot.
    auto change = [&](const PlacementRecord& old, PlacementRecord& out) -> std::optional<DocumentError> {
        out = old;
        return ApplyBulkEdit(bulk, fields, out, random);
    };

    std::vector<FileChange> changes;
    std::vector<size_t> rowsBefore;
    size_t done = 0;
    for (FileWork& file : work) {
        rowsBefore.push_back(done);
        done += file.rows.size();
        FileEdit edit = [&report, &file, &change](const std::string& current, std::string& after,
                                                  std::vector<RecordChange>& records) {
            RegionImageEdit image(current);
            std::vector<PlacementKey> keys;
            keys.reserve(file.rows.size());
            for (size_t row : file.rows) keys.push_back(report.rows[row].ref.key);
            file.written.assign(file.rows.size(), std::nullopt);
            file.before.assign(file.rows.size(), std::string());
            file.refused.assign(file.rows.size(), std::nullopt);
            std::vector<RegionEditResult> results =
                image.ModifyMany(keys, [&](size_t k, const PlacementRecord& old) -> std::optional<PlacementRecord> {
                    file.before[k] = RecordBytes(old);
                    PlacementRecord fresh;
                    if (std::optional<DocumentError> why = change(old, fresh)) {
                        why->file = file.path;
                        file.refused[k] = std::move(why);
                        return std::nullopt;
                    }
                    return fresh;
                });
            records.clear();
            for (size_t k = 0; k < results.size(); ++k) {
                if (results[k].status == RegionEditStatus::Declined) continue;
                if (!results[k].ok()) {
                    file.refused[k] = ErrorOf(DocumentErrorCode::KeyNotFound, file.path);
                    continue;
                }
                // The journal holds each record's bytes before and after, in the order asked.
                records.push_back({keys[k], file.before[k], RecordBytes(results[k].record)});
                file.written[k] = std::move(results[k].record);
            }
            if (records.empty()) return FileEditOutcome{false, {}};
            after = image.Image();
            return FileEditOutcome{};
        };
        changes.push_back(EditedFile(file.path, std::move(edit)));
    }
    StepResult step;
    if (!changes.empty())
        step = WriteStep("modify", std::move(changes), WithProgress(progress, std::move(rowsBefore), rows.size()));
    if (progress) progress(rows.size(), rows.size());

    std::unordered_map<std::string, const FileWriteResult*> writtenFiles;
    for (const FileWriteResult& file : step.files) writtenFiles[file.path] = &file;
    for (FileWork& file : work) {
        const auto at = writtenFiles.find(file.path);
        std::optional<DocumentError> fileError;
        if (at != writtenFiles.end()) fileError = FileError(*at->second, std::nullopt);
        for (size_t k = 0; k < file.rows.size(); ++k) {
            EditedRow& entry = report.rows[file.rows[k]];
            const bool asked = at != writtenFiles.end() && k < file.written.size();
            if (asked && file.refused[k]) {
                entry.error = file.refused[k];
            } else if (!asked || at->second->status == FileWriteStatus::Refused || !file.written[k]) {
                // The file did not get as far as the edit (unreadable, locked) or had no such record.
                entry.error = fileError && at->second->status != FileWriteStatus::Refused
                                  ? fileError
                                  : ErrorOf(DocumentErrorCode::KeyNotFound, file.path);
            } else if (fileError) {
                entry.error = fileError;
            } else {
                ReplaceRow(entry.row, *file.written[k]);
                ++report.changed;
            }
        }
    }
    report.note = {step.step, m_changedSinceLoad};
    return report;
}

namespace {

// One region file's part of an import, checked: the new records, and the changes as checked drafts.
struct CheckedFilePlan {
    const ImportFilePlan* plan = nullptr;
    std::vector<CheckedDraft> changes;
    std::vector<PlacementRecord> additions;
};

// Applies one file's plan to its current bytes: deletions and changes name records among the
// counted ones as they are now; additions follow the last of them. The refusal when it does
// not fit (a target missing or named twice, a file whose records do not tile it, a full count).
std::optional<DocumentErrorCode> ApplyFilePlan(const CheckedFilePlan& work, const std::string& current,
                                               std::string& after, std::vector<RecordChange>& records) {
    const ImportFilePlan& plan = *work.plan;
    SectionHeader header = HeaderFromImage(current);
    const size_t count = HeaderPlacementCount(header);
    std::vector<size_t> starts;
    std::vector<PlacementRecord> found(count);
    size_t at = static_cast<size_t>(kFirstRecordOffset);
    for (size_t i = 0; i < count; ++i) {
        starts.push_back(at);
        at = ParsePlacementAt(current, at, &found[i]);
    }
    starts.push_back(at);   // where the records end (may lie beyond the file when cut off)

    enum class Fate { Keep, Delete, Change };
    std::vector<Fate> fate(count, Fate::Keep);
    std::vector<const CheckedDraft*> changeOf(count, nullptr);
    auto locate = [&](const ImportTarget& target) -> std::optional<size_t> {
        int seen = 0;
        for (size_t i = 0; i < count; ++i) {
            if (!target.key.Matches(found[i].block)) continue;
            if (seen++ != target.occurrence) continue;
            if (fate[i] != Fate::Keep) return std::nullopt;
            if (target.bytes && RecordBytes(found[i]) != *target.bytes) return std::nullopt;
            return i;
        }
        return std::nullopt;
    };
    records.clear();
    for (const ImportTarget& target : plan.deletions) {
        const std::optional<size_t> i = locate(target);
        if (!i) return DocumentErrorCode::KeyNotFound;
        fate[*i] = Fate::Delete;
    }
    for (size_t k = 0; k < plan.changes.size(); ++k) {
        const std::optional<size_t> i = locate(plan.changes[k].first);
        if (!i) return DocumentErrorCode::KeyNotFound;
        fate[*i] = Fate::Change;
        changeOf[*i] = &work.changes[k];
    }
    if (!work.additions.empty()) {
        // A record appended after records that do not tile the file would land where no reader
        // finds it.
        if (!RecordsTileImage(current)) return DocumentErrorCode::NotTiled;
    }
    const size_t deleted = static_cast<size_t>(std::count(fate.begin(), fate.end(), Fate::Delete));
    const size_t newCount = count - deleted + work.additions.size();
    if (newCount > UINT16_MAX) return DocumentErrorCode::CountFull;

    std::string image = current.substr(0, std::min(current.size(), static_cast<size_t>(kFirstRecordOffset)));
    if (image.size() < static_cast<size_t>(kFirstRecordOffset) && (count > 0 || !work.additions.empty()))
        image.resize(kFirstRecordOffset, '\0');
    for (size_t i = 0; i < count; ++i) {
        const std::string_view bytes =
            starts[i] < current.size()
                ? std::string_view(current).substr(starts[i], std::min(starts[i + 1], current.size()) - starts[i])
                : std::string_view();
        switch (fate[i]) {
            case Fate::Keep: image.append(bytes); break;
            case Fate::Delete: records.push_back({KeyOfRecord(found[i]), std::string(bytes), {}}); break;
            case Fate::Change: {
                PlacementRecord changed = found[i];
                ApplyDraft(changed, *changeOf[i]);
                const std::string now = RecordBytes(changed);
                records.push_back({KeyOfRecord(found[i]), std::string(bytes), now});
                image += now;
                break;
            }
        }
    }
    // Bytes after the counted records stay after them.
    if (starts.back() < current.size()) image.append(current, starts.back(), std::string::npos);
    for (const PlacementRecord& added : work.additions) {
        const std::string bytes = RecordBytes(added);
        records.push_back({KeyOfRecord(added), {}, bytes});
        image += bytes;
    }
    if (image.size() >= static_cast<size_t>(kFirstRecordOffset)) {
        SetHeaderPlacementCount(header, static_cast<uint16_t>(newCount));
        std::copy(header.begin(), header.end(), image.begin() + kNpcSectionOffset);
    }
    after = std::move(image);
    return std::nullopt;
}

}  // namespace

Expected<ImportReport, ImportFailure> MapDocument::Import(const ImportPlan& plan) {
    // Every draft is checked before any file is read, in plan order: changes, then additions.
    SeedRandom();
    const RandomSource random = [this] { return NextRandom(); };
    std::vector<CheckedFilePlan> work;
    ImportReport report;
    for (const ImportFilePlan& file : plan.files) {
        CheckedFilePlan checked;
        checked.plan = &file;
        for (const auto& [target, draft] : file.changes) {
            Expected<CheckedDraft, DocumentError> done = CheckDraft(draft, random);
            if (!done) {
                done.error().file = file.file;
                return MakeUnexpected(ImportFailure{done.error(), true, {}});
            }
            checked.changes.push_back(*done);
        }
        for (const PlacementDraft& draft : file.additions) {
            Expected<CheckedDraft, DocumentError> done = CheckDraft(draft, random);
            if (!done) {
                done.error().file = file.file;
                return MakeUnexpected(ImportFailure{done.error(), true, {}});
            }
            PlacementRecord record;
            ApplyDraft(record, *done);
            checked.additions.push_back(std::move(record));
        }
        report.deletions += static_cast<int>(file.deletions.size());
        report.changes += static_cast<int>(file.changes.size());
        report.additions += static_cast<int>(file.additions.size());
        work.push_back(std::move(checked));
    }

    m_changedSinceLoad.clear();
    std::vector<std::optional<DocumentErrorCode>> refusals(work.size());
    std::vector<FileChange> changes;
    for (size_t f = 0; f < work.size(); ++f) {
        const std::string& path = work[f].plan->file;
        NoteChangedSinceLoad(path);
        FileEdit edit = [&work, &refusals, f](const std::string& current, std::string& after,
                                              std::vector<RecordChange>& records) {
            refusals[f] = ApplyFilePlan(work[f], current, after, records);
            return FileEditOutcome{!refusals[f], {}};
        };
        changes.push_back(EditedFile(path, std::move(edit)));
    }
    StepOptions options = m_stepOptions;
    // All or nothing: the first file not written leaves the rest unwritten.
    options.stopAtFailure = true;
    const StepResult step = WriteStep("import", std::move(changes), options);
    for (size_t f = 0; f < step.files.size(); ++f) {
        std::optional<DocumentError> error = FileError(step.files[f], refusals[f]);
        if (!error) continue;
        ImportFailure failure{*error, true, {}};
        if (step.WrittenCount() > 0) {
            // The files written before it are taken back, so the map is as it was.
            const RevertResult undone = RevertStep(History(), step.step, m_program);
            KeepStampsOfWritten(undone.written);
            if (undone.ok) {
                m_undoSteps.pop_back();
            } else {
                failure.restored = false;
                failure.restoreFailure = undone.reason;
            }
        }
        return MakeUnexpected(std::move(failure));
    }
    report.filesWritten = step.WrittenCount();
    report.note = {step.step, m_changedSinceLoad};
    return report;
}

// --- undo and redo -----------------------------------------------------------------------------

Expected<RevertReport, DocumentError> MapDocument::Undo() {
    return TakeStepBack(m_undoSteps, m_redoSteps, DocumentErrorCode::NothingToUndo);
}

Expected<RevertReport, DocumentError> MapDocument::Redo() {
    return TakeStepBack(m_redoSteps, m_undoSteps, DocumentErrorCode::NothingToRedo);
}

// Takes back the newest step of `from`; the step that did so becomes the newest of `to`.
Expected<RevertReport, DocumentError> MapDocument::TakeStepBack(std::vector<int64_t>& from, std::vector<int64_t>& to,
                                                                DocumentErrorCode nothing) {
    ChangeHistory& history = History();
    if (from.empty()) return MakeUnexpected(ErrorOf(nothing));
    const RevertResult reverted = RevertStep(history, from.back(), m_program);
    m_lastStep = reverted.written;
    KeepStampsOfWritten(reverted.written);
    // Refused: nothing was written, and the step stays the one to take back once the cause is gone.
    if (!reverted.ok) return MakeUnexpected(ErrorOf(DocumentErrorCode::RevertRefused, {}, reverted.reason));
    from.pop_back();
    to.push_back(reverted.written.step);
    RevertReport report;
    report.step = reverted.written.step;
    report.files = reverted.written.WrittenCount();
    return report;
}

}  // namespace morvi
