#include "app/MapViewCanvas.h"

#include <algorithm>
#include <cmath>

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

namespace morvi {
namespace {

constexpr double kHitRadius = 6.0;
constexpr int kDragThreshold = 4;
// Count labels are drawn for at most this many stacks in view: beyond that they would only
// cover each other (and the redraw of a crowded map would be spent on text).
constexpr int kMaxCountLabels = 1500;

// Fills a square of side 2r+1 into a 32-bit image without QPainter: with 200,000 points the
// per-call cost of a painter would dominate the redraw.
void FillSquare(QImage& image, int cx, int cy, int r, QRgb colour) {
    const int w = image.width(), h = image.height();
    const int x0 = std::max(0, cx - r), x1 = std::min(w - 1, cx + r);
    const int y0 = std::max(0, cy - r), y1 = std::min(h - 1, cy + r);
    if (x0 > x1 || y0 > y1) return;
    for (int y = y0; y <= y1; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + x0, line + x1 + 1, colour);
    }
}

}  // namespace

QColor MapTypeColour(int type) {
    switch (type) {
    case 0: return QColor(214, 39, 40);     // Enemy
    case 3: return QColor(31, 119, 180);    // TalkNPC
    case 4: return QColor(148, 103, 189);   // NPC(Fly)
    case 5: return QColor(44, 160, 44);     // NPC(Ground)
    default: return QColor(127, 127, 127);
    }
}

void RenderMapView(QImage& image, const MapViewModel& model, const MapViewTransform& t) {
    image.fill(QColor(250, 250, 245));
    {
        // The coordinate space and a grid every 100 map units.
        QPainter p(&image);
        const MapPointF a = t.ToView(0, 0), b = t.ToView(kMapSpaceWidth, kMapSpaceHeight);
        p.fillRect(QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y)), QColor(255, 255, 255));
        p.setPen(QColor(225, 225, 225));
        for (int gx = 0; gx <= 1000; gx += 100) p.drawLine(QPointF(t.ToView(gx, 0).x, a.y), QPointF(t.ToView(gx, 0).x, b.y));
        for (int gy = 0; gy <= 500; gy += 100) p.drawLine(QPointF(a.x, t.ToView(0, gy).y), QPointF(b.x, t.ToView(0, gy).y));
        p.setPen(QColor(160, 160, 160));
        p.drawRect(QRectF(QPointF(a.x, a.y), QPointF(b.x, b.y)));
    }
    QRgb colours[6];
    for (int i = 0; i < 6; ++i) colours[i] = MapTypeColour(i).rgb();
    const QRgb other = MapTypeColour(-1).rgb();
    const QRgb core = qRgb(20, 20, 20);
    const QRgb ring = qRgb(255, 170, 0);
    const int w = image.width(), h = image.height();
    const auto& stacks = model.Stacks();
    std::vector<int> labelled;
    for (size_t s = 0; s < stacks.size(); ++s) {
        const MapStack& stack = stacks[s];
        const MapPointF v = t.ToView(stack.x, stack.y);
        const int x = static_cast<int>(std::lround(v.x)), y = static_cast<int>(std::lround(v.y));
        if (x < -8 || y < -8 || x > w + 8 || y > h + 8) continue;
        const bool selected = model.IsStackSelected(static_cast<int>(s));
        const int r = stack.count > 1 ? 3 : 2;
        if (selected) FillSquare(image, x, y, r + 2, ring);
        FillSquare(image, x, y, r, stack.type >= 0 && stack.type < 6 ? colours[stack.type] : other);
        if (stack.anyScript) FillSquare(image, x, y, 0, core);
        if (stack.count > 1 && static_cast<int>(labelled.size()) <= kMaxCountLabels) labelled.push_back(static_cast<int>(s));
    }
    if (!labelled.empty() && static_cast<int>(labelled.size()) <= kMaxCountLabels) {
        QPainter p(&image);
        QFont font = p.font();
        font.setPixelSize(10);
        p.setFont(font);
        p.setPen(QColor(30, 30, 30));
        for (int s : labelled) {
            const MapStack& stack = stacks[static_cast<size_t>(s)];
            const MapPointF v = t.ToView(stack.x, stack.y);
            p.drawText(QPointF(v.x + 5, v.y - 3), QString::number(stack.count));
        }
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
