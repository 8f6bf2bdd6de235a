// The main window's side of the problems panel and of files changed on disk: the panel is made
// when first asked for and docked beside the window; a timer looks at the loaded files' stamps
// each second and the status strip names a file another program changed; F5 reads the map
// again where the user was.
#include "win32/PlacementWindow.h"

namespace morvi::win32 {

void PlacementWindow::ToggleProblems() {
    if (!m_problems) m_problems = std::make_unique<ProblemsPanel>(m_dlg, *this);
    m_problems->Toggle(m_hwnd);
}

void PlacementWindow::StartDiskWatch() {
    m_watch = std::make_unique<DiskWatch>(m_dlg);
    SetTimer(m_hwnd, kDiskWatchTimer, 1000, nullptr);
}

void PlacementWindow::WatchFiles() {
    if (!m_watch) return;
    if (const std::optional<StatusLine> line = m_watch->Tick()) ShowStatusLine(*line);
}

void PlacementWindow::ReloadKeepingPlace() {
    if (!m_watch) m_watch = std::make_unique<DiskWatch>(m_dlg);
    ShowStatusLine(m_watch->Reload());
    QueueListStatus();
}

}  // namespace morvi::win32
