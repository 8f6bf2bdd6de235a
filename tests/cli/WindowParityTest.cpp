// The window and the command line write the same bytes for the same edit: each case is made
// once through the window's handlers (on the in-memory host) and once through morvinpc, from
// the same files, and the region files afterwards are compared.

#include <functional>

#include "CliFixture.h"
#include "data/server/ServerPath.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/MemoryHost.h"

namespace morvi::test {
namespace {

constexpr char kGuardKey[] = "3,100,50,1,2,maps/hand/a/0_0_S.DAT";
constexpr char kMerchantKey[] = "4,200,60,3,4,maps/hand/a/0_0_S.DAT";
constexpr char kBadKey[] = "5,300,70,5,6,maps/hand/b/0_1_S.DAT";

// The window on map 3 ("手工") of the fixture's tree, writing its history beside the tree.
struct Window {
    MemoryHost host;
    CPlacementDlg dlg{host};

    Window(const std::string& work, const std::string& history) {
        host.currentDirectory = work;
        host.Attach(&dlg);
        dlg.SetHistoryDirectory(history);
        dlg.OnInitDialog();
        host.SelectListBox(IDC_MAP_LIST, 3);
        dlg.LoadMapPlacements();
    }

    // Selects the row that shows the first record of the key (the lowest such row).
    void SelectKey(const std::string& keyText, const std::string& server) {
        for (int row = dlg.Rows().Count() - 1; row >= 0; --row) {
            const RowTexts cells = dlg.Rows().Texts(row);
            const std::string file = SlashForm(cells[COL_FILE]).substr(server.size() + 1);
            const std::string key = cells[COL_TEMPLATE] + "," + cells[COL_POS_X] + "," + cells[COL_POS_Y] + "," +
                                    cells[COL_OFFSET_X] + "," + cells[COL_OFFSET_Y] + "," + file;
            if (key == keyText) {
                host.list.SelectOnly(row);
                return;
            }
        }
        ADD_FAILURE() << "no row shows " << keyText;
    }

