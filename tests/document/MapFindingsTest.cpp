// Findings of a map's region files: each kind with its code, offset and row, the order the walk
// meets them, and the two safe fixes made as one history step that undo takes back.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>

#include "TestFiles.h"
#include "TreeGenerator.h"
#include "document/MapDocument.h"
#include "document/MapFindings.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

constexpr int kTemplates = 10;
const PlacementRecord kA = MakeRecord(2, "A", 10, 1, 10, 1, 0, 0, 0, 3);
const PlacementRecord kB = MakeRecord(3, "B", 20, 2, 20, 2, 3, 1, 2, 0, "\\script\\npc\\thirty_bytes__.lua");
const PlacementRecord kC = MakeRecord(4, "C", 30, 3, 30, 3, 0, 0, 0, 5);
// Same key as A, other fields.
const PlacementRecord kA2 = MakeRecord(2, "A-too", 10, 1, 10, 1, 1, 1, 1, 4);
const PlacementRecord kA3 = MakeRecord(2, "A-three", 10, 1, 10, 1, 2, 2, 2, 5);
const PlacementRecord kTemplate0 = MakeRecord(0, "T0", 40, 0, 40, 0, 0, 0, 0, 0);
const PlacementRecord kTemplateHigh = MakeRecord(kTemplates, "TH", 41, 0, 41, 0, 0, 0, 0, 0);
const PlacementRecord kFarX = MakeRecord(2, "FarX", 1000, 0, 10, 0, 0, 0, 0, 0);
const PlacementRecord kFarY = MakeRecord(2, "FarY", 999, 0, 500, 0, 0, 0, 0, 0);
const PlacementRecord kEdge = MakeRecord(2, "Edge", 999, 0, 499, 0, 0, 0, 0, 0);
const PlacementRecord kNoName = MakeRecord(2, "", 50, 0, 50, 0, 0, 0, 0, 0);
const PlacementRecord kBadName = MakeRecord(2, std::string("Bad\xFF\xFE", 5), 60, 0, 60, 0, 0, 0, 0, 0);
const PlacementRecord kMissingScript = MakeRecord(3, "M", 70, 0, 70, 0, 0, 0, 0, 0, "\\script\\npc\\not_there_at_all.lua");
const PlacementRecord kNoSlash = MakeRecord(3, "S", 71, 0, 71, 0, 0, 0, 0, 0, "script/npc/thirty_bytes__.lua");

size_t Length(const PlacementRecord& r) { return PlacementLength(r.block); }
std::string Bytes(const PlacementRecord& r) {
    std::string out;
    AppendPlacementBytes(out, r.block, r.script);
    return out;
}
size_t OffsetOf(const std::vector<PlacementRecord>& records, size_t index) {
    size_t at = kFirstRecordOffset;
    for (size_t i = 0; i < index; ++i) at += Length(records[i]);
    return at;
}

struct Expect {
    FindingCode code;
    size_t offset;
    int row;
    FindingFix fix = FindingFix::None;
    uint32_t hidden = 0;
};

struct Case {
    const char* name;
    std::vector<PlacementRecord> a;   // first file
    std::vector<PlacementRecord> b;   // second file
    std::function<void(std::string& imageA)> damage;
    std::function<std::vector<Expect>(const std::vector<PlacementRecord>& a, const std::vector<PlacementRecord>& b)> expected;
};

class MapFindingsTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(Server() + "/script/npc/thirty_bytes__.lua", "-- exists\n"); }
    std::string Server() const { return dir / "server"; }
    std::string MapDir() const { return NativeForm(dir / "server/maps/m"); }
    std::string FileA() const { return NativeForm(dir / "server/maps/m/a_S.DAT"); }
    std::string FileB() const { return NativeForm(dir / "server/maps/m/z/b_S.DAT"); }
    FindingsResult Run() {
        FindingsOptions options;
        options.serverDirectory = Server();
        options.templateCount = kTemplates;
        return FindInRegionFiles({FileA(), FileB()}, options);
    }
    TempDir dir;
};

