#include "data/platform/FileFinder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace fs = std::filesystem;
using morvi::FileFinder;
using morvi::test::TempDir;
using morvi::test::WriteFile;
using Names = std::vector<std::string>;

namespace {

Names FindIn(const std::string& root, const std::string& suffix = "_S.DAT", bool recursive = true) {
    FileFinder finder;
    if (!finder.SetRoot(root)) return {"<SetRoot failed>"};
    if (!finder.Find(suffix, recursive)) return {"<Find failed>"};
    Names names = finder.m_names;
#ifdef _WIN32
    for (std::string& name : names)  // the expectations are written with '/'
        for (char& c : name)
            if (c == '\\') c = '/';
#endif
    return names;
}

// A tree whose listing tells upper-case folding from lower-case folding and from raw byte order:
// '_' sorts after the capital letters but before the small ones.
void MakeSortTree(const TempDir& dir) {
    for (const char* file : {"b_S.DAT", "a_S.DAT", "C_S.DAT", "ab_S.DAT", "A_S.DAT", "notes.txt",
                             "S.DAT", "_S.DAT", "m/z_s.dat", "m/k.txt", "m/n/deep_S.Dat",
                             "x_S.DAT/inner_S.DAT"})
        WriteFile(dir / file, "x");
}

class CwdGuard {
public:
    CwdGuard() : m_saved(fs::current_path()) {}
    ~CwdGuard() { fs::current_path(m_saved); }

private:
    fs::path m_saved;
};

#ifdef _WIN32
constexpr const char* kNative = "\\";
#else
constexpr const char* kNative = "/";
#endif

std::string Native(std::string path) {
    for (char& c : path)
        if (c == '/' || c == '\\') c = kNative[0];
    return path;
}

// On a case-insensitive file system "A_S.DAT" and "a_S.DAT" of the sort tree are one file.
Names OnThisFileSystem(Names names) {
#ifdef _WIN32
    std::erase(names, std::string("A_S.DAT"));
#endif
    return names;
}

}  // namespace

TEST(FileFinderOrder, DepthFirstAndSortedByUpperCasedName) {
    TempDir dir;
    MakeSortTree(dir);
    EXPECT_EQ(FindIn(dir.path()),
              OnThisFileSystem({"ab_S.DAT", "A_S.DAT", "a_S.DAT", "b_S.DAT", "C_S.DAT", "m/n/deep_S.Dat",
                                "m/z_s.dat", "x_S.DAT/inner_S.DAT", "_S.DAT"}));
}

TEST(FileFinderOrder, RecursionOffListsOnlyTheRootsOwnFiles) {
    TempDir dir;
    MakeSortTree(dir);
    EXPECT_EQ(FindIn(dir.path(), "_S.DAT", false),
              OnThisFileSystem({"ab_S.DAT", "A_S.DAT", "a_S.DAT", "b_S.DAT", "C_S.DAT", "_S.DAT"}));
}

TEST(FileFinderOrder, SuffixCaseVariantsFindTheSameFiles) {
    TempDir dir;
    MakeSortTree(dir);
    const Names expected = FindIn(dir.path(), "_S.DAT");
    for (const char* suffix : {"_s.dat", "_S.dat", "_s.DAT"}) EXPECT_EQ(FindIn(dir.path(), suffix), expected) << suffix;
}

