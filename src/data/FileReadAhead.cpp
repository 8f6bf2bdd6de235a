#include "data/FileReadAhead.h"

#ifdef _WIN32
// Windows: whole-file reads through wide paths; the system's own read-ahead does the rest.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "data/WidePath.h"

namespace morvi {

bool ReadRegularFile(const std::string& path, std::string& out) {
    out.clear();
    std::error_code ec;
    const std::filesystem::path native = FsPath(path);
    if (!std::filesystem::is_regular_file(native, ec)) return false;
    std::ifstream in(native, std::ios::binary);
    if (!in) return false;
    std::string chunk(65536, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0)
        out.append(chunk.data(), static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        out.clear();
        return false;
    }
    return true;
}

FileReadAhead::FileReadAhead(const std::vector<std::string>& paths, size_t depth)
    : m_paths(paths), m_depth(depth), m_open(paths.size(), -1) {}

FileReadAhead::~FileReadAhead() = default;

void FileReadAhead::Announce(size_t upTo) { m_announced = std::min(upTo, m_paths.size()); }

bool FileReadAhead::Read(size_t index, std::string& out) {
    if (index >= m_paths.size()) {
        out.clear();
        return false;
    }
    return ReadRegularFile(m_paths[index], out);
}

}  // namespace morvi

#else

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvi {
namespace {

// O_NONBLOCK keeps a FIFO from blocking the open; it is then refused as not regular.
int OpenForReading(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }

bool ReadDescriptor(int fd, std::string& out) {
    out.clear();
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // One byte more than the file holds: a read that comes back short is at the end, so a file
    // that does not change while it is read takes a single call.
    size_t done = 0;
    out.resize(static_cast<size_t>(st.st_size) + 1);
    while (true) {
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            out.clear();
            return false;
        }
        done += static_cast<size_t>(n);
        if (n == 0 || done < out.size()) break;
        out.resize(out.size() + 65536);   // the file grew while it was read
    }
    out.resize(done);
    return true;
}

}  // namespace

bool ReadRegularFile(const std::string& path, std::string& out) {
    const int fd = OpenForReading(path);
    if (fd < 0) {
        out.clear();
        return false;
    }
    const bool ok = ReadDescriptor(fd, out);
    ::close(fd);
    return ok;
}

FileReadAhead::FileReadAhead(const std::vector<std::string>& paths, size_t depth)
    : m_paths(paths), m_depth(depth), m_open(paths.size(), -1) {}

FileReadAhead::~FileReadAhead() {
    for (int fd : m_open)
        if (fd >= 0) ::close(fd);
}

void FileReadAhead::Announce(size_t upTo) {
    upTo = std::min(upTo, m_paths.size());
    for (; m_announced < upTo; ++m_announced) {
        const int fd = OpenForReading(m_paths[m_announced]);
        if (fd < 0) continue;   // reported when the file itself is read
#ifdef POSIX_FADV_WILLNEED
        (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
#endif
        m_open[m_announced] = fd;
    }
}

bool FileReadAhead::Read(size_t index, std::string& out) {
    if (index >= m_paths.size()) {
        out.clear();
        return false;
    }
    // The file itself is opened at once rather than announced: it is needed now.
    if (m_announced <= index) m_announced = index + 1;
    Announce(index + 1 + m_depth);
    int fd = m_open[index];
    m_open[index] = -1;
    if (fd < 0) fd = OpenForReading(m_paths[index]);
    if (fd < 0) {
        out.clear();
        return false;
    }
    const bool ok = ReadDescriptor(fd, out);
    ::close(fd);
    return ok;
}

}  // namespace morvi

#endif
