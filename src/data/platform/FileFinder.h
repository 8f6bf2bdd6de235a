#pragma once
// Collects every file below a root directory whose name ends in a suffix, depth first.
// Enumerates with full paths and never changes the process's current directory. Entries of
// each directory are taken in the order NTFS returns them (names compared byte-wise in upper
// case), so results are reproducible. Found paths are relative to the root and use '/' on
// POSIX as separator between directory names.
//
// Only regular files (or symlinks to them) are listed, so no caller ever opens a FIFO or a
// device; dangling links are left out, hidden files are listed. A directory is never tested
// against the suffix. Each directory is walked at most once (symlink loops end), and a
// subtree that cannot be entered, or whose relative path would exceed 299 bytes, is skipped.

#include <string>
#include <vector>

namespace morvi {

class FileFinder {
public:
    FileFinder();
    // Sets the root; '\\' and '/' are both accepted, relative paths are taken from the current
    // directory, an empty path means the current directory. False (and the root cleared) when
    // it is not a directory that can be entered, or is longer than 499 bytes.
    bool SetRoot(const std::string& path);
    // Walks the tree, replacing m_names; false when no root is set.
    bool Find(const std::string& suffix, bool recursive);

    const std::string& Root() const { return m_root; }   // ends with a separator once set
    std::vector<std::string> m_names;                    // relative paths, in order found

    // Suffix test: ASCII upper-cased, compared from the end; a name shorter than the suffix,
    // or a suffix longer than 31 bytes, never matches.
    static bool NameEndsWith(const std::string& name, const std::string& suffix);

private:
    std::string m_root;
    bool m_recursive = false;
};

}  // namespace morvi
