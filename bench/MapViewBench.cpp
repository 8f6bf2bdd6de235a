#include "MapViewBench.h"

#include <random>
#include <string>
#include <vector>

#include <QImage>

#include "app/MapViewCanvas.h"

namespace morvi::bench {

namespace {

struct ViewRig {
    MapViewModel model;
    MapViewTransform transform;
    QImage image{1600, 800, QImage::Format_RGB32};
    ViewRig();
};

ViewRig::ViewRig() {
    constexpr int kPoints = 200000;
    std::mt19937 random(13);
    std::vector<MapPoint> points;
    points.reserve(kPoints);
    // Towns (dense clusters with merchants stacked on one spot) and monsters spread wide.
    for (int i = 0; i < kPoints; ++i) {
        MapPoint p;
        if (i % 4 == 0) {
            p.x = 400 + static_cast<int>(random() % 60);
            p.y = 200 + static_cast<int>(random() % 30);
        } else {
            p.x = static_cast<int>(random() % 1000);
            p.y = static_cast<int>(random() % 500);
        }
        p.type = static_cast<int>(random() % 6);
        p.hasScript = random() % 5 == 0;
        p.row = i;
        points.push_back(p);
    }
    model.SetPoints(std::move(points));
    std::vector<int> selected;
    for (int i = 0; i < 1000; ++i) selected.push_back(i * 199);
    model.SetSelectedRows(selected);
    transform.SetViewport(1600, 800);
    transform.Fit();
}

// A figure of the view beside the fill of its image, held to a limit in milliseconds.
Figure ViewFigure(std::string name, const std::vector<double>& times, const std::vector<double>& fills, double limitMs) {
    return {std::move(name), Median(times), "fill of the 1600x800 image", Median(fills),
            "<= " + std::to_string(static_cast<int>(limitMs)) + " ms", 0, limitMs};
}

}  // namespace

Figure MapViewRedrawFigure(int runs) {
    ViewRig rig;
    MapViewModel& model = rig.model;
    MapViewTransform& transform = rig.transform;
    QImage& image = rig.image;
    std::vector<double> redraws, fills;
    for (int run = 0; run < runs; ++run) {
        redraws.push_back(TimeMs([&] { RenderMapView(image, model, transform); }));
        fills.push_back(TimeMs([&] { image.fill(Qt::white); }));
    }
    return ViewFigure("map view redraw, 200,000 points", redraws, fills, 50);
}

Figure MapViewDragFigure(int runs) {
    ViewRig rig;
    // The press on a selected spot: the map without the dragged spots drawn once and kept.
    RenderMapView(rig.image, rig.model, rig.transform, MapLayer::WithoutDragged);
    const MapPixels pixels{reinterpret_cast<uint32_t*>(rig.image.bits()), rig.image.width(), rig.image.height(),
                           static_cast<int>(rig.image.bytesPerLine() / 4), 0xFF000000u};
    MapDragFrames frames;
    frames.Keep(pixels);
    std::vector<double> frameTimes, fills;
    for (int run = 0; run < runs; ++run) {
        // A pointer moving a few units each frame, as a real drag does.
        for (int step = 1; step <= 10; ++step)
            frameTimes.push_back(TimeMs([&] { frames.Compose(pixels, rig.model, rig.transform, step * 3, step); }));
        fills.push_back(TimeMs([&] { rig.image.fill(Qt::white); }));
    }
    return ViewFigure("map view drag frame, 1,000 of 200,000 points", frameTimes, fills, 16);
}

}  // namespace morvi::bench
