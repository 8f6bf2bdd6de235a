#include "data/history/ChangeHistorySteps.h"

#include <algorithm>
#include <map>

#include "data/platform/FileLock.h"
#include "data/platform/FileReadAhead.h"
#include "data/history/Sha256.h"

namespace morvi {
namespace {

bool Holds(const std::string& image, uint64_t size, const std::string& sha) {
    return image.size() == size && Sha256Hex(image) == sha;
}

std::string Plural(size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// The images a file of a step goes back to, newest entry first; false when the file no
// longer holds what the newest of them wrote, or an entry does not apply.
bool TakeBack(const std::vector<const JournalEntry*>& chain, std::string& image, std::string* reason,
              const std::string& path) {
    if (chain.empty()) return true;
    const JournalEntry& newest = *chain.back();
    if (!Holds(image, newest.sizeAfter, newest.sha256After)) {
        if (reason)
            *reason = path + " was changed since change " + std::to_string(newest.id) +
                      " wrote it (by another program?); it no longer holds the bytes that change wrote";
        return false;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const JournalEntry& e = **it;
        if (!Holds(image, e.sizeAfter, e.sha256After) || !ApplySplicesBackward(image, e.splices) ||
            !Holds(image, e.sizeBefore, e.sha256Before)) {
            if (reason) *reason = "the history of " + path + " does not lead back from change " + std::to_string(e.id);
            return false;
        }
    }
    return true;
}

std::vector<RecordChange> Reversed(const std::vector<RecordChange>& records) {
    std::vector<RecordChange> out;
    for (auto it = records.rbegin(); it != records.rend(); ++it) out.push_back({it->key, it->after, it->before});
    return out;
}

}  // namespace

bool StepResult::AllWritten() const {
    return std::all_of(files.begin(), files.end(), [](const FileWriteResult& f) {
        return f.status == FileWriteStatus::Written || f.status == FileWriteStatus::Unchanged;
    });
}

int StepResult::WrittenCount() const {
    return static_cast<int>(std::count_if(files.begin(), files.end(),
                                          [](const FileWriteResult& f) { return f.status == FileWriteStatus::Written; }));
}

std::string StepResult::FirstReason() const {
    for (const FileWriteResult& f : files)
        if (!f.reason.empty()) return f.reason;
    return {};
}

namespace {

bool Failed(const FileWriteResult& file) {
    return file.status != FileWriteStatus::Written && file.status != FileWriteStatus::Unchanged;
}

// One file of a step, under its writer lock: the edit applied to the file as it is now, the
// entry made durable, the file replaced. `historyFailed` is set when the history refused.
void WriteOneFile(ChangeHistory& history, const StepInfo& info, const FileChange& change, const StepOptions& options,
                  int64_t step, FileWriteResult& out, bool& historyFailed) {
    const std::string relative = change.relativePath.empty() ? history.RelativePath(change.path) : change.relativePath;
    if (relative.empty()) {
        out.status = FileWriteStatus::HistoryFailed;
        out.reason = change.path + " lies outside the server directory " + history.ServerPath() +
                     "; nothing was written to it";
        return;
    }
    const RegionWriteLock lock(change.path, options.lockWaitMilliseconds);
    if (!lock.Held()) {
        out.status = FileWriteStatus::LockFailed;
        out.reason = lock.Error() + "; nothing was written to " + change.path;
        return;
    }
    std::string before;
    if (!ReadRegularFile(change.path, before)) {
        out.status = FileWriteStatus::Unreadable;
        out.reason = "cannot read " + change.path + "; nothing was written to it";
        return;
    }
    std::string after;
    std::vector<RecordChange> records;
    if (change.edit) {
        const FileEditOutcome edited = change.edit(before, after, records);
        if (!edited.apply) {
            out.status = FileWriteStatus::Refused;
            out.reason = edited.reason;
            return;
        }
    } else {
        // The caller's image is what it edited; another writer in between would be overwritten.
        if (before != change.before) {
            out.status = FileWriteStatus::ChangedMeanwhile;
            out.reason = change.path + " changed while the change was being made; nothing was written to it";
            return;
        }
        after = change.after;
        records = change.records;
    }
    if (after == before) {
        out.status = FileWriteStatus::Unchanged;
        return;
    }
    JournalEntry entry;
    entry.step = step;
    entry.program = info.program;
    entry.operation = info.operation;
    entry.map = info.map;
    entry.reverts = info.reverts;
    entry.file = relative;
    entry.records = records;
    entry.sizeBefore = before.size();
    entry.sizeAfter = after.size();
    entry.sha256Before = Sha256Hex(before);
    entry.sha256After = Sha256Hex(after);
    entry.splices = DiffImages(before, after);
    bool recorded = false;
    std::string gateReason;
    const BeforeCommit gate = [&](WriteMethod method, std::string* reason) {
        entry.written = method == WriteMethod::InPlace ? "in place" : "replace";
        recorded = history.Append(entry, &gateReason);
        if (!recorded && reason) *reason = gateReason;
        return recorded;
    };
    std::string error;
    WriteMethod method = WriteMethod::Replace;
    if (ReplaceFileContents(change.path, after, &error, gate, &method)) {
        out.status = FileWriteStatus::Written;
        out.entry = entry.id;
        out.method = method;
        out.records = std::move(records);
        return;
    }
    if (recorded) {
        // The entry is durable but its write did not happen: void it, so the history lists
        // only what was written.
        out.status = FileWriteStatus::WriteFailed;
        out.reason = error;
        if (!history.AppendVoid(entry.id, error))
            out.reason += "; the change history still lists change " + std::to_string(entry.id) +
                          ", which was not written";
    } else if (!gateReason.empty()) {
        historyFailed = true;
        out.status = FileWriteStatus::HistoryFailed;
        out.reason = gateReason;
    } else {
        out.status = FileWriteStatus::WriteFailed;
        out.reason = error;
    }
}

}  // namespace

StepResult WriteJournaledStep(ChangeHistory& history, const StepInfo& info, const std::vector<FileChange>& files,
                              const StepOptions& options) {
    StepResult result;
    bool historyFailed = false;
    std::string historyReason;
    bool stopped = false;
    std::string stopReason;
    for (size_t index = 0; index < files.size(); ++index) {
        const FileChange& change = files[index];
        FileWriteResult& out = result.files.emplace_back();
        out.path = change.path;
        if (historyFailed) {
            out.status = FileWriteStatus::HistoryFailed;
            out.reason = historyReason;
            continue;
        }
        if (stopped) {
            out.status = FileWriteStatus::WriteFailed;
            out.reason = stopReason;
            continue;
        }
        if (options.beforeFile) options.beforeFile(index, change.path);
        WriteOneFile(history, info, change, options, result.step, out, historyFailed);
        // The first written entry names the step; every later entry of the step joins it.
        if (out.status == FileWriteStatus::Written && result.step == 0) {
            result.step = out.entry;
        }
        if (historyFailed) historyReason = out.reason;
        if (options.stopAtFailure && Failed(out) && !historyFailed) {
            stopped = true;
            stopReason = "not written: " + out.reason;
        }
    }
    return result;
}

std::vector<JournalEntry> EntriesOfStep(const std::vector<JournalEntry>& entries, int64_t step) {
    std::vector<JournalEntry> out;
    for (const JournalEntry& e : entries)
        if (e.step == step) out.push_back(e);
    return out;
}

int64_t LastUndoableStep(const std::vector<JournalEntry>& entries) {
    std::vector<int64_t> reverted;
    for (const JournalEntry& e : entries)
        if ((e.operation == "undo" || e.operation == "redo") && e.reverts) reverted.push_back(e.reverts);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->operation == "undo") continue;
        if (std::find(reverted.begin(), reverted.end(), it->step) == reverted.end()) return it->step;
    }
    return 0;
}

