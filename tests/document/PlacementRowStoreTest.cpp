// The placement list's row store on its own: rows inserted at the top, removed and changed,
// per-cell overrides that follow their row, interned region files, and script bytes that stay
// right however often rows are replaced.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TreeGenerator.h"
#include "document/PlacementRowFormatter.h"
#include "document/PlacementRows.h"

namespace morvi {
namespace {

// A script path long enough to be stored as one (more than 24 bytes), distinct per tag.
std::string ScriptFor(int tag, size_t extra = 8) {
    std::string script = "\\script\\npc\\guard_" + std::to_string(tag) + "_";
    script.append(extra, 'x');
    return script + ".lua";
}

PlacementRecord Record(int x, const std::string& script = {}) {
    return tools::MakeRecord(3, "guard", x, 1, 40, 2, 1, 1, 0, 7, script);
}

// X of every row, top row first.
std::vector<int> Xs(const PlacementRowStore& rows) {
    std::vector<int> xs;
    for (int row = 0; row < rows.Count(); ++row) xs.push_back(rows.Block(row).PosX());
    return xs;
}

TEST(PlacementRowStoreTest, InsertedRowsGoOnTopAndKeepTheirFileAndScript) {
    PlacementRowStore rows;
    struct Insert { const char* file; int x; bool script; };
    const Insert inserts[] = {{"/m/a_S.DAT", 10, false}, {"/m/a_S.DAT", 11, true}, {"/m/b_S.DAT", 12, false},
                              {"/m/a_S.DAT", 13, true}};
    std::vector<int> expected;
    for (const Insert& in : inserts) {
        rows.InsertTop(in.file, Record(in.x, in.script ? ScriptFor(in.x) : std::string()));
        expected.insert(expected.begin(), in.x);
        EXPECT_EQ(Xs(rows), expected);
    }
    for (int row = 0; row < rows.Count(); ++row) {
        const Insert& in = inserts[std::size(inserts) - 1 - static_cast<size_t>(row)];
        EXPECT_EQ(rows.File(row), in.file) << row;
        EXPECT_EQ(rows.CellText(row, COL_FILE), in.file) << row;
        EXPECT_EQ(rows.CellText(row, COL_POS_X), std::to_string(in.x)) << row;
        EXPECT_EQ(rows.CellText(row, COL_POS_Y), "40") << "the stored Y is halved";
        EXPECT_EQ(std::string(rows.StoredScript(row)), in.script ? ScriptFor(in.x) : "") << row;
        EXPECT_EQ(rows.CellText(row, COL_SCRIPT), in.script ? ScriptFor(in.x) : "") << row;
        EXPECT_EQ(rows.CellText(row, COL_DROP), in.script ? "" : "7") << row;
        EXPECT_EQ(rows.Record(row).script, std::string(rows.StoredScript(row))) << row;
    }
}

TEST(PlacementRowStoreTest, EraseRemovesExactlyThatRowAndKeepsTheOthersScripts) {
    struct Case { int erase; std::vector<int> left; };
    const Case cases[] = {
        {0, {3, 2, 1, 0}}, {2, {4, 3, 1, 0}}, {4, {4, 3, 2, 1}}, {-1, {4, 3, 2, 1, 0}}, {5, {4, 3, 2, 1, 0}},
    };
    for (const Case& c : cases) {
        PlacementRowStore rows;
        for (int x = 0; x < 5; ++x) rows.InsertTop("/m/a_S.DAT", Record(x, x % 2 ? ScriptFor(x) : std::string()));
        rows.Erase(c.erase);
        EXPECT_EQ(Xs(rows), c.left) << "erase " << c.erase;
        for (int row = 0; row < rows.Count(); ++row) {
            const int x = rows.Block(row).PosX();
            EXPECT_EQ(std::string(rows.StoredScript(row)), x % 2 ? ScriptFor(x) : "") << "erase " << c.erase;
        }
    }
}

TEST(PlacementRowStoreTest, ReplaceChangesTheRecordAndKeepsFileAndOverrides) {
    PlacementRowStore rows;
    rows.InsertTop("/m/b_S.DAT", Record(5));
    rows.InsertTop("/m/a_S.DAT", Record(6, ScriptFor(6)));
    rows.SetOverride(0, COL_SCRIPT, "as typed");

    rows.Replace(0, Record(60).block, {});   // the script record becomes a drop-count record
    EXPECT_EQ(rows.CellText(0, COL_POS_X), "60");
    EXPECT_EQ(rows.CellText(0, COL_DROP), "7");
    EXPECT_EQ(rows.StoredScript(0), "");
    EXPECT_EQ(rows.File(0), "/m/a_S.DAT") << "the file stays";
    EXPECT_EQ(rows.CellText(0, COL_SCRIPT), "as typed") << "the override stays";
    rows.ClearOverrides(0);
    EXPECT_FALSE(rows.HasOverride(0, COL_SCRIPT));
    EXPECT_EQ(rows.CellText(0, COL_SCRIPT), "");
    EXPECT_EQ(Xs(rows), (std::vector<int>{60, 5})) << "the other row is untouched";
}

TEST(PlacementRowStoreTest, AnOverrideFollowsItsRowAsRowsComeAndGo) {
    PlacementRowStore rows;
    for (int x = 0; x < 4; ++x) rows.InsertTop("/m/a_S.DAT", Record(x));   // rows: 3 2 1 0
    rows.SetOverride(1, COL_DROP, "typed");                               // on x = 2
    const auto rowOf = [&](int x) {
        for (int row = 0; row < rows.Count(); ++row)
            if (rows.Block(row).PosX() == x) return row;
        return -1;
    };
    const auto check = [&](const char* step) {
        for (int row = 0; row < rows.Count(); ++row) {
            const bool marked = row == rowOf(2);
            EXPECT_EQ(rows.HasOverride(row, COL_DROP), marked) << step << " row " << row;
            EXPECT_EQ(rows.CellText(row, COL_DROP), marked ? "typed" : "7") << step << " row " << row;
            EXPECT_FALSE(rows.HasOverride(row, COL_NAME)) << "only that cell: " << step;
        }
    };
    check("set");
    rows.InsertTop("/m/a_S.DAT", Record(9));
    check("after an insert on top");
    rows.Erase(rowOf(3));
    check("after erasing a row above");
    rows.Erase(rowOf(0));
    check("after erasing a row below");
    rows.Erase(rowOf(2));
    check("after erasing the row itself");

    // Out of range: nothing is set, nothing is read.
    rows.SetOverride(rows.Count(), COL_DROP, "x");
    rows.SetOverride(0, kPlacementColumnCount, "x");
    rows.SetOverride(-1, COL_DROP, "x");
    check("after calls out of range");
    EXPECT_EQ(rows.CellText(-1, COL_NAME), "");
    EXPECT_EQ(rows.CellText(rows.Count(), COL_NAME), "");
    EXPECT_EQ(rows.StoredScript(rows.Count()), "");
}

TEST(PlacementRowStoreTest, FilesAreInternedOncePerPath) {
    PlacementRowStore rows;
    const uint32_t a = rows.InternFile("/m/a_S.DAT");
    const uint32_t b = rows.InternFile("/m/b_S.DAT");
    EXPECT_NE(a, b);
    EXPECT_NE(a, 0u) << "id 0 is the empty path";
    EXPECT_EQ(rows.InternFile("/m/a_S.DAT"), a) << "asked again after another path";
    EXPECT_EQ(rows.InternFile(std::string("/m/b_S.DAT")), b) << "a different string, the same path";
    EXPECT_EQ(rows.InternFile(""), 0u);

    rows.InsertTop(b, Record(1).block, {});
    rows.InsertTop(a, Record(2).block, {});
    rows.InsertTop(12345, Record(3).block, {});   // an id never handed out
    EXPECT_EQ(rows.FileId(2), b);
    EXPECT_EQ(rows.FileId(1), a);
    EXPECT_EQ(rows.File(0), "") << "an unknown id shows no file";

    rows.Clear();
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_EQ(rows.InternFile("/m/b_S.DAT"), b) << "ids stay for the next load of the map";
}

TEST(PlacementRowStoreTest, ScriptsStayRightThroughManyReplacements) {
    // Replaced scripts leave dead bytes behind until the store compacts them; every row's
    // script must read the same before and after.
    PlacementRowStore rows;
    constexpr int kRows = 300;
    for (int x = 0; x < kRows; ++x) rows.InsertTop("/m/a_S.DAT", Record(x, x % 3 ? ScriptFor(x, 40) : std::string()));
    for (int round = 0; round < 10; ++round)
        for (int row = 0; row < kRows; row += 2) {
            const int x = rows.Block(row).PosX();
            const PlacementRecord fresh = Record(x, ScriptFor(x * 100 + round, 60));
            rows.Replace(row, fresh.block, fresh.script);
        }
    for (int row = 0; row < kRows; ++row) {
        const int x = rows.Block(row).PosX();
        const std::string expected =
            row % 2 == 0 ? ScriptFor(x * 100 + 9, 60) : x % 3 ? ScriptFor(x, 40) : std::string();
        ASSERT_EQ(std::string(rows.StoredScript(row)), expected) << "row " << row;
    }
    EXPECT_EQ(Xs(rows).front(), kRows - 1);

    // A stored script shorter than the length the block gives is held zero-padded.
    PlacementRecord cut = Record(1, ScriptFor(1, 10));
    const std::string stored = cut.script.substr(0, 5);
    rows.InsertTop("/m/a_S.DAT", PlacementRecord{cut.block, stored});
    EXPECT_EQ(rows.StoredScript(0), stored + std::string(cut.script.size() - 5, '\0'));
    EXPECT_EQ(rows.CellText(0, COL_SCRIPT), stored) << "the cell ends at the first zero byte";
}

// A store that fills large pages (as the command line's does) holds the same rows as one in
// chunks of 1024: across the boundaries of both chunk sizes, after erasing and replacing, and
// after a clear and a second load into the chunks it kept.
TEST(PlacementRowStoreTest, LargePageChunksHoldTheSameRows) {
    PlacementRowStore small;
    PlacementRowStore::PreferLargePages(true);
    PlacementRowStore large;
    PlacementRowStore::PreferLargePages(false);
    const int n = 100000;   // 48-byte rows: more than two chunks of 2 MiB
    for (int load = 0; load < 2; ++load) {
        small.Clear();
        large.Clear();
        for (int i = 0; i < n; ++i) {
            const PlacementRecord r = Record((i * 7 + load) % 65536, i % 5 == 0 ? ScriptFor(i) : std::string());
            small.InsertTop("/m/a_S.DAT", r);
            large.InsertTop("/m/a_S.DAT", r);
        }
        for (PlacementRowStore* rows : {&small, &large}) {
            rows->Erase(0);
            rows->Erase(29126);
            rows->Erase(rows->Count() - 1);
            rows->Replace(1023, Record(4242, ScriptFor(4242)).block, ScriptFor(4242));
        }
        ASSERT_EQ(large.Count(), small.Count());
        for (int row = 0; row < large.Count(); ++row) {
            ASSERT_EQ(std::string_view(reinterpret_cast<const char*>(large.Block(row).Bytes()), kPlacementBlockSize),
                      std::string_view(reinterpret_cast<const char*>(small.Block(row).Bytes()), kPlacementBlockSize))
                << "row " << row;
            ASSERT_EQ(large.StoredScript(row), small.StoredScript(row)) << "row " << row;
        }
    }
    // Every chunk is one large page, and the rows need three of them.
    const size_t rowBytes = large.BytesHeld() - (small.BytesHeld() - 98 * 1024 * 48);
    EXPECT_EQ(rowBytes, 3u * (2u << 20));
}

// Every byte of a block comes back, whatever its name field holds: a short name, one filling
// the field without a terminator, bytes left after the terminator (in the part kept in the row
// and in the part kept beside it), each with and without a script, through inserts, replacements
// that change what is kept beside the row, and erasures that make the store compact its bytes.
TEST(PlacementRowStoreTest, EveryBlockByteSurvivesWhateverTheNameFieldHolds) {
    auto blockText = [](const NpcPlacement& p) {
        return std::string(reinterpret_cast<const char*>(p.Bytes()), kPlacementBlockSize);
    };
    std::mt19937 rng(7);
    auto makeRecord = [&](int kind) {
        PlacementRecord r = Record(static_cast<int>(rng() % 1000), kind % 2 ? ScriptFor(static_cast<int>(rng() % 99), rng() % 90) : "");
        uint8_t* name = r.block.name;
        switch (kind / 2) {
        case 0: break;                                                      // "guard" and zeros
        case 1: for (size_t i = 0; i < kNameFieldSize; ++i) name[i] = static_cast<uint8_t>(0xB0 + i); break;
        case 2: name[kNameFieldSize - 1] = 0x7F; break;                     // a byte at the field's end
        case 3: name[12] = 0xC1; name[13] = 0xC2; break;                    // across the row's part
        case 4: for (uint8_t* b = r.block.Bytes(); b != r.block.Bytes() + kPlacementBlockSize; ++b)
                    if (b != &r.block.dropCountOrScriptLength) *b = static_cast<uint8_t>(rng());
                break;                                                      // every other byte random
        }
        return r;
    };
    PlacementRowStore rows;
    std::vector<PlacementRecord> expected;   // top row first
    auto check = [&](const char* when) {
        ASSERT_EQ(rows.Count(), static_cast<int>(expected.size())) << when;
        for (int row = 0; row < rows.Count(); ++row) {
            const PlacementRecord& want = expected[static_cast<size_t>(row)];
            ASSERT_EQ(blockText(rows.Block(row)), blockText(want.block)) << when << ", row " << row;
            ASSERT_EQ(std::string(rows.StoredScript(row)), want.script) << when << ", row " << row;
            std::string name;
            PlacementRowFormatter::AppendCell(want.block, want.script, "", COL_NAME, name);
            ASSERT_EQ(rows.CellText(row, COL_NAME), name) << when << ", row " << row;
            ASSERT_EQ(rows.File(row), "/m/a_S.DAT") << when << ", row " << row;
        }
    };
    for (int i = 0; i < 3000; ++i) {
        expected.insert(expected.begin(), makeRecord(i % 10));
        rows.InsertTop("/m/a_S.DAT", expected.front());
    }
    check("after the inserts");
    for (int round = 0; round < 4000; ++round) {
        const int row = static_cast<int>(rng() % expected.size());
        if (round % 3 == 0) {
            rows.Erase(row);
            expected.erase(expected.begin() + row);
        } else {
            const PlacementRecord r = makeRecord(static_cast<int>(rng() % 10));
            rows.Replace(row, r.block, r.script);
            expected[static_cast<size_t>(row)] = r;
        }
    }
    check("after replacing and erasing");
}

}  // namespace
}  // namespace morvi
