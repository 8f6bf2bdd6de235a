// Decodes every one- and two-byte sequence and encodes every BMP code point, checking that
// bytes round-trip exactly. With MORVI_GBK_TABLE set, the whole table is also written to that
// file, so the tables of glibc's GBK and Windows' code page 936 can be compared line by line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/text/GbkCodec.h"
#include "data/platform/WidePath.h"

namespace {

std::string Hex(const std::string& bytes) {
    std::string out;
    char buffer[4];
    for (unsigned char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X", c);
        out += buffer;
    }
    return out.empty() ? "-" : out;
}

}  // namespace

TEST(GbkTable, EverySequenceAndCodePointIsConsistentAndBytesRoundTrip) {
    std::string table;
    auto decodeLine = [&](const std::string& bytes) {
        const std::string utf8 = morvi::GbkToUtf8(bytes);
        EXPECT_EQ(morvi::Utf8ToGbk(utf8), bytes) << Hex(bytes);
        table += "D " + Hex(bytes) + " " + Hex(utf8) + "\n";
    };
    for (int b = 0x80; b <= 0xFF; ++b) decodeLine(std::string(1, static_cast<char>(b)));
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            decodeLine(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string utf8;
        if (cp < 0x800) {
            utf8 = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
        } else {
            utf8 = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (cp & 0x3F))};
        }
        const auto bytes = morvi::Utf8ToGbk(utf8);
        // A code point that encodes must decode back to itself; the escape of a byte is the
        // exception where the byte alone is valid (U+F780 gives 0x80, which reads as the euro).
        const bool escape = cp >= 0xF780 && cp <= 0xF7FF;
        if (bytes && !escape) EXPECT_EQ(morvi::GbkToUtf8(*bytes), utf8) << std::hex << static_cast<unsigned>(cp);
        char name[16];
        std::snprintf(name, sizeof name, "%04X", static_cast<unsigned>(cp));
        table += std::string("E ") + name + " " + (bytes ? Hex(*bytes) : std::string("none")) + "\n";
    }
    if (const char* out = std::getenv("MORVI_GBK_TABLE")) {
        std::FILE* file = morvi::OpenFileUtf8(out, "wb");
        ASSERT_NE(file, nullptr) << out;
        std::fwrite(table.data(), 1, table.size(), file);
        std::fclose(file);
    }
}
