// The row context menu and the keyboard map of the Windows window. The window runs as a modal
// dialog box, whose own message loop translates no accelerators: a message-filter hook of the
// thread sees the keys before the dialog manager does and turns the mapped ones into commands.

#include <cstring>

#include <windowsx.h>

#include "dialog/KeyboardMap.h"
#include "dialog/RowClipboard.h"
#include "dialog/WindowTemplateTables.h"
#include "win32/PlacementWindow.h"
#include "win32/WideText.h"
#include "dialog/LanguageChoices.h"
#include "texts/ProgramTexts.h"
#include "win32/WindowLanguage.h"

namespace morvi::win32 {
namespace {

// One main window per thread: the window whose keys the hook translates.
thread_local PlacementWindow* t_keyWindow = nullptr;
thread_local HHOOK t_keyHook = nullptr;

LRESULT CALLBACK FilterDialogKeys(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && t_keyWindow && t_keyWindow->TakeKey(*reinterpret_cast<MSG*>(lParam)))
        return TRUE;
    return CallNextHookEx(t_keyHook, code, wParam, lParam);
}

// The key of a key-down message in the keyboard map's spelling ("Ctrl+D", "F3", "Del").
std::string KeyText(WPARAM key) {
    std::string text;
    if (GetKeyState(VK_CONTROL) < 0) text += "Ctrl+";
    if (GetKeyState(VK_SHIFT) < 0) text += "Shift+";
    if (GetKeyState(VK_MENU) < 0) text += "Alt+";
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        text += static_cast<char>(key);
    else if (key >= VK_F1 && key <= VK_F12)
        text += "F" + std::to_string(key - VK_F1 + 1);
    else if (key == VK_DELETE)
        text += "Del";
    else
        return {};
    return text;
}

std::wstring EntryText(const char* label, WindowCommand command) {
    return Widen(std::string(label) + "\t" + BindingOf(command)->keys);
}

}  // namespace

void PlacementWindow::InstallKeyboardMap() {
    t_keyWindow = this;
    if (!t_keyHook) t_keyHook = SetWindowsHookExW(WH_MSGFILTER, &FilterDialogKeys, nullptr, GetCurrentThreadId());
}

void PlacementWindow::RemoveKeyboardMap() {
    if (t_keyWindow != this) return;
    t_keyWindow = nullptr;
    if (t_keyHook) UnhookWindowsHookEx(t_keyHook);
    t_keyHook = nullptr;
}

bool PlacementWindow::TakeKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    // Only keys of this window: a message box on top of it keeps its own.
    if (!m_hwnd || (msg.hwnd != m_hwnd && !IsChild(m_hwnd, msg.hwnd))) return false;
    const std::string keys = KeyText(msg.wParam);
    if (keys == "Ctrl+Shift+M") {
        PostMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(kMenuProblems, 1), 0);
        return true;
    }
    if (keys == "Ctrl+E") {
        // The bulk edit of the selected rows, as the row menu's entry.
        PostMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(kMenuBulkEdit, 1), 0);
        return true;
    }
    const KeyBinding* binding = BindingOfKeys(keys);
    if (!binding) return false;
    // Delete in an edit field deletes a character; only in the list does it mean "Xoa".
    if (binding->listFocusOnly && GetFocus() != Item(IDC_PLACEMENT_LIST)) return false;
    // The command runs from the queue, after the hook has returned, as a button's click would.
    const auto post = [this](int id, int code) {
        PostMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    };
    switch (binding->command) {
    case WindowCommand::Save: post(IDC_SAVE, BN_CLICKED); return true;
    case WindowCommand::Delete: post(IDC_DELETE, BN_CLICKED); return true;
    case WindowCommand::Add: post(IDC_ADD, BN_CLICKED); return true;
    case WindowCommand::FindNext: post(IDC_FIND_NEXT, BN_CLICKED); return true;
    case WindowCommand::FocusSearchName: post(kKeyFocusSearchName, 1); return true;
    case WindowCommand::ReloadMap: post(kKeyReloadMap, 1); return true;
    case WindowCommand::Clone: post(kKeyClone, 1); return true;
    case WindowCommand::Undo: post(kMenuUndo, 1); return true;
    case WindowCommand::Redo: post(kMenuRedo, 1); return true;
    case WindowCommand::MapView: post(kMenuMapView, 1); return true;
    case WindowCommand::FindAll: post(kMenuFindAll, 1); return true;
    }
    return false;
}

