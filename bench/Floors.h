#pragma once
// The floors every figure is compared with: what the disk and the kernel cost at the least.

#include <string>
#include <vector>

namespace morvi::bench {

struct MapReadFloor {
    size_t files = 0;
    size_t bytes = 0;
};

// The least work a map's load needs: walks the map directory and every directory below it
// with opendir/readdir, and opens, reads whole (into one reused buffer) and closes every file
// whose name ends in "_S.DAT" (any case), each once, in the order the directories list them.
MapReadFloor WalkAndReadMap(const std::string& mapDirectory);

// Writes back dirty pages and drops the page cache, dentries and inodes (sync, then "3" to
// /proc/sys/vm/drop_caches), so the next read comes from the disk. False where the system
// does not permit it.
bool DropPageCache();

// Copies the file to a new file beside it with the same flushes a crash-safe replacement
// makes (fsync of the file, then of its directory); the copy is removed afterwards, untimed,
// by RemoveCopy.
std::string CopyWithFlush(const std::string& path);
// The flush a recorded change adds before its file is written: `bytes` appended to `journal`
// and flushed to disk, as the change history makes its entry durable.
void AppendWithFlush(const std::string& journal, size_t bytes);
void RemoveCopy(const std::string& copy);

}  // namespace morvi::bench
