#pragma once
// One loaded map: its placements (the row store every front end shows), the stamps of its
// region files as the load read them (to notice files another program changed since), the
// change history of the server tree, and the steps undo and redo take back.
//
// Every write goes the same way: the draft is checked, then each region file is edited under
// its writer lock as it is at that moment (an add appends to the current content, a modify or
// remove finds its key in the current content), recorded in the change history, and replaced
// crash-safely. Rows follow what was written; an observer hears of every row change.
//
// No toolkit, no window, no texts: results are values or DocumentError codes.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "data/history/ChangeHistorySteps.h"
#include "data/platform/FileStamp.h"
#include "data/region/NpcPlacement.h"
#include "document/DocumentError.h"
#include "document/Expected.h"
#include "document/PlacementDraft.h"
#include "document/PlacementRows.h"

namespace morvi {

// Told of every change of the rows, after the store has made it (row 0 is the top row).
class RowObserver {
public:
    virtual ~RowObserver() = default;
    virtual void RowsReset() {}
    // Rows [0, count) are new; the former rows moved down by `count`.
    virtual void RowsInsertedAtTop(int /*count*/) {}
    virtual void RowChanged(int /*row*/) {}
    // That row is gone; the store holds one row fewer than before this call.
    virtual void RowRemoved(int /*row*/) {}
    // These rows are gone (ascending, each once; indices as they were before): the store holds
    // that many rows fewer. By default told as one RowRemoved after another, bottom row first.
    virtual void RowsRemoved(const std::vector<int>& rowsAscending) {
        for (auto it = rowsAscending.rbegin(); it != rowsAscending.rend(); ++it) RowRemoved(*it);
    }
};

// Called during a load after every record read, listed or not, with the progress number of
// its file: the file's index divided by a step of (files / 100), at least 1.
using LoadProgress = std::function<void(size_t progress)>;

struct LoadSummary {
    size_t files = 0;    // region files found
    int rows = 0;        // rows listed
    bool anyRecord = false;   // at least one record was read (progress was reported)
};

// What a write found besides its own result.
struct WriteNote {
    int64_t step = 0;                            // the history step written
    std::vector<std::string> changedSinceLoad;   // files another program changed since the load
};

struct AddOptions {
    // The region file to append to; empty: one of the map's files, chosen at random.
    std::string targetFile;
    // The map directory whose files the random choice is made among, when it is not the
    // loaded map's (an empty directory has no files: NoRegionFile).
    std::optional<std::string> mapDirectory;
    // The record the new one starts from (a copy of a placement): the fields the draft leaves
    // unset keep its bytes. Not given: a record of zeros.
    std::optional<PlacementRecord> base;
};

struct AddResult {
    std::string file;
    PlacementRecord record;   // as stored
    int row = 0;              // the new top row
    WriteNote note;
};

struct ModifyResult {
    std::string file;
    PlacementRecord before;   // the record as the file held it
    PlacementRecord record;   // as stored
    int row = -1;             // the row refreshed, -1 when none
    WriteNote note;
};

// Names a placement on disk: its region file and key (the first record matching it).
struct PlacementRef {
    std::string file;
    PlacementKey key;
};

struct RemovedRow {
    int row = -1;                  // the row as it was before the remove; -1 for a bare reference
    PlacementRef ref;
    PlacementRecord record;        // removed: the record cut out; else the row's placement
    std::optional<DocumentError> error;   // why this one stayed in its file
    bool Removed() const { return !error; }
};

struct RemoveReport {
    int selected = 0;
    int removed = 0;
    std::vector<RemovedRow> rows;   // in the order asked
    WriteNote note;
    bool AllRemoved() const { return removed == selected; }
};

// An import: per region file, the records to delete and change (by key, the first matching
// record of the file as it is before the import; `occurrence` n picks the (n+1)-th match) and
// the ones to append, in order. Written as one step, all or nothing.
struct ImportTarget {
    PlacementKey key;
    int occurrence = 0;
    // When given, the record found must hold exactly these bytes, or the import is refused
    // (KeyNotFound): a fix made from what was read earlier never takes another record.
    std::optional<std::string> bytes;
};
struct ImportFilePlan {
    std::string file;
    std::vector<ImportTarget> deletions;
    std::vector<std::pair<ImportTarget, PlacementDraft>> changes;
    std::vector<PlacementDraft> additions;
};
struct ImportPlan {
    std::vector<ImportFilePlan> files;
};
struct ImportReport {
    int additions = 0, changes = 0, deletions = 0;
    int filesWritten = 0;
    WriteNote note;
};
// A failed import: the error, and whether files written before it were taken back.
struct ImportFailure {
    DocumentError error;
    bool restored = true;        // the map is as it was
    std::string restoreFailure;  // when not restored: why (the history's words)
};

// Progress of work over many rows or files: `done` of `total` units so far. Called from the
// thread doing the work, often enough to redraw a bar, seldom enough to cost nothing.
using WorkProgress = std::function<void(size_t done, size_t total)>;

// One change made to many placements at once: each field set is stored in every one of them,
// the fields not set keep their stored bytes; a move adds (moveX, moveY) to the positions.
struct BulkEdit {
    OffsetChoice offsetX;
    OffsetChoice offsetY;
    std::optional<int> type;
    std::optional<int> group;
    std::optional<int> series;
    DropChoice drop;
    std::optional<std::string> script;
    int moveX = 0;
    int moveY = 0;
};

// The fields of a bulk edit checked once, before any record is read: a value no record can take
// (an offset past 255, a drop count past 24, a script path too long) is the error.
Expected<CheckedDraft, DocumentError> CheckBulkEdit(const BulkEdit& edit);
// What `record` becomes under the edit (`fields` from CheckBulkEdit; random offsets drawn from
// `random`), or why it cannot take it (a move past the listed range: OutOfListedRange, its
// field PosX or PosY). The record is left as it was on an error.
std::optional<DocumentError> ApplyBulkEdit(const BulkEdit& edit, const CheckedDraft& fields, PlacementRecord& record,
                                           const RandomSource& random);

struct EditedRow {
    int row = -1;
    PlacementRef ref;
    std::optional<DocumentError> error;   // why this one was not changed (nothing written for it)
    bool Changed() const { return !error; }
};

struct BulkEditReport {
    int selected = 0;
    int changed = 0;
    std::vector<EditedRow> rows;   // in the order asked
    WriteNote note;
};

struct RevertReport {
    int64_t step = 0;   // the step written by the undo or redo
    int files = 0;
};

class MapDocument {
public:
    MapDocument();
    ~MapDocument();
    MapDocument(const MapDocument&) = delete;
    MapDocument& operator=(const MapDocument&) = delete;

