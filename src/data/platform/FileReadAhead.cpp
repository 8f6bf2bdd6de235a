#include "data/platform/FileReadAhead.h"

#ifdef _WIN32
// Windows: one handle per file through its wide path, its size and stamp asked of that
// handle; the system's own read-ahead does the rest (sequential-scan hint).
#include <windows.h>

#include <algorithm>
#include <new>

#include "data/platform/FileStampWin32.h"
#include "data/platform/WidePath.h"

namespace morvi {
namespace {

// Reads the whole file. `stamp` receives its stamp as it was opened ({} when it is not a
// regular file, or, when it cannot be opened, whatever the path's status says).
bool ReadThroughHandle(const std::string& path, std::string& out, FileStamp* stamp) {
    // Sharing everything: a save that renames over the file while it is read is not refused.
    HANDLE file = CreateFileW(WidenUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        out.clear();
        if (stamp) *stamp = StampOfFile(path);
        return false;
    }
    // Asked of the handle alone: the fuller GetFileInformationByHandle also asks for the
    // volume's serial number, which under Wine costs a round trip to the mount manager.
    FILE_BASIC_INFO basic{};
    LARGE_INTEGER length{};
    // A directory cannot be opened this way; a device or pipe is not a disk file.
    const bool regular = GetFileType(file) == FILE_TYPE_DISK &&
                         GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) &&
                         !(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) && GetFileSizeEx(file, &length);
    if (!regular) {
        CloseHandle(file);
        out.clear();
        if (stamp) *stamp = {};
        return false;
    }
    const uint64_t size = static_cast<uint64_t>(length.QuadPart);
    if (stamp) *stamp = StampOfFileData(size, static_cast<uint64_t>(basic.LastWriteTime.QuadPart));
    bool ok = true;
    try {
        // One byte more than the file holds: a read that comes back short is at the end.
        out.resize(static_cast<size_t>(size) + 1);
        size_t done = 0;
        for (;;) {
            if (done == out.size()) out.resize(out.size() + 65536);   // the file grew while it was read
            const DWORD want = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 30));
            DWORD got = 0;
            if (!ReadFile(file, out.data() + done, want, &got, nullptr)) {
                ok = false;
                break;
            }
            done += got;
            if (got == 0 || got < want) break;
        }
        if (ok) out.resize(done);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    CloseHandle(file);
    if (!ok) out.clear();
    return ok;
}

}  // namespace

bool ReadRegularFile(const std::string& path, std::string& out) { return ReadThroughHandle(path, out, nullptr); }

FileReadAhead::FileReadAhead(const std::vector<std::string>& paths, size_t depth, Reader)
    : m_paths(paths), m_depth(depth) {}

FileReadAhead::~FileReadAhead() = default;

bool FileReadAhead::Read(size_t index, std::string& out, FileStamp* stamp) {
    if (index >= m_paths.size()) {
        out.clear();
        if (stamp) *stamp = {};
        return false;
    }
    return ReadThroughHandle(m_paths[index], out, stamp);
}

}  // namespace morvi

#else

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <string_view>
#include <sys/uio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/platform/FileStampPosix.h"

namespace morvi {
namespace {

// O_NONBLOCK keeps a FIFO from blocking the open; it is then refused as not regular.
int OpenForReading(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }

// Sizes `out` one byte beyond the file and takes its stamp; false when it is not a regular
// file. The buffer keeps its former bytes where it does not grow: they are read over.
bool PrepareRead(int fd, std::string& out, FileStamp* stamp) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        out.clear();
        if (stamp) *stamp = {};
        return false;
    }
    if (stamp) *stamp = StampOfStat(st);
    // A read that comes back short is at the end, so a file that does not change while it is
    // read takes a single call.
    out.resize(static_cast<size_t>(st.st_size) + 1);
    return true;
}

