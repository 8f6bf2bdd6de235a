#include "cli/RegionScan.h"

#include "data/AtomicFile.h"
#include "dialog/CPlacementDlg.h"

namespace morvi::cli {
namespace {

constexpr int kCoordinateLimit = 1000;

}  // namespace

bool ScanRegionFile(const std::string& path, RegionScan& out) {
    out = RegionScan{};
    out.path = path;
    if (!ReadWholeFile(path, out.image)) return false;
    out.count = HeaderPlacementCount(HeaderFromImage(out.image));
    size_t offset = static_cast<size_t>(kFirstRecordOffset);
    out.counted.reserve(out.count);
    for (uint16_t i = 0; i < out.count; ++i) {
        ScannedRecord r;
        r.offset = offset;
        const size_t next = ParsePlacementAt(out.image, offset, &r.record);
        r.length = next - offset;
        r.complete = next <= out.image.size();
        out.counted.push_back(std::move(r));
        offset = next;
    }
    return true;
}

std::vector<std::string> HiddenReasons(const NpcPlacement& p, int templateCount) {
    std::vector<std::string> reasons;
    if (p.name[0] == 0 && p.name[1] == 0) reasons.push_back("empty name");
    if (p.TemplateIndex() == 0)
        reasons.push_back("template index 0");
    else if (p.TemplateIndex() >= templateCount)
        reasons.push_back("template index " + std::to_string(p.TemplateIndex()) +
                          " not below the template count " + std::to_string(templateCount));
    if (p.PosX() >= kCoordinateLimit) reasons.push_back("x " + std::to_string(p.PosX()) + " not below 1000");
    if (p.PosYDoubled() >= kCoordinateLimit)
        reasons.push_back("stored y " + std::to_string(p.PosYDoubled()) + " (y " + std::to_string(p.PosY()) +
                          ") not below 1000");
    return reasons;
}

RowTexts WindowRow(const PlacementRecord& record, const std::string& file) {
    RowTexts row = CPlacementDlg::FormatRow(record.block, record.script);
    row[COL_FILE] = file;
    return row;
}

}  // namespace morvi::cli
