// The toolkit-free guard rails of the main window: the status strip's texts, the check for
// two records with one key in a region file, the keyboard map, the template filter, the rows
// copied to the clipboard and the choice of opener for scripts and the link.
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "data/text/GbkCodec.h"
#include "dialog/ControlIds.h"
#include "dialog/DesktopLaunch.h"
#include "dialog/KeyboardMap.h"
#include "dialog/RowClipboard.h"
#include "dialog/WriteStatus.h"

namespace morvi {
namespace {

PlacementRecord Rec(int templ, const std::string& name, int x, int y, int ox = 0, int oy = 0) {
    PlacementRecord r;
    r.block.SetTemplateIndex(static_cast<uint16_t>(templ));
    r.block.SetPosX(static_cast<uint16_t>(x));
    r.block.SetPosYDoubled(static_cast<uint16_t>(y * 2));
    r.block.offsetX = static_cast<uint8_t>(ox);
    r.block.offsetY = static_cast<uint8_t>(oy);
    r.block.SetName(*Utf8ToGbk(name));
    return r;
}

TEST(ServerRelativePathTest, StripsTheServerDirectoryOnlyAtAComponentBoundary) {
    struct Case { const char* server; const char* full; const char* expected; };
    const Case cases[] = {
        {"/srv/game", "/srv/game/maps/a/b_S.DAT", "maps\\a\\b_S.DAT"},
        {"/srv/game/", "/srv/game//maps/b_S.DAT", "maps\\b_S.DAT"},
        {"D:\\srv", "D:\\srv\\maps\\x_S.DAT", "maps\\x_S.DAT"},
        {"/srv/game", "/srv/gamex/maps/b_S.DAT", "/srv/gamex/maps/b_S.DAT"},
        {"/srv/game", "/other/b_S.DAT", "/other/b_S.DAT"},
        {"", "/srv/b_S.DAT", "/srv/b_S.DAT"},
    };
    for (const Case& c : cases) EXPECT_EQ(ServerRelativePath(c.server, c.full), c.expected) << c.full;
}

TEST(WriteStatusTest, NamesTimeOperationFileAndRows) {
    WriteStatus s;
    std::tm local{};
    local.tm_year = 126; local.tm_mon = 11; local.tm_mday = 7;
    local.tm_hour = 14; local.tm_min = 2; local.tm_sec = 11;
    local.tm_isdst = -1;
    s.when = std::mktime(&local);
    s.operation = WriteOperation::Add;
    s.files = {"/srv/maps/a/b_S.DAT"};
    s.rows = 1;
    s.listRows = 1234;
    EXPECT_EQ(FormatWriteStatus(s, "/srv"), "14:02:11  添加  maps\\a\\b_S.DAT  1 行 (列表 1234 行)");
    s.operation = WriteOperation::Delete;
    s.files = {"/srv/maps/a/b_S.DAT", "/srv/maps/a/c_S.DAT"};
    s.rows = 5;
    EXPECT_EQ(FormatWriteStatus(s, "/srv"), "14:02:11  删除  2 个文件  5 行 (列表 1234 行)");
}

TEST(DuplicateKeyTest, FindsRecordsThatShareAllFiveKeyValues) {
    const std::vector<PlacementRecord> records{
        Rec(3, "Guard", 100, 50), Rec(3, "Other", 100, 50, 1), Rec(4, "Guard", 100, 50),
        Rec(3, "Guard2", 100, 50), Rec(7, "商人", 10, 10), Rec(3, "Guard3", 100, 50), Rec(7, "商人乙", 10, 10),
    };
    const std::vector<DuplicateKey> found = FindDuplicateKeys(records);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].key, (PlacementKey{3, 100, 50, 0, 0}));
    EXPECT_EQ(found[0].firstName, "Guard");
    EXPECT_EQ(found[0].secondName, "Guard2");
    EXPECT_EQ(found[0].count, 3);
    EXPECT_EQ(found[1].firstName, "商人");
    EXPECT_EQ(found[1].secondName, "商人乙");
    EXPECT_EQ(found[1].count, 2);
    EXPECT_TRUE(FindDuplicateKeys({Rec(1, "a", 1, 1), Rec(1, "a", 1, 1, 0, 1)}).empty()) << "offset y differs";
    // Y is compared as shown: stored 100 and 101 are both Y 50.
    PlacementRecord odd = Rec(1, "odd", 5, 50);
    odd.block.SetPosYDoubled(101);
    EXPECT_EQ(FindDuplicateKeys({Rec(1, "even", 5, 50), odd}).size(), 1u);

