#include "document/RowChunkMemory.h"

#include <cstdint>
#include <new>

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace morvi {
namespace {

#if !defined(_WIN32) && defined(MADV_HUGEPAGE)
// A mapping of `bytes` starting on a large-page boundary: map one page more and cut off what
// lies before the boundary and after the block. Null when mapping fails.
void* MapLargePages(size_t bytes) {
    const size_t span = bytes + kLargePageBytes;
    void* const mapped = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t aligned = (start + kLargePageBytes - 1) & ~(uintptr_t{kLargePageBytes} - 1);
    const size_t head = aligned - start;
    if (head) ::munmap(mapped, head);
    if (span - head - bytes) ::munmap(reinterpret_cast<void*>(aligned + bytes), span - head - bytes);
    // Only advice: without it (or without huge pages) the block still works with small pages.
    ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}
#endif

}  // namespace

void RowChunkFree::operator()(void* chunk) const {
#if !defined(_WIN32) && defined(MADV_HUGEPAGE)
    if (mapped) {
        ::munmap(chunk, bytes);
        return;
    }
#endif
    ::operator delete(chunk);
}

RowChunkBlock AllocateRowChunk(size_t bytes, bool largePages) {
#if !defined(_WIN32) && defined(MADV_HUGEPAGE)
    if (largePages && bytes % kLargePageBytes == 0)
        if (void* chunk = MapLargePages(bytes)) return RowChunkBlock(chunk, RowChunkFree{bytes, true});
#else
    (void)largePages;
#endif
    return RowChunkBlock(::operator new(bytes), RowChunkFree{bytes, false});
}

}  // namespace morvi
