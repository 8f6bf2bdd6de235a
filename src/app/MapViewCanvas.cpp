#include "app/MapViewCanvas.h"

#include <algorithm>
#include <cmath>

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "dialog/MapViewRaster.h"

namespace morvi {
namespace {

constexpr double kHitRadius = 6.0;
constexpr int kDragThreshold = 4;

}  // namespace

QColor MapTypeColour(int type) { return QColor(static_cast<QRgb>(0xFF000000u | MapTypeRgb(type))); }

void RenderMapView(QImage& image, const MapViewModel& model, const MapViewTransform& t) {
    const std::vector<int> labelled =
        RenderMapPixels({reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
                         static_cast<int>(image.bytesPerLine() / 4), 0xFF000000u},
                        model, t);
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
}

void MapViewCanvas::FitView() {
    m_transform.Fit();
    update();
}

void MapViewCanvas::resizeEvent(QResizeEvent* event) {
    m_transform.SetViewport(width(), height());
    if (!m_fitted) {
        m_fitted = true;
        m_transform.Fit();
    }
    QWidget::resizeEvent(event);
}

void MapViewCanvas::paintEvent(QPaintEvent*) {
    if (m_image.size() != size()) m_image = QImage(size(), QImage::Format_RGB32);
    RenderMapView(m_image, m_model, m_transform);
    QPainter p(this);
    p.drawImage(0, 0, m_image);
    if (m_drag == Drag::Band) {
        p.setPen(QPen(QColor(0, 90, 200), 1, Qt::DashLine));
        p.setBrush(QColor(0, 90, 200, 40));
        p.drawRect(QRect(m_pressAt, m_lastAt).normalized());
    }
}

void MapViewCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0) {
        m_transform.ZoomAt(std::pow(1.25, steps), event->position().x(), event->position().y());
        update();
    }
    event->accept();
}

void MapViewCanvas::mousePressEvent(QMouseEvent* event) {
    m_pressAt = m_lastAt = event->position().toPoint();
    m_drag = event->button() == Qt::LeftButton ? Drag::Band : Drag::Pan;
}

void MapViewCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_drag == Drag::Pan) {
        m_transform.PanBy(at.x() - m_lastAt.x(), at.y() - m_lastAt.y());
        update();
    } else if (m_drag == Drag::Band) {
        update();
    }
    m_lastAt = at;
}

void MapViewCanvas::mouseReleaseEvent(QMouseEvent* event) {
    const Drag drag = m_drag;
    m_drag = Drag::None;
    const QPoint at = event->position().toPoint();
    if (drag != Drag::Band) return;
    update();
    std::vector<int> rows;
    if ((at - m_pressAt).manhattanLength() < kDragThreshold) {
        const int stack = m_model.StackAt(m_transform, at.x(), at.y(), kHitRadius);
        if (stack >= 0) {
            const auto members = m_model.RowsOf(m_model.Stacks()[static_cast<size_t>(stack)]);
            rows.assign(members.begin(), members.end());
        }
    } else {
        rows = m_model.RowsInRect(m_transform, {double(m_pressAt.x()), double(m_pressAt.y()), double(at.x()), double(at.y())});
    }
    if (!rows.empty()) emit rowsPicked(rows);
}

bool MapViewCanvas::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int stack = m_model.StackAt(m_transform, help->pos().x(), help->pos().y(), kHitRadius);
        if (stack >= 0 && m_hoverText)
            QToolTip::showText(help->globalPos(), m_hoverText(m_model.RowsOf(m_model.Stacks()[static_cast<size_t>(stack)])), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace morvi
