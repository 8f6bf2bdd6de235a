// Adding a placement: the record appended to a region file chosen at random, byte for byte,
// the checks of the edit area, and the new top row.

#include <filesystem>
#include <random>

#include "DialogFixture.h"
#include "data/platform/AtomicFile.h"
#include "data/text/GbkCodec.h"
#include "data/region/RegionFile.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

std::string Gbk(const std::string& utf8) { return *Utf8ToGbk(utf8); }

// The image a successful add leaves: the count one higher and the record appended.
std::string Appended(std::string image, const PlacementRecord& record) {
    const uint16_t count = static_cast<uint16_t>(static_cast<uint8_t>(image[2100]) |
                                                 (static_cast<uint8_t>(image[2101]) << 8));
    const uint16_t raised = static_cast<uint16_t>(count + 1);
    image[2100] = static_cast<char>(raised & 0xFF);
    image[2101] = static_cast<char>(raised >> 8);
    AppendPlacementBytes(image, record.block, record.script);
    return image;
}

// The pseudo-random values a save draws for a given tick count.
std::vector<int> Draws(uint32_t tick, int n) {
    std::minstd_rand random(tick % 10000);
    std::vector<int> out;
    for (int i = 0; i < n; ++i) out.push_back(static_cast<int>(random()));
    return out;
}

struct Fields {
    std::string x = "100", y = "200", offsetX = "3", offsetY = "4", drop = "", script = "";
    std::string type = "Enemy", group = "Song", series = "1";
};

// One map (directory map10) holding the region files a test writes; template 0 is "卫兵".
class AddTest : public EmptyMapFixture {
protected:
    std::string WriteRegion(const std::string& name, const std::vector<PlacementRecord>& records,
                            uint32_t seed = 5) {
        std::string image = tools::MakeRegionImage(seed, records);
        WriteFile(MapFile(name), image);
        return image;
    }
    // Loads the map and starts a placement from template 0 ("Them": template index 1).
    void StartAdd() {
        SelectMap(0);
        host.SelectListBox(IDC_TEMPLATE_LIST, 0);
        dlg->OnAdd();
        ASSERT_EQ(dlg->EditMode(), EDIT_ADD);
    }
    void Fill(const Fields& f) {
        host.SetText(IDC_POS_X, f.x);
        host.SetText(IDC_POS_Y, f.y);
        host.SetText(IDC_OFFSET_X, f.offsetX);
        host.SetText(IDC_OFFSET_Y, f.offsetY);
        host.SetText(IDC_DROP, f.drop);
        host.SetText(IDC_SCRIPT, f.script);
        host.SelectComboText(IDC_TYPE, f.type);
        host.SelectComboText(IDC_GROUP, f.group);
        host.SelectComboText(IDC_SERIES, f.series);
    }
    // Expects a refusal: the hint, the focus, the file and the edit state as they were.
    void ExpectRefused(const std::string& hint, int focus, const std::string& file,
                       const std::string& image) {
        EXPECT_EQ(host.ItemText(IDC_HINT), hint);
        EXPECT_EQ(host.focusedId, focus);
        EXPECT_EQ(ReadFile(file), image);
        EXPECT_EQ(dlg->EditMode(), EDIT_ADD);
        EXPECT_EQ(host.ItemText(IDC_NAME), "卫兵");
    }
};

TEST_F(AddTest, AppendsTheRecordAndShowsItOnTop) {
    const std::string image = WriteRegion("a_S.DAT", {MakeRecord(2, "old", 1, 1, 1, 1, 0, 0, 0, 0),
                                                      MakeRecord(3, "old2", 1, 1, 1, 1, 0, 0, 0, 0,
                                                                 "\\script\\old\\path_of_thirty.lua")});
    StartAdd();
    const int rowsBefore = host.list.RowCount();
    const int repaintsBefore = host.list.repaints;
    Fill({.x = "123", .y = "45", .offsetX = "7", .offsetY = "8", .drop = "5", .type = "TalkNPC",
          .group = "Song", .series = "2"});

    dlg->OnSave();

    const PlacementRecord expected = MakeRecord(1, Gbk("卫兵"), 123, 7, 45, 8, 3, 1, 2, 5);
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Appended(image, expected));
    ASSERT_EQ(host.list.RowCount(), rowsBefore + 1);
    const RowTexts row = {"卫兵", "123", "7", "45", "8", "TalkNPC", "Song", "2", "5", "",
                          MapFile("a_S.DAT"), "1"};
    EXPECT_EQ(host.list.Cells(0), row);
    EXPECT_GT(host.list.repaints, repaintsBefore);
    // Without "Tiep Tuc..." the edit area is reset.
    EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
    EXPECT_EQ(host.ItemText(IDC_NAME), "");
    EXPECT_EQ(host.ComboSelection(IDC_TYPE), -1);
}

