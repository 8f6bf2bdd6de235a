#include "win32/ProblemsPanel.h"

#include <algorithm>
#include <cstdlib>

#include <commctrl.h>

#include "texts/ProgramTexts.h"
#include "win32/ToolWindows.h"
#include "win32/WideText.h"

namespace morvi::win32 {
namespace {

constexpr int kMargin = 6;
constexpr int kButtonHeight = 24;
constexpr int kStatusHeight = 20;
constexpr int kProgressWidth = 160;
constexpr int kDockSnap = 16;          // pixels from the owner's edge that dock the panel again
constexpr LONG kMinDockedWidth = 360;  // narrower room beside the owner is no room
constexpr LONG kMinDockedHeight = 200;
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMilliseconds = 150;
constexpr int kColumnWidths[] = {70, 170, 56, 40, 520};   // the reason gets the room

std::wstring W(TextId id) { return Widen(Text(id)); }

}  // namespace

ProblemsPanel::ProblemsPanel(CPlacementDlg& dlg, DialogHost& host) : m_view(std::make_unique<ProblemsView>(dlg, host)) {}

ProblemsPanel::~ProblemsPanel() {
    if (m_hwnd) DestroyWindow(m_hwnd);
    if (m_font) DeleteObject(m_font);
}

void ProblemsPanel::Show(HWND owner) {
    m_owner = owner;
    if (!m_hwnd && RegisterToolWindowClass(kClassName)) {
        HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, W(TextId::ProblemsCaption).c_str(),
                                    WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX & ~WS_MAXIMIZEBOX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 640, 420, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!hwnd) return;
        m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProblemsPanel::WindowProc));
        OnCreate();
        m_docked = true;
        Dock();
        RECT client{};
        GetClientRect(hwnd, &client);
        OnSize(client.right, client.bottom);
        SetTimer(hwnd, kPollTimer, kPollMilliseconds, nullptr);
        m_view->CheckLoadedMap();
        Fill();
    }
    if (!m_hwnd) return;
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
}

void ProblemsPanel::Toggle(HWND owner) {
    if (IsVisible()) {
        ShowWindow(m_hwnd, SW_HIDE);
        return;
    }
    Show(owner);
}

