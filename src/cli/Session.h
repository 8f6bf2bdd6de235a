#pragma once
// One command's view of a server tree: the map list and the template table read as the window
// reads them at start-up (without the first-run folder browser: the command names the server
// directory, or MorviConfig.ini of the current directory does), and the map it works on.

#include <optional>
#include <string>
#include <vector>

#include "document/MapDocument.h"

namespace morvi::cli {

// The program the change history records for the command line's changes: a value stored in
// the history's entries, which readers match, not a text to translate.
inline constexpr char kHistoryProgram[] = "command line";

// The server directory from --server, else ServerPath of MorviConfig.ini in the current
// directory; made absolute, without a trailing separator. nullopt with a reason when there is
// none or it is not a directory.
std::optional<std::string> ResolveServerDirectory(const std::string& option, std::string* error);

class Session {
public:
    explicit Session(std::string serverDirectory);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // False (with the reason) when the map list could not be read or lists no map.
    bool MapListLoaded(std::string* error) const;
    int MapCount() const { return static_cast<int>(m_mapNames.size()); }
    const std::string& MapName(int index) const { return m_mapNames[static_cast<size_t>(index)]; }
    std::string MapDirectoryEntry(int index) const;
    // The map named by a list index (digits), a display name or a directory entry; -1 with a
    // reason when there is none.
    int FindMap(const std::string& map, std::string* error) const;
    // Full path of the map's directory, as the window forms it.
    std::string MapDirectory(int index) const;
    // The map's region files, full paths as the window forms them, in the window's order.
    std::vector<std::string> MapRegionFiles(int index) const;

    // Loads the map into the document: its rows as the window lists them.
    void LoadMap(int index);
    const PlacementRowStore& Rows() const { return document.Rows(); }

    // The template table's names (UTF-8): the stored index N is entry N - 1.
    int TemplateCount() const { return static_cast<int>(m_templateNames.size()); }
    const std::vector<std::string>& TemplateNames() const { return m_templateNames; }

    // A region file path as shown to the user: relative to the server directory ('/'-separated)
    // when it lies below it, else as it is.
    std::string RelativeFile(const std::string& fullPath) const;
    // The full path of a file given relative to the server directory (or absolute), with '\' or
    // '/' separators, resolved the way the window resolves paths below the server directory.
    std::string FullFile(const std::string& given) const;

    const std::string& ServerDirectory() const { return m_server; }

    // The map document every change goes through, writing as the command line.
    MapDocument document;

private:
    std::string m_server;
    std::string m_root;   // the server directory as the window's paths begin with it
    std::vector<std::string> m_mapNames;         // display names, UTF-8
    std::vector<std::string> m_mapDirectories;   // below <server>/maps, UTF-8, parallel
    std::vector<std::string> m_templateNames;
    bool m_mapListLoaded = false;
};

}  // namespace morvi::cli
