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

}  // namespace
}  // namespace morvi
