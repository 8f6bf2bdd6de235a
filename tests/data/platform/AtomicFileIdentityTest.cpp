// The crash-safe write keeps what the operator relies on: owner, group, mode, extended
// attributes and ACLs, hard links, and writes in place where no temporary file can be made.
// The permission cases run as the user nobody in a forked child, as an operator would.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "data/platform/AtomicFile.h"

namespace morvi {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct Nobody {
    uid_t uid;
    gid_t gid;
};

bool FindNobody(Nobody& out) {
    const passwd* pw = ::getpwnam("nobody");
    if (!pw) return false;
    out = {pw->pw_uid, pw->pw_gid};
    return true;
}

// Runs `body` as nobody with the given supplementary groups; returns its failure text.
std::string AsNobody(const std::vector<gid_t>& groups, const std::function<std::string()>& body) {
    Nobody nobody{};
    if (!FindNobody(nobody)) return "no user nobody";
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string text;
        if (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(nobody.gid) != 0 || ::setuid(nobody.uid) != 0)
            text = "cannot become nobody";
        else
            text = body();
        (void)!::write(fds[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status)) text += " child crashed";
    return text;
}

struct stat StatOf(const std::string& path) {
    struct stat st{};
    ::stat(path.c_str(), &st);
    return st;
}

std::string Acl(const std::string& path) {
    std::string value(4096, '\0');
    const ssize_t n = ::getxattr(path.c_str(), "system.posix_acl_access", value.data(), value.size());
    return n < 0 ? std::string() : value.substr(0, static_cast<size_t>(n));
}

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

class AtomicFileIdentityTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand files to nobody";
        if (!FindNobody(nobody)) GTEST_SKIP() << "no user nobody";
        ::chmod(dir.path().c_str(), 0755);
        sub = dir / "map";
        ::mkdir(sub.c_str(), 0755);
        ::chown(sub.c_str(), nobody.uid, nobody.gid);
        file = sub + "/a_S.DAT";
        WriteFile(file, "old contents");
    }
    void Own(const std::string& path, uid_t uid, gid_t gid, mode_t mode) {
        ASSERT_EQ(::chown(path.c_str(), uid, gid), 0);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    }

    TempDir dir;
    Nobody nobody{};
    std::string sub, file;
};

std::string Write(const std::string& path, const std::string& bytes, WriteMethod expected) {
    std::string error;
    WriteMethod method{};
    if (!ReplaceFileContents(path, bytes, &error, {}, &method)) return "write failed: " + error;
    if (method != expected) return "written the other way";
    return {};
}

TEST_F(AtomicFileIdentityTest, RootKeepsOwnerGroupModeAndSetIdBits) {
    Own(file, nobody.uid, 100, 02640);
    ASSERT_EQ(Write(file, "new", WriteMethod::Replace), "");
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_uid, nobody.uid);
    EXPECT_EQ(st.st_gid, 100u);
    EXPECT_EQ(st.st_mode & 07777, 02640u);
    EXPECT_EQ(ReadFile(file), "new");
}

TEST_F(AtomicFileIdentityTest, UserKeepsAGroupHeIsMemberOf) {
    Own(file, nobody.uid, 100, 0660);
    const ino_t before = StatOf(file).st_ino;
    EXPECT_EQ(AsNobody({100}, [&] { return Write(file, "new", WriteMethod::Replace); }), "");
    const struct stat st = StatOf(file);
    EXPECT_EQ(st.st_gid, 100u);
    EXPECT_EQ(st.st_mode & 07777, 0660u);
    EXPECT_NE(st.st_ino, before);   // replaced, not rewritten
    EXPECT_EQ(ReadFile(file), "new");
}

