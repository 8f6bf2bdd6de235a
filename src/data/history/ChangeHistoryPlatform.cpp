#ifndef _WIN32
#include "data/history/ChangeHistoryPlatform.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvi {

std::string HistoryRootDirectory() {
    // The XDG base-directory rules ignore a relative XDG_STATE_HOME.
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/MorviNpc/history";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') home = h;
    else if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir) home = pw->pw_dir;
    if (home.empty()) return {};
    return home + "/.local/state/MorviNpc/history";
}

std::string CurrentUserName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    return "uid " + std::to_string(::geteuid());
}

std::string CurrentHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

int64_t CurrentEpochSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

namespace {

std::string Describe(const std::string& what, int err) { return what + ": " + std::strerror(err); }

std::string ParentOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

bool WriteAll(int fd, std::string_view bytes, int* err) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            *err = errno;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool CreateDirectoriesDurably(const std::string& dir, std::string* error) {
    struct stat st{};
    if (::stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        if (error) *error = dir + ": not a directory";
        return false;
    }
    const std::string parent = ParentOf(dir);
    if (parent != dir && !CreateDirectoriesDurably(parent, error)) return false;
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        if (error) *error = Describe("cannot create " + dir, errno);
        return false;
    }
    SyncDirectory(parent);
    return true;
}

namespace {
bool g_failNextAppendFlush = false;
}  // namespace

void FailNextAppendFlushForTesting() { g_failNextAppendFlush = true; }

bool TruncateDurably(const std::string& path, uint64_t size, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    bool ok = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0 && ::fsync(fd) == 0;
    const int err = errno;
    if (fd >= 0) ::close(fd);
    if (!ok && error) *error = Describe("cannot cut " + path + " back", err);
    return ok;
}

bool AppendDurably(const std::string& path, std::string_view bytes, std::string* error) {
    struct stat st{};
    const bool created = ::stat(path.c_str(), &st) != 0;
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (error) *error = Describe("cannot open " + path, errno);
        return false;
    }
    int err = 0;
    bool ok = WriteAll(fd, bytes, &err);
    if (ok && ::fsync(fd) != 0) ok = false, err = errno;
    if (ok && g_failNextAppendFlush) ok = false, err = EIO;
    g_failNextAppendFlush = false;
    if (::close(fd) != 0 && ok) ok = false, err = errno;
    if (!ok) {
        if (error) *error = Describe("cannot write " + path, err);
        return false;
    }
    if (created) SyncDirectory(ParentOf(path));
    return true;
}

bool ReadFileTail(const std::string& path, uint64_t maxBytes, std::string& out, uint64_t* size) {
    out.clear();
    if (size) *size = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    struct stat st{};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return false;
    }
    const uint64_t total = static_cast<uint64_t>(st.st_size);
    if (size) *size = total;
    const uint64_t length = total < maxBytes ? total : maxBytes;
    out.resize(length);
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, out.data() + done, length - done,
                                  static_cast<off_t>(total - length + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    out.resize(done);
    ::close(fd);
    return done == length;
}

}  // namespace morvi
#endif
