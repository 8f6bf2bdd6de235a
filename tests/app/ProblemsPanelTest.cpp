// The problems panel of the Qt window: shown and hidden by its key and menus, its lines, a
// click that selects the placement's row, a fix undone by one Ctrl+Z, every map checked with
// progress, and the status strip naming a region file another program changed (F5 reads it
// again). Leaves a screenshot of the panel among the test artefacts.
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/DesktopSeams.h"
#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "app/PlacementWindow.h"
#include "app/ProblemsPanel.h"
#include "app/WindowExtras.h"
#include "GuiTestSupport.h"
#include "TestFiles.h"

namespace morvi {
namespace {

QShortcut* ShortcutOf(QWidget& window, const char* keys) {
    return window.findChild<QShortcut*>(QStringLiteral("key ") + QString::fromLatin1(keys));
}

class ProblemsPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        DesktopSeams::Reset();
        DesktopSeams::SetUnattended(true);
        server = work.path() + "/server";
        guard = test::Record(1, "Guard", 300, 0, 200, 0, 3, 0, 0, 0);
        records = {
            guard,
            test::Record(2, "Wolf", 100, 0, 50, 0, 0, 0, 0, 1),
            guard,   // the same placement twice on one spot
            test::Record(3, "Shop", 700, 0, 400, 0, 5, 0, 0, 0, "\\script\\npc\\shop_keeper_long.lua"),
            test::Record(0, "Ghost", 10, 0, 10, 0, 0, 0, 0, 0),   // template 0: hidden
        };
        test::WriteServerTree(server, {{1, "Town", "town"}, {2, "Field", "field"}}, {"Guard", "Wolf", "Shop", "Smith"},
                              {{"town/r1_S.DAT", records},
                               {"field/f1_S.DAT", {test::Record(2, "Wolf", 1200, 0, 10, 0, 0, 0, 0, 1)}}});
        cwd = std::make_unique<test::ConfiguredWorkDir>(work.path(), server);
        window = std::make_unique<PlacementWindow>();
        window->InitDialog();
        window->show();
        auto* maps = qobject_cast<QListWidget*>(window->Control(IDC_MAP_LIST));
        maps->setCurrentRow(0);
        window->ListModel().FlushPendingRows();
    }
    void TearDown() override {
        window.reset();
        cwd.reset();
        DesktopSeams::Reset();
    }
    std::string TownFile() const { return test::NativeForm(server + "/maps/town/r1_S.DAT"); }
    int LineWith(ProblemsPanel& panel, const QString& text) const {
        QTreeWidget* lines = panel.Lines();
        for (int i = 0; i < lines->topLevelItemCount(); ++i)
            if (lines->topLevelItem(i)->text(static_cast<int>(ProblemsColumn::Reason)).contains(text)) return i;
        return -1;
    }
    void Click(ProblemsPanel& panel, int line) {
        QTreeWidget* lines = panel.Lines();
        QTreeWidgetItem* item = lines->topLevelItem(line);
        lines->setCurrentItem(item);
        QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, lines->visualItemRect(item).center());
        window->ListModel().FlushPendingRows();
    }

    test::TempDir work;
    std::string server;
    PlacementRecord guard;
    std::vector<PlacementRecord> records;
    std::unique_ptr<test::ConfiguredWorkDir> cwd;
    std::unique_ptr<PlacementWindow> window;
};

