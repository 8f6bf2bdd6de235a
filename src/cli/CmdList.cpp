// `maps` and `list` (and `export`, which is `list` for a program to read back).

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/RegionScan.h"
#include "cli/RowOutput.h"

namespace morvi::cli {
namespace {

std::string JoinReasons(const std::vector<std::string>& reasons) {
    std::string text;
    for (const std::string& r : reasons) text += (text.empty() ? "" : "; ") + r;
    return text;
}

// Every counted record of the map, listed or not, in the window's row order (the reverse of
// file order). Texts of listed records come from the window's own row formatting.
bool AllRecords(const Session& session, int map, std::vector<OutputRow>& rows, std::ostream& err) {
    bool ok = true;
    for (const std::string& path : session.MapRegionFiles(map)) {
        RegionScan scan;
        if (!ScanRegionFile(path, scan)) {
            err << "morvinpc: cannot read " << session.RelativeFile(path) << "\n";
            ok = false;
            continue;
        }
        for (const ScannedRecord& r : scan.counted) {
            OutputRow row;
            row.cells = WindowRow(r.record, session.RelativeFile(path));
            row.hidden = JoinReasons(HiddenReasons(r.record.block, session.TemplateCount()));
            rows.push_back(std::move(row));
        }
    }
    std::reverse(rows.begin(), rows.end());
    return ok;
}

}  // namespace

int RunMaps(const CommonOptions& common, const std::string& formatText, std::ostream& out, std::ostream& err) {
    const std::optional<OutputFormat> format = ParseFormat(formatText);
    if (!format) {
        err << "morvinpc: unknown format " << formatText << "\n";
        return kExitUsage;
    }
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;

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
            std::ostream& out, std::ostream& err) {
    const std::optional<OutputFormat> format = ParseFormat(formatText);
    if (!format) {
        err << "morvinpc: unknown format " << formatText << "\n";
        return kExitUsage;
    }
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;

    std::vector<OutputRow> rows;
    bool ok = true;
    if (all) {
        // The window never holds the records it hides, so they are read with the core.
        ok = AllRecords(*session, index, rows, err);
    } else {
        // The rows exactly as the window loads them.
        session->LoadMap(index);
        const HeadlessList& list = session->host.List();
        rows.reserve(static_cast<size_t>(list.RowCount()));
        for (int r = 0; r < list.RowCount(); ++r) {
            OutputRow row{list.Cells(r), {}};
            row.cells[COL_FILE] = session->RelativeFile(row.cells[COL_FILE]);
            rows.push_back(std::move(row));
        }
    }
    out << FormatRows(rows, *format, all);
    return ok ? kExitOk : kExitUsage;
}

}  // namespace morvi::cli
