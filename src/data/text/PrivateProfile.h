#pragma once
// Private-profile (INI) access with the semantics of the Windows functions of that name.
// All texts are raw bytes (code page 936 in practice); only ASCII letters are case-folded,
// never the trail byte of a double-byte character.
//
// Reading: section and key names are compared without regard to ASCII case, after trimming
// blanks (space, tab, VT, FF) on both sides, also of the names passed in. A section header is
// a line whose first non-blank byte is '[' and that holds a ']'; the name runs to the last ']'
// of the line. A line without ']' is an ordinary line of the section before. Only the first
// section of a name is searched, and in it the first key of the name; a line without '=' is
// never a key. Lines end in LF, CRLF or CR; a leading UTF-8 byte-order mark is skipped. Values
// are trimmed and one matching pair of surrounding '"' or '\'' is removed. Lines before the
// first header belong to no section.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvi {

// Value of key in section, or `def` with its trailing blanks removed when the file, section or
// key is missing (a present key with an empty value gives ""). A value ends at a NUL byte. The result is cut to capacity - 1 bytes, as a buffer of
// `capacity` bytes would hold it.
std::string GetProfileString(std::string_view section, std::string_view key, std::string_view def,
                             size_t capacity, const std::string& file);
// Integer value: leading blanks, optional sign, decimal digits (0x hex accepted), the rest
// ignored ("42abc" is 42, "abc" is 0); wraps as a 32-bit two's-complement number. A missing,
// empty or blank value gives `def`.
int GetProfileInt(std::string_view section, std::string_view key, int def, const std::string& file);
// Writes key=value (leading blanks of the value dropped). The first matching key keeps its
// line: only the bytes after '=' and its following blanks are replaced. A new key goes after
// the last non-blank line of the first section of the name; a missing section is appended at
// the end of the file, which is created when missing. New lines end in CRLF; every other byte
// of the file stays as it was, and the file is replaced crash-safely. False, with a reason in
// `error`, when the file cannot be read or written, or when the texts hold a line break or
// the key holds '=' or starts with '[' (it could not be read back).
// One read of a profile file, for callers that look up many keys (the map list reads three
// keys per slot); the lookups give exactly what the functions above give for the same file.
class ProfileSnapshot {
public:
    explicit ProfileSnapshot(const std::string& file);
    ProfileSnapshot(const ProfileSnapshot&) = delete;   // m_lines points into m_text
    ProfileSnapshot& operator=(const ProfileSnapshot&) = delete;
    bool readable() const { return m_readable; }
    std::string GetString(std::string_view section, std::string_view key, std::string_view def,
                          size_t capacity) const;
    int GetInt(std::string_view section, std::string_view key, int def) const;
    // The key names of the first section of that name, in file order, each name once.
    std::vector<std::string> Keys(std::string_view section) const;

private:
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::optional<size_t> KeyLineIndex(std::string_view section, std::string_view key) const;
    std::pair<size_t, size_t> SectionBody(std::string_view section) const;

    bool m_readable = false;
    std::string m_text;
    std::vector<std::string_view> m_lines;   // line contents without terminators
};

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& file, std::string* error = nullptr);

}  // namespace morvi
