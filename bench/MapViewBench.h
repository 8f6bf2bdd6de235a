#pragma once
#include "BenchTable.h"

namespace morvi::bench {
// Redraw of the map view with 200,000 placements (clustered, with stacks, a selection of
// 1,000 rows) at 1600 x 800, against the floor of filling the same image once.
Figure MapViewRedrawFigure(int runs);
// A drag of the 1,000 selected of those 200,000 placements: one frame of the preview (the kept
// map copied, the selection drawn where the pointer took it), against the same floor.
Figure MapViewDragFigure(int runs);
}  // namespace morvi::bench
