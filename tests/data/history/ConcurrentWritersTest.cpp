// Writers of one region file in several processes at once, the writer lock, and a history that
// lists only what was written.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <filesystem>
#include <set>
#include <thread>

#include "ChangeHistoryTestSupport.h"
#include "TestFiles.h"
#include "TreeGenerator.h"
#include "data/history/ChangeHistoryPlatform.h"
#include "data/history/ChangeHistorySteps.h"
#include "data/platform/AtomicFile.h"
#include "data/platform/FileLock.h"
#include "data/region/RegionFile.h"
#include "data/region/RegionImageEdit.h"

namespace morvi {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

PlacementRecord Numbered(int templateIndex, int x) {
    return tools::MakeRecord(templateIndex, "npc", x, 1, 10, 2, 0, 0, 0, 0, "");
}

// An add as every front end makes it: appended to the file as it is under the lock.
FileChange AddChange(const std::string& path, const PlacementRecord& record) {
    FileChange change;
    change.path = path;
    change.edit = [record](const std::string& current, std::string& after, std::vector<RecordChange>& records) {
        RegionImageEdit image(current);
        const RegionEditResult done = image.Append(record);
        if (!done.ok()) return FileEditOutcome{false, "append refused"};
        after = image.Image();
        std::string bytes;
        AppendPlacementBytes(bytes, done.record.block, done.record.script);
        records.push_back({{}, {}, bytes});
        return FileEditOutcome{};
    };
    return change;
}

// A modify of the record with `key`, found in the file as it is under the lock.
FileChange MoveChange(const std::string& path, const PlacementKey& key, int newX) {
    FileChange change;
    change.path = path;
    change.edit = [key, newX](const std::string& current, std::string& after, std::vector<RecordChange>& records) {
        RegionImageEdit image(current);
        const RegionEditResult done = image.Modify(key, [&](const PlacementRecord& old) {
            PlacementRecord moved = old;
            moved.block.SetPosX(static_cast<uint16_t>(newX));
            return moved;
        });
        if (!done.ok()) return FileEditOutcome{false, "no such record"};
        after = image.Image();
        records.push_back({key, {}, {}});
        return FileEditOutcome{};
    };
    return change;
}

std::vector<PlacementRecord> Records(const std::string& path) {
    std::vector<PlacementRecord> out;
    EXPECT_TRUE(ReadRegionPlacements(path, out));
    return out;
}

class ConcurrentWritersTest : public ::testing::Test {
protected:
    void SetUp() override {
        server = dir / "server";
        file = server + "/maps/town/r1_S.DAT";
        historyDir = dir / "state/history/tree";
    }
    // Runs `work(i)` in `n` child processes at once; each exits with the number of its
    // operations that did not report done.
    std::vector<int> InChildren(int n, const std::function<int(int)>& work) {
        std::vector<pid_t> children;
        for (int i = 0; i < n; ++i) {
            const pid_t pid = ::fork();
            if (pid == 0) ::_exit(work(i));
            children.push_back(pid);
        }
        std::vector<int> failures;
        for (pid_t pid : children) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            failures.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : 255);
        }
        return failures;
    }

    TempDir dir;
    std::string server, file, historyDir;
};

TEST_F(ConcurrentWritersTest, FourProcessesAddingToOneFileLoseNothing) {
    WriteFile(file, tools::MakeRegionImage(3, {Numbered(1, 1)}));
    constexpr int kProcesses = 4, kAdds = 50;
    const std::vector<int> failures = InChildren(kProcesses, [&](int process) {
        ChangeHistory history(server, historyDir);
        int failed = 0;
        for (int i = 0; i < kAdds; ++i) {
            const StepResult step = WriteJournaledStep(history, {"command line", "add", "town", 0},
                                                       {AddChange(file, Numbered(100 + process, i))});
            if (step.WrittenCount() != 1) ++failed;
        }
        return failed;
    });
    EXPECT_EQ(failures, std::vector<int>(kProcesses, 0));

    const std::vector<PlacementRecord> records = Records(file);
    ASSERT_EQ(records.size(), 1u + kProcesses * kAdds);
    for (int process = 0; process < kProcesses; ++process) {
        // Each process's adds are all there, in the order it made them.
        std::vector<int> xs;
        for (const PlacementRecord& r : records)
            if (r.block.TemplateIndex() == 100 + process) xs.push_back(r.block.PosX());
        std::vector<int> expected(kAdds);
        for (int i = 0; i < kAdds; ++i) expected[static_cast<size_t>(i)] = i;
        EXPECT_EQ(xs, expected) << "process " << process;
    }
    // One entry per add, ids unique and rising, and the entries replay the file from its start.
    const std::vector<JournalEntry> entries = ChangeHistory(server, historyDir).ReadAll();
    ASSERT_EQ(entries.size(), static_cast<size_t>(kProcesses * kAdds));
    std::string image = tools::MakeRegionImage(3, {Numbered(1, 1)});
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) EXPECT_LT(entries[i - 1].id, entries[i].id);
        ASSERT_TRUE(ReplayEntry(entries[i], image)) << "entry " << entries[i].id;
    }
    EXPECT_EQ(image, ReadFile(file));
    // No lock file outlives its writer.
    EXPECT_FALSE(fs::exists(RegionLockPath(file)));
}

