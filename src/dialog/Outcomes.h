#pragma once
// What a save or a delete did, returned by the operation itself: the window shows its texts
// from these, and the command line and the tests read them instead of the window's texts.

#include <string>
#include <vector>

#include "data/region/NpcPlacement.h"

namespace morvi {

struct SaveOutcome {
    enum class Kind {
        Written,          // the record is in `file`
        Refused,          // the edit area was refused; `hint` is what the hint line shows
        NothingWritten,   // nothing written; `reason` says why
    };
    Kind kind = Kind::NothingWritten;
    std::string file;          // Written: the region file
    PlacementRecord record;    // Written: the record as stored
    std::string hint;          // Refused: the hint shown
    // NothingWritten: "idle", "no map selected", "no region file", "key not found",
    // "open failed: ...", "write failed: ..." (operator-readable, not shown by the window
    // except where the window already shows a hint for it).
    std::string reason;
    int row = -1;              // the row shown or refreshed, -1 when none

    bool Written() const { return kind == Kind::Written; }
};

struct DeleteReport {
    enum class RowStatus { Removed, FileUnreadable, NoMatchingRecord, WriteFailed };
    struct Row {
        int row = -1;              // index of the row when the delete began
        std::string file;
        PlacementKey key;
        RowStatus status = RowStatus::NoMatchingRecord;
        std::string reason;        // why, for every status but Removed
        PlacementRecord record;    // Removed: the record cut out; else the row's placement
        // WriteFailed because the change history could not take the change: the hint shown.
        std::string historyHint;
    };
    int selected = 0;
    int removed = 0;
    std::vector<Row> rows;         // one per selected row, from the top down

    bool AllRemoved() const { return removed == selected; }
};

}  // namespace morvi
