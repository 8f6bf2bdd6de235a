// The Windows form of the crash-safe replacement: the new bytes go to a temporary file in the
// same directory, are flushed with FlushFileBuffers, and ReplaceFileW puts them in place (it
// keeps the original's attributes, ACLs and file identity); where ReplaceFileW cannot be used
// MoveFileExW replaces the file, written through. Paths are UTF-8 and reach the system as
// UTF-16 through the W calls.
#include "data/platform/AtomicFile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "data/platform/WidePath.h"

namespace morvi {
namespace {

long g_failAfterBytes = -1;
bool g_failNextCommit = false;

std::string SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length && buffer) text = NarrowToUtf8(std::wstring_view(buffer, length));
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.empty()) text = "error " + std::to_string(code);
    return text;
}

std::string Describe(const char* what, const std::string& path, DWORD code) {
    return std::string(what) + " " + path + ": " + SystemMessage(code);
}

class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    bool Close() {
        if (!Valid()) return true;
        const bool ok = ::CloseHandle(m_h) != 0;
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h;
};

// Writes everything or reports the error; honours the test seam.
bool WriteAll(HANDLE h, std::string_view content, DWORD* err) {
    size_t limit = content.size();
    bool injected = false;
    if (g_failAfterBytes >= 0) {
        limit = std::min(limit, static_cast<size_t>(g_failAfterBytes));
        injected = true;
        g_failAfterBytes = -1;
    }
    size_t done = 0;
    while (done < limit) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(limit - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(h, content.data() + done, chunk, &written, nullptr)) {
            *err = ::GetLastError();
            return false;
        }
        done += written;
    }
    if (injected) {
        *err = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

size_t LastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

std::string DirectoryOf(const std::string& path) {
    const size_t slash = LastSeparator(path);
    if (slash == std::string::npos) return ".";
    return path.substr(0, slash);
}

// A new, empty file beside the target, opened for writing; its name is kept in `temp`.
HANDLE CreateTemporaryBeside(const std::string& path, std::string& temp, DWORD* err) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = LastSeparator(path);
    const std::string base = path.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::string dir = DirectoryOf(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned serial = counter.fetch_add(1) ^ (::GetTickCount() << 8);
        temp = dir + "\\." + base + ".morvi-" + std::to_string(::GetCurrentProcessId()) + "-" +
               std::to_string(serial);
        HANDLE h = ::CreateFileW(WidenUtf8(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) return h;
        *err = ::GetLastError();
        if (*err != ERROR_FILE_EXISTS && *err != ERROR_ALREADY_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

void FailNextReplaceAfterBytesForTesting(long bytes) { g_failAfterBytes = bytes; }
void FailNextCommitForTesting() { g_failNextCommit = true; }

bool ReplaceFileContents(const std::string& requestedPath, std::string_view content, std::string* error) {
    return ReplaceFileContents(requestedPath, content, error, BeforeCommit{}, nullptr);
}

// Windows always replaces: ReplaceFileW keeps the original's attributes, ACLs and identity.
bool ReplaceFileContents(const std::string& requestedPath, std::string_view content, std::string* error,
                         const BeforeCommit& beforeCommit, WriteMethod* methodUsed) {
    if (methodUsed) *methodUsed = WriteMethod::Replace;
    std::string path = requestedPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    const std::wstring widePath = WidenUtf8(path);

    const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (existed) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (error) *error = path + ": not a regular file";
            return false;
        }
        // Replacing a file needs only rights on its directory; a file the operator made
        // read-only must stay as it is, as an in-place write would have found.
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            if (error) *error = Describe("cannot write", path, ERROR_ACCESS_DENIED) + " (the file is read-only)";
            return false;
        }
        Handle probe(::CreateFileW(widePath.c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.Valid()) {
            const DWORD code = ::GetLastError();
            if (error) *error = Describe("cannot write", path, code);
            return false;
        }
        if (::GetFileType(probe.Get()) != FILE_TYPE_DISK) {
            if (error) *error = path + ": not a regular file";
            return false;
        }
    }

    std::string temp;
    DWORD err = 0;
    Handle file(CreateTemporaryBeside(path, temp, &err));
    if (!file.Valid()) {
        if (error) *error = Describe("cannot create a temporary file beside", path, err);
        return false;
    }
    const std::wstring wideTemp = WidenUtf8(temp);
    bool ok = WriteAll(file.Get(), content, &err);
    if (ok && !::FlushFileBuffers(file.Get())) ok = false, err = ::GetLastError();
    if (!file.Close() && ok) ok = false, err = ::GetLastError();
    if (ok && beforeCommit) {
        std::string reason;
        if (!beforeCommit(WriteMethod::Replace, &reason)) {
            ::DeleteFileW(wideTemp.c_str());
            if (error) *error = reason;
            return false;
        }
    }
    if (ok && g_failNextCommit) ok = false, err = ERROR_WRITE_FAULT, g_failNextCommit = false;
    if (ok) {
        bool replaced = false;
        if (existed) {
            replaced = ::ReplaceFileW(widePath.c_str(), wideTemp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                      nullptr, nullptr) != 0;
            // Without a backup name every failure of ReplaceFileW leaves the original under
            // its own name; a rename over it is tried instead (for example on a file system
            // that cannot keep the original's identity).
            if (!replaced) err = ::GetLastError();
        }
        if (!replaced) {
            replaced = ::MoveFileExW(wideTemp.c_str(), widePath.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
            if (!replaced) err = ::GetLastError();
        }
        ok = replaced;
    }
    if (!ok) {
        ::DeleteFileW(wideTemp.c_str());
        if (error) *error = Describe("cannot write", path, err);
        return false;
    }
    return true;
}

}  // namespace morvi
