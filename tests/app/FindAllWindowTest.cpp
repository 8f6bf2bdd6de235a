// The find window on Qt: opened by Ctrl+Shift+F and the row menu, it searches every map off the
// GUI thread, lists the results with the map and the file, names a malformed filter, and a
// double-click selects the placement in the main window (clearing a list filter that hides it).
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/CompareWindow.h"
#include "app/DesktopSeams.h"
#include "app/FindAllWindow.h"
#include "app/PlacementListModel.h"
#include "app/PlacementWindow.h"
#include "app/WindowExtras.h"
#include "dialog/CompareView.h"
#include "dialog/FindAllView.h"
#include "GuiTestSupport.h"
#include "TestFiles.h"

namespace morvi {
namespace {

class FindAllWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        DesktopSeams::Reset();
        DesktopSeams::SetUnattended(true);
        server = work.path() + "/server";
        test::WriteServerTree(
            server, {{1, "Town", "town"}, {2, "Forest", "forest"}, {3, "Cave", "cave"}},
            {"Guard", "Wolf", "Shop", "Smith"},
            {{"town/r1_S.DAT",
              {test::Record(1, "Guard", 300, 0, 200, 0, 3, 0, 0, 0), test::Record(2, "Wolf", 100, 0, 50, 0, 0, 0, 0, 1)}},
             {"forest/a/r2_S.DAT",
              {test::Record(2, "Wolf", 120, 0, 60, 0, 0, 0, 0, 2), test::Record(1, "Guard", 500, 3, 250, 1, 3, 0, 0, 0),
               test::Record(3, "Shop", 700, 0, 400, 0, 5, 0, 0, 0, "\\script\\npc\\shop.lua")}},
             {"cave/r3_S.DAT", {test::Record(2, "Wolf", 10, 0, 10, 0, 0, 0, 0, 3)}}});
        cwd = std::make_unique<test::ConfiguredWorkDir>(work.path(), server);
        window = std::make_unique<PlacementWindow>();
        window->InitDialog();
    }
    void TearDown() override {
        window.reset();
        cwd.reset();
        DesktopSeams::Reset();
    }
    // Runs the search the field names and waits for its end while the window takes events.
    FindAllWindow& SearchFor(const QString& filter) {
        window->Extras().ShowFindAll();
        FindAllWindow& find = *window->Extras().FindAll();
        find.Filter().setText(filter);
        QTest::keyClick(&find.Filter(), Qt::Key_Return);
        QElapsedTimer clock;
        clock.start();
        while (find.View().Running() && clock.elapsed() < 20000) QTest::qWait(5);
        EXPECT_FALSE(find.View().Running());
        return find;
    }
    QString Cell(FindAllWindow& find, int row, int column) {
        return find.Results().model()->index(row, column).data().toString();
    }

    test::TempDir work;
    std::string server;
    std::unique_ptr<test::ConfiguredWorkDir> cwd;
    std::unique_ptr<PlacementWindow> window;
};

TEST_F(FindAllWindowTest, CtrlShiftFAndTheRowMenuOpenTheWindow) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(window->Extras().FindAll(), nullptr);
    EXPECT_TRUE(window->Extras().FindAll()->isVisible());
    EXPECT_EQ(window->Extras().FindAll()->windowTitle(), QString::fromUtf8("在所有地图中查找"));
    window->Extras().FindAll()->close();

    QMenu menu;
    window->Extras().FillContextMenu(menu);
    QAction* entry = menu.findChild<QAction*>(QStringLiteral("menuFindAll"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    entry->trigger();
    EXPECT_TRUE(window->Extras().FindAll()->isVisible());
}

TEST_F(FindAllWindowTest, ResultsOfEveryMapWithMapAndFileAndADoubleClickSelectsTheRow) {
    FindAllWindow& find = SearchFor(QStringLiteral("name:wolf"));
    QAbstractItemModel& model = *find.Results().model();
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.headerData(FIND_COL_MAP, Qt::Horizontal).toString(), QString::fromUtf8("地图"));
    EXPECT_EQ(Cell(find, 0, FIND_COL_MAP), QStringLiteral("0 Town"));
    EXPECT_EQ(Cell(find, 1, FIND_COL_MAP), QStringLiteral("1 Forest"));
    EXPECT_EQ(Cell(find, 1, FIND_COL_FILE), QStringLiteral("maps\\forest\\a\\r2_S.DAT"));
    EXPECT_EQ(Cell(find, 1, FIND_COL_FIRST_ROW_CELL + static_cast<int>(COL_POS_X)), QStringLiteral("120"));
    EXPECT_EQ(Cell(find, 2, FIND_COL_MAP), QStringLiteral("2 Cave"));
    EXPECT_EQ(find.Status().text(), QString::fromUtf8(Format(TextId::FindAllDone, {"3", "3", "3"}).c_str()));

    // The forest's list hides the wolf behind its filter: the double-click clears the filter.
    auto* maps = qobject_cast<QListWidget*>(window->Control(IDC_MAP_LIST));
    maps->setCurrentRow(1);
    window->Extras().ListFilter()->setText(QStringLiteral("name:shop"));
    find.show();
    // The view's double-click signal, as a double-click on the row's cell sends it.
    emit find.Results().doubleClicked(model.index(1, 2));
    EXPECT_EQ(window->ListBoxSelection(IDC_MAP_LIST), 1);
    EXPECT_TRUE(window->Extras().ListFilter()->text().isEmpty());
    const std::vector<int> selected = window->Extras().SelectedRows();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(window->Logic().ListRows().CellText(selected[0], COL_POS_X), "120");

    // A screenshot of the window with results.
    find.resize(980, 360);
    find.Results().selectRow(1);
    const QString path = QString::fromStdString(test::ArtifactDirectory()) + QStringLiteral("/find-all-window.png");
    EXPECT_TRUE(find.grab().save(path));
}

