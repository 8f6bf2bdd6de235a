#include <string>

#include "data/region/ListingRule.h"
#include "dialog/CPlacementDlg.h"

namespace morvi {
namespace {

std::string ProgressCaption(size_t progress) {
    // The number 0 is shown with no digits at all: "进度[]".
    return progress == 0 ? std::string("进度[]") : "进度[" + std::to_string(progress) + "]";
}

}  // namespace

bool CPlacementDlg::ListLoadedPlacement(const PlacementRecord& record, const std::string& filePath) {
    if (!PassesListingRules(record.block, m_host.ListBoxCount(IDC_TEMPLATE_LIST))) return false;
    ShowPlacementRow(-1, record.block, record.script, filePath);
    return true;
}

void CPlacementDlg::ShowPlacementRow(int row, const NpcPlacement& p, const std::string& storedScript,
                                     const std::string& file) {
    if (row < 0) {
        m_doc.InsertRow(file, PlacementRecord{p, storedScript});
        return;
    }
    m_doc.ReplaceRow(row, PlacementRecord{p, storedScript});
}

void CPlacementDlg::LoadMapPlacements() {
    const std::optional<std::string> directory = SelectedMapDirectory();
    if (!directory) return;

    // Nothing changes the template list while the map loads. The caption is set after every
    // record, listed or not; a host may repaint it less often.
    size_t shown = SIZE_MAX;
    std::string caption;
    const auto progress = [&](size_t number) {
        if (number != shown) {
            caption = ProgressCaption(number);
            shown = number;
        }
        m_host.SetItemText(IDC_FRAME, caption);
    };
    const Expected<LoadSummary, DocumentError> loaded =
        Document().Load(*directory, m_host.ListBoxCount(IDC_TEMPLATE_LIST), progress, SelectedMapName());
    // The last progress value is on the screen before the final count replaces it.
    if (loaded && loaded->anyRecord) m_host.UpdateItemNow(IDC_FRAME);

    m_host.SetItemText(IDC_FRAME, "NPC配置列表完成!共有NPC配置信息[" + std::to_string(Rows().Count()) + "]条!");
    m_host.SetItemText(IDC_HINT, "双击上面的内容可在这里进行编辑!");
    ResetEditArea();
}

}  // namespace morvi
