#pragma once
// The program keeps every path in UTF-8. Windows file-system calls take UTF-16 ("W" calls),
// so a server tree with Chinese folder names works whatever the system's display language;
// the narrow ("A") calls would read the same bytes in the system code page instead.
//
// FsPath gives a std::filesystem::path from a UTF-8 path on every platform (on Windows the
// narrow constructor would also use the system code page); PathUtf8 is the way back.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace morvi {

std::filesystem::path FsPath(std::string_view utf8);
std::string PathUtf8(const std::filesystem::path& path);
// std::fopen with a UTF-8 path.
std::FILE* OpenFileUtf8(const std::string& path, const char* mode);

#ifdef _WIN32
// UTF-8 -> UTF-16 and back; invalid sequences become U+FFFD.
std::wstring WidenUtf8(std::string_view utf8);
std::string NarrowToUtf8(std::wstring_view wide);
#endif

}  // namespace morvi
