// What the Windows window offers beyond its template that needs room: the window can be made
// larger (never smaller than its template), its controls follow by the window logic's growth
// rule, and a status strip along the bottom says what the last write did.
#include <algorithm>
#include <ctime>

#include <windows.h>
#include <commctrl.h>

#include "dialog/ControlIds.h"
#include "dialog/WindowGrowth.h"
#include "dialog/WindowTemplateTables.h"
#include "win32/PlacementWindow.h"
#include "win32/WideText.h"
#include "texts/ProgramTexts.h"

namespace morvi::win32 {
namespace {

constexpr COLORREF kWarningColour = RGB(0xB0, 0x00, 0x00);

bool IsGroupBox(HWND child) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    return lstrcmpiW(cls, L"Button") == 0 && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

}  // namespace

// Dialog units of the dialog font at the window's DPI (which may differ from the units the
// dialog was created with, after a move to another monitor).
int PlacementWindow::DialogUnitsX(int du) const {
    if (m_layout.Units().x > 0) return m_layout.Units().X(du);
    RECT r{0, 0, du, 0};
    MapDialogRect(m_hwnd, &r);
    return r.right;
}

int PlacementWindow::DialogUnitsY(int du) const {
    if (m_layout.Units().y > 0) return m_layout.Units().Y(du);
    RECT r{0, 0, 0, du};
    MapDialogRect(m_hwnd, &r);
    return r.bottom;
}

RECT PlacementWindow::DialogUnitsRect(const int (&rectDu)[4]) const {
    return {DialogUnitsX(rectDu[0]), DialogUnitsY(rectDu[1]), DialogUnitsX(rectDu[0] + rectDu[2]),
            DialogUnitsY(rectDu[1] + rectDu[3])};
}

HFONT PlacementWindow::DialogFont() const {
    if (HFONT font = m_layout.Font()) return font;
    return reinterpret_cast<HFONT>(SendMessageW(m_hwnd, WM_GETFONT, 0, 0));
}

UINT PlacementWindow::LayoutDpi() const { return m_layout.Dpi() ? m_layout.Dpi() : kDefaultDpi; }

RECT PlacementWindow::StatusStripRect() const {
    RECT client{};
    GetClientRect(m_hwnd, &client);
    const int top = DialogUnitsY(kStatusStripBelowDu) + 1;
    int left = DialogUnitsX(kStatusStripLeftDu);
    // The link label widens to show its whole address; the strip starts after it.
    if (HWND link = m_link.Window()) {
        RECT r{};
        GetWindowRect(link, &r);
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
        left = std::max(left, static_cast<int>(r.right) + DialogUnitsX(4));
    }
    return {left, top, client.right - DialogUnitsX(kStatusStripRightMarginDu), client.bottom};
}

RECT PlacementWindow::ListStatusRect() const {
    // The bottom line left of the link label.
    RECT client{};
    GetClientRect(m_hwnd, &client);
    return {DialogUnitsX(kListStatusLeftDu), DialogUnitsY(kStatusStripBelowDu) + 1,
            ScaleToDpi(kLinkX, LayoutDpi()) - DialogUnitsX(2), client.bottom};
}

void PlacementWindow::CreateStatusStrip() {
    const RECT strip = StatusStripRect();
    const int left = strip.left, top = strip.top;
    const RECT client{0, 0, strip.right + DialogUnitsX(kStatusStripRightMarginDu), strip.bottom};
    m_status = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_RIGHT | SS_NOPREFIX | SS_ENDELLIPSIS,
                               left, top, client.right - left - DialogUnitsX(kStatusStripRightMarginDu),
                               client.bottom - top, m_hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusStripId)),
                               GetModuleHandleW(nullptr), nullptr);
    if (m_status) SendMessageW(m_status, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
}

