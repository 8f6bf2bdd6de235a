#pragma once
// The map view's points and hover details, read from the rows of the placement list.

#include <string_view>
#include <vector>

#include "dialog/MapViewModel.h"
#include "dialog/PlacementRows.h"

namespace morvi {

std::vector<MapPoint> MapPointsFromRows(const PlacementRowStore& rows);
MapRowDetails MapRowDetailsFromRows(const PlacementRowStore& rows, int row, std::string_view serverPath);

}  // namespace morvi
