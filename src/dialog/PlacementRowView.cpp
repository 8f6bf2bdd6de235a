#include "dialog/PlacementRowView.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "document/PlacementRowFormatter.h"

namespace morvi {
namespace {

unsigned char Fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

// A number cell's sort key: empty cells (a drop count the row does not show, an override that
// is not a number) before every number.
int64_t NumberKey(const PlacementRowStore& store, int row, int column) {
    constexpr int64_t kEmpty = INT64_MIN;
    if (store.HasOverride(row, column)) {
        const std::string text = store.CellText(row, column);
        if (text.empty()) return kEmpty;
        char* end = nullptr;
        const long long value = std::strtoll(text.c_str(), &end, 10);
        return end && *end == '\0' ? value : kEmpty;
    }
    const NpcPlacement p = store.Block(row);
    if (column == COL_DROP && p.HasScript()) return kEmpty;
    return PlacementRowFormatter::ShownNumber(p, column);
}

}  // namespace

bool IsNumberColumn(int column) {
    switch (column) {
        case COL_POS_X:
        case COL_OFFSET_X:
        case COL_POS_Y:
        case COL_OFFSET_Y:
        case COL_DROP:
        case COL_TEMPLATE: return true;
        default: return false;
    }
}

int PlacementRowView::StoreRow(int viewRow) const {
    if (viewRow < 0 || viewRow >= Count()) return -1;
    return Identity() ? viewRow : m_rows[static_cast<size_t>(viewRow)];
}

int PlacementRowView::ViewRow(int storeRow) const {
    if (storeRow < 0 || storeRow >= m_store.Count()) return -1;
    if (Identity()) return storeRow;
    return static_cast<size_t>(storeRow) < m_viewOf.size() ? m_viewOf[static_cast<size_t>(storeRow)] : -1;
}

void PlacementRowView::ClickHeading(int column) {
    if (column < 0 || column >= kPlacementColumnCount) return;
    if (m_direction == SortDirection::None || column != m_column) {
        SetSort(column, SortDirection::Ascending);
    } else if (m_direction == SortDirection::Ascending) {
        SetSort(column, SortDirection::Descending);
    } else {
        SetSort(column, SortDirection::None);
    }
}

void PlacementRowView::SetSort(int column, SortDirection direction) {
    m_column = column;
    m_direction = column < 0 || column >= kPlacementColumnCount ? SortDirection::None : direction;
    Rebuild();
}

void PlacementRowView::SetFilter(PlacementFilter filter) {
    m_filter = std::move(filter);
    Rebuild();
}

void PlacementRowView::Rebuild() {
    m_rows.clear();
    m_viewOf.clear();
    if (Identity()) {
        m_rows.shrink_to_fit();
        m_viewOf.shrink_to_fit();
        return;
    }
    const int total = m_store.Count();
    m_rows.reserve(static_cast<size_t>(total));
    if (m_filter.Empty()) {
        m_rows.resize(static_cast<size_t>(total));
        std::iota(m_rows.begin(), m_rows.end(), 0);
    } else {
        for (int row = 0; row < total; ++row)
            if (m_filter.Matches(m_store, row)) m_rows.push_back(row);
    }

    if (m_direction != SortDirection::None) {
        const bool descending = m_direction == SortDirection::Descending;
        // Keys are made once per row; ties keep the store's order in both directions.
        if (IsNumberColumn(m_column)) {
            std::vector<std::pair<int64_t, int>> keyed;
            keyed.reserve(m_rows.size());
            for (int row : m_rows) keyed.emplace_back(NumberKey(m_store, row, m_column), row);
            std::sort(keyed.begin(), keyed.end(), [descending](const auto& a, const auto& b) {
                if (a.first != b.first) return descending ? a.first > b.first : a.first < b.first;
                return a.second < b.second;
            });
            for (size_t i = 0; i < keyed.size(); ++i) m_rows[i] = keyed[i].second;
        } else {
            // Text order: bytes of UTF-8 (code point order), ASCII letters folded. Each key is
            // folded once, so the sort compares plain bytes (std::string compares its chars as
            // unsigned).
            std::vector<std::string> keys(m_rows.size());
            for (size_t i = 0; i < m_rows.size(); ++i) {
                m_store.AppendCellText(m_rows[i], m_column, keys[i]);
                for (char& c : keys[i]) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
            }
            std::vector<int> order(m_rows.size());
            std::iota(order.begin(), order.end(), 0);
            // The rows are in store order, so comparing positions keeps ties in that order.
            std::sort(order.begin(), order.end(), [&](int a, int b) {
                const int c = keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]);
                if (c != 0) return descending ? c > 0 : c < 0;
                return a < b;
            });
            std::vector<int> sorted(m_rows.size());
            for (size_t i = 0; i < order.size(); ++i) sorted[i] = m_rows[static_cast<size_t>(order[i])];
            m_rows = std::move(sorted);
        }
    }
    m_viewOf.assign(static_cast<size_t>(total), -1);
    for (size_t i = 0; i < m_rows.size(); ++i) m_viewOf[static_cast<size_t>(m_rows[i])] = static_cast<int>(i);
}

void PlacementRowView::AppendCellText(int viewRow, int column, std::string& out) const {
    const int row = StoreRow(viewRow);
    if (row >= 0) m_store.AppendCellText(row, column, out);
}

std::string PlacementRowView::CellText(int viewRow, int column) const {
    std::string out;
    AppendCellText(viewRow, column, out);
    return out;
}

RowTexts PlacementRowView::Texts(int viewRow) const {
    const int row = StoreRow(viewRow);
    return row >= 0 ? m_store.Texts(row) : RowTexts{};
}

std::vector<int> PlacementRowView::StoreRows(std::span<const int> viewRows) const {
    std::vector<int> rows;
    rows.reserve(viewRows.size());
    for (int viewRow : viewRows)
        if (const int row = StoreRow(viewRow); row >= 0) rows.push_back(row);
    return rows;
}

std::vector<int> PlacementRowView::ViewRows(std::span<const int> storeRows) const {
    std::vector<int> rows;
    rows.reserve(storeRows.size());
    for (int storeRow : storeRows)
        if (const int row = ViewRow(storeRow); row >= 0) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

}  // namespace morvi
