// Removing and rewriting many records in one walk gives the image that one Remove or Modify
// after another gives: duplicate keys take the records of that key in file order, absent keys
// change nothing, records past the count are still found by a removal, and the count follows.
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TreeGenerator.h"
#include "data/region/RegionImageEdit.h"

namespace morvi {
namespace {

using tools::MakeRecord;

PlacementKey KeyOf(const PlacementRecord& r) {
    return {r.block.TemplateIndex(), r.block.PosX(), r.block.PosY(), r.block.offsetX, r.block.offsetY};
}

// Records of a few keys only, so that keys repeat; about one in three has a script.
std::vector<PlacementRecord> RandomRecords(std::mt19937& random, int count) {
    std::vector<PlacementRecord> records;
    for (int i = 0; i < count; ++i) {
        const int key = static_cast<int>(random() % 6);
        std::string script;
        if (random() % 3 == 0) script = "\\script\\r" + std::to_string(i) + std::string(25 + random() % 40, 'q');
        records.push_back(MakeRecord(key + 1, "n" + std::to_string(i), key * 10, key, key * 3, 1, 0, 0, 0,
                                     static_cast<int>(random() % 25), script));
    }
    return records;
}

std::vector<PlacementKey> RandomKeys(std::mt19937& random, int count) {
    std::vector<PlacementKey> keys;
    for (int i = 0; i < count; ++i) {
        const int key = static_cast<int>(random() % 7);   // key 6 names no record
        keys.push_back({key + 1, key * 10, key * 3, key, 1});
    }
    return keys;
}

TEST(RegionImageManyEditsTest, RemoveManyEqualsOneRemoveAfterAnother) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const std::vector<PlacementRecord> records = RandomRecords(random, static_cast<int>(random() % 12));
        std::string image = tools::MakeRegionImage(round, records);
        if (round % 5 == 0 && !records.empty()) {
            // Records past the count: a removal walks to the end of the file.
            image[kNpcSectionOffset] = static_cast<char>(records.size() / 2);
            image[kNpcSectionOffset + 1] = 0;
        }
        const std::vector<PlacementKey> keys = RandomKeys(random, static_cast<int>(random() % 8));

        RegionImageEdit one(image), many(image);
        std::vector<RegionEditResult> expected;
        for (const PlacementKey& key : keys) expected.push_back(one.Remove(key));
        const std::vector<RegionEditResult> got = many.RemoveMany(keys);

        ASSERT_EQ(many.Image(), one.Image()) << "round " << round;
        EXPECT_EQ(many.Changed(), one.Changed()) << "round " << round;
        ASSERT_EQ(got.size(), expected.size());
        for (size_t k = 0; k < got.size(); ++k) {
            EXPECT_EQ(got[k].status, expected[k].status) << "round " << round << " entry " << k;
            std::string a, b;
            AppendPlacementBytes(a, got[k].record.block, got[k].record.script);
            AppendPlacementBytes(b, expected[k].record.block, expected[k].record.script);
            EXPECT_EQ(a, b) << "round " << round << " entry " << k;
        }
    }
}

TEST(RegionImageManyEditsTest, ModifyManyEqualsOneModifyAfterAnotherForDistinctKeys) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::vector<PlacementRecord> records;
        const int count = static_cast<int>(random() % 10);
        for (int i = 0; i < count; ++i) {
            std::string script;
            if (random() % 3 == 0) script = "\\s\\" + std::string(25 + random() % 60, 'a' + static_cast<char>(i));
            records.push_back(MakeRecord(i + 1, "r", i, 0, i, 0, 0, 0, 0, 1, script));
        }
        const std::string image = tools::MakeRegionImage(round, records);
        // Each record asked for at most once, some not at all; a script grows, shrinks or goes.
        std::vector<PlacementKey> keys;
        std::vector<std::string> scripts;
        for (int i = 0; i < count + 1; ++i) {
            if (random() % 3 == 0) continue;
            keys.push_back({i + 1, i, i, 0, 0});
            const int kind = static_cast<int>(random() % 3);
            scripts.push_back(kind == 0 ? std::string() : "\\t\\" + std::string(kind == 1 ? 30 : 200, 'z'));
        }
        auto rebuilt = [&](const PlacementRecord& old, const std::string& script) {
            PlacementRecord fresh = old;
            fresh.block.npcType = 4;
            fresh.script = script;
            fresh.block.dropCountOrScriptLength = static_cast<uint8_t>(script.empty() ? 2 : script.size());
            fresh.block.variable = script.empty() ? 0 : static_cast<uint8_t>(script[0]);
            return fresh;
        };
        RegionImageEdit one(image), many(image);
        std::vector<RegionEditStatus> expected;
        for (size_t k = 0; k < keys.size(); ++k)
            expected.push_back(one.Modify(keys[k], [&](const PlacementRecord& old) { return rebuilt(old, scripts[k]); }).status);
        const std::vector<RegionEditResult> got = many.ModifyMany(
            keys, [&](size_t k, const PlacementRecord& old) { return std::optional(rebuilt(old, scripts[k])); });
        ASSERT_EQ(many.Image(), one.Image()) << "round " << round;
        for (size_t k = 0; k < keys.size(); ++k) EXPECT_EQ(got[k].status, expected[k]) << "round " << round;
    }
}

TEST(RegionImageManyEditsTest, ModifyManyGivesEachEntryOfAKeyItsOwnRecordAndKeepsDeclinedOnes) {
    const PlacementRecord first = MakeRecord(5, "first", 10, 1, 20, 2, 0, 0, 0, 3);
    const PlacementRecord second = MakeRecord(5, "second", 10, 1, 20, 2, 0, 0, 0, 4);
    const PlacementRecord other = MakeRecord(6, "other", 11, 1, 20, 2, 0, 0, 0, 4);
    RegionImageEdit edit(tools::MakeRegionImage(3, {first, other, second}));
    const std::vector<RegionEditResult> results =
        edit.ModifyMany({KeyOf(first), KeyOf(other), KeyOf(first)},
                        [](size_t k, const PlacementRecord& old) -> std::optional<PlacementRecord> {
                            if (k == 1) return std::nullopt;
                            PlacementRecord fresh = old;
                            fresh.block.npcGroup = static_cast<uint8_t>(10 + k);
                            return fresh;
                        });
    PlacementRecord firstChanged = first, secondChanged = second;
    firstChanged.block.npcGroup = 10;
    secondChanged.block.npcGroup = 12;
    EXPECT_EQ(edit.Image(), tools::MakeRegionImage(3, {firstChanged, other, secondChanged}));
    EXPECT_EQ(results[1].status, RegionEditStatus::Declined);
    EXPECT_EQ(results[2].record.block.Name(), "second");
}

}  // namespace
}  // namespace morvi
