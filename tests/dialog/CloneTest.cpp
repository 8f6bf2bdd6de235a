// Cloning a placement: the edit area filled from a row, a new placement (not a modify), and the
// next save appending a copy to the row's own region file, byte for byte.

#include <functional>

#include "DialogFixture.h"
#include "data/region/RegionFile.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

constexpr uint32_t kSeedA = 5, kSeedB = 9;
const char* const kNewPlacementHint = "添加NPC模型成功,现在可以更改NPC配置信息!";

// Full paths compared whatever separators the system builds them with.
std::string Slashed(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string Appended(std::string image, const PlacementRecord& record) {
    const uint16_t count = static_cast<uint16_t>(static_cast<uint8_t>(image[2100]) |
                                                 (static_cast<uint8_t>(image[2101]) << 8));
    const uint16_t raised = static_cast<uint16_t>(count + 1);
    image[2100] = static_cast<char>(raised & 0xFF);
    image[2101] = static_cast<char>(raised >> 8);
    AppendPlacementBytes(image, record.block, record.script);
    return image;
}

// A source whose bytes no field shows are all set, with an odd stored Y and marker 0, so a copy
// that starts from zeros or from the field texts shows.
PlacementRecord Source(int type, int group, int series, std::string_view script = {}) {
    PlacementRecord r = MakeRecord(7, "SourceOfTheClone", 50, 5, 60, 6, type, group, series, 4, script);
    uint8_t* b = r.block.Bytes();
    for (int i : {2, 3, 7, 11, 12, 13, 14, 15, 51, 52, 53, 55, 59}) b[i] = static_cast<uint8_t>(0xA0 + i);
    if (script.empty()) r.block.variable = 0x77;
    r.block.marker = 0;
    r.block.SetPosYDoubled(121);
    return r;
}

// Two region files of map 0: the random choice of a new placement always takes a_S.DAT (with
// two files the last one is never chosen), so a copy in b_S.DAT can only come from the clone.
class CloneTest : public EmptyMapFixture {
protected:
    std::string FileA() const { return MapFile("a_S.DAT"); }
    std::string FileB() const { return MapFile("b_S.DAT"); }
    void WriteFiles(const std::vector<PlacementRecord>& a, const std::vector<PlacementRecord>& b) {
        imageA = tools::MakeRegionImage(kSeedA, a);
        imageB = tools::MakeRegionImage(kSeedB, b);
        WriteFile(FileA(), imageA);
        WriteFile(FileB(), imageB);
        SelectMap(0);
    }
    int RowNamed(const std::string& name) const {
        for (int row = 0; row < host.list.RowCount(); ++row)
            if (host.list.CellText(row, COL_NAME) == name) return row;
        return -1;
    }
    void CloneRow(int row) {
        ASSERT_GE(row, 0);
        host.list.ClickOnly(row);
        dlg->OnClone();
        ASSERT_EQ(dlg->EditMode(), EDIT_ADD);
    }

    std::string imageA, imageB;
};

TEST_F(CloneTest, FillsEveryFieldAndStartsANewPlacement) {
    WriteFiles({MakeRecord(3, "Other", 1, 1, 1, 1, 0, 0, 0, 0)}, {MakeRecord(12, "Guard", 321, 9, 45, 8, 3, 1, 2, 5)});
    CloneRow(RowNamed("Guard"));

    const struct {
        int id;
        const char* text;
    } fields[] = {{IDC_NAME, "Guard"}, {IDC_POS_X, "321"}, {IDC_OFFSET_X, "9"}, {IDC_POS_Y, "45"},
                  {IDC_OFFSET_Y, "8"}, {IDC_DROP, "5"},    {IDC_SCRIPT, ""},    {IDC_HINT, kNewPlacementHint}};
    for (const auto& f : fields) EXPECT_EQ(host.ItemText(f.id), f.text) << "control " << f.id;
    EXPECT_EQ(host.ComboText(IDC_TYPE), "TalkNPC");
    EXPECT_EQ(host.ComboText(IDC_GROUP), "Song");
    EXPECT_EQ(host.ComboText(IDC_SERIES), "2");
    // Stored template 12 is entry 11 of the list, as "Them" would have taken it.
    EXPECT_EQ(host.ListBoxSelection(IDC_TEMPLATE_LIST), 11);
    EXPECT_EQ(dlg->CurTemplate(), 12);
    EXPECT_EQ(dlg->EditRow(), -1);
    EXPECT_EQ(Slashed(dlg->CloneTargetFile()), Slashed(FileB()));
    // Nothing is written before "Luu".
    EXPECT_EQ(ReadFile(FileA()), imageA);
    EXPECT_EQ(ReadFile(FileB()), imageB);
}

// The copy lands in the source's file and equals the source but for the marker, the even Y and
// the fields the user changed; the other file keeps every byte.
TEST_F(CloneTest, SaveAppendsTheCopyToTheSourceFile) {
    const std::string script30 = "\\script\\npc\\thirty_bytes__.lua";
    const struct {
        const char* what;
        PlacementRecord source;
        std::string x, y;        // typed over the row's values; empty: left as they were
        const char* typeText;    // combo text chosen; nullptr: left as it was
        std::string script;      // typed; "=": left as it was
        int storedX, storedYDoubled, storedType;
    } cases[] = {
        {"moved a few steps", Source(0, 1, 1), "7", "8", nullptr, "=", 7, 16, 0},
        {"left as it was", Source(0, 1, 1), "", "", nullptr, "=", 50, 120, 0},
        {"codes without a name kept", Source(2, 4, 1), "7", "8", nullptr, "=", 7, 16, 2},
        {"codes beyond the tables kept", Source(9, 7, 6), "", "", nullptr, "=", 50, 120, 9},
        {"script with a forward slash kept", Source(1, 3, 0, "\\script/npc/thirty_bytes__.lua"), "7", "8",
         nullptr, "=", 7, 16, 1},
        {"changed combo stores its code", Source(2, 4, 1), "", "", "TalkNPC", "=", 50, 120, 3},
        {"script typed over", Source(0, 1, 1), "", "", nullptr, script30, 50, 120, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PlacementRecord other = MakeRecord(3, "Other", 1, 1, 1, 1, 0, 0, 0, 0);
        WriteFiles({other}, {other, c.source});
        CloneRow(RowNamed("SourceOfTheClone"));
        if (!c.x.empty()) host.SetText(IDC_POS_X, c.x);
        if (!c.y.empty()) host.SetText(IDC_POS_Y, c.y);
        if (c.typeText) host.SelectComboText(IDC_TYPE, c.typeText);
        if (c.script != "=") host.SetText(IDC_SCRIPT, c.script);
        const int rowsBefore = host.list.RowCount();

        const SaveOutcome outcome = dlg->OnSave();
        ASSERT_TRUE(outcome.Written()) << outcome.reason << outcome.hint;

        PlacementRecord expected = c.source;
        NpcPlacement& p = expected.block;
        p.marker = 1;
        p.SetPosX(static_cast<uint16_t>(c.storedX));
        p.SetPosYDoubled(static_cast<uint16_t>(c.storedYDoubled));
        p.npcType = static_cast<uint8_t>(c.storedType);
        if (c.script != "=") {
            p.dropCountOrScriptLength = static_cast<uint8_t>(c.script.size());
            p.variable = static_cast<uint8_t>(c.script[0]);
            expected.script = c.script;
        }
        EXPECT_EQ(ReadFile(FileB()), Appended(imageB, expected));
        EXPECT_EQ(ReadFile(FileA()), imageA);
        EXPECT_EQ(Slashed(outcome.file), Slashed(FileB()));
        ASSERT_EQ(host.list.RowCount(), rowsBefore + 1);
        EXPECT_EQ(Slashed(host.list.CellText(0, COL_FILE)), Slashed(FileB()));
        // One copy: the edit area is reset and the next new placement goes where "Them" puts it.
        EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
        EXPECT_EQ(dlg->CloneTargetFile(), "");
    }
}

TEST_F(CloneTest, ContinueBoxPutsEveryCopyInTheSourceFile) {
    WriteFiles({}, {Source(2, 4, 1)});
    host.SetChecked(IDC_CONTINUE, true);
    CloneRow(RowNamed("SourceOfTheClone"));
    for (const char* x : {"7", "8"}) {
        host.SetText(IDC_POS_X, x);
        const SaveOutcome outcome = dlg->OnSave();
        ASSERT_TRUE(outcome.Written()) << outcome.reason << outcome.hint;
        EXPECT_EQ(Slashed(outcome.file), Slashed(FileB()));
        EXPECT_EQ(outcome.record.block.npcType, 2) << "kept for every copy";
    }
    EXPECT_EQ(ReadFile(FileA()), imageA);
    std::vector<PlacementRecord> records;
    ASSERT_TRUE(ReadRegionPlacements(FileB(), records));
    EXPECT_EQ(records.size(), 3u);
}

TEST_F(CloneTest, WithoutASelectedRowNothingHappens) {
    WriteFiles({}, {Source(0, 1, 1)});
    host.list.ClearSelection();
    host.SetText(IDC_HINT, "as it was");
    dlg->OnClone();
    EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
    EXPECT_EQ(host.ItemText(IDC_HINT), "as it was");
    EXPECT_EQ(host.ItemText(IDC_NAME), "");
    EXPECT_EQ(dlg->CloneTargetFile(), "");
}

// The clone's file lasts only while its copy is edited: whatever starts another edit, or ends
// this one, forgets it, and a later new placement takes the random choice (a_S.DAT) again.
TEST_F(CloneTest, TheSourceFileIsForgottenWhenTheCloneEnds) {
    const struct {
        const char* what;
        std::function<void()> act;
        bool addsAfter;   // whether a new placement is still being composed afterwards
    } cases[] = {
        {"Them", [this] { host.SelectListBox(IDC_TEMPLATE_LIST, 0); dlg->OnAdd(); }, true},
        {"Huy", [this] { dlg->OnCancelEdit(); }, false},
        {"reset of the edit area", [this] { dlg->ResetEditArea(); }, false},
        {"map loaded again", [this] { dlg->LoadMapPlacements(); }, false},
        {"Sua on the row", [this] {
             host.answers.push_back(MessageAnswer::Yes);   // drop the new placement
             dlg->BeginEdit();
         }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFiles({}, {Source(2, 4, 1)});
        CloneRow(RowNamed("SourceOfTheClone"));
        c.act();
        EXPECT_EQ(dlg->CloneTargetFile(), "");
        if (!c.addsAfter) continue;
        ASSERT_EQ(dlg->EditMode(), EDIT_ADD);
        const SaveOutcome outcome = dlg->OnSave();
        ASSERT_TRUE(outcome.Written()) << outcome.reason << outcome.hint;
        EXPECT_EQ(Slashed(outcome.file), Slashed(FileA()));
        EXPECT_EQ(ReadFile(FileB()), imageB);
        // A plain new placement: the combos' texts decide, so the codes without a name (the
        // combos show nothing) become what an empty combo stores, 1 and 3.
        EXPECT_EQ(outcome.record.block.npcType, 1);
        EXPECT_EQ(outcome.record.block.npcGroup, 3);
    }
}

TEST_F(CloneTest, ANewPlacementBeingComposedIsDroppedOnlyWhenTheUserSaysSo) {
    WriteFiles({}, {Source(0, 1, 1), MakeRecord(12, "Guard", 321, 9, 45, 8, 3, 1, 2, 5)});
    host.SelectListBox(IDC_TEMPLATE_LIST, 0);
    dlg->OnAdd();
    host.SetText(IDC_POS_X, "999");
    host.list.ClickOnly(RowNamed("Guard"));

    host.answers.push_back(MessageAnswer::No);
    dlg->OnClone();
    EXPECT_EQ(host.ItemText(IDC_POS_X), "999");
    EXPECT_EQ(dlg->CloneTargetFile(), "");

    host.answers.push_back(MessageAnswer::Yes);
    dlg->OnClone();
    EXPECT_EQ(host.ItemText(IDC_POS_X), "321");
    EXPECT_EQ(Slashed(dlg->CloneTargetFile()), Slashed(FileB()));
}

// A modify in progress gives way to the clone as it gives way to another "Sua"; the row being
// modified stays as it is in its file.
TEST_F(CloneTest, CloneDuringAModifyWritesANewRecord) {
    WriteFiles({}, {Source(0, 1, 1)});
    host.list.ClickOnly(RowNamed("SourceOfTheClone"));
    dlg->BeginEdit();
    ASSERT_EQ(dlg->EditMode(), EDIT_MODIFY);
    dlg->OnClone();
    EXPECT_EQ(dlg->EditMode(), EDIT_ADD);
    EXPECT_EQ(dlg->EditRow(), -1);
    ASSERT_TRUE(dlg->OnSave().Written());
    std::vector<PlacementRecord> records;
    ASSERT_TRUE(ReadRegionPlacements(FileB(), records));
    EXPECT_EQ(records.size(), 2u);
}

}  // namespace
}  // namespace morvi::test
