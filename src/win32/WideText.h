#pragma once
// The window logic speaks UTF-8; the Win32 W functions speak UTF-16. Every text crosses here.

#include <string>
#include <string_view>

namespace morvi::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// Writes as much of the text as fits into a caller's buffer of `capacity` characters, always
// terminated (list-view cells are asked for this way, thousands of times per scroll).
void WidenInto(std::string_view utf8, wchar_t* buffer, int capacity);

}  // namespace morvi::win32