    const std::string warning = FormatDuplicateWarning(found, "maps\\a\\b_S.DAT");
    EXPECT_NE(warning.find("maps\\a\\b_S.DAT"), std::string::npos);
    EXPECT_NE(warning.find("Guard 与 Guard2 等 3 条"), std::string::npos) << warning;
    EXPECT_NE(warning.find("商人 与 商人乙"), std::string::npos) << warning;
    EXPECT_EQ(FormatDuplicateWarning({}, "x"), "");
    EXPECT_TRUE(FindDuplicateKeysInFile("/nonexistent/x_S.DAT").empty());
}

TEST(KeyboardMapTest, EveryCommandHasOneDistinctKeyAndTheIssuedBindings) {
    const std::map<WindowCommand, std::pair<std::string, int>> expected{
        {WindowCommand::Save, {"Ctrl+S", IDC_SAVE}},       {WindowCommand::Delete, {"Del", IDC_DELETE}},
        {WindowCommand::Add, {"Ctrl+N", IDC_ADD}},         {WindowCommand::FocusSearchName, {"Ctrl+F", IDC_FIND_NAME}},
        {WindowCommand::FindNext, {"F3", IDC_FIND_NEXT}},  {WindowCommand::ReloadMap, {"F5", IDC_MAP_LIST}},
        {WindowCommand::Clone, {"Ctrl+D", 0}},             {WindowCommand::MapView, {"F4", 0}},
        {WindowCommand::Undo, {"Ctrl+Z", 0}},              {WindowCommand::Redo, {"Ctrl+Y", 0}},
        {WindowCommand::FindAll, {"Ctrl+Shift+F", 0}},
    };
    std::set<std::string> keys;
    EXPECT_EQ(KeyboardMap().size(), expected.size());
    for (const KeyBinding& b : KeyboardMap()) {
        EXPECT_TRUE(keys.insert(b.keys).second) << b.keys << " bound twice";
        ASSERT_TRUE(expected.count(b.command)) << b.keys;
        EXPECT_EQ(b.keys, expected.at(b.command).first);
        EXPECT_EQ(b.controlId, expected.at(b.command).second) << b.keys;
        // Undo and redo leave the text fields' own Ctrl+Z and Ctrl+Y alone.
        EXPECT_EQ(b.listFocusOnly, b.command == WindowCommand::Delete || b.command == WindowCommand::Undo ||
                                       b.command == WindowCommand::Redo)
            << b.keys;
        EXPECT_EQ(BindingOf(b.command), &b);
        EXPECT_EQ(BindingOfKeys(b.keys), &b);
        for (const char* reserved : {"Return", "Enter", "Esc"}) EXPECT_NE(std::string(b.keys), reserved);
    }
    EXPECT_EQ(BindingOfKeys("Ctrl+Q"), nullptr);
    EXPECT_EQ(TooltipWithKey("Luu", *BindingOf(WindowCommand::Save)), "Luu (Ctrl+S)");
}

