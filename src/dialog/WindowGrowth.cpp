#include "dialog/WindowGrowth.h"

#include <algorithm>

#include "dialog/ControlIds.h"

namespace morvi {

GrowRole GrowRoleOfControl(int controlId, bool isGroupBox) {
    switch (controlId) {
    case IDC_PLACEMENT_LIST:
    case IDC_FRAME: return GrowRole::PlacementList;
    case IDC_MAP_LIST: return GrowRole::MapList;
    case IDC_TEMPLATE_LIST: return GrowRole::TemplateList;
    default: return isGroupBox ? GrowRole::GroupBox : GrowRole::Other;
    }
}

GrowRect GrownRect(GrowRole role, GrowRect r, int dx, int dy, const GrowLines& lines) {
    dx = std::max(0, dx);
    dy = std::max(0, dy);
    switch (role) {
    case GrowRole::PlacementList: r.width += dx; r.height += dy; return r;
    case GrowRole::MapList: r.height += dy; return r;
    case GrowRole::TemplateList: r.x += dx; r.height += dy; return r;
    case GrowRole::RightEdge: r.x += dx; return r;
    case GrowRole::StatusStrip: r.y += dy; r.width += dx; return r;
    case GrowRole::BottomLeft: r.y += dy; return r;
    case GrowRole::GroupBox:
    case GrowRole::Other: break;
    }
    if (r.y < lines.listsTop) {
        // The server frame stretches, its buttons follow the right edge; the search row stays.
        if (role == GrowRole::GroupBox) r.width += dx;
        else if (r.y < lines.serverRowBottom && r.x >= lines.serverButtons) r.x += dx;
    } else if (r.y >= lines.editRowsTop) {
        if (r.x >= lines.rightColumn) r.x += dx;
        r.y += dy;
    }
    return r;
}

}  // namespace morvi
