#pragma once
// Whether the texts of a window template fit their controls in the native window: each text,
// measured with GetTextExtentPoint32 in the dialog's font, against the control's client width
// at the template's size (its rectangle through MapDialogRect, less what the control draws
// besides its text: a button's edges, a check box's box, a frame's line). A wrapping label must
// hold all its lines. Used by the language and the scale checks of the window test.

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "dialog/WindowTemplateTables.h"

namespace morvi::win32::test {

struct CutText {
    std::string text;
    int needed;   // pixels the text takes (height for a wrapping label)
    int room;     // pixels the control gives it
};

// The texts of `table` (in the language Text() speaks now) that do not fit, in the font and
// dialog units of `dialog` (a dialog of the same font as the template).
std::vector<CutText> CutTemplateTexts(HWND dialog, std::span<const DialogItem> table);

// "text (needed > room)" lines, for the log.
std::string Describe(const std::vector<CutText>& cut);

// The window as the screen shows it, as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::wstring& path);

}  // namespace morvi::win32::test
