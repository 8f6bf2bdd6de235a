#include "document/PlacementRows.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <stdexcept>

#include "document/PlacementRowFormatter.h"

namespace morvi {

namespace {
std::atomic<uint64_t> g_nextStoreIdentity{1};
}  // namespace

PlacementRowStore::StoreIdentity::StoreIdentity() : value(g_nextStoreIdentity++) {}

PlacementRowStore::PlacementRowStore() {
    m_files.emplace_back();
    m_fileIds.emplace(std::string_view(m_files.front()), 0u);
}

namespace {
std::atomic<bool> g_preferLargePages{false};
}  // namespace

void PlacementRowStore::PreferLargePages(bool prefer) { g_preferLargePages = prefer; }

PlacementRowStore::RowChunks::RowChunks() : m_large(g_preferLargePages) {}

void PlacementRowStore::RowChunks::push_back(const Row& row) {
    if (m_size == m_chunks.size() * RowsPerChunk())
        m_chunks.push_back(AllocateRowChunk(ChunkBytes(), m_large));
    ::new (static_cast<void*>(&(*this)[m_size++])) Row(row);
}

void PlacementRowStore::RowChunks::erase(size_t i) {
    for (size_t k = i + 1; k < m_size; ++k) (*this)[k - 1] = (*this)[k];
    --m_size;
}

NpcPlacement PlacementRowStore::BlockOf(const Row& r) {
    NpcPlacement block;
    uint8_t* bytes = block.Bytes();
    std::memcpy(bytes, r.head, kHeadBytes);
    std::memset(bytes + kHeadBytes, 0, kNameOverflowBytes);
    std::memcpy(bytes + kAfterNameAt, r.tail, kTailBytes);
    return block;
}

const char* PlacementRowStore::SideAt(uint32_t place) const {
    return m_scriptChunks[place / kScriptChunkBytes].get() + place % kScriptChunkBytes;
}

std::string_view PlacementRowStore::ScriptOf(const Row& r) const {
    if (!RowHasScript(r)) return {};
    return std::string_view(SideAt(r.extra) + OverflowLengthOf(r), ScriptLengthOf(r));
}

NpcPlacement PlacementRowStore::Block(int row) const {
    const Row& r = At(row);
    NpcPlacement block = BlockOf(r);
    if (r.file & kNameOverflowFlag) std::memcpy(block.Bytes() + kHeadBytes, SideAt(r.extra), kNameOverflowBytes);
    return block;
}

std::string_view PlacementRowStore::StoredScript(int row) const {
    if (row < 0 || row >= Count()) return {};
    return ScriptOf(At(row));
}

std::string PlacementRowStore::CellText(int row, int column) const {
    std::string out;
    AppendCellText(row, column, out);
    return out;
}

void PlacementRowStore::AppendCellText(int row, int column, std::string& out) const {
    if (row < 0 || row >= Count()) return;
    if (!m_overrides.empty()) {
        const auto cells = m_overrides.find(Slot(row));
        if (cells != m_overrides.end()) {
            const auto cell = cells->second.find(column);
            if (cell != cells->second.end()) {
                out.append(cell->second);
                return;
            }
        }
    }
    // Only the script column reads the script, only the file column the path.
    const Row& r = At(row);
    const std::string_view script = column == COL_SCRIPT ? ScriptOf(r) : std::string_view();
    const std::string_view file =
        column == COL_FILE ? std::string_view(m_files[r.file & kFileIdMask]) : std::string_view();
    PlacementRowFormatter::AppendCell(Block(row), script, file, column, out);
}

RowTexts PlacementRowStore::Texts(int row) const {
    RowTexts texts;
    for (int column = 0; column < kPlacementColumnCount; ++column)
        AppendCellText(row, column, texts[static_cast<size_t>(column)]);
    return texts;
}

PlacementRecord PlacementRowStore::Record(int row) const {
    PlacementRecord record;
    record.block = Block(row);
    record.script = std::string(StoredScript(row));
    return record;
}

void PlacementRowStore::Clear() {
    m_rows.clear();
    // The first script chunk stays for the next load.
    if (m_scriptChunks.size() > 1) m_scriptChunks.resize(1);
    m_scriptUsed = 0;
    m_scriptBytes = 0;
    m_deadScriptBytes = 0;
    m_overrides.clear();
    // Interned paths stay: the next load of the same map asks for them again.
}

uint32_t PlacementRowStore::InternFile(std::string_view path) {
    if (m_files[m_lastFile] == path) return m_lastFile;
    const auto found = m_fileIds.find(path);
    if (found != m_fileIds.end()) return m_lastFile = found->second;
    // The top bit of a row's file id is taken; two billion region files do not fit in memory.
    if (m_files.size() > kFileIdMask) throw std::length_error("too many region files");
    const uint32_t id = static_cast<uint32_t>(m_files.size());
    m_files.emplace_back(path);
    m_fileIds.emplace(std::string_view(m_files.back()), id);
    return m_lastFile = id;
}

uint32_t PlacementRowStore::StoreSide(const char* overflow, size_t overflowLength, std::string_view script,
                                      size_t scriptLength) {
    const size_t length = overflowLength + scriptLength;
    if (length == 0) return 0;
    if (m_scriptChunks.empty() || m_scriptUsed + length > kScriptChunkBytes) {
        m_scriptChunks.push_back(std::make_unique_for_overwrite<char[]>(kScriptChunkBytes));
        m_scriptUsed = 0;
    }
    char* at = m_scriptChunks.back().get() + m_scriptUsed;
    // memcpy wants real pointers even for no bytes, and an empty script has none.
    if (overflowLength) std::memcpy(at, overflow, overflowLength);
    at += overflowLength;
    // The row always holds exactly dropCountOrScriptLength script bytes, zero-padded if short.
    const size_t present = std::min(scriptLength, script.size());
    if (present) std::memcpy(at, script.data(), present);
    std::memset(at + present, 0, scriptLength - present);
    const uint32_t place = static_cast<uint32_t>((m_scriptChunks.size() - 1) * kScriptChunkBytes + m_scriptUsed);
    m_scriptUsed += length;
    m_scriptBytes += length;
    return place;
}

void PlacementRowStore::FillRow(Row& row, const NpcPlacement& block, std::string_view storedScript) {
    const uint8_t* bytes = block.Bytes();
    std::memcpy(row.head, bytes, kHeadBytes);
    std::memcpy(row.tail, bytes + kAfterNameAt, kTailBytes);
    static constexpr uint8_t kZeros[kNameOverflowBytes] = {};
    const bool overflow = std::memcmp(bytes + kHeadBytes, kZeros, kNameOverflowBytes) != 0;
    row.file = (row.file & kFileIdMask) | (overflow ? kNameOverflowFlag : 0);
    row.extra = StoreSide(reinterpret_cast<const char*>(bytes + kHeadBytes), overflow ? kNameOverflowBytes : 0,
                          storedScript, block.HasScript() ? block.dropCountOrScriptLength : 0);
}

void PlacementRowStore::InsertTop(uint32_t file, const NpcPlacement& block,
                                  std::string_view storedScript) {
    Row row;
    row.file = file < m_files.size() ? file : 0;
    FillRow(row, block, storedScript);
    m_rows.push_back(row);
}

void PlacementRowStore::Replace(int row, const NpcPlacement& block, std::string_view storedScript) {
    if (row < 0 || row >= Count()) return;
    Row& r = m_rows[Slot(row)];
    m_deadScriptBytes += SideLengthOf(r);
    m_scriptBytes -= SideLengthOf(r);
    FillRow(r, block, storedScript);
    CompactScriptsIfWasteful();
}

void PlacementRowStore::Erase(int row) {
    if (row < 0 || row >= Count()) return;
    const size_t slot = Slot(row);
    m_deadScriptBytes += SideLengthOf(m_rows[slot]);
    m_scriptBytes -= SideLengthOf(m_rows[slot]);
    m_rows.erase(slot);
    if (!m_overrides.empty()) {
        // Slots above the erased one move down by one.
        std::map<size_t, std::map<int, std::string>> moved;
        for (auto& [s, cells] : m_overrides) {
            if (s < slot) moved.emplace(s, std::move(cells));
            else if (s > slot) moved.emplace(s - 1, std::move(cells));
        }
        m_overrides = std::move(moved);
    }
    CompactScriptsIfWasteful();
}

void PlacementRowStore::SetOverride(int row, int column, std::string text) {
    if (row < 0 || row >= Count() || column < 0 || column >= kPlacementColumnCount) return;
    m_overrides[Slot(row)][column] = std::move(text);
}

void PlacementRowStore::ClearOverrides(int row) {
    if (row < 0 || row >= Count()) return;
    m_overrides.erase(Slot(row));
}

bool PlacementRowStore::HasOverride(int row, int column) const {
    if (row < 0 || row >= Count()) return false;
    const auto cells = m_overrides.find(Slot(row));
    return cells != m_overrides.end() && cells->second.count(column) != 0;
}

bool PlacementRowStore::HasOverrides(int row) const {
    if (row < 0 || row >= Count() || m_overrides.empty()) return false;
    return m_overrides.count(Slot(row)) != 0;
}

void PlacementRowStore::CompactScriptsIfWasteful() {
    // Replaced and erased scripts stay until they are as many bytes as the live ones.
    if (m_deadScriptBytes < kScriptChunkBytes || m_deadScriptBytes < m_scriptBytes) return;
    std::vector<std::unique_ptr<char[]>> old = std::move(m_scriptChunks);
    m_scriptChunks.clear();
    m_scriptUsed = 0;
    m_scriptBytes = 0;
    m_deadScriptBytes = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        Row& r = m_rows[i];
        const size_t overflow = OverflowLengthOf(r), script = ScriptLengthOf(r);
        if (overflow + script == 0) continue;
        const char* side = old[r.extra / kScriptChunkBytes].get() + r.extra % kScriptChunkBytes;
        r.extra = StoreSide(side, overflow, std::string_view(side + overflow, script), script);
    }
}

size_t PlacementRowStore::BytesHeld() const {
    size_t bytes = m_rows.BytesHeld() + m_scriptChunks.size() * kScriptChunkBytes;
    for (const std::string& file : m_files) bytes += sizeof(std::string) + file.capacity();
    bytes += m_fileIds.size() * (sizeof(std::string_view) + sizeof(uint32_t) + 2 * sizeof(void*));
    for (const auto& [slot, cells] : m_overrides) {
        bytes += sizeof(slot) + 4 * sizeof(void*);
        for (const auto& [column, text] : cells) bytes += sizeof(column) + text.capacity() + 4 * sizeof(void*);
    }
    return bytes;
}

}  // namespace morvi
