// The loaded map read again with the user's place kept: the selection, the focus mark and the
// row being modified follow their placements by file and key.

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "dialog/CPlacementDlg.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

// A placement by its file, key and which record of that key among the file's listed rows
// (0: the first in file order).
struct RowPlace {
    std::string file;
    uint64_t key = 0;
    int occurrence = 0;
    auto Tie() const { return std::tie(file, key, occurrence); }
    bool operator<(const RowPlace& other) const { return Tie() < other.Tie(); }
};

uint64_t PackedKey(const NpcPlacement& p) {
    return (uint64_t{p.TemplateIndex()} << 48) | (uint64_t{p.PosX()} << 32) |
           (uint64_t{static_cast<uint32_t>(p.PosY()) & 0xFFFFu} << 16) | (uint64_t{p.offsetX} << 8) | p.offsetY;
}

// Walks the store in file order (bottom row first: the load lists each record as a new top
// row) and tells `visit` each row's place.
template <typename Visit>
void WalkPlaces(const PlacementRowStore& rows, Visit&& visit) {
    std::map<std::pair<uint32_t, uint64_t>, int> seen;
    for (int row = rows.Count() - 1; row >= 0; --row) {
        const uint64_t key = PackedKey(rows.Block(row));
        const int occurrence = seen[{rows.FileId(row), key}]++;
        visit(row, key, occurrence);
    }
}

}  // namespace

int CPlacementDlg::ReloadKeepingPlace() {
    const std::optional<std::string> directory = SelectedMapDirectory();
    if (!m_doc.Loaded() || !directory || *directory != m_doc.MapDirectory()) {
        LoadMapPlacements();
        return Rows().Count();
    }
    // The places of the rows that matter, before the rows go.
    const std::vector<int> selected = SelectedStoreRows();
    const int focus = m_view.StoreRow(m_host.Placements().FocusedRow());
    const int editRow = m_session.mode == EDIT_MODIFY ? m_session.row : -1;
    std::map<int, RowPlace*> wanted;   // store row -> its place
    std::vector<RowPlace> selectedPlaces(selected.size());
    RowPlace focusPlace, editPlace;
    for (size_t i = 0; i < selected.size(); ++i) wanted[selected[i]] = &selectedPlaces[i];
    // A row both selected and focused (or edited) is looked up once and copied.
    if (focus >= 0 && !wanted.count(focus)) wanted[focus] = &focusPlace;
    if (editRow >= 0 && !wanted.count(editRow)) wanted[editRow] = &editPlace;
    if (!wanted.empty())
        WalkPlaces(Rows(), [&](int row, uint64_t key, int occurrence) {
            const auto it = wanted.find(row);
            if (it != wanted.end()) *it->second = RowPlace{Rows().File(row), key, occurrence};
        });
    if (focus >= 0 && wanted[focus] != &focusPlace) focusPlace = *wanted[focus];
    if (editRow >= 0 && wanted[editRow] != &editPlace) editPlace = *wanted[editRow];

    {
        RowBatch batch(*this);
        // An unreadable file leaves its rows out, as a load does.
        (void)Document().Reload();
    }

    // The same places in the rows read now.
    std::map<RowPlace, int> found;
    for (const RowPlace& place : selectedPlaces) found[place] = -1;
    if (focus >= 0) found[focusPlace] = -1;
    if (editRow >= 0) found[editPlace] = -1;
    if (!found.empty())
        WalkPlaces(Rows(), [&](int row, uint64_t key, int occurrence) {
            const auto it = found.find(RowPlace{Rows().File(row), key, occurrence});
            if (it != found.end()) it->second = row;
        });
    std::vector<int> rows;
    for (const RowPlace& place : selectedPlaces)
        if (const int row = found[place]; row >= 0) rows.push_back(row);
    const int newFocus = focus >= 0 ? found[focusPlace] : -1;
    // The edit area stays as typed; a save of a placement no longer there is refused by key.
    if (editRow >= 0) m_session.row = found[editPlace];
    m_view.Rebuild();
    m_host.Placements().RowsRearranged(m_view.ViewRows(rows), m_view.ViewRow(newFocus));
    m_host.SetItemText(IDC_FRAME, Format(TextId::LoadDone, {std::to_string(Rows().Count())}));
    return Rows().Count();
}

}  // namespace morvi