void PlacementWindow::CreateTemplateFilter() {
    // The template list shows its entries through the filter from its first entry on.
    m_templates.Attach(Item(IDC_TEMPLATE_LIST));
    const RECT r = DialogUnitsRect(kTemplateFilterRectDu);
    m_filter = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                               r.left, r.top, r.right - r.left, r.bottom - r.top, m_hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTemplateFilterId)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!m_filter) return;
    SendMessageW(m_filter, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    SendMessageW(m_filter, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(Widen(Text(TextId::TemplateFilterCue).data()).c_str()));
    // Tab order: after "Chi tim mot", before the template list.
    SetWindowPos(m_filter, Item(IDC_FIND_NEXT), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void PlacementWindow::CreateListFilterAndStatus() {
    const HFONT font = DialogFont();
    const RECT r = DialogUnitsRect(kListFilterRectDu);
    m_listFilter = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                   r.left, r.top, r.right - r.left, r.bottom - r.top, m_hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListFilterId)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (m_listFilter) {
        SendMessageW(m_listFilter, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageW(m_listFilter, EM_SETCUEBANNER, TRUE,
                     reinterpret_cast<LPARAM>(Widen(Text(TextId::ListFilterCue).data()).c_str()));
        // Tab order: first of the search row, before its name field.
        HWND before = GetWindow(Item(IDC_FIND_NAME), GW_HWNDPREV);
        SetWindowPos(m_listFilter, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    const RECT line = ListStatusRect();
    const int left = line.left, top = line.top, right = line.right;
    const RECT client{0, 0, 0, line.bottom};
    if (right - left < DialogUnitsX(20)) return;
    m_listStatus = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
                                   left, top, right - left, client.bottom - top, m_hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListStatusId)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (m_listStatus) SendMessageW(m_listStatus, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    UpdateListStatus();
}

void PlacementWindow::QueueListStatus() {
    if (!m_listStatusPosted && m_hwnd && PostMessageW(m_hwnd, kListStatusMessage, 0, 0)) m_listStatusPosted = true;
}

void PlacementWindow::UpdateListStatus() {
    m_listStatusPosted = false;
    if (!m_listStatus) return;
    const CPlacementDlg::ListStatusLine line = m_dlg.ListStatus();
    m_listStatusWarning = line.warning;
    SetWindowTextW(m_listStatus, Widen(line.text).c_str());
    InvalidateRect(m_listStatus, nullptr, TRUE);
}

void PlacementWindow::ShowSortArrow() {
    HWND header = reinterpret_cast<HWND>(SendMessageW(Item(IDC_PLACEMENT_LIST), LVM_GETHEADER, 0, 0));
    if (!header) return;
    const PlacementRowView& rows = m_dlg.ListRows();
    const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < count; ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == rows.SortColumn())
            item.fmt |= rows.Direction() == SortDirection::Descending ? HDF_SORTDOWN : HDF_SORTUP;
        SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    }
}

void PlacementWindow::ShowStepBack(bool undo, bool done) {
    if (done) ShowStatusLine(StatusAfterStepBack(m_dlg, undo, std::time(nullptr)));
}

void PlacementWindow::ShowStatusLine(const StatusLine& line) {
    if (line.text.empty() || !m_status) return;   // the strip keeps the last write
    m_statusWarning = line.warning;
    SetWindowTextW(m_status, Widen(line.text).c_str());
    InvalidateRect(m_status, nullptr, TRUE);
}

void PlacementWindow::MakeResizable() {
    // Where every control sits at the template's size: the growth rule starts from there.
    RECT client{};
    GetClientRect(m_hwnd, &client);
    m_defaultClient = {client.right, client.bottom};
    m_defaultPlaces.clear();
    for (HWND child = GetWindow(m_hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
        m_defaultPlaces.push_back({child, r});
    }
    m_growLines = {DialogUnitsY(kGrowServerRowBottomDu), DialogUnitsY(kGrowListsTopDu),
                   DialogUnitsY(kGrowEditRowsTopDu), DialogUnitsX(kGrowServerButtonsDu),
                   DialogUnitsX(kGrowRightColumnDu)};

    // A sizing border around the same client area.
    const LONG style = GetWindowLongW(m_hwnd, GWL_STYLE) | WS_THICKFRAME | WS_MAXIMIZEBOX;
    SetWindowLongW(m_hwnd, GWL_STYLE, style);
    RECT frame = client;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(style), FALSE, static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_EXSTYLE)));
    m_minimumSize = {frame.right - frame.left, frame.bottom - frame.top};
    SetWindowPos(m_hwnd, nullptr, 0, 0, m_minimumSize.cx, m_minimumSize.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void PlacementWindow::Relayout(int width, int height) {
    if (m_defaultPlaces.empty()) return;
    const int dx = width - m_defaultClient.cx, dy = height - m_defaultClient.cy;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(m_defaultPlaces.size()));
    for (const auto& [child, r] : m_defaultPlaces) {
        const GrowRole role = child == m_status       ? GrowRole::StatusStrip
                              : child == m_filter     ? GrowRole::RightEdge
                              : child == m_listStatus ? GrowRole::BottomLeft
                                                      : GrowRoleOfControl(GetDlgCtrlID(child), IsGroupBox(child));
        const GrowRect to = GrownRect(role, {r.left, r.top, r.right - r.left, r.bottom - r.top}, dx, dy, m_growLines);
        if (moves) moves = DeferWindowPos(moves, child, nullptr, to.x, to.y, to.width, to.height,
                                          SWP_NOZORDER | SWP_NOACTIVATE);
        else SetWindowPos(child, nullptr, to.x, to.y, to.width, to.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves) EndDeferWindowPos(moves);
    // Frames and captions drawn over the dialog's background leave traces where they were.
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

bool PlacementWindow::OnLayoutMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) Relayout(LOWORD(lParam), HIWORD(lParam));
        result = FALSE;   // the dialog manager may see it too
        return true;
    case WM_GETMINMAXINFO:
        if (m_minimumSize.cx > 0) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {m_minimumSize.cx, m_minimumSize.cy};
            result = TRUE;
            return true;
        }
        return false;
    case WM_CTLCOLORSTATIC:
        if ((reinterpret_cast<HWND>(lParam) == m_status && m_statusWarning) ||
            (reinterpret_cast<HWND>(lParam) == m_listStatus && m_listStatusWarning)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kWarningColour);
            SetBkMode(dc, TRANSPARENT);
            result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            return true;
        }
        return false;
    default:
        return false;
    }
}

void PlacementWindow::SaveAndShowStatus() {
    const SaveKind kind = KindOfNextSave(m_dlg);
    const SaveOutcome saved = m_dlg.OnSave();
    ShowStatusLine(StatusAfterSave(m_dlg, saved, kind, std::time(nullptr)));
}

void PlacementWindow::DeleteAndShowStatus() {
    ShowStatusLine(StatusAfterDelete(m_dlg, m_dlg.OnDelete(), std::time(nullptr)));
}

}  // namespace morvi::win32
