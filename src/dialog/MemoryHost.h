#pragma once
// The one in-memory DialogHost: the command line, the benchmark and every test run the window
// logic on it. Controls are plain containers; message boxes are answered from a queue (then a
// configurable default), the folder and file choosers from their own queues (empty: cancelled);
// every message, hint, frame caption, chooser and editor start is recorded. A lean switch turns
// recording off, so that timing a load measures the window logic and not the host.
//
// A call the dialog should never make (a row, item or index outside its control) changes
// nothing and is recorded in `misuses`; the tests expect that list to stay empty.

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialog/DialogHost.h"
#include "dialog/PlacementRowView.h"
#include "document/PlacementRows.h"

namespace morvi {

class CPlacementDlg;

class MemoryHost;

// The placement list's selection, focus and scroll position over the dialog's rows as the list
// shows them (CPlacementDlg::ListRows()).
// Selection is kept as the sorted list of selected rows, so a load of any size costs nothing
// here.
class MemoryList : public PlacementListHost {
public:
    void RowsReset() override;
    void RowsInsertedAtTop(int count) override;
    void RowChanged(int row) override;
    void RowRemoved(int row) override;
    void RowsRemoved(const std::vector<int>& rowsAscending) override;
    int NextSelectedRow(int after) const override;
    void SelectRow(int row) override;
    void ScrollRowToTop(int row) override;
    void RepaintNow() override { ++repaints; }
    void RowsRearranged(const std::vector<int>& selected, int focused) override;
    int FocusedRow() const override { return focusedRow; }

    // --- what a user or a command does ---
    // Selects exactly this row, as a single click does (-1: clears the selection).
    void SelectOnly(int row);
    void ClickOnly(int row) { SelectOnly(row); }
    void ClearSelection() { m_selected.clear(); }

    // --- what it shows ---
    int RowCount() const { return m_count; }
    bool IsSelected(int row) const;
    std::vector<int> SelectedRows() const { return m_selected; }
    // Texts of list rows (empty without a dialog, or outside the list).
    std::string CellText(int row, int column) const;
    RowTexts Cells(int row) const;
    const PlacementRowView* View() const { return m_view; }

    int focusedRow = -1;
    int topRow = 0;
    int repaints = 0;
    int rearranged = 0;             // RowsRearranged calls
    std::vector<int> changedRows;   // rows RowChanged named, in order (not kept when lean)

private:
    friend class MemoryHost;
    bool Valid(int row) const { return row >= 0 && row < m_count; }
    void Misuse(const char* what, int row);

    MemoryHost* m_host = nullptr;
    const PlacementRowView* m_view = nullptr;
    int m_count = 0;
    std::vector<int> m_selected;    // ascending
};

class MemoryHost : public DialogHost {
public:
    MemoryHost();
    MemoryHost(const MemoryHost&) = delete;
    MemoryHost& operator=(const MemoryHost&) = delete;

    // Focus notifications go to the dialog as a real window sends them, and the list reads
    // the dialog's rows.
    void Attach(CPlacementDlg* dialog);

    std::string ItemText(int id) const override;
    void SetItemText(int id, const std::string& text) override;
    void UpdateItemNow(int id) override;
    void FocusItem(int id) override;
    bool IsItemChecked(int id) const override;

    int ListBoxCount(int id) const override;
    void ListBoxAdd(int id, const std::string& text) override;
    void ListBoxDelete(int id, int index) override;
    std::string ListBoxText(int id, int index) const override;
    int ListBoxSelection(int id) const override;
    void ListBoxSetSelection(int id, int index) override { listBoxSelection[id] = index; }

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
    void OpenInEditor(const std::string& path) override;
    void ShowAboutBox() override { ++aboutBoxes; }
    // Puts the template's texts (of the language chosen now) on the controls with an id, as a
    // window's host does.
    void RebuildTexts() override;
    void EndDialog(int result) override;
    uint32_t TickCount() override;
    std::string CurrentDirectory() override;

    // --- what a user (or a command) does ---
    void SetText(int id, const std::string& text);
    void SetChecked(int id, bool on) { checked[id] = on; }
    void SelectListBox(int id, int index) { listBoxSelection[id] = index; }
    // Selects the first combo item with exactly this text (none when no item has it).
    void SelectComboText(int id, const std::string& text);
    // Index of the combo item with this text: exact, else equal without regard to ASCII case;
    // -1 when none.
    int FindComboText(int id, const std::string& text) const;
    std::string ComboText(int id) const;   // text of the selected item, "" when none

    // --- answers ---
    std::deque<MessageAnswer> answers;                      // for any box, first come first used
    MessageAnswer defaultQuestionAnswer = MessageAnswer::No;  // a Yes/No box with no queued answer
    std::deque<std::optional<std::string>> folderChoices;   // empty queue: cancelled
    std::deque<std::optional<std::string>> fileChoices;     // empty queue: cancelled
    std::optional<uint32_t> tick;                 // nullopt: the real millisecond clock
    std::optional<std::string> currentDirectory;  // nullopt: the process's current directory

    // --- recording ---
    // Lean: nothing below is recorded (the controls still hold their texts).
    bool lean = false;

    std::string Hint() const { return ItemText(IDC_HINT); }
    std::string FrameCaption() const { return ItemText(IDC_FRAME); }
    std::vector<ShownMessage> messages;
    std::vector<std::string> hints;            // every text set on 1008, in order
    std::vector<std::string> frameCaptions;    // every text set on 1017, in order
    std::vector<std::string> folderTitles;
    std::vector<std::vector<FileFilter>> fileDialogFilters;
    std::vector<std::string> fileDialogExtensions;
    std::vector<std::string> editorStarts;
    std::map<int, int> updates;
    std::vector<std::string> misuses;          // calls outside a control's items (always kept)
    int aboutBoxes = 0;
    int textRebuilds = 0;
    bool ended = false;
    int endResult = 0;
    int focusedId = 0;

    // --- the controls (tests may set them directly) ---
    std::map<int, std::string> texts;
    std::map<int, bool> checked;
    std::map<int, std::vector<std::string>> listBoxes;
    std::map<int, int> listBoxSelection;
    std::map<int, std::vector<std::string>> combos;
    std::map<int, int> comboSelection;
    MemoryList list;

    void RecordMisuse(std::string what);

private:
    CPlacementDlg* m_dialog = nullptr;
};

}  // namespace morvi
