// The window's writes through the change history, and the stamps by which a save or delete
// notices a region file another program changed since the map was loaded.

#include <algorithm>

#include "data/server/ServerPath.h"
#include "dialog/CPlacementDlg.h"

namespace morvi {
namespace {

std::string WithForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// `path` relative to the server directory as the window spells both, '/' between names; empty
// when it does not begin with it (the history then works it out from the resolved paths).
std::string RelativeToServer(const std::string& serverPath, const std::string& path) {
    std::string root = WithForwardSlashes(CollapseSeparators(serverPath));
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    root += '/';
    const std::string full = WithForwardSlashes(CollapseSeparators(path));
    if (full.size() <= root.size() || full.compare(0, root.size(), root) != 0) return {};
    return full.substr(root.size());
}

}  // namespace

ChangeHistory& CPlacementDlg::History() {
    if (!m_history || m_historyFor != m_serverPath) {
        m_history = m_historyDirectory.empty() ? std::make_unique<ChangeHistory>(m_serverPath)
                                               : std::make_unique<ChangeHistory>(m_serverPath, m_historyDirectory);
        m_historyFor = m_serverPath;
        // Steps of another tree's history mean nothing in this one.
        m_undoSteps.clear();
        m_redoSteps.clear();
    }
    return *m_history;
}

void CPlacementDlg::SetHistoryDirectory(std::string directory) {
    m_historyDirectory = std::move(directory);
    m_history.reset();
}

StepResult CPlacementDlg::WriteStep(const std::string& operation, const std::vector<FileChange>& files) {
    std::vector<FileChange> changes = files;
    for (FileChange& change : changes)
        if (change.relativePath.empty()) change.relativePath = RelativeToServer(m_serverPath, change.path);
    const StepInfo info{m_historyProgram, operation, SelectedMapName(), 0};
    m_lastStep = WriteJournaledStep(History(), info, changes);
    for (const FileWriteResult& file : m_lastStep.files)
        if (file.status == FileWriteStatus::Written) RestampAfterWrite(file.path);
    if (m_lastStep.step != 0 && m_lastStep.WrittenCount() > 0) {
        m_undoSteps.push_back(m_lastStep.step);
        m_redoSteps.clear();
    }
    return m_lastStep;
}

std::string CPlacementDlg::HistoryFailureHint(const FileWriteResult& file) {
    if (file.status != FileWriteStatus::HistoryFailed) return {};
    return "无法记录修改历史,文件未改动! " + file.reason;
}

std::string CPlacementDlg::SelectedMapName() const {
    const int selected = m_host.ListBoxSelection(IDC_MAP_LIST);
    return selected < 0 ? std::string() : m_host.ListBoxText(IDC_MAP_LIST, selected);
}

void CPlacementDlg::CheckChangedSinceLoad(const std::string& path) {
    const auto it = m_loadStamps.find(path);
    if (it == m_loadStamps.end()) return;   // not read by the load: nothing to compare with
    if (StampOfFile(path) == it->second) return;
    if (std::find(m_changedSinceLoad.begin(), m_changedSinceLoad.end(), path) == m_changedSinceLoad.end())
        m_changedSinceLoad.push_back(path);
}

void CPlacementDlg::RestampAfterWrite(const std::string& path) {
    const auto it = m_loadStamps.find(path);
    if (it != m_loadStamps.end()) it->second = StampOfFile(path);
}

void CPlacementDlg::ShowChangedSinceLoadHint() {
    if (m_changedSinceLoad.empty()) return;
    std::string files;
    for (const std::string& path : m_changedSinceLoad) files += (files.empty() ? "" : ", ") + path;
    m_host.SetItemText(IDC_HINT, "地图文件" + files + "在载入地图后已被其他程序修改,请重新载入地图!");
}

}  // namespace morvi
