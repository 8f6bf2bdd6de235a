// The command line's language: the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty chooses Vietnamese (vi...) or Chinese (zh...), anything else keeps English; the data it
// writes (column names, keys) stays as it is.

#include "CliFixture.h"

namespace morvi::test {
namespace {

class CliLanguageTest : public CliTest {
protected:
    void TearDown() override {
        SetProgramEnvironment("LC_ALL", "C");
        SetProgramEnvironment("LC_MESSAGES", nullptr);
        SetProgramEnvironment("LANG", nullptr);
    }
    void SetLocale(const char* all, const char* messages, const char* lang) {
        SetProgramEnvironment("LC_ALL", all);
        SetProgramEnvironment("LC_MESSAGES", messages);
        SetProgramEnvironment("LANG", lang);
    }
};

TEST_F(CliLanguageTest, TheLocaleVariablesChooseTheLanguageInPosixOrder) {
    const char* const english = "no map 77 in the map list";
    const char* const vietnamese = "không có bản đồ 77 trong danh sách bản đồ";
    const char* const chinese = "地图列表中没有地图 77";
    const struct {
        const char* all;        // nullptr: not set
        const char* messages;
        const char* lang;
        const char* says;
    } cases[] = {
        {nullptr, nullptr, "vi_VN.UTF-8", vietnamese},
        {nullptr, nullptr, "zh_CN.UTF-8", chinese},
        {nullptr, nullptr, "en_US.UTF-8", english},
        {nullptr, "zh_TW.UTF-8", "vi_VN.UTF-8", chinese},      // LC_MESSAGES before LANG
        {"C", "zh_CN.UTF-8", "vi_VN.UTF-8", english},          // LC_ALL before both
        {"vi_VN", "zh_CN.UTF-8", "en_US.UTF-8", vietnamese},
        {"", "", "zh_CN.GB18030", chinese},                    // empty counts as not set
        {nullptr, "fr_FR.UTF-8", "vi_VN.UTF-8", english},
    };
    for (const auto& c : cases) {
        SetLocale(c.all, c.messages, c.lang);
        const CliResult r = Run({"list", "77"});
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos)
            << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " " << (c.lang ? c.lang : "-")
            << ": " << r.err;
    }
}

TEST_F(CliLanguageTest, HelpSpeaksTheLanguageAndTheDataStaysAsItIs) {
    SetLocale(nullptr, nullptr, "en_US.UTF-8");
    const CliResult english = Run({"list", "0", "--format", "csv"});
    const CliResult englishHelp = RunMorvinpc({"list", "--help"}, work());
    for (const char* locale : {"vi_VN.UTF-8", "zh_CN.UTF-8"}) {
        SetLocale(nullptr, nullptr, locale);
        const CliResult rows = Run({"list", "0", "--format", "csv"});
        ASSERT_EQ(rows.status, 0) << locale << rows.err;
        // The CSV (header and rows) is a data format: the same bytes in every language.
        EXPECT_EQ(rows.out, english.out) << locale;
        const CliResult help = RunMorvinpc({"list", "--help"}, work());
        EXPECT_NE(help.out, englishHelp.out) << locale;
        // Option names stay.
        EXPECT_NE(help.out.find("--format"), std::string::npos) << locale;
    }
    SetLocale(nullptr, nullptr, "vi_VN.UTF-8");
    EXPECT_NE(RunMorvinpc({"list", "--help"}, work()).out.find("liệt kê các vị trí của một bản đồ"), std::string::npos);
    SetLocale(nullptr, nullptr, "zh_CN.UTF-8");
    EXPECT_NE(RunMorvinpc({"list", "--help"}, work()).out.find("按窗口中的顺序列出一个地图的 NPC 配置"), std::string::npos);
}

}  // namespace
}  // namespace morvi::test
