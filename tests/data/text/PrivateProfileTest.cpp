#include "data/text/PrivateProfile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "data/platform/AtomicFile.h"
#include "support/TestFiles.h"

namespace morvi {
namespace {

using test::FileExists;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    const char* expected;  // with default "DEF" and a large buffer
};

TEST(PrivateProfileRead, StringRules) {
    const ReadCase cases[] = {
        {"plain", "[S]\r\nK=v\r\n", "S", "K", "v"},
        {"section case", "[morviconfig]\r\nK=v\r\n", "MorviConfig", "K", "v"},
        {"key case", "[S]\r\nserverpath=v\r\n", "S", "ServerPath", "v"},
        {"names trimmed in file", "  [ S ]  \r\n  K  =v\r\n", "S", "K", "v"},
        {"names trimmed by caller", "[S]\r\nK=v\r\n", " S\t", "\tK ", "v"},
        {"value trimmed", "[S]\r\nK= \t v w \t\r\n", "S", "K", "v w"},
        {"double quotes removed", "[S]\r\nK= \"a b \" \r\n", "S", "K", "a b "},
        {"single quotes removed", "[S]\r\nK='x'\r\n", "S", "K", "x"},
        {"only one pair removed", "[S]\r\nK=\"\"x\"\"\r\n", "S", "K", "\"x\""},
        {"unmatched quote stays", "[S]\r\nK=\"x\r\n", "S", "K", "\"x"},
        {"mixed quotes stay", "[S]\r\nK=\"x'\r\n", "S", "K", "\"x'"},
        {"lone quote stays", "[S]\r\nK=\"\r\n", "S", "K", "\""},
        {"empty value is not default", "[S]\r\nK=\r\n", "S", "K", ""},
        {"quoted empty value", "[S]\r\nK=\"\"\r\n", "S", "K", ""},
        {"missing key", "[S]\r\nOther=v\r\n", "S", "K", "DEF"},
        {"missing section", "[T]\r\nK=v\r\n", "S", "K", "DEF"},
        {"first key wins", "[S]\r\nK=1\r\nk=2\r\n", "S", "K", "1"},
        {"only first section searched", "[S]\r\nA=1\r\n[S]\r\nK=2\r\n", "S", "K", "DEF"},
        {"first section wins", "[S]\r\nK=1\r\n[s]\r\nK=2\r\n", "S", "K", "1"},
        {"key of another section", "[T]\r\nK=1\r\n[S]\r\nX=2\r\n", "S", "K", "DEF"},
        {"name runs to last bracket", "[a]b]\r\nK=v\r\n", "a]b", "K", "v"},
        {"text after bracket ignored", "[S] ; note\r\nK=v\r\n", "S", "K", "v"},
        {"no bracket: ordinary line", "[S]\r\n[T\r\nK=v\r\n", "S", "K", "v"},
        {"no bracket: not a section", "[S]\r\n[T\r\nK=v\r\n", "[T", "K", "DEF"},
        {"line without = is no key", "[S]\r\nK\r\nK=v\r\n", "S", "K", "v"},
        {"line without = only", "[S]\r\nK\r\n", "S", "K", "DEF"},
        {"value keeps later =", "[S]\r\nK=a=b\r\n", "S", "K", "a=b"},
        {"LF lines", "[S]\nA=1\nK=v\n", "S", "K", "v"},
        {"CR lines", "[S]\rA=1\rK=v\r", "S", "K", "v"},
        {"no final line break", "[S]\r\nK=v", "S", "K", "v"},
        {"BOM skipped", "\xEF\xBB\xBF[S]\r\nK=v\r\n", "S", "K", "v"},
        {"lines before header are sectionless", "K=v\r\n[S]\r\n", "", "K", "DEF"},
        {"GBK bytes not folded", "[\xC4\xE3]\r\nK=v\r\n", "\xC4\xC3", "K", "DEF"},
        {"GBK trail in ASCII range not folded", "[\x81\x41]\r\nK=v\r\n", "\x81\x61", "K", "DEF"},
        {"GBK value kept", "[S]\r\n1_name=\xCE\xC0\xB1\xF8\r\n", "S", "1_name", "\xCE\xC0\xB1\xF8"},
    };
    TempDir dir;
    const std::string path = dir / "a.ini";
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(path, c.file);
        EXPECT_EQ(GetProfileString(c.section, c.key, "DEF", 255, path), c.expected);
    }
}

