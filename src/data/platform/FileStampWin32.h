#pragma once
// The stamp of a file from the size and write time Windows reported for it (Windows only).

#include <windows.h>

#include <cstdint>

#include "data/platform/FileStamp.h"

namespace morvi {

// `lastWrite`: the write time in 100-nanosecond units since 1601 (a FILETIME as one number).
FileStamp StampOfFileData(uint64_t size, uint64_t lastWrite);
inline uint64_t FileTimeTicks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace morvi
