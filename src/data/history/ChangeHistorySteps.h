#pragma once
// The one way a region file is written: under the file's writer lock (one writer of a file at a
// time, across processes and users) the edit is applied to the file as it is now, the change
// is recorded in the history and made durable, and only then written to the file (crash-safe
// replace, or in place where the file's identity requires it). Undo, redo and restore are
// steps of the same kind.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/history/ChangeHistory.h"

namespace morvi {

// What one user action is.
struct StepInfo {
    std::string program;     // "window" or "command line"
    std::string operation;   // add, modify, delete, import (undo, redo, restore are made here)
    std::string map;
    int64_t reverts = 0;
};

// What an edit made of a file's current bytes.
struct FileEditOutcome {
    bool apply = true;       // false: the edit does not fit the file as it is now; nothing written
    std::string reason;      // why not (operator-readable)
};

// Turns `current`, the file's bytes as they are under the writer lock, into `after`, and lists
// the records it changed. Called once per write, with the lock held; it may record what it did
// in state of its caller, which is valid only when the file's status ends Written or Unchanged.
using FileEdit = std::function<FileEditOutcome(const std::string& current, std::string& after,
                                               std::vector<RecordChange>& records)>;

// One file of a step. With an `edit`, the edit is applied to the file as it is when its turn
// comes (an add appends to what is there then); `before`, `after` and `records` are filled
// from it. Without one, the file must still hold `before` exactly, and then gets `after`.
struct FileChange {
    std::string path;                  // native full path
    std::string relativePath;          // relative to the server directory; derived when empty
    std::string before;
    std::string after;
    std::vector<RecordChange> records;
    FileEdit edit;
};

enum class FileWriteStatus {
    Written,
    Unchanged,          // the new bytes equal the old ones: nothing to write or record
    ChangedMeanwhile,   // the file no longer holds `before`: nothing written
    HistoryFailed,      // the history entry could not be made durable: nothing written
    WriteFailed,        // recorded, but the write failed: the file is as it was, the entry voided
    Unreadable,         // the file could not be read: nothing written
    Refused,            // the edit did not fit the file as it is now: nothing written
    LockFailed,         // no writer lock could be had on the file: nothing written
};

struct FileWriteResult {
    std::string path;
    FileWriteStatus status = FileWriteStatus::WriteFailed;
    int64_t entry = 0;
    WriteMethod method = WriteMethod::Replace;
    std::string reason;
    std::vector<RecordChange> records;   // Written: what the edit changed
};

struct StepResult {
    int64_t step = 0;   // 0 when nothing was recorded
    std::vector<FileWriteResult> files;
    bool AllWritten() const;   // every file Written or Unchanged
    int WrittenCount() const;
    std::string FirstReason() const;
};

struct StepOptions {
    // A step that must be all or nothing (an import): the first file not written leaves the
    // rest of the step unwritten, so the caller has only the files before it to take back.
    bool stopAtFailure = false;
    // Test seam: called before each file is written (index in `files`), before its lock.
    std::function<void(size_t index, const std::string& path)> beforeFile;
    // How long a writer waits for another one's lock on the same file before giving up.
    int lockWaitMilliseconds = 30000;
};

// Writes the files of one step in order, one file's lock at a time. Each file's entry is made
// durable before its write; when the history cannot take an entry, that file and the rest of
// the step are not written. A write that fails after its entry was recorded voids the entry.
StepResult WriteJournaledStep(ChangeHistory& history, const StepInfo& info,
                              const std::vector<FileChange>& files, const StepOptions& options = {});

struct RevertResult {
    bool ok = false;
    std::string reason;   // why it was refused or failed
    StepResult written;
};

// Takes back every entry of a step, as one new step: "undo", or "redo" when the step taken
// back was itself an undo. Refused, and nothing written, when any file of the step no longer
// holds the bytes the step wrote.
RevertResult RevertStep(ChangeHistory& history, int64_t step, const std::string& program);

// Puts the file of entry `entryId` back as it was before that entry. Later recorded changes
// of that file are taken back with it; unless `force`, their existence refuses the restore.
// Refused too when the file no longer holds what the last recorded change wrote.
RevertResult RestoreBeforeEntry(ChangeHistory& history, int64_t entryId, bool force,
                                const std::string& program);

// The newest step whose effect is still in place and that is not itself an undo: what
// "undo" without an id takes back. 0 when there is none.
int64_t LastUndoableStep(const std::vector<JournalEntry>& entries);

// The entries of a step, oldest first.
std::vector<JournalEntry> EntriesOfStep(const std::vector<JournalEntry>& entries, int64_t step);

// Applies an entry to the bytes its file held before it; false when they do not match its hashes.
bool ReplayEntry(const JournalEntry& entry, std::string& image);

}  // namespace morvi
