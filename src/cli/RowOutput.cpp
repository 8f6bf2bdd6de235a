#include "cli/RowOutput.h"

#include <algorithm>

#include "cli/CliText.h"
#include "cli/PrintedCell.h"
#include "data/region/ListingRule.h"
#include "document/PlacementRowFormatter.h"

namespace morvi::cli {
namespace {

constexpr size_t kFlushBytes = 1 << 16;

bool IsNumberColumn(int column) {
    return column == COL_POS_X || column == COL_OFFSET_X || column == COL_POS_Y ||
           column == COL_OFFSET_Y || column == COL_DROP || column == COL_TEMPLATE;
}

// Appends the printed form of a cell text: bytes that are not valid GBK escaped (see
// CliText.h). Nearly every text holds neither a backslash nor a private-use character, and
// goes out as it is.
void AppendEscaped(std::string_view text, std::string& out) {
    for (const char c : text)
        if (c == '\\' || c == '\xEF') {
            out += EscapeUndecodable(text);
            return;
        }
    out.append(text);
}

// The cell of the hidden-rules column: a column of the data, written as it always was.
std::string JoinRules(const std::vector<std::string>& rules) {
    std::string text;
    for (const std::string& r : rules) text += (text.empty() ? "" : "; ") + r;
    return text;
}

// Makes the printed cells of one row at a time, each into a buffer of its own that keeps its
// capacity from row to row.
class RowCells {
public:
    RowCells(const PlacementRowStore& rows, const RowPrintOptions& options) : m_rows(rows), m_options(options) {}

    // Cell `column` of `row` as printed (escaped; column 10 as `fileText` gives it);
    // column 12 is the hidden-rules column.
    std::string_view Cell(int row, int column) {
        std::string& cell = m_cells[static_cast<size_t>(column)];
        cell.clear();
        if (column == kPlacementColumnCount) {
            cell = JoinRules(BrokenListingRules(m_rows.Block(row), m_options.templateCount));
            return cell;
        }
        if (column == COL_FILE && !m_rows.HasOverride(row, COL_FILE)) {
            AppendEscaped(FileText(row), cell);
            return cell;
        }
        m_raw.clear();
        m_rows.AppendCellText(row, column, m_raw);
        AppendEscaped(m_raw, cell);
        return cell;
    }

    // Cell `column` (0..11) of `row` as a CSV field, appended to `out`: the formatter writes
    // the text straight into the output, where it stays unless it must be escaped or quoted.
    void AppendCsv(int row, int column, std::string& out) {
        if (column == COL_FILE && !m_rows.HasOverride(row, COL_FILE)) {
            out.append(Printed(row).csv);
            return;
        }
        const size_t start = out.size();
        m_rows.AppendCellText(row, column, out);
        FinishCsvCell(out, start);
    }

    // The same as a JSON value: null for an empty drop or script cell, a number for a number
    // column's whole-number text, else a string.
    void AppendJson(int row, int column, std::string& out) {
        if (column == COL_FILE && !m_rows.HasOverride(row, COL_FILE)) {
            out.append(Printed(row).json);
            return;
        }
        const size_t start = out.size();
        m_rows.AppendCellText(row, column, out);
        if (out.size() == start && (column == COL_DROP || column == COL_SCRIPT)) {
            out += "null";
            return;
        }
        if (!IsNumberColumn(column)) {
            FinishJsonCell(out, start);
            return;
        }
        if (IsCanonicalNumber(std::string_view(out).substr(start))) return;
        // Any other text (an override): read as a number where it is one, as printed.
        const std::string text = EscapeUndecodable(std::string_view(out).substr(start));
        out.resize(start);
        long long number = 0;
        if (ParseInt(text, &number)) out += std::to_string(number);
        else AppendJsonString(text, out);
    }

