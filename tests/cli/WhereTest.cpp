// `list`, `rm` and `set` with --where FILTER: the matching rows, one history step for all of
// them, --dry-run, and the refusals that write nothing.

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>

#include "CliFixture.h"
#include "data/region/RegionFile.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;
using tools::MakeRegionImage;

constexpr char kGuardKey[] = "3,100,50,1,2,maps/hand/a/0_0_S.DAT";
constexpr char kMerchantKey[] = "4,200,60,3,4,maps/hand/a/0_0_S.DAT";
// Both guards of file a and the placement "Bad" of file b (the merchant between them has a script).
constexpr char kAcrossFiles[] = "script: x:100-300";

// Every byte of the two records alike.
bool SameRecord(const PlacementRecord& a, const PlacementRecord& b) {
    return std::memcmp(&a.block, &b.block, sizeof a.block) == 0 && a.script == b.script;
}

// Runs the command and expects it to leave every file of the tree as it was, mtimes included.
class CliWhereTest : public CliTest {
protected:
    CliResult RunWritingNothing(const std::vector<std::string>& args) {
        AgeFiles(server());
        const TreeSnapshot before = Snapshot(server());
        const CliResult r = Run(args);
        const TreeSnapshot after = Snapshot(server());
        EXPECT_EQ(after.bytes, before.bytes);
        EXPECT_EQ(after.mtimes, before.mtimes);
        return r;
    }
};

