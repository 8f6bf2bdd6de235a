#include "cli/Session.h"

#include <filesystem>
#include <system_error>

#include "cli/CliText.h"
#include "data/text/GbkCodec.h"
#include "data/region/MapRegionFiles.h"
#include "data/text/PrivateProfile.h"
#include "data/server/MapList.h"
#include "data/server/ServerPath.h"
#include "data/text/TabFileReader.h"
#include "data/platform/WidePath.h"
#include "texts/ProgramTexts.h"

namespace fs = std::filesystem;

namespace morvi::cli {
namespace {

// The window reads ServerPath into 255 bytes: at most 254 bytes of path.
constexpr size_t kServerPathCapacity = 255;

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
            *error = Text(TextId::CliNoServerDirectory);
            return std::nullopt;
        }
    }
    std::error_code ec;
    fs::path path = fs::absolute(FsPath(ToNativeSeparators(given)), ec).lexically_normal();
    if (ec || !fs::is_directory(path, ec)) {
        *error = Format(TextId::CliNotADirectory, {given});
        return std::nullopt;
    }
    return WithoutTrailingSeparators(PathUtf8(path));
}

Session::Session(std::string serverDirectory) : m_server(std::move(serverDirectory)) {
    document.SetServerPath(m_server);
    document.SetProgram(kHistoryProgram);
    m_root = WithoutTrailingSeparators(ServerFilePath(m_server, ""));

    // npcs.txt, worldset.ini and maplist.ini hold code page 936 bytes.
    for (const std::string& name : ReadTemplateNames(ServerFilePath(m_server, "\\settings\\npcs.txt")))
        m_templateNames.push_back(GbkToUtf8(name));
    const MapListResult maps = ReadMapList(ServerFilePath(m_server, "\\maps\\worldset.ini"),
                                           ServerFilePath(m_server, "\\settings\\maplist.ini"));
    m_mapListLoaded = maps.count > 0;
    if (m_mapListLoaded)
        for (size_t i = 0; i < maps.names.size() && i < maps.dirs.size(); ++i) {
            m_mapNames.push_back(GbkToUtf8(maps.names[i]));
            m_mapDirectories.push_back(GbkToUtf8(maps.dirs[i]));
        }
}

bool Session::MapListLoaded(std::string* error) const {
    if (!m_mapListLoaded && error)
        *error = Format(TextId::CliNoMapList, {m_server});
    return m_mapListLoaded;
}

std::string Session::MapDirectoryEntry(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_mapDirectories.size()) return {};
    return m_mapDirectories[static_cast<size_t>(index)];
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
        *error = Format(TextId::CliNoSuchMap, {map});
    return -1;
}

std::string Session::MapDirectory(int index) const {
    const std::string tail = "\\maps\\" + MapDirectoryEntry(index);
    // A map directory that leads out of the server tree is a map without region files: no
    // command reads or writes another tree because of a damaged maplist.ini.
    if (EscapesServerDirectory(tail)) return {};
    return ServerFilePath(m_server, tail);
}

std::vector<std::string> Session::MapRegionFiles(int index) const {
    const std::string directory = MapDirectory(index);
    if (directory.empty()) return {};
    return ListMapRegionFiles(directory);
}

void Session::LoadMap(int index) {
    // A map directory that leads out of the tree loads as a map without region files.
    document.Load(MapDirectory(index), TemplateCount(), {}, MapName(index));
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
