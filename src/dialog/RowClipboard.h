#pragma once
// "复制行": the selected rows of the placement list as tab-separated text, one line per row
// under a header line, in the columns of the command line's export (name, x, offset_x, y,
// offset_y, type, group, series, drop, script, file, template), the file relative to the
// server directory with '/' as separator, so a paste into a sheet or `morvinpc import`
// reads the same everywhere.

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace morvi {

class PlacementRowStore;

using CellReader = std::function<std::string(int row, int column)>;

std::string RowsAsTabText(std::span<const int> rows, const CellReader& cell, std::string_view serverPath);
// The same for rows of the placement list, read from its store.
std::string StoreRowsAsTabText(const PlacementRowStore& store, std::span<const int> rows, std::string_view serverPath);
// What the status strip says once they are on the clipboard.
std::string CopiedRowsText(size_t rows);

// Whether a template list entry stays visible under the filter typed above the list: the
// filter is contained in the name (ASCII letters without regard to case), or, when it is a
// number, equals the entry's template number (its position + 1). An empty filter shows all.
bool TemplateMatchesFilter(std::string_view name, int position, std::string_view filter);

}  // namespace morvi
