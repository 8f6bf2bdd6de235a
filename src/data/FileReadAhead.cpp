#include "data/FileReadAhead.h"

#ifdef _WIN32
// Windows: whole-file reads through wide paths; the system's own read-ahead does the rest.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "data/WidePath.h"

namespace morvi {

bool ReadRegularFile(const std::string& path, std::string& out) {
    out.clear();
    std::error_code ec;
    const std::filesystem::path native = FsPath(path);
    if (!std::filesystem::is_regular_file(native, ec)) return false;
    std::ifstream in(native, std::ios::binary);
    if (!in) return false;
    std::string chunk(65536, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0)
        out.append(chunk.data(), static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        out.clear();
        return false;
    }
    return true;
}

FileReadAhead::FileReadAhead(const std::vector<std::string>& paths, size_t depth)
    : m_paths(paths), m_depth(depth) {}

FileReadAhead::~FileReadAhead() = default;

bool FileReadAhead::Read(size_t index, std::string& out, FileStamp* stamp) {
    if (index >= m_paths.size()) {
        out.clear();
        if (stamp) *stamp = {};
        return false;
    }
    if (stamp) *stamp = StampOfFile(m_paths[index]);
    return ReadRegularFile(m_paths[index], out);
}

}  // namespace morvi

#else

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/uio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/FileStampPosix.h"

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

FileReadAhead::FileReadAhead(const std::vector<std::string>& paths, size_t depth)
    : m_paths(paths), m_depth(depth), m_open(paths.size(), -1) {
    // A thread costs more than it saves on a map of one or two files.
    if (paths.size() < 3) return;
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
}

void FileReadAhead::Announce(size_t upTo) {
    upTo = std::min(upTo, m_paths.size());
    for (; m_announced < upTo; ++m_announced) {
        const int fd = OpenForReading(m_paths[m_announced]);
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
    const int fd = announced >= 0 ? announced : OpenForReading(m_paths[index]);
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
