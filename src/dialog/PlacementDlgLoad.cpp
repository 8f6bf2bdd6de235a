#include <string>

#include "data/region/ListingRule.h"
#include "dialog/CPlacementDlg.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

std::string ProgressCaption(size_t progress) {
    // The number 0 is shown with no digits at all.
    return progress == 0 ? std::string(Text(TextId::LoadProgressEmpty))
                         : Format(TextId::LoadProgress, {std::to_string(progress)});
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
    // A sorted or narrowed list takes the map in one step at the end of the load.
    const Expected<LoadSummary, DocumentError> loaded = [&] {
        RowBatch batch(*this, !m_view.Identity());
        return Document().Load(*directory, m_host.ListBoxCount(IDC_TEMPLATE_LIST), progress, SelectedMapName());
    }();
    // The last progress value is on the screen before the final count replaces it.
    if (loaded && loaded->anyRecord) m_host.UpdateItemNow(IDC_FRAME);

    m_host.SetItemText(IDC_FRAME, Format(TextId::LoadDone, {std::to_string(Rows().Count())}));
    m_host.SetItemText(IDC_HINT, std::string(Text(TextId::LoadDoneHint)));
    ResetEditArea();
}

}  // namespace morvi
