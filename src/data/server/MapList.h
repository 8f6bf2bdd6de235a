#pragma once
// The map list of a server tree: worldset.ini names the map numbers, maplist.ini gives each
// number a display name and a directory below the server's maps directory.

#include <string>
#include <vector>

namespace morvi {

struct MapListResult {
    int count = 0;                       // [Init] Count of worldset.ini
    std::vector<std::string> names;      // display names (raw bytes, at most 49)
    std::vector<std::string> dirs;       // directories (raw bytes, at most 254), parallel
};

// Reads both files. count <= 0 means the caller reports the map-list error.
MapListResult ReadMapList(const std::string& worldsetPath, const std::string& maplistPath);

}  // namespace morvi
