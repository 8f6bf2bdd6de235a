// The script buttons: choosing a script puts its server-relative path into the field; the
// editor button opens the field's file below the server directory, or a full path as it is.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogTestAccess.h"
#include "dialog/MemoryHost.h"
#include "TestFiles.h"
#include "dialog/CPlacementDlg.h"

namespace morvi::test {
namespace {

struct ScriptDialog {
    MemoryHost host;
    CPlacementDlg dlg{host};

    ScriptDialog(const std::string& serverPath, int mode) {
        host.Attach(&dlg);
        dlg.SetServerPath(serverPath);
        St::m_editMode(dlg) = static_cast<EditMode>(mode);
    }
};

TEST(Script, BrowsePutsTheServerRelativePathIntoTheField) {
    struct Case {
        const char* what;
        std::string server;
        std::string chosen;
        std::string field;
    };
    const std::vector<Case> cases = {
        {"inside", "/srv/game", "/srv/game/script/npc/a.lua", "\\script\\npc\\a.lua"},
        {"outside keeps the full path", "/srv/game", "/other/place/a.lua", "/other/place/a.lua"},
        {"a sibling that starts with the same text", "/srv/game", "/srv/game2/script/a.lua",
         "/srv/game2/script/a.lua"},
        {"the server text in the middle is not removed", "/srv/game", "/backup/srv/game/a.lua",
         "/backup/srv/game/a.lua"},
        {"another letter case is not removed", "/srv/Game", "/srv/game/a.lua", "/srv/game/a.lua"},
        {"a trailing separator on the server path", "/srv/game/", "/srv/game/a.lua", "\\a.lua"},
        {"doubled separators", "/srv/game", "/srv//game//script/a.lua", "\\script\\a.lua"},
        {"backslashes in the server path", "\\srv\\game", "/srv/game/script/a.lua", "\\script\\a.lua"},
        {"the root as server directory", "/", "/home/u/a.lua", "\\home\\u\\a.lua"},
        {"no server directory", "", "/x/a.lua", "/x/a.lua"},
        {"blanks and Chinese", "/srv/游戏 服", "/srv/游戏 服/脚本/新 NPC.lua", "\\脚本\\新 NPC.lua"},
    };
    for (int mode : {EDIT_ADD, EDIT_MODIFY}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (mode == EDIT_ADD ? " (adding)" : " (modifying)"));
            ScriptDialog d(c.server, mode);
            d.host.SetText(IDC_NAME, "Guard");
            d.host.SetText(IDC_SCRIPT, "\\old.lua");
            d.host.fileChoices.push_back(c.chosen);
            d.dlg.OnBrowseScript();
            EXPECT_EQ(d.host.ItemText(IDC_SCRIPT), NativeForm(c.field));
            ASSERT_EQ(d.host.fileDialogFilters.size(), 1u);
            const std::vector<FileFilter>& filters = d.host.fileDialogFilters[0];
            ASSERT_EQ(filters.size(), 2u);
            EXPECT_EQ(filters[0].label, "脚本配置文件(*.lua)");
            EXPECT_EQ(filters[0].pattern, "*.lua");
            EXPECT_EQ(filters[1].label, "所有文件(*.*)");
            EXPECT_EQ(filters[1].pattern, "*.*");
            EXPECT_EQ(d.host.fileDialogExtensions, std::vector<std::string>{".lua"});
            EXPECT_EQ(d.dlg.EditMode(), mode);
            EXPECT_EQ(d.host.ItemText(IDC_NAME), "Guard");
            EXPECT_EQ(d.host.ItemText(IDC_HINT), "");
        }
    }
}

TEST(Script, BrowseWhileIdleOrCancelledChangesNothing) {
    struct Case {
        int mode;
        bool dialogShown;
        std::string hint;
    };
    const std::vector<Case> cases = {
        {EDIT_IDLE, false, "您没有选择可更改的NPC"},
        {EDIT_ADD, true, ""},      // cancelled
        {EDIT_MODIFY, true, ""},   // cancelled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ScriptDialog d("/srv/game", c.mode);
        d.host.SetText(IDC_SCRIPT, "\\old.lua");
        if (c.mode == EDIT_IDLE) d.host.fileChoices.push_back(std::string("/srv/game/a.lua"));
        d.dlg.OnBrowseScript();
        EXPECT_EQ(d.host.fileDialogFilters.size(), c.dialogShown ? 1u : 0u);
        EXPECT_EQ(d.host.ItemText(IDC_SCRIPT), "\\old.lua");
        EXPECT_EQ(d.host.ItemText(IDC_HINT), c.hint);
        EXPECT_EQ(d.dlg.EditMode(), c.mode);
    }
}

TEST(Script, EditorOpensTheFieldsFile) {
    TempDir dir;
    const std::string server = dir / "server";
    WriteFile(server + "/script/npc/a.lua", "-- a");
    WriteFile(server + "/script/my npc/a b.lua", "-- b");
    WriteFile(server + "/only/here.lua", "-- c");
    WriteFile(dir / "outside/x.lua", "-- d");

    struct Case {
        const char* what;
        std::string field;
        std::vector<std::string> started;
    };
    const std::vector<Case> cases = {
        {"relative with its backslash", "\\script\\npc\\a.lua", {server + "/script/npc/a.lua"}},
        {"relative without one", "script\\npc\\a.lua", {server + "/script/npc/a.lua"}},
        {"forward slashes", "\\script/npc/a.lua", {server + "/script/npc/a.lua"}},
        {"blanks inside, one unquoted path", "\\script\\my npc\\a b.lua", {server + "/script/my npc/a b.lua"}},
        {"blanks around are trimmed as the save trims them", "  \\script\\npc\\a.lua \t",
         {server + "/script/npc/a.lua"}},
        {"a file that does not exist yet", "\\script\\new.lua", {server + "/script/new.lua"}},
        {"a full path outside the server directory", dir / "outside/x.lua", {dir / "outside/x.lua"}},
        {"a '/' path that exists only below the server directory", "/only/here.lua",
         {server + "/only/here.lua"}},
        {"empty", "", {}},
        {"blanks only", "   ", {}},
    };
    for (int mode : {EDIT_IDLE, EDIT_MODIFY}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            ScriptDialog d(server, mode);
            d.host.SetText(IDC_SCRIPT, c.field);
            d.dlg.OnEditScript();
            std::vector<std::string> started;
            for (const std::string& path : c.started) started.push_back(NativeForm(path));
            EXPECT_EQ(d.host.editorStarts, started);
            EXPECT_EQ(d.host.ItemText(IDC_SCRIPT), c.field);
            EXPECT_EQ(d.host.ItemText(IDC_HINT), "");
            EXPECT_EQ(d.dlg.EditMode(), mode);
        }
    }
}

TEST(Script, ABrowsedFileIsTheOneTheEditorOpens) {
    TempDir dir;
    const std::string server = dir / "server";
    for (const std::string& chosen : {server + "/script/npc/a.lua", dir / "elsewhere/b.lua"}) {
        SCOPED_TRACE(chosen);
        WriteFile(chosen, "--");
        ScriptDialog d(server, EDIT_ADD);
        d.host.fileChoices.push_back(chosen);
        d.dlg.OnBrowseScript();
        d.dlg.OnEditScript();
        EXPECT_EQ(d.host.editorStarts, std::vector<std::string>{NativeForm(chosen)});
    }
}

}  // namespace
}  // namespace morvi::test
