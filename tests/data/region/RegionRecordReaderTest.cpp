// The one record walk and its reporter, batch edits over an image, the append refusal for
// files whose records do not tile them, and the shared listing, file-list and number rules.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "TestFiles.h"
#include "TreeGenerator.h"
#include "data/platform/FileReadAhead.h"
#include "data/text/IntegerText.h"
#include "data/region/ListingRule.h"
#include "data/region/MapRegionFiles.h"
#include "data/text/PrivateProfile.h"
#include "RegionWriters.h"
#include "data/region/RegionFile.h"
#include "data/region/RegionImageEdit.h"
#include "data/region/RegionRecordReader.h"

namespace morvi {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using tools::MakeRecord;
using tools::MakeRegionImage;
using Walk = RegionRecordReader::Walk;

const PlacementRecord kA = MakeRecord(1, "A", 10, 1, 20, 2, 0, 0, 0, 5);
const PlacementRecord kScript = MakeRecord(2, "B", 11, 1, 21, 2, 0, 0, 0, 0, "\\script\\a_long_enough_path.lua");
constexpr size_t kFirst = 2112;

std::string WithCount(std::string image, uint16_t count) {
    image[2100] = static_cast<char>(count & 0xFF);
    image[2101] = static_cast<char>(count >> 8);
    return image;
}

std::vector<RegionRecord> WalkAll(std::string_view image, Walk walk, RegionDefectList& defects) {
    RegionRecordReader reader(&defects);
    reader.Reset(image, walk);
    std::vector<RegionRecord> records;
    RegionRecord r;
    while (reader.Next(r)) records.push_back(r);
    return records;
}

struct DefectCase {
    const char* name;
    std::string image;
    Walk walk;
    size_t records;                        // yielded
    std::vector<RegionDefectKind> kinds;   // reported, in order
    size_t firstOffset;                    // offset of the first defect
};

TEST(RegionRecordReader, ReportsWhatKeepsRecordsFromTilingTheFile) {
    const std::string two = MakeRegionImage(1, {kA, kScript});   // 61 + 90 bytes of records
    const size_t end = two.size();
    const std::vector<DefectCase> cases = {
        {"tiled, by count", two, Walk::ByCount, 2, {}, 0},
        {"tiled, to end", two, Walk::ToEnd, 2, {}, 0},
        {"block cut off", two.substr(0, kFirst + 61 + 30), Walk::ByCount, 2, {RegionDefectKind::CutOffRecord}, kFirst + 61},
        {"length past end", two.substr(0, end - 5), Walk::ByCount, 2, {RegionDefectKind::LengthPastEnd}, kFirst + 61},
        {"bytes after last counted", WithCount(two, 1), Walk::ByCount, 1, {RegionDefectKind::BytesAfterLastRecord}, kFirst + 61},
        {"count above records", WithCount(two, 4), Walk::ByCount, 4, {RegionDefectKind::CountAboveRecords}, end},
        {"count above, to end", WithCount(two, 4), Walk::ToEnd, 2, {RegionDefectKind::CountAboveRecords}, end},
        {"bytes after, to end", WithCount(two, 1), Walk::ToEnd, 2, {RegionDefectKind::BytesAfterLastRecord}, kFirst + 61},
        {"cut off and counted, to end", two.substr(0, end - 5), Walk::ToEnd, 2, {RegionDefectKind::LengthPastEnd}, kFirst + 61},
        {"header cut off", two.substr(0, 2105), Walk::ByCount, 2,
         {RegionDefectKind::HeaderCutOff, RegionDefectKind::CountAboveRecords}, 2100},
        {"short file, count 0", std::string(2000, '\0'), Walk::ByCount, 0, {}, 0},
    };
    for (const DefectCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegionDefectList defects;
        const std::vector<RegionRecord> records = WalkAll(c.image, c.walk, defects);
        EXPECT_EQ(records.size(), c.records);
        std::vector<RegionDefectKind> kinds;
        for (const RegionDefect& d : defects.defects) kinds.push_back(d.kind);
        EXPECT_EQ(kinds, c.kinds);
        if (!defects.defects.empty()) EXPECT_EQ(defects.defects[0].offset, c.firstOffset);
        EXPECT_EQ(RecordsTileImage(c.image), c.kinds.empty());
    }
}

TEST(RegionRecordReader, YieldsOffsetsLengthsAndZeroPaddedCutRecords) {
    const std::string two = MakeRegionImage(1, {kA, kScript});
    RegionDefectList defects;
    std::vector<RegionRecord> r = WalkAll(two, Walk::ByCount, defects);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].offset, kFirst);
    EXPECT_EQ(r[0].length, 61u);
    EXPECT_EQ(r[1].offset, kFirst + 61);
    EXPECT_EQ(r[1].length, 60u + kScript.script.size());
    EXPECT_EQ(r[1].script, kScript.script);

    // The path cut 5 bytes short reads with zeros in their place; the record is incomplete.
    const std::string cut = two.substr(0, two.size() - 5);
    RegionRecordReader reader;
    reader.Reset(cut);
    RegionRecord rec;
    ASSERT_TRUE(reader.Next(rec));
    ASSERT_TRUE(reader.Next(rec));
    EXPECT_FALSE(rec.complete);
    EXPECT_EQ(rec.script.substr(0, rec.script.size() - 5), kScript.script.substr(0, kScript.script.size() - 5));
    EXPECT_EQ(rec.script.substr(rec.script.size() - 5), std::string(5, '\0'));
    EXPECT_FALSE(reader.Next(rec));
}

