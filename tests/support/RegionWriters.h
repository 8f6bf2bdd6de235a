#pragma once
// Test support: one record edit of a region file written straight back, without the change
// history (the product writes only through the map document). Tests of the record edits and
// of files the window meets use them to set files up and to check edits on their own.

#include <functional>
#include <string>

#include "data/region/NpcPlacement.h"
#include "data/region/RegionImageEdit.h"

namespace morvi {

enum class RegionOutcome {
    Done,          // the file was changed
    OpenFailed,    // the file could not be opened (for reading, or for update)
    NotFound,      // no record matches the key; file untouched
    WriteFailed,   // the replacement could not be written; file untouched
    NotTiled,      // append refused: the counted records do not tile the file; file untouched
};

struct RegionResult {
    RegionOutcome outcome = RegionOutcome::OpenFailed;
    std::string error;   // operator-readable reason when outcome is WriteFailed/OpenFailed
    bool ok() const { return outcome == RegionOutcome::Done; }
};

// Raises placementCount by one and appends the record at the end of the file, in one
// replacement. A region whose count is already 65535 is refused (WriteFailed): the count
// would wrap to 0 and the game server would see none of its records. A file whose counted
// records do not tile it exactly is refused (NotTiled): the record would land where no reader
// finds it.
RegionResult AppendPlacementToFile(const std::string& path, const PlacementRecord& record);

// Finds the first record matching `key` among the first placementCount records and rewrites
// it. `build` receives the old record (block as read, script) and fills the new one over it.
// When the length changes the rest of the file moves with it.
RegionResult ModifyPlacementInFile(const std::string& path, const PlacementKey& key,
                                   const PlacementBuilder& build);

// Cuts the first record matching `key` out of the file, walking records from 2112 to the end
// of the file (not by the count), and lowers placementCount by one (a count of 0 stays 0).
// `removed` receives the record.
RegionResult RemovePlacementFromFile(const std::string& path, const PlacementKey& key,
                                     PlacementRecord* removed = nullptr);

// The outcome of an edit of `path`'s image that did not apply (NotFound, NotTiled, CountFull),
// with the same reasons the functions above give; Done for an edit that applied.
RegionResult RegionEditOutcome(const std::string& path, const RegionEditResult& done);

}  // namespace morvi
