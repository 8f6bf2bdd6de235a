#include "data/server/MapList.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>
#include <utility>

#include "data/text/PrivateProfile.h"

namespace morvi {

namespace {

constexpr size_t kNameCapacity = 50;        // display name buffer: 49 bytes of text
constexpr size_t kDirectoryCapacity = 255;  // directory buffer: 254 bytes of text

// The slot index a [World] key stands for when it is exactly "World%02d" of that index (ASCII
// case aside), else nullopt. Keys such as "World5" or "World007" are never read by a slot.
std::optional<int> SlotOfKey(std::string_view key, int count) {
    constexpr std::string_view kPrefix = "world";
    if (key.size() <= kPrefix.size() || key.size() > kPrefix.size() + 10) return std::nullopt;
    for (size_t i = 0; i < kPrefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(key[i])) != kPrefix[i]) return std::nullopt;
    const std::string_view digits = key.substr(kPrefix.size());
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value >= count) return std::nullopt;
    char canonical[20];
    std::snprintf(canonical, sizeof canonical, "%02lld", value);
    if (digits != canonical) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

MapListResult ReadMapList(const std::string& worldsetPath, const std::string& maplistPath) {
    MapListResult result;
    const ProfileSnapshot worldset(worldsetPath);
    result.count = worldset.GetInt("Init", "Count", 0);
    if (result.count <= 0) return result;

    // Slots 0 .. Count-1 are examined in order; a slot without its key reads as 0 and is
    // skipped, so only the slots whose key is present need a look. This keeps a Count of
    // two thousand million as fast as a Count of ten.
    std::vector<int> slots;
    for (const std::string& key : worldset.Keys("World"))
        if (const auto slot = SlotOfKey(key, result.count)) slots.push_back(*slot);
    std::sort(slots.begin(), slots.end());

    const ProfileSnapshot maplist(maplistPath);
    char key[20];
    for (int slot : slots) {
        std::snprintf(key, sizeof key, "World%02d", slot);
        const int map = worldset.GetInt("World", key, 0);
        if (map == 0) continue;  // empty slot

        std::snprintf(key, sizeof key, "%d_name", map);
        std::string name = maplist.GetString("List", key, "", kNameCapacity);
        if (name.empty()) continue;

        std::snprintf(key, sizeof key, "%d", map);
        std::string directory = maplist.GetString("List", key, "", kDirectoryCapacity);
        if (directory.empty()) continue;

        result.names.push_back(std::move(name));
        result.dirs.push_back(std::move(directory));
    }
    return result;
}

}  // namespace morvi
