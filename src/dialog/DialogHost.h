#pragma once
// What the main window's logic needs from the window system and the desktop. The Qt front end
// implements it with real widgets; MemoryHost (MemoryHost.h) keeps everything in memory for
// the command line, the benchmark and the tests. All texts are UTF-8.
// Notifications go the other way: the host calls CPlacementDlg's On... handlers.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/ControlIds.h"

namespace morvi {

enum class MessageIcon { Information, Exclamation, Question, Stop };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// A message box as a host showed it (recorded by test seams and the in-memory host).
struct ShownMessage {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Information;
};

struct FileFilter {
    std::string label;     // "脚本配置文件(*.lua)"
    std::string pattern;   // "*.lua"
};

// The report list of placements (control 1013), a view of the dialog's rows as the list shows
// them (CPlacementDlg::ListRows(): the store's rows, sorted and narrowed): the store holds the
// rows, the host only shows them and keeps the selection, focus and scroll position. Row 0 is
// the top row; rows here are list rows, never store rows. The dialog changes the store first
// and then tells the host what changed.
class PlacementListHost {
public:
    virtual ~PlacementListHost() = default;
    // The store was emptied or reloaded: forget every row; nothing is selected.
    virtual void RowsReset() = 0;
    // Rows [0, count) are new; the rows the host knew move down by `count`, their selection
    // with them.
    virtual void RowsInsertedAtTop(int count) = 0;
    // That row's cells changed and must repaint.
    virtual void RowChanged(int row) = 0;
    // That row is gone; later rows move up by one, their selection with them.
    virtual void RowRemoved(int row) = 0;
    // These rows are gone (ascending, each once; indices as they were before); the rows left
    // close up, their selection with them. By default one RowRemoved after another, bottom
    // row first; a host that can close up a list in one pass says so here.
    virtual void RowsRemoved(const std::vector<int>& rowsAscending) {
        for (auto it = rowsAscending.rbegin(); it != rowsAscending.rend(); ++it) RowRemoved(*it);
    }
    // First selected row with an index greater than `after` (-1 searches from the top); -1 if none.
    virtual int NextSelectedRow(int after) const = 0;
    // Adds the row to the selection and makes it the focused item; other rows stay selected.
    virtual void SelectRow(int row) = 0;
    // Scrolls fully left and makes the row the top visible row (as far as the list allows).
    virtual void ScrollRowToTop(int row) = 0;
    // Repaints the list at once.
    virtual void RepaintNow() = 0;
    // The rows shown were rearranged (sorted, narrowed, or many changed at once): the host
    // forgets the rows it knew and shows the view's rows; exactly `selected` (ascending) are
    // selected, `focused` has the focus mark (-1: none). The scroll position stays as far as
    // the list allows.
    virtual void RowsRearranged(const std::vector<int>& selected, int focused) = 0;
    // The row with the focus mark, -1 when none.
    virtual int FocusedRow() const = 0;
};

class DialogHost {
public:
    virtual ~DialogHost() = default;

    // Edits, statics, buttons and group boxes by id.
    virtual std::string ItemText(int id) const = 0;
    virtual void SetItemText(int id, const std::string& text) = 0;
    virtual void UpdateItemNow(int id) = 0;          // repaint that control at once
    // Gives the keyboard focus to a control; a control that gains the focus this way sends its
    // focus notification to the dialog, as a real window does.
    virtual void FocusItem(int id) = 0;
    virtual bool IsItemChecked(int id) const = 0;

    // Unsorted list boxes (1009, 1014).
    virtual int ListBoxCount(int id) const = 0;
    virtual void ListBoxAdd(int id, const std::string& text) = 0;
    virtual void ListBoxDelete(int id, int index) = 0;
    virtual std::string ListBoxText(int id, int index) const = 0;
    virtual int ListBoxSelection(int id) const = 0;  // -1 when none
    // Selects one item (-1: none) and brings it into view, without notifying the dialog.
    virtual void ListBoxSetSelection(int id, int index) = 0;

    // Drop-down combo boxes (1020, 1024, 1025). The dialog keeps them sorted itself.
    virtual int ComboCount(int id) const = 0;
    virtual void ComboInsert(int id, int index, const std::string& text) = 0;
    virtual std::string ComboItemText(int id, int index) const = 0;
    virtual int ComboSelection(int id) const = 0;    // -1 when none
    virtual void ComboSetSelection(int id, int index) = 0;   // -1 selects none

    virtual PlacementListHost& Placements() = 0;

    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon) = 0;
    // Folder browser; nullopt when cancelled or when the choice has no file-system path.
    virtual std::optional<std::string> BrowseForFolder(const std::string& title) = 0;
    // File-open dialog; the first filter is selected at the start; `defaultExtension` (".lua")
    // is appended to a typed name without one. nullopt when cancelled.
    virtual std::optional<std::string> ChooseFileToOpen(const std::vector<FileFilter>& filters,
                                                        const std::string& defaultExtension) = 0;
    // Starts the text editor on a path; failures are not reported.
    virtual void OpenInEditor(const std::string& path) = 0;
    virtual void ShowAboutBox() = 0;
    virtual void EndDialog(int result) = 0;

    // The language of the texts changed (CPlacementDlg::OnLanguageChosen): every text the host
    // put up from the text table itself (the template's labels and captions, the window title,
    // column headings, menus, tooltips, cue texts, the status strip, open views) is put up
    // again in the language Text() now speaks. The frame caption, the hint line and the server
    // status line the dialog sets again itself right afterwards.
    virtual void RebuildTexts() {}

    virtual uint32_t TickCount() = 0;                // milliseconds
    virtual std::string CurrentDirectory() = 0;
};

}  // namespace morvi