TEST_F(MapFindingsTest, EachKindWithItsOffsetRowAndFix) {
    const std::vector<Case> cases = {
        {"clean map: no finding", {kA, kB}, {kC}, nullptr, [](auto&, auto&) { return std::vector<Expect>{}; }},
        {"template 0 and beyond the table are hidden, fixable",
         {kA, kTemplate0, kTemplateHigh}, {kC}, nullptr,
         [](auto& a, auto&) {
             return std::vector<Expect>{
                 {FindingCode::TemplateOutsideTable, OffsetOf(a, 1), -1, FindingFix::DeleteHidden, kHiddenTemplateZero},
                 {FindingCode::TemplateOutsideTable, OffsetOf(a, 2), -1, FindingFix::DeleteHidden,
                  kHiddenTemplateBeyondTable}};
         }},
        {"x 1000, stored y 1000 and an empty name are hidden; 999/499 is listed",
         {kFarX, kEdge, kFarY, kNoName}, {}, nullptr,
         [](auto& a, auto&) {
             return std::vector<Expect>{
                 {FindingCode::HiddenRecord, OffsetOf(a, 0), -1, FindingFix::DeleteHidden, kHiddenXTooLarge},
                 {FindingCode::HiddenRecord, OffsetOf(a, 2), -1, FindingFix::DeleteHidden, kHiddenYTooLarge},
                 {FindingCode::HiddenRecord, OffsetOf(a, 3), -1, FindingFix::DeleteHidden, kHiddenEmptyName}};
         }},
        {"name and script problems point into the record; rows count from the top",
         {kBadName, kMissingScript, kNoSlash}, {kC}, nullptr,
         [](auto& a, auto&) {
             // Four listed records: C is row 0, S row 1, M row 2, Bad row 3.
             return std::vector<Expect>{
                 {FindingCode::NameNotGbk, OffsetOf(a, 0) + 16, 3},
                 {FindingCode::ScriptMissing, OffsetOf(a, 1) + 60, 2},
                 {FindingCode::ScriptWithoutBackslash, OffsetOf(a, 2) + 60, 1}};
         }},
        {"a second record of one key in one file; the same key in another file is no finding",
         {kA, kC, kA2}, {kA3}, nullptr,
         [](auto& a, auto&) {
             return std::vector<Expect>{{FindingCode::DuplicateKey, OffsetOf(a, 2), 1}};
         }},
        {"exact duplicates in one file and across files, the later one fixable",
         {kA, kC, kA}, {kC}, nullptr,
         [](auto& a, auto&) {
             return std::vector<Expect>{
                 {FindingCode::ExactDuplicate, OffsetOf(a, 2), 1, FindingFix::DeleteDuplicate},
                 {FindingCode::ExactDuplicate, static_cast<size_t>(kFirstRecordOffset), 0, FindingFix::DeleteDuplicate}};
         }},
        {"count above the records", {kA, kC}, {}, [](std::string& image) { image[2100] = 3; },
         [](auto&, auto&) { return std::vector<Expect>{{FindingCode::CountMismatch, 2100, -1}}; }},
        {"a whole record beyond the count is a count mismatch",
         {kA, kC}, {}, [](std::string& image) { image[2100] = 1; },
         [](auto&, auto&) { return std::vector<Expect>{{FindingCode::CountMismatch, 2100, -1}}; }},
        {"a hidden record beyond the count is not fixable: the document never reaches it",
         {kA, kTemplate0}, {}, [](std::string& image) { image[2100] = 1; },
         [](auto& a, auto&) {
             return std::vector<Expect>{{FindingCode::TemplateOutsideTable, OffsetOf(a, 1), -1, FindingFix::None,
                                         kHiddenTemplateZero | kHiddenNotCounted},
                                        {FindingCode::CountMismatch, 2100, -1}};
         }},
        {"foreign bytes after the last counted record", {kA, kC}, {},
         [](std::string& image) { image += std::string(10, '\x7F'); },
         [](auto& a, auto&) { return std::vector<Expect>{{FindingCode::ForeignBytes, OffsetOf(a, 2), -1}}; }},
        {"a counted record cut off by the end", {kA, kC}, {},
         [](std::string& image) { image.resize(image.size() - 5); },
         [](auto& a, auto&) { return std::vector<Expect>{{FindingCode::RecordCutOff, OffsetOf(a, 1), -1}}; }},
        {"a file ending inside the header", {kA}, {}, [](std::string& image) { image.resize(2105); },
         [](auto&, auto&) {
             // The two count bytes are there: the count promises a record the file lacks.
             return std::vector<Expect>{{FindingCode::HeaderCutOff, 2100, -1}, {FindingCode::CountMismatch, 2100, -1}};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string imageA = tools::MakeRegionImage(7, c.a);
        if (c.damage) c.damage(imageA);
        WriteFile(FileA(), imageA);
        WriteFile(FileB(), tools::MakeRegionImage(8, c.b));
        const FindingsResult result = Run();
        const std::vector<Expect> expected = c.expected(c.a, c.b);
        EXPECT_EQ(result.filesChecked, 2u);
        ASSERT_EQ(result.findings.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            const MapFinding& f = result.findings[i];
            EXPECT_EQ(FindingCodeName(f.code), FindingCodeName(expected[i].code));
            EXPECT_EQ(f.offset, expected[i].offset);
            EXPECT_EQ(f.row, expected[i].row);
            EXPECT_EQ(f.fix, expected[i].fix);
            EXPECT_EQ(f.hidden, expected[i].hidden);
        }
    }
}

TEST_F(MapFindingsTest, RowsAreTheRowsTheLoadedListShows) {
    WriteFile(FileA(), tools::MakeRegionImage(7, {kA, kTemplate0, kBadName, kC}));
    WriteFile(FileB(), tools::MakeRegionImage(8, {kMissingScript, kA}));
    MapDocument doc;
    doc.SetServerPath(Server());
    doc.SetHistoryDirectory(dir / "history");
    ASSERT_TRUE(doc.Load(MapDir(), kTemplates).has_value());
    const FindingsResult result = Run();
    int withRows = 0;
    for (const MapFinding& f : result.findings) {
        if (f.row < 0) continue;
        ++withRows;
        EXPECT_EQ(doc.Rows().File(f.row), f.file);
        EXPECT_EQ(Bytes(doc.Rows().Record(f.row)), Bytes(f.record));
    }
    EXPECT_EQ(withRows, 3);   // bad name, missing script, duplicate A
}

TEST_F(MapFindingsTest, FixesDeleteTheRightRecordAsOneUndoableStep) {
    struct FixCase {
        const char* name;
        std::vector<PlacementRecord> records;
        FindingCode code;
        std::vector<PlacementRecord> after;
    };
    // A hidden record whose key an earlier listed record shares: the fix must take the hidden one.
    PlacementRecord hiddenTwin = kA;
    hiddenTwin.block.name[0] = 0;
    const std::vector<FixCase> cases = {
        {"exact duplicate: the later copy goes", {kA, kC, kA, kB}, FindingCode::ExactDuplicate, {kA, kC, kB}},
        {"hidden record", {kA, kTemplate0, kC}, FindingCode::TemplateOutsideTable, {kA, kC}},
        {"hidden record sharing a key with a listed one", {kA, kC, hiddenTwin}, FindingCode::HiddenRecord, {kA, kC}},
    };
    for (const FixCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = tools::MakeRegionImage(9, c.records);
        WriteFile(FileA(), before);
        WriteFile(FileB(), tools::MakeRegionImage(8, {}));
        MapDocument doc;
        doc.SetServerPath(Server());
        doc.SetHistoryDirectory(dir / "history");
        ASSERT_TRUE(doc.Load(MapDir(), kTemplates).has_value());
        const FindingsResult result = Run();
        const auto it = std::find_if(result.findings.begin(), result.findings.end(),
                                     [&](const MapFinding& f) { return f.code == c.code; });
        ASSERT_NE(it, result.findings.end());
        ASSERT_NE(it->fix, FindingFix::None);
        const auto fixed = ApplyFindingFix(doc, *it);
        ASSERT_TRUE(fixed.has_value());
        EXPECT_EQ(fixed->deletions, 1);
        std::string expected = tools::MakeRegionImage(9, c.after);
        EXPECT_EQ(ReadFile(FileA()), expected);
        // The same finding again: the file no longer holds that record there, nothing written.
        const auto again = ApplyFindingFix(doc, *it);
        if (c.code != FindingCode::ExactDuplicate) {
            ASSERT_FALSE(again.has_value());
            EXPECT_EQ(again.error().code, DocumentErrorCode::KeyNotFound);
            EXPECT_EQ(ReadFile(FileA()), expected);
        }
        // Undo takes back each fix written.
        while (doc.CanUndo()) ASSERT_TRUE(doc.Undo().has_value());
        EXPECT_EQ(ReadFile(FileA()), before);
    }
}

TEST_F(MapFindingsTest, AFindingWithoutFixIsRefused) {
    WriteFile(FileA(), tools::MakeRegionImage(7, {kA, kA2}));
    WriteFile(FileB(), tools::MakeRegionImage(8, {}));
    MapDocument doc;
    doc.SetServerPath(Server());
    doc.SetHistoryDirectory(dir / "history");
    const FindingsResult result = Run();
    ASSERT_EQ(result.findings.size(), 1u);
    const auto refused = ApplyFindingFix(doc, result.findings[0]);
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().code, DocumentErrorCode::NoSuchRow);
}

TEST_F(MapFindingsTest, UnreadableFilesAreNamedProgressIsToldAndCancelStops) {
    WriteFile(FileA(), tools::MakeRegionImage(7, {kA, kTemplate0}));
    WriteFile(FileB(), tools::MakeRegionImage(8, {kTemplateHigh}));
    FindingsOptions options;
    options.templateCount = kTemplates;
    std::vector<std::pair<size_t, size_t>> told;
    const std::string missing = NativeForm(dir / "server/maps/m/gone_S.DAT");
    FindingsResult result = FindInRegionFiles({FileA(), missing, FileB()}, options,
                                              [&](size_t done, size_t total) { told.emplace_back(done, total); });
    EXPECT_EQ(result.unreadable, std::vector<std::string>{missing});
    EXPECT_EQ(result.filesChecked, 2u);
    EXPECT_EQ(result.findings.size(), 2u);
    EXPECT_EQ(told, (std::vector<std::pair<size_t, size_t>>{{1, 3}, {2, 3}, {3, 3}}));

    std::atomic<bool> cancel{false};
    result = FindInRegionFiles({FileA(), FileB()}, options,
                               [&](size_t done, size_t) { if (done == 1) cancel = true; }, &cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.findings.size(), 1u);
}

TEST_F(MapFindingsTest, WithoutATemplateTableTemplatesAreNotJudged) {
    WriteFile(FileA(), tools::MakeRegionImage(7, {kTemplateHigh, kFarX}));
    WriteFile(FileB(), tools::MakeRegionImage(8, {}));
    FindingsOptions options;   // templateCount -1
    const FindingsResult result = FindInRegionFiles({FileA(), FileB()}, options);
    ASSERT_EQ(result.findings.size(), 1u);
    EXPECT_EQ(result.findings[0].code, FindingCode::HiddenRecord);
    EXPECT_EQ(result.findings[0].hidden, kHiddenXTooLarge);
    EXPECT_EQ(result.findings[0].fix, FindingFix::None);   // rows unknown: no fix offered
}

}  // namespace
}  // namespace morvi::test
