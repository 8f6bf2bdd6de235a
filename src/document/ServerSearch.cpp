#include "document/ServerSearch.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <unordered_map>
#include <system_error>

#include "data/platform/FileReadAhead.h"
#include "data/platform/WidePath.h"
#include "data/region/ListingRule.h"
#include "data/region/MapRegionFiles.h"
#include "data/region/RegionRecordReader.h"

namespace morvi {
namespace {

// Turns each match's place among the file's listed keys (`occurrence` on entry) into the
// number of listed records of its key before it. A few matches count by scanning; many are
// counted in one pass over the file's keys.
template <typename It>
void CountOccurrences(const std::vector<PlacementKey>& keys, It first, It last) {
    constexpr std::ptrdiff_t kScanAtMost = 16;
    if (last - first <= kScanAtMost) {
        for (It m = first; m != last; ++m) {
            const PlacementKey key = keys[static_cast<size_t>(m->occurrence)];
            m->occurrence = static_cast<int>(std::count(keys.begin(), keys.begin() + m->occurrence, key));
        }
        return;
    }
    const auto hash = [](const PlacementKey& k) {
        return std::hash<uint64_t>()((static_cast<uint64_t>(static_cast<uint32_t>(k.templateIndex)) << 40) ^
                                     (static_cast<uint64_t>(static_cast<uint32_t>(k.posX)) << 20) ^
                                     static_cast<uint64_t>(static_cast<uint32_t>(k.posY)) ^
                                     (static_cast<uint64_t>(static_cast<uint8_t>(k.offsetX)) << 56) ^
                                     (static_cast<uint64_t>(static_cast<uint8_t>(k.offsetY)) << 48));
    };
    std::unordered_map<PlacementKey, int, decltype(hash)> seen(keys.size(), hash);
    std::vector<int> before(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) before[i] = seen[keys[i]]++;
    for (It m = first; m != last; ++m) m->occurrence = before[static_cast<size_t>(m->occurrence)];
}

}  // namespace

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
        int occurrence = 0;
    };
    std::vector<Match> matches;
    // The keys of the current file's listed records, in file order (capacity kept).
    std::vector<PlacementKey> fileKeys;
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
                fileKeys.clear();
                const size_t firstMatch = matches.size();
                for (RegionRecord r; reader.Next(r);) {
                    ++summary.records;
                    if (!PassesListingRules(r.block, templateCount)) continue;
                    const int ordinal = listed++;
                    fileKeys.push_back(KeyOfPlacement(r.block));
                    // One record reused from record to record: its script keeps its capacity.
                    probe.block = r.block;
                    probe.script.assign(r.block.HasScript() ? r.script : std::string_view());
                    if (filter.Matches(probe, files[i]))
                        matches.push_back({i, probe, ordinal, static_cast<int>(fileKeys.size() - 1)});
                }
                CountOccurrences(fileKeys, matches.begin() + static_cast<std::ptrdiff_t>(firstMatch), matches.end());
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
            f.occurrence = it->occurrence;
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
