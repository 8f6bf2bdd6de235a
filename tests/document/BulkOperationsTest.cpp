// Deleting and editing many rows at once: the files come out byte for byte as the same single
// operations leave them, each file is written once in one history step that one undo takes
// back, rows that cannot take a change are named and nothing is written for them, and the rows
// follow.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "TreeGenerator.h"
#include "document/MapDocument.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

// Three region files of records with distinct keys, some with scripts, positions near the
// listed range's edges.
std::vector<std::vector<PlacementRecord>> Regions() {
    std::vector<std::vector<PlacementRecord>> regions(3);
    for (int f = 0; f < 3; ++f)
        for (int i = 0; i < 6; ++i) {
            const int n = f * 10 + i;
            const std::string script = i % 3 == 1 ? "\\script\\npc\\bulk_" + std::to_string(n) + "_padding.lua" : "";
            regions[static_cast<size_t>(f)].push_back(MakeRecord(n + 1, "p" + std::to_string(n), i == 5 ? 995 : 100 + n,
                                                                 n % 7, i == 4 ? 2 : 200 + n, n % 5, n % 6, n % 7,
                                                                 n % 5, n % 25, script));
        }
    return regions;
}

// One map (three files) in its own server tree, with its own history and document.
struct Tree {
    explicit Tree(std::string root) : root(std::move(root)) {
        const auto regions = Regions();
        for (size_t f = 0; f < regions.size(); ++f)
            WriteFile(File(f), tools::MakeRegionImage(static_cast<uint32_t>(f + 5), regions[f]));
        doc.SetServerPath(NativeForm(this->root + "/server"));
        doc.SetHistoryDirectory(NativeForm(this->root + "/history"));
        doc.SetSeedSource([] { return 77u; });
        EXPECT_TRUE(doc.Load(NativeForm(this->root + "/server/maps/m"), 100, {}, "m").has_value());
    }
    std::string File(size_t f) const { return NativeForm(root + "/server/maps/m/r" + std::to_string(f) + "_S.DAT"); }
    std::vector<std::string> Images() const { return {ReadFile(File(0)), ReadFile(File(1)), ReadFile(File(2))}; }
    int RowNamed(const std::string& name) const {
        for (int row = 0; row < doc.Rows().Count(); ++row)
            if (doc.Rows().Block(row).Name() == name) return row;
        return -1;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int row = 0; row < doc.Rows().Count(); ++row) names.emplace_back(doc.Rows().Block(row).Name());
        return names;
    }
    std::string root;
    MapDocument doc;
};

PlacementKey KeyOfRow(const MapDocument& doc, int row) {
    const NpcPlacement p = doc.Rows().Block(row);
    return {p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
}

const std::vector<std::string> kPicked = {"p0", "p2", "p4", "p5", "p11", "p13", "p21", "p22", "p23", "p25"};

TEST(BulkOperationsTest, DeleteOfManyRowsEqualsSingleDeletesAndOneUndoTakesItBack) {
    TempDir dir;
    Tree bulk(dir / "bulk"), single(dir / "single");
    const std::vector<std::string> original = bulk.Images();

    std::vector<int> rows;
    for (const std::string& name : kPicked) rows.push_back(bulk.RowNamed(name));
    std::vector<std::pair<size_t, size_t>> progress;
    const Expected<RemoveReport, DocumentError> removed =
        bulk.doc.Delete(rows, [&](size_t done, size_t total) { progress.emplace_back(done, total); });
    ASSERT_TRUE(removed.has_value());
    EXPECT_EQ(removed->removed, static_cast<int>(kPicked.size()));

    for (const std::string& name : kPicked) {
        const int row = single.RowNamed(name);
        ASSERT_TRUE(single.doc.Delete(std::vector<int>{row}).has_value()) << name;
    }
    EXPECT_EQ(bulk.Images(), single.Images());
    EXPECT_EQ(bulk.Names(), single.Names());

    // Progress counts rows, file by file, and ends with all of them.
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), std::make_pair(kPicked.size(), kPicked.size()));
    for (size_t i = 1; i < progress.size(); ++i) EXPECT_LE(progress[i - 1].first, progress[i].first);

    // One step of three files, one undo.
    const std::vector<JournalEntry> entries = bulk.doc.History().ReadAll();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries.front().step, entries.back().step);
    ASSERT_TRUE(bulk.doc.Undo().has_value());
    EXPECT_EQ(bulk.Images(), original);
    EXPECT_FALSE(bulk.doc.CanUndo());
    ASSERT_TRUE(bulk.doc.Reload().has_value());
    EXPECT_EQ(bulk.doc.Rows().Count(), 18);
}

