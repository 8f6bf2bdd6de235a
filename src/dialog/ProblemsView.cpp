#include "dialog/ProblemsView.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "data/region/MapRegionFiles.h"
#include "data/text/GbkCodec.h"
#include "dialog/CPlacementDlg.h"
#include "dialog/WriteStatus.h"
#include "document/ServerMaps.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

std::string BytesOf(const PlacementRecord& record) {
    std::string bytes;
    AppendPlacementBytes(bytes, record.block, record.script);
    return bytes;
}

// A stored script path ends at its first zero byte, as the window shows it.
std::string ScriptShown(const std::string& stored) {
    return GbkToUtf8(std::string_view(stored).substr(0, std::min(stored.size(), stored.find('\0'))));
}

std::string HiddenWords(uint32_t hidden) {
    static constexpr std::pair<uint32_t, TextId> kWords[] = {
        {kHiddenEmptyName, TextId::ProblemsHiddenEmptyName},
        {kHiddenTemplateZero, TextId::ProblemsHiddenTemplateZero},
        {kHiddenTemplateBeyondTable, TextId::ProblemsHiddenTemplateBeyond},
        {kHiddenXTooLarge, TextId::ProblemsHiddenXTooLarge},
        {kHiddenYTooLarge, TextId::ProblemsHiddenYTooLarge},
        {kHiddenNotCounted, TextId::ProblemsHiddenNotCounted},
    };
    std::string text;
    for (const auto& [bit, id] : kWords)
        if (hidden & bit) text += (text.empty() ? "" : ", ") + std::string(Text(id));
    return text;
}

// Which record of its file with the same bytes the finding is about (0: the first in file
// order): records with the same bytes have the same findings, one of each code, except that
// every copy after the first of the map is an exact duplicate instead.
void CountCopies(std::vector<ProblemEntry>& entries, std::vector<int>& copies) {
    std::map<std::tuple<std::string, FindingCode, std::string>, int> seen;
    copies.assign(entries.size(), 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        const MapFinding& f = entries[i].finding;
        if (!f.aboutRecord) continue;
        // A copy of a record of another file is the first of its bytes in its own file.
        const bool earlierHere = f.code == FindingCode::ExactDuplicate && f.otherFile == f.file;
        copies[i] = seen[{f.file, f.code, BytesOf(f.record)}]++ + (earlierHere ? 1 : 0);
    }
}

std::vector<ProblemEntry> EntriesOf(const FindingsResult& result, int mapIndex, const std::string& name,
                                    const std::string& directory) {
    std::vector<ProblemEntry> entries;
    for (const std::string& file : result.unreadable) {
        ProblemEntry& e = entries.emplace_back();
        e.mapIndex = mapIndex;
        e.mapName = name;
        e.mapDirectory = directory;
        e.unreadable = true;
        e.finding.file = file;
    }
    for (const MapFinding& f : result.findings) {
        ProblemEntry& e = entries.emplace_back();
        e.mapIndex = mapIndex;
        e.mapName = name;
        e.mapDirectory = directory;
        e.finding = f;
    }
    return entries;
}

}  // namespace

// What the worker hands over, under the lock.
struct ProblemsView::Shared {
    std::mutex lock;
    std::vector<ProblemEntry> found;   // not yet taken in
    size_t mapsDone = 0, mapsTotal = 0, files = 0;
    std::string current;               // the map being checked
    bool finished = false;
    bool mapListMissing = false;
    std::atomic<bool> cancel{false};
};

ProblemsView::ProblemsView(CPlacementDlg& dlg, DialogHost& host) : m_dlg(dlg), m_host(host) {}

ProblemsView::~ProblemsView() {
    if (m_shared) m_shared->cancel = true;
    if (m_worker.joinable()) m_worker.join();
}

std::string ProblemsView::Heading(ProblemsColumn column) {
    switch (column) {
        case ProblemsColumn::Map: return std::string(Text(TextId::ProblemsColumnMap));
        case ProblemsColumn::File: return std::string(Text(TextId::ProblemsColumnFile));
        case ProblemsColumn::Offset: return std::string(Text(TextId::ProblemsColumnOffset));
        case ProblemsColumn::Row: return std::string(Text(TextId::ProblemsColumnRow));
        case ProblemsColumn::Reason:
        case ProblemsColumn::Count: break;
    }
    return std::string(Text(TextId::ProblemsColumnReason));
}

