#include "dialog/RowClipboard.h"

#include <algorithm>
#include <cctype>

#include "dialog/ControlIds.h"
#include "document/PlacementRows.h"
#include "dialog/WriteStatus.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

constexpr const char* kColumnNames[kPlacementColumnCount] = {
    "name", "x", "offset_x", "y", "offset_y", "type", "group", "series", "drop", "script", "file", "template"};

// A tab or line break inside a cell would shift the columns of a paste.
void AppendCell(std::string& out, std::string_view text) {
    for (char c : text) out += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

std::string RowsAsTabText(std::span<const int> rows, const CellReader& cell, std::string_view serverPath) {
    std::string out;
    for (int c = 0; c < kPlacementColumnCount; ++c) {
        if (c) out += '\t';
        out += kColumnNames[c];
    }
    out += '\n';
    for (int row : rows) {
        for (int c = 0; c < kPlacementColumnCount; ++c) {
            if (c) out += '\t';
            std::string text = cell(row, c);
            if (c == COL_FILE) {
                text = ServerRelativePath(serverPath, text);
                std::replace(text.begin(), text.end(), '\\', '/');
            }
            AppendCell(out, text);
        }
        out += '\n';
    }
    return out;
}

std::string StoreRowsAsTabText(const PlacementRowStore& store, std::span<const int> rows, std::string_view serverPath) {
    return RowsAsTabText(rows, [&](int row, int column) {
        return column == COL_FILE ? store.File(row) : store.CellText(row, column);
    }, serverPath);
}

std::string CopiedRowsText(size_t rows) { return Format(TextId::RowsCopied, {std::to_string(rows)}); }

bool TemplateMatchesFilter(std::string_view name, int position, std::string_view filter) {
    size_t begin = 0, end = filter.size();
    while (begin < end && filter[begin] == ' ') ++begin;
    while (end > begin && filter[end - 1] == ' ') --end;
    filter = filter.substr(begin, end - begin);
    if (filter.empty()) return true;
    if (std::all_of(filter.begin(), filter.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        filter.size() < 9 && std::stoi(std::string(filter)) == position + 1)
        return true;
    const auto hit = std::search(name.begin(), name.end(), filter.begin(), filter.end(),
                                 [](char a, char b) { return Lower(a) == Lower(b); });
    return hit != name.end();
}

}  // namespace morvi
