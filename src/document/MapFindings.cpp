#include "document/MapFindings.h"

#include <filesystem>
#include <map>
#include <system_error>
#include <unordered_map>

#include "data/platform/WidePath.h"
#include "data/region/ListingRule.h"
#include "data/region/RegionRecordReader.h"
#include "data/server/ServerPath.h"
#include "data/text/GbkCodec.h"
#include "document/MapDocument.h"

namespace morvi {
namespace {

// Undecodable bytes come back from the codec as U+F780..U+F7FF: EF 9E 80 .. EF 9F BF.
bool HasEscapedCodePoint(std::string_view utf8) {
    for (size_t i = 0; i + 2 < utf8.size(); ++i)
        if (static_cast<uint8_t>(utf8[i]) == 0xEF) {
            const auto second = static_cast<uint8_t>(utf8[i + 1]);
            if (second == 0x9E || second == 0x9F) return true;
        }
    return false;
}

// A stored script path ends at its first zero byte, as the window shows it.
std::string_view ScriptText(std::string_view stored) {
    const size_t zero = stored.find('\0');
    return zero == std::string_view::npos ? stored : stored.substr(0, zero);
}

uint64_t PackKey(const NpcPlacement& p) {
    return (uint64_t{p.TemplateIndex()} << 48) | (uint64_t{p.PosX()} << 32) |
           (uint64_t{static_cast<uint32_t>(p.PosY())} << 16) | (uint64_t{p.offsetX} << 8) | p.offsetY;
}

std::string Bytes(const NpcPlacement& block, std::string_view script) {
    std::string bytes;
    AppendPlacementBytes(bytes, block, script);
    return bytes;
}

// Turns the defects of the record walk into findings. Which cut-off record lies beyond the
// count is known only from its index, so the walk's own loop finishes those.
class DefectCollector : public RegionReporter {
public:
    explicit DefectCollector(std::vector<MapFinding>& out, const std::string& file) : m_out(out), m_file(file) {}
    void Corruption(const RegionDefect& d) override {
        MapFinding f;
        f.file = m_file;
        f.offset = d.offset;
        f.count = d.count;
        f.records = d.records;
        f.length = d.length;
        f.present = d.present;
        switch (d.kind) {
            case RegionDefectKind::HeaderCutOff: f.code = FindingCode::HeaderCutOff; break;
            case RegionDefectKind::CutOffRecord:
            case RegionDefectKind::LengthPastEnd: f.code = FindingCode::RecordCutOff; break;
            case RegionDefectKind::BytesAfterLastRecord:
            case RegionDefectKind::CountAboveRecords:
                f.code = FindingCode::CountMismatch;
                f.offset = static_cast<size_t>(kNpcSectionOffset);
                break;
        }
        m_out.push_back(std::move(f));
    }

private:
    std::vector<MapFinding>& m_out;
    const std::string& m_file;
};

struct SeenRecord {
    std::string file;
    size_t offset = 0;
};

}  // namespace

std::string_view FindingCodeName(FindingCode code) {
    switch (code) {
        case FindingCode::HeaderCutOff: return "header-cut-off";
        case FindingCode::RecordCutOff: return "record-cut-off";
        case FindingCode::CountMismatch: return "count-mismatch";
        case FindingCode::ForeignBytes: return "foreign-bytes";
        case FindingCode::TemplateOutsideTable: return "template-outside-table";
        case FindingCode::HiddenRecord: return "hidden-record";
        case FindingCode::NameNotGbk: return "name-not-gbk";
        case FindingCode::ScriptNotGbk: return "script-not-gbk";
        case FindingCode::ScriptWithoutBackslash: return "script-without-backslash";
        case FindingCode::ScriptMissing: return "script-missing";
        case FindingCode::DuplicateKey: return "duplicate-key";
        case FindingCode::ExactDuplicate: return "exact-duplicate";
    }
    return "unknown";
}

std::vector<std::string_view> HiddenReasonNames(uint32_t reasons) {
    static constexpr std::pair<uint32_t, std::string_view> names[] = {
        {kHiddenEmptyName, "empty-name"},         {kHiddenTemplateZero, "template-zero"},
        {kHiddenTemplateBeyondTable, "template-beyond-table"}, {kHiddenXTooLarge, "x-not-below-1000"},
        {kHiddenYTooLarge, "y-not-below-500"},    {kHiddenNotCounted, "not-counted"},
    };
    std::vector<std::string_view> out;
    for (const auto& [bit, name] : names)
        if (reasons & bit) out.push_back(name);
    return out;
}

uint32_t HiddenReasonsOf(const NpcPlacement& p, int templateCount) {
    uint32_t reasons = 0;
    if (p.name[0] == 0 && p.name[1] == 0) reasons |= kHiddenEmptyName;
    if (p.TemplateIndex() == 0) reasons |= kHiddenTemplateZero;
    else if (p.TemplateIndex() >= templateCount) reasons |= kHiddenTemplateBeyondTable;
    if (p.PosX() >= kListedCoordinateLimit) reasons |= kHiddenXTooLarge;
    if (p.PosYDoubled() >= kListedCoordinateLimit) reasons |= kHiddenYTooLarge;
    return reasons;
}

bool HasUndecodableGbk(std::string_view gbk) {
    for (const char c : gbk)
        if (static_cast<uint8_t>(c) >= 0x80) return HasEscapedCodePoint(GbkToUtf8(gbk));
    return false;
}

bool ScriptFileExists(const std::string& serverDirectory, std::string_view storedScript) {
    const std::string utf8 = GbkToUtf8(ScriptText(storedScript));
    const std::string tail = !utf8.empty() && utf8[0] == '\\' ? utf8 : "\\" + utf8;
    std::error_code ec;
    return std::filesystem::is_regular_file(FsPath(ServerFilePath(serverDirectory, tail)), ec);
}

FindingsResult FindInRegionFiles(const std::vector<std::string>& files, const FindingsOptions& options,
                                 const FindingsProgress& progress, const std::atomic<bool>* cancel) {
    FindingsResult result;
    std::vector<MapFinding>& out = result.findings;
    // Listed records in load order, by their finding indexes: rows are numbered at the end.
    int listed = 0;
    std::vector<std::pair<size_t, int>> rowOf;   // (finding, listed ordinal)
    // The records of the whole map by their bytes, for exact duplicates across files.
    std::unordered_map<std::string, SeenRecord> seen;
    const bool judgeTemplates = options.templateCount >= 0;
    RegionRecordReader reader;
    for (size_t fi = 0; fi < files.size(); ++fi) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            result.cancelled = true;
            break;
        }
        const std::string& path = files[fi];
        DefectCollector defects(out, path);
        reader = RegionRecordReader(&defects);
        if (!reader.Open(path, RegionRecordReader::Walk::ToEnd)) {
            result.unreadable.push_back(path);
            if (progress) progress(fi + 1, files.size());
            continue;
        }
        ++result.filesChecked;
        const int count = reader.Count();
        // Key -> (records so far, first record's offset), for this file.
        std::unordered_map<uint64_t, std::pair<int, size_t>> keys;
        for (RegionRecord r; reader.Next(r);) {
            if (!r.complete) {
                // The walk reported it as cut off; beyond the count it is foreign bytes.
                if (r.index >= count && !out.empty() && out.back().code == FindingCode::RecordCutOff &&
                    out.back().offset == r.offset)
                    out.back().code = FindingCode::ForeignBytes;
                continue;
            }
            const NpcPlacement& p = r.block;
            const bool counted = r.index < count;
            uint32_t hidden = judgeTemplates ? HiddenReasonsOf(p, options.templateCount)
                                             : HiddenReasonsOf(p, 0x10000) & ~kHiddenTemplateBeyondTable;
            if (!counted) hidden |= kHiddenNotCounted;
            const bool isListed = judgeTemplates && hidden == 0;
            auto& key = keys[PackKey(p)];
            const int occurrence = key.first++;
            if (occurrence == 0) key.second = r.offset;

            MapFinding base;
            base.file = path;
            base.offset = r.offset;
            base.aboutRecord = true;
            base.record.block = p;
            base.record.script.assign(r.script);
            base.recordIndex = r.index;
            base.occurrence = occurrence;
            base.hidden = hidden;
            const auto add = [&](FindingCode code, size_t offset) -> MapFinding& {
                MapFinding& f = out.emplace_back(base);
                f.code = code;
                f.offset = offset;
                if (isListed) rowOf.emplace_back(out.size() - 1, listed);
                return f;
            };

            const int t = p.TemplateIndex();
            if (judgeTemplates && (t == 0 || t >= options.templateCount)) {
                MapFinding& f = add(FindingCode::TemplateOutsideTable, r.offset);
                f.templateCount = options.templateCount;
                if (counted) f.fix = FindingFix::DeleteHidden;
            } else if (hidden & ~kHiddenNotCounted) {
                MapFinding& f = add(FindingCode::HiddenRecord, r.offset);
                if (counted && judgeTemplates) f.fix = FindingFix::DeleteHidden;
            }
            if (HasUndecodableGbk(p.Name())) add(FindingCode::NameNotGbk, r.offset + offsetof(NpcPlacement, name));
            if (p.HasScript()) {
                const size_t at = r.offset + kPlacementBlockSize - 1;
                if (HasUndecodableGbk(ScriptText(r.script))) add(FindingCode::ScriptNotGbk, at);
                if (r.script.empty() || r.script[0] != '\\') add(FindingCode::ScriptWithoutBackslash, at);
                if (!options.serverDirectory.empty() && !ScriptFileExists(options.serverDirectory, r.script))
                    add(FindingCode::ScriptMissing, at);
            }
            std::string bytes = Bytes(p, r.script);
            const auto same = seen.find(bytes);
            if (same != seen.end()) {
                MapFinding& f = add(FindingCode::ExactDuplicate, r.offset);
                f.otherFile = same->second.file;
                f.otherOffset = same->second.offset;
                if (counted) f.fix = FindingFix::DeleteDuplicate;
            } else {
                if (occurrence > 0) {
                    MapFinding& f = add(FindingCode::DuplicateKey, r.offset);
                    f.otherFile = path;
                    f.otherOffset = key.second;
                }
                seen.emplace(std::move(bytes), SeenRecord{path, r.offset});
            }
            if (isListed) ++listed;
            if (cancel && (r.index & 1023) == 1023 && cancel->load(std::memory_order_relaxed)) {
                result.cancelled = true;
                break;
            }
        }
        if (progress) progress(fi + 1, files.size());
        if (result.cancelled) break;
    }
    // Row 0 is the last record listed.
    if (!result.cancelled)
        for (const auto& [finding, ordinal] : rowOf) out[finding].row = listed - 1 - ordinal;
    return result;
}

Expected<ImportReport, DocumentError> ApplyFindingFix(MapDocument& document, const MapFinding& finding) {
    if (finding.fix == FindingFix::None || !finding.aboutRecord) {
        DocumentError error;
        error.code = DocumentErrorCode::NoSuchRow;
        error.file = finding.file;
        return MakeUnexpected(error);
    }
    ImportTarget target;
    const NpcPlacement& p = finding.record.block;
    target.key = {p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
    target.occurrence = finding.occurrence;
    target.bytes = Bytes(p, finding.record.script);
    ImportPlan plan;
    ImportFilePlan& file = plan.files.emplace_back();
    file.file = finding.file;
    file.deletions.push_back(std::move(target));
    Expected<ImportReport, ImportFailure> done = document.Import(plan);
    if (!done) return MakeUnexpected(done.error().error);
    return *done;
}

}  // namespace morvi
