// The map document on real files: load, add, modify, delete (many rows, one step), import,
// undo and redo, each with its typed errors; the rows follow what was written.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "RegionChecks.h"
#include "TestFiles.h"
#include "TreeGenerator.h"
#include "data/region/RegionFile.h"
#include "data/platform/FileLock.h"
#include "document/MapDocument.h"

namespace morvi::test {
namespace {

namespace fs = std::filesystem;
using tools::MakeRecord;

constexpr uint32_t kSeed = 41;
const PlacementRecord kA = MakeRecord(2, "A", 10, 1, 10, 1, 0, 0, 0, 3);
const PlacementRecord kB = MakeRecord(3, "B", 20, 2, 20, 2, 3, 1, 2, 0, "\\script\\npc\\thirty_bytes__.lua");
const PlacementRecord kC = MakeRecord(4, "C", 30, 3, 30, 3, 0, 0, 0, 5);

PlacementKey KeyOf(const PlacementRecord& r) {
    return {r.block.TemplateIndex(), r.block.PosX(), r.block.PosY(), r.block.offsetX, r.block.offsetY};
}

std::string Bytes(const PlacementRecord& r) {
    std::string out;
    AppendPlacementBytes(out, r.block, r.script);
    return out;
}

// Counts what the observer hears, and checks it always agrees with the store.
struct CountingObserver : RowObserver {
    const MapDocument* doc = nullptr;
    int shown = 0;
    int resets = 0, changed = 0;
    void RowsReset() override { ++resets, shown = 0; }
    void RowsInsertedAtTop(int count) override { shown += count; }
    void RowChanged(int) override { ++changed; }
    void RowRemoved(int row) override {
        --shown;
        EXPECT_EQ(doc->Rows().Count(), shown) << row;
    }
    void RowsRemoved(const std::vector<int>& rows) override {
        EXPECT_TRUE(std::adjacent_find(rows.begin(), rows.end(), std::greater_equal<int>()) == rows.end())
            << "ascending, each once";
        shown -= static_cast<int>(rows.size());
        EXPECT_EQ(doc->Rows().Count(), shown);
    }
};

class MapDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(FileA(), tools::MakeRegionImage(kSeed, {kA, kB}));
        WriteFile(FileB(), tools::MakeRegionImage(kSeed + 1, {kC}));
        original = Files();
        doc.SetServerPath(Server());
        doc.SetHistoryDirectory(dir / "history");
        doc.SetSeedSource([] { return 1234u; });
        observer.doc = &doc;
        doc.SetObserver(&observer);
    }
    std::string Server() const { return NativeForm(dir / "server"); }
    std::string MapDir() const { return NativeForm(dir / "server/maps/m1"); }
    std::string FileA() const { return NativeForm(dir / "server/maps/m1/a_S.DAT"); }
    std::string FileB() const { return NativeForm(dir / "server/maps/m1/sub/b_S.DAT"); }
    std::vector<std::string> Files() const { return {ReadFile(FileA()), ReadFile(FileB())}; }
    // An import that deletes C from file B, then the `occurrence`-th A from file A.
    ImportPlan DeleteCThenA(int occurrence) const {
        ImportPlan plan;
        ImportFilePlan& b = plan.files.emplace_back();
        b.file = FileB();
        b.deletions.push_back({KeyOf(kC), 0});
        ImportFilePlan& a = plan.files.emplace_back();
        a.file = FileA();
        a.deletions.push_back({KeyOf(kA), occurrence});
        return plan;
    }
    void Load() { ASSERT_TRUE(doc.Load(MapDir(), 40, {}, "m1").has_value()); }
    int RowOf(const std::string& name) const {
        for (int i = 0; i < doc.Rows().Count(); ++i)
            if (doc.Rows().Block(i).Name() == name) return i;
        return -1;
    }

    TempDir dir;
    MapDocument doc;
    CountingObserver observer;
    std::vector<std::string> original;
};

TEST_F(MapDocumentTest, LoadListsTheLastRecordOfTheLastFileOnTop) {
    std::vector<size_t> progress;
    const Expected<LoadSummary, DocumentError> loaded =
        doc.Load(MapDir(), 40, [&](size_t n) { progress.push_back(n); }, "m1");
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->files, 2u);
    EXPECT_EQ(loaded->rows, 3);
    ASSERT_EQ(doc.Rows().Count(), 3);
    EXPECT_EQ(doc.Rows().Block(0).Name(), "C");
    EXPECT_EQ(doc.Rows().Block(2).Name(), "A");
    EXPECT_EQ(doc.Rows().File(0), FileB());
    EXPECT_EQ(progress, (std::vector<size_t>{0, 0, 1}));   // after every record, by file index
    EXPECT_EQ(observer.shown, 3);
    // A template count the records reach hides them.
    ASSERT_TRUE(doc.Load(MapDir(), 3, {}, "m1").has_value());
    EXPECT_EQ(doc.Rows().Count(), 1);
}

