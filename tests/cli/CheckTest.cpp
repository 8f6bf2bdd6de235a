// `check` (read-only findings with file and offset) and the command line's usage rules.

#include <nlohmann/json.hpp>

#include "CliFixture.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;
using tools::MakeRegionImage;

TEST_F(CliTest, CheckReportsEveryKindOfFindingWithFileAndOffset) {
    std::vector<PlacementRecord> a = HandRecords(0);
    a.push_back(MakeRecord(3, "Lost", 1, 1, 1, 1, 0, 0, 0, 0, "script/missing_script_file.lua"));
    std::string imageA = MakeRegionImage(7, a);
    imageA[2100] = 6;   // six counted, five tile the file
    WriteFile(handFile(0), imageA);
    std::string imageB = MakeRegionImage(8, HandRecords(1));
    imageB.resize(imageB.size() - 10);   // the last record loses its end
    WriteFile(handFile(1), imageB);
    AgeFiles(server());
    const TreeSnapshot before = Snapshot(server());

    const CliResult r = Run({"check", "手工"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out,
              "maps/hand/a/0_0_S.DAT:2269: template index 0 outside the template table (the window lists 1..11)\n"
              "maps/hand/a/0_0_S.DAT:2451: script path \"script/missing_script_file.lua\" does not start with '\\'\n"
              "maps/hand/a/0_0_S.DAT:2451: script file \"script/missing_script_file.lua\" not found under the "
              "server directory\n"
              "maps/hand/a/0_0_S.DAT:2100: placement count 6 does not match the 5 records that tile the file\n"
              "maps/hand/b/0_1_S.DAT:2128: name is not valid GBK: \"Bad\\xFF\\xFE\"\n"
              "maps/hand/b/0_1_S.DAT:2173: record cut off by the end of the file: 61 bytes long, 51 present\n");
    EXPECT_NE(r.err.find("checked 2 region files: 6 findings in 2 files"), std::string::npos) << r.err;

    // The whole tree includes this map's findings; nothing is written either way.
    const CliResult tree = Run({"check"});
    EXPECT_EQ(tree.status, 1);
    EXPECT_NE(tree.out.find(r.out), std::string::npos);
    const TreeSnapshot after = Snapshot(server());
    EXPECT_EQ(after.bytes, before.bytes);
    EXPECT_EQ(after.mtimes, before.mtimes);
}

TEST_F(CliTest, CheckOfACleanMapSucceedsSilently) {
    std::vector<PlacementRecord> a = HandRecords(0);
    a.erase(a.begin() + 2);   // the record with template 0
    WriteFile(handFile(0), MakeRegionImage(7, a));
    WriteFile(handFile(1), MakeRegionImage(8, {HandRecords(1)[1]}));
    const CliResult r = Run({"check", "hand"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "");
}

TEST_F(CliTest, ServerDirectoryComesFromTheOptionOrTheConfiguration) {
    // Neither --server nor MorviConfig.ini: a usage error, and no configuration file appears.
    CliResult r = RunMorvinpc({"maps"}, work());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("no server directory"), std::string::npos) << r.err;
    EXPECT_FALSE(FileExists(work() + "/MorviConfig.ini"));

    r = RunMorvinpc({"maps", "--server", dir.path() + "/missing"}, work());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("is not a directory"), std::string::npos) << r.err;

    // A tree without a map list is told so, in the command line's words.
    WriteFile(dir.path() + "/empty/settings/npcs.txt", "Name\r\n");
    r = RunMorvinpc({"list", "0", "--server", dir.path() + "/empty"}, work());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("morvinpc: no map list: maps/worldset.ini or settings/maplist.ini"), std::string::npos)
        << r.err;

    WriteFile(work() + "/MorviConfig.ini", "[MorviConfig]\r\nServerPath=" + server() + "\\\r\n");
    r = RunMorvinpc({"maps"}, work());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("手工"), std::string::npos);
}

