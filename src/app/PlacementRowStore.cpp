#include "app/PlacementRowStore.h"

#include <algorithm>
#include <cstring>

namespace morvi {
namespace {

constexpr uint32_t kChunkBytes = 256 * 1024;
constexpr int kStoredColumns = kPlacementColumnCount - 1;   // all but the interned path
constexpr size_t kCompactAfterBytes = 1024 * 1024;

// Position of a column inside a blob (column 10 is not stored there).
int BlobIndex(int column) { return column < COL_FILE ? column : column - 1; }

void AppendVarint(std::string& out, size_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
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
    m_rows.shrink_to_fit();
    m_chunks.clear();
    m_liveBytes = 0;
    m_garbageBytes = 0;
    m_fileIds.clear();
    m_files.clear();
    m_files.emplace_back();
    m_fileIds.emplace(std::string_view(m_files.front()), 0);
}

uint32_t PlacementRowStore::InternFile(std::string_view path) {
    if (auto it = m_fileIds.find(path); it != m_fileIds.end())
        return it->second;
    const auto id = static_cast<uint32_t>(m_files.size());
    m_files.emplace_back(path);
    m_fileIds.emplace(std::string_view(m_files.back()), id);
    return id;
}

PlacementRowStore::Row PlacementRowStore::StoreBlob(const std::string_view* texts, uint32_t file) {
    // Encode first: the texts may point into the arena, even into space about to be reused.
    static thread_local std::string scratch;
    Encode(texts, scratch);
    const auto size = static_cast<uint32_t>(scratch.size());
    if (m_chunks.empty() || m_chunks.back().size - m_chunks.back().used < size) {
        Chunk chunk;
        chunk.size = std::max(kChunkBytes, size);
        chunk.bytes = std::make_unique<char[]>(chunk.size);
        m_chunks.push_back(std::move(chunk));
    }
    Chunk& chunk = m_chunks.back();
    Row row{static_cast<uint32_t>(m_chunks.size() - 1), chunk.used, file};
    std::memcpy(chunk.bytes.get() + chunk.used, scratch.data(), size);
    chunk.used += size;
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
    m_rows.push_back(StoreBlob(views, InternFile(texts[COL_FILE])));
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
    for (const std::string& path : m_files)
        bytes += sizeof(std::string) + path.capacity();
    bytes += m_fileIds.size() * (sizeof(std::string_view) + sizeof(uint32_t) + 2 * sizeof(void*));
    return bytes;
}

}  // namespace morvi
