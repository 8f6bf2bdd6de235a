#pragma once
// Finding placements in every map of a server tree: a filter runs over the records each map's
// list shows, map by map in the map list's order and, within a map, in the list's row order
// (row 0 first). Results are handed out as each map is done, with progress after every file, so
// a window can show them while the search goes on; a cancel flag stops it between files.
//
// A map whose directory is missing or leads out of the tree is named and skipped; a region
// file that cannot be read is named, and the map's other files are still searched (the list
// skips it the same way, so rows stay the rows the list shows).

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "data/region/NpcPlacement.h"
#include "document/PlacementFilter.h"
#include "document/ServerMaps.h"

namespace morvi {

struct FoundPlacement {
    int mapIndex = 0;
    const ServerMap* map = nullptr;   // valid during the call that hands it out
    std::string file;                 // full path of the region file
    PlacementRecord record;
    int row = 0;                      // the row the map's list shows it in
    // Listed records of the same key before it in its file: with the file and the key it
    // names the record again after other files of the map have changed.
    int occurrence = 0;
};

enum class SearchSkip {
    MapDirectoryMissing,    // the map's directory does not exist (or leads out of the tree)
    FileUnreadable,         // one region file of the map could not be read
};

struct SearchSkipped {
    int mapIndex = 0;
    SearchSkip why = SearchSkip::MapDirectoryMissing;
    std::string path;       // the directory or the file
};

struct SearchProgress {
    size_t mapsDone = 0;      // maps finished
    size_t mapsTotal = 0;
    size_t filesDone = 0;     // files of the current map read
    size_t filesTotal = 0;    // files of the current map
    size_t found = 0;         // placements found so far
};

struct SearchSummary {
    size_t maps = 0;            // maps searched
    size_t records = 0;         // records looked at
    size_t found = 0;
    size_t mapsWithFound = 0;
    std::vector<SearchSkipped> skipped;
    bool cancelled = false;
};

// The key of a record (as a row finds it again).
inline PlacementKey KeyOfPlacement(const NpcPlacement& p) {
    return PlacementKey{p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
}

using FoundSink = std::function<void(const FoundPlacement&)>;
using SearchProgressSink = std::function<void(const SearchProgress&)>;

SearchSummary SearchServer(const std::vector<ServerMap>& maps, int templateCount, const PlacementFilter& filter,
                           const FoundSink& found, const SearchProgressSink& progress = {},
                           const std::atomic<bool>* cancel = nullptr);

}  // namespace morvi
