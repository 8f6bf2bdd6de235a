// Finding placements in every map: the maps' order and each map's row order, the rows the
// loaded list shows, progress, cancel, and maps or files that cannot be read named and skipped.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "TestFiles.h"
#include "TreeGenerator.h"
#include "document/MapDocument.h"
#include "document/ServerSearch.h"


namespace morvi::test {
namespace {

using tools::MakeRecord;

class ServerSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        tools::TreeShape shape;
        shape.maps = 3;
        shape.filesPerMap = 5;
        shape.recordsPerFile = 6;
        shape.templates = 12;
        tools::GenerateServerTree(Server(), shape);
        auto maps = ReadServerMaps(Server());
        ASSERT_TRUE(maps.has_value());
        m_maps = *maps;
    }
    std::string Server() const { return dir / "server"; }
    std::vector<FoundPlacement> Find(const std::string& filterText, SearchSummary* summary = nullptr,
                                     const SearchProgressSink& progress = {}, const std::atomic<bool>* cancel = nullptr) {
        const auto filter = PlacementFilter::Parse(filterText);
        EXPECT_TRUE(filter.has_value()) << filterText;
        std::vector<FoundPlacement> found;
        const SearchSummary s = SearchServer(m_maps, 12, *filter, [&](const FoundPlacement& f) { found.push_back(f); },
                                             progress, cancel);
        if (summary) *summary = s;
        return found;
    }
    TempDir dir;
    std::vector<ServerMap> m_maps;
};

TEST_F(ServerSearchTest, EveryListedRowOfEveryMapInOrderWithTheListsRows) {
    SearchSummary summary;
    const std::vector<FoundPlacement> all = Find("", &summary);
    EXPECT_EQ(summary.maps, 3u);
    EXPECT_TRUE(summary.skipped.empty());
    size_t at = 0;
    for (const ServerMap& map : m_maps) {
        SCOPED_TRACE(map.index);
        MapDocument doc;
        doc.SetServerPath(Server());
        doc.SetHistoryDirectory(dir / "history");
        ASSERT_TRUE(doc.Load(map.directory, 12).has_value());
        for (int row = 0; row < doc.Rows().Count(); ++row, ++at) {
            ASSERT_LT(at, all.size());
            EXPECT_EQ(all[at].mapIndex, map.index);
            EXPECT_EQ(all[at].row, row);
            EXPECT_EQ(all[at].file, doc.Rows().File(row));
            const PlacementRecord r = doc.Rows().Record(row);
            EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(all[at].record.block.Bytes()), kPlacementBlockSize),
                      std::string_view(reinterpret_cast<const char*>(r.block.Bytes()), kPlacementBlockSize));
        }
    }
    EXPECT_EQ(at, all.size());
    EXPECT_EQ(summary.found, all.size());
}

TEST_F(ServerSearchTest, AFilterNarrowsAndRowsStayTheLists) {
    // A placement only map 1 holds, in the middle of its first file.
    const std::string file = m_maps[1].directory + "/zz_S.DAT";
    WriteFile(file, tools::MakeRegionImage(3, {MakeRecord(2, "Needle", 7, 0, 8, 0, 0, 0, 0, 0),
                                               MakeRecord(0, "Needle", 7, 0, 8, 0, 0, 0, 0, 0)}));   // hidden
    const std::vector<FoundPlacement> found = Find("name:needle");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].mapIndex, 1);
    MapDocument doc;
    doc.SetServerPath(Server());
    doc.SetHistoryDirectory(dir / "history");
    ASSERT_TRUE(doc.Load(m_maps[1].directory, 12).has_value());
    EXPECT_EQ(doc.Rows().CellText(found[0].row, COL_NAME), "Needle");
}

TEST_F(ServerSearchTest, AMapThatCannotBeReadIsNamedAndSkipped) {
    m_maps[1].directory = dir / "server/maps/not-there";
    SearchSummary summary;
    const std::vector<FoundPlacement> found = Find("", &summary);
    ASSERT_EQ(summary.skipped.size(), 1u);
    EXPECT_EQ(summary.skipped[0].mapIndex, 1);
    EXPECT_EQ(summary.skipped[0].why, SearchSkip::MapDirectoryMissing);
    EXPECT_EQ(summary.maps, 2u);
    for (const FoundPlacement& f : found) EXPECT_NE(f.mapIndex, 1);
    EXPECT_FALSE(found.empty());
}

TEST_F(ServerSearchTest, ProgressRisesToTheEndAndCancelStopsBetweenFiles) {
    std::vector<SearchProgress> told;
    Find("", nullptr, [&](const SearchProgress& p) { told.push_back(p); });
    ASSERT_FALSE(told.empty());
    for (size_t i = 1; i < told.size(); ++i) {
        EXPECT_GE(told[i].mapsDone, told[i - 1].mapsDone);
        EXPECT_GE(told[i].found, told[i - 1].found);
        EXPECT_LE(told[i].filesDone, told[i].filesTotal);
    }
    EXPECT_EQ(told.back().mapsDone, 3u);
    EXPECT_EQ(told.back().mapsTotal, 3u);

    std::atomic<bool> cancel{false};
    SearchSummary summary;
    const std::vector<FoundPlacement> found =
        Find("", &summary, [&](const SearchProgress& p) { if (p.mapsDone == 1) cancel = true; }, &cancel);
    EXPECT_TRUE(summary.cancelled);
    EXPECT_EQ(summary.maps, 1u);
    for (const FoundPlacement& f : found) EXPECT_EQ(f.mapIndex, 0);
}

}  // namespace
}  // namespace morvi::test

namespace morvi::test {
namespace {

// Each found placement says how many listed records of its key stand before it in its file,
// whether a few or many of the file's records match (counted two ways).
TEST_F(ServerSearchTest, OccurrenceCountsListedRecordsOfTheKeyBeforeItInTheFile) {
    for (const int twins : {3, 40}) {
        SCOPED_TRACE(twins);
        std::vector<PlacementRecord> records;
        for (int i = 0; i < twins; ++i) {
            records.push_back(MakeRecord(4, "Twin", 10, 1, 20, 2, 0, 0, 0, i % 20));
            if (i == 1) records.push_back(MakeRecord(0, "Twin", 10, 1, 20, 2, 0, 0, 0, 0));   // hidden: not counted
            records.push_back(MakeRecord(4, "Other", 11, 1, 20, 2, 0, 0, 0, 0));
        }
        WriteFile(m_maps[2].directory + "/zz_S.DAT", tools::MakeRegionImage(5, records));
        const std::vector<FoundPlacement> found = Find("name:twin");
        ASSERT_EQ(found.size(), static_cast<size_t>(twins));
        // Rows come top row first: the last record of the file first.
        for (size_t i = 0; i < found.size(); ++i) EXPECT_EQ(found[i].occurrence, twins - 1 - static_cast<int>(i));
    }
}

}  // namespace
}  // namespace morvi::test
