#pragma once
// The change history of one server tree: a journal of every region-file write, kept under the
// user's state directory (never below the map tree, where the file finder would take copies
// for region files). Each line of `journal.jsonl` is one JSON object: one file written by one
// user action. Several lines of one action (a delete of many rows) share a step id.
//
// An entry holds who, where and what (time, user, host, program, operation, map, the file
// relative to the server directory, the records' keys and bytes before and after), the file's
// size and SHA-256 before and after, and the splices that turn the file's bytes into the new
// ones and back. An undo is refused unless the file still holds the bytes the change wrote.
// A line `{"void": ID, "reason": ...}` says that entry ID was recorded but its write failed.

#include <cstdint>
#include <string>
#include <vector>

#include "data/platform/AtomicFile.h"
#include "data/history/ChangeHistorySplice.h"
#include "data/region/NpcPlacement.h"

namespace morvi {

// One record a change touched; `before` is empty for an added record, `after` for a removed one.
struct RecordChange {
    PlacementKey key;
    std::string before;   // the record's bytes on disk
    std::string after;
};

struct JournalEntry {
    int64_t id = 0;
    int64_t step = 0;            // the id of the step's first entry
    int64_t epochSeconds = 0;
    std::string time;            // ISO 8601, UTC
    std::string user;
    std::string host;
    std::string program;         // "window" or "command line"
    std::string operation;       // add, modify, delete, import, undo, redo, restore
    std::string map;             // the map's entry in the map list, as shown
    std::string file;            // relative to the server directory, '/' between names
    int64_t reverts = 0;         // undo, redo: the step taken back; restore: the entry restored
    std::vector<RecordChange> records;
    uint64_t sizeBefore = 0;
    uint64_t sizeAfter = 0;
    std::string sha256Before;
    std::string sha256After;
    std::string written;         // "replace" or "in place"
    std::vector<Splice> splices;
};

struct HistoryLimits {
    int64_t maxAgeSeconds = 30LL * 24 * 3600;
    uint64_t maxBytes = 1ULL << 30;
};

class ChangeHistory {
public:
    // The history of the server tree at `serverPath`, in a directory of its own under
    // HistoryRootDirectory(). Nothing is created until the first entry is appended.
    explicit ChangeHistory(const std::string& serverPath);
    // The same with the history directory named by the caller.
    ChangeHistory(const std::string& serverPath, const std::string& directory);

    const std::string& ServerPath() const { return m_serverPath; }
    const std::string& Directory() const { return m_directory; }
    std::string JournalPath() const;
    void SetLimits(const HistoryLimits& limits) { m_limits = limits; }

    // The native full path of a file named relative to the server directory.
    std::string FullPath(const std::string& relative) const;
    // `path` relative to the server directory with '/' separators; empty when outside it.
    std::string RelativePath(const std::string& path) const;

    // Gives the entry the next id (and, when its step is 0, the step of that id) and makes it
    // durable: written and flushed to disk before returning. False with a reason naming the
    // history directory when that cannot be done; the caller must then not write the file, and
    // the journal does not list the entry (a line whose flush failed is cut off again).
    bool Append(JournalEntry& entry, std::string* reason);
    // Records that the write of entry `id` failed, so that it is neither listed nor offered
    // for undo; when no such line can be added the entry's own line is taken out. False when
    // neither could be done (the journal then still lists a change that was not made).
    bool AppendVoid(int64_t id, const std::string& why);

    // Every entry whose write did not fail, oldest first. A line cut off by a crash is skipped.
    std::vector<JournalEntry> ReadAll() const;

    // Drops the oldest steps beyond the age and size limits. Runs by itself once per object,
    // before the first append.
    bool Prune(int64_t nowEpochSeconds, std::string* reason);

private:
    std::string Failure(const std::string& detail) const;
    int64_t LastId() const;

    std::string m_serverPath;
    std::string m_directory;
    std::string m_placementError;   // set when the directory lies below the map tree
    HistoryLimits m_limits;
    bool m_pruned = false;
};

// The directory name of a server tree's history: its last path component, made safe, and a
// short hash of its whole path, so that two trees of the same name never share a history.
std::string HistoryDirectoryName(const std::string& serverPath);

}  // namespace morvi
