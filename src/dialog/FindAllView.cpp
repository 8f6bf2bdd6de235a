#include "dialog/FindAllView.h"

#include <algorithm>
#include <array>
#include <utility>

#include "dialog/CPlacementDlg.h"
#include "dialog/DialogHost.h"
#include "dialog/DocumentTexts.h"
#include "dialog/WriteStatus.h"
#include "document/ServerMaps.h"

namespace morvi {
namespace {

constexpr std::array<FindAllColumnInfo, kFindAllColumnCount> kColumns{{
    {TextId::FindAllColumnMap, 70},
    {TextId::FindAllColumnFile, 110},
    {TextId::ColumnName, 70},
    {TextId::ColumnPosX, 26},
    {TextId::ColumnMoveX, 24},
    {TextId::ColumnPosY, 26},
    {TextId::ColumnMoveY, 24},
    {TextId::ColumnType, 40},
    {TextId::ColumnGroup, 40},
    {TextId::ColumnSeries, 30},
    {TextId::ColumnMoney, 24},
    {TextId::ColumnScript, 110},
}};

// The map in the main window's list that the result's map is: the same index when it still
// holds the same directory, else the first entry with that directory; -1 when none.
int ListedMapIndex(const CPlacementDlg& dlg, const DialogHost& host, const FoundTarget& target) {
    const std::vector<std::string>& paths = dlg.MapPaths();
    const int listed = std::min(host.ListBoxCount(IDC_MAP_LIST), static_cast<int>(paths.size()));
    if (target.mapIndex >= 0 && target.mapIndex < listed &&
        paths[static_cast<size_t>(target.mapIndex)] == target.mapEntry)
        return target.mapIndex;
    for (int i = 0; i < listed; ++i)
        if (paths[static_cast<size_t>(i)] == target.mapEntry) return i;
    return -1;
}

// The store row of the target's placement: the occurrence-th row of its key among the rows of
// its file, in file order (the bottom row of a file's rows is its first record).
int StoreRowOf(const PlacementRowStore& rows, const FoundTarget& target) {
    int seen = 0;
    for (int row = rows.Count() - 1; row >= 0; --row) {
        if (rows.File(row) != target.file || !target.key.Matches(rows.Block(row))) continue;
        if (seen++ == target.occurrence) return row;
    }
    return -1;
}

}  // namespace

const FindAllColumnInfo& FindAllColumnOf(int column) {
    return kColumns[static_cast<size_t>(std::clamp(column, 0, kFindAllColumnCount - 1))];
}

FindAllView::FindAllView(Wake wake) : m_wake(std::move(wake)) {}

FindAllView::~FindAllView() {
    Cancel();
    Wait();
}

bool FindAllView::Start(const std::string& serverPath, int templateCount, const std::string& filterText) {
    Cancel();
    Wait();
    m_cancel = false;
    m_rows.Clear();
    m_mapOfRow.clear();
    m_occurrenceOfRow.clear();
    m_progress.reset();
    m_skipped.clear();
    m_maps.clear();
    m_mapsTotal = 0;
    {
        std::lock_guard lock(m_mutex);
        m_pending.clear();
        m_pendingProgress.reset();
        m_pendingSummary.reset();
        m_wakePosted = false;
    }
    m_serverPath = serverPath;

    Expected<PlacementFilter, FilterError> filter = PlacementFilter::Parse(filterText);
    if (!filter) {
        m_status = {FormatChosen(FilterErrorText(filter.error().code), {filter.error().term}), true};
        return false;
    }
    auto maps = ReadServerMaps(serverPath);
    if (!maps) {
        m_status = {std::string(Text(TextId::FindAllNoMapList)), true};
        return false;
    }
    for (const ServerMap& map : *maps) {
        if (map.index >= static_cast<int>(m_maps.size())) m_maps.resize(static_cast<size_t>(map.index) + 1);
        m_maps[static_cast<size_t>(map.index)] = {map.name, map.entry};
    }
    m_mapsTotal = maps->size();
    m_progress = SearchProgress{0, m_mapsTotal, 0, 0, 0};
    m_running = true;
    ShowRunning();
    m_worker = std::thread([this, maps = std::move(*maps), templateCount, f = std::move(*filter)]() mutable {
        RunSearch(std::move(maps), templateCount, std::move(f));
    });
    return true;
}

void FindAllView::Cancel() { m_cancel = true; }

void FindAllView::Wait() {
    if (m_worker.joinable()) m_worker.join();
}

void FindAllView::RunSearch(std::vector<ServerMap> maps, int templateCount, PlacementFilter filter) {
    const auto found = [this](const FoundPlacement& f) {
        std::lock_guard lock(m_mutex);
        m_pending.push_back({f.mapIndex, f.occurrence, f.file, f.record});
    };
    const auto progress = [this](const SearchProgress& p) {
        {
            std::lock_guard lock(m_mutex);
            m_pendingProgress = p;
        }
        Post();
    };
    SearchSummary summary = SearchServer(maps, templateCount, filter, found, progress, &m_cancel);
    {
        std::lock_guard lock(m_mutex);
        m_pendingSummary = std::move(summary);
    }
    Post();
}

void FindAllView::Post() {
    {
        std::lock_guard lock(m_mutex);
        if (m_wakePosted) return;
        m_wakePosted = true;
    }
    if (m_wake) m_wake();
}

size_t FindAllView::TakeResults() {
    std::vector<Found> found;
    std::optional<SearchProgress> progress;
    std::optional<SearchSummary> summary;
    {
        std::lock_guard lock(m_mutex);
        found.swap(m_pending);
        progress = std::move(m_pendingProgress);
        m_pendingProgress.reset();
        summary = std::move(m_pendingSummary);
        m_pendingSummary.reset();
        m_wakePosted = false;
    }
    for (const Found& f : found) {
        m_rows.InsertTop(f.file, f.record);
        m_mapOfRow.push_back(f.mapIndex);
        m_occurrenceOfRow.push_back(f.occurrence);
    }
    if (progress) m_progress = progress;
    if (summary) {
        // The worker has handed over everything: it ends now.
        Wait();
        m_running = false;
        m_skipped = std::move(summary->skipped);
        if (m_progress) m_progress->found = summary->found;
        ShowFinished();
        if (summary->cancelled) m_status.text = Format(TextId::FindAllCancelled, {std::to_string(Count()),
                                                       std::to_string(m_progress ? m_progress->mapsDone : 0),
                                                       std::to_string(m_mapsTotal)});
    } else if (m_running && (progress || !found.empty())) {
        ShowRunning();
    }
    return found.size();
}

void FindAllView::ShowRunning() {
    const SearchProgress p = m_progress.value_or(SearchProgress{});
    const size_t current = std::min(p.mapsDone, m_mapsTotal == 0 ? 0 : m_mapsTotal - 1);
    // The map being searched: the first map not done (indices are places in the map list).
    const std::string name = current < m_maps.size() ? m_maps[current].name : std::string();
    m_status = {Format(TextId::FindAllRunning, {std::to_string(std::min(p.mapsDone + 1, m_mapsTotal)),
                                                std::to_string(m_mapsTotal), name, std::to_string(p.filesDone),
                                                std::to_string(p.filesTotal), std::to_string(Count())}),
                false};
}

void FindAllView::ShowFinished() {
    std::vector<bool> withRows(m_maps.size(), false);
    for (int map : m_mapOfRow) withRows[static_cast<size_t>(map)] = true;
    const size_t mapsWithRows = static_cast<size_t>(std::count(withRows.begin(), withRows.end(), true));
    m_status = {Format(TextId::FindAllDone, {std::to_string(Count()), std::to_string(mapsWithRows),
                                             std::to_string(m_mapsTotal)}),
                !m_skipped.empty()};
    for (const SearchSkipped& s : m_skipped) {
        const std::string& name =
            s.mapIndex >= 0 && s.mapIndex < static_cast<int>(m_maps.size()) ? m_maps[static_cast<size_t>(s.mapIndex)].name
                                                                               : std::string();
        m_status.text += "  ·  " + Format(TextId::FindAllSkipped, {std::to_string(s.mapIndex), name,
                                                                  ServerRelativePath(m_serverPath, s.path)});
    }
}

void FindAllView::AppendCellText(int row, int column, std::string& out) const {
    if (row < 0 || row >= Count()) return;
    const int storeRow = StoreRow(row);
    switch (column) {
        case FIND_COL_MAP: {
            const int map = m_mapOfRow[static_cast<size_t>(row)];
            out += std::to_string(map);
            out += ' ';
            out += m_maps[static_cast<size_t>(map)].name;
            return;
        }
        case FIND_COL_FILE: out += ServerRelativePath(m_serverPath, m_rows.File(storeRow)); return;
        default:
            if (column > FIND_COL_FILE && column < kFindAllColumnCount)
                m_rows.AppendCellText(storeRow, column - FIND_COL_FIRST_ROW_CELL, out);
            return;
    }
}

std::string FindAllView::CellText(int row, int column) const {
    std::string text;
    AppendCellText(row, column, text);
    return text;
}

FoundTarget FindAllView::Target(int row) const {
    FoundTarget t;
    if (row < 0 || row >= Count()) return t;
    const int storeRow = StoreRow(row);
    t.mapIndex = m_mapOfRow[static_cast<size_t>(row)];
    t.mapEntry = m_maps[static_cast<size_t>(t.mapIndex)].entry;
    t.mapName = m_maps[static_cast<size_t>(t.mapIndex)].name;
    t.file = m_rows.File(storeRow);
    t.key = KeyOfPlacement(m_rows.Block(storeRow));
    t.occurrence = m_occurrenceOfRow[static_cast<size_t>(row)];
    return t;
}

OpenFoundOutcome FindAllView::Open(int row, CPlacementDlg& dlg, DialogHost& host) {
    if (row < 0 || row >= Count()) return OpenFoundOutcome::PlacementGone;
    const FoundTarget target = Target(row);
    const OpenFoundOutcome outcome = OpenFoundPlacement(dlg, host, target);
    switch (outcome) {
        case OpenFoundOutcome::Selected:
            m_status = {Format(TextId::FindAllOpened, {target.mapName, CellText(row, FIND_COL_FIRST_ROW_CELL + static_cast<int>(COL_NAME))}),
                        false};
            break;
        case OpenFoundOutcome::MapNotListed:
            m_status = {Format(TextId::FindAllMapNotListed, {target.mapName}), true};
            break;
        case OpenFoundOutcome::PlacementGone:
            m_status = {Format(TextId::FindAllPlacementGone,
                               {target.mapName, ServerRelativePath(m_serverPath, target.file)}),
                        true};
            break;
        case OpenFoundOutcome::HiddenByListFilter: break;   // the window clears the filter and asks again
    }
    return outcome;
}

OpenFoundOutcome OpenFoundPlacement(CPlacementDlg& dlg, DialogHost& host, const FoundTarget& target) {
    const int index = ListedMapIndex(dlg, host, target);
    if (index < 0) return OpenFoundOutcome::MapNotListed;
    // The map shown is the one selected: no reload (nor a lost edit area) when it still holds
    // the placement.
    int storeRow = host.ListBoxSelection(IDC_MAP_LIST) == index ? StoreRowOf(dlg.Rows(), target) : -1;
    if (storeRow < 0) {
        host.ListBoxSetSelection(IDC_MAP_LIST, index);
        dlg.LoadMapPlacements();
        storeRow = StoreRowOf(dlg.Rows(), target);
    }
    if (storeRow < 0) return OpenFoundOutcome::PlacementGone;
    const int listRow = dlg.ListRows().ViewRow(storeRow);
    if (listRow < 0) return OpenFoundOutcome::HiddenByListFilter;
    // The placement found is the one selection: a delete right after must not take other rows.
    PlacementListHost& list = host.Placements();
    if (list.NextSelectedRow(-1) >= 0) list.RowsRearranged({}, -1);
    dlg.ShowFoundRow(listRow);
    return OpenFoundOutcome::Selected;
}

}  // namespace morvi
