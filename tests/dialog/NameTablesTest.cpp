// The code tables of type, group and series, their lookups, the sorted code combos, and the
// small conversions the dialog uses.

#include <climits>

#include "DialogFixture.h"
#include "data/text/IntegerText.h"
#include "document/NameTables.h"

namespace morvi::test {
namespace {

TEST(NameTablesTest, NameOfCode) {
    const struct {
        std::span<const std::string_view> table;
        int code;
        std::string_view name;
    } cases[] = {
        {NpcTypeNames(), 0, "Enemy"},  {NpcTypeNames(), 1, ""},          {NpcTypeNames(), 5, "NPC(Ground)"},
        {NpcTypeNames(), 6, "Enemy"},  {NpcTypeNames(), 9, "Enemy"},     {NpcTypeNames(), -1, "Enemy"},
        {NpcGroupNames(), 6, "Friend"}, {NpcGroupNames(), 7, "Not Hit"}, {NpcGroupNames(), 3, ""},
        {NpcSeriesNames(), 4, "4"},    {NpcSeriesNames(), 5, "0"},       {NpcSeriesNames(), 255, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(NameOfCode(c.table, c.code), c.name) << c.code;
    EXPECT_EQ(NpcTypeNames().size(), 6u);
    EXPECT_EQ(NpcGroupNames().size(), 7u);
    EXPECT_EQ(NpcSeriesNames().size(), 5u);
}

TEST(NameTablesTest, CodeOfName) {
    const struct {
        std::span<const std::string_view> table;
        std::string_view name;
        int code;
    } cases[] = {
        {NpcTypeNames(), "", 1},         {NpcGroupNames(), "", 3},        {NpcSeriesNames(), "", 0},
        {NpcTypeNames(), "TalkNPC", 3},  {NpcTypeNames(), "talknpc", 0},  {NpcTypeNames(), "NPC(Fly)", 4},
        {NpcGroupNames(), "Enemy", 5},   {NpcGroupNames(), "Friend", 6},  {NpcGroupNames(), "Not Hit", 0},
        {NpcSeriesNames(), "3", 3},      {NpcSeriesNames(), "9", 0},      {NpcTypeNames(), "Enemy ", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CodeOfName(c.table, c.name), c.code) << c.name;
}

class NameCombosTest : public DialogFixture {};

TEST_F(NameCombosTest, CombosAreSortedAndNothingIsSelected) {
    Open();
    EXPECT_EQ(host.combos[IDC_TYPE], (std::vector<std::string>{"Enemy", "NPC(Fly)", "NPC(Ground)", "TalkNPC"}));
    EXPECT_EQ(host.combos[IDC_GROUP], (std::vector<std::string>{"Enemy", "Friend", "Jin", "Not Hit", "Song"}));
    EXPECT_EQ(host.combos[IDC_SERIES], (std::vector<std::string>{"0", "1", "2", "3", "4"}));
    for (int id : {IDC_TYPE, IDC_GROUP, IDC_SERIES}) EXPECT_EQ(host.ComboSelection(id), -1);
}

TEST_F(NameCombosTest, ClearListBoxEmptiesIt) {
    Open();
    ASSERT_EQ(host.ListBoxCount(IDC_TEMPLATE_LIST), 40);
    host.SelectListBox(IDC_TEMPLATE_LIST, 39);
    dlg->ClearListBox(IDC_TEMPLATE_LIST);
    EXPECT_EQ(host.ListBoxCount(IDC_TEMPLATE_LIST), 0);
    EXPECT_EQ(host.ListBoxSelection(IDC_TEMPLATE_LIST), -1);
}

TEST(TextToIntTest, LeadingNumber) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"", 0},   {"abc", 0},  {"12abc", 12},         {"  -7", -7},          {"+5", 5},   {"-", 0},
        {"007", 7}, {"1 2", 1}, {"99999999999", INT_MAX}, {"-99999999999", INT_MIN}, {"\t42", 42},
    };
    for (const auto& c : cases) EXPECT_EQ(LeadingNumberToInt(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace morvi::test