TEST_F(FindAllWindowTest, AMalformedFilterIsShownInRedAndAMissingMapIsNamed) {
    FindAllWindow& find = SearchFor(QStringLiteral("x:abc"));
    EXPECT_EQ(find.Results().model()->rowCount(), 0);
    EXPECT_TRUE(find.Status().text().contains(QStringLiteral("x:abc")));
    EXPECT_TRUE(find.Status().styleSheet().contains(QStringLiteral("#b00000")));

    std::filesystem::remove_all(server + "/maps/cave");
    SearchFor(QString());
    EXPECT_EQ(find.Results().model()->rowCount(), 5);
    EXPECT_TRUE(find.Status().text().contains(QStringLiteral("Cave"))) << find.Status().text().toStdString();
    EXPECT_TRUE(find.Status().styleSheet().contains(QStringLiteral("#b00000")));
}

// "与其他服务器比较…": the selected map against the same map of another tree, listed by kind,
// file and key, narrowed by the filter.
TEST_F(FindAllWindowTest, CompareListsTheLoadedMapsDifferencesWithAFilter) {
    const std::string other = work.path() + "/other";
    std::filesystem::copy(server, other, std::filesystem::copy_options::recursive);
    test::WriteFile(server + "/maps/forest/a/r2_S.DAT",
                    test::RegionImage({test::Record(2, "Wolf", 120, 0, 60, 0, 0, 0, 0, 4),
                                       test::Record(3, "Shop", 700, 0, 400, 0, 5, 0, 0, 0, "\\script\\npc\\shop.lua"),
                                       test::Record(1, "Smith", 9, 0, 9, 0, 0, 0, 0, 0)}));
    auto* maps = qobject_cast<QListWidget*>(window->Control(IDC_MAP_LIST));
    maps->setCurrentRow(1);
    QMenu menu;
    window->Extras().FillContextMenu(menu);
    menu.findChild<QAction*>(QStringLiteral("menuCompare"))->trigger();
    CompareWindow& compare = *window->Extras().Compare();
    EXPECT_TRUE(compare.isVisible());
    compare.Other().setText(QString::fromStdString(other));
    compare.Compare();
    QElapsedTimer clock;
    clock.start();
    while (compare.View().Running() && clock.elapsed() < 20000) QTest::qWait(5);
    QApplication::processEvents();
    QAbstractItemModel& model = *compare.Results().model();
    ASSERT_EQ(model.rowCount(), 3) << compare.Status().text().toStdString();
    QStringList kinds;
    for (int row = 0; row < 3; ++row) kinds << model.index(row, CMP_COL_KIND).data().toString();
    kinds.sort();
    EXPECT_EQ(kinds, (QStringList{QString::fromUtf8("修改"), QString::fromUtf8("删除"), QString::fromUtf8("新增")}));
    EXPECT_TRUE(compare.Status().text().startsWith(QString::fromUtf8("地图 Forest: 新增 1 条, 修改 1 条, 删除 1 条")))
        << compare.Status().text().toStdString();
    compare.Filter().setText(QStringLiteral("name:smith"));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.index(0, CMP_COL_NAME).data().toString(), QStringLiteral("Smith"));
    EXPECT_EQ(model.index(0, CMP_COL_FILE).data().toString(), QStringLiteral("a/r2_S.DAT"));
    compare.Filter().clear();
    compare.resize(980, 300);
    const QString path = QString::fromStdString(test::ArtifactDirectory()) + QStringLiteral("/compare-window.png");
    EXPECT_TRUE(compare.grab().save(path));
}

}  // namespace
}  // namespace morvi
