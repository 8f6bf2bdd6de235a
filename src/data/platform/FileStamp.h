#pragma once
// Size and modification time of a file, to notice that another program changed it between
// two looks. Taken from the descriptor a file is read through where the system allows, so
// noting it costs no call of its own.

#include <cstdint>
#include <string>

namespace morvi {

struct FileStamp {
    bool exists = false;
    uint64_t size = 0;
    int64_t mtime = 0;   // nanoseconds; only compared with another stamp of this program
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` now; `exists` false when it cannot be looked at.
FileStamp StampOfFile(const std::string& path);

}  // namespace morvi