TEST(PrivateProfileRead, BufferCutAndMissingFile) {
    TempDir dir;
    const std::string path = dir / "a.ini";
    WriteFile(path, "[S]\r\nK=\"abcdef\"\r\n");
    EXPECT_EQ(GetProfileString("S", "K", "", 7, path), "abcdef");
    EXPECT_EQ(GetProfileString("S", "K", "", 4, path), "abc");
    EXPECT_EQ(GetProfileString("S", "K", "", 1, path), "");
    EXPECT_EQ(GetProfileString("S", "K", "", 0, path), "");
    EXPECT_EQ(GetProfileString("S", "X", "default", 4, path), "def");
    EXPECT_EQ(GetProfileString("S", "K", "none", 255, dir / "missing.ini"), "none");
    EXPECT_EQ(GetProfileString("S", "K", "none", 255, dir.path()), "none");  // a directory
}

TEST(PrivateProfileRead, IntRules) {
    const struct {
        const char* value;  // nullptr: key absent
        int expected;       // with default 77
    } cases[] = {
        {nullptr, 77}, {"", 77}, {"   ", 77}, {"\"\"", 77},
        {"42", 42}, {"  42  ", 42}, {"42abc", 42}, {"abc", 0}, {"-", 0}, {"+7", 7},
        {"-1", -1}, {"-0x10", -16}, {"0x1F", 31}, {"0XfF", 255}, {"0x", 0}, {"0xg", 0},
        {"012", 12}, {"\"5\"", 5}, {"4 2", 4}, {"- 5", 0},
        {"2147483647", 2147483647}, {"2147483648", -2147483647 - 1}, {"4294967295", -1},
        {"4294967296", 0}, {"4294967301", 5}, {"0xFFFFFFFF", -1}, {"0x100000002", 2},
    };
    TempDir dir;
    const std::string path = dir / "w.ini";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(absent)");
        WriteFile(path, c.value ? "[Init]\r\nCount=" + std::string(c.value) + "\r\n" : "[Init]\r\n");
        EXPECT_EQ(GetProfileInt("Init", "Count", 77, path), c.expected);
    }
    EXPECT_EQ(GetProfileInt("Init", "Count", 3, dir / "missing.ini"), 3);
}

