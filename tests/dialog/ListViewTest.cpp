// The placement list sorted by a heading and narrowed by the filter field: the order of the
// rows shown, file order restored, and every operation acting on the placements behind the
// rows shown, never on their positions.

#include <algorithm>

#include "DialogFixture.h"
#include "dialog/PlacementRowView.h"
#include "dialog/StatusLine.h"
#include "document/PlacementRows.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

constexpr uint32_t kSeed = 7;

// --- the view over a store ---------------------------------------------------------------------

struct Row {
    const char* name;
    int x;
    int drop;          // -1: a script record
};

// Rows inserted so that store row i is rows[i] (the store shows the last inserted on top).
PlacementRowStore StoreOf(const std::vector<Row>& rows) {
    PlacementRowStore store;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const bool script = it->drop < 0;
        store.InsertTop("/m/a_S.DAT", MakeRecord(1, it->name, it->x, 0, 10, 0, 0, 0, 0, script ? 0 : it->drop,
                                                 script ? "\\script\\long_enough_path_here.lua" : ""));
    }
    return store;
}

std::vector<std::string> Names(const PlacementRowView& view) {
    std::vector<std::string> names;
    for (int row = 0; row < view.Count(); ++row) names.push_back(view.CellText(row, COL_NAME));
    return names;
}

const std::vector<Row> kRows = {
    {"delta", 30, 2}, {"Alpha", 100, -1}, {"charlie", 9, 2}, {"bravo", 100, 0}, {"alpha", 30, 5},
};

TEST(PlacementRowViewTest, HeadingClicksSortNumbersAndTextsStablyThenRestoreFileOrder) {
    const PlacementRowStore store = StoreOf(kRows);
    const std::vector<std::string> fileOrder = {"delta", "Alpha", "charlie", "bravo", "alpha"};
    const struct {
        int column;
        int clicks;
        std::vector<std::string> expected;
    } cases[] = {
        // 9 < 30 < 100 as numbers (not "100" < "30" < "9"); equal values keep file order.
        {COL_POS_X, 1, {"charlie", "delta", "alpha", "Alpha", "bravo"}},
        // Reversed, and ties still in file order.
        {COL_POS_X, 2, {"Alpha", "bravo", "delta", "alpha", "charlie"}},
        {COL_POS_X, 3, fileOrder},
        // Texts without regard to ASCII case; "Alpha" and "alpha" tie and keep file order.
        {COL_NAME, 1, {"Alpha", "alpha", "bravo", "charlie", "delta"}},
        {COL_NAME, 2, {"delta", "charlie", "bravo", "Alpha", "alpha"}},
        // A script record shows no drop count: the empty cell comes first.
        {COL_DROP, 1, {"Alpha", "bravo", "delta", "charlie", "alpha"}},
        {COL_DROP, 4, {"Alpha", "bravo", "delta", "charlie", "alpha"}},   // a fourth click starts over
    };
    for (const auto& c : cases) {
        PlacementRowView view(store);
        for (int i = 0; i < c.clicks; ++i) view.ClickHeading(c.column);
        EXPECT_EQ(Names(view), c.expected) << c.column << " x" << c.clicks;
        EXPECT_EQ(view.Identity(), c.clicks % 3 == 0 && c.clicks != 0 && c.clicks != 4) << c.column;
    }
}

TEST(PlacementRowViewTest, AnotherHeadingStartsAscendingAndRowsMapBothWays) {
    const PlacementRowStore store = StoreOf(kRows);
    PlacementRowView view(store);
    view.ClickHeading(COL_POS_X);
    view.ClickHeading(COL_POS_X);   // descending by x
    view.ClickHeading(COL_NAME);    // another column: ascending by name
    EXPECT_EQ(view.Direction(), SortDirection::Ascending);
    EXPECT_EQ(view.SortColumn(), COL_NAME);
    for (int row = 0; row < view.Count(); ++row) {
        const int storeRow = view.StoreRow(row);
        EXPECT_EQ(view.ViewRow(storeRow), row);
        EXPECT_EQ(store.CellText(storeRow, COL_NAME), view.CellText(row, COL_NAME));
    }
    EXPECT_EQ(view.StoreRow(-1), -1);
    EXPECT_EQ(view.StoreRow(view.Count()), -1);
}

