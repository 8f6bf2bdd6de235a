#include "data/platform/AtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

#include "data/platform/FileReadAhead.h"

namespace morvi {
namespace {

long g_failAfterBytes = -1;
bool g_failNextCommit = false;
constexpr char kTempMarker[] = ".morvi-";
constexpr size_t kTempRandomLength = 6;   // the XXXXXX of mkstemp

std::string Describe(const char* what, const std::string& path, int err) {
    return std::string(what) + " " + path + ": " + std::strerror(err);
}

// Writes everything from the current position or reports the error; honours the test seam.
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

std::string BaseNameOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SyncDirectory(const std::string& dir) {
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        (void)::fsync(dfd);
        ::close(dfd);
    }
}

bool IsOurTemporaryName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + kTempRandomLength || name.substr(0, prefix.size()) != prefix)
        return false;
    return std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Removes `.BASE.morvi-XXXXXX` files beside BASE that a crashed writer left. A writer holds
// an exclusive lock on its temporary file from creation to rename, so a file we can lock is
// abandoned; one we cannot lock belongs to a writer still at work and stays.
void RemoveAbandonedTemporaries(const std::string& dir, const std::string& base) {
    const std::string prefix = "." + base + kTempMarker;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    const int dfd = ::dirfd(d);
    while (const dirent* e = ::readdir(d)) {
        if (!IsOurTemporaryName(e->d_name, prefix)) continue;
        const int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held{}, named{};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dfd, e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_ino == held.st_ino && named.st_dev == held.st_dev)
            (void)::unlinkat(dfd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(d);
}

// Names of a file's extended attributes; empty when it has none or the file system keeps none.
bool ListAttributes(int fd, std::vector<std::string>& names) {
    names.clear();
    ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    std::string buffer(static_cast<size_t>(size), '\0');
    size = ::flistxattr(fd, buffer.data(), buffer.size());
    if (size < 0) return false;
    buffer.resize(static_cast<size_t>(size));
    for (size_t pos = 0; pos < buffer.size();) {
        size_t end = buffer.find('\0', pos);
        if (end == std::string::npos) end = buffer.size();
        if (end > pos) names.emplace_back(buffer, pos, end - pos);
        pos = end + 1;
    }
    return true;
}

bool GetAttribute(int fd, const std::string& name, std::string& value) {
    ssize_t size = ::fgetxattr(fd, name.c_str(), nullptr, 0);
    if (size < 0) return false;
    value.assign(static_cast<size_t>(size), '\0');
    size = ::fgetxattr(fd, name.c_str(), value.data(), value.size());
    if (size < 0) return false;
    value.resize(static_cast<size_t>(size));
    return true;
}

// Gives the temporary file the original's owner, group, mode and extended attributes (the
// POSIX access ACL is one of them). False when any of them cannot be carried over: the
// replace would then change the file's identity.
bool CarryIdentity(const std::string& original, const struct stat& st, int temp) {
    if (::geteuid() == 0) {
        if (::fchown(temp, st.st_uid, st.st_gid) != 0) return false;
    } else {
        // Only root can give a file away: a replace by anyone else would take the file over.
        if (st.st_uid != ::geteuid()) return false;
        if (::fchown(temp, static_cast<uid_t>(-1), st.st_gid) != 0) return false;
    }
    // After the ownership change, which may clear set-id bits.
    if (::fchmod(temp, st.st_mode & 07777) != 0) return false;

    const int source = ::open(original.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (source < 0) return false;
    std::vector<std::string> wanted, present;
    bool ok = ListAttributes(source, wanted) && ListAttributes(temp, present);
    std::string value, current;
    for (const std::string& name : wanted) {
        if (!ok) break;
        if (!GetAttribute(source, name, value)) {
            ok = false;
            break;
        }
        if (GetAttribute(temp, name, current) && current == value) continue;
        ok = ::fsetxattr(temp, name.c_str(), value.data(), value.size(), 0) == 0;
    }
    ::close(source);
    // Attributes the new file got from its directory (a default ACL) that the original lacks.
    for (const std::string& name : present) {
        if (!ok) break;
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end())
            ok = ::fremovexattr(temp, name.c_str()) == 0 || errno == ENODATA;
    }
    struct stat now{};
    if (ok && ::fstat(temp, &now) == 0 && (now.st_mode & 07777) != (st.st_mode & 07777))
        ok = ::fchmod(temp, st.st_mode & 07777) == 0;
    return ok;
}

// Rewrites the file itself: the way to keep a hard link, an owner or attributes the
// replace cannot carry, or to write where no temporary file can be made. On a failed write
// the old bytes are put back.
bool WriteInPlace(const std::string& path, const struct stat& expected, std::string_view content,
                  const BeforeCommit& beforeCommit, std::string* error) {
    std::string old;
    if (!ReadRegularFile(path, old)) {
        if (error) *error = Describe("cannot read", path, errno ? errno : EIO);
        return false;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = Describe("cannot write", path, errno);
        return false;
    }
    struct stat st{};
    if (::fstat(fd, &st) != 0 || st.st_ino != expected.st_ino || st.st_dev != expected.st_dev) {
        ::close(fd);
        if (error) *error = path + ": the file was replaced while it was being written";
        return false;
    }
    std::string reason;
    if (beforeCommit && !beforeCommit(WriteMethod::InPlace, &reason)) {
        ::close(fd);
        if (error) *error = reason;
        return false;
    }
    if (g_failNextCommit) {
        g_failNextCommit = false;
        ::close(fd);
        if (error) *error = path + ": " + std::strerror(EIO);
        return false;
    }
    int err = 0;
    bool ok = ::lseek(fd, 0, SEEK_SET) == 0 || (err = errno, false);
    ok = ok && WriteAll(fd, content, &err);
    if (ok && ::ftruncate(fd, static_cast<off_t>(content.size())) != 0) ok = false, err = errno;
    if (ok && ::fsync(fd) != 0) ok = false, err = errno;
    if (!ok) {
        int restoreErr = 0;
        bool restored = ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, old, &restoreErr) &&
                        ::ftruncate(fd, static_cast<off_t>(old.size())) == 0 && ::fsync(fd) == 0;
        ::close(fd);
        if (error) {
            *error = Describe("cannot write", path, err);
            *error += restored ? "; its previous contents were put back"
                               : "; its previous contents could not be put back, the change history holds them";
        }
        return false;
    }
    if (::close(fd) != 0) {
        if (error) *error = Describe("cannot write", path, errno);
        return false;
    }
    return true;
}

}  // namespace

