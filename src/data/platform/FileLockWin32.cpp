#ifdef _WIN32
#include "data/platform/FileLock.h"

#include <windows.h>

#include <chrono>
#include <thread>

#include "data/platform/WidePath.h"

namespace morvi {
namespace {

std::string SystemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = n ? NarrowToUtf8(std::wstring_view(text, n)) : "error " + std::to_string(code);
    if (text) ::LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    return out;
}

std::string Native(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace

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

void ExclusiveFileLock::Acquire(const std::string& path, int waitMilliseconds, bool mayCreate) {
    const std::wstring wide = WidenUtf8(Native(path));
    // Others may read, write and even replace the file while we hold the lock: the lock is a
    // byte-range lock, not a sharing mode, so a reader of a region file is never turned away.
    HANDLE file = ::CreateFileW(wide.c_str(), mayCreate ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                mayCreate ? OPEN_ALWAYS : OPEN_EXISTING,
                                mayCreate ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        m_error = "cannot open the lock file " + path + ": " + SystemText(::GetLastError());
        return;
    }
    m_handle = reinterpret_cast<intptr_t>(file);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds < 0 ? 0 : waitMilliseconds);
    auto pause = std::chrono::microseconds(500);
    for (;;) {
        OVERLAPPED whole{};
        const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (waitMilliseconds < 0 ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
        if (::LockFileEx(file, flags, 0, MAXDWORD, MAXDWORD, &whole)) {
            m_held = true;
            return;
        }
        const DWORD err = ::GetLastError();
        if (err != ERROR_LOCK_VIOLATION && err != ERROR_IO_PENDING) {
            m_error = "cannot lock " + path + ": " + SystemText(err);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_error = "another program kept " + path + " locked for " +
                      std::to_string(waitMilliseconds / 1000.0).substr(0, 4) + " s";
            return;
        }
        std::this_thread::sleep_for(pause);
        if (pause < std::chrono::milliseconds(20)) pause *= 2;
    }
}

void ExclusiveFileLock::Release() {
    if (m_handle == -1) return;
    HANDLE file = reinterpret_cast<HANDLE>(m_handle);
    if (m_held) {
        OVERLAPPED whole{};
        ::UnlockFileEx(file, 0, MAXDWORD, MAXDWORD, &whole);
    }
    ::CloseHandle(file);
    m_handle = -1;
    m_held = false;
}

ExclusiveFileLock::~ExclusiveFileLock() { Release(); }

std::string RegionLockPath(const std::string& regionPath) {
    const size_t slash = regionPath.find_last_of("/\\");
    const std::string dir = slash == std::string::npos ? std::string() : regionPath.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? regionPath : regionPath.substr(slash + 1);
    return dir + "." + base + ".morvi.lock";
}

namespace {

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    return ::GetFileInformationByHandle(a, &ia) && ::GetFileInformationByHandle(b, &ib) &&
           ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
}

// Whether `held` is still the file the name leads to (not one its last holder deleted).
bool StillNamed(const std::wstring& path, HANDLE held) {
    HANDLE named = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (named == INVALID_HANDLE_VALUE) return false;
    const bool same = SameFile(named, held);
    ::CloseHandle(named);
    return same;
}

}  // namespace

// The lock file is opened to be deleted when its last handle closes, so it lives only while a
// writer holds it or waits for it. While a deleted one is still held, its name cannot be made
// anew, or (where deletion frees the name at once) the holder finds its file no longer under
// the name and tries again: never two holders of two files of one name.
RegionWriteLock::RegionWriteLock(const std::string& regionPath, int waitMilliseconds) {
    const std::string lockPath = RegionLockPath(regionPath);
    const std::wstring wide = WidenUtf8(Native(lockPath));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    auto pause = std::chrono::microseconds(500);
    std::string failure;
    for (;;) {
        HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD err = ::GetLastError();
            // A lock file whose last holder is letting go is in the way until it is gone.
            const bool pending = err == ERROR_ACCESS_DENIED &&
                                 (::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES ||
                                  ::GetLastError() == ERROR_ACCESS_DENIED);
            if (!pending) {
                m_lock.m_error = "cannot open the lock file " + lockPath + ": " + SystemText(err);
                return;
            }
            failure = "another program kept " + lockPath + " locked";
        } else {
            m_lock.m_handle = reinterpret_cast<intptr_t>(file);
            OVERLAPPED whole{};
            if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) {
                m_lock.m_held = true;
                if (StillNamed(wide, file)) return;
                m_lock.Release();
            } else {
                const DWORD err = ::GetLastError();
                m_lock.Release();
                if (err != ERROR_LOCK_VIOLATION && err != ERROR_IO_PENDING) {
                    m_lock.m_error = "cannot lock " + lockPath + ": " + SystemText(err);
                    return;
                }
            }
            failure = "another program kept " + lockPath + " locked";
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            m_lock.m_error = failure + " for " + std::to_string(waitMilliseconds / 1000.0).substr(0, 4) + " s";
            return;
        }
        std::this_thread::sleep_for(pause);
        if (pause < std::chrono::milliseconds(20)) pause *= 2;
    }
}

RegionWriteLock::~RegionWriteLock() = default;

}  // namespace morvi
#endif
