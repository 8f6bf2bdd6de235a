#pragma once
// Reading one region file's NPC section whole. Writes go through the map document and the
// change history (document/MapDocument.h), which edit the file's image (RegionImageEdit.h).

#include <string>
#include <string_view>
#include <vector>

#include "data/region/NpcPlacement.h"
#include "data/region/RegionRecordReader.h"

namespace morvi {

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

}  // namespace morvi
