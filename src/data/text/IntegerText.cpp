#include "data/text/IntegerText.h"

#include <climits>

namespace morvi {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int LeadingNumberToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        // Saturate instead of overflowing: a long run of digits gives the largest int.
        if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::optional<long long> ParseWholeNumber(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    // Accumulated as a negative number, whose range is one larger, so LLONG_MIN parses too.
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        const int digit = text[i] - '0';
        if (value < (LLONG_MIN + digit) / 10) return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative) return value;
    if (value == LLONG_MIN) return std::nullopt;
    return -value;
}

int CoordinateTextToInt(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    const std::optional<long long> value = ParseWholeNumber(text.substr(begin, end - begin));
    if (!value || *value > INT_MAX || *value < INT_MIN) return 0;
    return static_cast<int>(*value);
}

}  // namespace morvi
