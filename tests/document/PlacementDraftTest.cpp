// Drafts: a field not set keeps the record's stored bytes, a field set is stored exactly as
// given, and refusals name their field before anything is read or written.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "TreeGenerator.h"
#include "document/PlacementDraft.h"

namespace morvi::test {
namespace {

using tools::MakeRecord;

// A record whose every byte says something: reserved bytes, a name tail, codes beyond the
// tables, a script path.
PlacementRecord StoredRecord() {
    PlacementRecord r = MakeRecord(7, "Stored", 120, 5, 60, 6, 9, 8, 7, 0, "\\script\\npc\\stored_one.lua");
    r.block.reservedA[0] = 0xA1;
    r.block.reservedC[4] = 0xC5;
    r.block.name[30] = 0x33;   // after the terminator
    r.block.reservedF = 0xF6;
    return r;
}

std::string Bytes(const PlacementRecord& r) {
    std::string out;
    AppendPlacementBytes(out, r.block, r.script);
    return out;
}

RandomSource Sequence(std::vector<int> values) {
    auto next = std::make_shared<size_t>(0);
    return [values, next] { return values[(*next)++ % values.size()]; };
}

PlacementRecord Applied(const PlacementRecord& base, const PlacementDraft& draft,
                        const RandomSource& random = Sequence({0})) {
    const Expected<CheckedDraft, DocumentError> checked = CheckDraft(draft, random);
    EXPECT_TRUE(checked.has_value());
    PlacementRecord r = base;
    if (checked) ApplyDraft(r, *checked);
    return r;
}

TEST(PlacementDraft, AnEmptyDraftKeepsEveryStoredByte) {
    const PlacementRecord stored = StoredRecord();
    EXPECT_EQ(Bytes(Applied(stored, PlacementDraft{})), Bytes(stored));
}

TEST(PlacementDraft, SetFieldsAreStoredExactlyAndTheOthersKeepTheirBytes) {
    const PlacementRecord stored = StoredRecord();
    struct Case {
        const char* what;
        std::function<void(PlacementDraft&)> set;
        std::function<void(PlacementRecord&)> expect;   // applied to the stored record
    };
    const Case cases[] = {
        {"type set to Enemy's code over a code beyond the table", [](PlacementDraft& d) { d.type = 0; },
         [](PlacementRecord& r) { r.block.npcType = 0; }},
        {"series set to 0 over 7", [](PlacementDraft& d) { d.series = 0; },
         [](PlacementRecord& r) { r.block.npcSeries = 0; }},
        {"group set to a code without a name", [](PlacementDraft& d) { d.group = 200; },
         [](PlacementRecord& r) { r.block.npcGroup = 200; }},
        {"coordinates: low 16 bits, Y doubled", [](PlacementDraft& d) { d.posX = 65536 + 12, d.posY = 499; },
         [](PlacementRecord& r) { r.block.SetPosX(12), r.block.SetPosYDoubled(998); }},
        {"template: low 16 bits", [](PlacementDraft& d) { d.templateIndex = 70000; },
         [](PlacementRecord& r) { r.block.SetTemplateIndex(70000 - 65536); }},
        {"name: the tail after the terminator stays", [](PlacementDraft& d) { d.name = "New"; },
         [](PlacementRecord& r) { r.block.SetName("New"); }},
        {"offsets as values", [](PlacementDraft& d) { d.offsetX = OffsetChoice::Of(255), d.offsetY = OffsetChoice::Of(0); },
         [](PlacementRecord& r) { r.block.offsetX = 255, r.block.offsetY = 0; }},
        {"a drop count on a script record: the script stays", [](PlacementDraft& d) { d.drop = DropChoice::Of(3); },
         [](PlacementRecord&) {}},
        {"a short script removes the path; the drop count given is stored",
         [](PlacementDraft& d) { d.script = "", d.drop = DropChoice::Of(4); },
         [](PlacementRecord& r) { r.block.dropCountOrScriptLength = 4, r.script.clear(); }},
        {"the script removed without a count: the type's default (type 9: 0)", [](PlacementDraft& d) { d.script = "\\a.lua"; },
         [](PlacementRecord& r) { r.block.dropCountOrScriptLength = 0, r.script.clear(); }},
        {"a path given with '/' and blanks, without its leading '\\'",
         [](PlacementDraft& d) { d.script = "  script/npc/a_longer_path_name.lua "; },
         [](PlacementRecord& r) {
             r.script = "\\script\\npc\\a_longer_path_name.lua";
             r.block.dropCountOrScriptLength = static_cast<uint8_t>(r.script.size());
         }},
        {"stored script bytes are taken as they are", [](PlacementDraft& d) { d.storedScript = "/kept/as/it/is/by/the/byte.lua"; },
         [](PlacementRecord& r) {
             r.script = "/kept/as/it/is/by/the/byte.lua";
             r.block.dropCountOrScriptLength = static_cast<uint8_t>(r.script.size());
             r.block.variable = '/';
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlacementDraft draft;
        c.set(draft);
        PlacementRecord want = stored;
        c.expect(want);
        EXPECT_EQ(Bytes(Applied(stored, draft)), Bytes(want));
    }
}

TEST(PlacementDraft, DropCountsOfRecordsWithoutScript) {
    const PlacementRecord plain = MakeRecord(7, "Plain", 1, 1, 1, 1, 0, 0, 0, 9);
    struct Case {
        DropChoice drop;
        int type;   // -1: not set
        int stored;
    } cases[] = {
        {{}, -1, 9},                     // not set: kept
        {DropChoice::Of(24), -1, 24},
        {DropChoice::ForType(), -1, 1},  // type 0: 1
        {DropChoice::ForType(), 3, 0},   // any other type: 0, by the type it ends with
    };
    for (const Case& c : cases) {
        PlacementDraft draft;
        draft.drop = c.drop;
        if (c.type >= 0) draft.type = c.type;
        EXPECT_EQ(Applied(plain, draft).block.dropCountOrScriptLength, c.stored) << c.stored;
    }
}

TEST(PlacementDraft, RandomOffsetsAreDrawnXFirstModulo255) {
    PlacementDraft draft;
    draft.offsetX = OffsetChoice::Drawn();
    draft.offsetY = OffsetChoice::Drawn();
    const PlacementRecord r = Applied(PlacementRecord{}, draft, Sequence({255 + 17, 254}));
    EXPECT_EQ(r.block.offsetX, 17);
    EXPECT_EQ(r.block.offsetY, 254);
    // Only what is asked for is drawn.
    int draws = 0;
    PlacementDraft one;
    one.offsetY = OffsetChoice::Drawn();
    Applied(PlacementRecord{}, one, [&] { return ++draws; });
    EXPECT_EQ(draws, 1);
}

TEST(PlacementDraft, RefusalsNameTheirField) {
    struct Case {
        const char* what;
        std::function<void(PlacementDraft&)> set;
        DocumentErrorCode code;
        PlacementField field;
    };
    const Case cases[] = {
        {"x offset 256", [](PlacementDraft& d) { d.offsetX = OffsetChoice::Of(256); },
         DocumentErrorCode::OffsetOutOfRange, PlacementField::OffsetX},
        {"y offset -1", [](PlacementDraft& d) { d.offsetY = OffsetChoice::Of(-1); },
         DocumentErrorCode::OffsetOutOfRange, PlacementField::OffsetY},
        {"drop 25", [](PlacementDraft& d) { d.drop = DropChoice::Of(25); }, DocumentErrorCode::DropTooHigh,
         PlacementField::Drop},
        {"drop -1", [](PlacementDraft& d) { d.drop = DropChoice::Of(-1); }, DocumentErrorCode::DropNegative,
         PlacementField::Drop},
        {"name of 34 bytes", [](PlacementDraft& d) { d.name = std::string(34, 'n'); },
         DocumentErrorCode::NameTooLong, PlacementField::Name},
        {"name code page 936 cannot store", [](PlacementDraft& d) { d.name = "\xF0\x9F\x98\x80"; },
         DocumentErrorCode::NameNotEncodable, PlacementField::Name},
        {"script of 256 bytes", [](PlacementDraft& d) { d.script = "\\" + std::string(255, 's'); },
         DocumentErrorCode::ScriptTooLong, PlacementField::Script},
        {"script code page 936 cannot store", [](PlacementDraft& d) { d.script = "\\\xF0\x9F\x98\x80"; },
         DocumentErrorCode::ScriptNotEncodable, PlacementField::Script},
        {"type 256", [](PlacementDraft& d) { d.type = 256; }, DocumentErrorCode::CodeOutOfRange, PlacementField::Type},
        {"series -1", [](PlacementDraft& d) { d.series = -1; }, DocumentErrorCode::CodeOutOfRange,
         PlacementField::Series},
        {"offsets are checked before the drop count",
         [](PlacementDraft& d) { d.drop = DropChoice::Of(99), d.offsetX = OffsetChoice::Of(300); },
         DocumentErrorCode::OffsetOutOfRange, PlacementField::OffsetX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlacementDraft draft;
        c.set(draft);
        const Expected<CheckedDraft, DocumentError> checked = CheckDraft(draft, Sequence({0}));
        ASSERT_FALSE(checked.has_value());
        EXPECT_EQ(checked.error().code, c.code);
        EXPECT_EQ(checked.error().field, c.field);
    }
}

}  // namespace
}  // namespace morvi::test
