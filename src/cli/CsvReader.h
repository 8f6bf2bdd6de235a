#pragma once
// Reads a CSV text one record at a time, handing out the fields as views into the text: only
// a quoted field with a doubled quote, or with characters after its closing quote, is copied
// (into a buffer of the reader that is reused from record to record).
//
// The rules: LF, CRLF or a lone CR ends a record; a leading UTF-8 byte-order mark is skipped;
// a line without a single character is skipped; a field that begins with a quote runs to the
// next quote that is not doubled, and whatever follows that quote up to the next comma or
// line end belongs to the field as it stands; a quote anywhere else is an ordinary character;
// spaces are kept.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvi::cli {

class CsvReader {
public:
    explicit CsvReader(std::string_view text);

    // Where the next record is read from, and its line (1-based, counting every line end of
    // the text, those inside quoted fields too).
    struct Position {
        size_t offset = 0;
        int line = 1;
    };
    Position Where() const { return {m_offset, m_line}; }
    // Goes back (or ahead) to a place Where() gave earlier.
    void Seek(Position at) {
        m_offset = at.offset;
        m_line = at.line;
    }

    // The next record: false at the end of the text, or when a quoted field is not closed
    // (then Unclosed() is true and the reader stays at the end). The fields stay valid until
    // the next call on the reader.
    bool Next();
    bool Unclosed() const { return m_unclosed; }
    // Line where the record last read (or the unclosed quoted field's record) starts, and
    // where it starts in the text (skipped blank lines before it not included).
    int RecordLine() const { return m_recordLine; }
    Position RecordStart() const { return {m_recordOffset, m_recordLine}; }
    const std::vector<std::string_view>& Fields() const { return m_fields; }

private:
    // A quoted field as found: a slice of the text, or the text built in m_copies[copy]. In
    // m_found, `begin` is the index of a field that is a copy.
    struct Found {
        size_t begin = 0, size = 0;
        int copy = -1;
    };
    // Reads the quoted field that starts at m_offset; stops on the comma or line end after it.
    bool ReadQuotedField(Found& found, size_t& copies);

    std::string_view m_text;
    size_t m_offset = 0;
    int m_line = 1;
    size_t m_recordOffset = 0;
    int m_recordLine = 1;
    bool m_unclosed = false;
    std::vector<Found> m_found;
    std::vector<std::string> m_copies;
    std::vector<std::string_view> m_fields;
};

}  // namespace morvi::cli
