// `diff OTHER_SERVER [MAP]`: the placements this tree adds, changes and removes compared with
// another server tree, by map, file and key; `--format csv` writes the one map that differs
// (or MAP) in the export's shape, which `import` on the other tree turns into exactly those
// changes. What import cannot carry is named on the standard error.

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/RowOutput.h"
#include "document/ServerCompare.h"
#include "texts/ProgramTexts.h"

namespace morvi::cli {
namespace {

const char* const kColumnNames[] = {"name", "x", "offset_x", "y", "offset_y", "type", "group",
                                    "series", "drop", "script", "file", "template"};

std::string Why(CarryProblem problem) {
    switch (problem) {
        case CarryProblem::None: return {};
        case CarryProblem::HiddenHere: return std::string(Text(TextId::CliDiffWhyHiddenHere));
        case CarryProblem::HiddenThere: return std::string(Text(TextId::CliDiffWhyHiddenThere));
        case CarryProblem::NotAtEnd: return std::string(Text(TextId::CliDiffWhyNotAtEnd));
        case CarryProblem::OrderDiffers: return std::string(Text(TextId::CliDiffWhyOrder));
        case CarryProblem::BytesNotShown: return std::string(Text(TextId::CliDiffWhyBytesNotShown));
        case CarryProblem::NotRepresentable: return std::string(Text(TextId::CliDiffWhyNotRepresentable));
        case CarryProblem::KeyShared: return std::string(Text(TextId::CliDiffWhyKeyShared));
        case CarryProblem::FileOnlyHere: return std::string(Text(TextId::CliDiffWhyFileOnlyHere));
        case CarryProblem::FileOnlyThere: return std::string(Text(TextId::CliDiffWhyFileOnlyThere));
        case CarryProblem::ForeignDiffers: return std::string(Text(TextId::CliDiffWhyForeign));
        case CarryProblem::MapOnlyHere: return std::string(Text(TextId::CliDiffWhyMapOnlyHere));
        case CarryProblem::MapOnlyThere: return std::string(Text(TextId::CliDiffWhyMapOnlyThere));
        case CarryProblem::Unreadable: return std::string(Text(TextId::CliDiffWhyUnreadable));
    }
    return {};
}

std::string MapTitle(const ServerMap& m) {
    return std::to_string(m.index) + " \"" + EscapeUndecodable(m.name) + "\" (" + EscapeUndecodable(m.entry) + ")";
}

std::string ChangeText(const PlacementDiff& d) {
    const RowTexts before = RecordTexts(*d.theirs, {});
    const RowTexts after = RecordTexts(*d.ours, {});
    std::string text;
    for (int c = 0; c < kPlacementColumnCount; ++c) {
        const size_t k = static_cast<size_t>(c);
        if (c == COL_FILE || before[k] == after[k]) continue;
        text += (text.empty() ? "" : "; ") +
                Format(TextId::CliDiffField, {kColumnNames[c], EscapeUndecodable(before[k]), EscapeUndecodable(after[k])});
    }
    if (d.fields & kDiffHidden) text += std::string(text.empty() ? "" : "; ") + std::string(Text(TextId::CliDiffBytesNotShown));
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
    const auto n = [](int v) { return std::to_string(v); };
    if (!m.ours) {
        const ServerMap& t = *m.theirs;
        out << Format(TextId::CliDiffOtherMap, {n(t.index), EscapeUndecodable(t.name), EscapeUndecodable(t.entry),
                                                n(c.added), n(c.changed), n(c.removed)})
            << "\n";
    } else {
        const ServerMap& o = *m.ours;
        std::string note;
        if (!m.theirs) note = Text(TextId::CliDiffMapOnlyHereNote);
        else if (o.index != m.theirs->index) note = Format(TextId::CliDiffOtherIndexNote, {n(m.theirs->index)});
        out << Format(TextId::CliDiffMap, {n(o.index), EscapeUndecodable(o.name), EscapeUndecodable(o.entry), note,
                                           n(c.added), n(c.changed), n(c.removed)})
            << "\n";
    }
    for (const FileDiff& f : m.files) {
        const std::string file = EscapeUndecodable(f.relative);
        out << "  "
            << (f.oursPath.empty()     ? Format(TextId::CliDiffFileOnlyThere, {file})
                : f.theirsPath.empty() ? Format(TextId::CliDiffFileOnlyHere, {file})
                                       : file)
            << "\n";
        if (f.problem != CarryProblem::None) out << "    " << Format(TextId::CliDiffNotCarried, {Why(f.problem)}) << "\n";
        for (const PlacementDiff& p : f.placements) {
            const PlacementRecord& r = p.ours ? *p.ours : *p.theirs;
            const std::string key = KeyNumbers(p.key);
            const std::string name = EscapeUndecodable(RecordTexts(r, {})[COL_NAME]);
            out << "    ";
            switch (p.kind) {
                case DiffKind::Added: out << Format(TextId::CliDiffAdded, {key, name}); break;
                case DiffKind::Removed: out << Format(TextId::CliDiffRemoved, {key, name}); break;
                case DiffKind::Changed: out << Format(TextId::CliDiffChanged, {key, ChangeText(p)}); break;
            }
            if (p.occurrence > 0) out << Format(TextId::CliDiffOccurrence, {n(p.occurrence + 1)});
            if (p.problem != CarryProblem::None && p.problem != f.problem)
                out << "\n      " << Format(TextId::CliDiffNotCarried, {Why(p.problem)});
            out << "\n";
        }
    }
}

}  // namespace

int RunDiff(const CommonOptions& common, const std::string& other, const std::optional<std::string>& map,
            const std::string& format, std::ostream& out, std::ostream& err) {
    if (format != "table" && format != "csv") {
        err << kMessagePrefix << Format(TextId::CliUnknownFormat, {format}) << "\n";
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
        err << kMessagePrefix << Format(TextId::CliDiffNoMap, {map ? *map : std::string()}) << "\n";
        return kExitUsage;
    }
    const std::vector<MapDiff>& maps = compared->maps;

    if (format == "table") {
        for (const MapDiff& m : maps) PrintTable(m, out);
        int notCarried = 0;
        for (const MapDiff& m : maps) notCarried += CountOf(m).notCarried + (m.ours && m.theirs ? 0 : 1);
        err << (notCarried > 0 ? Format(TextId::CliDiffSummaryNotCarried,
                                        {std::to_string(maps.size()), std::to_string(notCarried)})
                               : Format(TextId::CliDiffSummary, {std::to_string(maps.size())}))
            << "\n";
        return maps.empty() ? kExitOk : kExitFailed;
    }

    // CSV: the whole map as this tree has it, which import pairs with the other tree's records.
    if (maps.empty()) {
        err << kMessagePrefix << Text(TextId::CliDiffNothingToWrite) << "\n";
        return kExitOk;
    }
    if (maps.size() > 1) {
        err << kMessagePrefix << Format(TextId::CliDiffNameTheMap, {std::to_string(maps.size())}) << "\n";
        for (const MapDiff& m : maps) err << "  " << MapTitle(m.ours ? *m.ours : *m.theirs) << "\n";
        return kExitUsage;
    }
    const MapDiff& m = maps.front();
    if (!m.ours || !m.theirs) {
        err << kMessagePrefix
            << Format(TextId::CliDiffMapOneSide, {MapTitle(m.ours ? *m.ours : *m.theirs),
                                                 Why(m.ours ? CarryProblem::MapOnlyHere : CarryProblem::MapOnlyThere)})
            << "\n";
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
            err << kMessagePrefix << Format(TextId::CliDiffNotCarriedAt, {EscapeUndecodable(f.relative), Why(f.problem)})
                << "\n";
        for (const PlacementDiff& p : f.placements)
            if (p.problem != CarryProblem::None && p.problem != f.problem)
                err << kMessagePrefix
                    << Format(TextId::CliDiffNotCarriedAt,
                              {EscapeUndecodable(f.relative) + " " + KeyNumbers(p.key), Why(p.problem)})
                    << "\n";
    }
    err << Format(TextId::CliDiffApplyWith, {theirs->ServerDirectory(), std::to_string(m.theirs->index)}) << "\n";
    return kExitFailed;
}

}  // namespace morvi::cli
