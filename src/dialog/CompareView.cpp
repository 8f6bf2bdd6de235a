#include "dialog/CompareView.h"

#include <algorithm>
#include <array>

#include "dialog/DocumentTexts.h"
#include "document/PlacementRowFormatter.h"
#include "document/ServerMaps.h"

namespace morvi {
namespace {

constexpr std::array<FindAllColumnInfo, kCompareColumnCount> kColumns{{
    {TextId::CompareColumnKind, 30},
    {TextId::FindAllColumnFile, 100},
    {TextId::CompareColumnKey, 80},
    {TextId::ColumnName, 70},
    {TextId::CompareColumnFields, 260},
}};

// The headings of the placement list's columns 0 to 9, which name the fields a change touches.
constexpr std::array<TextId, COL_FILE> kFieldNames{TextId::ColumnName,  TextId::ColumnPosX,  TextId::ColumnMoveX,
                                                   TextId::ColumnPosY,  TextId::ColumnMoveY, TextId::ColumnType,
                                                   TextId::ColumnGroup, TextId::ColumnSeries, TextId::ColumnMoney,
                                                   TextId::ColumnScript};

std::string Cell(const PlacementRecord& r, int column) {
    return PlacementRowFormatter::Cell(r.block, r.script, {}, column);
}

}  // namespace

const FindAllColumnInfo& CompareColumnOf(int column) {
    return kColumns[static_cast<size_t>(std::clamp(column, 0, kCompareColumnCount - 1))];
}

CompareView::CompareView(Wake wake) : m_wake(std::move(wake)) {}

CompareView::~CompareView() {
    Cancel();
    Wait();
}

void CompareView::Cancel() { m_cancel = true; }

void CompareView::Wait() {
    if (m_worker.joinable()) m_worker.join();
}

bool CompareView::Start(const Request& request) {
    Cancel();
    Wait();
    m_cancel = false;
    {
        std::lock_guard lock(m_mutex);
        m_pending.reset();
    }
    m_request = request;
    m_rows.clear();
    m_shown.clear();
    m_failure.reset();
    m_mapOnlyHere = false;
    m_done = false;
    if (request.mapEntry.empty()) {
        m_failure = FindAllStatus{std::string(Text(TextId::CompareNoMap)), true};
        return false;
    }
    if (request.otherServer.empty()) {
        m_failure = FindAllStatus{std::string(Text(TextId::CompareNoOther)), true};
        return false;
    }
    m_running = true;
    m_worker = std::thread([this, request] {
        CompareOptions options;
        options.oursTemplateCount = request.templateCount;
        options.theirsTemplateCount = ReadTemplateCount(request.otherServer);
        options.onlyEntry = request.mapEntry;
        auto result = CompareServers(request.server, request.otherServer, options, {}, &m_cancel);
        {
            std::lock_guard lock(m_mutex);
            m_pending = std::move(result);
        }
        if (m_wake) m_wake();
    });
    return true;
}

bool CompareView::TakeResult() {
    std::optional<Expected<ServerDiff, CompareError>> result;
    {
        std::lock_guard lock(m_mutex);
        result.swap(m_pending);
    }
    if (!result) return false;
    Wait();
    m_running = false;
    m_done = true;
    if (!*result) {
        m_failure = result->error() == CompareError::TheirsNoMapList
                        ? FindAllStatus{Format(TextId::CompareOtherNoMapList, {m_request.otherServer}), true}
                        : FindAllStatus{std::string(Text(TextId::CompareNoMap)), true};
        return true;
    }
    for (const MapDiff& map : (*result)->maps) {
        if (!map.ours) continue;
        m_mapOnlyHere = !map.theirs;
        for (const FileDiff& file : map.files) {
            const std::string shown = file.theirsPath.empty() ? Format(TextId::CompareFileOnlyHere, {file.relative})
                                      : file.oursPath.empty() ? Format(TextId::CompareFileOnlyThere, {file.relative})
                                                              : file.relative;
            for (const PlacementDiff& p : file.placements)
                m_rows.push_back({p.kind, shown, file.relative, p.key, p.occurrence, p.ours, p.theirs, p.fields});
        }
    }
    Rebuild();
    return true;
}

void CompareView::SetFilter(const std::string& text) {
    auto parsed = PlacementFilter::Parse(text);
    if (!parsed) {
        m_filterError = parsed.error();
        return;
    }
    m_filterError.reset();
    m_filter = std::move(*parsed);
    Rebuild();
}

void CompareView::Rebuild() {
    m_shown.clear();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        if (m_filter.Empty() || (r.ours && m_filter.Matches(*r.ours, r.fileKey)) ||
            (r.theirs && m_filter.Matches(*r.theirs, r.fileKey)))
            m_shown.push_back(static_cast<int>(i));
    }
}

