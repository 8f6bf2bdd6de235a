#include "Floors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
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

bool IsRegionFileName(const char* name) {
    static constexpr char kSuffix[] = "_S.DAT";
    constexpr size_t kSuffixLength = sizeof kSuffix - 1;
    const size_t length = std::strlen(name);
    if (length < kSuffixLength) return false;
    for (size_t i = 0; i < kSuffixLength; ++i) {
        char c = name[length - kSuffixLength + i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kSuffix[i]) return false;
    }
    return true;
}

void WalkAndRead(const std::string& directory, std::string& buffer, MapReadFloor& floor) {
    DIR* dir = ::opendir(directory.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        const std::string path = directory + '/' + name;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0) continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR) {
            WalkAndRead(path, buffer, floor);
        } else if (type == DT_REG && IsRegionFileName(name)) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0) continue;
            floor.bytes += ReadAll(fd, buffer);
            ++floor.files;
            ::close(fd);
        }
    }
    ::closedir(dir);
}

}  // namespace

MapReadFloor WalkAndReadMap(const std::string& mapDirectory) {
    static std::string buffer;
    MapReadFloor floor;
    WalkAndRead(mapDirectory, buffer, floor);
    return floor;
}

bool DropPageCache() {
    ::sync();
    std::FILE* f = std::fopen("/proc/sys/vm/drop_caches", "w");
    if (!f) return false;
    const bool written = std::fputs("3", f) >= 0;
    return std::fclose(f) == 0 && written;
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

void AppendWithFlush(const std::string& journal, size_t bytes) {
    const int fd = ::open(journal.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) throw std::runtime_error("cannot open " + journal);
    const std::string line(bytes, 'j');
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        throw std::runtime_error("cannot write " + journal);
    ::fsync(fd);
    ::close(fd);
}

}  // namespace morvi::bench