bool PlacementWindow::OnExtraCommand(int id) {
    if (const int choice = LanguageChoiceOfCommand(static_cast<UINT>(id), kMenuLanguage, 1); choice >= 0) {
        m_dlg.OnLanguageChosen(kLanguageChoices[choice].language);
        return true;
    }
    switch (id) {
    case kMenuEdit: m_dlg.OnModify(); return true;
    case kMenuClone:
    case kKeyClone: m_dlg.OnClone(); return true;
    case kMenuDelete: DeleteAndShowStatus(); return true;
    case kMenuCopyRows: CopySelectedRows(); return true;
    case kMenuMapView: ShowMapView(); return true;
    case kMenuFindAll: ShowFindAll(); return true;
    case kMenuCompare: ShowCompare(); return true;
    case kMenuBulkEdit: BulkEditSelectedRows(); return true;
    case kMenuAbout: m_dlg.OnSysCommand(kAboutCommand); return true;
    case kKeyReloadMap: ReloadKeepingPlace(); return true;
    case kMenuProblems: ToggleProblems(); return true;
    case kMenuUndo: ShowStepBack(true, m_dlg.OnUndo()); return true;
    case kMenuRedo: ShowStepBack(false, m_dlg.OnRedo()); return true;
    case kKeyFocusSearchName:
        if (HWND field = Item(IDC_FIND_NAME)) {
            SetFocus(field);
            SendMessageW(field, EM_SETSEL, 0, -1);
        }
        return true;
    default: return false;
    }
}

void PlacementWindow::CopySelectedRows() {
    std::vector<int> rows;
    for (int row = m_rows.NextSelectedRow(-1); row >= 0; row = m_rows.NextSelectedRow(row)) rows.push_back(row);
    if (rows.empty()) return;
    // Windows' text on the clipboard ends its lines with CR LF.
    std::wstring text;
    for (wchar_t c : Widen(StoreRowsAsTabText(m_dlg.Rows(), m_dlg.ListRows().StoreRows(rows), m_dlg.ServerPath()))) {
        if (c == L'\n') text += L'\r';
        text += c;
    }
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return;
    if (void* at = GlobalLock(memory)) {
        std::memcpy(at, text.c_str(), bytes);
        GlobalUnlock(memory);
    }
    if (!OpenClipboard(m_hwnd)) {
        GlobalFree(memory);
        ShowStatusLine({std::string(Text(TextId::ClipboardBusy)), true});
        return;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!placed) GlobalFree(memory);   // the clipboard owns it only once it took it
    ShowStatusLine({placed ? CopiedRowsText(rows.size()) : std::string(Text(TextId::ClipboardRefused)), !placed});
}

bool PlacementWindow::OnContextMenu(HWND target, LPARAM position) {
    HWND list = Item(IDC_PLACEMENT_LIST);
    if (target != list) return false;
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (at.x == -1 && at.y == -1) {
        // From the keyboard (Shift+F10, the menu key): below the list's header.
        RECT r;
        GetWindowRect(list, &r);
        at = {r.left + 16, r.top + 24};
    }
    HMENU menu = CreatePopupMenu();
    if (!menu) return true;
    const bool rowSelected = m_rows.NextSelectedRow(-1) >= 0;
    AppendMenuW(menu, MF_STRING, kMenuEdit, Widen(Text(TextId::MenuEdit).data()).c_str());
    AppendMenuW(menu, MF_STRING | (rowSelected ? 0u : static_cast<UINT>(MF_GRAYED)), kMenuClone,
                EntryText(Text(TextId::MenuClone).data(), WindowCommand::Clone).c_str());
    AppendMenuW(menu, MF_STRING, kMenuDelete, EntryText(Text(TextId::MenuDelete).data(), WindowCommand::Delete).c_str());
    AppendMenuW(menu, MF_STRING | (rowSelected ? 0u : static_cast<UINT>(MF_GRAYED)), kMenuBulkEdit,
                Widen(std::string(Text(TextId::MenuBulkEdit)) + "\tCtrl+E").c_str());
    AppendMenuW(menu, MF_STRING, kMenuMapView, EntryText(Text(TextId::MenuMapView).data(), WindowCommand::MapView).c_str());
    AppendMenuW(menu, MF_STRING, kMenuFindAll, EntryText(Text(TextId::FindAllMenu).data(), WindowCommand::FindAll).c_str());
    AppendMenuW(menu, MF_STRING, kMenuCompare, Widen(Text(TextId::CompareMenu).data()).c_str());
    AppendMenuW(menu, MF_STRING | (rowSelected ? 0u : static_cast<UINT>(MF_GRAYED)), kMenuCopyRows,
                Widen(Text(TextId::MenuCopyRows).data()).c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    const auto historyEntry = [&](int id, WindowCommand command, bool enabled) {
        const KeyBinding* binding = BindingOf(command);
        AppendMenuW(menu, MF_STRING | (enabled ? 0u : static_cast<UINT>(MF_GRAYED)), static_cast<UINT_PTR>(id),
                    EntryText(binding->Description(), command).c_str());
    };
    historyEntry(kMenuUndo, WindowCommand::Undo, m_dlg.CanUndo());
    historyEntry(kMenuRedo, WindowCommand::Redo, m_dlg.CanRedo());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kMenuProblems, Widen(std::string(Text(TextId::ProblemsMenu)) + "\tCtrl+Shift+M").c_str());
    AppendMenuW(menu, MF_STRING, kMenuAbout, Widen(Text(TextId::AboutMenuEntry).data()).c_str());
    if (HMENU languages = CreateLanguageMenu(kMenuLanguage, 1))
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(languages), Widen(Text(TextId::MenuLanguage)).c_str());
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, m_hwnd, nullptr));
    DestroyMenu(menu);
    if (chosen) OnExtraCommand(chosen);
    return true;
}

}  // namespace morvi::win32
