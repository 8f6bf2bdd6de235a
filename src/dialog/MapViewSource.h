#pragma once
// The map view's points and hover details, read from the rows of the placement list.

#include <string_view>
#include <vector>

#include "dialog/DialogHost.h"
#include "dialog/MapViewModel.h"
#include "dialog/PlacementRowView.h"
#include "document/PlacementRows.h"

namespace morvi {

std::vector<MapPoint> MapPointsFromRows(const PlacementRowStore& rows);
// The rows the list shows (sorted and narrowed): points and details of list rows, so the map
// view shows what the list shows and both select the same rows.
std::vector<MapPoint> MapPointsFromView(const PlacementRowView& view);
MapRowDetails MapRowDetailsFromView(const PlacementRowView& view, int row, std::string_view serverPath);
MapRowDetails MapRowDetailsFromRows(const PlacementRowStore& rows, int row, std::string_view serverPath);

// The rows the placement list has selected, top row first.
std::vector<int> SelectedRowsOf(const PlacementListHost& list);
// Rows picked on the map join the list's selection as a search hit does; the first of them is
// scrolled into view and takes the focus mark.
void SelectRowsFromMap(PlacementListHost& list, const std::vector<int>& rows);

}  // namespace morvi
