#pragma once
// Printing placement rows: an aligned table for people, CSV and JSON for programs. The CSV
// shape is also what `import` reads back: a header line, then one line per row with
// name,x,offset_x,y,offset_y,type,group,series,drop,script,file,template (the window's
// columns in its order, the region file relative to the server directory).

#include <optional>
#include <string>
#include <vector>

#include "dialog/DialogHost.h"

namespace morvi::cli {

enum class OutputFormat { Table, Csv, Json };
std::optional<OutputFormat> ParseFormat(const std::string& text);

struct OutputRow {
    RowTexts cells;       // window texts; column 10 already relative to the server directory
    std::string hidden;   // the listing rules the record breaks; empty when the window lists it
};

// The column names of the CSV header and the JSON keys, in the window's column order.
const std::vector<std::string>& ExportColumns();
inline constexpr char kHiddenColumn[] = "hidden";

// `withHidden` adds the column of broken listing rules (list --all).
std::string FormatRows(const std::vector<OutputRow>& rows, OutputFormat format, bool withHidden);

// A generic aligned table (first row is the header).
std::string FormatTable(const std::vector<std::vector<std::string>>& rows);

// The placement key as `set` and `rm` take it: template,x,y,offset_x,offset_y,file.
std::string KeyText(const RowTexts& cells);

}  // namespace morvi::cli
