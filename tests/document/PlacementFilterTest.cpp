// The filter language over a small store: every field, ranges, names and codes of the code
// tables, script presence, bare text, case-insensitive code page 936 names, and malformed terms.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TreeGenerator.h"
#include "data/text/GbkCodec.h"
#include "document/PlacementFilter.h"
#include "document/PlacementRows.h"

namespace morvi {
namespace {

std::string Gbk(const std::string& utf8) { return Utf8ToGbk(utf8).value(); }

struct Row {
    const char* tag;       // what the tests call the row
    const char* file;
    std::string name;      // code page 936
    int templateIndex, x, ox, y, oy, type, group, series, drop;
    std::string script;    // stored form
};

// The rows, top row first.
std::vector<Row> Rows() {
    return {
        {"guard", "/srv/maps/city/r1_S.DAT", "Guard", 12, 100, 3, 40, 5, 0, 5, 1, 3, {}},
        {"oldguard", "/srv/maps/city/r1_S.DAT", "OldGuard", 12, 1000, 0, 499, 0, 3, 6, 2, 0, {}},
        {"chinese", "/srv/maps/Field/r2_S.DAT", Gbk("守卫甲"), 7, 250, 255, 0, 255, 5, 1, 4, 0,
         "\\script\\npc\\shouwei_talk_long.lua"},
        {"fullwidth", "/srv/maps/field/r2_S.DAT", Gbk("ＢＯＳＳ王"), 40, 999, 7, 250, 9, 4, 2, 0, 24, {}},
        {"unnamed-codes", "/srv/maps/cave/r3_S.DAT", "Bat", 13, 5, 1, 1, 1, 9, 8, 7, 0,
         "\\script\\cave\\Bat_Spawn_Control.lua"},
        {"greek", "/srv/maps/cave/r3_S.DAT", Gbk("ΑΒΓ"), 2, 6, 2, 2, 2, 1, 3, 1, 10, {}},
    };
}

PlacementRowStore Store() {
    PlacementRowStore store;
    const std::vector<Row> rows = Rows();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        store.InsertTop(it->file, tools::MakeRecord(it->templateIndex, it->name, it->x, it->ox, it->y, it->oy,
                                                    it->type, it->group, it->series, it->drop, it->script));
    return store;
}

// The tags of the rows the filter keeps, top row first.
std::string Kept(const PlacementFilter& filter, const PlacementRowStore& store) {
    const std::vector<Row> rows = Rows();
    std::string kept;
    for (int row = 0; row < store.Count(); ++row)
        if (filter.Matches(store, row)) kept += (kept.empty() ? "" : " ") + std::string(rows[static_cast<size_t>(row)].tag);
    return kept;
}

TEST(PlacementFilterTest, EachFieldRangeNameCodeAndBareText) {
    struct Case { const char* filter; const char* kept; };
    const Case cases[] = {
        {"", "guard oldguard chinese fullwidth unnamed-codes greek"},
        {"   ", "guard oldguard chinese fullwidth unnamed-codes greek"},
        // numbers: N and A-B, inclusive, as the list shows them (y halved)
        {"x:100", "guard"},
        {"x:999-1000", "oldguard fullwidth"},
        {"x:0-6", "unnamed-codes greek"},
        {"y:499", "oldguard"},
        {"y:0-2", "chinese unnamed-codes greek"},
        {"ox:255", "chinese"},
        {"oy:0", "oldguard"},
        {"oy:5-9", "guard fullwidth"},
        {"template:12", "guard oldguard"},
        {"template:13-40", "fullwidth unnamed-codes"},
        // a script record has no drop count
        {"drop:0", "oldguard"},
        {"drop:24", "fullwidth"},
        {"drop:0-30", "guard oldguard fullwidth greek"},
        // the shown text (any case) or the code; a code past the table shows entry 0's text
        {"type:Enemy", "guard unnamed-codes"},
        {"type:enemy", "guard unnamed-codes"},
        {"type:0", "guard"},
        {"type:9", "unnamed-codes"},
        {"type:TalkNPC", "oldguard"},
        {"type:npc(ground)", "chinese"},
        {"type:3-5", "oldguard chinese fullwidth"},
        {"type:", "greek"},
        {"group:Enemy", "guard"},
        {"group:Song", "chinese"},
        {"group:0", ""},
        {"group:8", "unnamed-codes"},
        {"group:friend", "oldguard"},
        {"series:4", "chinese"},
        {"series:0", "fullwidth unnamed-codes"},
        // script presence and text (separators either way, any case)
        {"script:", "guard oldguard fullwidth greek"},
        {"script:*", "chinese unnamed-codes"},
        {"script:bat_spawn", "unnamed-codes"},
        {"script:/script/npc/", "chinese"},
        {"script:\\SCRIPT\\CAVE", "unnamed-codes"},
        {"script:守卫", ""},
        // names: substring, any case, code page 936 compared as text
        {"name:guard", "guard oldguard"},
        {"name:GUARD", "guard oldguard"},
        {"name:守卫", "chinese"},
        {"name:卫甲", "chinese"},
        {"name:boss", ""},
        {"name:ｂｏｓｓ王", "fullwidth"},
        {"name:αβγ", "greek"},
        {"name:", ""},
        {"file:field", "chinese fullwidth"},
        {"file:/city/", "guard oldguard"},
        {"file:\\cave\\R3", "unnamed-codes greek"},
        // bare text: name, script or file
        {"bat", "unnamed-codes"},
        {"talk", "chinese"},
        {"city", "guard oldguard"},
        {"守卫", "chinese"},
        // every term must match
        {"name:guard x:100-2000 type:TalkNPC", "oldguard"},
        {"file:cave script:*", "unnamed-codes"},
        {"file:cave script:", "greek"},
        {"NAME:guard X:100", "guard"},
        // a colon after something that is no field name is text
        {"\\cave\\r3:x", ""},
        {"r3_S.DAT", "unnamed-codes greek"},
    };
    const PlacementRowStore store = Store();
    for (const Case& c : cases) {
        const Expected<PlacementFilter, FilterError> filter = PlacementFilter::Parse(c.filter);
        ASSERT_TRUE(filter) << c.filter;
        EXPECT_EQ(Kept(*filter, store), c.kept) << c.filter;
        EXPECT_EQ(filter->Empty(), std::string(c.filter).find_first_not_of(' ') == std::string::npos) << c.filter;
        // A record read from its file answers as its row does.
        for (int row = 0; row < store.Count(); ++row)
            EXPECT_EQ(filter->Matches(store.Record(row), store.File(row)), filter->Matches(store, row))
                << c.filter << " row " << row;
    }
}

TEST(PlacementFilterTest, MalformedTermsAreErrorsNamingTheTerm) {
    struct Case { const char* filter; FilterErrorCode code; const char* term; };
    const Case cases[] = {
        {"colour:red", FilterErrorCode::UnknownField, "colour:red"},
        {"name:guard xx:1", FilterErrorCode::UnknownField, "xx:1"},
        {"x:abc", FilterErrorCode::BadNumber, "x:abc"},
        {"x:", FilterErrorCode::BadNumber, "x:"},
        {"y:5-", FilterErrorCode::BadNumber, "y:5-"},
        {"ox:-5", FilterErrorCode::BadNumber, "ox:-5"},
        {"oy:1-2-3", FilterErrorCode::BadNumber, "oy:1-2-3"},
        {"drop:1.5", FilterErrorCode::BadNumber, "drop:1.5"},
        {"template:99999999999999", FilterErrorCode::BadNumber, "template:99999999999999"},
        {"x:9-3", FilterErrorCode::BadRange, "x:9-3"},
        {"type:5-1", FilterErrorCode::BadRange, "type:5-1"},
        {"type:Boss", FilterErrorCode::UnknownName, "type:Boss"},
        {"group:256", FilterErrorCode::UnknownName, "group:256"},
        {"series:fire", FilterErrorCode::UnknownName, "series:fire"},
        {"group:not", FilterErrorCode::UnknownName, "group:not"},
        {"c:\\x", FilterErrorCode::UnknownField, "c:\\x"},
    };
    for (const Case& c : cases) {
        const Expected<PlacementFilter, FilterError> filter = PlacementFilter::Parse(c.filter);
        ASSERT_FALSE(filter) << c.filter;
        EXPECT_EQ(filter.error().code, c.code) << c.filter;
        EXPECT_EQ(filter.error().term, c.term) << c.filter;
    }
}

TEST(PlacementFilterTest, FileAnswersAreNotCarriedFromOneStoreToAnother) {
    const Expected<PlacementFilter, FilterError> filter = PlacementFilter::Parse("file:alpha");
    ASSERT_TRUE(filter);
    PlacementRowStore first, second;
    first.InsertTop("/m/alpha_S.DAT", tools::MakeRecord(1, "a", 1, 0, 1, 0, 0, 0, 0, 0));
    second.InsertTop("/m/beta_S.DAT", tools::MakeRecord(1, "a", 1, 0, 1, 0, 0, 0, 0, 0));
    EXPECT_TRUE(filter->Matches(first, 0));
    EXPECT_FALSE(filter->Matches(second, 0)) << "file id 1 of another store is another file";
    const PlacementFilter copy = *filter;
    EXPECT_FALSE(copy.Matches(second, 0));
    EXPECT_TRUE(copy.Matches(first, 0));
}

}  // namespace
}  // namespace morvi
