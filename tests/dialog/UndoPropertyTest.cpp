// Random sequences of window adds, changes, deletes, undos, redos and outside changes on
// generated region files, checked after every step against a model of the files' bytes:
// every undo gives back the exact earlier bytes, a refused undo leaves the files as they were,
// and the journal replays from the first images to the files as they are.

#include <map>
#include <random>

#include "DialogFixture.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;
using Files = std::map<std::string, std::string>;

class UndoPropertyTest : public EmptyMapFixture {
protected:
    Files Read() const {
        Files out;
        for (const std::string& name : names) out[name] = ReadFile(MapFile(name));
        return out;
    }
    std::vector<std::string> names{"a_S.DAT", "b_S.DAT", "c_S.DAT"};
};

TEST_F(UndoPropertyTest, RandomSequencesAgreeWithTheModelAndTheJournal) {
    constexpr int kSequences = 12, kSteps = 40;
    int steps = 0, undos = 0, redos = 0, refused = 0, writes = 0;
    for (int seed = 1; seed <= kSequences; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(static_cast<unsigned>(seed));
        for (size_t f = 0; f < names.size(); ++f) {
            std::vector<PlacementRecord> records;
            for (int i = 0; i < 3; ++i)
                records.push_back(MakeRecord(2 + i, "N" + std::to_string(f) + std::to_string(i), 10 * seed + i, 5 * i, i, i,
                                             0, 0, 0, i % 2 ? 1 : 0, i % 2 ? "" : "\\script\\npc\\x.lua"));
            WriteFile(MapFile(names[f]), tools::MakeRegionImage(static_cast<uint32_t>(seed), records));
        }
        // A fresh window and history for every sequence.
        const std::string history = historyRoot.path() + "/seq" + std::to_string(seed);
        OpenWithoutTree();
        dlg->SetHistoryDirectory(history);
        SelectMap(0);
        const Files first = Read();
        // The model: the files before each of this window's steps still to undo, and after
        // each undone step still to redo.
        std::vector<std::pair<Files, Files>> done, undone;   // {before, after}
        for (int s = 0; s < kSteps; ++s, ++steps) {
            const Files before = Read();
            const int op = static_cast<int>(random() % 6);
            if (op == 0 && host.list.RowCount() > 0) {   // delete one or more rows
                host.list.ClearSelection();
                for (int row = 0; row < host.list.RowCount(); ++row)
                    if (random() % 3 == 0 || row == 0) host.list.SelectRow(row);
                host.answers.push_back(MessageAnswer::Yes);
                dlg->OnDelete();
            } else if (op == 1) {   // add to a chosen file
                dlg->SetAddTargetFile(MapFile(names[random() % names.size()]));
                host.SelectListBox(IDC_TEMPLATE_LIST, static_cast<int>(random() % 5));
                dlg->OnAdd();
                host.SetText(IDC_NAME, "add" + std::to_string(s));
                host.SetText(IDC_POS_X, std::to_string(random() % 900));
                host.SetText(IDC_POS_Y, std::to_string(random() % 900));
                host.SetText(IDC_OFFSET_X, "1");
                host.SetText(IDC_OFFSET_Y, "2");
                host.SetText(IDC_DROP, "1");
                dlg->OnSave();
            } else if (op == 2 && host.list.RowCount() > 0) {   // change a row's name
                host.list.ClickOnly(static_cast<int>(random() % host.list.RowCount()));
                dlg->BeginEdit();
                host.SetText(IDC_NAME, "mod" + std::to_string(s));
                dlg->OnSave();
            } else if (op == 3) {   // undo, sometimes after another program changed a file
                const bool tamper = !done.empty() && random() % 4 == 0;
                std::string name, saved;
                if (tamper) {
                    for (const auto& [n, bytes] : done.back().second)
                        if (bytes != done.back().first.at(n)) name = n;
                    saved = ReadFile(MapFile(name));
                    WriteFile(MapFile(name), saved + "!");
                }
                const Files tampered = Read();
                const bool ok = dlg->OnUndo();
                if (tamper) {
                    EXPECT_FALSE(ok);
                    EXPECT_EQ(Read(), tampered) << "a refused undo wrote";
                    WriteFile(MapFile(name), saved);
                    ++refused;
                    SelectMap(0);
                    continue;
                }
                EXPECT_EQ(ok, !done.empty());
                if (ok) {
                    EXPECT_EQ(Read(), done.back().first) << "undo did not give back the earlier bytes";
                    undone.push_back(done.back());
                    done.pop_back();
                    ++undos;
                }
                continue;
            } else if (op == 4) {
                const bool ok = dlg->OnRedo();
                EXPECT_EQ(ok, !undone.empty());
                if (ok) {
                    EXPECT_EQ(Read(), undone.back().second);
                    done.push_back(undone.back());
                    undone.pop_back();
                    ++redos;
                }
                continue;
            } else {
                SelectMap(0);
                continue;
            }
            dlg->OnCancelEdit();
            const Files after = Read();
            if (after != before) {
                ++writes;
                done.emplace_back(before, after);
                undone.clear();
            }
        }
        // The journal replays from the first images to the files as they are now.
        Files replayed = first;
        for (const JournalEntry& e : dlg->History().ReadAll()) {
            const std::string name = e.file.substr(e.file.rfind('/') + 1);
            ASSERT_TRUE(ReplayEntry(e, replayed[name])) << "entry " << e.id;
        }
        EXPECT_EQ(replayed, Read());
    }
    EXPECT_GT(writes, kSequences * 5);
    EXPECT_GT(undos, 0);
    EXPECT_GT(redos, 0);
    EXPECT_GT(refused, 0);
    RecordProperty("sequences", kSequences);
    RecordProperty("steps", steps);
    std::printf("[ figures  ] %d sequences, %d steps, %zu files each, %d writes, %d undos, %d redos, %d refused undos\n",
                kSequences, steps, names.size(), writes, undos, redos, refused);
}

}  // namespace
}  // namespace morvi::test
