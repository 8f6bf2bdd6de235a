#pragma once
// The drawing of the map view: every placement as a dot coloured by its type, scripts
// marked with a dark core, stacks of several placements as a larger dot with their count,
// the selection ringed. Left drag draws a rubber band, right or middle drag pans, the wheel
// zooms around the pointer; a click or a band reports the rows it hits.

#include <functional>
#include <vector>

#include <QColor>
#include <QImage>
#include <QWidget>

#include "dialog/MapViewModel.h"

namespace morvi {

// Colour of a type code; codes without a name share one colour.
QColor MapTypeColour(int type);

// Draws the whole view into `image` (its size is the viewport). Kept free of the widget so the
// benchmark times exactly what a repaint does.
void RenderMapView(QImage& image, const MapViewModel& model, const MapViewTransform& transform);

class MapViewCanvas : public QWidget {
    Q_OBJECT
public:
    explicit MapViewCanvas(QWidget* parent = nullptr);

    MapViewModel& Model() { return m_model; }
    MapViewTransform& Transform() { return m_transform; }
    void FitView();
    // Hover text of the rows of a stack, from the front end's rows.
    void SetHoverText(std::function<QString(std::span<const int> rows)> text) { m_hoverText = std::move(text); }

signals:
    void rowsPicked(const std::vector<int>& rows);   // list order; never empty

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    MapViewModel m_model;
    MapViewTransform m_transform;
    QImage m_image;
    bool m_fitted = false;
    enum class Drag { None, Band, Pan } m_drag = Drag::None;
    QPoint m_pressAt, m_lastAt;
    std::function<QString(std::span<const int>)> m_hoverText;
};

}  // namespace morvi