TEST_F(CliWhereTest, ListWhereGivesTheMatchingRowsInEveryFormat) {
    const CliResult json = Run({"list", "3", "--where", "name:卫兵", "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json rows = nlohmann::json::parse(json.out);
    ASSERT_EQ(rows.size(), 2u) << json.out;
    EXPECT_EQ(rows[0]["drop"], 7);   // the list's order: the later record of the file first
    EXPECT_EQ(rows[1]["drop"], 5);
    EXPECT_NE(json.err.find("2 of 5 placements match"), std::string::npos) << json.err;

    const CliResult csv = Run({"list", "3", "--where", "script:* type:3", "--format", "csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out.rfind("name,x,offset_x,y,offset_y,type,group,series,drop,script,file,template\n商人,200,", 0), 0u)
        << csv.out;
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 2);

    const CliResult table = Run({"list", "3", "--where", "file:hand/b"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("Slash"), std::string::npos);
    EXPECT_EQ(table.out.find("卫兵"), std::string::npos);

    // --all lists hidden records too, and the filter narrows them as well.
    const CliResult all = Run({"list", "3", "--all", "--where", "name:隐藏", "--format", "csv"});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_NE(all.out.find("隐藏"), std::string::npos) << all.out;

    const CliResult none = Run({"list", "3", "--where", "name:nobody"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("0 of 5 placements match"), std::string::npos) << none.err;
}

TEST_F(CliWhereTest, RefusalsAndUsageErrorsWriteNothing) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string text;
    } cases[] = {
        // A malformed term is an error naming it, never an empty result.
        {{"list", "3", "--where", "name:卫兵 x:abc"}, 2, "filter term \"x:abc\": not a number N or a range A-B"},
        {{"rm", "3", "--where", "colour:red"}, 2, "filter term \"colour:red\": unknown field"},
        {{"set", "3", "--where", "x:9-1", "--drop", "1"}, 2, "filter term \"x:9-1\": a range A-B with A greater"},
        {{"rm", "3", "--where", "type:Boss", "--dry-run"}, 2, "filter term \"type:Boss\""},
        // KEY and --where exclude each other; one of them is needed.
        {{"rm", "3", kGuardKey, "--where", "name:卫兵"}, 2, "give KEY or --where FILTER, not both"},
        {{"set", "3", kGuardKey, "--where", "name:卫兵", "--drop", "1"}, 2, "give KEY or --where FILTER, not both"},
        {{"rm", "3"}, 2, "give KEY or --where FILTER\n"},
        {{"set", "3", "--drop", "1"}, 2, "give KEY or --where FILTER\n"},
        // A name or an absolute position would be the same for every placement.
        {{"set", "3", "--where", "name:卫兵", "--name", "X"}, 2, "--name cannot be given with --where"},
        {{"set", "3", "--where", "name:卫兵", "--x", "5"}, 2, "--x cannot be given with --where"},
        {{"set", "3", "--where", "name:卫兵"}, 2, "nothing to change: give a field option or --move"},
        {{"set", "3", "--where", "name:卫兵", "--move", "0,0"}, 2, "nothing to change"},
        {{"set", "3", "--where", "name:卫兵", "--move", "5"}, 2, "--move must be DX,DY (two whole numbers), not \"5\""},
        {{"set", "3", "--where", "name:卫兵", "--move", "a,1"}, 2, "--move must be DX,DY"},
        {{"set", "3", kGuardKey, "--move", "1,1"}, 2, "--move needs --where FILTER"},
        {{"set", "3", "--where", "name:卫兵", "--drop", "x"}, 2, "--drop must be a whole number"},
        // Values no placement can take, and filters matching nothing.
        {{"set", "3", "--where", "name:卫兵", "--offset-x", "256"}, 1, "--offset-x must lie between 0 and 255; nothing written"},
        {{"set", "3", "--where", "name:卫兵", "--script", "\\" + std::string(255, 's')}, 1,
         "--script must take at most 255 bytes"},
        {{"rm", "3", "--where", "name:nobody"}, 1, "no placement of map 3 matches name:nobody; nothing removed"},
        {{"set", "3", "--where", "name:nobody", "--drop", "1"}, 1, "no placement of map 3 matches name:nobody; nothing written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.text);
        const CliResult r = RunWritingNothing(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.text), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(CliWhereTest, DryRunPrintsThePlanAndWritesNothing) {
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> lines;
    } cases[] = {
        {{"rm", "3", "--where", "name:卫兵", "--dry-run"},
         {"delete " + std::string(kGuardKey) + ": \"卫兵\"", "delete " + std::string(kGuardKey) + ": \"卫兵\""}},
        {{"rm", "3", kMerchantKey, "--dry-run"}, {"delete " + std::string(kMerchantKey) + ": \"商人\""}},
        {{"set", "3", "--where", "name:卫兵", "--drop", "3", "--move", "1,-2", "--dry-run"},
         {"change " + std::string(kGuardKey) + ": x \"100\" -> \"101\"; y \"50\" -> \"48\"; drop \"7\" -> \"3\"",
          "change " + std::string(kGuardKey) + ": x \"100\" -> \"101\"; y \"50\" -> \"48\"; drop \"5\" -> \"3\""}},
        {{"set", "3", kMerchantKey, "--offset-x", "9", "--dry-run"},
         {"change " + std::string(kMerchantKey) + ": offset_x \"3\" -> \"9\""}},
        {{"set", "3", "--where", "name:商人", "--type", "TalkNPC", "--dry-run"},
         {"change " + std::string(kMerchantKey) + ": no shown field changes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[2]);
        const CliResult r = RunWritingNothing(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        size_t at = 0;
        for (const std::string& line : c.lines) {
            at = r.out.find(line, at);
            ASSERT_NE(at, std::string::npos) << line << "\n" << r.out;
            at += line.size();
        }
        EXPECT_NE(r.out.find("dry run: no file written\n"), std::string::npos) << r.out;
    }
}

// One step of the history for every file the command rewrote: one undo takes all of it back.
TEST_F(CliWhereTest, RmAndSetWhereAreOneStepThatOneUndoReverses) {
    const std::vector<std::vector<std::string>> commands = {
        {"rm", "3", "--where", kAcrossFiles},
        {"set", "3", "--where", kAcrossFiles, "--group", "Song", "--move", "2,3"},
        {"set", "3", "--where", "", "--script", "", "--drop", ""},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args[0] + " " + args[3]);
        SetUp();
        const std::string a = ReadFile(handFile(0)), b = ReadFile(handFile(1));
        const CliResult r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(ReadFile(handFile(0)), a);
        EXPECT_NE(ReadFile(handFile(1)), b);
        const CliResult undone = Run({"undo"});
        ASSERT_EQ(undone.status, 0) << undone.err;
        EXPECT_TRUE(SameBytes(ReadFile(handFile(0)), a));
        EXPECT_TRUE(SameBytes(ReadFile(handFile(1)), b));
        EXPECT_EQ(Run({"undo"}).status, 1);   // nothing left: it was one step
    }
}

TEST_F(CliWhereTest, RmWhereCutsOutEveryMatchingRecord) {
    const CliResult r = Run({"rm", "3", "--where", kAcrossFiles});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("选择删除[3]条,实际完成[3]条!"), std::string::npos) << r.out;
    EXPECT_TRUE(SameBytes(ReadFile(handFile(0)), MakeRegionImage(7, {HandRecords(0)[1], HandRecords(0)[2]})));
    EXPECT_TRUE(SameBytes(ReadFile(handFile(1)), MakeRegionImage(8, {HandRecords(1)[1]})));
}

// Records sharing a key are each changed once, as their rows are.
TEST_F(CliWhereTest, SetWhereChangesEachRecordOfASharedKey) {
    const CliResult r = Run({"set", "3", "--where", "name:卫兵", "--drop", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<PlacementRecord> a;
    ASSERT_TRUE(ReadRegionPlacements(handFile(0), a));
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0].block.dropCountOrScriptLength, 3);
    EXPECT_EQ(a[3].block.dropCountOrScriptLength, 3);
    EXPECT_EQ(a[0].block.npcSeries, 2);   // the rest of each record stays its own
    EXPECT_EQ(a[3].block.npcSeries, 3);
}

// A change of many placements stores what the same change of each one by key stores.
TEST_F(CliWhereTest, SetWhereWritesTheBytesOfSetByKey) {
    const std::vector<std::vector<std::string>> options = {
        {"--drop", "2", "--script", ""},
        {"--type", "TalkNPC", "--group", "Song", "--series", "3"},
        {"--script", "script/npc/another_long_script_path.lua", "--offset-x", "9", "--offset-y", "0"},
        {"--drop", ""},
    };
    for (const auto& o : options) {
        SCOPED_TRACE(o[0] + " " + o[1]);
        SetUp();
        std::vector<std::string> bulk = {"set", "3", "--where", "name:商人"};
        bulk.insert(bulk.end(), o.begin(), o.end());
        const CliResult r = Run(bulk);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("商人"), std::string::npos) << r.out;
        const std::string byWhere = ReadFile(handFile(0));

        SetUp();
        std::vector<std::string> single = {"set", "3", kMerchantKey};
        single.insert(single.end(), o.begin(), o.end());
        ASSERT_EQ(Run(single).status, 0);
        EXPECT_TRUE(SameBytes(byWhere, ReadFile(handFile(0))));
    }
}

// Rows a move would take past the listed range are named and keep their bytes; the others move.
TEST_F(CliWhereTest, MovePastTheListedRangeNamesTheRowsAndLeavesThem) {
    const CliResult r = Run({"set", "3", "--where", "", "--move=0,-55"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not changed " + std::string(kGuardKey) +
                         " \"卫兵\": the move would take y outside 0 to 499"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("changed 3 of the 5 matching placements"), std::string::npos) << r.err;
    std::vector<PlacementRecord> a;
    ASSERT_TRUE(ReadRegionPlacements(handFile(0), a));
    ASSERT_EQ(a.size(), 4u);
    EXPECT_TRUE(SameRecord(a[0], HandRecords(0)[0]));   // the guards stay
    EXPECT_TRUE(SameRecord(a[3], HandRecords(0)[3]));
    EXPECT_TRUE(SameRecord(a[2], HandRecords(0)[2]));   // hidden: never matched
    EXPECT_EQ(a[1].block.PosY(), 5);                                // the merchant moved
    std::vector<PlacementRecord> b;
    ASSERT_TRUE(ReadRegionPlacements(handFile(1), b));
    EXPECT_EQ(b[0].block.PosY(), 15);
    EXPECT_EQ(b[1].block.PosY(), 25);

    const CliResult x = RunWritingNothing({"set", "3", "--where", "name:商人", "--move=800,0"});
    EXPECT_EQ(x.status, 1);
    EXPECT_NE(x.err.find("the move would take x outside 0 to 999"), std::string::npos) << x.err;
}

}  // namespace
}  // namespace morvi::test
