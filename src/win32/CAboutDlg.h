#pragma once
// The About box: dialog template 100, closed by its "Thoat" button, Escape or the close box.

#include <windows.h>

#include "win32/DpiLayout.h"

namespace morvi::win32 {

class CAboutDlg {
public:
    // Runs the box modally; returns the command that closed it (IDOK or IDCANCEL).
    INT_PTR DoModal(HWND owner);
    // Shows the box without a loop of its own (window checks look at it beside the main window);
    // DestroyWindow closes it.
    HWND Create(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    TemplateLayout m_layout;   // template 100 at the box's DPI
};

}  // namespace morvi::win32
