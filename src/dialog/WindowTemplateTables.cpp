#include "dialog/WindowTemplateTables.h"

#include <array>

#include "dialog/ControlIds.h"

namespace morvi {

std::span<const DialogItem> MainWindowTemplate() {
    using K = ControlKind;
    using namespace style;
    constexpr unsigned kNumber = kDigits | kRight;
    static const std::array table{
        DialogItem{IDC_FRAME, K::GroupBox, TextId::LabelPlacementFrame, 7, 33, 465, 282, kNone},
        DialogItem{0, K::GroupBox, TextId::LabelServerFrame, 7, 3, 465, 26, kNone},
        DialogItem{IDC_SERVER_STATUS, K::Label, TextId::LabelServerStatus, 25, 14, 334, 8, kNone},
        DialogItem{IDC_BROWSE_SERVER, K::Button, TextId::LabelBrowseServer, 366, 12, 50, 14, kNone},
        DialogItem{IDC_EXIT, K::Button, TextId::LabelExit, 419, 12, 50, 14, kNone},
        DialogItem{IDC_MAP_LIST, K::ListBox, kNoText, 11, 57, 72, 188, kNone},
        DialogItem{IDC_ADD, K::Button, TextId::LabelAdd, 397, 281, 41, 14, kNone},
        DialogItem{IDC_DELETE, K::Button, TextId::LabelDelete, 444, 281, 26, 14, kNone},
        DialogItem{IDC_PLACEMENT_LIST, K::ReportList, kNoText, 89, 57, 302, 188, kNone},
        DialogItem{IDC_TEMPLATE_LIST, K::ListBox, kNoText, 397, 58, 73, 220, kNone},
        DialogItem{0, K::Label, TextId::LabelPosX, 78, 268, 30, 8, kFitLeft},
        DialogItem{IDC_POS_X, K::Edit, kNoText, 108, 266, 25, 12, kNumber},
        DialogItem{0, K::Label, TextId::LabelPosY, 79, 286, 30, 8, kFitLeft},
        DialogItem{IDC_POS_Y, K::Edit, kNoText, 109, 283, 25, 12, kNumber},
        DialogItem{0, K::Label, TextId::LabelOffsetX, 135, 267, 33, 8, kFitLeft},
        DialogItem{IDC_OFFSET_X, K::Edit, kNoText, 168, 265, 25, 12, kNumber},
        DialogItem{0, K::Label, TextId::LabelOffsetY, 136, 285, 33, 8, kFitLeft},
        DialogItem{IDC_OFFSET_Y, K::Edit, kNoText, 168, 283, 25, 12, kNumber},
        DialogItem{0, K::Label, TextId::LabelScriptPath, 34, 301, 87, 8, kFitLeft},
        DialogItem{IDC_SCRIPT, K::Edit, kNoText, 123, 298, 215, 12, kNone},
        DialogItem{IDC_BROWSE_SCRIPT, K::Button, TextId::LabelBrowseScript, 367, 297, 26, 14, kNone},
        DialogItem{IDC_EXCHANGE, K::Button, TextId::LabelExchange, 368, 281, 25, 14, kNone},
        DialogItem{0, K::Label, TextId::LabelType, 202, 267, 29, 8, kFitLeft},
        DialogItem{IDC_TYPE, K::DropList, kNoText, 232, 265, 48, 57, kNone},
        DialogItem{0, K::Label, TextId::LabelGroup, 282, 266, 32, 8, kFitLeft},
        DialogItem{IDC_GROUP, K::DropList, kNoText, 316, 264, 48, 51, kNone},
        DialogItem{0, K::Label, TextId::LabelSeries, 283, 285, 33, 8, kFitLeft},
        DialogItem{IDC_SERIES, K::DropList, kNoText, 316, 282, 48, 52, kNone},
        DialogItem{0, K::Label, TextId::LabelDrop, 202, 284, 30, 8, kFitLeft},
        DialogItem{IDC_DROP, K::Edit, kNoText, 232, 283, 25, 12, kNumber},
        DialogItem{IDC_SAVE, K::Button, TextId::LabelSave, 444, 297, 27, 14, kNone},
        DialogItem{0, K::Label, TextId::LabelName, 87, 251, 35, 8, kFitLeft},
        DialogItem{IDC_NAME, K::Edit, kNoText, 123, 249, 70, 12, kNone},
        DialogItem{IDC_EDIT_SCRIPT, K::Button, TextId::LabelEditScript, 340, 297, 26, 14, kNone},
        DialogItem{0, K::Label, TextId::LabelFindName, 82, 44, 31, 8, kFitLeft},
        DialogItem{IDC_FIND_NAME, K::Edit, kNoText, 114, 43, 70, 12, kNone},
        DialogItem{IDC_FIND_ALL, K::Button, TextId::LabelFindAll, 313, 41, 64, 14, kNone},
        DialogItem{0, K::Label, TextId::LabelFindX, 185, 44, 31, 8, kFitLeft},
        DialogItem{IDC_FIND_X, K::Edit, kNoText, 218, 42, 25, 12, kNumber},
        DialogItem{0, K::Label, TextId::LabelFindY, 246, 45, 31, 8, kFitLeft},
        DialogItem{IDC_FIND_Y, K::Edit, kNoText, 280, 43, 25, 12, kNumber},
        DialogItem{IDC_HINT, K::Label, TextId::LabelHintPlaceholder, 202, 251, 162, 8, kNone},
        DialogItem{IDC_MODIFY, K::Button, TextId::LabelModify, 368, 248, 25, 14, kNone},
        DialogItem{IDC_CANCEL_EDIT, K::Button, TextId::LabelCancelEdit, 368, 265, 25, 14, kNone},
        DialogItem{IDC_FIND_NEXT, K::Button, TextId::LabelFindNext, 380, 41, 41, 14, kNone},
        DialogItem{IDC_CONTINUE, K::CheckBox, TextId::LabelContinue, 397, 300, 43, 10, kNone},
        DialogItem{0, K::Label, TextId::LabelContact, 8, 247, 70, 54, kWrap},
    };
    return table;
}

std::span<const ListColumn> PlacementListColumns() {
    static const std::array<ListColumn, kPlacementColumnCount> columns{{
        {TextId::ColumnName, 100}, {TextId::ColumnPosX, 60}, {TextId::ColumnMoveX, 60}, {TextId::ColumnPosY, 60},
        {TextId::ColumnMoveY, 60}, {TextId::ColumnType, 60}, {TextId::ColumnGroup, 60}, {TextId::ColumnSeries, 60},
        {TextId::ColumnMoney, 60}, {TextId::ColumnScript, 280}, {kNoText, 0}, {kNoText, 0},
    }};
    return columns;
}

std::span<const DialogItem> AboutTemplate() {
    using K = ControlKind;
    using namespace style;
    static const std::array table{
        DialogItem{0, K::Icon, kNoText, 11, 17, 20, 20, kNone},
        DialogItem{0, K::Label, TextId::AboutTitleLine, 40, 13, 119, 8, kNoPrefix},
        DialogItem{0, K::Label, TextId::AboutPurposeLine, 40, 26, 128, 8, kNone},
        DialogItem{kAboutOkId, K::DefaultButton, TextId::AboutClose, 174, 20, 50, 16, kNone},
        DialogItem{0, K::Label, TextId::AboutHost, 79, 40, 80, 8, kNoPrefix},
        DialogItem{0, K::Label, TextId::AboutMoreInfo, 42, 40, 36, 8, kFitLeft},
    };
    return table;
}

}  // namespace morvi
