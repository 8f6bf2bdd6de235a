// The change history: splices, the journal, the journaled write, undo, redo and restore.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <random>

#include "ChangeHistoryTestSupport.h"
#include "TestFiles.h"
#include "TreeGenerator.h"
#include "data/history/ChangeHistoryPlatform.h"
#include "data/history/ChangeHistorySteps.h"

namespace morvi {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(ChangeHistorySpliceTest, DiffsApplyBothWaysAndRefuseOtherBytes) {
    const std::string base(3000, 'a');
    struct Case {
        const char* name;
        std::string before, after;
    };
    std::string changedHeadAndCut = base;
    changedHeadAndCut[2100] = 'b';
    changedHeadAndCut.erase(2500, 61);
    std::string grownInMiddle = base;
    grownInMiddle.insert(1000, "xyz");
    std::string twoRuns = base;
    twoRuns[10] = 'q';
    twoRuns[2000] = 'r';
    const Case cases[] = {
        {"identical", base, base},
        {"empty to something", "", "abc"},
        {"something to empty", "abc", ""},
        {"count changed and record cut", base, changedHeadAndCut},
        {"grown in the middle", base, grownInMiddle},
        {"two distant runs", base, twoRuns},
        {"appended", base, base + "tail"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Splice> splices = DiffImages(c.before, c.after);
        std::string image = c.before;
        ASSERT_TRUE(ApplySplicesForward(image, splices));
        EXPECT_EQ(image, c.after);
        ASSERT_TRUE(ApplySplicesBackward(image, splices));
        EXPECT_EQ(image, c.before);
        size_t stored = 0;
        for (const Splice& s : splices) stored += s.before.size() + s.after.size();
        EXPECT_LE(stored, 100u);
    }
    std::string other = base;
    other[2100] = 'z';
    const std::vector<Splice> splices = DiffImages(base, changedHeadAndCut);
    std::string image = other;
    EXPECT_FALSE(ApplySplicesForward(image, splices));
    EXPECT_EQ(image, other);
    std::string hex;
    EXPECT_TRUE(FromHex(ToHex(std::string("\0\xff\x10", 3)), hex));
    EXPECT_EQ(hex, std::string("\0\xff\x10", 3));
    EXPECT_FALSE(FromHex("abc", hex));
    EXPECT_FALSE(FromHex("zz", hex));
}

class ChangeHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        server = dir / "server";
        file = server + "/maps/town/r1_S.DAT";
        std::vector<PlacementRecord> records;
        for (int i = 0; i < 5; ++i) records.push_back(test::RandomRecord(rng));
        WriteFile(file, tools::MakeRegionImage(7, records));
    }
    // One random change of the file, written through the history.
    StepResult Change(ChangeHistory& history, std::string* operation = nullptr) {
        FileChange change{file, {}, ReadFile(file), {}, {}};
        std::string op;
        test::RandomRecordChange(rng, change, op);
        if (operation) *operation = op;
        return WriteJournaledStep(history, {"command line", op, "town", 0}, {change});
    }

    TempDir dir;
    std::string server, file;
    std::mt19937 rng{42};
};

