#include "win32/CHyperlinkLabel.h"

namespace morvi::win32 {

CHyperlinkLabel::~CHyperlinkLabel() { Destroy(); }

void CHyperlinkLabel::Destroy() {
    if (m_font) DeleteObject(m_font);
    if (m_brush) DeleteObject(m_brush);
    m_font = nullptr;
    m_brush = nullptr;
    if (m_hwnd && IsWindow(m_hwnd)) {
        RemovePropW(m_hwnd, kPropertyName);
        DestroyWindow(m_hwnd);
    }
    m_hwnd = nullptr;
    m_text.clear();
}

bool CHyperlinkLabel::CreateLink(const HyperlinkParams& params) {
    if (!IsWindow(params.parent) || params.width <= 0 || params.height <= 0 || params.face.empty()) return false;
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, params.x, params.y, params.width,
                                params.height, params.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return false;
    if (!SetPropW(hwnd, kPropertyName, this)) {
        DestroyWindow(hwnd);
        return false;
    }
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CHyperlinkLabel::WindowProc));
    m_hwnd = hwnd;
    m_font = CreateFontW(params.fontHeight, 0, 0, 0, params.bold ? FW_BOLD : FW_NORMAL, TRUE, TRUE, FALSE,
                         DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 0x36,
                         params.face.c_str());
    if (!m_font) {
        Destroy();
        return false;
    }
    m_hasBackground = params.hasBackground;
    if (m_hasBackground) m_brush = CreateSolidBrush(params.backgroundColour);
    m_useCursor = params.useCursor;
    if (m_useCursor) m_cursor = params.cursor;
    m_normal = params.normalColour;
    m_hover = params.hoverColour;
    m_background = params.backgroundColour;
    if (params.onClick) m_onClick = params.onClick;
    m_text = params.text;
    return true;
}

void CHyperlinkLabel::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hwnd, &ps);
    RECT client;
    GetClientRect(m_hwnd, &client);
    if (m_hasBackground) {
        FillRect(dc, &client, m_brush);
        SetBkColor(dc, m_background);
    } else {
        SetBkMode(dc, TRANSPARENT);
    }
    HGDIOBJ previousFont = SelectObject(dc, m_font);
    SetTextColor(dc, m_hovering ? m_hover : m_normal);
    // Centre and vcentre without the single-line flag: each line is centred horizontally and the
    // text starts at the top edge.
    DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &client, DT_CENTER | DT_VCENTER);
    SelectObject(dc, previousFont);
    EndPaint(m_hwnd, &ps);
}

void CHyperlinkLabel::UpdateHovering() {
    POINT pointer;
    RECT window;
    GetCursorPos(&pointer);
    GetWindowRect(m_hwnd, &window);
    if (PtInRect(&window, pointer)) {
        if (GetCapture() != m_hwnd) SetCapture(m_hwnd);
        m_hovering = true;
    } else {
        if (GetCapture() == m_hwnd) ReleaseCapture();
        m_hovering = false;
    }
}

LRESULT CALLBACK CHyperlinkLabel::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CHyperlinkLabel*>(GetPropW(hwnd, kPropertyName));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        self->Paint();
        break;
    case WM_SETCURSOR:
        if (!self->m_useCursor) return FALSE;
        self->m_previousCursor = SetCursor(self->m_cursor);
        return TRUE;
    case WM_MOUSEMOVE:
        self->UpdateHovering();
        break;
    case WM_CAPTURECHANGED:
        // Another window took the capture (a menu, a drag): the hover ends; taking the capture
        // back from it would break that window.
        if (reinterpret_cast<HWND>(lParam) != hwnd) self->m_hovering = false;
        break;
    case WM_LBUTTONDOWN:
        if (self->m_onClick) self->m_onClick(0);
        break;
    case WM_NCDESTROY:
        RemovePropW(hwnd, kPropertyName);
        self->m_hwnd = nullptr;
        break;
    default:
        break;
    }
    // Every message, the handled ones included, ends in the default window procedure, not the
    // static control's own: that one would make the label transparent to the mouse.
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace morvi::win32
