// Random sequences of adds, changes, deletes (one file or several in one step), undos, redos
// and outside writes on generated region files, checked against a model after every step:
// every undo gives back the exact earlier bytes, a refused undo leaves every file as it was,
// and the journal replays from the first images to the files as they end.

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <random>

#include "ChangeHistoryTestSupport.h"
#include "TestFiles.h"
#include "TreeGenerator.h"
#include "data/history/ChangeHistorySteps.h"

namespace morvi {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using Images = std::map<std::string, std::string>;   // relative path -> bytes

struct ModelStep {
    int64_t step;
    Images before, after;   // of the files the step wrote
};

struct OutsideWrite {
    int64_t afterEntry;   // the last journal id when it happened
    std::string file;
    std::string image;
};

TEST(ChangeHistoryPropertyTest, RandomSequencesMatchTheModelAndReplay) {
    constexpr int kSequences = 24;
    constexpr int kStepsPerSequence = 60;
    int steps = 0, files = 0, undone = 0, refused = 0, redone = 0, outside = 0;
    for (int sequence = 0; sequence < kSequences; ++sequence) {
        SCOPED_TRACE("sequence " + std::to_string(sequence));
        std::mt19937 rng(1000 + static_cast<unsigned>(sequence));
        TempDir dir;
        const std::string server = dir / "server";
        ChangeHistory history(server, dir / "history");
        Images model;
        const int fileCount = 1 + sequence % 3;
        for (int f = 0; f < fileCount; ++f) {
            std::vector<PlacementRecord> records;
            for (int i = 0; i < static_cast<int>(rng() % 6); ++i) records.push_back(test::RandomRecord(rng));
            const std::string relative = "maps/m/r" + std::to_string(f) + "_S.DAT";
            model[relative] = tools::MakeRegionImage(rng(), records);
            WriteFile(history.FullPath(relative), model[relative]);
        }
        files += fileCount;
        const Images initial = model;
        std::vector<ModelStep> undoStack, redoStack;
        std::vector<OutsideWrite> outsideWrites;
        int64_t lastEntry = 0;

        auto revert = [&](std::vector<ModelStep>& from, std::vector<ModelStep>& to, int& count) {
            const ModelStep top = from.back();
            from.pop_back();
            bool allowed = true;
            for (const auto& [file, image] : top.after) allowed = allowed && model.at(file) == image;
            const RevertResult r = RevertStep(history, top.step, "window");
            ASSERT_EQ(r.ok, allowed) << r.reason;
            if (!allowed) {
                ++refused;
                return;
            }
            ++count;
            for (const auto& [file, image] : top.before) model[file] = image;
            to.push_back({r.written.step, top.after, top.before});
            for (const FileWriteResult& f : r.written.files) lastEntry = std::max(lastEntry, f.entry);
        };

        for (int s = 0; s < kStepsPerSequence; ++s, ++steps) {
            const int dice = static_cast<int>(rng() % 100);
            if (dice < 25 && !undoStack.empty()) {
                revert(undoStack, redoStack, undone);
            } else if (dice < 40 && !redoStack.empty()) {
                revert(redoStack, undoStack, redone);
            } else if (dice < 45) {
                // Another program writes one file behind the history's back.
                auto it = std::next(model.begin(), static_cast<long>(rng() % model.size()));
                it->second[rng() % it->second.size()] ^= 0x40;
                WriteFile(history.FullPath(it->first), it->second);
                outsideWrites.push_back({lastEntry, it->first, it->second});
                ++outside;
            } else {
                // One user action: a change of one file, or of several files as one step.
                const int touched = dice < 55 ? static_cast<int>(model.size()) : 1;
                std::vector<FileChange> changes;
                ModelStep made;
                auto it = std::next(model.begin(), static_cast<long>(rng() % model.size()));
                for (int t = 0; t < touched; ++t, ++it) {
                    if (it == model.end()) it = model.begin();
                    FileChange change{history.FullPath(it->first), it->first, it->second, {}, {}};
                    std::string op;
                    test::RandomRecordChange(rng, change, op);
                    made.before[it->first] = change.before;
                    made.after[it->first] = change.after;
                    changes.push_back(std::move(change));
                }
                const StepResult result = WriteJournaledStep(history, {"window", "modify", "m", 0}, changes);
                ASSERT_TRUE(result.AllWritten()) << result.FirstReason();
                for (const auto& [file, image] : made.after) model[file] = image;
                for (const FileWriteResult& f : result.files) lastEntry = std::max(lastEntry, f.entry);
                made.step = result.step;
                undoStack.push_back(std::move(made));
                redoStack.clear();
            }
            for (const auto& [file, image] : model)
                ASSERT_EQ(ReadFile(history.FullPath(file)), image) << file << " after step " << s;
        }

        // Replaying the journal from the first images, with the outside writes where they came.
        Images replayed = initial;
        size_t nextOutside = 0;
        for (const JournalEntry& e : history.ReadAll()) {
            while (nextOutside < outsideWrites.size() && outsideWrites[nextOutside].afterEntry < e.id) {
                replayed[outsideWrites[nextOutside].file] = outsideWrites[nextOutside].image;
                ++nextOutside;
            }
            ASSERT_TRUE(ReplayEntry(e, replayed[e.file])) << "entry " << e.id;
        }
        for (; nextOutside < outsideWrites.size(); ++nextOutside)
            replayed[outsideWrites[nextOutside].file] = outsideWrites[nextOutside].image;
        EXPECT_EQ(replayed, model);
    }
    std::cout << "[ figures  ] " << kSequences << " sequences, " << steps << " steps, " << files
              << " files; " << undone << " undos, " << redone << " redos, " << refused
              << " refused undos/redos, " << outside << " outside writes\n";
    EXPECT_GT(refused, 0);
    EXPECT_GT(redone, 0);
}

// 1,000 single-record changes of a 700 KB region file must cost the history less than 50 MB
// (full copies would take 700 MB). The suite runs a quarter of them, each flushed to disk
// twice, against a quarter of the bound; the journal grows linearly with the changes.
TEST(ChangeHistoryPropertyTest, AThousandChangesOfA700KbFileStaySmall) {
    constexpr int kChanges = 250;
    TempDir dir;
    std::mt19937 rng(7);
    std::vector<PlacementRecord> records;
    size_t bytes = kFirstRecordOffset;
    while (bytes < 700 * 1024) {
        records.push_back(test::RandomRecord(rng));
        bytes += PlacementLength(records.back().block);
    }
    const std::string server = dir / "server";
    const std::string relative = "maps/big/r_S.DAT";
    ChangeHistory history(server, dir / "history");
    WriteFile(history.FullPath(relative), tools::MakeRegionImage(3, records));
    for (int i = 0; i < kChanges; ++i) {
        FileChange change{history.FullPath(relative), relative, ReadFile(history.FullPath(relative)), {}, {}};
        std::string op;
        test::RandomRecordChange(rng, change, op);
        ASSERT_TRUE(WriteJournaledStep(history, {"command line", op, "big", 0}, {change}).AllWritten());
    }
    const size_t journal = ReadFile(history.JournalPath()).size();
    std::cout << "[ figures  ] " << kChanges << " single-record changes of a " << bytes << "-byte file: journal "
              << journal << " bytes\n";
    EXPECT_LT(journal, 50u * 1000 * 1000 * kChanges / 1000);
}

}  // namespace
}  // namespace morvi
