#ifdef _WIN32
#include "data/ChangeHistoryPlatform.h"

#include <windows.h>
#include <shlobj.h>

#include <ctime>

namespace morvi {
namespace {

std::string ToUtf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<size_t>(size - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

std::string HistoryRootDirectory() {
    PWSTR local = nullptr;
    std::string root;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local)))
        root = ToUtf8(local) + "\\MorviNpc\\history";
    ::CoTaskMemFree(local);
    return root;
}

std::string CurrentUserName() {
    wchar_t name[256] = {};
    DWORD size = 256;
    return ::GetUserNameW(name, &size) ? ToUtf8(name) : std::string();
}

std::string CurrentHostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &size) ? ToUtf8(name) : std::string();
}

int64_t CurrentEpochSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

}  // namespace morvi
#endif
