#include "data/platform/FileStamp.h"

#ifdef _WIN32
#include "data/platform/FileStampWin32.h"
#include "data/platform/WidePath.h"
#else
#include <sys/stat.h>

#include "data/platform/FileStampPosix.h"
#endif

namespace morvi {

#ifdef _WIN32
FileStamp StampOfFileData(uint64_t size, uint64_t lastWrite) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = size;
    stamp.mtime = static_cast<int64_t>(lastWrite);   // only ever compared with another stamp of this program
    return stamp;
}

FileStamp StampOfFile(const std::string& path) {
    const std::wstring wide = WidenUtf8(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return {};
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A link describes itself here; a read of the path reads its target, so ask the target.
        HANDLE target = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (target == INVALID_HANDLE_VALUE) return {};
        FILE_BASIC_INFO basic{};
        LARGE_INTEGER length{};
        const bool known = GetFileInformationByHandleEx(target, FileBasicInfo, &basic, sizeof basic) &&
                           GetFileSizeEx(target, &length);
        CloseHandle(target);
        if (!known) return {};
        if (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {};
        return StampOfFileData(static_cast<uint64_t>(length.QuadPart), static_cast<uint64_t>(basic.LastWriteTime.QuadPart));
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {};   // a directory has no stamp
    return StampOfFileData((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                           FileTimeTicks(data.ftLastWriteTime));
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
