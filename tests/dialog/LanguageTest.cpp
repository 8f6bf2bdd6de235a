// The window's language: "语言 / Language" shows every text in the chosen language at once (the
// template's labels, the texts the dialog put up, the next message) and remembers it as
// Language in [MorviConfig] of MorviConfig.ini, leaving the other keys as they were; the next
// start shows it before anything else.

#include <filesystem>

#include "DialogFixture.h"
#include "texts/Language.h"

namespace morvi::test {
namespace {

class LanguageTest : public DialogFixture {
protected:
    void TearDown() override { SetLanguage(Language::Original); }
    std::string config() const { return work() + "/MorviConfig.ini"; }
};

TEST_F(LanguageTest, ChoosingALanguageRetextsLabelsCaptionHintAndMessagesAtOnce) {
    Open();
    SelectMap(0);
    const int rows = host.list.RowCount();
    ASSERT_GT(rows, 0);
    ASSERT_EQ(host.FrameCaption(), "NPC配置列表完成!共有NPC配置信息[" + std::to_string(rows) + "]条!");

    dlg->OnLanguageChosen(Language::English);

    EXPECT_EQ(CurrentLanguage(), Language::English);
    EXPECT_EQ(host.textRebuilds, 1);
    // A label of the template, the frame's caption with its count, the hint line.
    EXPECT_EQ(host.ItemText(IDC_EXIT), "Exit");
    EXPECT_EQ(host.FrameCaption(), "NPC list complete! [" + std::to_string(rows) + "] NPC placements in all!");
    EXPECT_EQ(host.Hint(), "Double-click an entry above to edit it here!");
    // The server status line keeps the path it shows.
    EXPECT_EQ(host.ItemText(IDC_SERVER_STATUS), server());
    // The next hint and message box speak the language too.
    dlg->OnModify();
    EXPECT_EQ(host.Hint(), "First choose the NPC to edit in the list!");
    host.list.SelectOnly(0);
    host.answers.push_back(MessageAnswer::No);
    dlg->OnDelete();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Remove NPCs from the map");
    EXPECT_EQ(host.messages[0].text.rfind("Deleting works directly on the files", 0), 0u);
    host.list.ClearSelection();

    dlg->OnLanguageChosen(Language::Vietnamese);
    EXPECT_EQ(host.ItemText(IDC_EXIT), "Thoát");
    EXPECT_EQ(host.Hint(), "Hãy chọn NPC cần sửa trong danh sách trước!");
    EXPECT_EQ(host.FrameCaption(), "Đã lập xong danh sách NPC! Có tất cả [" + std::to_string(rows) + "] thông tin vị trí NPC!");

    dlg->OnLanguageChosen(Language::Original);
    EXPECT_EQ(host.ItemText(IDC_EXIT), "Thoat");
    EXPECT_EQ(host.Hint(), "请先在列表中选择要编辑的NPC!");
}

TEST_F(LanguageTest, TheChoiceIsStoredBesideTheOtherKeysAndShownAtTheNextStart) {
    Open();
    const std::string before = "[MorviConfig]\r\nServerPath=" + server() + "\r\nUseDebug=true\r\n";
    WriteFile(config(), before);
    const struct {
        Language language;
        const char* line;
        const char* exitLabel;
    } cases[] = {
        {Language::English, "Language=en\r\n", "Exit"},
        {Language::Vietnamese, "Language=vi\r\n", "Thoát"},
        {Language::Original, "Language=\r\n", "Thoat"},
    };
    for (const auto& c : cases) {
        dlg->OnLanguageChosen(c.language);
        // The described keys stay byte for byte; the language is one line more.
        EXPECT_EQ(ReadFile(config()), before + c.line) << c.line;

        SetLanguage(Language::Original);
        MemoryHost next;
        next.currentDirectory = work();
        CPlacementDlg again(next);
        again.SetHistoryDirectory(historyDir());
        next.Attach(&again);
        again.OnInitDialog();
        EXPECT_EQ(CurrentLanguage(), c.language) << c.line;
        EXPECT_EQ(next.ItemText(IDC_SERVER_STATUS), server());
        if (c.language != Language::Original) EXPECT_EQ(next.ItemText(IDC_EXIT), c.exitLabel) << c.line;
        EXPECT_TRUE(next.messages.empty());
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(LanguageTest, AnUnknownOrEmptyCodeShowsTheOriginalTexts) {
    tools::GenerateServerTree(server(), {});
    for (const char* line : {"Language=fr\r\n", "Language=\r\n", "Language=EN\r\n", ""}) {
        SetLanguage(Language::Original);
        WriteFile(config(), "[MorviConfig]\r\nServerPath=" + server() + "\r\n" + line);
        MemoryHost h;
        h.currentDirectory = work();
        CPlacementDlg d(h);
        d.OnInitDialog();
        EXPECT_EQ(CurrentLanguage(), Language::Original) << line;
        EXPECT_EQ(h.textRebuilds, 0) << line;
    }
}

TEST_F(LanguageTest, TheFirstRunAsksForTheServerInTheConfiguredLanguage) {
    std::filesystem::create_directories(work());
    WriteFile(config(), "[MorviConfig]\r\nLanguage=en\r\n");
    OpenWithoutTree();
    ASSERT_EQ(host.folderTitles.size(), 1u);
    EXPECT_EQ(host.folderTitles[0], "First start of the program: choose the Morvi server folder");
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages[0].caption, "Warning");
    EXPECT_EQ(host.ItemText(IDC_SERVER_STATUS), "The server path is not configured yet!");
}

TEST_F(LanguageTest, AFailedWriteIsSaidAndTheLanguageChangesAnyway) {
    Open();
    // A directory where the configuration file should be: it cannot be written.
    std::filesystem::remove(config());
    std::filesystem::create_directories(config());
    dlg->OnLanguageChosen(Language::English);
    EXPECT_EQ(CurrentLanguage(), Language::English);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Warning");
    EXPECT_EQ(host.messages[0].text.rfind("Could not save the configuration file MorviConfig.ini!", 0), 0u);
}

}  // namespace
}  // namespace morvi::test
