// A region file changed by another program between the load and the save. The save finds its
// record again by the row's key wherever it lies now and writes only there; where the record or
// the file is gone it passes over in silence. Nothing is ever written at the offset the record
// had when the map was loaded, and saves in a row leave a file whose count and records agree.

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "DialogFixture.h"
#include "RegionChecks.h"
#include "data/region/RegionFile.h"

namespace morvi::test {
namespace {

namespace fs = std::filesystem;

std::string ChangedSinceLoadHint(const std::string& file) {
    return "地图文件" + file + "在载入地图后已被其他程序修改,请重新载入地图!";
}
using tools::MakeRecord;

constexpr uint32_t kSeed = 53;
const std::string kScript30 = "\\script\\npc\\thirty_bytes__.lua";
const std::string kScript37 = "\\script\\npc\\thirty_seven_bytes__.lua";

// Type TalkNPC, group Song and series 2 come back from the row unchanged, so a save that only
// renames a record rewrites exactly its name.
PlacementRecord Rec(int templateIndex, const std::string& name, int xy, int drop, const std::string& script = {}) {
    return MakeRecord(templateIndex, name, xy, xy % 7, xy, xy % 5, 3, 1, 2, drop, script);
}

const PlacementRecord kA = Rec(2, "A", 10, 3);
const PlacementRecord kB = Rec(3, "B", 20, 0, kScript30);
const PlacementRecord kC = Rec(4, "C", 30, 5);
const PlacementRecord kD = Rec(5, "D", 40, 6);
const PlacementRecord kBNew = Rec(3, "Bnew", 20, 0, kScript30);   // B as the save writes it
constexpr size_t kOffsetB = 2112 + 61;

std::string Image(const std::vector<PlacementRecord>& records) { return tools::MakeRegionImage(kSeed, records); }

std::string WithCount(std::string image, uint16_t count) {
    image[2100] = static_cast<char>(count & 0xFF);
    image[2101] = static_cast<char>(count >> 8);
    return image;
}

std::string Bytes(const PlacementRecord& r) {
    std::string out;
    AppendPlacementBytes(out, r.block, r.script);
    return out;
}

// A record whose script path holds B's block exactly where a walk that forgot to step over the
// path would look for the next record (61 bytes after the record's start).
PlacementRecord Decoy() {
    std::string script = "\\";
    script.append(reinterpret_cast<const char*>(kB.block.Bytes()), kPlacementBlockSize - 1);
    script += kScript30;
    return Rec(7, "Decoy", 60, 0, script);
}

// Whether `body` ends within the limit when run in a child process (a FIFO opened the plain way
// would block it). The child is killed when it does not.
bool EndsWithin(const std::function<void()>& body, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) != pid) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

enum class Other { Rewrites, Deletes, MakesDirectory, MakesFifo };

struct ConcurrentCase {
    const char* expected;
    Other other;
    std::string image;                        // what the other program wrote (Rewrites)
    std::optional<std::string> afterModify;   // nullopt: record not found, nothing written
    std::optional<std::string> afterDelete;
    const char* removedName = "B";
};

std::vector<ConcurrentCase> Cases() {
    const std::string full = Image({kA, kB, kC, kD});
    const PlacementRecord aWithScript = Rec(2, "A", 10, 0, kScript37);   // A's key, now with a script
    PlacementRecord bMoved = Rec(3, "B", 21, 0, kScript30);
    const PlacementRecord x = Rec(6, "X", 50, 0, kScript37);
    const PlacementRecord bDup = Rec(3, "Bdup", 20, 0, kScript30);
    return {
        {"records reordered: B found at its new place", Other::Rewrites, Image({kC, kB, kD, kA}),
         Image({kC, kBNew, kD, kA}), Image({kC, kD, kA})},
        {"a script record inserted before B: B found further on, at an odd distance", Other::Rewrites,
         Image({kA, x, kB, kC, kD}), Image({kA, x, kBNew, kC, kD}), Image({kA, x, kC, kD})},
        {"A before B grew a script: B found further on", Other::Rewrites, Image({aWithScript, kB, kC, kD}),
         Image({aWithScript, kBNew, kC, kD}), Image({aWithScript, kC, kD})},
        {"a script path imitating B where a misaligned walk would look: only the real B changes",
         Other::Rewrites, Image({Decoy(), kA, kB, kC}), Image({Decoy(), kA, kBNew, kC}), Image({Decoy(), kA, kC})},
        {"another record with B's key inserted before it: the first in file order is the one meant",
         Other::Rewrites, Image({kA, bDup, kB, kC}), Image({kA, kBNew, kB, kC}), Image({kA, kB, kC}), "Bdup"},
        {"B removed elsewhere: silent, file as the other program left it", Other::Rewrites, Image({kA, kC, kD}),
         std::nullopt, std::nullopt},
        {"B moved to other coordinates elsewhere: its key is gone; silent", Other::Rewrites,
         Image({kA, bMoved, kC, kD}), std::nullopt, std::nullopt},
        {"file truncated before B: silent", Other::Rewrites, full.substr(0, kOffsetB), std::nullopt, std::nullopt},
        {"file truncated inside the foreign data: silent", Other::Rewrites, full.substr(0, 1500), std::nullopt,
         std::nullopt},
        {"file truncated inside B's script, block intact: B rewritten whole at its own offset",
         Other::Rewrites, full.substr(0, kOffsetB + 40), full.substr(0, kOffsetB) + Bytes(kBNew),
         WithCount(full.substr(0, kOffsetB), 3)},
        {"file deleted: silent, no file made", Other::Deletes, "", std::nullopt, std::nullopt},
        {"file replaced by a directory: silent, the directory untouched", Other::MakesDirectory, "", std::nullopt,
         std::nullopt},
        {"file replaced by a FIFO: silent, nothing blocks", Other::MakesFifo, "", std::nullopt, std::nullopt},
    };
}

class ConcurrentChangeTest : public EmptyMapFixture {
protected:
    std::string File() const { return server() + "/maps/map10/a_S.DAT"; }
    // Loads A, B, C, D (rows D, C, B, A) and returns B's row.
    int Load() {
        fs::remove_all(File());
        WriteFile(File(), Image({kA, kB, kC, kD}));
        SelectMap(0);
        return RowOf("B");
    }
    int RowOf(const std::string& name) const {
        for (int i = 0; i < host.list.RowCount(); ++i)
            if (host.list.Cells(i)[COL_NAME] == name) return i;
        return -1;
    }
    void ApplyChange(const ConcurrentCase& k) {
        fs::remove(File());
        switch (k.other) {
            case Other::Rewrites: WriteFile(File(), k.image); break;
            case Other::Deletes: break;
            case Other::MakesDirectory: fs::create_directory(File()); break;
            case Other::MakesFifo: ASSERT_EQ(::mkfifo(File().c_str(), 0644), 0); break;
        }
    }
    // The file as the other program left it: same bytes, or still missing, an empty directory,
    // a FIFO.
    void ExpectLeftAsChanged(const ConcurrentCase& k) {
        struct stat st {};
        const bool exists = ::lstat(File().c_str(), &st) == 0;
        switch (k.other) {
            case Other::Rewrites: EXPECT_EQ(ReadFile(File()), k.image); break;
            case Other::Deletes: EXPECT_FALSE(exists); break;
            case Other::MakesDirectory:
                EXPECT_TRUE(exists && S_ISDIR(st.st_mode));
                EXPECT_TRUE(fs::is_empty(File()));
                break;
            case Other::MakesFifo: EXPECT_TRUE(exists && S_ISFIFO(st.st_mode)); break;
        }
        // No temporary file is left beside it.
        int entries = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(fs::path(File()).parent_path())) ++entries;
        EXPECT_EQ(entries, k.other == Other::Deletes ? 0 : 1);
    }
};

