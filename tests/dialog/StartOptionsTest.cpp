// The window program's own options and the user configuration directory the desktop menu
// starts it in.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "TestFiles.h"
#include "dialog/StartOptions.h"

namespace morvi::test {
namespace {

TEST(StartOptions, ReadsItsOwnOptionsAndLeavesTheToolkitsAlone) {
    struct Case {
        std::vector<std::string> arguments;
        StartOptions expected;
    };
    const Case cases[] = {
        {{}, {}},
        {{"--version"}, {.version = true}},
        {{"--help"}, {.help = true}},
        {{"--user-config"}, {.userConfig = true}},
        {{"-platform", "offscreen", "--user-config", "-style", "fusion"}, {.userConfig = true}},
        {{"--user-config", "--version"}, {.version = true, .userConfig = true}},
        // Near misses are not ours (the toolkit skips what it does not know either).
        {{"-version", "--versions", "--user-config=x", "version"}, {}},
        // After "--" nothing is an option.
        {{"--", "--version", "--user-config"}, {}},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& a : c.arguments) joined += a + " ";
        EXPECT_EQ(ReadStartOptions(c.arguments), c.expected) << joined;
    }
}

TEST(StartOptions, UserConfigDirectoryFollowsXdgThenHome) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::string expected;   // "" : no directory (NoHome)
    };
    const Case cases[] = {
        {{{"XDG_CONFIG_HOME", "/srv/cfg"}, {"HOME", "/home/op"}}, "/srv/cfg/MorviNpc"},
        {{{"XDG_CONFIG_HOME", "/srv/cfg/"}, {"HOME", "/home/op"}}, "/srv/cfg/MorviNpc"},
        {{{"HOME", "/home/op"}}, "/home/op/.config/MorviNpc"},
        {{{"HOME", "/home/op/"}}, "/home/op/.config/MorviNpc"},
        {{{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/op"}}, "/home/op/.config/MorviNpc"},
        // A relative XDG_CONFIG_HOME is invalid and ignored.
        {{{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/op"}}, "/home/op/.config/MorviNpc"},
        {{{"XDG_CONFIG_HOME", "/"}}, "/MorviNpc"},
        {{{"HOME", "/"}}, "/.config/MorviNpc"},
        {{}, ""},
        {{{"HOME", "relative"}}, ""},
        {{{"XDG_CONFIG_HOME", "cfg"}}, ""},
    };
    for (const Case& c : cases) {
        const auto variable = [&](const std::string& name) {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? std::string() : found->second;
        };
        const auto directory = UserConfigDirectory(variable);
        if (c.expected.empty()) {
            ASSERT_FALSE(directory) << *directory;
            EXPECT_EQ(directory.error().code, UserConfigError::NoHome);
        } else {
            ASSERT_TRUE(directory) << c.expected;
            EXPECT_EQ(*directory, c.expected);
        }
    }
}

#ifndef _WIN32
// The current directory is the process's: each case puts it back.
class EnterDirectoryTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::current_path(m_before); }
    TempDir dir;

private:
    std::filesystem::path m_before = std::filesystem::current_path();
};

TEST_F(EnterDirectoryTest, CreatesMissingParentsAndEntersIt) {
    const std::string target = dir / "config/deeper/MorviNpc";
    ASSERT_TRUE(EnterDirectory(target));
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), target));
    // A second start finds it and keeps what is in it.
    WriteFile(target + "/MorviConfig.ini", "[MorviConfig]\r\nServerPath=/srv\r\n");
    ASSERT_TRUE(EnterDirectory(target));
    EXPECT_EQ(ReadFile(target + "/MorviConfig.ini"), "[MorviConfig]\r\nServerPath=/srv\r\n");
}

TEST_F(EnterDirectoryTest, RefusesAFileInItsPlaceAndStaysWhereItWas) {
    const auto before = std::filesystem::current_path();
    struct Case {
        std::string file;     // made as a plain file
        std::string target;
    };
    const Case cases[] = {
        {"MorviNpc", "MorviNpc"},           // the directory itself is a file
        {"config", "config/MorviNpc"},      // a parent is a file
    };
    for (const Case& c : cases) {
        WriteFile(dir / c.file, "not a directory");
        const auto entered = EnterDirectory(dir / c.target);
        ASSERT_FALSE(entered) << c.target;
        EXPECT_EQ(entered.error().code, UserConfigError::NotCreatable) << c.target;
        EXPECT_EQ(entered.error().directory, dir / c.target);
        EXPECT_FALSE(entered.error().detail.empty());
        EXPECT_EQ(std::filesystem::current_path(), before);
        std::filesystem::remove(dir / c.file);
    }
}

TEST_F(EnterDirectoryTest, RefusesADirectoryItMayNotEnter) {
    if (geteuid() == 0) GTEST_SKIP() << "root may enter any directory";
    const std::string target = dir / "locked";
    std::filesystem::create_directory(target);
    std::filesystem::permissions(target, std::filesystem::perms::none);
    const auto entered = EnterDirectory(target);
    std::filesystem::permissions(target, std::filesystem::perms::owner_all);
    ASSERT_FALSE(entered);
    EXPECT_EQ(entered.error().code, UserConfigError::NotEnterable);
}
#endif

}  // namespace
}  // namespace morvi::test
