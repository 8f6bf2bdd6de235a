#pragma once
// The one walk over the placement records of a region file image.
//
// Records start at 2112 and lie back to back; each is PlacementLength bytes long (61, or 60 +
// the length byte for a script record). A reader walks them either by the header's count (as
// the loader and a modify do: records counted but absent, and the missing part of a cut-off
// record, read as zeros) or from 2112 to the end of the file whatever the count says (as a
// remove and `check` do). Everything that keeps the records from tiling the file exactly is
// told to a RegionReporter as it is found; the walk itself carries on as described above.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/region/NpcPlacement.h"

namespace morvi {

class FileReadAhead;
struct FileStamp;

enum class RegionDefectKind {
    HeaderCutOff,          // the file ends inside the 12-byte section header
    CutOffRecord,          // the file ends inside a record's 61-byte block
    LengthPastEnd,         // the block is whole, but its script length runs past the end
    BytesAfterLastRecord,  // bytes follow the last counted record
    CountAboveRecords,     // the count promises more records than the file holds
};

struct RegionDefect {
    RegionDefectKind kind;
    size_t offset = 0;     // where it begins: the record, the first byte after the last
                           // counted record, the end of the file (count above), or 2100
    size_t length = 0;     // CutOffRecord/LengthPastEnd: the record's length; BytesAfter:
                           // the number of bytes that follow; HeaderCutOff: the file size
    size_t present = 0;    // CutOffRecord/LengthPastEnd: the bytes of the record in the file
    int count = 0;         // the header's placementCount
    int records = 0;       // the whole records that tile the file from 2112 (as far as known
                           // when the defect is reported)
};

// Told about each defect as the walk meets it, as a log reader tells its reporter.
class RegionReporter {
public:
    virtual ~RegionReporter() = default;
    virtual void Corruption(const RegionDefect& defect) = 0;
};

// A reporter that keeps every defect.
class RegionDefectList : public RegionReporter {
public:
    void Corruption(const RegionDefect& defect) override { defects.push_back(defect); }
    bool Has(RegionDefectKind kind) const;
    std::vector<RegionDefect> defects;
};

struct RegionRecord {
    NpcPlacement block{};     // zero where the file ends inside the block
    std::string_view script;  // script record: the stored path, dropCountOrScriptLength bytes
                              // (zero where the file ends inside it); else empty. Valid until
                              // the next call on the reader.
    size_t offset = 0;        // where the record starts in the file
    size_t length = 0;        // PlacementLength(block)
    int index = 0;            // 0 for the first record
    bool complete = true;     // the whole record lies inside the file
    bool present = true;      // at least one byte of it lies inside the file
};

class RegionRecordReader {
public:
    enum class Walk {
        ByCount,   // placementCount records
        ToEnd,     // every record that starts before the end of the file
    };

    explicit RegionRecordReader(RegionReporter* reporter = nullptr) : m_reporter(reporter) {}

    // Reads the whole file into the reader's own buffer (its capacity is kept from file to
    // file) and starts a walk. False when the file cannot be opened or is not a regular file.
    bool Open(const std::string& path, Walk walk = Walk::ByCount);
    // The same for file `index` of a read-ahead list (see FileReadAhead.h); `stamp`, when
    // given, receives the file's stamp as it was read.
    bool Open(FileReadAhead& files, size_t index, Walk walk = Walk::ByCount, FileStamp* stamp = nullptr);
    // Starts a walk over an image the caller holds; it must stay unchanged until the walk ends.
    void Reset(std::string_view image, Walk walk = Walk::ByCount);

    std::string_view Image() const { return m_image; }
    const SectionHeader& Header() const { return m_header; }
    uint16_t Count() const { return HeaderPlacementCount(m_header); }

    // The next record; false when the walk is over (the end-of-walk defects, such as bytes
    // after the last counted record, are reported then).
    bool Next(RegionRecord& record);

    // After the walk: where the last record yielded ends (2112 when there was none); may lie
    // past the end of the image when the last record was cut off.
    size_t EndOffset() const { return m_offset; }
    // After the walk: the whole records that tile the file from 2112 up to EndOffset.
    int CompleteRecords() const { return m_complete; }

private:
    void Report(RegionDefectKind kind, size_t offset, size_t length = 0, size_t present = 0);
    void FinishWalk();

    RegionReporter* m_reporter;
    std::string m_buffer;          // the image read by Open
    std::string_view m_image;
    SectionHeader m_header{};
    Walk m_walk = Walk::ByCount;
    size_t m_offset = 0;
    int m_index = 0;
    int m_complete = 0;
    bool m_done = true;
    bool m_countAboveReported = false;
    std::string m_cutScript;       // a script path cut off by the end, zero-padded
};

// Decodes one record at `offset` of an image the way a walk reads it (zeros where the image
// ends); `script` may point into `image` or into `scratch`. Returns PlacementLength.
size_t DecodeRecordAt(std::string_view image, size_t offset, NpcPlacement& block, std::string_view& script,
                      std::string& scratch);

// Whether the counted records tile the image exactly: no defect at all in a by-count walk.
// A file of at most 2112 bytes whose count is 0 holds no records and counts as tiled.
bool RecordsTileImage(std::string_view image, RegionReporter* reporter = nullptr);

}  // namespace morvi
