// The map view's pixels: each dot in its type's colour where the transform puts it, the script
// core and the selection ring, nothing written outside the image however far the view is
// zoomed or panned, and the count labels dropped when there would be too many.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "dialog/MapViewRaster.h"

namespace morvi {
namespace {

struct Image {
    // A guard band of pixels around the image catches any write outside it.
    static constexpr uint32_t kGuard = 0xDEADBEEF;
    int width, height, stride;
    std::vector<uint32_t> memory;
    Image(int w, int h) : width(w), height(h), stride(w + 8), memory(static_cast<size_t>(stride) * (h + 8), kGuard) {}
    MapPixels Pixels() { return {memory.data() + 4 * stride + 4, width, height, stride, 0xFF000000u}; }
    uint32_t At(int x, int y) const { return memory[static_cast<size_t>((y + 4) * stride + x + 4)] & 0xFFFFFF; }
    bool GuardIntact() const {
        for (int y = -4; y < height + 4; ++y)
            for (int x = -4; x < stride - 4; ++x)
                if ((x < 0 || y < 0 || x >= width || y >= height) &&
                    memory[static_cast<size_t>((y + 4) * stride + x + 4)] != kGuard)
                    return false;
        return true;
    }
};

TEST(MapViewRasterTest, DotsTakeTheirTypesColourScriptCoreAndSelectionRing) {
    MapViewModel model;
    model.SetPoints({{100, 100, 0, false, 0}, {500, 250, 3, true, 1}, {900, 400, 9, false, 2}, {900, 400, 5, false, 3}});
    model.SetSelectedRows(std::vector<int>{0});
    MapViewTransform t;
    t.SetViewport(1000, 500);
    t.Fit();
    Image image(1000, 500);
    const std::vector<int> labelled = RenderMapPixels(image.Pixels(), model, t);
    auto pixelOf = [&](int mx, int my, int dx = 0) {
        const MapPointF v = t.ToView(mx, my);
        return image.At(static_cast<int>(std::lround(v.x)) + dx, static_cast<int>(std::lround(v.y)));
    };
    EXPECT_EQ(pixelOf(100, 100), MapTypeRgb(0));
    EXPECT_EQ(pixelOf(100, 100, 3), 0xFFAA00u) << "the selected dot is ringed";
    EXPECT_EQ(pixelOf(500, 250), 0x141414u) << "a script record's dot has a dark core";
    EXPECT_EQ(pixelOf(500, 250, 1), MapTypeRgb(3));
    EXPECT_EQ(pixelOf(900, 400, 3), MapTypeRgb(-1)) << "a stack of two is larger, in its top row's colour";
    ASSERT_EQ(labelled.size(), 1u) << "only the stack of two gets its count";
    EXPECT_EQ(model.Stacks()[static_cast<size_t>(labelled[0])].count, 2);
    EXPECT_EQ(image.At(2, 2), 0xFAFAF5u) << "outside the coordinate space: the background";
    EXPECT_TRUE(image.GuardIntact());
}

TEST(MapViewRasterTest, NothingIsWrittenOutsideTheImageWhereverTheViewIs) {
    std::vector<MapPoint> points;
    for (int i = 0; i < 400; ++i) points.push_back({(i * 37) % 1000, (i * 53) % 500, i % 6, i % 3 == 0, i});
    MapViewModel model;
    model.SetPoints(points);
    model.SetSelectedRows(std::vector<int>{0, 5, 399});
    struct View { int w, h; double zoom, atX, atY, panX, panY; };
    const View views[] = {{1, 1, 1, 0, 0, 0, 0},        {7, 3, 1, 0, 0, 0, 0},         {640, 320, 400, 0, 0, 0, 0},
                          {640, 320, 400, 639, 319, 0, 0}, {300, 200, 0.01, 150, 100, 0, 0}, {500, 250, 3, 250, 125, -2000, 900}};
    for (const View& v : views) {
        MapViewTransform t;
        t.SetViewport(v.w, v.h);
        t.Fit();
        t.ZoomAt(v.zoom, v.atX, v.atY);
        t.PanBy(v.panX, v.panY);
        Image image(v.w, v.h);
        RenderMapPixels(image.Pixels(), model, t);
        EXPECT_TRUE(image.GuardIntact()) << v.w << "x" << v.h << " zoom " << v.zoom;
    }
}

TEST(MapViewRasterTest, TooManyStacksInViewGetNoCountLabels) {
    std::vector<MapPoint> points;
    for (int i = 0; i <= kMaxMapCountLabels; ++i) {
        const int x = i % 1000, y = (i / 1000) * 7;
        points.push_back({x, y, 0, false, 2 * i});
        points.push_back({x, y, 0, false, 2 * i + 1});   // every spot holds two
    }
    MapViewModel model;
    model.SetPoints(points);
    MapViewTransform t;
    t.SetViewport(400, 200);
    t.Fit();
    Image image(400, 200);
    EXPECT_TRUE(RenderMapPixels(image.Pixels(), model, t).empty());
    model.SetPoints(std::vector<MapPoint>(points.begin(), points.begin() + 2 * kMaxMapCountLabels));
    EXPECT_EQ(RenderMapPixels(image.Pixels(), model, t).size(), static_cast<size_t>(kMaxMapCountLabels));
}

TEST(MapViewRasterTest, ADragFrameIsTheMapWithTheSelectionDrawnMovedAndTheRestInPlace) {
    // Rows 0 and 1 share a spot; row 1 alone is selected, so that spot stays (unringed) while
    // row 1 is dragged. Row 2 is selected wholly and leaves its spot.
    const std::vector<MapPoint> points{{100, 100, 0, false, 0}, {100, 100, 3, false, 1}, {520, 260, 5, true, 2},
                                       {900, 400, 4, false, 3}};
    MapViewModel model;
    model.SetPoints(points);
    model.SetSelectedRows(std::vector<int>{1, 2});
    MapViewTransform t;
    t.SetViewport(1000, 500);
    t.Fit();
    const int dx = 40, dy = -30;

    Image kept(1000, 500);
    RenderMapPixels(kept.Pixels(), model, t, MapLayer::WithoutDragged);
    MapDragFrames frames;
    frames.Keep(kept.Pixels());
    ASSERT_TRUE(frames.Holds(1000, 500));
    Image frame(1000, 500);
    frames.Compose(frame.Pixels(), model, t, dx, dy);
    EXPECT_TRUE(frame.GuardIntact());

    const auto at = [&](const Image& image, double mx, double my) {
        const MapPointF v = t.ToView(mx, my);
        return image.At(static_cast<int>(std::lround(v.x)), static_cast<int>(std::lround(v.y)));
    };
    // The ring lies just outside the dot: 2 pixels around it, the dot's radius 2 (3 for a stack).
    const auto ringAt = [&](const Image& image, double mx, double my, int radius = 2) {
        const MapPointF v = t.ToView(mx, my);
        return image.At(static_cast<int>(std::lround(v.x)) + radius + 2, static_cast<int>(std::lround(v.y)));
    };
    // Row 2's spot is empty now; it is drawn, ringed, where the drag takes it.
    EXPECT_EQ(at(frame, 520, 260), 0xFFFFFFu) << "the coordinate space's white";
    EXPECT_EQ(ringAt(frame, 520 + dx, 260 + dy), 0xFFAA00u);
    EXPECT_EQ(at(frame, 520 + dx + 1, 260 + dy), MapTypeRgb(5));
    // The shared spot stays for row 0, without the ring; the dragged copy carries it.
    EXPECT_EQ(at(frame, 100, 100), MapTypeRgb(0));
    EXPECT_NE(ringAt(frame, 100, 100, 3), 0xFFAA00u);
    EXPECT_EQ(ringAt(frame, 100 + dx, 100 + dy, 3), 0xFFAA00u);
    // Unselected spots are where they were.
    EXPECT_EQ(at(frame, 900, 400), MapTypeRgb(4));

    // A move of nothing shows what a full drawing shows for the wholly selected spot.
    Image still(1000, 500), full(1000, 500);
    frames.Compose(still.Pixels(), model, t, 0, 0);
    RenderMapPixels(full.Pixels(), model, t);
    const MapPointF spot = t.ToView(520, 260);
    for (int x = static_cast<int>(spot.x) - 10; x < spot.x + 10; ++x)
        for (int y = static_cast<int>(spot.y) - 10; y < spot.y + 10; ++y)
            ASSERT_EQ(still.At(x, y), full.At(x, y)) << x << "," << y;

    // A frame of another size is never composed from the kept one.
    Image other(800, 400);
    frames.Compose(other.Pixels(), model, t, dx, dy);
    EXPECT_EQ(other.memory[static_cast<size_t>(4 * other.stride + 4)], Image::kGuard);
    frames.Drop();
    EXPECT_FALSE(frames.Holds(1000, 500));
}

TEST(MapViewRasterTest, TheSelectionsBoundsAndWholeStacksFollowTheSelectedRows) {
    MapViewModel model;
    model.SetPoints({{100, 100, 0, false, 0}, {100, 100, 3, false, 1}, {500, 250, 5, true, 2}, {900, 40, 4, false, 3}});
    EXPECT_TRUE(model.SelectionBounds().empty);
    model.SetSelectedRows(std::vector<int>{3, 1});
    const MapViewModel::Bounds b = model.SelectionBounds();
    EXPECT_FALSE(b.empty);
    EXPECT_EQ(b.minX, 100);
    EXPECT_EQ(b.maxX, 900);
    EXPECT_EQ(b.minY, 40);
    EXPECT_EQ(b.maxY, 100);
    const int shared = model.StackOfRow(0);
    EXPECT_TRUE(model.IsStackSelected(shared));
    EXPECT_FALSE(model.IsStackWhollySelected(shared));
    EXPECT_TRUE(model.IsStackWhollySelected(model.StackOfRow(3)));
    EXPECT_EQ(model.SelectedStacks().size(), 2u);
}

}  // namespace
}  // namespace morvi
