// `export` and `import`: an unchanged round trip writes nothing; changes give the bytes the
// window's own operations give; a failed write leaves every file as it was.

#include <sstream>

#include "CliFixture.h"
#include "cli/ImportPlan.h"
#include "data/platform/AtomicFile.h"

namespace morvi::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
}

TEST_F(CliTest, UnchangedRoundTripWritesNothing) {
    AgeFiles(server());
    const TreeSnapshot before = Snapshot(server());
    for (const char* format : {"csv", "json"})
        for (int map = 0; map < 4; ++map) {
            SCOPED_TRACE(std::string(format) + " map " + std::to_string(map));
            const CliResult exported = Run({"export", std::to_string(map), "--format", format});
            ASSERT_EQ(exported.status, 0) << exported.err;
            WriteFile(work() + "/map.txt", exported.out);
            const CliResult imported = Run({"import", std::to_string(map), "map.txt"});
            ASSERT_EQ(imported.status, 0) << imported.err;
            EXPECT_NE(imported.out.find("nothing to import"), std::string::npos) << imported.out;
        }
    const TreeSnapshot after = Snapshot(server());
    EXPECT_EQ(after.bytes, before.bytes);
    EXPECT_EQ(after.mtimes, before.mtimes);
}

// Map 3 exported, then edited: the name of the invalid-GBK row changed, the merchant deleted,
// one row added at the top for file b.
std::string EditedExport(const CliResult& exported) {
    std::vector<std::string> lines = Lines(exported.out);
    EXPECT_EQ(lines.size(), 6u);   // header and five listed rows
    for (std::string& l : lines) {
        if (l.rfind("Bad\\xFF\\xFE,", 0) == 0) l.replace(0, 11, "Good");
    }
    std::erase_if(lines, [](const std::string& l) { return l.rfind("商人,", 0) == 0; });
    lines.insert(lines.begin() + 1, "新兵,11,1,22,2,TalkNPC,Song,3,4,,maps/hand/b/0_1_S.DAT,7");
    return Join(lines);
}

