#include "win32/CompareWindow.h"

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
constexpr int kLabelWidth = 110;

}  // namespace

CompareWindow::CompareWindow(GetRequest request, BrowseFolder browse)
    : m_request(std::move(request)), m_browse(std::move(browse)), m_view([this] {
          if (HWND target = m_wakeTarget.load()) PostMessageW(target, kTakeMessage, 0, 0);
      }) {}

CompareWindow::~CompareWindow() {
    m_view.Cancel();
    m_view.Wait();
    if (m_hwnd) DestroyWindow(m_hwnd);
    if (m_font) DeleteObject(m_font);
}

void CompareWindow::Show(HWND owner) {
    if (!m_hwnd && RegisterToolWindowClass(kClassName)) {
        HWND hwnd = CreateWindowExW(0, kClassName, Widen(Text(TextId::CompareMenu)).c_str(), WS_OVERLAPPEDWINDOW,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 980, 520, owner, nullptr, GetModuleHandleW(nullptr),
                                    nullptr);
        if (!hwnd) return;
        m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CompareWindow::WindowProc));
        OnCreate();
        RECT client{};
        GetClientRect(hwnd, &client);
        OnSize(client.right, client.bottom);
        m_wakeTarget = hwnd;
    }
    if (!m_hwnd) return;
    ShowWindow(m_hwnd, IsIconic(m_hwnd) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(m_hwnd);
    if (m_other) SetFocus(m_other);
}

LRESULT CALLBACK CompareWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CompareWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->Handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_wakeTarget = nullptr;
        self->m_hwnd = self->m_other = self->m_filter = self->m_results = self->m_status = nullptr;
    }
    return result;
}

void CompareWindow::OnCreate() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!m_font) m_font = CreateMessageFont();
    const auto child = [&](const wchar_t* cls, const std::wstring& text, DWORD style, int id, DWORD exStyle = 0) {
        HWND h = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, m_hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (h) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return h;
    };
    child(L"STATIC", Widen(Text(TextId::CompareOtherLabel)), SS_LEFT | SS_CENTERIMAGE, 0);
    m_other = child(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kOtherId, WS_EX_CLIENTEDGE);
    child(L"BUTTON", Widen(Text(TextId::CompareBrowse)), WS_TABSTOP | BS_PUSHBUTTON, kBrowseId);
    child(L"BUTTON", Widen(Text(TextId::CompareRun)), WS_TABSTOP | BS_DEFPUSHBUTTON, kRunId);
    m_filter = child(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kFilterId, WS_EX_CLIENTEDGE);
    if (m_filter)
        SendMessageW(m_filter, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(Widen(Text(TextId::CompareFilterCue)).c_str()));
    m_results = child(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, kResultsId,
                      WS_EX_CLIENTEDGE);
    if (m_results) {
        SendMessageW(m_results, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
        const LONG units = GetDialogBaseUnits();
        for (int c = 0; c < kCompareColumnCount; ++c) {
            std::wstring heading = Widen(Text(CompareColumnOf(c).heading));
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.cx = MulDiv(CompareColumnOf(c).width, LOWORD(units), 4) + 8;
            column.pszText = heading.data();
            column.iSubItem = c;
            SendMessageW(m_results, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
        }
    }
    m_status = child(L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kStatusId);
}

void CompareWindow::OnSize(int width, int height) {
    const int right = width - kMargin;
    HWND label = GetWindow(m_hwnd, GW_CHILD);   // the label is the first child
    const int buttons = 2 * kButtonWidth + kMargin;
    if (label) MoveWindow(label, kMargin, kMargin, kLabelWidth, kRowHeight, TRUE);
    const int otherLeft = 2 * kMargin + kLabelWidth;
    if (m_other) MoveWindow(m_other, otherLeft, kMargin, std::max(40, right - buttons - kMargin - otherLeft), kRowHeight, TRUE);
    if (HWND browse = GetDlgItem(m_hwnd, kBrowseId)) MoveWindow(browse, right - buttons, kMargin, kButtonWidth, kRowHeight, TRUE);
    if (HWND run = GetDlgItem(m_hwnd, kRunId)) MoveWindow(run, right - kButtonWidth, kMargin, kButtonWidth, kRowHeight, TRUE);
    const int filterTop = 2 * kMargin + kRowHeight;
    if (m_filter) MoveWindow(m_filter, kMargin, filterTop, right - kMargin, kRowHeight, TRUE);
    const int listTop = filterTop + kMargin + kRowHeight;
    const int statusTop = height - kMargin - kRowHeight + 4;
    if (m_results) MoveWindow(m_results, kMargin, listTop, right - kMargin, std::max(20, statusTop - kMargin - listTop), TRUE);
    if (m_status) MoveWindow(m_status, kMargin, statusTop, right - kMargin, kRowHeight - 4, TRUE);
}

std::string CompareWindow::TextOfChild(HWND child) const {
    wchar_t buffer[1024] = {};
    if (child) GetWindowTextW(child, buffer, 1024);
    return Narrow(buffer);
}

void CompareWindow::Compare() {
    CompareView::Request request = m_request ? m_request() : CompareView::Request{};
    request.otherServer = TextOfChild(m_other);
    m_view.Start(request);
    m_view.SetFilter(TextOfChild(m_filter));
    Refresh();
}

void CompareWindow::Refresh() {
    if (m_results) SendMessageW(m_results, LVM_SETITEMCOUNT, m_view.Count(), 0);
    if (m_results) InvalidateRect(m_results, nullptr, TRUE);
    const FindAllStatus status = m_view.Status();
    m_statusWarning = status.warning;
    if (m_status) {
        SetWindowTextW(m_status, Widen(status.text).c_str());
        InvalidateRect(m_status, nullptr, TRUE);
    }
}

LRESULT CompareWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: OnSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kRunId && HIWORD(wParam) == BN_CLICKED) Compare();
        else if (LOWORD(wParam) == kBrowseId && HIWORD(wParam) == BN_CLICKED && m_browse) {
            if (const auto chosen = m_browse()) {
                SetWindowTextW(m_other, Widen(*chosen).c_str());
                Compare();
            }
        } else if (LOWORD(wParam) == kFilterId && HIWORD(wParam) == EN_CHANGE) {
            m_view.SetFilter(TextOfChild(m_filter));
            Refresh();
        }
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && header->hwndFrom == m_results && header->code == LVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
            if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0)
                WidenInto(m_view.CellText(info->item.iItem, info->item.iSubItem), info->item.pszText, info->item.cchTextMax);
            return 0;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == m_status) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, m_statusWarning ? RGB(0xB0, 0, 0) : GetSysColor(COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case kTakeMessage:
        if (m_view.TakeResult()) Refresh();
        return 0;
    case kRowCountMessage: return m_view.Running() ? -1 : m_view.Count();
    case WM_CLOSE:
        m_view.Cancel();
        ShowWindow(m_hwnd, SW_HIDE);
        return 0;
    default: break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

}  // namespace morvi::win32
