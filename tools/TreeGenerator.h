#pragma once
// Builds a deterministic game-server tree for the demo, the tests and the benchmarks:
// Gameserver.exe, maps/worldset.ini, settings/maplist.ini, settings/npcs.txt (GBK, CRLF) and,
// per map, region files in nested directories holding placements with and without scripts.

#include <cstdint>
#include <string>
#include <vector>

#include "data/region/NpcPlacement.h"

namespace morvi::tools {

struct TreeShape {
    uint32_t seed = 1;
    int maps = 3;
    int filesPerMap = 12;
    int recordsPerFile = 6;        // each file holds 0 .. 2*recordsPerFile records, this on average
    int templates = 40;
    int scriptPercent = 10;        // share of records with a script path (25..120 bytes)
};

// Region file image: 2100 bytes of foreign data, the header (count and ten opaque bytes), records.
std::string MakeRegionImage(uint32_t seed, const std::vector<PlacementRecord>& records);

// A record as the tool would write it (script path stored with its leading backslash).
PlacementRecord MakeRecord(int templateIndex, std::string_view gbkName, int x, int offsetX, int y,
                           int offsetY, int type, int group, int series, int drop,
                           std::string_view script = {});

// Writes the whole tree below `root` and returns the number of placements written.
long GenerateServerTree(const std::string& root, const TreeShape& shape);

}  // namespace morvi::tools
