// `find FILTER`: the placements of every map that match a filter, each row with its map's
// index and name and the row the map's list shows it in.

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/RowJson.h"
#include "cli/RowOutput.h"
#include "document/PlacementFilter.h"
#include "document/ServerSearch.h"
#include "texts/ProgramTexts.h"

namespace morvi::cli {
int RunFind(const CommonOptions& common, const std::string& filterText, const std::string& formatText,
            std::ostream& out, std::ostream& err) {
    const std::optional<OutputFormat> format = ParseFormat(formatText);
    if (!format) {
        err << kMessagePrefix << Format(TextId::CliUnknownFormat, {formatText}) << "\n";
        return kExitUsage;
    }
    const std::optional<PlacementFilter> filter = ParseFilter(filterText, err);
    if (!filter) return kExitUsage;
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const auto maps = ReadServerMaps(session->ServerDirectory());
    if (!maps) return kExitUsage;   // the session has read the same list

    static const std::vector<std::string> kFirstColumns = {"map", "map_name", "row"};
    std::vector<std::string> header = kFirstColumns;
    for (const std::string& c : ExportColumns()) header.push_back(c);
    std::vector<std::vector<std::string>> table;
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    if (*format == OutputFormat::Table) table.push_back(header);
    if (*format == OutputFormat::Csv) out << CsvLine(header) << "\n";
    std::string lastFile, lastShown;
    const auto sink = [&](const FoundPlacement& f) {
        if (f.file != lastFile) {
            lastFile = f.file;
            lastShown = session->RelativeFile(f.file);
        }
        const RowTexts texts = RecordTexts(f.record, lastShown);
        std::vector<std::string> line = {std::to_string(f.mapIndex), EscapeUndecodable(f.map->name), std::to_string(f.row)};
        for (const std::string& cell : texts) line.push_back(EscapeUndecodable(cell));
        switch (*format) {
            case OutputFormat::Table: table.push_back(std::move(line)); break;
            case OutputFormat::Csv: out << CsvLine(line) << "\n"; break;
            case OutputFormat::Json: {
                nlohmann::ordered_json j;
                j["map"] = f.mapIndex;
                j["map_name"] = line[1];
                j["row"] = f.row;
                RowTexts cells;
                for (size_t c = 0; c < cells.size(); ++c) cells[c] = line[c + 3];
                AddRowMembers(j, cells);
                array.push_back(std::move(j));
                break;
            }
        }
    };
    const SearchSummary summary = SearchServer(*maps, session->TemplateCount(), *filter, sink);
    if (*format == OutputFormat::Table && table.size() > 1) out << FormatTable(table);
    if (*format == OutputFormat::Json) out << array.dump(2) << "\n";
    out.flush();
    for (const SearchSkipped& s : summary.skipped) {
        const ServerMap& m = (*maps)[static_cast<size_t>(s.mapIndex)];
        err << kMessagePrefix
            << Format(TextId::CliFindMapSkipped, {std::to_string(m.index), EscapeUndecodable(m.name),
                                                  EscapeUndecodable(session->RelativeFile(s.path))})
            << "\n";
    }
    err << Format(TextId::CliFindSummary, {std::to_string(summary.found), std::to_string(summary.mapsWithFound),
                                           std::to_string(maps->size())})
        << "\n";
    return summary.found > 0 ? kExitOk : kExitFailed;
}

}  // namespace morvi::cli
