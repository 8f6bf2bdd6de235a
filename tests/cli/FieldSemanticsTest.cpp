// A field given on the command line is a field set: it is stored as asked, whatever the row
// shows; a field not given keeps the record's stored bytes. And a failed edit says only what is
// true about why nothing was written.

#include <filesystem>

#include "CliFixture.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;
using tools::MakeRegionImage;

constexpr char kOddKey[] = "3,100,50,1,2,maps/hand/a/0_0_S.DAT";

// A record whose codes lie beyond the name tables (shown as "Enemy", "Not Hit" and "0"), with
// bytes no field shows: the reserved fields and the name field after its terminator.
PlacementRecord OddRecord() {
    PlacementRecord r = MakeRecord(3, "Odd", 100, 1, 50, 2, 9, 9, 9, 5);
    r.block.reservedA[0] = 0x11;
    r.block.reservedC[2] = 0x22;
    r.block.reservedD[1] = 0x33;
    r.block.reservedF = 0x44;
    r.block.name[20] = 0x55;
    return r;
}

TEST_F(CliTest, SetStoresTheFieldsGivenAndKeepsEveryOtherByte) {
    struct Case {
        std::vector<std::string> options;
        void (*expect)(PlacementRecord&);
    };
    const Case cases[] = {
        // The row shows "Enemy" and "0" for codes 9: asked for, they are stored all the same.
        {{"--type", "Enemy", "--series", "0"}, [](PlacementRecord& r) { r.block.npcType = 0, r.block.npcSeries = 0; }},
        {{"--group", "not hit"}, [](PlacementRecord& r) { r.block.npcGroup = 0; }},
        // Empty: what an empty choice stores in the window (type 1, group 3, series 0).
        {{"--type", "", "--group", "", "--series", ""},
         [](PlacementRecord& r) { r.block.npcType = 1, r.block.npcGroup = 3, r.block.npcSeries = 0; }},
        // A name alone: the codes 9 stay, and so do the bytes after the new terminator.
        {{"--name", "Oddity"}, [](PlacementRecord& r) { r.block.SetName("Oddity"); }},
        {{"--x", "65535", "--y", "32767"},
         [](PlacementRecord& r) { r.block.SetPosX(65535), r.block.SetPosYDoubled(65534); }},
        {{"--offset-x", "0", "--offset-y", "255"}, [](PlacementRecord& r) { r.block.offsetX = 0, r.block.offsetY = 255; }},
        // An emptied drop count: the type's default, 1 for type 0 and 0 for any other.
        {{"--drop", ""}, [](PlacementRecord& r) { r.block.dropCountOrScriptLength = 0; }},
        {{"--drop", "", "--type", "Enemy"},
         [](PlacementRecord& r) { r.block.npcType = 0, r.block.dropCountOrScriptLength = 1; }},
        {{"--drop", "24"}, [](PlacementRecord& r) { r.block.dropCountOrScriptLength = 24; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.front() + " " + c.options[1]);
        SetUp();
        std::vector<PlacementRecord> records = HandRecords(0);
        records[0] = OddRecord();
        WriteFile(handFile(0), MakeRegionImage(7, records));
        std::vector<std::string> args = {"set", "3", kOddKey};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliResult r = Run(args);
        ASSERT_EQ(r.status, 0) << r.err;
        c.expect(records[0]);
        records[0].block.marker = 1;   // every record written is marked
        EXPECT_TRUE(SameBytes(ReadFile(handFile(0)), MakeRegionImage(7, records)));
    }
}

// The same options on a new placement and on a copy: a copy keeps its source's bytes where no
// option is given, a new placement has the window's empty edit area there.
TEST_F(CliTest, AddAndCloneStoreTheCodesAsked) {
    std::vector<PlacementRecord> records = HandRecords(0);
    records[0] = OddRecord();
    WriteFile(handFile(0), MakeRegionImage(7, records));

    ASSERT_EQ(Run({"clone", "3", kOddKey, "--x", "7", "--type", "TalkNPC"}).status, 0);
    PlacementRecord copy = OddRecord();
    copy.block.SetPosX(7);
    copy.block.npcType = 3;
    copy.block.marker = 1;
    records.push_back(copy);
    EXPECT_TRUE(SameBytes(ReadFile(handFile(0)), MakeRegionImage(7, records)));

    const CliResult added = Run({"add", "3", "--template", "3", "--file", "maps/hand/a/0_0_S.DAT", "--name", "N",
                                 "--x", "7", "--offset-x", "1", "--offset-y", "2", "--series", "4"});
    ASSERT_EQ(added.status, 0) << added.err;
    records.push_back(MakeRecord(3, "N", 7, 1, 0, 2, 1, 3, 4, 0));
    EXPECT_TRUE(SameBytes(ReadFile(handFile(0)), MakeRegionImage(7, records)));
}

#ifndef _WIN32   // the programs find their state directory through XDG_STATE_HOME
// When the change history cannot take the change, nothing is written, and the message says so
// and nothing else (not that the placement was gone, not that the row was refused).
TEST_F(CliTest, AFailedWriteSaysOnlyWhyNothingWasWritten) {
    // The state directory is a file: no journal can be made below it.
    WriteFile(stateDir(), "not a directory");
    const struct {
        std::vector<std::string> args;
        std::string nothing;
    } cases[] = {
        {{"set", "3", kOddKey, "--drop", "3"}, "; nothing written\n"},
        {{"add", "3", "--template", "5", "--file", "maps/hand/b/0_1_S.DAT"}, "; nothing added to map 3\n"},
        {{"clone", "3", kOddKey}, "; nothing added to maps/hand/a/0_0_S.DAT\n"},
        {{"rm", "3", kOddKey}, "removed 0 of the 1 placements asked for\n"},
    };
    AgeFiles(server());
    const TreeSnapshot before = Snapshot(server());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const CliResult r = Run(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("could not be recorded in the change history"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.nothing), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("no longer in"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("changed since"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    const TreeSnapshot after = Snapshot(server());
    EXPECT_EQ(after.bytes, before.bytes);
    EXPECT_EQ(after.mtimes, before.mtimes);
}
#endif

}  // namespace
}  // namespace morvi::test
