#pragma once
// The three code tables of a placement (type, group/camp, series) and their lookups.

#include <span>
#include <string>
#include <string_view>

namespace morvi {

std::span<const std::string_view> NpcTypeNames();     // codes 0..5, empty entries for 1, 2
std::span<const std::string_view> NpcGroupNames();    // codes 0..6, empty entries for 3, 4
std::span<const std::string_view> NpcSeriesNames();   // codes 0..4

// Text of a code; a code past the table's end shows entry 0.
std::string_view NameOfCode(std::span<const std::string_view> table, int code);
// Code of a text: first exactly equal entry, else 0. The empty text finds the first empty entry.
int CodeOfName(std::span<const std::string_view> table, std::string_view text);

}  // namespace morvi
