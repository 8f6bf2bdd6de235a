#include "RegionChecks.h"

#include "data/region/RegionRecordReader.h"

namespace morvi::test {

::testing::AssertionResult Consistent(const std::string& image) {
    if (image.size() < static_cast<size_t>(kFirstRecordOffset))
        return ::testing::AssertionFailure() << "file ends at " << image.size() << ", inside the header";
    RegionRecordReader reader;
    reader.Reset(image, RegionRecordReader::Walk::ToEnd);
    const uint16_t count = reader.Count();
    int records = 0;
    RegionRecord record;
    while (reader.Next(record)) ++records;
    const size_t offset = reader.EndOffset();
    if (offset != image.size())
        return ::testing::AssertionFailure() << "last record runs " << offset - image.size() << " bytes past the end";
    if (records != count)
        return ::testing::AssertionFailure() << "count " << count << " but " << records << " records";
    return ::testing::AssertionSuccess();
}

}  // namespace morvi::test