// Reads into the prepared buffer what the page cache holds already, without waiting for the
// disk. Returns the bytes read, 0 when it would have to wait, -1 when the system cannot read
// that way (then it never can, and the caller stops asking).
ssize_t ReadCachedPart(int fd, std::string& out) {
#ifdef RWF_NOWAIT
    for (;;) {
        iovec part{out.data(), out.size()};
        const ssize_t n = ::preadv2(fd, &part, 1, -1, RWF_NOWAIT);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        return errno == EAGAIN ? 0 : -1;
    }
#else
    (void)fd;
    (void)out;
    return -1;
#endif
}

// Reads the rest of the file from `done` on, until a read comes back short; the buffer grows
// if the file grew.
bool FinishRead(int fd, std::string& out, size_t done) {
    for (;;) {
        if (done == out.size()) out.resize(out.size() + 65536);   // the file grew while it was read
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            out.clear();
            return false;
        }
        done += static_cast<size_t>(n);
        if (n == 0 || done < out.size()) break;
    }
    out.resize(done);
    return true;
}

bool ReadDescriptor(int fd, std::string& out, FileStamp* stamp) {
    return PrepareRead(fd, out, stamp) && FinishRead(fd, out, 0);
}

// A moment's busy wait: the reader usually fills the next slot within microseconds, and
// sleeping on the condition costs the caller far more than that in wake-up latency.
void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}
constexpr int kSpinsBeforeSleep = 2048;

}  // namespace

