// What the main window offers beyond its template: it grows without overlap or clipped
// labels, the keyboard map, the row context menu, the template filter, the map view in step
// with the list, the status strip after a save, and the opener's failure shown there.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

#include "app/DesktopSeams.h"
#include "app/MapViewCanvas.h"
#include "app/MapViewWindow.h"
#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "app/PlacementWindow.h"
#include "app/WindowExtras.h"
#include "dialog/KeyboardMap.h"
#include "GuiTestSupport.h"
#include "TestFiles.h"

namespace morvi {
namespace {

QString Describe(const QWidget* w) {
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
    return w->objectName() + QStringLiteral(" '") + text + QStringLiteral("'");
}

class WindowExtrasTest : public ::testing::Test {
protected:
    void SetUp() override {
        DesktopSeams::Reset();
        DesktopSeams::SetUnattended(true);
        server = work.path() + "/server";
        std::vector<PlacementRecord> records{
            test::Record(1, "Guard", 300, 0, 200, 0, 3, 0, 0, 0),
            test::Record(1, "Guard", 300, 1, 200, 0, 3, 0, 0, 0),
            test::Record(2, "Wolf", 100, 0, 50, 0, 0, 0, 0, 1),
            test::Record(3, "Shop", 700, 0, 400, 0, 5, 0, 0, 0, "\\script\\npc\\shop_keeper_long.lua"),
        };
        test::WriteServerTree(server, {{1, "Town", "town"}}, {"Guard", "Wolf", "Shop", "Smith"},
                              {{"town/r1_S.DAT", records}});
        cwd = std::make_unique<test::ConfiguredWorkDir>(work.path(), server);
        window = std::make_unique<PlacementWindow>();
        window->InitDialog();
    }
    void TearDown() override {
        window.reset();
        cwd.reset();
        DesktopSeams::Reset();
    }
    void SelectMap() {
        auto* maps = qobject_cast<QListWidget*>(window->Control(IDC_MAP_LIST));
        maps->setCurrentRow(0);
        window->ListModel().FlushPendingRows();
    }

