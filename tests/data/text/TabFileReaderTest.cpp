#include "data/text/TabFileReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/TestFiles.h"

using morvi::ReadTemplateNames;
using morvi::TabFileReader;
using morvi::test::TempDir;
using morvi::test::WriteFile;
using Names = std::vector<std::string>;

namespace {

Names NamesOf(const std::string& content) {
    TempDir dir;
    WriteFile(dir / "npcs.txt", content);
    return ReadTemplateNames(dir / "npcs.txt");
}

}  // namespace

TEST(TabFileReaderLines, CountsLineFeedsPlusOneForAFinalOne) {
    struct Case {
        std::string content;
        int lines;
    };
    const Case cases[] = {
        {"", 0}, {"header", 0}, {"\n", 2}, {"h\nA\t1", 1}, {"h\nA\t1\n", 3}, {"h\r\nA\t1\r\nB\t2\r\nC\t3\r\n", 5},
        {"h\r\r\n", 2},  // a lone CR is not a line end
    };
    TempDir dir;
    for (const Case& c : cases) {
        WriteFile(dir / "t.txt", c.content);
        TabFileReader reader;
        ASSERT_TRUE(reader.Open(dir / "t.txt"));
        EXPECT_EQ(reader.CountLines(), c.lines) << testing::PrintToString(c.content);
    }
}

TEST(TabFileReaderLines, CountingRewindsSoReadingStartsAtTheHeader) {
    TempDir dir;
    WriteFile(dir / "t.txt", "Name\tLevel\nGuard\t10\n");
    TabFileReader reader;
    ASSERT_TRUE(reader.Open(dir / "t.txt"));
    ASSERT_EQ(reader.CountLines(), 3);
    std::string name;
    ASSERT_TRUE(reader.ReadNextFirstField(name));
    EXPECT_EQ(name, "Guard");
    EXPECT_FALSE(reader.ReadNextFirstField(name));
    EXPECT_EQ(reader.CountLines(), 3);  // works again after reaching the end
}

TEST(TabFileReaderState, NothingOpenIsHarmless) {
    TabFileReader reader;
    reader.Close();
    reader.Close();
    EXPECT_EQ(reader.CountLines(), 0);
    std::string name = "kept";
    EXPECT_FALSE(reader.ReadNextFirstField(name));
    EXPECT_EQ(name, "kept");
}

TEST(TemplateNames, FollowTheLineCountRule) {
    const std::string x49(49, 'x'), y60(60, 'y');
    struct Case {
        const char* what;
        std::string content;
        Names names;
    };
    const Case cases[] = {
        {"CRLF lines", "Name\tLevel\r\nA\t1\r\nB\t2\r\nC\t3\r\n", {"A", "B", "C"}},
        {"LF lines", "Name\tLevel\nA\t1\nB\t2\n", {"A", "B"}},
        {"no final line break loses the last template", "Name\tLevel\r\nA\t1\r\nB\t2\r\nC\t3", {"A", "B"}},
        {"empty line joins the next", "h\nA\t1\n\nB\t2\nC\t3\n", {"A", "\nB", "C"}},
        {"line without tab joins the next", "h\nA\t1\nlonely\nB\t2\nC\t3\n", {"A", "lonely\nB", "C"}},
        {"joined CRLF keeps its line break", "h\r\nlonely\r\nB\t2\r\n", {"lonely\r\nB"}},
        {"empty first column is an entry", "h\n\t1\nB\t2\n", {"", "B"}},
        {"49 bytes fit", "h\n" + x49 + "\t1\nB\t2\n", {x49, "B"}},
        {"longer names are cut and reading goes on", "h\n" + y60 + "\t1\nB\t2\n", {std::string(49, 'y'), "B"}},
        {"GBK bytes are kept", "h\r\n\xb5\xea\xd0\xa1\xb6\xfe\t1\r\n", {"\xb5\xea\xd0\xa1\xb6\xfe"}},
        {"a NUL byte ends the name", std::string("h\nA\0B\t1\nC\t2\n", 12), {"A", "C"}},
        {"empty file", "", {}},
        {"header only", "Name\tLevel\r\n", {}},
        {"header without line break", "Name\tLevel", {}},
        {"trailing text without tab", "h\nA\t1\nB\n", {"A"}},
    };
    for (const Case& c : cases) EXPECT_EQ(NamesOf(c.content), c.names) << c.what;
}

TEST(TemplateNames, UnreadableSourcesGiveAnEmptyList) {
    TempDir dir;
    EXPECT_TRUE(ReadTemplateNames(dir / "missing.txt").empty());
    EXPECT_TRUE(ReadTemplateNames(dir.path()).empty());  // a directory
#ifndef _WIN32
    // A FIFO would block an ordinary open until a writer comes; it must be refused at once.
    ASSERT_EQ(mkfifo((dir / "fifo.txt").c_str(), 0600), 0);
    EXPECT_TRUE(ReadTemplateNames(dir / "fifo.txt").empty());
    TabFileReader reader;
    EXPECT_FALSE(reader.Open(dir / "fifo.txt"));
#endif
}

TEST(TemplateNames, HugeLinesAndLineCountsStayFast) {
    const std::string tabless(10 * 1024 * 1024, 'a');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(NamesOf("h\n" + tabless + "\tz\nB\t1\n"), (Names{std::string(49, 'a'), "B"}));
    EXPECT_EQ(NamesOf("h\nA\t1\n" + std::string(10 * 1024 * 1024, '\n')), (Names{"A"}));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(3));
}
