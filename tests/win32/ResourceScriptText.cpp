#include "ResourceScriptText.h"

#include <span>
#include <string_view>

#include "dialog/WindowTemplateTables.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

// A string literal of the resource compiler: quotes doubled, line breaks as \n.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += "\"\"";
        else if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out + "\"";
}

std::string Rect(const DialogItem& item) {
    return std::to_string(item.x) + ", " + std::to_string(item.y) + ", " + std::to_string(item.cx) + ", " +
           std::to_string(item.cy);
}

std::string Id(const DialogItem& item) {
    if (item.kind == ControlKind::DefaultButton && item.id == kAboutOkId) return "IDOK";
    return item.id ? std::to_string(item.id) : "IDC_STATIC";
}

// One control statement; the styles each kind needs beyond the statement's defaults.
std::string Control(const DialogItem& item) {
    const std::string id = Id(item), rect = Rect(item), text = Quoted(Text(item.text));
    switch (item.kind) {
    case ControlKind::GroupBox:
        return "GROUPBOX " + text + ", " + id + ", " + rect;
    case ControlKind::Label: {
        std::string s = "LTEXT " + text + ", " + id + ", " + rect;
        if (item.styles & style::kNoPrefix) s += ", SS_NOPREFIX";
        return s;
    }
    case ControlKind::Button:
        return "PUSHBUTTON " + text + ", " + id + ", " + rect;
    case ControlKind::DefaultButton:
        return "DEFPUSHBUTTON " + text + ", " + id + ", " + rect + ", WS_GROUP";
    case ControlKind::CheckBox:
        return "AUTOCHECKBOX " + text + ", " + id + ", " + rect;
    case ControlKind::ListBox:
        // Unsorted (an entry's index is its insertion order), notifying, no integral height.
        return "LISTBOX " + id + ", " + rect + ", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP";
    case ControlKind::ReportList:
        // Owner data: the rows live in the window logic's row store, the control only shows them.
        return "CONTROL \"\", " + id + ", \"SysListView32\", LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | "
               "WS_BORDER | WS_TABSTOP, " + rect;
    case ControlKind::Edit: {
        std::string s = "EDITTEXT " + id + ", " + rect + ", ES_AUTOHSCROLL";
        if (item.styles & style::kDigits) s += " | ES_NUMBER";
        if (item.styles & style::kRight) s += " | ES_RIGHT";
        return s;
    }
    case ControlKind::DropList:
        return "COMBOBOX " + id + ", " + rect + ", CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP";
    case ControlKind::Icon:
        return "ICON " + std::to_string(kIconResourceId) + ", " + id + ", " + rect;
    }
    return {};
}

void Dialog(std::string& out, int resourceId, int width, int height, std::string_view styles,
            std::string_view exStyles, std::string_view caption, std::span<const DialogItem> items) {
    out += std::to_string(resourceId) + " DIALOGEX 0, 0, " + std::to_string(width) + ", " + std::to_string(height) + "\n";
    out += "STYLE " + std::string(styles) + "\n";
    if (!exStyles.empty()) out += "EXSTYLE " + std::string(exStyles) + "\n";
    out += "CAPTION " + Quoted(caption) + "\n";
    out += "FONT " + std::to_string(kDialogFontPoints) + ", " + Quoted(kDialogFontFace) + ", 0, 0, 0x1\n";
    out += "BEGIN\n";
    for (const DialogItem& item : items) out += "    " + Control(item) + "\n";
    out += "END\n\n";
}

}  // namespace

std::string ResourceScriptText() {
    std::string out;
    out += "// Resources of MorviNpc.exe. Generated from the window tables of\n"
           "// src/dialog/WindowTemplateTables.cpp: a test fails when the two differ, and\n"
           "// MORVI_UPDATE_RC=1 tests/win32's resource test writes this file anew.\n"
           "#pragma code_page(65001)\n"
           "#include <windows.h>\n"
           "#include <commctrl.h>\n"
           "#ifndef IDC_STATIC\n"
           "#define IDC_STATIC (-1)\n"
           "#endif\n\n"
           "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\n\n";
    out += std::to_string(kIconResourceId) + " ICON \"MorviNpc.ico\"\n";
    out += std::to_string(kCursorResourceId) + " CURSOR \"cursor133.cur\"\n";
    out += "1 24 \"MorviNpc.manifest\"   // the application manifest: common controls 6\n\n";
    Dialog(out, kAboutTemplateId, kAboutWidthDu, kAboutHeightDu,
           "DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU", "", Text(TextId::AboutCaption), AboutTemplate());
    Dialog(out, kMainTemplateId, kMainWidthDu, kMainHeightDu,
           "DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX",
           "WS_EX_APPWINDOW", Text(TextId::MainWindowTitle), MainWindowTemplate());
    out += "STRINGTABLE\nBEGIN\n    " + std::to_string(kAboutMenuStringId) + ", " + Quoted(Text(TextId::AboutMenuEntry).data()) + "\nEND\n\n";
    out += "VS_VERSION_INFO VERSIONINFO\n"
           "FILEVERSION 1, 0, 0, 0\n"
           "PRODUCTVERSION 1, 0, 0, 0\n"
           "FILEOS VOS_NT_WINDOWS32\n"
           "FILETYPE VFT_APP\n"
           "BEGIN\n"
           "    BLOCK \"StringFileInfo\"\n"
           "    BEGIN\n"
           "        BLOCK \"000004b0\"\n"
           "        BEGIN\n"
           "            VALUE \"FileDescription\", " + Quoted(Text(TextId::AboutPurposeLine)) + "\n"
           "            VALUE \"FileVersion\", \"1.0\"\n"
           "            VALUE \"ProductName\", \"MorviNpc\"\n"
           "            VALUE \"ProductVersion\", \"1.0\"\n"
           "            VALUE \"OriginalFilename\", \"MorviNpc.exe\"\n"
           "        END\n"
           "    END\n"
           "    BLOCK \"VarFileInfo\"\n"
           "    BEGIN\n"
           "        VALUE \"Translation\", 0x0000, 0x04b0\n"
           "    END\n"
           "END\n";
    return out;
}

}  // namespace morvi
