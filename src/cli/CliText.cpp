#include "cli/CliText.h"

#include "cli/CsvReader.h"
#include "data/text/IntegerText.h"

#include <cstdint>

namespace morvi::cli {
namespace {

constexpr uint32_t kEscapeBase = 0xF700;
constexpr uint32_t kFirstEscaped = 0xF780;   // bytes 0x80..0xFF; ASCII always decodes
constexpr uint32_t kLastEscaped = 0xF7FF;

// Decodes one UTF-8 sequence at `i`; invalid bytes come back as themselves with length 1.
uint32_t NextCodePoint(std::string_view s, size_t i, size_t* length) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) {
        *length = 1;
        return c;
    }
    uint32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) {
            *length = 1;
            return c;
        }
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    *length = n;
    return cp;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "\xNN" at position i.
bool IsEscapeAt(std::string_view s, size_t i) {
    return i + 3 < s.size() && s[i] == '\\' && s[i + 1] == 'x' && HexValue(s[i + 2]) >= 0 &&
           HexValue(s[i + 3]) >= 0;
}

bool IsWide(uint32_t cp) {
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
           (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
           (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
}

}  // namespace

std::string Joined(const std::vector<std::string>& parts, TextId separator) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += Text(separator);
        text += part;
    }
    return text;
}

std::string EscapeUndecodable(std::string_view utf8) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        size_t n = 1;
        const uint32_t cp = NextCodePoint(utf8, i, &n);
        if (cp >= kFirstEscaped && cp <= kLastEscaped && n == 3) {
            const unsigned byte = cp - kEscapeBase;
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else if (IsEscapeAt(utf8, i)) {
            out += "\\x5C";   // a real backslash that would otherwise read as an escape
        } else {
            out.append(utf8.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::string UnescapeUndecodable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (IsEscapeAt(text, i)) {
            const uint32_t byte = static_cast<uint32_t>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
            AppendUtf8(out, byte < 0x80 ? byte : kEscapeBase + byte);
            i += 4;
        } else {
            out += text[i++];
        }
    }
    return out;
}

bool HasEscapes(std::string_view text) {
    for (size_t i = text.find('\\'); i != std::string_view::npos; i = text.find('\\', i + 1))
        if (IsEscapeAt(text, i)) return true;
    return false;
}

bool HasUndecodable(std::string_view utf8) {
    for (size_t i = 0; i < utf8.size();) {
        size_t n = 1;
        const uint32_t cp = NextCodePoint(utf8, i, &n);
        if (cp >= kFirstEscaped && cp <= kLastEscaped && n == 3) return true;
        i += n;
    }
    return false;
}

size_t DisplayWidth(std::string_view utf8) {
    size_t width = 0;
    for (size_t i = 0; i < utf8.size();) {
        size_t n = 1;
        const uint32_t cp = NextCodePoint(utf8, i, &n);
        width += IsWide(cp) ? 2 : 1;
        i += n;
    }
    return width;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) line += ',';
        const std::string& f = fields[i];
        const bool quote = f.find_first_of(",\"\r\n") != std::string::npos ||
                           (!f.empty() && (f.front() == ' ' || f.back() == ' '));
        if (!quote) {
            line += f;
            continue;
        }
        line += '"';
        for (char c : f) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    return line;
}

std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, std::string* error) {
    std::vector<CsvRecord> records;
    CsvReader reader(text);
    while (reader.Next())
        records.push_back({reader.RecordLine(), {reader.Fields().begin(), reader.Fields().end()}});
    if (reader.Unclosed()) {
        if (error) *error = Format(TextId::CliUnclosedQuote, {std::to_string(reader.RecordLine())});
        return std::nullopt;
    }
    return records;
}

bool ParseInt(std::string_view text, long long* value) {
    const std::optional<long long> number = ParseWholeNumber(text);
    if (number) *value = *number;
    return number.has_value();
}

}  // namespace morvi::cli
