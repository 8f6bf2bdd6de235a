#include "win32/FindAllWindow.h"

#include <algorithm>

#include <commctrl.h>

#include "texts/ProgramTexts.h"
#include "win32/ToolWindows.h"
#include "win32/WideText.h"

namespace morvi::win32 {
namespace {

constexpr int kMargin = 6;
constexpr int kRowHeight = 24;
constexpr int kButtonWidth = 80;

std::wstring TextOf(TextId id) { return Widen(Text(id)); }

}  // namespace

FindAllWindow::FindAllWindow(GetStartArgs args, OpenResult open)
    : m_args(std::move(args)), m_open(std::move(open)), m_view([this] {
          // From the worker: the window takes the results on its own thread.
          if (HWND target = m_wakeTarget.load()) PostMessageW(target, kTakeMessage, 0, 0);
      }) {}

FindAllWindow::~FindAllWindow() {
    m_view.Cancel();
    m_view.Wait();
    if (m_hwnd) DestroyWindow(m_hwnd);
    if (m_font) DeleteObject(m_font);
}

void FindAllWindow::Show(HWND owner) {
    if (!m_hwnd && RegisterToolWindowClass(kClassName)) {
        HWND hwnd = CreateWindowExW(0, kClassName, TextOf(TextId::FindAllMenu).c_str(), WS_OVERLAPPEDWINDOW,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 980, 520, owner, nullptr, GetModuleHandleW(nullptr),
                                    nullptr);
        if (!hwnd) return;
        m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FindAllWindow::WindowProc));
        OnCreate();
        RECT client{};
        GetClientRect(hwnd, &client);
        OnSize(client.right, client.bottom);
        m_wakeTarget = hwnd;
        // Results of a search that ran while the window was closed.
        PostMessageW(hwnd, kTakeMessage, 0, 0);
    }
    if (!m_hwnd) return;
    ShowWindow(m_hwnd, IsIconic(m_hwnd) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(m_hwnd);
    if (m_filter) SetFocus(m_filter);
}

LRESULT CALLBACK FindAllWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FindAllWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->Handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_wakeTarget = nullptr;
        self->m_hwnd = self->m_filter = self->m_search = self->m_stop = self->m_results = self->m_status = nullptr;
    }
    return result;
}

