#include <string>
#include <string_view>
#include <vector>

#include "data/platform/FileReadAhead.h"
#include "data/region/ListingRule.h"
#include "data/region/MapRegionFiles.h"
#include "data/region/RegionRecordReader.h"
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
    PlacementListHost& list = m_host.Placements();
    if (row < 0) {
        m_rows.InsertTop(m_rows.InternFile(file), p, storedScript);
        list.RowsInsertedAtTop(1);
        if (m_editRow >= 0) ++m_editRow;
        return;
    }
    if (row >= m_rows.Count()) return;
    // Every column the record decides shows the new record, the unused one of drop count and
    // script included, so the row never shows a value the record no longer has. The file stays.
    m_rows.Replace(row, p, storedScript);
    m_rows.ClearOverrides(row);
    list.RowChanged(row);
}

void CPlacementDlg::LoadMapPlacements() {
    const std::optional<std::string> directory = SelectedMapDirectory();
    if (!directory) return;

    const std::vector<std::string> paths = ListMapRegionFiles(*directory);

    PlacementListHost& list = m_host.Placements();
    m_rows.Clear();
    list.RowsReset();
    m_editRow = -1;
    m_loadStamps.clear();

    // Nothing changes the template list while the map loads.
    const int templates = m_host.ListBoxCount(IDC_TEMPLATE_LIST);
    const size_t files = paths.size();
    const size_t step = files / 100 == 0 ? 1 : files / 100;
    // Files are read in the list's order; the read-ahead only lets the disk work ahead.
    FileReadAhead readAhead(paths);
    RegionRecordReader reader;
    RegionRecord record;
    bool progressShown = false;
    for (size_t i = 0; i < files; ++i) {
        // Taken as the file is read, so a change made after it was read shows at the next save.
        FileStamp stamp;
        const bool read = reader.Open(readAhead, i, RegionRecordReader::Walk::ByCount, &stamp);
        m_loadStamps[paths[i]] = stamp;
        if (!read || reader.Count() == 0) continue;
        const std::string caption = ProgressCaption(i / step);
        const uint32_t file = m_rows.InternFile(paths[i]);
        int listed = 0;
        while (reader.Next(record)) {
            if (PassesListingRules(record.block, templates)) {
                m_rows.InsertTop(file, record.block, record.script);
                ++listed;
            }
            // Set after every record, listed or not; a host may repaint it less often.
            m_host.SetItemText(IDC_FRAME, caption);
            progressShown = true;
        }
        if (listed > 0) list.RowsInsertedAtTop(listed);
    }
    // The last progress value is on the screen before the final count replaces it.
    if (progressShown) m_host.UpdateItemNow(IDC_FRAME);

    m_host.SetItemText(IDC_FRAME, "NPC配置列表完成!共有NPC配置信息[" +
                                      std::to_string(m_rows.Count()) + "]条!");
    m_host.SetItemText(IDC_HINT, "双击上面的内容可在这里进行编辑!");
    ResetEditArea();
}

}  // namespace morvi
