#include "data/server/MapList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestFiles.h"

using morvi::MapListResult;
using morvi::ReadMapList;
using morvi::test::TempDir;
using morvi::test::WriteFile;
using Texts = std::vector<std::string>;

namespace {

struct MapTree {
    TempDir dir;
    std::string worldset = dir / "maps/worldset.ini";
    std::string maplist = dir / "settings/maplist.ini";
    MapListResult Read() const { return ReadMapList(worldset, maplist); }
};

const char* const kMapListIni =
    "[List]\r\n"
    "5_name=Dragon Gate\r\n"
    "5=dragon\\gate\r\n"
    "7_name=\xc1\xfa\xc3\xc5\r\n"  // GBK bytes pass through untouched
    "7=longmen\r\n"
    "8_name=Name only\r\n"
    "9=dir\\only\r\n"
    "11_name=Eleven\r\n"
    "11=eleven\r\n"
    "12_name=Twelve\r\n"
    "12=twelve\r\n";

}  // namespace

TEST(MapList, SlotsAreReadInOrderAndIncompleteMapsSkipped) {
    struct Case {
        const char* what;
        std::string worldset;
        int count;
        Texts names;
        Texts dirs;
    };
    const Case cases[] = {
        {"empty slot skipped", "[Init]\r\nCount=3\r\n[World]\r\nWorld00=5\r\nWorld02=7\r\n", 3,
         {"Dragon Gate", "\xc1\xfa\xc3\xc5"}, {"dragon\\gate", "longmen"}},
        {"slots past Count are never read", "[Init]\r\nCount=2\r\n[World]\r\nWorld01=11\r\nWorld02=12\r\n", 2,
         {"Eleven"}, {"eleven"}},
        {"duplicates listed twice", "[Init]\r\nCount=2\r\n[World]\r\nWorld00=7\r\nWorld01=7\r\n", 2,
         {"\xc1\xfa\xc3\xc5", "\xc1\xfa\xc3\xc5"}, {"longmen", "longmen"}},
        {"name without directory and the reverse are skipped",
         "[Init]\r\nCount=4\r\n[World]\r\nWorld00=8\r\nWorld01=9\r\nWorld02=3\r\nWorld03=11\r\n", 4, {"Eleven"},
         {"eleven"}},
        {"slot zero and map zero", "[Init]\r\nCount=2\r\n[World]\r\nWorld00=0\r\nWorld01=5\r\n", 2, {"Dragon Gate"},
         {"dragon\\gate"}},
        {"keys past 99 have three digits", "[Init]\r\nCount=101\r\n[World]\r\nWorld100=12\r\nWorld0100=5\r\n", 101,
         {"Twelve"}, {"twelve"}},
    };
    for (const Case& c : cases) {
        MapTree tree;
        WriteFile(tree.worldset, c.worldset);
        WriteFile(tree.maplist, kMapListIni);
        const MapListResult result = tree.Read();
        EXPECT_EQ(result.count, c.count) << c.what;
        EXPECT_EQ(result.names, c.names) << c.what;
        EXPECT_EQ(result.dirs, c.dirs) << c.what;
    }
}

TEST(MapList, NoPositiveCountMeansNoList) {
    struct Case {
        const char* what;
        const char* worldset;  // nullptr: file missing
        int count;
    };
    const Case cases[] = {
        {"missing worldset.ini", nullptr, 0},
        {"no Init section", "[World]\r\nWorld00=5\r\n", 0},
        {"Count 0", "[Init]\r\nCount=0\r\n[World]\r\nWorld00=5\r\n", 0},
        {"Count -1", "[Init]\r\nCount=-1\r\n[World]\r\nWorld00=5\r\n", -1},
    };
    for (const Case& c : cases) {
        MapTree tree;
        if (c.worldset) WriteFile(tree.worldset, c.worldset);
        WriteFile(tree.maplist, kMapListIni);
        const MapListResult result = tree.Read();
        EXPECT_EQ(result.count, c.count) << c.what;
        EXPECT_LE(result.count, 0) << c.what;
        EXPECT_TRUE(result.names.empty()) << c.what;
        EXPECT_TRUE(result.dirs.empty()) << c.what;
    }
}

TEST(MapList, MissingMapListGivesAnEmptyListWithoutError) {
    MapTree tree;
    WriteFile(tree.worldset, "[Init]\r\nCount=2\r\n[World]\r\nWorld00=5\r\nWorld01=7\r\n");
    const MapListResult result = tree.Read();
    EXPECT_EQ(result.count, 2);
    EXPECT_TRUE(result.names.empty());
    EXPECT_TRUE(result.dirs.empty());
}

TEST(MapList, NamesAndDirectoriesAreCutToTheirBuffers) {
    MapTree tree;
    WriteFile(tree.worldset, "[Init]\r\nCount=1\r\n[World]\r\nWorld00=4\r\n");
    WriteFile(tree.maplist, "[List]\r\n4_name=" + std::string(60, 'n') + "\r\n4=" + std::string(300, 'd') + "\r\n");
    const MapListResult result = tree.Read();
    EXPECT_EQ(result.names, (Texts{std::string(49, 'n')}));
    EXPECT_EQ(result.dirs, (Texts{std::string(254, 'd')}));
}

TEST(MapList, HugeCountReadsOnlyTheSlotsPresent) {
    // A Count of 2^31-1 must not walk two thousand million slots; the result is what the
    // slot-by-slot reading gives: only "World%02d" spellings count, the first of a key wins.
    MapTree tree;
    WriteFile(tree.worldset,
              "[Init]\r\nCount=2147483647\r\n[World]\r\nworld100=12\r\nWorld5=9\r\nWorld007=9\r\n"
              "World02=7\r\nWorld00=5\r\nWorld02=11\r\n");
    WriteFile(tree.maplist, kMapListIni);
    const MapListResult result = tree.Read();
    EXPECT_EQ(result.count, 2147483647);
    EXPECT_EQ(result.names, (Texts{"Dragon Gate", "\xc1\xfa\xc3\xc5", "Twelve"}));
    EXPECT_EQ(result.dirs, (Texts{"dragon\\gate", "longmen", "twelve"}));
}
