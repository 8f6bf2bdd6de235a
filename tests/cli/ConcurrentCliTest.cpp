// Several morvinpc processes writing one region file at the same moment: every write that is
// reported done is in the file afterwards, and the history lists each of them once.

#include <algorithm>
#include <thread>

#include "CliFixture.h"
#include "data/region/RegionFile.h"

namespace morvi::test {
namespace {

#ifdef _WIN32
constexpr int kAddsPerProcess = 5;   // starting a program under Wine is slow
#else
constexpr int kAddsPerProcess = 50;
#endif
constexpr int kProcesses = 4;

TEST_F(CliTest, ProcessesAddingToOneFileAtOnceLoseNothing) {
    const size_t before = HandRecords(1).size();
    std::vector<int> done(kProcesses, 0);
    std::vector<std::string> errors(kProcesses);
    std::vector<std::thread> threads;
    for (int p = 0; p < kProcesses; ++p) {
        threads.emplace_back([&, p] {
            const std::string workDir = work() + "/p" + std::to_string(p);
            for (int i = 0; i < kAddsPerProcess; ++i) {
                const CliResult r = RunMorvinpc({"add", "--server", server(), "手工", "--template", std::to_string(p + 1),
                                                 "--x", std::to_string(i), "--y", "7", "--offset-x", "1", "--offset-y",
                                                 "1", "--file", "maps/hand/b/0_1_S.DAT"},
                                                workDir);
                if (r.status == 0) ++done[static_cast<size_t>(p)];
                else if (errors[static_cast<size_t>(p)].empty()) errors[static_cast<size_t>(p)] = r.err;
            }
        });
    }
    for (std::thread& t : threads) t.join();
    for (int p = 0; p < kProcesses; ++p)
        EXPECT_EQ(done[static_cast<size_t>(p)], kAddsPerProcess) << "process " << p << ": " << errors[static_cast<size_t>(p)];

    std::vector<PlacementRecord> records;
    ASSERT_TRUE(ReadRegionPlacements(handFile(1), records));
    ASSERT_EQ(records.size(), before + kProcesses * kAddsPerProcess);
    for (int p = 0; p < kProcesses; ++p) {
        std::vector<int> xs;
        for (const PlacementRecord& r : records)
            if (r.block.TemplateIndex() == p + 1 && r.block.PosY() == 7) xs.push_back(r.block.PosX());
        std::sort(xs.begin(), xs.end());
        std::vector<int> expected(kAddsPerProcess);
        for (int i = 0; i < kAddsPerProcess; ++i) expected[static_cast<size_t>(i)] = i;
        EXPECT_EQ(xs, expected) << "process " << p;
    }
    const CliResult history = Run({"history", "--json"});
    ASSERT_EQ(history.status, 0) << history.err;
    // One "add" entry per add reported done, each with its own id.
    size_t adds = 0;
    for (size_t at = history.out.find("\"operation\": \"add\""); at != std::string::npos;
         at = history.out.find("\"operation\": \"add\"", at + 1))
        ++adds;
    EXPECT_EQ(adds, static_cast<size_t>(kProcesses * kAddsPerProcess));
}

}  // namespace
}  // namespace morvi::test
