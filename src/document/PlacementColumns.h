#pragma once
// Columns of the placement list: what a row of a loaded map shows, left to right.

namespace morvi {

enum PlacementColumn : int {
    COL_NAME = 0, COL_POS_X, COL_OFFSET_X, COL_POS_Y, COL_OFFSET_Y, COL_TYPE, COL_GROUP,
    COL_SERIES, COL_DROP, COL_SCRIPT, COL_FILE, COL_TEMPLATE,
    kPlacementColumnCount
};

}  // namespace morvi
