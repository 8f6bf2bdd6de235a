#include "cli/RowJson.h"

#include "cli/RowOutput.h"

namespace morvi::cli {

void AddRowMembers(nlohmann::ordered_json& j, const RowTexts& cells, bool withFile) {
    for (size_t c = 0; c < ExportColumns().size() && c < cells.size(); ++c) {
        if (c == COL_FILE && !withFile) continue;
        const std::string& cell = cells[c];
        const bool number = c == COL_POS_X || c == COL_OFFSET_X || c == COL_POS_Y || c == COL_OFFSET_Y ||
                            c == COL_TEMPLATE || (c == COL_DROP && !cell.empty());
        if (number) j[ExportColumns()[c]] = std::stoll(cell);
        else if (cell.empty() && (c == COL_DROP || c == COL_SCRIPT)) j[ExportColumns()[c]] = nullptr;
        else j[ExportColumns()[c]] = cell;
    }
}

}  // namespace morvi::cli
