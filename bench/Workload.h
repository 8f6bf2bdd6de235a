#pragma once
// The benchmark's workload, generated once and cached: a server tree with one map of 2,000
// region files in nested directories holding about 200,000 placements (10% with script paths
// of 25-120 bytes, GBK names), the same tree with an empty map (one region file, no record),
// and one separate region file of 10,000 records for the saves.
//
// The bottom row of the loaded map (the first record of the first region file) gets a name
// and coordinates no other record has, so searches for it look at every row.

#include <string>
#include <vector>

#include "data/region/NpcPlacement.h"

namespace morvi::bench {

struct Workload {
    std::string server;                    // server tree root
    std::string mapDir;                    // directory of map 0
    std::vector<std::string> regionFiles;  // the map's region files, in the order they load
    std::string targetName;                // UTF-8 name of the bottom row
    int targetX = 0;
    int targetY = 0;
    std::string emptyServer;               // the tree whose map 0 holds no placement
    std::string exportFile;                // where the benchmark puts `export` of map 0
    std::string emptyExportFile;           // and of the empty map
    std::string saveFile;                  // the 10,000-record file the saves change
    std::string saveImage;                 // its original bytes, restored before every save
    PlacementKey firstKey;                 // first and last record of that file
    PlacementKey lastKey;
};

// Generates the workload below `dir` unless a complete one is there; then loads its facts.
// `files` sets the map's size (2,000 for the benchmark; fewer for a profile under valgrind).
Workload PrepareWorkload(const std::string& dir, int files = 2000);

}  // namespace morvi::bench
