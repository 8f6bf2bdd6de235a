// Deleting placements: each selected row's record cut out of its file, byte for byte, the
// captions that count, and the rows taken out of the list.

#include <algorithm>
#include <filesystem>

#include "DialogFixture.h"
#include "data/platform/FileLock.h"
#include "data/platform/AtomicFile.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

constexpr uint32_t kSeed = 21;
const std::string kScript30 = "\\script\\npc\\thirty_bytes__.lua";

const PlacementRecord kA = MakeRecord(2, "A", 1, 1, 1, 1, 0, 0, 0, 3);
const PlacementRecord kB = MakeRecord(3, "B", 2, 2, 2, 2, 0, 0, 0, 0, kScript30);
const PlacementRecord kC = MakeRecord(4, "C", 3, 3, 3, 3, 0, 0, 0, 0);

class DeleteTest : public EmptyMapFixture {
protected:
    void WriteRegion(const std::string& name, const std::vector<PlacementRecord>& records) {
        WriteFile(MapFile(name), tools::MakeRegionImage(kSeed, records));
    }
    std::string Image(const std::vector<PlacementRecord>& records) const {
        return tools::MakeRegionImage(kSeed, records);
    }
    // Selects the rows with these names and answers the question with yes.
    void DeleteRows(const std::vector<std::string>& names) {
        host.list.ClearSelection();
        for (int i = 0; i < host.list.RowCount(); ++i)
            for (const std::string& n : names)
                if (host.list.Cells(i)[COL_NAME] == n) host.list.SelectRow(i);
        host.answers.push_back(MessageAnswer::Yes);
        host.frameCaptions.clear();
        dlg->OnDelete();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int row = 0; row < host.list.RowCount(); ++row) out.push_back(host.list.CellText(row, COL_NAME));
        return out;
    }
};

TEST_F(DeleteTest, CutsRecordsOfBothLengths) {
    const struct {
        const char* name;
        std::vector<PlacementRecord> left;
        size_t shorter;
    } cases[] = {{"A", {kB, kC}, 61}, {"B", {kA, kC}, 90}, {"C", {kA, kB}, 61}};
    for (const auto& k : cases) {
        WriteRegion("a_S.DAT", {kA, kB, kC});
        SelectMap(0);
        DeleteRows({k.name});
        EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Image(k.left)) << k.name;
        EXPECT_EQ(ReadFile(MapFile("a_S.DAT")).size(), Image({kA, kB, kC}).size() - k.shorter);
        EXPECT_EQ(host.ItemText(IDC_HINT), std::string("删除NPC[") + k.name + "]成功!");
    }
}

TEST_F(DeleteTest, QuestionAndCaptions) {
    WriteRegion("a_S.DAT", {kA, kB, kC});
    SelectMap(0);
    DeleteRows({"A", "C"});

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "删除操作将直接操作文件,不可恢复.确定要从地图里删除选定的NPC么?");
    EXPECT_EQ(host.messages[0].caption, "从地图里移出NPC");
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Question);
    // Two rows of one file: the file rewritten twice.
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Image({kB}));
    EXPECT_EQ(Names(), std::vector<std::string>{"B"});
    EXPECT_EQ(host.frameCaptions, (std::vector<std::string>{
                                      "选择删除[2]条,实际完成[2]条!",
                                      "NPC删除完成!正在重新计算NPC信息,现有NPC信息[2]条!",
                                      "NPC删除完成!正在重新计算NPC信息,现有NPC信息[1]条!",
                                      "现有NPC配置信息[1]条!"}));
}

TEST_F(DeleteTest, RowsOfSeveralFiles) {
    WriteRegion("a_S.DAT", {kA, kB});
    WriteRegion("sub/b_S.DAT", {kC, kA});
    SelectMap(0);
    ASSERT_EQ(Names(), (std::vector<std::string>{"A", "C", "B", "A"}));
    // Both rows named A are selected: each removes the A of its own file.
    DeleteRows({"A", "C"});
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Image({kB}));
    EXPECT_EQ(ReadFile(MapFile("sub/b_S.DAT")), Image({}));
    EXPECT_EQ(Names(), std::vector<std::string>{"B"});
}

TEST_F(DeleteTest, DuplicateKeysRemoveTheFirstInFileOrder) {
    const PlacementRecord first = MakeRecord(5, "first", 10, 1, 20, 2, 0, 0, 0, 3);
    const PlacementRecord second = MakeRecord(5, "second", 10, 1, 20, 2, 0, 0, 0, 4);
    WriteRegion("a_S.DAT", {first, kC, second});
    SelectMap(0);
    DeleteRows({"second"});
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Image({kC, second}));
    EXPECT_EQ(host.ItemText(IDC_HINT), "删除NPC[first]成功!");
    EXPECT_EQ(Names(), (std::vector<std::string>{"C", "first"}));
}

