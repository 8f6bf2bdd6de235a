#pragma once
// The map view on Windows: a window of its own, owned by the main window, that draws the
// loaded map with the window logic's model and pixels (MapViewModel, RenderMapPixels). The
// mouse and keys are MapViewGesture's: a left click picks the stack under the pointer, a left
// drag from a selected spot moves the selection, from elsewhere draws a band; right or middle
// drag pans, the wheel zooms around the pointer, a double click on an empty spot starts a new
// placement there, Delete deletes the selection; "Fit" shows the whole map; a tooltip lists
// the placements of the stack under the pointer.

#include <functional>
#include <span>
#include <string>
#include <vector>

#include <windows.h>

#include "dialog/MapViewGesture.h"
#include "dialog/MapViewModel.h"
#include "dialog/MapViewRaster.h"

namespace morvi::win32 {

class MapViewWindow {
public:
    using RowsPicked = std::function<void(const std::vector<int>& rows)>;   // list order, never empty
    using HoverText = std::function<std::string(std::span<const int> rows)>;
    // What the map asks of the main window: the selection moved, a new placement on a spot, the
    // delete of the selection.
    struct Edits {
        std::function<void(int dx, int dy)> move;
        std::function<void(int x, int y)> addAt;
        std::function<void()> deleteSelection;
    };

    // Test seam: sent to the window, these answer the model's point and selected stack counts.
    static constexpr UINT kPointCountMessage = WM_APP + 20;
    static constexpr UINT kSelectedStacksMessage = WM_APP + 21;
    // Test seam: wParam MAKEWPARAM(x, y) in map units; answers MAKELRESULT(x, y), the client
    // point where that map position is drawn.
    static constexpr UINT kClientPointMessage = WM_APP + 22;
    static constexpr const wchar_t* kClassName = L"MorviMapView";

    MapViewWindow(RowsPicked picked, HoverText hover, Edits edits = {});
    ~MapViewWindow();
    MapViewWindow(const MapViewWindow&) = delete;
    MapViewWindow& operator=(const MapViewWindow&) = delete;

    // Makes the window the first time (owned by `owner`), shows it and brings it to the front.
    void Show(HWND owner);
    bool IsOpen() const { return m_hwnd != nullptr; }
    HWND Window() const { return m_hwnd; }
    void SetPoints(std::vector<MapPoint> points, const std::vector<int>& selectedRows);
    void SetSelectedRows(const std::vector<int>& rows);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnSize(int width, int height);
    void OnPaint();
    void PaintLegend(HDC dc, const RECT& client);
    void PaintCanvas(HDC dc);
    // Draws the map into the bitmap: the pixels, then the count labels.
    void DrawMap(int width, int height, MapLayer layer);
    void OnButtonDown(MapButton button, POINT at);
    void OnMouseMove(POINT at);
    void OnButtonUp(POINT at);
    void Carry(const MapGestureResult& result);
    void OnWheel(int delta, POINT screenAt);
    void UpdateHover(POINT at);
    bool EnsureBitmap(int width, int height);
    void FreeBitmap();
    // Canvas coordinates of a point of the client area.
    POINT InCanvas(POINT client) const { return {client.x - m_canvas.left, client.y - m_canvas.top}; }

    RowsPicked m_picked;
    HoverText m_hover;
    Edits m_edits;
    HWND m_hwnd = nullptr;
    HWND m_fit = nullptr;
    HWND m_tooltip = nullptr;
    HFONT m_font = nullptr;          // legend and count labels
    MapViewModel m_model;
    MapViewTransform m_transform;
    MapViewGesture m_gesture{m_model, m_transform};
    MapDragFrames m_frames;
    RECT m_canvas{};                 // in the client area
    bool m_fitted = false;
    HDC m_memory = nullptr;          // the canvas is drawn here, then copied in one step
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    uint32_t* m_bits = nullptr;
    int m_bitmapWidth = 0, m_bitmapHeight = 0;
    int m_hoverStack = -1;
    std::wstring m_hoverText;
};

}  // namespace morvi::win32