namespace {

// The change that takes a file back through `chain` (oldest entry first), decided under the
// file's lock on the file as it is then: refused when it no longer holds what the newest
// entry wrote.
FileChange TakeBackChange(ChangeHistory& history, const std::string& file, std::vector<const JournalEntry*> chain) {
    FileChange change;
    change.path = history.FullPath(file);
    change.relativePath = file;
    change.edit = [chain = std::move(chain), path = change.path](const std::string& current, std::string& after,
                                                                std::vector<RecordChange>& records) {
        FileEditOutcome outcome;
        after = current;
        if (!TakeBack(chain, after, &outcome.reason, path)) {
            outcome.apply = false;
            outcome.reason += "; nothing was written";
            return outcome;
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            for (RecordChange& r : Reversed((*it)->records)) records.push_back(std::move(r));
        return outcome;
    };
    return change;
}

void Conclude(RevertResult& result) {
    result.ok = result.written.AllWritten();
    if (result.ok) return;
    for (const FileWriteResult& f : result.written.files) {
        if (!Failed(f)) continue;
        result.reason = f.reason;
        break;
    }
}

}  // namespace

RevertResult RevertStep(ChangeHistory& history, int64_t step, const std::string& program) {
    RevertResult result;
    const std::vector<JournalEntry> all = history.ReadAll();
    const std::vector<JournalEntry> entries = EntriesOfStep(all, step);
    if (entries.empty()) {
        result.reason = "there is no change " + std::to_string(step) + " in the history";
        return result;
    }
    // Per file, in the order the step first wrote them.
    std::vector<std::string> order;
    std::map<std::string, std::vector<const JournalEntry*>> chains;
    for (const JournalEntry& e : entries) {
        if (!chains.count(e.file)) order.push_back(e.file);
        chains[e.file].push_back(&e);
    }
    // Every file is checked before any is written, so that a refusal writes nothing; each
    // file's edit checks again under its lock.
    for (const std::string& file : order) {
        std::string image;
        const std::string path = history.FullPath(file);
        if (!ReadRegularFile(path, image)) {
            result.reason = "cannot read " + path + "; nothing was written";
            return result;
        }
        if (!TakeBack(chains[file], image, &result.reason, path)) {
            result.reason += "; nothing was written";
            return result;
        }
    }
    std::vector<FileChange> changes;
    for (const std::string& file : order) changes.push_back(TakeBackChange(history, file, chains[file]));
    const StepInfo info{program, entries.front().operation == "undo" ? "redo" : "undo", entries.front().map, step};
    StepOptions options;
    options.stopAtFailure = true;
    result.written = WriteJournaledStep(history, info, changes, options);
    Conclude(result);
    return result;
}

RevertResult RestoreBeforeEntry(ChangeHistory& history, int64_t entryId, bool force, const std::string& program) {
    RevertResult result;
    const std::vector<JournalEntry> all = history.ReadAll();
    auto target = std::find_if(all.begin(), all.end(), [&](const JournalEntry& e) { return e.id == entryId; });
    if (target == all.end()) {
        result.reason = "there is no change " + std::to_string(entryId) + " in the history";
        return result;
    }
    std::vector<const JournalEntry*> chain;
    for (auto it = target; it != all.end(); ++it)
        if (it->file == target->file) chain.push_back(&*it);
    if (chain.size() > 1 && !force) {
        result.reason = Plural(chain.size() - 1, "later change") + " to " + target->file +
                        " would be lost (the newest is " + std::to_string(chain.back()->id) +
                        "); nothing was written. Restore with --force to lose them";
        return result;
    }
    const StepInfo info{program, "restore", target->map, entryId};
    result.written = WriteJournaledStep(history, info, {TakeBackChange(history, target->file, chain)});
    Conclude(result);
    return result;
}

bool ReplayEntry(const JournalEntry& entry, std::string& image) {
    std::string work = image;
    if (!Holds(work, entry.sizeBefore, entry.sha256Before) || !ApplySplicesForward(work, entry.splices) ||
        !Holds(work, entry.sizeAfter, entry.sha256After))
        return false;
    image.swap(work);
    return true;
}

}  // namespace morvi
