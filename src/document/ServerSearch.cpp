#include "document/ServerSearch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
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

// Walks the counted records of an image as a by-count walk of RegionRecordReader does (zeros
// where the image ends), handing each record's block and stored script to `visit`, which
// returns false to stop. A record that lies wholly inside the image, as nearly all do, is taken
// straight from it; only one near the end goes through the reader's own decoding.
template <typename Visit>
void WalkCountedRecords(std::string_view image, int count, std::string& scratch, Visit&& visit) {
    constexpr size_t kLongestRecord = kPlacementBlockSize - 1 + kMaxScriptLength;
    const size_t size = image.size();
    size_t offset = static_cast<size_t>(kFirstRecordOffset);
    NpcPlacement block;
    std::string_view script;
    for (int index = 0; index < count; ++index) {
        size_t length;
        if (offset < size && size - offset >= kLongestRecord) {
            std::memcpy(block.Bytes(), image.data() + offset, kPlacementBlockSize);
            length = PlacementLength(block);
            // The block's last byte is the first byte of the path.
            script = block.HasScript() ? image.substr(offset + kPlacementBlockSize - 1, block.dropCountOrScriptLength)
                                       : std::string_view();
        } else {
            length = DecodeRecordAt(image, offset, block, script, scratch);
        }
        if (!visit(block, script)) return;
        offset += length;
    }
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
    // The keys of a file's listed records, in file order, gathered only for a file with a match
    // (capacity kept).
    std::vector<PlacementKey> fileKeys;
    RegionRecordReader reader;
    std::string scratch;   // a script path cut off by the end of its file
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
        // Read here, file after file: the work per record is small beside the read, so a reader
        // thread would mostly hand buffers over, and on a busy machine its wake-ups cost more
        // than the overlap saves. A cold disk is still asked for the next files ahead.
        FileReadAhead readAhead(files, 16, FileReadAhead::Reader::Caller);
        for (size_t i = 0; i < files.size(); ++i) {
            if (stopped()) {
                summary.cancelled = true;
                break;
            }
            if (!reader.Open(readAhead, i, RegionRecordReader::Walk::ByCount)) {
                summary.skipped.push_back({map.index, SearchSkip::FileUnreadable, files[i]});
            } else {
                // The filter looks at the record's bytes where the file holds them; only a match
                // is copied. Its `occurrence` holds its place among the file's listed records
                // until the occurrences are counted below.
                const int firstListed = listed;
                const size_t firstMatch = matches.size();
                const std::string_view image = reader.Image();
                const int count = reader.Count();
                summary.records += static_cast<size_t>(count);
                WalkCountedRecords(image, count, scratch, [&](const NpcPlacement& block, std::string_view script) {
                    if (!PassesListingRules(block, templateCount)) return true;
                    const int ordinal = listed++;
                    if (!filter.Matches(block, script, files[i])) return true;
                    Match& m = matches.emplace_back();
                    m.file = i;
                    m.record.block = block;
                    if (block.HasScript()) m.record.script.assign(script);
                    m.ordinal = ordinal;
                    m.occurrence = ordinal - firstListed;
                    return true;
                });
                if (matches.size() > firstMatch) {
                    // Walked again, for the keys, only where something matched, and only up to
                    // the last match.
                    const size_t keysNeeded = static_cast<size_t>(matches.back().occurrence) + 1;
                    fileKeys.clear();
                    WalkCountedRecords(image, count, scratch, [&](const NpcPlacement& block, std::string_view) {
                        if (PassesListingRules(block, templateCount)) fileKeys.push_back(KeyOfPlacement(block));
                        return fileKeys.size() < keysNeeded;
                    });
                    CountOccurrences(fileKeys, matches.begin() + static_cast<std::ptrdiff_t>(firstMatch),
                                     matches.end());
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
