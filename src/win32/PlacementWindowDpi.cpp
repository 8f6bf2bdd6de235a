// The main window on a monitor of another DPI (WM_DPICHANGED): laid out again for it.
#include <windows.h>

#include "dialog/ControlIds.h"
#include "dialog/WindowGrowth.h"
#include "win32/PlacementWindow.h"

namespace morvi::win32 {

void PlacementWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    const UINT old = LayoutDpi();
    if (dpi != 0 && dpi != old && !m_defaultPlaces.empty()) LayOutAgain(old, dpi);
    SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void PlacementWindow::OnTextsChanged() {
    if (m_defaultPlaces.empty()) return;   // not laid out yet: the first layout fits them
    // The template again at the window's DPI, fitted to the new texts; then the window takes
    // back the size the user gave it, and the growth rule places the controls for it.
    RECT frame{};
    GetWindowRect(m_hwnd, &frame);
    const UINT dpi = LayoutDpi();
    LayOutAgain(dpi, dpi);
    SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void PlacementWindow::LayOutAgain(UINT old, UINT dpi) {
    // The growth rule starts again from the template's size at the new DPI; until then a
    // WM_SIZE moves nothing.
    m_defaultPlaces.clear();
    m_minimumSize = {};   // the smallest size of the old DPI must not hold the new one up
    m_layout.Apply(dpi, kMainWidthDu, kMainHeightDu);
    SetClientSize(m_hwnd, m_layout.ClientSize(), dpi);
    if (old != dpi) ScaleListColumns(Item(IDC_PLACEMENT_LIST), old, dpi);
    m_link.Destroy();
    CreateHyperlink();
    // The controls beyond the template where they are made, in the new font.
    const auto place = [&](HWND window, const RECT& r) {
        if (!window) return;
        SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    };
    place(m_filter, DialogUnitsRect(kTemplateFilterRectDu));
    place(m_listFilter, DialogUnitsRect(kListFilterRectDu));
    place(m_listStatus, ListStatusRect());
    place(m_status, StatusStripRect());
    MakeResizable();
}

}  // namespace morvi::win32
