#include "cli/PrintedCell.h"

#include <array>
#include <cstdint>

#include "cli/CliText.h"

namespace morvi::cli {
namespace {

// What a byte asks of a cell. A backslash may start a "\x" that must be escaped, and 0xEF
// starts the private-use characters undecodable bytes decode to: both send the cell to
// EscapeUndecodable.
enum : uint8_t { kEscape = 1, kCsvQuote = 2, kJsonEscape = 4 };

constexpr std::array<uint8_t, 256> MakeByteClasses() {
    std::array<uint8_t, 256> classes{};
    classes['\\'] = kEscape | kJsonEscape;
    classes[0xEF] = kEscape;
    for (unsigned char c : {',', '"', '\r', '\n'}) classes[c] |= kCsvQuote;
    classes['"'] |= kJsonEscape;
    for (unsigned c = 0; c < 0x20; ++c) classes[c] |= kJsonEscape;
    return classes;
}
constexpr std::array<uint8_t, 256> kByteClasses = MakeByteClasses();

uint8_t ClassesIn(std::string_view text) {
    uint8_t found = 0;
    for (const char c : text) found |= kByteClasses[static_cast<unsigned char>(c)];
    return found;
}

bool HoldsClass(std::string_view text, uint8_t mask) { return (ClassesIn(text) & mask) != 0; }

// Whether EscapeUndecodable changes the text: only a private-use character (which begins with
// 0xEF) or a backslash before "x" and two hex digits does. Script paths are full of
// backslashes that are neither.
bool ChangedByEscaping(std::string_view text, uint8_t classes) {
    if (!(classes & kEscape)) return false;
    return text.find('\xEF') != std::string_view::npos || HasEscapes(text);
}

}  // namespace

void AppendCsvField(std::string_view field, std::string& out) {
    const bool quote = HoldsClass(field, kCsvQuote) || (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) {
        out.append(field);
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// Quotes, backslashes and control characters escaped, everything else (UTF-8) as it is.
void AppendJsonString(std::string_view text, std::string& out) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    size_t run = 0;   // start of the bytes not yet appended, which go out as they are
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!(kByteClasses[c] & kJsonEscape)) continue;
        out.append(text.substr(run, i - run));
        run = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    out.append(text.substr(run));
    out += '"';
}

void AppendCsvCell(std::string_view text, std::string& out) {
    if (!HoldsClass(text, kEscape)) {
        AppendCsvField(text, out);
        return;
    }
    AppendCsvField(EscapeUndecodable(text), out);
}

void AppendJsonCell(std::string_view text, std::string& out) {
    if (!HoldsClass(text, kEscape)) {
        AppendJsonString(text, out);
        return;
    }
    AppendJsonString(EscapeUndecodable(text), out);
}

void FinishCsvCell(std::string& out, size_t start) {
    const std::string_view text = std::string_view(out).substr(start);
    const uint8_t classes = ClassesIn(text);
    if (ChangedByEscaping(text, classes)) {
        const std::string cell(text);
        out.resize(start);
        AppendCsvCell(cell, out);
        return;
    }
    if (!(classes & kCsvQuote) && (text.empty() || (text.front() != ' ' && text.back() != ' '))) return;
    const std::string cell(text);
    out.resize(start);
    AppendCsvField(cell, out);
}

void FinishJsonCell(std::string& out, size_t start) {
    const std::string_view text = std::string_view(out).substr(start);
    const uint8_t classes = ClassesIn(text);
    const bool escaped = ChangedByEscaping(text, classes);
    if (!escaped && !(classes & kJsonEscape)) {
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(start), '"');
        out += '"';
        return;
    }
    const std::string cell(text);
    out.resize(start);
    if (escaped) AppendJsonCell(cell, out);
    else AppendJsonString(cell, out);
}

bool IsCanonicalNumber(std::string_view text) {
    const std::string_view digits = !text.empty() && text.front() == '-' ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 18) return false;
    if (digits.front() == '0') return digits.size() == 1 && digits.size() == text.size();
    for (const char c : digits)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace morvi::cli
