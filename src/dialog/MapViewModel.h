#pragma once
// What the map view shows, independent of any toolkit: the placements of the loaded map as
// points over the map's 1000 x 500 coordinate space (X to the right, Y downwards, in the
// list's units), grouped into stacks of placements that stand on the same position, the
// transform between map and view coordinates (zoom, pan, fit), hit tests of a click and of
// a rubber band, the selection as rows of the list, and the hover text.
//
// Row numbers are rows of the placement list (0 = top row). The front end hands the model a
// fresh point list after every change of the list (a rebuild of 200,000 points takes a few
// milliseconds), so a drawing never shows a stale row.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace morvi {

inline constexpr double kMapSpaceWidth = 1000.0;
inline constexpr double kMapSpaceHeight = 500.0;

struct MapPoint {
    int x = 0;
    int y = 0;               // as the list shows it (the stored value halved)
    int type = 0;            // type code of the record (0..5; others draw as "other")
    bool hasScript = false;
    int row = -1;            // row of the placement list
};

struct MapPointF {
    double x = 0;
    double y = 0;
};

struct MapRectF {
    double left = 0, top = 0, right = 0, bottom = 0;   // any corner order; normalised on use
};

// Map <-> view coordinates. Scale is view pixels per map unit, equal on both axes so the
// map keeps its shape.
class MapViewTransform {
public:
    void SetViewport(double width, double height);
    double ViewportWidth() const { return m_width; }
    double ViewportHeight() const { return m_height; }

    // Shows the whole coordinate space, centred, with a small margin.
    void Fit();
    double FitScale() const;
    // Zooms by `factor` keeping the map point under the view point (vx, vy) in place. The
    // scale stays between a quarter of the fit scale and 400 times it.
    void ZoomAt(double factor, double vx, double vy);
    void PanBy(double dx, double dy);   // view pixels

    MapPointF ToView(double mx, double my) const { return {mx * m_scale + m_dx, my * m_scale + m_dy}; }
    MapPointF ToMap(double vx, double vy) const { return {(vx - m_dx) / m_scale, (vy - m_dy) / m_scale}; }
    double Scale() const { return m_scale; }
    double OffsetX() const { return m_dx; }
    double OffsetY() const { return m_dy; }

private:
    double m_width = 1, m_height = 1;
    double m_scale = 1;
    double m_dx = 0, m_dy = 0;
};

// Placements that stand on one position.
struct MapStack {
    int x = 0;
    int y = 0;
    int type = 0;            // type of the stack's top row (the first row of the list)
    bool mixedTypes = false;
    bool anyScript = false;
    int count = 0;
    uint32_t first = 0;      // index of its first row in StackRows()
};

// What the hover text says about one placement; the front end supplies it from the rows.
struct MapRowDetails {
    std::string name;
    int templateNumber = 0;
    int x = 0, y = 0, offsetX = 0, offsetY = 0;
    std::string file;        // relative to the server directory
};

class MapViewModel {
public:
    void SetPoints(std::vector<MapPoint> points);
    const std::vector<MapStack>& Stacks() const { return m_stacks; }
    std::span<const int> RowsOf(const MapStack& stack) const {
        return {m_stackRows.data() + stack.first, static_cast<size_t>(stack.count)};
    }
    int PointCount() const { return static_cast<int>(m_stackRows.size()); }
    // Index of the stack that holds a row, -1 when the row is not plotted.
    int StackOfRow(int row) const;

    // The stack drawn nearest to the view point within `radius` pixels, -1 when none.
    int StackAt(const MapViewTransform& t, double vx, double vy, double radius) const;
    // Rows of every stack whose position lies inside the view rectangle, in list order.
    std::vector<int> RowsInRect(const MapViewTransform& t, const MapRectF& viewRect) const;

    // Selection, as rows of the list.
    void SetSelectedRows(std::span<const int> rows);
    bool IsStackSelected(int stack) const { return m_stackSelected[static_cast<size_t>(stack)] != 0; }
    // Whether every row of the stack is selected (a drag takes the whole stack away).
    bool IsStackWhollySelected(int stack) const {
        return m_stackSelected[static_cast<size_t>(stack)] >= static_cast<uint32_t>(m_stacks[static_cast<size_t>(stack)].count);
    }
    int SelectedStackCount() const { return m_selectedStacks; }
    // The selected stacks, ascending.
    const std::vector<int>& SelectedStacks() const { return m_selectedStackList; }
    // The smallest rectangle of map positions holding every selected placement; empty when
    // nothing plotted is selected.
    struct Bounds {
        bool empty = true;
        int minX = 0, minY = 0, maxX = 0, maxY = 0;
    };
    Bounds SelectionBounds() const;

private:
    std::vector<MapStack> m_stacks;
    std::vector<int> m_stackRows;              // rows grouped by stack, each group in list order
    std::vector<int> m_stackOfRow;             // by row, -1 when not plotted
    std::vector<uint32_t> m_stackSelected;     // selected rows of each stack
    std::vector<int> m_selectedStackList;
    int m_selectedStacks = 0;
};

// Hover text for the rows of one stack: one line per placement (name, template, coordinates
// with offsets, file), at most `maxLines` of them and a line saying how many more there are.
std::string MapHoverText(std::span<const int> rows, const std::function<MapRowDetails(int row)>& details,
                         size_t maxLines = 8);

}  // namespace morvi
