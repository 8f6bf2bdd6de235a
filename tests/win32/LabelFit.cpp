#include "LabelFit.h"

#include <climits>

#include <commctrl.h>

#include "win32/DpiLayout.h"
#include "win32/WideText.h"

namespace morvi::win32::test {
namespace {

std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// What is drawn of a text with prefix processing: "&x" underlines x, "&&" is one '&'.
std::wstring WithoutPrefixes(const std::wstring& text) {
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

struct Extent {
    SIZE size{};
    int lineHeight = 0;
};

Extent Measure(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    Extent extent;
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent.size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    extent.lineHeight = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent;
}

// Height the text takes when wrapped at `width`, as a static draws it.
int WrappedHeight(HWND control, const std::wstring& text, int width) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.right > width ? INT_MAX : r.bottom;
}

std::string Name(HWND control, const std::wstring& text) {
    return "control " + std::to_string(GetDlgCtrlID(control)) + " \"" + Narrow(text) + "\"";
}

std::string Sizes(int need, int room) { return " needs " + std::to_string(need) + " px, has " + std::to_string(room); }

bool IsFrame(HWND control) {
    return ClassOf(control) == L"Button" && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

void CheckHeadings(HWND list, UINT dpi, std::vector<std::string>& problems) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    const int padding = ScaleToDpi(12, dpi);   // the header's margins around its text
    for (int column = 0; column < count; ++column) {
        wchar_t heading[128] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = heading;
        item.cchTextMax = 128;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        if (item.cxy == 0 || !heading[0]) continue;   // the hidden columns
        const int need = Measure(header, heading).size.cx + padding;
        if (need > item.cxy)
            problems.push_back("heading " + std::to_string(column) + " \"" + Narrow(heading) + "\"" + Sizes(need, item.cxy));
    }
}

}  // namespace

std::vector<std::string> CutTexts(HWND dialog, const FitCheckOptions& options) {
    std::vector<std::string> problems;
    const UINT dpi = options.dpi ? options.dpi : WindowDpi(dialog);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control)) continue;
        const std::wstring cls = ClassOf(control);
        const LONG styles = GetWindowLongW(control, GWL_STYLE);
        if (cls == L"SysListView32") CheckHeadings(control, dpi, problems);
        const int id = GetDlgCtrlID(control);
        bool changing = false;
        for (int changingId : options.changingTextIds) changing = changing || changingId == id;
        std::wstring text = TextOf(control);
        if (changing || text.empty()) continue;
        RECT client{};
        GetClientRect(control, &client);
        if (cls == L"Static") {
            const LONG type = styles & SS_TYPEMASK;
            if (type == SS_ICON || type == SS_BITMAP || (styles & SS_ELLIPSISMASK)) continue;
            if (!(styles & SS_NOPREFIX)) text = WithoutPrefixes(text);
            const Extent extent = Measure(control, text);
            if (client.bottom < 2 * extent.lineHeight) {
                // One line: the whole text on it, not cut at the bottom.
                if (extent.size.cx > client.right) problems.push_back(Name(control, text) + Sizes(extent.size.cx, client.right));
                if (extent.lineHeight > client.bottom)
                    problems.push_back(Name(control, text) + " is " + std::to_string(client.bottom) +
                                       " px high, its line " + std::to_string(extent.lineHeight));
            } else if (WrappedHeight(control, text, client.right) > client.bottom) {
                problems.push_back(Name(control, text) + " does not fit on its lines");
            }
        } else if (cls == L"Button") {
            text = WithoutPrefixes(text);
            const LONG type = styles & BS_TYPEMASK;
            int room = client.right;
            if (type == BS_GROUPBOX) room -= ScaleToDpi(16, dpi);
            else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
                room -= ScaleToDpi(13, dpi) + ScaleToDpi(4, dpi);   // the box and the space after it
            else room -= 2 * ScaleToDpi(3, dpi);                    // a push button's edges
            const Extent extent = Measure(control, text);
            if (extent.size.cx > room) problems.push_back(Name(control, text) + Sizes(extent.size.cx, room));
        }
    }
    return problems;
}

std::vector<std::string> OverlappingControls(HWND dialog) {
    struct Placed {
        HWND control;
        RECT rect;
    };
    std::vector<Placed> placed;
    RECT client{};
    GetClientRect(dialog, &client);
    std::vector<std::string> problems;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control) || IsFrame(control)) continue;
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        RECT inside{};
        if (!IntersectRect(&inside, &r, &client) || !EqualRect(&inside, &r))
            problems.push_back(Name(control, TextOf(control)) + " reaches out of the window");
        placed.push_back({control, r});
    }
    for (size_t i = 0; i < placed.size(); ++i) {
        for (size_t j = i + 1; j < placed.size(); ++j) {
            RECT common{};
            if (IntersectRect(&common, &placed[i].rect, &placed[j].rect))
                problems.push_back(Name(placed[i].control, TextOf(placed[i].control)) + " overlaps " +
                                   Name(placed[j].control, TextOf(placed[j].control)));
        }
    }
    return problems;
}

}  // namespace morvi::win32::test
