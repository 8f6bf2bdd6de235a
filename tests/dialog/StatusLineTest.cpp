// The status strip's line after deletes and saves: the write it names, red when a selected
// record stayed, nothing when nothing was written.

#include <ctime>
#include <filesystem>

#include "DialogFixture.h"
#include "dialog/StatusLine.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

const PlacementRecord kA = MakeRecord(2, "A", 1, 1, 1, 1, 0, 0, 0, 3);
const PlacementRecord kB = MakeRecord(3, "B", 2, 2, 2, 2, 0, 0, 0, 0);
const PlacementRecord kC = MakeRecord(4, "C", 3, 3, 3, 3, 0, 0, 0, 0);

class StatusLineTest : public EmptyMapFixture {
protected:
    void SetUp() override {
        EmptyMapFixture::SetUp();
        WriteFile(MapFile("a_S.DAT"), tools::MakeRegionImage(3, {kA, kB}));
        WriteFile(MapFile("b_S.DAT"), tools::MakeRegionImage(4, {kC}));
        SelectMap(0);
    }
    StatusLine Delete(const std::vector<std::string>& names) {
        host.list.ClearSelection();
        for (int i = 0; i < host.list.RowCount(); ++i)
            for (const std::string& n : names)
                if (host.list.CellText(i, COL_NAME) == n) host.list.SelectRow(i);
        host.answers.push_back(MessageAnswer::Yes);
        return StatusAfterDelete(*dlg, dlg->OnDelete(), std::time(nullptr));
    }
};

TEST_F(StatusLineTest, DeletesNameTheirFilesAndWhatStayed) {
    struct Case {
        std::vector<std::string> names;
        bool removeFileB;           // b_S.DAT vanishes before the delete
        const char* filePart;        // the files and rows the line names; null: no line
        bool warning;
        const char* tail;
    };
    const Case cases[] = {
        {{"A"}, false, "maps\\map10\\a_S.DAT  1 行 (列表 2 行)", false, "行)"},
        {{"A", "C"}, false, "2 个文件  2 行 (列表 1 行)", false, "行)"},
        {{"B", "C"}, true, "maps\\map10\\a_S.DAT  1 行 (列表 2 行)", true, "  (1 行未删除)"},
        {{"C"}, true, nullptr, false, nullptr},   // nothing removed: the strip keeps its line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.size() == 1 ? c.names[0] : c.names[0] + "+" + c.names[1]);
        WriteFile(MapFile("a_S.DAT"), tools::MakeRegionImage(3, {kA, kB}));
        WriteFile(MapFile("b_S.DAT"), tools::MakeRegionImage(4, {kC}));
        SelectMap(0);
        if (c.removeFileB) std::filesystem::remove(MapFile("b_S.DAT"));
        const StatusLine line = Delete(c.names);
        if (!c.filePart) {
            EXPECT_TRUE(line.text.empty()) << line.text;
            continue;
        }
        ASSERT_GE(line.text.size(), 10u);
        EXPECT_EQ(line.text.substr(2, 1) + line.text.substr(5, 1), "::") << line.text;
        EXPECT_EQ(line.text.substr(8, 10), "  删除  ") << line.text;
        EXPECT_NE(line.text.find(c.filePart), std::string::npos) << line.text;
        EXPECT_EQ(line.text.substr(line.text.size() - std::string(c.tail).size()), c.tail) << line.text;
        EXPECT_EQ(line.warning, c.warning) << line.text;
    }
}

TEST_F(StatusLineTest, SavesNameTheirKindAndNothingWrittenSaysNothing) {
    // Modify: the kind is taken before the save ends the editing state.
    host.list.SelectOnly(0);
    dlg->BeginEdit();
    SaveKind kind = KindOfNextSave(*dlg);
    EXPECT_EQ(kind.mode, EDIT_MODIFY);
    StatusLine line = StatusAfterSave(*dlg, dlg->OnSave(), kind, std::time(nullptr));
    EXPECT_NE(line.text.find("  修改  maps\\map10\\"), std::string::npos) << line.text;
    EXPECT_FALSE(line.warning);

    // Clone of the same row: an add that names itself as a clone, and warns of the shared key.
    host.list.SelectOnly(0);
    dlg->OnClone();
    kind = KindOfNextSave(*dlg);
    EXPECT_TRUE(kind.clone);
    line = StatusAfterSave(*dlg, dlg->OnSave(), kind, std::time(nullptr));
    EXPECT_NE(line.text.find("  复制为新NPC  "), std::string::npos) << line.text;
    EXPECT_EQ(line.text.rfind("注意: ", 0), 0u) << line.text;
    EXPECT_TRUE(line.warning);

    // A save while idle writes nothing.
    kind = KindOfNextSave(*dlg);
    line = StatusAfterSave(*dlg, dlg->OnSave(), kind, std::time(nullptr));
    EXPECT_TRUE(line.text.empty()) << line.text;
}

}  // namespace
}  // namespace morvi::test
