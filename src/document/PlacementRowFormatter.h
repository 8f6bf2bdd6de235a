#pragma once
// The one place where a placement becomes the texts of its list row. Every cell the window,
// the command line or a test shows is made here, on demand: a row stores the placement, not
// its texts.
//
//   0 name (GBK -> UTF-8, up to its terminator)   6 group name (code past the table: entry 0)
//   1 x                                           7 series name (likewise)
//   2 x offset                                    8 drop count, empty for a script record
//   3 y (the stored value halved)                 9 script path (UTF-8, up to a zero byte),
//   4 y offset                                      empty for a drop-count record
//   5 type name (code past the table: entry 0)   10 the region file's full path
//                                                11 template index
// Numbers are plain signed decimals without padding.

#include <string>
#include <string_view>

#include "data/region/NpcPlacement.h"
#include "document/PlacementColumns.h"

namespace morvi {

class PlacementRowFormatter {
public:
    // Appends the text of one cell to `out`; a column outside 0..11 appends nothing.
    static void AppendCell(const NpcPlacement& p, std::string_view storedScript,
                           std::string_view file, int column, std::string& out);
    static std::string Cell(const NpcPlacement& p, std::string_view storedScript,
                            std::string_view file, int column);
    // Decimal text of the Y coordinate as column 3 shows it, and the like: the number a cell
    // shows, for comparisons that need not build the text.
    static int ShownNumber(const NpcPlacement& p, int column);
};

}  // namespace morvi
