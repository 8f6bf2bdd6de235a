#include "win32/PlacementWindow.h"

#include <algorithm>

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include "dialog/WindowGrowth.h"
#include "dialog/WindowTemplateTables.h"
#include "win32/CAboutDlg.h"
#include "win32/WideText.h"
#include "win32/Win32Seams.h"
#include "dialog/LanguageChoices.h"
#include "texts/ProgramTexts.h"
#include "texts/Translations.h"
#include "win32/WindowLanguage.h"

namespace morvi::win32 {
namespace {

constexpr UINT kFolderBrowserFlags = 0x59;   // file-system folders and ancestors, edit box, new style
constexpr DWORD kCaptionRepaintMs = 50;      // the progress caption repaints at most this often
constexpr size_t kOpenFileBufferChars = 32768;

std::wstring WindowTextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
    return text;
}

UINT MessageBoxFlags(MessageButtons buttons, MessageIcon icon) {
    UINT flags = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
    case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MessageIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
    case MessageIcon::Question: flags |= MB_ICONQUESTION; break;
    case MessageIcon::Stop: flags |= MB_ICONSTOP; break;
    }
    return flags;
}

// "(*.*)" as the dialog logic writes the all-files pattern would match only names in brackets;
// the file dialog gets the pattern inside them.
std::string DialogPattern(const std::string& pattern) {
    if (pattern.size() >= 2 && pattern.front() == '(' && pattern.back() == ')')
        return pattern.substr(1, pattern.size() - 2);
    return pattern;
}

// The link's three fixed texts: the shell verb, the program that opens the address, the address.
constexpr const char* kLinkVerb = "open";
constexpr const char* kLinkProgram = "explorer";

void OnLinkClicked(int) {
    ShellLaunch first{false, kLinkVerb, kLinkProgram, kProjectAddress, SW_SHOW};
    if (Win32Seams::RunShellExecute(nullptr, first) == 0) {
        ShellLaunch second{false, kLinkVerb, kProjectAddress, "", SW_SHOW};
        Win32Seams::RunShellExecute(nullptr, second);
    }
}

}  // namespace

// --- the window -----------------------------------------------------------------------------

PlacementWindow::PlacementWindow() : m_dlg(*this) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_appIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResourceId), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    m_smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResourceId), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    m_cursor = LoadCursorW(instance, MAKEINTRESOURCEW(kCursorResourceId));
}

PlacementWindow::~PlacementWindow() {
    RemoveKeyboardMap();
    m_link.Destroy();
    if (m_appIcon) DestroyIcon(m_appIcon);
    if (m_smallIcon) DestroyIcon(m_smallIcon);
}

INT_PTR PlacementWindow::DoModal(HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMainTemplateId), owner,
                           &PlacementWindow::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK PlacementWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<PlacementWindow*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
        self->m_hwnd = hwnd;
        self->m_items.clear();
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<PlacementWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return FALSE;
    const INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        self->m_items.clear();
    }
    return result;
}

