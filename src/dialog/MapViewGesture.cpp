#include "dialog/MapViewGesture.h"

#include <algorithm>
#include <cmath>

namespace morvi {

MapMove ClampMoveToListedRange(MapMove wanted, const MapViewModel::Bounds& selection) {
    if (selection.empty) return {};
    const auto clamp = [](int want, int low, int high, int limit) {
        // Allowed: low + d >= 0 and high + d <= limit.
        const int least = -low, most = limit - high;
        if (least > most) return 0;   // the selection does not fit this axis at all
        return std::clamp(want, std::min(least, 0), std::max(most, 0));
    };
    return {clamp(wanted.dx, selection.minX, selection.maxX, kMapMaxX),
            clamp(wanted.dy, selection.minY, selection.maxY, kMapMaxY)};
}

std::optional<MapSpot> MapSpotAt(const MapViewTransform& t, double vx, double vy) {
    const MapPointF at = t.ToMap(vx, vy);
    if (!std::isfinite(at.x) || !std::isfinite(at.y)) return std::nullopt;
    const long x = std::lround(at.x), y = std::lround(at.y);
    if (x < 0 || x > kMapMaxX || y < 0 || y > kMapMaxY) return std::nullopt;
    return MapSpot{static_cast<int>(x), static_cast<int>(y)};
}

std::vector<int> MapViewGesture::RowsAt(double vx, double vy) const {
    const int stack = m_model.StackAt(m_transform, vx, vy, kHitRadius);
    if (stack < 0) return {};
    const auto rows = m_model.RowsOf(m_model.Stacks()[static_cast<size_t>(stack)]);
    return {rows.begin(), rows.end()};
}

bool MapViewGesture::Dragged(double vx, double vy) const {
    return std::abs(vx - m_pressX) + std::abs(vy - m_pressY) >= kDragThreshold;
}

MapGestureResult MapViewGesture::Press(MapButton button, double vx, double vy) {
    m_pressX = m_lastX = vx;
    m_pressY = m_lastY = vy;
    m_beyondThreshold = false;
    if (button != MapButton::Left) {
        m_kind = Kind::Pan;
        return {};
    }
    const int stack = m_model.StackAt(m_transform, vx, vy, kHitRadius);
    if (stack >= 0 && m_model.IsStackSelected(stack)) {
        m_kind = Kind::Move;
        m_dragBounds = m_model.SelectionBounds();
    } else {
        m_kind = Kind::Band;
    }
    return {};
}

MapGestureResult MapViewGesture::DragTo(double vx, double vy) {
    MapGestureResult result;
    switch (m_kind) {
    case Kind::None: return result;
    case Kind::Pan:
        m_transform.PanBy(vx - m_lastX, vy - m_lastY);
        result.redraw = true;
        break;
    case Kind::Band: result.redraw = true; break;
    case Kind::Move: {
        const MapMove before = PreviewMove();
        m_beyondThreshold = m_beyondThreshold || Dragged(vx, vy);
        m_lastX = vx;
        m_lastY = vy;
        result.redraw = PreviewMove() != before;
        return result;
    }
    }
    m_lastX = vx;
    m_lastY = vy;
    return result;
}

MapMove MapViewGesture::PreviewMove() const {
    if (m_kind != Kind::Move || !m_beyondThreshold) return {};
    // Whole map units between where the press was and where the pointer is, in map terms.
    const MapPointF from = m_transform.ToMap(m_pressX, m_pressY);
    const MapPointF to = m_transform.ToMap(m_lastX, m_lastY);
    const double dx = std::clamp(to.x - from.x, -1e6, 1e6), dy = std::clamp(to.y - from.y, -1e6, 1e6);
    return ClampMoveToListedRange({static_cast<int>(std::lround(dx)), static_cast<int>(std::lround(dy))}, m_dragBounds);
}

MapGestureResult MapViewGesture::Release(double vx, double vy) {
    MapGestureResult result;
    const Kind kind = m_kind;
    if (kind == Kind::None || kind == Kind::Pan) {
        m_kind = Kind::None;
        return result;
    }
    if (kind == Kind::Move) {
        DragTo(vx, vy);
        const MapMove move = PreviewMove();
        m_kind = Kind::None;
        result.redraw = true;
        if (!move.IsNone()) {
            result.move = move;
        } else if (!Dragged(vx, vy)) {
            result.picked = RowsAt(vx, vy);   // a click on a selected spot picks it again
        }
        return result;
    }
    m_kind = Kind::None;
    result.redraw = true;
    if (!Dragged(vx, vy))
        result.picked = RowsAt(vx, vy);
    else
        result.picked = m_model.RowsInRect(m_transform, {m_pressX, m_pressY, vx, vy});
    return result;
}

MapGestureResult MapViewGesture::DoubleClick(double vx, double vy) {
    MapGestureResult result;
    m_kind = Kind::None;
    if (m_model.StackAt(m_transform, vx, vy, kHitRadius) >= 0) return result;   // not an empty spot
    result.addAt = MapSpotAt(m_transform, vx, vy);
    return result;
}

MapGestureResult MapViewGesture::Key(MapKey key) {
    MapGestureResult result;
    if (key == MapKey::Escape) return Cancel();
    if (key == MapKey::Delete && m_kind != Kind::Move) result.deleteSelection = true;
    return result;
}

MapGestureResult MapViewGesture::Cancel() {
    MapGestureResult result;
    result.redraw = m_kind != Kind::None;
    m_kind = Kind::None;
    return result;
}

}  // namespace morvi
