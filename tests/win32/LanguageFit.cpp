#include "LanguageFit.h"

#include <filesystem>
#include <fstream>

#include "win32/WideText.h"

namespace morvi::win32::test {
namespace {

constexpr int kButtonEdgesPx = 6;    // both edges of a push button and their gaps
constexpr int kFrameMarginPx = 16;   // a frame's line before and after its caption
constexpr int kCheckGapPx = 4;       // between a check box's box and its text

}  // namespace

std::vector<CutText> CutTemplateTexts(HWND dialog, std::span<const DialogItem> table) {
    std::vector<CutText> cut;
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    for (const DialogItem& item : table) {
        if (item.text == kNoText) continue;
        RECT r{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog, &r);
        int room = r.right - r.left;
        switch (item.kind) {
        case ControlKind::Button:
        case ControlKind::DefaultButton: room -= kButtonEdgesPx; break;
        case ControlKind::CheckBox: room -= GetSystemMetrics(SM_CXMENUCHECK) + kCheckGapPx; break;
        case ControlKind::GroupBox: room -= kFrameMarginPx; break;
        case ControlKind::Label: break;
        default: continue;
        }
        const std::string text(Text(item.text));
        std::wstring wide = Widen(text);
        if (item.kind == ControlKind::Label && (item.styles & style::kWrap)) {
            RECT lines{0, 0, room, 0};
            DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &lines, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            if (lines.bottom > r.bottom - r.top) cut.push_back({text, static_cast<int>(lines.bottom), static_cast<int>(r.bottom - r.top)});
            continue;
        }
        SIZE extent{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
        if (extent.cx > room) cut.push_back({text, static_cast<int>(extent.cx), room});
    }
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    return cut;
}

std::string Describe(const std::vector<CutText>& cut) {
    std::string out;
    for (const CutText& c : cut)
        out += " \"" + c.text + "\" (" + std::to_string(c.needed) + " > " + std::to_string(c.room) + ")";
    return out;
}

bool SaveWindowPicture(HWND window, const std::wstring& path) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;   // bottom-up, as BMP files keep their rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    const int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height) return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;   // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

}  // namespace morvi::win32::test
