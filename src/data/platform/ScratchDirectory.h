#pragma once
// A new private directory for scratch files, in memory where the system has a memory file
// system (/dev/shm), else in the temporary directory. Empty when none could be made.

#include <string>

namespace morvi {

std::string CreateScratchDirectory(const std::string& prefix);

}  // namespace morvi
