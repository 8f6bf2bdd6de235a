#ifndef _WIN32
#include "data/platform/FileLock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace morvi {
namespace {

std::string Describe(const std::string& what, int err) { return what + ": " + std::strerror(err); }

// Another holder: wait. Anything else (no locks on this file system, no memory for one) is an
// answer that waiting will not change.
bool HeldByAnother(int err) { return err == EWOULDBLOCK || err == EAGAIN || err == EINTR; }

}  // namespace

void ExclusiveFileLock::Acquire(const std::string& path, int waitMilliseconds, bool mayCreate) {
    // Readable is enough for flock; a lock file made by another user may not be writable.
    int fd = ::open(path.c_str(), (mayCreate ? O_RDWR | O_CREAT : O_RDONLY) | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    if (fd < 0 && mayCreate && errno == EACCES) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        m_error = Describe("cannot open the lock file " + path, errno);
        return;
    }
    m_handle = fd;
    if (waitMilliseconds < 0) {
        while (::flock(fd, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            m_error = Describe("cannot lock " + path, errno);
            return;
        }
        m_held = true;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    auto pause = std::chrono::microseconds(200);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_held = true;
            return;
        }
        const int err = errno;
        if (!HeldByAnother(err)) {
            m_error = Describe("cannot lock " + path, err);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_error = "another program kept " + path + " locked for " + std::to_string(waitMilliseconds / 1000.0).substr(0, 4) +
                      " s";
            return;
        }
        std::this_thread::sleep_for(pause);
        if (pause < std::chrono::milliseconds(20)) pause *= 2;
    }
}

void ExclusiveFileLock::Release() {
    if (m_handle >= 0) ::close(static_cast<int>(m_handle));
    m_handle = -1;
    m_held = false;
}

RegionWriteLock::RegionWriteLock(const std::string& regionPath, int waitMilliseconds) {
    const std::string lockPath = RegionLockPath(regionPath);
    // A file we may not write is never written: its own lock is enough, and the directory
    // stays as it is.
    if (::access(regionPath.c_str(), W_OK) != 0 && errno != ENOENT) {
        const int err = errno;
        m_lock.Acquire(regionPath, waitMilliseconds, false);
        if (!m_lock.Held() && m_lock.m_error.empty()) m_lock.m_error = Describe("cannot write " + regionPath, err);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        ExclusiveFileLock attempt;
        attempt.Acquire(lockPath, left.count() < 0 ? 0 : static_cast<int>(left.count()), true);
        if (!attempt.Held()) {
            m_lock = std::move(attempt);
            break;
        }
        // The holder before us removes the lock file before it lets go: a lock on a file that
        // no longer has the name guards nothing.
        struct stat held{}, named{};
        if (::fstat(static_cast<int>(attempt.m_handle), &held) == 0 && ::lstat(lockPath.c_str(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
            m_lock = std::move(attempt);
            m_removeOnRelease = lockPath;
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_lock = std::move(attempt);
            m_lock.Release();
            m_lock.m_error = "another program kept " + lockPath + " locked";
            return;
        }
    }
    // No lock file can be made here (a directory we may not write, a read-only file system):
    // every writer of such a file writes it in place, so the file itself is the lock.
    struct stat st{};
    if (::lstat(lockPath.c_str(), &st) == 0) return;   // it exists: its error stands
    const std::string first = m_lock.Error();
    ExclusiveFileLock own;
    own.Acquire(regionPath, waitMilliseconds, false);
    if (own.Held()) {
        m_lock = std::move(own);
        return;
    }
    m_lock.m_error = first;
}

RegionWriteLock::~RegionWriteLock() {
    if (!m_removeOnRelease.empty() && m_lock.Held()) (void)::unlink(m_removeOnRelease.c_str());
}

}  // namespace morvi
#endif