std::string ProblemsView::Reason(const ProblemEntry& entry) const {
    if (entry.unreadable) return std::string(Text(TextId::ProblemsUnreadable));
    const MapFinding& f = entry.finding;
    const NpcPlacement& p = f.record.block;
    const auto n = [](auto v) { return std::to_string(v); };
    switch (f.code) {
        case FindingCode::HeaderCutOff: return Format(TextId::ProblemsHeaderCutOff, {n(f.length)});
        case FindingCode::RecordCutOff: return Format(TextId::ProblemsRecordCutOff, {n(f.length), n(f.present)});
        case FindingCode::ForeignBytes: return Format(TextId::ProblemsForeignBytes, {n(f.length), n(f.present)});
        case FindingCode::CountMismatch: return Format(TextId::ProblemsCountMismatch, {n(f.count), n(f.records)});
        case FindingCode::TemplateOutsideTable:
            return Format(TextId::ProblemsTemplateOutside, {n(p.TemplateIndex()), n(f.templateCount - 1)});
        case FindingCode::HiddenRecord: return Format(TextId::ProblemsHidden, {HiddenWords(f.hidden)});
        case FindingCode::NameNotGbk: return std::string(Text(TextId::ProblemsNameNotGbk));
        case FindingCode::ScriptNotGbk: return std::string(Text(TextId::ProblemsScriptNotGbk));
        case FindingCode::ScriptWithoutBackslash:
            return Format(TextId::ProblemsScriptWithoutBackslash, {ScriptShown(f.record.script)});
        case FindingCode::ScriptMissing: return Format(TextId::ProblemsScriptMissing, {ScriptShown(f.record.script)});
        case FindingCode::DuplicateKey: return Format(TextId::ProblemsDuplicateKey, {n(f.otherOffset)});
        case FindingCode::ExactDuplicate:
            return Format(TextId::ProblemsExactDuplicate,
                          {ServerRelativePath(m_dlg.ServerPath(), f.otherFile), n(f.otherOffset)});
    }
    return {};
}

std::string ProblemsView::Cell(size_t index, ProblemsColumn column) const {
    const ProblemEntry& e = m_entries[index];
    switch (column) {
        case ProblemsColumn::Map: return e.mapName;
        case ProblemsColumn::File: return ServerRelativePath(m_dlg.ServerPath(), e.finding.file);
        case ProblemsColumn::Offset: return e.unreadable ? std::string() : std::to_string(e.finding.offset);
        case ProblemsColumn::Row: {
            // The list row as the user sees it (sorted and narrowed), counted from 1.
            if (!LoadedMapEntry(e) || e.finding.row < 0) return {};
            const int viewRow = m_dlg.ListRows().ViewRow(e.finding.row);
            return viewRow < 0 ? std::string() : std::to_string(viewRow + 1);
        }
        case ProblemsColumn::Reason:
        case ProblemsColumn::Count: break;
    }
    return Reason(e);
}

bool ProblemsView::LoadedMapEntry(const ProblemEntry& entry) const {
    const MapDocument& doc = m_dlg.Document();
    return doc.Loaded() && entry.mapDirectory == doc.MapDirectory();
}

// --- checking ----------------------------------------------------------------------------------

void ProblemsView::ReplaceMapEntries(const std::string& directory, std::vector<ProblemEntry> entries) {
    // Rows of the loaded map's findings are the list's rows now, found by file and bytes.
    const MapDocument& doc = m_dlg.Document();
    if (doc.Loaded() && directory == doc.MapDirectory()) {
        std::vector<int> copies;
        CountCopies(entries, copies);
        std::map<std::pair<std::string, std::string>, std::vector<size_t>> wanted;   // (file, bytes) -> entries
        std::set<std::string> files;
        for (size_t i = 0; i < entries.size(); ++i) {
            MapFinding& f = entries[i].finding;
            f.row = -1;
            if (!f.aboutRecord) continue;
            wanted[{f.file, BytesOf(f.record)}].push_back(i);
            files.insert(f.file);
        }
        const PlacementRowStore& rows = doc.Rows();
        std::map<std::pair<std::string, std::string>, int> met;
        for (int row = rows.Count() - 1; row >= 0 && !wanted.empty(); --row) {
            const std::string& file = rows.File(row);
            if (!files.count(file)) continue;
            const std::pair<std::string, std::string> id{file, BytesOf(rows.Record(row))};
            const auto it = wanted.find(id);
            if (it == wanted.end()) continue;
            const int copy = met[id]++;
            for (size_t i : it->second)
                if (copies[i] == copy) entries[i].finding.row = row;
        }
    }
    if (!m_everyMap) {
        m_entries = std::move(entries);
        return;
    }
    // In the map list's order: the map's lines take the place of its former ones.
    const auto first = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const ProblemEntry& e) { return e.mapDirectory == directory; });
    const size_t at = static_cast<size_t>(first - m_entries.begin());
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&](const ProblemEntry& e) { return e.mapDirectory == directory; }),
                    m_entries.end());
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(std::min(at, m_entries.size())),
                     std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
}

