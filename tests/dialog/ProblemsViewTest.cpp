// The problems panel's behaviour: each kind of finding with its words and the list row it leads
// to, the safe fixes made as one step that one undo takes back, every map checked on a worker,
// and the watch of the loaded files (a change from outside is named, the window's own writes
// are not, and F5 keeps the user's place by key).

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "DialogFixture.h"
#include "dialog/DiskWatch.h"
#include "dialog/ProblemsView.h"
#include "texts/ProgramTexts.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

// Templates 1..39 are listed (the tree's table has 40 entries). Script paths are longer than
// 24 bytes, or they would be read as drop counts.
const PlacementRecord kA = MakeRecord(2, "A", 10, 1, 10, 1, 3, 1, 2, 3);
const PlacementRecord kB = MakeRecord(3, "B", 20, 2, 20, 2, 3, 1, 2, 4);
const PlacementRecord kC = MakeRecord(4, "C", 30, 3, 30, 3, 3, 1, 2, 5);
const PlacementRecord kD = MakeRecord(5, "D", 40, 4, 40, 4, 3, 1, 2, 6);
const PlacementRecord kA2 = MakeRecord(2, "A2", 10, 1, 10, 1, 3, 1, 2, 7);   // A's key
const PlacementRecord kTemplate0 = MakeRecord(0, "T0", 50, 0, 50, 0, 3, 1, 2, 0);
const PlacementRecord kTemplate40 = MakeRecord(40, "T40", 51, 0, 51, 0, 3, 1, 2, 0);
const PlacementRecord kFarX = MakeRecord(2, "FarX", 1000, 0, 60, 0, 3, 1, 2, 0);
const PlacementRecord kFarY = MakeRecord(2, "FarY", 60, 0, 500, 0, 3, 1, 2, 0);
const PlacementRecord kNoName = MakeRecord(2, "", 61, 0, 61, 0, 3, 1, 2, 0);
const PlacementRecord kMissing = MakeRecord(3, "M", 70, 0, 70, 0, 3, 1, 2, 0, "\\script\\npc\\gone_missing_file.lua");
const PlacementRecord kNoSlash = MakeRecord(3, "S", 71, 0, 71, 0, 3, 1, 2, 0, "script\\npc\\no_backslash_here.lua");

std::string Image(const std::vector<PlacementRecord>& records) { return tools::MakeRegionImage(31, records); }
std::string Bytes(const PlacementRecord& r) {
    std::string out;
    AppendPlacementBytes(out, r.block, r.script);
    return out;
}
size_t Offset(const std::vector<PlacementRecord>& records, size_t index) {
    size_t at = kFirstRecordOffset;
    for (size_t i = 0; i < index; ++i) at += PlacementLength(records[i].block);
    return at;
}