BOOL PlacementWindow::OnInitDialog() {
    // The template's controls in its order, before any other control is made or moved.
    m_templateControls = TemplateControls(m_hwnd, MainWindowTemplate());
    // Template 102 at the DPI of the window's monitor, with the fonts of this system.
    if (m_layout.Attach(m_hwnd, MainWindowTemplate())) {
        m_layout.AddObstacle(kTemplateFilterRectDu);
        m_layout.AddObstacle(kListFilterRectDu);
        TakeOverDialogDpiChanges(m_hwnd);
        m_layout.Apply(WindowDpi(m_hwnd), kMainWidthDu, kMainHeightDu);
        SetClientSize(m_hwnd, m_layout.ClientSize(), m_layout.Dpi());
    }
    if (HMENU menu = GetSystemMenu(m_hwnd, FALSE)) {
        wchar_t text[256] = {};
        if (LoadStringW(GetModuleHandleW(nullptr), kAboutMenuStringId, text, 256) > 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, kAboutCommand, text);
        }
        AppendMenuW(menu, MF_STRING, kProblemsCommand, Widen(Text(TextId::ProblemsMenu)).c_str());
        if ((m_languageMenu = CreateLanguageMenu(kLanguageCommand, kLanguageCommandStep)))
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_languageMenu),
                        Widen(Text(TextId::MenuLanguage)).c_str());
    }
    SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_appIcon));
    SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));
    m_view.Attach(
        Item(IDC_PLACEMENT_LIST), [this] { return m_dlg.ListRows().Count(); },
        [this](int row, int column, std::string& out) { m_dlg.ListRows().AppendCellText(row, column, out); });
    ScaleListColumns(Item(IDC_PLACEMENT_LIST), kDefaultDpi, LayoutDpi());
    m_frameCaption = Narrow(WindowTextOf(Item(IDC_FRAME)));
    m_rows.OnRowsChanged([this] {
        QueueMapRefresh(true);
        QueueListStatus();
    });
    // Frames come first in the template, which puts them on top of what they frame; behind
    // the other controls they can never paint over them.
    std::vector<HWND> frames;
    for (HWND child = GetWindow(m_hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (lstrcmpiW(cls, L"Button") == 0 && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
            frames.push_back(child);
    }
    for (HWND frame : frames) SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CreateHyperlink();
    CreateStatusStrip();
    CreateTemplateFilter();
    CreateListFilterAndStatus();
    MakeResizable();
    InstallKeyboardMap();
    StartDiskWatch();
    SetCursor(m_cursor);
    m_dlg.OnInitDialog();
    return TRUE;
}

void PlacementWindow::CreateHyperlink() {
    HyperlinkParams params;
    params.parent = m_hwnd;
    params.id = 0;
    // Pixels at 96 DPI, scaled to the window's.
    const UINT dpi = LayoutDpi();
    params.x = ScaleToDpi(kLinkX, dpi);
    params.y = ScaleToDpi(kLinkY, dpi);
    params.width = ScaleToDpi(kLinkWidth, dpi);
    params.height = ScaleToDpi(kLinkHeight, dpi);
    params.face = Widen(kLinkFace);
    params.fontHeight = ScaleToDpi(kLinkFontHeight, dpi);
    params.bold = false;
    params.normalColour = params.hoverColour = params.backgroundColour = RGB(0, 0, 255);
    params.hasBackground = false;
    params.useCursor = true;
    params.cursor = m_cursor;
    params.onClick = &OnLinkClicked;
    params.text = Widen(kProjectAddress);
    // The address must be readable whole: the label widens when the font needs more than 150.
    if (HFONT font = CreateFontW(params.fontHeight, 0, 0, 0, FW_NORMAL, TRUE, TRUE, FALSE, DEFAULT_CHARSET,
                                 OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 0x36, params.face.c_str())) {
        HDC dc = GetDC(m_hwnd);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent{};
        if (GetTextExtentPoint32W(dc, params.text.c_str(), static_cast<int>(params.text.size()), &extent))
            params.width = std::max(params.width, static_cast<int>(extent.cx) + ScaleToDpi(8, dpi));
        SelectObject(dc, old);
        ReleaseDC(m_hwnd, dc);
        DeleteObject(font);
    }
    // Its place is given for the classic dialog font; with taller fonts the window ends above
    // y + height, and the label moves up so it is never cut off at the bottom.
    RECT client{};
    GetClientRect(m_hwnd, &client);
    params.y = std::max(0, std::min(params.y, static_cast<int>(client.bottom) - params.height));
    if (!m_link.CreateLink(params))
        ShowMessage(std::string(Text(TextId::LinkFailed)), std::string(Text(TextId::LinkFailedCaption)),
                    MessageButtons::Ok, MessageIcon::Stop);
}

INT_PTR PlacementWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (INT_PTR result = FALSE; OnLayoutMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(reinterpret_cast<NMHDR*>(lParam), result)) {
            SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_SYSCOMMAND:
        // The window system keeps the low four bits of a system command for itself.
        if ((wParam & 0xFFF0) == kAboutCommand) {
            m_dlg.OnSysCommand(static_cast<int>(wParam));
            return TRUE;
        }
        if ((wParam & 0xFFF0) == kProblemsCommand) {
            ToggleProblems();
            return TRUE;
        }
        if (const int choice = LanguageChoiceOfCommand(static_cast<UINT>(wParam & 0xFFF0), kLanguageCommand,
                                                       kLanguageCommandStep);
            choice >= 0) {
            m_dlg.OnLanguageChosen(kLanguageChoices[choice].language);
            return TRUE;
        }
        return FALSE;
    case WM_TIMER:
        if (wParam != kDiskWatchTimer) return FALSE;
        WatchFiles();
        return TRUE;
    case WM_WINDOWPOSCHANGED:
        // A docked problems panel moves with the window; the default still sends WM_SIZE.
        if (m_problems) m_problems->FollowOwner();
        return FALSE;
    case WM_CONTEXTMENU:
        return OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
    case WM_DESTROY:
        RemoveKeyboardMap();
        return FALSE;
    case WM_PAINT:
        return OnPaint();
    case kDpiChangedMessage:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_appIcon);
    case ReportListView::kFlushMessage:
        m_view.OnFlushMessage();
        return TRUE;
    case kMapRefreshMessage:
        RefreshMapView();
        return TRUE;
    case kListStatusMessage:
        UpdateListStatus();
        return TRUE;
    case kCaptionMessage:
        // The last caption of a handler that changed it faster than it was shown.
        m_flushPosted = false;
        if (m_frameCaptionStale) {
            m_frameRepaintTick = 0;
            RepaintFrameCaption();
        }
        return TRUE;
    default:
        return FALSE;
    }
}

