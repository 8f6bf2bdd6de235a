#pragma once
// Reading whole region files fast: one read call per file into a buffer whose capacity is
// kept, and, while one file is parsed, a hint to the system that the next few will be read,
// so a cold disk works ahead of the parsing. The platform calls live in FileReadAhead.cpp
// alone; where there is no such hint the files are simply read in turn.

#include <cstddef>
#include <string>
#include <vector>

namespace morvi {

// Reads a whole regular file into `out`, reusing its capacity. False (and `out` empty) when it
// cannot be opened or is not a regular file: a FIFO or device is never read, so it cannot block.
bool ReadRegularFile(const std::string& path, std::string& out);

class FileReadAhead {
public:
    // `paths` must outlive the object. `depth`: how many files ahead are announced.
    explicit FileReadAhead(const std::vector<std::string>& paths, size_t depth = 16);
    ~FileReadAhead();
    FileReadAhead(const FileReadAhead&) = delete;
    FileReadAhead& operator=(const FileReadAhead&) = delete;

    size_t Size() const { return m_paths.size(); }
    const std::string& Path(size_t index) const { return m_paths[index]; }

    // Reads file `index` as ReadRegularFile does and announces the files after it. Files are
    // meant to be taken in increasing order; any order works, just without the head start.
    bool Read(size_t index, std::string& out);

private:
    void Announce(size_t upTo);

    const std::vector<std::string>& m_paths;
    size_t m_depth;
    size_t m_announced = 0;        // files [0, m_announced) have been announced or read
    std::vector<int> m_open;       // a descriptor opened ahead per file, -1 when none
};

}  // namespace morvi
