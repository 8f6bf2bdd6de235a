#include "cli/Session.h"

#include <filesystem>
#include <system_error>

#include "cli/CliText.h"
#include "data/text/GbkCodec.h"
#include "data/region/MapRegionFiles.h"
#include "data/text/PrivateProfile.h"
#include "data/server/ServerPath.h"
#include "data/platform/WidePath.h"

namespace fs = std::filesystem;

namespace morvi::cli {
namespace {

constexpr size_t kServerPathCapacity = kMaxServerPathBytes + 1;

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

}  // namespace

std::optional<std::string> ResolveServerDirectory(const std::string& option, std::string* error) {
    std::string given = option;
    if (given.empty()) {
        std::error_code ec;
        const std::string config = PathUtf8(fs::current_path(ec) / "MorviConfig.ini");
        // The INI file holds code page 936 bytes, as the window writes it.
        given = GbkToUtf8(GetProfileString("MorviConfig", "ServerPath", "", kServerPathCapacity, config));
        if (given.empty()) {
            *error = "no server directory: give --server DIR or set ServerPath in the [MorviConfig] "
                     "section of MorviConfig.ini in the current directory";
            return std::nullopt;
        }
    }
    std::error_code ec;
    fs::path path = fs::absolute(FsPath(ToNativeSeparators(given)), ec).lexically_normal();
    if (ec || !fs::is_directory(path, ec)) {
        *error = "server directory " + given + " is not a directory";
        return std::nullopt;
    }
    return WithoutTrailingSeparators(PathUtf8(path));
}

Session::Session(std::string serverDirectory) : dlg(host), m_server(std::move(serverDirectory)) {
    host.Attach(&dlg);
    // A command answers no question it did not ask for: a delete is confirmed by the command
    // itself, every other box is answered No.
    host.defaultQuestionAnswer = MessageAnswer::No;
    dlg.SetServerPath(m_server);
    dlg.SetHistoryProgram("command line");
    m_root = WithoutTrailingSeparators(ServerFilePath(m_server, ""));
    // The window's start-up order: templates, code combos, maps.
    dlg.LoadTemplateList();
    dlg.FillNameCombos();
    const size_t boxes = host.messages.size();
    m_mapListLoaded = dlg.LoadMapList();
    if (!m_mapListLoaded && host.messages.size() > boxes) m_mapListError = host.messages.back().text;
    // From here on the commands read what the operations return; a map of 200,000 rows must
    // not leave 200,000 progress captions behind.
    host.lean = true;
}

bool Session::MapListLoaded(std::string* error) const {
    if (!m_mapListLoaded && error) *error = m_mapListError;
    return m_mapListLoaded;
}

std::string Session::MapDirectoryEntry(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= dlg.MapPaths().size()) return {};
    return dlg.MapPaths()[static_cast<size_t>(index)];
}

int Session::FindMap(const std::string& map, std::string* error) const {
    long long number = 0;
    if (!map.empty() && map[0] != '+' && map[0] != '-' && ParseInt(map, &number)) {
        if (number < MapCount()) return static_cast<int>(number);
    }
    for (int i = 0; i < MapCount(); ++i)
        if (MapName(i) == map) return i;
    const std::string wanted = ToBackslashes(map);
    for (int i = 0; i < MapCount(); ++i)
        if (ToBackslashes(MapDirectoryEntry(i)) == wanted) return i;
    if (error)
        *error = "no map " + map + " in the map list (give its index, display name or directory; "
                                   "`morvinpc maps` lists them)";
    return -1;
}

std::string Session::MapDirectory(int index) const {
    return ServerFilePath(m_server, "\\maps\\" + MapDirectoryEntry(index));
}

std::vector<std::string> Session::MapRegionFiles(int index) const {
    return ListMapRegionFiles(MapDirectory(index));
}

void Session::LoadMap(int index) {
    host.SelectListBox(IDC_MAP_LIST, index);
    dlg.LoadMapPlacements();
}

std::string Session::RelativeFile(const std::string& fullPath) const {
    // Shown with '/' on every system, so an exported file reads the same everywhere.
    std::string path = CollapseSeparators(fullPath);
    for (char& c : path)
        if (c == '\\') c = '/';
    std::string root = m_root;
    for (char& c : root)
        if (c == '\\') c = '/';
    root += '/';
    if (path.size() > root.size() && path.compare(0, root.size(), root) == 0) return path.substr(root.size());
    return path;
}

std::string Session::FullFile(const std::string& given) const {
    const std::string native = ToNativeSeparators(given);
    const bool absolute = (!native.empty() && native[0] == '/') || (native.size() > 1 && native[1] == ':');
    if (absolute) return ServerFilePath("", native);
    return ServerFilePath(m_server, "/" + given);
}

}  // namespace morvi::cli
