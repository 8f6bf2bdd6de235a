#pragma once
// The rows `import` reads: a file of the export's shape, either CSV (the header of `export`,
// or that of `list --all` with its column of broken listing rules, which is read past) or a
// JSON array of objects with the export's column names as keys.
//
// CSV rows are not held as texts: the text is read once to check its shape, and a row is read
// again from where it starts whenever its cells are wanted, so a row costs its position beside
// the text itself. JSON rows are held as texts.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CsvReader.h"
#include "document/PlacementRows.h"

namespace morvi::cli {

// A row's cells in the export's column order.
using RowCellViews = std::array<std::string_view, kPlacementColumnCount>;

class ImportInput {
public:
    // Called for every row in file order while it is read: its index, its line in the CSV file
    // (its position in the JSON array) and its cells as written.
    using RowVisitor = std::function<void(size_t row, int line, const RowCellViews& cells)>;

    // Reads `text`, which must outlive this object. False with the reason when the text is
    // not of the export's shape; the rows visited until then are to be forgotten.
    bool Read(std::string_view text, std::string* error, const RowVisitor& eachRow);

    size_t Count() const { return m_json.empty() ? m_starts.size() : m_json.size(); }
    int Line(size_t row) const { return m_json.empty() ? m_starts[row].line : static_cast<int>(row + 1); }
    // The cells of a row as written (undecodable bytes still escaped); valid until the next call.
    const RowCellViews& Cells(size_t row);

private:
    bool ReadCsv(std::string_view text, std::string* error, const RowVisitor& eachRow);
    bool ReadJson(std::string_view text, std::string* error, const RowVisitor& eachRow);
    void TakeCsvCells();

    std::optional<CsvReader> m_csv;
    std::vector<CsvReader::Position> m_starts;   // where each CSV row starts
    std::vector<std::array<std::string, kPlacementColumnCount>> m_json;
    RowCellViews m_cells{};
};

// A row's cells with the escapes of undecodable bytes undone; a cell without an escape stays
// a view of what it was made from. Valid until the next From().
class UnescapedCells {
public:
    const RowCellViews& From(const RowCellViews& written);
    RowTexts Texts() const;

private:
    RowCellViews m_cells{};
    std::array<std::string, kPlacementColumnCount> m_unescaped;
};

}  // namespace morvi::cli
