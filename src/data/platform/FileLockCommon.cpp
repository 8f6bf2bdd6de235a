// The parts of the locks that are the same on every system; FileLock.cpp (POSIX) and
// FileLockWin32.cpp take, wait for and let go of the locks themselves.

#include "data/platform/FileLock.h"

namespace morvi {

ExclusiveFileLock::ExclusiveFileLock(const std::string& path) { Acquire(path, -1, true); }

ExclusiveFileLock::ExclusiveFileLock(const std::string& path, int waitMilliseconds) {
    Acquire(path, waitMilliseconds, true);
}

ExclusiveFileLock::ExclusiveFileLock(ExclusiveFileLock&& other) noexcept
    : m_handle(other.m_handle), m_held(other.m_held), m_error(std::move(other.m_error)) {
    other.m_handle = -1;
    other.m_held = false;
}

ExclusiveFileLock& ExclusiveFileLock::operator=(ExclusiveFileLock&& other) noexcept {
    if (this != &other) {
        Release();
        m_handle = other.m_handle;
        m_held = other.m_held;
        m_error = std::move(other.m_error);
        other.m_handle = -1;
        other.m_held = false;
    }
    return *this;
}

ExclusiveFileLock::~ExclusiveFileLock() { Release(); }

std::string RegionLockPath(const std::string& regionPath) {
#ifdef _WIN32
    const size_t slash = regionPath.find_last_of("/\\");
#else
    const size_t slash = regionPath.find_last_of('/');
#endif
    const std::string dir = slash == std::string::npos ? std::string() : regionPath.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? regionPath : regionPath.substr(slash + 1);
    return dir + "." + base + ".morvi.lock";
}

}  // namespace morvi
