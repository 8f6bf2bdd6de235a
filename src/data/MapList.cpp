#include "data/MapList.h"

#include <cstdio>
#include <utility>

#include "data/PrivateProfile.h"

namespace morvi {

namespace {

constexpr size_t kNameCapacity = 50;        // display name buffer: 49 bytes of text
constexpr size_t kDirectoryCapacity = 255;  // directory buffer: 254 bytes of text

}  // namespace

MapListResult ReadMapList(const std::string& worldsetPath, const std::string& maplistPath) {
    MapListResult result;
    result.count = GetProfileInt("Init", "Count", 0, worldsetPath);
    if (result.count <= 0) return result;

    char key[20];
    for (int slot = 0; slot < result.count; ++slot) {
        std::snprintf(key, sizeof key, "World%02d", slot);
        const int map = GetProfileInt("World", key, 0, worldsetPath);
        if (map == 0) continue;  // empty slot

        std::snprintf(key, sizeof key, "%d_name", map);
        std::string name = GetProfileString("List", key, "", kNameCapacity, maplistPath);
        if (name.empty()) continue;

        std::snprintf(key, sizeof key, "%d", map);
        std::string directory = GetProfileString("List", key, "", kDirectoryCapacity, maplistPath);
        if (directory.empty()) continue;

        result.names.push_back(std::move(name));
        result.dirs.push_back(std::move(directory));
    }
    return result;
}

}  // namespace morvi
