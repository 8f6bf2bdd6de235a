// `history`, `undo` and `restore`: the change history of the server tree, as the window and
// the command line wrote it.

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/Session.h"
#include "data/history/ChangeHistorySteps.h"
#include "document/MapDocument.h"
#include "texts/ProgramTexts.h"

namespace morvi::cli {
namespace {

std::unique_ptr<ChangeHistory> OpenHistory(const CommonOptions& common, std::ostream& err) {
    std::string error;
    const std::optional<std::string> server = ResolveServerDirectory(common.server, &error);
    if (!server) {
        err << kMessagePrefix << error << "\n";
        return nullptr;
    }
    return std::make_unique<ChangeHistory>(*server);
}

std::string FilesText(const StepResult& step) {
    std::vector<std::string> paths;
    for (const FileWriteResult& f : step.files) paths.push_back(f.path);
    return Joined(paths, TextId::CliListComma);
}

// Takes back a step of the document's history by its id. The document's own Undo() takes back
// only the steps it made itself; a command undoes a step another process made.
RevertResult UndoStep(MapDocument& document, int64_t step) {
    return RevertStep(document.History(), step, document.Program());
}

int Reverted(const RevertResult& result, const std::string& what, std::ostream& out, std::ostream& err) {
    if (!result.ok) {
        err << kMessagePrefix << Format(TextId::CliRevertNotDone, {what, result.reason}) << "\n";
        return kExitFailed;
    }
    out << Format(TextId::CliRevertDone, {what, std::to_string(result.written.step), FilesText(result.written)})
        << "\n";
    return kExitOk;
}

}  // namespace

int RunHistory(const CommonOptions& common, const std::optional<std::string>& map, bool json, std::ostream& out,
               std::ostream& err) {
    std::string mapName;
    if (map) {
        std::unique_ptr<Session> session = OpenSession(common.server, err);
        if (!session) return kExitUsage;
        const int index = ResolveMap(*session, *map, err);
        if (index < 0) return kExitUsage;
        mapName = session->MapName(index);
    }
    const std::unique_ptr<ChangeHistory> history = OpenHistory(common, err);
    if (!history) return kExitUsage;
    std::vector<JournalEntry> entries = history->ReadAll();
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const JournalEntry& e = *it;
        if (map && e.map != mapName) continue;
        if (json) {
            // The keys are a data format, which programs read: not texts.
            nlohmann::ordered_json j{{"id", e.id},         {"step", e.step},           {"time", e.time},
                                     {"user", e.user},     {"host", e.host},           {"program", e.program},
                                     {"operation", e.operation}, {"map", e.map},       {"file", e.file},
                                     {"reverts", e.reverts}, {"records", e.records.size()},
                                     {"sizeBefore", e.sizeBefore}, {"sizeAfter", e.sizeAfter},
                                     {"sha256Before", e.sha256Before}, {"sha256After", e.sha256After},
                                     {"written", e.written}};
            list.push_back(std::move(j));
            continue;
        }
        // Tab-separated columns, which scripts split.
        out << e.id << "\t" << Format(TextId::CliHistoryStep, {std::to_string(e.step)}) << "\t" << e.time << "\t"
            << e.user << "@" << e.host << "\t" << e.program << "\t" << e.operation;
        if (e.reverts) out << " " << e.reverts;
        out << "\t" << e.map << "\t" << e.file << "\t"
            << Format(TextId::CliHistoryRecords, {std::to_string(e.records.size())}) << "\n";
    }
    if (json) out << list.dump(2) << "\n";
    return kExitOk;
}

int RunUndo(const CommonOptions& common, std::optional<long long> id, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<std::string> server = ResolveServerDirectory(common.server, &error);
    if (!server) {
        err << kMessagePrefix << error << "\n";
        return kExitUsage;
    }
    // The step is taken back through the map document's history, as the window's undo is; any
    // program's step may be, not only one this process made.
    MapDocument document;
    document.SetServerPath(*server);
    document.SetProgram(kHistoryProgram);
    ChangeHistory& history = document.History();
    const std::vector<JournalEntry> entries = history.ReadAll();
    int64_t step = 0;
    if (id) {
        for (const JournalEntry& e : entries)
            if (e.id == *id) step = e.step;
        if (step == 0) {
            err << kMessagePrefix << Format(TextId::CliNoSuchChange, {std::to_string(*id)}) << "\n";
            return kExitFailed;
        }
    } else {
        step = LastUndoableStep(entries);
        if (step == 0) {
            err << kMessagePrefix << Format(TextId::CliNoChangeToUndo, {history.ServerPath()}) << "\n";
            return kExitFailed;
        }
    }
    return Reverted(UndoStep(document, step), Format(TextId::CliUndoOfChange, {std::to_string(step)}), out, err);
}

int RunRestore(const CommonOptions& common, long long id, bool force, std::ostream& out, std::ostream& err) {
    const std::unique_ptr<ChangeHistory> history = OpenHistory(common, err);
    if (!history) return kExitUsage;
    return Reverted(RestoreBeforeEntry(*history, id, force, kHistoryProgram),
                    Format(TextId::CliRestoreOfChange, {std::to_string(id)}), out, err);
}

}  // namespace morvi::cli
