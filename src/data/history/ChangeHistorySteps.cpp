#include "data/history/ChangeHistorySteps.h"

#include <algorithm>
#include <map>

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

StepResult WriteJournaledStep(ChangeHistory& history, const StepInfo& info, const std::vector<FileChange>& files,
                              const StepOptions& options) {
    StepResult result;
    bool historyFailed = false;
    std::string historyReason;
    for (size_t index = 0; index < files.size(); ++index) {
        const FileChange& change = files[index];
        FileWriteResult& out = result.files.emplace_back();
        out.path = change.path;
        if (historyFailed) {
            out.status = FileWriteStatus::HistoryFailed;
            out.reason = historyReason;
            continue;
        }
        if (options.stopAtFailure && index > 0) {
            const FileWriteResult& previous = result.files[index - 1];
            if (previous.status != FileWriteStatus::Written && previous.status != FileWriteStatus::Unchanged) {
                out.status = FileWriteStatus::WriteFailed;
                out.reason = previous.reason.rfind("not written: ", 0) == 0 ? previous.reason
                                                                              : "not written: " + previous.reason;
                continue;
            }
        }
        if (options.beforeFile) options.beforeFile(index, change.path);
        if (change.after == change.before) {
            out.status = FileWriteStatus::Unchanged;
            continue;
        }
        // The caller's image is what it edited; another writer in between would be overwritten.
        std::string now;
        if (!ReadRegularFile(change.path, now) || now != change.before) {
            out.status = FileWriteStatus::ChangedMeanwhile;
            out.reason = change.path + " changed while the change was being made; nothing was written to it";
            continue;
        }
        JournalEntry entry;
        entry.step = result.step;
        entry.program = info.program;
        entry.operation = info.operation;
        entry.map = info.map;
        entry.reverts = info.reverts;
        entry.file = change.relativePath.empty() ? history.RelativePath(change.path) : change.relativePath;
        entry.records = change.records;
        entry.sizeBefore = change.before.size();
        entry.sizeAfter = change.after.size();
        entry.sha256Before = Sha256Hex(change.before);
        entry.sha256After = Sha256Hex(change.after);
        entry.splices = DiffImages(change.before, change.after);
        if (entry.file.empty()) {
            out.status = FileWriteStatus::HistoryFailed;
            out.reason = change.path + " lies outside the server directory " + history.ServerPath() +
                         "; nothing was written to it";
            continue;
        }
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
        if (ReplaceFileContents(change.path, change.after, &error, gate, &method)) {
            out.status = FileWriteStatus::Written;
            out.entry = entry.id;
            out.method = method;
            if (result.step == 0) result.step = entry.step;
            continue;
        }
        if (recorded) {
            history.AppendVoid(entry.id, error);
            if (result.step == 0) result.step = entry.step;
            out.status = FileWriteStatus::WriteFailed;
            out.reason = error;
        } else if (!gateReason.empty()) {
            historyFailed = true;
            historyReason = gateReason;
            out.status = FileWriteStatus::HistoryFailed;
            out.reason = gateReason;
        } else {
            out.status = FileWriteStatus::WriteFailed;
            out.reason = error;
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
    std::vector<FileChange> changes;
    for (const std::string& file : order) {
        FileChange change;
        change.path = history.FullPath(file);
        change.relativePath = file;
        if (!ReadRegularFile(change.path, change.before)) {
            result.reason = "cannot read " + change.path + "; nothing was written";
            return result;
        }
        change.after = change.before;
        if (!TakeBack(chains[file], change.after, &result.reason, change.path)) {
            result.reason += "; nothing was written";
            return result;
        }
        for (auto it = chains[file].rbegin(); it != chains[file].rend(); ++it)
            for (RecordChange& r : Reversed((*it)->records)) change.records.push_back(std::move(r));
        changes.push_back(std::move(change));
    }
    const StepInfo info{program, entries.front().operation == "undo" ? "redo" : "undo", entries.front().map, step};
    result.written = WriteJournaledStep(history, info, changes);
    result.ok = result.written.AllWritten();
    if (!result.ok) result.reason = result.written.FirstReason();
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
    FileChange change;
    change.path = history.FullPath(target->file);
    change.relativePath = target->file;
    if (!ReadRegularFile(change.path, change.before)) {
        result.reason = "cannot read " + change.path + "; nothing was written";
        return result;
    }
    change.after = change.before;
    if (!TakeBack(chain, change.after, &result.reason, change.path)) {
        result.reason += "; nothing was written";
        return result;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (RecordChange& r : Reversed((*it)->records)) change.records.push_back(std::move(r));
    const StepInfo info{program, "restore", target->map, entryId};
    result.written = WriteJournaledStep(history, info, {change});
    result.ok = result.written.AllWritten();
    if (!result.ok) result.reason = result.written.FirstReason();
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
