#pragma once
// Crash-safe replacement of a file's contents that keeps the file's identity.
//
// Normally the new bytes go to a temporary file `.NAME.morvi-XXXXXX` in the same directory,
// which gets the original's owner (when we may), group, mode and extended attributes (POSIX
// ACLs included), is flushed to disk and renamed over the original. Where a replace would
// change what the operator relies on -- a hard-linked file, a file whose owner, group or
// attributes the new file could not carry, or a writable file in a directory where no
// temporary file can be created -- the bytes are written into the file itself instead and
// flushed; the result is the same bytes. On any failure before the point of no return the
// original is left byte-identical; an in-place write that fails part way puts the old bytes
// back before reporting.
//
// Temporary files of ours left by a crash beside the file are removed before it is written;
// a temporary file still held by a running writer is left alone.

#include <functional>
#include <string>
#include <string_view>

namespace morvi {

bool ReplaceFileContents(const std::string& path, std::string_view content, std::string* error);

// How the new content reaches the file.
enum class WriteMethod {
    Replace,   // a temporary file renamed over the original (or a new file created)
    InPlace,   // the file itself rewritten and flushed
};

// Called once at the point of no return, after everything that can fail without touching the
// file has been done (the temporary file is written and flushed) and before the file itself
// changes: the rename, or the first byte of an in-place write. Returning false abandons the
// write, leaves the file untouched and reports `reason`. A history journal makes its entry
// durable here, so that no change reaches a file without it.
using BeforeCommit = std::function<bool(WriteMethod method, std::string* reason)>;

bool ReplaceFileContents(const std::string& path, std::string_view content, std::string* error,
                         const BeforeCommit& beforeCommit, WriteMethod* methodUsed = nullptr);

// Test seam: when set >= 0, the next replacement fails after writing that many bytes of the
// temporary file (or of the file itself, when written in place), as a full disk would.
// Reset to -1 after it fires.
void FailNextReplaceAfterBytesForTesting(long bytes);

// Test seam: the next replacement fails at its point of no return, after the BeforeCommit call
// agreed and before the file changes (as a rename refused by the file system would).
void FailNextCommitForTesting();

}  // namespace morvi
