#pragma once
// The Windows directory walk of FileFinder, over FindFirstFileExW/FindNextFileW with UTF-8
// paths converted to UTF-16. The same rules as the POSIX walk: entries of each directory in
// the order `orderLess` gives, only regular files listed, each directory (identified by volume
// and file index, so junction and symlink loops end) walked once, a subtree that cannot be
// entered or whose relative path would exceed `maxSubdirRelativeBytes` skipped.
#ifdef _WIN32

#include <cstddef>
#include <string>
#include <vector>

namespace morvi {

struct Win32WalkRules {
    bool (*orderLess)(const std::string& a, const std::string& b);
    bool (*nameMatches)(const std::string& name, const std::string& suffix);
    size_t maxSubdirRelativeBytes;
    char separator;
};

void WalkTreeWin32(const std::string& root, const std::string& suffix, bool recursive, const Win32WalkRules& rules,
                   std::vector<std::string>& names);
// Whether the path is a directory whose entries can be listed.
bool CanEnterDirectoryWin32(const std::string& path);

}  // namespace morvi

#endif
