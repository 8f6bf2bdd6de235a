#include "win32/DpiLayout.h"

#include <algorithm>
#include <string>

#include <commctrl.h>

#include "dialog/TemplateFit.h"

namespace morvi::win32 {
namespace {

// The smallest font a text that does not fit may take: the dialog font two points smaller.
constexpr int kMaxSmallerPoints = 2;

template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

HFONT CreateDialogFontAt(int points, UINT dpi) {
    const std::wstring face(kDialogFontFace, kDialogFontFace + std::char_traits<char>::length(kDialogFontFace));
    return CreateFontW(-MulDiv(points, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE,
                       face.c_str());
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(window, text.data(), length + 1))));
    return text;
}

// What a control shows of its text: "&x" underlines x, "&&" shows one '&'.
std::wstring ShownText(const std::wstring& text, bool prefix) {
    if (!prefix) return text;
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

class MeasuringDc {
public:
    MeasuringDc() : m_dc(CreateCompatibleDC(nullptr)) {}
    ~MeasuringDc() {
        if (m_old) SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    MeasuringDc(const MeasuringDc&) = delete;
    MeasuringDc& operator=(const MeasuringDc&) = delete;
    void Use(HFONT font) {
        HGDIOBJ old = SelectObject(m_dc, font);
        if (!m_old) m_old = old;
    }
    int Width(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    int LineHeight() const {
        TEXTMETRICW metrics{};
        GetTextMetricsW(m_dc, &metrics);
        return metrics.tmHeight;
    }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

int ScaleToDpi(int pixels96, UINT dpi) { return MulDiv(pixels96, static_cast<int>(dpi), kDefaultDpi); }

void TakeOverDialogDpiChanges(HWND dialog) {
    // DDC_DISABLE_ALL: neither the dialog's size nor its controls' places and fonts.
    using SetBehaviourFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour = User32Function<SetBehaviourFn>("SetDialogDpiChangeBehavior");
    constexpr int kDisableAll = 1;
    if (setBehaviour) setBehaviour(dialog, kDisableAll, kDisableAll);
}

void SetClientSize(HWND window, SIZE client, UINT dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    RECT frame{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame may be drawn for another DPI than asked (a system without per-monitor frames):
    // what the client area lacks or has too much is made up once more.
    RECT got{};
    GetClientRect(window, &got);
    if (got.right != client.cx || got.bottom != client.cy) {
        RECT outer{};
        GetWindowRect(window, &outer);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + client.cx - got.right,
                     outer.bottom - outer.top + client.cy - got.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

BaseUnits BaseUnitsOf(HFONT font) {
    MeasuringDc dc;
    dc.Use(font);
    const int letters = dc.Width(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {(letters / 26 + 1) / 2, dc.LineHeight()};
}

TemplateLayout::~TemplateLayout() { DeleteFonts(); }

void TemplateLayout::DeleteFonts() {
    for (HFONT font : m_fonts)
        if (font) DeleteObject(font);
    m_fonts.clear();
}

bool TemplateLayout::Attach(HWND dialog, std::span<const DialogItem> table) {
    m_dialog = dialog;
    m_table = table;
    m_controls.clear();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        m_controls.push_back(child);
    if (m_controls.size() != table.size()) {
        m_controls.clear();
        return false;
    }
    return true;
}

void TemplateLayout::AddObstacle(const int (&rectDu)[4]) {
    m_obstacles.push_back({0, ControlKind::Edit, kNoText, rectDu[0], rectDu[1], rectDu[2], rectDu[3], style::kNone});
}

bool TemplateLayout::IsTemplateControl(HWND child) const {
    return std::find(m_controls.begin(), m_controls.end(), child) != m_controls.end();
}

HFONT TemplateLayout::FontSmallerBy(int points) {
    return m_fonts[static_cast<size_t>(std::clamp(points, 0, static_cast<int>(m_fonts.size()) - 1))];
}

void TemplateLayout::Apply(UINT dpi, int widthDu, int heightDu) {
    if (m_controls.empty()) return;
    std::vector<HFONT> previous = std::move(m_fonts);
    m_fonts.clear();
    for (int smaller = 0; smaller <= kMaxSmallerPoints; ++smaller)
        m_fonts.push_back(CreateDialogFontAt(kDialogFontPoints - smaller, dpi));
    m_dpi = dpi;
    m_units = BaseUnitsOf(Font());
    m_client = {m_units.X(widthDu), m_units.Y(heightDu)};

    MeasuringDc dc;
    dc.Use(Font());
    const int lineHeight = dc.LineHeight();
    std::vector<std::wstring> texts;
    std::vector<FitControl> controls;
    for (size_t i = 0; i < m_table.size(); ++i) {
        const DialogItem& item = m_table[i];
        HWND control = m_controls[i];
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
        const RECT r = m_units.Rect(item.x, item.y, item.cx, item.cy);
        FitControl fit{&item, {r.left, r.top, r.right, r.bottom}, 0, lineHeight};
        if (item.kind == ControlKind::DropList) {
            // The template's height holds the dropped list; the closed box is what takes room.
            const LRESULT field = SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
            fit.rect.bottom = fit.rect.top + std::max(lineHeight, static_cast<int>(field)) + ScaleToDpi(6, dpi);
        }
        const bool prefix = item.kind != ControlKind::Label || !(item.styles & style::kNoPrefix);
        texts.push_back(ShownText(WindowText(control), prefix));
        fit.textWidth = dc.Width(texts.back());
        controls.push_back(fit);
    }
    for (const DialogItem& obstacle : m_obstacles) {
        const RECT r = m_units.Rect(obstacle.x, obstacle.y, obstacle.cx, obstacle.cy);
        controls.push_back({&obstacle, {r.left, r.top, r.right, r.bottom}, 0, lineHeight});
        texts.emplace_back();
    }
    FitSpacing spacing;
    spacing.gap = ScaleToDpi(3, dpi);
    spacing.buttonPadding = ScaleToDpi(8, dpi);
    spacing.checkBox = ScaleToDpi(18, dpi);
    spacing.leftLimit = m_units.X(4);
    spacing.rightLimit = m_client.cx - m_units.X(4);
    const auto measure = [&](size_t index, int smaller) {
        MeasuringDc small;
        small.Use(FontSmallerBy(smaller));
        return small.Width(texts[index]);
    };
    const std::vector<FitResult> fitted = FitTemplateTexts(controls, spacing, measure, kMaxSmallerPoints);

    HDWP moves = BeginDeferWindowPos(static_cast<int>(m_controls.size()));
    for (size_t i = 0; i < m_controls.size(); ++i) {
        const DialogItem& item = m_table[i];
        const FitRect& to = fitted[i].rect;
        if (fitted[i].smallerPoints > 0)
            SendMessageW(m_controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontSmallerBy(fitted[i].smallerPoints)), FALSE);
        // A combo box's window holds its dropped list; a static icon keeps the icon's size.
        const int height = item.kind == ControlKind::DropList ? m_units.Y(item.y + item.cy) - m_units.Y(item.y) : to.Height();
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (item.kind == ControlKind::Icon ? SWP_NOSIZE : 0);
        if (moves) moves = DeferWindowPos(moves, m_controls[i], nullptr, to.left, to.top, to.Width(), height, flags);
        else SetWindowPos(m_controls[i], nullptr, to.left, to.top, to.Width(), height, flags);
    }
    if (moves) EndDeferWindowPos(moves);
    for (HFONT font : previous)
        if (font) DeleteObject(font);
    InvalidateRect(m_dialog, nullptr, TRUE);
}

void ScaleListColumns(HWND list, UINT fromDpi, UINT toDpi) {
    if (!list || fromDpi == toDpi || fromDpi == 0) return;
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int column = 0; column < count; ++column) {
        const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
        SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                     MAKELPARAM(MulDiv(width, static_cast<int>(toDpi), static_cast<int>(fromDpi)), 0));
    }
}

}  // namespace morvi::win32
