#pragma once
// A window-less stand-in for the Qt front end: controls are plain containers, modal boxes and
// dialogs are answered from queues the test fills, and every message, caption and editor start
// is recorded for the test to inspect.

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialog/DialogHost.h"

namespace morvi {
class CPlacementDlg;
}

namespace morvi::test {

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons;
    MessageIcon icon;
};

class FakeList : public PlacementListHost {
public:
    struct Row {
        RowTexts cells;
        bool selected = false;
    };

    int RowCount() const override { return static_cast<int>(rows.size()); }
    void InsertTopRow(RowTexts row) override;
    std::string CellText(int row, int column) const override;
    void SetCellText(int row, int column, const std::string& text) override;
    void DeleteRow(int row) override;
    void DeleteAllRows() override;
    int NextSelectedRow(int after) const override;
    void SelectRow(int row) override;
    void ScrollRowToTop(int row) override { topRow = row; }
    void RepaintNow() override { ++repaints; }

    // What a user's click does: select exactly this row.
    void ClickOnly(int row);
    void ClearSelection();
    std::vector<int> SelectedRows() const;

    std::vector<Row> rows;   // rows[0] is the top row
    int focusedRow = -1;
    int topRow = 0;
    int repaints = 0;
};

class FakeHost : public DialogHost {
public:
    void Attach(CPlacementDlg* dialog) { m_dialog = dialog; }

    std::string ItemText(int id) const override;
    void SetItemText(int id, const std::string& text) override;
    void UpdateItemNow(int id) override { ++updates[id]; }
    void FocusItem(int id) override;
    bool IsItemChecked(int id) const override;

    int ListBoxCount(int id) const override;
    void ListBoxAdd(int id, const std::string& text) override;
    void ListBoxDelete(int id, int index) override;
    std::string ListBoxText(int id, int index) const override;
    int ListBoxSelection(int id) const override;

    int ComboCount(int id) const override;
    void ComboInsert(int id, int index, const std::string& text) override;
    std::string ComboItemText(int id, int index) const override;
    int ComboSelection(int id) const override;
    void ComboSetSelection(int id, int index) override;

    PlacementListHost& Placements() override { return list; }

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    std::optional<std::string> BrowseForFolder(const std::string& title) override;
    std::optional<std::string> ChooseFileToOpen(const std::vector<FileFilter>& filters,
                                                const std::string& defaultExtension) override;
    void OpenInEditor(const std::string& path) override { editorStarts.push_back(path); }
    void ShowAboutBox() override { ++aboutBoxes; }
    void EndDialog(int result) override { ended = true, endResult = result; }
    uint32_t TickCount() override { return tick; }
    std::string CurrentDirectory() override { return currentDirectory; }

    // --- what a user does ---
    void SetText(int id, const std::string& text) { texts[id] = text; }
    void SetChecked(int id, bool on) { checked[id] = on; }
    void SelectListBox(int id, int index) { listBoxSelection[id] = index; }
    // Selects the combo item with exactly this text (-1 when none has it).
    void SelectComboText(int id, const std::string& text);
    std::string ComboText(int id) const;   // text of the selected item, "" when none

    // --- answers for modal boxes (default when empty: OK for OK boxes, No for questions) ---
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::string>> folderChoices;   // empty queue: cancelled
    std::deque<std::optional<std::string>> fileChoices;     // empty queue: cancelled

    // --- what the dialog did ---
    std::vector<ShownMessage> messages;
    std::vector<std::string> folderTitles;
    std::vector<std::vector<FileFilter>> fileDialogFilters;
    std::vector<std::string> fileDialogExtensions;
    std::vector<std::string> editorStarts;
    std::vector<std::string> frameCaptions;   // every text set on 1017, in order
    std::map<int, int> updates;
    int aboutBoxes = 0;
    bool ended = false;
    int endResult = 0;
    int focusedId = 0;

    uint32_t tick = 1234;
    std::string currentDirectory;

    std::map<int, std::string> texts;
    std::map<int, bool> checked;
    std::map<int, std::vector<std::string>> listBoxes;
    std::map<int, int> listBoxSelection;
    std::map<int, std::vector<std::string>> combos;
    std::map<int, int> comboSelection;
    FakeList list;

private:
    CPlacementDlg* m_dialog = nullptr;
};

}  // namespace morvi::test
