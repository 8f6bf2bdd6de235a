// Modifying a placement: the record found again by the key of its row and rewritten in its
// file, byte for byte, with the records after it moved when its length changes.

#include <cstring>
#include <filesystem>

#include "DialogFixture.h"
#include "data/region/RegionFile.h"
#include "data/platform/AtomicFile.h"
#include "data/text/GbkCodec.h"
#include "document/NameTables.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

constexpr uint32_t kSeed = 11;
const std::string kScript30 = "\\script\\npc\\thirty_bytes__.lua";   // 30 bytes
const std::string kScript40 = "\\script\\npc\\a_path_of_forty_bytes___.lua";

// A record whose opaque bytes are all set, so a rewrite that loses them shows.
PlacementRecord Target(std::string_view script = {}) {
    PlacementRecord r = MakeRecord(7, "LongOldNameOfTarget", 50, 5, 60, 6, 3, 1, 2, 4, script);
    uint8_t* b = r.block.Bytes();
    for (int i : {2, 3, 7, 11, 12, 13, 14, 15, 51, 52, 53, 55, 59}) b[i] = static_cast<uint8_t>(0xA0 + i);
    if (script.empty()) r.block.variable = 0x77;
    return r;
}

class ModifyTest : public EmptyMapFixture {
protected:
    std::string File() const { return NativeForm(server() + "/maps/map10/a_S.DAT"); }
    void WriteRegion(const std::vector<PlacementRecord>& records) {
        WriteFile(File(), tools::MakeRegionImage(kSeed, records));
        SelectMap(0);
    }
    std::string Image(const std::vector<PlacementRecord>& records) const {
        return tools::MakeRegionImage(kSeed, records);
    }
    void Edit(int row) {
        host.list.ClickOnly(row);
        dlg->BeginEdit();
        ASSERT_EQ(dlg->EditMode(), EDIT_MODIFY);
        ASSERT_EQ(dlg->EditRow(), row);
    }
};

// The edit fields a row fills, then a change of every field: the record is found by the key of
// the row, not by the edited values, and only the fields the edit area decides change.
TEST_F(ModifyTest, SameLengthIsRewrittenInPlaceKeepingOpaqueBytes) {
    const PlacementRecord a = MakeRecord(2, "A", 1, 1, 1, 1, 0, 0, 0, 0);
    const PlacementRecord c = MakeRecord(3, "C", 2, 2, 2, 2, 0, 0, 0, 0, kScript40);
    const PlacementRecord t = Target();
    WriteRegion({a, t, c});
    Edit(1);
    EXPECT_EQ(host.ItemText(IDC_NAME), "LongOldNameOfTarget");
    EXPECT_EQ(host.ItemText(IDC_DROP), "4");

    host.SetText(IDC_NAME, "New");
    host.SetText(IDC_POS_X, "321");
    host.SetText(IDC_POS_Y, "123");
    host.SetText(IDC_OFFSET_X, "200");
    host.SetText(IDC_OFFSET_Y, "201");
    host.SelectComboText(IDC_TYPE, "NPC(Fly)");
    host.SelectComboText(IDC_GROUP, "Enemy");
    host.SelectComboText(IDC_SERIES, "3");
    host.SetText(IDC_DROP, "9");
    dlg->OnSave();

    PlacementRecord expected = t;
    NpcPlacement& p = expected.block;
    p.SetPosX(321);
    p.SetPosYDoubled(246);
    p.offsetX = 200;
    p.offsetY = 201;
    p.SetName("New");   // the old name's bytes after the new terminator stay
    p.npcType = 4;
    p.npcGroup = 5;
    p.npcSeries = 3;
    p.dropCountOrScriptLength = 9;
    EXPECT_EQ(ReadFile(File()), Image({a, expected, c}));

    const RowTexts row = {"New", "321", "200", "123", "201", "NPC(Fly)", "Enemy", "3", "9", "",
                          File(), "7"};
    EXPECT_EQ(host.list.Cells(1), row);
    EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
    EXPECT_EQ(host.ItemText(IDC_NAME), "");
}

