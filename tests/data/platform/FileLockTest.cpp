// The writer lock of a region file: one holder at a time, a bounded wait, and no lock file left
// behind.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include "TestFiles.h"
#include "data/platform/FileLock.h"

namespace morvi {
namespace {

namespace fs = std::filesystem;

TEST(RegionWriteLockTest, OneHolderAtATimeAndABoundedWait) {
    test::TempDir dir;
    const std::string file = dir / "r_S.DAT";
    test::WriteFile(file, "region");
    EXPECT_EQ(fs::path(RegionLockPath(file)).filename().string(), ".r_S.DAT.morvi.lock");

    std::optional<RegionWriteLock> first(std::in_place, file, 1000);
    ASSERT_TRUE(first->Held()) << first->Error();
    {
        const auto start = std::chrono::steady_clock::now();
        RegionWriteLock second(file, 100);
        EXPECT_FALSE(second.Held());
        EXPECT_NE(second.Error().find(".r_S.DAT.morvi.lock"), std::string::npos) << second.Error();
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
    }
    // Let go while another waits: the waiter gets it.
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
        first.reset();
    });
    RegionWriteLock waiter(file, 5000);
    release.join();
    EXPECT_TRUE(waiter.Held()) << waiter.Error();
    EXPECT_EQ(test::ReadFile(file), "region");
}

TEST(RegionWriteLockTest, TheLastHolderLeavesNoLockFile) {
    test::TempDir dir;
    const std::string file = dir / "r_S.DAT";
    test::WriteFile(file, "region");
    {
        RegionWriteLock lock(file, 1000);
        ASSERT_TRUE(lock.Held());
        EXPECT_TRUE(fs::exists(RegionLockPath(file)));
    }
    EXPECT_FALSE(fs::exists(RegionLockPath(file)));
    EXPECT_EQ(test::ReadFile(file), "region");
}

}  // namespace
}  // namespace morvi