void ProblemsView::CheckLoadedMap() {
    Cancel();
    m_everyMap = false;
    RecheckLoadedMap();
}

void ProblemsView::RecheckLoadedMap() {
    MapDocument& doc = m_dlg.Document();
    m_shown = true;
    if (!doc.Loaded()) {
        m_everyMap = false;
        m_entries.clear();
        m_status = std::string(Text(TextId::ProblemsNoMap));
        return;
    }
    FindingsOptions options;
    options.serverDirectory = m_dlg.ServerPath();
    options.templateCount = doc.TemplateCount();
    const FindingsResult result = FindInRegionFiles(doc.LoadedFiles(), options);
    m_generation = doc.Generation();
    const int selected = m_host.ListBoxSelection(IDC_MAP_LIST);
    const std::string name = doc.MapName();
    if (!m_everyMap) {
        m_files = result.filesChecked;
        m_maps = 1;
    }
    ReplaceMapEntries(doc.MapDirectory(), EntriesOf(result, selected, name, doc.MapDirectory()));
    ShowSummary(false);
}

void ProblemsView::StartEveryMap() {
    Cancel();
    m_shown = true;
    m_everyMap = true;
    m_entries.clear();
    m_files = m_maps = m_mapsDone = m_mapsTotal = 0;
    m_shared = std::make_shared<Shared>();
    m_generation = m_dlg.Document().Generation();
    const std::string server = m_dlg.ServerPath();
    const int templates = m_host.ListBoxCount(IDC_TEMPLATE_LIST);
    m_worker = std::thread([shared = m_shared, server, templates] {
        const auto maps = ReadServerMaps(server);
        {
            std::lock_guard<std::mutex> hold(shared->lock);
            if (!maps) {
                shared->mapListMissing = true;
                shared->finished = true;
                return;
            }
            shared->mapsTotal = maps->size();
        }
        FindingsOptions options;
        options.serverDirectory = server;
        options.templateCount = templates;
        for (const ServerMap& map : *maps) {
            if (shared->cancel) break;
            {
                std::lock_guard<std::mutex> hold(shared->lock);
                shared->current = map.name;
            }
            FindingsResult result;
            if (!map.directory.empty())
                result = FindInRegionFiles(ListMapRegionFiles(map.directory), options, {}, &shared->cancel);
            std::vector<ProblemEntry> entries = EntriesOf(result, map.index, map.name, map.directory);
            std::lock_guard<std::mutex> hold(shared->lock);
            shared->found.insert(shared->found.end(), std::make_move_iterator(entries.begin()),
                                 std::make_move_iterator(entries.end()));
            shared->files += result.filesChecked;
            if (!result.cancelled) ++shared->mapsDone;
        }
        std::lock_guard<std::mutex> hold(shared->lock);
        shared->finished = true;
    });
    m_status = Format(TextId::ProblemsProgress, {"0", "0", ""});
}

void ProblemsView::Cancel() {
    if (!m_worker.joinable()) return;
    m_shared->cancel = true;
    m_worker.join();
    Poll();
}

bool ProblemsView::Poll() {
    bool changed = false;
    if (m_shared) {
        std::vector<ProblemEntry> found;
        bool finished = false, missing = false;
        std::string current;
        {
            std::lock_guard<std::mutex> hold(m_shared->lock);
            found.swap(m_shared->found);
            finished = m_shared->finished;
            missing = m_shared->mapListMissing;
            current = m_shared->current;
            m_mapsDone = m_shared->mapsDone;
            m_mapsTotal = m_shared->mapsTotal;
            m_files = m_shared->files;
        }
        m_maps = m_mapsDone;
        // Lines come map by map; the loaded map's get the list's rows.
        for (size_t i = 0; i < found.size();) {
            size_t end = i;
            while (end < found.size() && found[end].mapDirectory == found[i].mapDirectory) ++end;
            const std::string directory = found[i].mapDirectory;
            std::vector<ProblemEntry> part(std::make_move_iterator(found.begin() + static_cast<std::ptrdiff_t>(i)),
                                           std::make_move_iterator(found.begin() + static_cast<std::ptrdiff_t>(end)));
            if (LoadedMapEntry(part.front())) {
                ReplaceMapEntries(directory, std::move(part));
            } else {
                m_entries.insert(m_entries.end(), std::make_move_iterator(part.begin()),
                                 std::make_move_iterator(part.end()));
            }
            i = end;
            changed = true;
        }
        const std::string before = m_status;
        if (finished) {
            if (m_worker.joinable()) m_worker.join();
            const bool cancelled = m_shared->cancel;
            m_shared.reset();
            if (missing) {
                m_status = std::string(Text(TextId::ProblemsMapSkipped));
            } else {
                ShowSummary(cancelled);
            }
        } else {
            m_status = Format(TextId::ProblemsProgress,
                              {std::to_string(m_mapsDone), std::to_string(m_mapsTotal), current});
        }
        changed = changed || m_status != before;
    }
    // The loaded map was read or written since its lines were made: they are made again.
    const MapDocument& doc = m_dlg.Document();
    if (m_shown && !Running() && doc.Generation() != m_generation) {
        if (doc.Loaded() || !m_everyMap) {
            RecheckLoadedMap();
        } else {
            m_generation = doc.Generation();
        }
        changed = true;
    }
    return changed;
}

