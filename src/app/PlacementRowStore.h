#pragma once
// Compact storage of the placement list's rows, built for maps of hundreds of thousands of
// placements. Row 0 is the top row; rows are kept in reverse order internally so that
// inserting a new top row is an append (O(1) amortised).
//
// Memory: each row is 12 bytes of index plus one packed blob of its texts (length-prefixed,
// back to back in large shared chunks, so no allocation per row). The region-file path
// (column 10) repeats for every row of a file and is interned: rows hold a 32-bit number.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dialog/DialogHost.h"

namespace morvi {

class PlacementRowStore {
public:
    PlacementRowStore();

    int Count() const { return static_cast<int>(m_rows.size()); }
    void InsertTop(const RowTexts& row);
    void InsertTop(const RowViews& row);
    // The text stays valid until the next change of the store.
    std::string_view Text(int row, int column) const;
    void SetText(int row, int column, std::string_view text);
    void Erase(int row);
    void Clear();

    // Bytes held for rows, blobs, interned paths and bookkeeping (excluding the allocator's
    // own overhead), for memory budgets.
    size_t BytesHeld() const;

private:
    struct Row {
        uint32_t chunk;    // index into m_chunks
        uint32_t offset;   // blob start within the chunk
        uint32_t file;     // interned path of column 10
    };
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        uint32_t size = 0;
        uint32_t used = 0;
    };

    size_t Slot(int row) const { return m_rows.size() - 1 - static_cast<size_t>(row); }
    // Packs columns 0..9 and 11 of `texts` (views) into a new blob and returns its place.
    Row StoreBlob(const std::string_view* texts, uint32_t file);
    // The same for texts that do not point into the store (a new row): packed in place.
    Row AppendBlob(const std::string_view* texts, uint32_t file);
    Chunk& ChunkWithRoom(uint32_t size);
    void ReadBlob(const Row& row, std::string_view* texts) const;
    size_t BlobSize(const Row& row) const;
    uint32_t InternFile(std::string_view path);
    void CompactIfWasteful();

    std::vector<Row> m_rows;              // bottom row first
    std::vector<Chunk> m_chunks;
    // Chunks of the rows cleared last, kept for the next load: selecting a map again, or the
    // next one, writes into memory the process already has instead of into fresh pages.
    std::vector<Chunk> m_spareChunks;
    size_t m_liveBytes = 0;               // bytes of blobs still referenced
    size_t m_garbageBytes = 0;            // bytes of blobs replaced or erased
    std::deque<std::string> m_files;      // stable storage for interned paths; [0] is ""
    std::unordered_map<std::string_view, uint32_t> m_fileIds;
    uint32_t m_lastFile = 0;              // rows of one region file come one after the other
};

}  // namespace morvi
