#pragma once
// Printing placement rows: an aligned table for people, CSV and JSON for programs. The CSV
// shape is also what `import` reads back: a header line, then one line per row with
// name,x,offset_x,y,offset_y,type,group,series,drop,script,file,template (the window's
// columns in its order, the region file relative to the server directory).
//
// Rows are streamed from a row store: for CSV and JSON the window's row formatter writes each
// cell straight into one reused output buffer, where it stays unless it must be escaped or
// quoted (see PrintedCell.h), so printing a map costs no memory per row.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "document/PlacementRows.h"

namespace morvi::cli {

enum class OutputFormat { Table, Csv, Json };
std::optional<OutputFormat> ParseFormat(const std::string& text);

// The column names of the CSV header and the JSON keys, in the window's column order. They are
// a data format that `import` and other programs read back, not texts: they stay as they are in
// every language, as do the format names (table, csv, json).
const std::vector<std::string>& ExportColumns();
inline constexpr char kHiddenColumn[] = "hidden";

struct RowPrintOptions {
    OutputFormat format = OutputFormat::Table;
    // The region file as printed (column 10), asked once per file of the store.
    std::function<std::string(const std::string& fullPath)> fileText;
    // Adds the column of the listing rules each record breaks (list --all); needs the size
    // of the template table.
    bool withHidden = false;
    int templateCount = 0;
    // The rows printed: [first, first + count); count -1 runs to the last row.
    int first = 0;
    int count = -1;
};

// Writes the rows of the store (row 0 first) in the chosen format.
void PrintRows(const PlacementRowStore& rows, const RowPrintOptions& options, std::ostream& out);

// A generic aligned table (first row is the header).
std::string FormatTable(const std::vector<std::vector<std::string>>& rows);

// The placement key as `set` and `rm` take it: template,x,y,offset_x,offset_y,file.
std::string KeyText(const RowTexts& cells);

// The texts the window shows for a record (columns 0..9 and 11) with `file` in column 10.
RowTexts RecordTexts(const PlacementRecord& record, const std::string& file);

// The cells that differ (the file aside), each as `column "before" -> "after"`.
std::string DescribeCellChanges(const RowTexts& before, const RowTexts& after);

}  // namespace morvi::cli