TEST_F(ModifyTest, ScriptLengthChangesMoveTheRestOfTheFile) {
    const PlacementRecord a = MakeRecord(2, "A", 1, 1, 1, 1, 0, 0, 0, 0);
    const PlacementRecord c = MakeRecord(3, "C", 2, 2, 2, 2, 0, 0, 0, 0, kScript40);
    const PlacementRecord d = MakeRecord(4, "D", 3, 3, 3, 3, 0, 0, 0, 8);
    const struct {
        const char* what;
        PlacementRecord old;
        std::string typed;
        std::string drop;
        std::string stored;
    } cases[] = {
        {"grow", Target(), kScript30, "4", kScript30},
        {"shrink", Target(kScript40), "", "", ""},
        {"same length", Target(kScript30), "\\script\\npc\\thirty_bytes__.LUA", "", "\\script\\npc\\thirty_bytes__.LUA"},
        {"other length", Target(kScript30), kScript40, "", kScript40},
    };
    for (const auto& k : cases) {
        WriteRegion({a, k.old, c, d});
        Edit(2);
        host.SetText(IDC_SCRIPT, k.typed);
        host.SetText(IDC_DROP, k.drop);
        dlg->OnSave();

        PlacementRecord expected = k.old;
        if (k.stored.empty()) {
            // Type TalkNPC with an empty drop count stores 0; the trailing byte keeps its old value.
            expected.block.dropCountOrScriptLength = k.drop.empty() ? 0 : static_cast<uint8_t>(std::stoi(k.drop));
            expected.script.clear();
        } else {
            expected.block.dropCountOrScriptLength = static_cast<uint8_t>(k.stored.size());
            expected.block.variable = '\\';
            expected.script = k.stored;
        }
        EXPECT_EQ(ReadFile(File()), Image({a, expected, c, d})) << k.what;
        EXPECT_EQ(host.list.Cells(2)[COL_SCRIPT], k.stored) << k.what;
        EXPECT_EQ(host.list.Cells(2)[COL_DROP], k.stored.empty() ? std::to_string(expected.block.dropCountOrScriptLength) : "")
            << k.what;

        // The records after it load unchanged.
        SelectMap(0);
        ASSERT_EQ(host.list.RowCount(), 4);
        EXPECT_EQ(host.list.Cells(0)[COL_NAME], "D");
        EXPECT_EQ(host.list.Cells(0)[COL_DROP], "8");
        EXPECT_EQ(host.list.Cells(1)[COL_SCRIPT], kScript40);
    }
}

TEST_F(ModifyTest, DuplicateKeysRewriteTheFirstInFileOrder) {
    const PlacementRecord first = MakeRecord(5, "first", 10, 1, 20, 2, 0, 0, 0, 3);
    const PlacementRecord second = MakeRecord(5, "second", 10, 1, 20, 2, 0, 0, 0, 4);
    const PlacementRecord c = MakeRecord(6, "C", 1, 1, 1, 1, 0, 0, 0, 0);
    WriteRegion({first, second, c});

    for (const char* name : {"edited", "again"}) {
        Edit(1);   // the row of "second"
        host.SetText(IDC_NAME, name);
        dlg->OnSave();
        PlacementRecord expected = first;
        expected.block.SetName(name);
        expected.block.dropCountOrScriptLength = 4;   // the fields came from the row of "second"
        EXPECT_EQ(ReadFile(File()), Image({expected, second, c})) << name;
    }
}

TEST_F(ModifyTest, EmptyDropCountDependsOnType) {
    const struct {
        const char* type;
        const char* drop;
        int stored;
    } cases[] = {{"Enemy", "", 1}, {"TalkNPC", "", 0}, {"", "", 0}, {"Enemy", "0", 0}, {"NPC(Fly)", "7", 7}};
    for (const auto& k : cases) {
        const PlacementRecord t = MakeRecord(2, "T", 1, 1, 1, 1, 0, 0, 0, 5);
        WriteRegion({t});
        Edit(0);
        host.SelectComboText(IDC_TYPE, k.type);
        host.SetText(IDC_DROP, k.drop);
        dlg->OnSave();
        PlacementRecord expected = t;
        expected.block.npcType = static_cast<uint8_t>(CodeOfName(NpcTypeNames(), k.type));
        expected.block.dropCountOrScriptLength = static_cast<uint8_t>(k.stored);
        EXPECT_EQ(ReadFile(File()), Image({expected})) << k.type << "/" << k.drop;
    }
}

