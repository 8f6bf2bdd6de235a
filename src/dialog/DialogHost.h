#pragma once
// What the main window's logic needs from the window system and the desktop. The Qt front end
// implements it with real widgets; tests implement it with a fake. All texts are UTF-8.
// Notifications go the other way: the host calls CPlacementDlg's On... handlers.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/ControlIds.h"

namespace morvi {

using RowTexts = std::array<std::string, kPlacementColumnCount>;
// The same texts as views, valid only during the call they are passed to.
using RowViews = std::array<std::string_view, kPlacementColumnCount>;

enum class MessageIcon { Information, Exclamation, Question, Stop };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct FileFilter {
    std::string label;     // "脚本配置文件(*.lua)"
    std::string pattern;   // "*.lua"
};

// The report list of placements (control 1013). Row 0 is the top row.
class PlacementListHost {
public:
    virtual ~PlacementListHost() = default;
    virtual int RowCount() const = 0;
    virtual void InsertTopRow(RowTexts row) = 0;
    // The same from views: lets the loader hand over a row without building twelve strings.
    // A list that can store views directly overrides it; the default builds the strings.
    virtual void InsertTopRowViews(const RowViews& row) {
        RowTexts texts;
        for (size_t column = 0; column < texts.size(); ++column) texts[column] = std::string(row[column]);
        InsertTopRow(std::move(texts));
    }
    virtual std::string CellText(int row, int column) const = 0;
    virtual void SetCellText(int row, int column, const std::string& text) = 0;
    virtual void DeleteRow(int row) = 0;
    virtual void DeleteAllRows() = 0;
    // First selected row with an index greater than `after` (-1 searches from the top); -1 if none.
    virtual int NextSelectedRow(int after) const = 0;
    // Adds the row to the selection and makes it the focused item; other rows stay selected.
    virtual void SelectRow(int row) = 0;
    // Scrolls fully left and makes the row the top visible row (as far as the list allows).
    virtual void ScrollRowToTop(int row) = 0;
    // Repaints the list at once.
    virtual void RepaintNow() = 0;
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

    virtual uint32_t TickCount() = 0;                // milliseconds
    virtual std::string CurrentDirectory() = 0;
};

}  // namespace morvi
