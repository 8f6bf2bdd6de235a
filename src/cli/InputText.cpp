#include "cli/InputText.h"

#include <cstring>
#ifndef _WIN32
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "data/platform/FileReadAhead.h"

namespace morvi::cli {
namespace {

// Room for `bytes`: whole large pages once it is worth one.
RowChunkBlock Room(size_t bytes, size_t* capacity) {
    const bool large = bytes >= kLargePageBytes;
    *capacity = large ? (bytes + kLargePageBytes - 1) / kLargePageBytes * kLargePageBytes : bytes;
    return AllocateRowChunk(*capacity, large);
}

}  // namespace

#ifdef _WIN32

bool InputText::Read(const std::string& path) {
    m_size = 0;
    m_block.reset();
    if (!ReadRegularFile(path, m_text)) return false;
    size_t capacity = 0;
    m_block = Room(m_text.size() + 1, &capacity);
    std::memcpy(m_block.get(), m_text.data(), m_text.size());
    m_size = m_text.size();
    std::string().swap(m_text);
    return true;
}

#else

bool InputText::Read(const std::string& path) {
    m_size = 0;
    m_block.reset();
    struct stat st {};
    const int fd = OpenRegularFileDescriptor(path, st);
    if (fd < 0) return false;
    // One byte more than the file, so the read that finds its end needs no more room.
    size_t capacity = 0;
    RowChunkBlock block = Room(static_cast<size_t>(st.st_size) + 1, &capacity);
    size_t done = 0;
    while (true) {
        if (done == capacity) {   // the file has grown since: move to room twice as large
            size_t larger = 0;
            RowChunkBlock moved = Room(capacity * 2, &larger);
            std::memcpy(moved.get(), block.get(), done);
            block = std::move(moved);
            capacity = larger;
        }
        const ssize_t n = ::read(fd, static_cast<char*>(block.get()) + done, capacity - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    m_block = std::move(block);
    m_size = done;
    return true;
}

#endif

}  // namespace morvi::cli
