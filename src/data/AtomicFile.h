#pragma once
// Crash-safe replacement of a file's contents: the new bytes go to a temporary file in the
// same directory, are flushed to disk, and the temporary file is renamed over the original,
// keeping its permission bits. On any failure the original is left byte-identical.

#include <string>
#include <string_view>

namespace morvi {

bool ReplaceFileContents(const std::string& path, std::string_view content, std::string* error);

// Reads a whole regular file. False when it cannot be opened or is not a regular file
// (a FIFO or device is never opened for reading, so it cannot block).
bool ReadWholeFile(const std::string& path, std::string& out);

// Test seam: when set >= 0, the next replacement fails after writing that many bytes of the
// temporary file, as a full disk would. Reset to -1 after it fires.
void FailNextReplaceAfterBytesForTesting(long bytes);

}  // namespace morvi
