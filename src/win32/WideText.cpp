#include "win32/WideText.h"

#include <windows.h>

namespace morvi::win32 {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), length);
    return out;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), length, nullptr,
                        nullptr);
    return out;
}

void WidenInto(std::string_view utf8, wchar_t* buffer, int capacity) {
    if (!buffer || capacity <= 0) return;
    int written = 0;
    if (!utf8.empty()) {
        written = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), buffer, capacity - 1);
        // A text longer than the buffer: the conversion refuses it whole, so cut it by hand.
        if (written == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            const std::wstring wide = Widen(utf8);
            written = static_cast<int>(std::min<size_t>(wide.size(), static_cast<size_t>(capacity - 1)));
            wide.copy(buffer, static_cast<size_t>(written));
        }
    }
    buffer[written] = L'\0';
}

}  // namespace morvi::win32
