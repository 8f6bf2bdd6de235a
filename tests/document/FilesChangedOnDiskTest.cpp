// The loaded files another program changed: found by their stamps, kept until the next load,
// never the document's own writes (add, modify, delete, import, undo and redo).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "TestFiles.h"
#include "TreeGenerator.h"
#include "document/MapDocument.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

const PlacementRecord kA = MakeRecord(2, "A", 10, 1, 10, 1, 3, 1, 2, 3);
const PlacementRecord kB = MakeRecord(3, "B", 20, 2, 20, 2, 3, 1, 2, 4);
const PlacementRecord kC = MakeRecord(4, "C", 30, 3, 30, 3, 3, 1, 2, 5);

class FilesChangedOnDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(FileA(), tools::MakeRegionImage(3, {kA, kB}));
        WriteFile(FileB(), tools::MakeRegionImage(4, {kC}));
        doc.SetServerPath(dir / "server");
        doc.SetHistoryDirectory(dir / "history");
        ASSERT_TRUE(doc.Load(MapDir(), 10).has_value());
    }
    std::string MapDir() const { return NativeForm(dir / "server/maps/m"); }
    std::string FileA() const { return NativeForm(dir / "server/maps/m/a_S.DAT"); }
    std::string FileB() const { return NativeForm(dir / "server/maps/m/z/b_S.DAT"); }
    PlacementKey KeyOf(const PlacementRecord& r) const {
        const NpcPlacement& p = r.block;
        return {p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
    }
    TempDir dir;
    MapDocument doc;
};

TEST_F(FilesChangedOnDiskTest, TheDocumentsOwnWritesAreNeverReported) {
    PlacementDraft rename;
    rename.name = "A-renamed";
    const std::vector<std::pair<const char*, std::function<bool()>>> writes = {
        {"add", [&] { return doc.Add(rename, {FileB()}).has_value(); }},
        {"modify", [&] { return doc.Modify(KeyOf(kA), FileA(), rename).has_value(); }},
        {"delete", [&] { return doc.Delete(std::vector<int>{0}).has_value(); }},
        {"undo", [&] { return doc.Undo().has_value(); }},
        {"redo", [&] { return doc.Redo().has_value(); }},
        {"import", [&] {
             ImportPlan plan;
             plan.files.push_back({FileB(), {}, {}, {rename}});
             return doc.Import(plan).has_value();
         }},
    };
    const uint64_t before = doc.Generation();
    for (const auto& [name, write] : writes) {
        SCOPED_TRACE(name);
        const uint64_t generation = doc.Generation();
        ASSERT_TRUE(write());
        EXPECT_TRUE(doc.FilesChangedOnDisk().empty());
        EXPECT_GT(doc.Generation(), generation);
    }
    EXPECT_GT(doc.Generation(), before);
}

TEST_F(FilesChangedOnDiskTest, AChangeFromOutsideStaysNamedUntilTheNextLoad) {
    EXPECT_EQ(doc.LoadedFiles(), (std::vector<std::string>{FileA(), FileB()}));
    EXPECT_TRUE(doc.FilesChangedOnDisk().empty());
    WriteFile(FileB(), tools::MakeRegionImage(4, {kC, kA}));
    EXPECT_EQ(doc.FilesChangedOnDisk(), std::vector<std::string>{FileB()});
    // A file removed counts as changed; the list keeps the map's order.
    std::filesystem::remove(FileA());
    EXPECT_EQ(doc.FilesChangedOnDisk(), (std::vector<std::string>{FileA(), FileB()}));
    // A write of the document onto a changed file takes its stamp, yet the rows still lack what
    // the other program wrote: the file stays named.
    PlacementDraft draft;
    draft.name = "C2";
    ASSERT_TRUE(doc.Modify(KeyOf(kC), FileB(), draft).has_value());
    EXPECT_EQ(doc.ChangedSinceLoad(), std::vector<std::string>{FileB()});
    EXPECT_EQ(doc.FilesChangedOnDisk(), (std::vector<std::string>{FileA(), FileB()}));
    const uint64_t generation = doc.Generation();
    ASSERT_TRUE(doc.Reload().has_value());
    EXPECT_GT(doc.Generation(), generation);
    EXPECT_TRUE(doc.FilesChangedOnDisk().empty());
    EXPECT_EQ(doc.LoadedFiles(), std::vector<std::string>{FileB()});
    doc.Close();
    EXPECT_TRUE(doc.LoadedFiles().empty());
}

}  // namespace
}  // namespace morvi::test