TEST(RegionImageEdit, BatchSeesEarlierEditsAndWritesOnce) {
    TempDir dir;
    const std::string path = dir / "a_S.DAT";
    const std::string before = MakeRegionImage(2, {kA});
    WriteFile(path, before);
    std::optional<RegionImageEdit> edit = RegionImageEdit::Load(path);
    ASSERT_TRUE(edit);
    EXPECT_TRUE(edit->Append(kScript).ok());
    const PlacementKey scriptKey{2, 11, 21, 1, 2};
    const RegionEditResult modified = edit->Modify(scriptKey, [](const PlacementRecord& old) {
        PlacementRecord fresh = old;
        fresh.block.dropCountOrScriptLength = 3;
        fresh.script.clear();
        fresh.block.variable = 0;
        return fresh;
    });
    EXPECT_TRUE(modified.ok());
    EXPECT_EQ(modified.offset, kFirst + 61);
    EXPECT_EQ(edit->Remove(PlacementKey{1, 10, 20, 1, 2}).status, RegionEditStatus::Done);
    EXPECT_EQ(edit->Remove(PlacementKey{1, 10, 20, 1, 2}).status, RegionEditStatus::NotFound);
    EXPECT_EQ(ReadFile(path), before);   // nothing written before Write
    ASSERT_TRUE(edit->Write(path));
    const std::string after = ReadFile(path);
    EXPECT_EQ(after.size(), kFirst + 61);
    EXPECT_TRUE(RecordsTileImage(after));
    EXPECT_EQ(HeaderPlacementCount(HeaderFromImage(after)), 1);
}

