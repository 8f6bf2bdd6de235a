// The record layout and the stream reading rules for damaged or unusual files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "TestFiles.h"
#include "TreeGenerator.h"
#include "data/region/NpcPlacement.h"

namespace morvi {
namespace {

using tools::MakeRecord;
using tools::MakeRegionImage;

TEST(NpcPlacement, FieldsAreLittleEndianAtTheirOffsets) {
    NpcPlacement p{};
    p.SetTemplateIndex(0x1234);
    p.SetPosX(999);
    p.SetPosYDoubled(998);
    p.offsetX = 7;
    p.offsetY = 255;
    const uint8_t* b = p.Bytes();
    EXPECT_EQ(b[0], 0x34);
    EXPECT_EQ(b[1], 0x12);
    EXPECT_EQ(b[4], 7);
    EXPECT_EQ(b[5] | (b[6] << 8), 999);
    EXPECT_EQ(b[8], 255);
    EXPECT_EQ(b[9] | (b[10] << 8), 998);
    EXPECT_EQ(p.PosY(), 499);
    // Bytes 4..7 read as one number give posX * 256 + offsetX when reservedB is 0.
    uint32_t word = b[4] | (b[5] << 8) | (b[6] << 16) | (uint32_t(b[7]) << 24);
    EXPECT_EQ(word, 999u * 256 + 7);
}

TEST(NpcPlacement, LengthFollowsByte58) {
    struct Case { int byte58; size_t length; bool script; };
    for (Case c : {Case{0, 61, false}, Case{24, 61, false}, Case{25, 85, true}, Case{255, 315, true}}) {
        NpcPlacement p{};
        p.dropCountOrScriptLength = static_cast<uint8_t>(c.byte58);
        EXPECT_EQ(PlacementLength(p), c.length) << c.byte58;
        EXPECT_EQ(p.HasScript(), c.script) << c.byte58;
    }
}

TEST(NpcPlacement, NameStopsAtTerminatorOrFieldEnd) {
    NpcPlacement p{};
    p.SetName(std::string(33, 'a'));
    EXPECT_EQ(p.Name().size(), 33u);
    EXPECT_EQ(p.name[33], 0);
    std::memset(p.name, 'b', sizeof p.name);   // damaged: no terminator inside the field
    EXPECT_EQ(p.Name().size(), 34u);
}

TEST(NpcPlacement, KeyMatchesHalvedY) {
    PlacementRecord r = MakeRecord(3, "A", 10, 1, 20, 2, 0, 0, 0, 0);
    r.block.SetPosYDoubled(41);   // odd stored value still shows Y 20
    EXPECT_TRUE((PlacementKey{3, 10, 20, 1, 2}.Matches(r.block)));
    EXPECT_FALSE((PlacementKey{3, 10, 20, 2, 1}.Matches(r.block)));
    EXPECT_FALSE((PlacementKey{4, 10, 20, 1, 2}.Matches(r.block)));
}

class StreamReading : public ::testing::Test {
protected:
    std::FILE* Open(const std::string& bytes) {
        test::WriteFile(dir / "r_S.DAT", bytes);
        file = std::fopen((dir / "r_S.DAT").c_str(), "rb");
        return file;
    }
    void TearDown() override {
        if (file) std::fclose(file);
    }
    test::TempDir dir;
    std::FILE* file = nullptr;
};

TEST_F(StreamReading, ScriptRecordFollowedByPlainRecord) {
    std::string script = "\\script\\npc\\guard_of_the_gate.lua";   // 33 bytes
    auto a = MakeRecord(1, "A", 1, 2, 3, 4, 0, 0, 0, 0, script);
    auto b = MakeRecord(2, "B", 5, 6, 7, 8, 3, 1, 2, 9);
    std::FILE* f = Open(MakeRegionImage(1, {a, b}));
    SectionHeader header{};
    ASSERT_EQ(ReadNpcSectionHeader(f, &header), 2);
    PlacementRecord ra = ReadPlacement(f);
    EXPECT_EQ(ra.script, script);
    EXPECT_EQ(std::ftell(f), 2112 + 60 + 33);
    PlacementRecord rb = ReadPlacement(f);
    EXPECT_EQ(std::memcmp(rb.block.Bytes(), b.block.Bytes(), kPlacementBlockSize), 0);
    EXPECT_TRUE(rb.script.empty());
}

TEST_F(StreamReading, ShortFilesReadAsZeros) {
    std::FILE* f = Open(std::string(2100, 'x'));
    EXPECT_EQ(ReadNpcSectionHeader(f), 0);
    std::fclose(f);
    file = nullptr;

    // Count promises three records but the file holds one cut-off script record.
    auto a = MakeRecord(1, "A", 1, 2, 3, 4, 0, 0, 0, 0, std::string(40, 'p'));
    std::string image = MakeRegionImage(1, {a});
    image[2100] = 3;
    image.resize(image.size() - 10);
    f = Open(image);
    ASSERT_EQ(ReadNpcSectionHeader(f), 3);
    PlacementRecord r = ReadPlacement(f);
    ASSERT_EQ(r.script.size(), 40u);
    EXPECT_EQ(r.script.substr(0, 30), std::string(30, 'p'));
    EXPECT_EQ(r.script.substr(30), std::string(10, '\0'));
    for (int i = 0; i < 2; ++i) {
        PlacementRecord absent = ReadPlacement(f);
        EXPECT_EQ(absent.block.TemplateIndex(), 0);
        EXPECT_EQ(absent.block.Name(), "");
    }
}

TEST(PlacementImage, ParseMatchesStreamRules) {
    auto a = MakeRecord(1, "A", 1, 2, 3, 4, 0, 0, 0, 0, std::string(255, 's'));
    std::string image = MakeRegionImage(5, {a});
    PlacementRecord r;
    size_t next = ParsePlacementAt(image, kFirstRecordOffset, &r);
    EXPECT_EQ(next, image.size());
    EXPECT_EQ(next - kFirstRecordOffset, 315u);
    EXPECT_EQ(r.script, std::string(255, 's'));
    // Beyond the end: a zero record of 61 bytes.
    next = ParsePlacementAt(image, image.size() + 3, &r);
    EXPECT_EQ(next, image.size() + 3 + 61);
    EXPECT_EQ(r.block.TemplateIndex(), 0);
}

}  // namespace
}  // namespace morvi
