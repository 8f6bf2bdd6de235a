#include "document/ServerCompare.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "data/platform/FileReadAhead.h"
#include "data/region/ListingRule.h"
#include "data/region/MapRegionFiles.h"
#include "data/region/RegionRecordReader.h"
#include "data/server/ServerPath.h"
#include "document/PlacementDraft.h"
#include "document/PlacementRowFormatter.h"

namespace morvi {
namespace {

// The name tables' sizes: a code past them shows entry 0, which reads back as code 0.
constexpr int kTypeNames = 6, kGroupNames = 7, kSeriesNames = 5;

uint64_t PackKey(const NpcPlacement& p) {
    return (uint64_t{p.TemplateIndex()} << 48) | (uint64_t{p.PosX()} << 32) |
           (uint64_t{static_cast<uint32_t>(p.PosY())} << 16) | (uint64_t{p.offsetX} << 8) | p.offsetY;
}
PlacementKey KeyOf(const NpcPlacement& p) { return {p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY}; }

std::string Bytes(const PlacementRecord& r) {
    std::string out;
    AppendPlacementBytes(out, r.block, r.script);
    return out;
}

struct Record {
    PlacementRecord record;
    std::string bytes;
    uint64_t key = 0;
    int occurrence = 0;
    bool listed = false;
    int partner = -1;
};

struct ReadFileResult {
    bool readable = false;
    std::string foreign;   // every byte outside the counted records and the count itself
    std::vector<Record> records;
};

ReadFileResult ReadRegion(const std::string& path, int templateCount) {
    ReadFileResult out;
    std::string image;
    if (path.empty() || !ReadRegularFile(path, image)) return out;
    out.readable = true;
    RegionRecordReader reader;
    reader.Reset(image);
    std::unordered_map<uint64_t, int> seen;
    for (RegionRecord r; reader.Next(r);) {
        Record& rec = out.records.emplace_back();
        rec.record.block = r.block;
        rec.record.script.assign(r.script);
        rec.bytes = Bytes(rec.record);
        rec.key = PackKey(r.block);
        rec.occurrence = seen[rec.key]++;
        rec.listed = templateCount >= 0 && PassesListingRules(r.block, templateCount);
    }
    const size_t end = std::min(reader.EndOffset(), image.size());
    out.foreign = image.substr(0, std::min(image.size(), static_cast<size_t>(kNpcSectionOffset)));
    if (image.size() > static_cast<size_t>(kNpcSectionOffset) + 2)
        out.foreign += image.substr(kNpcSectionOffset + 2, std::min<size_t>(10, image.size() - kNpcSectionOffset - 2));
    out.foreign += '|';
    if (end >= static_cast<size_t>(kFirstRecordOffset)) out.foreign += image.substr(end);
    return out;
}

// The stored script the import writes for the path a row shows: it must already be in that form.
bool ScriptRoundTrips(const std::string& stored) {
    if (stored.empty() || stored[0] != '\\') return false;
    if (stored.find('\0') != std::string::npos || stored.find('/') != std::string::npos) return false;
    return stored.front() != ' ' && stored.back() != ' ' && stored.back() != '\t';
}

bool CodesRoundTrip(const NpcPlacement& p) {
    return p.npcType < kTypeNames && p.npcGroup < kGroupNames && p.npcSeries < kSeriesNames;
}

bool NameRoundTrips(const NpcPlacement& p) { return p.Name().size() <= kNameFieldSize - 1; }

constexpr int kValueColumns[] = {COL_NAME, COL_TYPE, COL_GROUP, COL_SERIES, COL_DROP, COL_SCRIPT};

std::string Cell(const PlacementRecord& r, int column) {
    return PlacementRowFormatter::Cell(r.block, r.script, {}, column);
}

// What import writes for a row showing `ours` paired with the record `theirs`: the fields
// whose shown texts differ are set from the row, the rest of `theirs` stays. nullopt when the
// row's texts cannot stand for `ours`.
std::optional<PlacementRecord> ImportedChange(const PlacementRecord& ours, const PlacementRecord& theirs,
                                              uint32_t* fields) {
    CheckedDraft draft;
    bool scriptKept = true;
    bool representable = true;
    for (int col : kValueColumns) {
        if (Cell(ours, col) == Cell(theirs, col)) continue;
        switch (col) {
            case COL_NAME:
                *fields |= kDiffName;
                representable &= NameRoundTrips(ours.block);
                draft.name = std::string(ours.block.Name());
                break;
            case COL_TYPE:
                *fields |= kDiffType;
                representable &= ours.block.npcType < kTypeNames;
                draft.type = ours.block.npcType;
                break;
            case COL_GROUP:
                *fields |= kDiffGroup;
                representable &= ours.block.npcGroup < kGroupNames;
                draft.group = ours.block.npcGroup;
                break;
            case COL_SERIES:
                *fields |= kDiffSeries;
                representable &= ours.block.npcSeries < kSeriesNames;
                draft.series = ours.block.npcSeries;
                break;
            case COL_DROP:
                *fields |= kDiffDrop;
                if (theirs.block.HasScript()) break;   // a drop beside a kept script has no place
                draft.drop = ours.block.HasScript() ? DropChoice::ForType() : DropChoice::Of(ours.block.dropCountOrScriptLength);
                break;
            case COL_SCRIPT:
                *fields |= kDiffScript;
                scriptKept = false;
                if (ours.block.HasScript()) representable &= ScriptRoundTrips(ours.script);
                draft.script = ours.block.HasScript() ? ours.script : std::string();
                break;
        }
    }
    if (!scriptKept && theirs.block.HasScript() && !ours.block.HasScript())
        draft.drop = DropChoice::Of(ours.block.dropCountOrScriptLength);
    if (!representable) return std::nullopt;
    PlacementRecord built = theirs;
    ApplyDraft(built, draft);
    return built;
}

// What import writes for a new row showing `ours`; nullopt when its texts cannot stand for it.
std::optional<PlacementRecord> ImportedAddition(const PlacementRecord& ours) {
    const NpcPlacement& p = ours.block;
    if (!NameRoundTrips(p) || !CodesRoundTrip(p) || (p.PosYDoubled() & 1)) return std::nullopt;
    if (p.HasScript() && !ScriptRoundTrips(ours.script)) return std::nullopt;
    CheckedDraft draft;
    draft.templateIndex = p.TemplateIndex();
    draft.name = std::string(p.Name());
    draft.posX = p.PosX();
    draft.posYDoubled = p.PosYDoubled();
    draft.offsetX = p.offsetX;
    draft.offsetY = p.offsetY;
    draft.type = p.npcType;
    draft.group = p.npcGroup;
    draft.series = p.npcSeries;
    draft.drop = DropChoice::Of(p.HasScript() ? 0 : p.dropCountOrScriptLength);
    draft.script = p.HasScript() ? ours.script : std::string();
    PlacementRecord built;
    ApplyDraft(built, draft);
    return built;
}

// Path below the map directory with '/' between names.
std::string RelativeTo(const std::string& directory, const std::string& path) {
    std::string prefix = CollapseSeparators(directory + "/");
    std::string full = CollapseSeparators(path);
    for (std::string* s : {&prefix, &full})
        for (char& c : *s)
            if (c == '\\') c = '/';
    if (full.compare(0, prefix.size(), prefix) == 0) return full.substr(prefix.size());
    return full;
}

FileDiff CompareFiles(const std::string& relative, const std::string& oursPath, const std::string& theirsPath,
                      int oursTemplates, int theirsTemplates) {
    FileDiff diff;
    diff.relative = relative;
    diff.oursPath = oursPath;
    diff.theirsPath = theirsPath;
    ReadFileResult ours = ReadRegion(oursPath, oursTemplates);
    ReadFileResult theirs = ReadRegion(theirsPath, theirsTemplates);
    if ((!oursPath.empty() && !ours.readable) || (!theirsPath.empty() && !theirs.readable)) {
        diff.problem = CarryProblem::Unreadable;
        return diff;
    }
    if (oursPath.empty()) diff.problem = CarryProblem::FileOnlyThere;
    else if (theirsPath.empty()) diff.problem = CarryProblem::FileOnlyHere;
    else if (ours.foreign != theirs.foreign) {
        diff.foreignDiffers = true;
        diff.problem = CarryProblem::ForeignDiffers;
    }

    // Pair by key and occurrence.
    std::map<std::pair<uint64_t, int>, int> theirsAt;
    for (size_t j = 0; j < theirs.records.size(); ++j)
        theirsAt[{theirs.records[j].key, theirs.records[j].occurrence}] = static_cast<int>(j);
    for (size_t i = 0; i < ours.records.size(); ++i) {
        const auto at = theirsAt.find({ours.records[i].key, ours.records[i].occurrence});
        if (at == theirsAt.end()) continue;
        ours.records[i].partner = at->second;
        theirs.records[static_cast<size_t>(at->second)].partner = static_cast<int>(i);
    }
    // Keys with several records some of which are hidden: rows pair otherwise than records.
    std::set<uint64_t> shared;
    for (const ReadFileResult* side : {&ours, &theirs}) {
        std::map<uint64_t, std::pair<int, bool>> byKey;   // count, any hidden
        for (const Record& r : side->records) {
            auto& k = byKey[r.key];
            ++k.first;
            k.second |= !r.listed;
        }
        for (const auto& [key, k] : byKey)
            if (k.first > 1 && k.second) shared.insert(key);
    }
    // Records both trees hold must keep their order; added ones must follow them all.
    int lastPartner = -1;
    size_t lastPaired = 0;
    bool anyPaired = false;
    for (size_t i = 0; i < ours.records.size(); ++i) {
        if (ours.records[i].partner < 0) continue;
        if (ours.records[i].partner < lastPartner && diff.problem == CarryProblem::None)
            diff.problem = CarryProblem::OrderDiffers;
        lastPartner = ours.records[i].partner;
        lastPaired = i;
        anyPaired = true;
    }

    const auto finish = [&](PlacementDiff& d, uint64_t key) {
        if (d.problem == CarryProblem::None && shared.count(key)) d.problem = CarryProblem::KeyShared;
        if (diff.problem != CarryProblem::None && d.problem == CarryProblem::None) d.problem = diff.problem;
    };
    const auto removal = [&](const Record& r) {
        PlacementDiff& d = diff.placements.emplace_back();
        d.kind = DiffKind::Removed;
        d.key = KeyOf(r.record.block);
        d.occurrence = r.occurrence;
        d.theirs = r.record;
        if (!r.listed) d.problem = CarryProblem::HiddenThere;
        finish(d, r.key);
    };
    // Removals are told where they stood: before the first of our records paired after them.
    size_t nextTheirs = 0;
    const auto removalsBefore = [&](int partner) {
        for (; nextTheirs < theirs.records.size() && static_cast<int>(nextTheirs) < partner; ++nextTheirs)
            if (theirs.records[nextTheirs].partner < 0) removal(theirs.records[nextTheirs]);
    };
    for (size_t i = 0; i < ours.records.size(); ++i) {
        const Record& r = ours.records[i];
        if (r.partner >= 0) {
            if (r.partner >= static_cast<int>(nextTheirs)) {
                removalsBefore(r.partner);
                nextTheirs = static_cast<size_t>(r.partner) + 1;
            }
            const Record& t = theirs.records[static_cast<size_t>(r.partner)];
            if (r.bytes == t.bytes) continue;
            PlacementDiff& d = diff.placements.emplace_back();
            d.kind = DiffKind::Changed;
            d.key = KeyOf(r.record.block);
            d.occurrence = r.occurrence;
            d.ours = r.record;
            d.theirs = t.record;
            const std::optional<PlacementRecord> built = ImportedChange(r.record, t.record, &d.fields);
            if (built && Bytes(*built) != r.bytes) d.fields |= kDiffHidden;
            if (!r.listed) d.problem = CarryProblem::HiddenHere;
            else if (!built) d.problem = CarryProblem::NotRepresentable;
            else if (d.fields & kDiffHidden) d.problem = CarryProblem::BytesNotShown;
            finish(d, r.key);
            continue;
        }
        PlacementDiff& d = diff.placements.emplace_back();
        d.kind = DiffKind::Added;
        d.key = KeyOf(r.record.block);
        d.occurrence = r.occurrence;
        d.ours = r.record;
        if (!r.listed) {
            d.problem = CarryProblem::HiddenHere;
        } else if (anyPaired && i < lastPaired) {
            d.problem = CarryProblem::NotAtEnd;
        } else {
            const std::optional<PlacementRecord> built = ImportedAddition(r.record);
            if (!built) d.problem = CarryProblem::NotRepresentable;
            else if (Bytes(*built) != r.bytes) d.problem = CarryProblem::BytesNotShown;
        }
        finish(d, r.key);
    }
    removalsBefore(static_cast<int>(theirs.records.size()));
    return diff;
}

}  // namespace

bool MapDiff::Carried() const {
    if (!ours || !theirs) return false;
    for (const FileDiff& f : files) {
        if (f.problem != CarryProblem::None) return false;
        for (const PlacementDiff& p : f.placements)
            if (p.problem != CarryProblem::None) return false;
    }
    return true;
}

std::vector<FileDiff> CompareMapDirectories(const std::string& oursDirectory, const std::string& theirsDirectory,
                                            int oursTemplateCount, int theirsTemplateCount) {
    const std::vector<std::string> oursFiles = oursDirectory.empty() ? std::vector<std::string>{}
                                                                     : ListMapRegionFiles(oursDirectory);
    const std::vector<std::string> theirsFiles = theirsDirectory.empty() ? std::vector<std::string>{}
                                                                         : ListMapRegionFiles(theirsDirectory);
    std::map<std::string, std::string> theirsByRelative;
    for (const std::string& path : theirsFiles) theirsByRelative[RelativeTo(theirsDirectory, path)] = path;
    std::vector<FileDiff> out;
    std::set<std::string> matched;
    const auto keep = [&out](FileDiff d) {
        if (d.problem != CarryProblem::None || !d.placements.empty()) out.push_back(std::move(d));
    };
    for (const std::string& path : oursFiles) {
        const std::string relative = RelativeTo(oursDirectory, path);
        const auto at = theirsByRelative.find(relative);
        const std::string theirsPath = at == theirsByRelative.end() ? std::string() : at->second;
        if (!theirsPath.empty()) matched.insert(relative);
        keep(CompareFiles(relative, path, theirsPath, oursTemplateCount, theirsTemplateCount));
    }
    for (const std::string& path : theirsFiles) {
        const std::string relative = RelativeTo(theirsDirectory, path);
        if (matched.count(relative)) continue;
        keep(CompareFiles(relative, {}, path, oursTemplateCount, theirsTemplateCount));
    }
    return out;
}

Expected<ServerDiff, CompareError> CompareServers(const std::string& oursServer, const std::string& theirsServer,
                                                   const CompareOptions& options, const CompareProgress& progress,
                                                   const std::atomic<bool>* cancel) {
    auto oursMaps = ReadServerMaps(oursServer);
    if (!oursMaps) return MakeUnexpected(CompareError::OursNoMapList);
    auto theirsMaps = ReadServerMaps(theirsServer);
    if (!theirsMaps) return MakeUnexpected(CompareError::TheirsNoMapList);
    const auto entryKey = [](const std::string& entry) {
        std::string key = ToBackslashes(entry);
        while (!key.empty() && key.back() == '\\') key.pop_back();
        return key;
    };
    // The first map of each directory entry on each side (the same map listed twice is one).
    std::map<std::string, const ServerMap*> theirsByEntry;
    for (const ServerMap& m : *theirsMaps) theirsByEntry.emplace(entryKey(m.entry), &m);
    std::vector<std::pair<const ServerMap*, const ServerMap*>> pairs;
    std::set<std::string> seen;
    for (const ServerMap& m : *oursMaps) {
        const std::string key = entryKey(m.entry);
        if (!seen.insert(key).second) continue;
        const auto at = theirsByEntry.find(key);
        pairs.emplace_back(&m, at == theirsByEntry.end() ? nullptr : at->second);
    }
    for (const ServerMap& m : *theirsMaps)
        if (seen.insert(entryKey(m.entry)).second) pairs.emplace_back(nullptr, &m);
    if (options.onlyEntry) {
        const std::string wanted = entryKey(*options.onlyEntry);
        pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                                   [&](const auto& p) {
                                       const ServerMap* m = p.first ? p.first : p.second;
                                       return entryKey(m->entry) != wanted;
                                   }),
                    pairs.end());
        if (pairs.empty()) return MakeUnexpected(CompareError::NoSuchMap);
    }

    ServerDiff result;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            result.cancelled = true;
            break;
        }
        MapDiff map;
        if (pairs[i].first) map.ours = *pairs[i].first;
        if (pairs[i].second) map.theirs = *pairs[i].second;
        map.files = CompareMapDirectories(map.ours ? map.ours->directory : std::string(),
                                          map.theirs ? map.theirs->directory : std::string(),
                                          options.oursTemplateCount, options.theirsTemplateCount);
        if (map.Differs()) result.maps.push_back(std::move(map));
        if (progress) progress(i + 1, pairs.size());
    }
    return result;
}

}  // namespace morvi
