#include "data/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace morvi {
namespace {

long g_failAfterBytes = -1;

// The temporary file beside NAME is ".NAME.morvi-XXXXXX"; mkstemp fills the six X with
// letters and digits.
constexpr const char kTempInfix[] = ".morvi-";
constexpr size_t kTempRandomLength = 6;

// A temporary file of ours younger than this may belong to another instance writing the same
// file right now; removing it would only make that write fail, so it is left for a later write.
constexpr time_t kStaleTempAgeSeconds = 300;

std::string Describe(const char* what, const std::string& path, int err) {
    return std::string(what) + " " + path + ": " + std::strerror(err);
}

// Takes the injected failure, if one is armed: the number of bytes after which the disk is full.
long TakeInjectedFailure() {
    long bytes = g_failAfterBytes;
    g_failAfterBytes = -1;
    return bytes;
}

// Writes everything or reports the error; `failAfter` >= 0 stops there as a full disk would.
bool WriteAll(int fd, std::string_view content, long failAfter, int* err) {
    size_t limit = content.size();
    if (failAfter >= 0) limit = std::min(limit, static_cast<size_t>(failAfter));
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
    if (failAfter >= 0) {
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

bool IsOurTempName(const std::string& name, const std::string& base) {
    const std::string prefix = "." + base + kTempInfix;
    if (name.size() != prefix.size() + kTempRandomLength || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    return std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

// Removes temporary files that an earlier crashed write of this very file left behind. Only
// regular files with exactly our name pattern are touched; anything else is none of ours.
void RemoveStaleTemps(const std::string& dir, const std::string& base) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;   // an unreadable directory: nothing we may clean
    const time_t now = ::time(nullptr);
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (!IsOurTempName(name, base)) continue;
        struct stat st{};
        if (::fstatat(::dirfd(d), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (now - st.st_mtime < kStaleTempAgeSeconds) continue;
        (void)::unlinkat(::dirfd(d), name.c_str(), 0);
    }
    ::closedir(d);
}

bool NotSupported(int err) { return err == ENOTSUP || err == EOPNOTSUPP || err == ENOSYS; }

using Attributes = std::map<std::string, std::string>;

// Reads every extended attribute (POSIX ACLs included: system.posix_acl_access). A file
// system without attributes gives none; any other failure is reported, so that an attribute
// that exists is never silently lost.
bool ReadAttributes(int fd, Attributes& out) {
    out.clear();
    std::string names;
    while (true) {
        ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0) return NotSupported(errno);
        names.resize(static_cast<size_t>(size));
        if (size == 0) return true;
        size = ::flistxattr(fd, names.data(), names.size());
        if (size >= 0) {
            names.resize(static_cast<size_t>(size));
            break;
        }
        if (errno != ERANGE) return NotSupported(errno);   // ERANGE: the list grew meanwhile
    }
    for (size_t pos = 0; pos < names.size();) {
        const std::string name(names.c_str() + pos);
        pos += name.size() + 1;
        if (name.empty()) continue;
        std::string value;
        while (true) {
            ssize_t size = ::fgetxattr(fd, name.c_str(), nullptr, 0);
            if (size < 0) {
                if (errno == ENODATA) break;   // removed since the listing
                return false;
            }
            value.resize(static_cast<size_t>(size));
            size = ::fgetxattr(fd, name.c_str(), value.data(), value.size());
            if (size >= 0) {
                value.resize(static_cast<size_t>(size));
                out[name] = value;
                break;
            }
            if (errno != ERANGE) return errno == ENODATA;
        }
    }
    return true;
}

// Gives the new file the original's owner, group, attributes and mode, and checks the result.
// False when any of it cannot be carried over: the caller then writes in place instead.
bool CarryIdentity(int tempFd, const struct stat& original, const Attributes& attributes) {
    // Only root may give a file away; otherwise the file must already be ours.
    if (::geteuid() == 0) {
        if (::fchown(tempFd, original.st_uid, original.st_gid) != 0) return false;
    } else {
        if (original.st_uid != ::geteuid()) return false;
        if (::fchown(tempFd, static_cast<uid_t>(-1), original.st_gid) != 0) return false;
    }
    // A default ACL of the directory may have given the new file attributes the original lacks.
    Attributes present;
    if (!ReadAttributes(tempFd, present)) return false;
    for (const auto& entry : present)
        if (!attributes.count(entry.first) && ::fremovexattr(tempFd, entry.first.c_str()) != 0) return false;
    for (const auto& [name, value] : attributes)
        if (::fsetxattr(tempFd, name.c_str(), value.data(), value.size(), 0) != 0) return false;
    // The mode last: with an ACL its group bits are the ACL's mask, set consistently here;
    // and a change of owner would have cleared set-user-ID and set-group-ID bits.
    if (::fchmod(tempFd, original.st_mode & 07777) != 0) return false;

    struct stat now{};
    Attributes carried;
    if (::fstat(tempFd, &now) != 0 || !ReadAttributes(tempFd, carried)) return false;
    return now.st_uid == original.st_uid && now.st_gid == original.st_gid &&
           (now.st_mode & 07777) == (original.st_mode & 07777) && carried == attributes;
}

// Writes the new content over the existing file: same inode, links, owner, group, mode and
// attributes. Everything that can be checked beforehand has been; the space the content needs
// is reserved first, so a full disk is found before the first byte of the file changes.
bool WriteInPlace(const std::string& path, const struct stat& expected, std::string_view content,
                  long failAfter, std::string* error) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (error) *error = Describe("cannot write", path, errno);
        return false;
    }
    struct stat st{};
    if (::fstat(fd, &st) != 0 || st.st_dev != expected.st_dev || st.st_ino != expected.st_ino) {
        ::close(fd);
        if (error) *error = path + ": the file was replaced while it was being written; nothing changed";
        return false;
    }
    int err = 0;
    if (failAfter >= 0) {
        err = ENOSPC;
    } else if (!content.empty() &&
               ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(content.size())) != 0 &&
               !NotSupported(errno)) {
        err = errno;
    }
    if (err != 0) {
        ::close(fd);
        if (error) *error = Describe("cannot write", path, err);
        return false;
    }
    bool ok = WriteAll(fd, content, -1, &err);
    if (ok && ::ftruncate(fd, static_cast<off_t>(content.size())) != 0) ok = false, err = errno;
    if (ok && ::fsync(fd) != 0) ok = false, err = errno;
    if (::close(fd) != 0 && ok) ok = false, err = errno;
    if (!ok && error) *error = Describe("cannot write (the file may be incomplete)", path, err);
    return ok;
}

bool MayWriteInPlaceAfter(int mkstempErrno) { return mkstempErrno == EACCES || mkstempErrno == EPERM; }

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
    const long failAfter = TakeInjectedFailure();

