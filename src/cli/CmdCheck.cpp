// `check`: reads region files without changing anything and reports what the game server or
// the window would trip over, one line per finding with the file and the byte offset.

#include <cstring>
#include <filesystem>
#include <system_error>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "data/platform/AtomicFile.h"
#include "data/platform/FileFinder.h"
#include "data/platform/FileReadAhead.h"
#include "data/text/GbkCodec.h"
#include "data/region/RegionRecordReader.h"
#include "data/server/ServerPath.h"
#include "data/platform/WidePath.h"
#include "texts/ProgramTexts.h"

namespace morvi::cli {
namespace {

struct Finding {
    size_t offset;
    std::string message;
};

// A stored script path ends at its first zero byte, as the window shows it.
std::string ScriptBytes(const std::string& stored) {
    return stored.substr(0, strnlen(stored.data(), stored.size()));
}

bool ScriptFileExists(const std::string& server, const std::string& scriptUtf8) {
    const std::string tail = !scriptUtf8.empty() && scriptUtf8[0] == '\\' ? scriptUtf8 : "\\" + scriptUtf8;
    std::error_code ec;
    return std::filesystem::is_regular_file(FsPath(ServerFilePath(server, tail)), ec);
}

void CheckRecord(const PlacementRecord& r, size_t offset, const std::string& server, int templateCount,
                 std::vector<Finding>& findings) {
    const NpcPlacement& p = r.block;
    const int t = p.TemplateIndex();
    if (templateCount >= 0 && (t == 0 || t >= templateCount))
        findings.push_back({offset, Format(TextId::CliCheckTemplateOutside,
                                           {std::to_string(t), std::to_string(templateCount - 1)})});
    const std::string name = GbkToUtf8(p.Name());
    if (HasUndecodable(name))
        findings.push_back({offset + 16, Format(TextId::CliCheckNameNotGbk, {EscapeUndecodable(name)})});
    if (!p.HasScript()) return;

    const std::string script = GbkToUtf8(ScriptBytes(r.script));
    const size_t scriptOffset = offset + kPlacementBlockSize - 1;
    const std::string shown = EscapeUndecodable(script);
    if (HasUndecodable(script)) findings.push_back({scriptOffset, Format(TextId::CliCheckScriptNotGbk, {shown})});
    if (r.script.empty() || r.script[0] != '\\')
        findings.push_back({scriptOffset, Format(TextId::CliCheckScriptWithoutBackslash, {shown})});
    if (!ScriptFileExists(server, script))
        findings.push_back({scriptOffset, Format(TextId::CliCheckScriptMissing, {shown})});
}

// Turns what the record walk finds wrong into findings, in the order it is met.
class DefectFindings : public RegionReporter {
public:
    explicit DefectFindings(std::vector<Finding>& findings) : m_findings(findings) {}
    void Corruption(const RegionDefect& d) override {
        switch (d.kind) {
        case RegionDefectKind::HeaderCutOff:
            m_findings.push_back({d.offset, Format(TextId::CliCheckHeaderCutOff, {std::to_string(d.length)})});
            break;
        case RegionDefectKind::CutOffRecord:
        case RegionDefectKind::LengthPastEnd:
            m_findings.push_back({d.offset, Format(TextId::CliCheckRecordCutOff,
                                                   {std::to_string(d.length), std::to_string(d.present)})});
            break;
        case RegionDefectKind::BytesAfterLastRecord:
        case RegionDefectKind::CountAboveRecords:
            m_findings.push_back({static_cast<size_t>(kNpcSectionOffset),
                                  Format(TextId::CliCheckCountMismatch,
                                         {std::to_string(d.count), std::to_string(d.records)})});
            break;
        }
    }

private:
    std::vector<Finding>& m_findings;
};

// False when the file cannot be read.
bool CheckRegionFile(const std::string& path, const std::string& server, int templateCount,
                     std::vector<Finding>& findings) {
    // The records that tile the file from the first record to its end, whatever the count says.
    DefectFindings reporter(findings);
    RegionRecordReader reader(&reporter);
    if (!reader.Open(path, RegionRecordReader::Walk::ToEnd)) return false;
    RegionRecord r;
    PlacementRecord record;
    while (reader.Next(r)) {
        if (!r.complete) continue;
        record.block = r.block;
        record.script.assign(r.script);
        CheckRecord(record, r.offset, server, templateCount, findings);
    }
    return true;
}

}  // namespace

int RunCheck(const CommonOptions& common, const std::optional<std::string>& map, std::ostream& out,
             std::ostream& err) {
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

    size_t total = 0;
    size_t filesWithFindings = 0;
    for (const std::string& path : files) {
        std::vector<Finding> findings;
        // Without a readable template table the template indexes cannot be judged.
        const int templateCount = !templatesReadable ? -1 : session->TemplateCount();
        if (!CheckRegionFile(path, server, templateCount, findings)) {
            err << kMessagePrefix << Format(TextId::CliCannotRead, {session->RelativeFile(path)}) << "\n";
            ioError = true;
            continue;
        }
        const std::string shown = session->RelativeFile(path);
        for (const Finding& f : findings)
            out << Format(TextId::CliAtPlace, {shown, std::to_string(f.offset), f.message}) << "\n";
        total += findings.size();
        if (!findings.empty()) ++filesWithFindings;
    }
    err << Format(TextId::CliCheckSummary,
                  {std::to_string(files.size()), std::to_string(total), std::to_string(filesWithFindings)})
        << "\n";
    if (ioError) return kExitUsage;
    return total == 0 ? kExitOk : kExitFailed;
}

}  // namespace morvi::cli
