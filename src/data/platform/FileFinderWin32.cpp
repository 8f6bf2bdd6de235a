#include "data/platform/FileFinderWin32.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <utility>

#include "data/platform/WidePath.h"

namespace morvi {
namespace {

// Volume serial number and file index: the same directory reached through a junction, a
// symlink or another name has the same identity.
using DirectoryId = std::pair<DWORD, unsigned long long>;

bool IdentifyDirectory(const std::string& path, DirectoryId& id) {
    // FILE_FLAG_BACKUP_SEMANTICS opens a directory; without FILE_FLAG_OPEN_REPARSE_POINT a
    // junction or symlink is followed to its target.
    HANDLE h = ::CreateFileW(WidenUtf8(path).c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(h, &info) != 0 && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    ::CloseHandle(h);
    if (!ok) return false;
    id = {info.dwVolumeSerialNumber, (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return true;
}

enum class EntryType { Directory, Regular, Skip };

struct Entry {
    std::string name;
    EntryType type;
};

// A link to a file counts as the file it points at; a dangling one is left out.
bool LinkTargetIsRegularFile(const std::string& path) {
    HANDLE h = ::CreateFileW(WidenUtf8(path).c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(h, &info) != 0 && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    ::GetFileType(h) == FILE_TYPE_DISK;
    ::CloseHandle(h);
    return ok;
}

// Entries of one directory without "." and "..", sorted; a listing that cannot start yields
// nothing, one that fails midway keeps what it read.
std::vector<Entry> SortedEntries(const std::string& directory, const Win32WalkRules& rules) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = WidenUtf8(directory + "*");
    HANDLE find = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::wstring_view wide = data.cFileName;
        if (wide == L"." || wide == L"..") continue;
        Entry entry{NarrowToUtf8(wide), EntryType::Regular};
        const DWORD attributes = data.dwFileAttributes;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            entry.type = EntryType::Directory;
        else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !LinkTargetIsRegularFile(directory + entry.name))
            entry.type = EntryType::Skip;
        else if (attributes & FILE_ATTRIBUTE_DEVICE)
            entry.type = EntryType::Skip;
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    std::sort(entries.begin(), entries.end(),
              [&rules](const Entry& a, const Entry& b) { return rules.orderLess(a.name, b.name); });
    return entries;
}

class TreeWalker {
public:
    TreeWalker(const std::string& root, const std::string& suffix, bool recursive, const Win32WalkRules& rules,
               std::vector<std::string>& names)
        : m_root(root), m_suffix(suffix), m_recursive(recursive), m_rules(rules), m_names(names) {}

    void Run() {
        DirectoryId id;
        if (!IdentifyDirectory(m_root, id)) return;
        m_visited.insert(id);
        Walk(std::string());
    }

private:
    void Walk(const std::string& relative) {
        for (const Entry& entry : SortedEntries(m_root + relative, m_rules)) {
            if (entry.type == EntryType::Directory) {
                if (m_recursive) WalkSubdirectory(relative, entry.name);
            } else if (entry.type == EntryType::Regular) {
                if (m_rules.nameMatches(entry.name, m_suffix)) m_names.push_back(relative + entry.name);
            }
        }
    }

    void WalkSubdirectory(const std::string& relative, const std::string& name) {
        std::string subRelative = relative + name;
        subRelative += m_rules.separator;
        if (subRelative.size() > m_rules.maxSubdirRelativeBytes) return;  // skipped, never truncated
        DirectoryId id;
        if (!IdentifyDirectory(m_root + subRelative, id)) return;  // dangling link or no access
        if (!m_visited.insert(id).second) return;                  // a junction loop or an alias
        Walk(subRelative);
    }

    const std::string& m_root;
    const std::string& m_suffix;
    const bool m_recursive;
    const Win32WalkRules& m_rules;
    std::vector<std::string>& m_names;
    std::set<DirectoryId> m_visited;
};

}  // namespace

void WalkTreeWin32(const std::string& root, const std::string& suffix, bool recursive, const Win32WalkRules& rules,
                   std::vector<std::string>& names) {
    TreeWalker(root, suffix, recursive, rules, names).Run();
}

bool CanEnterDirectoryWin32(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(WidenUtf8(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    std::string pattern = path;
    if (pattern.empty() || (pattern.back() != '\\' && pattern.back() != '/')) pattern += '\\';
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileExW(WidenUtf8(pattern + "*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                     nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    ::FindClose(find);
    return true;
}

}  // namespace morvi
