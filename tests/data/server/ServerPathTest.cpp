#include "data/server/ServerPath.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace morvi {
namespace {

using test::TempDir;
using test::WriteFile;

#ifndef _WIN32

TEST(ServerPath, TextualRule) {
    const struct {
        const char* server;
        const char* tail;
        const char* expected;
    } cases[] = {
        {"/srv/game", "\\settings\\npcs.txt", "/srv/game/settings/npcs.txt"},
        {"/srv/game/", "\\settings\\npcs.txt", "/srv/game/settings/npcs.txt"},
        {"/srv/game\\", "\\maps\\worldset.ini", "/srv/game/maps/worldset.ini"},
        {"/srv//game", "\\\\\\Gameserver.exe", "/srv/game/Gameserver.exe"},
        {"//srv/game", "/x", "/srv/game/x"},  // no network paths on POSIX
        {"", "\\settings\\maplist.ini", "/settings/maplist.ini"},
        {"rel\\dir", "\\a\\", "rel/dir/a/"},
        {"/", "\\Gameserver.exe", "/Gameserver.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.server) + " + " + c.tail);
        EXPECT_EQ(CollapseSeparators(std::string(c.server) + c.tail), c.expected);
        // Nothing of these exists, so the lookup leaves them as written.
        EXPECT_EQ(ServerFilePath(c.server, c.tail), c.expected);
    }
}

TEST(ServerPath, SeparatorConversions) {
    EXPECT_EQ(ToBackslashes("script/npc/a.lua"), "script\\npc\\a.lua");
    EXPECT_EQ(ToBackslashes("\\script\\a.lua"), "\\script\\a.lua");
    EXPECT_EQ(ToNativeSeparators("\\script\\npc/a.lua"), "/script/npc/a.lua");
}

TEST(ServerPath, ComponentsMatchedWithoutCase) {
    TempDir dir;
    WriteFile(dir / "Settings/NPCs.txt", "x");
    WriteFile(dir / "maps/worldset.ini", "x");
    WriteFile(dir / "maps/WorldSet.INI", "x");   // exact name wins over others
    WriteFile(dir / "Script/aB/x.lua", "x");
    WriteFile(dir / "Script/Ab/x.lua", "x");     // of several, the byte-wise smallest: "Ab"
    WriteFile(dir / "\xCE\xC0/File.txt", "x");
    WriteFile(dir / "\x81\x41.txt", "x");        // a trail byte that looks like 'A' is not a letter
    const std::string root = dir.path();
    const struct {
        const char* tail;
        std::string expected;
    } cases[] = {
        {"\\settings\\npcs.txt", root + "/Settings/NPCs.txt"},
        {"\\SETTINGS\\NPCS.TXT", root + "/Settings/NPCs.txt"},
        {"\\maps\\worldset.ini", root + "/maps/worldset.ini"},
        {"\\MAPS\\WorldSet.INI", root + "/maps/WorldSet.INI"},
        {"\\MAPS\\WORLDSET.ini", root + "/maps/WorldSet.INI"},
        {"\\script\\AB\\X.LUA", root + "/Script/Ab/x.lua"},
        {"\\Script\\aB\\x.lua", root + "/Script/aB/x.lua"},
        {"\\settings\\missing\\NPCs.txt", root + "/Settings/missing/NPCs.txt"},
        {"\\nothing\\Settings", root + "/nothing/Settings"},
        {"\\\xCE\xC0\\file.TXT", root + "/\xCE\xC0/File.txt"},
        {"\\settings\\.\\..\\Settings\\npcs.txt", root + "/Settings/./../Settings/NPCs.txt"},
        {"\\settings\\", root + "/Settings/"},
        {"\\\x81\x61.TXT", root + "/\x81\x61.TXT"},
        {"\\\x81\x41.TXT", root + "/\x81\x41.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        EXPECT_EQ(ServerFilePath(root, c.tail), c.expected);
        EXPECT_EQ(ServerFilePath(root + "/", c.tail), c.expected);
    }
}

#endif

}  // namespace
}  // namespace morvi

namespace {

TEST(ServerPathEscape, MapDirectoriesMustStayInsideTheServerTree) {
    const struct {
        const char* relative;
        bool escapes;
    } cases[] = {
        {"\\maps\\map10", false},
        {"\\maps\\..\\shared\\m", false},
        {"\\maps\\.\\a\\..\\b", false},
        {"\\maps\\..\\..\\other-server\\maps\\m", true},
        {"/maps/../../x", true},
        {"\\maps\\a\\..\\..\\..", true},
        {"C:\\abs\\m", true},
        {"\\maps\\\\\\m", false},
    };
    for (const auto& c : cases) EXPECT_EQ(morvi::EscapesServerDirectory(c.relative), c.escapes) << c.relative;
}

}  // namespace
