// Damaged and hostile server trees, as operators copy them around and edit them by hand: what
// the window logic and the storage core do with each, and that reading never changes a file.
// Every case snapshots the whole tree (bytes, mode and modification time of every entry) before
// it acts and compares afterwards; only the one file a successful save writes may differ.

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "DialogFixture.h"
#include "RegionChecks.h"
#include "data/platform/AtomicFile.h"
#include "data/text/GbkCodec.h"
#include "RegionWriters.h"
#include "data/region/RegionFile.h"

namespace morvi::test {
namespace {

namespace fs = std::filesystem;
using tools::MakeRecord;

constexpr uint32_t kSeed = 41;
const std::string kScript30 = "\\script\\npc\\thirty_bytes__.lua";   // 30 bytes
constexpr char kSaveFailed[] = "打开地图文件发生错误,保存失败!";
constexpr char kDeleteFailed[] = "删除地图NPC时建立临时文件失败!NPC未删除!";
constexpr char kMapListError[] = "地图列表文件不存在或者配置错误,或者设置的地图数为0!";
constexpr char kPathTooLong[] = "您选择的目录路径超过254个字节,无法使用!";

// A, B (30-byte script) and C: at 2112, 2173 and 2263; the file ends at 2324.
const PlacementRecord kA = MakeRecord(2, "A", 10, 1, 10, 1, 3, 1, 2, 3);
const PlacementRecord kB = MakeRecord(3, "B", 20, 2, 20, 2, 3, 1, 2, 0, kScript30);
const PlacementRecord kC = MakeRecord(4, "Cname_long_enough", 30, 3, 30, 3, 3, 1, 2, 5);
constexpr size_t kOffsetB = 2173, kOffsetC = 2263;

// --- the tree snapshot ---------------------------------------------------------------------

struct EntryState {
    char kind = '?';        // f(ile) d(irectory) l(ink) p(ipe) o(ther)
    std::string content;    // bytes of a file, target of a link
    mode_t mode = 0;
    long long mtimeNs = 0;
    bool operator==(const EntryState&) const = default;
};
using TreeState = std::map<std::string, EntryState>;

// Walks without following links and without opening anything but regular files, so FIFOs,
// loops and dangling links can be part of the tree.
TreeState Snapshot(const std::string& root) {
    TreeState state;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const std::string path = it->path().string();
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) continue;
        EntryState e;
        e.mode = st.st_mode;
        e.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
        if (S_ISREG(st.st_mode)) {
            e.kind = 'f';
            e.content = ::access(path.c_str(), R_OK) == 0 ? ReadFile(path) : "<unreadable>";
        } else if (S_ISDIR(st.st_mode)) {
            e.kind = 'd';
        } else if (S_ISLNK(st.st_mode)) {
            e.kind = 'l';
            e.content = fs::read_symlink(path, ec).string();
        } else {
            e.kind = S_ISFIFO(st.st_mode) ? 'p' : 'o';
        }
        state[path] = e;
    }
    return state;
}

// The entries that differ, appeared or vanished, except `allowed` files and the modification
// time of their directories (a crash-safe replacement renames inside them) and of `touchedDirs`
// (a failed replacement made and removed its temporary file there).
std::vector<std::string> Changes(const TreeState& before, const TreeState& after,
                                 const std::set<std::string>& allowed = {},
                                 const std::set<std::string>& touchedDirs = {}) {
    std::set<std::string> allowedDirs = touchedDirs;
    for (const std::string& f : allowed) allowedDirs.insert(fs::path(f).parent_path().string());
    std::vector<std::string> out;
    auto differs = [&](const std::string& path, const EntryState* a, const EntryState* b) {
        if (allowed.count(path)) return;
        if (a && b && *a == *b) return;
        if (a && b && a->kind == 'd' && b->kind == 'd' && a->mode == b->mode && allowedDirs.count(path)) return;
        out.push_back((a ? (b ? "changed: " : "vanished: ") : "appeared: ") + path);
    };
    for (const auto& [path, state] : before) {
        auto it = after.find(path);
        differs(path, &state, it == after.end() ? nullptr : &it->second);
    }
    for (const auto& [path, state] : after)
        if (!before.count(path)) differs(path, nullptr, &state);
    return out;
}

// --- region file checks --------------------------------------------------------------------

std::string Image(const std::vector<PlacementRecord>& records) { return tools::MakeRegionImage(kSeed, records); }

// A, B, then C's 61-byte block claiming a 200-byte script path ("\\abcde" and the end of the file).
std::string LengthPastTheEnd() {
    PlacementRecord longC = kC;
    longC.block.dropCountOrScriptLength = 200;
    longC.block.variable = '\\';
    std::string image = Image({kA, kB});
    image[2100] = 3;
    image.append(reinterpret_cast<const char*>(longC.block.Bytes()), kPlacementBlockSize);
    return image + "abcde";
}

// --- a child process for cases that could block or need an unprivileged user ----------------

// What a child found: lines "FAIL ..." are failures, other lines are observations.
struct ChildReport {
    std::string text;
    void Expect(bool ok, const std::string& what) {
        if (!ok) text += "FAIL " + what + "\n";
    }
    void Note(const std::string& what) { text += what + "\n"; }
};