void ProblemsPanel::Dock() {
    if (!m_hwnd || !m_owner) return;
    RECT owner{}, mine{};
    GetWindowRect(m_owner, &owner);
    GetWindowRect(m_hwnd, &mine);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(m_owner, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& work = info.rcWork;
    const LONG wanted = mine.right - mine.left;
    const LONG height = owner.bottom - owner.top;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    // Along the owner's right edge, as tall as it; where the screen has no room there, along its
    // left edge, else below it; with no room anywhere, to the right all the same.
    if (work.right - owner.right >= kMinDockedWidth || owner.left - work.left < kMinDockedWidth) {
        const LONG width = work.right - owner.right >= kMinDockedWidth ? std::min(wanted, work.right - owner.right) : wanted;
        if (work.right - owner.right >= kMinDockedWidth || work.bottom - owner.bottom < kMinDockedHeight) {
            SetWindowPos(m_hwnd, nullptr, owner.right, owner.top, width, height, flags);
            return;
        }
        SetWindowPos(m_hwnd, nullptr, owner.left, owner.bottom, owner.right - owner.left,
                     std::min<LONG>(mine.bottom - mine.top, work.bottom - owner.bottom), flags);
        return;
    }
    const LONG width = std::min(wanted, owner.left - work.left);
    SetWindowPos(m_hwnd, nullptr, owner.left - width, owner.top, width, height, flags);
}

void ProblemsPanel::FollowOwner() {
    if (m_hwnd && m_docked && !IsIconic(m_owner)) Dock();
}

void ProblemsPanel::OnCreate() {
    m_font = CreateMessageFont();
    const auto child = [&](const wchar_t* cls, const std::wstring& text, DWORD style, int id, DWORD exStyle = 0) {
        HWND h = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, m_hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        if (h && m_font) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        return h;
    };
    m_buttons[0] = child(L"BUTTON", W(TextId::ProblemsCheckMap), WS_TABSTOP | BS_PUSHBUTTON, kCheckMapId);
    m_buttons[1] = child(L"BUTTON", W(TextId::ProblemsCheckEveryMap), WS_TABSTOP | BS_PUSHBUTTON, kCheckAllId);
    m_buttons[2] = child(L"BUTTON", W(TextId::ProblemsCancel), WS_TABSTOP | BS_PUSHBUTTON, kCancelId);
    m_buttons[3] = child(L"BUTTON", W(TextId::ProblemsNoFix), WS_TABSTOP | BS_PUSHBUTTON, kFixId);
    m_lines = child(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kLinesId,
                    WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(m_lines, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    for (int c = 0; c < static_cast<int>(ProblemsColumn::Count); ++c) {
        std::wstring heading = Widen(ProblemsView::Heading(static_cast<ProblemsColumn>(c)));
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = (c == static_cast<int>(ProblemsColumn::Offset) || c == static_cast<int>(ProblemsColumn::Row))
                         ? LVCFMT_RIGHT
                         : LVCFMT_LEFT;
        column.cx = kColumnWidths[c];
        column.pszText = heading.data();
        ListView_InsertColumn(m_lines, c, &column);
    }
    m_status = child(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kStatusId);
    m_progress = child(PROGRESS_CLASSW, L"", 0, kProgressId);
}

void ProblemsPanel::OnSize(int width, int height) {
    int x = kMargin;
    for (HWND button : m_buttons) {
        wchar_t text[128] = {};
        GetWindowTextW(button, text, 128);
        SIZE size{};
        HDC dc = GetDC(button);
        HGDIOBJ old = SelectObject(dc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
        SelectObject(dc, old);
        ReleaseDC(button, dc);
        const int w = std::max<int>(80, size.cx + 24);
        MoveWindow(button, x, kMargin, w, kButtonHeight, TRUE);
        x += w + kMargin;
    }
    const int top = kMargin * 2 + kButtonHeight;
    const int bottom = height - kMargin - kStatusHeight;
    MoveWindow(m_lines, kMargin, top, std::max(10, width - 2 * kMargin), std::max(10, bottom - top - kMargin), TRUE);
    MoveWindow(m_status, kMargin, bottom + 2, std::max(10, width - 3 * kMargin - kProgressWidth), kStatusHeight - 2,
               TRUE);
    MoveWindow(m_progress, width - kMargin - kProgressWidth, bottom, kProgressWidth, kStatusHeight, TRUE);
}

LRESULT CALLBACK ProblemsPanel::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ProblemsPanel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        return result;
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT ProblemsPanel::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: OnSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
    case WM_TIMER:
        if (wParam == kPollTimer) Refresh();
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom != m_lines) break;
        if (header->code == NM_CLICK || header->code == LVN_ITEMACTIVATE) {
            const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
            Activate(item->iItem >= 0 ? item->iItem : CurrentLine());
        } else if (header->code == LVN_ITEMCHANGED) {
            UpdateButtons();
        }
        return 0;
    }
    case WM_EXITSIZEMOVE: {
        // Dragged away from the owner's edge it floats; back within a few pixels it docks.
        RECT owner{}, mine{};
        GetWindowRect(m_owner, &owner);
        GetWindowRect(m_hwnd, &mine);
        const auto touches = [](LONG a, LONG b) { return std::abs(a - b) <= kDockSnap; };
        m_docked = (touches(mine.left, owner.right) && touches(mine.top, owner.top)) ||
                   (touches(mine.right, owner.left) && touches(mine.top, owner.top)) ||
                   (touches(mine.top, owner.bottom) && touches(mine.left, owner.left));
        if (m_docked) Dock();
        return 0;
    }
    case WM_CLOSE: ShowWindow(m_hwnd, SW_HIDE); return 0;
    case kLineCountMessage: return ListView_GetItemCount(m_lines);
    case kActivateMessage:
        if (wParam == 0) return 0;
        ListView_SetItemState(m_lines, static_cast<int>(wParam - 1), LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        return m_view->OnActivate(wParam - 1) == ProblemsView::Shown::Selected ? 1 : 0;
    default: break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void ProblemsPanel::OnCommand(int id) {
    switch (id) {
    case kCheckMapId: m_view->CheckLoadedMap(); break;
    case kCheckAllId: m_view->StartEveryMap(); break;
    case kCancelId: m_view->Cancel(); break;
    case kFixId: {
        const int line = CurrentLine();
        if (line >= 0) m_view->OnFix(static_cast<size_t>(line));
        break;
    }
    default: return;
    }
    Fill();
}

void ProblemsPanel::Activate(int line) {
    if (line < 0) return;
    m_view->OnActivate(static_cast<size_t>(line));
    // Another map may have been loaded: its lines are made again.
    if (m_view->Poll()) Fill();
    else SetWindowTextW(m_status, Widen(m_view->Status()).c_str());
}

void ProblemsPanel::Refresh() {
    if (!m_hwnd || (!IsWindowVisible(m_hwnd) && !m_view->Running())) return;
    const bool running = m_view->Running();
    if (!m_view->Poll()) return;
    // While every map is checked the lines are filled in at most once a second (a server may
    // have thousands); the progress follows every poll.
    const DWORD now = GetTickCount();
    if (running && m_view->Running() && now - m_lastFill < 1000) {
        SetWindowTextW(m_status, Widen(m_view->Status()).c_str());
        SendMessageW(m_progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(std::max<size_t>(1, m_view->MapsTotal())));
        SendMessageW(m_progress, PBM_SETPOS, static_cast<WPARAM>(m_view->MapsDone()), 0);
        return;
    }
    m_lastFill = now;
    Fill();
}

int ProblemsPanel::CurrentLine() const { return ListView_GetNextItem(m_lines, -1, LVNI_SELECTED); }

void ProblemsPanel::Fill() {
    const int keep = CurrentLine();
    SendMessageW(m_lines, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(m_lines);
    const int columns = static_cast<int>(ProblemsColumn::Count);
    for (size_t i = 0; i < m_view->Count(); ++i) {
        for (int c = 0; c < columns; ++c) {
            std::wstring text = Widen(m_view->Cell(i, static_cast<ProblemsColumn>(c)));
            if (c == 0) {
                LVITEMW item{};
                item.mask = LVIF_TEXT;
                item.iItem = static_cast<int>(i);
                item.pszText = text.data();
                ListView_InsertItem(m_lines, &item);
            } else {
                ListView_SetItemText(m_lines, static_cast<int>(i), c, text.data());
            }
        }
    }
    if (keep >= 0 && keep < ListView_GetItemCount(m_lines))
        ListView_SetItemState(m_lines, keep, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(m_lines, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_lines, nullptr, TRUE);
    SetWindowTextW(m_status, Widen(m_view->Status()).c_str());
    const bool running = m_view->Running();
    ShowWindow(m_progress, running ? SW_SHOWNA : SW_HIDE);
    if (running) {
        SendMessageW(m_progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(std::max<size_t>(1, m_view->MapsTotal())));
        SendMessageW(m_progress, PBM_SETPOS, static_cast<WPARAM>(m_view->MapsDone()), 0);
    }
    UpdateButtons();
}

void ProblemsPanel::UpdateButtons() {
    const bool running = m_view->Running();
    EnableWindow(m_buttons[0], !running);
    EnableWindow(m_buttons[1], !running);
    EnableWindow(m_buttons[2], running);
    const int line = CurrentLine();
    const std::string fix = line >= 0 ? m_view->FixText(static_cast<size_t>(line)) : std::string();
    SetWindowTextW(m_buttons[3], fix.empty() ? W(TextId::ProblemsNoFix).c_str() : Widen(fix).c_str());
    EnableWindow(m_buttons[3], line >= 0 && m_view->CanFix(static_cast<size_t>(line)));
}

}  // namespace morvi::win32
