// The window templates take their texts from the program's text table: every control that
// shows a text has one there, and no list, edit or icon starts out with one.

#include <gtest/gtest.h>

#include "dialog/WindowTemplateTables.h"

namespace morvi {
namespace {

bool ShowsText(ControlKind kind) {
    switch (kind) {
    case ControlKind::GroupBox:
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::DefaultButton:
    case ControlKind::CheckBox: return true;
    case ControlKind::ListBox:
    case ControlKind::ReportList:
    case ControlKind::Edit:
    case ControlKind::DropList:
    case ControlKind::Icon: return false;
    }
    return false;
}

TEST(WindowTemplateTexts, ControlsThatShowATextHaveOneAndNoOtherDoes) {
    const struct {
        const char* name;
        std::span<const DialogItem> items;
    } templates[] = {{"main", MainWindowTemplate()}, {"about", AboutTemplate()}};
    for (const auto& t : templates) {
        for (const DialogItem& item : t.items) {
            SCOPED_TRACE(std::string(t.name) + " control at " + std::to_string(item.x) + "," + std::to_string(item.y));
            if (ShowsText(item.kind)) {
                EXPECT_NE(item.text, kNoText);
                EXPECT_FALSE(Text(item.text).empty());
            } else {
                EXPECT_EQ(item.text, kNoText);
            }
        }
    }
}

TEST(WindowTemplateTexts, ShownColumnsHaveHeadingsAndHiddenOnesNone) {
    for (const ListColumn& column : PlacementListColumns()) {
        if (column.width > 0) EXPECT_FALSE(Text(column.heading).empty()) << column.width;
        else EXPECT_EQ(column.heading, kNoText);
    }
}

}  // namespace
}  // namespace morvi
