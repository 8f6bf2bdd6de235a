#pragma once
// The window language on the native window: a template's controls get their texts again from
// the text table, and the "语言 / Language" menus are built from the choices the window logic
// offers.

#include <span>
#include <vector>

#include <windows.h>

#include "dialog/WindowTemplateTables.h"

namespace morvi::win32 {

// The controls a dialog made from `table`, in its order; read at WM_INITDIALOG, before any
// control is created or moved. Empty when the children do not follow the table.
std::vector<HWND> TemplateControls(HWND dialog, std::span<const DialogItem> table);

// Puts the texts of `table` (in the language Text() speaks now) on the controls that show one;
// the control with the id `keep` keeps its text.
void ApplyTemplateTexts(std::span<const DialogItem> table, const std::vector<HWND>& controls, int keep = 0);

// A popup of each window language, command `firstCommand + i * step` for the i-th, the one shown
// checked; the caller owns it (or a menu it is appended to).
HMENU CreateLanguageMenu(UINT firstCommand, UINT step);
// The choice a command of such a menu stands for; -1 when none.
int LanguageChoiceOfCommand(UINT command, UINT firstCommand, UINT step);

}  // namespace morvi::win32
