// Whole-file operations: exact resulting bytes, invariants under random operation sequences,
// and crash safety when a write fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/stat.h>

#include "data/platform/WidePath.h"

#include "RegionChecks.h"
#include "TestFiles.h"
#include "TreeGenerator.h"
#include "data/platform/AtomicFile.h"
#include "RegionWriters.h"
#include "data/region/RegionFile.h"

namespace morvi {
namespace {

using test::Consistent;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using tools::MakeRecord;
using tools::MakeRegionImage;

std::string Bytes(const PlacementRecord& r) {
    std::string out;
    AppendPlacementBytes(out, r.block, r.script);
    return out;
}

PlacementKey KeyOf(const NpcPlacement& p) {
    return {p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
}

class RegionFileTest : public ::testing::Test {
protected:
    std::string path() const { return dir / "maps/m/0_0_S.DAT"; }
    TempDir dir;
};

TEST_F(RegionFileTest, AppendToEmptySection) {
    std::string before = MakeRegionImage(3, {});
    WriteFile(path(), before);
    auto r = MakeRecord(7, "Guard", 100, 1, 200, 2, 3, 1, 2, 24);
    ASSERT_TRUE(AppendPlacementToFile(path(), r).ok());
    std::string after = ReadFile(path());
    ASSERT_EQ(after.size(), 2173u);
    std::string expected = before;
    expected[2100] = 1;
    expected += Bytes(r);
    EXPECT_EQ(after, expected);
}

TEST_F(RegionFileTest, AppendRefusesAFullCountInsteadOfWrappingIt) {
    std::string before = MakeRegionImage(3, {});
    before[2100] = char(0xFF);
    before[2101] = char(0xFF);
    WriteFile(path(), before);
    RegionResult result = AppendPlacementToFile(path(), MakeRecord(1, "A", 1, 1, 1, 1, 0, 0, 0, 0));
    EXPECT_EQ(result.outcome, RegionOutcome::WriteFailed);
    EXPECT_NE(result.error.find("65535"), std::string::npos);
    EXPECT_EQ(ReadFile(path()), before);
}

TEST_F(RegionFileTest, ModifyMovesTheTailWhenTheLengthChanges) {
    auto a = MakeRecord(1, "A", 10, 1, 20, 2, 0, 0, 0, 5);
    auto b = MakeRecord(2, "B", 11, 1, 21, 2, 0, 0, 0, 0, "\\script\\b_is_a_long_script.lua");
    auto c = MakeRecord(3, "C", 12, 1, 22, 2, 0, 0, 0, 3);
    std::string before = MakeRegionImage(4, {a, b, c});
    WriteFile(path(), before);

    struct Case { std::string script; };
    for (const std::string& script : {std::string(), std::string(30, 'x'), std::string(255, 'y'),
                                      std::string("\\script\\b_is_a_long_script.lua")}) {
        auto fresh = MakeRecord(9, "New", 50, 5, 60, 6, 3, 2, 1, 4, script.empty() ? "" : "\\" + script.substr(1));
        auto result = ModifyPlacementInFile(path(), KeyOf(b.block), [&](const PlacementRecord&) { return fresh; });
        ASSERT_TRUE(result.ok());
        std::string expected = MakeRegionImage(4, {a, fresh, c});
        EXPECT_EQ(ReadFile(path()), expected) << script.size();
        // Put b back for the next case.
        ASSERT_TRUE(ModifyPlacementInFile(path(), KeyOf(fresh.block), [&](const PlacementRecord&) { return b; }).ok());
        EXPECT_EQ(ReadFile(path()), before);
    }
}

TEST_F(RegionFileTest, ModifyAndRemoveTakeTheFirstOfDuplicateKeys) {
    auto a1 = MakeRecord(1, "first", 10, 1, 20, 2, 0, 0, 0, 5);
    auto a2 = MakeRecord(1, "second", 10, 1, 20, 2, 0, 0, 0, 6);
    WriteFile(path(), MakeRegionImage(4, {a1, a2}));
    auto fresh = MakeRecord(1, "changed", 10, 1, 20, 2, 0, 0, 0, 7);
    ASSERT_TRUE(ModifyPlacementInFile(path(), KeyOf(a1.block), [&](const PlacementRecord&) { return fresh; }).ok());
    EXPECT_EQ(ReadFile(path()), MakeRegionImage(4, {fresh, a2}));
    PlacementRecord removed;
    ASSERT_TRUE(RemovePlacementFromFile(path(), KeyOf(a1.block), &removed).ok());
    EXPECT_EQ(removed.block.Name(), "changed");
    EXPECT_EQ(ReadFile(path()), MakeRegionImage(4, {a2}));
}

TEST_F(RegionFileTest, AbsentRecordsNeverMatch) {
    // Count says 5, one record present: the zero records past the end must not match a zero key.
    std::string image = MakeRegionImage(4, {MakeRecord(1, "A", 10, 1, 20, 2, 0, 0, 0, 5)});
    image[2100] = 5;
    WriteFile(path(), image);
    PlacementKey zero{};
    EXPECT_EQ(ModifyPlacementInFile(path(), zero, [](const PlacementRecord& r) { return r; }).outcome,
              RegionOutcome::NotFound);
    EXPECT_EQ(RemovePlacementFromFile(path(), zero).outcome, RegionOutcome::NotFound);
    EXPECT_EQ(ReadFile(path()), image);
}

TEST_F(RegionFileTest, ModifyWalksOnlyTheCountedRecordsButRemoveWalksToTheEnd) {
    auto a = MakeRecord(1, "A", 10, 1, 20, 2, 0, 0, 0, 5);
    auto b = MakeRecord(2, "B", 11, 1, 21, 2, 0, 0, 0, 5);
    std::string image = MakeRegionImage(4, {a, b});
    image[2100] = 1;   // b is present but not counted
    WriteFile(path(), image);
    EXPECT_EQ(ModifyPlacementInFile(path(), KeyOf(b.block), [](const PlacementRecord& r) { return r; }).outcome,
              RegionOutcome::NotFound);
    ASSERT_TRUE(RemovePlacementFromFile(path(), KeyOf(b.block)).ok());
    std::string expected = MakeRegionImage(4, {a});
    expected[2100] = 0;   // the count drops by one from what the header said
    EXPECT_EQ(ReadFile(path()), expected);
}

TEST_F(RegionFileTest, RemovingAnUncountedRecordNeverWrapsTheCount) {
    auto a = MakeRecord(1, "A", 10, 1, 20, 2, 0, 0, 0, 5);
    std::string image = MakeRegionImage(4, {a});
    image[2100] = 0;   // another program zeroed the count; the record is still there
    WriteFile(path(), image);
    ASSERT_TRUE(RemovePlacementFromFile(path(), KeyOf(a.block)).ok());
    std::string after = ReadFile(path());
    ASSERT_EQ(after.size(), 2112u);
    EXPECT_EQ(HeaderPlacementCount(HeaderFromImage(after)), 0);
}

TEST_F(RegionFileTest, MissingOrSpecialFilesAreOpenFailures) {
    EXPECT_EQ(AppendPlacementToFile(dir / "none_S.DAT", {}).outcome, RegionOutcome::OpenFailed);
#ifdef _WIN32
    GTEST_SKIP() << "no FIFOs on Windows";
#else
    std::string fifo = dir / "fifo_S.DAT";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    std::vector<PlacementRecord> out;
    EXPECT_FALSE(ReadRegionPlacements(fifo, out));   // must not block
    EXPECT_EQ(RemovePlacementFromFile(fifo, {}).outcome, RegionOutcome::OpenFailed);
#endif
}

TEST_F(RegionFileTest, FailedWriteLeavesTheFileByteIdentical) {
    auto a = MakeRecord(1, "A", 10, 1, 20, 2, 0, 0, 0, 5);
    auto b = MakeRecord(2, "B", 11, 1, 21, 2, 0, 0, 0, 5);
    std::string before = MakeRegionImage(4, {a, b});
    WriteFile(path(), before);
#ifndef _WIN32
    chmod(path().c_str(), 0640);
#endif

    using Op = std::function<RegionResult()>;
    std::vector<std::pair<const char*, Op>> ops = {
        {"append", [&] { return AppendPlacementToFile(path(), a); }},
        {"modify", [&] { return ModifyPlacementInFile(path(), KeyOf(a.block), [&](const PlacementRecord&) {
             return MakeRecord(1, "A", 10, 1, 20, 2, 0, 0, 0, 0, std::string(90, 'z'));
         }); }},
        {"remove", [&] { return RemovePlacementFromFile(path(), KeyOf(b.block)); }},
    };
    for (auto& [name, op] : ops) {
        for (long failAfter : {0L, 100L, 2150L}) {
            FailNextReplaceAfterBytesForTesting(failAfter);
            RegionResult result = op();
            EXPECT_EQ(result.outcome, RegionOutcome::WriteFailed) << name << " " << failAfter;
            EXPECT_FALSE(result.error.empty());
            EXPECT_EQ(ReadFile(path()), before) << name;
        }
    }
    // No temporary files are left behind, and a successful write keeps the permissions.
    ASSERT_TRUE(RemovePlacementFromFile(path(), KeyOf(b.block)).ok());
#ifndef _WIN32
    struct stat st{};
    ASSERT_EQ(stat(path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(morvi::FsPath(dir / "maps/m"))) (void)e, ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(RegionFileTest, ReplacingThroughASymlinkKeepsTheLink) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX symlinks";
#else
    std::string target = dir / "real_S.DAT";
    WriteFile(target, MakeRegionImage(4, {}));
    std::filesystem::create_directories(dir / "maps/m");
    std::filesystem::create_symlink(target, path());
    ASSERT_TRUE(AppendPlacementToFile(path(), MakeRecord(1, "A", 1, 1, 1, 1, 0, 0, 0, 0)).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(path()));
    EXPECT_EQ(ReadFile(target).size(), 2173u);
#endif
}

// Random records and random operation sequences against a simple model of the file.
TEST_F(RegionFileTest, RandomOperationsKeepForeignBytesAndTheInvariant) {
    std::mt19937 rng(20261207);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
    auto randomRecord = [&]() {
        std::string script;
        if (pick(3) == 0) {
            script = "\\";
            int length = 25 + pick(231);
            while (static_cast<int>(script.size()) < length) script += static_cast<char>(1 + pick(255));
        }
        // Few distinct keys, so duplicates occur.
        auto r = MakeRecord(1 + pick(3), std::string(static_cast<size_t>(pick(34)), 'n'), pick(3), pick(2),
                            pick(3), pick(2), pick(6), pick(7), pick(5), pick(25), script);
        for (int i : {2, 3, 7, 11, 12, 13, 14, 15, 51, 52, 53, 55, 59}) r.block.Bytes()[i] = static_cast<uint8_t>(rng());
        if (!r.block.HasScript()) r.block.variable = static_cast<uint8_t>(rng());
        return r;
    };

    int files = 0, operations = 0, recordsChecked = 0;
    for (int round = 0; round < 60; ++round, ++files) {
        std::vector<PlacementRecord> model;
        for (int i = pick(6); i > 0; --i) model.push_back(randomRecord());
        std::string original = MakeRegionImage(static_cast<uint32_t>(round), model);
        WriteFile(path(), original);

        for (int step = 0; step < 40; ++step, ++operations) {
            int op = pick(3);
            if (op == 0) {
                auto r = randomRecord();
                ASSERT_TRUE(AppendPlacementToFile(path(), r).ok());
                model.push_back(r);
            } else {
                PlacementKey key = model.empty() || pick(5) == 0
                                       ? PlacementKey{1 + pick(3), pick(3), pick(3), pick(2), pick(2)}
                                       : KeyOf(model[static_cast<size_t>(pick(static_cast<int>(model.size())))].block);
                auto it = std::find_if(model.begin(), model.end(),
                                       [&](const PlacementRecord& r) { return key.Matches(r.block); });
                if (op == 1) {
                    auto fresh = randomRecord();
                    fresh.block.SetTemplateIndex(static_cast<uint16_t>(key.templateIndex));
                    RegionResult res = ModifyPlacementInFile(path(), key, [&](const PlacementRecord& old) {
                        EXPECT_EQ(Bytes(old), Bytes(*it));
                        return fresh;
                    });
                    ASSERT_EQ(res.outcome, it == model.end() ? RegionOutcome::NotFound : RegionOutcome::Done);
                    if (it != model.end()) *it = fresh;
                } else {
                    RegionResult res = RemovePlacementFromFile(path(), key);
                    ASSERT_EQ(res.outcome, it == model.end() ? RegionOutcome::NotFound : RegionOutcome::Done);
                    if (it != model.end()) model.erase(it);
                }
            }
            std::string image = ReadFile(path());
            ASSERT_EQ(image.compare(0, 2100, original, 0, 2100), 0);
            ASSERT_EQ(image.compare(2102, 10, original, 2102, 10), 0);
            ASSERT_EQ(HeaderPlacementCount(HeaderFromImage(image)), model.size());
            ASSERT_TRUE(Consistent(image));
            std::vector<PlacementRecord> read;
            ASSERT_TRUE(ReadRegionPlacements(path(), read));
            ASSERT_EQ(read.size(), model.size());
            for (size_t i = 0; i < read.size(); ++i, ++recordsChecked) ASSERT_EQ(Bytes(read[i]), Bytes(model[i]));
        }
    }
    RecordProperty("files", files);
    RecordProperty("operations", operations);
    RecordProperty("records_checked", recordsChecked);
    std::printf("[ property ] %d files, %d operations, %d records compared\n", files, operations, recordsChecked);
}

}  // namespace
}  // namespace morvi
