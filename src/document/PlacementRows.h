#pragma once
// The rows of the placement list ARE placements: each row holds its region file (interned),
// the 61-byte block and the stored script bytes (code page 936, in one shared arena). Texts are
// made on demand by PlacementRowFormatter. Row 0 is the top row; rows are kept bottom-first
// internally, so inserting at the top, which every load does for every record, is an append.
//
// A row costs 48 bytes plus its script bytes: the block is kept whole except the tail of its
// 34-byte name field, which names rarely reach; that tail is kept beside the script, and only
// for a row whose tail holds a byte that is not zero. A per-cell override exists only where
// the window shows a text the record does not say; overrides are rare and kept apart.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/region/NpcPlacement.h"
#include "document/PlacementColumns.h"
#include "document/RowChunkMemory.h"

namespace morvi {

// All texts of one row, as the window shows them (tests and simple front ends).
using RowTexts = std::array<std::string, kPlacementColumnCount>;

class PlacementRowStore {
public:
    PlacementRowStore();
    // Told apart from every other store of the process (a file id means a path only within
    // one store: callers that remember answers per file key them on this).
    uint64_t Identity() const { return m_identity.value; }

    // --- reading (front ends, the command line, tests) ---
    int Count() const { return static_cast<int>(m_rows.size()); }
    // The 61-byte block, whole.
    NpcPlacement Block(int row) const;
    // GBK bytes of a script record's stored path (dropCountOrScriptLength bytes), else empty.
    std::string_view StoredScript(int row) const;
    // Full native path of the region file that holds the row's record.
    const std::string& File(int row) const { return m_files[FileId(row)]; }
    uint32_t FileId(int row) const { return At(row).file & kFileIdMask; }
    // Exactly the text the window shows in that cell; empty outside the store.
    std::string CellText(int row, int column) const;
    // The same, appended to `out` (no allocation once `out` has grown).
    void AppendCellText(int row, int column, std::string& out) const;
    RowTexts Texts(int row) const;
    // The record of a row: block and stored script.
    PlacementRecord Record(int row) const;

    // --- changing (the dialog) ---
    void Clear();
    // Interns a region file's path; rows of one file come one after the other, so asking for
    // the same path again is cheap.
    uint32_t InternFile(std::string_view path);
    // Inserts a new top row (row 0); the former rows move down by one.
    void InsertTop(uint32_t file, const NpcPlacement& block, std::string_view storedScript);
    void InsertTop(std::string_view file, const PlacementRecord& record) {
        InsertTop(InternFile(file), record.block, record.script);
    }
    // Replaces a row's placement; its file and overrides stay.
    void Replace(int row, const NpcPlacement& block, std::string_view storedScript);
    void Erase(int row);
    // Shows `text` in that cell instead of what the record says; ClearOverrides drops them.
    void SetOverride(int row, int column, std::string text);
    void ClearOverrides(int row);
    bool HasOverride(int row, int column) const;
    // Whether any cell of the row shows an override.
    bool HasOverrides(int row) const;

    // Whether stores made from now on fill their rows into large pages where the system has
    // them: far fewer page faults for a process that loads one large map and exits (the
    // command line), at the price of up to one 2 MiB page beyond the rows in use. Off by
    // default, so the window holds no more per row than its chunks of 1024 rows.
    static void PreferLargePages(bool prefer);

    // Bytes held for rows, scripts, paths and overrides (excluding allocator overhead).
    size_t BytesHeld() const;

private:
    // The block's bytes up to the first kInlineNameBytes of the name, and those after the name.
    static constexpr size_t kNameAt = offsetof(NpcPlacement, name);
    static constexpr size_t kInlineNameBytes = 13;
    static constexpr size_t kHeadBytes = kNameAt + kInlineNameBytes;
    static constexpr size_t kAfterNameAt = kNameAt + kNameFieldSize;
    static constexpr size_t kTailBytes = kPlacementBlockSize - kAfterNameAt;
    static constexpr size_t kNameOverflowBytes = kNameFieldSize - kInlineNameBytes;
    static constexpr size_t kScriptLengthInTail =
        offsetof(NpcPlacement, dropCountOrScriptLength) - kAfterNameAt;
    static constexpr uint32_t kNameOverflowFlag = 0x80000000u;   // in Row::file
    static constexpr uint32_t kFileIdMask = ~kNameOverflowFlag;