TEST_F(CliTest, ImportGivesTheBytesOfTheWindowsOperations) {
    const CliResult exported = Run({"export", "3"});
    ASSERT_EQ(exported.status, 0);
    WriteFile(work() + "/edited.csv", EditedExport(exported));

    AgeFiles(server());
    const TreeSnapshot before = Snapshot(server());
    const CliResult dry = Run({"import", "3", "edited.csv", "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out,
              "delete 4,200,60,3,4,maps/hand/a/0_0_S.DAT: \"商人\"\n"
              "change 5,300,70,5,6,maps/hand/b/0_1_S.DAT: name \"Bad\\xFF\\xFE\" -> \"Good\"\n"
              "add    7,11,22,1,2,maps/hand/b/0_1_S.DAT: \"新兵\"\n"
              "1 additions, 1 changes, 1 deletions in 2 region files\n"
              "dry run: no file written\n");
    EXPECT_EQ(Snapshot(server()).mtimes, before.mtimes);

    const CliResult applied = Run({"import", "3", "edited.csv"});
    ASSERT_EQ(applied.status, 0) << applied.err;
    const std::string fileA = ReadFile(handFile(0)), fileB = ReadFile(handFile(1));

    // The same changes through the window's own save and delete, on the original files.
    WriteFile(handFile(0), before.bytes.at(handFile(0)));
    WriteFile(handFile(1), before.bytes.at(handFile(1)));
    ASSERT_EQ(Run({"rm", "3", "4,200,60,3,4,maps/hand/a/0_0_S.DAT"}).status, 0);
    ASSERT_EQ(Run({"set", "3", "5,300,70,5,6,maps/hand/b/0_1_S.DAT", "--name", "Good"}).status, 0);
    ASSERT_EQ(Run({"add", "3", "--template", "7", "--file", "maps/hand/b/0_1_S.DAT", "--name", "新兵", "--x", "11",
                   "--offset-x", "1", "--y", "22", "--offset-y", "2", "--type", "TalkNPC", "--group", "Song",
                   "--series", "3", "--drop", "4"})
                  .status,
              0);
    EXPECT_TRUE(SameBytes(ReadFile(handFile(0)), fileA));
    EXPECT_TRUE(SameBytes(ReadFile(handFile(1)), fileB));

    // Exporting again gives the edited file back, the new row where it was put.
    EXPECT_EQ(Run({"export", "3"}).out, ReadFile(work() + "/edited.csv"));
}

TEST_F(CliTest, ImportRefusesRowsTheWindowRefusesAndWritesNothing) {
    const CliResult exported = Run({"export", "3"});
    std::vector<std::string> lines = Lines(exported.out);
    lines.push_back("Far,1,300,1,1,Enemy,Song,0,0,,maps/hand/a/0_0_S.DAT,3");
    lines.push_back("Nowhere,1,1,1,1,Enemy,Song,0,0,,maps/map10/0_0_S.DAT,3");
    WriteFile(work() + "/bad.csv", Join(lines));
    AgeFiles(server());
    const TreeSnapshot before = Snapshot(server());

    CliResult r = Run({"import", "3", "bad.csv"});
    EXPECT_EQ(r.status, 2);   // a row outside the map is a usage error
    EXPECT_NE(r.err.find("bad.csv:8: \"maps/map10/0_0_S.DAT\" is not a region file of map 3"), std::string::npos)
        << r.err;
    lines.pop_back();
    WriteFile(work() + "/bad.csv", Join(lines));
    r = Run({"import", "3", "bad.csv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.csv:7: offset_x must lie between 0 and 255\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("nothing written"), std::string::npos);
    EXPECT_EQ(r.out, "");

    WriteFile(work() + "/header.csv", "name,x\nA,1\n");
    EXPECT_EQ(Run({"import", "3", "header.csv"}).status, 2);

    const TreeSnapshot after = Snapshot(server());
    EXPECT_EQ(after.bytes, before.bytes);
    EXPECT_EQ(after.mtimes, before.mtimes);
}

// A disk that fills up while the second file is written: the first file, already replaced,
// gets its old bytes back and the second was never changed.
TEST_F(CliTest, FailedWritePartWayLeavesEveryFileAsItWas) {
    const CliResult exported = Run({"export", "3"});
    WriteFile(work() + "/edited.csv", EditedExport(exported));
    const std::string path = work() + "/edited.csv";
    for (size_t failAt : {size_t{0}, size_t{1}}) {
        SCOPED_TRACE(failAt);
        const TreeSnapshot before = Snapshot(server());
        cli::ImportHooks hooks;
        std::vector<std::string> written;
        hooks.beforeWrite = [&](size_t index, const std::string& file) {
            written.push_back(file);
            if (index == failAt) FailNextReplaceAfterBytesForTesting(100);
        };
        std::ostringstream out, err;
        const int status = cli::RunImport({server()}, "3", path, false, out, err, hooks);
        EXPECT_EQ(status, 1);
        EXPECT_EQ(written.size(), failAt + 1);
        EXPECT_NE(err.str().find("import stopped"), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("no region file changed"), std::string::npos) << err.str();
        EXPECT_EQ(Snapshot(server()).bytes, before.bytes);
    }
}

}  // namespace
}  // namespace morvi::test

namespace morvi::test {
namespace {

// The records the window hides (here template 0) pair by key and file like any other row: an
// unchanged `list --all` export imports as nothing, however often it is imported.
TEST_F(CliTest, UnchangedListAllExportChangesNothing) {
    AgeFiles(server());
    const TreeSnapshot before = Snapshot(server());
    for (const char* format : {"csv", "json"}) {
        SCOPED_TRACE(format);
        const CliResult all = Run({"list", "3", "--all", "--format", format});
        ASSERT_EQ(all.status, 0) << all.err;
        ASSERT_NE(all.out.find("template index 0"), std::string::npos);
        WriteFile(work() + "/all.txt", all.out);
        for (int round = 0; round < 2; ++round) {
            const CliResult dry = Run({"import", "3", "all.txt", "--dry-run"});
            ASSERT_EQ(dry.status, 0) << dry.err;
            EXPECT_EQ(dry.out, "nothing to import: map 3 already matches all.txt\n");
            const CliResult applied = Run({"import", "3", "all.txt"});
            ASSERT_EQ(applied.status, 0) << applied.err;
            EXPECT_EQ(applied.out, "nothing to import: map 3 already matches all.txt\n");
        }
    }
    const TreeSnapshot after = Snapshot(server());
    EXPECT_EQ(after.bytes, before.bytes);
    EXPECT_EQ(after.mtimes, before.mtimes);
}

}  // namespace
}  // namespace morvi::test

namespace morvi::test {
namespace {

// In a matched row, a changed cell is a field set and the others keep the record's bytes: codes
// the tables do not name, reserved bytes, a script beside which a drop count cannot be stored.
TEST_F(CliTest, ImportSetsOnlyTheCellsThatChanged) {
    PlacementRecord odd = tools::MakeRecord(3, "Odd", 100, 1, 50, 2, 9, 9, 9, 5);
    odd.block.reservedC[1] = 0x22;
    odd.block.name[30] = 0x55;
    const struct {
        const char* line;      // the start of the exported line
        const char* edited;    // what it becomes
        void (*expect)(std::vector<PlacementRecord>&);   // nullptr: nothing to import
    } cases[] = {
        {"Odd,100,1,50,2,Enemy,Not Hit,0,5,", "Odder,100,1,50,2,Enemy,Not Hit,0,5,",
         [](std::vector<PlacementRecord>& r) { r[0].block.SetName("Odder"); }},
        {"Odd,100,1,50,2,Enemy,Not Hit,0,5,", "Odd,100,1,50,2,TalkNPC,Not Hit,0,5,",
         [](std::vector<PlacementRecord>& r) { r[0].block.npcType = 3; }},
        {"Odd,100,1,50,2,Enemy,Not Hit,0,5,", "Odd,100,1,50,2,Enemy,Not Hit,0,,",
         [](std::vector<PlacementRecord>& r) { r[0].block.dropCountOrScriptLength = 0; }},   // type 9's default
        {"商人,200,3,60,4,TalkNPC,Enemy,1,,", "商人,200,3,60,4,TalkNPC,Enemy,1,3,", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edited);
        SetUp();
        std::vector<PlacementRecord> records = HandRecords(0);
        records[0] = odd;
        WriteFile(handFile(0), tools::MakeRegionImage(7, records));
        std::string csv = Run({"export", "3"}).out;
        const size_t at = csv.find(c.line);
        ASSERT_NE(at, std::string::npos) << csv;
        csv.replace(at, std::string(c.line).size(), c.edited);
        WriteFile(work() + "/edited.csv", csv);
        const CliResult r = Run({"import", "3", "edited.csv"});
        ASSERT_EQ(r.status, 0) << r.err;
        if (!c.expect) {
            EXPECT_NE(r.out.find("nothing to import"), std::string::npos) << r.out;
            continue;
        }
        c.expect(records);
        EXPECT_TRUE(SameBytes(ReadFile(handFile(0)), tools::MakeRegionImage(7, records)));
    }
}

}  // namespace
}  // namespace morvi::test
