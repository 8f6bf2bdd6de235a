// Bulk edit from the window: the dialog's form becomes one edit of every selected placement;
// fields left as they are keep their stored bytes, refused rows are named, one undo takes it
// back.

#include "DialogFixture.h"
#include "dialog/BulkEditForm.h"
#include "document/NameTables.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

constexpr uint32_t kSeed = 9;
const PlacementRecord kA = MakeRecord(2, "A", 300, 1, 40, 1, 0, 0, 0, 3);
const PlacementRecord kB = MakeRecord(3, "B", 995, 2, 20, 2, 3, 1, 2, 1);
const PlacementRecord kC = MakeRecord(4, "C", 200, 3, 60, 3, 0, 0, 0, 2);

TEST(BulkEditFormTest, OnlyFieldsSetBecomePartOfTheEdit) {
    BulkEditForm empty;
    EXPECT_FALSE(BulkFormSetsAnything(empty));
    const Expected<BulkEdit, BulkFormField> none = BulkEditOfForm(empty);
    ASSERT_TRUE(none);
    EXPECT_FALSE(none->type || none->group || none->series || none->script || none->drop.IsSet() ||
                 none->offsetX.IsSet() || none->offsetY.IsSet());
    EXPECT_EQ(none->moveX, 0);

    BulkEditForm some;
    some.group = 6;
    some.offsetY = " 12 ";
    some.moveX = "-5";
    some.moveY = "+3";
    const Expected<BulkEdit, BulkFormField> edit = BulkEditOfForm(some);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->group, 6);
    EXPECT_FALSE(edit->type);
    EXPECT_FALSE(edit->offsetX.IsSet());
    EXPECT_EQ(edit->offsetY.value, 12);
    EXPECT_EQ(edit->moveX, -5);
    EXPECT_EQ(edit->moveY, 3);

    const struct {
        BulkEditForm form;
        BulkFormField field;
    } bad[] = {
        {{.drop = std::string("many")}, BulkFormField::Drop},
        {{.drop = std::string("")}, BulkFormField::Drop},
        {{.offsetX = std::string("1.5")}, BulkFormField::OffsetX},
        {{.offsetY = std::string("7a")}, BulkFormField::OffsetY},
        {{.moveX = "x"}, BulkFormField::MoveX},
        {{.moveY = "--1"}, BulkFormField::MoveY},
    };
    for (const auto& b : bad) {
        const Expected<BulkEdit, BulkFormField> refused = BulkEditOfForm(b.form);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error(), b.field);
        EXPECT_TRUE(BulkFormSetsAnything(b.form));
    }
}

TEST(BulkEditFormTest, ChoicesNameEveryCodeEvenWithoutAName) {
    const auto types = BulkEditChoices(NpcTypeNames());
    ASSERT_EQ(types.size(), NpcTypeNames().size());
    EXPECT_EQ(types[0], (std::pair<int, std::string>{0, "Enemy"}));
    EXPECT_EQ(types[1], (std::pair<int, std::string>{1, "1"}));   // no name: the code
    EXPECT_EQ(types[3].second, "TalkNPC");
}

class BulkEditTest : public EmptyMapFixture {
protected:
    void SetUp() override {
        EmptyMapFixture::SetUp();
        WriteFile(MapFile("a_S.DAT"), tools::MakeRegionImage(kSeed, {kA, kB, kC}));
        SelectMap(0);   // C, B, A from the top
    }
    int RowNamed(const std::string& name) const {
        for (int row = 0; row < host.list.RowCount(); ++row)
            if (host.list.CellText(row, COL_NAME) == name) return row;
        return -1;
    }
    void Select(const std::vector<std::string>& names) {
        host.list.ClearSelection();
        for (const std::string& n : names) host.list.SelectRow(RowNamed(n));
    }
    std::string FileNow() const { return ReadFile(MapFile("a_S.DAT")); }
    std::string Image(const std::vector<PlacementRecord>& records) const {
        return tools::MakeRegionImage(kSeed, records);
    }
};

TEST_F(BulkEditTest, FieldsSetChangeTheSelectedPlacementsOnlyAndOneUndoTakesItBack) {
    const std::string before = FileNow();
    dlg->OnHeadingClick(COL_NAME);   // A, B, C: the selection is by placement whatever the order
    Select({"A", "C"});
    BulkEditForm form;
    form.type = 5;
    form.drop = "7";
    const CPlacementDlg::BulkEditOutcome done = dlg->OnBulkEdit(form);
    EXPECT_TRUE(done.written);
    EXPECT_EQ(done.changed, 2);
    EXPECT_EQ(FileNow(), Image({MakeRecord(2, "A", 300, 1, 40, 1, 5, 0, 0, 7), kB,
                                MakeRecord(4, "C", 200, 3, 60, 3, 5, 0, 0, 7)}));
    EXPECT_EQ(host.Hint(), "批量修改完成!选中[2]条,实际修改[2]条!");
    EXPECT_EQ(host.list.CellText(RowNamed("A"), COL_TYPE), "NPC(Ground)");
    EXPECT_EQ(host.list.SelectedRows().size(), 2u);
    ASSERT_TRUE(dlg->OnUndo());
    EXPECT_EQ(FileNow(), before);
    EXPECT_TRUE(host.misuses.empty());
}