TEST_F(ConcurrentWritersTest, ProcessesModifyingTheirOwnRowsOfOneFileKeepEveryModify) {
    constexpr int kProcesses = 4, kRows = 15;
    std::vector<PlacementRecord> start;
    for (int process = 0; process < kProcesses; ++process)
        for (int row = 0; row < kRows; ++row) start.push_back(Numbered(10 + process, row));
    WriteFile(file, tools::MakeRegionImage(3, start));
    const std::vector<int> failures = InChildren(kProcesses, [&](int process) {
        ChangeHistory history(server, historyDir);
        int failed = 0;
        for (int row = 0; row < kRows; ++row) {
            const PlacementKey key{10 + process, row, 10, 1, 2};
            const StepResult step = WriteJournaledStep(history, {"command line", "modify", "town", 0},
                                                       {MoveChange(file, key, 500 + row)});
            if (step.WrittenCount() != 1) ++failed;
        }
        return failed;
    });
    EXPECT_EQ(failures, std::vector<int>(kProcesses, 0));
    const std::vector<PlacementRecord> records = Records(file);
    ASSERT_EQ(records.size(), start.size());
    for (const PlacementRecord& r : records) EXPECT_GE(r.block.PosX(), 500) << "a modify was lost";
}

TEST_F(ConcurrentWritersTest, AWriterWaitsForTheLockAndGivesUpWithoutWritingWhenItIsKept) {
    WriteFile(file, tools::MakeRegionImage(3, {Numbered(1, 1)}));
    ChangeHistory history(server, historyDir);
    {
        // Another writer holds the file for longer than this one waits.
        RegionWriteLock other(file, 1000);
        ASSERT_TRUE(other.Held());
        StepOptions options;
        options.lockWaitMilliseconds = 50;
        const std::string before = ReadFile(file);
        const StepResult step =
            WriteJournaledStep(history, {"window", "add", "town", 0}, {AddChange(file, Numbered(2, 2))}, options);
        ASSERT_EQ(step.files.size(), 1u);
        EXPECT_EQ(step.files[0].status, FileWriteStatus::LockFailed);
        EXPECT_NE(step.files[0].reason.find("nothing was written"), std::string::npos) << step.files[0].reason;
        EXPECT_EQ(ReadFile(file), before);
        EXPECT_TRUE(history.ReadAll().empty());
    }
    // A lock let go within the wait: the writer waits and then writes.
    std::optional<RegionWriteLock> brief(std::in_place, file, 1000);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        brief.reset();
    });
    const StepResult step = WriteJournaledStep(history, {"window", "add", "town", 0}, {AddChange(file, Numbered(2, 2))});
    release.join();
    EXPECT_EQ(step.WrittenCount(), 1);
    EXPECT_EQ(Records(file).size(), 2u);
}

TEST_F(ConcurrentWritersTest, AnEditRefusedByTheFileAsItIsNowWritesAndRecordsNothing) {
    WriteFile(file, tools::MakeRegionImage(3, {Numbered(1, 1)}));
    const std::string before = ReadFile(file);
    ChangeHistory history(server, historyDir);
    const StepResult step = WriteJournaledStep(history, {"window", "modify", "town", 0},
                                               {MoveChange(file, PlacementKey{9, 9, 9, 9, 9}, 3)});
    EXPECT_EQ(step.files[0].status, FileWriteStatus::Refused);
    EXPECT_EQ(step.files[0].reason, "no such record");
    EXPECT_EQ(step.step, 0);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_TRUE(history.ReadAll().empty());
}

TEST_F(ConcurrentWritersTest, AJournalLineWhoseFlushFailedIsNotListedAndTheFileIsUntouched) {
    WriteFile(file, tools::MakeRegionImage(3, {Numbered(1, 1)}));
    ChangeHistory history(server, historyDir);
    // One change recorded and written first, so the journal has a line to keep.
    ASSERT_EQ(WriteJournaledStep(history, {"window", "add", "town", 0}, {AddChange(file, Numbered(2, 2))})
                  .WrittenCount(),
              1);
    const std::string before = ReadFile(file);
    const std::string journal = ReadFile(history.JournalPath());

    FailNextAppendFlushForTesting();
    const StepResult step =
        WriteJournaledStep(history, {"window", "add", "town", 0}, {AddChange(file, Numbered(3, 3))});
    EXPECT_EQ(step.files[0].status, FileWriteStatus::HistoryFailed);
    EXPECT_NE(step.files[0].reason.find("nothing was written"), std::string::npos);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(ReadFile(history.JournalPath()), journal);
    EXPECT_EQ(history.ReadAll().size(), 1u);

    // The next change gets the next id after the one that was taken back.
    ASSERT_EQ(WriteJournaledStep(history, {"window", "add", "town", 0}, {AddChange(file, Numbered(4, 4))})
                  .WrittenCount(),
              1);
    const std::vector<JournalEntry> entries = history.ReadAll();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].id, entries[0].id + 1);
}

TEST_F(ConcurrentWritersTest, AFailedWriteVoidsItsEntrySoTheHistoryListsOnlyWhatWasWritten) {
    WriteFile(file, tools::MakeRegionImage(3, {Numbered(1, 1)}));
    ChangeHistory history(server, historyDir);
    const StepResult first =
        WriteJournaledStep(history, {"window", "add", "town", 0}, {AddChange(file, Numbered(2, 2))});
    ASSERT_EQ(first.WrittenCount(), 1);
    const std::string before = ReadFile(file);
    // The replacement fails at its point of no return, after the entry was made durable.
    FailNextCommitForTesting();
    const StepResult step =
        WriteJournaledStep(history, {"window", "add", "town", 0}, {AddChange(file, Numbered(3, 3))});
    EXPECT_EQ(step.files[0].status, FileWriteStatus::WriteFailed);
    EXPECT_EQ(step.step, 0);
    EXPECT_EQ(ReadFile(file), before);
    ASSERT_EQ(history.ReadAll().size(), 1u);
    EXPECT_EQ(LastUndoableStep(history.ReadAll()), first.step);
}

}  // namespace
}  // namespace morvi
