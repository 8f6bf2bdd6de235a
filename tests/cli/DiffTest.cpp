// `diff OTHER_SERVER [MAP]`: what this tree adds, changes and removes compared with a copy, and
// its CSV, which `import` on the copy turns into exactly those changes: afterwards the region
// files of both trees are equal byte for byte, or diff has said which difference import
// cannot carry.

#include <filesystem>
#include <functional>

#include <nlohmann/json.hpp>

#include "CliFixture.h"

namespace morvi::test {
namespace {

namespace fs = std::filesystem;
using tools::MakeRecord;

const PlacementRecord kNew = MakeRecord(5, "New", 123, 4, 77, 9, 3, 2, 1, 0, "\\script\\npc\\merchant_of_the_town.lua");
const PlacementRecord kNew2 = MakeRecord(6, "Newer", 124, 5, 78, 10, 0, 1, 0, 7);

class DiffTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        fs::copy(server(), live(), fs::copy_options::recursive);
    }
    std::string live() const { return SlashForm(dir.path()) + "/live"; }
    std::string liveFile(int i) const { return live() + "/maps/hand/" + (i == 0 ? "a/0_0_S.DAT" : "b/0_1_S.DAT"); }
    // The region files of the hand map below a tree, by their path relative to the map.
    std::map<std::string, std::string> HandFiles(const std::string& root) const {
        std::map<std::string, std::string> files;
        for (const auto& [path, bytes] : Snapshot(root + "/maps/hand").bytes)
            files[path.substr(path.find("/maps/hand/") + 11)] = bytes;
        return files;
    }
};

struct DiffCase {
    const char* name;
    std::function<void(std::vector<PlacementRecord>& a, std::vector<PlacementRecord>& b)> edit;
    std::vector<std::string> tableLines;   // lines the table must hold
    bool carried;                          // import makes the trees equal
    const char* notCarried = nullptr;      // else: what diff says on its standard error
    std::function<void()> extra = nullptr;   // a change beyond the records
};

TEST_F(DiffTest, DiffThenImportMakesTheTreesEqualOrSaysWhyNot) {
    const std::vector<DiffCase> cases = {
        {"add at the end of a file", [](auto& a, auto&) { a.push_back(kNew); },
         {"  a/0_0_S.DAT", "    added    5,123,77,4,9 \"New\""}, true},
        {"two additions in two files", [](auto& a, auto& b) { a.push_back(kNew); b.push_back(kNew2); },
         {"    added    5,123,77,4,9 \"New\"", "    added    6,124,78,5,10 \"Newer\""}, true},
        {"change name, type and drop",
         [](auto& a, auto&) {
             a[0] = MakeRecord(3, Gbk("新卫兵"), 100, 1, 50, 2, 3, 1, 2, 9);
         },
         {"    changed  3,100,50,1,2: name \"卫兵\" -> \"新卫兵\"; type \"Enemy\" -> \"TalkNPC\"; drop \"5\" -> \"9\""},
         true},
        // As the window takes a script away: the trailing byte keeps the path's first byte.
        {"a script taken away",
         [](auto& a, auto&) {
             a[1] = MakeRecord(4, Gbk("商人"), 200, 3, 60, 4, 3, 5, 1, 4);
             a[1].block.variable = '\\';
         },
         {"    changed  4,200,60,3,4: drop \"\" -> \"4\"; script \"\\script\\npc\\merchant_of_the_town.lua\" -> \"\""},
         true},
        {"remove", [](auto& a, auto&) { a.erase(a.begin() + 1); },
         {"    removed  4,200,60,3,4 \"商人\""}, true},
        {"the second record of a duplicate key changed",
         [](auto& a, auto&) { a[3] = MakeRecord(3, Gbk("卫兵"), 100, 1, 50, 2, 4, 6, 3, 8); },
         {"    changed  3,100,50,1,2: drop \"7\" -> \"8\" (record 2 of this key)"}, true},
        {"add, change and remove at once",
         [](auto& a, auto& b) {
             a.erase(a.begin() + 1);
             a.push_back(kNew);
             b[1] = MakeRecord(6, "Slash\\x41", 400, 7, 80, 8, 1, 0, 0, 2);
         },
         {"    added    5,123,77,4,9 \"New\"", "    changed  6,400,80,7,8: type"}, true},
        {"bytes no column shows", [](auto& a, auto&) { a[0].block.reservedC[0] = 7; },
         {"    changed  3,100,50,1,2: bytes no column shows"}, false, "bytes that no column shows differ"},
        // Import pairs the n-th row of a key with the n-th record: the first record's partner
        // becomes the second, and the records end up in another order.
        {"the first record of a duplicate key removed", [](auto& a, auto&) { a.erase(a.begin()); },
         {"    removed  3,100,50,1,2"}, false, "records both trees hold stand in another order"},
        {"an addition before records both hold", [](auto& a, auto&) { a.insert(a.begin(), kNew); },
         {"    added    5,123,77,4,9 \"New\""}, false, "import appends new records at the end of the file"},
        {"a hidden record removed", [](auto& a, auto&) { a.erase(a.begin() + 2); },
         {"    removed  0,10,10,0,0 \"隐藏\""}, false, "import never deletes such a record"},
        {"a region file only in this tree", [](auto&, auto&) {},
         {"  c/0_2_S.DAT (only in this tree)"}, false, "import creates no file",
         [this] { WriteFile(server() + "/maps/hand/c/0_2_S.DAT", tools::MakeRegionImage(3, {kNew2})); }},
    };
    for (const DiffCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Both trees as the fixture made them, then this tree edited.
        fs::remove_all(server() + "/maps/hand/c");
        std::vector<PlacementRecord> a = HandRecords(0), b = HandRecords(1);
        for (const std::string& root : {server(), live()}) {
            WriteFile(root + "/maps/hand/a/0_0_S.DAT", tools::MakeRegionImage(7, a));
            WriteFile(root + "/maps/hand/b/0_1_S.DAT", tools::MakeRegionImage(8, b));
        }
        c.edit(a, b);
        WriteFile(handFile(0), tools::MakeRegionImage(7, a));
        WriteFile(handFile(1), tools::MakeRegionImage(8, b));
        if (c.extra) c.extra();

        const CliResult table = Run({"diff", live()});
        EXPECT_EQ(table.status, 1) << table.err;
        EXPECT_EQ(table.out.rfind("map 3 \"手工\" (hand): ", 0), 0u) << table.out;
        for (const std::string& line : c.tableLines) EXPECT_NE(table.out.find(line), std::string::npos) << table.out;

        const CliResult plan = Run({"diff", live(), "--format", "csv"});
        EXPECT_EQ(plan.status, 1) << plan.err;
        WriteFile(work() + "/plan.csv", plan.out);
        if (c.notCarried) {
            EXPECT_NE(plan.err.find("not carried by import"), std::string::npos) << plan.err;
            EXPECT_NE(plan.err.find(c.notCarried), std::string::npos) << plan.err;
            EXPECT_NE(table.out.find(c.notCarried), std::string::npos) << table.out;
        } else {
            EXPECT_EQ(plan.err.find("not carried"), std::string::npos) << plan.err;
        }
        const CliResult imported = RunMorvinpc({"import", "--server", live(), "3", work() + "/plan.csv"}, work());
        if (!c.carried) continue;
        EXPECT_EQ(imported.status, 0) << imported.err << imported.out;
        const auto ours = HandFiles(server()), theirs = HandFiles(live());
        ASSERT_EQ(ours.size(), theirs.size());
        for (const auto& [path, bytes] : ours) EXPECT_TRUE(SameBytes(theirs.at(path), bytes)) << path;
        // Nothing left to carry.
        const CliResult again = Run({"diff", live()});
        EXPECT_EQ(again.status, 0) << again.out;
        EXPECT_EQ(again.out, "");
    }
}

