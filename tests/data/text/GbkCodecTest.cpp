#include "data/text/GbkCodec.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

namespace morvi {
namespace {

TEST(GbkCodec, ConverterPresent) { ASSERT_TRUE(GbkConverterAvailable()); }

TEST(GbkCodec, KnownTexts) {
    const struct {
        const char* gbk;
        const char* utf8;
    } cases[] = {
        {"", ""},
        {"Ve Binh 12", "Ve Binh 12"},
        {"\xCE\xC0\xB1\xF8", "卫兵"},
        {"\xBE\xAF\xB8\xE6", "警告"},
        {"a\xD6\xD0" "b", "a中b"},
        {"\x80", "\xE2\x82\xAC"},                     // euro sign, as in Windows' code page 936
        {"\xA1\xA4", "\xC2\xB7"},                     // middle dot
        {"\x81\x40", "\xE4\xB8\x82"},                 // first GBK extension character U+4E02
        {"\xAA\xA1", "\xEE\x80\x80"},                 // user-defined area -> U+E000
        {"\xA1\x40", "\xEE\x93\x86"},                 // third user-defined area -> U+E4C6
        {"\xFF", "\xEF\x9F\xBF"},                     // not GBK -> U+F7FF
        {"\xCE", "\xEF\x9F\x8E"},                     // lead byte at the end -> U+F7CE
        {"\xCE ", "\xEF\x9F\x8E "},                    // lead byte without valid trail keeps the next byte
        {"\xCE\x7F", "\xEF\x9F\x8E\x7F"},             // 0x7F is never a trail byte
        {"\xCE \xCE\xC0", "\xEF\x9F\x8E 卫"},                 // pairing resumes after a kept byte
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
        EXPECT_EQ(Utf8ToGbk(c.utf8), std::optional<std::string>(c.gbk));
    }
}

TEST(GbkCodec, EverySingleByteAndPairRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const std::string in(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToGbk(GbkToUtf8(in)), in) << "byte " << b;
    }
    int decodedPairs = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string in{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = GbkToUtf8(in);
            // A pair decodes to one character (3 UTF-8 bytes or fewer, never an escape).
            if (utf8.size() <= 3 && utf8.rfind("\xEF\x9F", 0) != 0) ++decodedPairs;
            ASSERT_EQ(Utf8ToGbk(utf8), in) << std::hex << lead << ' ' << trail;
        }
    }
#ifdef _WIN32
    // Windows' code page 936 gives every pair a character (unassigned ones private-use ones).
    EXPECT_EQ(decodedPairs, 126 * 190);
#else
    // 21791 characters of GBK and 1894 of the user-defined areas.
    EXPECT_EQ(decodedPairs, 21791 + 1894);
#endif
}

TEST(GbkCodec, RandomBytesRoundTrip) {
    std::mt19937 random(936);
    for (int round = 0; round < 20000; ++round) {
        std::string in(random() % 24, '\0');
        for (char& c : in) c = static_cast<char>(random() % 3 == 0 ? random() % 0x80 : 0x80 + random() % 0x80);
        const std::string utf8 = GbkToUtf8(in);
        const auto back = Utf8ToGbk(utf8);
        ASSERT_TRUE(back.has_value());
        ASSERT_EQ(*back, in);
    }
}

TEST(GbkCodec, EncodeRejects) {
    const char* cases[] = {
        "\xF0\x9F\x98\x80",      // U+1F600, not in GBK
        "a\xE2\x82\xAD",         // U+20AD
        "\xC3\xA9\xF0\x9F\x98\x80",
        "\xEF\x9C\x80",          // U+F700: reserved for bytes below 0x80, which never need it
        "\xC3",                  // truncated sequence
        "\x80",                  // stray continuation byte
        "\xC0\xAF",              // overlong '/'
        "\xED\xA0\x80",          // surrogate
        "\xF4\x90\x80\x80",      // above U+10FFFF
        "\xFF",
    };
    for (const char* c : cases) EXPECT_EQ(Utf8ToGbk(c), std::nullopt) << c;
}

TEST(GbkCodec, ManyNamesDecodeQuickly) {
    const std::string names[] = {"Ve Binh", "\xCE\xC0\xB1\xF8", "Tho Ren \xCE\xC0"};
    const auto start = std::chrono::steady_clock::now();
    size_t total = 0;
    for (int i = 0; i < 200000; ++i) total += GbkToUtf8(names[i % 3]).size();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GT(total, 0u);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 2000);
}

}  // namespace
}  // namespace morvi
