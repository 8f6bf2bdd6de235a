#include "win32/MapViewWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <commctrl.h>
#include <windowsx.h>

#include "dialog/MapViewRaster.h"
#include "document/NameTables.h"
#include "win32/WideText.h"
#include "texts/ProgramTexts.h"

namespace morvi::win32 {
namespace {

constexpr int kMargin = 6;
constexpr int kStripHeight = 32;   // the legend strip above the canvas
constexpr int kFitButtonId = 1;

COLORREF ToColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

bool RegisterOnce() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW;   // replaced per window in WM_NCCREATE
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = MapViewWindow::kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    return registered;
}

}  // namespace

MapViewWindow::MapViewWindow(RowsPicked picked, HoverText hover, Edits edits)
    : m_picked(std::move(picked)), m_hover(std::move(hover)), m_edits(std::move(edits)) {}

MapViewWindow::~MapViewWindow() {
    if (m_hwnd) DestroyWindow(m_hwnd);
    FreeBitmap();
    if (m_font) DeleteObject(m_font);
}

void MapViewWindow::Show(HWND owner) {
    if (!m_hwnd && RegisterOnce()) {
        // The class's procedure is DefWindowProcW; this window's own is set before WM_CREATE.
        HWND hwnd = CreateWindowExW(0, kClassName, Widen(Text(TextId::MenuMapView).data()).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 1040, 600, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!hwnd) return;
        m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MapViewWindow::WindowProc));
        OnCreate();
        RECT client{};
        GetClientRect(hwnd, &client);
        OnSize(client.right, client.bottom);
    }
    if (!m_hwnd) return;
    ShowWindow(m_hwnd, IsIconic(m_hwnd) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(m_hwnd);
}

void MapViewWindow::SetPoints(std::vector<MapPoint> points, const std::vector<int>& selectedRows) {
    m_model.SetPoints(std::move(points));
    m_model.SetSelectedRows(selectedRows);
    m_hoverStack = -1;
    m_frames.Drop();
    if (m_hwnd) InvalidateRect(m_hwnd, &m_canvas, FALSE);
}

void MapViewWindow::SetSelectedRows(const std::vector<int>& rows) {
    m_model.SetSelectedRows(rows);
    m_frames.Drop();
    if (m_hwnd) InvalidateRect(m_hwnd, &m_canvas, FALSE);
}

LRESULT CALLBACK MapViewWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MapViewWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->Handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = self->m_fit = self->m_tooltip = nullptr;
        self->m_fitted = false;
        self->m_gesture.Cancel();
        self->m_frames.Drop();
        self->m_hoverStack = -1;
        self->FreeBitmap();
    }
    return result;
}

void MapViewWindow::OnCreate() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HGDIOBJ guiFont = GetStockObject(DEFAULT_GUI_FONT);
    m_fit = CreateWindowExW(0, L"BUTTON", L"Fit", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kMargin, 5, 70, 22,
                            m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFitButtonId)), instance, nullptr);
    if (m_fit) SendMessageW(m_fit, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    if (!m_font)
        m_font = CreateFontW(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr, instance,
                                nullptr);
    if (m_tooltip) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.hwnd = m_hwnd;
        tool.uId = 1;
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, 640);   // several lines, one per placement
    }
}

void MapViewWindow::OnSize(int width, int height) {
    m_canvas = {kMargin, kStripHeight, std::max(kMargin + 1, width - kMargin), std::max(kStripHeight + 1, height - kMargin)};
    m_transform.SetViewport(m_canvas.right - m_canvas.left, m_canvas.bottom - m_canvas.top);
    m_frames.Drop();
    if (!m_fitted && width > 2 * kMargin && height > kStripHeight + kMargin) {
        m_fitted = true;
        m_transform.Fit();
    }
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

bool MapViewWindow::EnsureBitmap(int width, int height) {
    if (m_bitmap && width == m_bitmapWidth && height == m_bitmapHeight) return true;
    FreeBitmap();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top row first, as the pixels are drawn
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_memory = CreateCompatibleDC(nullptr);
    if (!m_bitmap || !m_memory || !bits) {
        FreeBitmap();
        return false;
    }
    m_oldBitmap = SelectObject(m_memory, m_bitmap);
    m_bits = static_cast<uint32_t*>(bits);
    m_bitmapWidth = width;
    m_bitmapHeight = height;
    return true;
}

void MapViewWindow::FreeBitmap() {
    if (m_memory && m_oldBitmap) SelectObject(m_memory, m_oldBitmap);
    if (m_memory) DeleteDC(m_memory);
    if (m_bitmap) DeleteObject(m_bitmap);
    m_memory = nullptr;
    m_bitmap = nullptr;
    m_oldBitmap = nullptr;
    m_bits = nullptr;
    m_bitmapWidth = m_bitmapHeight = 0;
}

void MapViewWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hwnd, &ps);
    RECT client{};
    GetClientRect(m_hwnd, &client);
    PaintLegend(dc, client);
    PaintCanvas(dc);
    EndPaint(m_hwnd, &ps);
}

