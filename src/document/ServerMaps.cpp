#include "document/ServerMaps.h"

#include "data/platform/FileReadAhead.h"
#include "data/server/MapList.h"
#include "data/server/ServerPath.h"
#include "data/text/GbkCodec.h"
#include "data/text/TabFileReader.h"

namespace morvi {

Expected<std::vector<ServerMap>, ServerMapsError> ReadServerMaps(const std::string& serverDirectory) {
    const MapListResult list = ReadMapList(ServerFilePath(serverDirectory, "\\maps\\worldset.ini"),
                                           ServerFilePath(serverDirectory, "\\settings\\maplist.ini"));
    if (list.count <= 0) return MakeUnexpected(ServerMapsError::NoMapList);
    std::vector<ServerMap> maps;
    for (size_t i = 0; i < list.names.size() && i < list.dirs.size(); ++i) {
        ServerMap& map = maps.emplace_back();
        map.index = static_cast<int>(i);
        map.name = GbkToUtf8(list.names[i]);
        map.entry = GbkToUtf8(list.dirs[i]);
        const std::string tail = "\\maps\\" + map.entry;
        // A map directory that leads out of the tree is a map without region files.
        if (!EscapesServerDirectory(tail)) map.directory = ServerFilePath(serverDirectory, tail);
    }
    return maps;
}

int ReadTemplateCount(const std::string& serverDirectory) {
    const std::string path = ServerFilePath(serverDirectory, "\\settings\\npcs.txt");
    std::string bytes;
    if (!ReadRegularFile(path, bytes)) return -1;
    return static_cast<int>(ReadTemplateNames(path).size());
}

}  // namespace morvi