std::string Failures(const std::string& report) {
    std::string out;
    size_t pos = 0;
    while (pos < report.size()) {
        size_t end = report.find('\n', pos);
        if (end == std::string::npos) end = report.size();
        const std::string line = report.substr(pos, end - pos);
        if (line.rfind("FAIL", 0) == 0 || line.rfind("BLOCKED", 0) == 0 || line.rfind("CRASH", 0) == 0)
            out += line + "\n";
        pos = end + 1;
    }
    return out;
}

struct Nobody {
    uid_t uid = 0;
    gid_t gid = 0;
};

std::optional<Nobody> FindNobody() {
    const passwd* pw = ::getpwnam("nobody");
    if (!pw) return std::nullopt;
    return Nobody{pw->pw_uid, pw->pw_gid};
}

// Runs `body` in a forked child and returns its report. A child that does not end within the
// limit is killed and reported as BLOCKED: a load must never hang on a FIFO or a loop. With
// `unprivileged`, a child running as root first becomes nobody, so that file permissions hold
// for it as for an ordinary operator (root reads and writes through any mode bits).
std::string RunInChild(const std::function<void(ChildReport&)>& body, bool unprivileged = false,
                       std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    int fds[2];
    if (::pipe(fds) != 0) return "FAIL pipe\n";
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return "FAIL fork\n";
    if (pid == 0) {
        ::close(fds[0]);
        ChildReport report;
        bool ready = true;
        if (unprivileged && ::geteuid() == 0) {
            const std::optional<Nobody> nobody = FindNobody();
            ready = nobody && ::setgroups(0, nullptr) == 0 && ::setgid(nobody->gid) == 0 &&
                    ::setuid(nobody->uid) == 0;
            report.Expect(ready, "cannot become the user nobody");
        }
        if (ready) {
            try {
                body(report);
            } catch (const std::exception& e) {
                report.Expect(false, std::string("exception: ") + e.what());
            }
        }
        size_t done = 0;
        while (done < report.text.size()) {
            const ssize_t n = ::write(fds[1], report.text.data() + done, report.text.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    std::string text;
    auto drain = [&] {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    };
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) != pid) {
        drain();
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ::close(fds[0]);
            return text + "BLOCKED: did not end within " + std::to_string(limit.count()) + " ms\n";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    drain();
    ::close(fds[0]);
    if (WIFSIGNALED(status)) text += "CRASH: signal " + std::to_string(WTERMSIG(status)) + "\n";
    return text;
}

// --- the fixture ----------------------------------------------------------------------------

class BadInputCatalogueTest : public EmptyMapFixture {
protected:
    TreeState Tree() const { return Snapshot(dir.path()); }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int row = 0; row < host.list.RowCount(); ++row) out.push_back(host.list.CellText(row, COL_NAME));
        return out;
    }
    int RowOf(const std::string& name) const {
        for (int i = 0; i < host.list.RowCount(); ++i)
            if (host.list.Cells(i)[COL_NAME] == name) return i;
        return -1;
    }
    // Starts a placement from template 0 ("Them") with every field filled.
    void StartAdd() {
        host.SelectListBox(IDC_TEMPLATE_LIST, 0);
        dlg->OnAdd();
        host.SetText(IDC_POS_X, "100");
        host.SetText(IDC_POS_Y, "200");
        host.SetText(IDC_OFFSET_X, "3");
        host.SetText(IDC_OFFSET_Y, "4");
        host.SetText(IDC_DROP, "2");
    }
    void DeleteRow(int row) {
        host.list.ClickOnly(row);
        host.answers.push_back(MessageAnswer::Yes);
        host.frameCaptions.clear();
        dlg->OnDelete();
    }
    void EditRow(int row) {
        host.list.ClickOnly(row);
        dlg->BeginEdit();
    }
};

// --- damaged region files --------------------------------------------------------------------

struct DamagedRegion {
    const char* expected;            // the behaviour this case stands for
    std::string image;
    std::vector<std::string> rows;   // names from the top
    size_t recordsRead;              // records the core reads (placementCount)
};

std::vector<DamagedRegion> DamagedRegions() {
    const std::string full = Image({kA, kB, kC});
    std::string countMax = full;
    countMax[2100] = countMax[2101] = '\xFF';
    // B's length byte raised to 255: its script swallows C and runs past the end.
    std::string bSwallows = full;
    bSwallows[kOffsetB + 58] = '\xFF';
    return {
        {"cut inside the foreign data: count reads 0, no rows", full.substr(0, 1000), {}, 0},
        {"cut inside the header after the count: 3 records read as zeros, no rows", full.substr(0, 2105), {}, 3},
        {"cut after the count's low byte: count 3, zeros, no rows", full.substr(0, 2101), {}, 3},
        {"cut inside C after 30 bytes: C listed with the 14 name bytes present, rest zeros",
         full.substr(0, kOffsetC + 30), {"Cname_long_eno", "B", "A"}, 3},
        {"cut inside C before its name: C not listed", full.substr(0, kOffsetC + 10), {"B", "A"}, 3},
        {"cut inside B's script: B listed with the path bytes present, C absent", full.substr(0, kOffsetB + 70),
         {"B", "A"}, 3},
        {"placementCount 65535 with three records: three rows, the rest read as zeros", countMax,
         {"Cname_long_enough", "B", "A"}, 65535},
        {"C's length byte points past the end: C listed with the script bytes present", LengthPastTheEnd(),
         {"Cname_long_enough", "B", "A"}, 3},
        {"B's length byte swallows C: C never read as a record", bSwallows, {"B", "A"}, 3},
        {"0-byte file: no rows", "", {}, 0},
    };
}

