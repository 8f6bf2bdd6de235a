#include "data/platform/WidePath.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace morvi {

#ifdef _WIN32
std::wstring WidenUtf8(std::string_view utf8) {
    if (utf8.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string NarrowToUtf8(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                          nullptr);
    return utf8;
}

std::filesystem::path FsPath(std::string_view utf8) { return std::filesystem::path(WidenUtf8(utf8)); }
std::FILE* OpenFileUtf8(const std::string& path, const char* mode) {
    return ::_wfopen(WidenUtf8(path).c_str(), WidenUtf8(mode).c_str());
}
std::string PathUtf8(const std::filesystem::path& path) { return NarrowToUtf8(path.native()); }
#else
std::filesystem::path FsPath(std::string_view utf8) { return std::filesystem::path(std::string(utf8)); }
std::string PathUtf8(const std::filesystem::path& path) { return path.native(); }
std::FILE* OpenFileUtf8(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }
#endif

}  // namespace morvi
