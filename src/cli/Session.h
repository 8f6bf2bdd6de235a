#pragma once
// One command's view of a server tree through the window's own logic: the in-memory host and
// the dialog on it, with the template list, the code combos and the map list loaded as the window
// loads them at start-up (without the first-run folder browser: the command names the server
// directory, or MorviConfig.ini of the current directory does).

#include <optional>
#include <string>
#include <vector>

#include "dialog/CPlacementDlg.h"
#include "dialog/MemoryHost.h"

namespace morvi::cli {

// The server directory from --server, else ServerPath of MorviConfig.ini in the current
// directory; made absolute, without a trailing separator. nullopt with a reason when there is
// none or it is not a directory.
std::optional<std::string> ResolveServerDirectory(const std::string& option, std::string* error);

class Session {
public:
    explicit Session(std::string serverDirectory);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // False (with the window's message) when the map list could not be read.
    bool MapListLoaded(std::string* error) const;
    int MapCount() const { return host.ListBoxCount(IDC_MAP_LIST); }
    std::string MapName(int index) const { return host.ListBoxText(IDC_MAP_LIST, index); }
    std::string MapDirectoryEntry(int index) const;
    // The map named by a list index (digits), a display name or a directory entry; -1 with a
    // reason when there is none.
    int FindMap(const std::string& map, std::string* error) const;
    // Full path of the map's directory, as the window forms it.
    std::string MapDirectory(int index) const;
    // The map's region files, full paths as the window forms them, in the window's order.
    std::vector<std::string> MapRegionFiles(int index) const;

    // Selects the map in the map list and lets the window load it.
    void LoadMap(int index);

    int TemplateCount() const { return host.ListBoxCount(IDC_TEMPLATE_LIST); }

    // A region file path as shown to the user: relative to the server directory ('/'-separated)
    // when it lies below it, else as it is.
    std::string RelativeFile(const std::string& fullPath) const;
    // The full path of a file given relative to the server directory (or absolute), with '\' or
    // '/' separators, resolved the way the window resolves paths below the server directory.
    std::string FullFile(const std::string& given) const;

    const std::string& ServerDirectory() const { return m_server; }

    MemoryHost host;
    CPlacementDlg dlg;

private:
    std::string m_server;
    std::string m_root;   // the server directory as the window's paths begin with it
    bool m_mapListLoaded = false;
    std::string m_mapListError;
};

}  // namespace morvi::cli
