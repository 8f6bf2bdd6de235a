#pragma once
// The whole text of an input file (what `import` reads), read once into memory that is not
// zero-filled first and, for a large file, lies in huge pages: a fresh process would
// otherwise fault in and clear every 4 KiB of it before the read copies the file over it.

#include <cstddef>
#include <string>
#include <string_view>

#include "document/RowChunkMemory.h"

namespace morvi::cli {

class InputText {
public:
    // False when the file cannot be read or is not a regular file (a FIFO is refused without
    // blocking).
    bool Read(const std::string& path);
    std::string_view View() const { return {static_cast<const char*>(m_block.get()), m_size}; }

private:
    RowChunkBlock m_block;
    size_t m_size = 0;
#ifdef _WIN32
    std::string m_text;
#endif
};

}  // namespace morvi::cli
