// The private-profile (INI) reader and writer on a fuzzed file with fuzzed names.
//
// Input: a capacity byte, then length-prefixed chunks: section, key, value, a second section
// and a second key; the rest is the file. Checked:
// - reading never changes the file and never returns more than capacity - 1 bytes;
// - a write of well-formed names (no line break, key without '=' and not starting with '[')
//   succeeds, and reading the key back gives the value as the reader presents values:
//   ended at a NUL byte, trimmed, one pair of matching surrounding quotes removed;
// - that write changes no other key: the second key reads the same before and after,
//   unless it names the same entry;
// - a refused write leaves the file byte-identical, and no temporary file stays behind.

#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "data/text/GbkCodec.h"
#include "data/text/PrivateProfile.h"

using namespace morvi;
namespace fz = morvi::fuzz;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool WellFormed(std::string_view section, std::string_view key, std::string_view value) {
    auto hasBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    if (hasBreak(section) || hasBreak(key) || hasBreak(value)) return false;
    const std::string_view k = Trim(key);
    return k.find('=') == std::string_view::npos && (k.empty() || k.front() != '[');
}

std::string AsRead(std::string_view value) {
    std::string_view v = Trim(value.substr(0, value.find('\0')));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

// An optional sign and one to nine decimal digits: in range of an int whatever the digits.
bool IsPlainDecimal(std::string_view s) {
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The value of a key, or nullopt when it is missing: a present key returns the same text
// whatever default is passed.
std::optional<std::string> Lookup(std::string_view section, std::string_view key, const std::string& file) {
    const std::string a = GetProfileString(section, key, "\x01" "a", 1 << 20, file);
    const std::string b = GetProfileString(section, key, "\x01" "b", 1 << 20, file);
    if (a == b) return a;
    MORVI_FUZZ_CHECK(a == "\x01" "a" && b == "\x01" "b");
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = fz::ScratchPath("test.ini");
    static const std::string listing = "test.ini\n";
    fz::InputReader in(data, size);
    const size_t capacity = in.Byte();
    const std::string_view section = in.Chunk();
    const std::string_view key = in.Chunk();
    const std::string_view value = in.Chunk();
    const std::string_view section2 = in.Chunk();
    const std::string_view key2 = in.Chunk();
    const std::string before(in.Rest());
    fz::PutFile(path, before);

    const std::string read = GetProfileString(section, key, "dflt", capacity, path);
    MORVI_FUZZ_CHECK(read.size() + 1 <= std::max<size_t>(capacity, 1));
    // A plain decimal value reads as that number; anything else must merely not crash.
    const int number = GetProfileInt(section, key, -5, path);
    const std::optional<std::string> whole = Lookup(section, key, path);
    if (whole && IsPlainDecimal(*whole)) MORVI_FUZZ_CHECK(number == std::stoi(*whole));
    if (!whole || whole->empty()) MORVI_FUZZ_CHECK(number == -5);
    (void)GetProfileInt(section2, key2, 0, path);
    MORVI_FUZZ_CHECK(fz::GetFile(path) == before);

    const std::optional<std::string> other = Lookup(section2, key2, path);
    const bool wellFormed = WellFormed(section, key, value);
    std::string error;
    const bool written = WriteProfileString(section, key, value, path, &error);
    MORVI_FUZZ_CHECK(written == wellFormed);
    MORVI_FUZZ_CHECK(fz::ListDirectory(fz::ScratchDir()) == listing);
    if (!written) {
        MORVI_FUZZ_CHECK(fz::GetFile(path) == before);
        return 0;
    }
    MORVI_FUZZ_CHECK(Lookup(section, key, path) == AsRead(value));
    const bool sameEntry = EqualNoCaseGbk(Trim(section), Trim(section2)) && EqualNoCaseGbk(Trim(key), Trim(key2));
    if (!sameEntry) MORVI_FUZZ_CHECK(Lookup(section2, key2, path) == other);
    return 0;
}
