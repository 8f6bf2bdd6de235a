// The Qt map view as a user edits on it: a drag of the selection moves the placements (one step,
// the list and the status strip at once), a double click on an empty spot starts a new
// placement there, Delete runs the list's delete. Saves screenshots of a sorted and filtered
// list, the bulk edit dialog and the map after a drag.

#include <cmath>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "GuiTestSupport.h"
#include "TestFiles.h"
#include "app/BulkEditDialog.h"
#include "app/DesktopSeams.h"
#include "app/MapViewCanvas.h"
#include "app/MapViewWindow.h"
#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "app/PlacementWindow.h"
#include "app/WindowExtras.h"

namespace morvi {
namespace {

class MapEditWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        DesktopSeams::Reset();
        DesktopSeams::SetUnattended(true);
        server = work.path() + "/server";
        test::WriteServerTree(server, {{1, "Town", "town"}}, {"Guard", "Wolf", "Shop", "Smith"},
                              {{"town/r1_S.DAT", {test::Record(1, "Guard", 300, 0, 200, 0, 3, 0, 0, 0),
                                                  test::Record(2, "Wolf", 100, 0, 50, 0, 0, 0, 0, 1),
                                                  test::Record(3, "Shop", 700, 0, 400, 0, 5, 0, 0, 0)}}});
        cwd = std::make_unique<test::ConfiguredWorkDir>(work.path(), server);
        window = std::make_unique<PlacementWindow>();
        window->InitDialog();
        qobject_cast<QListWidget*>(window->Control(IDC_MAP_LIST))->setCurrentRow(0);
        window->ListModel().FlushPendingRows();
        window->Extras().ShowMapView();
        map = window->Extras().MapView();
        map->resize(1040, 600);
        canvas = &map->Canvas();
        canvas->resize(1024, 524);
        canvas->FitView();
    }
    void TearDown() override {
        window.reset();
        cwd.reset();
        DesktopSeams::Reset();
    }
    QPoint At(double x, double y) const {
        const MapPointF v = canvas->Transform().ToView(x, y);
        return {static_cast<int>(std::lround(v.x)), static_cast<int>(std::lround(v.y))};
    }
    int RowNamed(const std::string& name) const {
        const CPlacementDlg& logic = window->Logic();
        for (int row = 0; row < logic.ListRows().Count(); ++row)
            if (logic.Rows().CellText(logic.ListRows().StoreRow(row), COL_NAME) == name) return row;
        return -1;
    }
    std::string Cell(const std::string& name, int column) const {
        const CPlacementDlg& logic = window->Logic();
        return logic.Rows().CellText(logic.ListRows().StoreRow(RowNamed(name)), column);
    }
    std::string FileNow() const { return test::ReadFile(server + "/maps/town/r1_S.DAT"); }
    void Save(QWidget& widget, const char* name) {
        const QString path = QString::fromStdString(test::ArtifactDirectory()) + QLatin1Char('/') + QLatin1String(name);
        EXPECT_TRUE(widget.grab().save(path)) << path.toStdString();
    }

    test::TempDir work;
    std::string server;
    std::unique_ptr<test::ConfiguredWorkDir> cwd;
    std::unique_ptr<PlacementWindow> window;
    MapViewWindow* map = nullptr;
    MapViewCanvas* canvas = nullptr;
};

