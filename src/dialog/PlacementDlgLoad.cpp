#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

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

std::string ProgressCaption(size_t progress) {
    // The number 0 is shown with no digits at all: "进度[]".
    return progress == 0 ? std::string("进度[]") : "进度[" + std::to_string(progress) + "]";
}

bool PassesListingRules(const NpcPlacement& p, int templates) {
    if (p.name[0] == 0 && p.name[1] == 0) return false;
    if (p.TemplateIndex() == 0 || p.TemplateIndex() >= templates) return false;
    return p.PosX() < kCoordinateLimit && p.PosYDoubled() < kCoordinateLimit;
}

// The texts of one row, built in buffers that are reused from row to row, so a map of
// hundreds of thousands of placements loads without a dozen allocations per row.
class RowFormatter {
public:
    // Views into this formatter, valid until the next call. Column 10 is `file`; of columns 8
    // and 9 the one the record does not use is empty.
    const RowViews& Format(const NpcPlacement& p, std::string_view storedScript, std::string_view file) {
        m_name.clear();
        AppendGbkAsUtf8(m_name, p.Name());
        m_row[COL_NAME] = m_name;
        m_row[COL_POS_X] = Number(0, p.PosX());
        m_row[COL_OFFSET_X] = Number(1, p.offsetX);
        m_row[COL_POS_Y] = Number(2, p.PosY());
        m_row[COL_OFFSET_Y] = Number(3, p.offsetY);
        m_row[COL_TYPE] = NameOfCode(NpcTypeNames(), p.npcType);
        m_row[COL_GROUP] = NameOfCode(NpcGroupNames(), p.npcGroup);
        m_row[COL_SERIES] = NameOfCode(NpcSeriesNames(), p.npcSeries);
        if (p.HasScript()) {
            // A damaged path may hold a zero byte, which ends the text as in a C string.
            m_script.clear();
            AppendGbkAsUtf8(m_script, storedScript.substr(0, storedScript.find('\0')));
            m_row[COL_DROP] = {};
            m_row[COL_SCRIPT] = m_script;
        } else {
            m_row[COL_DROP] = Number(4, p.dropCountOrScriptLength);
            m_row[COL_SCRIPT] = {};
        }
        m_row[COL_FILE] = file;
        m_row[COL_TEMPLATE] = Number(5, p.TemplateIndex());
        return m_row;
    }

private:
    // Plain signed decimal, no padding.
    std::string_view Number(size_t slot, int value) {
        char* begin = m_numbers[slot];
        const std::to_chars_result end = std::to_chars(begin, begin + sizeof m_numbers[slot], value);
        return std::string_view(begin, static_cast<size_t>(end.ptr - begin));
    }

    RowViews m_row{};
    std::string m_name;
    std::string m_script;
    char m_numbers[6][12] = {};
};

}  // namespace

RowTexts CPlacementDlg::FormatRow(const NpcPlacement& p, const std::string& script) {
    RowFormatter formatter;
    const RowViews& views = formatter.Format(p, script, {});
    RowTexts row;
    for (size_t column = 0; column < row.size(); ++column) row[column] = std::string(views[column]);
    return row;
}

bool CPlacementDlg::ListLoadedPlacement(const PlacementRecord& record, const std::string& filePath) {
    if (!PassesListingRules(record.block, m_host.ListBoxCount(IDC_TEMPLATE_LIST))) return false;
    RowFormatter formatter;
    m_host.Placements().InsertTopRowViews(formatter.Format(record.block, record.script, filePath));
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

    // Nothing changes the template list while the map loads.
    const int templates = m_host.ListBoxCount(IDC_TEMPLATE_LIST);
    const size_t files = finder.m_names.size();
    const size_t step = files / 100 == 0 ? 1 : files / 100;
    RegionPlacementReader reader;
    RowFormatter formatter;
    NpcPlacement block;
    std::string_view script;
    bool progressShown = false;
    for (size_t i = 0; i < files; ++i) {
        const std::string path = CollapseSeparators(*directory + "/" + finder.m_names[i]);
        if (!reader.Open(path) || reader.Count() == 0) continue;
        const std::string caption = ProgressCaption(i / step);
        while (reader.Next(block, script)) {
            if (PassesListingRules(block, templates))
                list.InsertTopRowViews(formatter.Format(block, script, path));
            // Set after every record, listed or not; a host may repaint it less often.
            m_host.SetItemText(IDC_FRAME, caption);
            progressShown = true;
        }
    }
    // The last progress value is on the screen before the final count replaces it.
    if (progressShown) m_host.UpdateItemNow(IDC_FRAME);

    m_host.SetItemText(IDC_FRAME, "NPC配置列表完成!共有NPC配置信息[" +
                                      std::to_string(list.RowCount()) + "]条!");
    m_host.SetItemText(IDC_HINT, "双击上面的内容可在这里进行编辑!");
    ResetEditArea();
}

}  // namespace morvi
