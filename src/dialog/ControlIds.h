#pragma once
// Identifiers of the main window's controls. They double as object names in the Qt window
// ("id1013") so tests can find each control.

#include "document/PlacementColumns.h"

namespace morvi {

enum ControlId : int {
    IDC_BROWSE_SERVER = 1005,   // "Tim..."
    IDC_SERVER_STATUS = 1006,   // server-directory status line
    IDC_EXIT = 1007,            // "Thoat"
    IDC_HINT = 1008,            // hint line
    IDC_MAP_LIST = 1009,        // list box of maps
    IDC_ADD = 1010,             // "Them"
    IDC_DELETE = 1011,          // "Xoa"
    IDC_BROWSE_SCRIPT = 1012,   // "Tim"
    IDC_PLACEMENT_LIST = 1013,  // report list of placements
    IDC_TEMPLATE_LIST = 1014,   // list box of NPC templates
    IDC_EXCHANGE = 1015,        // "Exchange"
    IDC_EDIT_SCRIPT = 1016,     // "Sua" beside the script field
    IDC_FRAME = 1017,           // group box around the work area; caption = progress/result
    IDC_POS_X = 1018,
    IDC_SCRIPT = 1019,
    IDC_TYPE = 1020,
    IDC_POS_Y = 1021,
    IDC_OFFSET_X = 1022,
    IDC_OFFSET_Y = 1023,
    IDC_GROUP = 1024,
    IDC_SERIES = 1025,
    IDC_DROP = 1026,
    IDC_SAVE = 1027,            // "Luu"
    IDC_NAME = 1028,
    IDC_FIND_NAME = 1029,
    IDC_FIND_ALL = 1030,        // "Tim kiem tat ca"
    IDC_FIND_X = 1031,
    IDC_FIND_Y = 1032,
    IDC_MODIFY = 1033,          // "Sua" beside the edit row
    IDC_CANCEL_EDIT = 1034,     // "Thoat" of the edit area
    IDC_FIND_NEXT = 1035,       // "Chi tim mot"
    IDC_CONTINUE = 1040,        // "Tiep Tuc..."
};

inline constexpr int kAboutCommand = 0x0010;   // system-menu command of the About entry
inline constexpr int kProblemsCommand = 0x0150;   // system-menu command of the problems panel

}  // namespace morvi
