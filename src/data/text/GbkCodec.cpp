#include "data/text/GbkCodec.h"

#include <array>
#include <cstdint>
#include <memory>

#ifdef _WIN32
#include "data/text/GbkSystemCodec.h"
#else
#include <iconv.h>
#endif

namespace morvi {
namespace {

constexpr char32_t kEscapeBase = 0xF700;  // U+F700 + byte: a byte that is not valid GBK
constexpr unsigned kLeadFirst = 0x81, kLeadLast = 0xFE;
constexpr unsigned kTrailFirst = 0x40, kTrailLast = 0xFE;
constexpr unsigned kTrailCount = kTrailLast - kTrailFirst + 1;

// Windows' user-defined areas of code page 936, in the order they are numbered into the
// private-use area starting at U+E000.
struct UserArea {
    unsigned leadFirst, leadLast, trailFirst, trailLast;
};
constexpr UserArea kUserAreas[] = {
    {0xAA, 0xAF, 0xA1, 0xFE},
    {0xF8, 0xFE, 0xA1, 0xFE},
    {0xA1, 0xA7, 0x40, 0xA0},
};

struct GbkTables {
    // Code point of each double-byte sequence, 0 when the pair is not valid GBK.
    std::array<char16_t, (kLeadLast - kLeadFirst + 1) * kTrailCount> decode{};
    // GBK bytes of each BMP code point: 0 = not representable, < 0x100 a single byte,
    // else lead << 8 | trail. Only mappings that decode back to the same character are
    // entered, so encode(decode(x)) == x always holds.
    std::array<uint16_t, 0x10000> encode{};
    bool available = false;

