#pragma once
// The Windows windows at any DPI. The process is per-monitor DPI aware (its manifest): a window
// lays its template out for the DPI of the monitor it is on, and again when it moves to a
// monitor of another DPI (WM_DPICHANGED). The dialog font is made for that DPI, the template's
// dialog units are worked out from it as Windows does, texts that the font makes wider than
// their rectangles are fitted (dialog/TemplateFit.h), and sizes given in pixels at 96 DPI
// (list columns, the link label) are scaled.

#include <span>
#include <vector>

#include <windows.h>

#include "dialog/WindowTemplateTables.h"

namespace morvi::win32 {

inline constexpr UINT kDefaultDpi = 96;

// The DPI the window is shown at (GetDpiForWindow where the system has it, else the screen's).
UINT WindowDpi(HWND window);
// A size in pixels at 96 DPI, at `dpi`.
int ScaleToDpi(int pixels96, UINT dpi);
// Asks the system not to rescale the dialog on its own when its DPI changes (the window does it).
void TakeOverDialogDpiChanges(HWND dialog);

// Gives the window a client area of `client` pixels, keeping its place.
void SetClientSize(HWND window, SIZE client, UINT dpi);

// Dialog base units of a font, Windows' rule: the average width of "A..Za..z" (halved, rounded
// up) and the character height.
struct BaseUnits {
    int x = 0, y = 0;
    int X(int du) const { return MulDiv(du, x, 4); }
    int Y(int du) const { return MulDiv(du, y, 8); }
    RECT Rect(int left, int top, int width, int height) const {
        return {X(left), Y(top), X(left + width), Y(top + height)};
    }
};
BaseUnits BaseUnitsOf(HFONT font);

// The controls of one template (children of the dialog, in template order) laid out for a DPI.
class TemplateLayout {
public:
    TemplateLayout() = default;
    TemplateLayout(const TemplateLayout&) = delete;
    TemplateLayout& operator=(const TemplateLayout&) = delete;
    ~TemplateLayout();

    // Takes the dialog's children in template order; call first thing in WM_INITDIALOG, before
    // anything changes their order. False when they do not match the template.
    bool Attach(HWND dialog, std::span<const DialogItem> table);
    // Makes the fonts for `dpi`, sets them on the controls and moves each control to its
    // fitted place; the client area takes the template's size (`widthDu` x `heightDu`).
    void Apply(UINT dpi, int widthDu, int heightDu);

    // Controls the window adds beside the template (rectangles in dialog units): texts that
    // grow keep clear of them too.
    void AddObstacle(const int (&rectDu)[4]);

    UINT Dpi() const { return m_dpi; }
    const BaseUnits& Units() const { return m_units; }
    HFONT Font() const { return m_fonts.empty() ? nullptr : m_fonts.front(); }
    // The client area at the template's size.
    SIZE ClientSize() const { return m_client; }
    bool IsTemplateControl(HWND child) const;

private:
    HFONT FontSmallerBy(int points);
    void DeleteFonts();

    HWND m_dialog = nullptr;
    std::span<const DialogItem> m_table;
    std::vector<HWND> m_controls;     // parallel to m_table
    std::vector<DialogItem> m_obstacles;
    std::vector<HFONT> m_fonts;       // [n]: the dialog font n points smaller
    UINT m_dpi = 0;
    BaseUnits m_units;
    SIZE m_client{};
};

// The placement list's columns: widths given at 96 DPI, scaled from one DPI to another (a width
// the user changed keeps its share).
void ScaleListColumns(HWND list, UINT fromDpi, UINT toDpi);

}  // namespace morvi::win32