TEST_F(ModifyTest, RefreshesTheRowBeginEditLoaded) {
    WriteRegion({MakeRecord(2, "A", 1, 1, 1, 1, 0, 0, 0, 0), MakeRecord(3, "B", 2, 2, 2, 2, 0, 0, 0, 0),
                 MakeRecord(4, "C", 3, 3, 3, 3, 0, 0, 0, 0)});
    Edit(2);
    host.list.SelectRow(0);   // a search added another row to the selection
    host.SetText(IDC_NAME, "A2");
    dlg->OnSave();

    EXPECT_EQ(host.list.Cells(2)[COL_NAME], "A2");
    EXPECT_EQ(host.list.Cells(0)[COL_NAME], "C");
}

TEST_F(ModifyTest, TemplateExchangeAndOutOfRangeCoordinate) {
    const PlacementRecord t = MakeRecord(2, "T", 1, 1, 1, 1, 0, 0, 0, 0);
    WriteRegion({t});
    Edit(0);
    host.SelectListBox(IDC_TEMPLATE_LIST, 5);
    dlg->OnExchange();
    host.SetText(IDC_POS_X, "1000");
    dlg->OnSave();

    PlacementRecord expected = t;
    expected.block.SetTemplateIndex(5);
    expected.block.SetName(*Utf8ToGbk(host.ListBoxText(IDC_TEMPLATE_LIST, 5)));
    expected.block.SetPosX(1000);
    EXPECT_EQ(ReadFile(File()), Image({expected}));
    EXPECT_EQ(host.list.Cells(0)[COL_POS_X], "1000");
    EXPECT_EQ(host.list.Cells(0)[COL_TEMPLATE], "5");

    SelectMap(0);   // the loader leaves it out now
    EXPECT_EQ(host.list.RowCount(), 0);
}

TEST_F(ModifyTest, MissingRecordOrFileIsSilentAndKeepsEditing) {
    const PlacementRecord a = MakeRecord(2, "A", 1, 1, 1, 1, 0, 0, 0, 0);
    const PlacementRecord t = MakeRecord(3, "T", 2, 2, 2, 2, 0, 0, 0, 0);
    WriteRegion({a, t});
    Edit(0);
    host.SetText(IDC_NAME, "changed");
    host.SetText(IDC_HINT, "before");

    // Changed elsewhere since the load: no record has the key any more.
    WriteFile(File(), Image({a}));
    dlg->OnSave();
    EXPECT_EQ(ReadFile(File()), Image({a}));
    EXPECT_EQ(host.ItemText(IDC_HINT), "before");
    EXPECT_EQ(dlg->EditMode(), EDIT_MODIFY);
    EXPECT_EQ(host.ItemText(IDC_NAME), "changed");

    std::filesystem::remove(File());
    dlg->OnSave();
    EXPECT_FALSE(FileExists(File()));
    EXPECT_EQ(host.ItemText(IDC_HINT), "before");
    EXPECT_EQ(dlg->EditMode(), EDIT_MODIFY);
}

TEST_F(ModifyTest, FailedWriteLeavesFileAndSaysSo) {
    WriteRegion({MakeRecord(2, "A", 1, 1, 1, 1, 0, 0, 0, 0), MakeRecord(3, "T", 2, 2, 2, 2, 0, 0, 0, 0)});
    const std::string image = ReadFile(File());
    Edit(0);
    host.SetText(IDC_SCRIPT, kScript30);
    FailNextReplaceAfterBytesForTesting(2200);
    dlg->OnSave();

    EXPECT_EQ(ReadFile(File()), image);
    EXPECT_EQ(host.ItemText(IDC_HINT), "打开地图文件发生错误,保存失败!");
    EXPECT_EQ(dlg->EditMode(), EDIT_MODIFY);
    EXPECT_EQ(host.list.Cells(0)[COL_SCRIPT], "");
}

