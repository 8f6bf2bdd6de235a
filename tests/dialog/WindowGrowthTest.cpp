// Where the main window's controls go when the window is larger than its template: each role
// and the parts of the template that an unnamed control's place puts it in.
#include <gtest/gtest.h>

#include "dialog/ControlIds.h"
#include "dialog/WindowGrowth.h"

namespace morvi {
namespace {

// The lines at one pixel per dialog unit, so the cases read in dialog units.
const GrowLines kLines{kGrowServerRowBottomDu, kGrowListsTopDu, kGrowEditRowsTopDu, kGrowServerButtonsDu,
                       kGrowRightColumnDu};

TEST(WindowGrowthTest, EachControlFollowsItsPartOfTheWindow) {
    struct Case {
        const char* what;
        GrowRole role;
        GrowRect from, to;
    };
    const int dx = 100, dy = 40;
    const Case cases[] = {
        {"placement list", GrowRole::PlacementList, {89, 57, 302, 188}, {89, 57, 402, 228}},
        {"map list", GrowRole::MapList, {11, 57, 72, 188}, {11, 57, 72, 228}},
        {"template list", GrowRole::TemplateList, {397, 58, 73, 220}, {497, 58, 73, 260}},
        {"template filter", GrowRole::RightEdge, {423, 42, 47, 13}, {523, 42, 47, 13}},
        {"status strip", GrowRole::StatusStrip, {200, 316, 272, 8}, {200, 356, 372, 8}},
        {"server frame", GrowRole::GroupBox, {7, 3, 465, 26}, {7, 3, 565, 26}},
        {"server row button", GrowRole::Other, {366, 12, 50, 14}, {466, 12, 50, 14}},
        {"server path text", GrowRole::Other, {25, 14, 334, 8}, {25, 14, 334, 8}},
        {"search row button", GrowRole::Other, {380, 41, 41, 14}, {380, 41, 41, 14}},
        {"edit field, left", GrowRole::Other, {108, 266, 25, 12}, {108, 306, 25, 12}},
        {"button of the right column", GrowRole::Other, {444, 297, 27, 14}, {544, 337, 27, 14}},
        {"edit row starting on its line", GrowRole::Other, {87, kGrowEditRowsTopDu, 35, 8}, {87, kGrowEditRowsTopDu + dy, 35, 8}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GrownRect(c.role, c.from, dx, dy, kLines), c.to) << c.what;
        EXPECT_EQ(GrownRect(c.role, c.from, 0, 0, kLines), c.from) << c.what << " at the template's size";
        EXPECT_EQ(GrownRect(c.role, c.from, -30, -30, kLines), c.from) << c.what << " never shrinks below it";
    }
}

TEST(WindowGrowthTest, RolesOfTheTemplatesControls) {
    EXPECT_EQ(GrowRoleOfControl(IDC_PLACEMENT_LIST, false), GrowRole::PlacementList);
    EXPECT_EQ(GrowRoleOfControl(IDC_FRAME, true), GrowRole::PlacementList) << "the list's frame grows with it";
    EXPECT_EQ(GrowRoleOfControl(IDC_MAP_LIST, false), GrowRole::MapList);
    EXPECT_EQ(GrowRoleOfControl(IDC_TEMPLATE_LIST, false), GrowRole::TemplateList);
    EXPECT_EQ(GrowRoleOfControl(-1, true), GrowRole::GroupBox);
    EXPECT_EQ(GrowRoleOfControl(IDC_SAVE, false), GrowRole::Other);
}

}  // namespace
}  // namespace morvi