TEST_F(AddTest, EmptyOffsetsTakeRandomValuesBelow255) {
    const std::string image = WriteRegion("a_S.DAT", {});
    StartAdd();
    Fill({.offsetX = "", .offsetY = ""});
    host.tick = 1234;

    dlg->OnSave();

    const std::vector<int> r = Draws(1234, 2);
    const PlacementRecord expected =
        MakeRecord(1, Gbk("卫兵"), 100, r[0] % 255, 200, r[1] % 255, 0, 1, 1, 0);
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Appended(image, expected));

    // Over many tick counts the offsets stay within 0..254.
    host.SetChecked(IDC_CONTINUE, true);
    host.SelectListBox(IDC_TEMPLATE_LIST, 0);
    dlg->OnAdd();
    for (uint32_t tick = 20000; tick < 20040; ++tick) {
        host.tick = tick;
        dlg->OnSave();
    }
    std::vector<PlacementRecord> records;
    ASSERT_TRUE(ReadRegionPlacements(MapFile("a_S.DAT"), records));
    ASSERT_EQ(records.size(), 41u);
    for (const PlacementRecord& rec : records) {
        EXPECT_LE(rec.block.offsetX, 254);
        EXPECT_LE(rec.block.offsetY, 254);
    }
    // The seed is the tick count modulo 10000.
    const std::vector<int> r2 = Draws(20005, 2);
    EXPECT_EQ(records[6].block.offsetX, r2[0] % 255);
    EXPECT_EQ(records[6].block.offsetY, r2[1] % 255);
}

TEST_F(AddTest, OffsetLimits) {
    const std::string image = WriteRegion("a_S.DAT", {});
    StartAdd();
    const struct {
        const char* x;
        const char* y;
    } refused[] = {{"256", "0"}, {"-1", "0"}, {"0", "256"}, {"0", "-1"}};
    for (const auto& c : refused) {
        host.SetText(IDC_HINT, "");
        host.focusedId = 0;
        Fill({.offsetX = c.x, .offsetY = c.y});
        dlg->OnSave();
        ExpectRefused("偏移坐标不能大于255或者小于0!", IDC_POS_X, MapFile("a_S.DAT"), image);
    }
    Fill({.offsetX = "255", .offsetY = "0"});
    dlg->OnSave();
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")),
              Appended(image, MakeRecord(1, Gbk("卫兵"), 100, 255, 200, 0, 0, 1, 1, 0)));
}

TEST_F(AddTest, DropCountLimits) {
    const struct {
        const char* text;
        int stored;          // -1: refused
        const char* hint;
    } cases[] = {
        {"24", 24, nullptr}, {"", 0, nullptr}, {"0", 0, nullptr},
        {"25", -1, "掉宝数不能大于24!"}, {"-1", -1, "掉宝数不能小于0!"}, {"-5", -1, "掉宝数不能小于0!"},
    };
    for (const auto& c : cases) {
        const std::string image = WriteRegion("a_S.DAT", {});
        StartAdd();
        host.SetText(IDC_HINT, "");
        host.focusedId = 0;
        Fill({.drop = c.text});
        dlg->OnSave();
        if (c.stored < 0) {
            ExpectRefused(c.hint, IDC_DROP, MapFile("a_S.DAT"), image);
        } else {
            EXPECT_EQ(ReadFile(MapFile("a_S.DAT")),
                      Appended(image, MakeRecord(1, Gbk("卫兵"), 100, 3, 200, 4, 0, 1, 1, c.stored)))
                << c.text;
        }
    }
}

TEST_F(AddTest, ScriptRules) {
    const std::string s24 = "\\" + std::string(23, 's');
    const std::string s25 = "\\" + std::string(24, 's');
    const std::string s255 = "\\" + std::string(254, 's');
    const std::string chinese = "\\脚本\\" + std::string(20, 'c') + ".lua";   // 30 GBK bytes
    const struct {
        std::string typed;
        std::string stored;   // "" when no script is stored
    } cases[] = {
        {"", ""},
        {s24, ""},
        {std::string(23, 's'), ""},            // 24 bytes once the backslash is put in front
        {s25, s25},
        {std::string(24, 's'), s25},           // no letter is lost
        {"  " + s25 + " \t", s25},
        {"script/npc/guard_of_the_gate.lua", "\\script\\npc\\guard_of_the_gate.lua"},
        {s255, s255},
        {chinese, Gbk(chinese)},
    };
    for (const auto& c : cases) {
        const std::string image = WriteRegion("a_S.DAT", {});
        StartAdd();
        Fill({.drop = "6", .script = c.typed});
        dlg->OnSave();
        const PlacementRecord expected =
            MakeRecord(1, Gbk("卫兵"), 100, 3, 200, 4, 0, 1, 1, 6, c.stored);
        EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Appended(image, expected)) << c.typed;
        EXPECT_EQ(ReadFile(MapFile("a_S.DAT")).size(),
                  image.size() + (c.stored.empty() ? 61 : 60 + c.stored.size()));
        // The row shows the path as stored, and no drop count beside it.
        EXPECT_EQ(host.list.Cells(0)[COL_SCRIPT], GbkToUtf8(c.stored)) << c.typed;
        EXPECT_EQ(host.list.Cells(0)[COL_DROP], c.stored.empty() ? "6" : "") << c.typed;
    }
}

