// Start-up configuration: the server directory in MorviConfig.ini, the folder browser on a first
// run and on button 1005, the debug switch, and the closing handlers.

#include <filesystem>

#include "DialogFixture.h"
#include "data/text/GbkCodec.h"

namespace morvi::test {
namespace {

const std::string kMessageA =
    "您没有指定任何目录,因此程序未能初始化!您可以在程序启动后重新配置";
const std::string kMessageB =
    "您指定的目录里并不包含Morvi服务器端的关键性文件,这可能影响程序正常初始化!!";
const std::string kTooLong = "您选择的目录路径超过254个字节,无法使用!";
const std::string kFirstRunTitle = "第一次运行程序,配置Morvi服务器端目录";
const std::string kBrowseTitle = "选择Morvi服务器端目录";

class ConfigTest : public DialogFixture {
protected:
    std::string config() const { return work() + "/MorviConfig.ini"; }
    void MakeWorkDir() { std::filesystem::create_directories(work()); }
    // Messages of the warning style (caption 警告), in order.
    std::vector<std::string> Warnings() const {
        std::vector<std::string> out;
        for (const ShownMessage& m : host.messages) {
            if (m.caption != "警告") continue;
            EXPECT_EQ(m.buttons, MessageButtons::Ok);
            EXPECT_EQ(m.icon, MessageIcon::Information);
            out.push_back(m.text);
        }
        return out;
    }
};

TEST_F(ConfigTest, FirstRunCancelledWritesEmptyPathAndSaysNotConfigured) {
    MakeWorkDir();
    OpenWithoutTree();

    EXPECT_EQ(host.folderTitles, std::vector<std::string>{kFirstRunTitle});
    EXPECT_EQ(Warnings(), std::vector<std::string>{kMessageA});
    EXPECT_EQ(ReadFile(config()), "[MorviConfig]\r\nServerPath=\r\n");
    EXPECT_EQ(host.ItemText(IDC_SERVER_STATUS), "服务器路径尚未配置!");
    EXPECT_GE(host.updates[IDC_SERVER_STATUS], 1);
    EXPECT_TRUE(dlg->ServerPath().empty());
    // The map list then fails on the empty directory and says so.
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().caption, "错误");
}

TEST_F(ConfigTest, FirstRunChoiceIsStoredShownAndLoaded) {
    tools::GenerateServerTree(server(), {});
    MakeWorkDir();
    host.folderChoices.push_back(server());
    OpenWithoutTree();

    EXPECT_EQ(host.folderTitles, std::vector<std::string>{kFirstRunTitle});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dlg->ServerPath(), server());
    EXPECT_EQ(ReadFile(config()), "[MorviConfig]\r\nServerPath=" + server() + "\r\n");
    EXPECT_EQ(host.ItemText(IDC_SERVER_STATUS), server());
    EXPECT_EQ(host.ListBoxCount(IDC_MAP_LIST), 3);
    EXPECT_EQ(host.ListBoxCount(IDC_TEMPLATE_LIST), 40);

    // The next start reads the path silently.
    MemoryHost second;
    second.currentDirectory = work();
    CPlacementDlg again(second);
    again.OnInitDialog();
    EXPECT_TRUE(second.folderTitles.empty());
    EXPECT_EQ(again.ServerPath(), server());
}

TEST_F(ConfigTest, DirectoryWithoutGameserverIsAcceptedAfterMessageB) {
    tools::GenerateServerTree(server(), {});
    std::filesystem::remove(server() + "/Gameserver.exe");
    MakeWorkDir();
    host.folderChoices.push_back(server());
    OpenWithoutTree();

    EXPECT_EQ(Warnings(), std::vector<std::string>{kMessageB});
    EXPECT_EQ(dlg->ServerPath(), server());
    EXPECT_EQ(ReadFile(config()), "[MorviConfig]\r\nServerPath=" + server() + "\r\n");
}

TEST_F(ConfigTest, UseDebugIsTrueInAnyCaseOnly) {
    tools::GenerateServerTree(server(), {});
    const struct {
        const char* line;
        bool debug;
    } cases[] = {
        {"UseDebug=true\r\n", true},  {"UseDebug=TRUE\r\n", true}, {"usedebug=True\r\n", true},
        {"UseDebug=yes\r\n", false},  {"UseDebug=1\r\n", false},   {"UseDebug=true1\r\n", false},
        {"", false},
    };
    for (const auto& c : cases) {
        WriteFile(config(), "[MorviConfig]\r\nServerPath=" + server() + "\r\n" + c.line);
        MemoryHost h;
        h.currentDirectory = work();
        CPlacementDlg d(h);
        d.OnInitDialog();
        EXPECT_EQ(d.DebugMode(), c.debug) << c.line;
    }
}

