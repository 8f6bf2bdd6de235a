#include "dialog/WindowTemplateTables.h"

#include <array>

#include "dialog/ControlIds.h"

namespace morvi {

std::span<const DialogItem> MainWindowTemplate() {
    using K = ControlKind;
    using namespace style;
    constexpr unsigned kNumber = kDigits | kRight;
    static const std::array table{
        DialogItem{IDC_FRAME, K::GroupBox, "There isn't any NPC information", 7, 33, 465, 282, kNone},
        DialogItem{0, K::GroupBox, kServerFrameCaption, 7, 3, 465, 26, kNone},
        DialogItem{IDC_SERVER_STATUS, K::Label, "Hien Tai Van Dang Trong Tinh Trang Chua Hoat Dong", 25, 14, 334, 8, kNone},
        DialogItem{IDC_BROWSE_SERVER, K::Button, "Tim...", 366, 12, 50, 14, kNone},
        DialogItem{IDC_EXIT, K::Button, "Thoat", 419, 12, 50, 14, kNone},
        DialogItem{IDC_MAP_LIST, K::ListBox, "", 11, 57, 72, 188, kNone},
        DialogItem{IDC_ADD, K::Button, "Them", 397, 281, 41, 14, kNone},
        DialogItem{IDC_DELETE, K::Button, "Xoa", 444, 281, 26, 14, kNone},
        DialogItem{IDC_PLACEMENT_LIST, K::ReportList, "", 89, 57, 302, 188, kNone},
        DialogItem{IDC_TEMPLATE_LIST, K::ListBox, "", 397, 58, 73, 220, kNone},
        DialogItem{0, K::Label, "Toa Do X", 78, 268, 30, 8, kFitLeft},
        DialogItem{IDC_POS_X, K::Edit, "", 108, 266, 25, 12, kNumber},
        DialogItem{0, K::Label, "Toa Do Y", 79, 286, 30, 8, kFitLeft},
        DialogItem{IDC_POS_Y, K::Edit, "", 109, 283, 25, 12, kNumber},
        DialogItem{0, K::Label, "Do Lech X", 135, 267, 33, 8, kFitLeft},
        DialogItem{IDC_OFFSET_X, K::Edit, "", 168, 265, 25, 12, kNumber},
        DialogItem{0, K::Label, "Do Lech Y", 136, 285, 33, 8, kFitLeft},
        DialogItem{IDC_OFFSET_Y, K::Edit, "", 168, 283, 25, 12, kNumber},
        DialogItem{0, K::Label, "Duong dan den mau Script gan vao NPC:", 34, 301, 87, 8, kFitLeft},
        DialogItem{IDC_SCRIPT, K::Edit, "", 123, 298, 215, 12, kNone},
        DialogItem{IDC_BROWSE_SCRIPT, K::Button, "Tim", 367, 297, 26, 14, kNone},
        DialogItem{IDC_EXCHANGE, K::Button, "Exchange", 368, 281, 25, 14, kNone},
        DialogItem{0, K::Label, "NPCType", 202, 267, 29, 8, kFitLeft},
        DialogItem{IDC_TYPE, K::DropList, "", 232, 265, 48, 57, kNone},
        DialogItem{0, K::Label, "NPCGroup", 282, 266, 32, 8, kFitLeft},
        DialogItem{IDC_GROUP, K::DropList, "", 316, 264, 48, 51, kNone},
        DialogItem{0, K::Label, "NPCSeries", 283, 285, 33, 8, kFitLeft},
        DialogItem{IDC_SERIES, K::DropList, "", 316, 282, 48, 52, kNone},
        DialogItem{0, K::Label, "Droprate", 202, 284, 30, 8, kFitLeft},
        DialogItem{IDC_DROP, K::Edit, "", 232, 283, 25, 12, kNumber},
        DialogItem{IDC_SAVE, K::Button, "Luu", 444, 297, 27, 14, kNone},
        DialogItem{0, K::Label, "Ten NPC", 87, 251, 35, 8, kFitLeft},
        DialogItem{IDC_NAME, K::Edit, "", 123, 249, 70, 12, kNone},
        DialogItem{IDC_EDIT_SCRIPT, K::Button, "Sua", 340, 297, 26, 14, kNone},
        DialogItem{0, K::Label, "Ten NPC", 82, 44, 31, 8, kFitLeft},
        DialogItem{IDC_FIND_NAME, K::Edit, "", 114, 43, 70, 12, kNone},
        DialogItem{IDC_FIND_ALL, K::Button, "Tim kiem tat ca", 313, 41, 64, 14, kNone},
        DialogItem{0, K::Label, "Toa Do X", 185, 44, 31, 8, kFitLeft},
        DialogItem{IDC_FIND_X, K::Edit, "", 218, 42, 25, 12, kNumber},
        DialogItem{0, K::Label, "Toa Do Y", 246, 45, 31, 8, kFitLeft},
        DialogItem{IDC_FIND_Y, K::Edit, "", 280, 43, 25, 12, kNumber},
        DialogItem{IDC_HINT, K::Label, kHintPlaceholder, 202, 251, 162, 8, kNone},
        DialogItem{IDC_MODIFY, K::Button, "Sua", 368, 248, 25, 14, kNone},
        DialogItem{IDC_CANCEL_EDIT, K::Button, "Thoat", 368, 265, 25, 14, kNone},
        DialogItem{IDC_FIND_NEXT, K::Button, "Chi tim mot", 380, 41, 41, 14, kNone},
        DialogItem{IDC_CONTINUE, K::CheckBox, "Tiep Tuc...", 397, 300, 43, 10, kNone},
        DialogItem{0, K::Label, kContactText, 8, 247, 70, 54, kWrap},
    };
    return table;
}

std::span<const ListColumn> PlacementListColumns() {
    // "Pos   x" and "Pos   y" hold three blanks.
    static const std::array<ListColumn, kPlacementColumnCount> columns{{
        {"Name", 100}, {"Pos   x", 60}, {"x Move", 60}, {"Pos   y", 60}, {"y Move", 60}, {"Type", 60},
        {"Group", 60}, {"Serie", 60}, {"Money", 60}, {"Script", 280}, {"", 0}, {"", 0},
    }};
    return columns;
}

std::span<const DialogItem> AboutTemplate() {
    using K = ControlKind;
    using namespace style;
    static const std::array table{
        DialogItem{0, K::Icon, "", 11, 17, 20, 20, kNone},
        DialogItem{0, K::Label, kProgramTitleLine, 40, 13, 119, 8, kNoPrefix},
        DialogItem{0, K::Label, kProgramPurposeLine, 40, 26, 128, 8, kNone},
        DialogItem{kAboutOkId, K::DefaultButton, "Thoat", 174, 20, 50, 16, kNone},
        DialogItem{0, K::Label, kProjectHost, 79, 40, 80, 8, kNoPrefix},
        DialogItem{0, K::Label, "More Info :", 42, 40, 36, 8, kFitLeft},
    };
    return table;
}

}  // namespace morvi
