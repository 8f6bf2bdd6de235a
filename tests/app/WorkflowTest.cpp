// The real window on a small generated server tree, driven through its widgets: load a map,
// search, modify, add and delete, then the region files compared byte for byte.
#include <filesystem>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/DesktopSeams.h"
#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "app/PlacementWindow.h"
#include "GuiTestSupport.h"

namespace morvi {
namespace {

using test::Record;
using test::RegionImage;

const std::string kScript = "\\script\\npc\\merchant_of_the_town.lua";

class WorkflowTest : public ::testing::Test {
protected:
    WorkflowTest()
        : server(temp / "server"),
          file1(server + "/maps/balingxian/r1_S.DAT"),
          file2(server + "/maps/balingxian/sub/r2_S.DAT"),
          a(Record(1, "卫兵甲", 100, 1, 200, 2, 0, 1, 0, 5)),
          b(Record(2, "商人乙", 150, 0, 300, 0, 3, 2, 1, 0, kScript)),
          c(Record(3, "Guard", 100, 3, 250, 4, 4, 5, 2, 7)),
          hidden(Record(0, "Hidden", 10, 0, 10, 0, 0, 0, 0, 0)) {
        test::WriteServerTree(server, {{11, "巴陵县", "balingxian"}, {12, "Empty", "empty"}},
                              {"Dummy", "卫兵", "商人", "Guard", "Healer"},
                              {{"balingxian/r1_S.DAT", {a, b}}, {"balingxian/sub/r2_S.DAT", {c, hidden}}});
        DesktopSeams::Reset();
        DesktopSeams::SetUnattended(true);
    }

