#include "data/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvi {
namespace {

long g_failAfterBytes = -1;

std::string Describe(const char* what, const std::string& path, int err) {
    return std::string(what) + " " + path + ": " + std::strerror(err);
}

// Writes everything or reports the error; honours the test seam.
bool WriteAll(int fd, std::string_view content, int* err) {
    size_t limit = content.size();
    bool injected = false;
    if (g_failAfterBytes >= 0) {
        limit = std::min(limit, static_cast<size_t>(g_failAfterBytes));
        injected = true;
        g_failAfterBytes = -1;
    }
    size_t done = 0;
    while (done < limit) {
        ssize_t n = ::write(fd, content.data() + done, limit - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            *err = errno;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    if (injected) {
        *err = ENOSPC;
        return false;
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

void FailNextReplaceAfterBytesForTesting(long bytes) { g_failAfterBytes = bytes; }

bool ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    // O_NONBLOCK keeps a FIFO from blocking the open; it is then refused as not regular.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    out.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (true) {
        if (done == out.size()) out.resize(out.size() + 65536);   // the file may have grown
        ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            out.clear();
            return false;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    out.resize(done);
    ::close(fd);
    return true;
}

bool ReplaceFileContents(const std::string& requestedPath, std::string_view content, std::string* error) {
    // Replace the file a symlink points at, not the link itself.
    std::string path = requestedPath;
    if (char* real = ::realpath(requestedPath.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }

    mode_t mode = 0644;
    bool existed = false;
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            if (error) *error = path + ": not a regular file";
            return false;
        }
        mode = st.st_mode & 07777;
        existed = true;
        // Renaming over a file needs only a writable directory; a file the operator made
        // read-only must stay as it is, as an in-place write would have found.
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
            if (error) *error = Describe("cannot write", path, errno);
            return false;
        }
    }

    std::string dir = DirectoryOf(path);
    std::string base = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    std::string temp = dir + "/." + base + ".morvi-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        if (error) *error = Describe("cannot create a temporary file beside", path, errno);
        return false;
    }
    int err = 0;
    bool ok = WriteAll(fd, content, &err);
    if (ok && ::fchmod(fd, mode) != 0) ok = false, err = errno;
    if (ok && existed && ::geteuid() == 0) (void)::fchown(fd, st.st_uid, st.st_gid);
    if (ok && ::fsync(fd) != 0) ok = false, err = errno;
    if (::close(fd) != 0 && ok) ok = false, err = errno;
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false, err = errno;
    if (!ok) {
        ::unlink(temp.c_str());
        if (error) *error = Describe("cannot write", path, err);
        return false;
    }
    // Make the rename itself durable.
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        (void)::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace morvi
