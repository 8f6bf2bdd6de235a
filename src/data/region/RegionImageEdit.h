#pragma once
// Record edits over the image of one region file, as a batch: load the file once, append,
// modify and remove records in memory (each edit sees the ones before it and returns its own
// result), then write the file once, crash-safely (see AtomicFile.h). Nothing touches the disk
// before Write, so a batch that is dropped, or whose write fails, leaves the file byte-identical.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/region/NpcPlacement.h"

namespace morvi {

enum class RegionEditStatus {
    Done,
    NotFound,    // no record matches the key; image unchanged
    NotTiled,    // append refused: the counted records do not tile the file exactly (a record
                 // cut off, a length byte past the end, bytes after the last counted record,
                 // or a count above the records present); image unchanged
    CountFull,   // append refused: the count already is 65535 and would wrap to 0
    Declined,    // ModifyMany: the builder kept the record as it was; image unchanged for it
};

struct RegionEditResult {
    RegionEditStatus status = RegionEditStatus::NotFound;
    size_t offset = 0;        // Done: where the record now starts (Remove: where it was)
    PlacementRecord record;   // Done: the record written (Remove: the record cut out)
    bool ok() const { return status == RegionEditStatus::Done; }
};

using PlacementBuilder = std::function<PlacementRecord(const PlacementRecord& old)>;
// For ModifyMany: the new record for entry `entry` of the keys, or nullopt to keep the old one.
using ManyPlacementBuilder = std::function<std::optional<PlacementRecord>(size_t entry, const PlacementRecord& old)>;

class RegionImageEdit {
public:
    explicit RegionImageEdit(std::string image);
    // Reads the file; nullopt when it cannot be opened or is not a regular file.
    static std::optional<RegionImageEdit> Load(const std::string& path);

    // Raises placementCount by one and appends the record. A file that ends inside the section
    // header (or before it) with a count of 0 is first padded with zeros up to 2112.
    RegionEditResult Append(const PlacementRecord& record);
    // Rewrites the first of the counted records that matches `key`; `build` receives the old
    // record (block as read, script) and returns the new one. When the length changes, the
    // rest of the file moves with it.
    RegionEditResult Modify(const PlacementKey& key, const PlacementBuilder& build);
    // Cuts out the first record that matches `key`, walking from 2112 to the end of the file
    // (not by the count), and lowers placementCount by one (a count of 0 stays 0).
    RegionEditResult Remove(const PlacementKey& key);

    // The same over many keys in one walk of the image: the n-th entry with a key takes the
    // n-th record that matches it in file order (as one Remove after another would), and the
    // image is rebuilt once. One result per entry, in the order of `keys`; `offset` is where
    // the record was in the image before this call.
    std::vector<RegionEditResult> RemoveMany(const std::vector<PlacementKey>& keys);
    // Rewrites, in one walk of the counted records, the n-th record matching each entry's key
    // (n counting the entries with that key before it) with what `build` makes of it.
    std::vector<RegionEditResult> ModifyMany(const std::vector<PlacementKey>& keys, const ManyPlacementBuilder& build);

    const std::string& Image() const { return m_image; }
    bool Changed() const { return m_changed; }

    // Replaces the file with the image when an edit changed it (nothing is written otherwise).
    // False, with an operator-readable reason, when the replacement could not be written;
    // the file is then byte-identical to what it was.
    bool Write(const std::string& path, std::string* error = nullptr) const;

private:
    std::string m_image;
    bool m_changed = false;
    std::optional<bool> m_tiled;   // known after an append's check; kept while appends follow
};

}  // namespace morvi
