// Loading a map: the rows the region files give, their texts, the listing rules and the
// progress captions.

#include <filesystem>

#include "DialogFixture.h"
#include "data/text/GbkCodec.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

std::string Gbk(const std::string& utf8) { return *Utf8ToGbk(utf8); }

class LoadTest : public EmptyMapFixture {
protected:
    void WriteRegion(const std::string& relative, const std::vector<PlacementRecord>& records) {
        WriteFile(MapFile(relative), tools::MakeRegionImage(7, records));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int row = 0; row < host.list.RowCount(); ++row) out.push_back(host.list.CellText(row, COL_NAME));
        return out;
    }
};

TEST_F(LoadTest, RowsComeInReverseOrderWithEveryColumn) {
    const std::string script = "\\script\\npc\\guard_of_the_gate.lua";   // 33 bytes
    WriteRegion("a_S.DAT", {MakeRecord(3, Gbk("卫兵"), 120, 7, 250, 9, 3, 6, 4, 12),
                            MakeRecord(5, "B", 1, 0, 2, 0, 0, 0, 0, 0, script)});
    WriteRegion("sub/b_S.DAT", {MakeRecord(39, "C", 999, 255, 499, 255, 5, 5, 2, 24)});
    WriteFile(MapFile("other.dat"), tools::MakeRegionImage(1, {MakeRecord(3, "X", 1, 1, 1, 1, 0, 0, 0, 0)}));

    SelectMap(0);

    EXPECT_EQ(Names(), (std::vector<std::string>{"C", "B", "卫兵"}));
    const RowTexts c = {"C", "999", "255", "499", "255", "NPC(Ground)", "Enemy", "2", "24", "",
                        MapFile("sub/b_S.DAT"), "39"};
    const RowTexts b = {"B", "1", "0", "2", "0", "Enemy", "Not Hit", "0", "", script,
                        MapFile("a_S.DAT"), "5"};
    const RowTexts a = {"卫兵", "120", "7", "250", "9", "TalkNPC", "Friend", "4", "12", "",
                        MapFile("a_S.DAT"), "3"};
    EXPECT_EQ(host.list.Cells(0), c);
    EXPECT_EQ(host.list.Cells(1), b);
    EXPECT_EQ(host.list.Cells(2), a);
}

TEST_F(LoadTest, ListingRules) {
    PlacementRecord secondByteName = MakeRecord(4, "", 10, 0, 10, 0, 0, 0, 0, 0);
    secondByteName.block.name[1] = 'x';
    PlacementRecord oddY = MakeRecord(4, "oddY", 10, 0, 0, 0, 0, 0, 0, 0);
    oddY.block.SetPosYDoubled(999);
    PlacementRecord doubled1000 = MakeRecord(4, "y1000", 10, 0, 0, 0, 0, 0, 0, 0);
    doubled1000.block.SetPosYDoubled(1000);
    const struct {
        PlacementRecord record;
        const char* shownAs;   // nullptr: not listed
    } cases[] = {
        {MakeRecord(4, "", 10, 0, 10, 0, 0, 0, 0, 0), nullptr},
        {secondByteName, ""},
        {MakeRecord(0, "t0script", 10, 0, 10, 0, 0, 0, 0, 0, "\\script\\a_fairly_long_path.lua"), nullptr},
        {MakeRecord(39, "t39", 10, 0, 10, 0, 0, 0, 0, 0), "t39"},
        {MakeRecord(40, "t40", 10, 0, 10, 0, 0, 0, 0, 0), nullptr},
        {MakeRecord(4, "x999", 999, 0, 10, 0, 0, 0, 0, 0), "x999"},
        {MakeRecord(4, "x1000", 1000, 0, 10, 0, 0, 0, 0, 0), nullptr},
        {MakeRecord(4, "y499", 10, 0, 499, 0, 0, 0, 0, 0), "y499"},
        {oddY, "oddY"},
        {doubled1000, nullptr},
        {MakeRecord(4, "codes", 10, 0, 10, 0, 9, 7, 5, 0), "codes"},
    };
    std::vector<PlacementRecord> records;
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        records.push_back(c.record);
        if (c.shownAs) expected.insert(expected.begin(), c.shownAs);
    }
    WriteRegion("r_S.DAT", records);

    SelectMap(0);

    EXPECT_EQ(Names(), expected);
    EXPECT_EQ(host.list.Cells(1)[COL_POS_Y], "499");   // 999 stored shows 499
    const RowTexts& codes = host.list.Cells(0);
    EXPECT_EQ(codes[COL_TYPE], "Enemy");
    EXPECT_EQ(codes[COL_GROUP], "Not Hit");
    EXPECT_EQ(codes[COL_SERIES], "0");
}

TEST_F(LoadTest, CountedButMissingRecordsAreNotListed) {
    std::string image = tools::MakeRegionImage(3, {MakeRecord(2, "only", 1, 1, 1, 1, 0, 0, 0, 0)});
    image[2100] = 5;   // five promised, one present
    WriteFile(MapFile("a_S.DAT"), image);
    WriteFile(MapFile("b_S.DAT"), std::string(2000, 'z'));   // ends before the header

    SelectMap(0);

    EXPECT_EQ(Names(), std::vector<std::string>{"only"});
    // The count is the rows, not the sum of the headers' counts.
    EXPECT_EQ(host.texts[IDC_FRAME], "NPC配置列表完成!共有NPC配置信息[1]条!");
}

