#pragma once
// What the change history needs from the platform: where the user's state lives, who and
// where we are, and the clock. POSIX and Windows each have their own small source file.

#include <cstdint>
#include <string>
#include <string_view>

namespace morvi {

// The directory that holds one history per server tree:
// $XDG_STATE_HOME/MorviNpc/history, else ~/.local/state/MorviNpc/history on POSIX systems,
// %LOCALAPPDATA%\MorviNpc\history on Windows. Empty when no home directory is known.
std::string HistoryRootDirectory();

std::string CurrentUserName();
std::string CurrentHostName();

// Seconds since 1970-01-01 UTC.
int64_t CurrentEpochSeconds();

// Creates the directory and its missing parents (private to the user), each one flushed into
// its parent so that it survives a crash. False with a reason when one cannot be made.
bool CreateDirectoriesDurably(const std::string& dir, std::string* error);

// Appends the bytes and flushes them to disk before returning; a file that did not exist is
// created and its directory entry flushed too. On a failure nothing is promised.
bool AppendDurably(const std::string& path, std::string_view bytes, std::string* error);

// Cuts the file back to `size` bytes and flushes it: takes back an append whose flush failed.
bool TruncateDurably(const std::string& path, uint64_t size, std::string* error);

// Test seam: the next AppendDurably writes its bytes but then fails as a failed flush would.
void FailNextAppendFlushForTesting();

// The last `maxBytes` bytes of a file (all of it when shorter) and the file's size.
// A missing file is an empty one.
bool ReadFileTail(const std::string& path, uint64_t maxBytes, std::string& out, uint64_t* size);


}  // namespace morvi
