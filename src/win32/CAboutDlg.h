#pragma once
// The About box: dialog template 100, closed by its "Thoat" button, Escape or the close box.

#include <windows.h>

namespace morvi::win32 {

class CAboutDlg {
public:
    // Runs the box modally; returns the command that closed it (IDOK or IDCANCEL).
    INT_PTR DoModal(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace morvi::win32
