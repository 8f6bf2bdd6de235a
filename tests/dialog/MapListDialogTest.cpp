// The map list box and the map-directory table as LoadMapList fills them from worldset.ini and
// maplist.ini.

#include <filesystem>

#include "DialogFixture.h"
#include "data/text/GbkCodec.h"

namespace morvi::test {
namespace {

const std::string kMapListError = "地图列表文件不存在或者配置错误,或者设置的地图数为0!";

class MapListDialogTest : public DialogFixture {
protected:
    void WriteLists(const std::string& worldset, const std::string& maplist) {
        WriteFile(server() + "/maps/worldset.ini", worldset);
        WriteFile(server() + "/settings/maplist.ini", maplist);
    }
    std::vector<std::string> Maps() { return host.listBoxes[IDC_MAP_LIST]; }
};

TEST_F(MapListDialogTest, SkipsEmptySlotsAndIncompleteEntries) {
    Open();
    const std::string gbkName = *Utf8ToGbk("龙门镇");
    WriteLists("[Init]\r\nCount=6\r\n[World]\r\nWorld00=5\r\nWorld02=7\r\nWorld03=8\r\n"
               "World04=9\r\nWorld05=5\r\nWorld06=11\r\n",
               "[List]\r\n5_name=" + gbkName + "\r\n5=town\\five\r\n7_name=Seven\r\n7=seven\r\n"
               "8_name=NoDirectory\r\n9=no_name\r\n11_name=Beyond\r\n11=beyond\r\n");

    EXPECT_TRUE(dlg->LoadMapList());

    // Slot 1 is empty, 8 has no directory, 9 no name, 5 comes twice, World06 lies past Count.
    EXPECT_EQ(Maps(), (std::vector<std::string>{"龙门镇", "Seven", "龙门镇"}));
    EXPECT_EQ(dlg->MapPaths(), (std::vector<std::string>{"town\\five", "seven", "town\\five"}));
    EXPECT_EQ(host.ListBoxSelection(IDC_MAP_LIST), -1);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(MapListDialogTest, NoPositiveCountShowsErrorAndKeepsOldList) {
    Open();
    const std::vector<std::string> before = Maps();
    const std::vector<std::string> beforePaths = dlg->MapPaths();
    ASSERT_EQ(before.size(), 3u);

    const std::string worldsets[] = {"[Init]\r\nCount=0\r\n", "[Init]\r\nCount=-2\r\n", "[World]\r\n"};
    for (const std::string& worldset : worldsets) {
        host.messages.clear();
        WriteLists(worldset, "[List]\r\n1_name=x\r\n1=x\r\n");
        EXPECT_FALSE(dlg->LoadMapList());
        ASSERT_EQ(host.messages.size(), 1u) << worldset;
        EXPECT_EQ(host.messages[0].text, kMapListError);
        EXPECT_EQ(host.messages[0].caption, "错误");
        EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(host.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(Maps(), before);
        EXPECT_EQ(dlg->MapPaths(), beforePaths);
    }
}

TEST_F(MapListDialogTest, MissingMapListGivesEmptyListSilently) {
    Open();
    WriteLists("[Init]\r\nCount=2\r\n[World]\r\nWorld00=1\r\nWorld01=2\r\n", "");
    std::filesystem::remove(server() + "/settings/maplist.ini");
    EXPECT_TRUE(dlg->LoadMapList());
    EXPECT_TRUE(Maps().empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(MapListDialogTest, SelectedMapLoadsFromItsDirectory) {
    Open();
    // A missing map directory gives an empty list and the count 0.
    WriteLists("[Init]\r\nCount=1\r\n[World]\r\nWorld00=24\r\n", "[List]\r\n24_name=M\r\n24=nowhere\r\n");
    dlg->LoadMapList();
    SelectMap(0);
    EXPECT_EQ(host.list.RowCount(), 0);
    EXPECT_EQ(host.texts[IDC_FRAME], "NPC配置列表完成!共有NPC配置信息[0]条!");

    WriteLists("[Init]\r\nCount=1\r\n[World]\r\nWorld00=24\r\n", "[List]\r\n24_name=M\r\n24=.\\MAP24\r\n");
    dlg->LoadMapList();
    SelectMap(0);
    // A directory written with backslashes and another case still leads to the map.
    EXPECT_GT(host.list.RowCount(), 0);
}

}  // namespace
}  // namespace morvi::test
