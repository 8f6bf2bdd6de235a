// The find window's behaviour without a window: results of every map in the map list's order
// and each map's row order, progress and the window woken from the worker, a map that cannot
// be read named and skipped, a malformed filter, cancel and a new search, and the double-click
// that selects a placement in the main window by file, key and occurrence.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "DialogFixture.h"
#include "dialog/FindAllView.h"
#include "dialog/DocumentTexts.h"
#include "dialog/WriteStatus.h"
#include "texts/ProgramTexts.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

class FindAllViewTest : public DialogFixture {
protected:
    void SetUp() override {
        tools::TreeShape shape;
        shape.maps = 3;
        shape.filesPerMap = 5;
        shape.recordsPerFile = 6;
        Open(shape);
    }
    int Templates() const { return host.ListBoxCount(IDC_TEMPLATE_LIST); }
    std::string MapDir(int index) const { return server() + "/maps/map" + std::to_string(10 + 7 * index); }
    // Runs a search to its end, taking results whenever the worker wakes the window.
    void RunToEnd(FindAllView& view, const std::string& filter) {
        ASSERT_TRUE(view.Start(server(), Templates(), filter)) << view.Status().text;
        view.Wait();
        view.TakeResults();
        ASSERT_FALSE(view.Running());
    }
    std::string Cell(const FindAllView& view, int row, int column) const {
        return view.CellText(row, FIND_COL_FIRST_ROW_CELL + column);
    }
    int SelectedRowOfMainList() const { return host.list.SelectedRows().empty() ? -1 : host.list.SelectedRows()[0]; }
};

TEST_F(FindAllViewTest, EveryMapInListOrderEachWithTheRowsItsListShowsInTheirOrder) {
    std::atomic<int> wakes{0};
    FindAllView view([&] { ++wakes; });
    RunToEnd(view, "");
    EXPECT_GE(wakes.load(), 1);
    int at = 0;
    for (int map = 0; map < 3; ++map) {
        SCOPED_TRACE(map);
        SelectMap(map);
        for (int row = 0; row < dlg->Rows().Count(); ++row, ++at) {
            ASSERT_LT(at, view.Count());
            EXPECT_EQ(view.CellText(at, FIND_COL_MAP), std::to_string(map) + " " + host.ListBoxText(IDC_MAP_LIST, map));
            for (int column : {COL_NAME, COL_POS_X, COL_OFFSET_Y, COL_TYPE, COL_DROP, COL_SCRIPT})
                EXPECT_EQ(Cell(view, at, column), dlg->Rows().CellText(row, column)) << "column " << column;
            EXPECT_EQ(view.Target(at).file, dlg->Rows().File(row));
            // The file column is relative to the server directory.
            EXPECT_EQ(view.CellText(at, FIND_COL_FILE).find(server()), std::string::npos);
        }
    }
    EXPECT_EQ(at, view.Count());
    EXPECT_FALSE(view.Status().warning);
    EXPECT_EQ(view.Status().text, Format(TextId::FindAllDone, {std::to_string(at), "3", "3"}));
    ASSERT_TRUE(view.Progress().has_value());
    EXPECT_EQ(view.Progress()->mapsDone, 3u);
}

TEST_F(FindAllViewTest, WhileRunningTheStatusSaysSoAndResultsAreTakenOnTheWindowsSide) {
    FindAllView view([] {});
    ASSERT_TRUE(view.Start(server(), Templates(), "x:0-999"));
    EXPECT_TRUE(view.Running());
    const std::string running = Format(TextId::FindAllRunning, {"1", "3", host.ListBoxText(IDC_MAP_LIST, 0), "0", "0", "0"});
    EXPECT_EQ(view.Status().text, running);
    // Nothing reaches the rows until the window takes it.
    view.Wait();
    EXPECT_EQ(view.Count(), 0);
    EXPECT_TRUE(view.Running());
    EXPECT_GT(view.TakeResults(), 0u);
    EXPECT_FALSE(view.Running());
    EXPECT_EQ(view.TakeResults(), 0u);
}

