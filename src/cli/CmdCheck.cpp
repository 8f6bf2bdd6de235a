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

namespace morvi::cli {
namespace {

struct Finding {
    size_t offset;
    std::string message;
};

std::string Quoted(const std::string& utf8) { return "\"" + EscapeUndecodable(utf8) + "\""; }

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
        findings.push_back({offset, "template index " + std::to_string(t) +
                                        " outside the template table (the window lists 1.." +
                                        std::to_string(templateCount - 1) + ")"});
    const std::string name = GbkToUtf8(p.Name());
    if (HasUndecodable(name)) findings.push_back({offset + 16, "name is not valid GBK: " + Quoted(name)});
    if (!p.HasScript()) return;

    const std::string script = GbkToUtf8(ScriptBytes(r.script));
    const size_t scriptOffset = offset + kPlacementBlockSize - 1;
    if (HasUndecodable(script))
        findings.push_back({scriptOffset, "script path is not valid GBK: " + Quoted(script)});
    if (r.script.empty() || r.script[0] != '\\')
        findings.push_back({scriptOffset, "script path " + Quoted(script) + " does not start with '\\'"});
    if (!ScriptFileExists(server, script))
        findings.push_back({scriptOffset, "script file " + Quoted(script) + " not found under the server directory"});
}

// Turns what the record walk finds wrong into findings, in the order it is met.
class DefectFindings : public RegionReporter {
public:
    explicit DefectFindings(std::vector<Finding>& findings) : m_findings(findings) {}
    void Corruption(const RegionDefect& d) override {
        switch (d.kind) {
        case RegionDefectKind::HeaderCutOff:
            m_findings.push_back({d.offset, "file ends inside the NPC section header (" + std::to_string(d.length) +
                                                " bytes)"});
            break;
        case RegionDefectKind::CutOffRecord:
        case RegionDefectKind::LengthPastEnd:
            m_findings.push_back({d.offset, "record cut off by the end of the file: " + std::to_string(d.length) +
                                                " bytes long, " + std::to_string(d.present) + " present"});
            break;
        case RegionDefectKind::BytesAfterLastRecord:
        case RegionDefectKind::CountAboveRecords:
            m_findings.push_back({static_cast<size_t>(kNpcSectionOffset),
                                  "placement count " + std::to_string(d.count) + " does not match the " +
                                      std::to_string(d.records) + " records that tile the file"});
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
        err << "morvinpc: cannot read the template table " << session->RelativeFile(npcs) << "\n";
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
            err << "morvinpc: cannot read the maps directory " << session->RelativeFile(maps) << "\n";
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
            err << "morvinpc: cannot read " << session->RelativeFile(path) << "\n";
            ioError = true;
            continue;
        }
        const std::string shown = session->RelativeFile(path);
        for (const Finding& f : findings) out << shown << ":" << f.offset << ": " << f.message << "\n";
        total += findings.size();
        if (!findings.empty()) ++filesWithFindings;
    }
    err << "checked " << files.size() << " region files: " << total << " findings in " << filesWithFindings
        << " files\n";
    if (ioError) return kExitUsage;
    return total == 0 ? kExitOk : kExitFailed;
}

}  // namespace morvi::cli
