// The three record edits (append, modify, remove) of a region file's image on a fuzzed region
// file, each loaded from the file and written back crash-safely.
//
// Input: byte 0 chooses the operation, byte 1 the record whose key is used (or, from 0xF0 up,
// a key that is unlikely to match), byte 2 the drop count or script length of the new record,
// byte 3 a value put into the new record; the rest is the file.
//
// An independent walk of the input predicts the exact outcome. Checked:
// - an operation that reports Done leaves bytes 0..2099 and header bytes 2102..2111 as they
//   were, keeps every record before the changed one byte-identical, and gives exactly the
//   predicted file; any other outcome leaves the file byte-identical (an append to a region
//   already counting 65535 placements is refused rather than wrapping the count to 0, and
//   one to a file whose counted records do not tile it exactly is refused as NotTiled);
// - no temporary file is left beside the region file;
// - a file that satisfied the invariant (placementCount records tiling 2112..end of file)
//   still satisfies it afterwards. A file that did not may stay inconsistent: the operations
//   repair nothing they were not asked to change.

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "data/region/NpcPlacement.h"
#include "data/region/RegionImageEdit.h"

using namespace morvi;
namespace fz = morvi::fuzz;

namespace {

enum class Outcome { Done, OpenFailed, NotFound, NotTiled, CountFull, WriteFailed };

// One edit of a fresh image of the file, written back when it applied.
Outcome EditFile(const std::string& path, const std::function<RegionEditResult(RegionImageEdit&)>& edit) {
    std::optional<RegionImageEdit> image = RegionImageEdit::Load(path);
    if (!image) return Outcome::OpenFailed;
    switch (edit(*image).status) {
        case RegionEditStatus::Done: break;
        case RegionEditStatus::NotFound: return Outcome::NotFound;
        case RegionEditStatus::NotTiled: return Outcome::NotTiled;
        case RegionEditStatus::CountFull: return Outcome::CountFull;
    }
    return image->Write(path) ? Outcome::Done : Outcome::WriteFailed;
}

constexpr size_t kHeaderOpaqueBegin = kNpcSectionOffset + 2;   // 2102

// --- an independent reading of the format -------------------------------------------------

uint8_t ByteAt(std::string_view image, size_t i) { return i < image.size() ? static_cast<uint8_t>(image[i]) : 0; }

uint16_t CountOf(std::string_view image) {
    return static_cast<uint16_t>(ByteAt(image, kNpcSectionOffset) | ByteAt(image, kNpcSectionOffset + 1) << 8);
}

struct Walked {
    size_t offset = 0;
    size_t next = 0;
    PlacementRecord record;
};

// The record at `offset`, missing bytes read as zero.
Walked RecordAt(std::string_view image, size_t offset) {
    Walked w;
    w.offset = offset;
    uint8_t* block = w.record.block.Bytes();
    for (size_t i = 0; i < kPlacementBlockSize; ++i) block[i] = ByteAt(image, offset + i);
    const uint8_t length = block[58];
    if (length > 24) {
        for (size_t i = 0; i < length; ++i) w.record.script += static_cast<char>(ByteAt(image, offset + 60 + i));
        w.next = offset + 60 + length;
    } else {
        w.next = offset + kPlacementBlockSize;
    }
    return w;
}

// Records from 2112 while they start inside the file, at most `limit` of them.
std::vector<Walked> Walk(std::string_view image, size_t limit) {
    std::vector<Walked> out;
    size_t offset = kFirstRecordOffset;
    while (offset < image.size() && out.size() < limit) {
        out.push_back(RecordAt(image, offset));
        offset = out.back().next;
    }
    return out;
}

bool Tiles(std::string_view image) {
    if (image.size() < static_cast<size_t>(kFirstRecordOffset)) return false;
    size_t offset = kFirstRecordOffset, records = 0;
    while (offset < image.size()) {
        if (offset + 58 >= image.size()) return false;   // the length byte is missing
        offset = RecordAt(image, offset).next;
        ++records;
    }
    return offset == image.size() && records == CountOf(image);
}

std::string Bytes(const PlacementRecord& r) {
    const char* block = reinterpret_cast<const char*>(r.block.Bytes());
    if (r.block.dropCountOrScriptLength <= 24) return std::string(block, kPlacementBlockSize);
    return std::string(block, kPlacementBlockSize - 1) + r.script;
}

std::string WithCount(std::string image, uint16_t count) {
    image[kNpcSectionOffset] = static_cast<char>(count & 0xFF);
    image[kNpcSectionOffset + 1] = static_cast<char>(count >> 8);
    return image;
}

bool SameRecord(const PlacementRecord& a, const PlacementRecord& b) {
    return std::memcmp(a.block.Bytes(), b.block.Bytes(), kPlacementBlockSize) == 0 && a.script == b.script;
}

PlacementKey KeyOf(const NpcPlacement& p) {
    return {p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
}

// A well-formed record of the requested length: a script path of `length` bytes beginning
// with a backslash when length > 24, else a drop count.
void Reshape(PlacementRecord& r, uint8_t length) {
    r.block.dropCountOrScriptLength = length;
    if (length > 24) {
        r.script.resize(length, 'a');
        r.script[0] = '\\';
        r.block.variable = '\\';
    } else {
        r.script.clear();
        r.block.variable = 0;
    }
}

// The properties every Done outcome must have, whatever the operation.
void CheckUntouchedParts(std::string_view before, std::string_view after, size_t changedFrom) {
    for (size_t i = 0; i < static_cast<size_t>(kFirstRecordOffset); ++i) {
        if (i >= static_cast<size_t>(kNpcSectionOffset) && i < kHeaderOpaqueBegin) continue;
        MORVI_FUZZ_CHECK(i < after.size());
        MORVI_FUZZ_CHECK(ByteAt(after, i) == ByteAt(before, i));   // absent bytes were zero
    }
    MORVI_FUZZ_CHECK(after.size() >= changedFrom);
    for (size_t i = kFirstRecordOffset; i < changedFrom && i < before.size(); ++i)
        MORVI_FUZZ_CHECK(after[i] == before[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = fz::ScratchPath("m1_S.DAT");
    static const std::string listing = "m1_S.DAT\n";
    fz::InputReader in(data, size);
    const uint8_t op = in.Byte() % 3;
    const uint8_t pick = in.Byte();
    const uint8_t length = in.Byte();
    const uint8_t value = in.Byte();
    const std::string before(in.Rest());
    fz::PutFile(path, before);

    const uint16_t count = CountOf(before);
    const bool tiledBefore = Tiles(before);
    const std::vector<Walked> all = Walk(before, SIZE_MAX);

    PlacementKey key{value + 1, 7777, 7777, 0, 0};   // rarely matches; predicted like any key
    if (pick < 0xF0 && !all.empty()) key = KeyOf(all[pick % all.size()].record.block);

    Outcome result = Outcome::OpenFailed;
    std::optional<std::string> expected;   // the predicted file after a Done outcome
    size_t changedFrom = before.size();    // records before this offset must stay

    if (op == 0) {
        PlacementRecord fresh;
        fresh.block.SetTemplateIndex(static_cast<uint16_t>(value + 1));
        fresh.block.SetPosX(pick);
        fresh.block.SetName("N");
        Reshape(fresh, length);
        result = EditFile(path, [&](RegionImageEdit& image) { return image.Append(fresh); });
        // A file shorter than 2112 bytes with a count of 0 holds no records and is padded.
        const bool appendable = (before.size() <= static_cast<size_t>(kFirstRecordOffset) && count == 0) || Tiles(before);
        if (count == 0xFFFF) {
            // A 16-bit count cannot grow past 65535; the region is refused, not wrapped to 0.
            MORVI_FUZZ_CHECK(result == Outcome::CountFull);
        } else if (!appendable) {
            // The record would land where no reader finds it.
            MORVI_FUZZ_CHECK(result == Outcome::NotTiled);
        } else {
            std::string padded = before;
            if (padded.size() < static_cast<size_t>(kFirstRecordOffset)) padded.resize(kFirstRecordOffset, '\0');
            expected = WithCount(padded, static_cast<uint16_t>(count + 1)) + Bytes(fresh);
            changedFrom = before.size();
            MORVI_FUZZ_CHECK(result == Outcome::Done);
        }
    } else if (op == 1) {
        // Only the first placementCount records are candidates.
        std::optional<Walked> target;
        for (const Walked& w : Walk(before, count))
            if (key.Matches(w.record.block)) {
                target = w;
                break;
            }
        bool builderCalled = false;
        PlacementRecord built;
        result = EditFile(path, [&](RegionImageEdit& image) { return image.Modify(key, [&](const PlacementRecord& old) {
            MORVI_FUZZ_CHECK(!builderCalled);
            builderCalled = true;
            MORVI_FUZZ_CHECK(target && SameRecord(old, target->record));
            built = old;
            built.block.offsetX = value;   // the key changes too: a later search must not find it
            Reshape(built, length);
            return built;
        }); });
        MORVI_FUZZ_CHECK(builderCalled == (result == Outcome::Done));
        if (target) {
            MORVI_FUZZ_CHECK(result == Outcome::Done);
            expected = before.substr(0, target->offset) + Bytes(built) +
                       (target->next < before.size() ? before.substr(target->next) : std::string());
            changedFrom = target->offset;
        } else {
            MORVI_FUZZ_CHECK(result == Outcome::NotFound);
        }
    } else {
        // Removal walks every record up to the end of the file.
        std::optional<Walked> target;
        for (const Walked& w : all)
            if (key.Matches(w.record.block)) {
                target = w;
                break;
            }
        PlacementRecord removed;
        result = EditFile(path, [&](RegionImageEdit& image) {
            RegionEditResult done = image.Remove(key);
            if (done.ok()) removed = done.record;
            return done;
        });
        if (target) {
            MORVI_FUZZ_CHECK(result == Outcome::Done);
            MORVI_FUZZ_CHECK(SameRecord(removed, target->record));
            expected = WithCount(before.substr(0, target->offset), static_cast<uint16_t>(count == 0 ? 0 : count - 1)) +
                       (target->next < before.size() ? before.substr(target->next) : std::string());
            changedFrom = target->offset;
        } else {
            MORVI_FUZZ_CHECK(result == Outcome::NotFound);
        }
    }

    const std::string after = fz::GetFile(path);
    MORVI_FUZZ_CHECK(fz::ListDirectory(fz::ScratchDir()) == listing);
    if (result != Outcome::Done) {
        MORVI_FUZZ_CHECK(after == before);
        return 0;
    }
    CheckUntouchedParts(before, after, changedFrom);
    MORVI_FUZZ_CHECK(expected && after == *expected);
    if (tiledBefore) MORVI_FUZZ_CHECK(Tiles(after));
    return 0;
}