// Where the new file could not carry the identity, the file itself is rewritten.
TEST_F(AtomicFileIdentityTest, WritesInPlaceWhereAReplaceWouldChangeOwnerOrGroup) {
    struct Case {
        const char* name;
        uid_t uid;
        gid_t gid;
        mode_t mode;
        std::vector<gid_t> groups;
    };
    const Case cases[] = {
        {"group nobody is not in", nobody.uid, 50, 0664, {}},
        {"owned by root, writable through a group", 0, 100, 0664, {100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(file, "old contents");
        Own(file, c.uid, c.gid, c.mode);
        const ino_t before = StatOf(file).st_ino;
        EXPECT_EQ(AsNobody(c.groups, [&] { return Write(file, "new", WriteMethod::InPlace); }), "");
        const struct stat st = StatOf(file);
        EXPECT_EQ(st.st_uid, c.uid);
        EXPECT_EQ(st.st_gid, c.gid);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        EXPECT_EQ(st.st_ino, before);
        EXPECT_EQ(ReadFile(file), "new");
    }
}

TEST_F(AtomicFileIdentityTest, KeepsAclsAndExtendedAttributes) {
    if (!Shell("command -v setfacl >/dev/null")) GTEST_SKIP() << "setfacl (package acl) is not installed";
    Own(file, nobody.uid, nobody.gid, 0640);
    ASSERT_TRUE(Shell("setfacl -m u:daemon:r " + file));
    ASSERT_EQ(::setxattr(file.c_str(), "user.morvi", "kept", 4, 0), 0);
    const std::string acl = Acl(file);
    ASSERT_FALSE(acl.empty());
    EXPECT_EQ(AsNobody({}, [&] { return Write(file, "new", WriteMethod::Replace); }), "");
    EXPECT_EQ(Acl(file), acl);
    char value[16] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.morvi", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
    EXPECT_TRUE(Shell("getfacl -p " + file + " 2>/dev/null | grep -q '^user:daemon:r--'"));
    EXPECT_EQ(ReadFile(file), "new");
}

TEST_F(AtomicFileIdentityTest, ADirectoryDefaultAclDoesNotAddAnAclTheFileLacked) {
    if (!Shell("command -v setfacl >/dev/null")) GTEST_SKIP() << "setfacl (package acl) is not installed";
    Own(file, nobody.uid, nobody.gid, 0644);
    ASSERT_TRUE(Shell("setfacl -d -m u:daemon:rw " + sub + " && setfacl -b " + file));
    ASSERT_EQ(Acl(file), "");
    EXPECT_EQ(AsNobody({}, [&] { return Write(file, "new", WriteMethod::Replace); }), "");
    EXPECT_EQ(Acl(file), "");
    EXPECT_EQ(StatOf(file).st_mode & 07777, 0644u);
}

TEST_F(AtomicFileIdentityTest, AHardLinkedFileIsRewrittenForEveryName) {
    Own(file, nobody.uid, nobody.gid, 0644);
    const std::string other = sub + "/other_S.DAT";
    ASSERT_EQ(::link(file.c_str(), other.c_str()), 0);
    EXPECT_EQ(AsNobody({}, [&] { return Write(file, "new and longer contents", WriteMethod::InPlace); }), "");
    EXPECT_EQ(ReadFile(other), "new and longer contents");
    EXPECT_EQ(AsNobody({}, [&] { return Write(file, "short", WriteMethod::InPlace); }), "");
    EXPECT_EQ(ReadFile(other), "short");
    EXPECT_EQ(StatOf(file).st_nlink, 2u);
}

TEST_F(AtomicFileIdentityTest, AWritableFileInAReadOnlyDirectoryIsWrittenInPlace) {
    Own(file, nobody.uid, nobody.gid, 0644);
    ASSERT_EQ(::chmod(sub.c_str(), 0555), 0);
    EXPECT_EQ(AsNobody({}, [&] { return Write(file, "new", WriteMethod::InPlace); }), "");
    EXPECT_EQ(ReadFile(file), "new");
}

TEST_F(AtomicFileIdentityTest, AReadOnlyFileIsStillRefused) {
    Own(file, nobody.uid, nobody.gid, 0444);
    const std::string result = AsNobody({}, [&] {
        std::string error;
        if (ReplaceFileContents(file, "new", &error)) return std::string("written");
        return error.find("cannot write") == std::string::npos ? "unclear error: " + error : std::string();
    });
    EXPECT_EQ(result, "");
    EXPECT_EQ(ReadFile(file), "old contents");
}

// A failed in-place write puts the old bytes back; a refused commit writes nothing.
TEST_F(AtomicFileIdentityTest, InPlaceFailureAndRefusedCommitLeaveTheFileAsItWas) {
    const std::string other = sub + "/other_S.DAT";
    ASSERT_EQ(::link(file.c_str(), other.c_str()), 0);
    std::string error;
    FailNextReplaceAfterBytesForTesting(3);
    EXPECT_FALSE(ReplaceFileContents(file, "entirely new contents", &error));
    EXPECT_NE(error.find("put back"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(file), "old contents");

    for (const std::string& path : {file, dir / "single_S.DAT"}) {
        WriteFile(path, "old contents");
        bool asked = false;
        const BeforeCommit refuse = [&](WriteMethod, std::string* reason) {
            asked = true;
            *reason = "history full";
            return false;
        };
        EXPECT_FALSE(ReplaceFileContents(path, "new", &error, refuse));
        EXPECT_TRUE(asked);
        EXPECT_EQ(error, "history full");
        EXPECT_EQ(ReadFile(path), "old contents");
    }
}

TEST_F(AtomicFileIdentityTest, RemovesOnlyOurAbandonedTemporariesBesideTheFile) {
    const std::string abandoned = sub + "/.a_S.DAT.morvi-Ab12Cd";
    const std::string held = sub + "/.a_S.DAT.morvi-Zz99Yy";
    const std::string keep[] = {sub + "/.a_S.DAT.morvi-Ab12C", sub + "/.b_S.DAT.morvi-Ab12Cd",
                                sub + "/a_S.DAT.morvi-Ab12Cd", sub + "/.a_S.DAT.morvi-Ab12C!"};
    WriteFile(abandoned, "x");
    WriteFile(held, "x");
    for (const std::string& k : keep) WriteFile(k, "x");
    const int fd = ::open(held.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);   // a writer still at work
    ASSERT_EQ(Write(file, "new", WriteMethod::Replace), "");
    ::close(fd);
    EXPECT_FALSE(test::FileExists(abandoned));
    EXPECT_TRUE(test::FileExists(held));
    for (const std::string& k : keep) EXPECT_TRUE(test::FileExists(k)) << k;
}

}  // namespace
}  // namespace morvi
