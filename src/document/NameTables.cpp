#include "document/NameTables.h"

#include <array>

namespace morvi {
namespace {

// Codes without a name have an empty entry; the empty text therefore looks up the first of them.
constexpr std::array<std::string_view, 6> kTypeNames = {"Enemy", "", "", "TalkNPC", "NPC(Fly)",
                                                        "NPC(Ground)"};
constexpr std::array<std::string_view, 7> kGroupNames = {"Not Hit", "Song", "Jin", "",
                                                         "",        "Enemy", "Friend"};
constexpr std::array<std::string_view, 5> kSeriesNames = {"0", "1", "2", "3", "4"};

}  // namespace

std::span<const std::string_view> NpcTypeNames() { return kTypeNames; }
std::span<const std::string_view> NpcGroupNames() { return kGroupNames; }
std::span<const std::string_view> NpcSeriesNames() { return kSeriesNames; }

std::string_view NameOfCode(std::span<const std::string_view> table, int code) {
    if (table.empty()) return {};
    if (code < 0 || static_cast<size_t>(code) >= table.size()) code = 0;
    return table[static_cast<size_t>(code)];
}

int CodeOfName(std::span<const std::string_view> table, std::string_view text) {
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i] == text) return static_cast<int>(i);
    return 0;
}

}  // namespace morvi
