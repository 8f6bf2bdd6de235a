// Search in the loaded placement list: one row at a time, from the search position downwards,
// by name (contained in column 0), X (column 1) and Y (column 3). Rows found are added to the
// selection, so after several searches every hit is selected, and editing starts at the last.

#include <optional>
#include <string>

#include "dialog/CPlacementDlg.h"
#include "document/PlacementRowFormatter.h"

namespace morvi {
namespace {

// A number criterion as the plain decimal a cell shows: "7" matches 7, "07" and "+7" match no
// row, since a cell never shows them.
std::optional<int> ShownDecimal(const std::string& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    const bool negative = text[0] == '-';
    const size_t first = negative ? 1 : 0;
    if (first == text.size() || (text[first] == '0' && text.size() > first + 1)) return std::nullopt;
    if (negative && text == "-0") return std::nullopt;
    long long value = 0;
    for (size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return static_cast<int>(negative ? -value : value);
}

struct SearchCriteria {
    std::string name;
    std::string posX;
    std::string posY;

    bool Empty() const { return name.empty() && posX.empty() && posY.empty(); }
};

// Tests rows against the criteria without making their texts: the numbers compare as numbers
// (the cells show plain decimals), the name as the UTF-8 text of column 0.
class RowMatcher {
public:
    explicit RowMatcher(const SearchCriteria& criteria)
        : m_criteria(criteria), m_x(ShownDecimal(criteria.posX)), m_y(ShownDecimal(criteria.posY)) {}

    bool Matches(const PlacementRowStore& rows, int row) {
        if (!m_criteria.posX.empty() && !NumberMatches(rows, row, COL_POS_X, m_x, m_criteria.posX)) return false;
        if (!m_criteria.posY.empty() && !NumberMatches(rows, row, COL_POS_Y, m_y, m_criteria.posY)) return false;
        if (m_criteria.name.empty()) return true;
        // UTF-8 is self-synchronising, so a substring match can only start on a character boundary.
        m_text.clear();
        rows.AppendCellText(row, COL_NAME, m_text);
        return m_text.find(m_criteria.name) != std::string::npos;
    }

private:
    bool NumberMatches(const PlacementRowStore& rows, int row, int column, const std::optional<int>& value,
                       const std::string& text) {
        if (rows.HasOverride(row, column)) return rows.CellText(row, column) == text;
        return value && PlacementRowFormatter::ShownNumber(rows.Block(row), column) == *value;
    }

    const SearchCriteria& m_criteria;
    std::optional<int> m_x;
    std::optional<int> m_y;
    std::string m_text;
};

}  // namespace

void CPlacementDlg::OnFindFirst() {
    m_searchPos = 0;
    FindFrom();
}

void CPlacementDlg::OnFindNext() {
    // Go on after the last hit; start over at the top after the last row or after a miss.
    const int rows = m_view.Count();
    if (m_searchPos < rows - 1) ++m_searchPos;
    else m_searchPos = 0;
    FindFrom();
}

void CPlacementDlg::FindFrom() {
    const SearchCriteria criteria{m_host.ItemText(IDC_FIND_NAME), m_host.ItemText(IDC_FIND_X),
                                  m_host.ItemText(IDC_FIND_Y)};
    if (!criteria.Empty()) {
        RowMatcher matcher(criteria);
        // The rows as the list shows them, top down.
        for (int row = m_searchPos < 0 ? 0 : m_searchPos; row < m_view.Count(); ++row) {
            if (matcher.Matches(Rows(), m_view.StoreRow(row))) {
                ShowFoundRow(row);
                return;
            }
        }
    }
    // A miss is silent: selection, scroll position and focus stay as they were.
    m_searchPos = -1;
}

void CPlacementDlg::ShowFoundRow(int row) {
    PlacementListHost& list = m_host.Placements();
    list.ScrollRowToTop(row);
    list.SelectRow(row);
    // The list's focus notification writes its hint when the focus actually moves.
    m_host.FocusItem(IDC_PLACEMENT_LIST);
    m_searchPos = row;
}

}  // namespace morvi