class ProblemsViewTest : public DialogFixture {
protected:
    void SetUp() override {
        tools::TreeShape shape;
        shape.maps = 2;
        shape.filesPerMap = 0;
        Open(shape);
    }
    std::string File(const std::string& map, const std::string& name) const {
        return NativeForm(server() + "/maps/" + map + "/" + name);
    }
    std::string FileA() const { return File("map10", "a_S.DAT"); }
    std::string FileB() const { return File("map10", "b_S.DAT"); }
    void Load() { SelectMap(0); }
    // The line about this code, or nullptr.
    const ProblemEntry* LineOf(const ProblemsView& view, FindingCode code, size_t* index = nullptr) const {
        for (size_t i = 0; i < view.Count(); ++i)
            if (!view.Entry(i).unreadable && view.Entry(i).finding.code == code) {
                if (index) *index = i;
                return &view.Entry(i);
            }
        return nullptr;
    }
    // The record of the only selected list row.
    std::string SelectedRecordBytes() const {
        const std::vector<int> rows = host.list.SelectedRows();
        if (rows.size() != 1) return "rows selected: " + std::to_string(rows.size());
        return Bytes(dlg->Rows().Record(dlg->ListRows().StoreRow(rows[0])));
    }
    void WaitForWorker(ProblemsView& view) {
        for (int i = 0; i < 2000 && view.Running(); ++i) {
            view.Poll();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        view.Poll();
    }
};

TEST_F(ProblemsViewTest, EachKindIsShownWithItsReasonFileOffsetAndRow) {
    struct Case {
        const char* name;
        std::vector<PlacementRecord> records;
        std::function<void(std::string&)> damage;   // of file a's image
        FindingCode code;
        size_t recordIndex;     // its offset is the record's (SIZE_MAX: the header's count)
        size_t into;            // bytes into the record (a script finding: its script length byte)
        bool listed;            // its row cell names a list row
        std::string reason;
    };
    const auto none = [](std::string&) {};
    const std::vector<Case> cases = {
        {"template 0", {kA, kTemplate0}, none, FindingCode::TemplateOutsideTable, 1, 0, false,
         "模板编号 0 不在模板表内 (列表只显示 1..39), 列表不显示此记录"},
        {"template beyond the table", {kTemplate40}, none, FindingCode::TemplateOutsideTable, 0, 0, false,
         "模板编号 40 不在模板表内 (列表只显示 1..39), 列表不显示此记录"},
        {"x too large", {kFarX}, none, FindingCode::HiddenRecord, 0, 0, false, "列表不显示此记录: X 不小于 1000"},
        {"y too large", {kFarY}, none, FindingCode::HiddenRecord, 0, 0, false, "列表不显示此记录: Y 不小于 500"},
        {"empty name", {kNoName}, none, FindingCode::HiddenRecord, 0, 0, false, "列表不显示此记录: 名称为空"},
        {"script missing", {kA, kMissing}, none, FindingCode::ScriptMissing, 1, 60, true,
         "脚本文件 \\script\\npc\\gone_missing_file.lua 在服务器目录下不存在"},
        {"script without backslash", {kNoSlash}, none, FindingCode::ScriptWithoutBackslash, 0, 60, true,
         "脚本路径 script\\npc\\no_backslash_here.lua 不以 \\ 开头"},
        {"duplicate key", {kA, kB, kA2}, none, FindingCode::DuplicateKey, 2, 0, true,
         "与偏移 2112 的记录键相同, 修改和删除只会找到前一条"},
        {"exact duplicate", {kA, kB, kA}, none, FindingCode::ExactDuplicate, 2, 0, true,
         "与 maps\\map10\\a_S.DAT:2112 的记录完全相同 (同一位置重复)"},
        {"count above the records", {kA, kB}, [](std::string& image) { image[2100] = 5; },
         FindingCode::CountMismatch, SIZE_MAX, 0, false, "NPC数量 5 与文件中的 2 条记录不符"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string image = Image(c.records);
        c.damage(image);
        WriteFile(FileA(), image);
        Load();
        ProblemsView view(*dlg, host);
        view.CheckLoadedMap();
        size_t index = 0;
        const ProblemEntry* line = LineOf(view, c.code, &index);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(view.Cell(index, ProblemsColumn::Reason), c.reason);
        EXPECT_EQ(view.Cell(index, ProblemsColumn::File), "maps\\map10\\a_S.DAT");
        EXPECT_EQ(view.Cell(index, ProblemsColumn::Map), "地图10");
        const size_t offset = c.recordIndex == SIZE_MAX ? 2100 : Offset(c.records, c.recordIndex) + c.into;
        EXPECT_EQ(view.Cell(index, ProblemsColumn::Offset), std::to_string(offset));
        EXPECT_EQ(!view.Cell(index, ProblemsColumn::Row).empty(), c.listed);
        EXPECT_NE(view.Status().find("1 个地图的 1 个文件"), std::string::npos) << view.Status();
    }
}

TEST_F(ProblemsViewTest, AClickSelectsThePlacementsRowWhereverTheListShowsIt) {
    const std::vector<PlacementRecord> records = {kA, kMissing, kB, kC, kTemplate0};
    WriteFile(FileA(), Image(records));
    WriteFile(FileB(), Image({kD, kMissing}));
    Load();
    ProblemsView view(*dlg, host);
    view.CheckLoadedMap();
    // Two lines about the same missing script: one in each file.
    std::vector<size_t> missing;
    for (size_t i = 0; i < view.Count(); ++i)
        if (view.Entry(i).finding.code == FindingCode::ScriptMissing) missing.push_back(i);
    ASSERT_EQ(missing.size(), 2u);

    struct Arrangement {
        const char* name;
        std::function<void()> arrange;
    };
    const std::vector<Arrangement> arrangements = {
        {"file order", [] {}},
        {"sorted by name, descending", [&] {
             dlg->OnHeadingClick(0);
             dlg->OnHeadingClick(0);
         }},
        {"narrowed", [&] { dlg->OnListFilterChanged("name:M"); }},
    };
    for (const Arrangement& a : arrangements) {
        SCOPED_TRACE(a.name);
        a.arrange();
        for (size_t i : missing) {
            EXPECT_EQ(view.OnActivate(i), ProblemsView::Shown::Selected);
            EXPECT_EQ(SelectedRecordBytes(), Bytes(kMissing));
            const int storeRow = dlg->ListRows().StoreRow(host.list.SelectedRows()[0]);
            EXPECT_EQ(dlg->Rows().File(storeRow), view.Entry(i).finding.file);
            // The row cell names the list row as the user sees it, counted from 1.
            EXPECT_EQ(view.Cell(i, ProblemsColumn::Row), std::to_string(host.list.SelectedRows()[0] + 1));
            EXPECT_EQ(host.list.topRow, host.list.SelectedRows()[0]);
        }
    }
    // A record the list hides, and a row the filter hides.
    size_t hidden = 0;
    ASSERT_NE(LineOf(view, FindingCode::TemplateOutsideTable, &hidden), nullptr);
    EXPECT_EQ(view.OnActivate(hidden), ProblemsView::Shown::NotListed);
    dlg->OnListFilterChanged("name:B");
    EXPECT_EQ(view.OnActivate(missing[0]), ProblemsView::Shown::FilteredOut);
    EXPECT_EQ(view.Status(), "这条记录被列表的筛选条件隐藏");
    EXPECT_TRUE(host.misuses.empty());
}

TEST_F(ProblemsViewTest, EachFixIsOneStepThatOneUndoTakesBack) {
    PlacementRecord hiddenTwin = kA;   // A's key and bytes but no name: hidden
    hiddenTwin.block.name[0] = 0;
    struct Case {
        const char* name;
        std::vector<PlacementRecord> records;
        FindingCode code;
        std::string fixText;
        std::vector<PlacementRecord> after;
    };
    const std::vector<Case> cases = {
        {"exact duplicate", {kA, kB, kA, kC}, FindingCode::ExactDuplicate, "删除重复的记录", {kA, kB, kC}},
        {"template 0", {kA, kTemplate0, kB}, FindingCode::TemplateOutsideTable, "删除隐藏的记录", {kA, kB}},
        {"x too large", {kFarX, kA}, FindingCode::HiddenRecord, "删除隐藏的记录", {kA}},
        {"hidden twin of a listed record", {kA, hiddenTwin, kB}, FindingCode::HiddenRecord, "删除隐藏的记录", {kA, kB}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = Image(c.records);
        WriteFile(FileA(), before);
        Load();
        ProblemsView view(*dlg, host);
        view.CheckLoadedMap();
        size_t index = 0;
        ASSERT_NE(LineOf(view, c.code, &index), nullptr);
        EXPECT_EQ(view.FixText(index), c.fixText);
        ASSERT_TRUE(view.CanFix(index));

        // Said no: nothing written.
        host.answers.push_back(MessageAnswer::No);
        EXPECT_FALSE(view.OnFix(index));
        EXPECT_EQ(ReadFile(FileA()), before);

        // The user's selected row stays selected through the fix's reload.
        host.list.SelectOnly(0);
        const std::string selected = SelectedRecordBytes();
        host.answers.push_back(MessageAnswer::Yes);
        ASSERT_TRUE(view.OnFix(index));
        EXPECT_EQ(host.messages.back().caption, "从地图里移出NPC");
        EXPECT_EQ(ReadFile(FileA()), Image(c.after));
        EXPECT_EQ(dlg->Rows().Count(), static_cast<int>(c.after.size()));
        EXPECT_EQ(SelectedRecordBytes(), selected);
        EXPECT_EQ(LineOf(view, c.code), nullptr) << "the panel was checked again";
        EXPECT_EQ(host.Hint(), "已删除 1 条记录 (Ctrl+Z 撤销)");

        // One undo restores the file byte for byte; the panel shows the finding again.
        ASSERT_TRUE(dlg->OnUndo());
        EXPECT_EQ(ReadFile(FileA()), before);
        EXPECT_TRUE(view.Poll());
        EXPECT_NE(LineOf(view, c.code), nullptr);
        while (dlg->CanUndo()) dlg->OnUndo();
    }
    EXPECT_TRUE(host.misuses.empty());
}

TEST_F(ProblemsViewTest, AFixOfAFileChangedSinceTheCheckIsRefusedAndWritesNothing) {
    WriteFile(FileA(), Image({kA, kTemplate0, kB}));
    Load();
    ProblemsView view(*dlg, host);
    view.CheckLoadedMap();
    size_t index = 0;
    ASSERT_NE(LineOf(view, FindingCode::TemplateOutsideTable, &index), nullptr);
    const std::string changed = Image({kA, kB, kC});   // another program took the record away
    WriteFile(FileA(), changed);
    host.answers.push_back(MessageAnswer::Yes);
    EXPECT_FALSE(view.OnFix(index));
    EXPECT_EQ(ReadFile(FileA()), changed);
    EXPECT_EQ(view.Status(), "未删除: 文件已改变, 请重新检查 (maps\\map10\\a_S.DAT)");
    EXPECT_FALSE(dlg->CanUndo());
}

TEST_F(ProblemsViewTest, EveryMapIsCheckedOnAWorkerAndAClickLoadsTheOtherMap) {
    WriteFile(FileA(), Image({kA, kTemplate0}));
    WriteFile(File("map17", "x/c_S.DAT"), Image({kB, kMissing, kB}));
    Load();
    ProblemsView view(*dlg, host);
    view.StartEveryMap();
    WaitForWorker(view);
    ASSERT_FALSE(view.Running());
    // Map by map in the map list's order.
    std::vector<std::string> maps;
    for (size_t i = 0; i < view.Count(); ++i) maps.push_back(view.Cell(i, ProblemsColumn::Map));
    EXPECT_EQ(maps, (std::vector<std::string>{"地图10", "地图17", "地图17"}));
    EXPECT_EQ(view.Status(), "3 个问题, 检查了 2 个地图的 2 个文件");
    // A fix is made only on the loaded map.
    size_t duplicate = 0;
    ASSERT_NE(LineOf(view, FindingCode::ExactDuplicate, &duplicate), nullptr);
    EXPECT_FALSE(view.CanFix(duplicate));

    size_t missing = 0;
    ASSERT_NE(LineOf(view, FindingCode::ScriptMissing, &missing), nullptr);
    EXPECT_EQ(view.OnActivate(missing), ProblemsView::Shown::Selected);
    EXPECT_EQ(host.ListBoxSelection(IDC_MAP_LIST), 1);
    EXPECT_EQ(dlg->Document().MapName(), "地图17");
    EXPECT_EQ(SelectedRecordBytes(), Bytes(kMissing));
    // The other map's lines stay; the duplicate can now be fixed.
    EXPECT_EQ(view.Count(), 3u);
    ASSERT_NE(LineOf(view, FindingCode::ExactDuplicate, &duplicate), nullptr);
    EXPECT_TRUE(view.CanFix(duplicate));
}

TEST_F(ProblemsViewTest, CancelStopsTheWorkerAndKeepsWhatItFound) {
    for (int f = 0; f < 40; ++f) WriteFile(File("map17", "f" + std::to_string(f) + "_S.DAT"), Image({kA, kA}));
    WriteFile(FileA(), Image({kA, kA}));
    Load();
    ProblemsView view(*dlg, host);
    view.StartEveryMap();
    view.Cancel();
    EXPECT_FALSE(view.Running());
    EXPECT_NE(view.Status().find("个问题"), std::string::npos) << view.Status();
    // Started again it finishes.
    view.StartEveryMap();
    WaitForWorker(view);
    // An exact duplicate in every file but the first: the copies of the map's first record.
    EXPECT_EQ(view.Count(), 1u + 79u);
}

// --- files changed on disk -------------------------------------------------------------------

TEST_F(ProblemsViewTest, AChangeFromOutsideIsNamedTheWindowsOwnWritesAreNot) {
    WriteFile(FileA(), Image({kA, kB}));
    WriteFile(FileB(), Image({kC}));
    Load();
    DiskWatch watch(*dlg);
    EXPECT_FALSE(watch.Tick().has_value());

    // The window's own writes: a modify, a delete, an undo.
    host.list.SelectOnly(dlg->ListRows().ViewRow(0));
    dlg->OnListDblClk();
    host.SetText(IDC_NAME, "Cnew");
    ASSERT_TRUE(dlg->OnSave().Written());
    EXPECT_FALSE(watch.Tick().has_value());
    ASSERT_TRUE(dlg->OnUndo());
    EXPECT_FALSE(watch.Tick().has_value());

    // Another program appends a record to file b.
    WriteFile(FileB(), Image({kC, kD}));
    const std::optional<StatusLine> line = watch.Tick();
    ASSERT_TRUE(line.has_value());
    EXPECT_TRUE(line->warning);
    EXPECT_EQ(line->text, "maps\\map10\\b_S.DAT 已被其他程序修改 — 按 F5 重新读取");
    EXPECT_FALSE(watch.Tick().has_value()) << "said once";
    // Two files.
    WriteFile(FileA(), Image({kA}));
    ASSERT_TRUE(watch.Tick().has_value());
    EXPECT_EQ(watch.Changed().size(), 2u);
    EXPECT_EQ(ChangedOnDiskText(watch.Changed(), server()),
              "maps\\map10\\a_S.DAT 等 2 个文件已被其他程序修改 — 按 F5 重新读取");

    // F5: read again, nothing left to report.
    EXPECT_EQ(watch.Reload().text, "已重新读取地图: 3 行");
    EXPECT_FALSE(watch.Tick().has_value());
    EXPECT_TRUE(watch.Changed().empty());
}

TEST_F(ProblemsViewTest, ASaveOntoAFileChangedOutsideSaysSoAndTheWatchKeepsNamingIt) {
    WriteFile(FileA(), Image({kA, kB}));
    Load();
    DiskWatch watch(*dlg);
    WriteFile(FileA(), Image({kD, kA, kB}));   // another program put D first
    // The save finds B by its key in the file as it is now and writes onto that content.
    host.list.SelectOnly(dlg->ListRows().ViewRow(0));
    dlg->OnListDblClk();
    host.SetText(IDC_NAME, "Bnew");
    ASSERT_TRUE(dlg->OnSave().Written());
    EXPECT_NE(host.Hint().find("在载入地图后已被其他程序修改"), std::string::npos) << host.Hint();
    PlacementRecord bNew = kB;
    bNew.block = dlg->Rows().Block(0);
    EXPECT_EQ(ReadFile(FileA()), Image({kD, kA, bNew}));
    // The rows still lack D: the file stays named until F5.
    const std::optional<StatusLine> line = watch.Tick();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(watch.Changed(), std::vector<std::string>{FileA()});
}

TEST_F(ProblemsViewTest, F5KeepsTheSelectionFocusAndEditAreaByKey) {
    WriteFile(FileA(), Image({kA, kB, kC}));
    WriteFile(FileB(), Image({kA2}));
    Load();
    DiskWatch watch(*dlg);
    const auto viewRowOf = [&](const PlacementRecord& r) {
        for (int row = 0; row < dlg->Rows().Count(); ++row)
            if (Bytes(dlg->Rows().Record(row)) == Bytes(r)) return dlg->ListRows().ViewRow(row);
        return -1;
    };
    // Modify B; select B and C; the list sorted by name.
    dlg->OnHeadingClick(0);
    host.list.SelectOnly(viewRowOf(kB));
    dlg->OnListDblClk();
    host.SetText(IDC_NAME, "typed, not saved");
    host.list.SelectOnly(viewRowOf(kB));
    host.list.SelectRow(viewRowOf(kC));
    host.list.focusedRow = viewRowOf(kC);

    struct Change {
        const char* name;
        std::vector<PlacementRecord> fileA;
        std::vector<std::string> selected;   // names of the rows selected after F5
        bool editRowKept;
    };
    const std::vector<Change> changes = {
        {"records put before them", {kD, kTemplate0, kA, kB, kC}, {"B", "C"}, true},
        {"their order turned round", {kC, kB, kA, kD}, {"B", "C"}, true},
        {"C gone", {kB, kA}, {"B"}, true},
        {"B gone too", {kA}, {}, false},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        WriteFile(FileA(), Image(c.fileA));
        watch.Reload();
        std::vector<std::string> names;
        for (int row : host.list.SelectedRows()) names.push_back(host.list.CellText(row, 0));
        EXPECT_EQ(names, c.selected);
        EXPECT_EQ(dlg->EditMode(), EDIT_MODIFY);
        EXPECT_EQ(host.ItemText(IDC_NAME), "typed, not saved");
        if (c.editRowKept) {
            ASSERT_GE(dlg->EditRow(), 0);
            EXPECT_EQ(Bytes(dlg->Rows().Record(dlg->EditRow())), Bytes(kB));
        } else {
            EXPECT_EQ(dlg->EditRow(), -1);
        }
        if (!c.selected.empty() && c.selected.back() == "C")
            EXPECT_EQ(host.list.CellText(host.list.focusedRow, 0), "C");
        EXPECT_EQ(dlg->ListRows().SortColumn(), 0);
    }
    EXPECT_TRUE(host.misuses.empty());
}

TEST_F(ProblemsViewTest, F5WithAnotherMapSelectedLoadsThatMap) {
    WriteFile(FileA(), Image({kA}));
    WriteFile(File("map17", "c_S.DAT"), Image({kB, kC}));
    Load();
    host.SelectListBox(IDC_MAP_LIST, 1);
    DiskWatch watch(*dlg);
    EXPECT_EQ(watch.Reload().text, "已重新读取地图: 2 行");
    EXPECT_EQ(dlg->Document().MapName(), "地图17");
}

}  // namespace
}  // namespace morvi::test
