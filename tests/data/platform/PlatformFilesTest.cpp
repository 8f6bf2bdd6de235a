// File-system behaviour with a platform form: Chinese folder names through the UTF-8 paths,
// and on Windows the read-only attribute and junction loops.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/platform/AtomicFile.h"
#include "data/platform/FileFinder.h"
#include "data/platform/FileReadAhead.h"
#include "data/platform/FileStamp.h"
#include "support/TestFiles.h"

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>

#include "data/platform/WidePath.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

using morvi::test::TempDir;
using morvi::test::ReadFile;
using morvi::test::WriteFile;

namespace {

std::vector<std::string> Found(const std::string& root) {
    morvi::FileFinder finder;
    if (!finder.SetRoot(root) || !finder.Find("_S.DAT", true)) return {"<failed>"};
    std::vector<std::string> names = finder.m_names;
    for (std::string& name : names)
        for (char& c : name)
            if (c == '\\') c = '/';
    return names;
}

// Sets a file's write time to `seconds` after a fixed whole second plus `micros`.
bool SetWriteTime(const std::string& path, int seconds, int micros) {
#ifdef _WIN32
    HANDLE h = ::CreateFileW(morvi::WidenUtf8(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    // 2020-01-01 in 100-nanosecond units since 1601.
    const ULONGLONG ticks = 132223104000000000ULL + seconds * 10000000ULL + micros * 10ULL;
    FILETIME time{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    const bool ok = ::SetFileTime(h, nullptr, nullptr, &time) != 0;
    ::CloseHandle(h);
    return ok;
#else
    const timespec times[2] = {{1577836800 + seconds, micros * 1000L}, {1577836800 + seconds, micros * 1000L}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
#endif
}

}  // namespace

// A region file rewritten with the same size within the same second as the load is still
// told apart from what was loaded, and the stamp a read takes is the one asked of the path.
TEST(PlatformFiles, WriteTimesWithinOneSecondTellStampsApart) {
    TempDir dir;
    const std::string path = dir / "区域_S.DAT";
    WriteFile(path, "loaded");
    ASSERT_TRUE(SetWriteTime(path, 5, 0));
    const morvi::FileStamp loaded = morvi::StampOfFile(path);
    EXPECT_TRUE(loaded.exists);
    EXPECT_EQ(loaded.size, 6u);
    const std::vector<std::string> paths{path};
    morvi::FileReadAhead files(paths);
    std::string image;
    morvi::FileStamp read;
    ASSERT_TRUE(files.Read(0, image, &read));
    EXPECT_EQ(read, loaded);
    WriteFile(path, "change");
    ASSERT_TRUE(SetWriteTime(path, 5, 1000));
    EXPECT_NE(morvi::StampOfFile(path), loaded);
    EXPECT_FALSE(morvi::StampOfFile(dir.path()).exists) << "a directory has no stamp";
}

TEST(PlatformFiles, ChineseFolderNamesAreWalkedReadAndReplaced) {
    TempDir dir;
    const std::string root = dir / "服务器";
    WriteFile(root + "/地图/区域_S.DAT", "old");
    WriteFile(root + "/地图/乙/0_0_S.DAT", "x");
    EXPECT_EQ(Found(root), (std::vector<std::string>{"地图/乙/0_0_S.DAT", "地图/区域_S.DAT"}));
    std::string error;
    ASSERT_TRUE(morvi::ReplaceFileContents(root + "/地图/区域_S.DAT", "new bytes", &error)) << error;
    std::string read;
    ASSERT_TRUE(morvi::ReadRegularFile(root + "/地图/区域_S.DAT", read));
    EXPECT_EQ(read, "new bytes");
}

#ifdef _WIN32
TEST(PlatformFiles, ReadOnlyAttributeIsRefusedAndTheFileKept) {
    TempDir dir;
    const std::string path = dir / "ro_S.DAT";
    WriteFile(path, "original");
    const std::wstring wide = morvi::WidenUtf8(path);
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
    std::string error;
    EXPECT_FALSE(morvi::ReplaceFileContents(path, "changed", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFile(path), "original");
}

TEST(PlatformFiles, FailedReplaceKeepsTheAttributesAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir / "h_S.DAT";
    WriteFile(path, "original");
    const std::wstring wide = morvi::WidenUtf8(path);
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
    morvi::FailNextReplaceAfterBytesForTesting(3);
    std::string error;
    EXPECT_FALSE(morvi::ReplaceFileContents(path, "changed", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFile(path), "original");
    ASSERT_TRUE(morvi::ReplaceFileContents(path, "changed", &error)) << error;
    EXPECT_EQ(ReadFile(path), "changed");
    // ReplaceFileW keeps the attributes on Windows; Wine's does not.
    const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (!wine) EXPECT_TRUE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    int entries = 0;
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW(morvi::WidenUtf8(dir / "*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (std::wstring_view(data.cFileName) != L"." && std::wstring_view(data.cFileName) != L"..") ++entries;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    EXPECT_EQ(entries, 1);
}

namespace {

// A junction (mount-point reparse point) at `link` pointing at the directory `target`.
bool MakeJunction(const std::string& link, const std::string& target) {
    if (!::CreateDirectoryW(morvi::WidenUtf8(link).c_str(), nullptr)) return false;
    HANDLE h = ::CreateFileW(morvi::WidenUtf8(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const std::wstring substitute = L"\\??\\" + morvi::WidenUtf8(target);
    const std::wstring print = morvi::WidenUtf8(target);
    const size_t pathBytes = (substitute.size() + 1 + print.size() + 1) * sizeof(wchar_t);
    std::vector<unsigned char> buffer(8 + 8 + pathBytes);
    auto put16 = [&](size_t at, size_t v) {
        buffer[at] = static_cast<unsigned char>(v & 0xFF);
        buffer[at + 1] = static_cast<unsigned char>(v >> 8);
    };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, 4);
    put16(4, 8 + pathBytes);                                  // reparse data length
    put16(8, 0);                                              // substitute name offset
    put16(10, substitute.size() * sizeof(wchar_t));           // substitute name length
    put16(12, (substitute.size() + 1) * sizeof(wchar_t));     // print name offset
    put16(14, print.size() * sizeof(wchar_t));                // print name length
    std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), print.c_str(),
                (print.size() + 1) * sizeof(wchar_t));
    DWORD returned = 0;
    const bool ok = ::DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                                      nullptr, 0, &returned, nullptr) != 0;
    ::CloseHandle(h);
    return ok;
}

}  // namespace

TEST(PlatformFiles, JunctionLoopEndsAndEachDirectoryIsWalkedOnce) {
    TempDir dir;
    WriteFile(dir / "top_S.DAT", "x");
    WriteFile(dir / "sub/in_S.DAT", "x");
    std::string root = dir.path();
    for (char& c : root)
        if (c == '/') c = '\\';
    if (!MakeJunction(dir / "sub/up", root)) GTEST_SKIP() << "this system cannot create junctions";
    EXPECT_EQ(Found(dir.path()), (std::vector<std::string>{"sub/in_S.DAT", "top_S.DAT"}));
}
#endif
