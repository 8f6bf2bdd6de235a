// The window's writes through the change history: one step per user action, undo and redo of
// this window's steps byte for byte, refusals that write nothing, and outside changes noticed.

#include "DialogFixture.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

constexpr uint32_t kSeed = 33;
const PlacementRecord kA = MakeRecord(2, "A", 1, 1, 1, 1, 0, 0, 0, 3);
const PlacementRecord kB = MakeRecord(3, "B", 2, 2, 2, 2, 0, 0, 0, 0, "\\script\\npc\\b.lua");
const PlacementRecord kC = MakeRecord(4, "C", 3, 3, 3, 3, 0, 0, 0, 0);

class UndoTest : public EmptyMapFixture {
protected:
    void SetUp() override {
        EmptyMapFixture::SetUp();
        WriteFile(MapFile("a_S.DAT"), tools::MakeRegionImage(kSeed, {kA, kB}));
        WriteFile(MapFile("b_S.DAT"), tools::MakeRegionImage(kSeed, {kC}));
        original = {ReadFile(MapFile("a_S.DAT")), ReadFile(MapFile("b_S.DAT"))};
        SelectMap(0);
    }
    void DeleteRows(const std::vector<std::string>& names) {
        host.list.ClearSelection();
        for (int i = 0; i < host.list.RowCount(); ++i)
            for (const std::string& n : names)
                if (host.list.Cells(i)[COL_NAME] == n) host.list.SelectRow(i);
        host.answers.push_back(MessageAnswer::Yes);
        dlg->OnDelete();
    }
    std::vector<std::string> Files() const { return {ReadFile(MapFile("a_S.DAT")), ReadFile(MapFile("b_S.DAT"))}; }
    std::vector<std::string> original;
};

TEST_F(UndoTest, DeleteOfRowsInTwoFilesIsOneStepUndoneAndRedoneByteForByte) {
    DeleteRows({"A", "C"});
    const std::vector<std::string> deleted = Files();
    ASSERT_NE(deleted, original);
    const StepResult step = dlg->LastStep();
    EXPECT_EQ(step.WrittenCount(), 2);
    const std::vector<JournalEntry> entries = dlg->History().ReadAll();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].step, entries[1].step);
    EXPECT_EQ(entries[0].program, "window");
    EXPECT_EQ(entries[0].operation, "delete");
    EXPECT_NE(entries[0].file, entries[1].file);
    EXPECT_EQ(entries[0].file.rfind("maps/map10/", 0), 0u) << entries[0].file;

    ASSERT_TRUE(dlg->OnUndo());
    EXPECT_EQ(Files(), original);
    EXPECT_EQ(host.list.RowCount(), 3);   // the map was loaded again
    ASSERT_TRUE(dlg->OnRedo());
    EXPECT_EQ(Files(), deleted);
    EXPECT_EQ(host.list.RowCount(), 1);
    ASSERT_TRUE(dlg->OnUndo());
    EXPECT_EQ(Files(), original);
    EXPECT_FALSE(dlg->OnUndo());
    EXPECT_EQ(host.ItemText(IDC_HINT), "没有可撤销的修改!");
}

TEST_F(UndoTest, UndoIsRefusedWhenAnotherProgramChangedTheFile) {
    DeleteRows({"A"});
    const std::string outside = ReadFile(MapFile("a_S.DAT")) + "x";
    WriteFile(MapFile("a_S.DAT"), outside);
    EXPECT_FALSE(dlg->OnUndo());
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), outside);
    EXPECT_EQ(host.ItemText(IDC_HINT).rfind("撤销被拒绝,文件未改动!", 0), 0u) << host.ItemText(IDC_HINT);
    EXPECT_TRUE(dlg->CanUndo());
}

TEST_F(UndoTest, ChangeThatCannotBeRecordedIsNotWritten) {
    WriteFile(historyDir(), "a file where the history directory should be");
    dlg->SetHistoryDirectory(historyDir());
    DeleteRows({"A", "C"});
    EXPECT_EQ(Files(), original);
    EXPECT_EQ(host.list.RowCount(), 3);
    const std::string hint = host.ItemText(IDC_HINT);
    EXPECT_EQ(hint.rfind("无法记录修改历史,文件未改动!", 0), 0u) << hint;
    EXPECT_NE(hint.find(historyDir()), std::string::npos) << hint;
    EXPECT_FALSE(dlg->CanUndo());
}

TEST_F(UndoTest, DeleteNotesAFileChangedSinceTheLoad) {
    // Another program rewrites the file with the same records and one more byte of padding
    // elsewhere: the delete still finds its record by key, then says the file changed.
    WriteFile(MapFile("b_S.DAT"), tools::MakeRegionImage(kSeed, {kC, kA}));
    DeleteRows({"C"});
    EXPECT_EQ(ReadFile(MapFile("b_S.DAT")), tools::MakeRegionImage(kSeed, {kA}));
    ASSERT_EQ(dlg->ChangedSinceLoad().size(), 1u);
    // The file as the window names it (native separators).
    const std::string& changed = dlg->ChangedSinceLoad().front();
    EXPECT_NE(changed.find("b_S.DAT"), std::string::npos) << changed;
    EXPECT_EQ(host.ItemText(IDC_HINT), "地图文件" + changed + "在载入地图后已被其他程序修改,请重新载入地图!");
    // A delete of a file as loaded says nothing of the kind.
    SelectMap(0);
    DeleteRows({"B"});
    EXPECT_TRUE(dlg->ChangedSinceLoad().empty());
    EXPECT_EQ(host.ItemText(IDC_HINT), "删除NPC[B]成功!");
}

}  // namespace
}  // namespace morvi::test
