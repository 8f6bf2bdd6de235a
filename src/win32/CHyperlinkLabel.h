#pragma once
// A clickable link drawn as underlined italic text. It is a plain STATIC child window whose
// window procedure is replaced by the label's own; the procedure finds its object again through
// the window property "CLASSPOINTER". While the pointer is over the label the label holds the
// mouse capture, so it sees the pointer leave.

#include <functional>
#include <string>

#include <windows.h>

namespace morvi::win32 {

struct HyperlinkParams {
    HWND parent = nullptr;            // must be a window
    int id = 0;
    int x = 0, y = 0;                 // pixels, in the parent's client area
    int width = 0, height = 0;        // both > 0
    std::wstring face;                // must be given
    int fontHeight = 0;               // as given to CreateFontW
    bool bold = false;                // weight 700, else 400
    COLORREF normalColour = 0;
    COLORREF hoverColour = 0;
    COLORREF backgroundColour = 0;
    bool hasBackground = false;       // else the text is drawn transparently
    bool useCursor = false;
    HCURSOR cursor = nullptr;
    std::function<void(int)> onClick; // called with 0 on each press; may be empty
    std::wstring text;
};

class CHyperlinkLabel {
public:
    CHyperlinkLabel() = default;
    ~CHyperlinkLabel();
    CHyperlinkLabel(const CHyperlinkLabel&) = delete;
    CHyperlinkLabel& operator=(const CHyperlinkLabel&) = delete;

    // False when nothing usable was created.
    bool CreateLink(const HyperlinkParams& params);
    void Destroy();

    HWND Window() const { return m_hwnd; }
    bool IsHovering() const { return m_hovering; }

    static constexpr const wchar_t* kPropertyName = L"CLASSPOINTER";

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void UpdateHovering();

    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    HBRUSH m_brush = nullptr;
    HCURSOR m_cursor = nullptr;
    HCURSOR m_previousCursor = nullptr;
    COLORREF m_normal = 0;
    COLORREF m_hover = 0;
    COLORREF m_background = 0;
    std::function<void(int)> m_onClick;
    bool m_hasBackground = false;
    bool m_hovering = false;
    bool m_useCursor = false;
    std::wstring m_text;
};

}  // namespace morvi::win32
