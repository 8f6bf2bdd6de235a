// The Qt window's sorted and filtered placement list, its status line and the bulk edit dialog,
// driven as a user would: header clicks, typing in the filter field, the dialog's fields.

#include <gtest/gtest.h>

#include <QApplication>
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
#include "app/PlacementListModel.h"
#include "app/PlacementTableView.h"
#include "app/PlacementWindow.h"
#include "app/WindowExtras.h"

namespace morvi {
namespace {

class ListExtrasTest : public ::testing::Test {
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
        qobject_cast<QListWidget*>(window->Control(IDC_MAP_LIST))->setCurrentRow(0);
        window->ListModel().FlushPendingRows();
    }
    void TearDown() override {
        window.reset();
        cwd.reset();
        DesktopSeams::Reset();
    }
    QStringList Column(int column) const {
        QStringList out;
        const PlacementListModel& model = window->ListModel();
        for (int row = 0; row < model.rowCount(); ++row)
            out << model.data(model.index(row, column), Qt::DisplayRole).toString();
        return out;
    }
    void ClickHeading(int column) { emit window->ListView().horizontalHeader()->sectionClicked(column); }
    QString ListStatus() const { return window->Extras().ListStatus()->toolTip(); }

    test::TempDir work;
    std::string server;
    std::unique_ptr<test::ConfiguredWorkDir> cwd;
    std::unique_ptr<PlacementWindow> window;
};

TEST_F(ListExtrasTest, HeadingClicksSortReverseAndRestoreTheFileOrderWithTheIndicator) {
    const QStringList fileOrder = Column(COL_NAME);
    ASSERT_EQ(fileOrder, (QStringList{"Shop", "Wolf", "Guard", "Guard"}));
    QHeaderView* header = window->ListView().horizontalHeader();
    ClickHeading(COL_POS_X);
    EXPECT_EQ(Column(COL_POS_X), (QStringList{"100", "300", "300", "700"}));
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    ClickHeading(COL_POS_X);
    EXPECT_EQ(Column(COL_POS_X), (QStringList{"700", "300", "300", "100"}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    ClickHeading(COL_POS_X);
    EXPECT_EQ(Column(COL_NAME), fileOrder);
    EXPECT_FALSE(header->isSortIndicatorShown());
}

TEST_F(ListExtrasTest, TypingInTheFilterFieldNarrowsTheListAndTheStatusNamesABadTerm) {
    QLineEdit* filter = window->Extras().ListFilter();
    ASSERT_NE(filter, nullptr);
    QTest::keyClicks(filter, "x:300");
    QApplication::processEvents();
    EXPECT_EQ(Column(COL_NAME), (QStringList{"Guard", "Guard"}));
    EXPECT_EQ(ListStatus(), QString::fromUtf8("显示 2 / 4 行"));
    // A term that does not parse (pasted whole): the list stays, the status says which term,
    // in red.
    filter->setText(QStringLiteral("x:300 colour:red"));
    QApplication::processEvents();
    EXPECT_EQ(Column(COL_NAME), (QStringList{"Guard", "Guard"}));
    EXPECT_TRUE(ListStatus().contains(QStringLiteral("colour:red"))) << ListStatus().toStdString();
    EXPECT_TRUE(window->Extras().ListStatus()->styleSheet().contains(QStringLiteral("b00000")));
    filter->clear();
    QApplication::processEvents();
    EXPECT_EQ(Column(COL_NAME).size(), 4);
}

TEST_F(ListExtrasTest, TheBulkEditDialogStartsLeavingEverythingAndChangesOnlyWhatIsSet) {
    BulkEditDialog fresh(window.get(), 2);
    const BulkEditForm untouched = fresh.Form();
    EXPECT_FALSE(BulkFormSetsAnything(untouched));

    // The wolf (second row shown) becomes NPC(Ground) and moves 5 to the right.
    window->ListView().selectRow(1);
    window->Extras().BulkEditSelectedRows([](BulkEditDialog& dialog) {
        dialog.TypeCombo()->setCurrentIndex(dialog.TypeCombo()->findData(5));
        dialog.MoveXEdit()->setText(QStringLiteral("5"));
        return true;
    });
    QApplication::processEvents();
    EXPECT_EQ(Column(COL_NAME), (QStringList{"Shop", "Wolf", "Guard", "Guard"}));
    EXPECT_EQ(Column(COL_TYPE)[1], QStringLiteral("NPC(Ground)"));
    EXPECT_EQ(Column(COL_POS_X)[1], QStringLiteral("105"));
    EXPECT_EQ(Column(COL_DROP)[1], QStringLiteral("1"));   // left as it was
    EXPECT_TRUE(window->Extras().StatusStrip()->toolTip().contains(QString::fromUtf8("批量修改")));
}

}  // namespace
}  // namespace morvi
