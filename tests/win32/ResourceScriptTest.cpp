// The committed resource script of the Windows window must be what the shared window tables
// say, so the Qt window and the Win32 window never drift apart.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "ResourceScriptText.h"
#include "dialog/ControlIds.h"
#include "dialog/WindowTemplateTables.h"

namespace morvi {
namespace {

const std::string kScriptPath = std::string(MORVI_SOURCE_DIR) + "/res/MorviNpc.rc";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ResourceScript, CommittedScriptMatchesTheWindowTables) {
    const std::string expected = ResourceScriptText();
    if (const char* update = std::getenv("MORVI_UPDATE_RC"); update && std::string(update) == "1") {
        std::ofstream(kScriptPath, std::ios::binary) << expected;
    }
    EXPECT_EQ(ReadFile(kScriptPath), expected)
        << "res/MorviNpc.rc differs from the window tables; run this test with MORVI_UPDATE_RC=1";
}

// Every control the window logic addresses exists once in template 102; a typo in an id would
// otherwise leave the Windows window silently without that control.
TEST(ResourceScript, MainTemplateHoldsEveryControlIdOnce) {
    std::multiset<int> ids;
    for (const DialogItem& item : MainWindowTemplate())
        if (item.id) ids.insert(item.id);
    for (int id = IDC_BROWSE_SERVER; id <= IDC_FIND_NEXT; ++id) EXPECT_EQ(ids.count(id), 1u) << id;
    EXPECT_EQ(ids.count(IDC_CONTINUE), 1u);
    EXPECT_EQ(ids.size(), static_cast<size_t>(IDC_FIND_NEXT - IDC_BROWSE_SERVER + 2));
}

TEST(ResourceScript, ControlStylesFollowTheirKinds) {
    const std::string script = ResourceScriptText();
    struct Case { const char* statement; };
    for (const Case& c : {
             Case{"EDITTEXT 1018, 108, 266, 25, 12, ES_AUTOHSCROLL | ES_NUMBER | ES_RIGHT\n"},
             Case{"EDITTEXT 1019, 123, 298, 215, 12, ES_AUTOHSCROLL\n"},
             Case{"COMBOBOX 1024, 316, 264, 48, 51, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP\n"},
             Case{"LISTBOX 1014, 397, 58, 73, 220, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL"},
             Case{"\"SysListView32\", LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | WS_BORDER | WS_TABSTOP, 89, 57, 302, 188\n"},
             Case{"LTEXT \"MorviNpc 1.0\\nLien he qua\\ntrang du an:\", IDC_STATIC, 8, 247, 70, 54\n"},
             Case{"DEFPUSHBUTTON \"Thoat\", IDOK, 174, 20, 50, 16, WS_GROUP\n"},
             Case{"ICON 128, IDC_STATIC, 11, 17, 20, 20\n"},
             Case{"101, \"关于 MorviNpc(&A)...\"\n"},
             Case{"FONT 9, \"MS Shell Dlg\", 0, 0, 0x1\n"},
         }) {
        EXPECT_NE(script.find(c.statement), std::string::npos) << c.statement;
    }
    // Nothing in the script may be sorted that the window logic indexes by insertion order.
    EXPECT_EQ(script.find("LBS_SORT"), std::string::npos);
    EXPECT_EQ(script.find("LVS_SINGLESEL"), std::string::npos);
}

}  // namespace
}  // namespace morvi
