#pragma once
// The drawing of the map view: every placement as a dot coloured by its type, scripts
// marked with a dark core, stacks of several placements as a larger dot with their count,
// the selection ringed. The mouse and keys are MapViewGesture's: a left drag from a selected
// spot moves the selection (reported on release), from elsewhere draws a rubber band; right or
// middle drag pans, the wheel zooms around the pointer; a click or a band reports the rows it
// hits, a double click on an empty spot the spot, Delete the delete of the selection.

#include <functional>
#include <vector>

#include <QColor>
#include <QImage>
#include <QWidget>

#include "dialog/MapViewGesture.h"
#include "dialog/MapViewModel.h"
#include "dialog/MapViewRaster.h"

namespace morvi {

// Colour of a type code; codes without a name share one colour.
QColor MapTypeColour(int type);

// Draws the whole view into `image` (its size is the viewport). Kept free of the widget so the
// benchmark times exactly what a repaint does.
void RenderMapView(QImage& image, const MapViewModel& model, const MapViewTransform& transform,
                   MapLayer layer = MapLayer::All);

class MapViewCanvas : public QWidget {
    Q_OBJECT
public:
    explicit MapViewCanvas(QWidget* parent = nullptr);

    MapViewModel& Model() { return m_model; }
    MapViewTransform& Transform() { return m_transform; }
    void FitView();
    // Hover text of the rows of a stack, from the front end's rows.
    void SetHoverText(std::function<QString(std::span<const int> rows)> text) { m_hoverText = std::move(text); }
    // The model's points or selection changed: redraws (a drag's kept frame is dropped).
    void ModelChanged();
    const MapViewGesture& Gesture() const { return m_gesture; }

signals:
    void rowsPicked(const std::vector<int>& rows);   // list order; never empty
    void moveRequested(int dx, int dy);              // the selection dragged; never both 0
    void addRequested(int x, int y);                 // double click on an empty spot
    void deleteRequested();                          // Delete on the map

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Carry(const MapGestureResult& result);

    MapViewModel m_model;
    MapViewTransform m_transform;
    MapViewGesture m_gesture{m_model, m_transform};
    MapDragFrames m_frames;
    QImage m_image;
    bool m_fitted = false;
    std::function<QString(std::span<const int>)> m_hoverText;
};

}  // namespace morvi
