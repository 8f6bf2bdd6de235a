#include "data/region/RegionFile.h"

#include "data/region/RegionRecordReader.h"

namespace morvi {
bool RegionPlacementReader::Open(const std::string& path) { return m_reader.Open(path); }

bool RegionPlacementReader::Next(NpcPlacement& block, std::string_view& script) {
    if (!m_reader.Next(m_record)) return false;
    block = m_record.block;
    script = m_record.script;
    return true;
}

bool ReadRegionPlacements(const std::string& path, std::vector<PlacementRecord>& out) {
    out.clear();
    RegionRecordReader reader;
    if (!reader.Open(path)) return false;
    out.reserve(reader.Count());
    RegionRecord r;
    while (reader.Next(r)) {
        PlacementRecord& record = out.emplace_back();
        record.block = r.block;
        record.script.assign(r.script);
    }
    return true;
}

}  // namespace morvi
