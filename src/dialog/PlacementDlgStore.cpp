#include <cctype>
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/FileFinder.h"
#include "data/GbkCodec.h"
#include "data/RegionFile.h"
#include "data/ServerPath.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/NameTables.h"

namespace morvi {
namespace {

constexpr int kMaxOffset = 255;
constexpr int kRandomOffsetRange = 255;   // a random offset runs from 0 to 254
constexpr size_t kMaxNameBytes = kNameFieldSize - 1;
constexpr char kSaveFailedHint[] = "打开地图文件发生错误,保存失败!";

// The edit area, checked and converted to what a record stores.
struct EditInput {
    uint16_t posX = 0;
    uint16_t posYDoubled = 0;
    uint8_t offsetX = 0;
    uint8_t offsetY = 0;
    std::string name;      // code page 936, at most 33 bytes
    uint8_t type = 0;
    uint8_t group = 0;
    uint8_t series = 0;
    bool dropEmpty = true;
    int drop = 0;          // 0..24
    std::string script;    // stored form (code page 936, leading '\'), empty when not stored
};

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string Trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// A coordinate field holds a signed decimal number, blanks around it allowed; anything else,
// and a number that does not fit an int, reads as 0.
int CoordinateValue(const std::string& raw) {
    const std::string text = Trimmed(raw);
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i == text.size()) return 0;
    long long value = 0;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return 0;
        value = value * 10 + (text[k] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) return 0;
    }
    if (text[0] == '-') value = -value;
    if (value > INT_MAX || value < INT_MIN) return 0;
    return static_cast<int>(value);
}

// The current text of a drop-down list: empty when nothing is selected.
std::string ComboText(DialogHost& host, int id) {
    const int selected = host.ComboSelection(id);
    return selected < 0 ? std::string() : host.ComboItemText(id, selected);
}

void Refuse(DialogHost& host, const char* hint, int focus) {
    host.SetItemText(IDC_HINT, hint);
    host.FocusItem(focus);
}

// Reads and checks the edit area the way both saves do. An empty offset field takes a random
// offset; every refusal leaves a hint and the focus on the field, and nothing is written.
std::optional<EditInput> ReadEditArea(DialogHost& host, const std::function<int()>& nextRandom) {
    EditInput in;
    const int x = CoordinateValue(host.ItemText(IDC_POS_X));
    const int y = CoordinateValue(host.ItemText(IDC_POS_Y));
    // Coordinates keep their low 16 bits; Y is stored doubled.
    in.posX = static_cast<uint16_t>(static_cast<uint32_t>(x));
    in.posYDoubled = static_cast<uint16_t>(static_cast<uint32_t>(y) * 2u);

    auto offset = [&](int id) {
        const std::string text = host.ItemText(id);
        return text.empty() ? nextRandom() % kRandomOffsetRange : TextToInt(text);
    };
    const int offsetX = offset(IDC_OFFSET_X);
    const int offsetY = offset(IDC_OFFSET_Y);
    if (offsetX < 0 || offsetX > kMaxOffset || offsetY < 0 || offsetY > kMaxOffset) {
        Refuse(host, "偏移坐标不能大于255或者小于0!", IDC_POS_X);
        return std::nullopt;
    }
    in.offsetX = static_cast<uint8_t>(offsetX);
    in.offsetY = static_cast<uint8_t>(offsetY);

    const std::string dropText = host.ItemText(IDC_DROP);
    in.dropEmpty = dropText.empty();
    in.drop = TextToInt(dropText);
    if (!in.dropEmpty && in.drop > kMaxDropCount) {
        Refuse(host, "掉宝数不能大于24!", IDC_DROP);
        return std::nullopt;
    }
    // A negative count would be stored as a byte above 24 and turn the record into a script
    // record of that length.
    if (in.drop < 0) {
        Refuse(host, "掉宝数不能小于0!", IDC_DROP);
        return std::nullopt;
    }

    const std::optional<std::string> name = Utf8ToGbk(host.ItemText(IDC_NAME));
    if (!name) {
        Refuse(host, "NPC名称含有无法保存的字符!", IDC_NAME);
        return std::nullopt;
    }
    if (name->size() > kMaxNameBytes) {
        Refuse(host, "NPC名称不能超过33个字节!", IDC_NAME);
        return std::nullopt;
    }
    in.name = *name;

    // Stored script paths use '\' and begin with one; a path typed without it gets one in front.
    std::string script = ToBackslashes(Trimmed(host.ItemText(IDC_SCRIPT)));
    if (!script.empty() && script[0] != '\\') script.insert(script.begin(), '\\');
    const std::optional<std::string> stored = Utf8ToGbk(script);
    if (!stored) {
        Refuse(host, "脚本路径含有无法保存的字符!", IDC_SCRIPT);
        return std::nullopt;
    }
    if (stored->size() > kMaxScriptLength) {
        Refuse(host, "脚本路径不能超过255个字节!", IDC_SCRIPT);
        return std::nullopt;
    }
    // A path of 24 bytes or fewer cannot be told from a drop count, so it is not stored.
    if (stored->size() > static_cast<size_t>(kMaxDropCount)) in.script = *stored;

    in.type = static_cast<uint8_t>(CodeOfName(NpcTypeNames(), ComboText(host, IDC_TYPE)));
    in.group = static_cast<uint8_t>(CodeOfName(NpcGroupNames(), ComboText(host, IDC_GROUP)));
    in.series = static_cast<uint8_t>(CodeOfName(NpcSeriesNames(), ComboText(host, IDC_SERIES)));
    return in;
}

