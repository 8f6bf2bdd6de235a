#include "RegionChecks.h"

#include "data/NpcPlacement.h"

namespace morvi::test {

::testing::AssertionResult Consistent(const std::string& image) {
    if (image.size() < static_cast<size_t>(kFirstRecordOffset))
        return ::testing::AssertionFailure() << "file ends at " << image.size() << ", inside the header";
    const uint16_t count = HeaderPlacementCount(HeaderFromImage(image));
    size_t offset = kFirstRecordOffset;
    int records = 0;
    while (offset < image.size()) {
        offset = ParsePlacementAt(image, offset, nullptr);
        ++records;
    }
    if (offset != image.size())
        return ::testing::AssertionFailure() << "last record runs " << offset - image.size() << " bytes past the end";
    if (records != count)
        return ::testing::AssertionFailure() << "count " << count << " but " << records << " records";
    return ::testing::AssertionSuccess();
}

}  // namespace morvi::test