    // Replace the file a symlink points at, not the link itself.
    std::string path = requestedPath;
    if (char* real = ::realpath(requestedPath.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }

    bool existed = false;
    struct stat st{};
    Attributes attributes;
    bool attributesRead = true;
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
        // O_PATH descriptors give no attributes; a file we may not read keeps its attributes
        // only through an in-place write.
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        attributesRead = fd >= 0 && ReadAttributes(fd, attributes);
        if (fd >= 0) ::close(fd);
    }

    const std::string dir = DirectoryOf(path);
    const std::string base = BaseNameOf(path);
    if (existed) RemoveStaleTemps(dir, base);

    // The new content goes to a temporary file first, even where it ends up written in place:
    // writing it proves there is room for it before the original is touched.
    std::string temp = dir + "/." + base + kTempInfix + std::string(kTempRandomLength, 'X');
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        const int err = errno;
        if (existed && MayWriteInPlaceAfter(err)) return WriteInPlace(path, st, content, failAfter, error);
        if (error) *error = Describe("cannot create a temporary file beside", path, err);
        return false;
    }
    int err = 0;
    // The file system has reserved the blocks once write() returns; the flush comes once,
    // below, and only where the temporary file is kept.
    bool ok = WriteAll(fd, content, failAfter, &err);
    if (!ok) {
        ::close(fd);
        ::unlink(temp.c_str());
        if (error) *error = Describe("cannot write", path, err);
        return false;
    }

    // A rename would split a hard link and must not lose the owner, group, mode or attributes.
    bool inPlace = false;
    if (existed) {
        inPlace = st.st_nlink > 1 || !attributesRead || !CarryIdentity(fd, st, attributes);
    } else if (::fchmod(fd, 0644) != 0) {
        ok = false, err = errno;
    }
    if (ok && !inPlace && ::fsync(fd) != 0) ok = false, err = errno;
    if (::close(fd) != 0 && ok) ok = false, err = errno;
    if (ok && inPlace) {
        // The temporary file has done its job, the space was there; the original gets the bytes.
        ::unlink(temp.c_str());
        return WriteInPlace(path, st, content, -1, error);
    }
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
