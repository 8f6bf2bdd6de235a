#pragma once
// The map view's points and hover details, read from the rows of the placement list.

#include <string_view>
#include <vector>

#include "dialog/DialogHost.h"
#include "dialog/MapViewModel.h"

namespace morvi {

std::vector<MapPoint> MapPointsFromList(const PlacementListHost& list);
MapRowDetails MapRowDetailsFromList(const PlacementListHost& list, int row, std::string_view serverPath);

}  // namespace morvi
