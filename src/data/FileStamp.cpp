#include "data/FileStamp.h"

#ifdef _WIN32
#include <filesystem>
#include <system_error>

#include "data/WidePath.h"
#else
#include <sys/stat.h>

#include "data/FileStampPosix.h"
#endif

namespace morvi {

#ifdef _WIN32
FileStamp StampOfFile(const std::string& path) {
    namespace fs = std::filesystem;
    FileStamp stamp;
    std::error_code ec;
    const fs::path p = FsPath(path);
    const uintmax_t size = fs::file_size(p, ec);
    if (ec) return stamp;
    const fs::file_time_type time = fs::last_write_time(p, ec);
    if (ec) return stamp;
    stamp.exists = true;
    stamp.size = static_cast<uint64_t>(size);
    stamp.mtime = static_cast<int64_t>(time.time_since_epoch().count());
    return stamp;
}
#else
FileStamp StampOfStat(const struct stat& st) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = static_cast<uint64_t>(st.st_size);
    stamp.mtime = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

FileStamp StampOfFile(const std::string& path) {
    struct stat st {};
    // Follows symlinks, as a read of the path does.
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return StampOfStat(st);
}
#endif

}  // namespace morvi
