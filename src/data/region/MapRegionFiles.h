#pragma once
// The region files of one map: every file below the map's directory, at any depth, whose name
// ends in "_S.DAT" (any case), in the finder's depth-first order (see FileFinder.h).

#include <string>
#include <vector>

namespace morvi {

inline constexpr const char* kRegionFileSuffix = "_S.DAT";

// Full paths (map directory, separator, relative path; separators native and doubled ones
// collapsed). Empty when the directory is empty, cannot be entered or holds no region file;
// an empty directory never means the current one.
std::vector<std::string> ListMapRegionFiles(const std::string& mapDirectory);

}  // namespace morvi
