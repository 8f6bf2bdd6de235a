#pragma once
// Paths below the server directory. A tail such as "\settings\npcs.txt" is appended to the
// server directory and every doubled separator collapsed, so a server directory that ends in
// a separator works too; '\' and '/' are both accepted and the result uses the native
// separator. On a case-sensitive file system a component that does not exist as written is
// looked up case-insensitively (ASCII letters, double-byte characters exact) in its directory: server trees are often copied
// from Windows with mixed case. Of several such entries the byte-wise smallest is taken; when
// none matches, the component and the rest of the path stay as written.
//
// Collapsing includes a leading pair of separators on POSIX, where "//x" means "/x". On
// Windows a leading pair is kept, so a network (UNC) server directory still works.

#include <string>
#include <string_view>

namespace morvi {

// serverPath + tail, separators made native, doubled separators collapsed, components
// resolved case-insensitively where the exact name does not exist.
std::string ServerFilePath(std::string_view serverPath, std::string_view tail);
// Only the textual rule: native separators, doubled separators collapsed.
std::string CollapseSeparators(std::string_view path);
// Whether a path below the server directory, given relative to it, climbs out of it with ".."
// or names a drive; '\' and '/' both separate. Map directories from maplist.ini are checked
// so that a copied or damaged entry never makes the tool write into another tree.
bool EscapesServerDirectory(std::string_view relative);
// Turns a native path into the stored form: '/' -> '\'.
std::string ToBackslashes(std::string_view path);
// Native separator form of a stored path.
std::string ToNativeSeparators(std::string_view path);

}  // namespace morvi
