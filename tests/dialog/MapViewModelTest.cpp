// The map view's model: the map <-> view transform, stacks of placements on one spot, hit
// tests of a click and a rubber band, selection by rows, hover text.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "dialog/MapViewModel.h"

namespace morvi {
namespace {

MapViewTransform FittedView(double w, double h) {
    MapViewTransform t;
    t.SetViewport(w, h);
    t.Fit();
    return t;
}

TEST(MapViewTransformTest, FitShowsTheWholeSpaceCentredWithItsShape) {
    struct Case { double w, h; };
    for (const Case c : {Case{1024, 512}, Case{800, 800}, Case{1920, 1080}, Case{300, 600}}) {
        const MapViewTransform t = FittedView(c.w, c.h);
        const MapPointF topLeft = t.ToView(0, 0), bottomRight = t.ToView(kMapSpaceWidth, kMapSpaceHeight);
        EXPECT_GE(topLeft.x, 0) << c.w;
        EXPECT_GE(topLeft.y, 0) << c.w;
        EXPECT_LE(bottomRight.x, c.w) << c.w;
        EXPECT_LE(bottomRight.y, c.h) << c.w;
        EXPECT_NEAR(topLeft.x + bottomRight.x, c.w, 1e-9) << "centred horizontally";
        EXPECT_NEAR(topLeft.y + bottomRight.y, c.h, 1e-9) << "centred vertically";
        EXPECT_NEAR((bottomRight.x - topLeft.x) / (bottomRight.y - topLeft.y), 2.0, 1e-9) << "2:1 kept";
        // X grows to the right, Y downwards.
        EXPECT_LT(t.ToView(10, 0).x, t.ToView(20, 0).x);
        EXPECT_LT(t.ToView(0, 10).y, t.ToView(0, 20).y);
    }
}

TEST(MapViewTransformTest, ZoomKeepsThePointUnderTheCursorAndIsBounded) {
    MapViewTransform t = FittedView(1000, 600);
    const MapPointF before = t.ToMap(333, 222);
    t.ZoomAt(2.5, 333, 222);
    const MapPointF after = t.ToMap(333, 222);
    EXPECT_NEAR(before.x, after.x, 1e-9);
    EXPECT_NEAR(before.y, after.y, 1e-9);
    EXPECT_NEAR(t.Scale(), t.FitScale() * 2.5, 1e-9);

    for (int i = 0; i < 100; ++i) t.ZoomAt(2, 10, 10);
    EXPECT_NEAR(t.Scale(), t.FitScale() * 400, 1e-6);
    for (int i = 0; i < 100; ++i) t.ZoomAt(0.5, 10, 10);
    EXPECT_NEAR(t.Scale(), t.FitScale() * 0.25, 1e-9);
    const double scale = t.Scale();
    for (double bad : {0.0, -1.0, std::numeric_limits<double>::infinity(), std::nan("")}) t.ZoomAt(bad, 5, 5);
    EXPECT_EQ(t.Scale(), scale) << "a broken factor changes nothing";
}

TEST(MapViewTransformTest, PanMovesTheViewAndFitRestoresIt) {
    MapViewTransform t = FittedView(800, 500);
    const MapPointF home = t.ToView(500, 250);
    t.ZoomAt(3, 100, 100);
    t.PanBy(40, -25);
    const MapPointF moved = t.ToView(500, 250);
    t.PanBy(10, 5);
    EXPECT_NEAR(t.ToView(500, 250).x, moved.x + 10, 1e-9);
    EXPECT_NEAR(t.ToView(500, 250).y, moved.y + 5, 1e-9);
    t.Fit();
    EXPECT_NEAR(t.ToView(500, 250).x, home.x, 1e-9);
    EXPECT_NEAR(t.ToView(500, 250).y, home.y, 1e-9);
}

// Rows 0..5: three on one spot (rows 1, 3, 4, mixed types and one script), the rest alone.
std::vector<MapPoint> SamplePoints() {
    return {
        {100, 50, 0, false, 0}, {300, 200, 3, false, 1}, {700, 400, 5, true, 2},
        {300, 200, 3, true, 3}, {300, 200, 4, false, 4}, {999, 499, 0, false, 5},
    };
}

TEST(MapViewModelTest, PlacementsOnOnePositionFormOneStackWithItsCount) {
    MapViewModel model;
    model.SetPoints(SamplePoints());
    ASSERT_EQ(model.Stacks().size(), 4u);
    EXPECT_EQ(model.PointCount(), 6);
    const int stack = model.StackOfRow(3);
    ASSERT_GE(stack, 0);
    EXPECT_EQ(model.StackOfRow(1), stack);
    EXPECT_EQ(model.StackOfRow(4), stack);
    const MapStack& s = model.Stacks()[static_cast<size_t>(stack)];
    EXPECT_EQ(s.count, 3);
    EXPECT_EQ(s.x, 300);
    EXPECT_EQ(s.y, 200);
    EXPECT_EQ(s.type, 3) << "the type of its top row";
    EXPECT_TRUE(s.mixedTypes);
    EXPECT_TRUE(s.anyScript);
    const std::span<const int> rows = model.RowsOf(s);
    EXPECT_EQ(std::vector<int>(rows.begin(), rows.end()), (std::vector<int>{1, 3, 4})) << "list order";
    const MapStack& single = model.Stacks()[static_cast<size_t>(model.StackOfRow(0))];
    EXPECT_EQ(single.count, 1);
    EXPECT_FALSE(single.mixedTypes);
    EXPECT_FALSE(single.anyScript);
    EXPECT_EQ(model.StackOfRow(6), -1);
    EXPECT_EQ(model.StackOfRow(-1), -1);
}

TEST(MapViewModelTest, AClickHitsTheNearestStackWithinTheRadius) {
    MapViewModel model;
    model.SetPoints(SamplePoints());
    const MapViewTransform t = FittedView(1000, 500);
    const MapPointF spot = t.ToView(300, 200);
    struct Case { double dx, dy; int expectedRow; };
    for (const Case c : {Case{0, 0, 1}, Case{3, -3, 1}, Case{6.5, 0, -1}, Case{0, 5.9, 1}}) {
        const int stack = model.StackAt(t, spot.x + c.dx, spot.y + c.dy, 6);
        if (c.expectedRow < 0) {
            EXPECT_EQ(stack, -1) << c.dx << "," << c.dy;
        } else {
            EXPECT_EQ(stack, model.StackOfRow(c.expectedRow)) << c.dx << "," << c.dy;
        }
    }
    MapViewModel empty;
    EXPECT_EQ(empty.StackAt(t, 10, 10, 6), -1);
}

TEST(MapViewModelTest, ARubberBandSelectsTheRowsOfEveryStackInside) {
    MapViewModel model;
    model.SetPoints(SamplePoints());
    MapViewTransform t = FittedView(1000, 500);
    const MapPointF a = t.ToView(250, 150), b = t.ToView(750, 450);
    EXPECT_EQ(model.RowsInRect(t, {a.x, a.y, b.x, b.y}), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(model.RowsInRect(t, {b.x, b.y, a.x, a.y}), (std::vector<int>{1, 2, 3, 4})) << "dragged up-left";
    const MapPointF c = t.ToView(0, 0), d = t.ToView(kMapSpaceWidth, kMapSpaceHeight);
    EXPECT_EQ(model.RowsInRect(t, {c.x, c.y, d.x, d.y}).size(), 6u);
    EXPECT_TRUE(model.RowsInRect(t, {c.x, c.y, c.x + 2, c.y + 2}).empty());
    // Zoomed in, the same view rectangle covers less of the map.
    t.ZoomAt(4, a.x, a.y);
    EXPECT_EQ(model.RowsInRect(t, {a.x - 1, a.y - 1, a.x + 300, a.y + 300}), (std::vector<int>{1, 3, 4}));
}

TEST(MapViewModelTest, SelectedRowsHighlightTheirStacks) {
    MapViewModel model;
    model.SetPoints(SamplePoints());
    const std::vector<int> rows{4, 5, 17, -2};
    model.SetSelectedRows(rows);
    EXPECT_EQ(model.SelectedStackCount(), 2);
    EXPECT_TRUE(model.IsStackSelected(model.StackOfRow(1))) << "one selected row marks its whole stack";
    EXPECT_TRUE(model.IsStackSelected(model.StackOfRow(5)));
    EXPECT_FALSE(model.IsStackSelected(model.StackOfRow(0)));
    model.SetSelectedRows({});
    EXPECT_EQ(model.SelectedStackCount(), 0);
    // New points forget the old selection.
    model.SetSelectedRows(rows);
    model.SetPoints(SamplePoints());
    EXPECT_EQ(model.SelectedStackCount(), 0);
}

TEST(MapViewModelTest, HoverTextNamesEveryPlacementUpToALimit) {
    const auto details = [](int row) {
        MapRowDetails d;
        d.name = "Guard" + std::to_string(row);
        d.templateNumber = 10 + row;
        d.x = 300;
        d.y = 200;
        d.offsetX = row;
        d.offsetY = 0;
        d.file = "maps\\a\\b_S.DAT";
        return d;
    };
    const std::vector<int> three{1, 3, 4};
    EXPECT_EQ(MapHoverText(three, details, 8),
              "Guard1 | template 11 | X 300+1, Y 200+0 | maps\\a\\b_S.DAT\n"
              "Guard3 | template 13 | X 300+3, Y 200+0 | maps\\a\\b_S.DAT\n"
              "Guard4 | template 14 | X 300+4, Y 200+0 | maps\\a\\b_S.DAT");
    const std::string cut = MapHoverText(three, details, 1);
    EXPECT_EQ(cut, "Guard1 | template 11 | X 300+1, Y 200+0 | maps\\a\\b_S.DAT\n... 2 more on this spot (3 in all)");
}

}  // namespace
}  // namespace morvi