    // Cell `column` (0..11) of a row without overrides, as a CSV field or a JSON value: the
    // formatter writes it from the row's block and script, fetched once for the row by the
    // caller. Its numbers are plain decimals, which print as they are; a code's name and a
    // region file are printed once and then copied.
    void AppendPlain(int row, const NpcPlacement& p, std::string_view script, int column, bool json,
                     std::string& out) {
        switch (column) {
        case COL_FILE: {
            const PrintedFile& file = Printed(row);
            out.append(json ? file.json : file.csv);
            return;
        }
        case COL_TYPE: out.append(CodeName(p, column, p.npcType, json)); return;
        case COL_GROUP: out.append(CodeName(p, column, p.npcGroup, json)); return;
        case COL_SERIES: out.append(CodeName(p, column, p.npcSeries, json)); return;
        default: break;
        }
        const size_t start = out.size();
        PlacementRowFormatter::AppendCell(p, script, {}, column, out);
        if (json && out.size() == start && (column == COL_DROP || column == COL_SCRIPT)) out += "null";
        else if (IsNumberColumn(column)) return;
        else if (json) FinishJsonCell(out, start);
        else FinishCsvCell(out, start);
    }

private:
    // The printed name of a code in column 5, 6 or 7, made once per code and format.
    const std::string& CodeName(const NpcPlacement& p, int column, uint8_t code, bool json) {
        std::optional<std::string>& name =
            m_codeNames[static_cast<size_t>(column - COL_TYPE)][json ? 1 : 0][code];
        if (!name) {
            NpcPlacement block = p;
            block.npcType = block.npcGroup = block.npcSeries = code;
            std::string text;
            PlacementRowFormatter::AppendCell(block, {}, {}, column, text);
            name.emplace();
            if (json) AppendJsonCell(text, *name);
            else AppendCsvCell(text, *name);
        }
        return *name;
    }

    // A region file's column 10 as printed, made once per file.
    struct PrintedFile {
        std::string csv, json;
    };
    const PrintedFile& Printed(int row) {
        const uint32_t id = m_rows.FileId(row);
        if (id >= m_printed.size()) m_printed.resize(id + 1);
        std::optional<PrintedFile>& printed = m_printed[id];
        if (!printed) {
            printed.emplace();
            AppendCsvCell(FileText(row), printed->csv);
            AppendJsonCell(FileText(row), printed->json);
        }
        return *printed;
    }

    const std::string& FileText(int row) {
        const uint32_t id = m_rows.FileId(row);
        if (id >= m_files.size()) m_files.resize(id + 1);
        std::optional<std::string>& text = m_files[id];
        if (!text) text = m_options.fileText ? m_options.fileText(m_rows.File(row)) : m_rows.File(row);
        return *text;
    }

