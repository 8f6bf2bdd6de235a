#pragma once
// What a save or a delete did, returned by the operation itself: the window shows its texts
// from these, and the command line and the tests read them instead of the window's texts.

#include <optional>
#include <string>
#include <vector>

#include "data/region/NpcPlacement.h"
#include "document/DocumentError.h"

namespace morvi {

struct SaveOutcome {
    enum class Kind {
        Written,          // the record is in `file`
        Refused,          // the edit area was refused; `hint` is what the hint line shows
        NothingWritten,   // nothing written; `why` says why
    };
    enum class Why {
        None,             // written, or refused
        Idle,             // nothing was being edited
        NoMapSelected,    // adding with no map selected
        Document,         // the document's error is in `error`
    };
    Kind kind = Kind::NothingWritten;
    Why why = Why::None;
    std::string file;          // Written: the region file
    PlacementRecord record;    // Written: the record as stored
    std::string hint;          // Refused: the hint shown
    std::optional<DocumentError> error;   // Refused and Why::Document: the document's error
    // NothingWritten: operator-readable detail (the file, the system's words), never compared.
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
        std::optional<DocumentError> error;   // every status but Removed
        std::string reason;        // why, operator-readable, for every status but Removed
        PlacementRecord record;    // Removed: the record cut out; else the row's placement
        // WriteFailed because the change history could not take the change, or no writer lock
        // could be had on the file: the hint shown instead of the temporary-file failure.
        std::string historyHint;
    };
    int selected = 0;
    int removed = 0;
    std::vector<Row> rows;         // one per selected row, from the top down

    bool AllRemoved() const { return removed == selected; }
};

}  // namespace morvi