    void Start(bool debug = false) {
        window.reset();
        workDir.reset();   // restores the previous directory before a new one is entered
        workDir = std::make_unique<test::ConfiguredWorkDir>(temp / "work", server, debug);
        window = std::make_unique<PlacementWindow>();
        window->InitDialog();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QWidget* Viewport(int id) { return window->Control(id)->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport")); }

    void ClickListBoxEntry(int id, int index) {
        auto* list = qobject_cast<QListWidget*>(window->Control(id));
        QTest::mouseClick(Viewport(id), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(index)).center());
    }

    QPoint RowCentre(int row) {
        PlacementTableView& view = window->ListView();
        return view.visualRect(window->ListModel().index(row, 0)).center();
    }

    int RowNamed(const std::string& name) {
        const PlacementRowStore& list = window->Logic().Rows();
        for (int row = 0; row < list.Count(); ++row)
            if (list.CellText(row, COL_NAME) == name)
                return row;
        return -1;
    }

    void Click(int id) { QTest::mouseClick(window->Control(id), Qt::LeftButton); }

    void Type(int id, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(window->Control(id));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    void Choose(int id, const QString& text) {
        auto* combo = qobject_cast<QComboBox*>(window->Control(id));
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
    }

    static bool SameFile(const std::string& x, const std::string& y) {
        return std::filesystem::equivalent(std::filesystem::path(x), std::filesystem::path(y));
    }

    test::TempDir temp;
    std::string server, file1, file2;
    PlacementRecord a, b, c, hidden;
    std::unique_ptr<test::ConfiguredWorkDir> workDir;
    std::unique_ptr<PlacementWindow> window;
};

TEST_F(WorkflowTest, LoadSearchModifyAddAndDeleteThroughTheWidgets) {
    Start();
    ASSERT_EQ(window->ListBoxCount(IDC_MAP_LIST), 2);
    EXPECT_EQ(window->ListBoxText(IDC_MAP_LIST, 0), "巴陵县");
    EXPECT_EQ(window->ListBoxCount(IDC_TEMPLATE_LIST), 5);
    EXPECT_EQ(window->ComboCount(IDC_TYPE), 4);
    EXPECT_EQ(window->ItemText(IDC_SERVER_STATUS), server);

    // Select the map: every listed record of both files, the final count in the caption.
    ClickListBoxEntry(IDC_MAP_LIST, 0);
    const PlacementRowStore& list = window->Logic().Rows();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(window->ItemText(IDC_FRAME), "NPC配置列表完成!共有NPC配置信息[3]条!");
    EXPECT_EQ(window->ItemText(IDC_HINT), "双击上面的内容可在这里进行编辑!");
    QCoreApplication::processEvents();
    EXPECT_EQ(window->ListModel().rowCount(), 3);
    const int merchantRow = RowNamed("商人乙");
    ASSERT_GE(merchantRow, 0);
    EXPECT_EQ(list.CellText(merchantRow, COL_SCRIPT), kScript);
    EXPECT_EQ(list.CellText(merchantRow, COL_DROP), "");
    EXPECT_EQ(list.CellText(merchantRow, COL_TYPE), "TalkNPC");
    EXPECT_TRUE(SameFile(list.CellText(merchantRow, COL_FILE), file1));
    EXPECT_EQ(list.CellText(RowNamed("Hidden"), COL_NAME), "");   // template 0 is not listed

    // Search by name: the row is selected, and the list has the focus with its hint.
    Type(IDC_FIND_NAME, QStringLiteral("Gua"));
    Click(IDC_FIND_ALL);
    const int guardRow = RowNamed("Guard");
    ASSERT_GE(guardRow, 0);
    EXPECT_EQ(window->Placements().NextSelectedRow(-1), guardRow);
    EXPECT_EQ(window->ListView().currentIndex().row(), guardRow);
    EXPECT_EQ(window->ItemText(IDC_HINT), "双击该选项可以编辑选定项");

    // Modify the found row: double click fills the edit area; change X and the drop count.
    QTest::mouseDClick(Viewport(IDC_PLACEMENT_LIST), Qt::LeftButton, Qt::NoModifier, RowCentre(guardRow));
    EXPECT_EQ(window->ItemText(IDC_NAME), "Guard");
    EXPECT_EQ(window->ItemText(IDC_POS_X), "100");
    EXPECT_EQ(window->ItemText(IDC_POS_Y), "250");
    EXPECT_EQ(window->ItemText(IDC_TYPE), "NPC(Fly)");
    EXPECT_EQ(window->ItemText(IDC_GROUP), "Enemy");
    EXPECT_EQ(window->ItemText(IDC_DROP), "7");
    Type(IDC_POS_X, QStringLiteral("111"));
    Type(IDC_DROP, QStringLiteral("9"));
    Click(IDC_SAVE);
    EXPECT_EQ(list.CellText(guardRow, COL_POS_X), "111");
    EXPECT_EQ(list.CellText(guardRow, COL_DROP), "9");
    EXPECT_EQ(window->ItemText(IDC_NAME), "");   // the edit area is reset after a save
    const PlacementRecord changed = Record(3, "Guard", 111, 3, 250, 4, 4, 5, 2, 9);
    EXPECT_EQ(test::ReadFile(file2), RegionImage({changed, hidden}));
    EXPECT_EQ(test::ReadFile(file1), RegionImage({a, b}));

    // Add from the template list through the edit widgets.
    ClickListBoxEntry(IDC_TEMPLATE_LIST, 2);
    Click(IDC_ADD);
    EXPECT_EQ(window->ItemText(IDC_HINT), "添加NPC模型成功,现在可以更改NPC配置信息!");
    EXPECT_EQ(window->ItemText(IDC_NAME), "商人");
    const int templateIndex = window->Logic().CurTemplate();
    Type(IDC_POS_X, QStringLiteral("321"));
    Type(IDC_POS_Y, QStringLiteral("123"));
    Type(IDC_OFFSET_X, QStringLiteral("7"));
    Type(IDC_OFFSET_Y, QStringLiteral("8"));
    Type(IDC_DROP, QStringLiteral("3"));
    Choose(IDC_TYPE, QStringLiteral("TalkNPC"));
    Choose(IDC_GROUP, QStringLiteral("Song"));
    Choose(IDC_SERIES, QStringLiteral("2"));
    Click(IDC_SAVE);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.CellText(0, COL_NAME), "商人");
    EXPECT_EQ(list.CellText(0, COL_POS_X), "321");
    EXPECT_EQ(list.CellText(0, COL_TEMPLATE), std::to_string(templateIndex));
    const PlacementRecord added = Record(templateIndex, "商人", 321, 7, 123, 8, 3, 1, 2, 3);
    const std::string addedTo = list.CellText(0, COL_FILE);
    if (SameFile(addedTo, file1)) {
        EXPECT_EQ(test::ReadFile(file1), RegionImage({a, b, added}));
        EXPECT_EQ(test::ReadFile(file2), RegionImage({changed, hidden}));
    } else {
        ASSERT_TRUE(SameFile(addedTo, file2)) << addedTo;
        EXPECT_EQ(test::ReadFile(file1), RegionImage({a, b}));
        EXPECT_EQ(test::ReadFile(file2), RegionImage({changed, hidden, added}));
    }

    // Delete the new row and the merchant, answering the confirmation through the seam.
    QCoreApplication::processEvents();
    QTest::mouseClick(Viewport(IDC_PLACEMENT_LIST), Qt::LeftButton, Qt::NoModifier, RowCentre(0));
    QTest::mouseClick(Viewport(IDC_PLACEMENT_LIST), Qt::LeftButton, Qt::ControlModifier, RowCentre(RowNamed("商人乙")));
    const size_t messagesBefore = DesktopSeams::Messages().size();
    DesktopSeams::QueueAnswer(MessageAnswer::Yes);
    Click(IDC_DELETE);
    ASSERT_EQ(DesktopSeams::Messages().size(), messagesBefore + 1);
    EXPECT_EQ(DesktopSeams::Messages().back().caption, "从地图里移出NPC");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(RowNamed("商人"), -1);
    EXPECT_EQ(RowNamed("商人乙"), -1);
    EXPECT_EQ(test::ReadFile(file1), RegionImage({a}));
    EXPECT_EQ(test::ReadFile(file2), RegionImage({changed, hidden}));
}

TEST_F(WorkflowTest, DeleteAnsweredNoChangesNothing) {
    Start();
    ClickListBoxEntry(IDC_MAP_LIST, 0);
    QCoreApplication::processEvents();
    QTest::mouseClick(Viewport(IDC_PLACEMENT_LIST), Qt::LeftButton, Qt::NoModifier, RowCentre(0));
    DesktopSeams::QueueAnswer(MessageAnswer::No);
    Click(IDC_DELETE);
    EXPECT_EQ(window->Logic().Rows().Count(), 3);
    EXPECT_EQ(test::ReadFile(file1), RegionImage({a, b}));
    EXPECT_EQ(test::ReadFile(file2), RegionImage({c, hidden}));
}

TEST_F(WorkflowTest, ScriptButtonsUseTheFileDialogAndTheEditorSeams) {
    Start();
    ClickListBoxEntry(IDC_MAP_LIST, 0);
    QCoreApplication::processEvents();   // as the event loop does before the next user input
    QTest::mouseDClick(Viewport(IDC_PLACEMENT_LIST), Qt::LeftButton, Qt::NoModifier, RowCentre(0));
    test::WriteFile(server + "/script/npc/guard.lua", "-- guard\n");
    DesktopSeams::QueueOpenFile(server + "/script/npc/guard.lua");
    Click(IDC_BROWSE_SCRIPT);
    ASSERT_EQ(DesktopSeams::FileOpenRequests().size(), 1u);
    const FileOpenRequest& request = DesktopSeams::FileOpenRequests().front();
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].label, "脚本配置文件(*.lua)");
    EXPECT_EQ(request.defaultExtension, ".lua");
    const std::string field = window->ItemText(IDC_SCRIPT);
    EXPECT_NE(field.find("guard.lua"), std::string::npos) << field;
    EXPECT_EQ(field.find(server), std::string::npos) << field;   // relative to the server

