#pragma once
// Pieces shared by the subcommands: opening a session on the server, naming a map, and the
// placement key of `set` and `rm`.

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/FieldArguments.h"
#include "cli/Session.h"
#include "data/region/NpcPlacement.h"
#include "document/DocumentError.h"
#include "document/PlacementFilter.h"

namespace morvi::cli {

// Opens the server (exit status 2 and a message on `err` when it cannot be used).
std::unique_ptr<Session> OpenSession(const std::string& serverOption, std::ostream& err);
// The index of the map, or -1 after a message on `err`.
int ResolveMap(const Session& session, const std::string& map, std::ostream& err);

struct KeyArgument {
    PlacementKey key;
    std::string file;   // full path as the window's rows hold it
};
// "template,x,y,offset_x,offset_y,file" (the file may itself hold commas).
std::optional<KeyArgument> ParseKeyArgument(const Session& session, const std::string& text,
                                            std::string* error);
// Whether the row's placement has the key and lies in its file.
bool RowHasKey(const PlacementRowStore& rows, int row, const KeyArgument& key);
// The row of the loaded list whose placement has the key and lies in its file and whose record the
// window would change: the lowest such row (the first record of the key in file order).
int FindRow(const Session& session, const KeyArgument& key);

// Same file for the window's purposes: equal after separators are collapsed.
bool SameFile(const std::string& a, const std::string& b);

// What a refused or failed document operation means, in the command line's words (without the
// "morvinpc: " prefix and without saying what was left unwritten: the caller knows that).
// Fields are named as `naming` says; files relative to the server directory.
std::string DescribeDocumentError(const Session& session, const DocumentError& error, FieldNaming naming);

// "template,x,y,offset_x,offset_y" of a key.
std::string KeyNumbers(const PlacementKey& key);

// The filter of `find` and `--where`, parsed once; nullopt after a message on `err` naming the
// malformed term (a usage error: never an empty result).
std::optional<PlacementFilter> ParseFilter(const std::string& text, std::ostream& err);
// The rows of the store the filter matches, from the top down.
std::vector<int> MatchingRows(const PlacementRowStore& rows, const PlacementFilter& filter);

}  // namespace morvi::cli
