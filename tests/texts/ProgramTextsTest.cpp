// The program's text table: every id has a text that both front ends and the command line can
// show as it is, and Format puts its arguments where the text says.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

// Length of the valid UTF-8 sequence at `i` (no overlong forms, no surrogates), 0 when the
// bytes there are not one.
size_t Utf8SequenceAt(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = byte(i);
    size_t n = 0;
    unsigned cp = 0;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) n = 2, cp = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, cp = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, cp = c & 0x07;
    else return 0;
    if (i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

TEST(ProgramTexts, EveryIdHasANonEmptyUtf8Text) {
    // A text saved in another encoding would show as garbage in both windows and on the console.
    for (size_t i = 0; i < static_cast<size_t>(TextId::Count); ++i) {
        const std::string_view text = Text(static_cast<TextId>(i));
        EXPECT_FALSE(text.empty()) << "text id " << i;
        for (size_t at = 0; at < text.size();) {
            const size_t n = Utf8SequenceAt(text, at);
            ASSERT_NE(n, 0u) << "text id " << i << " byte " << at << ": " << text;
            at += n;
        }
    }
}

TEST(ProgramTexts, BracesOnlyMarkPlaces) {
    // Format fills only "{}": a "{0}", "{name}" or a lone brace would be shown as it is.
    for (size_t i = 0; i < static_cast<size_t>(TextId::Count); ++i) {
        const std::string_view text = Text(static_cast<TextId>(i));
        for (size_t at = 0; at < text.size(); ++at) {
            if (text[at] == '{') {
                EXPECT_TRUE(at + 1 < text.size() && text[at + 1] == '}') << "text id " << i << ": " << text;
                ++at;
            } else {
                EXPECT_NE(text[at], '}') << "text id " << i << ": " << text;
            }
        }
    }
}

TEST(ProgramTexts, IdsBeyondTheTableHaveTheEmptyCString) {
    // Front ends pass data() on to their toolkits.
    const std::string_view none = Text(TextId::Count);
    EXPECT_TRUE(none.empty());
    ASSERT_NE(none.data(), nullptr);
    EXPECT_EQ(none.data()[0], '\0');
}

TEST(ProgramTexts, FormatFillsThePlacesInOrder) {
    struct Case {
        TextId id;
        std::initializer_list<std::string_view> args;
        const char* expected;
    };
    const Case cases[] = {
        // Places next to each other and at both ends.
        {TextId::CliAtPlace, {"maps/a_S.DAT", "48", "bad"}, "maps/a_S.DAT:48: bad"},
        {TextId::CliWriteFailed, {"a_S.DAT", " (disk full)"}, "a_S.DAT could not be written (disk full); it is as it was"},
        // An empty argument leaves its place empty; the text around it stays.
        {TextId::CliWriteFailed, {"a_S.DAT", ""}, "a_S.DAT could not be written; it is as it was"},
        // Missing arguments leave their places empty, extra ones are ignored.
        {TextId::StatusRows, {"3"}, "3 行 (列表  行)"},
        {TextId::RowsCopied, {"2", "unused"}, "2 行已复制到剪贴板"},
        // An argument holding "{}" is put in as it is, never filled again.
        {TextId::CliPlanCell, {"name", "{}", "b"}, "name \"{}\" -> \"b\""},
        // A text without places is the text.
        {TextId::CliDryRun, {}, "dry run: no file written"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatChosen(c.id, c.args), c.expected) << static_cast<int>(c.id);
}

TEST(ProgramTexts, FormatWithCheckedCountAgreesWithTheChosenForm) {
    const std::string file = "maps/b_S.DAT";
    EXPECT_EQ(Format(TextId::CliCountFull, {file}), FormatChosen(TextId::CliCountFull, {file}));
    EXPECT_EQ(Format(TextId::DeleteCounts, {std::to_string(3), "2"}), "选择删除[3]条,实际完成[2]条!");
}

// The count of places the compile-time check of Format relies on.
static_assert(PlaceCount("") == 0);
static_assert(PlaceCount("{}") == 1);
static_assert(PlaceCount("{}{}x{}") == 3);
static_assert(PlaceCount("{ } {x} }{") == 0);

}  // namespace
}  // namespace morvi
