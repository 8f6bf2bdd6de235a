// Reading a region file's NPC section the way a map load does, and listing every record
// through the row formatting. The input is the whole file. Checked:
// - the read never changes the file and yields exactly placementCount records;
// - the reader of the map load, ReadRegionPlacements and the stream operations agree record
//   by record (the count may be 65535: records past the end of the file all read as zeros,
//   so after the first of them only that they are zero is checked, and the whole-list reader
//   is compared only while the list is short);
// - the walk to the end of the file and the walk by count report a defect exactly when the
//   counted records do not tile the file, and the records they yield start where the lengths
//   say;
// - every row text is valid UTF-8, and the name and script cells encode back to the stored
//   bytes (up to a zero byte of the script path).

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "data/text/GbkCodec.h"
#include "data/region/NpcPlacement.h"
#include "data/region/RegionFile.h"
#include "data/region/RegionRecordReader.h"
#include "document/PlacementRowFormatter.h"

using namespace morvi;
using morvi::fuzz::ScratchPath;

namespace {

constexpr size_t kWholeListLimit = 512;

bool SameRecord(const NpcPlacement& block, std::string_view script, const PlacementRecord& r) {
    return std::memcmp(block.Bytes(), r.block.Bytes(), kPlacementBlockSize) == 0 && script == r.script;
}

bool IsZero(const NpcPlacement& block, std::string_view script) {
    static const NpcPlacement zero{};
    return std::memcmp(block.Bytes(), zero.Bytes(), kPlacementBlockSize) == 0 && script.empty();
}

void CheckRow(const NpcPlacement& block, std::string_view script) {
    std::array<std::string, kPlacementColumnCount> row;
    for (int column = 0; column < kPlacementColumnCount; ++column)
        row[static_cast<size_t>(column)] = PlacementRowFormatter::Cell(block, script, "file", column);
    for (const std::string& cell : row) MORVI_FUZZ_CHECK(Utf8ToGbk(cell).has_value());
    MORVI_FUZZ_CHECK(*Utf8ToGbk(row[COL_NAME]) == block.Name());
    if (block.HasScript()) {
        MORVI_FUZZ_CHECK(*Utf8ToGbk(row[COL_SCRIPT]) == script.substr(0, script.find('\0')));
        MORVI_FUZZ_CHECK(row[COL_DROP].empty());
    } else {
        MORVI_FUZZ_CHECK(row[COL_DROP] == std::to_string(block.dropCountOrScriptLength));
        MORVI_FUZZ_CHECK(row[COL_SCRIPT].empty());
    }
    MORVI_FUZZ_CHECK(row[COL_POS_X] == std::to_string(block.PosX()));
    MORVI_FUZZ_CHECK(row[COL_POS_Y] == std::to_string(block.PosYDoubled() >> 1));
    MORVI_FUZZ_CHECK(row[COL_TEMPLATE] == std::to_string(block.TemplateIndex()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = ScratchPath("r1_S.DAT");
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    morvi::fuzz::PutFile(path, image);
    const uint16_t count = HeaderPlacementCount(HeaderFromImage(image));

    std::vector<PlacementRecord> whole;
    if (count <= kWholeListLimit) {
        MORVI_FUZZ_CHECK(ReadRegionPlacements(path, whole));
        MORVI_FUZZ_CHECK(whole.size() == count);
    }

    RegionPlacementReader reader;
    MORVI_FUZZ_CHECK(reader.Open(path));
    MORVI_FUZZ_CHECK(reader.Count() == count);
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    MORVI_FUZZ_CHECK(stream != nullptr);
    MORVI_FUZZ_CHECK(ReadNpcSectionHeader(stream) == count);

    NpcPlacement block;
    std::string_view script;
    size_t index = 0, offset = kFirstRecordOffset;
    bool pastEnd = false;   // a record starting at or after the end of the file was checked
    while (reader.Next(block, script)) {
        MORVI_FUZZ_CHECK(index < count);
        const bool present = offset < image.size();
        if (!present) MORVI_FUZZ_CHECK(IsZero(block, script));
        if (present || !pastEnd) {
            MORVI_FUZZ_CHECK(script.size() == (block.HasScript() ? block.dropCountOrScriptLength : 0u));
            MORVI_FUZZ_CHECK(SameRecord(block, script, ReadPlacement(stream)));
            CheckRow(block, script);
            pastEnd = !present;
        }
        if (index < whole.size()) MORVI_FUZZ_CHECK(SameRecord(block, script, whole[index]));
        offset += PlacementLength(block);
        ++index;
    }
    std::fclose(stream);
    MORVI_FUZZ_CHECK(index == count);

    // Tiling, judged independently: the counted records end exactly at the end of the file
    // (a file of at most 2112 bytes with a count of 0 holds none and is tiled).
    size_t end = kFirstRecordOffset;
    bool complete = true;
    {
        RegionRecordReader byCount;
        byCount.Reset(image);
        RegionRecord r;
        for (size_t i = 0; i < count; ++i) {
            MORVI_FUZZ_CHECK(byCount.Next(r) && r.offset == end);
            complete = complete && end + r.length <= image.size();
            end += r.length;
        }
        MORVI_FUZZ_CHECK(!byCount.Next(r));
    }
    const bool tiled = count == 0 ? image.size() <= static_cast<size_t>(kFirstRecordOffset) : complete && end == image.size();
    RegionDefectList defects;
    MORVI_FUZZ_CHECK(RecordsTileImage(image, &defects) == tiled);
    RegionDefectList toEndDefects;
    RegionRecordReader toEnd(&toEndDefects);
    toEnd.Reset(image, RegionRecordReader::Walk::ToEnd);
    RegionRecord r;
    size_t at = kFirstRecordOffset;
    while (toEnd.Next(r)) {
        MORVI_FUZZ_CHECK(r.offset == at && r.offset < image.size());
        at += r.length;
    }
    bool toEndClean = true;
    for (const RegionDefect& d : toEndDefects.defects) toEndClean = toEndClean && d.kind == RegionDefectKind::HeaderCutOff;
    MORVI_FUZZ_CHECK(toEndClean == tiled);
    MORVI_FUZZ_CHECK(morvi::fuzz::GetFile(path) == image);
    return 0;
}