TEST_F(ModifyTest, RefusedInputWritesNothing) {
    WriteRegion({MakeRecord(2, "A", 1, 1, 1, 1, 0, 0, 0, 0)});
    const std::string image = ReadFile(File());
    Edit(0);
    const struct {
        int field;
        std::string text;
        const char* hint;
        int focus;
    } cases[] = {
        {IDC_OFFSET_Y, "300", "偏移坐标不能大于255或者小于0!", IDC_POS_X},
        {IDC_DROP, "30", "掉宝数不能大于24!", IDC_DROP},
        {IDC_DROP, "-3", "掉宝数不能小于0!", IDC_DROP},
        {IDC_NAME, std::string(40, 'x'), "NPC名称不能超过33个字节!", IDC_NAME},
        {IDC_SCRIPT, std::string(300, 'x'), "脚本路径不能超过255个字节!", IDC_SCRIPT},
    };
    for (const auto& k : cases) {
        const std::string old = host.ItemText(k.field);
        host.SetText(k.field, k.text);
        host.focusedId = 0;
        dlg->OnSave();
        EXPECT_EQ(host.ItemText(IDC_HINT), k.hint);
        EXPECT_EQ(host.focusedId, k.focus);
        EXPECT_EQ(ReadFile(File()), image);
        EXPECT_EQ(dlg->EditMode(), EDIT_MODIFY);
        host.SetText(k.field, old);
    }
}

}  // namespace
}  // namespace morvi::test

namespace morvi::test {
namespace {

// "Luu" on a row the user did not touch rewrites the record with its own values: codes without
// a name or beyond the tables and the stored script bytes stay; only the marker (to 1) and an
// odd stored Y (to even) change. A combo the user changed stores the code of its text.
class UntouchedSaveTest : public ModifyTest {};

TEST_F(UntouchedSaveTest, KeepsStoredCodesAndScriptBytes) {
    const struct {
        const char* what;
        int type, group, series;
        std::string script;
    } cases[] = {
        {"codes without a name", 2, 4, 1, ""},
        {"codes beyond the tables", 9, 7, 6, ""},
        {"script with a forward slash", 1, 3, 0, "\\script/npc/thirty_bytes__.lua"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PlacementRecord r = MakeRecord(7, "Keeper", 50, 5, 60, 6, c.type, c.group, c.series, 4, c.script);
        r.block.marker = 0;
        r.block.SetPosYDoubled(121);   // odd
        WriteRegion({r});
        Edit(0);
        const SaveOutcome outcome = dlg->OnSave();
        ASSERT_TRUE(outcome.Written()) << outcome.reason << outcome.hint;
        PlacementRecord expected = r;
        expected.block.marker = 1;
        expected.block.SetPosYDoubled(120);
        EXPECT_EQ(ReadFile(File()), Image({expected}));
        EXPECT_EQ(outcome.file, File());
        EXPECT_EQ(outcome.row, 0);
    }
}

TEST_F(UntouchedSaveTest, ChangedComboStoresTheCodeOfItsText) {
    WriteRegion({MakeRecord(7, "Keeper", 50, 5, 60, 6, 9, 4, 2, 4)});
    Edit(0);
    host.SelectComboText(IDC_TYPE, "TalkNPC");
    ASSERT_TRUE(dlg->OnSave().Written());
    std::vector<PlacementRecord> now;
    ASSERT_TRUE(ReadRegionPlacements(File(), now));
    ASSERT_EQ(now.size(), 1u);
    EXPECT_EQ(now[0].block.npcType, 3);
    EXPECT_EQ(now[0].block.npcGroup, 4);    // untouched: kept
    EXPECT_EQ(now[0].block.npcSeries, 2);
}

TEST_F(UntouchedSaveTest, IdleSaveWritesNothingAndSaysWhy) {
    WriteRegion({MakeRecord(7, "Keeper", 50, 5, 60, 6, 0, 0, 0, 4)});
    const SaveOutcome outcome = dlg->OnSave();
    EXPECT_EQ(outcome.kind, SaveOutcome::Kind::NothingWritten);
    EXPECT_EQ(outcome.why, SaveOutcome::Why::Idle);
}

}  // namespace
}  // namespace morvi::test
