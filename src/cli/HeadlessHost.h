#pragma once
// The main window's logic without a window: controls are plain containers, questions are
// answered by the command that runs (the delete confirmation with yes when the user asked for
// the deletion), the folder and file choosers are never shown, and the hint line and the frame
// caption are kept so the command can print them.

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialog/DialogHost.h"

namespace morvi {
class CPlacementDlg;
}

namespace morvi::cli {

// The placement list as a double-ended queue: rows are inserted at the top one by one while a
// map loads, so a vector would make loading a large map quadratic.
class HeadlessList : public PlacementListHost {
public:
    struct Row {
        RowTexts cells;
        bool selected = false;
    };

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    void InsertTopRow(RowTexts row) override;
    std::string CellText(int row, int column) const override;
    void SetCellText(int row, int column, const std::string& text) override;
    void DeleteRow(int row) override;
    void DeleteAllRows() override { m_rows.clear(); }
    int NextSelectedRow(int after) const override;
    void SelectRow(int row) override;
    void ScrollRowToTop(int) override {}
    void RepaintNow() override {}

    // Selects exactly this row, as a single click does.
    void SelectOnly(int row);
    const RowTexts& Cells(int row) const { return m_rows.at(static_cast<size_t>(row)).cells; }

private:
    bool Valid(int row) const { return row >= 0 && row < RowCount(); }
    std::deque<Row> m_rows;   // front is the top row
};

struct HostMessage {
    std::string text;
    std::string caption;
};

class HeadlessHost : public DialogHost {
public:
    // Focus notifications go to the dialog as a real window sends them.
    void Attach(CPlacementDlg* dialog) { m_dialog = dialog; }

    std::string ItemText(int id) const override;
    void SetItemText(int id, const std::string& text) override;
    void UpdateItemNow(int) override {}
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

    PlacementListHost& Placements() override { return m_list; }

    // Questions get `questionAnswer`; boxes with only OK get OK. Every box is recorded.
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons, MessageIcon icon) override;
    // Never shown: a command takes its directories and files from its arguments.
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseFileToOpen(const std::vector<FileFilter>&,
                                                const std::string&) override {
        return std::nullopt;
    }
    void OpenInEditor(const std::string&) override {}
    void ShowAboutBox() override {}
    void EndDialog(int) override {}
    uint32_t TickCount() override;
    std::string CurrentDirectory() override;

    // --- what the command does in place of a user ---
    void SetText(int id, const std::string& text) { m_texts[id] = text; }
    void SetChecked(int id, bool on) { m_checked[id] = on; }
    void SelectListBox(int id, int index) { m_listBoxSelection[id] = index; }
    // Index of the combo item with this text: exact, else equal without regard to ASCII case;
    // -1 when none.
    int FindComboText(int id, const std::string& text) const;
    HeadlessList& List() { return m_list; }
    const HeadlessList& List() const { return m_list; }

    MessageAnswer questionAnswer = MessageAnswer::No;

    // --- what the dialog reported ---
    std::string Hint() const { return ItemText(IDC_HINT); }
    const std::vector<std::string>& HintHistory() const { return m_hints; }
    // Frame captions in order; a caption equal to the one before is recorded once.
    const std::vector<std::string>& FrameHistory() const { return m_frames; }
    const std::vector<HostMessage>& Messages() const { return m_messages; }

private:
    CPlacementDlg* m_dialog = nullptr;
    int m_focusedId = 0;
    std::map<int, std::string> m_texts;
    std::map<int, bool> m_checked;
    std::map<int, std::vector<std::string>> m_listBoxes;
    std::map<int, int> m_listBoxSelection;
    std::map<int, std::vector<std::string>> m_combos;
    std::map<int, int> m_comboSelection;
    std::vector<std::string> m_hints;
    std::vector<std::string> m_frames;
    std::vector<HostMessage> m_messages;
    HeadlessList m_list;
};

}  // namespace morvi::cli
