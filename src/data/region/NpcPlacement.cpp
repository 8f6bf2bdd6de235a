#include "data/region/NpcPlacement.h"

#include <algorithm>
#include <cstring>

#include "data/region/RegionRecordReader.h"

namespace morvi {

uint16_t HeaderPlacementCount(const SectionHeader& header) {
    return static_cast<uint16_t>(header[0] | (header[1] << 8));
}

void SetHeaderPlacementCount(SectionHeader& header, uint16_t count) {
    header[0] = static_cast<uint8_t>(count & 0xFF);
    header[1] = static_cast<uint8_t>(count >> 8);
}

std::string_view NpcPlacement::Name() const {
    const char* text = reinterpret_cast<const char*>(name);
    return std::string_view(text, strnlen(text, kNameFieldSize));
}

void NpcPlacement::SetName(std::string_view text) {
    size_t n = std::min(text.size(), kNameFieldSize - 1);
    std::memcpy(name, text.data(), n);
    name[n] = 0;
}

size_t PlacementLength(const NpcPlacement& p) {
    return p.HasScript() ? 60u + p.dropCountOrScriptLength : kPlacementBlockSize;
}

bool PlacementKey::Matches(const NpcPlacement& p) const {
    return p.TemplateIndex() == templateIndex && p.PosX() == posX && p.PosY() == posY &&
           p.offsetX == offsetX && p.offsetY == offsetY;
}

// --- streams -------------------------------------------------------------------------------

uint16_t ReadNpcSectionHeader(std::FILE* f, SectionHeader* headerOut) {
    SectionHeader header{};
    if (std::fseek(f, kNpcSectionOffset, SEEK_SET) == 0)
        (void)std::fread(header.data(), 1, header.size(), f);
    if (headerOut) *headerOut = header;
    return HeaderPlacementCount(header);
}

PlacementRecord ReadPlacement(std::FILE* f) {
    // The record's bytes as far as the file holds them, decoded by the one record rule; the
    // position ends after the record's last byte present.
    char bytes[kPlacementBlockSize - 1 + kMaxScriptLength];
    size_t got = std::fread(bytes, 1, kPlacementBlockSize, f);
    if (got == kPlacementBlockSize && static_cast<uint8_t>(bytes[58]) > kMaxDropCount)
        got += std::fread(bytes + got, 1, static_cast<uint8_t>(bytes[58]) - 1u, f);
    PlacementRecord r;
    std::string_view script;
    std::string scratch;
    DecodeRecordAt(std::string_view(bytes, got), 0, r.block, script, scratch);
    r.script.assign(script);
    return r;
}

void SkipPlacementText(std::FILE* f, const NpcPlacement& p) {
    if (p.HasScript()) std::fseek(f, p.dropCountOrScriptLength - 1, SEEK_CUR);
}

bool WritePlacement(std::FILE* f, const NpcPlacement& p, std::string_view script) {
    std::string bytes;
    AppendPlacementBytes(bytes, p, script);
    return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

// --- images --------------------------------------------------------------------------------

SectionHeader HeaderFromImage(std::string_view image) {
    SectionHeader header{};
    if (image.size() > static_cast<size_t>(kNpcSectionOffset)) {
        size_t n = std::min(kSectionHeaderSize, image.size() - kNpcSectionOffset);
        std::memcpy(header.data(), image.data() + kNpcSectionOffset, n);
    }
    return header;
}

size_t ParsePlacementAt(std::string_view image, size_t offset, PlacementRecord* out) {
    PlacementRecord r;
    std::string_view script;
    std::string scratch;
    const size_t length = DecodeRecordAt(image, offset, r.block, script, scratch);
    if (out) {
        r.script.assign(script);
        *out = std::move(r);
    }
    return offset + length;
}

void AppendPlacementBytes(std::string& out, const NpcPlacement& p, std::string_view script) {
    if (!p.HasScript()) {
        out.append(reinterpret_cast<const char*>(p.Bytes()), kPlacementBlockSize);
        return;
    }
    // The block's last byte is the path's first byte; the rest of the path follows directly.
    out.append(reinterpret_cast<const char*>(p.Bytes()), kPlacementBlockSize - 1);
    std::string path(script.substr(0, p.dropCountOrScriptLength));
    path.resize(p.dropCountOrScriptLength, '\0');
    out.append(path);
}

}  // namespace morvi
