// The printed cells of CSV and JSON output, made on the fast path (the formatter's text left
// in place in the output) and by the way every cell was printed before (kept here as the
// reference): escape the text when it holds a backslash or 0xEF, then quote it. They must give
// the same bytes for every text: ASCII, GBK turned into UTF-8, the private-use characters of
// undecodable bytes, backslash escapes, quotes, commas, line ends, spaces and control bytes.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cli/CliText.h"
#include "cli/PrintedCell.h"

namespace morvi::test {
namespace {

std::string ReferenceEscaped(std::string_view text) {
    return text.find_first_of("\\\xEF") == std::string_view::npos ? std::string(text) : cli::EscapeUndecodable(text);
}

std::string ReferenceCsv(std::string_view text) {
    const std::string field = ReferenceEscaped(text);
    const bool quote = field.find_first_of(",\"\r\n") != std::string::npos ||
                       (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) return field;
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string ReferenceJson(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (char ch : ReferenceEscaped(text)) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 15];
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

// Every way the fast functions are reached gives the reference's bytes, after what the output
// already holds.
void ExpectSameAsReference(const std::string& text) {
    const std::string before = "earlier,\"cells\" ";
    std::string csv = before, json = before, csvAppended = before, jsonAppended = before;
    csv += text;
    cli::FinishCsvCell(csv, before.size());
    json += text;
    cli::FinishJsonCell(json, before.size());
    cli::AppendCsvCell(text, csvAppended);
    cli::AppendJsonCell(text, jsonAppended);
    const std::string shown = cli::EscapeUndecodable(text);
    EXPECT_EQ(csv, before + ReferenceCsv(text)) << shown;
    EXPECT_EQ(json, before + ReferenceJson(text)) << shown;
    EXPECT_EQ(csvAppended, csv) << shown;
    EXPECT_EQ(jsonAppended, json) << shown;
}

// Pieces the random texts are made of: each one that needs work, and some that do not.
const std::vector<std::string> kPieces = {
    "a", "Z9", " ", ",", "\"", "\"\"", "\n", "\r", "\r\n", "\t", "\b", "\f", "\x01", "\x1F", "\x7F",
    "\\", "\\x41", "\\x5C", "\\xZZ", "\\x4", "x", "\xEF\x9E\x80", "\xEF\x9F\xBF", "\xEF\xBB\xBF", "\xEF",
    "\xE8\x8D\xAF", "\xE5\xBA\x97", "\xE2\x82\xAC", "\x80", "\xFF", "\xC3", "{", "}", ":", "0", "-",
    "\\script\\npc\\a.lua", "maps/map10/v_99/124_5_S.DAT"};

TEST(PrintedCell, EdgeTextsPrintAsTheReferencePrintsThem) {
    const std::vector<std::string> texts = {
        "", " ", "  ", "a b", " a", "a ", ",", "\"", "a,b", "say \"hi\"", "line\nend", "cr\r", "tab\t",
        "\\", "\\x", "\\x4", "\\x41", "\\X41", "a\\x5Cb", "\\script\\npc\\map10\\997_13.lua",
        "\xEF\x9E\x80", "\xEF\x9F\xBF", "\xEF\x9E", "\xEF", "\xE8\x8D\xAF\xE5\xBA\x97", "\x80\xFF",
        std::string("nul\0byte", 8), "\x01\x1F\x7F", "NPC(Ground)", "-12", "0"};
    for (const std::string& text : texts) ExpectSameAsReference(text);
}

TEST(PrintedCell, RandomTextsPrintAsTheReferencePrintsThem) {
    std::mt19937 random(20261208);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int pieces = static_cast<int>(random() % 7);
        for (int k = 0; k < pieces; ++k) text += kPieces[random() % kPieces.size()];
        ExpectSameAsReference(text);
        if (HasFailure()) return;
    }
}

TEST(PrintedCell, CanonicalNumbersAreTheTextsToStringWrites) {
    struct Case { const char* text; bool canonical; };
    const Case cases[] = {{"0", true},      {"7", true},        {"-7", true},       {"65535", true},
                          {"-2147483648", true}, {"123456789012345678", true}, {"", false},
                          {"-", false},     {"-0", false},      {"+1", false},      {"007", false},
                          {"1a", false},    {" 1", false},      {"1 ", false},      {"1234567890123456789", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(cli::IsCanonicalNumber(c.text), c.canonical) << c.text;
        long long value = 0;
        if (c.canonical) {
            ASSERT_TRUE(cli::ParseInt(c.text, &value)) << c.text;
            EXPECT_EQ(std::to_string(value), c.text);
        }
    }
}

}  // namespace
}  // namespace morvi::test