TEST_F(BulkEditTest, AMovePastTheListedRangeNamesTheRowAndWritesNothingForIt) {
    Select({"A", "B"});
    BulkEditForm form;
    form.moveX = "10";   // B at 995 would leave x 0..999
    const CPlacementDlg::BulkEditOutcome done = dlg->OnBulkEdit(form);
    EXPECT_EQ(done.changed, 1);
    EXPECT_EQ(done.refused, std::vector<std::string>{"B"});
    EXPECT_EQ(FileNow(), Image({MakeRecord(2, "A", 310, 1, 40, 1, 0, 0, 0, 3), kB, kC}));
    EXPECT_NE(host.Hint().find("1 条未修改: B"), std::string::npos) << host.Hint();
}

TEST_F(BulkEditTest, NothingSelectedNothingSetOrABadNumberWritesNothingAndSaysWhy) {
    const std::string before = FileNow();
    BulkEditForm typeOnly;
    typeOnly.type = 3;
    host.list.ClearSelection();
    EXPECT_FALSE(dlg->OnBulkEdit(typeOnly).written);
    EXPECT_EQ(host.Hint(), "请先在列表中选择要批量修改的NPC!");

    Select({"A"});
    EXPECT_FALSE(dlg->OnBulkEdit(BulkEditForm{}).written);
    EXPECT_EQ(host.Hint(), "没有设置要修改的项目,未修改任何NPC!");

    BulkEditForm badDrop;
    badDrop.drop = "lots";
    EXPECT_FALSE(dlg->OnBulkEdit(badDrop).written);
    EXPECT_EQ(host.Hint(), "Droprate 必须是整数,未修改任何NPC!");

    // A drop count the record cannot hold: the edit area's own refusal.
    BulkEditForm highDrop;
    highDrop.drop = "30";
    const CPlacementDlg::BulkEditOutcome refused = dlg->OnBulkEdit(highDrop);
    EXPECT_FALSE(refused.written);
    EXPECT_TRUE(refused.error);
    EXPECT_EQ(FileNow(), before);
    EXPECT_FALSE(dlg->CanUndo());
}

TEST(BulkEditFormTest, ClearScriptIsTheEmptyPathWhateverTheScriptFieldHolds) {
    const struct {
        BulkEditForm form;
        std::optional<std::string> script;
    } cases[] = {
        {{}, std::nullopt},                                                           // leave as is
        {{.script = std::string("\\script\\a_long_enough_path.lua")}, std::string("\\script\\a_long_enough_path.lua")},
        {{.clearScript = true}, std::string()},
        {{.script = std::string("\\script\\ignored.lua"), .clearScript = true}, std::string()},
    };
    for (const auto& c : cases) {
        const Expected<BulkEdit, BulkFormField> edit = BulkEditOfForm(c.form);
        ASSERT_TRUE(edit);
        EXPECT_EQ(edit->script, c.script);
        EXPECT_EQ(BulkFormSetsAnything(c.form), c.script.has_value());
    }
}

class BulkClearScriptTest : public EmptyMapFixture {};

TEST_F(BulkClearScriptTest, ClearingTheScriptLeavesRecordsWithoutScriptAndTheirOtherBytes) {
    const std::string script = "\\script\\npc\\village_elder_talk.lua";
    const PlacementRecord withScript = MakeRecord(2, "S", 100, 1, 40, 1, 3, 0, 0, 0, script);
    const PlacementRecord plain = MakeRecord(3, "P", 200, 2, 50, 2, 0, 1, 2, 4);
    WriteFile(MapFile("a_S.DAT"), tools::MakeRegionImage(kSeed, {withScript, plain}));
    SelectMap(0);   // P, S from the top
    const std::string before = ReadFile(MapFile("a_S.DAT"));
    host.list.SelectRow(0);
    host.list.SelectRow(1);
    BulkEditForm form;
    form.clearScript = true;
    form.drop = "2";
    const CPlacementDlg::BulkEditOutcome done = dlg->OnBulkEdit(form);
    EXPECT_EQ(done.changed, 2);
    // Both without script, drop count 2; names, positions, offsets and codes as they were.
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")).size(), before.size() - (script.size() - 1));
    SelectMap(0);   // what the files hold now
    const struct {
        int row;
        const PlacementRecord& was;
    } rows[] = {{0, plain}, {1, withScript}};
    for (const auto& r : rows) {
        const NpcPlacement& now = dlg->Rows().Block(r.row);
        EXPECT_FALSE(now.HasScript());
        EXPECT_EQ(now.dropCountOrScriptLength, 2);
        EXPECT_EQ(now.PosX(), r.was.block.PosX());
        EXPECT_EQ(now.PosY(), r.was.block.PosY());
        EXPECT_EQ(now.offsetX, r.was.block.offsetX);
        EXPECT_EQ(now.npcType, r.was.block.npcType);
        EXPECT_EQ(now.npcGroup, r.was.block.npcGroup);
        EXPECT_EQ(dlg->Rows().CellText(r.row, COL_NAME), r.row == 0 ? "P" : "S");
    }
    EXPECT_EQ(host.list.CellText(1, COL_SCRIPT), "");
    EXPECT_EQ(host.list.CellText(1, COL_DROP), "2");
    ASSERT_TRUE(dlg->OnUndo());
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), before);
}

}  // namespace
}  // namespace morvi::test