TEST_F(BadInputCatalogueTest, DamagedRegionFilesLoadWithoutBeingChanged) {
    for (const DamagedRegion& k : DamagedRegions()) {
        SCOPED_TRACE(k.expected);
        WriteFile(MapFile("a_S.DAT"), k.image);
        const TreeState before = Tree();

        std::vector<PlacementRecord> records;
        ASSERT_TRUE(ReadRegionPlacements(MapFile("a_S.DAT"), records));
        EXPECT_EQ(records.size(), k.recordsRead);
        SelectMap(0);

        EXPECT_EQ(Names(), k.rows);
        EXPECT_EQ(host.ItemText(IDC_FRAME), "NPC配置列表完成!共有NPC配置信息[" + std::to_string(k.rows.size()) + "]条!");
        EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});
    }
}

TEST_F(BadInputCatalogueTest, DamagedRecordsShowWhatIsPresent) {
    const std::string full = Image({kA, kB, kC});
    WriteFile(MapFile("a_S.DAT"), full.substr(0, kOffsetB + 70));
    SelectMap(0);
    ASSERT_EQ(Names(), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(host.list.Cells(0)[COL_SCRIPT], kScript30.substr(0, 10));   // zeros end the text

    WriteFile(MapFile("a_S.DAT"), LengthPastTheEnd());
    SelectMap(0);
    ASSERT_EQ(host.list.RowCount(), 3);
    EXPECT_EQ(host.list.Cells(0)[COL_SCRIPT], "\\abcde");
    EXPECT_EQ(host.list.Cells(0)[COL_DROP], "");
}

// Saves on damaged files: the bytes before the record stay, the write lands at the record's own
// offset, and a removal leaves a file whose count and records agree where they agreed before.
TEST_F(BadInputCatalogueTest, SavesOnDamagedFilesWriteOnlyAtTheRecord) {
    const std::string full = Image({kA, kB, kC});

    // Truncated inside C: deleting C cuts from its start to the end; count 2, consistent again.
    WriteFile(MapFile("a_S.DAT"), full.substr(0, kOffsetC + 30));
    SelectMap(0);
    DeleteRow(RowOf("Cname_long_eno"));
    std::string expected = full.substr(0, kOffsetC);
    expected[2100] = 2;
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), expected);
    EXPECT_TRUE(Consistent(ReadFile(MapFile("a_S.DAT"))));

    // Truncated inside C: modifying C writes a whole record at C's offset; the file is whole again.
    WriteFile(MapFile("a_S.DAT"), full.substr(0, kOffsetC + 30));
    SelectMap(0);
    EditRow(RowOf("Cname_long_eno"));
    host.SetText(IDC_NAME, "Cfixed");
    dlg->OnSave();
    std::string image = ReadFile(MapFile("a_S.DAT"));
    ASSERT_EQ(image.size(), kOffsetC + 61);
    EXPECT_EQ(image.substr(0, kOffsetC), full.substr(0, kOffsetC));
    EXPECT_TRUE(Consistent(image));
    PlacementRecord c;
    ParsePlacementAt(image, kOffsetC, &c);
    EXPECT_EQ(c.block.Name(), "Cfixed");
    EXPECT_EQ(c.block.TemplateIndex(), 4);
    EXPECT_EQ(c.block.PosX(), 30);

    // Length byte past the end: deleting C removes it and nothing else.
    WriteFile(MapFile("a_S.DAT"), LengthPastTheEnd());
    SelectMap(0);
    DeleteRow(RowOf("Cname_long_enough"));
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), Image({kA, kB}));

    // placementCount 65535 with three records: a removal walks to the end of the file and lowers
    // the count to 65534; the bytes before B and after it stay.
    std::string countMax = full;
    countMax[2100] = countMax[2101] = '\xFF';
    WriteFile(MapFile("a_S.DAT"), countMax);
    SelectMap(0);
    DeleteRow(RowOf("B"));
    expected = Image({kA, kC});
    expected[2100] = '\xFE';
    expected[2101] = '\xFF';
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), expected);
}

