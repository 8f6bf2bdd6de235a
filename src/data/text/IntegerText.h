#pragma once
// The program's two ways of reading an integer out of a text, in one place.
//
// Leading-number rule (the drop count, the offsets, the cells of a row): optional blanks, an
// optional sign, then as many decimal digits as follow; whatever comes after is ignored, a text
// without leading digits reads as 0, and a run of digits too long for an int gives the nearest
// int (INT_MAX or INT_MIN).
//
// Whole-number rule (the coordinate fields and every number on the command line): the text is
// a sign and digits and nothing else; anything else is no number at all.

#include <optional>
#include <string_view>

namespace morvi {

int LeadingNumberToInt(std::string_view text);

// Optional '+' or '-' followed by at least one digit, the whole text; nullopt for anything
// else (blanks included) and for a value outside long long.
std::optional<long long> ParseWholeNumber(std::string_view text);

// A coordinate field: blanks around the number are allowed; any other text, and a number
// that does not fit an int, reads as 0.
int CoordinateTextToInt(std::string_view text);

}  // namespace morvi
