// Finding placements in every map: the maps' order and each map's row order, the rows the
// loaded list shows, progress, cancel, and maps or files that cannot be read named and skipped.

#include <gtest/gtest.h>

#include <algorithm>
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

namespace morvi::test {
namespace {

// A found placement's occurrence counts every listed record of its key before it in its file,
// whether that record matched the filter or not; hidden records and other keys do not count.
// Layout, in file order: T a matching record of key K, O a record of K the filter leaves out,
// h a hidden record of K, d a matching record of another key, X a record of another key left out.
TEST_F(ServerSearchTest, OccurrenceCountsRecordsOfTheKeyTheFilterLeftOut) {
    struct Case {
        std::string layout;
        std::vector<int> occurrences;   // of the matching records, in file order
    };
    std::string many;
    std::vector<int> manyOccurrences;
    for (int i = 0; i < 20; ++i) {
        many += "OT";
        manyOccurrences.push_back(2 * i + 1);
    }
    const std::vector<Case> cases = {
        {"T", {0}},
        {"OTOT", {1, 3}},
        {"ThT", {0, 1}},
        {"hhOT", {1}},
        {"TdT", {0, 0, 1}},
        {"XOXTOO", {1}},
        {"dOdTd", {0, 1, 1, 2}},
        {many, manyOccurrences},
        {many + "hdT", [&] {
             std::vector<int> v = manyOccurrences;
             v.push_back(0);
             v.push_back(40);
             return v;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        std::vector<PlacementRecord> records;
        for (const char kind : c.layout) {
            switch (kind) {
                case 'T': records.push_back(MakeRecord(4, "Twin", 10, 1, 20, 2, 0, 0, 0, 0)); break;
                case 'O': records.push_back(MakeRecord(4, "Other", 10, 1, 20, 2, 0, 0, 0, 0)); break;
                case 'h': records.push_back(MakeRecord(0, "Twin", 10, 1, 20, 2, 0, 0, 0, 0)); break;
                case 'd': records.push_back(MakeRecord(4, "Twin", 10, 3, 20, 2, 0, 0, 0, 0)); break;
                case 'X': records.push_back(MakeRecord(4, "Other", 10, 1, 21, 2, 0, 0, 0, 0)); break;
            }
        }
        WriteFile(m_maps[2].directory + "/zz_S.DAT", tools::MakeRegionImage(5, records));
        std::vector<FoundPlacement> found = Find("name:twin");
        ASSERT_EQ(found.size(), c.occurrences.size());
        std::reverse(found.begin(), found.end());   // rows come last record first
        for (size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].occurrence, c.occurrences[i]) << i;
            EXPECT_TRUE(found[i].file.ends_with("zz_S.DAT")) << found[i].file;
        }
    }
}

}  // namespace
}  // namespace morvi::test

namespace morvi::test {
namespace {

// A damaged file is searched as the list loads it: records the count promises but the file
// lacks read as zeros, a cut-off block or script path is zero-padded, bytes after the last
// counted record are left out. Every row found equals the loaded list's row.
TEST_F(ServerSearchTest, DamagedFilesAreSearchedAsTheListLoadsThem) {
    const std::vector<PlacementRecord> records = {
        MakeRecord(3, "Alpha", 10, 1, 20, 2, 0, 0, 0, 0),
        MakeRecord(4, "Beta", 11, 1, 21, 2, 0, 0, 0, 0, "\\script\\a_long_enough_path_for_a_script.lua"),
        MakeRecord(5, "Gamma", 12, 1, 22, 2, 0, 0, 0, 0, "\\script\\another_path_long_enough_to_be_cut.lua"),
    };
    const std::string whole = tools::MakeRegionImage(9, records);
    const auto withCount = [](std::string image, uint16_t count) {
        image[2100] = static_cast<char>(count & 0xFF);
        image[2101] = static_cast<char>(count >> 8);
        return image;
    };
    struct Case {
        const char* what;
        std::string image;
    };
    const std::vector<Case> cases = {
        {"whole", whole},
        {"script path cut off", whole.substr(0, whole.size() - 10)},
        {"block cut off", whole.substr(0, whole.size() - 80)},
        {"count above the records", withCount(whole, 6)},
        {"bytes after the last counted record", withCount(whole, 2)},
        {"header only", whole.substr(0, 2112)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(m_maps[2].directory + "/zz_S.DAT", c.image);
        std::vector<FoundPlacement> found = Find("");
        found.erase(std::remove_if(found.begin(), found.end(), [](const FoundPlacement& f) { return f.mapIndex != 2; }),
                    found.end());
        MapDocument doc;
        doc.SetServerPath(Server());
        doc.SetHistoryDirectory(dir / "history");
        ASSERT_TRUE(doc.Load(m_maps[2].directory, 12).has_value());
        ASSERT_EQ(found.size(), static_cast<size_t>(doc.Rows().Count()));
        for (size_t i = 0; i < found.size(); ++i) {
            const int row = static_cast<int>(i);
            EXPECT_EQ(found[i].row, row);
            EXPECT_EQ(found[i].file, doc.Rows().File(row));
            const PlacementRecord r = doc.Rows().Record(row);
            EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(found[i].record.block.Bytes()), kPlacementBlockSize),
                      std::string_view(reinterpret_cast<const char*>(r.block.Bytes()), kPlacementBlockSize))
                << row;
            EXPECT_EQ(found[i].record.script, r.script) << row;
        }
    }
}

}  // namespace
}  // namespace morvi::test