    void Type(int id, const std::string& text) { host.SetText(id, text); }
    void Choose(int id, const std::string& text) { host.ComboSetSelection(id, host.FindComboText(id, text)); }
};

TEST_F(CliTest, WindowAndCommandLineWriteTheSameBytes) {
    const std::string server = this->server();
    const std::string scriptPath = "\\script\\npc\\a_much_longer_script_name.lua";
    const struct {
        const char* what;
        std::function<void(Window&)> window;
        std::vector<std::string> cli;
    } cases[] = {
        {"modify name and drop",
         [&](Window& w) {
             w.SelectKey(kGuardKey, server);
             w.dlg.BeginEdit();
             w.Type(IDC_NAME, "队长");
             w.Type(IDC_DROP, "3");
             w.dlg.OnSave();
         },
         {"set", "3", kGuardKey, "--name", "队长", "--drop", "3"}},
        {"modify type and x of a name that is not GBK",
         [&](Window& w) {
             w.SelectKey(kBadKey, server);
             w.dlg.BeginEdit();
             w.Choose(IDC_TYPE, "NPC(Ground)");
             w.Type(IDC_POS_X, "301");
             w.dlg.OnSave();
         },
         {"set", "3", kBadKey, "--type", "NPC(Ground)", "--x", "301"}},
        {"modify: the script taken away, a drop count given",
         [&](Window& w) {
             w.SelectKey(kMerchantKey, server);
             w.dlg.BeginEdit();
             w.Type(IDC_SCRIPT, "");
             w.Type(IDC_DROP, "2");
             w.dlg.OnSave();
         },
         {"set", "3", kMerchantKey, "--script", "", "--drop", "2"}},
        {"modify: a script given",
         [&](Window& w) {
             w.SelectKey(kGuardKey, server);
             w.dlg.BeginEdit();
             w.Type(IDC_SCRIPT, scriptPath);
             w.dlg.OnSave();
         },
         {"set", "3", kGuardKey, "--script", scriptPath}},
        {"add with every field",
         [&](Window& w) {
             w.dlg.SetAddTargetFile(CollapseSeparators(server + "/maps/hand/b/0_1_S.DAT"));
             w.host.SelectListBox(IDC_TEMPLATE_LIST, 6);
             w.dlg.OnAdd();
             w.Type(IDC_NAME, "新兵");
             w.Type(IDC_POS_X, "11");
             w.Type(IDC_OFFSET_X, "1");
             w.Type(IDC_POS_Y, "22");
             w.Type(IDC_OFFSET_Y, "2");
             w.Choose(IDC_TYPE, "TalkNPC");
             w.Choose(IDC_GROUP, "Song");
             w.Choose(IDC_SERIES, "3");
             w.Type(IDC_DROP, "4");
             w.dlg.OnSave();
         },
         {"add", "3", "--template", "7", "--file", "maps/hand/b/0_1_S.DAT", "--name", "新兵", "--x", "11", "--offset-x",
          "1", "--y", "22", "--offset-y", "2", "--type", "TalkNPC", "--group", "Song", "--series", "3", "--drop", "4"}},
        {"add with the template's name, no codes chosen and a script",
         [&](Window& w) {
             w.dlg.SetAddTargetFile(CollapseSeparators(server + "/maps/hand/a/0_0_S.DAT"));
             w.host.SelectListBox(IDC_TEMPLATE_LIST, 4);
             w.dlg.OnAdd();
             w.Type(IDC_OFFSET_X, "0");
             w.Type(IDC_OFFSET_Y, "255");
             w.Type(IDC_SCRIPT, scriptPath);
             w.dlg.OnSave();
         },
         {"add", "3", "--template", "5", "--file", "maps/hand/a/0_0_S.DAT", "--offset-x", "0", "--offset-y", "255",
          "--script", scriptPath}},
        {"clone moved elsewhere",
         [&](Window& w) {
             w.SelectKey(kMerchantKey, server);
             w.dlg.OnClone();
             w.Type(IDC_POS_X, "7");
             w.Type(IDC_POS_Y, "8");
             w.dlg.OnSave();
         },
         {"clone", "3", kMerchantKey, "--x", "7", "--y", "8"}},
        {"clone of a record with codes the tables do not name",
         [&](Window& w) {
             w.SelectKey(kBadKey, server);
             w.dlg.OnClone();
             w.Type(IDC_NAME, "Copy");
             w.dlg.OnSave();
         },
         {"clone", "3", kBadKey, "--name", "Copy"}},
        {"delete",
         [&](Window& w) {
             w.SelectKey(kMerchantKey, server);
             w.host.answers.push_back(MessageAnswer::Yes);
             w.dlg.OnDelete();
         },
         {"rm", "3", kMerchantKey}},
    };
    WriteFile(work() + "/MorviConfig.ini", "[MorviConfig]\r\nServerPath=" + server + "\r\n");
    const std::string original[] = {ReadFile(handFile(0)), ReadFile(handFile(1))};
    const auto restore = [&] {
        WriteFile(handFile(0), original[0]);
        WriteFile(handFile(1), original[1]);
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        restore();
        {
            Window window(work(), stateDir() + "/window" + std::to_string(n++));
            c.window(window);
        }
        const std::string byWindow[] = {ReadFile(handFile(0)), ReadFile(handFile(1))};
        EXPECT_TRUE(byWindow[0] != original[0] || byWindow[1] != original[1]) << "the window wrote nothing";
        restore();
        const CliResult r = Run(c.cli);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(SameBytes(ReadFile(handFile(0)), byWindow[0]));
        EXPECT_TRUE(SameBytes(ReadFile(handFile(1)), byWindow[1]));
    }
}

}  // namespace
}  // namespace morvi::test