TEST_F(AddTest, ScriptRefusals) {
    const struct {
        std::string typed;
        std::string drop;
        const char* hint;
        int focus;
    } cases[] = {
        {"\\" + std::string(255, 's'), "", "脚本路径不能超过255个字节!", IDC_SCRIPT},
        {std::string(255, 's'), "", "脚本路径不能超过255个字节!", IDC_SCRIPT},   // 256 once stored
        {"\\script\\\xF0\x9F\x98\x80_and_more_text.lua", "", "脚本路径含有无法保存的字符!", IDC_SCRIPT},
        // The drop count is checked even when a script is stored instead of it.
        {"\\" + std::string(30, 's'), "25", "掉宝数不能大于24!", IDC_DROP},
    };
    const std::string image = WriteRegion("a_S.DAT", {});
    StartAdd();
    for (const auto& c : cases) {
        host.SetText(IDC_HINT, "");
        host.focusedId = 0;
        Fill({.drop = c.drop, .script = c.typed});
        dlg->OnSave();
        ExpectRefused(c.hint, c.focus, MapFile("a_S.DAT"), image);
        EXPECT_EQ(host.ItemText(IDC_SCRIPT), c.typed);
    }
}

TEST_F(AddTest, NameRules) {
    const std::string name33(33, 'n');
    const std::string chinese16 = "一二三四五六七八九十一二三四五六";   // 32 GBK bytes
    for (const std::string& name : {name33, chinese16}) {
        const std::string image = WriteRegion("a_S.DAT", {});
        StartAdd();
        Fill({});
        host.SetText(IDC_NAME, name);
        dlg->OnSave();
        EXPECT_EQ(ReadFile(MapFile("a_S.DAT")),
                  Appended(image, MakeRecord(1, Gbk(name), 100, 3, 200, 4, 0, 1, 1, 0)));
    }

    const struct {
        std::string name;
        const char* hint;
    } refused[] = {
        {std::string(34, 'n'), "NPC名称不能超过33个字节!"},
        {chinese16 + "七", "NPC名称不能超过33个字节!"},   // 34 GBK bytes
        {"Wolf\xF0\x9F\x98\x80", "NPC名称含有无法保存的字符!"},
    };
    const std::string image = WriteRegion("a_S.DAT", {});
    StartAdd();
    for (const auto& c : refused) {
        Fill({});
        host.SetText(IDC_NAME, c.name);
        dlg->OnSave();
        EXPECT_EQ(host.ItemText(IDC_HINT), c.hint);
        EXPECT_EQ(host.focusedId, IDC_NAME);
        EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), image);
        EXPECT_EQ(dlg->EditMode(), EDIT_ADD);
    }
}

TEST_F(AddTest, FileChoiceRule) {
    for (int files = 1; files <= 3; ++files) {
        std::vector<std::string> names;
        std::vector<std::string> images;
        for (int f = 0; f < files; ++f) {
            names.push_back(MapFile("n" + std::to_string(files) + "_" + std::to_string(f) + "_S.DAT"));
            images.push_back(tools::MakeRegionImage(static_cast<uint32_t>(f), {}));
        }
        std::vector<int> chosenCount(static_cast<size_t>(files), 0);
        for (uint32_t tick = 0; tick < 24; ++tick) {
            for (int f = 0; f < files; ++f) WriteFile(names[static_cast<size_t>(f)], images[static_cast<size_t>(f)]);
            StartAdd();
            Fill({});   // offsets filled: the first draw picks the file
            host.tick = tick;
            dlg->OnSave();

            const int r = Draws(tick, 1)[0] % files;
            const int expected = r - 1 < 0 ? 0 : r - 1;
            ++chosenCount[static_cast<size_t>(expected)];
            for (int f = 0; f < files; ++f) {
                const bool grew = ReadFile(names[static_cast<size_t>(f)]).size() > images[static_cast<size_t>(f)].size();
                EXPECT_EQ(grew, f == expected) << "files " << files << " tick " << tick << " file " << f;
            }
            EXPECT_EQ(host.list.Cells(0)[COL_FILE], names[static_cast<size_t>(expected)]);
        }
        // With two or more files the last one is never chosen.
        if (files > 1) {
            EXPECT_EQ(chosenCount.back(), 0);
        }
        if (files == 3) {
            EXPECT_GT(chosenCount[1], 0);
        }
        for (const std::string& n : names) std::filesystem::remove(n);
    }
}

