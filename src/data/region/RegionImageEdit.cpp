#include "data/region/RegionImageEdit.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <map>

#include "data/platform/AtomicFile.h"
#include "data/platform/FileReadAhead.h"
#include "data/region/RegionRecordReader.h"

namespace morvi {
namespace {

void PutHeader(std::string& image, const SectionHeader& header) {
    std::memcpy(image.data() + kNpcSectionOffset, header.data(), header.size());
}

PlacementRecord ToRecord(const RegionRecord& r) {
    PlacementRecord record;
    record.block = r.block;
    record.script.assign(r.script);
    return record;
}

// The entries waiting for a record of each key, first asked first served.
class KeyQueues {
public:
    explicit KeyQueues(const std::vector<PlacementKey>& keys) {
        for (size_t i = 0; i < keys.size(); ++i) {
            const PlacementKey& k = keys[i];
            m_waiting[{k.templateIndex, k.posX, k.posY, k.offsetX, k.offsetY}].push_back(i);
        }
    }
    // The entry that takes this record, if one waits for its key.
    std::optional<size_t> Take(const NpcPlacement& p) {
        const auto it = m_waiting.find({p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY});
        if (it == m_waiting.end() || it->second.empty()) return std::nullopt;
        const size_t entry = it->second.front();
        it->second.pop_front();
        return entry;
    }

private:
    std::map<std::array<int, 5>, std::deque<size_t>> m_waiting;
};

}  // namespace

RegionImageEdit::RegionImageEdit(std::string image) : m_image(std::move(image)) {}

std::optional<RegionImageEdit> RegionImageEdit::Load(const std::string& path) {
    std::string image;
    if (!ReadRegularFile(path, image)) return std::nullopt;
    return RegionImageEdit(std::move(image));
}

RegionEditResult RegionImageEdit::Append(const PlacementRecord& record) {
    RegionEditResult result;
    SectionHeader header = HeaderFromImage(m_image);
    // The count is 16 bits wide: raising 65535 would wrap it to 0 and hide every record of the
    // region from the game server.
    if (HeaderPlacementCount(header) == UINT16_MAX) {
        result.status = RegionEditStatus::CountFull;
        return result;
    }
    // Appending after records that do not tile the file would put the new record where no
    // reader finds it, and turn the bytes before it into garbage.
    if (!m_tiled) m_tiled = RecordsTileImage(m_image);
    if (!*m_tiled) {
        result.status = RegionEditStatus::NotTiled;
        return result;
    }
    // A file that ends inside the header is read as if the missing bytes were zero.
    if (m_image.size() < static_cast<size_t>(kFirstRecordOffset)) m_image.resize(kFirstRecordOffset, '\0');
    SetHeaderPlacementCount(header, static_cast<uint16_t>(HeaderPlacementCount(header) + 1));
    PutHeader(m_image, header);
    result.offset = m_image.size();
    AppendPlacementBytes(m_image, record.block, record.script);
    result.status = RegionEditStatus::Done;
    result.record = record;
    m_changed = true;
    return result;
}

RegionEditResult RegionImageEdit::Modify(const PlacementKey& key, const PlacementBuilder& build) {
    RegionEditResult result;
    RegionRecordReader reader;
    reader.Reset(m_image, RegionRecordReader::Walk::ByCount);
    RegionRecord r;
    // Records the count promises but the file lacks are no records to rewrite.
    while (reader.Next(r) && r.present) {
        if (!key.Matches(r.block)) continue;
        const PlacementRecord fresh = build(ToRecord(r));
        std::string updated = m_image.substr(0, r.offset);
        AppendPlacementBytes(updated, fresh.block, fresh.script);
        const size_t next = r.offset + r.length;
        if (next < m_image.size()) updated.append(m_image, next, std::string::npos);
        m_image = std::move(updated);
        m_changed = true;
        m_tiled.reset();
        result.status = RegionEditStatus::Done;
        result.offset = r.offset;
        result.record = fresh;
        return result;
    }
    return result;
}

RegionEditResult RegionImageEdit::Remove(const PlacementKey& key) {
    RegionEditResult result;
    RegionRecordReader reader;
    reader.Reset(m_image, RegionRecordReader::Walk::ToEnd);
    RegionRecord r;
    while (reader.Next(r)) {
        if (!key.Matches(r.block)) continue;
        result.record = ToRecord(r);
        std::string updated = m_image.substr(0, r.offset);
        SectionHeader header = HeaderFromImage(updated);
        // A record present past a count of 0 (the file was changed elsewhere) is cut out
        // without the count wrapping to 65535, which would promise records that are not there.
        const uint16_t count = HeaderPlacementCount(header);
        SetHeaderPlacementCount(header, static_cast<uint16_t>(count == 0 ? 0 : count - 1));
        PutHeader(updated, header);
        const size_t next = r.offset + r.length;
        if (next < m_image.size()) updated.append(m_image, next, std::string::npos);
        m_image = std::move(updated);
        m_changed = true;
        m_tiled.reset();
        result.status = RegionEditStatus::Done;
        result.offset = r.offset;
        return result;
    }
    return result;
}

std::vector<RegionEditResult> RegionImageEdit::RemoveMany(const std::vector<PlacementKey>& keys) {
    std::vector<RegionEditResult> results(keys.size());
    if (keys.empty()) return results;
    KeyQueues waiting(keys);
    RegionRecordReader reader;
    reader.Reset(m_image, RegionRecordReader::Walk::ToEnd);
    RegionRecord r;
    std::string updated;
    size_t copied = 0;   // the image before this offset is in `updated` or cut out
    size_t removed = 0;
    while (reader.Next(r)) {
        const std::optional<size_t> entry = waiting.Take(r.block);
        if (!entry) continue;
        RegionEditResult& result = results[*entry];
        result.status = RegionEditStatus::Done;
        result.offset = r.offset;
        result.record = ToRecord(r);
        if (removed++ == 0) updated.reserve(m_image.size());
        updated.append(m_image, copied, r.offset - copied);
        copied = std::min(r.offset + r.length, m_image.size());
    }
    if (removed == 0) return results;
    if (copied < m_image.size()) updated.append(m_image, copied, std::string::npos);
    SectionHeader header = HeaderFromImage(updated);
    // As one removal after another: the count goes down by one per record, but never below 0.
    const uint16_t count = HeaderPlacementCount(header);
    SetHeaderPlacementCount(header, static_cast<uint16_t>(count < removed ? 0 : count - removed));
    PutHeader(updated, header);
    m_image = std::move(updated);
    m_changed = true;
    m_tiled.reset();
    return results;
}

std::vector<RegionEditResult> RegionImageEdit::ModifyMany(const std::vector<PlacementKey>& keys,
                                                          const ManyPlacementBuilder& build) {
    std::vector<RegionEditResult> results(keys.size());
    if (keys.empty()) return results;
    KeyQueues waiting(keys);
    RegionRecordReader reader;
    reader.Reset(m_image, RegionRecordReader::Walk::ByCount);
    RegionRecord r;
    std::string updated;
    size_t copied = 0;
    size_t changed = 0;
    // Records the count promises but the file lacks are no records to rewrite.
    while (reader.Next(r) && r.present) {
        const std::optional<size_t> entry = waiting.Take(r.block);
        if (!entry) continue;
        RegionEditResult& result = results[*entry];
        result.offset = r.offset;
        const PlacementRecord old = ToRecord(r);
        std::optional<PlacementRecord> fresh = build(*entry, old);
        if (!fresh) {
            result.status = RegionEditStatus::Declined;
            result.record = old;
            continue;
        }
        if (changed++ == 0) updated.reserve(m_image.size() + m_image.size() / 8);
        updated.append(m_image, copied, r.offset - copied);
        AppendPlacementBytes(updated, fresh->block, fresh->script);
        copied = std::min(r.offset + r.length, m_image.size());
        result.status = RegionEditStatus::Done;
        result.record = std::move(*fresh);
    }
    if (changed == 0) return results;
    if (copied < m_image.size()) updated.append(m_image, copied, std::string::npos);
    m_image = std::move(updated);
    m_changed = true;
    m_tiled.reset();
    return results;
}

bool RegionImageEdit::Write(const std::string& path, std::string* error) const {
    if (!m_changed) return true;
    return ReplaceFileContents(path, m_image, error);
}

}  // namespace morvi
