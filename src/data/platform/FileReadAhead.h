#pragma once
// Reading whole region files fast: one read call per file into a buffer whose capacity is
// kept. Where the system has threads and read-ahead hints, one reader thread reads the files
// in list order into a few buffers while the caller parses the one before; from the first file
// the page cache does not hold, it also tells the system which files come next, so a cold disk
// works ahead too. The caller still takes the
// files one by one, in its own order, on its own thread; the reader only fills buffers.
// The platform calls live in FileReadAhead.cpp alone.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/platform/FileStamp.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace morvi {

#ifndef _WIN32
// Opens a regular file for reading and fills `st` with its status; -1 when it cannot be opened
// or is not a regular file. Opened without waiting, so a FIFO or device in its place can never
// block the caller; check and open are one step (no window for a swap in between).
int OpenRegularFileDescriptor(const std::string& path, struct stat& st);
#endif

// Reads a whole regular file into `out`, reusing its capacity. False (and `out` empty) when it
// cannot be opened or is not a regular file: a FIFO or device is never read, so it cannot block.
bool ReadRegularFile(const std::string& path, std::string& out);

class FileReadAhead {
public:
    // Who reads the files: a reader thread of its own, ahead of the caller, or the caller
    // itself when it asks (still announcing the next files once the disk has to be waited
    // for). The caller's own reads suit a caller whose work per file is small beside the read:
    // two threads then mostly wait on each other, and on a busy machine cost more than they save.
    enum class Reader { Thread, Caller };

    // `paths` must outlive the object. `depth`: how many files ahead are announced.
    explicit FileReadAhead(const std::vector<std::string>& paths, size_t depth = 16, Reader reader = Reader::Thread);
    ~FileReadAhead();
    FileReadAhead(const FileReadAhead&) = delete;
    FileReadAhead& operator=(const FileReadAhead&) = delete;

    size_t Size() const { return m_paths.size(); }
    const std::string& Path(size_t index) const { return m_paths[index]; }

    // Reads file `index` as ReadRegularFile does. `stamp`, when given, receives the file's
    // stamp as it was just before its bytes were read. Files are meant to be taken in
    // increasing order from 0; any order works, just without the head start.
    bool Read(size_t index, std::string& out, FileStamp* stamp = nullptr);

private:
    struct Slot {
        std::string data;
        FileStamp stamp;
        bool ok = false;
    };
    static constexpr size_t kSlots = 8;

    void ReaderLoop();
    void Announce(size_t upTo);
    int OpenOwned(size_t index);
    // Announces the files after `index` and hands over the descriptor opened ahead for it
    // (-1 when none).
    int TakeAnnounced(size_t index);
    // `owner`: called by the owner of the announcements, which may start them.
    bool ReadNow(size_t index, int announced, bool owner, std::string& out, FileStamp* stamp);

    const std::vector<std::string>& m_paths;
    size_t m_depth;
    // Owned by the reader thread while it runs (by Read when there is none).
    size_t m_announced = 0;        // files [0, m_announced) have been announced or read
    std::vector<int> m_open;       // a descriptor opened ahead per file, -1 when none
    bool m_announceAhead = false;  // set by the first file the page cache did not hold
    int m_directoryFd = -1;        // the directory of the file opened last (OpenOwned)
    std::string m_directory;

    // Files [0, m_filled) are in their slots (file i in slot i % kSlots) until taken;
    // m_taken is the next file the caller takes in order. The reader never runs more than
    // kSlots files ahead of it.
    Slot m_slots[kSlots];
    std::atomic<size_t> m_filled{0};
    size_t m_taken = 0;
    std::mutex m_mutex;
    std::condition_variable m_filledSignal;
    std::condition_variable m_takenSignal;
    bool m_waitingForSlot = false;   // the reader sleeps until the caller frees a slot
    bool m_waitingForFile = false;   // the caller sleeps until the reader fills a slot
    bool m_stop = false;
    std::thread m_reader;
};

}  // namespace morvi
