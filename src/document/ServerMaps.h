#pragma once
// The maps of a server tree as the window lists them (worldset.ini and maplist.ini), each with
// the full path of its directory, for the work that spans every map: finding placements in all
// of them, comparing two trees. Names and directories are UTF-8 (the files hold code page 936).

#include <string>
#include <vector>

#include "document/Expected.h"

namespace morvi {

struct ServerMap {
    int index = 0;              // its place in the map list
    std::string name;           // display name
    std::string entry;          // directory below <server>/maps, as maplist.ini gives it
    std::string directory;      // full path; empty when the entry leads out of the tree
};

enum class ServerMapsError {
    NoMapList,   // worldset.ini or maplist.ini missing or malformed, or a map count of 0
};

Expected<std::vector<ServerMap>, ServerMapsError> ReadServerMaps(const std::string& serverDirectory);

// The number of entries of the server's template table (settings/npcs.txt): the listing rules'
// template count. -1 when the table cannot be read.
int ReadTemplateCount(const std::string& serverDirectory);

}  // namespace morvi
