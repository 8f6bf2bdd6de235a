#include "dialog/MemoryHost.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "dialog/CPlacementDlg.h"
#include "dialog/WindowTemplateTables.h"
#include "texts/ProgramTexts.h"

namespace morvi {
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

void MemoryList::Misuse(const char* what, int row) {
    if (m_host) m_host->RecordMisuse(std::string(what) + " " + std::to_string(row) + " of " +
                                     std::to_string(m_count) + " rows");
}

void MemoryList::RowsReset() {
    m_count = m_view ? m_view->Count() : 0;
    m_selected.clear();
    focusedRow = -1;
    topRow = 0;
}

void MemoryList::RowsInsertedAtTop(int count) {
    if (count < 0) return Misuse("RowsInsertedAtTop", count);
    m_count += count;
    for (int& row : m_selected) row += count;
    if (focusedRow >= 0) focusedRow += count;
}

void MemoryList::RowChanged(int row) {
    if (!Valid(row)) return Misuse("RowChanged", row);
    if (!m_host || !m_host->lean) changedRows.push_back(row);
}

void MemoryList::RowRemoved(int row) {
    if (!Valid(row)) return Misuse("RowRemoved", row);
    --m_count;
    const auto at = std::lower_bound(m_selected.begin(), m_selected.end(), row);
    auto later = at;
    if (later != m_selected.end() && *later == row) later = m_selected.erase(later);
    for (; later != m_selected.end(); ++later) --*later;
    if (focusedRow == row) focusedRow = -1;
    else if (focusedRow > row) --focusedRow;
}

void MemoryList::RowsRemoved(const std::vector<int>& rowsAscending) {
    for (int row : rowsAscending)
        if (!Valid(row)) return Misuse("RowsRemoved", row);
    // How many removed rows lie below `row` (a removed row itself gives -1).
    auto shift = [&](int row) {
        const auto below = std::lower_bound(rowsAscending.begin(), rowsAscending.end(), row);
        if (below != rowsAscending.end() && *below == row) return -1;
        return static_cast<int>(below - rowsAscending.begin());
    };
    std::vector<int> kept;
    for (int row : m_selected) {
        const int by = shift(row);
        if (by >= 0) kept.push_back(row - by);
    }
    m_selected = std::move(kept);
    if (focusedRow >= 0) {
        const int by = shift(focusedRow);
        focusedRow = by < 0 ? -1 : focusedRow - by;
    }
    m_count -= static_cast<int>(rowsAscending.size());
}

int MemoryList::NextSelectedRow(int after) const {
    const auto next = std::upper_bound(m_selected.begin(), m_selected.end(), after);
    return next == m_selected.end() ? -1 : *next;
}

void MemoryList::SelectRow(int row) {
    if (!Valid(row)) return Misuse("SelectRow", row);
    const auto at = std::lower_bound(m_selected.begin(), m_selected.end(), row);
    if (at == m_selected.end() || *at != row) m_selected.insert(at, row);
    focusedRow = row;
}

void MemoryList::ScrollRowToTop(int row) {
    if (!Valid(row)) return Misuse("ScrollRowToTop", row);
    topRow = row;
}

void MemoryList::RowsRearranged(const std::vector<int>& selected, int focused) {
    ++rearranged;
    m_count = m_view ? m_view->Count() : 0;
    m_selected.clear();
    for (int row : selected) {
        if (!Valid(row)) {
            Misuse("RowsRearranged selected", row);
            continue;
        }
        m_selected.push_back(row);
    }
    std::sort(m_selected.begin(), m_selected.end());
    m_selected.erase(std::unique(m_selected.begin(), m_selected.end()), m_selected.end());
    if (focused >= 0 && !Valid(focused)) Misuse("RowsRearranged focused", focused);
    focusedRow = Valid(focused) ? focused : -1;
    topRow = std::min(topRow, std::max(0, m_count - 1));
}

void MemoryList::SelectOnly(int row) {
    m_selected.clear();
    if (row >= 0) SelectRow(row);
}

bool MemoryList::IsSelected(int row) const {
    return std::binary_search(m_selected.begin(), m_selected.end(), row);
}

std::string MemoryList::CellText(int row, int column) const {
    return m_view ? m_view->CellText(row, column) : std::string();
}

RowTexts MemoryList::Cells(int row) const {
    return m_view && row >= 0 && row < m_view->Count() ? m_view->Texts(row) : RowTexts{};
}

// --- controls ------------------------------------------------------------------------------

MemoryHost::MemoryHost() { list.m_host = this; }

void MemoryHost::Attach(CPlacementDlg* dialog) {
    m_dialog = dialog;
    list.m_view = dialog ? &dialog->ListRows() : nullptr;
    list.RowsReset();
}

void MemoryHost::RecordMisuse(std::string what) { misuses.push_back(std::move(what)); }

std::string MemoryHost::ItemText(int id) const {
    auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
}

void MemoryHost::SetItemText(int id, const std::string& text) {
    texts[id] = text;
    if (lean) return;
    if (id == IDC_FRAME) frameCaptions.push_back(text);
    else if (id == IDC_HINT) hints.push_back(text);
}

void MemoryHost::SetText(int id, const std::string& text) { texts[id] = text; }

void MemoryHost::RebuildTexts() {
    ++textRebuilds;
    for (const DialogItem& item : MainWindowTemplate())
        if (item.id != 0 && item.text != kNoText) texts[item.id] = std::string(Text(item.text));
}

void MemoryHost::UpdateItemNow(int id) {
    if (!lean) ++updates[id];
}

void MemoryHost::FocusItem(int id) {
    if (focusedId == id) return;
    focusedId = id;
    if (!m_dialog) return;
    if (id == IDC_TEMPLATE_LIST) m_dialog->OnTemplateSetFocus();
    else if (id == IDC_PLACEMENT_LIST) m_dialog->OnListSetFocus();
    else if (id == IDC_GROUP) m_dialog->OnGroupSetFocus();
}

bool MemoryHost::IsItemChecked(int id) const {
    auto it = checked.find(id);
    return it != checked.end() && it->second;
}

int MemoryHost::ListBoxCount(int id) const {
    auto it = listBoxes.find(id);
    return it == listBoxes.end() ? 0 : static_cast<int>(it->second.size());
}

void MemoryHost::ListBoxAdd(int id, const std::string& text) { listBoxes[id].push_back(text); }

void MemoryHost::ListBoxDelete(int id, int index) {
    auto& items = listBoxes[id];
    if (index < 0 || index >= static_cast<int>(items.size()))
        return RecordMisuse("ListBoxDelete " + std::to_string(id) + " item " + std::to_string(index));
    items.erase(items.begin() + index);
    auto sel = listBoxSelection.find(id);
    if (sel == listBoxSelection.end()) return;
    if (sel->second == index) sel->second = -1;
    else if (sel->second > index) --sel->second;
}

std::string MemoryHost::ListBoxText(int id, int index) const {
    auto it = listBoxes.find(id);
    if (it == listBoxes.end() || index < 0 || index >= static_cast<int>(it->second.size())) return {};
    return it->second[static_cast<size_t>(index)];
}

int MemoryHost::ListBoxSelection(int id) const {
    auto it = listBoxSelection.find(id);
    if (it == listBoxSelection.end()) return -1;
    return it->second < ListBoxCount(id) ? it->second : -1;
}

int MemoryHost::ComboCount(int id) const {
    auto it = combos.find(id);
    return it == combos.end() ? 0 : static_cast<int>(it->second.size());
}

void MemoryHost::ComboInsert(int id, int index, const std::string& text) {
    auto& items = combos[id];
    if (index < 0 || index > static_cast<int>(items.size()))
        return RecordMisuse("ComboInsert " + std::to_string(id) + " at " + std::to_string(index));
    items.insert(items.begin() + index, text);
    auto sel = comboSelection.find(id);
    if (sel != comboSelection.end() && sel->second >= index) ++sel->second;
}

std::string MemoryHost::ComboItemText(int id, int index) const {
    auto it = combos.find(id);
    if (it == combos.end() || index < 0 || index >= static_cast<int>(it->second.size())) return {};
    return it->second[static_cast<size_t>(index)];
}

int MemoryHost::ComboSelection(int id) const {
    auto it = comboSelection.find(id);
    return it == comboSelection.end() ? -1 : it->second;
}

void MemoryHost::ComboSetSelection(int id, int index) {
    if (index < -1 || index >= ComboCount(id))
        return RecordMisuse("ComboSetSelection " + std::to_string(id) + " item " + std::to_string(index));
    comboSelection[id] = index;
}

void MemoryHost::SelectComboText(int id, const std::string& text) {
    int found = -1;
    for (int i = 0; i < ComboCount(id) && found < 0; ++i)
        if (ComboItemText(id, i) == text) found = i;
    comboSelection[id] = found;
}

int MemoryHost::FindComboText(int id, const std::string& text) const {
    const int count = ComboCount(id);
    for (int i = 0; i < count; ++i)
        if (ComboItemText(id, i) == text) return i;
    for (int i = 0; i < count; ++i)
        if (EqualNoCaseAscii(ComboItemText(id, i), text)) return i;
    return -1;
}

std::string MemoryHost::ComboText(int id) const { return ComboItemText(id, ComboSelection(id)); }

// --- modal boxes and the desktop -------------------------------------------------------------

MessageAnswer MemoryHost::ShowMessage(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon) {
    if (!lean) messages.push_back({text, caption, buttons, icon});
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : defaultQuestionAnswer;
}

std::optional<std::string> MemoryHost::BrowseForFolder(const std::string& title) {
    if (!lean) folderTitles.push_back(title);
    if (folderChoices.empty()) return std::nullopt;
    std::optional<std::string> choice = folderChoices.front();
    folderChoices.pop_front();
    return choice;
}

std::optional<std::string> MemoryHost::ChooseFileToOpen(const std::vector<FileFilter>& filters,
                                                        const std::string& defaultExtension) {
    if (!lean) {
        fileDialogFilters.push_back(filters);
        fileDialogExtensions.push_back(defaultExtension);
    }
    if (fileChoices.empty()) return std::nullopt;
    std::optional<std::string> choice = fileChoices.front();
    fileChoices.pop_front();
    return choice;
}

void MemoryHost::OpenInEditor(const std::string& path) {
    if (!lean) editorStarts.push_back(path);
}

void MemoryHost::EndDialog(int result) {
    ended = true;
    endResult = result;
}

uint32_t MemoryHost::TickCount() {
    if (tick) return *tick;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::string MemoryHost::CurrentDirectory() {
    if (currentDirectory) return *currentDirectory;
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return error ? std::string(".") : here.string();
}

}  // namespace morvi
