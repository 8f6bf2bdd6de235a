#pragma once
// What the program's own top-level tool windows (find in every map, compare, problems) share:
// their window class and the font they draw their controls in.
#include <windows.h>

namespace morvi::win32 {

// Registers a window class of the button-face colour and the arrow cursor whose window
// procedure each window replaces right after it is made. True when the class exists.
bool RegisterToolWindowClass(const wchar_t* className);

// The system's message-box font (the font of dialogs), or null. The caller deletes it.
HFONT CreateMessageFont();

}  // namespace morvi::win32
