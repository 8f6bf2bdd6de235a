#pragma once
// What differs between the maps of two server trees: this tree ("ours") against another
// ("theirs"). Maps are matched by their directory entry, region files by their path relative
// to the map directory, records by key: the n-th counted record of a key in a file pairs with
// the n-th of that key in the other tree's file, as `import` pairs rows with records. A record
// of ours without a partner is added, one of theirs without a partner removed, a pair whose
// bytes differ changed.
//
// Every difference also says whether `import` of this tree's export, applied to the other
// tree, reproduces it byte for byte, and when not, why. No texts: the front ends word it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/region/NpcPlacement.h"
#include "document/ServerMaps.h"

namespace morvi {

enum class DiffKind { Added, Changed, Removed };

// Why import cannot carry a difference exactly.
enum class CarryProblem {
    None,
    HiddenHere,        // the record is one the list hides here: the export leaves it out
    HiddenThere,       // the other tree's record is hidden there: import never touches it
    NotAtEnd,          // an added record stands before records both trees hold: import appends
    OrderDiffers,      // records both trees hold stand in another order
    BytesNotShown,     // bytes no column shows differ (reserved fields, the name's tail, ...)
    NotRepresentable,  // the record's texts do not read back to its bytes (a name without
                       // terminator, a code past its name table, a script path import rewrites)
    KeyShared,         // a key whose records include hidden ones: pairing by rows differs
    FileOnlyHere,      // the file exists only here: import creates no file
    FileOnlyThere,     // the file exists only there: import empties it but leaves it
    ForeignDiffers,    // the file's bytes outside the records differ
    MapOnlyHere,
    MapOnlyThere,
    Unreadable,        // a file could not be read
};

// The fields a change touches (bits).
enum DiffField : uint32_t {
    kDiffName = 1u << 0,
    kDiffType = 1u << 1,
    kDiffGroup = 1u << 2,
    kDiffSeries = 1u << 3,
    kDiffDrop = 1u << 4,
    kDiffScript = 1u << 5,
    kDiffHidden = 1u << 6,   // bytes no column shows
};

struct PlacementDiff {
    DiffKind kind = DiffKind::Added;
    PlacementKey key;
    int occurrence = 0;                    // earlier records of the key in the file
    std::optional<PlacementRecord> ours;   // added, changed
    std::optional<PlacementRecord> theirs; // removed, changed
    uint32_t fields = 0;                   // changed: DiffField bits
    CarryProblem problem = CarryProblem::None;
};

struct FileDiff {
    std::string relative;          // path below the map directory, '/' between names
    std::string oursPath;          // full paths; empty on the side that lacks the file
    std::string theirsPath;
    bool foreignDiffers = false;   // bytes outside the counted records differ
    CarryProblem problem = CarryProblem::None;   // what keeps the whole file from being carried
    std::vector<PlacementDiff> placements;       // in our file's order, removals where they stood
};

struct MapDiff {
    std::optional<ServerMap> ours;
    std::optional<ServerMap> theirs;
    std::vector<FileDiff> files;   // only files that differ, in our map's file order, then theirs
    bool Differs() const { return !ours || !theirs || !files.empty(); }
    // Whether import of our export into their map makes every region file equal.
    bool Carried() const;
};

struct CompareOptions {
    int oursTemplateCount = -1;     // the listing rules' template counts of both trees
    int theirsTemplateCount = -1;
    std::optional<std::string> onlyEntry;   // compare only the map of this directory entry
};

// Called after each map: `done` of `total` maps.
using CompareProgress = std::function<void(size_t done, size_t total)>;

struct ServerDiff {
    std::vector<MapDiff> maps;   // maps that differ: ours in list order, then maps only theirs
    bool cancelled = false;
};

enum class CompareError { OursNoMapList, TheirsNoMapList, NoSuchMap };

Expected<ServerDiff, CompareError> CompareServers(const std::string& oursServer, const std::string& theirsServer,
                                                   const CompareOptions& options, const CompareProgress& progress = {},
                                                   const std::atomic<bool>* cancel = nullptr);

// The region files of two map directories compared (either may be empty: a missing map).
std::vector<FileDiff> CompareMapDirectories(const std::string& oursDirectory, const std::string& theirsDirectory,
                                            int oursTemplateCount, int theirsTemplateCount);

}  // namespace morvi