TEST_F(ChangeHistoryTest, AnEntryIsDurableBeforeTheFileChangesAndSaysWhatChanged) {
    ChangeHistory history(server, dir / "state/history/tree");
    const std::string before = ReadFile(file);
    std::string op;
    const StepResult result = Change(history, &op);
    ASSERT_TRUE(result.AllWritten()) << result.FirstReason();
    const std::vector<JournalEntry> entries = history.ReadAll();
    ASSERT_EQ(entries.size(), 1u);
    const JournalEntry& e = entries[0];
    EXPECT_EQ(e.id, 1);
    EXPECT_EQ(e.step, 1);
    EXPECT_EQ(e.file, "maps/town/r1_S.DAT");
    EXPECT_EQ(e.operation, op);
    EXPECT_EQ(e.program, "command line");
    EXPECT_EQ(e.map, "town");
    EXPECT_EQ(e.user, CurrentUserName());
    EXPECT_EQ(e.sizeBefore, before.size());
    EXPECT_EQ(e.written, "replace");
    EXPECT_EQ(e.records.size(), 1u);
    std::string image = before;
    ASSERT_TRUE(ReplayEntry(e, image));
    EXPECT_EQ(image, ReadFile(file));
#ifndef _WIN32
    // The journal holds record bytes of the server: only its user reads it.
    struct stat st{};
    ASSERT_EQ(::stat(history.Directory().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
#endif
}

TEST_F(ChangeHistoryTest, NothingIsWrittenWhenTheHistoryCannotTakeTheEntry) {
    WriteFile(dir / "blocked", "a file where the history directory should be");
    const std::string before = ReadFile(file);
    struct Case {
        const char* name;
        std::string directory;
    };
    const Case cases[] = {
        {"a file in the way", dir / "blocked/history"},
        {"below the map tree", server + "/maps/history"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChangeHistory history(server, c.directory);
        const StepResult result = Change(history);
        ASSERT_EQ(result.files.size(), 1u);
        EXPECT_EQ(result.files[0].status, FileWriteStatus::HistoryFailed);
        EXPECT_NE(result.FirstReason().find(c.directory), std::string::npos) << result.FirstReason();
        EXPECT_EQ(ReadFile(file), before);
    }
}

#ifndef _WIN32
TEST_F(ChangeHistoryTest, TheStateDirectoryFollowsXdgStateHome) {
    const char* old = std::getenv("XDG_STATE_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_STATE_HOME", (dir / "xdg").c_str(), 1);
    ChangeHistory history(server);
    EXPECT_EQ(history.Directory(), dir / "xdg/MorviNpc/history/" + HistoryDirectoryName(server));
    EXPECT_NE(HistoryDirectoryName(server), HistoryDirectoryName(dir / "other/server"));
    ::setenv("XDG_STATE_HOME", "relative/path", 1);
    EXPECT_EQ(HistoryRootDirectory().rfind("/", 0), 0u);
    if (old) ::setenv("XDG_STATE_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_STATE_HOME");
}
#else
TEST_F(ChangeHistoryTest, TheStateDirectoryIsBelowLocalAppData) {
    const std::string root = HistoryRootDirectory();
    ASSERT_GT(root.size(), 20u);
    EXPECT_EQ(root.substr(root.size() - 17), "\\MorviNpc\\history");
    EXPECT_NE(HistoryDirectoryName(server), HistoryDirectoryName(dir / "other/server"));
}
#endif

TEST_F(ChangeHistoryTest, UndoRedoAndARefusedUndoAfterAnOutsideChange) {
    ChangeHistory history(server, dir / "history");
    const std::string original = ReadFile(file);
    const StepResult first = Change(history);
    const std::string afterFirst = ReadFile(file);
    ASSERT_TRUE(first.AllWritten());

    const RevertResult undo = RevertStep(history, first.step, "window");
    ASSERT_TRUE(undo.ok) << undo.reason;
    EXPECT_EQ(ReadFile(file), original);
    const RevertResult redo = RevertStep(history, undo.written.step, "window");
    ASSERT_TRUE(redo.ok) << redo.reason;
    EXPECT_EQ(ReadFile(file), afterFirst);
    const std::vector<JournalEntry> entries = history.ReadAll();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].operation, "undo");
    EXPECT_EQ(entries[1].reverts, first.step);
    EXPECT_EQ(entries[2].operation, "redo");
    EXPECT_EQ(LastUndoableStep(entries), redo.written.step);

    // Another program writes the file: undo must not overwrite that.
    std::string outside = ReadFile(file);
    outside[5] ^= 1;
    WriteFile(file, outside);
    const RevertResult refused = RevertStep(history, redo.written.step, "window");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.reason.find("changed since"), std::string::npos) << refused.reason;
    EXPECT_EQ(ReadFile(file), outside);
    EXPECT_EQ(history.ReadAll().size(), 3u);
}

TEST_F(ChangeHistoryTest, RestoreRefusesToLoseLaterChangesUnlessForced) {
    ChangeHistory history(server, dir / "history");
    const std::string original = ReadFile(file);
    const StepResult first = Change(history);
    Change(history);
    Change(history);
    const std::string latest = ReadFile(file);
    const RevertResult refused = RestoreBeforeEntry(history, first.files[0].entry, false, "command line");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.reason.find("2 later changes"), std::string::npos) << refused.reason;
    EXPECT_EQ(ReadFile(file), latest);
    const RevertResult forced = RestoreBeforeEntry(history, first.files[0].entry, true, "command line");
    ASSERT_TRUE(forced.ok) << forced.reason;
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(history.ReadAll().back().operation, "restore");
    EXPECT_FALSE(RestoreBeforeEntry(history, 999, true, "command line").ok);
}

TEST_F(ChangeHistoryTest, PruningDropsOldStepsWholeAndKeepsIdsGrowing) {
    ChangeHistory history(server, dir / "history");
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(Change(history).AllWritten());
    HistoryLimits limits;
    limits.maxAgeSeconds = 100;
    history.SetLimits(limits);
    ASSERT_TRUE(history.Prune(CurrentEpochSeconds() + 1000, nullptr));
    EXPECT_TRUE(history.ReadAll().empty());
    ChangeHistory again(server, dir / "history");
    ASSERT_TRUE(Change(again).AllWritten());
    ASSERT_EQ(again.ReadAll().size(), 1u);
    EXPECT_EQ(again.ReadAll()[0].id, 5);

    limits = {};
    limits.maxBytes = 1;   // beyond the size limit everything but nothing newer goes
    again.SetLimits(limits);
    ASSERT_TRUE(again.Prune(CurrentEpochSeconds(), nullptr));
    EXPECT_TRUE(again.ReadAll().empty());
}

TEST_F(ChangeHistoryTest, AFileChangedWhileTheStepWasMadeIsNotOverwritten) {
    ChangeHistory history(server, dir / "history");
    FileChange change{file, {}, ReadFile(file), {}, {}};
    std::string op;
    test::RandomRecordChange(rng, change, op);
    WriteFile(file, change.before + "x");
    const StepResult result = WriteJournaledStep(history, {"window", op, "town", 0}, {change});
    EXPECT_EQ(result.files[0].status, FileWriteStatus::ChangedMeanwhile);
    EXPECT_EQ(ReadFile(file), change.before + "x");
    EXPECT_TRUE(history.ReadAll().empty());
}

}  // namespace
}  // namespace morvi
