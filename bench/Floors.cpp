#include "Floors.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace morvi::bench {
namespace {

// Reads the whole open file into `buffer` (grown as needed); returns the bytes read.
size_t ReadAll(int fd, std::string& buffer) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && buffer.size() < static_cast<size_t>(st.st_size) + 1)
        buffer.resize(static_cast<size_t>(st.st_size) + 1);
    size_t done = 0;
    for (;;) {
        if (done == buffer.size()) buffer.resize(buffer.size() * 2 + 4096);
        const ssize_t n = ::read(fd, buffer.data() + done, buffer.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return done;
        done += static_cast<size_t>(n);
    }
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

size_t ReadEveryFile(const std::vector<std::string>& paths) {
    static std::string buffer;
    size_t total = 0;
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        total += ReadAll(fd, buffer);
        ::close(fd);
    }
    return total;
}

std::string CopyWithFlush(const std::string& path) {
    std::string content;
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) throw std::runtime_error("cannot open " + path);
    content.resize(ReadAll(in, content));
    ::close(in);

    const std::string copy = path + ".floor-copy";
    const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) throw std::runtime_error("cannot create " + copy);
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(out, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error("cannot write " + copy);
        done += static_cast<size_t>(n);
    }
    ::fsync(out);
    ::close(out);
    const int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return copy;
}

void RemoveCopy(const std::string& copy) { ::unlink(copy.c_str()); }

}  // namespace morvi::bench
