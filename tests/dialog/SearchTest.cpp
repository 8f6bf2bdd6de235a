// Search in the placement list: criteria, the search position across presses, and what a hit
// does to the selection, the scroll position and the focus.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogFixture.h"
#include "DialogTestAccess.h"
#include "dialog/MemoryHost.h"
#include "dialog/CPlacementDlg.h"

namespace morvi::test {
namespace {

struct Cells {
    std::string name, x, y;
};

// A dialog whose list holds `rows`, top row first.
struct SearchDialog {
    MemoryHost host;
    CPlacementDlg dlg{host};

    explicit SearchDialog(const std::vector<Cells>& rows) {
        host.Attach(&dlg);
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            RowTexts row{};
            row[COL_NAME] = it->name;
            row[COL_POS_X] = it->x;
            row[COL_POS_Y] = it->y;
            row[COL_FILE] = "/m/a_S.DAT";
            row[COL_TEMPLATE] = "1";
            InsertTopRowFromTexts(dlg, row);
        }
    }
    void Criteria(const std::string& name, const std::string& x, const std::string& y) {
        host.SetText(IDC_FIND_NAME, name);
        host.SetText(IDC_FIND_X, x);
        host.SetText(IDC_FIND_Y, y);
    }
    // Every row found: "Tim kiem tat ca", then "Chi tim mot" until a miss or the last row.
    std::vector<int> AllHits() {
        std::vector<int> hits;
        dlg.OnFindFirst();
        while (dlg.SearchPos() >= 0 && hits.size() < 20) {
            hits.push_back(dlg.SearchPos());
            if (dlg.SearchPos() == host.list.RowCount() - 1) break;
            dlg.OnFindNext();
        }
        return hits;
    }
};

TEST(Search, Criteria) {
    struct Case {
        const char* what;
        std::vector<Cells> rows;
        Cells criteria;
        std::vector<int> hits;
    };
    const std::vector<Case> cases = {
        {"name is case-sensitive and contained",
         {{"guard", "1", "1"}, {"Guard", "1", "1"}, {"Wolf", "1", "1"}, {"OldGuard", "1", "1"}},
         {"Gu", "", ""}, {1, 3}},
        {"x compares whole texts", {{"a", "1000", "1"}, {"b", "100", "1"}, {"c", "10", "1"}, {"d", "100", "2"}},
         {"", "100", ""}, {1, 3}},
        {"leading zero differs", {{"a", "7", "1"}}, {"", "07", ""}, {}},
        {"y alone", {{"a", "5", "200"}, {"b", "200", "5"}, {"c", "6", "200"}}, {"", "", "200"}, {0, 2}},
        {"x and y both",
         {{"a", "100", "200"}, {"b", "100", "201"}, {"c", "101", "200"}, {"d", "100", "200"}},
         {"", "100", "200"}, {0, 3}},
        {"all three", {{"Guard", "100", "200"}, {"Wolf", "100", "200"}, {"OldGuard", "100", "200"}},
         {"Guard", "100", "200"}, {0, 2}},
        {"a blank is a criterion", {{"Old Guard", "1", "1"}, {"Guard", "1", "1"}}, {" ", "", ""}, {0}},
        {"Chinese names", {{"卫兵", "1", "1"}, {"商人", "1", "1"}, {"士兵长", "1", "1"}}, {"兵", "", ""}, {0, 2}},
        {"empty list", {}, {"Guard", "", ""}, {}},
        {"all criteria empty", {{"Guard", "1", "1"}}, {"", "", ""}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SearchDialog d(c.rows);
        d.Criteria(c.criteria.name, c.criteria.x, c.criteria.y);
        EXPECT_EQ(d.AllHits(), c.hits);
    }
}

TEST(Search, NothingFoundChangesNothingButThePosition) {
    for (bool emptyCriteria : {true, false}) {
        SCOPED_TRACE(emptyCriteria ? "empty criteria" : "no match");
        SearchDialog d({{"Guard", "1", "1"}, {"Wolf", "2", "2"}, {"Tiger", "3", "3"}});
        d.host.list.SelectRow(1);
        d.host.list.topRow = 1;
        d.host.SetItemText(IDC_HINT, "hint");
        St::m_searchPos(d.dlg) = 1;
        d.Criteria(emptyCriteria ? "" : "Monk", "", "");
        for (bool next : {false, true}) {
            if (next) d.dlg.OnFindNext();
            else d.dlg.OnFindFirst();
            EXPECT_EQ(d.dlg.SearchPos(), -1);
            EXPECT_EQ(d.host.list.SelectedRows(), std::vector<int>{1});
            EXPECT_EQ(d.host.list.topRow, 1);
            EXPECT_EQ(d.host.focusedId, 0);
            EXPECT_EQ(d.host.ItemText(IDC_HINT), "hint");
        }
    }
}

TEST(Search, AHitScrollsSelectsFocusesAndHints) {
    SearchDialog d({{"Guard", "1", "1"}, {"Wolf", "2", "2"}, {"Tiger", "3", "3"}, {"Wolf", "4", "4"}});
    d.host.list.SelectRow(0);
    d.Criteria("Wolf", "", "");
    d.dlg.OnFindFirst();
    EXPECT_EQ(d.dlg.SearchPos(), 1);
    EXPECT_EQ(d.host.list.topRow, 1);
    EXPECT_EQ(d.host.list.focusedRow, 1);
    EXPECT_EQ(d.host.focusedId, IDC_PLACEMENT_LIST);
    EXPECT_EQ(d.host.ItemText(IDC_HINT), "双击该选项可以编辑选定项");
    EXPECT_EQ(d.host.list.SelectedRows(), (std::vector<int>{0, 1}));   // added, never cleared

    d.dlg.OnFindNext();
    EXPECT_EQ(d.dlg.SearchPos(), 3);
    EXPECT_EQ(d.host.list.topRow, 3);
    EXPECT_EQ(d.host.list.SelectedRows(), (std::vector<int>{0, 1, 3}));
}

TEST(Search, PressSequences) {
    struct Case {
        const char* what;
        std::vector<int> matching;      // rows named "Hit" among five rows
        int startPos;                   // m_searchPos before the first press
        std::string presses;            // 'A' = "Tim kiem tat ca", 'N' = "Chi tim mot"
        std::vector<int> positions;     // m_searchPos after each press
    };
    const std::vector<Case> cases = {
        {"next after a hit on the last row starts at the top", {1, 4}, -1, "ANN", {1, 4, 1}},
        {"no later hit: a miss, then the top again", {1, 3}, -1, "ANNN", {1, 3, -1, 1}},
        {"next without an earlier search starts at the top", {0, 2}, -1, "NN", {0, 2}},
        {"next goes on after the hit itself", {2, 3}, -1, "ANN", {2, 3, -1}},
        {"all always starts at the top", {1, 3}, 3, "AA", {1, 1}},
        {"a single hit on the last row is found again and again", {4}, -1, "ANN", {4, 4, 4}},
        {"a single hit elsewhere alternates with a miss", {2}, -1, "ANN", {2, -1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Cells> rows(5, Cells{"Miss", "1", "1"});
        for (int r : c.matching) rows[static_cast<size_t>(r)].name = "Hit";
        SearchDialog d(rows);
        d.Criteria("Hit", "", "");
        St::m_searchPos(d.dlg) = c.startPos;
        std::vector<int> positions;
        for (char press : c.presses) {
            if (press == 'A') d.dlg.OnFindFirst();
            else d.dlg.OnFindNext();
            positions.push_back(d.dlg.SearchPos());
        }
        EXPECT_EQ(positions, c.positions);
    }
}

TEST(Search, TwoHitsAreBothSelectedAndSuaEditsTheLaterOne) {
    SearchDialog d({{"Guard", "100", "1"}, {"Wolf", "2", "2"}, {"Guard", "300", "3"}, {"Monk", "4", "4"}});
    d.Criteria("Guard", "", "");
    d.dlg.OnFindFirst();
    d.dlg.OnFindNext();
    ASSERT_EQ(d.host.list.SelectedRows(), (std::vector<int>{0, 2}));
    d.dlg.OnModify();
    EXPECT_EQ(d.dlg.EditMode(), EDIT_MODIFY);
    EXPECT_EQ(d.dlg.EditRow(), 2);
    EXPECT_EQ(d.host.ItemText(IDC_POS_X), "300");
    EXPECT_EQ(d.dlg.SearchPos(), 2);
}

class SearchOnTree : public DialogFixture {};

// Loading another map leaves the search position, so the next press goes on in the new list
// at the row after the old hit.
TEST_F(SearchOnTree, ThePositionSurvivesLoadingAnotherMap) {
    tools::TreeShape tree;
    tree.maps = 2;
    tree.filesPerMap = 8;
    Open(tree);
    SelectMap(0);
    ASSERT_GT(host.list.RowCount(), 6);
    host.SetText(IDC_FIND_NAME, host.list.CellText(5, COL_NAME));
    St::m_searchPos(*dlg) = 4;
    dlg->OnFindNext();
    const int hit = dlg->SearchPos();
    ASSERT_GE(hit, 5);

    SelectMap(1);
    EXPECT_EQ(dlg->SearchPos(), hit);
    // The name searched for now is one that appears in the new list after the old position.
    const int rows = host.list.RowCount();
    ASSERT_GT(rows, hit + 2);
    const std::string name = host.list.CellText(rows - 1, COL_NAME);
    host.SetText(IDC_FIND_NAME, name);
    int expected = -1;
    for (int r = hit + 1; r < rows && expected < 0; ++r)
        if (host.list.CellText(r, COL_NAME).find(name) != std::string::npos) expected = r;
    dlg->OnFindNext();
    EXPECT_EQ(dlg->SearchPos(), expected);
}

}  // namespace
}  // namespace morvi::test
