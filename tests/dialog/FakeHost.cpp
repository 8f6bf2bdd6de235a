#include "FakeHost.h"

#include <stdexcept>

#include "dialog/CPlacementDlg.h"

namespace morvi::test {

// --- list ----------------------------------------------------------------------------------

void FakeList::InsertTopRow(RowTexts row) {
    rows.insert(rows.begin(), Row{std::move(row), false});
    if (focusedRow >= 0) ++focusedRow;
}

std::string FakeList::CellText(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kPlacementColumnCount) return {};
    return rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
}

void FakeList::SetCellText(int row, int column, const std::string& text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kPlacementColumnCount)
        throw std::out_of_range("SetCellText outside the list");
    rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)] = text;
}

void FakeList::DeleteRow(int row) {
    if (row < 0 || row >= RowCount()) throw std::out_of_range("DeleteRow outside the list");
    rows.erase(rows.begin() + row);
    if (focusedRow == row) focusedRow = -1;
    else if (focusedRow > row) --focusedRow;
}

void FakeList::DeleteAllRows() {
    rows.clear();
    focusedRow = -1;
    topRow = 0;
}

int FakeList::NextSelectedRow(int after) const {
    for (int i = after + 1; i < RowCount(); ++i)
        if (i >= 0 && rows[static_cast<size_t>(i)].selected) return i;
    return -1;
}

void FakeList::SelectRow(int row) {
    if (row < 0 || row >= RowCount()) throw std::out_of_range("SelectRow outside the list");
    rows[static_cast<size_t>(row)].selected = true;
    focusedRow = row;
}

void FakeList::ClickOnly(int row) {
    ClearSelection();
    SelectRow(row);
}

void FakeList::ClearSelection() {
    for (Row& r : rows) r.selected = false;
}

std::vector<int> FakeList::SelectedRows() const {
    std::vector<int> out;
    for (int i = 0; i < RowCount(); ++i)
        if (rows[static_cast<size_t>(i)].selected) out.push_back(i);
    return out;
}

// --- controls ------------------------------------------------------------------------------

std::string FakeHost::ItemText(int id) const {
    auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
}

void FakeHost::SetItemText(int id, const std::string& text) {
    texts[id] = text;
    if (id == IDC_FRAME) frameCaptions.push_back(text);
}

void FakeHost::FocusItem(int id) {
    if (focusedId == id) return;
    focusedId = id;
    if (!m_dialog) return;
    if (id == IDC_TEMPLATE_LIST) m_dialog->OnTemplateSetFocus();
    else if (id == IDC_PLACEMENT_LIST) m_dialog->OnListSetFocus();
    else if (id == IDC_GROUP) m_dialog->OnGroupSetFocus();
}

bool FakeHost::IsItemChecked(int id) const {
    auto it = checked.find(id);
    return it != checked.end() && it->second;
}

int FakeHost::ListBoxCount(int id) const {
    auto it = listBoxes.find(id);
    return it == listBoxes.end() ? 0 : static_cast<int>(it->second.size());
}

void FakeHost::ListBoxAdd(int id, const std::string& text) { listBoxes[id].push_back(text); }

void FakeHost::ListBoxDelete(int id, int index) {
    auto& items = listBoxes[id];
    if (index < 0 || index >= static_cast<int>(items.size())) throw std::out_of_range("ListBoxDelete");
    items.erase(items.begin() + index);
    int& sel = listBoxSelection[id];
    if (sel == index) sel = -1;
    else if (sel > index) --sel;
}

std::string FakeHost::ListBoxText(int id, int index) const {
    auto it = listBoxes.find(id);
    if (it == listBoxes.end() || index < 0 || index >= static_cast<int>(it->second.size())) return {};
    return it->second[static_cast<size_t>(index)];
}

int FakeHost::ListBoxSelection(int id) const {
    auto it = listBoxSelection.find(id);
    if (it == listBoxSelection.end()) return -1;
    return it->second < ListBoxCount(id) ? it->second : -1;
}

int FakeHost::ComboCount(int id) const {
    auto it = combos.find(id);
    return it == combos.end() ? 0 : static_cast<int>(it->second.size());
}

void FakeHost::ComboInsert(int id, int index, const std::string& text) {
    auto& items = combos[id];
    if (index < 0 || index > static_cast<int>(items.size())) throw std::out_of_range("ComboInsert");
    items.insert(items.begin() + index, text);
    auto sel = comboSelection.find(id);
    if (sel != comboSelection.end() && sel->second >= index) ++sel->second;
}

std::string FakeHost::ComboItemText(int id, int index) const {
    auto it = combos.find(id);
    if (it == combos.end() || index < 0 || index >= static_cast<int>(it->second.size())) return {};
    return it->second[static_cast<size_t>(index)];
}

int FakeHost::ComboSelection(int id) const {
    auto it = comboSelection.find(id);
    return it == comboSelection.end() ? -1 : it->second;
}

void FakeHost::ComboSetSelection(int id, int index) {
    if (index < -1 || index >= ComboCount(id)) throw std::out_of_range("ComboSetSelection");
    comboSelection[id] = index;
}

void FakeHost::SelectComboText(int id, const std::string& text) {
    int found = -1;
    for (int i = 0; i < ComboCount(id); ++i)
        if (ComboItemText(id, i) == text) found = i;
    comboSelection[id] = found;
}

std::string FakeHost::ComboText(int id) const { return ComboItemText(id, ComboSelection(id)); }

// --- modal boxes ---------------------------------------------------------------------------

MessageAnswer FakeHost::ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon) {
    messages.push_back({text, caption, buttons, icon});
    if (!answers.empty()) {
        MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

std::optional<std::string> FakeHost::BrowseForFolder(const std::string& title) {
    folderTitles.push_back(title);
    if (folderChoices.empty()) return std::nullopt;
    auto choice = folderChoices.front();
    folderChoices.pop_front();
    return choice;
}

std::optional<std::string> FakeHost::ChooseFileToOpen(const std::vector<FileFilter>& filters,
                                                      const std::string& defaultExtension) {
    fileDialogFilters.push_back(filters);
    fileDialogExtensions.push_back(defaultExtension);
    if (fileChoices.empty()) return std::nullopt;
    auto choice = fileChoices.front();
    fileChoices.pop_front();
    return choice;
}

}  // namespace morvi::test
