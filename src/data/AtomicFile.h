#pragma once
// Crash-safe replacement of a file's contents: the new bytes go to a temporary file in the
// same directory (".NAME.morvi-XXXXXX"), are flushed to disk, and the temporary file is renamed
// over the original. The file keeps its identity: owner (when running as root), group, mode and
// every extended attribute, POSIX ACLs included. On any failure the original is left
// byte-identical. Symlinks are followed; a file without write permission is refused.
//
// Where a rename cannot keep the identity -- a hard-linked file, a writable file in a directory
// where no temporary file can be created, an owner, group or attribute that cannot be carried
// over -- the new content is written in place instead (write, truncate, flush), giving the same
// bytes. Everything that can fail is checked first (the temporary file is still written where
// the directory allows, and the space is reserved), but a crash or an I/O error during the
// in-place write itself can leave the file part old, part new: a caller that keeps a journal
// must have made its entry durable before calling.
//
// Before writing, our own temporary files that a crash left beside this file (exactly the
// pattern above, older than a few minutes) are removed.

#include <string>
#include <string_view>

namespace morvi {

bool ReplaceFileContents(const std::string& path, std::string_view content, std::string* error);

// Reads a whole regular file. False when it cannot be opened or is not a regular file
// (a FIFO or device is never opened for reading, so it cannot block).
bool ReadWholeFile(const std::string& path, std::string& out);

// Test seam: when set >= 0, the next replacement fails after writing that many bytes of the
// temporary file, as a full disk would; where no temporary file can be made, the in-place
// write fails its space check instead, before the file is touched. Reset to -1 after it fires.
void FailNextReplaceAfterBytesForTesting(long bytes);

}  // namespace morvi