TEST_F(MapDocumentTest, AddAppendsToTheFileAsItIsAndUndoRedoTakeItBackByteForByte) {
    Load();
    PlacementDraft draft;
    draft.templateIndex = 5;
    draft.name = "New";
    draft.posX = 7;
    draft.posY = 8;
    draft.offsetX = OffsetChoice::Of(1);
    draft.offsetY = OffsetChoice::Of(2);
    draft.drop = DropChoice::Of(0);
    // Another program appended a record since the load: the add lands after it.
    WriteFile(FileB(), tools::MakeRegionImage(kSeed + 1, {kC, kA}));
    const std::string changed = ReadFile(FileB());
    const Expected<AddResult, DocumentError> added = doc.Add(draft, {FileB(), {}, {}});
    ASSERT_TRUE(added.has_value());
    EXPECT_EQ(added->file, FileB());
    EXPECT_EQ(added->note.changedSinceLoad, std::vector<std::string>{FileB()});
    const std::string after = ReadFile(FileB());
    EXPECT_TRUE(Consistent(after));
    EXPECT_EQ(after.substr(changed.size()), Bytes(added->record));
    EXPECT_EQ(added->record.block.marker, 1);
    EXPECT_EQ(doc.Rows().Block(0).Name(), "New");
    EXPECT_EQ(observer.shown, 4);

    ASSERT_TRUE(doc.Undo().has_value());
    EXPECT_EQ(ReadFile(FileB()), changed);
    ASSERT_TRUE(doc.Redo().has_value());
    EXPECT_EQ(ReadFile(FileB()), after);
    ASSERT_TRUE(doc.Undo().has_value());
    const Expected<RevertReport, DocumentError> none = doc.Undo();
    ASSERT_FALSE(none.has_value());
    EXPECT_EQ(none.error().code, DocumentErrorCode::NothingToUndo);
}

TEST_F(MapDocumentTest, AddChoosesAFileByTheWindowsRuleAndSaysWhenThereIsNone) {
    PlacementDraft draft;
    draft.templateIndex = 5;
    // No map loaded and no file named.
    Expected<AddResult, DocumentError> added = doc.Add(draft);
    ASSERT_FALSE(added.has_value());
    EXPECT_EQ(added.error().code, DocumentErrorCode::NoMap);
    // A map without region files.
    added = doc.Add(draft, {{}, std::string(NativeForm(dir / "server/maps/none")), {}});
    ASSERT_FALSE(added.has_value());
    EXPECT_EQ(added.error().code, DocumentErrorCode::NoRegionFile);
    // With two files the last one listed is never chosen, whatever the seed.
    Load();
    for (uint32_t seed = 0; seed < 20; ++seed) {
        doc.SetSeedSource([seed] { return seed; });
        added = doc.Add(draft);
        ASSERT_TRUE(added.has_value());
        EXPECT_EQ(added->file, FileA()) << seed;
    }
}

TEST_F(MapDocumentTest, ModifyRewritesTheFirstMatchAndRefreshesItsRow) {
    Load();
    const int row = RowOf("B");
    PlacementDraft draft;
    draft.name = "Bnew";
    draft.type = 0;
    const Expected<ModifyResult, DocumentError> done = doc.Modify(KeyOf(kB), FileA(), draft, row);
    ASSERT_TRUE(done.has_value());
    PlacementRecord want = kB;
    want.block.SetName("Bnew");
    want.block.npcType = 0;
    EXPECT_EQ(Bytes(done->record), Bytes(want));
    EXPECT_EQ(ReadFile(FileA()), tools::MakeRegionImage(kSeed, {kA, want}));
    EXPECT_EQ(doc.Rows().Block(row).Name(), "Bnew");
    EXPECT_EQ(observer.changed, 1);
}