TEST_F(DiffTest, MapsAreMatchedByDirectoryAndCsvNeedsOneMap) {
    // Equal trees: nothing to say.
    CliResult r = Run({"diff", live()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");

    // Differences in two maps: the table lists both, the CSV asks which one.
    std::vector<PlacementRecord> a = HandRecords(0);
    a.push_back(kNew);
    WriteFile(handFile(0), tools::MakeRegionImage(7, a));
    r = Run({"maps", "--format", "json"});
    ASSERT_EQ(r.status, 0);
    const std::string entry = nlohmann::json::parse(r.out)[0]["directory"].get<std::string>();
    WriteFile(server() + "/maps/" + entry + "/extra_S.DAT", tools::MakeRegionImage(5, {kNew2}));
    r = Run({"diff", live()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("map 0 "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("map 3 "), std::string::npos) << r.out;
    r = Run({"diff", live(), "--format", "csv"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("name the map"), std::string::npos) << r.err;
    // MAP narrows it to one.
    r = Run({"diff", live(), "hand", "--format", "csv"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out.rfind("name,x,offset_x,y,offset_y,type,group,series,drop,script,file,template\n", 0), 0u) << r.out;
    EXPECT_NE(r.err.find("import 3 FILE"), std::string::npos) << r.err;

    // The other tree lists the hand map under another index: matched by directory all the same.
    std::string worldset = ReadFile(live() + "/maps/worldset.ini");
    worldset.replace(worldset.find("Count=4"), 7, "Count=5");
    worldset.replace(worldset.find("World03=99"), 10, "World03=98\r\nWorld04=99");
    WriteFile(live() + "/maps/worldset.ini", worldset);
    WriteFile(live() + "/settings/maplist.ini",
              ReadFile(live() + "/settings/maplist.ini") + "98_name=Extra\r\n98=extra\r\n");
    r = Run({"diff", live(), "hand"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("map 3 \"手工\" (hand), index 4 in the other tree"), std::string::npos) << r.out;
    r = Run({"diff", live()});
    EXPECT_NE(r.out.find("the other tree's map 3 \"Extra\" (extra): only in the other tree"), std::string::npos) << r.out;

    EXPECT_EQ(Run({"diff", dir.path() + "/nowhere"}).status, 2);
    EXPECT_EQ(Run({"diff", live(), "no-such-map"}).status, 2);
}

// `--format json`: every difference of every map, with the fields a change touches and stable
// codes for what import cannot carry; the exit status as the table's.
TEST_F(DiffTest, JsonListsEveryDifferenceWithFieldsAndStableCodes) {
    CliResult r = Run({"diff", live(), "--format", "json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out), nlohmann::json::array());

    std::vector<PlacementRecord> a = HandRecords(0), b = HandRecords(1);
    a[0] = MakeRecord(3, Gbk("新卫兵"), 100, 1, 50, 2, 3, 1, 2, 9);   // changed: name, type, drop
    a.erase(a.begin() + 1);                                           // removed: the merchant
    a.insert(a.begin(), kNew);                                        // added before records both hold
    b.push_back(kNew2);                                               // added at the end
    WriteFile(handFile(0), tools::MakeRegionImage(7, a));
    WriteFile(handFile(1), tools::MakeRegionImage(8, b));
    r = Run({"diff", live(), "--format", "json"});
    EXPECT_EQ(r.status, 1) << r.err;
    const nlohmann::json doc = nlohmann::json::parse(r.out);
    ASSERT_EQ(doc.size(), 1u) << r.out;
    const nlohmann::json& map = doc[0];
    EXPECT_EQ(map["map"]["index"], 3);
    EXPECT_EQ(map["map"]["directory"], "hand");
    EXPECT_EQ(map["other_map"]["index"], 3);
    EXPECT_TRUE(map["not_carried"].is_null());
    EXPECT_EQ(map["added"], 2);
    EXPECT_EQ(map["changed"], 1);
    EXPECT_EQ(map["removed"], 1);
    ASSERT_EQ(map["files"].size(), 2u);
    const nlohmann::json& first = map["files"][0];
    EXPECT_EQ(first["file"], "a/0_0_S.DAT");
    EXPECT_TRUE(first["here"].get<bool>() && first["there"].get<bool>());
    std::map<std::string, nlohmann::json> byKind;
    for (const nlohmann::json& p : first["placements"]) byKind[p["kind"].get<std::string>()] = p;
    ASSERT_EQ(byKind.size(), 3u) << first.dump(2);
    const nlohmann::json& added = byKind["added"];
    EXPECT_EQ(added["key"], nlohmann::json({{"template", 5}, {"x", 123}, {"y", 77}, {"offset_x", 4}, {"offset_y", 9}}));
    EXPECT_EQ(added["not_carried"], "not_at_end");
    EXPECT_EQ(added["ours"]["name"], "New");
    EXPECT_EQ(added["ours"]["script"], "\\script\\npc\\merchant_of_the_town.lua");
    EXPECT_TRUE(added["ours"]["drop"].is_null());
    EXPECT_FALSE(added["ours"].contains("file"));
    EXPECT_TRUE(added["theirs"].is_null());
    const nlohmann::json& changed = byKind["changed"];
    std::vector<std::string> columns;
    for (const nlohmann::json& f : changed["fields"]) columns.push_back(f["column"]);
    EXPECT_EQ(columns, (std::vector<std::string>{"name", "type", "drop"}));
    EXPECT_EQ(changed["fields"][0]["before"], "卫兵");
    EXPECT_EQ(changed["fields"][0]["after"], "新卫兵");
    EXPECT_EQ(changed["theirs"]["drop"], 5);
    EXPECT_EQ(changed["ours"]["drop"], 9);
    EXPECT_FALSE(changed["hidden_bytes_differ"].get<bool>());
    EXPECT_EQ(byKind["removed"]["theirs"]["name"], "商人");
    const nlohmann::json& second = map["files"][1]["placements"];
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0]["kind"], "added");
    EXPECT_TRUE(second[0]["not_carried"].is_null());

    // A map only one tree lists says so by its code.
    std::string worldset = ReadFile(live() + "/maps/worldset.ini");
    worldset.replace(worldset.find("Count=4"), 7, "Count=5");
    worldset.replace(worldset.find("World03=99"), 10, "World03=99\r\nWorld04=98");
    WriteFile(live() + "/maps/worldset.ini", worldset);
    WriteFile(live() + "/settings/maplist.ini", ReadFile(live() + "/settings/maplist.ini") + "98_name=Extra\r\n98=extra\r\n");
    fs::create_directories(live() + "/maps/extra");
    r = Run({"diff", live(), "--format", "json"});
    const nlohmann::json withExtra = nlohmann::json::parse(r.out);
    ASSERT_EQ(withExtra.size(), 2u) << r.out;
    EXPECT_TRUE(withExtra[1]["map"].is_null());
    EXPECT_EQ(withExtra[1]["other_map"]["name"], "Extra");
    EXPECT_EQ(withExtra[1]["not_carried"], "map_only_there");
}

}  // namespace
}  // namespace morvi::test
