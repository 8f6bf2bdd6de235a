#ifdef _WIN32
#include "data/history/ChangeHistoryPlatform.h"

#include <windows.h>
#include <shlobj.h>

#include <ctime>

#include "data/platform/WidePath.h"

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

bool CreateDirectoriesDurably(const std::string& dir, std::string* error) {
    std::string path = dir;
    for (char& c : path)
        if (c == '/') c = '\\';
    // Every missing ancestor is created in turn; NTFS journals directory creation itself.
    for (size_t i = path.find('\\', 3); ; i = path.find('\\', i + 1)) {
        const std::string part = i == std::string::npos ? path : path.substr(0, i);
        if (!part.empty() && !::CreateDirectoryW(WidenUtf8(part).c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS) {
            if (error) *error = "cannot create the history directory " + part;
            return false;
        }
        if (i == std::string::npos) break;
    }
    return true;
}

namespace {
bool g_failNextAppendFlush = false;
}  // namespace

void FailNextAppendFlushForTesting() { g_failNextAppendFlush = true; }

bool TruncateDurably(const std::string& path, uint64_t size, std::string* error) {
    HANDLE file = ::CreateFileW(WidenUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) *error = "cannot open " + path + " to cut it back";
        return false;
    }
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size);
    const bool ok = ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ::SetEndOfFile(file) && ::FlushFileBuffers(file);
    ::CloseHandle(file);
    if (!ok && error) *error = "cannot cut " + path + " back";
    return ok;
}

bool AppendDurably(const std::string& path, std::string_view bytes, std::string* error) {
    HANDLE file = ::CreateFileW(WidenUtf8(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) *error = "cannot open " + path + " for appending";
        return false;
    }
    DWORD written = 0;
    bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && ::FlushFileBuffers(file);
    if (g_failNextAppendFlush) ok = false;
    g_failNextAppendFlush = false;
    ::CloseHandle(file);
    if (!ok && error) *error = "cannot write " + path + " durably";
    return ok;
}

bool ReadFileTail(const std::string& path, uint64_t maxBytes, std::string& out, uint64_t* size) {
    out.clear();
    if (size) *size = 0;
    HANDLE file = ::CreateFileW(WidenUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    LARGE_INTEGER length{};
    bool ok = ::GetFileSizeEx(file, &length) != 0;
    const uint64_t total = ok ? static_cast<uint64_t>(length.QuadPart) : 0;
    if (size) *size = total;
    const uint64_t want = total < maxBytes ? total : maxBytes;
    LARGE_INTEGER start{};
    start.QuadPart = static_cast<LONGLONG>(total - want);
    ok = ok && ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
    out.resize(static_cast<size_t>(want));
    size_t done = 0;
    while (ok && done < out.size()) {
        DWORD got = 0;
        ok = ::ReadFile(file, out.data() + done, static_cast<DWORD>(out.size() - done), &got, nullptr) && got > 0;
        done += got;
    }
    ::CloseHandle(file);
    if (!ok) out.clear();
    return ok;
}

}  // namespace morvi
#endif