// Writes the edit area over a record. Fields the edit area does not decide keep their bytes
// (zero in a new record): the reserved fields, the name field after its terminator, and the
// trailing byte of a record without script.
void ApplyEditInput(PlacementRecord& record, const EditInput& in, int templateIndex,
                    uint8_t dropWhenNoScript) {
    NpcPlacement& p = record.block;
    p.SetTemplateIndex(static_cast<uint16_t>(static_cast<uint32_t>(templateIndex)));
    p.offsetX = in.offsetX;
    p.SetPosX(in.posX);
    p.offsetY = in.offsetY;
    p.SetPosYDoubled(in.posYDoubled);
    p.SetName(in.name);
    p.marker = 1;
    p.npcType = in.type;
    p.npcGroup = in.group;
    p.npcSeries = in.series;
    if (!in.script.empty()) {
        p.dropCountOrScriptLength = static_cast<uint8_t>(in.script.size());
        p.variable = static_cast<uint8_t>(in.script[0]);
        record.script = in.script;
    } else {
        p.dropCountOrScriptLength = dropWhenNoScript;
        record.script.clear();
    }
}

}  // namespace

void CPlacementDlg::AddPlacement() {
    SeedRandom();
    const std::optional<EditInput> in = ReadEditArea(m_host, [this] { return NextRandom(); });
    if (!in) return;

    const std::optional<std::string> directory = SelectedMapDirectory();
    if (!directory) return;
    std::string path = m_addTargetFile;
    if (path.empty()) {
        FileFinder finder;
        if (directory->empty() || !finder.SetRoot(*directory) || !finder.Find("_S.DAT", true) || finder.m_names.empty()) return;

        // The file-choice rule: r - 1 for a random r below n, and 0 for r = 0, so with two or
        // more files the last one is never chosen.
        const int n = static_cast<int>(finder.m_names.size());
        const int r = NextRandom() % n;
        const int index = r - 1 < 0 ? 0 : r - 1;
        path = CollapseSeparators(*directory + "/" + finder.m_names[static_cast<size_t>(index)]);
    }

    PlacementRecord record;
    ApplyEditInput(record, *in, m_curTemplate, static_cast<uint8_t>(in->drop));

    if (m_debugMode) m_host.SetItemText(IDC_FRAME, "[调试模式]" + path);
    if (!AppendPlacementToFile(path, record).ok()) {
        m_host.SetItemText(IDC_HINT, kSaveFailedHint);
        return;
    }

    ShowPlacementRow(-1, record.block, record.script);
    PlacementListHost& list = m_host.Placements();
    list.SetCellText(0, COL_FILE, path);
    list.RepaintNow();
    if (!m_host.IsItemChecked(IDC_CONTINUE)) ResetEditArea();
}

