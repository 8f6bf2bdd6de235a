#include "data/platform/ScratchDirectory.h"

#include <filesystem>
#include <system_error>

#include "data/platform/WidePath.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace morvi {

std::string CreateScratchDirectory(const std::string& prefix) {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
#ifdef _WIN32
    // CreateDirectoryW fails on an existing name, so a name taken by another process is retried.
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string directory = PathUtf8(base);
        while (!directory.empty() && (directory.back() == '\\' || directory.back() == '/')) directory.pop_back();
        const std::string candidate = directory + "\\" + prefix + "-" + std::to_string(::GetCurrentProcessId()) +
                                      "-" + std::to_string(::GetTickCount() + attempt);
        if (::CreateDirectoryW(WidenUtf8(candidate).c_str(), nullptr)) return candidate;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return std::string();
#else
    if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) base = "/dev/shm";
    std::string pattern = (base / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) return std::string();
    return pattern;
#endif
}

}  // namespace morvi