// A count that promises records the file does not hold: the add is refused and the file kept.
TEST_F(BadInputCatalogueTest, AddToAFileWhoseCountPromisesAbsentRecordsIsRefused) {
    const std::string image = Image({kA, kB, kC}).substr(0, 2105);
    WriteFile(MapFile("a_S.DAT"), image);
    SelectMap(0);
    StartAdd();
    const SaveOutcome outcome = dlg->OnSave();
    EXPECT_FALSE(outcome.Written());
    EXPECT_EQ(host.ItemText(IDC_HINT), "打开地图文件发生错误,保存失败!");
    EXPECT_EQ(ReadFile(MapFile("a_S.DAT")), image);
    EXPECT_EQ(dlg->EditMode(), EDIT_ADD);
}

// Adding to a file that ends before its records: the missing header bytes count as zero, the
// present bytes are kept, and the record goes to 2112 with the count raised from what was there.
TEST_F(BadInputCatalogueTest, AddToShortFilesFillsTheGapWithZeros) {
    const std::string full = Image({kA, kB, kC});
    const struct {
        const char* expected;
        std::string image;
        uint16_t count;   // count after the add
    } cases[] = {
        {"0-byte file: zeros to 2112, count 1", "", 1},
        {"cut in the foreign data: kept, zeros to 2112, count 1", full.substr(0, 1000), 1},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.expected);
        WriteFile(MapFile("a_S.DAT"), k.image);
        SelectMap(0);
        StartAdd();
        const TreeState before = Tree();
        dlg->OnSave();

        // The head as an in-place update leaves it: present bytes kept, the rest zero, the count raised.
        std::string head = k.image;
        head.resize(kFirstRecordOffset, '\0');
        head[2100] = static_cast<char>(k.count & 0xFF);
        head[2101] = static_cast<char>(k.count >> 8);
        const std::string image = ReadFile(MapFile("a_S.DAT"));
        ASSERT_EQ(image.size(), 2112u + 61u);
        EXPECT_EQ(image.substr(0, kFirstRecordOffset), head);
        if (k.count == 1) {
            EXPECT_TRUE(Consistent(image));
        }
        EXPECT_EQ(Changes(before, Tree(), {MapFile("a_S.DAT")}), std::vector<std::string>{});
        EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
    }
}

// --- entries that only look like region files -------------------------------------------------

// A directory named x_S.DAT is walked, never opened; a FIFO, a dangling link and a link loop
// named like region files are left out. The load must not block on the FIFO (a plain open of a
// FIFO waits for a writer), so it runs first in a child that is killed when it does not end.
TEST_F(BadInputCatalogueTest, LookalikeEntriesAreSkippedWithoutBlocking) {
    WriteFile(MapFile("real_S.DAT"), Image({kA}));
    WriteFile(MapFile("x_S.DAT/inner_S.DAT"), Image({kB}));
    ASSERT_EQ(::mkfifo(MapFile("pipe_S.DAT").c_str(), 0644), 0);
    fs::create_symlink(MapFile("missing"), MapFile("dangling_S.DAT"));
    fs::create_symlink("self_S.DAT", MapFile("self_S.DAT"));   // a link to itself
    const TreeState before = Tree();

    const std::string report = RunInChild([&](ChildReport& r) {
        SelectMap(0);
        r.Expect(host.list.RowCount() == 2, "rows: " + std::to_string(host.list.RowCount()));
    });
    ASSERT_EQ(Failures(report), "");

    SelectMap(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(host.list.Cells(0)[COL_FILE], MapFile("x_S.DAT/inner_S.DAT"));
    EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});

    // The storage core refuses all of them as files.
    std::vector<PlacementRecord> records;
    const PlacementKey keyA{2, 10, 10, 1, 1};
    for (const char* name : {"x_S.DAT", "pipe_S.DAT", "dangling_S.DAT", "self_S.DAT"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ReadRegionPlacements(MapFile(name), records));
        EXPECT_EQ(RemovePlacementFromFile(MapFile(name), keyA).outcome, RegionOutcome::OpenFailed);
        EXPECT_EQ(AppendPlacementToFile(MapFile(name), kA).outcome, RegionOutcome::OpenFailed);
    }
    EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});

    // An add goes to a real file only: of the two, the first found (real_S.DAT).
    StartAdd();
    dlg->OnSave();
    EXPECT_EQ(Changes(before, Tree(), {MapFile("real_S.DAT")}), std::vector<std::string>{});
    EXPECT_EQ(HeaderPlacementCount(HeaderFromImage(ReadFile(MapFile("real_S.DAT")))), 2);
}

TEST_F(BadInputCatalogueTest, AddWithOnlyLookalikesDoesNothing) {
    fs::create_directories(MapFile("x_S.DAT"));
    ASSERT_EQ(::mkfifo(MapFile("pipe_S.DAT").c_str(), 0644), 0);
    fs::create_symlink(MapFile("missing"), MapFile("dangling_S.DAT"));
    const TreeState before = Tree();

    const std::string report = RunInChild([&](ChildReport& r) {
        SelectMap(0);
        StartAdd();
        host.SetText(IDC_HINT, "before");
        dlg->OnSave();
        r.Expect(host.ItemText(IDC_HINT) == "before", "hint: " + host.ItemText(IDC_HINT));
        r.Expect(dlg->EditMode() == EDIT_ADD, "left adding");
    });
    EXPECT_EQ(Failures(report), "");
    EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});
}