// --- the window's list -------------------------------------------------------------------------

const PlacementRecord kA = MakeRecord(2, "A", 300, 1, 40, 1, 0, 0, 0, 3);      // Enemy
const PlacementRecord kB = MakeRecord(3, "B", 100, 2, 20, 2, 3, 0, 0, 1);      // TalkNPC
const PlacementRecord kC = MakeRecord(4, "C", 200, 3, 60, 3, 0, 0, 0, 2);      // Enemy
const PlacementRecord kD = MakeRecord(5, "D", 100, 4, 80, 4, 5, 0, 0, 4);      // NPC(Ground)

class ListViewTest : public EmptyMapFixture {
protected:
    void SetUp() override {
        EmptyMapFixture::SetUp();
        WriteFile(MapFile("a_S.DAT"), tools::MakeRegionImage(kSeed, {kA, kB, kC, kD}));
        SelectMap(0);   // the list shows D, C, B, A from the top
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> out;
        for (int row = 0; row < host.list.RowCount(); ++row) out.push_back(host.list.CellText(row, COL_NAME));
        return out;
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
    std::vector<std::string> SelectedNames() const {
        std::vector<std::string> out;
        for (int row : host.list.SelectedRows()) out.push_back(host.list.CellText(row, COL_NAME));
        return out;
    }
    std::string FileNow() const { return ReadFile(MapFile("a_S.DAT")); }
};

TEST_F(ListViewTest, SortKeepsTheSelectionOnItsPlacementsAndTheThirdClickRestoresFileOrder) {
    ASSERT_EQ(Shown(), (std::vector<std::string>{"D", "C", "B", "A"}));
    Select({"C", "A"});
    dlg->OnHeadingClick(COL_POS_X);   // 100 D, 100 B (file order among ties), 200 C, 300 A
    EXPECT_EQ(Shown(), (std::vector<std::string>{"D", "B", "C", "A"}));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"C", "A"}));
    dlg->OnHeadingClick(COL_POS_X);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"A", "C", "D", "B"}));
    dlg->OnHeadingClick(COL_POS_X);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"D", "C", "B", "A"}));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"C", "A"}));
    EXPECT_TRUE(host.misuses.empty());
}

TEST_F(ListViewTest, EditCloneAndDeleteActOnThePlacementShownNotOnThePosition) {
    dlg->OnHeadingClick(COL_POS_Y);
    dlg->OnHeadingClick(COL_POS_Y);   // by y, descending: D 80, C 60, A 40, B 20
    ASSERT_EQ(Shown(), (std::vector<std::string>{"D", "C", "A", "B"}));

    // Editing the third row shown edits A (store row 3), not store row 2 (B).
    host.list.SelectOnly(2);
    dlg->OnModify();
    EXPECT_EQ(host.ItemText(IDC_NAME), "A");
    EXPECT_EQ(host.ItemText(IDC_POS_X), "300");
    host.SetText(IDC_POS_Y, "10");   // A moves to the bottom of the sorted list
    ASSERT_TRUE(dlg->OnSave().Written());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"D", "C", "B", "A"}));
    EXPECT_EQ(host.list.CellText(3, COL_POS_Y), "10");

    // The clone of the second row shown copies C.
    host.list.SelectOnly(1);
    dlg->OnClone();
    EXPECT_EQ(host.ItemText(IDC_NAME), "C");
    dlg->OnCancelEdit();

    // Deleting the first row shown deletes D's record.
    host.list.SelectOnly(0);
    host.answers.push_back(MessageAnswer::Yes);
    dlg->OnDelete();
    EXPECT_EQ(FileNow(), tools::MakeRegionImage(kSeed, {MakeRecord(2, "A", 300, 1, 10, 1, 0, 0, 0, 3), kB, kC}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_TRUE(host.misuses.empty());
}

TEST_F(ListViewTest, FilterNarrowsTheListAndAMalformedTermIsNamedNotAnEmptyList) {
    dlg->OnListFilterChanged("x:100");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"D", "B"}));
    EXPECT_EQ(dlg->ListStatus().text, "显示 2 / 4 行");
    EXPECT_FALSE(dlg->ListStatus().warning);

    // A term the language does not know: the list keeps what it showed, the status names it.
    dlg->OnListFilterChanged("x:100 colour:red");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"D", "B"}));
    const CPlacementDlg::ListStatusLine bad = dlg->ListStatus();
    EXPECT_TRUE(bad.warning);
    EXPECT_NE(bad.text.find("colour:red"), std::string::npos) << bad.text;

    // Search walks the rows shown: the first hit with x 100 from the top is D, the next B.
    host.SetText(IDC_FIND_X, "100");
    dlg->OnFindFirst();
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"D"}));
    dlg->OnFindNext();
    EXPECT_EQ(host.list.CellText(dlg->SearchPos(), COL_NAME), "B");

    dlg->OnListFilterChanged("");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"D", "C", "B", "A"}));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"D", "B"}));
    EXPECT_EQ(dlg->ListStatus().text.rfind("显示 4 / 4 行", 0), 0u);
}