void FailNextReplaceAfterBytesForTesting(long bytes) { g_failAfterBytes = bytes; }
void FailNextCommitForTesting() { g_failNextCommit = true; }

bool ReplaceFileContents(const std::string& path, std::string_view content, std::string* error) {
    return ReplaceFileContents(path, content, error, {}, nullptr);
}

bool ReplaceFileContents(const std::string& requestedPath, std::string_view content, std::string* error,
                         const BeforeCommit& beforeCommit, WriteMethod* methodUsed) {
    // Replace the file a symlink points at, not the link itself.
    std::string path = requestedPath;
    if (char* real = ::realpath(requestedPath.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }

    bool existed = false;
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            if (error) *error = path + ": not a regular file";
            return false;
        }
        existed = true;
        // Renaming over a file needs only a writable directory; a file the operator made
        // read-only must stay as it is, as an in-place write would have found.
        if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
            if (error) *error = Describe("cannot write", path, errno);
            return false;
        }
    }

    const std::string dir = DirectoryOf(path);
    const std::string base = BaseNameOf(path);
    RemoveAbandonedTemporaries(dir, base);

    auto inPlace = [&] {
        if (methodUsed) *methodUsed = WriteMethod::InPlace;
        return WriteInPlace(path, st, content, beforeCommit, error);
    };
    // A rename would split a hard link: the other names would keep the old content.
    if (existed && st.st_nlink > 1) return inPlace();

    std::string temp = dir + "/." + base + kTempMarker + std::string(kTempRandomLength, 'X');
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        const int err = errno;
        // A writable file in a directory we may not add to: write it the way it can be written.
        if (existed && (err == EACCES || err == EPERM)) return inPlace();
        if (error) *error = Describe("cannot create a temporary file beside", path, err);
        return false;
    }
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    (void)::flock(fd, LOCK_EX);   // tells a later cleaner that this file is still being written
    int err = 0;
    bool ok = WriteAll(fd, content, &err);
    if (ok) {
        if (existed) {
            if (!CarryIdentity(path, st, fd)) {
                ::close(fd);
                ::unlink(temp.c_str());
                return inPlace();
            }
        } else if (::fchmod(fd, 0644) != 0) {
            ok = false, err = errno;
        }
    }
    if (ok && ::fsync(fd) != 0) ok = false, err = errno;
    std::string reason;
    bool refused = false;
    if (ok && beforeCommit && !beforeCommit(WriteMethod::Replace, &reason)) ok = false, refused = true;
    if (ok && g_failNextCommit) ok = false, err = EIO, g_failNextCommit = false;
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false, err = errno;
    // Closed only now, so that the lock covers the temporary file until it is renamed; the
    // content is already flushed, so closing cannot lose it.
    ::close(fd);
    if (!ok) {
        ::unlink(temp.c_str());
        if (error) *error = refused ? reason : Describe("cannot write", path, err);
        return false;
    }
    if (methodUsed) *methodUsed = WriteMethod::Replace;
    // Make the rename itself durable.
    SyncDirectory(dir);
    return true;
}

}  // namespace morvi
