// The placement list's storage and model: top insertion order, texts per column, batching of
// new rows for the views, selection and memory per row.
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "app/PlacementListControl.h"
#include "app/PlacementListModel.h"
#include "app/PlacementRowStore.h"
#include "app/PlacementTableView.h"

namespace morvi {
namespace {

RowTexts Row(int n, const std::string& file = "/srv/maps/a/r_S.DAT", const std::string& script = {}) {
    const std::string s = std::to_string(n);
    return {"npc" + s, s, "1", s, "2", "Enemy", "Song", "3", script.empty() ? "5" : "", script, file, s};
}

TEST(PlacementRowStoreTest, NewRowsGoOnTopAndKeepEveryColumn) {
    PlacementRowStore store;
    for (int i = 0; i < 5; ++i)
        store.InsertTop(Row(i, "/f" + std::to_string(i % 2), i == 3 ? std::string(200, 'x') : ""));
    ASSERT_EQ(store.Count(), 5);
    for (int row = 0; row < 5; ++row) {
        const RowTexts expected = Row(4 - row, "/f" + std::to_string((4 - row) % 2),
                                      4 - row == 3 ? std::string(200, 'x') : "");
        for (int c = 0; c < kPlacementColumnCount; ++c)
            EXPECT_EQ(store.Text(row, c), expected[static_cast<size_t>(c)]) << row << "/" << c;
    }
}

TEST(PlacementRowStoreTest, SetTextChangesOneCellOnly) {
    PlacementRowStore store;
    for (int i = 0; i < 3; ++i)
        store.InsertTop(Row(i));
    struct Case { int row; int column; std::string text; } cases[] = {
        {0, COL_FILE, "/other/file_S.DAT"},            // interned column
        {0, COL_TEMPLATE, "77"},                        // newest blob, rewritten in place
        {2, COL_NAME, ""},                              // older blob, moved
        {1, COL_SCRIPT, std::string(300, 's')},         // long text
        {1, COL_SCRIPT, "\\script\\a.lua"},
    };
    RowTexts expect[3] = {Row(2), Row(1), Row(0)};
    for (const Case& c : cases) {
        store.SetText(c.row, c.column, c.text);
        expect[c.row][static_cast<size_t>(c.column)] = c.text;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < kPlacementColumnCount; ++col)
                ASSERT_EQ(store.Text(row, col), expect[row][static_cast<size_t>(col)]) << row << "/" << col;
    }
}

TEST(PlacementRowStoreTest, EraseAndCompactionKeepTheOtherRows) {
    PlacementRowStore store;
    const int n = 3000;
    for (int i = 0; i < n; ++i)
        store.InsertTop(Row(i));
    // Many rewrites of old rows leave garbage behind; compaction must keep all texts.
    for (int round = 0; round < 8; ++round)
        for (int row = 0; row < n; ++row)
            store.SetText(row, COL_SCRIPT, std::string(100 + round, static_cast<char>('a' + round)));
    store.Erase(0);
    store.Erase(store.Count() - 1);
    ASSERT_EQ(store.Count(), n - 2);
    for (int row = 0; row < store.Count(); ++row) {
        const int i = n - 2 - row;
        ASSERT_EQ(store.Text(row, COL_NAME), "npc" + std::to_string(i));
        ASSERT_EQ(store.Text(row, COL_SCRIPT), std::string(107, 'h'));
        ASSERT_EQ(store.Text(row, COL_FILE), "/srv/maps/a/r_S.DAT");
    }
    EXPECT_LT(store.BytesHeld(), size_t(n) * 400);
}

TEST(PlacementRowStoreTest, TypicalRowsTakeWellUnder300Bytes) {
    PlacementRowStore store;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        // 100 rows per region file, one in ten with a script path.
        const std::string file = "/srv/server/maps/world/region_" + std::to_string(i / 100) + "_S.DAT";
        store.InsertTop(Row(i, file, i % 10 == 0 ? "\\script\\npc\\" + std::string(60, 'q') + ".lua" : ""));
    }
    const double perRow = double(store.BytesHeld()) / n;
    EXPECT_LT(perRow, 120.0) << perRow;
}

class PlacementListModelTest : public ::testing::Test {
protected:
    PlacementListModelTest() : control(model, view) { view.AttachModel(&model); }
    PlacementListModel model;
    PlacementTableView view;
    PlacementListControl control;
};

TEST_F(PlacementListModelTest, InsertedRowsReachTheViewInOneBatchNewestOnTop) {
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 1000; ++i)
        control.InsertTopRow(Row(i));
    // The logic sees every row at once; the view is told once, when the event loop runs.
    EXPECT_EQ(control.RowCount(), 1000);
    EXPECT_EQ(control.CellText(0, COL_NAME), "npc999");
    EXPECT_EQ(control.CellText(999, COL_NAME), "npc0");
    EXPECT_EQ(model.rowCount(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("npc999"));
    EXPECT_EQ(model.data(model.index(999, COL_TEMPLATE), Qt::DisplayRole).toString(), QStringLiteral("0"));
    // A later single row goes on top of what the view shows.
    control.InsertTopRow(Row(1000));
    control.SetCellText(0, COL_FILE, "/new_S.DAT");
    control.RepaintNow();
    EXPECT_EQ(model.rowCount(), 1001);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("npc1000"));
    EXPECT_EQ(control.CellText(0, COL_FILE), "/new_S.DAT");
}

TEST_F(PlacementListModelTest, InvalidRowsAndColumnsReadEmptyAndChangeNothing) {
    control.InsertTopRow(Row(1));
    EXPECT_EQ(control.CellText(-1, 0), "");
    EXPECT_EQ(control.CellText(1, 0), "");
    EXPECT_EQ(control.CellText(0, 12), "");
    control.SetCellText(5, 0, "x");
    control.DeleteRow(5);
    EXPECT_EQ(control.RowCount(), 1);
    EXPECT_EQ(control.CellText(0, 0), "npc1");
}

TEST_F(PlacementListModelTest, SelectionAddsRowsAndNextSelectedRowFindsThem) {
    for (int i = 0; i < 20; ++i)
        control.InsertTopRow(Row(i));
    EXPECT_EQ(control.NextSelectedRow(-1), -1);
    control.SelectRow(3);
    control.SelectRow(10);
    EXPECT_EQ(view.currentIndex().row(), 10);
    struct Case { int after; int expected; } cases[] = {{-1, 3}, {2, 3}, {3, 10}, {9, 10}, {10, -1}, {19, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(control.NextSelectedRow(c.after), c.expected) << c.after;
    // Rows inserted on top shift the selection down with their rows.
    control.InsertTopRow(Row(20));
    EXPECT_EQ(control.NextSelectedRow(-1), 4);
    control.DeleteRow(0);
    EXPECT_EQ(control.NextSelectedRow(-1), 3);
    control.DeleteRow(3);
    EXPECT_EQ(control.NextSelectedRow(-1), 9);
    control.DeleteAllRows();
    EXPECT_EQ(control.RowCount(), 0);
    EXPECT_EQ(control.NextSelectedRow(-1), -1);
}

TEST_F(PlacementListModelTest, ScrollRowToTopMakesTheRowTheFirstVisibleOne) {
    view.resize(400, 200);
    view.show();
    for (int i = 0; i < 500; ++i)
        control.InsertTopRow(Row(i));
    view.horizontalScrollBar()->setValue(50);
    control.ScrollRowToTop(250);
    EXPECT_EQ(view.rowAt(0), 250);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace morvi