int OpenRegularFileDescriptor(const std::string& path, struct stat& st) {
    const int fd = OpenForReading(path);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool ReadRegularFile(const std::string& path, std::string& out) {
    const int fd = OpenForReading(path);
    if (fd < 0) {
        out.clear();
        return false;
    }
    const bool ok = ReadDescriptor(fd, out, nullptr);
    ::close(fd);
    return ok;
}

FileReadAhead::FileReadAhead(const std::vector<std::string>& paths, size_t depth, Reader reader)
    : m_paths(paths), m_depth(depth), m_open(paths.size(), -1) {
    // A thread costs more than it saves on a map of one or two files.
    if (paths.size() < 3 || reader == Reader::Caller) return;
    try {
        m_reader = std::thread([this] { ReaderLoop(); });
    } catch (const std::system_error&) {
        // No thread to be had: every file is read when it is asked for.
    }
}

FileReadAhead::~FileReadAhead() {
    if (m_reader.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_takenSignal.notify_one();
        m_reader.join();
    }
    for (int fd : m_open)
        if (fd >= 0) ::close(fd);
    if (m_directoryFd >= 0) ::close(m_directoryFd);
}

// Opens file `index` relative to its directory, kept open while the files of one directory
// follow each other: the system then looks up one name instead of the whole path per file.
int FileReadAhead::OpenOwned(size_t index) {
    const std::string& path = m_paths[index];
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) return OpenForReading(path);
    const std::string_view directory(path.data(), slash);
    if (m_directoryFd < 0 || directory != m_directory) {
        if (m_directoryFd >= 0) ::close(m_directoryFd);
        m_directory.assign(directory);
#ifdef O_PATH
        // Only a handle to look names up in: it needs no permission to list the directory.
        m_directoryFd = ::open(m_directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
#else
        m_directoryFd = ::open(m_directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
        if (m_directoryFd < 0) return OpenForReading(path);
    }
    return ::openat(m_directoryFd, path.c_str() + slash + 1, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

void FileReadAhead::Announce(size_t upTo) {
    upTo = std::min(upTo, m_paths.size());
    for (; m_announced < upTo; ++m_announced) {
        const int fd = OpenOwned(m_announced);
        if (fd < 0) continue;   // reported when the file itself is read
#ifdef POSIX_FADV_WILLNEED
        (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
#endif
        m_open[m_announced] = fd;
    }
}

int FileReadAhead::TakeAnnounced(size_t index) {
    // The file itself is opened at once rather than announced: it is needed now.
    if (m_announced <= index) m_announced = index + 1;
    if (m_announceAhead) Announce(index + 1 + m_depth);
    const int fd = m_open[index];
    m_open[index] = -1;
    return fd;
}

// Reads file `index`, through the descriptor announced for it when there is one. The owner of
// the announcements (the reader thread, or the caller when there is none) first takes what the
// page cache holds without waiting: while every file is cached, nothing is announced, which
// spares an open and a hint per file; the first file that is not starts the announcements.
bool FileReadAhead::ReadNow(size_t index, int announced, bool owner, std::string& out, FileStamp* stamp) {
    const int fd = announced >= 0 ? announced : owner ? OpenOwned(index) : OpenForReading(m_paths[index]);
    if (fd < 0) {
        out.clear();
        // Not readable; whether it is there at all is still worth noting.
        if (stamp) *stamp = StampOfFile(m_paths[index]);
        return false;
    }
    bool ok = false;
    try {
        ok = PrepareRead(fd, out, stamp);
        size_t done = 0;
        if (ok && owner && !m_announceAhead) {
            const ssize_t cached = ReadCachedPart(fd, out);
            if (cached >= 0 && static_cast<size_t>(cached) + 1 == out.size()) {
                out.resize(static_cast<size_t>(cached));   // all of it, short of the spare byte
                ::close(fd);
                return true;
            }
            if (cached > 0) done = static_cast<size_t>(cached);
            m_announceAhead = true;
            Announce(index + 1 + m_depth);
        }
        if (ok) ok = FinishRead(fd, out, done);
    } catch (const std::bad_alloc&) {
        out.clear();
        out.shrink_to_fit();
        ok = false;
    }
    ::close(fd);
    return ok;
}

void FileReadAhead::ReaderLoop() {
    for (size_t i = 0; i < m_paths.size(); ++i) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (i >= m_taken + kSlots) {
                m_waitingForSlot = true;
                // Wait until half the slots are free again: one wake-up per few files.
                m_takenSignal.wait(lock, [&] { return m_stop || i < m_taken + kSlots / 2; });
                m_waitingForSlot = false;
            }
            if (m_stop) return;
        }
        const int fd = TakeAnnounced(i);
        Slot& slot = m_slots[i % kSlots];
        slot.ok = ReadNow(i, fd, true, slot.data, &slot.stamp);
        bool wake = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_filled.store(i + 1, std::memory_order_release);
            wake = m_waitingForFile;
        }
        if (wake) m_filledSignal.notify_one();
    }
}

bool FileReadAhead::Read(size_t index, std::string& out, FileStamp* stamp) {
    if (index >= m_paths.size()) {
        out.clear();
        if (stamp) *stamp = {};
        return false;
    }
    if (!m_reader.joinable() || index != m_taken) {
        // Out of order, or no reader: read it here. The reader keeps its own order and its
        // descriptors; a file it also reads is simply read twice.
        if (!m_reader.joinable()) {
            return ReadNow(index, TakeAnnounced(index), true, out, stamp);
        }
        return ReadNow(index, -1, false, out, stamp);
    }
    for (int spin = 0; spin < kSpinsBeforeSleep && m_filled.load(std::memory_order_acquire) <= index; ++spin)
        CpuRelax();
    if (m_filled.load(std::memory_order_acquire) <= index) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_waitingForFile = true;
        m_filledSignal.wait(lock, [&] { return m_filled.load(std::memory_order_relaxed) > index; });
        m_waitingForFile = false;
    }
    Slot& slot = m_slots[index % kSlots];
    // The caller's old buffer goes to the reader, which keeps its capacity for a later file.
    out.swap(slot.data);
    if (stamp) *stamp = slot.stamp;
    const bool ok = slot.ok;
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_taken = index + 1;
        // The reader waits for file m_filled until half the slots are free (see ReaderLoop).
        wake = m_waitingForSlot && m_filled.load(std::memory_order_relaxed) < m_taken + kSlots / 2;
    }
    if (wake) m_takenSignal.notify_one();
    return ok;
}

}  // namespace morvi

#endif