TEST(TemplateFilterTest, MatchesNamesWithoutCaseAndNumbersByTemplateNumber) {
    struct Case { const char* name; int position; const char* filter; bool shown; };
    const Case cases[] = {
        {"Guard", 0, "", true},         {"Guard", 0, "  ", true},      {"Guard", 0, "uar", true},
        {"OldGuard", 3, "GUARD", true}, {"Guard", 0, "xyz", false},    {"商人", 5, "商", true},
        {"商人", 5, "6", true},          {"商人", 5, "5", false},        {"Npc12", 0, "12", true},
        {"Guard", 0, " gu ", true},     {"Guard", 0, "99999999999", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TemplateMatchesFilter(c.name, c.position, c.filter), c.shown) << c.name << " / " << c.filter;
}

TEST(RowClipboardTest, SelectedRowsAsTabSeparatedExportColumns) {
    const auto cell = [](int row, int column) -> std::string {
        if (column == COL_FILE) return "/srv/maps/a/b_S.DAT";
        if (column == COL_NAME) return row == 2 ? "Tab\there" : "Guard";
        if (column == COL_SCRIPT) return row == 2 ? "\\script\\a.lua" : "";
        return std::to_string(row * 100 + column);
    };
    const std::vector<int> rows{0, 2};
    EXPECT_EQ(RowsAsTabText(rows, cell, "/srv"),
              "name\tx\toffset_x\ty\toffset_y\ttype\tgroup\tseries\tdrop\tscript\tfile\ttemplate\n"
              "Guard\t1\t2\t3\t4\t5\t6\t7\t8\t\tmaps/a/b_S.DAT\t11\n"
              "Tab here\t201\t202\t203\t204\t205\t206\t207\t208\t\\script\\a.lua\tmaps/a/b_S.DAT\t211\n");
}

LaunchEnvironment Env(std::map<std::string, std::string> vars, std::set<std::string> programs) {
    return {[vars](const std::string& n) { return vars.count(n) ? vars.at(n) : std::string(); },
            [programs](const std::string& p) { return programs.count(p) > 0; }};
}

TEST(DesktopLaunchTest, OpenerFirstThenTheEditorInATerminal) {
    const std::string path = "/srv/script/a b.lua";
    EXPECT_EQ(EditorCommands(path, Env({}, {"xdg-open", "xterm"})),
              (std::vector<LaunchCommand>{{"xdg-open", {path}, true}}));
    EXPECT_EQ(EditorCommands(path, Env({{"VISUAL", "vim -p"}, {"EDITOR", "nano"}}, {"xterm", "konsole"})),
              (std::vector<LaunchCommand>{{"konsole", {"-e", "vim", "-p", path}, false}}))
        << "VISUAL before EDITOR, the first terminal found";
    EXPECT_EQ(EditorCommands(path, Env({{"EDITOR", "nano"}, {"TERMINAL", "myterm"}}, {"xdg-open", "myterm", "xterm"})),
              (std::vector<LaunchCommand>{{"xdg-open", {path}, true}, {"myterm", {"-e", "nano", path}, false}}));
    EXPECT_TRUE(EditorCommands(path, Env({{"EDITOR", "nano"}}, {})).empty()) << "no terminal, no opener";
    EXPECT_TRUE(EditorCommands(path, Env({}, {})).empty());

    EXPECT_EQ(BrowserCommands("https://x", Env({{"BROWSER", "firefox --new-tab"}}, {"firefox"})),
              (std::vector<LaunchCommand>{{"firefox", {"--new-tab", "https://x"}, false}}));
    EXPECT_TRUE(BrowserCommands("https://x", Env({{"BROWSER", "nothere"}}, {})).empty());
    EXPECT_NE(NoEditorText().find("EDITOR"), std::string::npos);
    EXPECT_NE(NoBrowserText().find("BROWSER"), std::string::npos);
}

TEST(DesktopLaunchTest, CommandTextsSplitAtBlanksWithQuotes) {
    EXPECT_EQ(SplitCommandLine("  code  --wait "), (std::vector<std::string>{"code", "--wait"}));
    EXPECT_EQ(SplitCommandLine("\"/opt/my editor/ed\" -x ''"), (std::vector<std::string>{"/opt/my editor/ed", "-x", ""}));
    EXPECT_TRUE(SplitCommandLine("").empty());
}

}  // namespace
}  // namespace morvi
