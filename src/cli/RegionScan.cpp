#include "cli/RegionScan.h"

#include "data/region/ListingRule.h"
#include "data/region/RegionRecordReader.h"

namespace morvi::cli {

bool ScanRegionFile(const std::string& path, RegionScan& out) {
    out = RegionScan{};
    out.path = path;
    RegionRecordReader reader;
    if (!reader.Open(path)) return false;
    out.image.assign(reader.Image());
    out.count = reader.Count();
    out.counted.reserve(out.count);
    RegionRecord r;
    while (reader.Next(r)) {
        ScannedRecord& scanned = out.counted.emplace_back();
        scanned.record.block = r.block;
        scanned.record.script.assign(r.script);
        scanned.offset = r.offset;
        scanned.length = r.length;
        scanned.complete = r.complete;
    }
    return true;
}

std::vector<std::string> HiddenReasons(const NpcPlacement& p, int templateCount) {
    return BrokenListingRules(p, templateCount);
}

}  // namespace morvi::cli
