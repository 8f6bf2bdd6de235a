// The translations of the text table (translations/morvinpc_<code>.ts): every text a language
// must translate has a finished translation, made from the table's current text, with the same
// {} places and '&' marks; Text() follows the chosen language; a shown text can be put into
// another language.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "texts/Language.h"
#include "texts/ProgramTexts.h"
#include "texts/Translations.h"

namespace morvi {
namespace {

constexpr size_t kTextCount = static_cast<size_t>(TextId::Count);

size_t Count(std::string_view text, std::string_view what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

// Sets a language for one test and puts the original texts back afterwards.
class LanguageScope {
public:
    explicit LanguageScope(Language language) : m_before(CurrentLanguage()) { SetLanguage(language); }
    ~LanguageScope() { SetLanguage(m_before); }

private:
    Language m_before;
};

const LanguageTable* TableOf(Language language) {
    for (const LanguageTable& table : TranslationTables())
        if (table.language == language) return &table;
    return nullptr;
}

TEST(Translations, EveryLanguageHasItsFile) {
    // The windows offer English and Vietnamese; the command line speaks Vietnamese and Chinese.
    struct Case {
        Language language;
        unsigned scopes;
    } const cases[] = {
        {Language::English, kWindowTexts},
        {Language::Vietnamese, kWindowTexts | kCliTexts},
        {Language::Chinese, kCliTexts},
    };
    for (const Case& c : cases) {
        const LanguageTable* table = TableOf(c.language);
        ASSERT_NE(table, nullptr) << LanguageCode(c.language);
        EXPECT_EQ(table->scopes & c.scopes, c.scopes) << LanguageCode(c.language);
    }
    for (Language language : kWindowLanguages)
        if (language != Language::Original) {
            EXPECT_TRUE(TableOf(language)->scopes & kWindowTexts);
        }
    for (Language language : kCommandLineLanguages)
        if (language != Language::Original) {
            EXPECT_TRUE(TableOf(language)->scopes & kCliTexts);
        }
}

TEST(Translations, EveryTextALanguageTranslatesIsTranslated) {
    // Missing or unfinished: run scripts/update-translations.sh, then translate the messages
    // it marked unfinished in translations/morvinpc_<code>.ts.
    for (const LanguageTable& table : TranslationTables()) {
        std::string missing;
        for (size_t i = 0; i < kTextCount; ++i) {
            const TextId id = static_cast<TextId>(i);
            if ((ScopeOf(id) & table.scopes) && !TranslationOf(table.language, id))
                missing += " " + std::string(TextIdName(id));
        }
        EXPECT_TRUE(missing.empty()) << "morvinpc_" << LanguageCode(table.language)
                                     << ".ts lacks a finished translation of:" << missing;
    }
}

TEST(Translations, EachIsMadeFromTheCurrentTextAndKeepsItsPlacesAndMarks) {
    for (const LanguageTable& table : TranslationTables()) {
        for (size_t i = 0; i < table.count; ++i) {
            const TranslatedText& t = table.entries[i];
            if (!t.text) continue;
            const size_t id = static_cast<size_t>(t.id);
            ASSERT_LT(id, kTextCount);
            const std::string_view original = kProgramTexts[id].text;
            const std::string where = "morvinpc_" + std::string(LanguageCode(table.language)) + ".ts " +
                                      std::string(TextIdName(t.id));
            // A text changed since it was translated: the translation may say something else.
            EXPECT_EQ(t.source, original) << where << ": translated from an older text";
            EXPECT_EQ(Count(t.text, "{}"), PlaceCount(original)) << where;
            // '&' marks a menu's or button's key letter: one where the original has one.
            EXPECT_EQ(Count(t.text, "&"), Count(original, "&")) << where;
            EXPECT_FALSE(std::string_view(t.text).empty()) << where;
            // Lines of a text keep their number (labels that wrap were drawn for them).
            EXPECT_EQ(Count(t.text, "\n"), Count(original, "\n")) << where;
        }
    }
}

TEST(Translations, TextFollowsTheChosenLanguage) {
    struct Case {
        Language language;
        TextId id;
        std::string_view text;
    } const cases[] = {
        {Language::Original, TextId::LabelExit, "Thoat"},
        {Language::English, TextId::LabelExit, "Exit"},
        {Language::Vietnamese, TextId::LabelExit, "Thoát"},
        {Language::English, TextId::WarningCaption, "Warning"},
        {Language::Vietnamese, TextId::WarningCaption, "Cảnh báo"},
        // The command line's texts are English already; Chinese translates only them.
        {Language::English, TextId::CliNothingWritten, "nothing written"},
        {Language::Vietnamese, TextId::CliNothingWritten, "chưa ghi gì"},
        {Language::Chinese, TextId::CliNothingWritten, "未写入任何内容"},
        {Language::Chinese, TextId::LabelExit, "Thoat"},
        {Language::Chinese, TextId::WarningCaption, "警告"},
    };
    for (const Case& c : cases) {
        const LanguageScope scope(c.language);
        EXPECT_EQ(Text(c.id), c.text) << LanguageCode(c.language) << " " << TextIdName(c.id);
    }
    EXPECT_EQ(CurrentLanguage(), Language::Original);
}

TEST(Translations, FormatFillsTheTranslatedText) {
    const LanguageScope scope(Language::English);
    EXPECT_EQ(Format(TextId::LoadDone, {"42"}), "NPC list complete! [42] NPC placements in all!");
    EXPECT_EQ(Format(TextId::DeleteCounts, {"3", "2"}), "[3] chosen for deletion, [2] deleted!");
}

TEST(Translations, AShownTextIsPutIntoAnotherLanguage) {
    struct Case {
        const char* what;
        Language from, to;
        std::string shown, expected;
    } const cases[] = {
        {"a text of the table", Language::Original, Language::English, "警告", "Warning"},
        {"a text with a place", Language::Original, Language::English, "进度[17]", "Progress[17]"},
        {"two places", Language::Original, Language::Vietnamese, "选择删除[3]条,实际完成[2]条!",
         "Chọn xóa [3] mục, thực tế đã xóa [2] mục!"},
        {"back to the original", Language::English, Language::Original,
         "NPC list complete! [42] NPC placements in all!", "NPC配置列表完成!共有NPC配置信息[42]条!"},
        {"an argument that is a text too", Language::Original, Language::English,
         "无法记录修改历史,文件未改动! write failed", "Could not record the change history; the files are unchanged! write failed"},
        {"a text no pattern explains", Language::Original, Language::English, "/srv/morvi server", "/srv/morvi server"},
        {"the same language", Language::English, Language::English, "Exit", "Exit"},
        {"between translations", Language::English, Language::Vietnamese, "Choose a map in the list on the left",
         "Chọn bản đồ ở danh sách bên trái"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RetranslateShown(c.shown, c.from, c.to), c.expected) << c.what;
}

TEST(Translations, LanguageCodesGoBothWays) {
    for (Language language : {Language::Original, Language::English, Language::Vietnamese, Language::Chinese})
        EXPECT_EQ(LanguageOfCode(LanguageCode(language)), language);
    EXPECT_EQ(LanguageCode(Language::Original), "");
    EXPECT_EQ(LanguageOfCode("fr"), std::nullopt);
    EXPECT_EQ(LanguageOfCode("EN"), std::nullopt);
}

TEST(Translations, TheCommandLineLanguageFollowsTheLocaleName) {
    struct Case {
        std::string_view locale;
        Language language;
    } const cases[] = {
        {"vi_VN.UTF-8", Language::Vietnamese}, {"vi", Language::Vietnamese}, {"vi_VN@euro", Language::Vietnamese},
        {"zh_CN.UTF-8", Language::Chinese},    {"zh_TW", Language::Chinese},   {"zh-Hans", Language::Chinese},
        {"en_US.UTF-8", Language::Original},   {"C", Language::Original},      {"C.UTF-8", Language::Original},
        {"POSIX", Language::Original},         {"", Language::Original},       {"vietnamese", Language::Original},
        {"fr_FR.UTF-8", Language::Original},
    };
    for (const Case& c : cases) EXPECT_EQ(CommandLineLanguageOfLocale(c.locale), c.language) << c.locale;
}

}  // namespace
}  // namespace morvi