TEST_F(ConcurrentChangeTest, ModifyFindsTheRecordWhereItIsNow) {
    for (const ConcurrentCase& k : Cases()) {
        SCOPED_TRACE(k.expected);
        const int row = Load();
        host.list.ClickOnly(row);
        dlg->BeginEdit();
        ASSERT_EQ(dlg->EditMode(), EDIT_MODIFY);
        host.SetText(IDC_NAME, "Bnew");
        host.SetText(IDC_HINT, "before");
        ApplyChange(k);

        if (k.other == Other::MakesFifo) {
            ASSERT_TRUE(EndsWithin([&] { dlg->OnSave(); }));
        }
        dlg->OnSave();

        // A save that went through names the file another program changed since the load.
        if (k.afterModify) EXPECT_EQ(host.ItemText(IDC_HINT), ChangedSinceLoadHint(File()));
        else EXPECT_EQ(host.ItemText(IDC_HINT), "before");
        if (k.afterModify) {
            EXPECT_EQ(ReadFile(File()), *k.afterModify);
            EXPECT_EQ(dlg->EditMode(), EDIT_IDLE);
            EXPECT_EQ(host.list.Cells(row)[COL_NAME], "Bnew");
        } else {
            ExpectLeftAsChanged(k);
            EXPECT_EQ(dlg->EditMode(), EDIT_MODIFY);
            EXPECT_EQ(host.ItemText(IDC_NAME), "Bnew");
            EXPECT_EQ(host.list.Cells(row)[COL_NAME], "B");
        }
    }
}

