// `diff OTHER_SERVER [MAP]`: the placements this tree adds, changes and removes compared with
// another server tree, by map, file and key; `--format csv` writes the one map that differs
// (or MAP) in the export's shape, which `import` on the other tree turns into exactly those
// changes. What import cannot carry is named on the standard error.

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/RowOutput.h"
#include "document/ServerCompare.h"

namespace morvi::cli {
namespace {

const char* const kColumnNames[] = {"name", "x", "offset_x", "y", "offset_y", "type", "group",
                                    "series", "drop", "script", "file", "template"};

std::string Why(CarryProblem problem) {
    switch (problem) {
        case CarryProblem::None: return {};
        case CarryProblem::HiddenHere: return "the window hides it in this tree, so the export leaves it out";
        case CarryProblem::HiddenThere: return "the window hides it in the other tree, and import never deletes such a record";
        case CarryProblem::NotAtEnd:
            return "it stands before records both trees hold, and import appends new records at the end of the file";
        case CarryProblem::OrderDiffers: return "records both trees hold stand in another order";
        case CarryProblem::BytesNotShown: return "bytes that no column shows differ";
        case CarryProblem::NotRepresentable: return "its row's texts do not read back to the same bytes";
        case CarryProblem::KeyShared: return "its key is shared with records the window hides, which pair otherwise";
        case CarryProblem::FileOnlyHere: return "the region file exists only in this tree, and import creates no file";
        case CarryProblem::FileOnlyThere:
            return "the region file exists only in the other tree; import would empty it but not remove it";
        case CarryProblem::ForeignDiffers: return "the file's bytes outside the placement records differ";
        case CarryProblem::MapOnlyHere: return "the map is only in this tree's map list";
        case CarryProblem::MapOnlyThere: return "the map is only in the other tree's map list";
        case CarryProblem::Unreadable: return "the region file cannot be read";
    }
    return {};
}

std::string Quoted(const std::string& utf8) { return "\"" + EscapeUndecodable(utf8) + "\""; }

std::string MapTitle(const ServerMap& m) {
    return std::to_string(m.index) + " " + Quoted(m.name) + " (" + EscapeUndecodable(m.entry) + ")";
}

std::string ChangeText(const PlacementDiff& d) {
    const RowTexts before = RecordTexts(*d.theirs, {});
    const RowTexts after = RecordTexts(*d.ours, {});
    std::string text;
    for (int c = 0; c < kPlacementColumnCount; ++c) {
        const size_t k = static_cast<size_t>(c);
        if (c == COL_FILE || before[k] == after[k]) continue;
        text += (text.empty() ? "" : "; ") + std::string(kColumnNames[c]) + " " + Quoted(before[k]) + " -> " +
                Quoted(after[k]);
    }
    if (d.fields & kDiffHidden) text += std::string(text.empty() ? "" : "; ") + "bytes no column shows";
    return text;
}

struct Counts {
    int added = 0, changed = 0, removed = 0, notCarried = 0;
};

Counts CountOf(const MapDiff& m) {
    Counts c;
    for (const FileDiff& f : m.files) {
        if (f.problem != CarryProblem::None && f.placements.empty()) ++c.notCarried;
        for (const PlacementDiff& p : f.placements) {
            (p.kind == DiffKind::Added ? c.added : p.kind == DiffKind::Changed ? c.changed : c.removed)++;
            if (p.problem != CarryProblem::None) ++c.notCarried;
        }
    }
    return c;
}

void PrintTable(const MapDiff& m, std::ostream& out) {
    const Counts c = CountOf(m);
    if (m.ours) out << "map " << MapTitle(*m.ours);
    else out << "the other tree's map " << MapTitle(*m.theirs) << ": only in the other tree";
    if (!m.theirs) out << ": only in this tree";
    else if (m.ours->index != m.theirs->index) out << ", index " << m.theirs->index << " in the other tree";
    out << ": " << c.added << " added, " << c.changed << " changed, " << c.removed << " removed\n";
    for (const FileDiff& f : m.files) {
        out << "  " << EscapeUndecodable(f.relative);
        if (f.oursPath.empty()) out << " (only in the other tree)";
        else if (f.theirsPath.empty()) out << " (only in this tree)";
        out << "\n";
        if (f.problem != CarryProblem::None) out << "    not carried by import: " << Why(f.problem) << "\n";
        for (const PlacementDiff& p : f.placements) {
            const PlacementRecord& r = p.ours ? *p.ours : *p.theirs;
            const std::string key = KeyNumbers(p.key);
            switch (p.kind) {
                case DiffKind::Added:
                    out << "    added    " << key << " " << Quoted(RecordTexts(r, {})[COL_NAME]);
                    break;
                case DiffKind::Removed:
                    out << "    removed  " << key << " " << Quoted(RecordTexts(r, {})[COL_NAME]);
                    break;
                case DiffKind::Changed: out << "    changed  " << key << ": " << ChangeText(p); break;
            }
            if (p.occurrence > 0) out << " (record " << p.occurrence + 1 << " of this key)";
            if (p.problem != CarryProblem::None && p.problem != f.problem)
                out << "\n      not carried by import: " << Why(p.problem);
            out << "\n";
        }
    }
}

}  // namespace

int RunDiff(const CommonOptions& common, const std::string& other, const std::optional<std::string>& map,
            const std::string& format, std::ostream& out, std::ostream& err) {
    if (format != "table" && format != "csv") {
        err << "morvinpc: unknown format " << format << "\n";
        return kExitUsage;
    }
    std::unique_ptr<Session> ours = OpenSession(common.server, err);
    if (!ours) return kExitUsage;
    std::unique_ptr<Session> theirs = OpenSession(other, err);
    if (!theirs) return kExitUsage;

    CompareOptions options;
    options.oursTemplateCount = ours->TemplateCount();
    options.theirsTemplateCount = theirs->TemplateCount();
    if (map) {
        const int index = ResolveMap(*ours, *map, err);
        if (index < 0) return kExitUsage;
        options.onlyEntry = ours->MapDirectoryEntry(index);
    }
    const auto compared = CompareServers(ours->ServerDirectory(), theirs->ServerDirectory(), options);
    if (!compared) {
        // Both map lists were read by the sessions; only the map can be missing here.
        err << "morvinpc: no map " << (map ? *map : std::string()) << " to compare\n";
        return kExitUsage;
    }
    const std::vector<MapDiff>& maps = compared->maps;

    if (format == "table") {
        for (const MapDiff& m : maps) PrintTable(m, out);
        int notCarried = 0;
        for (const MapDiff& m : maps) notCarried += CountOf(m).notCarried + (m.ours && m.theirs ? 0 : 1);
        err << maps.size() << " maps differ";
        if (notCarried > 0) err << "; " << notCarried << " differences cannot be carried by import";
        err << "\n";
        return maps.empty() ? kExitOk : kExitFailed;
    }

    // CSV: the whole map as this tree has it, which import pairs with the other tree's records.
    if (maps.empty()) {
        err << "morvinpc: no differences: nothing to write\n";
        return kExitOk;
    }
    if (maps.size() > 1) {
        err << "morvinpc: " << maps.size() << " maps differ; import applies one map at a time, so name the map:\n";
        for (const MapDiff& m : maps) err << "  " << MapTitle(m.ours ? *m.ours : *m.theirs) << "\n";
        return kExitUsage;
    }
    const MapDiff& m = maps.front();
    if (!m.ours || !m.theirs) {
        err << "morvinpc: map " << MapTitle(m.ours ? *m.ours : *m.theirs) << ": "
            << Why(m.ours ? CarryProblem::MapOnlyHere : CarryProblem::MapOnlyThere) << "; import cannot carry it\n";
        return kExitFailed;
    }
    ours->LoadMap(m.ours->index);
    RowPrintOptions print;
    print.format = OutputFormat::Csv;
    print.fileText = [&ours](const std::string& path) { return ours->RelativeFile(path); };
    PrintRows(ours->Rows(), print, out);
    out.flush();
    for (const FileDiff& f : m.files) {
        if (f.problem != CarryProblem::None)
            err << "morvinpc: not carried by import: " << EscapeUndecodable(f.relative) << ": " << Why(f.problem) << "\n";
        for (const PlacementDiff& p : f.placements)
            if (p.problem != CarryProblem::None && p.problem != f.problem)
                err << "morvinpc: not carried by import: " << EscapeUndecodable(f.relative) << " "
                    << KeyNumbers(p.key) << ": " << Why(p.problem) << "\n";
    }
    err << "apply with: morvinpc --server " << theirs->ServerDirectory() << " import " << m.theirs->index
        << " FILE\n";
    return kExitFailed;
}

}  // namespace morvi::cli