    char16_t Pair(unsigned lead, unsigned trail) const {
        if (trail < kTrailFirst || trail > kTrailLast || trail == 0x7F) return 0;
        return decode[(lead - kLeadFirst) * kTrailCount + (trail - kTrailFirst)];
    }
    void SetPair(unsigned lead, unsigned trail, char32_t cp) {
        decode[(lead - kLeadFirst) * kTrailCount + (trail - kTrailFirst)] = static_cast<char16_t>(cp);
        encode[cp] = static_cast<uint16_t>(lead << 8 | trail);
    }
};

bool IsEscapeCodePoint(char32_t cp) { return cp >= kEscapeBase + 0x80 && cp <= kEscapeBase + 0xFF; }

#ifndef _WIN32
// One character of GBK bytes through iconv; 0 when iconv rejects it or yields more or
// other than one BMP character.
char32_t IconvDecodeOne(iconv_t cd, const unsigned char* bytes, size_t length) {
    char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
    size_t inLeft = length;
    char32_t out[2] = {};
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
        return 0;
    if (sizeof out - outLeft != sizeof(char32_t)) return 0;
    return out[0] < 0x10000 ? out[0] : 0;
}

#endif

// The tables from the system's converter: glibc iconv, or Windows' code page 936.
void FillFromSystemCodec(GbkTables& t) {
#ifdef _WIN32
    if (!Cp936Available()) return;
    const auto decodeOne = [](const unsigned char* bytes, size_t length) { return Cp936DecodeOne(bytes, length); };
#else
    iconv_t cd = iconv_open("UTF-32LE", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-32LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    const auto decodeOne = [cd](const unsigned char* bytes, size_t length) { return IconvDecodeOne(cd, bytes, length); };
#endif
    t.available = true;
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        const char32_t cp = decodeOne(&byte, 1);
        if (cp >= 0x80 && !IsEscapeCodePoint(cp) && t.encode[cp] == 0) t.encode[cp] = static_cast<uint16_t>(b);
    }
    for (unsigned lead = kLeadFirst; lead <= kLeadLast; ++lead) {
        for (unsigned trail = kTrailFirst; trail <= kTrailLast; ++trail) {
            if (trail == 0x7F) continue;
            const unsigned char pair[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
            const char32_t cp = decodeOne(pair, 2);
            // A character already reachable from other bytes would not encode back to this
            // pair; leaving the pair undecoded keeps the round trip exact.
            if (cp >= 0x80 && !IsEscapeCodePoint(cp) && t.encode[cp] == 0) t.SetPair(lead, trail, cp);
        }
    }
#ifndef _WIN32
    iconv_close(cd);
#endif
}

GbkTables* BuildTables() {
    auto t = std::make_unique<GbkTables>();
    FillFromSystemCodec(*t);
    if (t->available) {
        char32_t cp = 0xE000;
        for (const UserArea& area : kUserAreas)
            for (unsigned lead = area.leadFirst; lead <= area.leadLast; ++lead)
                for (unsigned trail = area.trailFirst; trail <= area.trailLast; ++trail) {
                    if (trail == 0x7F) continue;
                    if (t->Pair(lead, trail) == 0 && t->encode[cp] == 0) t->SetPair(lead, trail, cp);
                    ++cp;
                }
    }
    return t.release();
}

const GbkTables& Tables() {
    static const GbkTables* tables = BuildTables();  // built once, thread-safe, never freed
    return *tables;
}

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Returns the code
// point and advances i, or returns nullopt.
std::optional<char32_t> NextCodePoint(std::string_view s, size_t& i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    size_t length;
    char32_t cp;
    char32_t minimum;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2, cp = c & 0x1F, minimum = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3, cp = c & 0x0F, minimum = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4, cp = c & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (s.size() - i < length) return std::nullopt;
    for (size_t k = 1; k < length; ++k) {
        const unsigned char cont = static_cast<unsigned char>(s[i + k]);
        if ((cont & 0xC0) != 0x80) return std::nullopt;
        cp = cp << 6 | (cont & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    i += length;
    return cp;
}

}  // namespace

bool GbkConverterAvailable() { return Tables().available; }

bool EqualNoCaseGbk(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= kLeadFirst && x <= kLeadLast && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        const auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        if (fold(x) != fold(y)) return false;
    }
    return true;
}

std::string GbkToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) return std::string(gbk);
    std::string out;
    out.reserve(gbk.size() * 3 / 2 + 8);
    AppendGbkAsUtf8(out, gbk);
    return out;
}

void AppendGbkAsUtf8(std::string& out, std::string_view gbk) {
    size_t i = 0;
    while (i < gbk.size() && static_cast<unsigned char>(gbk[i]) < 0x80) ++i;
    out.append(gbk.data(), i);
    if (i == gbk.size()) return;

    // Every byte gives at most three UTF-8 bytes (a pair gives at most three for two bytes):
    // write into room made once, then cut to what was written.
    const GbkTables& t = Tables();
    const size_t start = out.size();
    out.resize(start + 3 * (gbk.size() - i));
    char* const first = out.data() + start;
    char* p = first;
    auto put = [&p](char32_t cp) {
        if (cp < 0x80) {
            *p++ = static_cast<char>(cp);
        } else if (cp < 0x800) {
            *p++ = static_cast<char>(0xC0 | (cp >> 6));
            *p++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *p++ = static_cast<char>(0xE0 | (cp >> 12));
            *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    };
    while (i < gbk.size()) {
        const unsigned b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            *p++ = static_cast<char>(b);
            ++i;
            continue;
        }
        if (b >= kLeadFirst && b <= kLeadLast && i + 1 < gbk.size()) {
            if (char16_t cp = t.Pair(b, static_cast<unsigned char>(gbk[i + 1]))) {
                put(cp);
                i += 2;
                continue;
            }
        }
        // A single high byte: the euro sign, or a byte kept under its reserved code point.
        // A lead byte without a valid trail is kept alone; its successor is read afresh.
        if (b == 0x80 && t.encode[0x20AC] == 0x80)
            put(0x20AC);
        else
            put(kEscapeBase + b);
        ++i;
    }
    out.resize(start + static_cast<size_t>(p - first));
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    const GbkTables& t = Tables();
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> cp = NextCodePoint(utf8, i);
        if (!cp) return std::nullopt;
        if (*cp < 0x80) {
            out += static_cast<char>(*cp);
        } else if (IsEscapeCodePoint(*cp)) {
            out += static_cast<char>(*cp - kEscapeBase);
        } else if (*cp < 0x10000 && t.encode[*cp] != 0) {
            const uint16_t bytes = t.encode[*cp];
            if (bytes >= 0x100) out += static_cast<char>(bytes >> 8);
            out += static_cast<char>(bytes & 0xFF);
        } else {
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace morvi
