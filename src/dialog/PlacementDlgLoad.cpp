#include <cstring>
#include <string>

#include "data/FileFinder.h"
#include "data/GbkCodec.h"
#include "data/RegionFile.h"
#include "data/ServerPath.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/NameTables.h"

namespace morvi {
namespace {

// Listed coordinates stay below 1000 (the stored Y is doubled, so Y itself stays below 500).
constexpr int kCoordinateLimit = 1000;

// A stored script path is a fixed number of bytes; a damaged one may hold a zero byte, which
// ends the text as it would in a C string.
std::string ScriptText(const std::string& stored) {
    return GbkToUtf8(std::string_view(stored.data(), strnlen(stored.data(), stored.size())));
}

std::string ProgressCaption(size_t progress) {
    // The number 0 is shown with no digits at all: "进度[]".
    return progress == 0 ? std::string("进度[]") : "进度[" + std::to_string(progress) + "]";
}

}  // namespace

RowTexts CPlacementDlg::FormatRow(const NpcPlacement& p, const std::string& script) {
    RowTexts row;
    row[COL_NAME] = GbkToUtf8(p.Name());
    row[COL_POS_X] = std::to_string(p.PosX());
    row[COL_OFFSET_X] = std::to_string(p.offsetX);
    row[COL_POS_Y] = std::to_string(p.PosY());
    row[COL_OFFSET_Y] = std::to_string(p.offsetY);
    row[COL_TYPE] = NameOfCode(NpcTypeNames(), p.npcType);
    row[COL_GROUP] = NameOfCode(NpcGroupNames(), p.npcGroup);
    row[COL_SERIES] = NameOfCode(NpcSeriesNames(), p.npcSeries);
    if (p.HasScript())
        row[COL_SCRIPT] = ScriptText(script);
    else
        row[COL_DROP] = std::to_string(p.dropCountOrScriptLength);
    row[COL_TEMPLATE] = std::to_string(p.TemplateIndex());
    return row;
}

bool CPlacementDlg::ListLoadedPlacement(const PlacementRecord& record, const std::string& filePath) {
    const NpcPlacement& p = record.block;
    const int templates = m_host.ListBoxCount(IDC_TEMPLATE_LIST);
    if (p.name[0] == 0 && p.name[1] == 0) return false;
    if (p.TemplateIndex() == 0 || p.TemplateIndex() >= templates) return false;
    if (p.PosX() >= kCoordinateLimit || p.PosYDoubled() >= kCoordinateLimit) return false;

    RowTexts row = FormatRow(p, record.script);
    row[COL_FILE] = filePath;
    m_host.Placements().InsertTopRow(std::move(row));
    if (m_editRow >= 0) ++m_editRow;
    return true;
}

void CPlacementDlg::ShowPlacementRow(int row, const NpcPlacement& p, const std::string& storedScript) {
    PlacementListHost& list = m_host.Placements();
    const RowTexts texts = FormatRow(p, storedScript);
    if (row < 0) {
        list.InsertTopRow(texts);
        if (m_editRow >= 0) ++m_editRow;
        return;
    }
    if (row >= list.RowCount()) return;
    // Every column the record decides is rewritten, the unused one of drop count and script
    // included, so the row never shows a value the record no longer has. The file stays.
    for (int column = 0; column < kPlacementColumnCount; ++column)
        if (column != COL_FILE) list.SetCellText(row, column, texts[static_cast<size_t>(column)]);
}

void CPlacementDlg::LoadMapPlacements() {
    const std::optional<std::string> directory = SelectedMapDirectory();
    if (!directory) return;

    FileFinder finder;
    if (!directory->empty() && finder.SetRoot(*directory)) finder.Find("_S.DAT", true);

    PlacementListHost& list = m_host.Placements();
    list.DeleteAllRows();
    m_editRow = -1;

    const size_t files = finder.m_names.size();
    const size_t step = files / 100 == 0 ? 1 : files / 100;
    std::vector<PlacementRecord> records;
    for (size_t i = 0; i < files; ++i) {
        const std::string path = CollapseSeparators(*directory + "/" + finder.m_names[i]);
        if (!ReadRegionPlacements(path, records) || records.empty()) continue;
        const std::string caption = ProgressCaption(i / step);
        for (const PlacementRecord& record : records) {
            ListLoadedPlacement(record, path);
            m_host.SetItemText(IDC_FRAME, caption);
        }
    }

    m_host.SetItemText(IDC_FRAME, "NPC配置列表完成!共有NPC配置信息[" +
                                      std::to_string(list.RowCount()) + "]条!");
    m_host.SetItemText(IDC_HINT, "双击上面的内容可在这里进行编辑!");
    ResetEditArea();
}

}  // namespace morvi
