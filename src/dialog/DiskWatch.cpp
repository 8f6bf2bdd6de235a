#include "dialog/DiskWatch.h"

#include "dialog/CPlacementDlg.h"
#include "dialog/WriteStatus.h"
#include "texts/ProgramTexts.h"

namespace morvi {

std::string ChangedOnDiskText(const std::vector<std::string>& files, const std::string& serverPath) {
    if (files.empty()) return {};
    const std::string first = ServerRelativePath(serverPath, files.front());
    if (files.size() == 1) return Format(TextId::DiskChangedOne, {first});
    return Format(TextId::DiskChangedMany, {first, std::to_string(files.size())});
}

std::optional<StatusLine> DiskWatch::Tick() {
    std::vector<std::string> changed = m_dlg.Document().FilesChangedOnDisk();
    if (changed == m_reported) return std::nullopt;
    m_reported = std::move(changed);
    // A load since the last tick forgot what was found: nothing to say.
    if (m_reported.empty()) return std::nullopt;
    return StatusLine{ChangedOnDiskText(m_reported, m_dlg.ServerPath()), true};
}

StatusLine DiskWatch::Reload() {
    const int rows = m_dlg.ReloadKeepingPlace();
    m_reported.clear();
    return StatusLine{Format(TextId::DiskReloaded, {std::to_string(rows)}), false};
}

}  // namespace morvi
