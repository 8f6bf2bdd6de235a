#include "dialog/MapViewModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace morvi {
namespace {

// Free room around the coordinate space after "fit", in pixels.
constexpr double kFitMargin = 12.0;
constexpr double kMinZoomOfFit = 0.25;
constexpr double kMaxZoomOfFit = 400.0;

uint64_t PositionKey(const MapPoint& p) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(p.y)) << 32) | static_cast<uint32_t>(p.x);
}

}  // namespace

// --- transform -----------------------------------------------------------------------------

void MapViewTransform::SetViewport(double width, double height) {
    m_width = std::max(1.0, width);
    m_height = std::max(1.0, height);
}

double MapViewTransform::FitScale() const {
    const double w = std::max(1.0, m_width - 2 * kFitMargin);
    const double h = std::max(1.0, m_height - 2 * kFitMargin);
    return std::min(w / kMapSpaceWidth, h / kMapSpaceHeight);
}

void MapViewTransform::Fit() {
    m_scale = FitScale();
    m_dx = (m_width - kMapSpaceWidth * m_scale) / 2;
    m_dy = (m_height - kMapSpaceHeight * m_scale) / 2;
}

void MapViewTransform::ZoomAt(double factor, double vx, double vy) {
    if (!(factor > 0) || !std::isfinite(factor))
        return;
    const MapPointF anchor = ToMap(vx, vy);
    const double fit = FitScale();
    m_scale = std::clamp(m_scale * factor, fit * kMinZoomOfFit, fit * kMaxZoomOfFit);
    m_dx = vx - anchor.x * m_scale;
    m_dy = vy - anchor.y * m_scale;
}

void MapViewTransform::PanBy(double dx, double dy) {
    m_dx += dx;
    m_dy += dy;
}

// --- stacks --------------------------------------------------------------------------------

void MapViewModel::SetPoints(std::vector<MapPoint> points) {
    // Group by position; within a position keep list order, so a stack's first row is the
    // one nearest the top of the list.
    std::sort(points.begin(), points.end(), [](const MapPoint& a, const MapPoint& b) {
        const uint64_t ka = PositionKey(a), kb = PositionKey(b);
        return ka != kb ? ka < kb : a.row < b.row;
    });
    m_stacks.clear();
    m_stackRows.clear();
    m_stackRows.reserve(points.size());
    int maxRow = -1;
    for (size_t i = 0; i < points.size(); ++i) {
        const MapPoint& p = points[i];
        if (m_stacks.empty() || i == 0 || PositionKey(points[i - 1]) != PositionKey(p)) {
            MapStack stack;
            stack.x = p.x;
            stack.y = p.y;
            stack.type = p.type;
            stack.first = static_cast<uint32_t>(m_stackRows.size());
            m_stacks.push_back(stack);
        }
        MapStack& stack = m_stacks.back();
        stack.mixedTypes = stack.mixedTypes || p.type != stack.type;
        stack.anyScript = stack.anyScript || p.hasScript;
        ++stack.count;
        m_stackRows.push_back(p.row);
        maxRow = std::max(maxRow, p.row);
    }
    m_stackOfRow.assign(static_cast<size_t>(maxRow + 1), -1);
    for (size_t s = 0; s < m_stacks.size(); ++s)
        for (int row : RowsOf(m_stacks[s]))
            if (row >= 0)
                m_stackOfRow[static_cast<size_t>(row)] = static_cast<int>(s);
    m_stackSelected.assign(m_stacks.size(), 0);
    m_selectedStackList.clear();
    m_selectedStacks = 0;
}

int MapViewModel::StackOfRow(int row) const {
    if (row < 0 || row >= static_cast<int>(m_stackOfRow.size()))
        return -1;
    return m_stackOfRow[static_cast<size_t>(row)];
}

int MapViewModel::StackAt(const MapViewTransform& t, double vx, double vy, double radius) const {
    // Nearest in map units: the search radius shrinks as the view zooms in.
    const MapPointF at = t.ToMap(vx, vy);
    const double r = radius / t.Scale();
    double best = r * r;
    int found = -1;
    for (size_t s = 0; s < m_stacks.size(); ++s) {
        const double dx = m_stacks[s].x - at.x, dy = m_stacks[s].y - at.y;
        const double d = dx * dx + dy * dy;
        if (d <= best) {
            best = d;
            found = static_cast<int>(s);
        }
    }
    return found;
}

std::vector<int> MapViewModel::RowsInRect(const MapViewTransform& t, const MapRectF& viewRect) const {
    const MapPointF a = t.ToMap(viewRect.left, viewRect.top);
    const MapPointF b = t.ToMap(viewRect.right, viewRect.bottom);
    const double left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const double top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    std::vector<int> rows;
    for (const MapStack& stack : m_stacks) {
        if (stack.x < left || stack.x > right || stack.y < top || stack.y > bottom)
            continue;
        const std::span<const int> members = RowsOf(stack);
        rows.insert(rows.end(), members.begin(), members.end());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MapViewModel::SetSelectedRows(std::span<const int> rows) {
    std::fill(m_stackSelected.begin(), m_stackSelected.end(), 0);
    m_selectedStackList.clear();
    for (int row : rows) {
        const int stack = StackOfRow(row);
        if (stack < 0) continue;
        if (m_stackSelected[static_cast<size_t>(stack)]++ == 0) m_selectedStackList.push_back(stack);
    }
    std::sort(m_selectedStackList.begin(), m_selectedStackList.end());
    m_selectedStacks = static_cast<int>(m_selectedStackList.size());
}

MapViewModel::Bounds MapViewModel::SelectionBounds() const {
    Bounds b;
    for (int s : m_selectedStackList) {
        const MapStack& stack = m_stacks[static_cast<size_t>(s)];
        if (b.empty) {
            b = {false, stack.x, stack.y, stack.x, stack.y};
            continue;
        }
        b.minX = std::min(b.minX, stack.x);
        b.maxX = std::max(b.maxX, stack.x);
        b.minY = std::min(b.minY, stack.y);
        b.maxY = std::max(b.maxY, stack.y);
    }
    return b;
}

// --- hover text ----------------------------------------------------------------------------

std::string MapHoverText(std::span<const int> rows, const std::function<MapRowDetails(int row)>& details,
                         size_t maxLines) {
    std::string text;
    const size_t shown = std::min(rows.size(), maxLines);
    for (size_t i = 0; i < shown; ++i) {
        const MapRowDetails d = details(rows[i]);
        char numbers[160];
        std::snprintf(numbers, sizeof numbers, " | template %d | X %d%+d, Y %d%+d | ", d.templateNumber, d.x,
                      d.offsetX, d.y, d.offsetY);
        if (!text.empty())
            text += '\n';
        text += d.name;
        text += numbers;
        text += d.file;
    }
    if (rows.size() > shown)
        text += "\n... " + std::to_string(rows.size() - shown) + " more on this spot (" +
                std::to_string(rows.size()) + " in all)";
    return text;
}

}  // namespace morvi
