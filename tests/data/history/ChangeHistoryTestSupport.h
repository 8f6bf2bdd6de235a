#pragma once
// Region-image edits for the change-history tests: one record added, changed or cut out of a
// whole-file image, with the record operations of the storage core.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "TreeGenerator.h"
#include "data/history/ChangeHistorySteps.h"
#include "data/region/NpcPlacement.h"

namespace morvi::test {

// Offsets of the counted records of an image.
inline std::vector<size_t> RecordOffsets(const std::string& image) {
    std::vector<size_t> offsets;
    const uint16_t count = HeaderPlacementCount(HeaderFromImage(image));
    size_t offset = kFirstRecordOffset;
    for (uint16_t i = 0; i < count && offset < image.size(); ++i) {
        offsets.push_back(offset);
        offset = ParsePlacementAt(image, offset, nullptr);
    }
    return offsets;
}

inline void SetCount(std::string& image, int delta) {
    SectionHeader header = HeaderFromImage(image);
    SetHeaderPlacementCount(header, static_cast<uint16_t>(HeaderPlacementCount(header) + delta));
    std::copy(header.begin(), header.end(), image.begin() + kNpcSectionOffset);
}

inline PlacementRecord RandomRecord(std::mt19937& rng) {
    const bool script = rng() % 4 == 0;
    return tools::MakeRecord(1 + static_cast<int>(rng() % 40), "npc", static_cast<int>(rng() % 1000),
                             static_cast<int>(rng() % 256), static_cast<int>(rng() % 500),
                             static_cast<int>(rng() % 256), static_cast<int>(rng() % 6),
                             static_cast<int>(rng() % 7), static_cast<int>(rng() % 5),
                             static_cast<int>(rng() % 25),
                             script ? std::string("\\script\\npc\\") + std::string(20 + rng() % 40, 'a') + ".lua"
                                    : std::string());
}

inline std::string RecordBytes(const std::string& image, size_t offset) {
    return image.substr(offset, ParsePlacementAt(image, offset, nullptr) - offset);
}

inline PlacementKey KeyOf(const std::string& image, size_t offset) {
    PlacementRecord r;
    ParsePlacementAt(image, offset, &r);
    return {r.block.TemplateIndex(), r.block.PosX(), r.block.PosY(), r.block.offsetX, r.block.offsetY};
}

// One random single-record change of `change.before` into `change.after`.
inline void RandomRecordChange(std::mt19937& rng, FileChange& change, std::string& operation) {
    std::string image = change.before;
    const std::vector<size_t> offsets = RecordOffsets(image);
    const int kind = offsets.empty() ? 0 : static_cast<int>(rng() % 3);
    RecordChange record;
    if (kind == 0) {
        operation = "add";
        const PlacementRecord fresh = RandomRecord(rng);
        SetCount(image, +1);
        const size_t at = image.size();
        AppendPlacementBytes(image, fresh.block, fresh.script);
        record.key = KeyOf(image, at);
        record.after = image.substr(at);
    } else {
        const size_t at = offsets[rng() % offsets.size()];
        const size_t end = ParsePlacementAt(image, at, nullptr);
        record.key = KeyOf(image, at);
        record.before = RecordBytes(image, at);
        if (kind == 1) {
            operation = "modify";
            PlacementRecord fresh = RandomRecord(rng);
            std::string bytes;
            AppendPlacementBytes(bytes, fresh.block, fresh.script);
            image.replace(at, std::min(end, image.size()) - at, bytes);
            record.after = bytes;
        } else {
            operation = "delete";
            image.erase(at, std::min(end, image.size()) - at);
            SetCount(image, -1);
        }
    }
    change.after = image;
    change.records = {record};
}

}  // namespace morvi::test
