// The editing state machine: what each handler does in each state, what BeginEdit copies from a
// row, and how the edit area is reset.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DialogFixture.h"
#include "DialogTestAccess.h"
#include "dialog/MemoryHost.h"
#include "TestFiles.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/ComboHelpers.h"

namespace morvi::test {
namespace {

const std::string kHintPreviousEditOpen = "上一次编辑尚未结束!";
const std::string kHintChooseTemplate = "必须在NPC列表中选择一个NPC原型!";
const std::string kHintTemplateTaken = "添加NPC模型成功,现在可以更改NPC配置信息!";
const std::string kHintSelectRowFirst = "请先在列表中选择要编辑的NPC!";
const std::string kQuestionDropNew = "添加的信息尚未保存,是否取消添加继续编辑?";

RowTexts MakeRow(const std::string& name, const std::string& x, const std::string& ox,
                 const std::string& y, const std::string& oy, const std::string& type,
                 const std::string& group, const std::string& series, const std::string& drop,
                 const std::string& script, const std::string& file, const std::string& tmpl) {
    return RowTexts{name, x, ox, y, oy, type, group, series, drop, script, file, tmpl};
}

// A dialog without a server tree: templates and rows are filled in directly.
//   row 0: Guard      template 11, file a   (drop count)
//   row 1: OldGuard   template 12, file b   (script)
//   row 2: 卫兵       template 13, file a   (type and group codes without a name)
struct BareDialog {
    MemoryHost host;
    CPlacementDlg dlg{host};

