#include "data/region/RegionRecordReader.h"

#include <algorithm>
#include <cstring>

#include "data/platform/FileReadAhead.h"

namespace morvi {

bool RegionDefectList::Has(RegionDefectKind kind) const {
    return std::any_of(defects.begin(), defects.end(), [kind](const RegionDefect& d) { return d.kind == kind; });
}

size_t DecodeRecordAt(std::string_view image, size_t offset, NpcPlacement& block, std::string_view& script,
                      std::string& scratch) {
    const size_t size = image.size();
    if (offset < size && size - offset >= kPlacementBlockSize) {
        // The usual case, the whole block in the image: one copy of a known length.
        std::memcpy(block.Bytes(), image.data() + offset, kPlacementBlockSize);
    } else {
        const size_t available = offset < size ? size - offset : 0;
        if (available) std::memcpy(block.Bytes(), image.data() + offset, available);
        std::memset(block.Bytes() + available, 0, kPlacementBlockSize - available);
    }
    script = {};
    if (block.HasScript()) {
        // The block's last byte is the first byte of the path.
        const size_t start = offset + kPlacementBlockSize - 1;
        const size_t length = block.dropCountOrScriptLength;
        if (start + length <= size) {
            script = image.substr(start, length);
        } else {
            scratch.assign(length, '\0');
            if (start < size) std::memcpy(scratch.data(), image.data() + start, size - start);
            script = scratch;
        }
    }
    return PlacementLength(block);
}

bool RegionRecordReader::Open(const std::string& path, Walk walk) {
    const bool ok = ReadRegularFile(path, m_buffer);
    Reset(m_buffer, walk);
    return ok;
}

bool RegionRecordReader::Open(FileReadAhead& files, size_t index, Walk walk, FileStamp* stamp) {
    const bool ok = files.Read(index, m_buffer, stamp);
    Reset(m_buffer, walk);
    return ok;
}

void RegionRecordReader::Reset(std::string_view image, Walk walk) {
    m_image = image;
    m_header = HeaderFromImage(image);
    m_walk = walk;
    m_offset = static_cast<size_t>(kFirstRecordOffset);
    m_index = 0;
    m_complete = 0;
    m_done = false;
    m_countAboveReported = false;
    if (image.size() > static_cast<size_t>(kNpcSectionOffset) && image.size() < static_cast<size_t>(kFirstRecordOffset))
        Report(RegionDefectKind::HeaderCutOff, static_cast<size_t>(kNpcSectionOffset), image.size());
}

void RegionRecordReader::Report(RegionDefectKind kind, size_t offset, size_t length, size_t present) {
    if (!m_reporter) return;
    RegionDefect defect{kind};
    defect.offset = offset;
    defect.length = length;
    defect.present = present;
    defect.count = Count();
    defect.records = m_complete;
    m_reporter->Corruption(defect);
}

bool RegionRecordReader::Next(RegionRecord& record) {
    if (m_done) return false;
    const size_t size = m_image.size();
    const bool more = m_walk == Walk::ByCount ? m_index < Count() : m_offset < size;
    if (!more) {
        FinishWalk();
        return false;
    }
    record.offset = m_offset;
    record.index = m_index;
    record.length = DecodeRecordAt(m_image, m_offset, record.block, record.script, m_cutScript);
    record.present = m_offset < size;
    record.complete = m_offset + record.length <= size;
    if (!record.present) {
        // Only a by-count walk goes past the end: the count promises records that are not there.
        if (!m_countAboveReported) Report(RegionDefectKind::CountAboveRecords, size);
        m_countAboveReported = true;
    } else if (!record.complete) {
        const bool blockCut = size - m_offset < kPlacementBlockSize;
        Report(blockCut ? RegionDefectKind::CutOffRecord : RegionDefectKind::LengthPastEnd, m_offset, record.length,
               size - m_offset);
    } else {
        ++m_complete;
    }
    m_offset += record.length;
    ++m_index;
    return true;
}

void RegionRecordReader::FinishWalk() {
    m_done = true;
    const size_t size = m_image.size();
    if (m_walk == Walk::ByCount) {
        if (m_offset < size && m_offset >= static_cast<size_t>(kFirstRecordOffset))
            Report(RegionDefectKind::BytesAfterLastRecord, m_offset, size - m_offset);
        return;
    }
    // Walked to the end: compare the records found with the count. A cut-off last record that
    // the count includes has been reported once already, as cut off.
    const int count = Count();
    const int present = m_index;   // every record that starts inside the file
    if (count > present) {
        Report(RegionDefectKind::CountAboveRecords, size);
    } else if (count < m_complete) {
        // Where the last counted record ends: walk the counted records' lengths again.
        size_t offset = static_cast<size_t>(kFirstRecordOffset);
        NpcPlacement block;
        std::string_view script;
        for (int i = 0; i < count; ++i) offset += DecodeRecordAt(m_image, offset, block, script, m_cutScript);
        Report(RegionDefectKind::BytesAfterLastRecord, offset, size - offset);
    }
}

bool RecordsTileImage(std::string_view image, RegionReporter* reporter) {
    struct Tiling : RegionReporter {
        RegionReporter* next = nullptr;
        bool tiled = true;
        void Corruption(const RegionDefect& defect) override {
            // A file that ends inside the header with a count of 0 holds no records; any count
            // above 0 is reported as records the file lacks.
            if (defect.kind != RegionDefectKind::HeaderCutOff) tiled = false;
            if (next) next->Corruption(defect);
        }
    } tiling;
    tiling.next = reporter;
    RegionRecordReader reader(&tiling);
    reader.Reset(image);
    RegionRecord record;
    while (reader.Next(record)) {
    }
    return tiling.tiled;
}

}  // namespace morvi