TEST_F(DeleteTest, NoSelectionAndAnswerNo) {
    WriteRegion("a_S.DAT", {kA, kB, kC});
    const std::string image = ReadFile(MapFile("a_S.DAT"));
    SelectMap(0);

    DeleteRows({});   // still asked; yes changes nothing
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), image);
    EXPECT_EQ(host.frameCaptions,
              (std::vector<std::string>{"选择删除[0]条,实际完成[0]条!", "现有NPC配置信息[3]条!"}));

    host.list.ClickOnly(0);
    host.frameCaptions.clear();
    host.answers.push_back(MessageAnswer::No);
    dlg->OnDelete();
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), image);
    EXPECT_EQ(host.list.RowCount(), 3);
    EXPECT_TRUE(host.frameCaptions.empty());
}

// A record that could not be removed keeps its row, still selected: the operator must not
// believe an NPC is gone while the server still spawns it.
TEST_F(DeleteTest, RowsWhoseRecordStaysKeepTheirRowAndTheFirstFailureIsNamed) {
    WriteRegion("a_S.DAT", {kA, kB});
    WriteRegion("b_S.DAT", {kC});
    SelectMap(0);
    WriteRegion("a_S.DAT", {kB});          // A was removed elsewhere
    std::filesystem::remove(MapFile("b_S.DAT"));
    host.SetText(IDC_HINT, "before");

    host.list.ClearSelection();
    for (int i = 0; i < host.list.RowCount(); ++i)
        if (host.list.CellText(i, COL_NAME) != "B") host.list.SelectRow(i);
    host.answers.push_back(MessageAnswer::Yes);
    host.frameCaptions.clear();
    const std::optional<DeleteReport> report = dlg->OnDelete();

    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Image({kB}));
    EXPECT_EQ(host.frameCaptions.front(), "选择删除[2]条,实际完成[0]条!");
    EXPECT_EQ(host.frameCaptions.back(), "选择删除[2]条,实际完成[0]条!");
    // Rows top down: C (file b, gone), B, A (no longer in file a).
    EXPECT_EQ(Names(), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(host.list.SelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(host.ItemText(IDC_HINT).rfind("删除NPC[C]失败!", 0), 0u) << host.ItemText(IDC_HINT);

    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->selected, 2);
    EXPECT_EQ(report->removed, 0);
    ASSERT_EQ(report->rows.size(), 2u);
    EXPECT_EQ(report->rows[0].status, DeleteReport::RowStatus::FileUnreadable);
    EXPECT_EQ(report->rows[1].status, DeleteReport::RowStatus::NoMatchingRecord);
    EXPECT_EQ(report->rows[1].file, MapFile("a_S.DAT"));
}

// A file another writer holds longer than the delete waits: nothing written, and the hint says
// so rather than naming a temporary file that was never made.
TEST_F(DeleteTest, AFileAnotherWriterHoldsStaysAndIsNamed) {
    WriteRegion("a_S.DAT", {kA, kB});
    const std::string image = ReadFile(MapFile("a_S.DAT"));
    SelectMap(0);
    StepOptions options;
    options.lockWaitMilliseconds = 50;
    dlg->Document().SetStepOptions(options);
    const RegionWriteLock other(MapFile("a_S.DAT"), 0);
    ASSERT_TRUE(other.Held());

    DeleteRows({"B"});

    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), image);
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(host.ItemText(IDC_HINT).rfind("删除NPC[B]失败! ", 0), 0u) << host.ItemText(IDC_HINT);
    EXPECT_EQ(host.frameCaptions.back(), "选择删除[1]条,实际完成[0]条!");
}

TEST_F(DeleteTest, NotConfirmedReportsNothing) {
    WriteRegion("a_S.DAT", {kA});
    SelectMap(0);
    host.list.SelectOnly(0);
    host.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(dlg->OnDelete().has_value());
    EXPECT_EQ(host.list.RowCount(), 1);
}

TEST_F(DeleteTest, FailedRewriteLeavesFileByteIdentical) {
    WriteRegion("a_S.DAT", {kA, kB, kC});
    const std::string image = ReadFile(MapFile("a_S.DAT"));
    SelectMap(0);
    FailNextReplaceAfterBytesForTesting(2150);

    DeleteRows({"B"});

    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), image);
    EXPECT_EQ(host.ItemText(IDC_HINT), "删除地图NPC时建立临时文件失败!NPC未删除!");
    EXPECT_EQ(host.frameCaptions.front(), "选择删除[1]条,实际完成[0]条!");
    // No temporary file is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(MapFile(""))) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(DeleteTest, RowBeingModifiedFollowsDeletions) {
    WriteRegion("a_S.DAT", {kA, kB, kC, MakeRecord(6, "D", 4, 4, 4, 4, 0, 0, 0, 0)});
    SelectMap(0);   // rows: D, C, B, A
    host.list.ClickOnly(2);
    dlg->BeginEdit();
    ASSERT_EQ(dlg->EditRow(), 2);

    DeleteRows({"D"});
    EXPECT_EQ(dlg->EditRow(), 1);
    EXPECT_EQ(dlg->EditMode(), EDIT_MODIFY);   // deleting does not touch the edit state

    // The refreshed row after a save is still B's.
    host.SetText(IDC_NAME, "B2");
    dlg->OnSave();
    EXPECT_EQ(Names(), (std::vector<std::string>{"C", "B2", "A"}));

    host.list.ClickOnly(1);
    dlg->BeginEdit();
    DeleteRows({"B2"});
    EXPECT_EQ(dlg->EditRow(), -1);
    // Its record is gone: the save finds nothing and changes nothing.
    const std::string image = ReadFile(MapFile("a_S.DAT"));
    dlg->OnSave();
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), image);
    EXPECT_EQ(Names(), (std::vector<std::string>{"C", "A"}));
}

