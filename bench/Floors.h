#pragma once
// The floors every figure is compared with: what the disk and the kernel cost at the least.

#include <string>
#include <vector>

namespace morvi::bench {

// Opens, reads whole and closes every file, one after the other, into one reused buffer.
// Returns the bytes read.
size_t ReadEveryFile(const std::vector<std::string>& paths);

// Copies the file to a new file beside it with the same flushes a crash-safe replacement
// makes (fsync of the file, then of its directory); the copy is removed afterwards, untimed,
// by RemoveCopy.
std::string CopyWithFlush(const std::string& path);
void RemoveCopy(const std::string& copy);

}  // namespace morvi::bench