TEST(FileFinderSuffix, ComparesUpperCasedFromTheEnd) {
    struct Case {
        std::string name;
        std::string suffix;
        bool match;
    };
    const Case cases[] = {
        {"r_S.DAT", "_S.DAT", true},       {"r_s.dat", "_S.DAT", true},
        {"R_S.DAT", "_s.dat", true},       {"_S.DAT", "_S.DAT", true},
        {"S.DAT", "_S.DAT", false},        {"rS.DAT", "_S.DAT", false},
        {"r_S.DAT.bak", "_S.DAT", false},  {"r_S.DAT ", "_S.DAT", false},
        {"anything", "", true},            {"\xb5\xd8_S.DAT", "_S.DAT", true},
        // Only a-z are folded: code page 936 bytes are compared as they are.
        {"x\xe1", "X\xc1", false},
        // The suffix buffer holds 31 bytes; a longer suffix can never be tested.
        {std::string(40, 'a'), std::string(32, 'a'), false},
        {std::string(40, 'a'), std::string(31, 'a'), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileFinder::NameEndsWith(c.name, c.suffix), c.match) << c.name << " / " << c.suffix;
}

TEST(FileFinderRoot, MissingRootGivesNothingAndLeavesCurrentDirectory) {
    TempDir dir;
    const fs::path before = fs::current_path();
    {
        FileFinder finder;
        EXPECT_FALSE(finder.SetRoot(dir / "no/such/map"));
        EXPECT_TRUE(finder.Root().empty());
        EXPECT_FALSE(finder.Find("_S.DAT", true));
        EXPECT_TRUE(finder.m_names.empty());
    }
    EXPECT_EQ(fs::current_path(), before);
}

TEST(FileFinderRoot, FileAsRootIsRefused) {
    TempDir dir;
    WriteFile(dir / "plain_S.DAT", "x");
    FileFinder finder;
    EXPECT_FALSE(finder.SetRoot(dir / "plain_S.DAT"));
    EXPECT_FALSE(finder.Find("_S.DAT", true));
}

TEST(FileFinderRoot, SuccessfulWalkNeverMovesCurrentDirectory) {
    TempDir dir;
    MakeSortTree(dir);
    const fs::path before = fs::current_path();
    FileFinder finder;
    ASSERT_TRUE(finder.SetRoot(dir.path()));
    EXPECT_EQ(fs::current_path(), before);
    ASSERT_TRUE(finder.Find("_S.DAT", true));
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_EQ(finder.Root(), Native(dir.path() + "/"));
}

TEST(FileFinderRoot, RelativeRootWithBackslashesIsTakenFromCurrentDirectory) {
    TempDir dir;
    MakeSortTree(dir);
    CwdGuard guard;
    fs::current_path(dir.path());
    FileFinder finder;
    ASSERT_TRUE(finder.SetRoot("m\\n"));
    EXPECT_EQ(finder.Root(), Native(fs::current_path().string() + "/m/n/"));
    ASSERT_TRUE(finder.Find("_S.DAT", true));
    EXPECT_EQ(finder.m_names, (Names{"deep_S.Dat"}));
}

TEST(FileFinderRoot, EmptyPathMeansCurrentDirectory) {
    TempDir dir;
    WriteFile(dir / "here_S.DAT", "x");
    CwdGuard guard;
    fs::current_path(dir.path());
    EXPECT_EQ(FindIn(""), (Names{"here_S.DAT"}));
}

TEST(FileFinderRoot, RootLongerThanItsBufferIsRefused) {
    TempDir dir;
    // With the separator the root would need 500 bytes and more.
    const std::string deep = dir / (std::string(240, 'a') + "/" + std::string(240, 'b'));
    WriteFile(deep + "/f_S.DAT", "x");
    ASSERT_GT(deep.size() + 1, 499u);
    FileFinder finder;
    EXPECT_FALSE(finder.SetRoot(deep));
    EXPECT_FALSE(finder.Find("_S.DAT", true));
}

TEST(FileFinderWalk, SubtreeBeyondTheRelativePathBufferIsSkippedNotTruncated) {
    TempDir dir;
    const std::string a(100, 'a'), b(100, 'b'), c(100, 'c');  // "a/" + "b/" = 202, + "c/" = 303
    WriteFile(dir / (a + "/" + b + "/two_S.DAT"), "x");
    WriteFile(dir / (a + "/" + b + "/" + c + "/three_S.DAT"), "x");
    EXPECT_EQ(FindIn(dir.path()), (Names{a + "/" + b + "/two_S.DAT"}));
}

TEST(FileFinderWalk, OnlyRegularFilesAndLinksToThemAreListed) {
#ifdef _WIN32
    GTEST_SKIP() << "FIFOs and POSIX symlinks; the Windows walk is tested on junctions";
#else
    TempDir dir;
    WriteFile(dir / "real_S.DAT", "x");
    WriteFile(dir / ".hidden_S.DAT", "x");
    ASSERT_EQ(mkfifo((dir / "pipe_S.DAT").c_str(), 0600), 0);
    fs::create_symlink(dir / "nowhere", dir / "dangling_S.DAT");
    fs::create_symlink(dir / "real_S.DAT", dir / "link_S.DAT");
    EXPECT_EQ(FindIn(dir.path()), (Names{".hidden_S.DAT", "link_S.DAT", "real_S.DAT"}));
#endif
}

TEST(FileFinderWalk, SymlinkLoopsTerminateAndEachDirectoryIsWalkedOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX symlinks; the Windows walk is tested on junction loops";
#else
    TempDir dir;
    WriteFile(dir / "top_S.DAT", "x");
    WriteFile(dir / "sub/in_S.DAT", "x");
    fs::create_directory_symlink(dir.path(), dir / "sub/up");    // back to the root
    fs::create_directory_symlink(".", dir / "sub/self");         // to itself
    fs::create_directory_symlink("../sub", dir / "sub/again");   // to itself by another path
    EXPECT_EQ(FindIn(dir.path()), (Names{"sub/in_S.DAT", "top_S.DAT"}));
#endif
}

TEST(FileFinderWalk, LinkedDirectoryOutsideTheRootIsWalked) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX symlinks";
#else
    TempDir outside, dir;
    WriteFile(outside / "far_S.DAT", "x");
    WriteFile(dir / "near_S.DAT", "x");
    fs::create_directory_symlink(outside.path(), dir / "linked");
    EXPECT_EQ(FindIn(dir.path()), (Names{"linked/far_S.DAT", "near_S.DAT"}));
#endif
}

