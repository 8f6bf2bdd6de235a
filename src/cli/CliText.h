#pragma once
// Text helpers of the command line: the escaped form of bytes that are not valid GBK, CSV
// rows, and the width of a text on a terminal.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "texts/ProgramTexts.h"

namespace morvi::cli {

// The parts one after the other, with the text `separator` (a list separator of the text
// table) between each two.
std::string Joined(const std::vector<std::string>& parts, TextId separator);

// The lossless codec shows a byte that starts no valid GBK character as the private-use code
// point U+F700 + byte. Such characters are written as "\xNN" (two upper-case hex digits), and
// a real backslash that happens to stand before "x" and two hex digits is written "\x5C", so
// the escaped text always reads back to the same bytes.
std::string EscapeUndecodable(std::string_view utf8);
std::string UnescapeUndecodable(std::string_view text);
// True when the text holds a "\xNN" escape, that is when UnescapeUndecodable changes it.
bool HasEscapes(std::string_view text);
// True when the text holds one of those code points (the bytes were not valid GBK).
bool HasUndecodable(std::string_view utf8);

// Columns a text takes on a terminal: East Asian wide characters count two.
size_t DisplayWidth(std::string_view utf8);

// One CSV line (RFC 4180 quoting, without the line end).
std::string CsvLine(const std::vector<std::string>& fields);

struct CsvRecord {
    int line = 0;                       // 1-based line where the record starts
    std::vector<std::string> fields;
};
// Parses a whole CSV text by the rules of CsvReader (LF, CRLF or CR line ends, a leading
// UTF-8 byte-order mark skipped, blank lines ignored). nullopt with a reason when a quoted
// field is not closed.
std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, std::string* error);

// True when the text is a plain decimal integer (optional sign); sets *value.
bool ParseInt(std::string_view text, long long* value);

}  // namespace morvi::cli
