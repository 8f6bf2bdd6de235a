// The compare window's behaviour without a window: the loaded map against the same map of
// another server tree, one row per placement added, changed (field by field) or removed, a
// filter over them, and what it says when it cannot compare.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "DialogFixture.h"
#include "dialog/CompareView.h"
#include "dialog/DocumentTexts.h"
#include "texts/ProgramTexts.h"

namespace morvi::test {
namespace {

namespace fs = std::filesystem;
using tools::MakeRecord;

class CompareViewTest : public EmptyMapFixture {
protected:
    void SetUp() override {
        EmptyMapFixture::SetUp();
        WriteFile(MapFile("a_S.DAT"), tools::MakeRegionImage(1, {MakeRecord(3, "Guard", 100, 1, 50, 2, 3, 0, 0, 5),
                                                                MakeRecord(4, "Wolf", 200, 0, 60, 0, 0, 0, 0, 1)}));
        other = dir.path() + "/other";
        fs::copy(server(), other, fs::copy_options::recursive);
        // This tree: the guard changed, the wolf removed, a shop added.
        WriteFile(MapFile("a_S.DAT"), tools::MakeRegionImage(1, {MakeRecord(3, "Guard2", 100, 1, 50, 2, 5, 0, 0, 9),
                                                                MakeRecord(6, "Shop", 300, 0, 70, 0, 0, 0, 0, 0)}));
        SelectMap(0);
    }
    CompareView::Request Request() const {
        return {server(), host.ListBoxCount(IDC_TEMPLATE_LIST), dlg->MapPaths()[0], host.ListBoxText(IDC_MAP_LIST, 0), other};
    }
    void Run(CompareView& view, const CompareView::Request& request) {
        ASSERT_TRUE(view.Start(request));
        EXPECT_EQ(view.Status().text, Format(TextId::CompareRunning, {request.mapName}));
        view.Wait();
        ASSERT_TRUE(view.TakeResult());
        EXPECT_FALSE(view.Running());
    }
    std::string other;
};

TEST_F(CompareViewTest, EachPlacementAddedChangedOrRemovedIsARowWithItsChangedFields) {
    int wakes = 0;
    CompareView view([&] { ++wakes; });
    Run(view, Request());
    EXPECT_EQ(wakes, 1);
    ASSERT_EQ(view.Count(), 3);
    std::map<std::string, int> byKind;
    for (int row = 0; row < view.Count(); ++row) byKind[view.CellText(row, CMP_COL_KIND)] = row;
    const int changed = byKind.at(std::string(Text(TextId::CompareChanged)));
    EXPECT_EQ(view.CellText(changed, CMP_COL_KEY), "3,100,50,1,2");
    EXPECT_EQ(view.CellText(changed, CMP_COL_FILE), "a_S.DAT");
    EXPECT_EQ(view.CellText(changed, CMP_COL_NAME), "Guard2");
    // Name, type and drop changed, in the list's column order.
    const std::string fields = view.CellText(changed, CMP_COL_FIELDS);
    EXPECT_EQ(fields.rfind(Format(TextId::CompareFieldChange, {Text(TextId::ColumnName), "Guard", "Guard2"}) + "; ", 0), 0u)
        << fields;
    EXPECT_NE(fields.find(std::string(Text(TextId::ColumnType)) + ": "), std::string::npos) << fields;
    const std::string drop = Format(TextId::CompareFieldChange, {Text(TextId::ColumnMoney), "5", "9"});
    EXPECT_EQ(fields.substr(fields.size() - drop.size()), drop) << fields;
    EXPECT_EQ(std::count(fields.begin(), fields.end(), ';'), 2) << fields;
    EXPECT_EQ(view.CellText(byKind.at(std::string(Text(TextId::CompareRemoved))), CMP_COL_NAME), "Wolf");
    EXPECT_EQ(view.CellText(byKind.at(std::string(Text(TextId::CompareAdded))), CMP_COL_NAME), "Shop");
    EXPECT_EQ(view.Status().text, Format(TextId::CompareDone, {Request().mapName, "1", "1", "1", "3", "3"}));
}

TEST_F(CompareViewTest, TheFilterNarrowsByEitherSidesPlacementAndAMalformedOneIsNamed) {
    CompareView view([] {});
    Run(view, Request());
    view.SetFilter("name:wolf");   // only the other tree holds the wolf
    ASSERT_EQ(view.Count(), 1);
    EXPECT_EQ(view.KindOf(0), DiffKind::Removed);
    view.SetFilter("name:guard");  // the guard's old and new names both match
    EXPECT_EQ(view.Count(), 1);
    view.SetFilter("x:oops");
    EXPECT_EQ(view.Count(), 1) << "a malformed filter leaves the rows as they were";
    EXPECT_TRUE(view.Status().warning);
    EXPECT_EQ(view.Status().text, FormatChosen(FilterErrorText(FilterErrorCode::BadNumber), {"x:oops"}));
    view.SetFilter("");
    EXPECT_EQ(view.Count(), 3);
    EXPECT_FALSE(view.Status().warning);
}

TEST_F(CompareViewTest, EqualMapsNoMapNoOtherServerAndAnUnreadableOneAreSaid) {
    CompareView view([] {});
    CompareView::Request same = Request();
    same.otherServer = server();
    Run(view, same);
    EXPECT_EQ(view.Count(), 0);
    EXPECT_EQ(view.Status().text, Format(TextId::CompareSame, {same.mapName}));

    CompareView::Request none = Request();
    none.mapEntry.clear();
    EXPECT_FALSE(view.Start(none));
    EXPECT_EQ(view.Status().text, Text(TextId::CompareNoMap));
    none = Request();
    none.otherServer.clear();
    EXPECT_FALSE(view.Start(none));
    EXPECT_EQ(view.Status().text, Text(TextId::CompareNoOther));

    fs::remove(other + "/maps/worldset.ini");
    Run(view, Request());
    EXPECT_TRUE(view.Status().warning);
    EXPECT_EQ(view.Status().text, Format(TextId::CompareOtherNoMapList, {other}));
}

}  // namespace
}  // namespace morvi::test