// Appending to a file whose records do not tile it put the new record after the partial bytes,
// where no reader found it; the save reported success. It is refused now, the file untouched.
TEST(RegionImageEdit, AppendRefusesFilesWhoseRecordsDoNotTileThem) {
    const std::string two = MakeRegionImage(3, {kA, kScript});
    struct Case { const char* name; std::string image; };
    const Case refused[] = {
        {"last record cut off", two.substr(0, kFirst + 61 + 30)},
        {"length byte past the end", two.substr(0, two.size() - 1)},
        {"bytes after the last counted record", WithCount(two, 1)},
        {"count above the records present", WithCount(two, 3)},
        {"count 0 with records", WithCount(two, 0)},
        {"short file with a count", WithCount(std::string(2110, '\0'), 1)},
    };
    TempDir dir;
    const std::string path = dir / "a_S.DAT";
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        WriteFile(path, c.image);
        const RegionResult result = AppendPlacementToFile(path, kA);
        EXPECT_EQ(result.outcome, RegionOutcome::NotTiled);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(ReadFile(path), c.image);
    }
    // A file shorter than 2112 bytes with a count of 0 is padded and appended to, as ever.
    for (size_t size : {size_t{0}, size_t{2000}, size_t{2106}, kFirst}) {
        SCOPED_TRACE(size);
        WriteFile(path, std::string(size, '\x07').substr(0, std::min<size_t>(size, 2100)) +
                            std::string(size > 2100 ? size - 2100 : 0, '\0'));
        ASSERT_TRUE(AppendPlacementToFile(path, kA).ok());
        const std::string after = ReadFile(path);
        EXPECT_EQ(after.size(), kFirst + 61);
        EXPECT_TRUE(RecordsTileImage(after));
    }
}

TEST(IntegerText, LeadingAndWholeNumberRules) {
    struct Case { const char* text; int leading; std::optional<long long> whole; int coordinate; };
    const Case cases[] = {
        {"42", 42, 42, 42},           {"-7", -7, -7, -7},         {"+5", 5, 5, 5},
        {"  12abc", 12, {}, 0},       {" 12 ", 12, {}, 12},       {"abc", 0, {}, 0},
        {"", 0, {}, 0},               {"-", 0, {}, 0},            {"1 2", 1, {}, 0},
        {"99999999999", INT_MAX, 99999999999LL, 0},               {"-99999999999", INT_MIN, -99999999999LL, 0},
        {"2147483648", INT_MAX, 2147483648LL, 0},                 {"-2147483648", INT_MIN, -2147483648LL, INT_MIN},
        {"9223372036854775807", INT_MAX, LLONG_MAX, 0},           {"9223372036854775808", INT_MAX, {}, 0},
        {"-9223372036854775808", INT_MIN, LLONG_MIN, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LeadingNumberToInt(c.text), c.leading);
        EXPECT_EQ(ParseWholeNumber(c.text), c.whole);
        EXPECT_EQ(CoordinateTextToInt(c.text), c.coordinate);
    }
}

TEST(ListingRule, PassesAndNamesTheBrokenRules) {
    PlacementRecord r = MakeRecord(3, "N", 999, 0, 499, 0, 0, 0, 0, 0);
    EXPECT_TRUE(PassesListingRules(r.block, 4));
    EXPECT_TRUE(BrokenListingRules(r.block, 4).empty());
    EXPECT_FALSE(PassesListingRules(r.block, 3));
    r.block.SetPosX(1000);
    r.block.SetPosYDoubled(1000);
    r.block.name[0] = 0;
    const std::vector<std::string> expected = {"empty name", "template index 3 not below the template count 3",
                                               "x 1000 not below 1000", "stored y 1000 (y 500) not below 1000"};
    EXPECT_EQ(BrokenListingRules(r.block, 3), expected);
    EXPECT_FALSE(PassesListingRules(r.block, 100));
}

TEST(MapRegionFiles, FullPathsInFinderOrderAndNothingForAnEmptyDirectory) {
    TempDir dir;
    WriteFile(dir / "map/b_S.DAT", "");
    WriteFile(dir / "map/A/x_s.dat", "");
    WriteFile(dir / "map/other.dat", "");
    std::vector<std::string> expected = {dir.path() + "/map/A/x_s.dat", dir.path() + "/map/b_S.DAT"};
#ifdef _WIN32
    for (std::string& path : expected)  // native separators
        for (char& c : path)
            if (c == '/') c = '\\';
#endif
    EXPECT_EQ(ListMapRegionFiles(dir.path() + "//map\\"), expected);
    EXPECT_TRUE(ListMapRegionFiles("").empty());
    EXPECT_TRUE(ListMapRegionFiles(dir / "missing").empty());
}

