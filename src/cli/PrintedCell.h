#pragma once
// The printed form of one cell text in CSV and in JSON: bytes that are not valid GBK escaped
// (see CliText.h), then quoted as the format wants.
//
// Printing a map makes two million cells, nearly all of which print as they are. The Finish
// functions take a cell the caller has already appended to the output and leave it in place
// when it needs no work, which a single table-driven pass decides; only the rare cell that
// needs escaping or quoting is taken out and made again by the Append functions.

#include <cstddef>
#include <string>
#include <string_view>

namespace morvi::cli {

// `text` as it is, as an RFC 4180 field (quoted when it holds a comma, a quote or a line end,
// or begins or ends with a space) and as a JSON string the way nlohmann::json writes one.
void AppendCsvField(std::string_view text, std::string& out);
void AppendJsonString(std::string_view text, std::string& out);

// `text` escaped, then as an RFC 4180 field: quoted when it holds a comma, a quote or a line
// end, or begins or ends with a space.
void AppendCsvCell(std::string_view text, std::string& out);
// `text` escaped, then as a JSON string the way nlohmann::json writes one.
void AppendJsonCell(std::string_view text, std::string& out);

// The cell text is out[start..]: turns it into what the Append function above makes of it.
void FinishCsvCell(std::string& out, size_t start);
void FinishJsonCell(std::string& out, size_t start);

// True for the decimal text of a whole number as std::to_string writes it ("0", "-12",
// never "+1", "007" or "-0"), short enough to be a long long.
bool IsCanonicalNumber(std::string_view text);

}  // namespace morvi::cli
