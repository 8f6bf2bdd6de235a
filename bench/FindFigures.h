#pragma once
// Finding placements in every map of a server of 28 maps and about 400,000 placements (its
// own tree, generated once beside the main workload), timed beside the floor of walking and
// reading every region file of every map once, in the same run.

#include <string>
#include <vector>

#include "BenchTable.h"

namespace morvi::bench {

std::vector<Figure> FindFigures(const std::string& workloadDir, int runs);

}  // namespace morvi::bench
