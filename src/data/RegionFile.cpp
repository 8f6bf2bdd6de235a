#include "data/RegionFile.h"

#include <algorithm>
#include <cstring>

#include "data/AtomicFile.h"

namespace morvi {
namespace {

void PutHeader(std::string& image, const SectionHeader& header) {
    std::memcpy(image.data() + kNpcSectionOffset, header.data(), header.size());
}

RegionResult Replace(const std::string& path, const std::string& image) {
    RegionResult result;
    if (ReplaceFileContents(path, image, &result.error))
        result.outcome = RegionOutcome::Done;
    else
        result.outcome = RegionOutcome::WriteFailed;
    return result;
}

RegionResult OpenFailed(const std::string& path) {
    return {RegionOutcome::OpenFailed, "cannot open " + path};
}

}  // namespace

bool RegionPlacementReader::Open(const std::string& path) {
    m_offset = kFirstRecordOffset;
    m_count = m_read = 0;
    if (!ReadWholeFile(path, m_image)) return false;
    m_count = HeaderPlacementCount(HeaderFromImage(m_image));
    return true;
}

bool RegionPlacementReader::Next(NpcPlacement& block, std::string_view& script) {
    if (m_read >= m_count) return false;
    ++m_read;
    // Records counted but absent read as zeros, as does the missing part of a cut-off record.
    const size_t size = m_image.size();
    const size_t available = m_offset < size ? std::min(kPlacementBlockSize, size - m_offset) : 0;
    std::memcpy(block.Bytes(), m_image.data() + (available ? m_offset : 0), available);
    std::memset(block.Bytes() + available, 0, kPlacementBlockSize - available);
    script = {};
    if (block.HasScript()) {
        // The block's last byte is the first byte of the path.
        const size_t start = m_offset + kPlacementBlockSize - 1;
        const size_t length = block.dropCountOrScriptLength;
        if (start + length <= size) {
            script = std::string_view(m_image.data() + start, length);
        } else {
            m_cutScript.assign(length, '\0');
            if (start < size) std::memcpy(m_cutScript.data(), m_image.data() + start, size - start);
            script = m_cutScript;
        }
    }
    m_offset += PlacementLength(block);
    return true;
}

bool ReadRegionPlacements(const std::string& path, std::vector<PlacementRecord>& out) {
    out.clear();
    RegionPlacementReader reader;
    if (!reader.Open(path)) return false;
    out.resize(reader.Count());
    std::string_view script;
    for (PlacementRecord& record : out) {
        reader.Next(record.block, script);
        record.script.assign(script);
    }
    return true;
}

RegionResult AppendPlacementToFile(const std::string& path, const PlacementRecord& record) {
    std::string image;
    if (!ReadWholeFile(path, image)) return OpenFailed(path);
    // A file that ends inside the header is read as if the missing bytes were zero, exactly as
    // an in-place update would leave it.
    if (image.size() < static_cast<size_t>(kFirstRecordOffset)) {
        SectionHeader header = HeaderFromImage(image);
        image.resize(kFirstRecordOffset, '\0');
        PutHeader(image, header);
    }
    SectionHeader header = HeaderFromImage(image);
    // The count is 16 bits wide: raising 65535 would wrap it to 0 and hide every record of the
    // region from the game server.
    if (HeaderPlacementCount(header) == UINT16_MAX)
        return {RegionOutcome::WriteFailed, path + ": the region already holds 65535 placements"};
    SetHeaderPlacementCount(header, static_cast<uint16_t>(HeaderPlacementCount(header) + 1));
    PutHeader(image, header);
    AppendPlacementBytes(image, record.block, record.script);
    return Replace(path, image);
}

RegionResult ModifyPlacementInFile(const std::string& path, const PlacementKey& key,
                                   const PlacementBuilder& build) {
    std::string image;
    if (!ReadWholeFile(path, image)) return OpenFailed(path);
    uint16_t count = HeaderPlacementCount(HeaderFromImage(image));
    size_t offset = kFirstRecordOffset;
    for (uint16_t i = 0; i < count && offset < image.size(); ++i) {
        PlacementRecord old;
        size_t next = ParsePlacementAt(image, offset, &old);
        if (key.Matches(old.block)) {
            PlacementRecord fresh = build(old);
            std::string updated = image.substr(0, offset);
            AppendPlacementBytes(updated, fresh.block, fresh.script);
            if (next < image.size()) updated.append(image, next, std::string::npos);
            return Replace(path, updated);
        }
        offset = next;
    }
    return {RegionOutcome::NotFound, {}};
}

RegionResult RemovePlacementFromFile(const std::string& path, const PlacementKey& key,
                                     PlacementRecord* removed) {
    std::string image;
    if (!ReadWholeFile(path, image)) return OpenFailed(path);
    size_t offset = kFirstRecordOffset;
    while (offset < image.size()) {
        PlacementRecord record;
        size_t next = ParsePlacementAt(image, offset, &record);
        if (key.Matches(record.block)) {
            std::string updated = image.substr(0, offset);
            SectionHeader header = HeaderFromImage(updated);
            // A record present past a count of 0 (the file was changed elsewhere) is cut out
            // without the count wrapping to 65535, which would promise records that are not there.
            const uint16_t count = HeaderPlacementCount(header);
            SetHeaderPlacementCount(header, static_cast<uint16_t>(count == 0 ? 0 : count - 1));
            PutHeader(updated, header);
            if (next < image.size()) updated.append(image, next, std::string::npos);
            if (removed) *removed = std::move(record);
            return Replace(path, updated);
        }
        offset = next;
    }
    return {RegionOutcome::NotFound, {}};
}

}  // namespace morvi