TEST_F(ConcurrentChangeTest, DeleteFindsTheRecordWhereItIsNow) {
    for (const ConcurrentCase& k : Cases()) {
        SCOPED_TRACE(k.expected);
        const int row = Load();
        host.list.ClickOnly(row);
        host.SetText(IDC_HINT, "before");
        ApplyChange(k);
        host.answers.push_back(MessageAnswer::Yes);
        host.frameCaptions.clear();

        // The child works on copies of the dialog and the host; this process is untouched.
        if (k.other == Other::MakesFifo) {
            ASSERT_TRUE(EndsWithin([&] { dlg->OnDelete(); }));
        }
        dlg->OnDelete();

        ASSERT_FALSE(host.frameCaptions.empty());
        if (k.afterDelete) {
            EXPECT_EQ(ReadFile(File()), *k.afterDelete);
            EXPECT_EQ(host.frameCaptions.front(), "选择删除[1]条,实际完成[1]条!");
            EXPECT_EQ(host.ItemText(IDC_HINT), ChangedSinceLoadHint(File()));
        } else {
            ExpectLeftAsChanged(k);
            EXPECT_EQ(host.frameCaptions.front(), "选择删除[1]条,实际完成[0]条!");
            // The record stayed in its file, so its row stays, still selected, the count of
            // what was done stays in the caption and the hint names the failure.
            EXPECT_EQ(host.frameCaptions.back(), "选择删除[1]条,实际完成[0]条!");
            EXPECT_EQ(host.ItemText(IDC_HINT).rfind("删除NPC[B]失败!", 0), 0u) << host.ItemText(IDC_HINT);
            EXPECT_EQ(host.list.RowCount(), 4);
            ASSERT_NE(RowOf("B"), -1);
            EXPECT_TRUE(host.list.IsSelected(RowOf("B")));
            continue;
        }
        EXPECT_EQ(host.list.RowCount(), 3);
        EXPECT_EQ(RowOf("B"), -1);
    }
}

// Saves in a row on one file, with another program appending a record between two of them:
// after every step the count equals the records, they tile the file, and the bytes before the
// section and the header's opaque bytes are as they were.
TEST_F(ConcurrentChangeTest, SavesInARowKeepTheFileConsistent) {
    Load();
    const std::string original = ReadFile(File());
    auto check = [&](const char* step, uint16_t records) {
        SCOPED_TRACE(step);
        const std::string image = ReadFile(File());
        EXPECT_TRUE(Consistent(image));
        EXPECT_EQ(HeaderPlacementCount(HeaderFromImage(image)), records);
        EXPECT_EQ(image.substr(0, 2100), original.substr(0, 2100));
        EXPECT_EQ(image.substr(2102, 10), original.substr(2102, 10));
    };
    auto modify = [&](const std::string& name, const std::string& newName,
                      const std::optional<std::string>& script) {
        host.list.ClickOnly(RowOf(name));
        dlg->BeginEdit();
        host.SetText(IDC_NAME, newName);
        if (script) host.SetText(IDC_SCRIPT, *script);
        dlg->OnSave();
        EXPECT_EQ(dlg->EditMode(), EDIT_IDLE) << name;
    };
    const std::string script100 = "\\script\\" + std::string(88, 's') + ".lua";

    modify("B", "B", script100);   // grows
    check("B grew", 4);
    modify("B", "B", "");          // the refreshed row finds it again; shrinks to 61 bytes
    check("B shrank", 4);
    modify("A", "A", kScript37);   // the first record grows
    check("A grew", 4);

    // Another program appends E properly between two saves.
    std::string image = ReadFile(File());
    image = WithCount(image, 5) + Bytes(Rec(6, "E", 50, 1));
    WriteFile(File(), image);

    modify("C", "C2", std::nullopt);
    check("C renamed after E appeared", 5);

    host.SelectListBox(IDC_TEMPLATE_LIST, 0);
    host.SetChecked(IDC_CONTINUE, true);
    dlg->OnAdd();
    host.SetText(IDC_POS_X, "100");
    host.SetText(IDC_POS_Y, "200");
    dlg->OnSave();
    check("first add", 6);
    host.SetText(IDC_POS_X, "101");
    dlg->OnSave();
    check("second add", 7);

    host.list.ClearSelection();
    host.list.SelectRow(RowOf("A"));
    host.list.SelectRow(RowOf("C2"));
    host.answers.push_back(MessageAnswer::Yes);
    dlg->OnDelete();
    check("two rows of the file deleted", 5);

    // The next load shows what the file now holds: B, D, the two added, and E, which the other
    // program wrote and the list never showed.
    SelectMap(0);
    EXPECT_EQ(host.list.RowCount(), 5);
    EXPECT_NE(RowOf("E"), -1);
    EXPECT_EQ(host.list.Cells(static_cast<size_t>(RowOf("B")))[COL_SCRIPT], "");
}

}  // namespace
}  // namespace morvi::test