    test::TempDir work;
    std::string server;
    std::unique_ptr<test::ConfiguredWorkDir> cwd;
    std::unique_ptr<PlacementWindow> window;
};

TEST_F(WindowExtrasTest, GrowingKeepsControlsApartLabelsWholeAndEditRowsBelowTheLists) {
    const QSize minimum = window->minimumSize();
    window->show();
    for (const QSize size : {minimum, QSize(1920, 1080), QSize(1280, 720)}) {
        window->resize(size);
        QApplication::processEvents();
        ASSERT_EQ(window->size(), size.expandedTo(minimum));
        std::vector<QWidget*> controls;
        for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!qobject_cast<QGroupBox*>(w) && w->isVisibleTo(window.get())) controls.push_back(w);
        for (size_t i = 0; i < controls.size(); ++i) {
            EXPECT_TRUE(window->rect().contains(controls[i]->geometry())) << Describe(controls[i]).toStdString();
            for (size_t j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                    << size.width() << ": " << Describe(controls[i]).toStdString() << " overlaps "
                    << Describe(controls[j]).toStdString();
        }
        for (QLabel* label : window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->wordWrap() || label->objectName() == QStringLiteral("statusStrip") ||
                label->objectName() == QStringLiteral("id1006") || label->objectName() == QStringLiteral("id1008"))
                continue;
            EXPECT_LE(label->sizeHint().width(), label->width()) << Describe(label).toStdString();
            EXPECT_LE(label->fontMetrics().height(), label->height()) << Describe(label).toStdString();
        }
        // The lists take the room; the edit rows stay anchored to the bottom.
        const QRect list = window->Control(IDC_PLACEMENT_LIST)->geometry();
        const QRect save = window->Control(IDC_SAVE)->geometry();
        const QRect name = window->Control(IDC_NAME)->geometry();
        EXPECT_EQ(window->height() - save.bottom(), minimum.height() - window->Units().ToPixels(444, 297, 27, 14).bottom());
        EXPECT_LT(list.bottom(), name.top());
        EXPECT_EQ(window->width() - save.right(), minimum.width() - window->Units().ToPixels(444, 297, 27, 14).right());
        EXPECT_EQ(window->Control(IDC_TEMPLATE_LIST)->geometry().bottom() - window->Control(IDC_TEMPLATE_LIST)->geometry().top(),
                  window->Units().ToPixels(397, 58, 73, 220).height() - 1 + (window->height() - minimum.height()));
    }
    auto* view = &window->ListView();
    EXPECT_EQ(view->columnWidth(0), 100) << "column widths as at the default size";
    EXPECT_EQ(view->columnWidth(9), 280);
}

TEST_F(WindowExtrasTest, TabOrderFollowsTheLayout) {
    std::vector<QWidget*> order;
    QWidget* start = window->Control(IDC_BROWSE_SERVER);
    QWidget* w = start;
    for (int i = 0; i < 60; ++i) {
        order.push_back(w);
        w = w->nextInFocusChain();
        while (w != start && !(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
        if (w == start) break;
    }
    const auto position = [&](int id) {
        return std::find(order.begin(), order.end(), window->Control(id)) - order.begin();
    };
    EXPECT_LT(position(IDC_FIND_NAME), position(IDC_FIND_X));
    EXPECT_LT(position(IDC_FIND_Y), position(IDC_FIND_ALL));
    EXPECT_LT(position(IDC_FIND_NEXT), position(IDC_MAP_LIST));
    EXPECT_LT(position(IDC_MAP_LIST), position(IDC_PLACEMENT_LIST));
    EXPECT_LT(position(IDC_PLACEMENT_LIST), position(IDC_TEMPLATE_LIST));
    EXPECT_LT(position(IDC_TEMPLATE_LIST), position(IDC_NAME));
    EXPECT_LT(position(IDC_POS_X), position(IDC_OFFSET_X));
    EXPECT_LT(position(IDC_OFFSET_X), position(IDC_TYPE));
    EXPECT_LT(position(IDC_SCRIPT), position(IDC_SAVE));
}

TEST_F(WindowExtrasTest, EveryKeyOfTheMapIsInstalledAndNamedInTooltips) {
    for (const KeyBinding& b : KeyboardMap()) {
        auto* shortcut = window->findChild<QShortcut*>(QStringLiteral("key ") + QString::fromLatin1(b.keys));
        ASSERT_NE(shortcut, nullptr) << b.keys;
        EXPECT_EQ(shortcut->key(), QKeySequence(QString::fromLatin1(b.keys)));
        // Keys without a control of their own (the row menu's) are named by the list's tooltip.
        QWidget* named = window->Control(b.controlId ? b.controlId : IDC_PLACEMENT_LIST);
        EXPECT_TRUE(named->toolTip().contains(QString::fromLatin1(b.keys))) << b.keys;
    }
    EXPECT_EQ(window->Control(IDC_SAVE)->toolTip(), QStringLiteral("Luu (Ctrl+S)"));
    EXPECT_TRUE(window->Control(IDC_PLACEMENT_LIST)->toolTip().contains(QString::fromUtf8("复制为新NPC (Ctrl+D)")));
}

TEST_F(WindowExtrasTest, RowMenuEntriesAndCopyRows) {
    SelectMap();
    QMenu menu;
    window->Extras().FillContextMenu(menu);
    QStringList texts;
    for (QAction* a : menu.actions())
        if (!a->isSeparator()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{QString::fromUtf8("编辑"), QString::fromUtf8("复制为新NPC"), QString::fromUtf8("删除"),
                                  QString::fromUtf8("批量修改…"), QString::fromUtf8("在地图上显示"),
                                  QString::fromUtf8("在所有地图中查找"), QString::fromUtf8("与其他服务器比较…"),
                                  QString::fromUtf8("复制行"),
                                  QString::fromUtf8("撤销上一次修改"), QString::fromUtf8("重做撤销的修改"),
                                  QString::fromUtf8("问题列表…"), QString::fromUtf8("关于 MorviNpc(&A)..."),
                                  QString::fromUtf8("语言 / Language")}));
    window->Placements().SelectRow(0);
    window->Placements().SelectRow(3);
    menu.findChild<QAction*>(QStringLiteral("menuCopyRows"))->trigger();
    const QStringList lines = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("name\tx\toffset_x")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\tmaps/town/r1_S.DAT\t3"))) << lines[1].toStdString();
}

TEST_F(WindowExtrasTest, CloneEntryNeedsARowAndCtrlDStartsTheClone) {
    SelectMap();
    int wolf = -1;
    for (int row = 0; row < window->Logic().Rows().Count(); ++row)
        if (window->Logic().Rows().CellText(row, COL_NAME) == "Wolf") wolf = row;
    ASSERT_GE(wolf, 0);
    {
        QMenu menu;
        window->Extras().FillContextMenu(menu);
        EXPECT_FALSE(menu.findChild<QAction*>(QStringLiteral("menuClone"))->isEnabled()) << "no row selected";
    }
    window->Placements().SelectRow(wolf);
    QMenu menu;
    window->Extras().FillContextMenu(menu);
    QAction* clone = menu.findChild<QAction*>(QStringLiteral("menuClone"));
    ASSERT_TRUE(clone->isEnabled());
    EXPECT_EQ(clone->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    clone->trigger();
    EXPECT_EQ(window->Logic().EditMode(), EDIT_ADD);
    EXPECT_EQ(window->ItemText(IDC_NAME), "Wolf");
    EXPECT_EQ(window->ListBoxSelection(IDC_TEMPLATE_LIST), 1) << "template 2 is entry 1, as \"Them\" takes it";
    QTest::mouseClick(window->Control(IDC_CANCEL_EDIT), Qt::LeftButton);
    EXPECT_EQ(window->Logic().EditMode(), EDIT_IDLE);

    // Ctrl+D; a filter that hides the row's template is cleared so the selection shows.
    window->Extras().TemplateFilter()->setText(QStringLiteral("sm"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(window->Logic().EditMode(), EDIT_ADD);
    EXPECT_TRUE(window->Extras().TemplateFilter()->text().isEmpty());
    auto* templates = qobject_cast<QListWidget*>(window->Control(IDC_TEMPLATE_LIST));
    ASSERT_EQ(window->ListBoxSelection(IDC_TEMPLATE_LIST), 1);
    EXPECT_FALSE(templates->item(1)->isHidden());

    // "Luu" appends the copy to the wolf's file and the strip names the clone.
    window->SetItemText(IDC_POS_X, "7");
    QTest::mouseClick(window->Control(IDC_SAVE), Qt::LeftButton);
    EXPECT_EQ(window->Logic().Rows().Count(), 5);
    EXPECT_EQ(window->Logic().Rows().CellText(0, COL_NAME), "Wolf");
    EXPECT_EQ(window->Logic().Rows().CellText(0, COL_POS_X), "7");
    const QString status = window->Extras().StatusStrip()->toolTip();
    EXPECT_TRUE(status.contains(QString::fromUtf8("复制为新NPC"))) << status.toStdString();
}

TEST_F(WindowExtrasTest, TemplateFilterHidesEntriesButKeepsTheirPositions) {
    auto* templates = qobject_cast<QListWidget*>(window->Control(IDC_TEMPLATE_LIST));
    templates->setCurrentRow(1);   // Wolf
    window->Extras().TemplateFilter()->setText(QStringLiteral("sm"));
    std::vector<bool> hidden;
    for (int i = 0; i < templates->count(); ++i) hidden.push_back(templates->item(i)->isHidden());
    EXPECT_EQ(hidden, (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(window->ListBoxSelection(IDC_TEMPLATE_LIST), -1) << "a hidden template is never taken";
    templates->setCurrentRow(3);
    QTest::mouseClick(window->Control(IDC_ADD), Qt::LeftButton);
    EXPECT_EQ(window->Logic().CurTemplate(), 4) << "the number of the full list";
    window->Extras().TemplateFilter()->clear();
    for (int i = 0; i < templates->count(); ++i) EXPECT_FALSE(templates->item(i)->isHidden());
}

TEST_F(WindowExtrasTest, MapViewFollowsTheListBothWays) {
    SelectMap();
    window->Extras().ShowMapView();
    MapViewWindow* map = window->Extras().MapView();
    ASSERT_NE(map, nullptr);
    MapViewCanvas& canvas = map->Canvas();
    EXPECT_EQ(canvas.Model().PointCount(), 4);
    EXPECT_EQ(canvas.Model().Stacks().size(), 3u) << "two guards on one spot";

    // List -> map: a selected row rings its stack.
    window->Placements().SelectRow(0);   // the shop, alone on its spot
    EXPECT_EQ(canvas.Model().SelectedStackCount(), 1);

    // Map -> list: a click on the guards' spot adds both rows to the selection.
    canvas.resize(1000, 520);
    canvas.FitView();
    const MapPointF spot = canvas.Transform().ToView(300, 200);
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(int(spot.x), int(spot.y)));
    std::vector<int> selected = window->Extras().SelectedRows();
    EXPECT_EQ(selected.size(), 3u);
    for (int row : selected) {
        const std::string name = window->Logic().Rows().CellText(row, COL_NAME);
        EXPECT_TRUE(name == "Guard" || row == 0) << name;
    }
    EXPECT_EQ(canvas.Model().SelectedStackCount(), 2);

    // An add reaches the map at once.
    auto* templates = qobject_cast<QListWidget*>(window->Control(IDC_TEMPLATE_LIST));
    templates->setCurrentRow(3);
    QTest::mouseClick(window->Control(IDC_ADD), Qt::LeftButton);
    window->SetItemText(IDC_POS_X, "900");
    window->SetItemText(IDC_POS_Y, "100");
    window->SetItemText(IDC_DROP, "1");
    QTest::mouseClick(window->Control(IDC_SAVE), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(canvas.Model().PointCount(), 5);
    EXPECT_GE(canvas.Model().StackOfRow(0), 0);

    // Screenshot of the view with a selection.
    map->resize(1040, 600);
    map->show();
    const QString path = QString::fromStdString(test::ArtifactDirectory()) + QStringLiteral("/map-view-selection.png");
    EXPECT_TRUE(map->grab().save(path));
}

TEST_F(WindowExtrasTest, StatusStripShowsTheLastWriteAndDuplicateKeys) {
    SelectMap();
    auto* templates = qobject_cast<QListWidget*>(window->Control(IDC_TEMPLATE_LIST));
    templates->setCurrentRow(1);
    QTest::mouseClick(window->Control(IDC_ADD), Qt::LeftButton);
    // The same key as the wolf: template 2 (position 1 + 1), X 100, Y 50, offsets 0.
    window->SetItemText(IDC_POS_X, "100");
    window->SetItemText(IDC_POS_Y, "50");
    window->SetItemText(IDC_OFFSET_X, "0");
    window->SetItemText(IDC_OFFSET_Y, "0");
    window->SetItemText(IDC_DROP, "2");
    QTest::mouseClick(window->Control(IDC_SAVE), Qt::LeftButton);
    const QString status = window->Extras().StatusStrip()->toolTip();
    EXPECT_TRUE(status.contains(QString::fromUtf8("添加"))) << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("town\\r1_S.DAT"))) << status.toStdString();
    EXPECT_TRUE(status.contains(QString::fromUtf8("Wolf 与 Wolf"))) << status.toStdString();
    EXPECT_EQ(window->ItemText(IDC_HINT).find("注意"), std::string::npos) << "the hint line keeps its texts";

    // A save while idle writes nothing and leaves the strip alone.
    QTest::mouseClick(window->Control(IDC_SAVE), Qt::LeftButton);
    EXPECT_EQ(window->Extras().StatusStrip()->toolTip(), status);
}

TEST_F(WindowExtrasTest, ScriptDialogStartsInTheScriptFolder) {
    QDir().mkpath(QString::fromStdString(server + "/script"));
    SelectMap();
    auto* templates = qobject_cast<QListWidget*>(window->Control(IDC_TEMPLATE_LIST));
    templates->setCurrentRow(0);
    QTest::mouseClick(window->Control(IDC_ADD), Qt::LeftButton);
    QTest::mouseClick(window->Control(IDC_BROWSE_SCRIPT), Qt::LeftButton);
    ASSERT_EQ(DesktopSeams::FileOpenRequests().size(), 1u);
    EXPECT_TRUE(QString::fromStdString(DesktopSeams::FileOpenRequests()[0].startDirectory).endsWith(QStringLiteral("/server/script")));
}

TEST_F(WindowExtrasTest, MaximisedWindowScreenshot) {
    SelectMap();
    window->resize(1920, 1080);
    window->show();
    const QString path = QString::fromStdString(test::ArtifactDirectory()) + QStringLiteral("/main-window-1920x1080.png");
    EXPECT_TRUE(window->grab().save(path));
}

}  // namespace
}  // namespace morvi