void CPlacementDlg::ModifyPlacement() {
    SeedRandom();
    const std::optional<EditInput> in = ReadEditArea(m_host, [this] { return NextRandom(); });
    if (!in) return;

    // An empty drop count gives 1 to an enemy (type 0) and 0 to every other type.
    const uint8_t drop =
        static_cast<uint8_t>(in->dropEmpty ? (in->type == 0 ? 1 : 0) : in->drop);
    const PlacementKey key{m_origTemplate, m_origPosX, m_origPosY, m_origOffsetX, m_origOffsetY};
    PlacementRecord written;
    const RegionResult result =
        ModifyPlacementInFile(m_editFile, key, [&](const PlacementRecord& old) {
            written = old;
            ApplyEditInput(written, *in, m_curTemplate, drop);
            return written;
        });

    if (result.outcome == RegionOutcome::WriteFailed) {
        m_host.SetItemText(IDC_HINT, kSaveFailedHint);
        return;
    }
    // A file that cannot be opened, or no record with the key: nothing written, still editing.
    if (!result.ok()) return;

    if (m_editRow >= 0) ShowPlacementRow(m_editRow, written.block, written.script);
    m_host.Placements().RepaintNow();
    ResetEditArea();
}

void CPlacementDlg::OnDelete() {
    const MessageAnswer answer = m_host.ShowMessage(
        "删除操作将直接操作文件,不可恢复.确定要从地图里删除选定的NPC么?", "从地图里移出NPC",
        MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageAnswer::Yes) return;

    RemoveSelectedFromFiles();

    PlacementListHost& list = m_host.Placements();
    std::vector<int> selected;
    for (int row = list.NextSelectedRow(-1); row >= 0; row = list.NextSelectedRow(row))
        selected.push_back(row);
    // From the bottom up, so the indices still to delete stay valid.
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        list.DeleteRow(*it);
        if (*it == m_editRow)
            m_editRow = -1;
        else if (*it < m_editRow)
            --m_editRow;
        m_host.SetItemText(IDC_FRAME, "NPC删除完成!正在重新计算NPC信息,现有NPC信息[" +
                                          std::to_string(list.RowCount()) + "]条!");
    }
    m_host.SetItemText(IDC_FRAME, "现有NPC配置信息[" + std::to_string(list.RowCount()) + "]条!");
}

void CPlacementDlg::RemoveSelectedFromFiles() {
    PlacementListHost& list = m_host.Placements();
    int selectedCount = 0;
    int removedCount = 0;
    for (int row = list.NextSelectedRow(-1); row >= 0; row = list.NextSelectedRow(row)) {
        ++selectedCount;
        const PlacementKey key{TextToInt(list.CellText(row, COL_TEMPLATE)),
                               TextToInt(list.CellText(row, COL_POS_X)),
                               TextToInt(list.CellText(row, COL_POS_Y)),
                               TextToInt(list.CellText(row, COL_OFFSET_X)),
                               TextToInt(list.CellText(row, COL_OFFSET_Y))};
        PlacementRecord removed;
        const RegionResult result = RemovePlacementFromFile(list.CellText(row, COL_FILE), key, &removed);
        if (result.outcome == RegionOutcome::WriteFailed) {
            m_host.SetItemText(IDC_HINT, "删除地图NPC时建立临时文件失败!NPC未删除!");
            continue;
        }
        // A file that cannot be read, or no record with the key: nothing to report for the row.
        if (!result.ok()) continue;
        if (!removed.block.HasScript()) m_host.SetItemText(IDC_HINT, "删除NPC完成!");
        m_host.SetItemText(IDC_HINT, "删除NPC[" + GbkToUtf8(removed.block.Name()) + "]成功!");
        ++removedCount;
    }
    m_host.SetItemText(IDC_FRAME, "选择删除[" + std::to_string(selectedCount) + "]条,实际完成[" +
                                      std::to_string(removedCount) + "]条!");
}

}  // namespace morvi
