#include "cli/CsvReader.h"

#include <algorithm>

namespace morvi::cli {
namespace {

bool EndsField(char c) { return c == ',' || c == '\n' || c == '\r'; }

}  // namespace

CsvReader::CsvReader(std::string_view text) : m_text(text) {
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF") m_offset = 3;
}

bool CsvReader::Next() {
    m_fields.clear();
    m_found.clear();
    const size_t size = m_text.size();
    while (m_offset < size && (m_text[m_offset] == '\n' || m_text[m_offset] == '\r')) {
        if (m_text[m_offset] == '\r' && m_offset + 1 < size && m_text[m_offset + 1] == '\n') ++m_offset;
        ++m_offset;
        ++m_line;
    }
    if (m_offset >= size) return false;
    m_recordOffset = m_offset;
    m_recordLine = m_line;
    size_t copies = 0;
    while (true) {
        // An unquoted field (nearly all of them) goes straight into the fields.
        if (m_offset >= size || m_text[m_offset] != '"') {
            size_t end = m_offset;
            while (end < size && !EndsField(m_text[end])) ++end;
            m_fields.push_back(m_text.substr(m_offset, end - m_offset));
            m_offset = end;
        } else {
            Found found;
            if (!ReadQuotedField(found, copies)) {
                m_unclosed = true;
                m_offset = size;
                return false;
            }
            // A copy is looked at only at the end: making another may move it.
            if (found.copy >= 0) m_found.push_back({m_fields.size(), 0, found.copy});
            m_fields.push_back(found.copy < 0 ? m_text.substr(found.begin, found.size) : std::string_view());
        }
        if (m_offset >= size) break;
        const char c = m_text[m_offset++];
        if (c == ',') continue;
        if (c == '\r' && m_offset < size && m_text[m_offset] == '\n') ++m_offset;
        ++m_line;
        break;
    }
    for (const Found& f : m_found) m_fields[f.begin] = m_copies[static_cast<size_t>(f.copy)];
    return true;
}

bool CsvReader::ReadQuotedField(Found& found, size_t& copies) {
    const size_t size = m_text.size();
    const size_t begin = m_offset + 1;
    std::string* copy = nullptr;
    auto startCopy = [&](std::string_view first) {
        if (copies == m_copies.size()) m_copies.emplace_back();
        found.copy = static_cast<int>(copies);
        copy = &m_copies[copies++];
        copy->assign(first);
    };
    size_t at = begin, close = 0;
    while (true) {
        close = m_text.find('"', at);
        if (close == std::string_view::npos) return false;
        m_line += static_cast<int>(std::count(m_text.begin() + static_cast<std::ptrdiff_t>(at),
                                              m_text.begin() + static_cast<std::ptrdiff_t>(close), '\n'));
        if (close + 1 < size && m_text[close + 1] == '"') {
            // A doubled quote stands for one: keep the first, skip the second.
            if (!copy) startCopy(m_text.substr(begin, close + 1 - begin));
            else copy->append(m_text.substr(at, close + 1 - at));
            at = close + 2;
            continue;
        }
        if (copy) copy->append(m_text.substr(at, close - at));
        break;
    }
    // Characters after the closing quote belong to the field as they stand.
    size_t end = close + 1;
    while (end < size && !EndsField(m_text[end])) ++end;
    if (end > close + 1) {
        if (!copy) startCopy(m_text.substr(begin, close - begin));
        copy->append(m_text.substr(close + 1, end - close - 1));
    }
    if (!copy) found = {begin, close - begin, -1};
    m_offset = end;
    return true;
}

}  // namespace morvi::cli
