#pragma once
// Which records the placement list shows. A record is listed only when its name is not empty
// (one of its first two bytes is set), its template index lies in 1 .. templateCount - 1, and
// its X and its stored (doubled) Y are below 1000. The others stay in the file untouched.

#include <string>
#include <vector>

#include "data/region/NpcPlacement.h"

namespace morvi {

inline constexpr int kListedCoordinateLimit = 1000;

bool PassesListingRules(const NpcPlacement& p, int templateCount);

// The rules the record breaks, in the order above, each as an operator-readable text such as
// "template index 0" or "x 1200 not below 1000"; empty when the record is listed.
std::vector<std::string> BrokenListingRules(const NpcPlacement& p, int templateCount);

}  // namespace morvi
