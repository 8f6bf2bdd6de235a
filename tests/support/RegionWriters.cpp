#include "RegionWriters.h"

namespace morvi {
namespace {

RegionResult OpenFailed(const std::string& path) {
    return {RegionOutcome::OpenFailed, "cannot open " + path};
}

// One edit on a fresh image of the file, written back when it succeeded.
RegionResult EditFile(const std::string& path,
                      const std::function<RegionEditResult(RegionImageEdit&)>& edit) {
    std::optional<RegionImageEdit> image = RegionImageEdit::Load(path);
    if (!image) return OpenFailed(path);
    const RegionEditResult done = edit(*image);
    if (!done.ok()) return RegionEditOutcome(path, done);
    RegionResult result;
    result.outcome = image->Write(path, &result.error) ? RegionOutcome::Done : RegionOutcome::WriteFailed;
    return result;
}

}  // namespace

RegionResult RegionEditOutcome(const std::string& path, const RegionEditResult& done) {
    switch (done.status) {
    case RegionEditStatus::Done: break;
    case RegionEditStatus::NotFound: return {RegionOutcome::NotFound, {}};
    case RegionEditStatus::NotTiled:
        return {RegionOutcome::NotTiled, path + ": the placement records do not fill the file exactly"};
    case RegionEditStatus::CountFull:
        return {RegionOutcome::WriteFailed, path + ": the region already holds 65535 placements"};
    }
    return {RegionOutcome::Done, {}};
}

RegionResult AppendPlacementToFile(const std::string& path, const PlacementRecord& record) {
    return EditFile(path, [&](RegionImageEdit& image) { return image.Append(record); });
}

RegionResult ModifyPlacementInFile(const std::string& path, const PlacementKey& key,
                                   const PlacementBuilder& build) {
    return EditFile(path, [&](RegionImageEdit& image) { return image.Modify(key, build); });
}

RegionResult RemovePlacementFromFile(const std::string& path, const PlacementKey& key,
                                     PlacementRecord* removed) {
    return EditFile(path, [&](RegionImageEdit& image) {
        RegionEditResult done = image.Remove(key);
        if (done.ok() && removed) *removed = done.record;
        return done;
    });
}

}  // namespace morvi