    const PlacementRowStore& m_rows;
    const RowPrintOptions& m_options;
    std::array<std::string, kPlacementColumnCount + 1> m_cells;
    std::string m_raw;
    std::vector<std::optional<std::string>> m_files;   // by file id
    std::vector<std::optional<PrintedFile>> m_printed;  // by file id
    // By column (type, group, series), format (CSV, JSON) and code.
    std::array<std::array<std::array<std::optional<std::string>, 256>, 2>, 3> m_codeNames;
};

class Output {
public:
    explicit Output(std::ostream& out) : m_out(out) {}
    ~Output() { Flush(); }
    std::string& Buffer() { return m_buffer; }
    void MaybeFlush() {
        if (m_buffer.size() >= kFlushBytes) Flush();
    }
    void Flush() {
        m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        m_buffer.clear();
    }

private:
    std::ostream& m_out;
    std::string m_buffer;
};

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

void PrintRows(const PlacementRowStore& rows, const RowPrintOptions& options, std::ostream& out) {
    const int first = std::clamp(options.first, 0, rows.Count());
    const int end = options.count < 0 ? rows.Count() : std::min(rows.Count(), first + options.count);
    std::vector<std::string> header = ExportColumns();
    if (options.withHidden) header.push_back(kHiddenColumn);
    const int columns = static_cast<int>(header.size());
    RowCells cells(rows, options);
    Output output(out);
    std::string& buffer = output.Buffer();

    if (options.format == OutputFormat::Json) {
        if (first == end) {
            buffer += "[]\n";
            return;
        }
        buffer += "[\n";
        // What comes before each value, in one piece: the end of the member before it (or the
        // object's opening brace) and the value's key.
        std::vector<std::string> leads;
        for (const std::string& name : header) {
            std::string lead = leads.empty() ? "  {\n    " : ",\n    ";
            AppendJsonString(name, lead);
            leads.push_back(lead + ": ");
        }
        for (int row = first; row < end; ++row) {
            const bool plain = !rows.HasOverrides(row);
            const NpcPlacement& block = rows.Block(row);
            const std::string_view script = rows.StoredScript(row);
            for (int c = 0; c < columns; ++c) {
                buffer += leads[static_cast<size_t>(c)];
                if (c < kPlacementColumnCount) {
                    if (plain) cells.AppendPlain(row, block, script, c, true, buffer);
                    else cells.AppendJson(row, c, buffer);
                } else {
                    // The broken listing rules: null when the record breaks none.
                    const std::string_view text = cells.Cell(row, c);
                    if (text.empty()) buffer += "null";
                    else AppendJsonString(text, buffer);
                }
            }
            buffer += row + 1 < end ? "\n  },\n" : "\n  }\n";
            output.MaybeFlush();
        }
        buffer += "]\n";
        return;
    }

    if (options.format == OutputFormat::Csv) {
        for (int c = 0; c < columns; ++c) {
            if (c) buffer += ',';
            AppendCsvField(header[static_cast<size_t>(c)], buffer);
        }
        buffer += '\n';
        for (int row = first; row < end; ++row) {
            const bool plain = !rows.HasOverrides(row);
            const NpcPlacement& block = rows.Block(row);
            const std::string_view script = rows.StoredScript(row);
            for (int c = 0; c < columns; ++c) {
                if (c) buffer += ',';
                if (c >= kPlacementColumnCount) AppendCsvField(cells.Cell(row, c), buffer);
                else if (plain) cells.AppendPlain(row, block, script, c, false, buffer);
                else cells.AppendCsv(row, c, buffer);
            }
            buffer += '\n';
            output.MaybeFlush();
        }
        return;
    }

    // The table: one pass for the widths of the columns, one to print.
    std::vector<size_t> widths(static_cast<size_t>(columns), 0);
    for (int c = 0; c < columns; ++c) widths[static_cast<size_t>(c)] = DisplayWidth(header[static_cast<size_t>(c)]);
    for (int row = first; row < end; ++row)
        for (int c = 0; c < columns; ++c)
            widths[static_cast<size_t>(c)] = std::max(widths[static_cast<size_t>(c)], DisplayWidth(cells.Cell(row, c)));
    auto line = [&](auto&& cellAt) {
        const size_t start = buffer.size();
        for (int c = 0; c < columns; ++c) {
            const std::string_view text = cellAt(c);
            buffer.append(text);
            if (c + 1 < columns) buffer.append(widths[static_cast<size_t>(c)] - DisplayWidth(text) + 2, ' ');
        }
        while (buffer.size() > start && buffer.back() == ' ') buffer.pop_back();
        buffer += '\n';
        output.MaybeFlush();
    };
    line([&](int c) { return std::string_view(header[static_cast<size_t>(c)]); });
    for (int row = first; row < end; ++row) line([&](int c) { return cells.Cell(row, c); });
}

std::string KeyText(const RowTexts& cells) {
    return cells[COL_TEMPLATE] + "," + cells[COL_POS_X] + "," + cells[COL_POS_Y] + "," +
           cells[COL_OFFSET_X] + "," + cells[COL_OFFSET_Y] + "," + EscapeUndecodable(cells[COL_FILE]);
}

RowTexts RecordTexts(const PlacementRecord& record, const std::string& file) {
    RowTexts cells;
    for (int c = 0; c < kPlacementColumnCount; ++c)
        cells[static_cast<size_t>(c)] = PlacementRowFormatter::Cell(record.block, record.script, file, c);
    return cells;
}

std::string DescribeCellChanges(const RowTexts& before, const RowTexts& after) {
    std::vector<std::string> cells;
    for (int c = 0; c < kPlacementColumnCount; ++c) {
        const size_t i = static_cast<size_t>(c);
        if (c == COL_FILE || before[i] == after[i]) continue;
        cells.push_back(Format(TextId::CliPlanCell,
                               {ExportColumns()[i], EscapeUndecodable(before[i]), EscapeUndecodable(after[i])}));
    }
    return Joined(cells, TextId::CliListSeparator);
}

}  // namespace morvi::cli