TEST(BulkOperationsTest, DeleteOfEveryRowLeavesEmptyFilesAndAnEmptyStore) {
    TempDir dir;
    Tree tree(dir / "t");
    std::vector<int> rows;
    for (int row = tree.doc.Rows().Count() - 1; row >= 0; --row) rows.push_back(row);   // any order
    const Expected<RemoveReport, DocumentError> removed = tree.doc.Delete(rows);
    ASSERT_TRUE(removed.has_value());
    EXPECT_TRUE(removed->AllRemoved());
    EXPECT_EQ(tree.doc.Rows().Count(), 0);
    for (size_t f = 0; f < 3; ++f) EXPECT_EQ(ReadFile(tree.File(f)), tools::MakeRegionImage(static_cast<uint32_t>(f + 5), {}));
}

// The single modify that does what the bulk edit does to one placement.
PlacementDraft SingleDraft(const BulkEdit& edit, const NpcPlacement& p) {
    PlacementDraft draft;
    draft.offsetX = edit.offsetX;
    draft.offsetY = edit.offsetY;
    draft.type = edit.type;
    draft.group = edit.group;
    draft.series = edit.series;
    draft.drop = edit.drop;
    draft.script = edit.script;
    if (edit.moveX) draft.posX = p.PosX() + edit.moveX;
    if (edit.moveY) draft.posY = p.PosY() + edit.moveY;
    return draft;
}

