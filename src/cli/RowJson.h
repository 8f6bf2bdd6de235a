#pragma once
// A row's cells as JSON members named by the export's columns: numbers as numbers, an empty
// drop count or script as null, every other cell as its text.

#include <string>

#include <nlohmann/json.hpp>

#include "document/PlacementRows.h"

namespace morvi::cli {

// Adds the members for `cells` (the window's columns 0..11, texts as printed) to `j`; the
// file column (10) is left out when `withFile` is false.
void AddRowMembers(nlohmann::ordered_json& j, const RowTexts& cells, bool withFile = true);

}  // namespace morvi::cli
