#pragma once
// Locks that serialize writers across processes and users.
//
// ExclusiveFileLock holds an exclusive lock on a lock file for its lifetime (the change
// history's journal uses one). RegionWriteLock is the lock every writer of one region file
// takes around its whole read-modify-write: a file is replaced by renaming a new file over it,
// which changes its identity, so the lock lives on a file of its own beside it,
// `.NAME.morvi.lock` (hidden on Windows). Its holder removes it before letting go (on Windows it
// goes with the last handle), and a writer that locked a lock file no longer under that name
// tries again, so no two writers ever hold locks on two files of one name and no lock file
// outlives its writers. Where no lock file can be made beside the file (a directory
// we may not write), the region file itself is locked: such a file is written in place, so it
// keeps its identity. A file system that cannot lock at all refuses the write; it is never done
// unguarded.

#include <cstdint>
#include <string>

namespace morvi {

class ExclusiveFileLock {
public:
    // Waits for the lock without limit.
    explicit ExclusiveFileLock(const std::string& path);
    // Waits at most `waitMilliseconds` (0: only tries once).
    ExclusiveFileLock(const std::string& path, int waitMilliseconds);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock(ExclusiveFileLock&& other) noexcept;
    ExclusiveFileLock& operator=(ExclusiveFileLock&& other) noexcept;

    bool Held() const { return m_held; }
    // Why the lock is not held: the path and the system's reason.
    const std::string& Error() const { return m_error; }

private:
    ExclusiveFileLock() = default;
    void Acquire(const std::string& path, int waitMilliseconds, bool mayCreate);
    void Release();
    friend class RegionWriteLock;

    intptr_t m_handle = -1;
    bool m_held = false;
    std::string m_error;
};

// The name of the lock file of a region file: `.NAME.morvi.lock` in its directory.
std::string RegionLockPath(const std::string& regionPath);

class RegionWriteLock {
public:
    // Takes the writer lock of `regionPath`, waiting up to `waitMilliseconds` for a writer
    // that holds it. Check Held().
    RegionWriteLock(const std::string& regionPath, int waitMilliseconds);
    ~RegionWriteLock();
    RegionWriteLock(const RegionWriteLock&) = delete;
    RegionWriteLock& operator=(const RegionWriteLock&) = delete;
    bool Held() const { return m_lock.Held(); }
    const std::string& Error() const { return m_lock.Error(); }

private:
    ExclusiveFileLock m_lock;
    std::string m_removeOnRelease;   // the lock file, removed while still held
};

}  // namespace morvi
