#pragma once
// The NPC section of a region file and the placement record, on disk and in memory.
//
// File layout: bytes 0..2099 belong to the rest of the region (never read, never changed),
// a 12-byte section header sits at 2100 (little-endian u16 placementCount, then ten opaque
// bytes), and the records follow back to back from 2112 to the end of the file.
//
// A record is a 60-byte fixed part plus either one trailing byte (drop-count records, 61 bytes)
// or a script path of dropCountOrScriptLength bytes (script records, 60 + length bytes).
// NpcPlacement is the byte image of the first 61 bytes; its fields are byte arrays so the
// layout is exact and packed on every compiler, and the accessors are byte-order independent.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace morvi {

inline constexpr long kNpcSectionOffset = 2100;     // start of the 12-byte section header
inline constexpr long kFirstRecordOffset = 2112;    // first placement record
inline constexpr size_t kSectionHeaderSize = 12;
inline constexpr size_t kPlacementBlockSize = 61;   // the part of a record read as one block
inline constexpr int kMaxDropCount = 24;            // 0..24: drop count; 25..255: script length
inline constexpr size_t kMaxScriptLength = 255;
inline constexpr size_t kNameFieldSize = 34;        // 33 bytes of text and the terminator

using SectionHeader = std::array<uint8_t, kSectionHeaderSize>;

uint16_t HeaderPlacementCount(const SectionHeader& header);
void SetHeaderPlacementCount(SectionHeader& header, uint16_t count);

struct NpcPlacement {
    uint8_t templateIndex[2];
    uint8_t reservedA[2];
    uint8_t offsetX;
    uint8_t posX[2];
    uint8_t reservedB;
    uint8_t offsetY;
    uint8_t posYDoubled[2];
    uint8_t reservedC[5];
    uint8_t name[kNameFieldSize];
    uint8_t marker;
    uint8_t reservedD[3];
    uint8_t npcType;
    uint8_t reservedE;
    uint8_t npcGroup;
    uint8_t npcSeries;
    uint8_t dropCountOrScriptLength;
    uint8_t reservedF;
    uint8_t variable;   // trailing byte, or the first byte of the script path

    uint16_t TemplateIndex() const { return Get16(templateIndex); }
    void SetTemplateIndex(uint16_t v) { Set16(templateIndex, v); }
    uint16_t PosX() const { return Get16(posX); }
    void SetPosX(uint16_t v) { Set16(posX, v); }
    uint16_t PosYDoubled() const { return Get16(posYDoubled); }
    void SetPosYDoubled(uint16_t v) { Set16(posYDoubled, v); }
    // The Y coordinate is the stored value with its lowest bit dropped.
    int PosY() const { return PosYDoubled() >> 1; }

    bool HasScript() const { return dropCountOrScriptLength > kMaxDropCount; }
    // Name bytes up to the terminator (at most 34 when a damaged record has none).
    std::string_view Name() const;
    // Writes the text and a terminator; bytes after the terminator are left alone.
    // The caller guarantees text.size() <= 33.
    void SetName(std::string_view text);

    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(this); }
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(this); }

    static uint16_t Get16(const uint8_t (&b)[2]) { return static_cast<uint16_t>(b[0] | (b[1] << 8)); }
    static void Set16(uint8_t (&b)[2], uint16_t v) {
        b[0] = static_cast<uint8_t>(v & 0xFF);
        b[1] = static_cast<uint8_t>(v >> 8);
    }
};

static_assert(sizeof(NpcPlacement) == kPlacementBlockSize);
static_assert(offsetof(NpcPlacement, templateIndex) == 0);
static_assert(offsetof(NpcPlacement, reservedA) == 2);
static_assert(offsetof(NpcPlacement, offsetX) == 4);
static_assert(offsetof(NpcPlacement, posX) == 5);
static_assert(offsetof(NpcPlacement, reservedB) == 7);
static_assert(offsetof(NpcPlacement, offsetY) == 8);
static_assert(offsetof(NpcPlacement, posYDoubled) == 9);
static_assert(offsetof(NpcPlacement, reservedC) == 11);
static_assert(offsetof(NpcPlacement, name) == 16);
static_assert(offsetof(NpcPlacement, marker) == 50);
static_assert(offsetof(NpcPlacement, reservedD) == 51);
static_assert(offsetof(NpcPlacement, npcType) == 54);
static_assert(offsetof(NpcPlacement, reservedE) == 55);
static_assert(offsetof(NpcPlacement, npcGroup) == 56);
static_assert(offsetof(NpcPlacement, npcSeries) == 57);
static_assert(offsetof(NpcPlacement, dropCountOrScriptLength) == 58);
static_assert(offsetof(NpcPlacement, reservedF) == 59);
static_assert(offsetof(NpcPlacement, variable) == 60);

// A placement as read or to be written: the 61-byte block plus, for a script record, the
// path (exactly dropCountOrScriptLength bytes, first byte equal to block.variable).
struct PlacementRecord {
    NpcPlacement block{};
    std::string script;   // empty for a record without script
};

// Record length in bytes: 61, or 60 + dropCountOrScriptLength for a script record.
size_t PlacementLength(const NpcPlacement& p);

// The five values by which a row finds its record again; the first record in file order
// that equals all five is the one meant.
struct PlacementKey {
    int templateIndex = 0;
    int posX = 0;
    int posY = 0;        // as shown: stored value shifted right by one
    int offsetX = 0;
    int offsetY = 0;
    bool Matches(const NpcPlacement& p) const;
    bool operator==(const PlacementKey&) const = default;
};

// --- Stream operations on an open region file -------------------------------------------

// Seeks to 2100 and reads the header; a short read leaves the missing bytes zero.
uint16_t ReadNpcSectionHeader(std::FILE* f, SectionHeader* headerOut = nullptr);
// Reads one whole record at the current position; missing bytes read as zero. The script
// path of a script record is read in full so the position ends at the next record.
PlacementRecord ReadPlacement(std::FILE* f);
// After the 61-byte block has been read: step over the rest of the record.
void SkipPlacementText(std::FILE* f, const NpcPlacement& p);
// Writes exactly PlacementLength bytes at the current position; false on a short write.
bool WritePlacement(std::FILE* f, const NpcPlacement& p, std::string_view script);

// --- The same rules over a file image in memory ------------------------------------------

// Reads the header out of a whole-file image (zeros where the image is short).
SectionHeader HeaderFromImage(std::string_view image);
// Parses one record at `offset` of the image the way ReadPlacement reads it from a file.
// Returns the offset of the next record (may lie beyond the image end).
size_t ParsePlacementAt(std::string_view image, size_t offset, PlacementRecord* out);
// Appends the on-disk bytes of a record.
void AppendPlacementBytes(std::string& out, const NpcPlacement& p, std::string_view script);

}  // namespace morvi
