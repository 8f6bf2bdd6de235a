#include "win32/CAboutDlg.h"

#include "dialog/WindowTemplateTables.h"
#include "texts/Language.h"
#include "win32/WideText.h"
#include "win32/WindowLanguage.h"

namespace morvi::win32 {

INT_PTR CAboutDlg::DoModal(HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAboutTemplateId), owner,
                           &CAboutDlg::DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND CAboutDlg::Create(HWND owner) {
    HWND box = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAboutTemplateId), owner,
                                  &CAboutDlg::DialogProc, reinterpret_cast<LPARAM>(this));
    if (box) ShowWindow(box, SW_SHOW);
    return box;
}

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr UINT kDpiChanged = 0x02E0;   // WM_DPICHANGED
    auto* self = reinterpret_cast<CAboutDlg*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG:
        self = reinterpret_cast<CAboutDlg*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
        // The template holds the original texts; another language puts its own up.
        if (CurrentLanguage() != Language::Original) {
            SetWindowTextW(hwnd, Widen(Text(TextId::AboutCaption)).c_str());
            ApplyTemplateTexts(AboutTemplate(), TemplateControls(hwnd, AboutTemplate()));
        }
        // The template at the box's DPI, its texts (as shown) fitted to this system's fonts.
        if (self && self->m_layout.Attach(hwnd, AboutTemplate())) {
            TakeOverDialogDpiChanges(hwnd);
            self->m_layout.Apply(WindowDpi(hwnd), kAboutWidthDu, kAboutHeightDu);
            SetClientSize(hwnd, self->m_layout.ClientSize(), self->m_layout.Dpi());
        }
        return TRUE;
    case kDpiChanged:
        if (self) {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            self->m_layout.Apply(HIWORD(wParam), kAboutWidthDu, kAboutHeightDu);
            SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            SetClientSize(hwnd, self->m_layout.ClientSize(), self->m_layout.Dpi());
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
