#pragma once
// The window templates as tables, shared by every front end: the main window (template 102) and
// the About box (template 100). Each control has its id, kind, text (an id of the program's
// text table), rectangle in dialog units and styles. The Qt window places widgets from these
// tables; the Windows resource script is generated from the same tables, so both windows hold
// the same controls at the same places.
// One dialog unit is a quarter of the dialog font's average character width horizontally and
// an eighth of its height vertically.

#include <span>

#include "texts/ProgramTexts.h"

namespace morvi {

enum class ControlKind {
    GroupBox,
    Label,          // static text
    Button,
    DefaultButton,
    CheckBox,       // automatic check box
    ListBox,        // single-selection list box, unsorted, notifying
    ReportList,     // the placement list (report view, multiple selection)
    Edit,
    DropList,       // drop-down list combo box, sorted
    Icon,           // static icon showing the program icon
};

namespace style {
inline constexpr unsigned kNone = 0;
inline constexpr unsigned kDigits = 1u << 0;      // edit accepts digits only
inline constexpr unsigned kRight = 1u << 1;       // edit text right-aligned
inline constexpr unsigned kWrap = 1u << 2;        // static text wraps at word breaks
inline constexpr unsigned kFitLeft = 1u << 3;     // static text that does not fit grows to the left
inline constexpr unsigned kNoPrefix = 1u << 4;    // static text shows '&' as it is
}  // namespace style

// The text of a control that shows none (lists, edits, the icon): Text(kNoText) is empty.
inline constexpr TextId kNoText = TextId::Count;

struct DialogItem {
    int id;               // 0: no id (labels, frames)
    ControlKind kind;
    TextId text;          // kNoText: none
    int x, y, cx, cy;     // dialog units
    unsigned styles;
};

// The dialog font of both templates.
inline constexpr const char* kDialogFontFace = "MS Shell Dlg";
inline constexpr int kDialogFontPoints = 9;

// Template 102, the main window.
inline constexpr int kMainTemplateId = 102;
inline constexpr int kMainWidthDu = 479;
inline constexpr int kMainHeightDu = 324;
std::span<const DialogItem> MainWindowTemplate();

// Template 100, the About box.
inline constexpr int kAboutTemplateId = 100;
inline constexpr int kAboutWidthDu = 235;
inline constexpr int kAboutHeightDu = 55;
inline constexpr int kAboutOkId = 1;   // the OK command of a dialog
std::span<const DialogItem> AboutTemplate();

// Columns of the placement list (control 1013): heading and width in pixels, all left-aligned.
// Columns 10 and 11 have no width and no heading: they carry the region file and the template
// number.
struct ListColumn {
    TextId heading;       // kNoText: none
    int width;
};
std::span<const ListColumn> PlacementListColumns();
// Extended styles of the placement list: grid lines, full-row selection, one-click activation.
inline constexpr unsigned kPlacementListExStyles = 0x61;

// The other resources: icon 128, cursor 133 (hot spot 15, 1) and string 101.
inline constexpr int kIconResourceId = 128;
inline constexpr int kCursorResourceId = 133;
inline constexpr int kCursorHotSpotX = 15;
inline constexpr int kCursorHotSpotY = 1;
inline constexpr int kAboutMenuStringId = 101;
// The About entry of the system menu (and of the context menu elsewhere) is the text
// TextId::AboutMenuEntry of the program's text table.

// The captions of the two windows are TextId::MainWindowTitle and TextId::AboutCaption.
// The project's address, the target and text of the main window's link (an address, the same in
// every language).
inline constexpr const char* kProjectAddress = "https://morvinpc.example.org";

// The link label of the main window: created at run time, in pixels, not in the template.
inline constexpr const char* kLinkFace = "Microsoft Sans Serif";
inline constexpr int kLinkFontHeight = 15;
inline constexpr int kLinkX = 125;
inline constexpr int kLinkY = 550;
inline constexpr int kLinkWidth = 150;
inline constexpr int kLinkHeight = 20;

}  // namespace morvi
