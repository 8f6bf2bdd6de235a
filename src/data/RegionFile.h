#pragma once
// Whole-file operations on one region file. Every change is made by building the new file
// image in memory and replacing the file crash-safely (see AtomicFile.h): either the whole
// change is on disk or the file is byte-identical to what it was.

#include <functional>
#include <string>
#include <vector>

#include "data/NpcPlacement.h"

namespace morvi {

enum class RegionOutcome {
    Done,          // the file was changed
    OpenFailed,    // the file could not be opened (for reading, or for update)
    NotFound,      // no record matches the key; file untouched
    WriteFailed,   // the replacement could not be written; file untouched
};

struct RegionResult {
    RegionOutcome outcome = RegionOutcome::OpenFailed;
    std::string error;   // operator-readable reason when outcome is WriteFailed/OpenFailed
    bool ok() const { return outcome == RegionOutcome::Done; }
};

// Reads the whole NPC section: placementCount records from 2112, records counted but absent
// read as zeros. Returns false when the file cannot be opened or is not a regular file.
bool ReadRegionPlacements(const std::string& path, std::vector<PlacementRecord>& out);

// Raises placementCount by one and appends the record at the end of the file, in one
// replacement. A region whose count is already 65535 is refused (WriteFailed): the count
// would wrap to 0 and the game server would see none of its records.
RegionResult AppendPlacementToFile(const std::string& path, const PlacementRecord& record);

// Finds the first record matching `key` among the first placementCount records and rewrites
// it. `build` receives the old record (block as read, script) and fills the new one over it.
// When the length changes the rest of the file moves with it.
using PlacementBuilder = std::function<PlacementRecord(const PlacementRecord& old)>;
RegionResult ModifyPlacementInFile(const std::string& path, const PlacementKey& key,
                                   const PlacementBuilder& build);

// Cuts the first record matching `key` out of the file, walking records from 2112 to the end
// of the file (not by the count), and lowers placementCount by one. `removed` receives it.
RegionResult RemovePlacementFromFile(const std::string& path, const PlacementKey& key,
                                     PlacementRecord* removed = nullptr);

}  // namespace morvi