struct WriteCase {
    const char* name;
    std::optional<std::string> before;  // nullopt: no file
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(PrivateProfileWrite, Rules) {
    const WriteCase cases[] = {
        {"creates file", std::nullopt, "MorviConfig", "ServerPath", "/srv/x",
         "[MorviConfig]\r\nServerPath=/srv/x\r\n"},
        {"empty file", "", "S", "K", "v", "[S]\r\nK=v\r\n"},
        {"appends section", "[A]\nx=1\n", "S", "K", "v", "[A]\nx=1\n[S]\r\nK=v\r\n"},
        {"appends section after unterminated line", "[A]\nx=1", "S", "K", "v", "[A]\nx=1\r\n[S]\r\nK=v\r\n"},
        {"BOM only", "\xEF\xBB\xBF", "S", "K", "v", "\xEF\xBB\xBF[S]\r\nK=v\r\n"},
        {"replaces in place, LF kept", "[S]\nK=old\nZ=1\n", "s", "k", "new", "[S]\nK=new\nZ=1\n"},
        {"keeps spelling and blanks before value", "[S]\r\n  Key = old  \r\n", "S", "KEY", "new",
         "[S]\r\n  Key = new\r\n"},
        {"replaces only first key", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", "3", "[S]\r\nK=3\r\nK=2\r\n"},
        {"replaces in first section only", "[S]\r\nA=1\r\n[S]\r\nK=2\r\n", "S", "K", "3",
         "[S]\r\nA=1\r\nK=3\r\n[S]\r\nK=2\r\n"},
        {"new key after last non-blank line", "[S]\r\nA=1\r\n; note\r\n\r\n[T]\r\nB=2\r\n", "S", "K", "v",
         "[S]\r\nA=1\r\n; note\r\nK=v\r\n\r\n[T]\r\nB=2\r\n"},
        {"new key in empty section", "[S]\r\n\r\n[T]\r\n", "S", "K", "v", "[S]\r\nK=v\r\n\r\n[T]\r\n"},
        {"new key at unterminated end", "[S]\r\nA=1", "S", "K", "v", "[S]\r\nA=1\r\nK=v\r\n"},
        {"new key in CR file", "[S]\rA=1\r[T]\r", "S", "K", "v", "[S]\rA=1\rK=v\r\n[T]\r"},
        {"line without = is not the key", "[S]\r\nK\r\n", "S", "K", "v", "[S]\r\nK\r\nK=v\r\n"},
        {"leading blanks of value dropped", "[S]\r\nK=1\r\n", "S", "K", "  \t v ", "[S]\r\nK=v \r\n"},
        {"empty value", "[S]\r\nK=1\r\n", "S", "K", "", "[S]\r\nK=\r\n"},
        {"caller names trimmed", "", " S ", " K ", "v", "[S]\r\nK=v\r\n"},
        {"GBK value", "[List]\r\n1_name=a\r\n", "List", "1_name", "\xCE\xC0\xB1\xF8",
         "[List]\r\n1_name=\xCE\xC0\xB1\xF8\r\n"},
        {"sectionless lines untouched", "K=0\r\n", "S", "K", "v", "K=0\r\n[S]\r\nK=v\r\n"},
    };
    TempDir dir;
    const std::string path = dir / "c.ini";
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(path.c_str());
        if (c.before) WriteFile(path, *c.before);
        ASSERT_TRUE(WriteProfileString(c.section, c.key, c.value, path));
        EXPECT_EQ(ReadFile(path), c.after);
        // What was written reads back, trimmed.
        const std::string value = c.value;
        const size_t first = value.find_first_not_of(" \t");
        const std::string expected =
            first == std::string::npos ? "" : value.substr(first, value.find_last_not_of(" \t") - first + 1);
        EXPECT_EQ(GetProfileString(c.section, c.key, "DEF", 255, path), expected);
    }
}

TEST(PrivateProfileWrite, RefusesTextsThatCannotBeReadBack) {
    TempDir dir;
    const std::string path = dir / "c.ini";
    const std::string before = "[S]\r\nK=1\r\n";
    WriteFile(path, before);
    std::string error;
    EXPECT_FALSE(WriteProfileString("S", "K", "a\nB=2", path, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(WriteProfileString("S", "K", "a\rb", path));
    EXPECT_FALSE(WriteProfileString("S\r\n[T]", "K", "v", path));
    EXPECT_FALSE(WriteProfileString("S", "A=B", "v", path));
    EXPECT_FALSE(WriteProfileString("S", "[K]", "v", path));
    EXPECT_EQ(ReadFile(path), before);
}

TEST(PrivateProfileWrite, FailureLeavesFileIntact) {
    TempDir dir;
    const std::string path = dir / "c.ini";
    const std::string before = "[MorviConfig]\r\nServerPath=/old\r\nUseDebug=true\r\n";
    WriteFile(path, before);
    FailNextReplaceAfterBytesForTesting(5);
    std::string error;
    EXPECT_FALSE(WriteProfileString("MorviConfig", "ServerPath", "/new", path, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFile(path), before);

    // A path that exists but cannot be read as a file is never replaced.
    EXPECT_FALSE(WriteProfileString("S", "K", "v", dir.path()));
    EXPECT_FALSE(WriteProfileString("S", "K", "v", dir / "no/such/dir/c.ini"));
    EXPECT_FALSE(FileExists(dir / "no/such/dir/c.ini"));
}

}  // namespace
}  // namespace morvi
