#include "cli/ImportInput.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cli/CliText.h"
#include "cli/RowOutput.h"

namespace morvi::cli {
namespace {

bool SameTexts(const std::vector<std::string_view>& fields, const std::vector<std::string>& wanted) {
    return std::equal(fields.begin(), fields.end(), wanted.begin(), wanted.end());
}

std::string UnclosedText(const CsvReader& reader) {
    return Format(TextId::CliUnclosedQuote, {std::to_string(reader.RecordLine())});
}

}  // namespace

bool ImportInput::Read(std::string_view text, std::string* error, const RowVisitor& eachRow) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text[first] == '[') return ReadJson(text, error, eachRow);
    return ReadCsv(text, error, eachRow);
}

bool ImportInput::ReadCsv(std::string_view text, std::string* error, const RowVisitor& eachRow) {
    m_csv.emplace(text);
    CsvReader& reader = *m_csv;
    // A quoted field left open is reported before anything wrong with the lines above it.
    auto failWith = [&](std::string reason) {
        while (reader.Next()) {
        }
        *error = reader.Unclosed() ? UnclosedText(reader) : std::move(reason);
        return false;
    };
    std::vector<std::string> withHidden = ExportColumns();
    withHidden.push_back(kHiddenColumn);
    if (!reader.Next() || (!SameTexts(reader.Fields(), ExportColumns()) && !SameTexts(reader.Fields(), withHidden))) {
        // The header as a CSV line: the data format the rows must have.
        return failWith(Format(TextId::CliHeaderExpected, {CsvLine(ExportColumns())}));
    }
    const size_t expected = reader.Fields().size();
    m_starts.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    while (reader.Next()) {
        if (reader.Fields().size() != expected)
            return failWith(Format(TextId::CliFieldCount, {std::to_string(reader.RecordLine()),
                                                           std::to_string(reader.Fields().size()),
                                                           std::to_string(expected)}));
        m_starts.push_back(reader.RecordStart());
        TakeCsvCells();
        eachRow(m_starts.size() - 1, reader.RecordLine(), m_cells);
    }
    if (reader.Unclosed()) {
        *error = UnclosedText(reader);
        return false;
    }
    // No shrink_to_fit: room was made for a row per line end, barely more than the rows, and
    // shrinking would copy every position into memory faulted in afresh.
    return true;
}

bool ImportInput::ReadJson(std::string_view text, std::string* error, const RowVisitor& eachRow) {
    const nlohmann::json doc = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
    if (doc.is_discarded() || !doc.is_array()) {
        *error = Text(TextId::CliNotJsonArray);
        return false;
    }
    std::vector<std::array<std::string, kPlacementColumnCount>> rows(doc.size());
    for (size_t i = 0; i < doc.size(); ++i) {
        const std::string element = std::to_string(i + 1);
        if (!doc[i].is_object()) {
            *error = Format(TextId::CliElementNotObject, {element});
            return false;
        }
        for (size_t c = 0; c < ExportColumns().size(); ++c) {
            const std::string& column = ExportColumns()[c];
            const auto it = doc[i].find(column);
            if (it == doc[i].end()) {
                *error = Format(TextId::CliElementWithout, {element, column});
                return false;
            }
            if (it->is_null()) rows[i][c].clear();
            else if (it->is_number_integer()) rows[i][c] = std::to_string(it->get<long long>());
            else if (it->is_string()) rows[i][c] = it->get<std::string>();
            else {
                *error = Format(TextId::CliElementBadValue, {element, column});
                return false;
            }
        }
    }
    m_json = std::move(rows);
    for (size_t i = 0; i < m_json.size(); ++i) eachRow(i, Line(i), Cells(i));
    return true;
}

void ImportInput::TakeCsvCells() {
    const std::vector<std::string_view>& fields = m_csv->Fields();
    for (size_t c = 0; c < m_cells.size(); ++c) m_cells[c] = fields[c];
}

const RowCellViews& ImportInput::Cells(size_t row) {
    if (!m_json.empty()) {
        for (size_t c = 0; c < m_cells.size(); ++c) m_cells[c] = m_json[row][c];
        return m_cells;
    }
    m_csv->Seek(m_starts[row]);
    m_csv->Next();
    TakeCsvCells();
    return m_cells;
}

const RowCellViews& UnescapedCells::From(const RowCellViews& written) {
    for (size_t c = 0; c < written.size(); ++c) {
        if (!HasEscapes(written[c])) {
            m_cells[c] = written[c];
            continue;
        }
        m_unescaped[c] = UnescapeUndecodable(written[c]);
        m_cells[c] = m_unescaped[c];
    }
    return m_cells;
}

RowTexts UnescapedCells::Texts() const {
    RowTexts texts;
    for (size_t c = 0; c < m_cells.size(); ++c) texts[c] = std::string(m_cells[c]);
    return texts;
}

}  // namespace morvi::cli