TEST_F(AddTest, NamedTargetFileOverridesTheRandomChoice) {
    // The command line names the region file; the random choice would take the first file.
    const std::string first = WriteRegion("a_S.DAT", {});
    const std::string last = WriteRegion("b_S.DAT", {}, 9);
    dlg->SetAddTargetFile(MapFile("b_S.DAT"));
    StartAdd();
    Fill({});
    dlg->OnSave();
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), first);
    EXPECT_EQ(ReadFile(MapFile("b_S.DAT")), Appended(last, MakeRecord(1, Gbk("卫兵"), 100, 3, 200, 4, 0, 1, 1, 0)));
    EXPECT_EQ(host.list.Cells(0)[COL_FILE], MapFile("b_S.DAT"));
}

TEST_F(AddTest, ContinueBoxAddsThreeFromTheSameFields) {
    const std::string image = WriteRegion("a_S.DAT", {});
    StartAdd();
    host.SetChecked(IDC_CONTINUE, true);
    Fill({.x = "9", .drop = "2"});
    for (int i = 0; i < 3; ++i) dlg->OnSave();

    const PlacementRecord expected = MakeRecord(1, Gbk("卫兵"), 9, 3, 200, 4, 0, 1, 1, 2);
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Appended(Appended(Appended(image, expected), expected), expected));
    EXPECT_EQ(host.list.RowCount(), 3);
    EXPECT_EQ(dlg->EditMode(), EDIT_ADD);
    EXPECT_EQ(host.ItemText(IDC_POS_X), "9");
    EXPECT_EQ(host.ItemText(IDC_NAME), "卫兵");
    EXPECT_EQ(host.ComboText(IDC_GROUP), "Song");
}

TEST_F(AddTest, CombosWithoutSelectionAndCoordinateWrapping) {
    const struct {
        std::string x, y;
        int storedX, storedY;
    } cases[] = {
        {"65537", "32768", 1, 0}, {"-1", "-1", 65535, 32767}, {"abc", "12abc", 0, 0}, {" 42 ", "+7", 42, 7},
    };
    for (const auto& c : cases) {
        const std::string image = WriteRegion("a_S.DAT", {});
        StartAdd();
        Fill({.x = c.x, .y = c.y, .type = "", .group = "", .series = ""});
        dlg->OnSave();
        // No selection stores the first empty entry: type 1, group 3, series 0.
        PlacementRecord expected = MakeRecord(1, Gbk("卫兵"), 0, 3, 0, 4, 1, 3, 0, 0);
        expected.block.SetPosX(static_cast<uint16_t>(c.storedX));
        expected.block.SetPosYDoubled(static_cast<uint16_t>(c.storedY * 2));
        EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Appended(image, expected)) << c.x << " " << c.y;
    }
}

TEST_F(AddTest, NothingHappensWithoutMapOrRegionFile) {
    StartAdd();   // the map has no region file
    Fill({});
    host.SetText(IDC_HINT, "before");
    dlg->OnSave();
    EXPECT_EQ(host.list.RowCount(), 0);
    EXPECT_EQ(host.ItemText(IDC_HINT), "before");
    EXPECT_EQ(dlg->EditMode(), EDIT_ADD);

    const std::string image = WriteRegion("a_S.DAT", {});
    host.SelectListBox(IDC_MAP_LIST, -1);
    dlg->OnSave();
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), image);
    EXPECT_EQ(dlg->EditMode(), EDIT_ADD);
}

TEST_F(AddTest, FailedWriteLeavesFileAndStateAndSaysSo) {
    const std::string image = WriteRegion("a_S.DAT", {MakeRecord(2, "old", 1, 1, 1, 1, 0, 0, 0, 0)});
    StartAdd();
    Fill({});
    const int rows = host.list.RowCount();
    St::m_debugMode(*dlg) = true;
    FailNextReplaceAfterBytesForTesting(100);

    dlg->OnSave();

    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), image);
    EXPECT_EQ(host.ItemText(IDC_HINT), "打开地图文件发生错误,保存失败!");
    EXPECT_EQ(host.ItemText(IDC_FRAME), "[调试模式]" + MapFile("a_S.DAT"));
    EXPECT_EQ(host.list.RowCount(), rows);
    EXPECT_EQ(dlg->EditMode(), EDIT_ADD);
    EXPECT_EQ(host.ItemText(IDC_POS_X), "100");

    // Saving again once the disk is fine again works.
    dlg->OnSave();
    EXPECT_EQ(host.list.RowCount(), rows + 1);
}

}  // namespace
}  // namespace morvi::test
