#pragma once
// Work over many placements at once on the workload's map: select-all delete through the window
// logic and its undo, a bulk edit of every row, and one filter keystroke over every row, each
// beside a floor measured in the same run.

#include <vector>

#include "BenchTable.h"
#include "Workload.h"

namespace morvi::bench {

std::vector<Figure> BulkFigures(const Workload& w, int runs);

}  // namespace morvi::bench