bool PlacementWindow::OnPaint() {
    if (!IsIconic(m_hwnd)) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hwnd, &ps);
    SendMessageW(m_hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hwnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_appIcon);
    EndPaint(m_hwnd, &ps);
    return true;
}

void PlacementWindow::OnCommand(int id, int code) {
    using Handler = void (CPlacementDlg::*)();
    struct ButtonHandler {
        int id;
        Handler handler;
    };
    static constexpr ButtonHandler kButtons[] = {
        {IDC_BROWSE_SERVER, &CPlacementDlg::OnBrowseServer},
        {IDC_EXIT, &CPlacementDlg::OnExit},
        {IDC_ADD, &CPlacementDlg::OnAdd},
        {IDC_BROWSE_SCRIPT, &CPlacementDlg::OnBrowseScript},
        {IDC_EXCHANGE, &CPlacementDlg::OnExchange},
        {IDC_EDIT_SCRIPT, &CPlacementDlg::OnEditScript},
        {IDC_FIND_ALL, &CPlacementDlg::OnFindFirst},
        {IDC_MODIFY, &CPlacementDlg::OnModify},
        {IDC_CANCEL_EDIT, &CPlacementDlg::OnCancelEdit},
        {IDC_FIND_NEXT, &CPlacementDlg::OnFindNext},
    };
    if (id == IDOK) {
        m_dlg.OnOK();     // Enter: nothing
        return;
    }
    if (id == IDCANCEL) {
        m_dlg.OnCancel(); // Escape and the close box
        return;
    }
    if (code == BN_CLICKED) {
        // The window shows what the save and the delete report through the controls already;
        // the status strip adds the last write.
        if (id == IDC_SAVE) {
            SaveAndShowStatus();
            return;
        }
        if (id == IDC_DELETE) {
            DeleteAndShowStatus();
            return;
        }
        for (const ButtonHandler& button : kButtons) {
            if (button.id == id) {
                (m_dlg.*button.handler)();
                return;
            }
        }
    }
    if (code == 0 || code == 1) {
        // Menu entries (0) and keys (1) beyond the template.
        if (OnExtraCommand(id)) return;
    }
    if (id == kTemplateFilterId && code == EN_CHANGE && m_filter) m_templates.SetFilter(Narrow(WindowTextOf(m_filter)));
    else if (id == kListFilterId && code == EN_CHANGE && m_listFilter) {
        m_dlg.OnListFilterChanged(Narrow(WindowTextOf(m_listFilter)));
        UpdateListStatus();
    }
    else if (id == IDC_MAP_LIST && code == LBN_SELCHANGE) m_dlg.LoadMapPlacements();
    else if (id == IDC_TEMPLATE_LIST && code == LBN_DBLCLK) m_dlg.OnTemplateDblClk();
    else if (id == IDC_TEMPLATE_LIST && code == LBN_SETFOCUS) m_dlg.OnTemplateSetFocus();
    else if (id == IDC_GROUP && code == CBN_SETFOCUS) m_dlg.OnGroupSetFocus();
}