// Directory links that lead back up end the walk; every file is listed once.
TEST_F(BadInputCatalogueTest, SymlinkLoopUnderAMapDirectory) {
    WriteFile(MapFile("a_S.DAT"), Image({kA}));
    WriteFile(MapFile("sub/b_S.DAT"), Image({kB}));
    fs::create_directory_symlink(MapDir(), MapFile("sub/up"));
    fs::create_directory_symlink("../sub", MapFile("sub/again"));
    fs::create_directory_symlink("loop2", MapFile("loop1"));   // two links naming each other
    fs::create_directory_symlink("loop1", MapFile("loop2"));
    const TreeState before = Tree();

    const std::string report = RunInChild([&](ChildReport& r) {
        SelectMap(0);
        r.Expect(host.list.RowCount() == 2, "rows: " + std::to_string(host.list.RowCount()));
    });
    ASSERT_EQ(Failures(report), "");
    SelectMap(0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});
}

// --- permissions ------------------------------------------------------------------------------

// Root reads and writes through any mode bits, so these cases run in a child that has become
// the user nobody; the tree is handed to nobody where the case needs it.
class PermissionCase : public BadInputCatalogueTest {
protected:
    void SetUp() override {
        BadInputCatalogueTest::SetUp();
        const std::optional<Nobody> found = FindNobody();
        if (::geteuid() == 0 && !found) GTEST_SKIP() << "no user nobody to drop root privileges to";
        nobody = found.value_or(Nobody{::geteuid(), ::getegid()});
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);   // mkdtemp made it private
        // The change history must take the child's entries, whoever it runs as.
        ASSERT_EQ(::chmod(historyRoot.path().c_str(), 0777), 0);
    }
    void GiveToNobody(const std::string& path) {
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(path.c_str(), nobody.uid, nobody.gid), 0);
        }
    }
    // The three saves on row `name` of a loaded map, each from a fresh load, in the child.
    // Expects every one refused with the file unchanged; notes the hint each one left.
    void ExpectEveryWriteRefused(ChildReport& r, const std::string& file) {
        const std::string image = ReadFile(file);

        SelectMap(0);
        StartAdd();
        host.SetText(IDC_HINT, "before");
        dlg->OnSave();
        r.Note("add: hint \"" + host.ItemText(IDC_HINT) + "\"");
        r.Expect(host.ItemText(IDC_HINT) == kSaveFailed, "add: hint " + host.ItemText(IDC_HINT));
        r.Expect(ReadFile(file) == image, "add changed the file");
        r.Expect(dlg->EditMode() == EDIT_ADD, "add left the adding state");

        SelectMap(0);
        EditRow(0);
        host.SetText(IDC_NAME, "changed");
        host.SetText(IDC_HINT, "before");
        dlg->OnSave();
        r.Note("modify: hint \"" + host.ItemText(IDC_HINT) + "\"");
        // A file that cannot be opened for update is passed over in silence; one that cannot be
        // replaced is reported. Either way the user is still editing and the file is as it was.
        r.Expect(host.ItemText(IDC_HINT) == "before" || host.ItemText(IDC_HINT) == kSaveFailed,
                 "modify: hint " + host.ItemText(IDC_HINT));
        r.Expect(ReadFile(file) == image, "modify changed the file");
        r.Expect(dlg->EditMode() == EDIT_MODIFY, "modify left the editing state");

        SelectMap(0);
        host.SetText(IDC_HINT, "before");
        DeleteRow(0);
        r.Note("delete: hint \"" + host.ItemText(IDC_HINT) + "\", caption \"" +
               (host.frameCaptions.empty() ? "" : host.frameCaptions.front()) + "\"");
        r.Expect(host.ItemText(IDC_HINT) == kDeleteFailed, "delete: hint " + host.ItemText(IDC_HINT));
        r.Expect(ReadFile(file) == image, "delete changed the file");
    }
    Nobody nobody;
};

// An unreadable region file is skipped in silence; the readable one beside it loads.
TEST_F(PermissionCase, UnreadableRegionFileIsSkipped) {
    WriteFile(MapFile("open_S.DAT"), Image({kA}));
    WriteFile(MapFile("secret_S.DAT"), Image({kB}));
    ASSERT_EQ(::chmod(MapFile("secret_S.DAT").c_str(), 0), 0);
    const TreeState before = Tree();

    const std::string report = RunInChild(
        [&](ChildReport& r) {
            SelectMap(0);
            r.Expect(host.list.RowCount() == 1 && host.list.Cells(0)[COL_NAME] == "A",
                     "rows: " + std::to_string(host.list.RowCount()));
            std::vector<PlacementRecord> records;
            r.Expect(!ReadRegionPlacements(MapFile("secret_S.DAT"), records), "read the unreadable file");
            const PlacementKey keyB{3, 20, 20, 2, 2};
            r.Expect(RemovePlacementFromFile(MapFile("secret_S.DAT"), keyB).outcome == RegionOutcome::OpenFailed,
                     "remove from the unreadable file");
            r.Expect(ModifyPlacementInFile(MapFile("secret_S.DAT"), keyB,
                                           [](const PlacementRecord& old) { return old; })
                             .outcome == RegionOutcome::OpenFailed,
                     "modify the unreadable file");
        },
        true);
    EXPECT_EQ(Failures(report), "");
    EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});
}

