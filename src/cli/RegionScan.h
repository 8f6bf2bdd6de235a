#pragma once
// Reading region files with the storage core for the commands that need more than the window
// shows: every counted record with its offset, and the listing rules a record breaks.

#include <cstdint>
#include <string>
#include <vector>

#include "data/region/NpcPlacement.h"

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

}  // namespace morvi::cli