TEST(BulkOperationsTest, EditOfManyRowsEqualsSingleModifiesAndOneUndoTakesItBack) {
    struct Case {
        const char* what;
        BulkEdit edit;
        std::vector<std::string> refused;   // rows a move would take past the listed range
    };
    auto edit = [](auto set) {
        BulkEdit e;
        set(e);
        return e;
    };
    const Case cases[] = {
        {"type and group", edit([](BulkEdit& e) { e.type = 5; e.group = 1; }), {}},
        {"series, offsets and drop", edit([](BulkEdit& e) {
             e.series = 3;
             e.offsetX = OffsetChoice::Of(255);
             e.offsetY = OffsetChoice::Of(0);
             e.drop = DropChoice::Of(9);
         }), {}},
        {"a script for all", edit([](BulkEdit& e) { e.script = "\\script\\npc\\everyone_gets_this.lua"; }), {}},
        {"scripts taken away", edit([](BulkEdit& e) { e.script = ""; }), {}},
        {"a move inside the range", edit([](BulkEdit& e) { e.moveX = 3; e.moveY = -1; }), {}},
        {"a move past x 999", edit([](BulkEdit& e) { e.moveX = 5; e.type = 4; }), {"p5", "p25"}},
        {"a move below y 0", edit([](BulkEdit& e) { e.moveY = -3; }), {"p4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        Tree bulk(dir / "bulk"), single(dir / "single");
        const std::vector<std::string> original = bulk.Images();
        std::vector<int> rows;
        for (const std::string& name : kPicked) rows.push_back(bulk.RowNamed(name));
        const Expected<BulkEditReport, DocumentError> edited = bulk.doc.EditMany(rows, c.edit);
        ASSERT_TRUE(edited.has_value());
        EXPECT_EQ(edited->selected, static_cast<int>(kPicked.size()));
        EXPECT_EQ(edited->changed, static_cast<int>(kPicked.size() - c.refused.size()));
        std::vector<std::string> refused;
        for (const EditedRow& row : edited->rows) {
            if (row.Changed()) continue;
            refused.emplace_back(bulk.doc.Rows().Block(row.row).Name());
            EXPECT_EQ(row.error->code, DocumentErrorCode::OutOfListedRange);
        }
        EXPECT_EQ(refused, c.refused);

        for (const std::string& name : kPicked) {
            if (std::find(c.refused.begin(), c.refused.end(), name) != c.refused.end()) continue;
            const int row = single.RowNamed(name);
            const NpcPlacement p = single.doc.Rows().Block(row);
            ASSERT_TRUE(single.doc.Modify(KeyOfRow(single.doc, row), single.doc.Rows().File(row), SingleDraft(c.edit, p), row)
                            .has_value())
                << name;
        }
        EXPECT_EQ(bulk.Images(), single.Images());
        // The rows show what was stored (each in its own tree's file).
        for (int row = 0; row < bulk.doc.Rows().Count(); ++row) {
            RowTexts mine = bulk.doc.Rows().Texts(row);
            RowTexts theirs = single.doc.Rows().Texts(single.RowNamed(mine[COL_NAME]));
            mine[COL_FILE] = theirs[COL_FILE] = "";
            EXPECT_EQ(mine, theirs) << row;
        }

        const std::vector<JournalEntry> entries = bulk.doc.History().ReadAll();
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries.front().step, entries.back().step);
        ASSERT_TRUE(bulk.doc.Undo().has_value());
        EXPECT_EQ(bulk.Images(), original);
    }
}

TEST(BulkOperationsTest, AnEditNoRecordCanTakeIsRefusedWholeAndWritesNothing) {
    struct Case { const char* what; BulkEdit edit; DocumentErrorCode code; PlacementField field; };
    BulkEdit longScript, badOffset, badDrop;
    longScript.script = "\\" + std::string(300, 's');
    badOffset.offsetY = OffsetChoice::Of(256);
    badDrop.drop = DropChoice::Of(25);
    const Case cases[] = {
        {"script too long", longScript, DocumentErrorCode::ScriptTooLong, PlacementField::Script},
        {"offset past 255", badOffset, DocumentErrorCode::OffsetOutOfRange, PlacementField::OffsetY},
        {"drop past 24", badDrop, DocumentErrorCode::DropTooHigh, PlacementField::Drop},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        Tree tree(dir / "t");
        const std::vector<std::string> original = tree.Images();
        const Expected<BulkEditReport, DocumentError> edited = tree.doc.EditMany({0, 1, 2}, c.edit);
        ASSERT_FALSE(edited.has_value());
        EXPECT_EQ(edited.error().code, c.code);
        EXPECT_EQ(edited.error().field, c.field);
        EXPECT_EQ(tree.Images(), original);
        EXPECT_FALSE(tree.doc.CanUndo());
    }
    TempDir dir;
    Tree tree(dir / "t");
    const Expected<BulkEditReport, DocumentError> outside = tree.doc.EditMany({0, 18}, BulkEdit{});
    ASSERT_FALSE(outside.has_value());
    EXPECT_EQ(outside.error().code, DocumentErrorCode::NoSuchRow);
}

TEST(BulkOperationsTest, EditNamesARowWhoseRecordLeftItsFile) {
    TempDir dir;
    Tree tree(dir / "t");
    const int gone = tree.RowNamed("p11"), kept = tree.RowNamed("p12");
    // Another program took p11 out of its file since the load.
    auto regions = Regions();
    regions[1].erase(regions[1].begin() + 1);
    WriteFile(tree.File(1), tools::MakeRegionImage(6, regions[1]));
    BulkEdit edit;
    edit.group = 2;
    const Expected<BulkEditReport, DocumentError> edited = tree.doc.EditMany({gone, kept}, edit);
    ASSERT_TRUE(edited.has_value());
    EXPECT_EQ(edited->changed, 1);
    ASSERT_FALSE(edited->rows[0].Changed());
    EXPECT_EQ(edited->rows[0].error->code, DocumentErrorCode::KeyNotFound);
    EXPECT_TRUE(edited->rows[1].Changed());
    EXPECT_EQ(tree.doc.Rows().Block(kept).npcGroup, 2);
}

}  // namespace
}  // namespace morvi::test