TEST_F(ProblemsPanelTest, TheKeyAndTheMenusShowAndHideIt) {
    QShortcut* key = ShortcutOf(*window, "Ctrl+Shift+M");
    ASSERT_NE(key, nullptr);
    emit key->activated();
    ProblemsPanel* panel = window->Extras().Problems();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    emit key->activated();
    EXPECT_FALSE(panel->isVisible());
    // The row menu has an entry that shows it again.
    QMenu menu;
    window->Extras().FillContextMenu(menu);
    QAction* entry = menu.findChild<QAction*>(QStringLiteral("menuProblems"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text().toStdString(), "问题列表…");
    entry->trigger();
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(ProblemsPanelTest, DockedItFollowsTheWindowDraggedAwayItStaysAndDocksAgainAtTheEdge) {
    window->Extras().ShowProblems();
    ProblemsPanel* panel = window->Extras().Problems();
    ASSERT_NE(panel, nullptr);
    const auto settle = [] { QCoreApplication::processEvents(); };
    settle();
    EXPECT_TRUE(panel->Docked());
    EXPECT_EQ(panel->pos(), panel->DockedPlace());

    const struct {
        const char* what;
        QPoint panelTo;       // where the user drags the panel (null: not dragged)
        QPoint windowBy;      // then the main window moves by this much
        bool docked;
    } steps[] = {
        {"the window moves: the docked panel comes along", QPoint(), QPoint(40, 20), true},
        {"dragged far away: it floats and stays put", QPoint(700, 5), QPoint(-30, 10), false},
        {"dragged back within the snap distance: docked again", QPoint(1, 1), QPoint(15, 15), true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (!step.panelTo.isNull()) {
            // (1, 1) stands for "a few pixels off the docked place".
            const QPoint to = step.panelTo == QPoint(1, 1) ? panel->DockedPlace() + QPoint(10, -8) : step.panelTo;
            panel->move(to);
            settle();
        }
        const QPoint before = panel->pos();
        window->move(window->pos() + step.windowBy);
        settle();
        EXPECT_EQ(panel->Docked(), step.docked);
        if (step.docked)
            EXPECT_EQ(panel->pos(), panel->DockedPlace());
        else
            EXPECT_EQ(panel->pos(), before);
    }
}

TEST_F(ProblemsPanelTest, LinesLeadToTheRowAndAFixIsUndoneByOneCtrlZ) {
    window->Extras().ShowProblems();
    ProblemsPanel* panel = window->Extras().Problems();
    ASSERT_NE(panel, nullptr);
    QApplication::processEvents();
    const int duplicate = LineWith(*panel, QStringLiteral("完全相同"));
    const int hidden = LineWith(*panel, QStringLiteral("模板编号 0"));
    ASSERT_GE(duplicate, 0);
    ASSERT_GE(hidden, 0);
    EXPECT_EQ(panel->Lines()->topLevelItem(duplicate)->text(static_cast<int>(ProblemsColumn::File)).toStdString(),
              "maps\\town\\r1_S.DAT");
    EXPECT_FALSE(panel->Lines()->topLevelItem(duplicate)->text(static_cast<int>(ProblemsColumn::Row)).isEmpty());

    // Sorted by name, the click still selects the duplicate's own row.
    window->Logic().OnHeadingClick(0);
    Click(*panel, duplicate);
    const std::vector<int> selected = window->Extras().SelectedRows();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(window->Logic().ListRows().CellText(selected[0], 0), "Guard");
    EXPECT_EQ(panel->FixButton()->text().toStdString(), "删除重复的记录");
    ASSERT_TRUE(panel->FixButton()->isEnabled());

    const std::string before = test::ReadFile(TownFile());
    DesktopSeams::QueueAnswer(MessageAnswer::Yes);
    panel->FixButton()->click();
    std::vector<PlacementRecord> after = records;
    after.erase(after.begin() + 2);
    EXPECT_EQ(test::ReadFile(TownFile()), test::RegionImage(after));
    EXPECT_EQ(LineWith(*panel, QStringLiteral("完全相同")), -1);
    EXPECT_EQ(window->Extras().StatusStrip()->toolTip().toStdString(), "已删除 1 条记录 (Ctrl+Z 撤销)");

    // One Ctrl+Z in the list takes the fix back; the panel shows the duplicate again.
    QShortcut* undo = ShortcutOf(*window, "Ctrl+Z");
    ASSERT_NE(undo, nullptr);
    emit undo->activated();
    EXPECT_EQ(test::ReadFile(TownFile()), before);
    panel->Refresh();
    EXPECT_GE(LineWith(*panel, QStringLiteral("完全相同")), 0);

    // The screenshot of the panel with its lines, a line chosen.
    panel->Lines()->setCurrentItem(panel->Lines()->topLevelItem(LineWith(*panel, QStringLiteral("模板编号 0"))));
    panel->resize(900, 300);
    QApplication::processEvents();
    const QString path = QString::fromStdString(test::ArtifactDirectory()) + QStringLiteral("/problems-panel.png");
    EXPECT_TRUE(panel->grab().save(path));
}

TEST_F(ProblemsPanelTest, EveryMapIsCheckedWithProgress) {
    window->Extras().ShowProblems();
    ProblemsPanel* panel = window->Extras().Problems();
    ASSERT_NE(panel, nullptr);
    panel->findChild<QPushButton*>(QStringLiteral("problemsCheckAll"))->click();
    for (int i = 0; i < 400 && panel->View().Running(); ++i) {
        QTest::qWait(10);
        panel->Refresh();
    }
    panel->Refresh();
    ASSERT_FALSE(panel->View().Running());
    // The field map's Wolf stands at X 1200: hidden.
    EXPECT_GE(LineWith(*panel, QStringLiteral("X 不小于 1000")), 0);
    EXPECT_EQ(panel->StatusLabel()->text().toStdString(), "4 个问题, 检查了 2 个地图的 2 个文件");
}

TEST_F(ProblemsPanelTest, TheStripNamesAFileChangedOutsideAndF5ReadsItKeepingTheSelection) {
    window->Extras().WatchFiles();
    // Select Shop.
    const PlacementRowView& rows = window->Logic().ListRows();
    int shop = -1;
    for (int row = 0; row < rows.Count(); ++row)
        if (rows.CellText(row, 0) == "Shop") shop = row;
    ASSERT_GE(shop, 0);
    window->Placements().SelectRow(shop);

    // Another program puts a record before all the others.
    std::vector<PlacementRecord> changed = records;
    changed.insert(changed.begin(), test::Record(2, "Smith", 5, 0, 5, 0, 0, 0, 0, 0));
    test::WriteFile(TownFile(), test::RegionImage(changed));
    window->Extras().WatchFiles();
    EXPECT_EQ(window->Extras().StatusStrip()->toolTip().toStdString(),
              "maps\\town\\r1_S.DAT 已被其他程序修改 — 按 F5 重新读取");

    QShortcut* f5 = ShortcutOf(*window, "F5");
    ASSERT_NE(f5, nullptr);
    emit f5->activated();
    window->ListModel().FlushPendingRows();
    EXPECT_EQ(window->Extras().StatusStrip()->toolTip().toStdString(), "已重新读取地图: 5 行");
    const std::vector<int> selected = window->Extras().SelectedRows();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(window->Logic().ListRows().CellText(selected[0], 0), "Shop");
}

}  // namespace
}  // namespace morvi
