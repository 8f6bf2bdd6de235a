#pragma once
// `import`: turns a file of the export's shape into additions, changes and deletions against
// the map as it is now, and applies them by writing each changed region file once.
//
// Rows are matched by their placement key and region file (template, x, y, x offset,
// y offset, file): the n-th row of a key in the file is the n-th record of that key in the
// region file. A matched row whose other columns differ is a change; a row without a match is
// an addition (appended to its region file, in reverse row order, so new rows keep their order
// and are listed first among their file's rows afterwards); a record without a row is a deletion. Changing a key column
// therefore deletes the old placement and adds a new one. Records the window does not list
// are never touched. A changed row sets the fields whose cells differ from what the record
// shows; a new row sets every field. The map document checks and writes them, as it does the
// window's edits.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "data/region/NpcPlacement.h"

namespace morvi::cli {

// Called before each region file is replaced (index in the order files are written); tests
// use it to make a later write fail.
struct ImportHooks {
    std::function<void(size_t fileIndex, const std::string& path)> beforeWrite;
};

int RunImport(const CommonOptions& common, const std::string& map, const std::string& file, bool dryRun,
              std::ostream& out, std::ostream& err, const ImportHooks& hooks);

}  // namespace morvi::cli
