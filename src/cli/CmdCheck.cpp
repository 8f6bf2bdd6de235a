// `check`: reads region files without changing anything and reports what the game server or
// the window would trip over, one line per finding with the file and the byte offset. The
// findings are the map document's (MapFindings.h); this file only words them.

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/RowOutput.h"
#include "data/platform/AtomicFile.h"
#include "data/platform/FileFinder.h"
#include "data/platform/FileReadAhead.h"
#include "data/server/ServerPath.h"
#include "data/text/GbkCodec.h"
#include "document/MapFindings.h"
#include "texts/ProgramTexts.h"

namespace morvi::cli {
namespace {

// A stored script path ends at its first zero byte, as the window shows it.
std::string ScriptUtf8(const std::string& stored) {
    return GbkToUtf8(std::string_view(stored).substr(0, std::min(stored.size(), stored.find('\0'))));
}

// The kinds `check` has always printed: what the game server or the window trips over. The
// others (records the window hides, duplicate keys, exact duplicates) are printed with --all
// and are always part of the JSON.
bool IsDefect(FindingCode code) {
    switch (code) {
        case FindingCode::HiddenRecord:
        case FindingCode::DuplicateKey:
        case FindingCode::ExactDuplicate: return false;
        default: return true;
    }
}

std::string HiddenWhy(uint32_t hidden) {
    std::string text;
    const auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (hidden & kHiddenEmptyName) add(std::string(Text(TextId::CliHiddenEmptyName)));
    if (hidden & kHiddenTemplateZero) add(std::string(Text(TextId::CliHiddenTemplateZero)));
    if (hidden & kHiddenTemplateBeyondTable) add(std::string(Text(TextId::CliHiddenTemplateBeyond)));
    if (hidden & kHiddenXTooLarge) add(std::string(Text(TextId::CliHiddenXTooLarge)));
    if (hidden & kHiddenYTooLarge) add(std::string(Text(TextId::CliHiddenYTooLarge)));
    if (hidden & kHiddenNotCounted) add(std::string(Text(TextId::CliHiddenNotCounted)));
    return text;
}

std::string Describe(const Session& session, const MapFinding& f) {
    const NpcPlacement& p = f.record.block;
    const auto n = [](auto v) { return std::to_string(v); };
    switch (f.code) {
        case FindingCode::HeaderCutOff: return Format(TextId::CliCheckHeaderCutOff, {n(f.length)});
        case FindingCode::RecordCutOff:
        case FindingCode::ForeignBytes: return Format(TextId::CliCheckRecordCutOff, {n(f.length), n(f.present)});
        case FindingCode::CountMismatch: return Format(TextId::CliCheckCountMismatch, {n(f.count), n(f.records)});
        case FindingCode::TemplateOutsideTable:
            return Format(TextId::CliCheckTemplateOutside, {n(p.TemplateIndex()), n(f.templateCount - 1)});
        case FindingCode::HiddenRecord: return Format(TextId::CliCheckHidden, {HiddenWhy(f.hidden)});
        case FindingCode::NameNotGbk:
            return Format(TextId::CliCheckNameNotGbk, {EscapeUndecodable(GbkToUtf8(p.Name()))});
        case FindingCode::ScriptNotGbk:
            return Format(TextId::CliCheckScriptNotGbk, {EscapeUndecodable(ScriptUtf8(f.record.script))});
        case FindingCode::ScriptWithoutBackslash:
            return Format(TextId::CliCheckScriptWithoutBackslash, {EscapeUndecodable(ScriptUtf8(f.record.script))});
        case FindingCode::ScriptMissing:
            return Format(TextId::CliCheckScriptMissing, {EscapeUndecodable(ScriptUtf8(f.record.script))});
        case FindingCode::DuplicateKey:
            return Format(TextId::CliCheckDuplicateKey,
                          {KeyNumbers({p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY}), n(f.otherOffset)});
        case FindingCode::ExactDuplicate:
            return Format(TextId::CliCheckExactDuplicate, {session.RelativeFile(f.otherFile), n(f.otherOffset)});
    }
    return {};
}

nlohmann::ordered_json FindingJson(const Session& session, const MapFinding& f, bool withRows) {
    nlohmann::ordered_json j;
    j["code"] = std::string(FindingCodeName(f.code));
    j["file"] = EscapeUndecodable(session.RelativeFile(f.file));
    j["offset"] = f.offset;
    j["row"] = withRows && f.row >= 0 ? nlohmann::ordered_json(f.row) : nlohmann::ordered_json(nullptr);
    j["message"] = Describe(session, f);
    if (f.aboutRecord) {
        const NpcPlacement& p = f.record.block;
        j["key"] = KeyNumbers({p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY}) + "," +
                   EscapeUndecodable(session.RelativeFile(f.file));
        j["name"] = EscapeUndecodable(GbkToUtf8(p.Name()));
        j["record_index"] = f.recordIndex;
        j["occurrence"] = f.occurrence;
        nlohmann::ordered_json hidden = nlohmann::ordered_json::array();
        for (std::string_view reason : HiddenReasonNames(f.hidden)) hidden.push_back(std::string(reason));
        j["hidden"] = hidden;
    }
    switch (f.fix) {
        case FindingFix::None: j["fix"] = nullptr; break;
        case FindingFix::DeleteDuplicate: j["fix"] = "delete-duplicate"; break;
        case FindingFix::DeleteHidden: j["fix"] = "delete-hidden"; break;
    }
    if (!f.otherFile.empty()) {
        j["other_file"] = EscapeUndecodable(session.RelativeFile(f.otherFile));
        j["other_offset"] = f.otherOffset;
    }
    switch (f.code) {
        case FindingCode::HeaderCutOff: j["file_size"] = f.length; break;
        case FindingCode::RecordCutOff:
        case FindingCode::ForeignBytes:
            j["length"] = f.length;
            j["present"] = f.present;
            break;
        case FindingCode::CountMismatch:
            j["count"] = f.count;
            j["records"] = f.records;
            break;
        case FindingCode::TemplateOutsideTable: j["template_count"] = f.templateCount; break;
        default: break;
    }
    return j;
}

}  // namespace

int RunCheck(const CommonOptions& common, const std::optional<std::string>& map, std::ostream& out,
             std::ostream& err) {
    return RunCheck(common, map, "table", false, out, err);
}

int RunCheck(const CommonOptions& common, const std::optional<std::string>& map, const std::string& format,
             bool all, std::ostream& out, std::ostream& err) {
    const bool json = format == "json";
    if (!json && format != "table") {
        err << kMessagePrefix << Format(TextId::CliUnknownFormat, {format}) << "\n";
        return kExitUsage;
    }
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const std::string& server = session->ServerDirectory();
    bool ioError = false;

    std::string templates;
    const std::string npcs = ServerFilePath(server, "\\settings\\npcs.txt");
    const bool templatesReadable = ReadRegularFile(npcs, templates);
    if (!templatesReadable) {
        err << kMessagePrefix << Format(TextId::CliCannotReadTemplates, {session->RelativeFile(npcs)}) << "\n";
        ioError = true;
    }

    std::vector<std::string> files;
    if (map) {
        const int index = ResolveMap(*session, *map, err);
        if (index < 0) return kExitUsage;
        files = session->MapRegionFiles(index);
    } else {
        // Every region file below the maps directory, listed map or not.
        const std::string maps = ServerFilePath(server, "\\maps");
        FileFinder finder;
        if (!finder.SetRoot(maps) || !finder.Find("_S.DAT", true)) {
            err << kMessagePrefix << Format(TextId::CliCannotReadMapsDirectory, {session->RelativeFile(maps)}) << "\n";
            return kExitUsage;
        }
        for (const std::string& name : finder.m_names) files.push_back(CollapseSeparators(maps + "/" + name));
    }

    FindingsOptions options;
    options.serverDirectory = server;
    // Without a readable template table the template indexes cannot be judged.
    options.templateCount = !templatesReadable ? -1 : session->TemplateCount();
    const FindingsResult result = FindInRegionFiles(files, options);
    for (const std::string& path : result.unreadable) {
        err << kMessagePrefix << Format(TextId::CliCannotRead, {session->RelativeFile(path)}) << "\n";
        ioError = true;
    }

    size_t total = 0;
    std::vector<std::string> withFindings;
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const MapFinding& f : result.findings) {
        if (!json && !all && !IsDefect(f.code)) continue;
        if (json) array.push_back(FindingJson(*session, f, map.has_value()));
        else
            out << Format(TextId::CliAtPlace, {session->RelativeFile(f.file), std::to_string(f.offset), Describe(*session, f)})
                << "\n";
        ++total;
        if (withFindings.empty() || withFindings.back() != f.file) withFindings.push_back(f.file);
    }
    if (json) {
        nlohmann::ordered_json doc;
        doc["files_checked"] = result.filesChecked;
        nlohmann::ordered_json unreadable = nlohmann::ordered_json::array();
        for (const std::string& path : result.unreadable)
            unreadable.push_back(EscapeUndecodable(session->RelativeFile(path)));
        doc["unreadable"] = unreadable;
        doc["findings"] = array;
        out << doc.dump(2) << "\n";
    }
    err << Format(TextId::CliCheckSummary,
                  {std::to_string(files.size()), std::to_string(total), std::to_string(withFindings.size())})
        << "\n";
    if (ioError) return kExitUsage;
    return total == 0 ? kExitOk : kExitFailed;
}

}  // namespace morvi::cli
