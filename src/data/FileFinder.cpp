#include "data/FileFinder.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

#include "data/WidePath.h"

#ifdef _WIN32
#include "data/FileFinderWin32.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace morvi {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// The root, separator included, must fit a 500-byte buffer with its terminator.
constexpr size_t kMaxRootBytes = 499;
// A subdirectory's relative path (with its trailing separator) must fit a 300-byte buffer.
constexpr size_t kMaxSubdirRelativeBytes = 299;
// The suffix is compared out of a 32-byte buffer.
constexpr size_t kMaxSuffixBytes = 31;

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string WithNativeSeparators(std::string path) {
    for (char& c : path)
        if (IsSeparator(c)) c = kSeparator;
    return path;
}

void AppendSeparatorIfMissing(std::string& path) {
    if (path.empty() || !IsSeparator(path.back())) path += kSeparator;
}

bool IsAbsolute(const std::string& path) {
#ifdef _WIN32
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && IsSeparator(path[0]));
#else
    return !path.empty() && path[0] == '/';
#endif
}

// NTFS hands out a directory's entries ordered by upper-cased name; names that differ only in
// case (possible on Linux) are ordered by their raw bytes so the order stays total.
bool NtfsOrderLess(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto ua = static_cast<unsigned char>(AsciiUpper(a[i]));
        const auto ub = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (ua != ub) return ua < ub;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

#ifndef _WIN32  // the Windows walk is in FileFinderWin32.cpp
// The identity of a directory, so a tree with symlink loops is walked only once per directory.
#ifdef _WIN32
using DirectoryId = std::string;
bool IdentifyDirectory(const std::string& path, DirectoryId& id) {
    std::error_code ec;
    fs::path canonical = fs::canonical(fs::path(path), ec);
    if (ec) return false;
    id = canonical.string();
    return true;
}
#else
using DirectoryId = std::pair<dev_t, ino_t>;
bool IdentifyDirectory(const std::string& path, DirectoryId& id) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    id = {st.st_dev, st.st_ino};
    return true;
}
#endif

#endif

// Whether the process could make the path its current directory.
bool CanEnterDirectory(const std::string& path) {
#ifdef _WIN32
    return CanEnterDirectoryWin32(path);
#else
    std::error_code ec;
    if (!fs::is_directory(fs::path(path), ec) || ec) return false;
    return ::access(path.c_str(), X_OK) == 0;
#endif
}

#ifndef _WIN32
// The same for a path IdentifyDirectory has just found to be a directory: only the permission
// to enter it is left to check, which spares a status call per directory of a large map.
bool CanSearchIdentifiedDirectory(const std::string& path) {
#ifdef _WIN32
    return CanEnterDirectory(path);
#else
    return ::access(path.c_str(), X_OK) == 0;
#endif
}

class TreeWalker {
public:
    TreeWalker(const std::string& root, const std::string& suffix, bool recursive,
               std::vector<std::string>& names)
        : m_root(root), m_suffix(suffix), m_recursive(recursive), m_names(names) {}

    void Run() {
        DirectoryId id;
        if (!IdentifyDirectory(m_root, id)) return;
        m_visited.insert(id);
        Walk(std::string());
    }

private:
    void Walk(const std::string& relative) {
        const std::string directory = m_root + relative;
        for (const Entry& entry : SortedEntries(directory)) {
            const fs::file_type type = entry.type;
            if (type == fs::file_type::none) continue;  // dangling symlink, or no permission to look
            if (type == fs::file_type::directory) {
                if (m_recursive) WalkSubdirectory(relative, entry.name);
            } else if (type == fs::file_type::regular) {
                // FIFOs, devices and sockets are left out so no caller ever blocks opening one.
                if (FileFinder::NameEndsWith(entry.name, m_suffix)) m_names.push_back(relative + entry.name);
            }
        }
    }

    void WalkSubdirectory(const std::string& relative, const std::string& name) {
        std::string subRelative = relative + name;
        subRelative += kSeparator;
        // Too long for the relative-path buffer: the subtree is skipped, never truncated.
        if (subRelative.size() > kMaxSubdirRelativeBytes) return;
        DirectoryId id;
        if (!IdentifyDirectory(m_root + subRelative, id)) return;
        if (!m_visited.insert(id).second) return;  // already walked: a symlink loop or alias
        if (!CanSearchIdentifiedDirectory(m_root + subRelative)) return;
        Walk(subRelative);
    }

    struct Entry {
        std::string name;
        fs::file_type type;   // symlinks followed; none when that failed
    };

    // Entries of one directory without "." and "..", in NTFS order. An enumeration that cannot
    // start yields nothing; one that fails midway keeps what it read so far. The listing's own
    // file types spare a status call per file on a map of thousands of region files.
    static std::vector<Entry> SortedEntries(const std::string& directory) {
        std::vector<Entry> entries;
        std::error_code ec;
        fs::directory_iterator it(fs::path(directory), ec);
        const fs::directory_iterator end;
        while (!ec && it != end) {
            // The entry answers from the listing's own file type and looks at the file itself
            // only for a symlink (followed) or where the file system did not tell the type.
            std::error_code typeError;
            fs::file_type type = fs::file_type::unknown;
            if (it->is_directory(typeError)) type = fs::file_type::directory;
            else if (!typeError && it->is_regular_file(typeError)) type = fs::file_type::regular;
            entries.push_back({it->path().filename().string(), typeError ? fs::file_type::none : type});
            it.increment(ec);
        }
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return NtfsOrderLess(a.name, b.name); });
        return entries;
    }

    const std::string& m_root;
    const std::string& m_suffix;
    const bool m_recursive;
    std::vector<std::string>& m_names;
    std::set<DirectoryId> m_visited;
};
#endif

}  // namespace

FileFinder::FileFinder() = default;

bool FileFinder::SetRoot(const std::string& path) {
    m_root.clear();
    std::string root = WithNativeSeparators(path);
    if (root.empty() || !IsAbsolute(root)) {
        std::error_code ec;
        std::string current = PathUtf8(fs::current_path(ec));
        if (ec || current.empty()) return false;
        AppendSeparatorIfMissing(current);
        root = current + root;
    }
    AppendSeparatorIfMissing(root);
    if (root.size() > kMaxRootBytes) return false;
    if (!CanEnterDirectory(root)) return false;
    m_root = root;
    return true;
}

bool FileFinder::Find(const std::string& suffix, bool recursive) {
    if (m_root.empty()) return false;
    m_recursive = recursive;
    m_names.clear();
#ifdef _WIN32
    WalkTreeWin32(m_root, suffix, m_recursive,
                  {NtfsOrderLess, NameEndsWith, kMaxSubdirRelativeBytes, kSeparator}, m_names);
#else
    TreeWalker(m_root, suffix, m_recursive, m_names).Run();
#endif
    return true;
}

bool FileFinder::NameEndsWith(const std::string& name, const std::string& suffix) {
    if (suffix.size() > kMaxSuffixBytes) return false;
    if (name.size() < suffix.size()) return false;
    const size_t offset = name.size() - suffix.size();
    for (size_t i = suffix.size(); i-- > 0;) {
        if (AsciiUpper(name[offset + i]) != AsciiUpper(suffix[i])) return false;
    }
    return true;
}

}  // namespace morvi
