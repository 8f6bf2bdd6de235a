#include "document/ServerSearch.h"

#include <filesystem>
#include <system_error>

#include "data/platform/FileReadAhead.h"
#include "data/platform/WidePath.h"
#include "data/region/ListingRule.h"
#include "data/region/MapRegionFiles.h"
#include "data/region/RegionRecordReader.h"

namespace morvi {

SearchSummary SearchServer(const std::vector<ServerMap>& maps, int templateCount, const PlacementFilter& filter,
                           const FoundSink& found, const SearchProgressSink& progress,
                           const std::atomic<bool>* cancel) {
    SearchSummary summary;
    SearchProgress told;
    told.mapsTotal = maps.size();
    const auto stopped = [&] { return cancel && cancel->load(std::memory_order_relaxed); };
    // The matches of one map in load order, with their listed ordinal: rows are known once the
    // map's last file is read.
    struct Match {
        size_t file;
        PlacementRecord record;
        int ordinal;
    };
    std::vector<Match> matches;
    RegionRecordReader reader;
    PlacementRecord probe;
    for (const ServerMap& map : maps) {
        if (stopped()) {
            summary.cancelled = true;
            break;
        }
        std::error_code ec;
        if (map.directory.empty() || !std::filesystem::is_directory(FsPath(map.directory), ec)) {
            summary.skipped.push_back({map.index, SearchSkip::MapDirectoryMissing, map.directory});
            ++told.mapsDone;
            if (progress) progress(told);
            continue;
        }
        const std::vector<std::string> files = ListMapRegionFiles(map.directory);
        told.filesTotal = files.size();
        told.filesDone = 0;
        matches.clear();
        int listed = 0;
        FileReadAhead readAhead(files);
        for (size_t i = 0; i < files.size(); ++i) {
            if (stopped()) {
                summary.cancelled = true;
                break;
            }
            if (!reader.Open(readAhead, i, RegionRecordReader::Walk::ByCount)) {
                summary.skipped.push_back({map.index, SearchSkip::FileUnreadable, files[i]});
            } else {
                for (RegionRecord r; reader.Next(r);) {
                    ++summary.records;
                    if (!PassesListingRules(r.block, templateCount)) continue;
                    const int ordinal = listed++;
                    // One record reused from record to record: its script keeps its capacity.
                    probe.block = r.block;
                    probe.script.assign(r.block.HasScript() ? r.script : std::string_view());
                    if (filter.Matches(probe, files[i])) matches.push_back({i, probe, ordinal});
                }
            }
            ++told.filesDone;
            if (progress) progress(told);
        }
        if (summary.cancelled) break;
        ++summary.maps;
        if (!matches.empty()) ++summary.mapsWithFound;
        // Row 0 is the last record listed.
        for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
            FoundPlacement f;
            f.mapIndex = map.index;
            f.map = &map;
            f.file = files[it->file];
            f.record = std::move(it->record);
            f.row = listed - 1 - it->ordinal;
            ++summary.found;
            if (found) found(f);
        }
        told.found = summary.found;
        ++told.mapsDone;
        if (progress) progress(told);
    }
    return summary;
}

}  // namespace morvi
