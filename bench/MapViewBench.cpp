#include "MapViewBench.h"

#include <random>
#include <vector>

#include <QImage>

#include "app/MapViewCanvas.h"

namespace morvi::bench {

Figure MapViewRedrawFigure(int runs) {
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
    MapViewModel model;
    model.SetPoints(std::move(points));
    std::vector<int> selected;
    for (int i = 0; i < 1000; ++i) selected.push_back(i * 199);
    model.SetSelectedRows(selected);
    MapViewTransform transform;
    transform.SetViewport(1600, 800);
    transform.Fit();
    QImage image(1600, 800, QImage::Format_RGB32);

    std::vector<double> redraws, fills;
    for (int run = 0; run < runs; ++run) {
        redraws.push_back(TimeMs([&] { RenderMapView(image, model, transform); }));
        fills.push_back(TimeMs([&] { image.fill(Qt::white); }));
    }
    Figure f;
    f.name = "map view redraw, 200,000 points";
    f.ms = Median(redraws);
    f.floorName = "fill of the 1600x800 image";
    f.floorMs = Median(fills);
    f.target = "<= 50 ms";
    f.limitMs = 50;
    return f;
}

}  // namespace morvi::bench
