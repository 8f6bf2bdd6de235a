// CSV and JSON rows printed from a row store are, byte for byte, what printing each cell's
// text (as the store gives it) by the reference rules makes: over records with random names
// and script paths of GBK, undecodable bytes, quotes, commas, line ends and backslashes,
// codes beyond the name tables, and rows with overrides.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "TreeGenerator.h"
#include "cli/CliText.h"
#include "cli/PrintedCell.h"
#include "cli/RowOutput.h"
#include "document/PlacementRows.h"

namespace morvi::test {
namespace {

std::string RandomBytes(std::mt19937& random, size_t size) {
    static const std::string kBytes = std::string("abcXYZ019 ,\"\r\n\t\\x5C\x01\x7F") +
                                      "\x80\xA1\xA2\xB5\xEA\xD2\xA9\xEF\xFE\xFF\x81\x40\x30";
    std::string text;
    for (size_t i = 0; i < size; ++i) text += kBytes[random() % kBytes.size()];
    return text;
}

PlacementRowStore RandomStore(std::mt19937& random, int rows) {
    PlacementRowStore store;
    const std::string files[] = {"/srv/maps/a/1_S.DAT", "/srv/maps/b,\"c\"/2_S.DAT", "/srv/maps/\\x41 /3_S.DAT"};
    for (int i = 0; i < rows; ++i) {
        std::string name = RandomBytes(random, random() % 34);
        name = name.substr(0, name.find('\0'));
        const bool script = random() % 3 == 0;
        std::string path = script ? "\\" + RandomBytes(random, 25 + random() % 40) : std::string();
        if (script && random() % 4 == 0) path[random() % path.size()] = '\0';   // a damaged path
        store.InsertTop(files[random() % 3],
                        tools::MakeRecord(static_cast<int>(random() % 70000), name, static_cast<int>(random() % 65536),
                                          static_cast<int>(random() % 256), static_cast<int>(random() % 32768),
                                          static_cast<int>(random() % 256), static_cast<int>(random() % 256),
                                          static_cast<int>(random() % 256), static_cast<int>(random() % 256),
                                          static_cast<int>(random() % 25), path));
    }
    // Overrides the window sets, and texts no record says.
    store.SetOverride(1, COL_SCRIPT, "\\script\\typed, \"as is\".lua");
    store.SetOverride(2, COL_DROP, "");
    store.SetOverride(3, COL_POS_X, "12abc");
    store.SetOverride(4, COL_TEMPLATE, "+7");
    store.SetOverride(5, COL_FILE, "elsewhere\\x41\n");
    store.SetOverride(6, COL_NAME, " \xEF\x9E\x80 ");
    return store;
}

std::string FileText(const std::string& path) { return path.substr(5); }

// The cell as the store shows it, column 10 as the command prints it.
std::string ShownCell(const PlacementRowStore& store, int row, int column) {
    if (column == COL_FILE && !store.HasOverride(row, COL_FILE)) return FileText(store.File(row));
    return store.CellText(row, column);
}

std::string ReferenceCsv(const PlacementRowStore& store) {
    std::string out = "name,x,offset_x,y,offset_y,type,group,series,drop,script,file,template\n";
    for (int row = 0; row < store.Count(); ++row) {
        for (int c = 0; c < kPlacementColumnCount; ++c) {
            if (c) out += ',';
            cli::AppendCsvCell(ShownCell(store, row, c), out);
        }
        out += '\n';
    }
    return out;
}

std::string ReferenceJson(const PlacementRowStore& store) {
    const bool number[] = {false, true, true, true, true, false, false, false, true, false, false, true};
    std::string out = "[\n";
    for (int row = 0; row < store.Count(); ++row) {
        out += "  {\n";
        for (int c = 0; c < kPlacementColumnCount; ++c) {
            const std::string text = cli::EscapeUndecodable(ShownCell(store, row, c));
            out += "    \"" + cli::ExportColumns()[static_cast<size_t>(c)] + "\": ";
            long long value = 0;
            if (text.empty() && (c == COL_DROP || c == COL_SCRIPT)) out += "null";
            else if (number[c] && cli::ParseInt(text, &value)) out += std::to_string(value);
            else cli::AppendJsonString(text, out);
            out += c + 1 < kPlacementColumnCount ? ",\n" : "\n";
        }
        out += row + 1 < store.Count() ? "  },\n" : "  }\n";
    }
    return out + "]\n";
}

std::string Printed(const PlacementRowStore& store, cli::OutputFormat format) {
    cli::RowPrintOptions options;
    options.format = format;
    options.fileText = FileText;
    std::ostringstream out;
    cli::PrintRows(store, options, out);
    return out.str();
}

TEST(RowOutput, CsvAndJsonRowsAreTheReferenceCellsOfTheStore) {
    std::mt19937 random(8122026);
    for (int round = 0; round < 4; ++round) {
        const PlacementRowStore store = RandomStore(random, 3000);
        EXPECT_EQ(Printed(store, cli::OutputFormat::Csv), ReferenceCsv(store)) << "round " << round;
        EXPECT_EQ(Printed(store, cli::OutputFormat::Json), ReferenceJson(store)) << "round " << round;
    }
}

}  // namespace
}  // namespace morvi::test
