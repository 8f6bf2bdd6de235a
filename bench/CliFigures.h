#pragma once
// The command line on the workload's map: `morvinpc` run as a child process with its output
// to /dev/null, timed beside the warm map-read floor, and its peak resident memory per row
// above the same command on the empty map.

#include <string>
#include <vector>

#include "BenchTable.h"
#include "Workload.h"

namespace morvi::bench {

// `cli` is the morvinpc binary; `rows` the rows the window logic lists for map 0.
std::vector<Figure> CliFigures(const std::string& cli, const Workload& w, int runs, int rows);

}  // namespace morvi::bench
