#include "cli/RowOutput.h"

#include <nlohmann/json.hpp>

#include "cli/CliText.h"

namespace morvi::cli {
namespace {

bool IsNumberColumn(int column) {
    return column == COL_POS_X || column == COL_OFFSET_X || column == COL_POS_Y ||
           column == COL_OFFSET_Y || column == COL_DROP || column == COL_TEMPLATE;
}

nlohmann::ordered_json JsonValue(int column, const std::string& text) {
    if (text.empty() && (column == COL_DROP || column == COL_SCRIPT)) return nullptr;
    long long value = 0;
    if (IsNumberColumn(column) && ParseInt(text, &value)) return value;
    return EscapeUndecodable(text);
}

}  // namespace

std::optional<OutputFormat> ParseFormat(const std::string& text) {
    if (text == "table") return OutputFormat::Table;
    if (text == "csv") return OutputFormat::Csv;
    if (text == "json") return OutputFormat::Json;
    return std::nullopt;
}

const std::vector<std::string>& ExportColumns() {
    static const std::vector<std::string> columns = {"name",   "x",    "offset_x", "y",
                                                     "offset_y", "type", "group",    "series",
                                                     "drop",   "script", "file",   "template"};
    return columns;
}

std::string FormatTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<size_t> widths;
    for (const auto& row : rows)
        for (size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c) widths.resize(c + 1, 0);
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
        }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line.append(widths[c] - DisplayWidth(row[c]) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    return out;
}

std::string FormatRows(const std::vector<OutputRow>& rows, OutputFormat format, bool withHidden) {
    std::vector<std::string> header = ExportColumns();
    if (withHidden) header.push_back(kHiddenColumn);

    if (format == OutputFormat::Json) {
        nlohmann::ordered_json array = nlohmann::ordered_json::array();
        for (const OutputRow& row : rows) {
            nlohmann::ordered_json object;
            for (int c = 0; c < kPlacementColumnCount; ++c)
                object[header[static_cast<size_t>(c)]] = JsonValue(c, row.cells[static_cast<size_t>(c)]);
            if (withHidden) object[kHiddenColumn] = row.hidden.empty() ? nlohmann::ordered_json(nullptr)
                                                                       : nlohmann::ordered_json(row.hidden);
            array.push_back(std::move(object));
        }
        return array.dump(2) + "\n";
    }

    std::vector<std::vector<std::string>> lines;
    lines.reserve(rows.size() + 1);
    lines.push_back(header);
    for (const OutputRow& row : rows) {
        std::vector<std::string> fields;
        for (const std::string& cell : row.cells) fields.push_back(EscapeUndecodable(cell));
        if (withHidden) fields.push_back(row.hidden);
        lines.push_back(std::move(fields));
    }
    if (format == OutputFormat::Table) return FormatTable(lines);
    std::string out;
    for (const auto& fields : lines) out += CsvLine(fields) + "\n";
    return out;
}

std::string KeyText(const RowTexts& cells) {
    return cells[COL_TEMPLATE] + "," + cells[COL_POS_X] + "," + cells[COL_POS_Y] + "," +
           cells[COL_OFFSET_X] + "," + cells[COL_OFFSET_Y] + "," + EscapeUndecodable(cells[COL_FILE]);
}

}  // namespace morvi::cli