TEST_F(ListViewTest, AnEditThatLeavesTheFilterTakesTheRowOutOfTheList) {
    dlg->OnListFilterChanged("x:100-200");
    ASSERT_EQ(Shown(), (std::vector<std::string>{"D", "C", "B"}));
    host.list.SelectOnly(RowNamed("C"));
    dlg->OnModify();
    host.SetText(IDC_POS_X, "250");
    ASSERT_TRUE(dlg->OnSave().Written());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"D", "B"}));
    // A new placement that matches joins the list at once.
    host.SelectListBox(IDC_TEMPLATE_LIST, 0);
    dlg->OnAdd();
    host.SetText(IDC_POS_X, "150");
    host.SetText(IDC_POS_Y, "5");
    host.SetText(IDC_OFFSET_X, "0");
    host.SetText(IDC_OFFSET_Y, "0");
    ASSERT_TRUE(dlg->OnSave().Written());
    EXPECT_EQ(Shown().size(), 3u);
    EXPECT_EQ(host.list.CellText(0, COL_POS_X), "150");
    EXPECT_TRUE(host.misuses.empty());
}

TEST_F(ListViewTest, UndoAndRedoKeepTheSortAndTheStatusStripDescribesThem) {
    dlg->OnHeadingClick(COL_NAME);
    Select({"B", "C"});
    host.answers.push_back(MessageAnswer::Yes);
    dlg->OnDelete();
    ASSERT_EQ(Shown(), (std::vector<std::string>{"A", "D"}));
    ASSERT_TRUE(dlg->OnUndo());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"A", "B", "C", "D"}));
    const StatusLine undone = StatusAfterStepBack(*dlg, true, 0);
    EXPECT_NE(undone.text.find("撤销"), std::string::npos) << undone.text;
    EXPECT_NE(undone.text.find("1 个文件"), std::string::npos) << undone.text;
    ASSERT_TRUE(dlg->OnRedo());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"A", "D"}));
    EXPECT_NE(StatusAfterStepBack(*dlg, false, 0).text.find("重做"), std::string::npos);
    // Nothing left to redo: nothing to describe, the strip keeps what it says.
    EXPECT_FALSE(dlg->OnRedo());
    EXPECT_TRUE(StatusAfterStepBack(*dlg, false, 0).text.empty());
}

TEST_F(ListViewTest, StatusCountsTheSelectionByType) {
    const struct {
        std::vector<std::string> selected;
        std::string text;
    } cases[] = {
        {{}, "显示 4 / 4 行"},
        {{"A"}, "显示 4 / 4 行  ·  选中 1 行: Enemy 1"},
        {{"A", "B", "C", "D"}, "显示 4 / 4 行  ·  选中 4 行: Enemy 2, TalkNPC 1, NPC(Ground) 1"},
    };
    for (const auto& c : cases) {
        Select(c.selected);
        EXPECT_EQ(dlg->ListStatus().text, c.text);
    }
}

}  // namespace
}  // namespace morvi::test