TEST_F(LoadTest, ProgressCaptionsFinalCaptionAndHint) {
    WriteRegion("a_S.DAT", {MakeRecord(2, "a1", 1, 1, 1, 1, 0, 0, 0, 0), MakeRecord(0, "hidden", 1, 1, 1, 1, 0, 0, 0, 0)});
    WriteRegion("b_S.DAT", {});
    WriteRegion("c_S.DAT", {MakeRecord(2, "c1", 1, 1, 1, 1, 0, 0, 0, 0)});
    WriteRegion("d_S.DAT", {MakeRecord(2, "d1", 1, 1, 1, 1, 0, 0, 0, 0), MakeRecord(2, "d2", 1, 1, 1, 1, 0, 0, 0, 0)});
    host.frameCaptions.clear();

    SelectMap(0);

    // Set after every record, listed or not; a progress number of 0 has no digits.
    EXPECT_EQ(host.frameCaptions, (std::vector<std::string>{
                                      "进度[]", "进度[]", "进度[2]", "进度[3]", "进度[3]",
                                      "NPC配置列表完成!共有NPC配置信息[4]条!"}));
    EXPECT_EQ(host.ItemText(IDC_HINT), "双击上面的内容可在这里进行编辑!");
}

TEST_F(LoadTest, ProgressStepWith250Files) {
    for (int i = 0; i < 250; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%03d_S.DAT", i);
        WriteRegion(name, {MakeRecord(2, "n", 1, 1, 1, 1, 0, 0, 0, 0)});
    }
    host.frameCaptions.clear();

    SelectMap(0);

    // The step is 250 / 100 = 2, so the number runs from 0 to 124, each value for two files.
    ASSERT_EQ(host.frameCaptions.size(), 251u);
    for (int i = 0; i < 250; ++i) {
        const int progress = i / 2;
        EXPECT_EQ(host.frameCaptions[static_cast<size_t>(i)],
                  progress == 0 ? std::string("进度[]") : "进度[" + std::to_string(progress) + "]");
    }
    EXPECT_EQ(host.frameCaptions.back(), "NPC配置列表完成!共有NPC配置信息[250]条!");
}

TEST_F(LoadTest, EmptyMapAndNoSelection) {
    host.frameCaptions.clear();
    SelectMap(-1);   // nothing selected: nothing happens
    EXPECT_TRUE(host.frameCaptions.empty());

    SelectMap(0);    // a map directory that does not exist
    EXPECT_EQ(host.list.RowCount(), 0);
    EXPECT_EQ(host.frameCaptions, std::vector<std::string>{"NPC配置列表完成!共有NPC配置信息[0]条!"});
}

TEST_F(LoadTest, LoadReplacesListAndResetsEditing) {
    WriteRegion("a_S.DAT", {MakeRecord(2, "a", 1, 1, 1, 1, 0, 0, 0, 0), MakeRecord(3, "b", 1, 1, 1, 1, 0, 0, 0, 0)});
    SelectMap(0);
    host.list.ClickOnly(1);
    dlg->BeginEdit();
    ASSERT_EQ(dlg->EditMode(), EDIT_MODIFY);
    St::m_searchPos(*dlg) = 1;

    SelectMap(0);

    EXPECT_EQ(Names(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
    EXPECT_EQ(dlg->EditRow(), -1);
    EXPECT_EQ(host.ItemText(IDC_NAME), "");
    EXPECT_EQ(dlg->SearchPos(), 1);   // the search position is not the loader's
}

TEST_F(LoadTest, ShowPlacementRowClearsTheOtherColumn) {
    const std::string script = "\\script\\npc\\some_long_script_name.lua";
    WriteRegion("a_S.DAT", {MakeRecord(2, "s", 1, 1, 1, 1, 0, 0, 0, 0, script)});
    SelectMap(0);
    ASSERT_EQ(host.list.Cells(0)[COL_SCRIPT], script);

    PlacementRecord withDrop = MakeRecord(6, "d", 5, 6, 7, 8, 3, 1, 2, 17);
    dlg->ShowPlacementRow(0, withDrop.block, "");
    const RowTexts expected = {"d", "5", "6", "7", "8", "TalkNPC", "Song", "2", "17", "",
                               MapFile("a_S.DAT"), "6"};
    EXPECT_EQ(host.list.Cells(0), expected);

    PlacementRecord withScript = MakeRecord(6, "d", 5, 6, 7, 8, 3, 1, 2, 0, script);
    dlg->ShowPlacementRow(0, withScript.block, withScript.script);
    EXPECT_EQ(host.list.Cells(0)[COL_DROP], "");
    EXPECT_EQ(host.list.Cells(0)[COL_SCRIPT], script);
}

}  // namespace
}  // namespace morvi::test
