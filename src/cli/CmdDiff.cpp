// `diff OTHER_SERVER [MAP]`: the placements this tree adds, changes and removes compared with
// another server tree, by map, file and key; `--format csv` writes the one map that differs
// (or MAP) in the export's shape, which `import` on the other tree turns into exactly those
// changes. What import cannot carry is named on the standard error. `--format json` gives the
// differences of every map as one document, with stable codes for what import cannot carry.

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/RowJson.h"
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

// Stable codes of what import cannot carry (the JSON format's data, not texts).
const char* CarryCode(CarryProblem problem) {
    switch (problem) {
        case CarryProblem::None: return nullptr;
        case CarryProblem::HiddenHere: return "hidden_here";
        case CarryProblem::HiddenThere: return "hidden_there";
        case CarryProblem::NotAtEnd: return "not_at_end";
        case CarryProblem::OrderDiffers: return "order_differs";
        case CarryProblem::BytesNotShown: return "bytes_not_shown";
        case CarryProblem::NotRepresentable: return "not_representable";
        case CarryProblem::KeyShared: return "key_shared";
        case CarryProblem::FileOnlyHere: return "file_only_here";
        case CarryProblem::FileOnlyThere: return "file_only_there";
        case CarryProblem::ForeignDiffers: return "foreign_differs";
        case CarryProblem::MapOnlyHere: return "map_only_here";
        case CarryProblem::MapOnlyThere: return "map_only_there";
        case CarryProblem::Unreadable: return "unreadable";
    }
    return nullptr;
}

nlohmann::ordered_json CarryJson(CarryProblem problem) {
    const char* code = CarryCode(problem);
    return code ? nlohmann::ordered_json(code) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json MapJson(const std::optional<ServerMap>& m) {
    if (!m) return nullptr;
    nlohmann::ordered_json j;
    j["index"] = m->index;
    j["name"] = EscapeUndecodable(m->name);
    j["directory"] = EscapeUndecodable(m->entry);
    return j;
}

nlohmann::ordered_json RecordJson(const std::optional<PlacementRecord>& r) {
    if (!r) return nullptr;
    nlohmann::ordered_json j;
    RowTexts cells = RecordTexts(*r, {});
    for (std::string& cell : cells) cell = EscapeUndecodable(cell);
    AddRowMembers(j, cells, false);
    return j;
}

nlohmann::ordered_json PlacementJson(const PlacementDiff& p) {
    nlohmann::ordered_json j;
    j["kind"] = p.kind == DiffKind::Added ? "added" : p.kind == DiffKind::Changed ? "changed" : "removed";
    j["key"] = {{"template", p.key.templateIndex}, {"x", p.key.posX}, {"y", p.key.posY},
                {"offset_x", p.key.offsetX}, {"offset_y", p.key.offsetY}};
    j["occurrence"] = p.occurrence;
    nlohmann::ordered_json fields = nlohmann::ordered_json::array();
    if (p.kind == DiffKind::Changed) {
        const RowTexts before = RecordTexts(*p.theirs, {});
        const RowTexts after = RecordTexts(*p.ours, {});
        for (int c = 0; c < kPlacementColumnCount; ++c) {
            const size_t k = static_cast<size_t>(c);
            if (c == COL_FILE || before[k] == after[k]) continue;
            fields.push_back({{"column", kColumnNames[c]}, {"before", EscapeUndecodable(before[k])},
                              {"after", EscapeUndecodable(after[k])}});
        }
    }
    j["fields"] = std::move(fields);
    j["hidden_bytes_differ"] = (p.fields & kDiffHidden) != 0;
    j["ours"] = RecordJson(p.ours);
    j["theirs"] = RecordJson(p.theirs);
    j["not_carried"] = CarryJson(p.problem);
    return j;
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

nlohmann::ordered_json DiffJson(const std::vector<MapDiff>& maps) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const MapDiff& m : maps) {
        const Counts c = CountOf(m);
        nlohmann::ordered_json j;
        j["map"] = MapJson(m.ours);
        j["other_map"] = MapJson(m.theirs);
        j["not_carried"] = CarryJson(!m.ours ? CarryProblem::MapOnlyThere
                                     : !m.theirs ? CarryProblem::MapOnlyHere
                                                 : CarryProblem::None);
        j["added"] = c.added;
        j["changed"] = c.changed;
        j["removed"] = c.removed;
        nlohmann::ordered_json files = nlohmann::ordered_json::array();
        for (const FileDiff& f : m.files) {
            nlohmann::ordered_json file;
            file["file"] = EscapeUndecodable(f.relative);
            file["here"] = !f.oursPath.empty();
            file["there"] = !f.theirsPath.empty();
            file["foreign_bytes_differ"] = f.foreignDiffers;
            file["not_carried"] = CarryJson(f.problem);
            nlohmann::ordered_json placements = nlohmann::ordered_json::array();
            for (const PlacementDiff& p : f.placements) placements.push_back(PlacementJson(p));
            file["placements"] = std::move(placements);
            files.push_back(std::move(file));
        }
        j["files"] = std::move(files);
        list.push_back(std::move(j));
    }
    return list;
}

}  // namespace

int RunDiff(const CommonOptions& common, const std::string& other, const std::optional<std::string>& map,
            const std::string& format, std::ostream& out, std::ostream& err) {
    if (format != "table" && format != "csv" && format != "json") {
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

    if (format == "table" || format == "json") {
        if (format == "json") out << DiffJson(maps).dump(2) << "\n";
        else
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