void MapViewWindow::PaintLegend(HDC dc, const RECT& client) {
    // Everything but the canvas: the strip with the legend and the margins.
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, m_canvas.left, m_canvas.top, m_canvas.right, m_canvas.bottom);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int textTop = (kStripHeight - metrics.tmHeight) / 2;
    int x = kMargin + 70 + 10;
    const auto text = [&](const std::string& utf8) {
        const std::wstring wide = Widen(utf8);
        TextOutW(dc, x, textTop, wide.c_str(), static_cast<int>(wide.size()));
        SIZE extent{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
        x += extent.cx + 10;
    };
    for (int type : kMapLegendTypes) {
        HBRUSH brush = CreateSolidBrush(ToColorRef(MapTypeRgb(type)));
        const RECT square{x, kStripHeight / 2 - 5, x + 10, kStripHeight / 2 + 5};
        FillRect(dc, &square, brush);
        DeleteObject(brush);
        x += 14;
        text(type < 0 ? std::string(Text(TextId::MapViewOther)) : std::string(NameOfCode(NpcTypeNames(), type)));
    }
    text(std::string(Text(TextId::MapViewMarks)));
    text(std::string(Text(TextId::MapViewEditMarks)));
    RestoreDC(dc, saved);
}

void MapViewWindow::DrawMap(int width, int height, MapLayer layer) {
    GdiFlush();   // the pixels are written directly; no GDI drawing may still be pending on them
    const std::vector<int> labelled = RenderMapPixels({m_bits, width, height, width, 0}, m_model, m_transform, layer);
    if (labelled.empty()) return;
    HGDIOBJ oldFont = SelectObject(m_memory, m_font ? static_cast<HGDIOBJ>(m_font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(m_memory, TRANSPARENT);
    SetTextColor(m_memory, RGB(30, 30, 30));
    SetTextAlign(m_memory, TA_BASELINE | TA_LEFT);
    for (int s : labelled) {
        const MapStack& stack = m_model.Stacks()[static_cast<size_t>(s)];
        const MapPointF v = m_transform.ToView(stack.x, stack.y);
        const std::wstring count = std::to_wstring(stack.count);
        TextOutW(m_memory, static_cast<int>(std::lround(v.x)) + 5, static_cast<int>(std::lround(v.y)) - 3, count.c_str(),
                 static_cast<int>(count.size()));
    }
    SelectObject(m_memory, oldFont);
    GdiFlush();
}

void MapViewWindow::PaintCanvas(HDC dc) {
    const int width = m_canvas.right - m_canvas.left, height = m_canvas.bottom - m_canvas.top;
    if (width <= 0 || height <= 0 || !EnsureBitmap(width, height)) return;
    const MapPixels pixels{m_bits, width, height, width, 0};
    if (m_gesture.Active() == MapViewGesture::Kind::Move) {
        // The map without the dragged spots is drawn once; each frame adds them where they go.
        if (!m_frames.Holds(width, height)) {
            DrawMap(width, height, MapLayer::WithoutDragged);
            m_frames.Keep(pixels);
        }
        const MapMove move = m_gesture.PreviewMove();
        m_frames.Compose(pixels, m_model, m_transform, move.dx, move.dy);
    } else {
        m_frames.Drop();
        DrawMap(width, height, MapLayer::All);
    }
    if (m_gesture.Active() == MapViewGesture::Kind::Band) {
        const MapRectF band = m_gesture.Band();
        const int left = static_cast<int>(std::min(band.left, band.right)), top = static_cast<int>(std::min(band.top, band.bottom));
        const int right = static_cast<int>(std::max(band.left, band.right)), bottom = static_cast<int>(std::max(band.top, band.bottom));
        HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 90, 200));
        HGDIOBJ oldPen = SelectObject(m_memory, pen);
        HGDIOBJ oldBrush = SelectObject(m_memory, GetStockObject(NULL_BRUSH));
        Rectangle(m_memory, left, top, right + 1, bottom + 1);
        SelectObject(m_memory, oldBrush);
        SelectObject(m_memory, oldPen);
        DeleteObject(pen);
    }
    BitBlt(dc, m_canvas.left, m_canvas.top, width, height, m_memory, 0, 0, SRCCOPY);
}