TEST_F(MapDocumentTest, ModifyAndDeleteSayWhatStoodInTheWay) {
    Load();
    struct Case {
        const char* what;
        std::function<void()> before;
        PlacementKey key;
        std::string file;
        DocumentErrorCode code;
    };
    const Case cases[] = {
        {"the record is gone", [&] { WriteFile(FileA(), tools::MakeRegionImage(kSeed, {kA})); }, KeyOf(kB), FileA(),
         DocumentErrorCode::KeyNotFound},
        {"the file is gone", [&] { fs::remove(FileA()); }, KeyOf(kA), FileA(), DocumentErrorCode::FileUnreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.before();
        const std::vector<std::string> files = {FileExists(FileA()) ? ReadFile(FileA()) : "", ReadFile(FileB())};
        PlacementDraft draft;
        draft.name = "X";
        const Expected<ModifyResult, DocumentError> modified = doc.Modify(c.key, c.file, draft);
        ASSERT_FALSE(modified.has_value());
        EXPECT_EQ(modified.error().code, c.code);
        EXPECT_EQ(modified.error().file, c.file);
        const Expected<RemoveReport, DocumentError> removed = doc.Delete(std::vector<PlacementRef>{{c.file, c.key}});
        ASSERT_TRUE(removed.has_value());
        ASSERT_EQ(removed->rows.size(), 1u);
        ASSERT_TRUE(removed->rows[0].error.has_value());
        EXPECT_EQ(removed->rows[0].error->code, c.code);
        EXPECT_EQ(removed->removed, 0);
        EXPECT_EQ((std::vector<std::string>{FileExists(FileA()) ? ReadFile(FileA()) : "", ReadFile(FileB())}), files);
    }
    // A row outside the store: nothing written.
    const Expected<RemoveReport, DocumentError> outside = doc.Delete(std::vector<int>{0, 99});
    ASSERT_FALSE(outside.has_value());
    EXPECT_EQ(outside.error().code, DocumentErrorCode::NoSuchRow);
}

TEST_F(MapDocumentTest, DeleteOfManyRowsIsOneStepAndReportsEachRow) {
    Load();
    // B's record is changed elsewhere: its row stays, the others go, in one step over two files.
    const PlacementRecord bMoved = MakeRecord(3, "B", 21, 2, 20, 2, 3, 1, 2, 0, "\\script\\npc\\thirty_bytes__.lua");
    WriteFile(FileA(), tools::MakeRegionImage(kSeed, {kA, bMoved}));
    const Expected<RemoveReport, DocumentError> removed =
        doc.Delete(std::vector<int>{RowOf("C"), RowOf("B"), RowOf("A")});
    ASSERT_TRUE(removed.has_value());
    EXPECT_EQ(removed->selected, 3);
    EXPECT_EQ(removed->removed, 2);
    ASSERT_EQ(removed->rows.size(), 3u);
    EXPECT_TRUE(removed->rows[0].Removed());
    ASSERT_FALSE(removed->rows[1].Removed());
    EXPECT_EQ(removed->rows[1].error->code, DocumentErrorCode::KeyNotFound);
    EXPECT_EQ(Bytes(removed->rows[2].record), Bytes(kA));
    EXPECT_EQ(ReadFile(FileA()), tools::MakeRegionImage(kSeed, {bMoved}));
    EXPECT_EQ(ReadFile(FileB()), tools::MakeRegionImage(kSeed + 1, {}));
    ASSERT_EQ(doc.Rows().Count(), 1);
    EXPECT_EQ(doc.Rows().Block(0).Name(), "B");
    EXPECT_EQ(observer.shown, 1);

    const std::vector<JournalEntry> entries = doc.History().ReadAll();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].step, entries[1].step);
    EXPECT_EQ(entries[0].operation, "delete");
    ASSERT_TRUE(doc.Undo().has_value());
    EXPECT_EQ(ReadFile(FileA()), tools::MakeRegionImage(kSeed, {kA, bMoved}));
    EXPECT_EQ(ReadFile(FileB()), original[1]);
}

TEST_F(MapDocumentTest, UndoIsRefusedWhenAFileChangedSinceAndWritesNothing) {
    Load();
    PlacementDraft draft;
    draft.name = "Anew";
    ASSERT_TRUE(doc.Modify(KeyOf(kA), FileA(), draft).has_value());
    WriteFile(FileA(), original[0]);
    const Expected<RevertReport, DocumentError> undone = doc.Undo();
    ASSERT_FALSE(undone.has_value());
    EXPECT_EQ(undone.error().code, DocumentErrorCode::RevertRefused);
    EXPECT_FALSE(undone.error().system.empty());
    EXPECT_EQ(ReadFile(FileA()), original[0]);
    EXPECT_TRUE(doc.CanUndo());   // the step stays the one to take back
}

TEST_F(MapDocumentTest, AHistoryThatCannotRecordStopsTheWrite) {
    Load();
    WriteFile(dir / "blocked", "a file where the history's directory would go");
    doc.SetHistoryDirectory(dir / "blocked/history");
    PlacementDraft draft;
    draft.templateIndex = 5;
    const Expected<AddResult, DocumentError> added = doc.Add(draft, {FileA(), {}, {}});
    ASSERT_FALSE(added.has_value());
    EXPECT_EQ(added.error().code, DocumentErrorCode::HistoryFailed);
    EXPECT_FALSE(added.error().system.empty());
    EXPECT_EQ(Files(), original);
    EXPECT_EQ(doc.Rows().Count(), 3);
}

