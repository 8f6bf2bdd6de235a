// The code page 936 codec. Checked:
// - decoding any bytes gives valid UTF-8 that encodes back to exactly those bytes;
// - text that encodes (and holds none of the code points reserved for undecodable bytes)
//   decodes back to itself;
// - the case-blind comparison is reflexive and symmetric, and agrees with plain equality on
//   texts without ASCII letters.

#include <string>

#include "FuzzSupport.h"
#include "data/text/GbkCodec.h"

using namespace morvi;

namespace {

// U+F780..U+F7FF: the code points that stand for single undecodable bytes (UTF-8 EF 9E 80 ..
// EF 9F BF).
bool HoldsReservedCodePoint(std::string_view utf8) {
    for (size_t i = 0; i + 2 < utf8.size(); ++i)
        if (static_cast<uint8_t>(utf8[i]) == 0xEF && (static_cast<uint8_t>(utf8[i + 1]) & 0xFE) == 0x9E)
            return true;
    return false;
}

bool HasAsciiLetter(std::string_view s) {
    for (char c : s)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = GbkToUtf8(bytes);
    const std::optional<std::string> back = Utf8ToGbk(utf8);
    MORVI_FUZZ_CHECK(back.has_value());
    MORVI_FUZZ_CHECK(*back == bytes);

    // The same input read as UTF-8 typed by the user.
    if (const std::optional<std::string> encoded = Utf8ToGbk(bytes); encoded && !HoldsReservedCodePoint(bytes))
        MORVI_FUZZ_CHECK(GbkToUtf8(*encoded) == bytes);

    const std::string_view a = bytes.substr(0, size / 2), b = bytes.substr(size / 2);
    MORVI_FUZZ_CHECK(EqualNoCaseGbk(a, a));
    MORVI_FUZZ_CHECK(EqualNoCaseGbk(a, b) == EqualNoCaseGbk(b, a));
    if (!HasAsciiLetter(a) && !HasAsciiLetter(b)) MORVI_FUZZ_CHECK(EqualNoCaseGbk(a, b) == (a == b));
    return 0;
}
