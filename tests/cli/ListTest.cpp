// `maps` and `list` against the window's own logic on the same tree.

#include <nlohmann/json.hpp>

#include "CliFixture.h"
#include "cli/CliText.h"
#include "data/server/ServerPath.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/MemoryHost.h"

namespace morvi::test {
namespace {

// The window as the desktop program opens it: MorviConfig.ini in its current directory.
std::vector<RowTexts> WindowRows(const std::string& work, int map) {
    MemoryHost host;
    host.currentDirectory = work;
    CPlacementDlg dlg(host);
    host.Attach(&dlg);
    dlg.OnInitDialog();
    host.SelectListBox(IDC_MAP_LIST, map);
    dlg.LoadMapPlacements();
    std::vector<RowTexts> rows;
    for (int r = 0; r < dlg.Rows().Count(); ++r) rows.push_back(dlg.Rows().Texts(r));
    return rows;
}

std::vector<RowTexts> JsonRows(const std::string& json, const std::string& server) {
    static const char* const keys[] = {"name", "x", "offset_x", "y", "offset_y", "type",
                                       "group", "series", "drop", "script", "file", "template"};
    std::vector<RowTexts> rows;
    for (const auto& object : nlohmann::json::parse(json)) {
        RowTexts row;
        for (int c = 0; c < kPlacementColumnCount; ++c) {
            const auto& v = object.at(keys[c]);
            row[static_cast<size_t>(c)] = v.is_null() ? "" : v.is_number() ? std::to_string(v.get<long long>())
                                                                            : cli::UnescapeUndecodable(v.get<std::string>());
        }
        row[COL_FILE] = CollapseSeparators(server + "/" + row[COL_FILE]);
        rows.push_back(row);
    }
    return rows;
}

std::vector<RowTexts> CsvRows(const std::string& csv, const std::string& server, bool withHidden = false) {
    std::string error;
    auto records = cli::ParseCsv(csv, &error);
    EXPECT_TRUE(records) << error;
    std::vector<RowTexts> rows;
    for (size_t i = 1; records && i < records->size(); ++i) {
        const auto& fields = (*records)[i].fields;
        EXPECT_EQ(fields.size(), withHidden ? 13u : 12u);
        if (withHidden && !fields[12].empty()) continue;   // only the rows the window shows
        RowTexts row;
        for (int c = 0; c < kPlacementColumnCount; ++c)
            row[static_cast<size_t>(c)] = cli::UnescapeUndecodable(fields[static_cast<size_t>(c)]);
        row[COL_FILE] = CollapseSeparators(server + "/" + row[COL_FILE]);
        rows.push_back(row);
    }
    return rows;
}

TEST_F(CliTest, ListGivesTheWindowsRowsInEveryFormat) {
    // No --server: the server directory comes from MorviConfig.ini, as for the window.
    WriteFile(work() + "/MorviConfig.ini", "[MorviConfig]\r\nServerPath=" + server() + "\r\n");
    for (int map = 0; map < 4; ++map) {
        SCOPED_TRACE(map);
        const std::vector<RowTexts> window = WindowRows(work(), map);
        ASSERT_FALSE(window.empty());
        const CliResult json = RunMorvinpc({"list", std::to_string(map), "--format", "json"}, work());
        ASSERT_EQ(json.status, 0) << json.err;
        EXPECT_EQ(JsonRows(json.out, server()), window);
        const CliResult csv = RunMorvinpc({"export", std::to_string(map)}, work());
        ASSERT_EQ(csv.status, 0) << csv.err;
        EXPECT_EQ(CsvRows(csv.out, server()), window);
        // --all lists the same rows plus the hidden records, each with its rule.
        const CliResult all = RunMorvinpc({"list", std::to_string(map), "--all", "--format", "csv"}, work());
        ASSERT_EQ(all.status, 0) << all.err;
        EXPECT_EQ(CsvRows(all.out, server(), true), window);
    }
}

TEST_F(CliTest, ListShowsHiddenRecordsEscapedBytesAndRelativeFiles) {
    const CliResult all = Run({"list", "手工", "--all", "--format", "csv"});
    ASSERT_EQ(all.status, 0) << all.err;
    // Window order: the second file's records last to first, then the first file's.
    EXPECT_EQ(all.out,
              "name,x,offset_x,y,offset_y,type,group,series,drop,script,file,template,hidden\n"
              "Slash\\x5Cx41,400,7,80,8,NPC(Ground),Not Hit,0,2,,maps/hand/b/0_1_S.DAT,6,\n"
              "Bad\\xFF\\xFE,300,5,70,6,NPC(Fly),Jin,4,1,,maps/hand/b/0_1_S.DAT,5,\n"
              "卫兵,100,1,50,2,NPC(Fly),Friend,3,7,,maps/hand/a/0_0_S.DAT,3,\n"
              "隐藏,10,0,10,0,Enemy,Not Hit,0,0,,maps/hand/a/0_0_S.DAT,0,template index 0\n"
              "商人,200,3,60,4,TalkNPC,Enemy,1,,\\script\\npc\\merchant_of_the_town.lua,maps/hand/a/0_0_S.DAT,4,\n"
              "卫兵,100,1,50,2,Enemy,Song,2,5,,maps/hand/a/0_0_S.DAT,3,\n");

    const CliResult table = Run({"list", "3"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("Bad\\xFF\\xFE"), std::string::npos);
    EXPECT_EQ(table.out.find("隐藏"), std::string::npos);
}

TEST_F(CliTest, MapsListsIndexNameAndDirectory) {
    const CliResult r = Run({"maps", "--format", "csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "index,name,directory\n0,地图10,map10\n1,地图17,map17\n2,地图24,map24\n3,手工,hand\n");
    // A map may be named by index, display name or directory.
    for (const char* name : {"3", "手工", "hand"}) EXPECT_EQ(Run({"list", name, "--format", "csv"}).out, Run({"export", "3"}).out);
}

}  // namespace
}  // namespace morvi::test