TEST_F(MapDocumentTest, AWriterThatCannotHaveTheLockWritesNothing) {
    Load();
    StepOptions options;
    options.lockWaitMilliseconds = 50;
    doc.SetStepOptions(options);
    const RegionWriteLock other(FileA(), 0);   // another writer holds the file
    ASSERT_TRUE(other.Held());
    PlacementDraft draft;
    draft.name = "X";
    const struct {
        const char* what;
        std::function<std::optional<DocumentError>()> run;
    } cases[] = {
        {"add", [&]() -> std::optional<DocumentError> {
             auto r = doc.Add(draft, {FileA(), {}, {}});
             return r ? std::nullopt : std::optional<DocumentError>(r.error());
         }},
        {"modify", [&]() -> std::optional<DocumentError> {
             auto r = doc.Modify(KeyOf(kA), FileA(), draft);
             return r ? std::nullopt : std::optional<DocumentError>(r.error());
         }},
        {"delete", [&]() -> std::optional<DocumentError> {
             auto r = doc.Delete(std::vector<int>{RowOf("A")});
             if (!r) return r.error();
             return r->rows.at(0).error;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<DocumentError> error = c.run();
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->code, DocumentErrorCode::LockFailed);
        EXPECT_EQ(error->file, FileA());
        EXPECT_EQ(Files(), original);
    }
    EXPECT_EQ(doc.Rows().Count(), 3);
    EXPECT_TRUE(doc.History().ReadAll().empty());
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(MapDocumentTest, ImportDeletesChangesAndAppendsInOneStep) {
    Load();
    ImportPlan plan;
    ImportFilePlan& a = plan.files.emplace_back();
    a.file = FileA();
    a.deletions.push_back({KeyOf(kA), 0});
    PlacementDraft change;
    change.name = "B2";
    a.changes.emplace_back(ImportTarget{KeyOf(kB), 0}, change);
    PlacementDraft addition;
    addition.templateIndex = 9;
    addition.name = "N";
    addition.offsetX = OffsetChoice::Of(0);
    addition.offsetY = OffsetChoice::Of(0);
    a.additions.push_back(addition);
    const Expected<ImportReport, ImportFailure> done = doc.Import(plan);
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(done->deletions, 1);
    EXPECT_EQ(done->changes, 1);
    EXPECT_EQ(done->additions, 1);
    PlacementRecord b2 = kB;
    b2.block.SetName("B2");
    PlacementRecord n;
    n.block.SetTemplateIndex(9);
    n.block.SetName("N");
    n.block.marker = 1;
    EXPECT_EQ(ReadFile(FileA()), tools::MakeRegionImage(kSeed, {b2, n}));
    ASSERT_TRUE(doc.Undo().has_value());
    EXPECT_EQ(Files(), original);
}

TEST_F(MapDocumentTest, AnImportThatCannotBeDoneLeavesEveryFileAsItWas) {
    Load();
    const ImportPlan plan = DeleteCThenA(1);   // there is one A only
    const Expected<ImportReport, ImportFailure> done = doc.Import(plan);
    ASSERT_FALSE(done.has_value());
    EXPECT_EQ(done.error().error.code, DocumentErrorCode::KeyNotFound);
    EXPECT_EQ(done.error().error.file, FileA());
    EXPECT_TRUE(done.error().restored);
    EXPECT_EQ(Files(), original);
}

TEST_F(MapDocumentTest, AnImportStoppedAtItsSecondFileTakesBackTheFirst) {
    Load();
    const ImportPlan plan = DeleteCThenA(0);
    // Another program takes A away just before the second file's turn.
    const std::string withoutA = tools::MakeRegionImage(kSeed, {kB});
    StepOptions options;
    options.beforeFile = [&](size_t index, const std::string&) {
        if (index == 1) WriteFile(FileA(), withoutA);
    };
    doc.SetStepOptions(options);
    const Expected<ImportReport, ImportFailure> done = doc.Import(plan);
    ASSERT_FALSE(done.has_value());
    EXPECT_EQ(done.error().error.file, FileA());
    EXPECT_TRUE(done.error().restored) << done.error().restoreFailure;
    EXPECT_EQ(ReadFile(FileB()), original[1]);
    EXPECT_EQ(ReadFile(FileA()), withoutA);
    EXPECT_FALSE(doc.CanUndo());
}

}  // namespace
}  // namespace morvi::test
