#pragma once
// Memory for the row store's chunks. A fresh process pays a page fault for every 4 KiB it
// touches first, and filling the rows of a large map is mostly that; where the system offers
// transparent huge pages on request, a chunk of whole 2 MiB pages asks for them and is filled
// with one fault per 2 MiB. Elsewhere (or when the request fails) a chunk is plain heap memory.

#include <cstddef>
#include <memory>

namespace morvi {

inline constexpr size_t kLargePageBytes = size_t{2} << 20;

struct RowChunkFree {
    size_t bytes = 0;
    bool mapped = false;
    void operator()(void* chunk) const;
};
using RowChunkBlock = std::unique_ptr<void, RowChunkFree>;

// `bytes` of uninitialised memory, aligned for any type; with `largePages` (and `bytes` a
// multiple of kLargePageBytes) aligned to a large page and advised to use large pages.
RowChunkBlock AllocateRowChunk(size_t bytes, bool largePages);

}  // namespace morvi
