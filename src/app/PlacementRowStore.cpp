#include "app/PlacementRowStore.h"

#include <algorithm>
#include <cstring>

namespace morvi {
namespace {

constexpr uint32_t kChunkBytes = 256 * 1024;
constexpr int kStoredColumns = kPlacementColumnCount - 1;   // all but the interned path
constexpr size_t kCompactAfterBytes = 1024 * 1024;
// At most this much cleared chunk memory is kept for reuse.
constexpr size_t kMaxSpareBytes = 32 * 1024 * 1024;

// Position of a column inside a blob (column 10 is not stored there).
int BlobIndex(int column) { return column < COL_FILE ? column : column - 1; }

void AppendVarint(std::string& out, size_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

size_t VarintSize(size_t value) {
    size_t bytes = 1;
    for (; value >= 0x80; value >>= 7)
        ++bytes;
    return bytes;
}

char* PutVarint(char* p, size_t value) {
    while (value >= 0x80) {
        *p++ = static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    *p++ = static_cast<char>(value);
    return p;
}

// Most texts of a row are a few bytes long. They are copied as two overlapping words of a
// fixed size, which costs neither a call nor a loop whose end the processor mispredicts.
char* PutBytes(char* p, std::string_view text) {
    const size_t n = text.size();
    const char* s = text.data();
    if (n > 16) {
        std::memcpy(p, s, n);
    } else if (n >= 8) {
        uint64_t head, tail;
        std::memcpy(&head, s, 8);
        std::memcpy(&tail, s + n - 8, 8);
        std::memcpy(p, &head, 8);
        std::memcpy(p + n - 8, &tail, 8);
    } else if (n >= 4) {
        uint32_t head, tail;
        std::memcpy(&head, s, 4);
        std::memcpy(&tail, s + n - 4, 4);
        std::memcpy(p, &head, 4);
        std::memcpy(p + n - 4, &tail, 4);
    } else if (n > 0) {
        p[0] = s[0];
        p[n / 2] = s[n / 2];
        p[n - 1] = s[n - 1];
    }
    return p + n;
}

size_t ReadVarint(const char*& p) {
    size_t value = 0;
    int shift = 0;
    for (;;) {
        const auto byte = static_cast<unsigned char>(*p++);
        value |= static_cast<size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
        shift += 7;
    }
}

// Packs the stored columns (views indexed by column number; index 10 is ignored).
void Encode(const std::string_view* texts, std::string& out) {
    out.clear();
    for (int column = 0; column < kPlacementColumnCount; ++column) {
        if (column == COL_FILE)
            continue;
        AppendVarint(out, texts[column].size());
        out.append(texts[column]);
    }
}

}  // namespace

PlacementRowStore::PlacementRowStore() { Clear(); }

void PlacementRowStore::Clear() {
    m_rows.clear();
    size_t spareBytes = 0;
    for (const Chunk& chunk : m_spareChunks)
        spareBytes += chunk.size;
    for (Chunk& chunk : m_chunks) {
        if (spareBytes + chunk.size > kMaxSpareBytes)
            break;
        spareBytes += chunk.size;
        chunk.used = 0;
        m_spareChunks.push_back(std::move(chunk));
    }
    m_chunks.clear();
    m_liveBytes = 0;
    m_garbageBytes = 0;
    m_fileIds.clear();
    m_files.clear();
    m_files.emplace_back();
    m_fileIds.emplace(std::string_view(m_files.front()), 0);
    m_lastFile = 0;
}

uint32_t PlacementRowStore::InternFile(std::string_view path) {
    // A loaded map inserts the rows of one file after another: the last path is the usual hit.
    if (m_files[m_lastFile] == path)
        return m_lastFile;
    if (auto it = m_fileIds.find(path); it != m_fileIds.end())
        return m_lastFile = it->second;
    const auto id = static_cast<uint32_t>(m_files.size());
    m_files.emplace_back(path);
    m_fileIds.emplace(std::string_view(m_files.back()), id);
    return m_lastFile = id;
}

PlacementRowStore::Chunk& PlacementRowStore::ChunkWithRoom(uint32_t size) {
    if (m_chunks.empty() || m_chunks.back().size - m_chunks.back().used < size) {
        if (!m_spareChunks.empty() && m_spareChunks.back().size >= size) {
            m_chunks.push_back(std::move(m_spareChunks.back()));
            m_spareChunks.pop_back();
            return m_chunks.back();
        }
        Chunk chunk;
        chunk.size = std::max(kChunkBytes, size);
        // Every byte is written before it is read: no need to clear the chunk first.
        chunk.bytes = std::make_unique_for_overwrite<char[]>(chunk.size);
        m_chunks.push_back(std::move(chunk));
    }
    return m_chunks.back();
}

PlacementRowStore::Row PlacementRowStore::StoreBlob(const std::string_view* texts, uint32_t file) {
    // Encode first: the texts may point into the arena, even into space about to be reused.
    static thread_local std::string scratch;
    Encode(texts, scratch);
    const auto size = static_cast<uint32_t>(scratch.size());
    Chunk& chunk = ChunkWithRoom(size);
    Row row{static_cast<uint32_t>(m_chunks.size() - 1), chunk.used, file};
    std::memcpy(chunk.bytes.get() + chunk.used, scratch.data(), size);
    chunk.used += size;
    m_liveBytes += size;
    return row;
}

PlacementRowStore::Row PlacementRowStore::AppendBlob(const std::string_view* texts, uint32_t file) {
    // The texts of a new row lie outside the arena, so they are packed straight into it.
    size_t size = 0;
    for (int column = 0; column < kPlacementColumnCount; ++column)
        if (column != COL_FILE)
            size += VarintSize(texts[column].size()) + texts[column].size();
    Chunk& chunk = ChunkWithRoom(static_cast<uint32_t>(size));
    Row row{static_cast<uint32_t>(m_chunks.size() - 1), chunk.used, file};
    char* p = chunk.bytes.get() + chunk.used;
    for (int column = 0; column < kPlacementColumnCount; ++column) {
        if (column == COL_FILE)
            continue;
        p = PutVarint(p, texts[column].size());
        p = PutBytes(p, texts[column]);
    }
    chunk.used += static_cast<uint32_t>(size);
    m_liveBytes += size;
    return row;
}

void PlacementRowStore::ReadBlob(const Row& row, std::string_view* texts) const {
    const char* p = m_chunks[row.chunk].bytes.get() + row.offset;
    for (int column = 0; column < kPlacementColumnCount; ++column) {
        if (column == COL_FILE) {
            texts[column] = m_files[row.file];
            continue;
        }
        const size_t length = ReadVarint(p);
        texts[column] = std::string_view(p, length);
        p += length;
    }
}

size_t PlacementRowStore::BlobSize(const Row& row) const {
    const char* start = m_chunks[row.chunk].bytes.get() + row.offset;
    const char* p = start;
    for (int i = 0; i < kStoredColumns; ++i)
        p += ReadVarint(p);
    return static_cast<size_t>(p - start);
}

void PlacementRowStore::InsertTop(const RowTexts& texts) {
    std::string_view views[kPlacementColumnCount];
    for (int column = 0; column < kPlacementColumnCount; ++column)
        views[column] = texts[column];
    m_rows.push_back(AppendBlob(views, InternFile(texts[COL_FILE])));
}

void PlacementRowStore::InsertTop(const RowViews& texts) {
    m_rows.push_back(AppendBlob(texts.data(), InternFile(texts[COL_FILE])));
}

std::string_view PlacementRowStore::Text(int row, int column) const {
    const Row& r = m_rows[Slot(row)];
    if (column == COL_FILE)
        return m_files[r.file];
    const char* p = m_chunks[r.chunk].bytes.get() + r.offset;
    const int wanted = BlobIndex(column);
    for (int i = 0; i < wanted; ++i)
        p += ReadVarint(p);
    const size_t length = ReadVarint(p);
    return std::string_view(p, length);
}

void PlacementRowStore::SetText(int row, int column, std::string_view text) {
    Row& r = m_rows[Slot(row)];
    if (column == COL_FILE) {
        r.file = InternFile(text);
        return;
    }
    std::string_view views[kPlacementColumnCount];
    ReadBlob(r, views);
    views[column] = text;
    const size_t oldSize = BlobSize(r);
    m_liveBytes -= oldSize;
    Chunk& last = m_chunks.back();
    if (r.chunk == m_chunks.size() - 1 && r.offset + oldSize == last.used) {
        // The newest blob (typically the row just inserted) is rewritten in place.
        last.used = r.offset;
    } else {
        m_garbageBytes += oldSize;
    }
    r = StoreBlob(views, r.file);
    CompactIfWasteful();
}

void PlacementRowStore::Erase(int row) {
    const size_t slot = Slot(row);
    const size_t size = BlobSize(m_rows[slot]);
    m_liveBytes -= size;
    m_garbageBytes += size;
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(slot));
    if (m_rows.empty()) {
        Clear();
        return;
    }
    CompactIfWasteful();
}

void PlacementRowStore::CompactIfWasteful() {
    if (m_garbageBytes < kCompactAfterBytes || m_garbageBytes < m_liveBytes)
        return;
    std::vector<Chunk> old = std::move(m_chunks);
    m_chunks.clear();
    m_liveBytes = 0;
    m_garbageBytes = 0;
    std::string_view views[kPlacementColumnCount];
    for (Row& r : m_rows) {
        // Read from the old chunks; StoreBlob copies before anything of them is released.
        const char* p = old[r.chunk].bytes.get() + r.offset;
        for (int column = 0; column < kPlacementColumnCount; ++column) {
            if (column == COL_FILE)
                continue;
            const size_t length = ReadVarint(p);
            views[column] = std::string_view(p, length);
            p += length;
        }
        r = StoreBlob(views, r.file);
    }
}

size_t PlacementRowStore::BytesHeld() const {
    size_t bytes = m_rows.capacity() * sizeof(Row) + m_chunks.capacity() * sizeof(Chunk);
    for (const Chunk& chunk : m_chunks)
        bytes += chunk.size;
    for (const Chunk& chunk : m_spareChunks)
        bytes += chunk.size;
    for (const std::string& path : m_files)
        bytes += sizeof(std::string) + path.capacity();
    bytes += m_fileIds.size() * (sizeof(std::string_view) + sizeof(uint32_t) + 2 * sizeof(void*));
    return bytes;
}

}  // namespace morvi
