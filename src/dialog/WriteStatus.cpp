#include "dialog/WriteStatus.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "data/text/GbkCodec.h"
#include "data/region/RegionFile.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

std::string_view OperationText(WriteOperation operation) {
    switch (operation) {
    case WriteOperation::Add: return Text(TextId::OperationAdd);
    case WriteOperation::Modify: return Text(TextId::OperationModify);
    case WriteOperation::Delete: return Text(TextId::OperationDelete);
    case WriteOperation::Clone: return Text(TextId::OperationClone);
    }
    return {};
}

std::string Slashed(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    // Doubled separators would defeat the prefix comparison.
    std::string collapsed;
    for (char c : out)
        if (!(c == '/' && !collapsed.empty() && collapsed.back() == '/')) collapsed += c;
    return collapsed;
}

std::string KeyText(const PlacementKey& key) {
    return Format(TextId::DuplicateKeyOf, {std::to_string(key.templateIndex), std::to_string(key.posX),
                                           std::to_string(key.posY), std::to_string(key.offsetX),
                                           std::to_string(key.offsetY)});
}

}  // namespace

std::string ServerRelativePath(std::string_view serverPath, std::string_view fullPath) {
    std::string root = Slashed(serverPath);
    while (!root.empty() && root.back() == '/') root.pop_back();
    std::string path = Slashed(fullPath);
    if (!root.empty() && path.size() > root.size() + 1 && path.compare(0, root.size(), root) == 0 &&
        path[root.size()] == '/')
        path = path.substr(root.size() + 1);
    else
        return std::string(fullPath);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string ClockText(std::time_t when) {
    char clock[16] = "--:--:--";
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &when) == 0)
#else
    if (localtime_r(&when, &local))
#endif
        std::strftime(clock, sizeof clock, "%H:%M:%S", &local);
    return clock;
}

std::string FormatWriteStatus(const WriteStatus& status, std::string_view serverPath) {
    std::string text = ClockText(status.when);
    text += "  ";
    text += OperationText(status.operation);
    text += "  ";
    if (status.files.size() == 1)
        text += ServerRelativePath(serverPath, status.files.front());
    else
        text += Format(TextId::StatusFiles, {std::to_string(status.files.size())});
    text += "  " + Format(TextId::StatusRows, {std::to_string(status.rows), std::to_string(status.listRows)});
    return text;
}

std::vector<DuplicateKey> FindDuplicateKeys(const std::vector<PlacementRecord>& records) {
    using KeyTuple = std::tuple<int, int, int, int, int>;
    std::map<KeyTuple, size_t> seen;   // key -> index into `found`, or npos for first sight
    std::map<KeyTuple, size_t> firstIndex;
    std::vector<DuplicateKey> found;
    for (size_t i = 0; i < records.size(); ++i) {
        const NpcPlacement& p = records[i].block;
        const PlacementKey key{p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
        const KeyTuple k{key.templateIndex, key.posX, key.posY, key.offsetX, key.offsetY};
        const auto first = firstIndex.find(k);
        if (first == firstIndex.end()) {
            firstIndex.emplace(k, i);
            continue;
        }
        const auto dup = seen.find(k);
        if (dup != seen.end()) {
            ++found[dup->second].count;
            continue;
        }
        DuplicateKey d;
        d.key = key;
        d.firstName = GbkToUtf8(records[first->second].block.Name());
        d.secondName = GbkToUtf8(p.Name());
        d.count = 2;
        seen.emplace(k, found.size());
        found.push_back(std::move(d));
    }
    return found;
}

std::vector<DuplicateKey> FindDuplicateKeysInFile(const std::string& path) {
    std::vector<PlacementRecord> records;
    if (!ReadRegionPlacements(path, records))
        return {};
    return FindDuplicateKeys(records);
}

std::string FormatDuplicateWarning(const std::vector<DuplicateKey>& duplicates, std::string_view relativeFile) {
    if (duplicates.empty())
        return {};
    std::string text(Text(TextId::DuplicateNotice));
    text += relativeFile;
    text += Text(TextId::DuplicateInFile);
    for (size_t i = 0; i < duplicates.size() && i < 3; ++i) {
        const DuplicateKey& d = duplicates[i];
        if (i) text += "; ";
        text += Format(TextId::DuplicatePair, {d.firstName, d.secondName});
        if (d.count > 2) text += Format(TextId::DuplicateMore, {std::to_string(d.count)});
        text += " (" + KeyText(d.key) + ")";
    }
    if (duplicates.size() > 3)
        text += Format(TextId::DuplicateGroupsMore, {std::to_string(duplicates.size() - 3)});
    return text;
}

}  // namespace morvi
