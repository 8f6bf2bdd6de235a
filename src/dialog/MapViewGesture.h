#pragma once
// What the mouse and the keys do on the map view, independent of any toolkit. Both desktop
// windows feed their events in view coordinates and carry out what comes back:
// - left press on a selected spot, then a drag: moves the selected placements by whole map
//   units, kept inside the listed range (x 0..999, y 0..499); the move is made on release;
// - left press elsewhere, then a drag: a rubber band that picks the rows inside it; a click
//   without a drag picks the rows of the spot under the pointer;
// - right or middle drag: pans;
// - a double click on an empty spot of the coordinate space: a new placement there;
// - Delete: the delete of the selection; Escape: drops a drag in progress.

#include <optional>
#include <vector>

#include "dialog/MapViewModel.h"

namespace morvi {

// The coordinate range a placement can be moved to and still be listed.
inline constexpr int kMapMaxX = 999;
inline constexpr int kMapMaxY = 499;

enum class MapButton { Left, Right, Middle };
enum class MapKey { Delete, Escape, Other };

struct MapMove {
    int dx = 0;
    int dy = 0;
    bool IsNone() const { return dx == 0 && dy == 0; }
    bool operator==(const MapMove&) const = default;
};

struct MapSpot {
    int x = 0;
    int y = 0;
    bool operator==(const MapSpot&) const = default;
};

// The wanted move, cut so that every placement of `selection` stays in the listed range. An
// axis on which the selection does not fit the range at all does not move.
MapMove ClampMoveToListedRange(MapMove wanted, const MapViewModel::Bounds& selection);

// The map position a double click at a view point names: whole units, or nullopt outside the
// coordinate space.
std::optional<MapSpot> MapSpotAt(const MapViewTransform& t, double vx, double vy);

// What the front end does after an event.
struct MapGestureResult {
    bool redraw = false;
    std::vector<int> picked;          // rows to add to the list's selection (list order)
    std::optional<MapMove> move;      // move the selected placements (never IsNone)
    std::optional<MapSpot> addAt;     // start a new placement on this spot
    bool deleteSelection = false;     // run the list's delete of the selection
};

class MapViewGesture {
public:
    enum class Kind { None, Band, Pan, Move };

    // Pointer movements shorter than this (pixels, along both axes together) are a click.
    static constexpr int kDragThreshold = 4;
    // How near the pointer a spot is hit, in pixels.
    static constexpr double kHitRadius = 6.0;

    MapViewGesture(const MapViewModel& model, MapViewTransform& transform) : m_model(model), m_transform(transform) {}

    MapGestureResult Press(MapButton button, double vx, double vy);
    MapGestureResult DragTo(double vx, double vy);
    MapGestureResult Release(double vx, double vy);
    MapGestureResult DoubleClick(double vx, double vy);
    MapGestureResult Key(MapKey key);
    // The pointer went elsewhere (capture lost): the gesture ends without effect.
    MapGestureResult Cancel();

    Kind Active() const { return m_kind; }
    // The band in view coordinates while one is drawn.
    MapRectF Band() const { return {m_pressX, m_pressY, m_lastX, m_lastY}; }
    // While the selection is dragged: the move a release now would make.
    MapMove PreviewMove() const;

private:
    std::vector<int> RowsAt(double vx, double vy) const;
    bool Dragged(double vx, double vy) const;

    const MapViewModel& m_model;
    MapViewTransform& m_transform;
    Kind m_kind = Kind::None;
    double m_pressX = 0, m_pressY = 0, m_lastX = 0, m_lastY = 0;
    bool m_beyondThreshold = false;
    MapViewModel::Bounds m_dragBounds;
};

}  // namespace morvi
