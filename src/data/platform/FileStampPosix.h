#pragma once
// The stamp of a file from a status the caller already holds (POSIX only).

#include <sys/stat.h>

#include "data/platform/FileStamp.h"

namespace morvi {

FileStamp StampOfStat(const struct stat& st);

}  // namespace morvi
