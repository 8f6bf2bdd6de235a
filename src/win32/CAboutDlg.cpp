#include "win32/CAboutDlg.h"

#include "dialog/WindowTemplateTables.h"
#include "texts/Language.h"
#include "win32/WideText.h"
#include "win32/WindowLanguage.h"

namespace morvi::win32 {

INT_PTR CAboutDlg::DoModal(HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAboutTemplateId), owner,
                           &CAboutDlg::DialogProc, 0);
}

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // The template holds the original texts; another language puts its own up.
        if (CurrentLanguage() != Language::Original) {
            SetWindowTextW(hwnd, Widen(Text(TextId::AboutCaption)).c_str());
            ApplyTemplateTexts(AboutTemplate(), TemplateControls(hwnd, AboutTemplate()));
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace morvi::win32