TEST_F(MapEditWindowTest, DraggingTheSelectionMovesItsPlacementsInOneStep) {
    const std::string before = FileNow();
    window->ListView().selectRow(RowNamed("Wolf"));
    QApplication::processEvents();
    ASSERT_EQ(canvas->Model().SelectedStackCount(), 1);

    QTest::mousePress(canvas, Qt::LeftButton, {}, At(100, 50));
    QTest::mouseMove(canvas, At(115, 55));
    QTest::mouseMove(canvas, At(130, 60));
    EXPECT_EQ(canvas->Gesture().Active(), MapViewGesture::Kind::Move);
    EXPECT_EQ(canvas->Gesture().PreviewMove(), (MapMove{30, 10}));
    // The preview: the wolf's dot is drawn where the pointer took it, its old spot is empty.
    const QImage preview = canvas->grab().toImage();
    EXPECT_EQ(preview.pixel(At(130, 60) + QPoint(1, 0)) & 0xFFFFFF, MapTypeRgb(0));
    EXPECT_EQ(preview.pixel(At(100, 50) + QPoint(1, 0)) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(FileNow(), before) << "nothing is written before the release";
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, At(130, 60));

    EXPECT_EQ(Cell("Wolf", COL_POS_X), "130");
    EXPECT_EQ(Cell("Wolf", COL_POS_Y), "60");
    EXPECT_EQ(Cell("Guard", COL_POS_X), "300");
    EXPECT_NE(FileNow(), before);
    EXPECT_GE(canvas->Model().StackOfRow(RowNamed("Wolf")), 0);
    const MapStack& moved = canvas->Model().Stacks()[static_cast<size_t>(canvas->Model().StackOfRow(RowNamed("Wolf")))];
    EXPECT_EQ(moved.x, 130) << "the map shows the move at once";
    EXPECT_TRUE(window->Extras().StatusStrip()->toolTip().contains(QString::fromUtf8("地图上移动")))
        << window->Extras().StatusStrip()->toolTip().toStdString();
    map->show();
    Save(*map, "map-after-drag.png");

    ASSERT_TRUE(window->Logic().OnUndo());
    EXPECT_EQ(FileNow(), before) << "one undo takes the move back";
}

TEST_F(MapEditWindowTest, ADoubleClickOnAnEmptySpotFillsANewPlacementAndDeleteAsksAsTheListDoes) {
    qobject_cast<QListWidget*>(window->Control(IDC_TEMPLATE_LIST))->setCurrentRow(3);
    QTest::mouseDClick(canvas, Qt::LeftButton, {}, At(640, 321));
    EXPECT_EQ(window->Logic().EditMode(), EDIT_ADD);
    EXPECT_EQ(window->ItemText(IDC_POS_X), "640");
    EXPECT_EQ(window->ItemText(IDC_POS_Y), "321");
    EXPECT_EQ(window->ItemText(IDC_NAME), "Smith");

    const std::string before = FileNow();
    window->ListView().selectRow(RowNamed("Shop"));
    QApplication::processEvents();
    DesktopSeams::QueueAnswer(MessageAnswer::Yes);
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Delete);
    ASSERT_FALSE(DesktopSeams::Messages().empty());
    EXPECT_EQ(DesktopSeams::Messages().back().caption, "从地图里移出NPC");
    EXPECT_EQ(RowNamed("Shop"), -1);
    EXPECT_LT(FileNow().size(), before.size());
    QApplication::processEvents();
    EXPECT_EQ(canvas->Model().PointCount(), 2);
}

TEST_F(MapEditWindowTest, ScreenshotsOfASortedAndFilteredListAndTheBulkEditDialog) {
    emit window->ListView().horizontalHeader()->sectionClicked(COL_POS_X);
    window->Extras().ListFilter()->setText(QStringLiteral("x:100-400"));
    QApplication::processEvents();
    ASSERT_EQ(window->Logic().ListRows().Count(), 2);
    window->ListView().selectRow(0);
    QApplication::processEvents();
    window->show();
    Save(*window, "list-sorted-filtered.png");

    window->Extras().BulkEditSelectedRows([this](BulkEditDialog& dialog) {
        dialog.GroupCombo()->setCurrentIndex(dialog.GroupCombo()->findData(1));
        dialog.ClearScriptBox()->setChecked(true);
        dialog.MoveXEdit()->setText(QStringLiteral("5"));
        EXPECT_FALSE(dialog.ScriptEdit()->isEnabled()) << "a cleared script leaves nothing to type";
        dialog.show();
        Save(dialog, "bulk-edit-dialog.png");
        return true;
    });
    EXPECT_EQ(Cell("Wolf", COL_POS_X), "105");
}

}  // namespace
}  // namespace morvi
