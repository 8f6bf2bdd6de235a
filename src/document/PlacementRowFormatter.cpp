#include "document/PlacementRowFormatter.h"

#include <charconv>

#include "data/text/GbkCodec.h"
#include "document/NameTables.h"

namespace morvi {
namespace {

void AppendNumber(std::string& out, int value) {
    char buffer[12];
    const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, static_cast<size_t>(end.ptr - buffer));
}

}  // namespace

int PlacementRowFormatter::ShownNumber(const NpcPlacement& p, int column) {
    switch (column) {
        case COL_POS_X: return p.PosX();
        case COL_OFFSET_X: return p.offsetX;
        case COL_POS_Y: return p.PosY();
        case COL_OFFSET_Y: return p.offsetY;
        case COL_DROP: return p.dropCountOrScriptLength;
        case COL_TEMPLATE: return p.TemplateIndex();
        default: return 0;
    }
}

void PlacementRowFormatter::AppendCell(const NpcPlacement& p, std::string_view storedScript,
                                       std::string_view file, int column, std::string& out) {
    switch (column) {
        case COL_NAME: AppendGbkAsUtf8(out, p.Name()); return;
        case COL_POS_X:
        case COL_OFFSET_X:
        case COL_POS_Y:
        case COL_OFFSET_Y:
        case COL_TEMPLATE: AppendNumber(out, ShownNumber(p, column)); return;
        case COL_TYPE: out.append(NameOfCode(NpcTypeNames(), p.npcType)); return;
        case COL_GROUP: out.append(NameOfCode(NpcGroupNames(), p.npcGroup)); return;
        case COL_SERIES: out.append(NameOfCode(NpcSeriesNames(), p.npcSeries)); return;
        case COL_DROP:
            if (!p.HasScript()) AppendNumber(out, p.dropCountOrScriptLength);
            return;
        case COL_SCRIPT:
            // A damaged path may hold a zero byte, which ends the text as in a C string.
            if (p.HasScript()) AppendGbkAsUtf8(out, storedScript.substr(0, storedScript.find('\0')));
            return;
        case COL_FILE: out.append(file); return;
        default: return;
    }
}

std::string PlacementRowFormatter::Cell(const NpcPlacement& p, std::string_view storedScript,
                                        std::string_view file, int column) {
    std::string out;
    AppendCell(p, storedScript, file, column, out);
    return out;
}

}  // namespace morvi