void MapViewWindow::Carry(const MapGestureResult& result) {
    if (result.redraw && m_hwnd) InvalidateRect(m_hwnd, &m_canvas, FALSE);
    if (m_gesture.Active() == MapViewGesture::Kind::None && GetCapture() == m_hwnd) ReleaseCapture();
    if (m_gesture.Active() == MapViewGesture::Kind::Move) SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
    if (!result.picked.empty() && m_picked) m_picked(result.picked);
    if (result.move && m_edits.move) m_edits.move(result.move->dx, result.move->dy);
    if (result.addAt && m_edits.addAt) m_edits.addAt(result.addAt->x, result.addAt->y);
    if (result.deleteSelection && m_edits.deleteSelection) m_edits.deleteSelection();
}

void MapViewWindow::OnButtonDown(MapButton button, POINT at) {
    if (!PtInRect(&m_canvas, at)) return;
    SetFocus(m_hwnd);   // Delete and Escape reach the map
    const POINT here = InCanvas(at);
    Carry(m_gesture.Press(button, here.x, here.y));
    SetCapture(m_hwnd);
}

void MapViewWindow::OnMouseMove(POINT at) {
    const POINT here = InCanvas(at);
    if (m_gesture.Active() != MapViewGesture::Kind::None)
        Carry(m_gesture.DragTo(here.x, here.y));
    else
        UpdateHover(at);
}

void MapViewWindow::OnButtonUp(POINT at) {
    const POINT here = InCanvas(at);
    // The capture is released after the gesture ended, so WM_CAPTURECHANGED finds none.
    Carry(m_gesture.Release(here.x, here.y));
    if (GetCapture() == m_hwnd) ReleaseCapture();
}

void MapViewWindow::OnWheel(int delta, POINT screenAt) {
    ScreenToClient(m_hwnd, &screenAt);
    const POINT at = InCanvas(screenAt);
    m_transform.ZoomAt(std::pow(1.25, delta / static_cast<double>(WHEEL_DELTA)), at.x, at.y);
    m_frames.Drop();
    InvalidateRect(m_hwnd, &m_canvas, FALSE);
}

void MapViewWindow::UpdateHover(POINT at) {
    if (!m_tooltip) return;
    const POINT here = InCanvas(at);
    const int stack = PtInRect(&m_canvas, at) ? m_model.StackAt(m_transform, here.x, here.y, MapViewGesture::kHitRadius) : -1;
    if (stack == m_hoverStack) return;
    m_hoverStack = stack;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hwnd;
    tool.uId = 1;
    if (stack < 0 || !m_hover) {
        SendMessageW(m_tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    m_hoverText = Widen(m_hover(m_model.RowsOf(m_model.Stacks()[static_cast<size_t>(stack)])));
    tool.lpszText = m_hoverText.data();
    SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    POINT screen{at.x + 16, at.y + 16};
    ClientToScreen(m_hwnd, &screen);
    SendMessageW(m_tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
    SendMessageW(m_tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, m_hwnd, 0};
    TrackMouseEvent(&leave);
}

LRESULT MapViewWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;   // the paint covers the whole client area
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kFitButtonId && HIWORD(wParam) == BN_CLICKED) {
            m_transform.Fit();
            m_frames.Drop();
            InvalidateRect(m_hwnd, &m_canvas, FALSE);
            SetFocus(m_hwnd);   // the keys stay the map's
        }
        return 0;
    case WM_LBUTTONDOWN: OnButtonDown(MapButton::Left, at); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(MapButton::Right, at); return 0;
    case WM_MBUTTONDOWN: OnButtonDown(MapButton::Middle, at); return 0;
    case WM_LBUTTONDBLCLK:
        if (PtInRect(&m_canvas, at)) {
            const POINT here = InCanvas(at);
            Carry(m_gesture.DoubleClick(here.x, here.y));
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_DELETE || wParam == VK_ESCAPE) {
            Carry(m_gesture.Key(wParam == VK_DELETE ? MapKey::Delete : MapKey::Escape));
            return 0;
        }
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    case WM_MOUSEMOVE: OnMouseMove(at); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: OnButtonUp(at); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_hwnd) Carry(m_gesture.Cancel());
        return 0;
    case WM_MOUSEWHEEL: OnWheel(GET_WHEEL_DELTA_WPARAM(wParam), at); return 0;
    case WM_MOUSELEAVE:
        UpdateHover({-1, -1});
        return 0;
    case WM_CLOSE:
        DestroyWindow(m_hwnd);
        return 0;
    case kPointCountMessage: return m_model.PointCount();
    case kSelectedStacksMessage: return m_model.SelectedStackCount();
    case kClientPointMessage: {
        const MapPointF v = m_transform.ToView(LOWORD(wParam), HIWORD(wParam));
        return MAKELRESULT(static_cast<int>(std::lround(v.x)) + m_canvas.left, static_cast<int>(std::lround(v.y)) + m_canvas.top);
    }
    default:
        return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

}  // namespace morvi::win32