// A read-only region file in a writable directory: on the operator's word the file must not
// change, although the directory would allow replacing it.
TEST_F(PermissionCase, ReadOnlyRegionFileRefusesEveryWrite) {
    WriteFile(MapFile("a_S.DAT"), Image({kA, kB}));
    GiveToNobody(MapDir());
    GiveToNobody(MapFile("a_S.DAT"));
    ASSERT_EQ(::chmod(MapFile("a_S.DAT").c_str(), 0444), 0);
    const TreeState before = Tree();

    const std::string report =
        RunInChild([&](ChildReport& r) { ExpectEveryWriteRefused(r, MapFile("a_S.DAT")); }, true);
    std::cout << report;
    EXPECT_EQ(Failures(report), "");
    EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});
}

// A writable file in a read-only directory: no temporary file can be made beside it, so the
// file itself is rewritten, as an in-place write always could; add, modify and delete all
// reach it (the refusal checks below report each write that got through).
TEST_F(PermissionCase, ReadOnlyMapDirectoryIsWrittenInPlace) {
    WriteFile(MapFile("a_S.DAT"), Image({kA, kB}));
    GiveToNobody(MapDir());
    GiveToNobody(MapFile("a_S.DAT"));
    ASSERT_EQ(::chmod(MapDir().c_str(), 0555), 0);
    const TreeState before = Tree();

    const std::string report =
        RunInChild([&](ChildReport& r) { ExpectEveryWriteRefused(r, MapFile("a_S.DAT")); }, true);
    std::cout << report;
    EXPECT_NE(Failures(report).find("add changed the file"), std::string::npos) << report;
    EXPECT_NE(Failures(report).find("modify changed the file"), std::string::npos) << report;
    EXPECT_NE(Failures(report).find("delete: hint"), std::string::npos) << report;
    EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{"changed: " + MapFile("a_S.DAT")});
}

// The same refusals with the failure injected at the first byte of the replacement, as a full
// disk or a read-only medium gives it, in this process.
TEST_F(BadInputCatalogueTest, ReplacementFailingAtTheFirstByteChangesNothing) {
    WriteFile(MapFile("a_S.DAT"), Image({kA, kB}));
    const struct {
        const char* expected;
        std::function<void()> act;
        const char* hint;
    } cases[] = {
        {"add: save-failed hint, still adding", [&] { StartAdd(); }, kSaveFailed},
        {"modify: save-failed hint, still editing", [&] { EditRow(0); host.SetText(IDC_NAME, "x"); }, kSaveFailed},
        {"delete: temporary-file hint, row gone from the list", [] {}, kDeleteFailed},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.expected);
        SelectMap(0);
        k.act();
        host.SetText(IDC_HINT, "before");
        const TreeState before = Tree();
        FailNextReplaceAfterBytesForTesting(0);
        if (std::string(k.hint) == kDeleteFailed)
            DeleteRow(0);
        else
            dlg->OnSave();
        FailNextReplaceAfterBytesForTesting(-1);
        EXPECT_EQ(host.ItemText(IDC_HINT), k.hint);
        EXPECT_EQ(Changes(before, Tree(), {}, {MapDir()}), std::vector<std::string>{});
        if (std::string(k.hint) != kDeleteFailed) {
            EXPECT_NE(dlg->EditMode(), EDIT_IDLE);
        }
    }
}

// --- the map list -----------------------------------------------------------------------------

TEST_F(BadInputCatalogueTest, WorldsetCountValues) {
    const struct {
        const char* expected;
        const char* count;
        bool error;
    } cases[] = {
        {"Count 100000: only the slots present are read, map listed, no box", "100000", false},
        {"Count negative: the map-list error box, old list kept", "-5", true},
        {"Count non-numeric: reads 0, the error box, old list kept", "many", true},
        {"Count with trailing junk: its leading digits", "3maps", false},
        {"Count beyond 32 bits: wraps; here to a negative number, the error box", "4294967295", true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.expected);
        WriteFile(server() + "/maps/worldset.ini",
                  std::string("[Init]\r\nCount=") + k.count + "\r\n[World]\r\nWorld00=10\r\n");
        host.messages.clear();
        host.listBoxes[IDC_MAP_LIST] = {"old"};
        St::m_mapPaths(*dlg) = {"map10"};
        const TreeState before = Tree();

        dlg->LoadMapList();

        if (k.error) {
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].text, kMapListError);
            EXPECT_EQ(host.messages[0].caption, "错误");
            EXPECT_EQ(host.listBoxes[IDC_MAP_LIST], std::vector<std::string>{"old"});
        } else {
            EXPECT_TRUE(host.messages.empty());
            EXPECT_EQ(host.listBoxes[IDC_MAP_LIST], std::vector<std::string>{"地图10"});
        }
        EXPECT_EQ(dlg->MapPaths(), std::vector<std::string>{"map10"});
        EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});
    }
}

