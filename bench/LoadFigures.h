#pragma once
// Loading the workload's map: through the window logic on the in-memory host (warm and cold
// page cache) and into the Qt window up to its first paint, and the window's searches.

#include <string>
#include <vector>

#include "BenchTable.h"
#include "Workload.h"

namespace morvi::bench {

// DialogLoadFigures.cpp: the load through CPlacementDlg on a lean MemoryHost; `rows` receives the rows listed.
Figure DialogLoadFigure(const Workload& w, int runs, int& rows);
// The same load with the page cache dropped before every load and every floor; skipped where
// the cache cannot be dropped.
Figure ColdDialogLoadFigure(const Workload& w, int runs);
// LoadFigures.cpp: load + first paint of the Qt window (offscreen), then the searches in it; `split` receives
// where the load's time went.
std::vector<Figure> WindowFigures(const Workload& w, int runs, int expectedRows, std::string& split);

// Memory of one load in a fresh process: prints "rows baseRss peak rss reset ms storeBytes" on stdout.
int WindowMemoryChild(const std::string& dir, int files);

}  // namespace morvi::bench
