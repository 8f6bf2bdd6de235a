#pragma once
// The map view window: the placements of the loaded map plotted over the coordinate space,
// with a legend and a "fit" button, kept in step with the placement list both ways.

#include <vector>

#include <QWidget>

#include "dialog/MapViewModel.h"

namespace morvi {

class MapViewCanvas;

class MapViewWindow : public QWidget {
    Q_OBJECT
public:
    explicit MapViewWindow(QWidget* parent = nullptr);
    MapViewCanvas& Canvas() { return *m_canvas; }
    void SetPoints(std::vector<MapPoint> points, const std::vector<int>& selectedRows);
    void SetSelectedRows(const std::vector<int>& rows);

private:
    MapViewCanvas* m_canvas = nullptr;
};

}  // namespace morvi