TEST_F(FindAllViewTest, AMapThatCannotBeReadIsNamedAndSkippedAndTheOthersAreSearched) {
    std::filesystem::remove_all(MapDir(1));
    FindAllView view([] {});
    RunToEnd(view, "");
    ASSERT_EQ(view.Skipped().size(), 1u);
    EXPECT_EQ(view.Skipped()[0].mapIndex, 1);
    EXPECT_TRUE(view.Status().warning);
    EXPECT_NE(view.Status().text.find(host.ListBoxText(IDC_MAP_LIST, 1)), std::string::npos) << view.Status().text;
    bool map0 = false, map2 = false;
    for (int row = 0; row < view.Count(); ++row) {
        EXPECT_NE(view.Target(row).mapIndex, 1);
        map0 = map0 || view.Target(row).mapIndex == 0;
        map2 = map2 || view.Target(row).mapIndex == 2;
    }
    EXPECT_TRUE(map0 && map2);
}

TEST_F(FindAllViewTest, AMalformedFilterIsNamedAndNothingRuns) {
    struct Case {
        const char* filter;
        FilterErrorCode code;
        const char* term;
    };
    for (const Case& c : {Case{"colour:red", FilterErrorCode::UnknownField, "colour:red"},
                          Case{"name:a x:abc", FilterErrorCode::BadNumber, "x:abc"},
                          Case{"y:9-3", FilterErrorCode::BadRange, "y:9-3"}}) {
        SCOPED_TRACE(c.filter);
        FindAllView view([] { FAIL() << "no search runs"; });
        EXPECT_FALSE(view.Start(server(), Templates(), c.filter));
        EXPECT_FALSE(view.Running());
        EXPECT_TRUE(view.Status().warning);
        EXPECT_EQ(view.Status().text, FormatChosen(FilterErrorText(c.code), {c.term}));
    }
}

TEST_F(FindAllViewTest, AServerWithoutMapListIsNamed) {
    std::filesystem::remove(server() + "/maps/worldset.ini");
    FindAllView view([] {});
    EXPECT_FALSE(view.Start(server(), Templates(), ""));
    EXPECT_EQ(view.Status().text, Text(TextId::FindAllNoMapList));
    EXPECT_TRUE(view.Status().warning);
}

TEST_F(FindAllViewTest, CancelStopsBetweenFilesAndSaysHowFarItGot) {
    FindAllView* self = nullptr;
    FindAllView view([&] { self->Cancel(); });   // the first progress stops it
    self = &view;
    RunToEnd(view, "");
    EXPECT_EQ(view.Count(), 0);   // a map's rows come when the map is done
    EXPECT_EQ(view.Status().text, Format(TextId::FindAllCancelled, {"0", "0", "3"}));
}

TEST_F(FindAllViewTest, ANewSearchDropsTheOneRunning) {
    FindAllView view([] {});
    ASSERT_TRUE(view.Start(server(), Templates(), ""));
    RunToEnd(view, "x:0-99");
    ASSERT_GT(view.Count(), 0);
    for (int row = 0; row < view.Count(); ++row) EXPECT_LT(std::stoi(Cell(view, row, COL_POS_X)), 100);
}

// A file of map 1 whose records share one key; the placement sought is the second of them.
class FindAllOpenTest : public FindAllViewTest {
protected:
    void SetUp() override {
        FindAllViewTest::SetUp();
        file = NativeForm(MapDir(1) + "/zz_S.DAT");
        WriteFile(file, tools::MakeRegionImage(3, {MakeRecord(5, "Twin", 300, 1, 200, 2, 0, 0, 0, 0),
                                                   MakeRecord(5, "Twin", 300, 1, 200, 2, 3, 0, 0, 7),
                                                   MakeRecord(6, "Other", 1, 0, 1, 0, 0, 0, 0, 0)}));
    }
    std::string file;
};

