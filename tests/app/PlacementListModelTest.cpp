// The placement list's rows as the window shows them: top insertion order, texts per column,
// batching of new rows for the views, selection and memory per row.
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "app/PlacementListControl.h"
#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "document/PlacementRows.h"

namespace morvi {
namespace {

// Placement n: name "npc<n>", x n, x offset 1, y n, y offset 2, type Enemy, group Song,
// series 3, template n, drop count 5 or the script.
PlacementRecord Placement(int n, const std::string& script = {}) {
    PlacementRecord r;
    NpcPlacement& p = r.block;
    p.SetName("npc" + std::to_string(n));
    p.SetTemplateIndex(static_cast<uint16_t>(n));
    p.SetPosX(static_cast<uint16_t>(n));
    p.SetPosYDoubled(static_cast<uint16_t>(2 * n));
    p.offsetX = 1;
    p.offsetY = 2;
    p.npcType = 0;
    p.npcGroup = 1;
    p.npcSeries = 3;
    if (script.empty()) {
        p.dropCountOrScriptLength = 5;
    } else {
        p.dropCountOrScriptLength = static_cast<uint8_t>(script.size());
        p.variable = static_cast<uint8_t>(script[0]);
        r.script = script;
    }
    return r;
}

RowTexts Row(int n, const std::string& file = "/srv/maps/a/r_S.DAT", const std::string& script = {}) {
    const std::string s = std::to_string(n);
    return {"npc" + s, s, "1", s, "2", "Enemy", "Song", "3", script.empty() ? "5" : "", script, file, s};
}

void ExpectRow(const PlacementRowStore& store, int row, const RowTexts& expected) {
    for (int c = 0; c < kPlacementColumnCount; ++c)
        EXPECT_EQ(store.CellText(row, c), expected[static_cast<size_t>(c)]) << row << "/" << c;
}

TEST(PlacementRowStoreTest, NewRowsGoOnTopAndKeepEveryColumn) {
    PlacementRowStore store;
    const std::string longScript = "\\" + std::string(199, 'x');
    for (int i = 0; i < 5; ++i)
        store.InsertTop("/f" + std::to_string(i % 2), Placement(i, i == 3 ? longScript : ""));
    ASSERT_EQ(store.Count(), 5);
    for (int row = 0; row < 5; ++row) {
        const int n = 4 - row;
        ExpectRow(store, row, Row(n, "/f" + std::to_string(n % 2), n == 3 ? longScript : ""));
    }
}

TEST(PlacementRowStoreTest, OverridesChangeOneCellOnly) {
    PlacementRowStore store;
    for (int i = 0; i < 3; ++i)
        store.InsertTop("/srv/maps/a/r_S.DAT", Placement(i));
    struct Case { int row; int column; std::string text; } cases[] = {
        {0, COL_FILE, "/other/file_S.DAT"},
        {0, COL_TEMPLATE, "77"},
        {2, COL_NAME, ""},
        {1, COL_SCRIPT, std::string(300, 's')},
        {1, COL_SCRIPT, "\\script\\a.lua"},
    };
    RowTexts expect[3] = {Row(2), Row(1), Row(0)};
    for (const Case& c : cases) {
        store.SetOverride(c.row, c.column, c.text);
        expect[c.row][static_cast<size_t>(c.column)] = c.text;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < kPlacementColumnCount; ++col)
                ASSERT_EQ(store.CellText(row, col), expect[row][static_cast<size_t>(col)]) << row << "/" << col;
    }
    // Rows inserted on top keep each override on its own row.
    store.InsertTop("/srv/maps/a/r_S.DAT", Placement(3));
    EXPECT_EQ(store.CellText(1, COL_TEMPLATE), "77");
    EXPECT_EQ(store.CellText(2, COL_SCRIPT), "\\script\\a.lua");
    store.ClearOverrides(2);
    EXPECT_EQ(store.CellText(2, COL_SCRIPT), "");
}

TEST(PlacementRowStoreTest, EraseAndCompactionKeepTheOtherRows) {
    PlacementRowStore store;
    const int n = 3000;
    for (int i = 0; i < n; ++i)
        store.InsertTop("/srv/maps/a/r_S.DAT", Placement(i));
    // Many rewrites of old rows leave dead script bytes behind; compaction must keep all texts.
    for (int round = 0; round < 8; ++round)
        for (int row = 0; row < n; ++row) {
            const PlacementRecord r =
                Placement(n - 1 - row, std::string(100 + round, static_cast<char>('a' + round)));
            store.Replace(row, r.block, r.script);
        }
    store.Erase(0);
    store.Erase(store.Count() - 1);
    ASSERT_EQ(store.Count(), n - 2);
    for (int row = 0; row < store.Count(); ++row) {
        const int i = n - 2 - row;
        ASSERT_EQ(store.CellText(row, COL_NAME), "npc" + std::to_string(i));
        ASSERT_EQ(store.CellText(row, COL_SCRIPT), std::string(107, 'h'));
        ASSERT_EQ(store.CellText(row, COL_FILE), "/srv/maps/a/r_S.DAT");
    }
    EXPECT_LT(store.BytesHeld(), size_t(n) * 400);
}

TEST(PlacementRowStoreTest, TypicalRowsTakeWellUnder300Bytes) {
    PlacementRowStore store;
    const int n = 200000;
    for (int i = 0; i < n; ++i) {
        // 100 rows per region file, one in ten with a script path.
        const std::string file = "/srv/server/maps/world/region_" + std::to_string(i / 100) + "_S.DAT";
        store.InsertTop(file, Placement(i % 30000, i % 10 == 0 ? "\\script\\npc\\" + std::string(60, 'q') + ".lua" : ""));
    }
    const double perRow = double(store.BytesHeld()) / n;
    EXPECT_LT(perRow, 120.0) << perRow;
}

class PlacementListModelTest : public ::testing::Test {
protected:
    PlacementListModelTest() : model(rows), control(model, view) { view.AttachModel(&model); }

