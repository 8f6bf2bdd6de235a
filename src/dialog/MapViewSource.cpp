#include "dialog/MapViewSource.h"

#include "dialog/CPlacementDlg.h"
#include "dialog/NameTables.h"
#include "dialog/WriteStatus.h"

namespace morvi {

std::vector<MapPoint> MapPointsFromList(const PlacementListHost& list) {
    const int count = list.RowCount();
    std::vector<MapPoint> points;
    points.reserve(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        MapPoint p;
        p.x = TextToInt(list.CellText(row, COL_POS_X));
        p.y = TextToInt(list.CellText(row, COL_POS_Y));
        p.type = CodeOfName(NpcTypeNames(), list.CellText(row, COL_TYPE));
        p.hasScript = !list.CellText(row, COL_SCRIPT).empty();
        p.row = row;
        points.push_back(p);
    }
    return points;
}

MapRowDetails MapRowDetailsFromList(const PlacementListHost& list, int row, std::string_view serverPath) {
    MapRowDetails d;
    d.name = list.CellText(row, COL_NAME);
    d.templateNumber = TextToInt(list.CellText(row, COL_TEMPLATE));
    d.x = TextToInt(list.CellText(row, COL_POS_X));
    d.y = TextToInt(list.CellText(row, COL_POS_Y));
    d.offsetX = TextToInt(list.CellText(row, COL_OFFSET_X));
    d.offsetY = TextToInt(list.CellText(row, COL_OFFSET_Y));
    d.file = ServerRelativePath(serverPath, list.CellText(row, COL_FILE));
    return d;
}

}  // namespace morvi