void ProblemsView::ShowSummary(bool cancelled) {
    const size_t findings = static_cast<size_t>(
        std::count_if(m_entries.begin(), m_entries.end(), [](const ProblemEntry& e) { return !e.unreadable; }));
    m_status = FormatChosen(cancelled ? TextId::ProblemsCancelled : TextId::ProblemsSummary,
                            {std::to_string(findings), std::to_string(m_maps), std::to_string(m_files)});
}

// --- what a line leads to ------------------------------------------------------------------------

ProblemsView::Shown ProblemsView::OnActivate(size_t index) {
    if (index >= m_entries.size()) return Shown::NoRecord;
    ProblemEntry entry = m_entries[index];
    if (!entry.finding.aboutRecord) return Shown::NoRecord;
    if (!LoadedMapEntry(entry)) {
        // A finding of another map: that map is selected and loaded, as a click in the map list does.
        if (entry.mapIndex < 0 || entry.mapIndex >= m_host.ListBoxCount(IDC_MAP_LIST)) return Shown::NotListed;
        m_host.ListBoxSetSelection(IDC_MAP_LIST, entry.mapIndex);
        m_dlg.LoadMapPlacements();
        // The lines stay; the new map's are made again with its rows.
        Poll();
        const auto again = std::find_if(m_entries.begin(), m_entries.end(), [&](const ProblemEntry& e) {
            return e.finding.file == entry.finding.file && e.finding.offset == entry.finding.offset &&
                   e.finding.code == entry.finding.code;
        });
        if (again == m_entries.end()) return Shown::NotListed;
        entry = *again;
    }
    const int row = entry.finding.row;
    if (row < 0) {
        m_status = std::string(Text(TextId::ProblemsRowNotListed));
        return Shown::NotListed;
    }
    const int viewRow = m_dlg.ListRows().ViewRow(row);
    if (viewRow < 0) {
        m_status = std::string(Text(TextId::ProblemsRowFilteredOut));
        return Shown::FilteredOut;
    }
    PlacementListHost& list = m_host.Placements();
    list.RowsRearranged({viewRow}, viewRow);
    list.ScrollRowToTop(viewRow);
    return Shown::Selected;
}

std::string ProblemsView::FixText(size_t index) const {
    if (index >= m_entries.size()) return {};
    switch (m_entries[index].finding.fix) {
        case FindingFix::DeleteDuplicate: return std::string(Text(TextId::ProblemsFixDuplicate));
        case FindingFix::DeleteHidden: return std::string(Text(TextId::ProblemsFixHidden));
        case FindingFix::None: break;
    }
    return {};
}

bool ProblemsView::CanFix(size_t index) const {
    return index < m_entries.size() && m_entries[index].finding.fix != FindingFix::None && !Running() &&
           LoadedMapEntry(m_entries[index]);
}

bool ProblemsView::OnFix(size_t index) {
    if (index >= m_entries.size() || m_entries[index].finding.fix == FindingFix::None) return false;
    const ProblemEntry entry = m_entries[index];
    if (!LoadedMapEntry(entry)) {
        m_status = std::string(Text(TextId::ProblemsFixOtherMap));
        return false;
    }
    if (Running()) return false;
    const std::string file = ServerRelativePath(m_dlg.ServerPath(), entry.finding.file);
    const MessageAnswer answer =
        m_host.ShowMessage(Format(TextId::ProblemsFixQuestion, {file, Reason(entry)}),
                           std::string(Text(TextId::DeleteCaption)), MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageAnswer::Yes) return false;
    const auto done = ApplyFindingFix(m_dlg.Document(), entry.finding);
    if (!done) {
        m_status = Format(TextId::ProblemsFixRefused, {file});
        m_host.SetItemText(IDC_HINT, m_status);
        return false;
    }
    // The list shows the files as they are now, the user's place kept; the lines follow.
    m_dlg.ReloadKeepingPlace();
    RecheckLoadedMap();
    m_status = std::string(Text(TextId::ProblemsFixDone));
    m_host.SetItemText(IDC_HINT, m_status);
    return true;
}

}  // namespace morvi
