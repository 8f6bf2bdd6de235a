#include "cli/HeadlessHost.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "data/WidePath.h"
#include "dialog/CPlacementDlg.h"

namespace morvi::cli {
namespace {

unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool EqualNoCaseAscii(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

// --- list ----------------------------------------------------------------------------------

void HeadlessList::InsertTopRow(RowTexts row) { m_rows.push_front(Row{std::move(row), false}); }

std::string HeadlessList::CellText(int row, int column) const {
    if (!Valid(row) || column < 0 || column >= kPlacementColumnCount) return {};
    return m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
}

void HeadlessList::SetCellText(int row, int column, const std::string& text) {
    if (!Valid(row) || column < 0 || column >= kPlacementColumnCount) return;
    m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)] = text;
}

void HeadlessList::DeleteRow(int row) {
    if (Valid(row)) m_rows.erase(m_rows.begin() + row);
}

int HeadlessList::NextSelectedRow(int after) const {
    for (int i = after < 0 ? 0 : after + 1; i < RowCount(); ++i)
        if (m_rows[static_cast<size_t>(i)].selected) return i;
    return -1;
}

void HeadlessList::SelectRow(int row) {
    if (Valid(row)) m_rows[static_cast<size_t>(row)].selected = true;
}

void HeadlessList::SelectOnly(int row) {
    for (Row& r : m_rows) r.selected = false;
    SelectRow(row);
}

// --- controls ------------------------------------------------------------------------------

std::string HeadlessHost::ItemText(int id) const {
    auto it = m_texts.find(id);
    return it == m_texts.end() ? std::string() : it->second;
}

void HeadlessHost::SetItemText(int id, const std::string& text) {
    m_texts[id] = text;
    if (id == IDC_HINT) m_hints.push_back(text);
    if (id == IDC_FRAME && (m_frames.empty() || m_frames.back() != text)) m_frames.push_back(text);
}

void HeadlessHost::FocusItem(int id) {
    if (m_focusedId == id) return;
    m_focusedId = id;
    if (!m_dialog) return;
    if (id == IDC_TEMPLATE_LIST) m_dialog->OnTemplateSetFocus();
    else if (id == IDC_PLACEMENT_LIST) m_dialog->OnListSetFocus();
    else if (id == IDC_GROUP) m_dialog->OnGroupSetFocus();
}

bool HeadlessHost::IsItemChecked(int id) const {
    auto it = m_checked.find(id);
    return it != m_checked.end() && it->second;
}

int HeadlessHost::ListBoxCount(int id) const {
    auto it = m_listBoxes.find(id);
    return it == m_listBoxes.end() ? 0 : static_cast<int>(it->second.size());
}

void HeadlessHost::ListBoxAdd(int id, const std::string& text) { m_listBoxes[id].push_back(text); }

void HeadlessHost::ListBoxDelete(int id, int index) {
    auto& items = m_listBoxes[id];
    if (index < 0 || index >= static_cast<int>(items.size())) return;
    items.erase(items.begin() + index);
    auto sel = m_listBoxSelection.find(id);
    if (sel == m_listBoxSelection.end()) return;
    if (sel->second == index) sel->second = -1;
    else if (sel->second > index) --sel->second;
}

std::string HeadlessHost::ListBoxText(int id, int index) const {
    auto it = m_listBoxes.find(id);
    if (it == m_listBoxes.end() || index < 0 || index >= static_cast<int>(it->second.size())) return {};
    return it->second[static_cast<size_t>(index)];
}

int HeadlessHost::ListBoxSelection(int id) const {
    auto it = m_listBoxSelection.find(id);
    if (it == m_listBoxSelection.end() || it->second >= ListBoxCount(id)) return -1;
    return it->second;
}

int HeadlessHost::ComboCount(int id) const {
    auto it = m_combos.find(id);
    return it == m_combos.end() ? 0 : static_cast<int>(it->second.size());
}

void HeadlessHost::ComboInsert(int id, int index, const std::string& text) {
    auto& items = m_combos[id];
    if (index < 0 || index > static_cast<int>(items.size())) index = static_cast<int>(items.size());
    items.insert(items.begin() + index, text);
    auto sel = m_comboSelection.find(id);
    if (sel != m_comboSelection.end() && sel->second >= index) ++sel->second;
}

std::string HeadlessHost::ComboItemText(int id, int index) const {
    auto it = m_combos.find(id);
    if (it == m_combos.end() || index < 0 || index >= static_cast<int>(it->second.size())) return {};
    return it->second[static_cast<size_t>(index)];
}

int HeadlessHost::ComboSelection(int id) const {
    auto it = m_comboSelection.find(id);
    return it == m_comboSelection.end() ? -1 : it->second;
}

void HeadlessHost::ComboSetSelection(int id, int index) {
    m_comboSelection[id] = index >= 0 && index < ComboCount(id) ? index : -1;
}

int HeadlessHost::FindComboText(int id, const std::string& text) const {
    for (int i = 0; i < ComboCount(id); ++i)
        if (ComboItemText(id, i) == text) return i;
    for (int i = 0; i < ComboCount(id); ++i)
        if (EqualNoCaseAscii(ComboItemText(id, i), text)) return i;
    return -1;
}

// --- boxes and the system ------------------------------------------------------------------

MessageAnswer HeadlessHost::ShowMessage(const std::string& text, const std::string& caption,
                                        MessageButtons buttons, MessageIcon) {
    m_messages.push_back({text, caption});
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : questionAnswer;
}

uint32_t HeadlessHost::TickCount() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string HeadlessHost::CurrentDirectory() {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::current_path(ec);
    return ec ? std::string(".") : PathUtf8(dir);
}

}  // namespace morvi::cli