    BareDialog() {
        host.Attach(&dlg);
        dlg.FillNameCombos();
        for (const char* t : {"Guard", "Merchant", "OldGuard"}) host.ListBoxAdd(IDC_TEMPLATE_LIST, t);
        InsertTopRowFromTexts(dlg, MakeRow("卫兵", "7", "0", "0", "255", "", "", "4", "24", "", "/m/a_S.DAT", "13"));
        InsertTopRowFromTexts(dlg, MakeRow("OldGuard", "999", "7", "499", "8", "TalkNPC", "Friend", "2", "",
                                       "\\script\\npc\\old guard\\talk.lua", "/m/b_S.DAT", "12"));
        InsertTopRowFromTexts(dlg, MakeRow("Guard", "100", "5", "200", "6", "Enemy", "Song", "1", "3", "",
                                       "/m/a_S.DAT", "11"));
    }
    std::string Hint() const { return host.ItemText(IDC_HINT); }
    std::string Name() const { return host.ItemText(IDC_NAME); }
};

// --- the state table -------------------------------------------------------------------------

enum class Event { Them, TemplateDblClk, Exchange, ListDblClk, Sua1033, Thoat, Luu };

struct StateCase {
    const char* what;
    int from;                                  // state before the event
    Event event;
    int templateSelected;                      // -1: none
    int rowClicked;                            // row the user selects before a list event
    std::optional<MessageAnswer> answer;       // answer to BeginEdit's question, if asked
    int to;
    int curTemplate;
    std::string name;
    std::string hint;                          // "" when the event writes none
    bool asks;
};

// Starting points: idle as opened; adding after "Them" on Merchant (template 2); modifying
// OldGuard (row 1, template 12).
void Enter(BareDialog& d, int state) {
    if (state == EDIT_ADD) {
        d.host.SelectListBox(IDC_TEMPLATE_LIST, 1);
        d.dlg.OnAdd();
    } else if (state == EDIT_MODIFY) {
        d.host.list.ClickOnly(1);
        d.dlg.OnModify();
    }
    ASSERT_EQ(d.dlg.EditMode(), state);
    d.host.SetItemText(IDC_HINT, "");
    d.host.listBoxSelection.clear();
}

void Fire(BareDialog& d, Event e) {
    switch (e) {
        case Event::Them: d.dlg.OnAdd(); break;
        case Event::TemplateDblClk: d.dlg.OnTemplateDblClk(); break;
        case Event::Exchange: d.dlg.OnExchange(); break;
        case Event::ListDblClk: d.dlg.OnListDblClk(); break;
        case Event::Sua1033: d.dlg.OnModify(); break;
        case Event::Thoat: d.dlg.OnCancelEdit(); break;
        case Event::Luu: d.dlg.OnSave(); break;
    }
}

TEST(EditWorkflow, StateTable) {
    const std::vector<StateCase> cases = {
        // idle
        {"idle Them", EDIT_IDLE, Event::Them, 0, -1, {}, EDIT_ADD, 1, "Guard", kHintTemplateTaken, false},
        {"idle Them, no template", EDIT_IDLE, Event::Them, -1, -1, {}, EDIT_IDLE, 0, "", kHintChooseTemplate, false},
        {"idle template dblclk", EDIT_IDLE, Event::TemplateDblClk, 0, -1, {}, EDIT_ADD, 0, "Guard", kHintTemplateTaken, false},
        {"idle template dblclk, none", EDIT_IDLE, Event::TemplateDblClk, -1, -1, {}, EDIT_IDLE, 0, "", kHintChooseTemplate, false},
        {"idle Exchange", EDIT_IDLE, Event::Exchange, 2, -1, {}, EDIT_IDLE, 0, "", "", false},
        {"idle list dblclk", EDIT_IDLE, Event::ListDblClk, -1, 0, {}, EDIT_MODIFY, 11, "Guard", "", false},
        {"idle Sua", EDIT_IDLE, Event::Sua1033, -1, 2, {}, EDIT_MODIFY, 13, "卫兵", "", false},
        {"idle Thoat", EDIT_IDLE, Event::Thoat, -1, -1, {}, EDIT_IDLE, 0, "", "", false},
        {"idle Luu", EDIT_IDLE, Event::Luu, 0, 0, {}, EDIT_IDLE, 0, "", "", false},
        // adding (Merchant, template 2)
        {"add Them", EDIT_ADD, Event::Them, 2, -1, {}, EDIT_ADD, 3, "OldGuard", kHintTemplateTaken, false},
        {"add Them, no template", EDIT_ADD, Event::Them, -1, -1, {}, EDIT_ADD, 0, "Merchant", kHintChooseTemplate, false},
        {"add template dblclk", EDIT_ADD, Event::TemplateDblClk, 2, -1, {}, EDIT_ADD, 2, "OldGuard", kHintTemplateTaken, false},
        {"add template dblclk, none", EDIT_ADD, Event::TemplateDblClk, -1, -1, {}, EDIT_ADD, 0, "Merchant", kHintChooseTemplate, false},
        {"add Exchange", EDIT_ADD, Event::Exchange, 0, -1, {}, EDIT_ADD, 2, "Merchant", "", false},
        {"add list dblclk, No", EDIT_ADD, Event::ListDblClk, -1, 0, MessageAnswer::No, EDIT_ADD, 2, "Merchant", "", true},
        {"add list dblclk, Yes", EDIT_ADD, Event::ListDblClk, -1, 0, MessageAnswer::Yes, EDIT_MODIFY, 11, "Guard", "", true},
        {"add Sua, No", EDIT_ADD, Event::Sua1033, -1, 1, MessageAnswer::No, EDIT_ADD, 2, "Merchant", "", true},
        {"add Sua, Yes", EDIT_ADD, Event::Sua1033, -1, 1, MessageAnswer::Yes, EDIT_MODIFY, 12, "OldGuard", "", true},
        {"add Thoat", EDIT_ADD, Event::Thoat, -1, -1, {}, EDIT_IDLE, 0, "", "", false},
        // modifying (OldGuard, template 12)
        {"modify Them", EDIT_MODIFY, Event::Them, 0, -1, {}, EDIT_MODIFY, 12, "OldGuard", kHintPreviousEditOpen, false},
        {"modify template dblclk", EDIT_MODIFY, Event::TemplateDblClk, 0, -1, {}, EDIT_MODIFY, 0, "Guard", "", false},
        // Zeroing the template would rewrite the placement with template 0: only the hint.
        {"modify template dblclk, none", EDIT_MODIFY, Event::TemplateDblClk, -1, -1, {}, EDIT_MODIFY, 12, "OldGuard", kHintChooseTemplate, false},
        {"modify Exchange", EDIT_MODIFY, Event::Exchange, 1, -1, {}, EDIT_MODIFY, 1, "Merchant", "", false},
        {"modify Exchange, none", EDIT_MODIFY, Event::Exchange, -1, -1, {}, EDIT_MODIFY, 12, "OldGuard", "", false},
        {"modify list dblclk other row", EDIT_MODIFY, Event::ListDblClk, -1, 0, {}, EDIT_MODIFY, 11, "Guard", "", false},
        {"modify Sua other row", EDIT_MODIFY, Event::Sua1033, -1, 2, {}, EDIT_MODIFY, 13, "卫兵", "", false},
        {"modify Thoat", EDIT_MODIFY, Event::Thoat, -1, -1, {}, EDIT_IDLE, 0, "", "", false},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.what);
        BareDialog d;
        Enter(d, c.from);
        if (c.templateSelected >= 0) d.host.SelectListBox(IDC_TEMPLATE_LIST, c.templateSelected);
        if (c.rowClicked >= 0) d.host.list.ClickOnly(c.rowClicked);
        if (c.answer) d.host.answers.push_back(*c.answer);
        const size_t captionsBefore = d.host.frameCaptions.size();

        Fire(d, c.event);

        EXPECT_EQ(d.dlg.EditMode(), c.to);
        EXPECT_EQ(d.dlg.CurTemplate(), c.curTemplate);
        EXPECT_EQ(d.Name(), c.name);
        EXPECT_EQ(d.Hint(), c.hint);
        ASSERT_EQ(d.host.messages.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(d.host.messages[0].text, kQuestionDropNew);
            EXPECT_EQ(d.host.messages[0].caption, "提示");
            EXPECT_EQ(d.host.messages[0].buttons, MessageButtons::YesNo);
            EXPECT_EQ(d.host.messages[0].icon, MessageIcon::Question);
        }
        EXPECT_EQ(d.host.frameCaptions.size(), captionsBefore);   // only the debug click writes it
        EXPECT_TRUE(d.host.editorStarts.empty());
    }
}

TEST(EditWorkflow, TakingATemplateTouchesNoOtherFieldAndExchangeKeepsTheKey) {
    BareDialog d;
    d.host.list.ClickOnly(1);
    d.dlg.OnModify();
    const auto key = std::vector<int>{d.dlg.EditKey().templateIndex, d.dlg.EditKey().posX, d.dlg.EditKey().posY,
                                      d.dlg.EditKey().offsetX, d.dlg.EditKey().offsetY};
    d.host.SelectListBox(IDC_TEMPLATE_LIST, 2);
    d.dlg.OnExchange();
    EXPECT_EQ(d.Name(), "OldGuard");
    EXPECT_EQ(d.dlg.CurTemplate(), 2);
    EXPECT_EQ(key, (std::vector<int>{d.dlg.EditKey().templateIndex, d.dlg.EditKey().posX, d.dlg.EditKey().posY,
                                     d.dlg.EditKey().offsetX, d.dlg.EditKey().offsetY}));
    EXPECT_EQ(d.dlg.EditFile(), "/m/b_S.DAT");
    EXPECT_EQ(d.host.ItemText(IDC_POS_X), "999");
    EXPECT_EQ(d.host.ComboText(IDC_TYPE), "TalkNPC");
    EXPECT_EQ(d.dlg.EditRow(), 1);

    // A new placement starts with whatever the other fields hold.
    BareDialog a;
    a.host.SetText(IDC_POS_X, "55");
    a.host.SelectComboText(IDC_GROUP, "Jin");
    a.host.SelectListBox(IDC_TEMPLATE_LIST, 0);
    a.dlg.OnAdd();
    EXPECT_EQ(a.host.ItemText(IDC_POS_X), "55");
    EXPECT_EQ(a.host.ComboText(IDC_GROUP), "Jin");
    EXPECT_EQ(a.dlg.EditRow(), -1);
}

TEST(EditWorkflow, ThemWithoutTemplateAlsoClearsTheOriginalTemplateButDoubleClickDoesNot) {
    for (bool button : {true, false}) {
        SCOPED_TRACE(button ? "Them" : "double click");
        BareDialog d;
        St::m_origTemplate(d.dlg) = 9;
        St::m_curTemplate(d.dlg) = 9;
        if (button) d.dlg.OnAdd();
        else d.dlg.OnTemplateDblClk();
        EXPECT_EQ(d.dlg.CurTemplate(), 0);
        EXPECT_EQ(d.dlg.EditKey().templateIndex, button ? 0 : 9);
    }
}

// --- BeginEdit -------------------------------------------------------------------------------

TEST(EditWorkflow, BeginEditCopiesTheRowTheKeyAndTheFile) {
    struct Case {
        int row;
        std::vector<std::pair<int, std::string>> fields;
        std::vector<int> key;   // template, pos x, pos y, offset x, offset y
        std::string file;
        std::string type, group, series;   // selected combo texts, "" for none
    };
    const std::vector<Case> cases = {
        {0, {{IDC_NAME, "Guard"}, {IDC_POS_X, "100"}, {IDC_OFFSET_X, "5"}, {IDC_POS_Y, "200"},
             {IDC_OFFSET_Y, "6"}, {IDC_DROP, "3"}, {IDC_SCRIPT, ""}},
         {11, 100, 200, 5, 6}, "/m/a_S.DAT", "Enemy", "Song", "1"},
        {1, {{IDC_NAME, "OldGuard"}, {IDC_POS_X, "999"}, {IDC_OFFSET_X, "7"}, {IDC_POS_Y, "499"},
             {IDC_OFFSET_Y, "8"}, {IDC_DROP, ""}, {IDC_SCRIPT, "\\script\\npc\\old guard\\talk.lua"}},
         {12, 999, 499, 7, 8}, "/m/b_S.DAT", "TalkNPC", "Friend", "2"},
        // Type and group codes without a name show empty texts: no item is selected, so the
        // save keeps those codes instead of turning them into the first item's.
        {2, {{IDC_NAME, "卫兵"}, {IDC_POS_X, "7"}, {IDC_OFFSET_X, "0"}, {IDC_POS_Y, "0"},
             {IDC_OFFSET_Y, "255"}, {IDC_DROP, "24"}, {IDC_SCRIPT, ""}},
         {13, 7, 0, 0, 255}, "/m/a_S.DAT", "", "", "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        BareDialog d;
        // Leftovers of an earlier edit must not survive.
        d.host.SelectComboText(IDC_TYPE, "NPC(Fly)");
        d.host.SelectComboText(IDC_GROUP, "Jin");
        d.host.SetText(IDC_SCRIPT, "\\old\\script\\that\\is\\long\\enough.lua");
        d.host.list.ClickOnly(c.row);
        d.dlg.OnListDblClk();
        for (const auto& [id, text] : c.fields) EXPECT_EQ(d.host.ItemText(id), text) << id;
        EXPECT_EQ((std::vector<int>{d.dlg.EditKey().templateIndex, d.dlg.EditKey().posX, d.dlg.EditKey().posY,
                                    d.dlg.EditKey().offsetX, d.dlg.EditKey().offsetY}),
                  c.key);
        EXPECT_EQ(d.dlg.CurTemplate(), c.key[0]);
        EXPECT_EQ(d.dlg.EditFile(), c.file);
        EXPECT_EQ(d.dlg.EditRow(), c.row);
        EXPECT_EQ(d.host.ComboText(IDC_TYPE), c.type);
        EXPECT_EQ(d.host.ComboText(IDC_GROUP), c.group);
        EXPECT_EQ(d.host.ComboText(IDC_SERIES), c.series);
        EXPECT_EQ(d.Hint(), "");   // BeginEdit writes no status
        EXPECT_TRUE(d.host.frameCaptions.empty());
    }
}

TEST(EditWorkflow, CombosAreSelectedByTheBeginningOfTheText) {
    struct Case {
        int combo;
        std::string cell;
        std::string selected;
    };
    const std::vector<Case> cases = {
        {IDC_TYPE, "NPC(Ground)", "NPC(Ground)"},
        {IDC_TYPE, "npc(fly)", "NPC(Fly)"},     // letters without regard to case
        {IDC_TYPE, "NPC", "NPC(Fly)"},          // first from the top in sorted order
        {IDC_TYPE, "T", "TalkNPC"},
        {IDC_TYPE, "Talker", ""},               // no item begins with it
        {IDC_TYPE, "", ""},
        {IDC_GROUP, "Enemy", "Enemy"},
        {IDC_GROUP, "not hit", "Not Hit"},
        {IDC_GROUP, "Not Hit ", ""},
        {IDC_GROUP, "S", "Song"},
        {IDC_SERIES, "0", "0"},
        {IDC_SERIES, "5", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        // A row's cell always shows a table name now, so the prefix rule BeginEdit applies to
        // the cell is exercised on the texts directly.
        BareDialog d;
        ComboSelectPrefix(d.host, c.combo, c.cell);
        EXPECT_EQ(d.host.ComboText(c.combo), c.selected);
    }
}

TEST(EditWorkflow, BeginEditPicksTheRowAtOrAfterTheSearchPosition) {
    struct Case {
        const char* what;
        std::vector<int> selected;
        int searchPos;
        int loadedRow;      // -1: refused
        int searchPosAfter;
    };
    const std::vector<Case> cases = {
        {"no search: first selected from the top", {0, 2}, -1, 0, 0},
        {"after a search: the row found", {0, 2}, 2, 2, 2},
        {"first selected at or after the position", {0, 2}, 1, 2, 1},
        {"only rows above the position: first from the top", {0, 1}, 2, 0, 2},
        {"nothing selected", {}, -1, -1, -1},
        {"nothing selected after a search", {}, 1, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BareDialog d;
        for (int r : c.selected) d.host.list.SelectRow(r);
        St::m_searchPos(d.dlg) = c.searchPos;
        d.dlg.OnModify();
        EXPECT_EQ(d.dlg.SearchPos(), c.searchPosAfter);
        if (c.loadedRow < 0) {
            EXPECT_EQ(d.dlg.EditMode(), EDIT_IDLE);
            EXPECT_EQ(d.Hint(), kHintSelectRowFirst);
            EXPECT_EQ(d.Name(), "");
            EXPECT_EQ(d.dlg.EditRow(), -1);
        } else {
            EXPECT_EQ(d.dlg.EditMode(), EDIT_MODIFY);
            EXPECT_EQ(d.dlg.EditRow(), c.loadedRow);
            EXPECT_EQ(d.Name(), d.host.list.CellText(c.loadedRow, COL_NAME));
        }
    }
}

TEST(EditWorkflow, NothingSelectedWhileAddingRefusesBeforeAsking) {
    BareDialog d;
    d.host.SelectListBox(IDC_TEMPLATE_LIST, 0);
    d.dlg.OnAdd();
    d.host.SetText(IDC_POS_X, "42");
    d.host.answers.push_back(MessageAnswer::Yes);
    d.dlg.OnListDblClk();
    EXPECT_TRUE(d.host.messages.empty());
    EXPECT_EQ(d.Hint(), kHintSelectRowFirst);
    EXPECT_EQ(d.dlg.EditMode(), EDIT_ADD);
    EXPECT_EQ(d.dlg.CurTemplate(), 1);
    EXPECT_EQ(d.Name(), "Guard");
    EXPECT_EQ(d.host.ItemText(IDC_POS_X), "42");
}

TEST(EditWorkflow, AnsweringNoKeepsTheNewPlacementUntouched) {
    BareDialog d;
    d.host.SelectListBox(IDC_TEMPLATE_LIST, 2);
    d.dlg.OnTemplateDblClk();
    d.host.SetText(IDC_POS_X, "42");
    d.host.SelectComboText(IDC_TYPE, "NPC(Fly)");
    d.host.list.ClickOnly(1);
    d.dlg.OnListDblClk();   // the fake answers No by default
    ASSERT_EQ(d.host.messages.size(), 1u);
    EXPECT_EQ(d.dlg.EditMode(), EDIT_ADD);
    EXPECT_EQ(d.dlg.CurTemplate(), 2);
    EXPECT_EQ(d.dlg.SearchPos(), -1);
    EXPECT_EQ(d.dlg.EditRow(), -1);
    EXPECT_EQ(d.Name(), "OldGuard");
    EXPECT_EQ(d.host.ItemText(IDC_POS_X), "42");
    EXPECT_EQ(d.host.ComboText(IDC_TYPE), "NPC(Fly)");
}

// --- reset, single click, focus hints ------------------------------------------------------

TEST(EditWorkflow, ThoatEmptiesTheEditAreaButKeepsSelectionSearchAndStatus) {
    BareDialog d;
    d.host.list.SelectRow(0);
    d.host.list.SelectRow(1);
    St::m_searchPos(d.dlg) = 1;
    d.dlg.OnModify();
    d.host.SelectListBox(IDC_TEMPLATE_LIST, 2);
    d.dlg.OnExchange();
    d.host.SetItemText(IDC_HINT, "hint");
    d.host.SetItemText(IDC_FRAME, "caption");

    d.dlg.OnCancelEdit();

    EXPECT_EQ(d.dlg.EditMode(), EDIT_IDLE);
    EXPECT_EQ(d.dlg.CurTemplate(), 0);
    EXPECT_EQ(d.dlg.EditKey().templateIndex, 0);
    EXPECT_EQ(d.dlg.EditRow(), -1);
    for (int id : {IDC_NAME, IDC_POS_X, IDC_OFFSET_X, IDC_POS_Y, IDC_OFFSET_Y, IDC_DROP, IDC_SCRIPT})
        EXPECT_EQ(d.host.ItemText(id), "") << id;
    for (int id : {IDC_TYPE, IDC_GROUP, IDC_SERIES}) EXPECT_EQ(d.host.ComboSelection(id), -1) << id;
    EXPECT_EQ(d.host.list.SelectedRows(), (std::vector<int>{0, 1}));
    EXPECT_EQ(d.dlg.SearchPos(), 1);
    EXPECT_EQ(d.host.ListBoxSelection(IDC_TEMPLATE_LIST), 2);
    EXPECT_EQ(d.dlg.EditFile(), "/m/b_S.DAT");
    EXPECT_EQ(d.Hint(), "hint");
    EXPECT_EQ(d.host.ItemText(IDC_FRAME), "caption");
    EXPECT_EQ(d.host.ComboCount(IDC_TYPE), 4);   // the items themselves stay
}

TEST(EditWorkflow, SingleClickShowsTheRegionFileOnlyInDebugMode) {
    struct Case {
        bool debug;
        std::vector<int> selected;
        std::vector<std::string> captions;
    };
    const std::vector<Case> cases = {
        {true, {1, 2}, {"[调试模式]/m/b_S.DAT"}},
        {true, {}, {"[调试模式]"}},
        {false, {1}, {}},
    };
    for (const Case& c : cases) {
        BareDialog d;
        St::m_debugMode(d.dlg) = c.debug;
        for (int r : c.selected) d.host.list.SelectRow(r);
        d.dlg.OnListClick();
        EXPECT_EQ(d.host.frameCaptions, c.captions);
        EXPECT_EQ(d.Name(), "");
        EXPECT_EQ(d.dlg.EditMode(), EDIT_IDLE);
    }
}

TEST(EditWorkflow, FocusHints) {
    const std::vector<std::pair<int, std::string>> cases = {
        {IDC_TEMPLATE_LIST, "双击该选项可以替换或增添NPC"},
        {IDC_PLACEMENT_LIST, "双击该选项可以编辑选定项"},
        {IDC_GROUP, "宋,金阵营只对宋金中的NPC有效!"},
    };
    for (const auto& [id, hint] : cases) {
        BareDialog d;
        d.host.FocusItem(id);
        EXPECT_EQ(d.Hint(), hint) << id;
    }
}

// --- on a generated server tree ------------------------------------------------------------

class EditWorkflowOnTree : public DialogFixture {};

// Opening a row and saving it untouched must give the file back byte for byte: the edit area
// carries every value of the record, and the combos map back to the same codes.
TEST_F(EditWorkflowOnTree, SavingAnUntouchedRowLeavesItsFileIdentical) {
    tools::TreeShape tree;
    tree.maps = 1;
    tree.scriptPercent = 30;
    Open(tree);
    SelectMap(0);
    MemoryList& list = host.list;
    ASSERT_GT(list.RowCount(), 10);
    int saved = 0;
    for (int row = 0; row < list.RowCount() && saved < 8; ++row) {
        // Codes without a name cannot be chosen in a combo, so those rows cannot round-trip.
        if (list.CellText(row, COL_TYPE).empty() || list.CellText(row, COL_GROUP).empty()) continue;
        const std::string file = list.CellText(row, COL_FILE);
        const std::string before = ReadFile(file);
        const RowTexts shown = host.list.Cells(row);
        host.list.ClickOnly(row);
        dlg->OnListDblClk();
        ASSERT_EQ(dlg->EditMode(), EDIT_MODIFY);
        dlg->OnSave();
        SCOPED_TRACE(row);
        EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
        EXPECT_EQ(ReadFile(file), before);
        EXPECT_EQ(host.list.Cells(row), shown);
        ++saved;
    }
    EXPECT_EQ(saved, 8);
}

// Exchange while modifying rewrites the template and name of the record found by the old key.
TEST_F(EditWorkflowOnTree, ExchangeThenSaveWritesTheChosenTemplateIntoTheLoadedRow) {
    tools::TreeShape tree;
    tree.maps = 1;
    Open(tree);
    SelectMap(0);
    ASSERT_GT(host.list.RowCount(), 3);
    host.list.ClickOnly(2);
    dlg->OnModify();
    const RowTexts top = host.list.Cells(0);
    host.SelectListBox(IDC_TEMPLATE_LIST, 5);
    const std::string templateName = host.ListBoxText(IDC_TEMPLATE_LIST, 5);
    dlg->OnExchange();
    // A search meanwhile selects another row; the row BeginEdit loaded is refreshed all the same.
    host.list.SelectRow(0);
    dlg->OnSave();
    EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
    EXPECT_EQ(host.list.CellText(2, COL_NAME), templateName);
    EXPECT_EQ(host.list.CellText(2, COL_TEMPLATE), "5");
    EXPECT_EQ(host.list.Cells(0), top);
}

}  // namespace
}  // namespace morvi::test