// Map directories are read below <server>/maps. Reading through any entry is harmless; writing
// must stay inside the server directory.
TEST_F(BadInputCatalogueTest, MapListEntriesWithOddDirectories) {
    const std::string gbkLongName = [] {
        std::string s;
        for (int i = 0; i < 150; ++i) s += "\xD6\xD0";   // 中, 300 bytes
        return s;
    }();
    WriteFile(server() + "/shared/m/a_S.DAT", Image({kA}));     // maps\..\shared\m
    WriteFile(server() + "/maps/abs/m/a_S.DAT", Image({kB}));   // where an absolute /abs/m lands
    const struct {
        const char* expected;
        std::string directory;
        std::string name;
        std::vector<std::string> rows;
    } cases[] = {
        {"..\\shared\\m: leaves maps but stays in the server tree; loads", "..\\shared\\m", "n", {"A"}},
        {"/abs/m: an absolute path is taken below maps", "/abs/m", "n", {"B"}},
        {"\\abs\\m: likewise with backslashes", "\\abs\\m", "n", {"B"}},
        {"C:\\abs\\m: a drive path names no directory below maps; empty list", "C:\\abs\\m", "n", {}},
        {"300-byte directory: cut to 254 bytes, names nothing; empty list", std::string(300, 'd'), "n", {}},
        {"300-byte GBK display name: cut to 49 bytes, the split character kept as a private-use one",
         "abs\\m", gbkLongName, {"B"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.expected);
        WriteFile(server() + "/settings/maplist.ini", "[List]\r\n10_name=" + k.name + "\r\n10=" + k.directory + "\r\n");
        dlg->LoadMapList();
        ASSERT_EQ(host.ListBoxCount(IDC_MAP_LIST), 1);
        const TreeState before = Tree();
        SelectMap(0);
        EXPECT_EQ(Names(), k.rows);
        EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});
    }
    // The cut display name: 24 whole characters and the lone lead byte, which encodes back.
    const std::string shown = host.ListBoxText(IDC_MAP_LIST, 0);
    EXPECT_EQ(Utf8ToGbk(shown), gbkLongName.substr(0, 49));
}

// ..\..\elsewhere leaves the server directory. Loading from there is only reading, but a save
// must never write a file outside the server tree (server trees are often kept side by side, and
// a copied maplist.ini would then edit another installation).
TEST_F(BadInputCatalogueTest, MapDirectoryEscapingTheServerTreeIsNeverWritten) {
    const std::string outside = dir.path() + "/other-server/maps/m/a_S.DAT";
    WriteFile(outside, Image({kA, kB}));
    WriteFile(server() + "/settings/maplist.ini", "[List]\r\n10_name=n\r\n10=..\\..\\other-server\\maps\\m\r\n");
    dlg->LoadMapList();
    const TreeState before = Tree();

    SelectMap(0);
    // The map shows as one without region files, and nothing can be added to it.
    EXPECT_EQ(host.list.RowCount(), 0);
    EXPECT_EQ(host.ItemText(IDC_FRAME), "NPC配置列表完成!共有NPC配置信息[0]条!");
    StartAdd();
    dlg->OnSave();
    while (host.list.RowCount() > 0) DeleteRow(0);

    EXPECT_EQ(ReadFile(outside), Image({kA, kB}));
    EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});
}

// --- the template table -------------------------------------------------------------------------

