#include <cctype>
#include <string_view>

#include "data/server/ServerPath.h"
#include "dialog/CPlacementDlg.h"
#include "document/NameTables.h"

namespace morvi {
namespace {

int CompareNoCaseAscii(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The code combos are sorted lists: each name goes in before the first item that sorts after it,
// so the display order is alphabetical while the codes still come from the name tables.
void AddSorted(DialogHost& host, int id, std::string_view text) {
    const int count = host.ComboCount(id);
    int at = count;
    for (int i = 0; i < count; ++i) {
        if (CompareNoCaseAscii(host.ComboItemText(id, i), text) > 0) {
            at = i;
            break;
        }
    }
    host.ComboInsert(id, at, std::string(text));
}

void AddNonEmptyNames(DialogHost& host, int id, std::span<const std::string_view> table) {
    for (std::string_view name : table)
        if (!name.empty()) AddSorted(host, id, name);
}

}  // namespace

CPlacementDlg::CPlacementDlg(DialogHost& host) : m_host(host) {
    m_doc.SetObserver(&m_forwarder);
    // Every save is seeded from the tick count, as the host tells it.
    m_doc.SetSeedSource([this] { return m_host.TickCount(); });
}

void CPlacementDlg::FillNameCombos() {
    AddNonEmptyNames(m_host, IDC_TYPE, NpcTypeNames());
    AddNonEmptyNames(m_host, IDC_GROUP, NpcGroupNames());
    AddNonEmptyNames(m_host, IDC_SERIES, NpcSeriesNames());
}

void CPlacementDlg::ClearListBox(int id) {
    for (int i = m_host.ListBoxCount(id) - 1; i >= 0; --i) m_host.ListBoxDelete(id, i);
}

std::optional<std::string> CPlacementDlg::SelectedMapDirectory() const {
    const int selected = m_host.ListBoxSelection(IDC_MAP_LIST);
    if (selected < 0 || static_cast<size_t>(selected) >= m_mapPaths.size()) return std::nullopt;
    const std::string tail = "\\maps\\" + m_mapPaths[static_cast<size_t>(selected)];
    // A map directory that leads out of the server tree is a map without region files.
    if (EscapesServerDirectory(tail)) return std::string();
    return ServerFilePath(m_serverPath, tail);
}

}  // namespace morvi
