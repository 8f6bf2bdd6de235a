#pragma once
// The status strip at the bottom of the main window: what the last write did (time,
// operation, file relative to the server directory, rows written) and, after a save that
// leaves two records with the same key in one region file, a warning naming them. The hint
// line keeps its own texts; this strip is the only place that says a save happened.

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "data/region/NpcPlacement.h"

namespace morvi {

enum class WriteOperation { Add, Modify, Delete, Clone };

struct WriteStatus {
    std::time_t when = 0;
    WriteOperation operation = WriteOperation::Add;
    std::vector<std::string> files;   // full native paths of the files written
    int rows = 0;                     // records written or removed
    int listRows = 0;                 // rows of the list afterwards
};

// The local time of day, "14:02:11".
std::string ClockText(std::time_t when);

// "14:02:11  添加  maps\a\b_S.DAT  1 行 (列表 1234 行)"; several files are named by count.
std::string FormatWriteStatus(const WriteStatus& status, std::string_view serverPath);

// A path below the server directory, relative to it, with the separators as stored ('\');
// a path outside it stays as it is.
std::string ServerRelativePath(std::string_view serverPath, std::string_view fullPath);

// Records of one region file that share their key with an earlier record of the same file:
// a later modify or delete by that key would always hit the first of them.
struct DuplicateKey {
    PlacementKey key;
    std::string firstName;    // UTF-8 names of the first two records with that key
    std::string secondName;
    int count = 0;            // records with that key
};
std::vector<DuplicateKey> FindDuplicateKeys(const std::vector<PlacementRecord>& records);
// Reads the file; empty when it cannot be read.
std::vector<DuplicateKey> FindDuplicateKeysInFile(const std::string& path);

// "注意: maps\a\b_S.DAT 中有相同键的记录: Guard 与 Guard2 (模板 3, X 100, Y 50, 偏移 0/0)";
// empty when there are none.
std::string FormatDuplicateWarning(const std::vector<DuplicateKey>& duplicates, std::string_view relativeFile);

}  // namespace morvi
