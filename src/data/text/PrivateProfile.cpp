#include "data/text/PrivateProfile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "data/platform/AtomicFile.h"
#include "data/platform/FileReadAhead.h"
#include "data/text/GbkCodec.h"
#include "data/platform/WidePath.h"

namespace morvi {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kNewLine = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

struct Line {
    size_t begin = 0;       // first byte of the line
    size_t contentEnd = 0;  // first byte of the terminator (or end of file)
    size_t end = 0;         // first byte of the next line
};

// Lines end in LF, CRLF or a lone CR. The byte-order mark is not part of the first line.
std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    size_t pos = text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r') ++pos;
        line.contentEnd = pos;
        if (pos < text.size()) {
            if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
            ++pos;
        }
        line.end = pos;
        lines.push_back(line);
    }
    return lines;
}

// A header is a line whose first non-blank byte is '[' and that holds a ']' after it; the
// name runs to the last ']' of the line. Without a ']' the line is an ordinary line.
std::optional<std::string_view> SectionName(std::string_view content) {
    std::string_view t = Trim(content);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const size_t close = t.rfind(']');
    if (close == 0 || close == std::string_view::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;     // trimmed
    size_t valueBegin = 0;    // offset in the line content of the value, after its leading blanks
};

// A key line holds an '='; the key is what precedes the first '='. A line without '=' is
// not a key, whatever it holds.
std::optional<KeyLine> ParseKeyLine(std::string_view content) {
    const size_t eq = content.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    KeyLine k;
    k.key = Trim(content.substr(0, eq));
    size_t v = eq + 1;
    while (v < content.size() && IsBlank(content[v])) ++v;
    k.valueBegin = v;
    return k;
}

struct Lookup {
    bool sectionFound = false;
    size_t headerLine = 0;
    size_t sectionEnd = 0;        // index of the first line after the section
    std::optional<size_t> keyLine;
};

// Only the first section of the name is searched, and in it the first key of the name.
Lookup Find(std::string_view text, const std::vector<Line>& lines, std::string_view section,
            std::string_view key) {
    Lookup found;
    section = Trim(section);
    key = Trim(key);
    size_t i = 0;
    for (; i < lines.size(); ++i) {
        const auto name = SectionName(text.substr(lines[i].begin, lines[i].contentEnd - lines[i].begin));
        if (name && EqualNoCaseGbk(*name, section)) break;
    }
    if (i == lines.size()) return found;
    found.sectionFound = true;
    found.headerLine = i;
    for (++i; i < lines.size(); ++i) {
        const std::string_view content = text.substr(lines[i].begin, lines[i].contentEnd - lines[i].begin);
        if (SectionName(content)) break;
        if (found.keyLine) continue;
        const auto k = ParseKeyLine(content);
        if (k && EqualNoCaseGbk(k->key, key)) found.keyLine = i;
    }
    found.sectionEnd = i;
    return found;
}

std::string_view LineContent(std::string_view text, const Line& line) {
    return text.substr(line.begin, line.contentEnd - line.begin);
}

// The value as the Windows function returns it before the buffer cut: ended at a NUL byte (the
// function hands out C strings), trimmed, and one pair of matching surrounding quotes removed.
std::string Unquoted(std::string_view content) {
    std::string_view value = content.substr(ParseKeyLine(content)->valueBegin);
    value = Trim(value.substr(0, value.find('\0')));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string CutToCapacity(std::string_view s, size_t capacity) {
    if (capacity == 0) return std::string();
    return std::string(s.substr(0, capacity - 1));
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

ProfileSnapshot::ProfileSnapshot(const std::string& file) {
    m_readable = ReadRegularFile(file, m_text);
    const std::vector<Line> lines = SplitLines(m_text);
    m_lines.reserve(lines.size());
    for (const Line& line : lines) m_lines.push_back(LineContent(m_text, line));
}

std::optional<std::string> ProfileSnapshot::Value(std::string_view section, std::string_view key) const {
    const std::optional<size_t> line = KeyLineIndex(section, key);
    if (!line) return std::nullopt;
    return Unquoted(m_lines[*line]);
}

// Line indices [first, end) of the body of the first section of that name; empty when missing.
std::pair<size_t, size_t> ProfileSnapshot::SectionBody(std::string_view section) const {
    section = Trim(section);
    size_t i = 0;
    for (; i < m_lines.size(); ++i) {
        const auto name = SectionName(m_lines[i]);
        if (name && EqualNoCaseGbk(*name, section)) break;
    }
    if (i == m_lines.size()) return {i, i};
    size_t end = i + 1;
    while (end < m_lines.size() && !SectionName(m_lines[end])) ++end;
    return {i + 1, end};
}

std::optional<size_t> ProfileSnapshot::KeyLineIndex(std::string_view section, std::string_view key) const {
    key = Trim(key);
    const auto [first, end] = SectionBody(section);
    for (size_t i = first; i < end; ++i) {
        const auto k = ParseKeyLine(m_lines[i]);
        if (k && EqualNoCaseGbk(k->key, key)) return i;
    }
    return std::nullopt;
}

std::vector<std::string> ProfileSnapshot::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const auto [first, end] = SectionBody(section);
    for (size_t i = first; i < end; ++i) {
        const auto k = ParseKeyLine(m_lines[i]);
        if (!k) continue;
        bool seen = false;
        for (const std::string& earlier : keys) seen = seen || EqualNoCaseGbk(earlier, k->key);
        if (!seen) keys.emplace_back(k->key);
    }
    return keys;
}

std::string ProfileSnapshot::GetString(std::string_view section, std::string_view key, std::string_view def,
                                       size_t capacity) const {
    const std::optional<std::string> value = Value(section, key);
    if (value) return CutToCapacity(*value, capacity);
    // The default comes back with its trailing blanks removed, as the Windows function does.
    while (!def.empty() && IsBlank(def.back())) def.remove_suffix(1);
    return CutToCapacity(def, capacity);
}

int ProfileSnapshot::GetInt(std::string_view section, std::string_view key, int def) const {
    const std::optional<std::string> value = Value(section, key);
    if (!value || value->empty()) return def;
    std::string_view s = *value;
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    // Unsigned arithmetic wraps modulo 2^32, as the 32-bit result of the Windows function.
    uint32_t result = 0;
    if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        for (i += 2; i < s.size(); ++i) {
            const char c = s[i];
            unsigned digit;
            if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
            else break;
            result = result * 16u + digit;
        }
    } else {
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) result = result * 10u + static_cast<unsigned>(s[i] - '0');
    }
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

std::string GetProfileString(std::string_view section, std::string_view key, std::string_view def,
                             size_t capacity, const std::string& file) {
    return ProfileSnapshot(file).GetString(section, key, def, capacity);
}

int GetProfileInt(std::string_view section, std::string_view key, int def, const std::string& file) {
    return ProfileSnapshot(file).GetInt(section, key, def);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& file, std::string* error) {
    section = Trim(section);
    key = Trim(key);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    // A line break would split the entry and plant other lines in the file; a key holding '='
    // or starting with '[' could never be read back. Such writes are refused.
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
        if (error) *error = "a line break cannot be stored in " + file;
        return false;
    }
    if (key.find('=') != std::string_view::npos || (!key.empty() && key.front() == '[')) {
        if (error) *error = "the key " + std::string(key) + " cannot be stored in " + file;
        return false;
    }

    std::string text;
    std::error_code ec;
    const auto status = std::filesystem::status(FsPath(file), ec);
    const bool exists = status.type() != std::filesystem::file_type::not_found;
    if (exists && !ReadRegularFile(file, text)) {  // unreadable: never overwrite it
        if (error) *error = "cannot read " + file;
        return false;
    }

    const std::vector<Line> lines = SplitLines(text);
    const Lookup found = Find(text, lines, section, key);
    std::string updated;
    const std::string entry = std::string(key) + "=" + std::string(value);

    if (found.keyLine) {
        // Only the value changes; the key's spelling, the '=' and the line end stay as they are.
        const Line& line = lines[*found.keyLine];
        const size_t valueBegin = line.begin + ParseKeyLine(LineContent(text, line))->valueBegin;
        updated = text.substr(0, valueBegin);
        updated += value;
        updated.append(text, line.contentEnd, std::string::npos);
    } else if (found.sectionFound) {
        // The new key goes after the section's last non-blank line, so blank lines that
        // separate it from the next section stay below it.
        size_t last = found.headerLine;
        for (size_t i = found.headerLine + 1; i < found.sectionEnd; ++i)
            if (!Trim(LineContent(text, lines[i])).empty()) last = i;
        const Line& after = lines[last];
        updated = text.substr(0, after.end);
        if (after.end == after.contentEnd) updated += kNewLine;  // last line of the file had no terminator
        updated += entry;
        updated += kNewLine;
        updated.append(text, after.end, std::string::npos);
    } else {
        updated = text;
        if (!updated.empty() && updated.back() != '\n' && updated.back() != '\r' && updated != kUtf8Bom)
            updated += kNewLine;
        updated += "[";
        updated += section;
        updated += "]";
        updated += kNewLine;
        updated += entry;
        updated += kNewLine;
    }

    if (exists && updated == text) return true;
    return ReplaceFileContents(file, updated, error);
}

}  // namespace morvi