    struct Row {
        uint8_t head[kHeadBytes];
        uint8_t tail[kTailBytes];
        uint32_t file;    // index into m_files, and kNameOverflowFlag
        // Offset in the side bytes of the name's overflow (if flagged), then the stored script
        // (script records); unused otherwise.
        uint32_t extra;
    };
    static_assert(sizeof(Row) == 48);

    static NpcPlacement BlockOf(const Row& r);
    static bool RowHasScript(const Row& r) { return r.tail[kScriptLengthInTail] > kMaxDropCount; }
    static size_t ScriptLengthOf(const Row& r) { return RowHasScript(r) ? r.tail[kScriptLengthInTail] : 0; }
    static size_t OverflowLengthOf(const Row& r) { return r.file & kNameOverflowFlag ? kNameOverflowBytes : 0; }
    static size_t SideLengthOf(const Row& r) { return OverflowLengthOf(r) + ScriptLengthOf(r); }

    // Rows and side bytes live in fixed-size chunks: growing never copies them and never
    // holds more than one chunk beyond what is used, which keeps a row near its 48 bytes.
    static constexpr size_t kRowsPerChunk = 1024;
    // With large pages a chunk is one 2 MiB page of rows (see RowChunkMemory.h).
    static constexpr size_t kRowsPerLargeChunk = kLargePageBytes / sizeof(Row);
    static constexpr size_t kScriptChunkBytes = 65536;   // a row's side bytes never straddle two chunks

    class RowChunks {
    public:
        RowChunks();
        size_t size() const { return m_size; }
        // Both chunk sizes are constants, so finding a row costs no division.
        Row& operator[](size_t i) {
            return m_large ? Chunk(i / kRowsPerLargeChunk)[i % kRowsPerLargeChunk]
                           : Chunk(i / kRowsPerChunk)[i % kRowsPerChunk];
        }
        const Row& operator[](size_t i) const { return const_cast<RowChunks&>(*this)[i]; }
        void push_back(const Row& row);
        void erase(size_t i);
        void clear() { m_size = 0; }   // chunks stay for the next load
        size_t BytesHeld() const { return m_chunks.size() * ChunkBytes(); }

    private:
        Row* Chunk(size_t k) const { return static_cast<Row*>(m_chunks[k].get()); }
        size_t RowsPerChunk() const { return m_large ? kRowsPerLargeChunk : kRowsPerChunk; }
        size_t ChunkBytes() const { return m_large ? kLargePageBytes : kRowsPerChunk * sizeof(Row); }

        std::vector<RowChunkBlock> m_chunks;
        size_t m_size = 0;
        bool m_large;   // as preferred when the store was made
    };

    size_t Slot(int row) const { return m_rows.size() - 1 - static_cast<size_t>(row); }
    const Row& At(int row) const { return m_rows[Slot(row)]; }
    const char* SideAt(uint32_t place) const;
    std::string_view ScriptOf(const Row& r) const;
    // Fills `row` from the block and keeps its side bytes (the name's overflow, the script).
    void FillRow(Row& row, const NpcPlacement& block, std::string_view storedScript);
    uint32_t StoreSide(const char* overflow, size_t overflowLength, std::string_view script, size_t scriptLength);
    void CompactScriptsIfWasteful();

    // A new value for every store, copies included (a copy's files may then go their own way).
    struct StoreIdentity {
        uint64_t value;
        StoreIdentity();
        StoreIdentity(const StoreIdentity&) : StoreIdentity() {}
        StoreIdentity& operator=(const StoreIdentity&) { value = StoreIdentity().value; return *this; }
    };
    StoreIdentity m_identity;
    RowChunks m_rows;                      // bottom row first
    // Side bytes; a row's `extra` is chunk * kScriptChunkBytes + offset.
    std::vector<std::unique_ptr<char[]>> m_scriptChunks;
    size_t m_scriptUsed = 0;               // bytes used in the last chunk
    size_t m_scriptBytes = 0;              // live side bytes
    size_t m_deadScriptBytes = 0;          // side bytes of rows replaced or erased
    std::deque<std::string> m_files;       // stable storage for interned paths; [0] is ""
    std::unordered_map<std::string_view, uint32_t> m_fileIds;
    uint32_t m_lastFile = 0;
    // Overrides by slot (bottom-first index, unchanged by inserting at the top), then column.
    std::map<size_t, std::map<int, std::string>> m_overrides;
};

}  // namespace morvi