    std::vector<std::string> opened;
    DesktopSeams::SetEditorLauncher([&](const std::string& path) { opened.push_back(path); });
    Click(IDC_EDIT_SCRIPT);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(SameFile(opened.front(), server + "/script/npc/guard.lua")) << opened.front();
}

TEST_F(WorkflowTest, SingleClickShowsTheRegionFileOnlyInDebugMode) {
    for (bool debug : {false, true}) {
        Start(debug);
        ClickListBoxEntry(IDC_MAP_LIST, 0);
        QCoreApplication::processEvents();
        const std::string loaded = window->ItemText(IDC_FRAME);
        const int row = RowNamed("Guard");
        QTest::mouseClick(Viewport(IDC_PLACEMENT_LIST), Qt::LeftButton, Qt::NoModifier, RowCentre(row));
        if (!debug) {
            EXPECT_EQ(window->ItemText(IDC_FRAME), loaded);
            EXPECT_EQ(window->ItemText(IDC_NAME), "");   // a single click never fills the fields
            continue;
        }
        const std::string caption = window->ItemText(IDC_FRAME);
        ASSERT_EQ(caption.rfind("[调试模式]", 0), 0u) << caption;
        EXPECT_TRUE(SameFile(caption.substr(std::string("[调试模式]").size()), file2)) << caption;
    }
}

TEST_F(WorkflowTest, SavesAPictureOfTheLoadedWindow) {
    Start();
    ClickListBoxEntry(IDC_MAP_LIST, 0);
    QCoreApplication::processEvents();
    const std::string path = test::ArtifactDirectory() + "/main-window-loaded.png";
    const QImage picture = window->grab().toImage();
    ASSERT_TRUE(picture.save(QString::fromStdString(path)));
    EXPECT_EQ(picture.size(), window->size() * window->devicePixelRatio());
}

}  // namespace
}  // namespace morvi