    void InsertTop(int n, const std::string& file = "/srv/maps/a/r_S.DAT") {
        store.InsertTop(file, Placement(n));
        control.RowsInsertedAtTop(1);
    }
    void Erase(int row) {
        store.Erase(row);
        control.RowRemoved(row);
    }

    PlacementRowStore store;
    PlacementRowView rows{store};   // in file order, unfiltered: the store itself
    PlacementListModel model;
    PlacementTableView view;
    PlacementListControl control;
};

TEST_F(PlacementListModelTest, InsertedRowsReachTheViewInOneBatchNewestOnTop) {
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 1000; ++i)
        InsertTop(i);
    // The logic sees every row at once; the view is told once, when the event loop runs.
    EXPECT_EQ(store.Count(), 1000);
    EXPECT_EQ(store.CellText(0, COL_NAME), "npc999");
    EXPECT_EQ(store.CellText(999, COL_NAME), "npc0");
    EXPECT_EQ(model.rowCount(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("npc999"));
    EXPECT_EQ(model.data(model.index(999, COL_TEMPLATE), Qt::DisplayRole).toString(), QStringLiteral("0"));
    // A later single row goes on top of what the view shows; a changed cell repaints.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    InsertTop(1000);
    control.RepaintNow();
    store.SetOverride(0, COL_FILE, "/new_S.DAT");
    control.RowChanged(0);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model.rowCount(), 1001);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("npc1000"));
    EXPECT_EQ(model.data(model.index(0, COL_FILE), Qt::DisplayRole).toString(), QStringLiteral("/new_S.DAT"));
    EXPECT_EQ(store.CellText(0, COL_FILE), "/new_S.DAT");
}

TEST_F(PlacementListModelTest, InvalidRowsAndColumnsReadEmptyAndChangeNothing) {
    InsertTop(1);
    control.RepaintNow();
    EXPECT_EQ(store.CellText(-1, 0), "");
    EXPECT_EQ(store.CellText(1, 0), "");
    EXPECT_EQ(store.CellText(0, 12), "");
    EXPECT_FALSE(model.data(model.index(0, 12), Qt::DisplayRole).isValid());
    control.RowChanged(5);
    control.RowRemoved(5);
    control.SelectRow(5);
    control.ScrollRowToTop(-1);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(control.NextSelectedRow(-1), -1);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("npc1"));
}

TEST_F(PlacementListModelTest, SelectionAddsRowsAndNextSelectedRowFindsThem) {
    for (int i = 0; i < 20; ++i)
        InsertTop(i);
    EXPECT_EQ(control.NextSelectedRow(-1), -1);
    control.SelectRow(3);
    control.SelectRow(10);
    EXPECT_EQ(view.currentIndex().row(), 10);
    struct Case { int after; int expected; } cases[] = {{-1, 3}, {2, 3}, {3, 10}, {9, 10}, {10, -1}, {19, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(control.NextSelectedRow(c.after), c.expected) << c.after;
    // Rows inserted on top shift the selection down with their rows.
    InsertTop(20);
    EXPECT_EQ(control.NextSelectedRow(-1), 4);
    Erase(0);
    EXPECT_EQ(control.NextSelectedRow(-1), 3);
    Erase(3);
    EXPECT_EQ(control.NextSelectedRow(-1), 9);
    // A row the view has not been shown yet goes without touching the selection.
    InsertTop(21);
    Erase(0);
    EXPECT_EQ(control.NextSelectedRow(-1), 9);
    EXPECT_EQ(model.rowCount(), store.Count());
    store.Clear();
    control.RowsReset();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(control.NextSelectedRow(-1), -1);
}

TEST_F(PlacementListModelTest, ScrollRowToTopMakesTheRowTheFirstVisibleOne) {
    view.resize(400, 200);
    view.show();
    for (int i = 0; i < 500; ++i)
        InsertTop(i);
    view.horizontalScrollBar()->setValue(50);
    control.ScrollRowToTop(250);
    EXPECT_EQ(view.rowAt(0), 250);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace morvi
