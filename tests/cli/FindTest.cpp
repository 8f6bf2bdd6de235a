// `find FILTER`: every map's matching placements, each row with the map's index and name and
// the row `list` shows it in; a map that cannot be read is named and skipped.

#include <nlohmann/json.hpp>

#include "CliFixture.h"

namespace morvi::test {
namespace {

TEST_F(CliTest, FindGivesMapIndexNameAndRowInEveryFormat) {
    // The hand map's guards (rows 0 and 3 of `list hand`: its file a holds them first and last).
    const CliResult list = Run({"list", "hand", "--format", "json"});
    ASSERT_EQ(list.status, 0);
    const nlohmann::json rows = nlohmann::json::parse(list.out);

    const CliResult json = Run({"find", "name:卫兵", "--format", "json"});
    EXPECT_EQ(json.status, 0) << json.err;
    const nlohmann::json found = nlohmann::json::parse(json.out);
    ASSERT_EQ(found.size(), 2u) << json.out;
    for (const nlohmann::json& f : found) {
        EXPECT_EQ(f["map"], 3);
        EXPECT_EQ(f["map_name"], "手工");
        const nlohmann::json& row = rows[f["row"].get<size_t>()];
        for (const char* column : {"name", "x", "y", "offset_x", "offset_y", "drop", "file", "template"})
            EXPECT_EQ(f[column], row[column]) << column;
    }
    EXPECT_LT(found[0]["row"], found[1]["row"]);
    EXPECT_NE(json.err.find("2 placements in 1 of 4 maps match"), std::string::npos) << json.err;

    const CliResult csv = Run({"find", "name:卫兵", "--format", "csv"});
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.rfind("map,map_name,row,name,x,offset_x,y,offset_y,type,group,series,drop,script,file,template\n3,手工,", 0), 0u)
        << csv.out;
    const CliResult table = Run({"find", "name:卫兵"});
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.out.find("手工"), std::string::npos);
}

TEST_F(CliTest, FindWalksEveryMapInOrderAndNamesAMapItCannotRead) {
    // A fifth map whose directory does not exist.
    std::string worldset = ReadFile(server() + "/maps/worldset.ini");
    worldset.replace(worldset.find("Count=4"), 7, "Count=5");
    worldset += "World04=97\r\n";
    WriteFile(server() + "/maps/worldset.ini", worldset);
    WriteFile(server() + "/settings/maplist.ini",
              ReadFile(server() + "/settings/maplist.ini") + "97_name=Gone\r\n97=gone\r\n");
    const CliResult r = Run({"find", "", "--format", "json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("map 4 \"Gone\" skipped: cannot read maps/gone"), std::string::npos) << r.err;
    const nlohmann::json found = nlohmann::json::parse(r.out);
    int lastMap = -1, lastRow = -1;
    for (const nlohmann::json& f : found) {
        const int map = f["map"], row = f["row"];
        if (map != lastMap) {
            EXPECT_GT(map, lastMap);
            EXPECT_EQ(row, 0);
        } else {
            EXPECT_EQ(row, lastRow + 1);
        }
        lastMap = map;
        lastRow = row;
    }
    EXPECT_EQ(lastMap, 3);

    const CliResult none = Run({"find", "name:nobody-has-this-name"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    const CliResult bad = Run({"find", "x:9-1"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("filter term \"x:9-1\""), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace morvi::test