// Enter in the filter field starts the search (the window has no dialog manager of its own).
LRESULT CALLBACK FindAllWindow::FilterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        reinterpret_cast<FindAllWindow*>(data)->Search();
        return 0;
    }
    if (message == WM_CHAR && (wParam == L'\r' || wParam == L'\n')) return 0;   // no beep
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void FindAllWindow::OnCreate() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!m_font) m_font = CreateMessageFont();
    const auto child = [&](const wchar_t* cls, const std::wstring& text, DWORD style, int id, DWORD exStyle = 0) {
        HWND h = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, m_hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (h) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return h;
    };
    m_filter = child(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kFilterId, WS_EX_CLIENTEDGE);
    if (m_filter) {
        SendMessageW(m_filter, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(TextOf(TextId::FindAllFilterCue).c_str()));
        SetWindowSubclass(m_filter, &FindAllWindow::FilterProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    m_search = child(L"BUTTON", TextOf(TextId::FindAllSearch), WS_TABSTOP | BS_DEFPUSHBUTTON, kSearchId);
    m_stop = child(L"BUTTON", TextOf(TextId::FindAllStop), WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED, kStopId);
    m_results = child(WC_LISTVIEWW, L"",
                      WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL, kResultsId,
                      WS_EX_CLIENTEDGE);
    if (m_results) {
        SendMessageW(m_results, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
        const LONG units = GetDialogBaseUnits();
        for (int c = 0; c < kFindAllColumnCount; ++c) {
            const FindAllColumnInfo& info = FindAllColumnOf(c);
            std::wstring heading = TextOf(info.heading);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.cx = MulDiv(info.width, LOWORD(units), 4) + 8;
            column.pszText = heading.data();
            column.iSubItem = c;
            SendMessageW(m_results, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
        }
    }
    m_status = child(L"STATIC", TextOf(TextId::FindAllOpenHint), SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kStatusId);
}

void FindAllWindow::OnSize(int width, int height) {
    const int right = width - kMargin;
    const int buttons = 2 * kButtonWidth + kMargin;
    if (m_filter) MoveWindow(m_filter, kMargin, kMargin, std::max(40, right - buttons - 2 * kMargin), kRowHeight, TRUE);
    if (m_search) MoveWindow(m_search, right - buttons, kMargin, kButtonWidth, kRowHeight, TRUE);
    if (m_stop) MoveWindow(m_stop, right - kButtonWidth, kMargin, kButtonWidth, kRowHeight, TRUE);
    const int listTop = 2 * kMargin + kRowHeight;
    const int statusTop = height - kMargin - kRowHeight + 4;
    if (m_results) MoveWindow(m_results, kMargin, listTop, right - kMargin, std::max(20, statusTop - kMargin - listTop), TRUE);
    if (m_status) MoveWindow(m_status, kMargin, statusTop, right - kMargin, kRowHeight - 4, TRUE);
}

void FindAllWindow::Search() {
    if (m_results) SendMessageW(m_results, LVM_SETITEMCOUNT, 0, 0);
    wchar_t buffer[1024] = {};
    if (m_filter) GetWindowTextW(m_filter, buffer, 1024);
    const StartArgs args = m_args ? m_args() : StartArgs{};
    m_view.Start(args.serverPath, args.templateCount, Narrow(buffer));
    ShowStatus();
}

void FindAllWindow::TakeResults() {
    if (m_view.TakeResults() > 0 && m_results)
        SendMessageW(m_results, LVM_SETITEMCOUNT, m_view.Count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    ShowStatus();
}

void FindAllWindow::ShowStatus() {
    if (!m_hwnd) return;
    const FindAllStatus status = m_view.Status();
    m_statusWarning = status.warning;
    if (m_status) {
        SetWindowTextW(m_status, Widen(status.text).c_str());
        InvalidateRect(m_status, nullptr, TRUE);
    }
    if (m_stop) EnableWindow(m_stop, m_view.Running());
}

bool FindAllWindow::OnNotify(NMHDR* header) {
    if (!header || header->hwndFrom != m_results) return false;
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return true;
        m_cell.clear();
        m_view.AppendCellText(info->item.iItem, info->item.iSubItem, m_cell);
        WidenInto(m_cell, info->item.pszText, info->item.cchTextMax);
        return true;
    }
    case NM_DBLCLK: {
        const int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
        if (row >= 0 && m_open) m_open(m_view, row);
        ShowStatus();
        return true;
    }
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_RETURN) {
            const int row = static_cast<int>(SendMessageW(m_results, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
            if (row >= 0 && m_open) m_open(m_view, row);
            ShowStatus();
        }
        return true;
    default: return false;
    }
}

LRESULT FindAllWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: OnSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {420, 220};
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kSearchId && HIWORD(wParam) == BN_CLICKED) Search();
        else if (LOWORD(wParam) == kStopId && HIWORD(wParam) == BN_CLICKED) m_view.Cancel();
        return 0;
    case WM_NOTIFY:
        if (OnNotify(reinterpret_cast<NMHDR*>(lParam))) return 0;
        break;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == m_status) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, m_statusWarning ? RGB(0xB0, 0, 0) : GetSysColor(COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case kTakeMessage: TakeResults(); return 0;
    case kResultCountMessage: return m_view.Running() ? -1 : m_view.Count();
    case kOpenRowMessage:
        if (m_open) m_open(m_view, static_cast<int>(wParam));
        ShowStatus();
        return 0;
    case WM_CLOSE:
        // Closing stops the search; the window stays for the next time, results and all.
        m_view.Cancel();
        ShowWindow(m_hwnd, SW_HIDE);
        return 0;
    case WM_DESTROY:
        m_view.Cancel();
        if (m_filter) RemoveWindowSubclass(m_filter, &FindAllWindow::FilterProc, 1);
        return 0;
    default: break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

}  // namespace morvi::win32
