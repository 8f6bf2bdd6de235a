#include "dialog/MapViewRaster.h"

#include <algorithm>
#include <cmath>

namespace morvi {
namespace {

constexpr uint32_t kBackground = 0xFAFAF5;
constexpr uint32_t kSpace = 0xFFFFFF;
constexpr uint32_t kGrid = 0xE1E1E1;
constexpr uint32_t kBorder = 0xA0A0A0;
constexpr uint32_t kScriptCore = 0x141414;
constexpr uint32_t kSelectionRing = 0xFFAA00;

// Fills the pixels of [x0, x1] x [y0, y1], clipped to the image.
void Fill(const MapPixels& image, int x0, int y0, int x1, int y1, uint32_t colour) {
    x0 = std::max(0, x0);
    y0 = std::max(0, y0);
    x1 = std::min(image.width - 1, x1);
    y1 = std::min(image.height - 1, y1);
    if (x0 > x1 || y0 > y1) return;
    colour |= image.alpha;
    for (int y = y0; y <= y1; ++y) {
        uint32_t* line = image.pixels + static_cast<ptrdiff_t>(y) * image.stride;
        std::fill(line + x0, line + x1 + 1, colour);
    }
}

int Round(double v) { return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6))); }

}  // namespace

uint32_t MapTypeRgb(int type) {
    switch (type) {
    case 0: return 0xD62728;   // Enemy
    case 3: return 0x1F77B4;   // TalkNPC
    case 4: return 0x9467BD;   // NPC(Fly)
    case 5: return 0x2CA02C;   // NPC(Ground)
    default: return 0x7F7F7F;
    }
}

std::vector<int> RenderMapPixels(const MapPixels& image, const MapViewModel& model, const MapViewTransform& t,
                                 MapLayer layer) {
    Fill(image, 0, 0, image.width - 1, image.height - 1, kBackground);
    const MapPointF a = t.ToView(0, 0), b = t.ToView(kMapSpaceWidth, kMapSpaceHeight);
    const int left = Round(a.x), top = Round(a.y), right = Round(b.x), bottom = Round(b.y);
    Fill(image, left, top, right, bottom, kSpace);
    for (int gx = 100; gx < 1000; gx += 100) {
        const int x = Round(t.ToView(gx, 0).x);
        Fill(image, x, top, x, bottom, kGrid);
    }
    for (int gy = 100; gy < 500; gy += 100) {
        const int y = Round(t.ToView(0, gy).y);
        Fill(image, left, y, right, y, kGrid);
    }
    Fill(image, left, top, right, top, kBorder);
    Fill(image, left, bottom, right, bottom, kBorder);
    Fill(image, left, top, left, bottom, kBorder);
    Fill(image, right, top, right, bottom, kBorder);

    uint32_t colours[6];
    for (int i = 0; i < 6; ++i) colours[i] = MapTypeRgb(i);
    const uint32_t other = MapTypeRgb(-1);
    const auto& stacks = model.Stacks();
    std::vector<int> labelled;
    for (size_t s = 0; s < stacks.size(); ++s) {
        const MapStack& stack = stacks[s];
        const bool selected = model.IsStackSelected(static_cast<int>(s));
        if (selected && layer == MapLayer::WithoutDragged && model.IsStackWhollySelected(static_cast<int>(s))) continue;
        const MapPointF v = t.ToView(stack.x, stack.y);
        if (v.x < -8 || v.y < -8 || v.x > image.width + 8 || v.y > image.height + 8) continue;
        const int x = Round(v.x), y = Round(v.y);
        const int r = stack.count > 1 ? 3 : 2;
        if (selected && layer == MapLayer::All) Fill(image, x - r - 2, y - r - 2, x + r + 2, y + r + 2, kSelectionRing);
        Fill(image, x - r, y - r, x + r, y + r, stack.type >= 0 && stack.type < 6 ? colours[stack.type] : other);
        if (stack.anyScript) Fill(image, x, y, x, y, kScriptCore);
        if (stack.count > 1 && static_cast<int>(labelled.size()) <= kMaxMapCountLabels)
            labelled.push_back(static_cast<int>(s));
    }
    if (static_cast<int>(labelled.size()) > kMaxMapCountLabels) labelled.clear();
    return labelled;
}

void RenderDraggedSelection(const MapPixels& image, const MapViewModel& model, const MapViewTransform& t, int dx, int dy) {
    const auto& stacks = model.Stacks();
    for (int s : model.SelectedStacks()) {
        const MapStack& stack = stacks[static_cast<size_t>(s)];
        const MapPointF v = t.ToView(stack.x + dx, stack.y + dy);
        if (v.x < -8 || v.y < -8 || v.x > image.width + 8 || v.y > image.height + 8) continue;
        const int x = Round(v.x), y = Round(v.y);
        const int r = stack.count > 1 ? 3 : 2;
        Fill(image, x - r - 2, y - r - 2, x + r + 2, y + r + 2, kSelectionRing);
        Fill(image, x - r, y - r, x + r, y + r, MapTypeRgb(stack.type));
        if (stack.anyScript) Fill(image, x, y, x, y, kScriptCore);
    }
}

void MapDragFrames::Keep(const MapPixels& drawn) {
    m_width = drawn.width;
    m_height = drawn.height;
    m_pixels.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    for (int y = 0; y < m_height; ++y) {
        const uint32_t* line = drawn.pixels + static_cast<ptrdiff_t>(y) * drawn.stride;
        std::copy(line, line + m_width, m_pixels.begin() + static_cast<ptrdiff_t>(y) * m_width);
    }
}

void MapDragFrames::Drop() {
    m_pixels.clear();
    m_pixels.shrink_to_fit();
    m_width = m_height = 0;
}

void MapDragFrames::Compose(const MapPixels& image, const MapViewModel& model, const MapViewTransform& t, int dx,
                            int dy) const {
    if (!Holds(image.width, image.height)) return;
    for (int y = 0; y < m_height; ++y) {
        const uint32_t* kept = m_pixels.data() + static_cast<ptrdiff_t>(y) * m_width;
        std::copy(kept, kept + m_width, image.pixels + static_cast<ptrdiff_t>(y) * image.stride);
    }
    RenderDraggedSelection(image, model, t, dx, dy);
}

}  // namespace morvi