bool PlacementWindow::OnNotify(NMHDR* header, LRESULT& result) {
    if (!header || header->idFrom != static_cast<UINT_PTR>(IDC_PLACEMENT_LIST)) return false;
    switch (header->code) {
    case LVN_GETDISPINFOW:
        return m_view.OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
    case NM_CLICK:
        m_dlg.OnListClick();
        break;
    case NM_DBLCLK:
        m_dlg.OnListDblClk();
        break;
    case NM_SETFOCUS:
        m_dlg.OnListSetFocus();
        break;
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        QueueMapRefresh(false);   // the map rings the selection
        QueueListStatus();        // and the status counts it
        return false;
    case LVN_COLUMNCLICK:
        m_dlg.OnHeadingClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        ShowSortArrow();
        UpdateListStatus();
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

// --- texts of controls ----------------------------------------------------------------------

HWND PlacementWindow::Item(int id) const {
    if (const auto known = m_items.find(id); known != m_items.end()) return known->second;
    HWND item = GetDlgItem(m_hwnd, id);
    if (item) m_items.emplace(id, item);   // a control that is not there is asked again
    return item;
}

std::string PlacementWindow::ItemText(int id) const {
    if (id == IDC_FRAME) return m_frameCaption;
    HWND item = Item(id);
    return item ? Narrow(WindowTextOf(item)) : std::string();
}

void PlacementWindow::SetItemText(int id, const std::string& text) {
    // A load sets the same progress caption after every record: repeating it costs nothing.
    if (id == IDC_FRAME && text == m_frameCaption) return;
    HWND item = Item(id);
    if (!item) return;
    if (id == IDC_FRAME) {
        m_frameCaption = text;
        RepaintFrameCaption();
        return;
    }
    const std::wstring wide = Widen(text);
    if (WindowTextOf(item) != wide) SetWindowTextW(item, wide.c_str());
}

void PlacementWindow::RepaintFrameCaption() {
    // A group box draws its caption over whatever is behind it: the strip is erased by the
    // dialog first, or a shorter caption would leave the end of the longer one behind.
    // During a long load nothing else gets painted: the progress shows every few milliseconds,
    // and the caption changes in between cost no window-system call.
    const DWORD now = GetTickCount();
    if (m_frameRepaintTick != 0 && now - m_frameRepaintTick < kCaptionRepaintMs) {
        m_frameCaptionStale = true;
        if (!m_flushPosted && PostMessageW(m_hwnd, kCaptionMessage, 0, 0)) m_flushPosted = true;
        return;
    }
    m_frameRepaintTick = now;
    m_frameCaptionStale = false;
    HWND frame = Item(IDC_FRAME);
    SetWindowTextW(frame, Widen(m_frameCaption).c_str());
    RECT strip;
    GetWindowRect(frame, &strip);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&strip), 2);
    HDC dc = GetDC(frame);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(frame, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(frame, dc);
    strip.bottom = strip.top + metrics.tmHeight + 2;
    RedrawWindow(m_hwnd, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void PlacementWindow::UpdateItemNow(int id) {
    if (id == IDC_FRAME) {
        m_frameRepaintTick = 0;
        RepaintFrameCaption();
        return;
    }
    if (HWND item = Item(id)) RedrawWindow(item, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void PlacementWindow::FocusItem(int id) {
    // The control that gains the focus notifies the dialog itself (LBN_SETFOCUS and the like).
    if (HWND item = Item(id)) SetFocus(item);
}

bool PlacementWindow::IsItemChecked(int id) const { return IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED; }

// --- list boxes and combo boxes -------------------------------------------------------------

// Only the host fills the list boxes, so it knows their counts: the loader asks for the template
// count once per record, and a window-system call per record would slow a large map down.
int PlacementWindow::ListBoxCount(int id) const {
    if (id == IDC_TEMPLATE_LIST && m_templates.Attached()) return m_templates.Count();
    if (auto known = m_listBoxCounts.find(id); known != m_listBoxCounts.end()) return known->second;
    const LRESULT count = SendDlgItemMessageW(m_hwnd, id, LB_GETCOUNT, 0, 0);
    return m_listBoxCounts[id] = count < 0 ? 0 : static_cast<int>(count);
}

void PlacementWindow::ListBoxAdd(int id, const std::string& text) {
    if (id == IDC_TEMPLATE_LIST && m_templates.Attached()) return m_templates.Add(text);
    SendDlgItemMessageW(m_hwnd, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    m_listBoxCounts.erase(id);
}

void PlacementWindow::ListBoxDelete(int id, int index) {
    if (id == IDC_TEMPLATE_LIST && m_templates.Attached()) return m_templates.Delete(index);
    SendDlgItemMessageW(m_hwnd, id, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    m_listBoxCounts.erase(id);
}

std::string PlacementWindow::ListBoxText(int id, int index) const {
    if (id == IDC_TEMPLATE_LIST && m_templates.Attached()) return m_templates.Text(index);
    const LRESULT length = SendDlgItemMessageW(m_hwnd, id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendDlgItemMessageW(m_hwnd, id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return Narrow(text);
}

int PlacementWindow::ListBoxSelection(int id) const {
    if (id == IDC_TEMPLATE_LIST && m_templates.Attached()) return m_templates.Selection();
    const LRESULT selected = SendDlgItemMessageW(m_hwnd, id, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

void PlacementWindow::ListBoxSetSelection(int id, int index) {
    if (id == IDC_TEMPLATE_LIST && m_templates.Attached()) {
        // The template the logic selects must show: "Them" takes it.
        return m_templates.SetSelection(index, [this] {
            if (m_filter) SetWindowTextW(m_filter, L"");
            m_templates.SetFilter({});
        });
    }
    // LB_SETCURSEL scrolls the item into view and sends no notification.
    SendDlgItemMessageW(m_hwnd, id, LB_SETCURSEL, static_cast<WPARAM>(index < 0 ? -1 : index), 0);
}

int PlacementWindow::ComboCount(int id) const {
    const LRESULT count = SendDlgItemMessageW(m_hwnd, id, CB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

void PlacementWindow::ComboInsert(int id, int index, const std::string& text) {
    SendDlgItemMessageW(m_hwnd, id, CB_INSERTSTRING, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

std::string PlacementWindow::ComboItemText(int id, int index) const {
    const LRESULT length = SendDlgItemMessageW(m_hwnd, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendDlgItemMessageW(m_hwnd, id, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                               reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return Narrow(text);
}

int PlacementWindow::ComboSelection(int id) const {
    const LRESULT selected = SendDlgItemMessageW(m_hwnd, id, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void PlacementWindow::ComboSetSelection(int id, int index) {
    SendDlgItemMessageW(m_hwnd, id, CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? -1 : index), 0);
}

// --- the desktop ----------------------------------------------------------------------------

MessageAnswer PlacementWindow::ShowMessage(const std::string& text, const std::string& caption,
                                           MessageButtons buttons, MessageIcon icon) {
    if (auto answer = Win32Seams::TakeAnswer({text, caption, buttons, icon})) return *answer;
    switch (MessageBoxW(m_hwnd, Widen(text).c_str(), Widen(caption).c_str(), MessageBoxFlags(buttons, icon))) {
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    case IDOK: return MessageAnswer::Ok;
    default: return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
}

std::optional<std::string> PlacementWindow::BrowseForFolder(const std::string& title) {
    if (auto answered = Win32Seams::TakeFolder(title)) return *answered;
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return std::nullopt;
    wchar_t displayName[MAX_PATH] = {};
    const std::wstring wideTitle = Widen(title);
    BROWSEINFOW info{};
    info.hwndOwner = m_hwnd;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = kFolderBrowserFlags;
    std::optional<std::string> chosen;
    if (PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(item, path)) chosen = Narrow(path);
        allocator->Free(item);
    }
    allocator->Release();
    return chosen;
}

std::optional<std::string> PlacementWindow::ChooseFileToOpen(const std::vector<FileFilter>& filters,
                                                             const std::string& defaultExtension) {
    if (auto answered = Win32Seams::TakeOpenFile({filters, defaultExtension})) return *answered;
    // Label and pattern pairs, each ended by a NUL, the whole list by one more.
    std::wstring filter;
    for (const FileFilter& f : filters) {
        filter += Widen(f.label);
        filter += L'\0';
        filter += Widen(DialogPattern(f.pattern));
        filter += L'\0';
    }
    filter += L'\0';
    std::wstring extension = Widen(defaultExtension);
    if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);
    std::wstring file(kOpenFileBufferChars, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_hwnd;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // The overwrite prompt is the only extra flag, so the read-only check box shows.
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT;
    if (!GetOpenFileNameW(&ofn)) return std::nullopt;
    return Narrow(file.c_str());
}

void PlacementWindow::OpenInEditor(const std::string& path) {
    // Notepad takes its whole parameter string as the file name: the path goes unquoted.
    // ShellExecute reports a failure as a value of 32 or less; the strip says so in red.
    if (Win32Seams::RunShellExecute(m_hwnd, ShellLaunch{true, "", "notepad", path, SW_SHOW}) <= 32)
        ShowStatusLine({Format(TextId::NotepadFailed, {path}), true});
}

void PlacementWindow::ShowAboutBox() {
    if (Win32Seams::SkipAboutBox()) return;
    CAboutDlg about;
    about.DoModal(m_hwnd);
}

void PlacementWindow::RebuildTexts() {
    const Language before = m_shownLanguage;
    m_shownLanguage = CurrentLanguage();
    SetWindowTextW(m_hwnd, Widen(Text(TextId::MainWindowTitle)).c_str());
    // The frame keeps the caption the dialog gave it; the dialog puts that into the language.
    ApplyTemplateTexts(MainWindowTemplate(), m_templateControls, IDC_FRAME);
    m_view.RefreshHeadings();
    if (HMENU menu = GetSystemMenu(m_hwnd, FALSE)) {
        ModifyMenuW(menu, kAboutCommand, MF_BYCOMMAND | MF_STRING, kAboutCommand,
                    Widen(Text(TextId::AboutMenuEntry)).c_str());
        ModifyMenuW(menu, kProblemsCommand, MF_BYCOMMAND | MF_STRING, kProblemsCommand,
                    Widen(Text(TextId::ProblemsMenu)).c_str());
        for (int i = GetMenuItemCount(menu) - 1; i >= 0 && m_languageMenu; --i) {
            if (GetSubMenu(menu, i) != m_languageMenu) continue;
            DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);   // destroys the popup too
            m_languageMenu = CreateLanguageMenu(kLanguageCommand, kLanguageCommandStep);
            if (m_languageMenu)
                InsertMenuW(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_POPUP,
                            reinterpret_cast<UINT_PTR>(m_languageMenu), Widen(Text(TextId::MenuLanguage)).c_str());
            break;
        }
    }
    if (m_filter)
        SendMessageW(m_filter, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(Widen(Text(TextId::TemplateFilterCue)).c_str()));
    if (m_listFilter)
        SendMessageW(m_listFilter, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(Widen(Text(TextId::ListFilterCue)).c_str()));
    if (m_status) {
        const std::string shown = Narrow(WindowTextOf(m_status));
        if (!shown.empty()) SetWindowTextW(m_status, Widen(RetranslateShown(shown, before, m_shownLanguage)).c_str());
    }
    OnTextsChanged();
    UpdateListStatus();
    // An open map view is made again in the language.
    if (m_mapView && m_mapView->IsOpen()) {
        m_mapView.reset();
        ShowMapView();
    }
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void PlacementWindow::EndDialog(int result) { ::EndDialog(m_hwnd, result); }

uint32_t PlacementWindow::TickCount() { return GetTickCount(); }

std::string PlacementWindow::CurrentDirectory() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(length, L'\0');
    const DWORD copied = GetCurrentDirectoryW(length, directory.data());
    directory.resize(copied < length ? copied : 0);
    return Narrow(directory);
}

}  // namespace morvi::win32
