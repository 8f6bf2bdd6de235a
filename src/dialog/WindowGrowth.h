#pragma once
// How the main window's controls follow when the window is made larger than its template:
// the placement list and its frame take all the new room, the map list and the template list
// grow taller, the server row's buttons and the right column keep to the right edge, and the
// edit rows keep to the bottom. Both desktop windows place their controls by this rule.

namespace morvi {

// Lines in dialog units that divide the template into the parts that move.
inline constexpr int kGrowServerRowBottomDu = 33;   // the server row ends here
inline constexpr int kGrowListsTopDu = 57;          // the lists start here
inline constexpr int kGrowEditRowsTopDu = 246;      // the edit rows start here
inline constexpr int kGrowServerButtonsDu = 360;    // the server row's buttons start here
inline constexpr int kGrowRightColumnDu = 395;      // the template column starts here

// The status strip: the bottom line of the window, below the frame, right of the link label,
// up to this far from the right edge.
inline constexpr int kStatusStripLeftDu = 200;
inline constexpr int kStatusStripBelowDu = 315;   // the frame's bottom edge
inline constexpr int kStatusStripRightMarginDu = 7;

// The template filter field, above the template list, right of "Chi tim mot": x, y, cx, cy.
inline constexpr int kTemplateFilterRectDu[4] = {423, 42, 47, 13};
// The placement list's filter field: the free left end of the search row above the lists.
inline constexpr int kListFilterRectDu[4] = {11, 42, 68, 13};
// The list's status (rows shown, selection and its counts): the bottom line of the window,
// from here to the link label.
inline constexpr int kListStatusLeftDu = 7;

// The same lines in pixels of the window at hand.
struct GrowLines {
    int serverRowBottom = 0;
    int listsTop = 0;
    int editRowsTop = 0;
    int serverButtons = 0;
    int rightColumn = 0;
};

enum class GrowRole {
    Other,          // placed by where it sits in the template
    GroupBox,       // a frame: the server row's stretches
    PlacementList,  // the placement list and its frame: wider and taller
    MapList,        // taller
    TemplateList,   // taller, and keeps to the right edge
    RightEdge,      // keeps to the right edge (the template filter)
    StatusStrip,    // wider, and keeps to the bottom
    BottomLeft,     // keeps to the bottom (the list's status)
};
GrowRole GrowRoleOfControl(int controlId, bool isGroupBox);

struct GrowRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const GrowRect&) const = default;
};

// `rect`: where the control sits in the window at its template size; `dx`, `dy`: how much
// larger than that the window is (never negative).
GrowRect GrownRect(GrowRole role, GrowRect rect, int dx, int dy, const GrowLines& lines);

}  // namespace morvi
