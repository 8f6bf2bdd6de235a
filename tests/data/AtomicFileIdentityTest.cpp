// The replace keeps what the operator and the game server rely on: owner, group, mode,
// extended attributes and ACLs, hard links, and a file writable in a read-only directory.
// Permission cases run in a forked child as the user nobody when the tests run as root.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

#include "data/AtomicFile.h"

namespace morvi {
namespace {

namespace fs = std::filesystem;

constexpr const char kTestGroup[] = "morvitestgrp";
const std::string kOld = "old placement bytes\n";
const std::string kNew = "new placement bytes, a little longer than before\n";

std::string ReadAll(const std::string& path) {
    std::string out;
    ReadWholeFile(path, out);
    return out;
}

void WriteRaw(const std::string& path, const std::string& bytes, mode_t mode) {
    ::unlink(path.c_str());
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
}

struct stat StatOf(const std::string& path) {
    struct stat st{};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

std::optional<std::string> Xattr(const std::string& path, const char* name) {
    char buf[4096];
    ssize_t n = ::getxattr(path.c_str(), name, buf, sizeof buf);
    if (n < 0) return std::nullopt;
    return std::string(buf, static_cast<size_t>(n));
}

// The user the write runs as: nobody when we are root (root writes through any mode bits),
// otherwise ourselves.
struct Writer {
    uid_t uid = ::geteuid();
    gid_t gid = ::getegid();
    bool dropsRoot = false;
};

std::optional<Writer> FindWriter() {
    Writer w;
    if (::geteuid() != 0) return w;
    const passwd* pw = ::getpwnam("nobody");
    if (!pw) return std::nullopt;
    w.uid = pw->pw_uid;
    w.gid = pw->pw_gid;
    w.dropsRoot = true;
    return w;
}

// Runs the replace in a child as the writer, with the writer's supplementary groups as
// /etc/group lists them. Returns "" on success or the error the replace reported.
std::string ReplaceAs(const Writer& w, const std::string& path, const std::string& content,
                      long failAfter = -1) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return "fork failed";
    if (pid == 0) {
        ::close(fds[0]);
        std::string report;
        if (w.dropsRoot && (::initgroups("nobody", w.gid) != 0 || ::setgid(w.gid) != 0 || ::setuid(w.uid) != 0))
            report = "cannot become nobody";
        else {
            FailNextReplaceAfterBytesForTesting(failAfter);
            std::string error;
            if (!ReplaceFileContents(path, content, &error)) report = error.empty() ? "failed" : error;
        }
        (void)!::write(fds[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buf[512];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status)) return "child crashed";
    return text;
}

// A group the writer belongs to but that is not its primary group. Made only when running as
// root, and only for the test.
std::optional<gid_t> SecondaryGroupOfWriter(const Writer& w, std::string* why) {
    if (!w.dropsRoot) {
        gid_t groups[256];
        const int n = ::getgroups(256, groups);
        for (int i = 0; i < n; ++i)
            if (groups[i] != w.gid) return groups[i];
        *why = "the user belongs to no second group, and only root may make one";
        return std::nullopt;
    }
    if (!::getgrnam(kTestGroup) &&
        std::system((std::string("groupadd ") + kTestGroup + " >/dev/null 2>&1").c_str()) != 0) {
        *why = "groupadd failed";
        return std::nullopt;
    }
    if (std::system((std::string("usermod -a -G ") + kTestGroup + " nobody >/dev/null 2>&1").c_str()) != 0) {
        *why = "usermod failed";
        return std::nullopt;
    }
    const group* g = ::getgrnam(kTestGroup);
    if (!g) {
        *why = "the test group cannot be found";
        return std::nullopt;
    }
    return g->gr_gid;
}

class AtomicFileIdentity : public ::testing::Test {
public:
    void SetUp() override {
        std::optional<Writer> w = FindWriter();
        if (!w) GTEST_SKIP() << "no user nobody to drop root privileges to";
        writer = *w;
        char tmpl[] = "/tmp/morvi-identity-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root = tmpl;
        ASSERT_EQ(::chmod(root.c_str(), 0755), 0);
        dir = root + "/maps";
        ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
        ASSERT_EQ(::chown(dir.c_str(), writer.uid, writer.gid), 0);
        file = dir + "/region.dat";
    }
    void TearDown() override {
        if (root.empty()) return;
        ::chmod(dir.c_str(), 0755);
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    // The file as the writer owns it, with the old bytes.
    void MakeFile(mode_t mode) {
        WriteRaw(file, kOld, mode);
        ASSERT_EQ(::chown(file.c_str(), writer.uid, writer.gid), 0);
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    Writer writer;
    std::string root, dir, file;
};

// Each case prepares the file, lets the writer replace it, and checks what must have survived.
struct IdentityCase {
    const char* name;
    // Returns a reason to skip, or "".
    std::function<std::string(AtomicFileIdentity&)> setUp;
    std::function<void(AtomicFileIdentity&, const struct stat& before)> check;
};

TEST_F(AtomicFileIdentity, ReplaceKeepsTheFilesIdentity) {
    static std::optional<gid_t> group;
    const std::vector<IdentityCase> cases = {
        {"group of the writer's own 0660 file",
         [](AtomicFileIdentity& t) -> std::string {
             std::string why;
             group = SecondaryGroupOfWriter(t.writer, &why);
             if (!group) return why;
             t.MakeFile(0660);
             return ::chown(t.file.c_str(), t.writer.uid, *group) == 0 ? "" : "chown failed";
         },
         [](AtomicFileIdentity& t, const struct stat&) {
             const struct stat st = StatOf(t.file);
             EXPECT_EQ(st.st_gid, *group);
             EXPECT_EQ(st.st_uid, t.writer.uid);
             EXPECT_EQ(st.st_mode & 07777, 0660u);
         }},
        {"owner and group of a 0660 file of another user (written in place)",
         [](AtomicFileIdentity& t) -> std::string {
             if (!t.writer.dropsRoot) return "only root can make a file of another user";
             std::string why;
             group = SecondaryGroupOfWriter(t.writer, &why);
             if (!group) return why;
             t.MakeFile(0660);
             return ::chown(t.file.c_str(), 0, *group) == 0 ? "" : "chown failed";
         },
         [](AtomicFileIdentity& t, const struct stat& before) {
             const struct stat st = StatOf(t.file);
             EXPECT_EQ(st.st_uid, 0u);
             EXPECT_EQ(st.st_gid, *group);
             EXPECT_EQ(st.st_ino, before.st_ino);
         }},
        {"POSIX ACL",
         [](AtomicFileIdentity& t) -> std::string {
             t.MakeFile(0640);
             const std::string cmd = "setfacl -m u:root:r,g:root:rw " + t.file + " 2>/dev/null";
             if (std::system(cmd.c_str()) != 0) return "setfacl failed: no ACL support here";
             return Xattr(t.file, "system.posix_acl_access") ? "" : "the file system keeps no ACL";
         },
         [](AtomicFileIdentity& t, const struct stat&) {
             const std::string cmd = "getfacl -cp " + t.file + " 2>/dev/null | grep -q '^group:root:rw-'";
             EXPECT_EQ(std::system(cmd.c_str()), 0) << "the ACL entry is gone";
             EXPECT_TRUE(Xattr(t.file, "system.posix_acl_access"));
             EXPECT_EQ(StatOf(t.file).st_mode & 0777, 0660u) << "the mask became the group bits";
         }},
        {"user extended attribute",
         [](AtomicFileIdentity& t) -> std::string {
             t.MakeFile(0644);
             if (::setxattr(t.file.c_str(), "user.morvi.origin", "server", 6, 0) != 0)
                 return "no user attributes here";
             return "";
         },
         [](AtomicFileIdentity& t, const struct stat&) {
             EXPECT_EQ(Xattr(t.file, "user.morvi.origin"), std::optional<std::string>("server"));
             EXPECT_EQ(StatOf(t.file).st_mode & 07777, 0644u);
         }},
        {"attribute the writer may read but not set (written in place)",
         [](AtomicFileIdentity& t) -> std::string {
             if (!t.writer.dropsRoot) return "setting a security attribute needs root";
             t.MakeFile(0644);
             if (::setxattr(t.file.c_str(), "security.morvi", "label", 5, 0) != 0)
                 return "no security attributes here";
             return "";
         },
         [](AtomicFileIdentity& t, const struct stat& before) {
             EXPECT_EQ(Xattr(t.file, "security.morvi"), std::optional<std::string>("label"));
             EXPECT_EQ(StatOf(t.file).st_ino, before.st_ino);
         }},
        {"hard link",
         [](AtomicFileIdentity& t) -> std::string {
             t.MakeFile(0644);
             return ::link(t.file.c_str(), (t.dir + "/other-name.dat").c_str()) == 0 ? "" : "link failed";
         },
         [](AtomicFileIdentity& t, const struct stat& before) {
             EXPECT_EQ(ReadAll(t.dir + "/other-name.dat"), ReadAll(t.file));
             EXPECT_EQ(StatOf(t.file).st_ino, before.st_ino);
             EXPECT_EQ(StatOf(t.file).st_nlink, 2u);
         }},
        {"writable file in a read-only directory",
         [](AtomicFileIdentity& t) -> std::string {
             t.MakeFile(0644);
             return ::chmod(t.dir.c_str(), 0555) == 0 ? "" : "chmod failed";
         },
         [](AtomicFileIdentity& t, const struct stat& before) {
             EXPECT_EQ(StatOf(t.file).st_ino, before.st_ino);
         }},
    };
    for (const IdentityCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        const std::string skip = c.setUp(*this);
        if (!skip.empty()) {
            std::printf("[   SKIP   ] %s: %s\n", c.name, skip.c_str());
            continue;
        }
        const struct stat before = StatOf(file);
        const std::vector<std::string> entries = Entries();

        // A full disk first: nothing may change, whichever way the write would have gone.
        for (long failAfter : {0L, 7L}) {
            EXPECT_NE(ReplaceAs(writer, file, kNew, failAfter), "");
            EXPECT_EQ(ReadAll(file), kOld);
            EXPECT_EQ(StatOf(file).st_ino, before.st_ino);
        }
        EXPECT_EQ(ReplaceAs(writer, file, kNew), "");
        EXPECT_EQ(ReadAll(file), kNew);
        EXPECT_EQ(Entries(), entries) << "a temporary file was left or a name was lost";
        c.check(*this, before);
        // Shrinking works too, and identity survives a second write.
        EXPECT_EQ(ReplaceAs(writer, file, kOld), "");
        EXPECT_EQ(ReadAll(file), kOld);
        c.check(*this, before);
        std::printf("[   CASE   ] %s: ran\n", c.name);
    }
}

TEST_F(AtomicFileIdentity, ReadOnlyFileIsRefused) {
    MakeFile(0444);
    EXPECT_NE(ReplaceAs(writer, file, kNew), "");
    EXPECT_EQ(ReadAll(file), kOld);
}

TEST_F(AtomicFileIdentity, SymlinkIsFollowed) {
    MakeFile(0644);
    const std::string link = dir + "/link.dat";
    ASSERT_EQ(::symlink("region.dat", link.c_str()), 0);
    EXPECT_EQ(ReplaceAs(writer, link, kNew), "");
    EXPECT_EQ(ReadAll(file), kNew);
    struct stat st{};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST_F(AtomicFileIdentity, OnlyOurStaleTemporaryFilesBesideTheFileAreRemoved) {
    MakeFile(0644);
    struct Leftover {
        const char* name;
        bool old;
        bool removed;
    };
    const std::vector<Leftover> leftovers = {
        {".region.dat.morvi-Ab3xZ9", true, true},      // ours, from a crash
        {".region.dat.morvi-Ab3xZ", true, false},      // five characters
        {".region.dat.morvi-Ab3xZ99", true, false},    // seven characters
        {".region.dat.morvi-Ab3-Z9", true, false},     // not mkstemp's alphabet
        {"region.dat.morvi-Ab3xZ9", true, false},      // no leading dot
        {".other.dat.morvi-Ab3xZ9", true, false},      // beside another file
        {".region.dat.morvi-Qq7Rr8", false, false},    // may belong to a write in progress
    };
    for (const Leftover& l : leftovers) {
        const std::string path = dir + "/" + l.name;
        WriteRaw(path, "partial", 0600);
        if (l.old) {
            const struct timeval past[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
            ASSERT_EQ(::utimes(path.c_str(), past), 0);
        }
        ASSERT_EQ(::chown(path.c_str(), writer.uid, writer.gid), 0);
    }
    // Not a regular file: never touched, even with our name.
    ASSERT_EQ(::mkdir((dir + "/.region.dat.morvi-D1r000").c_str(), 0755), 0);
    const struct timeval past[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimes((dir + "/.region.dat.morvi-D1r000").c_str(), past), 0);

    EXPECT_EQ(ReplaceAs(writer, file, kNew), "");
    EXPECT_EQ(ReadAll(file), kNew);
    for (const Leftover& l : leftovers)
        EXPECT_EQ(fs::exists(dir + "/" + l.name), !l.removed) << l.name;
    EXPECT_TRUE(fs::is_directory(dir + "/.region.dat.morvi-D1r000"));
}

}  // namespace
}  // namespace morvi