TEST_F(ConfigTest, BrowseCancelledKeepsPathWritesItBackAndReloadsLists) {
    Open();
    SelectMap(0);
    ASSERT_GT(host.list.RowCount(), 0);
    WriteFile(config(), "[MorviConfig]\r\nServerPath=" + server() + "\r\nUseDebug=true\r\n");
    // The lists are read anew from the same directory.
    WriteFile(server() + "/settings/maplist.ini", "[List]\r\n10_name=Renamed\r\n10=map10\r\n");
    WriteFile(server() + "/settings/npcs.txt", "Name\tx\r\nOnly\t1\r\n");
    host.SetText(IDC_NAME, "left over");

    dlg->OnBrowseServer();

    EXPECT_EQ(host.folderTitles.back(), kBrowseTitle);
    EXPECT_EQ(Warnings(), std::vector<std::string>{kMessageA});
    EXPECT_EQ(dlg->ServerPath(), server());
    EXPECT_EQ(ReadFile(config()), "[MorviConfig]\r\nServerPath=" + server() + "\r\nUseDebug=true\r\n");
    EXPECT_TRUE(dlg->DebugMode());
    EXPECT_EQ(host.ItemText(IDC_SERVER_STATUS), server());
    EXPECT_EQ(host.listBoxes[IDC_MAP_LIST], std::vector<std::string>{"Renamed"});
    EXPECT_EQ(host.listBoxes[IDC_TEMPLATE_LIST], std::vector<std::string>{"Only"});
    EXPECT_EQ(host.list.RowCount(), 0);
    EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
    EXPECT_EQ(host.ItemText(IDC_NAME), "");
}

TEST_F(ConfigTest, BrowseChoosesAnotherServer) {
    Open();
    const std::string other = dir.path() + "/other";
    tools::TreeShape shape;
    shape.maps = 2;
    shape.templates = 5;
    tools::GenerateServerTree(other, shape);
    host.folderChoices.push_back(other);

    dlg->OnBrowseServer();

    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dlg->ServerPath(), other);
    EXPECT_EQ(ReadFile(config()), "[MorviConfig]\r\nServerPath=" + other + "\r\n");
    EXPECT_EQ(host.ListBoxCount(IDC_MAP_LIST), 2);
    EXPECT_EQ(host.ListBoxCount(IDC_TEMPLATE_LIST), 5);
}

TEST_F(ConfigTest, PathOver254BytesIsRefusedLikeCancel) {
    Open();
    const std::string base = dir.path() + "/";
    const std::string fits = base + std::string(254 - base.size(), 'p');
    const std::string over = base + std::string(255 - base.size(), 'p');

    host.folderChoices.push_back(over);
    dlg->OnBrowseServer();
    EXPECT_EQ(Warnings(), std::vector<std::string>{kTooLong});
    EXPECT_EQ(dlg->ServerPath(), server());
    EXPECT_EQ(ReadFile(config()), "[MorviConfig]\r\nServerPath=" + server() + "\r\n");

    // 254 bytes fit (the directory lacks Gameserver.exe, so message B follows).
    host.messages.clear();
    host.folderChoices.push_back(fits);
    dlg->OnBrowseServer();
    EXPECT_EQ(Warnings(), std::vector<std::string>{kMessageB});
    EXPECT_EQ(dlg->ServerPath(), fits);
    EXPECT_EQ(ReadFile(config()), "[MorviConfig]\r\nServerPath=" + fits + "\r\n");
}

TEST_F(ConfigTest, LengthLimitCountsStoredGbkBytes) {
    Open();
    // 中 is 3 bytes in UTF-8 and 2 in GBK: 120 of them are 360 UTF-8 bytes but fit as GBK.
    std::string wide = dir.path() + "/";
    const size_t room = 254 - wide.size();
    for (size_t i = 0; i < room / 2; ++i) wide += "中";
    host.folderChoices.push_back(wide);
    dlg->OnBrowseServer();
    EXPECT_EQ(dlg->ServerPath(), wide);
    EXPECT_EQ(ReadFile(config()), "[MorviConfig]\r\nServerPath=" + *Utf8ToGbk(wide) + "\r\n");

    // Read back at the next start, decoded to the same text.
    MemoryHost second;
    second.currentDirectory = work();
    CPlacementDlg again(second);
    again.ConfigureServerPath(false);
    EXPECT_EQ(again.ServerPath(), wide);
}

TEST_F(ConfigTest, PathWithCharacterGbkCannotHoldIsRefused) {
    Open();
    host.folderChoices.push_back(dir.path() + "/\xF0\x9F\x98\x80");   // an emoji
    dlg->OnBrowseServer();
    EXPECT_EQ(Warnings(), std::vector<std::string>{"您选择的目录路径含有无法保存的字符,无法使用!"});
    EXPECT_EQ(dlg->ServerPath(), server());
}

TEST_F(ConfigTest, ConfigurationFollowsTheCurrentDirectory) {
    Open();
    const std::string moved = dir.path() + "/elsewhere";
    std::filesystem::create_directories(moved);
    host.currentDirectory = moved;
    host.folderChoices.push_back(server());

    dlg->OnBrowseServer();

    EXPECT_EQ(ReadFile(moved + "/MorviConfig.ini"), "[MorviConfig]\r\nServerPath=" + server() + "\r\n");
    EXPECT_EQ(ReadFile(config()), "[MorviConfig]\r\nServerPath=" + server() + "\r\n");
}

TEST_F(ConfigTest, ClosingHandlers) {
    Open();
    dlg->OnOK();
    EXPECT_FALSE(host.ended);

    dlg->OnSysCommand(kAboutCommand | 0x3);
    EXPECT_EQ(host.aboutBoxes, 1);
    dlg->OnSysCommand(0xF060);
    EXPECT_EQ(host.aboutBoxes, 1);

    dlg->OnExit();
    EXPECT_TRUE(host.ended);
    EXPECT_EQ(host.endResult, 2);
    EXPECT_TRUE(dlg->MapPaths().empty());
}

}  // namespace
}  // namespace morvi::test