TEST_F(CliTest, EverySubcommandHasHelpAndBadUsageExitsWithTwo) {
    for (const char* command : {"maps", "list", "check", "add", "set", "rm", "export", "import"}) {
        SCOPED_TRACE(command);
        const CliResult r = RunMorvinpc({command, "--help"}, work());
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("Usage"), std::string::npos) << r.out;
    }
    EXPECT_EQ(RunMorvinpc({}, work()).status, 2);
    EXPECT_EQ(RunMorvinpc({"frobnicate"}, work()).status, 2);
    EXPECT_EQ(Run({"list"}).status, 2);
    EXPECT_EQ(Run({"list", "0", "--format", "xml"}).status, 2);
}

}  // namespace
}  // namespace morvi::test

namespace morvi::test {
namespace {

// `check --format json`: every finding with its stable code, file, offset and row; the table
// keeps to the defects unless --all.
TEST_F(CliTest, CheckJsonGivesEveryFindingWithItsStableCode) {
    std::vector<PlacementRecord> a = HandRecords(0);
    a.push_back(tools::MakeRecord(3, "Far", 1200, 0, 10, 0, 0, 0, 0, 0));   // hidden: x 1200
    a.push_back(a[1]);                                                       // exact duplicate of the merchant
    WriteFile(handFile(0), tools::MakeRegionImage(7, a));

    const CliResult r = Run({"check", "hand", "--format", "json"});
    EXPECT_EQ(r.status, 1) << r.err;
    const nlohmann::json doc = nlohmann::json::parse(r.out);
    EXPECT_EQ(doc["files_checked"], 2);
    struct Want {
        const char* code;
        const char* file;
        int row;   // -1: null
        const char* fix;
    };
    // Rows: the hand map lists 6 records of file a (the template-0 and x-1200 ones hidden)
    // and 2 of file b; b's last record is row 0.
    const std::vector<Want> wanted = {
        {"template-outside-table", "maps/hand/a/0_0_S.DAT", -1, "delete-hidden"},
        {"duplicate-key", "maps/hand/a/0_0_S.DAT", 3, nullptr},
        {"hidden-record", "maps/hand/a/0_0_S.DAT", -1, "delete-hidden"},
        {"exact-duplicate", "maps/hand/a/0_0_S.DAT", 2, "delete-duplicate"},
        {"name-not-gbk", "maps/hand/b/0_1_S.DAT", 1, nullptr},
    };
    const nlohmann::json& findings = doc["findings"];
    ASSERT_EQ(findings.size(), wanted.size()) << r.out;
    for (size_t i = 0; i < wanted.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(findings[i]["code"], wanted[i].code);
        EXPECT_EQ(findings[i]["file"], wanted[i].file);
        if (wanted[i].row < 0) EXPECT_TRUE(findings[i]["row"].is_null());
        else EXPECT_EQ(findings[i]["row"], wanted[i].row);
        if (wanted[i].fix) EXPECT_EQ(findings[i]["fix"], wanted[i].fix);
        else EXPECT_TRUE(findings[i]["fix"].is_null());
        EXPECT_TRUE(findings[i]["offset"].is_number());
        EXPECT_TRUE(findings[i]["message"].is_string());
    }
    EXPECT_EQ(findings[2]["hidden"], nlohmann::json::array({"x-not-below-1000"}));
    EXPECT_EQ(findings[3]["other_offset"], 2173);

    // The table keeps to the defects; --all adds the others in the same order.
    const CliResult table = Run({"check", "hand"});
    EXPECT_EQ(table.out,
              "maps/hand/a/0_0_S.DAT:2269: template index 0 outside the template table (the window lists 1..11)\n"
              "maps/hand/b/0_1_S.DAT:2128: name is not valid GBK: \"Bad\\xFF\\xFE\"\n");
    const CliResult all = Run({"check", "hand", "--all"});
    EXPECT_EQ(all.status, 1);
    EXPECT_NE(all.out.find("maps/hand/a/0_0_S.DAT:2330: a second record with the key 3,100,50,1,2 of the record at "
                           "offset 2112"),
              std::string::npos)
        << all.out;
    EXPECT_NE(all.out.find("the window does not list this record: x is not below 1000"), std::string::npos);
    EXPECT_NE(all.out.find("the same placement, byte for byte, as the one at maps/hand/a/0_0_S.DAT:2173"),
              std::string::npos);
    EXPECT_EQ(Run({"check", "hand", "--format", "csv"}).status, 2);
}

}  // namespace
}  // namespace morvi::test
