#include "dialog/MapViewSource.h"

#include "dialog/CPlacementDlg.h"
#include "dialog/WriteStatus.h"

namespace morvi {

std::vector<MapPoint> MapPointsFromRows(const PlacementRowStore& rows) {
    const int count = rows.Count();
    std::vector<MapPoint> points;
    points.reserve(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        const NpcPlacement& p = rows.Block(row);
        points.push_back({p.PosX(), p.PosY(), p.npcType, p.HasScript(), row});
    }
    return points;
}

std::vector<MapPoint> MapPointsFromView(const PlacementRowView& view) {
    if (view.Identity()) return MapPointsFromRows(view.Store());
    const int count = view.Count();
    std::vector<MapPoint> points;
    points.reserve(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        const NpcPlacement p = view.Store().Block(view.StoreRow(row));
        points.push_back({p.PosX(), p.PosY(), p.npcType, p.HasScript(), row});
    }
    return points;
}

MapRowDetails MapRowDetailsFromView(const PlacementRowView& view, int row, std::string_view serverPath) {
    const int storeRow = view.StoreRow(row);
    return storeRow < 0 ? MapRowDetails{} : MapRowDetailsFromRows(view.Store(), storeRow, serverPath);
}

MapRowDetails MapRowDetailsFromRows(const PlacementRowStore& rows, int row, std::string_view serverPath) {
    MapRowDetails d;
    d.name = rows.CellText(row, COL_NAME);
    // Values from the row's placement, never from its texts.
    const NpcPlacement& p = rows.Block(row);
    d.templateNumber = p.TemplateIndex();
    d.x = p.PosX();
    d.y = p.PosY();
    d.offsetX = p.offsetX;
    d.offsetY = p.offsetY;
    d.file = ServerRelativePath(serverPath, rows.File(row));
    return d;
}

std::vector<int> SelectedRowsOf(const PlacementListHost& list) {
    std::vector<int> rows;
    for (int row = list.NextSelectedRow(-1); row >= 0; row = list.NextSelectedRow(row)) rows.push_back(row);
    return rows;
}

void SelectRowsFromMap(PlacementListHost& list, const std::vector<int>& rows) {
    if (rows.empty()) return;
    list.ScrollRowToTop(rows.front());
    for (int row : rows) list.SelectRow(row);
    list.SelectRow(rows.front());
}

}  // namespace morvi