TEST_F(BadInputCatalogueTest, DamagedTemplateTables) {
    const std::string tenMegabytes(10 * 1024 * 1024, 'x');
    const struct {
        const char* expected;
        std::string text;
        std::vector<std::string> names;   // GBK bytes as read
    } cases[] = {
        {"no line break at all: 0 lines, empty list", "Name\tKind\tLevel", {}},
        {"no tabs: every read runs to the end of the file; empty list", "Name\r\nGuard\r\nSmith\r\n", {}},
        {"a 10 MB first column: cut to 49 bytes, the next line still read",
         "Name\tK\r\n" + tenMegabytes + "\tK\r\nGuard\tK\r\n", {std::string(49, 'x'), "Guard"}},
        {"a 10 MB line without tab or line break after the header: empty list", "Name\r\n" + tenMegabytes, {}},
        {"NUL bytes: a name ends at its NUL", std::string("Name\tK\r\nGu\0ard\tK\r\n\0\tK\r\nSmith\tK\r\n", 32),
         {"Gu", "", "Smith"}},
        {"invalid GBK: bytes kept, shown as private-use characters",
         "Name\tK\r\n\x81\x20" "bad\tK\r\n\xFF\tK\r\n\x80\xFF\tK\r\n", {"\x81\x20" "bad", "\xFF", "\x80\xFF"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.expected);
        WriteFile(server() + "/settings/npcs.txt", k.text);
        const TreeState before = Tree();
        const auto start = std::chrono::steady_clock::now();
        dlg->LoadTemplateList();
        const auto took = std::chrono::steady_clock::now() - start;

        std::vector<std::string> names;
        for (int i = 0; i < host.ListBoxCount(IDC_TEMPLATE_LIST); ++i)
            names.push_back(*Utf8ToGbk(host.ListBoxText(IDC_TEMPLATE_LIST, i)));
        EXPECT_EQ(names, k.names);
        EXPECT_LT(took, std::chrono::seconds(5));
        EXPECT_EQ(Changes(before, Tree()), std::vector<std::string>{});
    }
}

// A template whose name is not valid GBK: taken into a new placement, its bytes reach the file
// unchanged.
TEST_F(BadInputCatalogueTest, InvalidGbkTemplateNameReachesTheRecordUnchanged) {
    WriteFile(server() + "/settings/npcs.txt", "Name\tK\r\n\x81\x20" "bad\xFF\tK\r\n");
    dlg->LoadTemplateList();
    WriteFile(MapFile("a_S.DAT"), Image({}));
    SelectMap(0);
    StartAdd();
    dlg->OnSave();
    std::vector<PlacementRecord> records;
    ASSERT_TRUE(ReadRegionPlacements(MapFile("a_S.DAT"), records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].block.Name(), "\x81\x20" "bad\xFF");
    EXPECT_EQ(records[0].block.TemplateIndex(), 1);
}

// --- the server path ----------------------------------------------------------------------------

// A path of `length` bytes below `base`, made of directory names no longer than 200 bytes.
std::string PathOfLength(const std::string& base, size_t length, char fill) {
    std::string path = base;
    while (path.size() < length) {
        path += '/';
        const size_t room = std::min<size_t>(200, length - path.size());
        path += std::string(std::max<size_t>(room, 1), fill);
    }
    return path;
}

// 254 bytes is the longest server path: it works end to end. 255 bytes from the folder browser
// is refused with the box and handled as a cancel, even when a whole server tree is there.
TEST_F(BadInputCatalogueTest, ServerPathOf254And255Bytes) {
    const std::string fits = PathOfLength(dir.path(), 254, 'p');
    const std::string over = PathOfLength(dir.path(), 255, 'q');
    ASSERT_EQ(fits.size(), 254u);
    ASSERT_EQ(over.size(), 255u);
    tools::TreeShape shape;
    shape.maps = 1;
    shape.filesPerMap = 3;
    const long placements = tools::GenerateServerTree(fits, shape);
    tools::GenerateServerTree(over, shape);
    const std::string config = work() + "/MorviConfig.ini";

    TreeState before = Tree();
    host.folderChoices.push_back(fits);
    dlg->OnBrowseServer();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dlg->ServerPath(), fits);
    EXPECT_EQ(host.ListBoxCount(IDC_MAP_LIST), 1);
    EXPECT_EQ(host.ListBoxCount(IDC_TEMPLATE_LIST), 40);
    SelectMap(0);
    EXPECT_EQ(host.list.RowCount(), placements);
    EXPECT_EQ(Changes(before, Tree(), {config}), std::vector<std::string>{});

    // A save below the long path works; only the file it chose changes.
    before = Tree();
    StartAdd();
    dlg->OnSave();
    ASSERT_EQ(host.list.RowCount(), placements + 1);
    const std::string written = host.list.Cells(0)[COL_FILE];
    EXPECT_EQ(written.rfind(fits + "/maps/", 0), 0u);
    EXPECT_EQ(Changes(before, Tree(), {written}), std::vector<std::string>{});

    before = Tree();
    host.messages.clear();
    host.folderChoices.push_back(over);
    dlg->OnBrowseServer();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, kPathTooLong);
    EXPECT_EQ(host.messages[0].caption, "警告");
    EXPECT_EQ(dlg->ServerPath(), fits);
    EXPECT_EQ(ReadFile(config), "[MorviConfig]\r\nServerPath=" + fits + "\r\n");
    // The configuration is written back with the same bytes; nothing else is touched.
    EXPECT_EQ(Changes(before, Tree(), {config}), std::vector<std::string>{});
}

// INI and template files that are FIFOs (or directories) read as missing; nothing blocks.
TEST_F(BadInputCatalogueTest, SettingsFilesThatAreNotFilesNeverBlock) {
    fs::remove(server() + "/maps/worldset.ini");
    fs::remove(server() + "/settings/npcs.txt");
    fs::remove(server() + "/settings/maplist.ini");
    ASSERT_EQ(::mkfifo((server() + "/maps/worldset.ini").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((server() + "/settings/npcs.txt").c_str(), 0644), 0);
    fs::create_directories(server() + "/settings/maplist.ini");
    const TreeState before = Tree();

    const std::string report = RunInChild([&](ChildReport& r) {
        host.folderChoices.push_back(server());
        host.messages.clear();
        dlg->OnBrowseServer();
        r.Expect(host.messages.size() == 1 && host.messages[0].text == kMapListError, "expected the map-list box");
        r.Expect(host.ListBoxCount(IDC_TEMPLATE_LIST) == 0, "templates from a FIFO");
    });
    EXPECT_EQ(Failures(report), "");
    EXPECT_EQ(Changes(before, Tree(), {work() + "/MorviConfig.ini"}), std::vector<std::string>{});
}

}  // namespace
}  // namespace morvi::test
