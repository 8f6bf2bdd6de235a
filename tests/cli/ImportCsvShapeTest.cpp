// `import` reads an export however a spreadsheet wrote it back (CRLF, a byte-order mark,
// every field quoted), and names the first thing wrong with a file of the wrong shape.

#include "CliFixture.h"

namespace morvi::test {
namespace {

std::string Quoted(const std::string& csv, const std::string& lineEnd) {
    std::string out = "\xEF\xBB\xBF";
    bool inField = false;
    for (char c : csv) {
        if (!inField && c != '\n') {
            out += '"';
            inField = true;
        }
        if (c == ',' || c == '\n') {
            if (inField) out += '"';
            inField = false;
            out += c == ',' ? std::string(",") : lineEnd;
            continue;
        }
        if (c == '"') out += '"';
        out += c;
    }
    return out;
}

TEST_F(CliTest, ExportWrittenBackQuotedWithCrlfAndBomImportsAsNothing) {
    const CliResult exported = Run({"export", "3"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    for (const char* lineEnd : {"\n", "\r\n"}) {
        WriteFile(work() + "/quoted.csv", Quoted(exported.out, lineEnd));
        const CliResult dry = Run({"import", "3", "quoted.csv", "--dry-run"});
        ASSERT_EQ(dry.status, 0) << dry.err;
        EXPECT_EQ(dry.out, "nothing to import: map 3 already matches quoted.csv\n");
    }
}

TEST_F(CliTest, ImportNamesTheFirstFaultOfTheFilesShape) {
    const CliResult exported = Run({"export", "3"});
    const std::string header = exported.out.substr(0, exported.out.find('\n') + 1);
    const std::string row = "A,1,1,1,1,Enemy,Song,0,0,,maps/hand/a/0_0_S.DAT,3\n";
    const struct {
        std::string text, error;
    } cases[] = {
        {"name,x\n\"open\n", "line 2: a quoted field is not closed"},   // before the header's fault
        {header + row + "A,1\n" + row, "line 3: 2 fields, 12 expected"},
        {header + "A,1\n\n\"x,\n", "line 4: a quoted field is not closed"},
        {"", "the first line must be the export's header: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile(work() + "/shape.csv", c.text);
        const CliResult r = Run({"import", "3", "shape.csv", "--dry-run"});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("shape.csv: " + c.error), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
}  // namespace morvi::test