TEST(FileReadAhead, ReadsEachFileWholeInAnyOrder) {
    TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(dir / ("f" + std::to_string(i)));
        WriteFile(paths.back(), std::string(static_cast<size_t>(i) * 3000, static_cast<char>('a' + i)));
    }
    paths.push_back(dir / "missing");
    paths.push_back(dir.path());   // a directory is no regular file
    FileReadAhead files(paths, 2);
    std::string image;
    for (size_t i : {0u, 1u, 4u, 3u}) {
        ASSERT_TRUE(files.Read(i, image));
        EXPECT_EQ(image, std::string(i * 3000, static_cast<char>('a' + i)));
    }
    EXPECT_FALSE(files.Read(5, image));
    EXPECT_FALSE(files.Read(6, image));
    EXPECT_FALSE(files.Read(99, image));
    EXPECT_TRUE(image.empty());
}

// Files taken in order pass through the reader's slots, which hand buffers back and forth: a
// small file after a large one, an empty one and one larger than any before must each come out
// exactly, with the stamp of the file as read, whichever directory they lie in.
TEST(FileReadAhead, InOrderReadsThroughReusedBuffersAreExact) {
    const size_t sizes[] = {9000, 10, 0, 1, 70000, 3, 2112, 0, 65537, 8800, 5, 131072, 7, 0, 4096, 1, 20000, 2};
    TempDir dir;
    std::vector<std::string> paths;
    std::vector<std::string> contents;
    for (size_t i = 0; i < std::size(sizes); ++i) {
        std::string bytes(sizes[i], '\0');
        for (size_t b = 0; b < bytes.size(); ++b) bytes[b] = static_cast<char>((b * 31 + i * 7) % 251);
        // Files of one directory in a row, then another, then back: each is opened by its name.
        const char* const directories[] = {"a", "a", "b", "a/c", "a"};
        paths.push_back(dir / (std::string(directories[i % 5]) + "/f" + std::to_string(i)));
        WriteFile(paths.back(), bytes);
        contents.push_back(std::move(bytes));
    }
    // Read by a thread of its own or by the caller: the same bytes and stamps.
    for (const FileReadAhead::Reader reader : {FileReadAhead::Reader::Thread, FileReadAhead::Reader::Caller}) {
        for (size_t depth : {size_t{1}, size_t{16}}) {
            const bool byCaller = reader == FileReadAhead::Reader::Caller;
            FileReadAhead files(paths, depth, reader);
            std::string image = "left over from before";
            for (size_t i = 0; i < paths.size(); ++i) {
                FileStamp stamp;
                ASSERT_TRUE(files.Read(i, image, &stamp)) << i;
                EXPECT_EQ(image, contents[i]) << "file " << i << ", depth " << depth << ", by caller " << byCaller;
                EXPECT_EQ(stamp, StampOfFile(paths[i])) << i;
            }
        }
    }
}

// The string read used to return the default with its trailing blanks and to run a value on
// past a NUL byte; the Windows function does neither.
TEST(PrivateProfileRead, DefaultLosesTrailingBlanksAndValueEndsAtNul) {
    TempDir dir;
    const std::string path = dir / "a.ini";
    WriteFile(path, std::string("[S]\r\nK=ab\0cd\r\nQ=\" x\0y\"\r\n", 25));
    EXPECT_EQ(GetProfileString("S", "K", "", 255, path), "ab");
    EXPECT_EQ(GetProfileString("S", "Q", "", 255, path), "\" x");
    EXPECT_EQ(GetProfileString("S", "Missing", "false \t ", 255, path), "false");
    EXPECT_EQ(GetProfileString("S", "Missing", "  a b  ", 255, path), "  a b");
    EXPECT_EQ(GetProfileString("S", "Missing", " ", 255, dir / "none.ini"), "");
}

}  // namespace
}  // namespace morvi
