#include "data/platform/FileFinder.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

#include "data/platform/WidePath.h"

#ifdef _WIN32
#include "data/platform/FileFinderWin32.h"
#else
#include <dirent.h>
#include <fcntl.h>
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

#ifndef _WIN32  // the Windows walk is in FileFinderWin32.cpp
// The identity of a directory, so a tree with symlink loops is walked only once per directory.
using DirectoryId = std::pair<dev_t, ino_t>;

// Whether the process may look up names in a directory it has open. The owner's own search
// bit answers for the owner without asking the system (ACLs never override the owner's bits);
// anyone else asks, as access(2) would be asked of the path.
bool CanSearch(int directoryFd, const struct stat& st) {
    if (st.st_uid == ::getuid() && (st.st_mode & S_IXUSR)) return true;
    return ::faccessat(directoryFd, ".", X_OK, 0) == 0;
}

// Walks with opendir/readdir: the listing's own file types spare a status call per file on a
// map of thousands of region files; only a symlink (followed) or an entry whose type the file
// system did not tell is looked at.
class TreeWalker {
public:
    TreeWalker(const std::string& root, const std::string& suffix, bool recursive,
               std::vector<std::string>& names)
        : m_root(root), m_suffix(suffix), m_recursive(recursive), m_names(names) {}

    void Run() {
        struct stat st {};
        if (::stat(m_root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
        m_visited.insert({st.st_dev, st.st_ino});
        DIR* dir = ::opendir(m_root.c_str());
        if (dir) Walk(dir, std::string());
    }

private:
    enum class Type { Other, Directory, Regular };
    struct Entry {
        std::string name;
        Type type;
    };

    // Walks an open directory and closes it.
    void Walk(DIR* dir, const std::string& relative) {
        const std::vector<Entry> entries = SortedEntries(dir, relative);
        ::closedir(dir);
        for (const Entry& entry : entries) {
            if (entry.type == Type::Directory) {
                if (m_recursive) WalkSubdirectory(relative, entry.name);
            } else if (entry.type == Type::Regular) {
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
        DIR* dir = ::opendir((m_root + subRelative).c_str());
        if (!dir) return;   // gone, or no permission to read it: nothing to list
        struct stat st {};
        const int fd = ::dirfd(dir);
        // Already walked (a symlink loop or alias), or not searchable: skipped.
        if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || !m_visited.insert({st.st_dev, st.st_ino}).second ||
            !CanSearch(fd, st)) {
            ::closedir(dir);
            return;
        }
        Walk(dir, subRelative);
    }

    // Entries of one directory without "." and "..", in NTFS order. A listing that fails midway
    // keeps what it read so far.
    std::vector<Entry> SortedEntries(DIR* dir, const std::string& relative) const {
        std::vector<Entry> entries;
        while (const dirent* entry = ::readdir(dir)) {
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
            Type type = Type::Other;
            switch (entry->d_type) {
            case DT_DIR: type = Type::Directory; break;
            case DT_REG: type = Type::Regular; break;
            case DT_LNK:
            case DT_UNKNOWN: {
                // Followed; a dangling link, or one that cannot be looked at, is left out.
                struct stat st {};
                if (::stat((m_root + relative + name).c_str(), &st) != 0) continue;
                type = S_ISDIR(st.st_mode) ? Type::Directory : S_ISREG(st.st_mode) ? Type::Regular : Type::Other;
                break;
            }
            default: break;
            }
            entries.push_back({name, type});
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
