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

MapRowDetails MapRowDetailsFromRows(const PlacementRowStore& rows, int row, std::string_view serverPath) {
    MapRowDetails d;
    d.name = rows.CellText(row, COL_NAME);
    d.templateNumber = TextToInt(rows.CellText(row, COL_TEMPLATE));
    d.x = TextToInt(rows.CellText(row, COL_POS_X));
    d.y = TextToInt(rows.CellText(row, COL_POS_Y));
    d.offsetX = TextToInt(rows.CellText(row, COL_OFFSET_X));
    d.offsetY = TextToInt(rows.CellText(row, COL_OFFSET_Y));
    d.file = ServerRelativePath(serverPath, rows.File(row));
    return d;
}

}  // namespace morvi
