#pragma once
// Code page 936 (GBK) <-> UTF-8, lossless: every byte that does not start a valid GBK
// sequence decodes to the private-use code point U+F700 + byte and encodes back to that same
// byte, so undecodable names and paths survive a load/save round trip.
//
// The mapping is glibc's CP936 (0x80 is the euro sign), plus the three user-defined areas
// that Windows maps to U+E000..U+E765 (AAA1-AFFE, F8A1-FEFE, A140-A7A0), so custom glyphs
// show as the same private-use characters as on Windows. Conversion is table-driven: the
// tables are built once from iconv, so decoding many short names costs no iconv calls.

#include <optional>
#include <string>
#include <string_view>

namespace morvi {

std::string GbkToUtf8(std::string_view gbk);
// The same, appended to `out`: lets a caller converting many short texts reuse one buffer.
void AppendGbkAsUtf8(std::string& out, std::string_view gbk);
// nullopt when the text holds a character GBK cannot represent (or is not valid UTF-8).
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// Byte strings of code page 936 equal without regard to the case of ASCII letters. The trail
// byte of a double-byte character is compared exactly, even when it lies in 'A'..'Z', so two
// different Chinese characters never compare equal.
bool EqualNoCaseGbk(std::string_view a, std::string_view b);

// False when the system's iconv has no GBK converter; every non-ASCII byte then decodes to
// its reserved code point (still lossless) and only ASCII and those code points encode.
bool GbkConverterAvailable();

}  // namespace morvi
