// The CSV reader that hands out views reads every text as the earlier whole-text parser read
// it (kept here, character by character, as the reference): the same records, fields, lines
// and the same refusal of an unclosed quoted field.

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "cli/CliText.h"
#include "cli/CsvReader.h"

namespace morvi::test {
namespace {

using Records = std::vector<cli::CsvRecord>;

std::optional<Records> ReferenceParse(std::string_view text, int* unclosedLine) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Records records;
    cli::CsvRecord current;
    std::string field;
    bool inQuotes = false, fieldStarted = false, lineHasContent = false;
    int line = 1;
    current.line = 1;
    auto endField = [&] {
        current.fields.push_back(std::move(field));
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        if (lineHasContent) {
            endField();
            records.push_back(std::move(current));
        }
        current = cli::CsvRecord{};
        current.line = line + 1;
        lineHasContent = fieldStarted = false;
        field.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == '\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && !fieldStarted) {
            inQuotes = fieldStarted = lineHasContent = true;
        } else if (c == ',') {
            lineHasContent = true;
            endField();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endRecord();
            ++line;
        } else {
            field += c;
            fieldStarted = lineHasContent = true;
        }
    }
    if (inQuotes) {
        *unclosedLine = current.line;
        return std::nullopt;
    }
    endRecord();
    return records;
}

// What the reader gives, record by record, in the same shape.
std::optional<Records> ReaderParse(std::string_view text, int* unclosedLine) {
    cli::CsvReader reader(text);
    Records records;
    while (reader.Next()) records.push_back({reader.RecordLine(), {reader.Fields().begin(), reader.Fields().end()}});
    if (reader.Unclosed()) {
        *unclosedLine = reader.RecordLine();
        return std::nullopt;
    }
    return records;
}

void ExpectSameAsReference(const std::string& text) {
    int referenceLine = 0, readerLine = 0;
    const std::optional<Records> expected = ReferenceParse(text, &referenceLine);
    const std::optional<Records> got = ReaderParse(text, &readerLine);
    ASSERT_EQ(got.has_value(), expected.has_value());
    if (!expected) {
        EXPECT_EQ(readerLine, referenceLine);
        return;
    }
    ASSERT_EQ(got->size(), expected->size());
    for (size_t r = 0; r < expected->size(); ++r) {
        EXPECT_EQ((*got)[r].line, (*expected)[r].line) << "record " << r;
        EXPECT_EQ((*got)[r].fields, (*expected)[r].fields) << "record " << r;
    }
}

TEST(CsvReader, ReadsEveryShapeAsTheWholeTextParserDid) {
    const char* const texts[] = {
        "",
        "\n\n\r\n",
        "a,b,c",
        "a,b,c\n",
        "a,b\r\nc,d\r\n",
        "a\rb\rc",                                   // a lone CR ends a line too
        "\xEF\xBB\xBF" "name,x\n1,2\n",              // byte-order mark
        "x\xEF\xBB\xBF,y\n",                         // only a leading one is skipped
        "a,\n,b\n,\n",                               // empty fields, first and last
        "\"\"\n",                                    // one empty quoted field is a record
        "\"a,b\",\"c\nd\",\"e\r\nf\"\ng,h\n",        // commas and line ends inside quotes
        "\"say \"\"hi\"\"\",\"\"\"\"\n",             // doubled quotes
        "\"ab\"cd,e\n",                              // text after the closing quote
        "\"ab\"c\"d\"\"e,f\n",                       // ... quotes there are plain characters
        "ab\"cd\",e\n",                              // a quote inside an unquoted field
        " \"a\",b\n",                                // not quoted: a space comes first
        "a,b\n\n\nc,d\n\r\n",                        // blank lines are skipped, lines still counted
        "a,\"b\n\nc\"\nd\n",                         // lines inside a quoted field count
        "a,b\n\"open\n",                             // unclosed: the line where its record starts
        "a\n\n\"x\"\"\n",                            // unclosed after a doubled quote
        "a,\"b\"\"\"\"\",c\r",                       // two doubled quotes, CR at the end
    };
    for (const char* text : texts) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        ExpectSameAsReference(text);
    }
}

TEST(CsvReader, RandomTextsReadAsTheWholeTextParserDid) {
    std::mt19937 random(20261207);
    const char alphabet[] = {'a', 'b', ',', '"', '"', '\n', '\r', ' ', '\\'};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const size_t length = random() % 40;
        for (size_t i = 0; i < length; ++i) text += alphabet[random() % sizeof alphabet];
        SCOPED_TRACE(testing::PrintToString(text));
        ExpectSameAsReference(text);
        if (testing::Test::HasFailure()) return;
    }
}

// A record read again from where it started gives the same fields, with views that stay good
// however many copies an earlier record needed.
TEST(CsvReader, RecordReadAgainFromItsStartIsTheSame) {
    const std::string text = "\"a\"\"1\",\"b\"\"2\",\"c\"\"3\",\"d\"\"4\",\"e\"\"5\"\nx,\"y\"z\n";
    cli::CsvReader reader(text);
    ASSERT_TRUE(reader.Next());
    EXPECT_EQ(reader.Fields(), (std::vector<std::string_view>{"a\"1", "b\"2", "c\"3", "d\"4", "e\"5"}));
    ASSERT_TRUE(reader.Next());
    const cli::CsvReader::Position second = reader.RecordStart();
    EXPECT_EQ(second.line, 2);
    EXPECT_FALSE(reader.Next());
    reader.Seek(second);
    ASSERT_TRUE(reader.Next());
    EXPECT_EQ(reader.Fields(), (std::vector<std::string_view>{"x", "yz"}));
    EXPECT_EQ(reader.RecordLine(), 2);
}

}  // namespace
}  // namespace morvi::test
