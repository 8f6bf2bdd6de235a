#include "win32/WindowLanguage.h"

#include "dialog/LanguageChoices.h"
#include "win32/WideText.h"

namespace morvi::win32 {
namespace {

bool ShowsText(ControlKind kind) {
    switch (kind) {
    case ControlKind::GroupBox:
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::DefaultButton:
    case ControlKind::CheckBox: return true;
    default: return false;
    }
}

}  // namespace

std::vector<HWND> TemplateControls(HWND dialog, std::span<const DialogItem> table) {
    std::vector<HWND> controls;
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const DialogItem& item : table) {
        if (!child) return {};
        // Static controls of the template have the id -1.
        const int id = GetDlgCtrlID(child);
        if (item.id != 0 ? id != item.id : (id != -1 && id != 0xFFFF)) return {};
        controls.push_back(child);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    return controls;
}

void ApplyTemplateTexts(std::span<const DialogItem> table, const std::vector<HWND>& controls, int keep) {
    if (controls.size() != table.size()) return;
    for (size_t i = 0; i < table.size(); ++i) {
        const DialogItem& item = table[i];
        if (!ShowsText(item.kind) || item.text == kNoText || (keep != 0 && item.id == keep)) continue;
        SetWindowTextW(controls[i], Widen(Text(item.text)).c_str());
    }
}

HMENU CreateLanguageMenu(UINT firstCommand, UINT step) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    UINT command = firstCommand;
    for (const LanguageChoice& choice : kLanguageChoices) {
        const UINT checked = choice.language == CurrentLanguage() ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(menu, MF_STRING | checked, command, Widen(Text(choice.name)).c_str());
        command += step;
    }
    return menu;
}

int LanguageChoiceOfCommand(UINT command, UINT firstCommand, UINT step) {
    for (size_t i = 0; i < std::size(kLanguageChoices); ++i)
        if (command == firstCommand + static_cast<UINT>(i) * step) return static_cast<int>(i);
    return -1;
}

}  // namespace morvi::win32