// A subdirectory is walked only when it can be both listed and searched; owned directories are
// judged by their owner bits, others by asking the system.
TEST(FileFinderWalk, SubdirectoriesThatCannotBeListedOrSearchedAreSkipped) {
#ifdef _WIN32
    GTEST_SKIP() << "chmod, fork and the user nobody are POSIX";
#else
    struct Case {
        const char* directory;
        mode_t mode;
        bool ownedByWalker;
    };
    const Case cases[] = {
        {"none", 0, false},           // neither
        {"list", 0444, false},        // listed, not searchable
        {"search", 0111, false},      // searchable, not listable
        {"mine", 0700, true},         // the walker's own
        {"mineNoSearch", 0600, true}, // the walker's own, without its search bit
    };
    TempDir dir;
    WriteFile(dir / "b_S.DAT", "x");
    WriteFile(dir / "c/seen_S.DAT", "x");
    for (const Case& c : cases) WriteFile(dir / (std::string(c.directory) + "/hidden_S.DAT"), "x");
    const Names expected{"b_S.DAT", "c/seen_S.DAT", "mine/hidden_S.DAT"};
    const auto walk = [&] { return FindIn(dir.path()) == expected; };
    const bool asRoot = geteuid() == 0;
    // Root reads every directory: walk as the user nobody in a child process instead.
    const passwd* nobody = asRoot ? getpwnam("nobody") : nullptr;
    if (asRoot && !nobody) GTEST_SKIP() << "no user nobody to drop root privileges to";
    for (const Case& c : cases) {
        const std::string path = dir / c.directory;
        // Directories not the walker's belong to root when the walker is nobody; as a plain
        // user they are the walker's own, which their modes deny just the same.
        if (asRoot && c.ownedByWalker) {
            ASSERT_EQ(chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
    }
    if (!asRoot) {
        EXPECT_TRUE(walk());
        for (const Case& c : cases) {
            chmod((dir / c.directory).c_str(), 0700);   // so the directory can be removed
        }
        return;
    }
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    std::fflush(nullptr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) _exit(2);
        _exit(walk() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: wrong names, 2: could not become nobody";
#endif
}

TEST(FileFinderWalk, SecondFindReplacesTheList) {
    TempDir dir;
    WriteFile(dir / "one_S.DAT", "x");
    WriteFile(dir / "two.txt", "x");
    FileFinder finder;
    ASSERT_TRUE(finder.SetRoot(dir.path()));
    ASSERT_TRUE(finder.Find("_S.DAT", true));
    ASSERT_TRUE(finder.Find(".TXT", true));
    EXPECT_EQ(finder.m_names, (Names{"two.txt"}));
}