DiffKind CompareView::KindOf(int row) const { return m_rows[static_cast<size_t>(m_shown[static_cast<size_t>(row)])].kind; }

std::string CompareView::CellText(int row, int column) const {
    if (row < 0 || row >= Count()) return {};
    const Row& r = m_rows[static_cast<size_t>(m_shown[static_cast<size_t>(row)])];
    const PlacementRecord& record = r.ours ? *r.ours : *r.theirs;
    switch (column) {
        case CMP_COL_KIND:
            return std::string(Text(r.kind == DiffKind::Added     ? TextId::CompareAdded
                                    : r.kind == DiffKind::Changed ? TextId::CompareChanged
                                                                  : TextId::CompareRemoved));
        case CMP_COL_FILE: return r.file;
        case CMP_COL_KEY: {
            std::string key = std::to_string(r.key.templateIndex) + "," + std::to_string(r.key.posX) + "," +
                              std::to_string(r.key.posY) + "," + std::to_string(r.key.offsetX) + "," +
                              std::to_string(r.key.offsetY);
            if (r.occurrence > 0) key += " #" + std::to_string(r.occurrence + 1);
            return key;
        }
        case CMP_COL_NAME: return Cell(record, COL_NAME);
        case CMP_COL_FIELDS: {
            if (r.kind != DiffKind::Changed) return {};
            std::string text;
            for (int c = 0; c < COL_FILE; ++c) {
                const std::string before = Cell(*r.theirs, c), after = Cell(*r.ours, c);
                if (before == after) continue;
                text += (text.empty() ? "" : "; ") +
                        Format(TextId::CompareFieldChange, {Text(kFieldNames[static_cast<size_t>(c)]), before, after});
            }
            if (r.fields & kDiffHidden)
                text += std::string(text.empty() ? "" : "; ") + std::string(Text(TextId::CompareHiddenBytes));
            return text;
        }
        default: return {};
    }
}

FindAllStatus CompareView::Status() const {
    if (m_filterError) return {FormatChosen(FilterErrorText(m_filterError->code), {m_filterError->term}), true};
    if (m_failure) return *m_failure;
    if (m_running) return {Format(TextId::CompareRunning, {m_request.mapName}), false};
    if (!m_done) return {};
    if (m_rows.empty()) return {Format(TextId::CompareSame, {m_request.mapName}), false};
    int added = 0, changed = 0, removed = 0;
    for (const Row& r : m_rows) (r.kind == DiffKind::Added ? added : r.kind == DiffKind::Changed ? changed : removed)++;
    FindAllStatus status{Format(TextId::CompareDone, {m_request.mapName, std::to_string(added), std::to_string(changed),
                                                      std::to_string(removed), std::to_string(Count()),
                                                      std::to_string(Total())}),
                         false};
    if (m_mapOnlyHere) status = {Format(TextId::CompareMapOnlyHere, {m_request.mapName}) + "  ·  " + status.text, true};
    return status;
}

}  // namespace morvi
