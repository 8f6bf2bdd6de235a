#include "data/server/ServerPath.h"

#include "data/text/GbkCodec.h"

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace morvi {
namespace {

#ifdef _WIN32
constexpr char kNative = '\\';
#else
constexpr char kNative = '/';
#endif

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

#ifndef _WIN32
bool Exists(const std::string& path) {
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `directory` that equals `name` without regard to ASCII case; of several, the
// byte-wise smallest, so the choice does not depend on the order the directory returns.
// Empty when there is none or the directory cannot be read.
std::string FindNoCase(const std::string& directory, std::string_view name) {
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) return std::string();
    std::string best;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view candidate = entry->d_name;
        if (candidate == "." || candidate == "..") continue;
        if (EqualNoCaseGbk(candidate, name) && (best.empty() || candidate < best)) best = candidate;
    }
    ::closedir(dir);
    return best;
}

// Walks the path component by component; a component missing as written is replaced by an
// entry of its directory that differs only in ASCII case. From the first component that
// matches nothing, the rest is kept as written (nothing below it can exist).
std::string ResolveCase(const std::string& path) {
    std::string resolved;
    size_t pos = 0;
    if (!path.empty() && path[0] == '/') {
        resolved = "/";
        pos = 1;
    }
    while (pos < path.size()) {
        const size_t slash = path.find('/', pos);
        const size_t end = slash == std::string::npos ? path.size() : slash;
        const std::string_view component = std::string_view(path).substr(pos, end - pos);
        const std::string directory = resolved;
        std::string candidate = directory + std::string(component);
        if (component != "." && component != ".." && !Exists(candidate)) {
            const std::string match = FindNoCase(directory, component);
            if (match.empty()) return directory + path.substr(pos);
            candidate = directory + match;
        }
        resolved = std::move(candidate);
        if (slash == std::string::npos) break;
        resolved += '/';
        pos = slash + 1;
    }
    return resolved;
}
#endif

}  // namespace

std::string CollapseSeparators(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    size_t i = 0;
#ifdef _WIN32
    // A network path keeps its leading pair of separators.
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        out += "\\\\";
        i = 2;
        while (i < path.size() && IsSeparator(path[i])) ++i;
    }
#endif
    for (; i < path.size(); ++i) {
        if (IsSeparator(path[i])) {
            if (out.empty() || out.back() != kNative) out += kNative;
        } else {
            out += path[i];
        }
    }
    return out;
}

std::string ServerFilePath(std::string_view serverPath, std::string_view tail) {
    std::string joined(serverPath);
    joined += tail;
    std::string path = CollapseSeparators(joined);
#ifdef _WIN32
    return path;  // the file system ignores case
#else
    return ResolveCase(path);
#endif
}

std::string ToBackslashes(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string ToNativeSeparators(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (IsSeparator(c)) c = kNative;
    return out;
}

bool EscapesServerDirectory(std::string_view relative) {
    if (relative.size() >= 2 && relative[1] == ':') return true;
    int depth = 0;
    size_t begin = 0;
    while (begin <= relative.size()) {
        size_t end = relative.find_first_of("\\/", begin);
        if (end == std::string_view::npos) end = relative.size();
        const std::string_view part = relative.substr(begin, end - begin);
        if (part == "..") {
            if (--depth < 0) return true;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        begin = end + 1;
    }
    return false;
}

}  // namespace morvi