TEST_F(FindAllOpenTest, ADoubleClickSelectsTheMapLoadsItAndSelectsThePlacementByKeyNotPosition) {
    FindAllView view([] {});
    RunToEnd(view, "name:twin drop:7");
    ASSERT_EQ(view.Count(), 1);
    const FoundTarget target = view.Target(0);
    EXPECT_EQ(target.mapIndex, 1);
    EXPECT_EQ(target.file, file);
    EXPECT_EQ(target.occurrence, 1);
    EXPECT_EQ(target.key, (PlacementKey{5, 300, 200, 1, 2}));

    // Another map is loaded, and the map's other files change between the search and the click:
    // the rows move, the placement stays the second of its key in its file.
    SelectMap(0);
    WriteFile(NativeForm(MapDir(1) + "/aa_S.DAT"),
              tools::MakeRegionImage(4, {MakeRecord(7, "New", 2, 0, 2, 0, 0, 0, 0, 0), MakeRecord(7, "New2", 3, 0, 3, 0, 0, 0, 0, 0)}));
    EXPECT_EQ(view.Open(0, *dlg, host), OpenFoundOutcome::Selected);
    EXPECT_EQ(host.ListBoxSelection(IDC_MAP_LIST), 1);
    const int row = SelectedRowOfMainList();
    ASSERT_GE(row, 0);
    EXPECT_EQ(host.list.SelectedRows().size(), 1u);
    EXPECT_EQ(dlg->Rows().File(row), file);
    EXPECT_EQ(dlg->Rows().CellText(row, COL_DROP), "7");
    EXPECT_EQ(dlg->SearchPos(), row);
    EXPECT_FALSE(view.Status().warning);
}

TEST_F(FindAllOpenTest, TheLoadedMapIsNotLoadedAgainAndOtherSelectedRowsAreDropped) {
    FindAllView view([] {});
    RunToEnd(view, "name:twin drop:7");
    SelectMap(1);
    host.list.SelectRow(0);
    host.list.SelectRow(1);
    host.SetItemText(IDC_FRAME, "not loaded again");   // a load would say how many rows it listed
    ASSERT_EQ(view.Open(0, *dlg, host), OpenFoundOutcome::Selected);
    EXPECT_EQ(host.ItemText(IDC_FRAME), "not loaded again");
    ASSERT_EQ(host.list.SelectedRows().size(), 1u);
    EXPECT_EQ(dlg->Rows().CellText(SelectedRowOfMainList(), COL_DROP), "7");
}

TEST_F(FindAllOpenTest, APlacementGoneOrAMapNoLongerListedIsSaidAndNothingSelected) {
    FindAllView view([] {});
    RunToEnd(view, "name:twin drop:7");
    WriteFile(file, tools::MakeRegionImage(3, {MakeRecord(5, "Twin", 300, 1, 200, 2, 0, 0, 0, 0)}));
    EXPECT_EQ(view.Open(0, *dlg, host), OpenFoundOutcome::PlacementGone);
    EXPECT_TRUE(view.Status().warning);
    EXPECT_EQ(view.Status().text, Format(TextId::FindAllPlacementGone,
                                         {view.Target(0).mapName, ServerRelativePath(server(), file)}));
    EXPECT_TRUE(host.list.SelectedRows().empty());

    FoundTarget elsewhere = view.Target(0);
    elsewhere.mapEntry = "no-such-map";
    EXPECT_EQ(OpenFoundPlacement(*dlg, host, elsewhere), OpenFoundOutcome::MapNotListed);
}

TEST_F(FindAllOpenTest, ARowTheListFilterHidesIsReportedSoTheWindowClearsTheFilter) {
    FindAllView view([] {});
    RunToEnd(view, "name:twin drop:7");
    SelectMap(1);
    dlg->OnListFilterChanged("name:other");
    EXPECT_EQ(view.Open(0, *dlg, host), OpenFoundOutcome::HiddenByListFilter);
    dlg->OnListFilterChanged("");
    EXPECT_EQ(view.Open(0, *dlg, host), OpenFoundOutcome::Selected);
}

}  // namespace
}  // namespace morvi::test
