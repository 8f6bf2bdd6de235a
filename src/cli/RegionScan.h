#pragma once
// Reading region files with the storage core for the commands that need more than the window
// shows: every record with its offset, the listing rules a record breaks, and the records
// that tile the file from the first record offset to its end.

#include <cstdint>
#include <string>
#include <vector>

#include "data/NpcPlacement.h"
#include "dialog/DialogHost.h"

namespace morvi::cli {

struct ScannedRecord {
    PlacementRecord record;
    size_t offset = 0;      // where the record starts in the file
    size_t length = 0;      // PlacementLength
    bool complete = true;   // false when the file ends inside the record
};

struct RegionScan {
    std::string path;
    std::string image;                    // the whole file as read
    uint16_t count = 0;                   // placementCount of the header
    std::vector<ScannedRecord> counted;   // the `count` records the window reads, in file order
};

// Reads the file and its counted records the way the window's loader does (records the count
// promises but the file lacks read as zeros). False when the file cannot be read.
bool ScanRegionFile(const std::string& path, RegionScan& out);

// The listing rules of the window's loader that the record breaks, in the loader's order;
// empty when the window lists it.
std::vector<std::string> HiddenReasons(const NpcPlacement& p, int templateCount);

// A listed record's row exactly as the window shows it (columns 0..9 and 11), with `file` in
// column 10.
RowTexts WindowRow(const PlacementRecord& record, const std::string& file);

}  // namespace morvi::cli
