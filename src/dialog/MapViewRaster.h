#pragma once
// The map view drawn into 32-bit pixels (0x00RRGGBB in each uint32_t, as both a Qt RGB32
// image and a Windows 32-bit DIB hold them): the background, the coordinate space with a grid
// every 100 map units, every stack as a dot coloured by its type, scripts marked with a dark
// core, stacks of several placements as larger dots, the selection ringed. Both desktop
// windows draw this; each adds the stacks' count labels with its own text drawing.

#include <cstdint>
#include <vector>

#include "dialog/MapViewModel.h"

namespace morvi {

// Colour of a type code (0x00RRGGBB); codes without a name share one colour.
uint32_t MapTypeRgb(int type);
// The types the legend names, in its order, and the one colour of all others (-1).
inline constexpr int kMapLegendTypes[] = {0, 3, 4, 5, -1};

// Count labels are drawn for at most this many stacks in view: beyond that they would only
// cover each other (and the redraw of a crowded map would be spent on text).
inline constexpr int kMaxMapCountLabels = 1500;

struct MapPixels {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;   // pixels from one row to the next
    uint32_t alpha = 0;   // the top byte of every pixel written: 0xFF000000 where the format wants it
};

// What a drawing leaves out: nothing, or the stacks whose every row is selected (while the
// selection is dragged they are drawn where the pointer takes them instead).
enum class MapLayer { All, WithoutDragged };

// Draws the whole view; returns the stacks (indices into the model's Stacks()) whose count
// the front end labels next to the dot: none when more than kMaxMapCountLabels are in view.
std::vector<int> RenderMapPixels(const MapPixels& image, const MapViewModel& model, const MapViewTransform& transform,
                                 MapLayer layer = MapLayer::All);

// Draws the selected stacks moved by (dx, dy) map units, ringed, over what the image holds.
void RenderDraggedSelection(const MapPixels& image, const MapViewModel& model, const MapViewTransform& transform,
                            int dx, int dy);

// The frames of a drag of the selection: the map without the dragged stacks is drawn once when
// the drag starts (labels included) and kept; each frame copies it and draws only the
// selection at its new place, so a frame costs a copy of the image and the selected dots,
// whatever the number of placements.
class MapDragFrames {
public:
    // Keeps a copy of `drawn` (the view as RenderMapPixels drew it with MapLayer::WithoutDragged).
    void Keep(const MapPixels& drawn);
    bool Holds(int width, int height) const { return !m_pixels.empty() && width == m_width && height == m_height; }
    void Drop();
    // Copies the kept image into `image` (of the kept size) and draws the selection moved.
    void Compose(const MapPixels& image, const MapViewModel& model, const MapViewTransform& transform, int dx,
                 int dy) const;

private:
    std::vector<uint32_t> m_pixels;
    int m_width = 0, m_height = 0;
};

}  // namespace morvi
