#include "app/MapViewCanvas.h"

#include <algorithm>
#include <cmath>

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "dialog/MapViewRaster.h"

namespace morvi {
namespace {

MapButton ButtonOf(Qt::MouseButton button) {
    return button == Qt::LeftButton ? MapButton::Left : button == Qt::RightButton ? MapButton::Right : MapButton::Middle;
}

MapPixels PixelsOf(QImage& image) {
    return {reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
            static_cast<int>(image.bytesPerLine() / 4), 0xFF000000u};
}

}  // namespace

QColor MapTypeColour(int type) { return QColor(static_cast<QRgb>(0xFF000000u | MapTypeRgb(type))); }

void RenderMapView(QImage& image, const MapViewModel& model, const MapViewTransform& t, MapLayer layer) {
    const std::vector<int> labelled = RenderMapPixels(PixelsOf(image), model, t, layer);
    if (labelled.empty()) return;
    QPainter p(&image);
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(QColor(30, 30, 30));
    for (int s : labelled) {
        const MapStack& stack = model.Stacks()[static_cast<size_t>(s)];
        const MapPointF v = t.ToView(stack.x, stack.y);
        p.drawText(QPointF(v.x + 5, v.y - 3), QString::number(stack.count));
    }
}

MapViewCanvas::MapViewCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(320, 180);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);   // Delete and Escape reach the map
}

void MapViewCanvas::FitView() {
    m_transform.Fit();
    m_frames.Drop();
    update();
}

void MapViewCanvas::ModelChanged() {
    m_frames.Drop();
    update();
}

void MapViewCanvas::resizeEvent(QResizeEvent* event) {
    m_transform.SetViewport(width(), height());
    if (!m_fitted) {
        m_fitted = true;
        m_transform.Fit();
    }
    m_frames.Drop();
    QWidget::resizeEvent(event);
}

void MapViewCanvas::paintEvent(QPaintEvent*) {
    if (m_image.size() != size()) {
        m_image = QImage(size(), QImage::Format_RGB32);
        m_frames.Drop();
    }
    if (m_gesture.Active() == MapViewGesture::Kind::Move) {
        // The map without the dragged spots is drawn once; each frame adds them where they go.
        if (!m_frames.Holds(m_image.width(), m_image.height())) {
            RenderMapView(m_image, m_model, m_transform, MapLayer::WithoutDragged);
            m_frames.Keep(PixelsOf(m_image));
        }
        const MapMove move = m_gesture.PreviewMove();
        m_frames.Compose(PixelsOf(m_image), m_model, m_transform, move.dx, move.dy);
    } else {
        m_frames.Drop();
        RenderMapView(m_image, m_model, m_transform);
    }
    QPainter p(this);
    p.drawImage(0, 0, m_image);
    if (m_gesture.Active() == MapViewGesture::Kind::Band) {
        const MapRectF band = m_gesture.Band();
        p.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
        p.setBrush(QColor(0, 90, 200, 40));
        p.drawRect(QRectF(QPointF(band.left, band.top), QPointF(band.right, band.bottom)).normalized());
    }
}

void MapViewCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0) {
        m_transform.ZoomAt(std::pow(1.25, steps), event->position().x(), event->position().y());
        m_frames.Drop();
        update();
    }
    event->accept();
}

void MapViewCanvas::Carry(const MapGestureResult& result) {
    if (result.redraw) update();
    if (m_gesture.Active() == MapViewGesture::Kind::Move) setCursor(Qt::SizeAllCursor);
    else unsetCursor();
    if (!result.picked.empty()) emit rowsPicked(result.picked);
    if (result.move) emit moveRequested(result.move->dx, result.move->dy);
    if (result.addAt) emit addRequested(result.addAt->x, result.addAt->y);
    if (result.deleteSelection) emit deleteRequested();
}

void MapViewCanvas::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    Carry(m_gesture.Press(ButtonOf(event->button()), event->position().x(), event->position().y()));
}

void MapViewCanvas::mouseMoveEvent(QMouseEvent* event) {
    Carry(m_gesture.DragTo(event->position().x(), event->position().y()));
}

void MapViewCanvas::mouseReleaseEvent(QMouseEvent* event) {
    Carry(m_gesture.Release(event->position().x(), event->position().y()));
}

void MapViewCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Carry(m_gesture.DoubleClick(event->position().x(), event->position().y()));
}

void MapViewCanvas::keyPressEvent(QKeyEvent* event) {
    const MapKey key = event->key() == Qt::Key_Delete   ? MapKey::Delete
                       : event->key() == Qt::Key_Escape ? MapKey::Escape
                                                        : MapKey::Other;
    if (key == MapKey::Other) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    Carry(m_gesture.Key(key));
}

bool MapViewCanvas::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int stack = m_model.StackAt(m_transform, help->pos().x(), help->pos().y(), MapViewGesture::kHitRadius);
        if (stack >= 0 && m_hoverText)
            QToolTip::showText(help->globalPos(), m_hoverText(m_model.RowsOf(m_model.Stacks()[static_cast<size_t>(stack)])), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace morvi
