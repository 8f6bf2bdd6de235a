// `maps` and `list` (and `export`, which is `list` for a program to read back).

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/RowOutput.h"
#include "data/region/RegionRecordReader.h"
#include "texts/ProgramTexts.h"

namespace morvi::cli {
namespace {

// Every counted record of the map, listed or not, in the window's row order (the reverse of
// file order), in a row store of its own: the window never holds the records it hides.
bool AllRecords(const Session& session, int map, PlacementRowStore& rows, std::ostream& err) {
    bool ok = true;
    RegionRecordReader reader;
    for (const std::string& path : session.MapRegionFiles(map)) {
        if (!reader.Open(path)) {
            err << kMessagePrefix << Format(TextId::CliCannotRead, {session.RelativeFile(path)}) << "\n";
            ok = false;
            continue;
        }
        const uint32_t file = rows.InternFile(path);
        for (RegionRecord record; reader.Next(record);) rows.InsertTop(file, record.block, record.script);
    }
    return ok;
}

}  // namespace

int RunMaps(const CommonOptions& common, const std::string& formatText, std::ostream& out, std::ostream& err) {
    const std::optional<OutputFormat> format = ParseFormat(formatText);
    if (!format) {
        err << kMessagePrefix << Format(TextId::CliUnknownFormat, {formatText}) << "\n";
        return kExitUsage;
    }
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;

    // The JSON keys and the heading are a data format, which programs read: not texts.
    if (*format == OutputFormat::Json) {
        nlohmann::ordered_json array = nlohmann::ordered_json::array();
        for (int i = 0; i < session->MapCount(); ++i)
            array.push_back({{"index", i},
                             {"name", EscapeUndecodable(session->MapName(i))},
                             {"directory", EscapeUndecodable(session->MapDirectoryEntry(i))}});
        out << array.dump(2) << "\n";
        return kExitOk;
    }
    std::vector<std::vector<std::string>> lines = {{"index", "name", "directory"}};
    for (int i = 0; i < session->MapCount(); ++i)
        lines.push_back({std::to_string(i), EscapeUndecodable(session->MapName(i)),
                         EscapeUndecodable(session->MapDirectoryEntry(i))});
    if (*format == OutputFormat::Table) {
        out << FormatTable(lines);
    } else {
        for (const auto& line : lines) out << CsvLine(line) << "\n";
    }
    return kExitOk;
}

int RunList(const CommonOptions& common, const std::string& map, const std::string& formatText, bool all,
            const std::optional<std::string>& where, std::ostream& out, std::ostream& err) {
    const std::optional<OutputFormat> format = ParseFormat(formatText);
    if (!format) {
        err << kMessagePrefix << Format(TextId::CliUnknownFormat, {formatText}) << "\n";
        return kExitUsage;
    }
    std::optional<PlacementFilter> filter;
    if (where) {
        filter = ParseFilter(*where, err);
        if (!filter) return kExitUsage;
    }
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;

    RowPrintOptions print;
    print.format = *format;
    print.fileText = [&session](const std::string& path) { return session->RelativeFile(path); };
    print.withHidden = all;
    print.templateCount = session->TemplateCount();
    bool ok = true;
    PlacementRowStore records;
    if (all) {
        ok = AllRecords(*session, index, records, err);
    } else {
        // The rows exactly as the window loads them.
        session->LoadMap(index);
    }
    const PlacementRowStore& rows = all ? records : session->Rows();
    if (!filter) {
        PrintRows(rows, print, out);
        out.flush();
        return ok ? kExitOk : kExitUsage;
    }
    const std::vector<int> matching = MatchingRows(rows, *filter);
    PlacementRowStore shown;
    for (auto it = matching.rbegin(); it != matching.rend(); ++it) shown.InsertTop(rows.File(*it), rows.Record(*it));
    PrintRows(shown, print, out);
    out.flush();
    err << Format(TextId::CliListMatched, {std::to_string(matching.size()), std::to_string(rows.Count())}) << "\n";
    // As `find`: nothing matching is told by the status too.
    if (!ok) return kExitUsage;
    return matching.empty() ? kExitFailed : kExitOk;
}

}  // namespace morvi::cli