// A selection of thousands of rows: every file rewritten once, progress in the frame while it
// works, the texts that stay in view as a row-by-row delete leaves them, the rows whose record
// stayed still listed and selected, and one undo for all of it.
TEST_F(DeleteTest, ThousandsOfRowsAtOnceShowProgressAndEndAsRowByRow) {
    std::vector<std::vector<PlacementRecord>> files(3);
    for (int i = 0; i < 1800; ++i)
        files[static_cast<size_t>(i % 3)].push_back(
            MakeRecord(2 + i % 30, "n" + std::to_string(i), i % 1000, i % 7, i % 500, i % 5, 0, 0, 0, i % 25,
                       i % 4 == 0 ? kScript30 : std::string()));
    for (size_t f = 0; f < files.size(); ++f) WriteRegion("f" + std::to_string(f) + "_S.DAT", files[f]);
    const std::string before2 = ReadFile(MapFile("f2_S.DAT"));
    SelectMap(0);
    ASSERT_EQ(host.list.RowCount(), 1800);
    // File f1 loses one of its records elsewhere: that row stays.
    std::vector<PlacementRecord> f1 = files[1];
    const std::string lost = std::string(f1[7].block.Name());
    f1.erase(f1.begin() + 7);
    WriteRegion("f1_S.DAT", f1);

    host.list.ClearSelection();
    for (int row = 0; row < host.list.RowCount(); ++row) host.list.SelectRow(row);
    host.answers.push_back(MessageAnswer::Yes);
    host.frameCaptions.clear();
    const std::optional<DeleteReport> report = dlg->OnDelete();
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->selected, 1800);
    EXPECT_EQ(report->removed, 1799);

    EXPECT_EQ(ReadFile(MapFile("f0_S.DAT")), Image({}));
    EXPECT_EQ(ReadFile(MapFile("f1_S.DAT")), Image({}));
    EXPECT_EQ(ReadFile(MapFile("f2_S.DAT")), Image({}));
    EXPECT_EQ(Names(), std::vector<std::string>{lost});
    EXPECT_EQ(host.list.SelectedRows(), std::vector<int>{0});
    // Progress first (the load's caption, in hundredths), then the counts.
    ASSERT_GE(host.frameCaptions.size(), 3u);
    EXPECT_EQ(host.frameCaptions.front(), "进度[]");
    EXPECT_NE(std::find(host.frameCaptions.begin(), host.frameCaptions.end(), "进度[100]"), host.frameCaptions.end());
    EXPECT_EQ(host.frameCaptions.back(), "选择删除[1800]条,实际完成[1799]条!");
    EXPECT_EQ(host.ItemText(IDC_HINT).rfind("删除NPC[" + lost + "]失败!", 0), 0u) << host.ItemText(IDC_HINT);

    // One undo takes the whole delete back.
    ASSERT_TRUE(dlg->OnUndo());
    EXPECT_EQ(ReadFile(MapFile("f2_S.DAT")), before2);
    EXPECT_EQ(ReadFile(MapFile("f1_S.DAT")), Image(f1));
    EXPECT_EQ(host.list.RowCount(), 1799);

    // Every row removed: the recount ends at the rows left, the last removed row is named.
    host.list.ClearSelection();
    for (int row = 0; row < host.list.RowCount(); ++row) host.list.SelectRow(row);
    host.answers.push_back(MessageAnswer::Yes);
    host.frameCaptions.clear();
    dlg->OnDelete();
    EXPECT_EQ(host.list.RowCount(), 0);
    EXPECT_EQ(host.frameCaptions.back(), "现有NPC配置信息[0]条!");
    EXPECT_EQ(host.frameCaptions[host.frameCaptions.size() - 2], "NPC删除完成!正在重新计算NPC信息,现有NPC信息[0]条!");
    EXPECT_EQ(host.ItemText(IDC_HINT), "删除NPC[n0]成功!") << "the bottom row, the last one asked";
}

}  // namespace
}  // namespace morvi::test