    // --- the server tree and its history ---
    // The history follows the server directory: a new one (and no undo steps) when it changes.
    void SetServerPath(std::string serverPath);
    const std::string& ServerPath() const { return m_serverPath; }
    // Where the history lives instead of the user's state directory (tests, callers of their own).
    void SetHistoryDirectory(std::string directory);
    // Who the journal says made the changes ("window", "command line").
    void SetProgram(std::string program) { m_program = std::move(program); }
    const std::string& Program() const { return m_program; }
    ChangeHistory& History();
    // The result of the last write through the history (step 0 when nothing was recorded).
    const StepResult& LastStep() const { return m_lastStep; }
    // Test seam and tuning of the writes (a hook before each file, the lock wait).
    void SetStepOptions(StepOptions options) { m_stepOptions = std::move(options); }

    // --- random values (empty offsets, the file an add goes to) ---
    // Every add and modify seeds the generator with seed() % 10000 first. Default: the
    // steady clock's milliseconds.
    void SetSeedSource(std::function<uint32_t()> seed) { m_seed = std::move(seed); }

    // --- the map ---
    // Reads every region file below `mapDirectory` (files in the finder's order, read ahead),
    // listing each record that passes the listing rules as a new top row. `mapName` is what
    // the history records as the map.
    Expected<LoadSummary, DocumentError> Load(const std::string& mapDirectory, int templateCount,
                                              const LoadProgress& progress = {}, std::string mapName = {});
    // The same map again (after an undo or redo, for instance).
    Expected<LoadSummary, DocumentError> Reload(const LoadProgress& progress = {});
    bool Loaded() const { return m_loaded; }
    const std::string& MapDirectory() const { return m_mapDirectory; }
    const std::string& MapName() const { return m_mapName; }
    int TemplateCount() const { return m_templateCount; }
    const PlacementRowStore& Rows() const { return m_rows; }
    void SetObserver(RowObserver* observer) { m_observer = observer; }
    // Rows the caller shows itself: a new top row (tests, front ends that list a record they
    // have), a row showing another record (its file stays), and a cell that shows a text the
    // record does not say.
    void InsertRow(const std::string& file, const PlacementRecord& record);
    void ReplaceRow(int row, const PlacementRecord& record);
    void SetRowOverride(int row, int column, std::string text);
    // Forgets the map: no rows, nothing loaded.
    void Close();

