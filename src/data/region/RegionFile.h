#pragma once
// Whole-file operations on one region file. Every change is made by building the new file
// image in memory and replacing the file crash-safely (see AtomicFile.h): either the whole
// change is on disk or the file is byte-identical to what it was.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/region/NpcPlacement.h"
#include "data/region/RegionImageEdit.h"
#include "data/region/RegionRecordReader.h"

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

// Reads the whole NPC section: placementCount records from 2112, records counted but absent
// read as zeros. Returns false when the file cannot be opened or is not a regular file.
bool ReadRegionPlacements(const std::string& path, std::vector<PlacementRecord>& out);

// The same reading, one record at a time and without a copy per record: the loader's way
// through a map of thousands of files. Buffers are reused from file to file.
class RegionPlacementReader {
public:
    // Reads the whole file; false when it cannot be opened or is not a regular file.
    bool Open(const std::string& path);
    uint16_t Count() const { return m_reader.Count(); }
    // The next of the Count() records, as ReadRegionPlacements reads it; `script` (the stored
    // path of a script record, else empty) stays valid until the next call. False after the last.
    bool Next(NpcPlacement& block, std::string_view& script);

private:
    RegionRecordReader m_reader;
    RegionRecord m_record;
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
// with the same reasons the functions above give; Done for an edit that applied. For callers
// that edit a RegionImageEdit themselves and write it through the change history.
RegionResult RegionEditOutcome(const std::string& path, const RegionEditResult& done);

}  // namespace morvi
