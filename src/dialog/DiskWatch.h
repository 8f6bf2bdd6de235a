#pragma once
// Notices region files of the loaded map that another program changed: the front end calls
// Tick() from a timer (or when the system says a file of the map directory changed); the
// status strip then names the file and offers F5, which reads the map again keeping the
// user's place. The window's own writes are never reported: the document takes the stamp of
// every file it wrote.

#include <optional>
#include <string>
#include <vector>

#include "dialog/StatusLine.h"

namespace morvi {

class CPlacementDlg;

class DiskWatch {
public:
    explicit DiskWatch(CPlacementDlg& dlg) : m_dlg(dlg) {}

    // Looks at the loaded files' stamps. A line for the status strip (a warning) when files
    // changed outside this window that the last tick did not report; nothing otherwise.
    std::optional<StatusLine> Tick();
    // The files found changed since the load (full paths, in the map's order).
    const std::vector<std::string>& Changed() const { return m_reported; }
    // F5: the map read again where the user was; the strip's line after it.
    StatusLine Reload();

private:
    CPlacementDlg& m_dlg;
    std::vector<std::string> m_reported;
};

// The strip's words for files changed outside: one file named, or the first and how many.
std::string ChangedOnDiskText(const std::vector<std::string>& files, const std::string& serverPath);

}  // namespace morvi