    // --- edits ---
    Expected<AddResult, DocumentError> Add(const PlacementDraft& draft, const AddOptions& options = {});
    // Rewrites the first record of `file` that matches `key`; `row` (when given) is the row
    // that shows it, refreshed afterwards.
    Expected<ModifyResult, DocumentError> Modify(const PlacementKey& key, const std::string& file,
                                                 const PlacementDraft& draft, std::optional<int> row = {});
    // Removes the records of these rows (one step of the history however many files, each
    // file read and rewritten once); the rows whose record left its file leave the store in
    // one pass (observers hear RowsRemoved). NoSuchRow when a row is outside the store
    // (nothing written). `progress` counts rows, file by file.
    Expected<RemoveReport, DocumentError> Delete(const std::vector<int>& rows, const WorkProgress& progress = {});
    // The same for placements named by file and key (rows showing them are not touched).
    Expected<RemoveReport, DocumentError> Delete(const std::vector<PlacementRef>& refs);
    // Changes these rows as `edit` says, each region file rewritten once, one history step.
    // A row that cannot take the change (moved past the listed range, a script too long) is
    // named in the report and nothing is written for it; the others are written.
    Expected<BulkEditReport, DocumentError> EditMany(const std::vector<int>& rows, const BulkEdit& edit,
                                                     const WorkProgress& progress = {});
    Expected<ImportReport, ImportFailure> Import(const ImportPlan& plan);

    // --- undo and redo of this document's steps ---
    // Takes back the newest step made through this document: refused, and nothing written,
    // when a file no longer holds what the step wrote. The rows stay as they were: Reload.
    Expected<RevertReport, DocumentError> Undo();
    Expected<RevertReport, DocumentError> Redo();
    bool CanUndo() const { return !m_undoSteps.empty(); }
    bool CanRedo() const { return !m_redoSteps.empty(); }

    // The region files the last write found changed by another program since the load.
    const std::vector<std::string>& ChangedSinceLoad() const { return m_changedSinceLoad; }

    // --- files changed on disk ---
    // The region files the load read, in the map's order.
    const std::vector<std::string>& LoadedFiles() const { return m_loadedFiles; }
    // Looks at the stamps of the loaded files now: the files another program changed (or
    // removed) since the load, in the map's order. A file once found stays in the list until
    // the next load, even when a write of this document has since written onto it (its rows
    // still show the file as loaded). The document's own writes are never in it: each write
    // takes the stamp of what it left. Costs one stamp per loaded file.
    std::vector<std::string> FilesChangedOnDisk();
    // Counts every load, reload, close and write: what was read from the files is older than
    // the present when the number moved on.
    uint64_t Generation() const { return m_generation; }

private:
    struct FileOutcome;
    StepResult WriteStep(const std::string& operation, std::vector<FileChange> changes, const StepOptions& options);
    void NoteChangedSinceLoad(const std::string& path);
    void NoteOutsideChange(const std::string& path);
    // The files a write left take the stamps of what it wrote.
    void KeepStampsOfWritten(const StepResult& step);
    void SeedRandom();
    int NextRandom();
    Expected<RevertReport, DocumentError> TakeStepBack(std::vector<int64_t>& from, std::vector<int64_t>& to,
                                                       DocumentErrorCode nothing);
    RemoveReport DeleteRefs(std::vector<RemovedRow> rows, const WorkProgress& progress = {});
    // m_stepOptions, with `progress` told before each file of a step (`rowsBefore[i]` rows
    // are done when file i begins) and at its end.
    StepOptions WithProgress(const WorkProgress& progress, std::vector<size_t> rowsBefore, size_t total) const;

    std::string m_serverPath;
    std::string m_historyDirectory;
    std::string m_program = "window";
    std::unique_ptr<ChangeHistory> m_history;
    std::string m_historyFor;
    StepResult m_lastStep;
    StepOptions m_stepOptions;
    std::vector<int64_t> m_undoSteps;
    std::vector<int64_t> m_redoSteps;

    std::function<uint32_t()> m_seed;
    std::minstd_rand m_random;

    bool m_loaded = false;
    std::string m_mapDirectory;
    std::string m_mapName;
    int m_templateCount = 0;
    PlacementRowStore m_rows;
    RowObserver* m_observer = nullptr;
    std::map<std::string, FileStamp> m_loadStamps;
    std::vector<std::string> m_changedSinceLoad;
    std::vector<std::string> m_loadedFiles;
    std::vector<std::string> m_outsideChanges;   // found since the load, in the order found
    uint64_t m_generation = 0;
};

}  // namespace morvi
